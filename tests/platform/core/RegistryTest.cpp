#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "TempFolder.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/RegIniFile.h"
#include "platform/core/StringList.h"
#include "tests/platform/core/Cases.h"

TEST(Registry, KeysAndValuesIgnoreCaseAndPersist)
{
    TempFolder folder;
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Hanmud\\Main", true));
        reg.WriteString("Title", "a \"quoted\"\r\ntext \\ here");
        reg.WriteInteger("Count", -5);
        reg.WriteBool("On", true);
    }
    EXPECT_TRUE(std::filesystem::exists(folder.Path() + "/Registry/HKEY_CURRENT_USER.txt"));
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("software\\hanmud\\missing", false));
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\HANMUD\\MAIN", false));
    EXPECT_EQ(reg.ReadString("title"), "a \"quoted\"\r\ntext \\ here");
    EXPECT_EQ(reg.ReadInteger("COUNT"), -5);
    EXPECT_TRUE(reg.ReadBool("on"));
    EXPECT_EQ(reg.GetDataType("Count"), rdInteger);
    EXPECT_EQ(reg.ReadString("absent"), "");
    ExpectRaises<ERegistryException>([&] { reg.ReadInteger("absent"); }, "Failed to get data for 'absent'");
    EXPECT_THROW(reg.ReadInteger("Title"), ERegistryException);
}

TEST(Registry, RootsAreSeparateAndKeysNest)
{
    TempFolder folder;
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("A\\B", true));
    ASSERT_TRUE(reg.OpenKey("C", true));  // relative to the open key
    EXPECT_EQ(reg.CurrentPath(), "A\\B\\C");
    reg.CloseKey();
    ASSERT_TRUE(reg.OpenKey("A", false));
    TStringList names;
    reg.GetKeyNames(&names);
    EXPECT_EQ(Lines(names), (V{"B"}));
    EXPECT_TRUE(reg.HasSubKeys());
    EXPECT_TRUE(reg.DeleteKey("\\A\\B"));
    EXPECT_FALSE(reg.KeyExists("\\A\\B\\C"));

    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.HasCurrentKey());
    EXPECT_FALSE(reg.KeyExists("A"));
}

TEST(Registry, AReadOnlyObjectCannotWrite)
{
    TempFolder folder;
    TRegistry reg(KEY_READ);
    EXPECT_FALSE(reg.OpenKey("New", true));
    TRegistry writer;
    ASSERT_TRUE(writer.OpenKey("New", true));
    ASSERT_TRUE(reg.OpenKey("New", false));
    ExpectRaises<ERegistryException>([&] { reg.WriteString("x", "y"); },
                                     "Failed to set data for 'x'. The key is open for reading only.");
}

TEST(Registry, AFailedWriteIsReportedAndUndone)
{
    TempFolder folder;
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("K", true));
    reg.WriteString("v", "old");
    InjectAtomicWriteFailure(TAtomicWriteStep::Rename);
    // The message says why, as the writer reported it.
    ExpectRaises<ERegistryException>([&] { reg.WriteString("v", "new"); },
                                     "Failed to set data for 'v'. Cannot replace file " + folder.Path() +
                                         "/Registry/HKEY_CURRENT_USER.txt. Permission denied");
    EXPECT_EQ(reg.ReadString("v"), "old");
}

TEST(RegIniFile, SectionsAreSubKeys)
{
    TempFolder folder;
    TRegIniFile ini("Software\\Hanmud");
    ini.WriteString("Placement", "NormPos", "1,2,3,4");
    ini.WriteInteger("Placement", "ShowCmd", 3);
    ini.WriteBool("Grid", "Visible", true);
    EXPECT_EQ(ini.ReadString("placement", "normpos", ""), "1,2,3,4");
    EXPECT_EQ(ini.ReadInteger("Placement", "ShowCmd", 0), 3);
    EXPECT_EQ(ini.ReadInteger("Placement", "NormPos", -1), -1);  // not a number

    TStringList list;
    ini.ReadSections(&list);
    EXPECT_EQ(Lines(list), (V{"Placement", "Grid"}));
    ini.ReadSectionValues("Placement", &list);
    EXPECT_EQ(Lines(list), (V{"NormPos=1,2,3,4", "ShowCmd=3"}));
    ini.DeleteKey("Placement", "ShowCmd");
    ini.ReadSection("Placement", &list);
    EXPECT_EQ(Lines(list), (V{"NormPos"}));
    ini.EraseSection("Placement");
    ini.ReadSections(&list);
    EXPECT_EQ(Lines(list), (V{"Grid"}));

    // The same values through a plain registry object.
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Hanmud\\Grid", false));
    EXPECT_EQ(reg.ReadString("Visible"), "1");
}

TEST(RegIniFile, TheIniInterfaceOverTheRegistry)
{
    TempFolder folder;
    TRegistryIniFile store("Software\\Hanmud\\Columns");
    TCustomIniFile& ini = store;
    ini.WriteInteger("Grid", "col0", 64);
    EXPECT_EQ(ini.ReadInteger("Grid", "col0", -1), 64);
    EXPECT_EQ(ini.ReadInteger("Grid", "col1", -1), -1);
    EXPECT_TRUE(ini.SectionExists("Grid"));
    ini.EraseSection("Grid");
    EXPECT_FALSE(ini.SectionExists("Grid"));
}

TEST(RegIniFile, RegressionEachColumnWidthRewroteAndSyncedTheRegistryFile)
{
    TempFolder folder;
    const std::string file = folder.Path() + "/Registry/HKEY_CURRENT_USER.txt";
    {
        TRegistryIniFile store("Software\\Hanmud\\Columns");
        for (int i = 0; i < 1000; ++i)
            store.WriteInteger("Grid", "col" + std::to_string(i), i);
        EXPECT_FALSE(std::filesystem::exists(file));  // held until the store goes
        TRegistry reader;                             // this program's readers see the held values
        ASSERT_TRUE(reader.OpenKey("Software\\Hanmud\\Columns\\Grid", false));
        EXPECT_EQ(reader.ReadString("col999"), "999");
    }
    EXPECT_NE(TempFolder::Read(file).find("\"col999\"=\"999\""), std::string::npos);
}

TEST(RegIniFile, HeldValuesThatCannotBeWrittenAreReportedAndUndone)
{
    TempFolder folder;
    TRegistryIniFile store("Software\\Hanmud\\Columns");
    store.WriteString("Grid", "col0", "1");
    store.UpdateFile();
    store.WriteString("Grid", "col0", "2");
    InjectAtomicWriteFailure(TAtomicWriteStep::Sync);
    ExpectRaises<ERegistryException>([&] { store.UpdateFile(); },
                                     "Failed to set data for 'Software\\Hanmud\\Columns'. Cannot write file " +
                                         folder.Path() + "/Registry/HKEY_CURRENT_USER.txt. Input/output error");
    EXPECT_EQ(store.ReadString("Grid", "col0", ""), "1");
    InjectAtomicWriteFailure(TAtomicWriteStep::Create);
    EXPECT_THROW(store.WriteString("Grid", "col0", "3"), ERegistryException);  // refused at the change
    EXPECT_EQ(store.ReadString("Grid", "col0", ""), "1");
}
