#pragma once
// The framework's byte streams: a position in a sequence of bytes that reads and writes move.
// TMemoryStream keeps its bytes in memory; TFileStream reads a file, and writes one through the
// atomic writer (the bytes are kept until the stream is committed or freed, then the file is
// replaced whole), so a failed write never leaves half a file.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/AnsiString.h"
#include "platform/core/Object.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    // Reads up to Count bytes into Buffer; the number read (0 at the end).
    virtual int64_t Read(void* Buffer, int64_t Count) = 0;
    // Writes Count bytes; the number written.
    virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
    // Moves the position (clamped at 0) and returns it.
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
    virtual int64_t Size() const = 0;
    virtual void SetSize(int64_t NewSize) = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t Value) { Seek(Value, soBeginning); }
    // All Count bytes or EReadError "Stream read error".
    void ReadBuffer(void* Buffer, int64_t Count);
    // All Count bytes or EWriteError "Stream write error".
    void WriteBuffer(const void* Buffer, int64_t Count);
    void WriteBuffer(std::string_view Bytes) { WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size())); }
    // Copies Count bytes of Source from its position (all of it from the start when Count is 0).
    int64_t CopyFrom(TStream& Source, int64_t Count);
};

// A stream of bytes in memory.
class TMemoryStream : public TStream {
public:
    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t Size() const override { return static_cast<int64_t>(FBytes.size()); }
    void SetSize(int64_t NewSize) override;
    void Clear();
    // The whole contents (program paths for the files).
    const std::string& Bytes() const { return FBytes; }
    void LoadFromStream(TStream& Source);
    void SaveToStream(TStream& Dest) const;
    void LoadFromFile(std::string_view FileName);
    void SaveToFile(std::string_view FileName) const;

private:
    std::string FBytes;
    int64_t FPosition = 0;
};

// File modes: how the file is opened.
enum : unsigned { fmOpenRead = 0, fmOpenWrite = 1, fmOpenReadWrite = 2, fmCreate = 0xFFFF };

// A file as a stream. FileName is a program path. fmCreate starts empty; fmOpenRead reads the
// file, raising EFOpenError "Cannot open file NAME" when it cannot be read; the write modes
// start from its contents. Writes reach the file when Commit runs (EWriteError or
// EFCreateError on failure, the old file kept) or, without it, when the stream is freed.
class TFileStream : public TStream {
public:
    TFileStream(std::string_view FileName, unsigned Mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(void* Buffer, int64_t Count) override { return FData.Read(Buffer, Count); }
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override { return FData.Seek(Offset, Origin); }
    int64_t Size() const override { return FData.Size(); }
    void SetSize(int64_t NewSize) override;
    void Commit();
    const AnsiString& FileName() const { return FFileName; }

private:
    AnsiString FFileName;
    TMemoryStream FData;
    bool FWritable = false;
    bool FDirty = false;
};

// The whole of a file given by its program path; EFOpenError "Cannot open file NAME" when it
// cannot be read.
std::string ReadWholeFile(std::string_view FileName);
// The same; false when the file cannot be read.
bool TryReadWholeFile(std::string_view FileName, std::string& Bytes);

// Reading a file whole, bounded: Missing when nothing is there, Unreadable when what is there is
// no regular file or cannot be read, TooLarge when it holds more than MaxBytes (told by its size
// before anything is read, so a huge or sparse file costs nothing).
enum class TFileRead { Ok, Missing, Unreadable, TooLarge };
TFileRead ReadFileUpTo(std::string_view FileName, int64_t MaxBytes, std::string& Bytes);
