#pragma once
// Trees of test files spelt as text, blank-separated entries: "a/" a folder, "a=text" a file
// ("a=*N": N bytes "x"; "a=^N": N bytes of holes but an "x" half way), "a=>b" another name of the
// file b (both from the tree's root), "a->target" a symbolic link, "a|" a FIFO, "a%" a socket,
// "a!" a device that reads as /dev/zero (root only). "@700"
// after one sets its permission bits (a link's are left as they are: "@:UID"), and may go on with
// ":UID" its owner, ".GID" its group, "+A" an access list that grants user 2005 reading and the
// owning group reading and writing, "+D" a default list that grants user 2005 everything (root
// only), "+i" the flag that makes it immutable, "+a" append-only (root only; ClearFlags clears
// them). Tree reads a folder back so, in name order, links not followed, with every mode and
// access list, a long file as its size ("^N" where it keeps the
// holes and "x" of "a=^N"), a file of N names with "~N" at its end, an info file of the trash as
// its first line and, when asked, owners.

#include <endian.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cctype>
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

// Mounts at the folder `at`, in a mount namespace of this process's own, which goes with the
// process: only for a child. Empty when mounted, else why not (root only).
inline std::string MountPrivately(const char* source, const std::string& at, const char* type, unsigned long flags,
                                  const std::string& options)
{
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount(source, at.c_str(), type, flags, options.c_str()) != 0)
        return std::string("mounting needs root: ") + std::strerror(errno);
    return std::string();
}
// A tmpfs of the size given (as mount's "size=" takes it), or the folder `from` bound there.
inline std::string MountFileSystem(const std::string& at, const char* size)
{
    return MountPrivately("hanmud-test", at, "tmpfs", 0, std::string("size=") + size + ",mode=755");
}
inline std::string BindFolder(const std::string& from, const std::string& at)
{
    return MountPrivately(from.c_str(), at, nullptr, MS_BIND, "");
}

// Unmounts `at` once this process ends, however it ends: a process of its own, in the same mount
// namespace, waits for the end of a pipe that only this process holds open (its children let go
// of it when they run a program). For a mount whose server outlives the namespace's last other
// process, as a FUSE server does.
inline bool UnmountWhenThisEnds(const std::string& at)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return false;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ends[1]);
        char byte;
        while (read(ends[0], &byte, 1) < 0 && errno == EINTR) {}
        umount2(at.c_str(), MNT_DETACH);
        _exit(0);
    }
    close(ends[0]);
    return pid > 0;
}

constexpr const char* kNoBindfs = "bindfs is not installed (scripts/setup.sh installs it)";

// The folder `at` bound onto itself through bindfs, a FUSE file system, run with the options
// given, in a mount namespace of this process's own; unmounted, and its server ended, when this
// process ends. Empty when mounted, kNoBindfs, else why not (root only).
inline std::string MountFuse(const std::string& at, const std::vector<std::string>& options)
{
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return std::string("mounting a FUSE folder of its own needs root: ") + std::strerror(errno);
    std::vector<const char*> args{"bindfs"};
    for (const std::string& option : options)
        args.push_back(option.c_str());
    args.insert(args.end(), {at.c_str(), at.c_str(), nullptr});
    if (!UnmountWhenThisEnds(at))
        return std::string("no process to unmount the folder: ") + std::strerror(errno);
    // bindfs answers once the folder is mounted, and leaves its server running.
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(args[0], const_cast<char* const*>(args.data()));
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return "bindfs did not end";
    if (WEXITSTATUS(status) == 127)
        return kNoBindfs;
    return WEXITSTATUS(status) == 0 ? std::string() : "bindfs could not mount (is /dev/fuse there?)";
}

// Two small tmpfs at `at`/fs1 and `at`/fs2, the folder "in" of each bound at `at`/t/m1 and
// `at`/t/m2, all under one FUSE folder at `at`: it gives the node numbers of the file systems
// below, which number their files alike. Empty when mounted, else why not (root only).
inline std::string MountFuseOverTwoFileSystems(const std::string& at)
{
    for (const char* n : {"1", "2"}) {
        const std::string below = at + "/fs" + n, bound = at + "/t/m" + n;
        fs::create_directories(bound);
        fs::create_directories(below);
        if (const std::string lacking = MountFileSystem(below, "64k"); !lacking.empty())
            return lacking;
        fs::create_directories(below + "/in");
        if (const std::string lacking = BindFolder(below + "/in", bound); !lacking.empty())
            return lacking;
    }
    return MountFuse(at, {});
}

