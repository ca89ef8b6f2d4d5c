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

// A save of a file in a folder of the program folder, and what the file holds once it is saved.
struct TStoreCase {
    const char* name;
    const char* folder;
    const char* file;
    std::function<bool(const std::string& path)> save;
    std::function<bool(const std::string& data)> saved;
    friend void PrintTo(const TStoreCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionTheLockAndTheWriteFoundDifferentFolders : public ::testing::TestWithParam<TStoreCase> {};

// The folder is renamed, and another made at its path, as soon as the file's lock is taken.
TEST_P(RegressionTheLockAndTheWriteFoundDifferentFolders, TheSaveLandsInTheFolderLocked)
{
    const TStoreCase& c = GetParam();
    TempFolder program;
    const std::string folder = program.File(c.folder), moved = folder + "-moved";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    TempFolder::Write(folder + "/" + c.file, "[Main]\r\nKey=old\r\n");
    SetAtSaveStep([&](TSaveStep step) {
        if (step == TSaveStep::LockTaken && std::rename(folder.c_str(), moved.c_str()) == 0)
            mkdir(folder.c_str(), 0700);
    });
    const bool saved = c.save(folder + "/" + c.file);
    SetAtSaveStep({});
    EXPECT_TRUE(saved);
    EXPECT_TRUE(c.saved(TempFolder::Read(moved + "/" + c.file)));
    EXPECT_EQ(NamesIn(moved), std::vector<std::string>{c.file});
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{});
}

bool HoldsNewKey(const std::string& data) { return data.find("Key=new") != std::string::npos; }

const TStoreCase kStores[] = {
    {"SettingsFile", "conf", "app.ini",
     [](const std::string& path) {
         TIniFile ini(path);
         ini.WriteString("Main", "Key", "new");
         ini.UpdateFile();
         return true;
     },
     HoldsNewKey},
    {"Registry", "Registry", "HKEY_CURRENT_USER.txt",
     [](const std::string&) {
         return RegistryStore::SetValue(kUser, "Software\\Test", {"Key", false, "new", 0});
     },
     [](const std::string& data) { return data.find("new") != std::string::npos; }},
    {"LockThenWholeFile", "conf", "app.ini",
     [](const std::string& path) {
         const TFileUpdateLock lock(path);
         std::string read;
         return lock.Read(read) && read == "[Main]\r\nKey=old\r\n" && AtomicWriteFile(lock, "Key=new").Ok;
     },
     HoldsNewKey},
    {"LockThenInPieces", "conf", "app.ini",
     [](const std::string& path) {
         const TFileUpdateLock lock(path);
         TAtomicFileWriter writer(lock);
         return writer.Write("Key=") && writer.Write("new") && writer.Commit().Ok;
     },
     HoldsNewKey},
};
INSTANTIATE_TEST_SUITE_P(Stores, RegressionTheLockAndTheWriteFoundDifferentFolders, ::testing::ValuesIn(kStores),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
