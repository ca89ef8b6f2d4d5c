// The token readers of the program's text files and the log line.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/core/Cp949.h"
#include "script/Utility.h"
#include "tests/TempName.h"

namespace {

// Runs f and returns what it wrote to standard error.
template <class F>
std::string StderrOf(F f)
{
    testing::internal::CaptureStderr();
    f();
    return testing::internal::GetCapturedStderr();
}

// The message part of every log line in text.
std::vector<std::string> LogMessages(const std::string& text)
{
    std::vector<std::string> messages;
    size_t start = 0;
    for (size_t sep; (sep = text.find(" :: ", start)) != std::string::npos;) {
        const size_t end = text.find('\n', sep);
        messages.push_back(text.substr(sep + 4, end - sep - 4));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return messages;
}

// True when text has the shape of shape: 'A' an upper-case letter, 'a' a lower-case one, '9' a
// digit, '_' a digit or a blank, anything else itself.
bool HasShape(std::string_view text, std::string_view shape)
{
    if (text.size() != shape.size())
        return false;
    for (size_t i = 0; i < shape.size(); ++i) {
        const char c = text[i];
        const bool digit = c >= '0' && c <= '9';
        const bool ok = shape[i] == 'A' ? (c >= 'A' && c <= 'Z')
            : shape[i] == 'a'           ? (c >= 'a' && c <= 'z')
            : shape[i] == '9'           ? digit
            : shape[i] == '_'           ? (digit || c == ' ')
                                        : c == shape[i];
        if (!ok)
            return false;
    }
    return true;
}

// The environment's locale for one scope (LC_ALL wins over LC_CTYPE and LANG).
class TLocaleScope {
public:
    explicit TLocaleScope(const char* locale) : FHad(std::getenv("LC_ALL") != nullptr)
    {
        if (FHad)
            FOld = std::getenv("LC_ALL");
        setenv("LC_ALL", locale, 1);
    }
    ~TLocaleScope()
    {
        if (FHad)
            setenv("LC_ALL", FOld.c_str(), 1);
        else
            unsetenv("LC_ALL");
    }

private:
    bool FHad;
    std::string FOld;
};

}  // namespace

TEST(FreadTest, StreamEndOfFileIsSetByTheReadThatFindsNoByte)
{
    TFreadStream in("b");
    EXPECT_EQ(in.Get(), 'b');
    EXPECT_FALSE(in.Eof());
    EXPECT_EQ(in.Get(), TFreadStream::EndOfFile);
    EXPECT_TRUE(in.Eof());
    in.Unget(TFreadStream::EndOfFile);  // like ungetc(EOF): nothing
    EXPECT_EQ(in.Get(), TFreadStream::EndOfFile);
    TFreadStream hangul("\xC7\xD1");
    EXPECT_EQ(hangul.Get(), 0xC7);  // bytes come back unsigned
    for (const char* path : {"/nonexistent/file.Cmd", "/tmp"})
        EXPECT_FALSE(TFreadStream::Open(path)) << path;
}

TEST(FreadTest, Number)
{
    TFreadStream in("-12 x");
    EXPECT_EQ(FreadNumber(in), -12);
    EXPECT_EQ(in.Get(), 'x');  // the one blank after the digits is eaten
    TFreadStream bar("12|3");
    EXPECT_EQ(FreadNumber(bar), 15);
    TFreadStream spaced(" \r\n+3| -4\r\nnext");
    EXPECT_EQ(FreadNumber(spaced), -1);
    EXPECT_EQ(spaced.Get(), '\r');              // other bytes stay
    TFreadStream big("4294967297 2147483648");  // WrapsAtThirtyTwoBits
    EXPECT_EQ(FreadNumber(big), 1);
    EXPECT_EQ(FreadNumber(big), INT32_MIN);
    // LongBarChainDoesNotExhaustTheStack
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "1|";
    TFreadStream chain(text + "5");
    EXPECT_EQ(FreadNumber(chain), 200005);
}

TEST(FreadTest, NumberNonDigitFailsWithLogLine)
{
    TLocaleScope utf8("C.UTF-8");
    std::optional<int32_t> n;
    TFreadStream in("-x1");
    const std::string log = StderrOf([&] { n = FreadNumber(in); });
    EXPECT_FALSE(n);
    // "FreadNumber: x is not a number - bad format."
    EXPECT_EQ(LogMessages(log), std::vector<std::string>{"FreadNumber: x 숫자가 아님 - 잘못된 형식."});
    EXPECT_EQ(in.Get(), 'x');
    for (const char* text : {"3|y", "   "}) {  // the number after a bar is required too
        TFreadStream bad(text);
        StderrOf([&] { n = FreadNumber(bad); });
        EXPECT_FALSE(n) << text;
    }
}

TEST(FreadTest, LengthStringTakesExactlyTheGivenBytes)
{
    TFreadStream lines("9 #x\r\n*y\r\nEnd\r\nrest");
    EXPECT_EQ(FreadLengthString(lines), "#x\r\n*y\r\nE");
    TFreadStream zero("0 \r\nEnd");
    EXPECT_EQ(FreadLengthString(zero), "");
    EXPECT_EQ(zero.Get(), '\r');
    TFreadStream negative("-3 abc");
    EXPECT_EQ(FreadLengthString(negative), "");
    EXPECT_EQ(negative.Get(), 'a');
    // A length beyond the file fails.
    std::optional<AnsiString> s;
    TFreadStream huge("2147483647 abc");
    EXPECT_EQ(LogMessages(StderrOf([&] { s = FreadLengthString(huge); })).size(), 1u);
    EXPECT_FALSE(s);
    TFreadStream bad("x abc");
    StderrOf([&] { s = FreadLengthString(bad); });
    EXPECT_FALSE(s);
}

TEST(FreadTest, Word)
{
    TFreadStream in(" \t\"two words\" next\r\n'single q' x'y");
    EXPECT_EQ(FreadWord(in), "two words");
    EXPECT_EQ(FreadWord(in), "next");
    EXPECT_EQ(in.Get(), '\r');  // the blank after a word stays
    EXPECT_EQ(FreadWord(in), "single q");
    // A quote inside a word is an ordinary byte; the last word meets the end of the file.
    std::optional<AnsiString> w;
    TLocaleScope utf8("C.UTF-8");
    const std::string log = StderrOf([&] { w = FreadWord(in); });
    EXPECT_EQ(w, "x'y");
    // The message keeps its own line end, and the log line adds one.
    const std::string message = " :: FreadWord : EOF를 만났음.\n\r\n";
    ASSERT_GE(log.size(), message.size());
    EXPECT_EQ(log.substr(log.size() - message.size()), message);
    // The end of the file gives what was read.
    for (const auto& [text, word] : {std::pair{" \r\n ", ""}, std::pair{"\"unclosed quote", "unclosed quote"}}) {
        TFreadStream open(text);
        StderrOf([&] { w = FreadWord(open); });
        EXPECT_EQ(w, word) << text;
    }
}

TEST(FreadTest, WordLongerThanTheBufferFails)
{
    const std::string longest(FreadWordLimit, 'k');
    TFreadStream fits(longest + " next");
    EXPECT_EQ(FreadWord(fits), longest);
    std::optional<AnsiString> w;
    TFreadStream over(longest + "XY next");
    TLocaleScope utf8("C.UTF-8");
    const std::string log = StderrOf([&] { w = FreadWord(over); });
    EXPECT_FALSE(w);
    ASSERT_EQ(LogMessages(log).size(), 1u);
    EXPECT_EQ(LogMessages(log)[0], "Fread_word: 길이가 너무 깁니다. " + longest + " ");
    EXPECT_EQ(FreadWord(over), "XY");  // the rest of the word is left
}

TEST(FreadTest, ToEolLetterAndString)
{
    TFreadStream in("comment * here\r\n\n\r\nnext");
    FreadToEol(in);  // skips the line and its line ends
    EXPECT_EQ(in.Get(), 'n');
    TFreadStream last("no line end");
    FreadToEol(last);
    EXPECT_TRUE(last.Eof());
    TFreadStream letters(" \t\v\f\r\n#x");  // every blank is skipped
    EXPECT_EQ(FreadLetter(letters), '#');
    EXPECT_EQ(FreadLetter(letters), 'x');
    EXPECT_EQ(FreadLetter(letters), TFreadStream::EndOfFile);
    TFreadStream tilde("  \r\nabc def~rest");  // up to the tilde
    EXPECT_EQ(FreadString(tilde, 100), "abc def");
    EXPECT_EQ(tilde.Get(), 'r');
    TFreadStream limited("abcd~");
    EXPECT_FALSE(FreadString(limited, 4));
    TFreadStream fits("abcd~");
    EXPECT_EQ(FreadString(fits, 5), "abcd");
    TFreadStream unended("abc");
    EXPECT_FALSE(FreadString(unended, 100));
    TFreadStream huge(std::string(70000, 'a') + "~");
    EXPECT_FALSE(FreadString(huge, 100000));  // never more than 65536 bytes
}

TEST(StrEqualTest, ExactAndNullSafe)
{
    EXPECT_FALSE(StrEqual("end", "End"));
    EXPECT_FALSE(StrEqual(nullptr, "End"));
    EXPECT_FALSE(StrEqual(static_cast<const char*>(nullptr), nullptr));
    EXPECT_FALSE(StrEqual(std::optional<AnsiString>(), "End"));
    EXPECT_TRUE(StrEqual(std::optional<AnsiString>("End"), "End"));
}

TEST(LogLineTest, TimeIsWrittenAsCtimeWritesIt)
{
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 6;
    t.tm_wday = 0;
    t.tm_hour = 21;
    t.tm_min = 7;
    t.tm_sec = 5;
    EXPECT_EQ(LogLine(t, "msg"), "Sun Dec  6 21:07:05 2026 :: msg\n");
    // The C library's own ctime as the oracle, for times across a year.
    for (std::time_t when = 1700000000; when < 1700000000 + 366 * 86400; when += 86400 * 7 + 3601) {
        std::tm local{};
        localtime_r(&when, &local);
        char expected[64];
        ASSERT_NE(ctime_r(&when, expected), nullptr);
        std::string text = expected;
        text.pop_back();  // its line end
        EXPECT_EQ(CTimeText(local), text);
    }
}

TEST(LogLineTest, WriteLogPutsOneStampedLineOnStandardErrorCutAtTheBufferSize)
{
    TLocaleScope utf8("C.UTF-8");
    const std::string out = StderrOf([] { WriteLog("value %d of %s", 42, "\xC7\xD1"); });
    const std::string message = " :: value 42 of 한\n";
    ASSERT_GT(out.size(), message.size());
    EXPECT_TRUE(HasShape(out.substr(0, out.size() - message.size()), "Aaa Aaa _9 99:99:99 9999")) << out;
    EXPECT_EQ(out.substr(out.size() - message.size()), message);
    const std::string big(20000, 'm');
    const std::vector<std::string> messages = LogMessages(StderrOf([&] { WriteLog("%s", big.c_str()); }));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], std::string(16383, 'm'));
}

