#include "script/Utility.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "platform/core/AtomicFile.h"
#include "platform/core/Cp949.h"
#include "platform/core/Streams.h"

namespace {

constexpr int Eof = TFreadStream::EndOfFile;

inline bool IsDigitByte(int c) { return c >= '0' && c <= '9'; }

// Log texts, as cp949 bytes.
constexpr const char* NotANumber =
    "FreadNumber: %c \xBC\xFD\xC0\xDA\xB0\xA1 \xBE\xC6\xB4\xD4 - \xC0\xDF\xB8\xF8\xB5\xC8 \xC7\xFC\xBD\xC4.";
constexpr const char* WordTooLong =
    "Fread_word: \xB1\xE6\xC0\xCC\xB0\xA1 \xB3\xCA\xB9\xAB \xB1\xE9\xB4\xCF\xB4\xD9. %s ";
constexpr const char* WordAtEof = "FreadWord : EOF\xB8\xA6 \xB8\xB8\xB3\xB5\xC0\xBD.\n\r";

int SkipBlanks(TFreadStream& stream)
{
    int c;
    do
        c = stream.Get();
    while (IsFreadBlank(c));
    return c;
}

// The bytes a file stream reads at a time.
constexpr size_t FreadBlock = 65536;

}  // namespace

std::optional<TFreadStream> TFreadStream::Open(const std::string& nativePath, uint64_t maxBytes)
{
    // Only a file: a device ("/dev/zero") never ends and a pipe waits for a writer.
    std::error_code error;
    if (!std::filesystem::is_regular_file(nativePath, error))
        return std::nullopt;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(nativePath.c_str(), "rb"), &std::fclose);
    struct stat info {};
    if (!file || fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<uint64_t>(info.st_size) > maxBytes)
        return std::nullopt;
    // A file being saved in place, or whose save in place was cut short, is read whole as the
    // program reads such a file: from what the save left, never half written.
    TFreadStream stream;
    stream.Mark = SavedFileMark(fileno(file.get()));
    if (SavedFileBeingWritten(stream.Mark)) {
        std::string data;
        if (ReadSavedFile(nativePath, static_cast<int64_t>(std::min<uint64_t>(maxBytes, INT64_MAX)), data) !=
            TFileRead::Ok)
            return std::nullopt;
        return TFreadStream(std::move(data));
    }
    stream.File = std::move(file);
    stream.Size = static_cast<uint64_t>(info.st_size);
    // A file that cannot be read at all is not a stream.
    if (stream.Size > 0 && !stream.Refill())
        return std::nullopt;
    return stream;
}

bool TFreadStream::Refill()
{
    if (!File || Filled >= Size)
        return false;
    // The last byte read stays in front, where a push-back finds it.
    if (!Buffer.empty()) {
        Buffer.erase(0, Buffer.size() - 1);
        Pos = 1;
    }
    const size_t keep = Buffer.size();
    const size_t want = static_cast<size_t>(std::min<uint64_t>(FreadBlock, Size - Filled));
    Buffer.resize(keep + want);
    size_t got = std::fread(Buffer.data() + keep, 1, want, File.get());
    // A save in place that marked the file meanwhile may have changed what was read: it ends here,
    // as a file that became shorter.
    if (SavedFileMark(fileno(File.get())) != Mark)
        got = 0;
    Buffer.resize(keep + got);
    Filled += got;
    if (got == 0) {
        Size = Filled;  // the file has become shorter, or cannot be read further
        return false;
    }
    return true;
}

AnsiString TFreadStream::Take(uint64_t n)
{
    n = std::min(n, Remaining());
    AnsiString bytes;
    bytes.reserve(static_cast<size_t>(n));
    while (bytes.size() < n && (Pos < Buffer.size() || Refill())) {
        const size_t count = static_cast<size_t>(std::min<uint64_t>(n - bytes.size(), Buffer.size() - Pos));
        bytes.append(Buffer, Pos, count);
        Pos += count;
    }
    return bytes;
}