// An overlay at `at`, its layers in a small tmpfs mounted there first and hidden under it, as a
// container's root is, in a mount namespace of this process's own; for a user other than root in
// a user namespace of its own too, where the system permits one. Empty when mounted, else why not.
inline std::string MountOverlay(const std::string& at)
{
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    if (uid != 0) {
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return std::string("no user namespace of its own to mount in: ") + std::strerror(errno);
        const auto put = [](const char* file, const std::string& text) {
            const int fd = open(file, O_WRONLY | O_CLOEXEC);
            const bool ok = fd >= 0 && write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
            if (fd >= 0)
                close(fd);
            return ok;
        };
        if (!put("/proc/self/setgroups", "deny") || !put("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !put("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
            return "the user namespace takes no map of this user";
    } else if (unshare(CLONE_NEWNS) != 0) {
        return std::string("no mount namespace of its own: ") + std::strerror(errno);
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("hanmud-test", at.c_str(), "tmpfs", 0, "size=1m,mode=755") != 0)
        return std::string("mounting the layers' tmpfs: ") + std::strerror(errno);
    for (const char* layer : {"/.lower", "/.upper", "/.work"})
        mkdir((at + layer).c_str(), 0755);
    const std::string options = "lowerdir=" + at + "/.lower,upperdir=" + at + "/.upper,workdir=" + at + "/.work" +
        (uid != 0 ? ",userxattr" : "");
    if (mount("overlay", at.c_str(), "overlay", 0, options.c_str()) != 0)
        return std::string("mounting an overlay: ") + std::strerror(errno);
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

constexpr const char* kAccessListName = "system.posix_acl_access";
constexpr const char* kDefaultListName = "system.posix_acl_default";

// The entry's access and default lists as " acl tag:perm[:id]..." and " default ...", empty where
// it has none.
inline std::string ShownLists(const std::string& path)
{
    std::string shown;
    for (const char* list : {kAccessListName, kDefaultListName}) {
        char value[256];
        const ssize_t n = lgetxattr(path.c_str(), list, value, sizeof value);
        if (n > 0)
            shown += list == kAccessListName ? " acl" : " default";
        for (ssize_t at = 4; at + 8 <= n; at += 8) {
            uint16_t tag, perm;
            uint32_t id;
            std::memcpy(&tag, value + at, 2);
            std::memcpy(&perm, value + at + 2, 2);
            std::memcpy(&id, value + at + 4, 4);
            shown += " " + std::to_string(le16toh(tag)) + ":" + std::to_string(le16toh(perm)) +
                (le32toh(id) == UINT32_MAX ? "" : ":" + std::to_string(le32toh(id)));
        }
    }
    return shown;
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

// Sets (or clears) the flags of the file or folder at the path; false where they cannot be.
inline bool SetFlags(const std::string& path, int flags, bool on)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    int now = 0;
    bool ok = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &now) == 0;
    now = on ? now | flags : now & ~flags;
    ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &now) == 0;
    if (fd >= 0)
        close(fd);
    return ok;
}

// Clears the immutable and append-only flags ("+i", "+a") of everything in the tree, so that it
// can be removed.
inline void ClearFlags(const std::string& root)
{
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec))
        if (const fs::file_type type = entry.symlink_status(ec).type();
            type == fs::file_type::regular || type == fs::file_type::directory)
            SetFlags(entry.path(), FS_IMMUTABLE_FL | FS_APPEND_FL, false);
}