namespace {

// The log is cp949 inside; the terminal reading standard error gets its locale's character set.
struct TLogLocaleCase {
    const char* name;
    const char* locale;
    const char* message;  // cp949
    const char* shown;    // what standard error receives
};
class LogLocale : public ::testing::TestWithParam<TLogLocaleCase> {};

TEST_P(LogLocale, WritesTheLocalesCharacterSet)
{
    TLocaleScope locale(GetParam().locale);
    const std::vector<std::string> messages = LogMessages(StderrOf([] { WriteLog("%s", GetParam().message); }));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], GetParam().shown);
}

// "System::Load File Open 에러", the first start's line when there is no book yet.
const TLogLocaleCase kLogLocaleCases[] = {
    {"Utf8LocaleShowsHangul", "C.UTF-8", "System::Load File Open \xBF\xA1\xB7\xAF", "System::Load File Open 에러"},
    {"CLocaleShowsQuestionMarks", "C", "System::Load File Open \xBF\xA1\xB7\xAF", "System::Load File Open ??"},
    {"LocaleNotInstalledIsTheCLocale", "xx_XX.NOSUCH", "\xBF\xA1\xB7\xAF", "??"},
    {"BadByteInAUtf8Locale", "C.UTF-8", "a\xFF b \xC7", "a\xEF\xBF\xBD b \xEF\xBF\xBD"},
    {"BadByteInTheCLocale", "C", "a\xFF b \xC7", "a? b ?"},
};
INSTANTIATE_TEST_SUITE_P(Locales, LogLocale, ::testing::ValuesIn(kLogLocaleCases),
                         [](const auto& param) { return std::string(param.param.name); });

