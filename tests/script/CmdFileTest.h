#pragma once
// A script state with a folder of its own for command files.

#include <string>
#include <vector>

#include "ScriptTestFixture.h"
#include "script/CmdFile.h"

class CmdFileTest : public ScriptTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A file in the test's folder: its program path (absolute; native paths work as they are).
    AnsiString PathOf(const std::string& name) const { return Folder + "/" + name; }
    // Writes bytes to a file of the folder and gives its path.
    AnsiString WriteFile(const std::string& name, const std::string& bytes) const;
    // Writes the bytes as "Test.Cmd" and loads it.
    bool LoadText(const std::string& bytes);
    // Message-box texts shown so far, in order.
    std::vector<AnsiString> Boxes() const;
    // The names of the files in the folder.
    std::vector<std::string> FolderFiles() const;

    static std::string ReadFile(const std::string& path);
    // The golden command file beside the tests.
    static std::string GoldenPath();

    std::string Folder;
};

// cp949 bytes from UTF-8 test text.
AnsiString Ks(const char* utf8);
