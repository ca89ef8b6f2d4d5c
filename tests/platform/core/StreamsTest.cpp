// Byte streams: positions move with reads and writes; files are read whole and written whole
// through the atomic writer.

#include "platform/core/Streams.h"

#include <gtest/gtest.h>

#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "tests/platform/core/Cases.h"
#include "tests/platform/core/TempFolder.h"

TEST(MemoryStream, ReadsWritesAndSeeksWithinItsBytes)
{
    TMemoryStream s;
    s.WriteBuffer("hello");
    s.SetPosition(1);
    s.WriteBuffer("EL");
    char buffer[8] = {};
    EXPECT_EQ(s.Read(buffer, 8), 2);  // from the position to the end
    s.Seek(-2, soEnd);
    EXPECT_EQ(s.Position(), 3);
    s.Seek(-10, soCurrent);
    EXPECT_EQ(s.Position(), 0);
    EXPECT_EQ(s.Bytes(), "hELlo");
    s.SetSize(2);
    EXPECT_EQ(s.Bytes(), "hE");
    EXPECT_THROW(s.ReadBuffer(buffer, 3), EReadError);
}

TEST(FileStream, CreatingWritesTheFileWholeWhenCommitted)
{
    TempFolder folder;
    {
        TFileStream out("out.bin", fmCreate);
        out.WriteBuffer("abc");
        out.Commit();
    }
    EXPECT_EQ(TempFolder::Read(folder.File("out.bin")), "abc");
    TFileStream in("out.bin", fmOpenRead);
    char buffer[4] = {};
    in.ReadBuffer(buffer, 3);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(in.Write("x", 1), 0);  // read-only
}

TEST(FileStream, AFailedCommitRaisesAndKeepsTheOldFile)
{
    TempFolder folder;
    TempFolder::Write(folder.File("keep.bin"), "old");
    TFileStream out("keep.bin", fmOpenReadWrite);
    out.Seek(0, soEnd);
    out.WriteBuffer("new");
    InjectAtomicWriteFailure(TAtomicWriteStep::Write);
    ExpectRaises<EFCreateError>([&] { out.Commit(); }, "Cannot create file keep.bin");
    EXPECT_EQ(TempFolder::Read(folder.File("keep.bin")), "old");
}

TEST(FileStream, OnlyARegularFileOpens)
{
    TempFolder folder;
    ExpectRaises<EFOpenError>([] { TFileStream("missing.bin", fmOpenRead); }, "Cannot open file missing.bin");
    std::string bytes;
    EXPECT_FALSE(TryReadWholeFile(folder.Path(), bytes));
    EXPECT_FALSE(TryReadWholeFile("/dev/zero", bytes));
}

// A bounded read takes a file of exactly its bound and refuses one byte more; what is not a
// regular file, or is not there, says which.
TEST(ReadFileUpTo, TellsWhyAFileWasNotRead)
{
    TempFolder folder;
    TempFolder::Write(folder.File("ten.bin"), "0123456789");
    std::string bytes;
    EXPECT_EQ(ReadFileUpTo("ten.bin", 10, bytes), TFileRead::Ok);
    EXPECT_EQ(bytes, "0123456789");
    EXPECT_EQ(ReadFileUpTo("ten.bin", 9, bytes), TFileRead::TooLarge);
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(ReadFileUpTo("missing.bin", 10, bytes), TFileRead::Missing);
    EXPECT_EQ(ReadFileUpTo(folder.Path(), 10, bytes), TFileRead::Unreadable);
    EXPECT_EQ(ReadFileUpTo("/dev/zero", 10, bytes), TFileRead::Unreadable);
}
