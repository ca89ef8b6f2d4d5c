// The telnet unit: byte streams in, a log of text and answers out. Every stream gives the same
// log whole, cut at any one offset and fed byte by byte.

#include "app/core/Telnet.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace Telnet;

namespace {

// Records text as it is (merged across calls) and each answer as "[FF FD 01]".
class TLogSink : public ITelnetSink {
public:
    void TelnetText(std::string_view text) override
    {
        for (char c : text) {
            const unsigned char b = static_cast<unsigned char>(c);
            if (b < 0x20 || b >= 0x7F || c == '[' || c == '\\')
                Hex(b, "\\x");
            else
                log += c;
        }
        if (onText)
            onText(text);
    }
    void TelnetAnswer(std::string_view bytes) override
    {
        log += '[';
        for (size_t i = 0; i < bytes.size(); ++i)
            Hex(static_cast<unsigned char>(bytes[i]), i ? " " : "");
        log += ']';
    }
    std::string log;
    std::function<void(std::string_view)> onText;

private:
    void Hex(unsigned char b, const char* prefix)
    {
        static const char digits[] = "0123456789ABCDEF";
        log += prefix;
        log += digits[b >> 4];
        log += digits[b & 15];
    }
};

// "IAC DO 24 'text\r\n'": command names, decimal bytes and quoted text (\r \n escapes).
std::string Bytes(const std::string& spec)
{
    static const std::pair<const char*, unsigned char> names[] = {
        {"IAC", IAC}, {"SB", SB}, {"SE", SE}, {"WILL", WILL}, {"WONT", WONT}, {"DO", DO}, {"DONT", DONT}};
    std::string out;
    for (size_t i = 0; i < spec.size();) {
        if (spec[i] == ' ') {
            ++i;
        } else if (spec[i] == '\'') {
            for (++i; spec[i] != '\''; ++i) {
                if (spec[i] == '\\') {
                    ++i;
                    out += spec[i] == 'r' ? '\r' : spec[i] == 'n' ? '\n' : spec[i];
                } else {
                    out += spec[i];
                }
            }
            ++i;
        } else {
            const size_t end = std::min(spec.find(' ', i), spec.size());
            const std::string word = spec.substr(i, end - i);
            i = end;
            bool named = false;
            for (const auto& [name, value] : names)
                if (word == name) {
                    out += static_cast<char>(value);
                    named = true;
                }
            if (!named)
                out += static_cast<char>(std::stoi(word));
        }
    }
    return out;
}

std::string FeedInPieces(const std::string& bytes, const std::vector<size_t>& cuts)
{
    TLogSink sink;
    TTelnet telnet(sink);
    size_t from = 0;
    for (size_t cut : cuts) {
        telnet.Feed(std::string_view(bytes).substr(from, cut - from));
        from = cut;
    }
    telnet.Feed(std::string_view(bytes).substr(from));
    return sink.log;
}

struct TStreamCase {
    const char* name;
    const char* input;
    const char* log;
};

const TStreamCase kStreams[] = {
    {"GreetingOfAUnixTelnetServer", "IAC DO 24 IAC DO 31 IAC WILL 1 IAC WILL 3 'login: '",
     "[FF FB 18][FF FB 1F FF FA 1F 00 50 00 1D FF F0][FF FD 01][FF FD 03]login: "},
    {"TerminalTypeAskedInASubnegotiation", "'a' IAC SB 24 1 IAC SE 'b'", "a[FF FA 18 00 56 54 31 30 30 FF F0]b"},
    {"CrLfBecomesLfCr", "'one\r\ntwo'", "one\\x0A\\x0Dtwo"},
    {"LoneCrIsDropped", "'a\rb'", "ab"},
    {"LoneLfIsFollowedByCr", "'a\nb'", "a\\x0A\\x0Db"},
    {"WontEchoShowsNothing", "IAC WONT 1", ""},
    {"DontIsNotAnswered", "IAC DONT 1 IAC DONT 24", ""},
    {"OneByteCommandsAreDropped", "'a' IAC 241 IAC 246 IAC 249 'b'", "ab"},
    {"DoubledIacShowsNothing", "'a' IAC IAC 'b'", "ab"},
    {"LoneSeIsDropped", "'a' IAC SE 'b'", "ab"},
    {"SubnegotiationPayloadIsNotShown", "'a' IAC SB 31 'hidden' IAC SE 'b'", "ab"},
    {"EscapedIacStaysInThePayload", "IAC SB 5 IAC IAC 'x' IAC SE 'b'", "b"},
    {"CommandInsideASubnegotiationEndsIt", "IAC SB 5 'x' IAC DO 1 'shown'", "[FF FC 01]shown"},
    {"OneByteCommandInsideASubnegotiationEndsIt", "IAC SB 5 'x' IAC 241 'shown'", "shown"},
    {"HangulPassesUnchanged", "176 161 IAC WILL 3 199 209", "\\xB0\\xA1[FF FD 03]\\xC7\\xD1"},
};

class TelnetStream : public ::testing::TestWithParam<TStreamCase> {};

TEST_P(TelnetStream, GivesTheLogWholeCutAnywhereAndByteByByte)
{
    const std::string bytes = Bytes(GetParam().input);
    EXPECT_EQ(FeedInPieces(bytes, {}), GetParam().log);
    for (size_t cut = 0; cut <= bytes.size(); ++cut)
        EXPECT_EQ(FeedInPieces(bytes, {cut}), GetParam().log) << "cut at " << cut;
    std::vector<size_t> every;
    for (size_t i = 1; i < bytes.size(); ++i)
        every.push_back(i);
    EXPECT_EQ(FeedInPieces(bytes, every), GetParam().log);
}

INSTANTIATE_TEST_SUITE_P(Streams, TelnetStream, ::testing::ValuesIn(kStreams),
                         [](const auto& param) { return std::string(param.param.name); });

// Each verb for all 256 options: the answer most options get, and the few that differ.
struct TVerbCase {
    const char* name;
    unsigned char verb;
    const char* usual;  // answer for an option not listed below; %s stands for its hex
    std::vector<std::pair<int, const char*>> special;
};

const TVerbCase kVerbs[] = {
    {"Will", WILL, "[FF FE %s]", {{1, "[FF FD 01]"}, {3, "[FF FD 03]"}}},
    {"Wont", WONT, "", {}},
    {"Do", DO, "[FF FC %s]", {{24, "[FF FB 18]"}, {31, "[FF FB 1F FF FA 1F 00 50 00 1D FF F0]"}}},
    {"Dont", DONT, "", {}},
};

class TelnetVerb : public ::testing::TestWithParam<TVerbCase> {};

TEST_P(TelnetVerb, AnswersEveryOption)
{
    for (int option = 0; option < 256; ++option) {
        std::string expected = GetParam().usual;
        for (const auto& [special, answer] : GetParam().special)
            if (special == option)
                expected = answer;
        char hex[3];
        snprintf(hex, sizeof hex, "%02X", option);
        if (const size_t at = expected.find("%s"); at != std::string::npos)
            expected.replace(at, 2, hex);
        const std::string bytes = {char(IAC), static_cast<char>(GetParam().verb), static_cast<char>(option), 'z'};
        EXPECT_EQ(FeedInPieces(bytes, {}), expected + "z") << "option " << option;
        EXPECT_EQ(FeedInPieces(bytes, {2}), expected + "z") << "option " << option << " cut before it";
    }
}

INSTANTIATE_TEST_SUITE_P(Verbs, TelnetVerb, ::testing::ValuesIn(kVerbs),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(Telnet, ServerEchoFollowsWillAndWontEcho)
{
    TLogSink sink;
    TTelnet telnet(sink);
    EXPECT_FALSE(telnet.ServerEchoes());
    telnet.Feed(Bytes("IAC WILL 1"));
    EXPECT_TRUE(telnet.ServerEchoes());
    telnet.Feed(Bytes("IAC WILL 3 IAC WONT 3"));
    EXPECT_TRUE(telnet.ServerEchoes());
    telnet.Feed(Bytes("IAC WONT 1"));
    EXPECT_FALSE(telnet.ServerEchoes());
}

TEST(Telnet, NewConnectionForgetsEchoAndACommandCutByTheLastRead)
{
    TLogSink sink;
    TTelnet telnet(sink);
    telnet.Feed(Bytes("IAC WILL 1 IAC DO"));
    telnet.Reset();
    EXPECT_FALSE(telnet.ServerEchoes());
    EXPECT_EQ(telnet.State(), TTelnetState::Data);
    telnet.Feed(Bytes("1 'x'"));
    EXPECT_EQ(sink.log, "[FF FD 01]\\x01x");
}

TEST(Telnet, OversizedSubnegotiationIsDroppedAndLaterTextShown)
{
    std::string bytes = Bytes("IAC SB 5");
    bytes.append(kMaxSubnegotiation + 1, 'p');
    bytes += "after";
    EXPECT_EQ(FeedInPieces(bytes, {}), "after");
    EXPECT_EQ(FeedInPieces(Bytes("IAC SB 5") + std::string(kMaxSubnegotiation, 'p') + Bytes("IAC SE 'b'"), {}), "b");
}

TEST(Telnet, BytesFedByAHandlerFollowTheCurrentRead)
{
    TLogSink sink;
    TTelnet telnet(sink);
    bool fed = false;
    sink.onText = [&](std::string_view) {
        if (!std::exchange(fed, true))
            telnet.Feed(Bytes("'second' IAC DO 1"));
    };
    telnet.Feed(Bytes("'first' IAC DO 3 'rest'"));
    EXPECT_EQ(sink.log,
              "first[FF FC 03]rest"
              "second[FF FC 01]");
}

TEST(Telnet, ResetByAHandlerStopsTheOldBytes)
{
    TLogSink sink;
    TTelnet telnet(sink);
    sink.onText = [&](std::string_view text) {
        if (text == "first") {
            telnet.Reset();
            telnet.Feed("new");
        }
    };
    telnet.Feed(Bytes("'first' IAC DO 3 'old'"));
    EXPECT_EQ(sink.log, "firstnew");
}

TEST(Telnet, FreedByAHandlerStopsSafely)
{
    TLogSink sink;
    auto telnet = std::make_unique<TTelnet>(sink);
    sink.onText = [&](std::string_view) { telnet.reset(); };
    telnet->Feed(Bytes("'gone' IAC DO 3 'never'"));
    EXPECT_EQ(sink.log, "gone");
}

TEST(Telnet, HandlerThatThrowsDoesNotStopLaterReads)
{
    TLogSink sink;
    TTelnet telnet(sink);
    sink.onText = [](std::string_view text) {
        if (text == "boom")
            throw std::runtime_error("handler");
    };
    EXPECT_THROW(telnet.Feed("boom"), std::runtime_error);
    telnet.Feed("later");
    EXPECT_EQ(sink.log, "boomlater");
}

// Random bytes, weighted towards telnet commands, give one log however they are cut, and the
// text never holds IAC or a CR that does not follow an LF.
TEST(Telnet, RandomBytesInRandomSplitsGiveOneLog)
{
    std::mt19937 random(20240611);
    const unsigned char likely[] = {IAC, SB, SE, WILL, WONT, DO, DONT, 1, 3, 24, 31, '\r', '\n', 241};
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const size_t length = random() % 200;
        for (size_t i = 0; i < length; ++i)
            bytes += static_cast<char>(random() % 2 ? likely[random() % sizeof likely] : random() % 256);
        std::vector<size_t> cuts;
        for (size_t at = 0; at < length; at += 1 + random() % 16)
            cuts.push_back(at);
        TLogSink whole;
        TTelnet telnet(whole);
        std::string text;
        whole.onText = [&](std::string_view t) { text.append(t); };
        telnet.Feed(bytes);
        EXPECT_EQ(FeedInPieces(bytes, cuts), whole.log) << "round " << round;
        EXPECT_EQ(text.find('\xff'), std::string::npos);
        for (size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r', at + 1))
            EXPECT_TRUE(at > 0 && text[at - 1] == '\n') << "round " << round;
    }
}

}  // namespace
