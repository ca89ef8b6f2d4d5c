#pragma once
// Token readers for the program's own text files (command files, the character book) and the
// diagnostic log line on standard error. Bytes are taken as they are; nothing is decoded.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/core/AnsiString.h"

// A file read byte by byte, with the one-byte push-back and the end-of-file flag of a buffered
// C stream: the flag is set by the first read that finds no byte. A file is read a block at a
// time, so what a reader keeps of it is all it costs, and ends early where a save in place begins
// meanwhile, so that none of it is read; a stream can also read a text in memory.
class TFreadStream {
public:
    static constexpr int EndOfFile = -1;
    static constexpr uint64_t NoLimit = ~uint64_t{0};

    TFreadStream() = default;
    explicit TFreadStream(std::string data) : Buffer(std::move(data)), Size(Buffer.size()), Filled(Size) {}
    // The regular file at the native path, or none when it cannot be opened or read, or holds
    // more than maxBytes.
    static std::optional<TFreadStream> Open(const std::string& nativePath, uint64_t maxBytes = NoLimit);

    // The next byte (0..255), or EndOfFile.
    int Get()
    {
        if (Pos < Buffer.size() || Refill())
            return static_cast<unsigned char>(Buffer[Pos++]);
        AtEof = true;
        return EndOfFile;
    }
    // Pushes back the byte just read; pushing back EndOfFile does nothing, as with ungetc.
    void Unget(int c)
    {
        if (c != EndOfFile && Pos > 0) {
            --Pos;
            AtEof = false;
        }
    }
    bool Eof() const { return AtEof; }
    // The bytes not read yet (of a file, as large as it was when opened).
    uint64_t Remaining() const { return Size - (Filled - (Buffer.size() - Pos)); }
    // Takes up to n bytes as they are; fewer only when the file has become shorter.
    AnsiString Take(uint64_t n);

private:
    // Reads the next block, keeping the last byte read for a push-back; false at the end.
    bool Refill();

    std::string Buffer;
    size_t Pos = 0;
    uint64_t Size = 0;    // the bytes of the whole stream
    uint64_t Filled = 0;  // the bytes of it read into the buffer so far
    std::unique_ptr<FILE, int (*)(FILE*)> File{nullptr, &std::fclose};
    std::string Mark;  // the file's mark of saves in place when it was opened (AtomicFile.h)
    bool AtEof = false;
};

// Blanks as the readers skip them: space, FF, LF, CR, TAB, VT.
inline bool IsFreadBlank(int c) { return c == ' ' || c == '\f' || c == '\n' || c == '\r' || c == '\t' || c == '\v'; }

// The longest word FreadWord delivers, and the longest text FreadString takes.
constexpr size_t FreadWordLimit = 2047;
constexpr size_t FreadStringLimit = 65536;

// Skips blanks, then a signed decimal number. A '|' right after the digits adds the number that
// follows ("3|4" reads 7); a space after the digits is consumed, any other byte is left. None,
// with a log line, when no digit follows the optional sign. Values wrap at 32 bits.
std::optional<int32_t> FreadNumber(TFreadStream& stream);
// A FreadNumber length, then exactly that many bytes, blanks and line ends included; a length
// below 1 gives "". None when the number is malformed or longer than the rest of the file.
std::optional<AnsiString> FreadLengthString(TFreadStream& stream);
// Skips blanks, then the bytes up to the next '~' (dropped). None when the file ends before a
// '~' or min(limit, 65536) bytes have been read without one.
std::optional<AnsiString> FreadString(TFreadStream& stream, size_t limit);
// Skips past the next LF or CR and every LF and CR right after it.
void FreadToEol(TFreadStream& stream);
// Skips blanks and returns the next byte, or EndOfFile.
int FreadLetter(TFreadStream& stream);
// Skips blanks, then a word: up to the next blank (left in the stream), or, when it starts with
// a single or double quote, up to the matching quote (both dropped). At the end of the file the
// bytes read so far are returned (with a log line). None, with a log line, for a word longer
// than FreadWordLimit.
std::optional<AnsiString> FreadWord(TFreadStream& stream);

// Exact, case-sensitive equality; false when either side is null.
bool StrEqual(const char* a, const char* b);
inline bool StrEqual(const std::optional<AnsiString>& a, const char* b) { return a && StrEqual(a->c_str(), b); }

// Writes "TIME :: MESSAGE\n" to standard error, TIME as ctime gives the local time without its
// line end. The message is formatted printf-style and cut at 16383 bytes, then written in the
// character set of the user's locale (Cp949ToLocale).
void WriteLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The time as ctime writes it, without the line end: "Sun Dec  6 21:37:35 2026".
AnsiString CTimeText(const std::tm& time);
// One log line for the given time and message.
AnsiString LogLine(const std::tm& time, std::string_view message);
