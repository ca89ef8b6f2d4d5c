#include "platform/core/Streams.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>

#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/StoredPath.h"

void TStream::ReadBuffer(void* Buffer, int64_t Count)
{
    if (Count > 0 && Read(Buffer, Count) != Count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count)
{
    if (Count > 0 && Write(Buffer, Count) != Count)
        throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count)
{
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    char buffer[65536];
    int64_t copied = 0;
    while (copied < Count) {
        const int64_t piece = std::min<int64_t>(Count - copied, sizeof buffer);
        Source.ReadBuffer(buffer, piece);
        WriteBuffer(buffer, piece);
        copied += piece;
    }
    return copied;
}

int64_t TMemoryStream::Read(void* Buffer, int64_t Count)
{
    const int64_t got = std::clamp<int64_t>(Size() - FPosition, 0, std::max<int64_t>(Count, 0));
    if (got > 0)
        std::memcpy(Buffer, FBytes.data() + FPosition, static_cast<size_t>(got));
    FPosition += got;
    return got;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count)
{
    if (Count <= 0)
        return 0;
    const size_t at = static_cast<size_t>(FPosition), count = static_cast<size_t>(Count);
    if (at + count > FBytes.size())
        FBytes.resize(at + count);
    std::memcpy(FBytes.data() + at, Buffer, count);
    FPosition += Count;
    return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    const int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPosition : Size();
    FPosition = std::max<int64_t>(base + Offset, 0);
    return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize)
{
    FBytes.resize(static_cast<size_t>(std::max<int64_t>(NewSize, 0)));
    FPosition = std::min(FPosition, Size());
}

void TMemoryStream::Clear()
{
    FBytes.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Source)
{
    Source.SetPosition(0);
    FBytes.assign(static_cast<size_t>(Source.Size()), '\0');
    Source.ReadBuffer(FBytes.data(), Size());
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& Dest) const { Dest.WriteBuffer(FBytes); }

void TMemoryStream::LoadFromFile(std::string_view FileName)
{
    FBytes = ReadWholeFile(FileName);
    FPosition = 0;
}

void TMemoryStream::SaveToFile(std::string_view FileName) const
{
    if (!AtomicWriteFile(NativePath(FileName), FBytes))
        throw EFCreateError("Cannot create file " + AnsiString(FileName));
}

TFileStream::TFileStream(std::string_view FileName, unsigned Mode) : FFileName(FileName)
{
    FWritable = Mode != fmOpenRead;
    if (Mode == fmCreate) {
        FDirty = true;  // creating writes the file even when nothing is written into it
        return;
    }
    std::string bytes;
    if (!TryReadWholeFile(FileName, bytes))
        throw EFOpenError("Cannot open file " + FFileName);
    FData.WriteBuffer(bytes);
    FData.SetPosition(0);
}

TFileStream::~TFileStream()
{
    if (FDirty)
        AtomicWriteFile(NativePath(FFileName), FData.Bytes());
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count)
{
    if (!FWritable)
        return 0;
    FDirty = true;
    return FData.Write(Buffer, Count);
}

void TFileStream::SetSize(int64_t NewSize)
{
    if (!FWritable)
        throw EWriteError("Stream write error");
    FDirty = true;
    FData.SetSize(NewSize);
}

void TFileStream::Commit()
{
    if (!FDirty)
        return;
    FDirty = false;
    if (!AtomicWriteFile(NativePath(FFileName), FData.Bytes()))
        throw EFCreateError("Cannot create file " + FFileName);
}

bool TryReadWholeFile(std::string_view FileName, std::string& Bytes)
{
    return ReadFileUpTo(FileName, INT64_MAX, Bytes) == TFileRead::Ok;
}

TFileRead ReadFileUpTo(std::string_view FileName, int64_t MaxBytes, std::string& Bytes)
{
    return ReadSavedFile(NativePath(FileName), MaxBytes, Bytes);
}

std::string ReadWholeFile(std::string_view FileName)
{
    std::string bytes;
    if (!TryReadWholeFile(FileName, bytes))
        throw EFOpenError("Cannot open file " + AnsiString(FileName));
    return bytes;
}