std::optional<int32_t> FreadNumber(TFreadStream& stream)
{
    // Iterative, so a long chain of "1|1|1..." cannot exhaust the stack.
    uint32_t total = 0;
    for (;;) {
        int c = SkipBlanks(stream);
        bool negative = false;
        if (c == '+' || c == '-') {
            negative = c == '-';
            c = stream.Get();
        }
        if (!IsDigitByte(c)) {
            WriteLog(NotANumber, c == Eof ? '?' : c);
            stream.Unget(c);
            return std::nullopt;
        }
        uint32_t value = 0;
        for (; IsDigitByte(c); c = stream.Get())
            value = value * 10u + static_cast<uint32_t>(c - '0');
        total += negative ? 0u - value : value;
        if (c == '|')
            continue;
        if (c != ' ')
            stream.Unget(c);
        return static_cast<int32_t>(total);
    }
}

std::optional<AnsiString> FreadLengthString(TFreadStream& stream)
{
    const std::optional<int32_t> length = FreadNumber(stream);
    if (!length)
        return std::nullopt;
    if (*length < 1)
        return AnsiString();
    const auto n = static_cast<size_t>(*length);
    if (n > stream.Remaining()) {
        WriteLog("FreadLengthString: a text of %ld bytes is longer than the %lu bytes left.",
                 static_cast<long>(*length), static_cast<unsigned long>(stream.Remaining()));
        return std::nullopt;
    }
    AnsiString text = stream.Take(n);
    if (text.size() != n)
        return std::nullopt;  // the file became shorter while it was read
    return text;
}

std::optional<AnsiString> FreadString(TFreadStream& stream, size_t limit)
{
    limit = std::min(limit, FreadStringLimit);
    stream.Unget(SkipBlanks(stream));
    AnsiString text;
    while (text.size() < limit) {
        const int c = stream.Get();
        if (c == Eof)
            return std::nullopt;
        if (c == '~')
            return text;
        text += static_cast<char>(c);
    }
    return std::nullopt;
}

void FreadToEol(TFreadStream& stream)
{
    int c;
    do
        c = stream.Get();
    while (c != Eof && c != '\n' && c != '\r');
    do
        c = stream.Get();
    while (c == '\n' || c == '\r');
    stream.Unget(c);
}

int FreadLetter(TFreadStream& stream) { return SkipBlanks(stream); }

std::optional<AnsiString> FreadWord(TFreadStream& stream)
{
    int c = SkipBlanks(stream);
    AnsiString word;
    int quote = 0;
    if (c == '\'' || c == '"') {
        quote = c;
        c = stream.Get();
    }
    for (;; c = stream.Get()) {
        if (c == Eof) {
            WriteLog("%s", WordAtEof);
            return word;
        }
        if (quote ? c == quote : IsFreadBlank(c)) {
            if (!quote)
                stream.Unget(c);
            return word;
        }
        if (word.size() >= FreadWordLimit) {
            stream.Unget(c);
            WriteLog(WordTooLong, word.c_str());
            return std::nullopt;
        }
        word += static_cast<char>(c);
    }
}

bool StrEqual(const char* a, const char* b) { return a && b && std::strcmp(a, b) == 0; }

AnsiString CTimeText(const std::tm& time)
{
    static constexpr const char* Days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const char* day = time.tm_wday >= 0 && time.tm_wday < 7 ? Days[time.tm_wday] : "???";
    const char* month = time.tm_mon >= 0 && time.tm_mon < 12 ? Months[time.tm_mon] : "???";
    return Format("%s %s%3d %.2d:%.2d:%.2d %d", day, month, time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec,
                  time.tm_year + 1900);
}

AnsiString LogLine(const std::tm& time, std::string_view message)
{
    AnsiString line = CTimeText(time);
    line += " :: ";
    line += message;
    line += '\n';
    return line;
}

void WriteLog(const char* format, ...)
{
    char message[16384];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);

    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // The messages are cp949; the terminal that shows them reads the user's locale.
    const std::string line = Cp949ToLocale(LogLine(local, message));
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}
