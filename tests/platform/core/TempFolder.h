#pragma once
// A fresh folder for one test, made the program folder while the test runs.

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

// The names in a folder, in the order the system lists them.
inline std::vector<std::string> NamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

// Makes what the folder holds an hour old, as what a save killed long ago left.
inline void AgeEverything(const std::string& folder)
{
    const timespec anHourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    for (const std::string& name : NamesIn(folder))
        utimensat(AT_FDCWD, (folder + "/" + name).c_str(), anHourAgo, AT_SYMLINK_NOFOLLOW);
}
