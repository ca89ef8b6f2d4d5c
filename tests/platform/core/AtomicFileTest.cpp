#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "TempFolder.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"

namespace fs = std::filesystem;

static int FileCount(const std::string& dir)
{
    int n = 0;
    for ([[maybe_unused]] auto& entry : fs::directory_iterator(dir))
        ++n;
    return n;
}

TEST(AtomicWrite, ReplacesTheFileWhole)
{
    TempFolder folder;
    std::string path = folder.File("book");
    TempFolder::Write(path, "old contents that are longer");
    TWriteResult result = AtomicWriteFile(path, "new");
    EXPECT_TRUE(result.Ok);
    EXPECT_EQ(TempFolder::Read(path), "new");
    EXPECT_EQ(FileCount(folder.Path()), 1);  // no temporary file left behind
}

TEST(AtomicWrite, AFailedStepLeavesTheOldFileAndReportsIt)
{
    TempFolder folder;
    std::string path = folder.File("book");
    for (TAtomicWriteStep step :
         {TAtomicWriteStep::Create, TAtomicWriteStep::Write, TAtomicWriteStep::Sync, TAtomicWriteStep::Rename}) {
        TempFolder::Write(path, "old");
        InjectAtomicWriteFailure(step);
        TWriteResult result = AtomicWriteFile(path, "new");
        EXPECT_FALSE(result.Ok) << static_cast<int>(step);
        EXPECT_NE(result.Message.find("book"), std::string::npos) << result.Message;
        EXPECT_EQ(TempFolder::Read(path), "old") << static_cast<int>(step);
        EXPECT_EQ(FileCount(folder.Path()), 1) << static_cast<int>(step);
    }
    // The injection is used up: the next write succeeds.
    EXPECT_TRUE(AtomicWriteFile(path, "new").Ok);
}

TEST(AtomicWrite, TheRaisingFormNamesTheFailure)
{
    TempFolder folder;
    std::string path = folder.File("x.ini");
    TempFolder::Write(path, "old");
    InjectAtomicWriteFailure(TAtomicWriteStep::Create);
    EXPECT_THROW(AtomicWriteFileOrRaise(path, "new"), EFCreateError);
    InjectAtomicWriteFailure(TAtomicWriteStep::Write);
    EXPECT_THROW(AtomicWriteFileOrRaise(path, "new"), EWriteError);
    EXPECT_EQ(TempFolder::Read(path), "old");
    EXPECT_NO_THROW(AtomicWriteFileOrRaise(path, "new"));
}

TEST(AtomicWrite, AMissingFolderIsAFailureNotACrash)
{
    TempFolder folder;
    TWriteResult result = AtomicWriteFile(folder.File("no/such/folder/file"), "x");
    EXPECT_FALSE(result.Ok);
    EXPECT_FALSE(result.Message.empty());
}

TEST(AtomicWrite, PiecesAreCommittedTogetherOrNotAtAll)
{
    TempFolder folder;
    std::string path = folder.File("cmd");
    TempFolder::Write(path, "old");
    {
        TAtomicFileWriter writer(path);
        EXPECT_TRUE(writer.Write("part one, "));
        // Dropped without Commit: nothing changes.
    }
    EXPECT_EQ(TempFolder::Read(path), "old");
    EXPECT_EQ(FileCount(folder.Path()), 1);

    TAtomicFileWriter writer(path);
    writer.Write("part one, ");
    writer.Write("part two");
    EXPECT_TRUE(writer.Commit().Ok);
    EXPECT_EQ(TempFolder::Read(path), "part one, part two");
}

TEST(AtomicWrite, KeepsTheOldFilesPermissions)
{
    TempFolder folder;
    std::string path = folder.File("private");
    TempFolder::Write(path, "old");
    chmod(path.c_str(), 0600);
    ASSERT_TRUE(AtomicWriteFile(path, "new").Ok);
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}
