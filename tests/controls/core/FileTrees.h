#pragma once
// Trees of test files spelt as text, blank-separated entries: "a/" a folder, "a=text" a file
// ("a=*N": N bytes), "a->target" a symbolic link, "a|" a FIFO, "a%" a socket, "a!" a device that
// reads as /dev/zero (root only); "@700" after one sets its permission bits. Tree reads a folder
// back so, in name order, links not followed, with every mode, a long file as its size and an
// info file of the trash as its first line.

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "tests/platform/core/TempFolder.h"

namespace filetrees {

namespace fs = std::filesystem;

inline void Ignore(int) {}

// Bound from inside its folder: a socket's address is short, the test folder's path need not be.
inline void MakeSocket(const fs::path& path)
{
    const fs::path back = fs::current_path();
    fs::current_path(path.parent_path());
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.filename().c_str(), sizeof address.sun_path - 1);
    Ignore(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address));
    close(fd);
    fs::current_path(back);
}

inline void MakeTree(const std::string& root, const std::string& spec)
{
    for (size_t start = 0, end; start < spec.size(); start = end + 1) {
        end = std::min(spec.find(' ', start), spec.size());
        std::string entry = spec.substr(start, end - start);
        const size_t at = entry.rfind('@'), arrow = entry.find("->"), eq = entry.find('=');
        const int mode = at == std::string::npos ? -1 : std::stoi(entry.substr(at + 1), nullptr, 8);
        entry = entry.substr(0, at);
        const fs::path path = root + "/" + entry.substr(0, std::min({arrow, eq, entry.size() - 1}));
        fs::create_directories(path.parent_path());
        if (arrow != std::string::npos)
            Ignore(symlink(entry.substr(arrow + 2).c_str(), path.c_str()));
        else if (eq != std::string::npos && entry[eq + 1] == '*')
            TempFolder::Write(path, std::string(std::stoul(entry.substr(eq + 2)), 'x'));
        else if (eq != std::string::npos)
            TempFolder::Write(path, entry.substr(eq + 1));
        else if (entry.back() == '/')
            fs::create_directories(path);
        else if (entry.back() == '|')
            mkfifo(path.c_str(), 0644);
        else if (entry.back() == '!')
            mknod(path.c_str(), S_IFCHR | 0644, makedev(1, 5));
        else
            MakeSocket(path);
        if (mode >= 0)
            chmod(path.c_str(), static_cast<mode_t>(mode));
    }
}

inline void ReadTree(const fs::path& root, const fs::path& folder, std::set<std::string>& out)
{
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().lexically_relative(root).string();
        struct stat st;
        if (lstat(entry.path().c_str(), &st) != 0)
            continue;
        const std::string mode =
            "@" + std::to_string((st.st_mode >> 6 & 7) * 100 + (st.st_mode >> 3 & 7) * 10 + (st.st_mode & 7));
        std::string text = S_ISREG(st.st_mode) ? TempFolder::Read(entry.path()) : "";
        if (entry.path().extension() == ".trashinfo")
            text = text.substr(0, text.find('\n'));
        if (text.size() > 64)
            text = "*" + std::to_string(text.size());
        if (S_ISDIR(st.st_mode))
            out.insert(name + "/" + mode);
        else if (S_ISLNK(st.st_mode))
            out.insert(name + "->" + fs::read_symlink(entry.path(), ec).string());
        else
            out.insert(name +
                       (S_ISREG(st.st_mode)        ? "=" + text + mode
                            : S_ISFIFO(st.st_mode) ? "|"
                            : S_ISSOCK(st.st_mode) ? "%"
                                                   : "!"));
        if (S_ISDIR(st.st_mode))
            ReadTree(root, entry.path(), out);
    }
}

inline std::string Tree(const std::string& root)
{
    std::set<std::string> entries;
    ReadTree(root, root, entries);
    std::string tree;
    for (const std::string& e : entries)
        tree += (tree.empty() ? "" : " ") + e;
    return tree;
}

}  // namespace filetrees
