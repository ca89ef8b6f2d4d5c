#pragma once
// A fresh folder for one test, made the program folder while the test runs.

#include <fstream>
#include <iterator>
#include <string>

#include "platform/core/ProgramFolder.h"
#include "tests/TempName.h"

class TempFolder {
public:
    TempFolder() : folder_("hmcore") { SetProgramFolder(folder_.Path()); }
    ~TempFolder() { SetProgramFolder(""); }
    const std::string& Path() const { return folder_.Path(); }
    std::string File(const std::string& name) const { return folder_.File(name); }

    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    static void Write(const std::string& path, const std::string& data)
    {
        std::ofstream(path, std::ios::binary) << data;
    }

private:
    TScratchFolder folder_;
};