// A file is read a block at a time: the readers get what they get from the same bytes in memory,
// across the ends of the blocks, with a push-back at any byte.
using TBlockCase = std::pair<const char*, std::string>;  // name, bytes
class FileInBlocks : public ::testing::TestWithParam<TBlockCase> {};

TEST_P(FileInBlocks, ReadsAsTheSameBytesInMemory)
{
    // Every byte, pushed back and read again, with what is left after it; a text after each '#'.
    const auto trace = [](TFreadStream& in) {
        std::string out;
        for (int c; (c = in.Get()) != TFreadStream::EndOfFile;) {
            in.Unget(c);
            out += static_cast<char>(in.Get()) + std::to_string(in.Remaining());
            if (c == '#')
                out += "[" + FreadLengthString(in).value_or("none") + "]";
        }
        return out + (in.Eof() ? "eof" : "open");
    };
    TScratchFolder folder("fread");
    std::ofstream(folder.File("f"), std::ios::binary) << GetParam().second;
    std::optional<TFreadStream> file = TFreadStream::Open(folder.File("f"));
    ASSERT_TRUE(file);
    TFreadStream memory(GetParam().second);
    EXPECT_EQ(trace(*file), trace(memory));
}

INSTANTIATE_TEST_SUITE_P(Files, FileInBlocks,
                         ::testing::Values(TBlockCase{"Empty", ""},
                                           TBlockCase{"LastByteOfABlock", std::string(65535, 'a') + "#3 xyz"},
                                           TBlockCase{"TextAcrossTwoBlocks", "#150000 " + std::string(150000, 't')},
                                           TBlockCase{"NumberAcrossABlockEnd", std::string(65534, ' ') + "#12|3 abc"}),
                         [](const auto& param) { return std::string(param.param.first); });

}  // namespace
