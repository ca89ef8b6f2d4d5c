#include "CmdFileTest.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/core/Cp949.h"

void CmdFileTest::SetUp()
{
    char name[] = "/tmp/cmdfile-test-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    Folder = name;
}

void CmdFileTest::TearDown()
{
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
}

AnsiString CmdFileTest::WriteFile(const std::string& name, const std::string& bytes) const
{
    std::ofstream(Folder + "/" + name, std::ios::binary) << bytes;
    return PathOf(name);
}

bool CmdFileTest::LoadText(const std::string& bytes) { return state.LoadCmdFile(WriteFile("Test.Cmd", bytes)); }

std::vector<AnsiString> CmdFileTest::Boxes() const
{
    std::vector<AnsiString> boxes;
    for (const auto& e : host.Events)
        if (e.What == TScriptEvent::MessageBox) {
            EXPECT_EQ(e.Text, "\xBF\xA1\xB7\xAF");  // every box is captioned "error"
            boxes.push_back(e.Name);
        }
    return boxes;
}

std::vector<std::string> CmdFileTest::FolderFiles() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string CmdFileTest::ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string CmdFileTest::GoldenPath() { return std::string(HM_SOURCE_DIR) + "/tests/script/data/Character.Cmd"; }

AnsiString Ks(const char* utf8) { return Utf8ToCp949(utf8); }