// The tree `layout` describes, each entry given to `owner` (and its group) when one is named.
// False when an access list or a flag could not be set.
inline bool MakeTree(const std::string& root, const std::string& layout, int owner = -1)
{
    bool listed = true;
    for (size_t start = 0, end; start < layout.size(); start = end + 1) {
        end = std::min(layout.find(' ', start), layout.size());
        std::string entry = layout.substr(start, end - start);
        const size_t at = entry.rfind('@');
        const std::string tail = at == std::string::npos ? "" : entry.substr(at + 1);
        entry = entry.substr(0, at);
        const size_t arrow = entry.find("->"), eq = entry.find('='), named = entry.find("=>");
        const fs::path path = root + "/" + entry.substr(0, std::min({arrow, eq, entry.size() - 1}));
        fs::create_directories(path.parent_path());
        if (arrow != std::string::npos)
            Ignore(symlink(entry.substr(arrow + 2).c_str(), path.c_str()));
        else if (named != std::string::npos)
            Ignore(link((root + "/" + entry.substr(named + 2)).c_str(), path.c_str()));
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
        // The owner first: a change of owner clears set-id bits.
        const size_t user = tail.find(':'), group = tail.find('.'), list = tail.find('+');
        const auto id = [&tail](size_t from) {
            return from == std::string::npos ? -1 : std::stoi(tail.substr(from + 1));
        };
        const int uid = user != std::string::npos ? id(user) : owner,
                  gid = group != std::string::npos ? id(group) : owner;
        Ignore(lchown(path.c_str(), static_cast<uid_t>(uid), static_cast<gid_t>(gid)));
        if (!tail.empty() && std::isdigit(static_cast<unsigned char>(tail[0])))
            chmod(path.c_str(), static_cast<mode_t>(std::stoi(tail, nullptr, 8)));
        if (list != std::string::npos && (tail[list + 1] == 'i' || tail[list + 1] == 'a')) {
            listed = SetFlags(path, tail[list + 1] == 'i' ? FS_IMMUTABLE_FL : FS_APPEND_FL, true) && listed;
        } else if (list != std::string::npos) {
            const bool access = tail[list + 1] == 'A';
            const std::string value = access ? AccessList({{1, 6}, {2, 4, 2005}, {4, 6}, {16, 6}, {32, 4}})
                                             : AccessList({{1, 7}, {2, 7, 2005}, {4, 5}, {16, 7}, {32, 5}});
            listed = setxattr(path.c_str(), access ? kAccessListName : kDefaultListName, value.data(), value.size(),
                              0) == 0 &&
                listed;
        }
    }
    return listed;
}

// The permission bits in octal, set-id and sticky bits first ("0755").
inline std::string Octal(mode_t mode)
{
    return std::to_string((mode >> 9 & 7) * 1000 + (mode >> 6 & 7) * 100 + (mode >> 3 & 7) * 10 + (mode & 7));
}

// What a long file holds: "*N" for N bytes "x", "^N" for a file of N bytes made as "a=^N" that
// keeps its holes, else "?N".
inline std::string LongText(const std::string& path, const std::string& text)
{
    const size_t size = text.size();
    if (text == std::string(size, 'x'))
        return "*" + std::to_string(size);
    std::string sparse(size, '\0');
    sparse[size / 2] = 'x';
    return (text == sparse && HasHoles(path) ? "^" : "?") + std::to_string(size);
}

inline void ReadTree(const fs::path& root, const fs::path& folder, std::set<std::string>& out, bool owners)
{
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().lexically_relative(root).string();
        struct stat st;
        if (lstat(entry.path().c_str(), &st) != 0)
            continue;
        const std::string mode = "@" + Octal(st.st_mode) +
            (owners ? ":" + std::to_string(st.st_uid) + "." + std::to_string(st.st_gid) : "") +
            ShownLists(entry.path());
        std::string text = S_ISREG(st.st_mode) ? TempFolder::Read(entry.path()) : "";
        if (entry.path().extension() == ".trashinfo")
            text = text.substr(0, text.find('\n'));
        if (text.size() > 64)
            text = LongText(entry.path(), text);
        if (S_ISDIR(st.st_mode))
            out.insert(name + "/" + mode);
        else if (S_ISLNK(st.st_mode))
            out.insert(name + "->" + fs::read_symlink(entry.path(), ec).string() +
                       (owners ? ":" + std::to_string(st.st_uid) + "." + std::to_string(st.st_gid) : ""));
        else
            out.insert(name +
                       (S_ISREG(st.st_mode)
                            ? "=" + text + mode + (st.st_nlink > 1 ? "~" + std::to_string(st.st_nlink) : "")
                            : S_ISFIFO(st.st_mode) ? "|"
                            : S_ISSOCK(st.st_mode) ? "%"
                                                   : "!"));
        if (S_ISDIR(st.st_mode))
            ReadTree(root, entry.path(), out, owners);
    }
}

inline std::string Tree(const std::string& root, bool owners = false)
{
    std::set<std::string> entries;
    ReadTree(root, root, entries, owners);
    std::string tree;
    for (const std::string& e : entries)
        tree += (tree.empty() ? "" : " ") + e;
    return tree;
}

}  // namespace filetrees
