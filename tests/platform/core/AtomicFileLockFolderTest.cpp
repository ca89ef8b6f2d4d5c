// A save under the update lock reads and writes the file in the folder the lock found, whatever
// becomes of the folder's path meanwhile: the lock and the write each walked the path, so that a
// folder renamed mid-save was locked in one place and written in another.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/IniFile.h"
#include "platform/core/RegistryStore.h"
#include "tests/platform/core/RegistryHive.h"

namespace {

// How a save under a lock writes the file.
struct TLockedWriteCase {
    const char* name;
    std::function<bool(const TFileUpdateLock& lock)> write;
    friend void PrintTo(const TLockedWriteCase& row, std::ostream* out) { *out << row.name; }
};

class LockedWrite : public ::testing::TestWithParam<TLockedWriteCase> {};

// "conf" is renamed and another made in its place once the lock is held.
TEST_P(LockedWrite, ReadsAndWritesInTheFolderLocked)
{
    TempFolder folder;
    const std::string conf = folder.File("conf"), moved = folder.File("conf-moved");
    ASSERT_EQ(mkdir(conf.c_str(), 0700), 0);
    TempFolder::Write(conf + "/app.ini", "old");
    {
        const TFileUpdateLock lock(conf + "/app.ini");
        ASSERT_TRUE(lock.Held());
        ASSERT_EQ(std::rename(conf.c_str(), moved.c_str()), 0);
        ASSERT_EQ(mkdir(conf.c_str(), 0700), 0);
        std::string read;
        EXPECT_TRUE(lock.Read(read));
        EXPECT_EQ(read, "old");
        EXPECT_TRUE(GetParam().write(lock));
    }
    EXPECT_EQ(TempFolder::Read(moved + "/app.ini"), "new");
    EXPECT_EQ(NamesIn(moved), std::vector<std::string>{"app.ini"});
    EXPECT_EQ(NamesIn(conf), std::vector<std::string>{});
}

const TLockedWriteCase kLockedWrites[] = {
    {"WholeFile", [](const TFileUpdateLock& lock) { return AtomicWriteFile(lock, "new").Ok; }},
    {"InPieces",
     [](const TFileUpdateLock& lock) {
         TAtomicFileWriter writer(lock);
         return writer.Write("ne") && writer.Write("w") && writer.Commit().Ok;
     }},
};
INSTANTIATE_TEST_SUITE_P(Writes, LockedWrite, ::testing::ValuesIn(kLockedWrites),
                         [](const auto& param) { return std::string(param.param.name); });

// A store saving its file, the folder of which is swapped for another whenever the path is walked
// once the file's lock is there: the save lands beside its lock, in the folder first found.
struct TStoreCase {
    const char* name;
    const char* folder;  // in the program folder
    const char* file;    // in that folder
    std::function<bool()> save;
    std::function<bool(const std::string& file)> saved;
    friend void PrintTo(const TStoreCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionTheLockAndTheWriteFoundDifferentFolders : public ::testing::TestWithParam<TStoreCase> {};

TEST_P(RegressionTheLockAndTheWriteFoundDifferentFolders, TheSaveLandsInTheFolderLocked)
{
    const TStoreCase& c = GetParam();
    TempFolder program;
    const std::string folder = program.File(c.folder), moved = folder + "-moved";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    struct stat first;
    ASSERT_EQ(stat(folder.c_str(), &first), 0);
    SetBeforeEnteringFolder([&](const std::string&) {
        for (const std::string& name : NamesIn(folder))
            if (name.starts_with(".~hanmud-lock-") && std::rename(folder.c_str(), moved.c_str()) == 0) {
                mkdir(folder.c_str(), 0700);
                return;
            }
    });
    const bool saved = c.save();
    SetBeforeEnteringFolder({});
    EXPECT_TRUE(saved);
    // Wherever the folder first found is now.
    struct stat now;
    const std::string locked = stat(moved.c_str(), &now) == 0 && now.st_ino == first.st_ino ? moved : folder;
    EXPECT_TRUE(c.saved(locked + "/" + c.file));
    EXPECT_EQ(NamesIn(locked), std::vector<std::string>{c.file});
}

const TStoreCase kStores[] = {
    {"SettingsFile", "conf", "app.ini",
     [] {
         TIniFile ini("conf/app.ini");
         ini.WriteString("Main", "Key", "new");
         ini.UpdateFile();
         return true;
     },
     [](const std::string& file) { return TempFolder::Read(file).find("Key=new") != std::string::npos; }},
    {"Registry", "Registry", "HKEY_CURRENT_USER.txt",
     [] {
         return RegistryStore::SetValue(kUser, "Software\\Test", {"Key", false, "new", 0});
     },
     [](const std::string& file) { return TempFolder::Read(file).find("new") != std::string::npos; }},
};
INSTANTIATE_TEST_SUITE_P(Stores, RegressionTheLockAndTheWriteFoundDifferentFolders, ::testing::ValuesIn(kStores),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
