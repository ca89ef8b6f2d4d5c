#pragma once
// Trees of test files spelt as text, blank-separated entries: "a/" a folder, "a=text" a file
// ("a=*N": N bytes; "a=^N": N bytes of holes but an "x" half way), "a->target" a symbolic link, "a|" a FIFO, "a%" a socket, "a!" a device that
// reads as /dev/zero (root only); "@700" after one sets its permission bits. Tree reads a folder
// back so, in name order, links not followed, with every mode, a long file as its size and an
// info file of the trash as its first line.

#include <endian.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "controls/core/FileOperatorDialogs.h"
#include "tests/platform/core/TempFolder.h"

namespace filetrees {

// Dialogs of the file operator that answer Yes, log the errors shown ("; " between) and ask
// `onPoll` whether to go on at each poll of the progress window.
class TRecordingDialogs : public IFileOperatorDialogs {
public:
    TRecordingDialogs(std::string& errors, std::function<bool()>& onPoll) : errors_(errors), onPoll_(onPoll) {}
    TQuestionAnswer Ask(const TFileQuestionText&) override { return qaYes; }
    void OpenProgress(const AnsiString&, int) override {}
    bool StepProgress(const AnsiString&, int) override { return true; }
    bool PollProgress() override { return onPoll_(); }
    void CloseProgress() override {}
    void ShowError(const AnsiString&, const AnsiString& text) override
    {
        errors_ += (errors_.empty() ? "" : "; ") + text;
    }

private:
    std::string& errors_;
    std::function<bool()>& onPoll_;
};

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

// Mounts a tmpfs of the size given (as mount's "size=" takes it) at the folder, in a mount
// namespace of this process's own, which goes with the process: only for a child. Empty when
// mounted, else why not (root only).
inline std::string MountFileSystem(const std::string& at, const char* size)
{
    const std::string options = std::string("size=") + size + ",mode=755";
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("hanmud-test", at.c_str(), "tmpfs", 0, options.c_str()) != 0)
        return std::string("mounting a file system needs root: ") + std::strerror(errno);
    return std::string();
}

// Binds the folder `from` at the folder `at`, in a mount namespace of this process's own (see
// MountFileSystem). Empty when bound, else why not (root only).
inline std::string BindFolder(const std::string& from, const std::string& at)
{
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount(from.c_str(), at.c_str(), nullptr, MS_BIND, nullptr) != 0)
        return std::string("binding a folder needs root: ") + std::strerror(errno);
    return std::string();
}

// An access list as the system stores it, of entries {tag, permissions, id} (tag: 1 the owner,
// 2 a user, 4 the owning group, 16 the mask, 32 others; no id: none).
inline std::string AccessList(const std::vector<std::vector<uint32_t>>& entries)
{
    std::string bytes;
    const auto put = [&bytes](uint32_t value, size_t size) {
        const uint32_t little = htole32(value);
        bytes.append(reinterpret_cast<const char*>(&little), size);
    };
    put(2, 4);
    for (const std::vector<uint32_t>& e : entries) {
        put(e[0], 2);
        put(e[1], 2);
        put(e.size() > 2 ? e[2] : UINT32_MAX, 4);
    }
    return bytes;
}

// Whether the file takes fewer blocks than its size: its file system keeps holes.
inline bool HasHoles(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && st.st_blocks * 512 < st.st_size;
}

// The body's answer from a child that may write no file past 1 MiB and is stopped after 20 s,
// with " [stopped by signal N]" added when a signal ended it.
inline std::string InBoundedChild(const std::function<std::string()>& body)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "no pipe";
    const pid_t pid = fork();
    if (pid == 0) {
        const rlimit limit = {1 << 20, 1 << 20};
        setrlimit(RLIMIT_FSIZE, &limit);
        signal(SIGXFSZ, SIG_IGN);
        alarm(20);
        std::string out;
        try {
            out = body();
        } catch (const std::exception& e) {
            out = std::string("raised ") + e.what();
        }
        Ignore(static_cast<int>(write(fds[1], out.data(), out.size())));
        _exit(0);
    }
    close(fds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? out : out + " [stopped by signal " + std::to_string(WTERMSIG(status)) + "]";
}

// A file of `size` bytes that holds one "x" half way and holes around it.
inline void MakeSparse(const std::string& path, off_t size)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    Ignore(ftruncate(fd, size));
    Ignore(static_cast<int>(pwrite(fd, "x", 1, size / 2)));
    close(fd);
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
        else if (eq != std::string::npos && entry[eq + 1] == '^')
            MakeSparse(path, std::stol(entry.substr(eq + 2)));
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
        const std::string mode = "@" +
            std::to_string((st.st_mode >> 9 & 7) * 1000 + (st.st_mode >> 6 & 7) * 100 + (st.st_mode >> 3 & 7) * 10 +
                           (st.st_mode & 7));
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
