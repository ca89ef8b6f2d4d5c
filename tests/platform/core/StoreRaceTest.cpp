// Several processes changing one file at once keep every change: a counter each adds to under
// the update lock, and keys of their own written into one INI file or the registry's, each then
// deleting its first key: every other key any of them wrote is in the file afterwards, and none
// of the deleted ones.

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "AtOnce.h"
#include "Holders.h"
#include "TempFolder.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/IniFile.h"
#include "platform/core/RegIniFile.h"
#include "platform/core/RegistryStore.h"
#include "platform/core/StringList.h"
#include "tests/platform/core/RegistryHive.h"

namespace {

constexpr int kWriters = 8;
constexpr int kKeysEach = 80;
constexpr int kBatch = 10;  // keys written between two saves where a store holds its changes

AnsiString KeyName(int writer, int key) { return "w" + std::to_string(writer) + "k" + std::to_string(key); }

std::set<AnsiString> Names(TStrings& list)
{
    std::set<AnsiString> names;
    for (int i = 0; i < list.Count(); ++i)
        names.insert(list.Strings(i));
    return names;
}

struct TRaceCase {
    const char* name;
    // Writes one writer's keys; true when every save reported success.
    std::function<bool(int writer)> write;
    std::function<std::set<AnsiString>()> stored;
    friend void PrintTo(const TRaceCase& row, std::ostream* out) { *out << row.name; }
};

// Writes the keys through one store, saving after every kBatch of them, then deletes the first.
bool WriteInBatches(TCustomIniFile& store, int writer)
{
    for (int k = 0; k < kKeysEach; ++k) {
        store.WriteString("Keys", KeyName(writer, k), "v");
        if (k % kBatch == kBatch - 1)
            store.UpdateFile();
    }
    store.DeleteKey("Keys", KeyName(writer, 0));
    store.UpdateFile();
    return true;
}

std::set<AnsiString> KeysIn(TCustomIniFile&& store)
{
    TStringList keys;
    store.ReadSection("Keys", &keys);
    return Names(keys);
}

bool IniEachKey(int writer)
{
    for (int k = 0; k < kKeysEach; ++k) {
        TIniFile ini("shared.ini");
        ini.WriteString("Keys", KeyName(writer, k), "v");
        ini.UpdateFile();
    }
    TIniFile ini("shared.ini");
    ini.DeleteKey("Keys", KeyName(writer, 0));
    ini.UpdateFile();
    return true;
}

bool IniBatches(int writer)
{
    TIniFile ini("shared.ini");
    return WriteInBatches(ini, writer);
}

std::set<AnsiString> IniKeys() { return KeysIn(TIniFile("shared.ini")); }

bool RegistryEachValue(int writer)
{
    bool ok = true;
    for (int k = 0; k < kKeysEach; ++k)
        ok = RegistryStore::SetValue(kUser, "Software\\Race\\Keys", {KeyName(writer, k), false, "v", 0}) && ok;
    return RegistryStore::DeleteValue(kUser, "Software\\Race\\Keys", KeyName(writer, 0)) && ok;
}

bool RegistryBatches(int writer)
{
    TRegistryIniFile store("Software\\Race");
    return WriteInBatches(store, writer);
}

std::set<AnsiString> RegistryKeys() { return KeysIn(TRegistryIniFile("Software\\Race", KEY_READ)); }

// Each release of the lock woke every waiter to find it gone; after a hundred such wake-ups a
// waiter gave up and saved unlocked over another's increment.
TEST(StoreRace, RegressionAWaiterForTheUpdateLockGaveUpAndSavedUnlocked)
{
    constexpr int kIncrementsEach = 100;
    TempFolder folder;
    const std::string counter = folder.File("counter");
    TempFolder::Write(counter, "0");
    const int failures = FailuresAtOnce(kWriters, [&](int) {
        for (int i = 0; i < kIncrementsEach; ++i)
            if (!AddOne(counter))
                return false;
        return true;
    });
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(TempFolder::Read(counter), std::to_string(kWriters * kIncrementsEach));
}

class RegressionTwoProgramsWritingOneSettingsFileLostEachOthersKeys : public ::testing::TestWithParam<TRaceCase> {};

TEST_P(RegressionTwoProgramsWritingOneSettingsFileLostEachOthersKeys, EveryKeySurvives)
{
    TempFolder folder;
    ASSERT_EQ(FailuresAtOnce(kWriters, GetParam().write), 0);
    std::set<AnsiString> expected;
    for (int w = 0; w < kWriters; ++w)
        for (int k = 1; k < kKeysEach; ++k)
            expected.insert(KeyName(w, k));
    EXPECT_EQ(GetParam().stored(), expected);
}

const TRaceCase kRaces[] = {
    {"IniFileSavedAtEachKey", IniEachKey, IniKeys},
    {"IniFileSavedInBatches", IniBatches, IniKeys},
    {"RegistrySavedAtEachValue", RegistryEachValue, RegistryKeys},
    {"RegistrySavedInBatches", RegistryBatches, RegistryKeys},
};
INSTANTIATE_TEST_SUITE_P(Stores, RegressionTwoProgramsWritingOneSettingsFileLostEachOthersKeys,
                         ::testing::ValuesIn(kRaces), [](const auto& param) { return std::string(param.param.name); });

}  // namespace
