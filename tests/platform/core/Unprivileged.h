#pragma once
// Children without some of root's rights, or as another user. Checks where a file made
// unreadable (mode 0) really cannot be read: root reads every file through two capabilities; a
// child process gives them up and keeps its user, so it still reaches every folder the test can
// (a clone in a 0700 folder, a private TMPDIR). A user other than root has nothing to give up.

#include <grp.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

// Gives up, for this process and what it runs, the rights given (bits 1 << CAP_...). True when
// none of them is held afterwards.
inline bool GiveUpRights(uint64_t rights)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    for (int half = 0; half < 2; ++half) {
        const auto bits = static_cast<uint32_t>(rights >> (32 * half));
        data[half].effective &= ~bits;
        data[half].permitted &= ~bits;
        data[half].inheritable &= ~bits;
    }
    if (syscall(SYS_capset, &header, data) != 0)
        return false;
    // A program it runs gains nothing either: root's programs start with every permitted right
    // unless new rights are shut off.
    for (int right = 0; right < 64; ++right)
        if (rights & (uint64_t{1} << right))
            prctl(PR_CAPBSET_DROP, right, 0, 0, 0);
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return false;
    __user_cap_data_struct now[2]{};
    if (syscall(SYS_capget, &header, now) != 0)
        return false;
    for (int half = 0; half < 2; ++half) {
        const auto bits = static_cast<uint32_t>(rights >> (32 * half));
        if ((now[half].effective & bits) != 0 || (now[half].permitted & bits) != 0)
            return false;
    }
    return true;
}

// Gives up the rights to read and search any file whatever its mode.
inline bool GiveUpReadingEveryFile()
{
    return GiveUpRights((uint64_t{1} << CAP_DAC_OVERRIDE) | (uint64_t{1} << CAP_DAC_READ_SEARCH));
}

// The body's answer, from a child process that first becomes what the case needs (`become`
// answers whether it could); false when the child could not start or become it.
inline bool AnswerInChild(const std::function<bool()>& become, const std::function<bool()>& body)
{
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0)
        _exit(!become() ? 3 : body() ? 0 : 1);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The body's answer, from a child process without the rights to read every file; false when the
// child could not start or give them up.
inline bool RunUnprivileged(const std::function<bool()>& body) { return AnswerInChild(GiveUpReadingEveryFile, body); }

// Makes this process another user with the groups given (the first its own), keeping only the
// right to search and read every folder, so that it reaches the test's folder wherever the run
// keeps it; writing stays as that user may. Needs root; false when it cannot.
inline bool BecomeUser(uid_t uid, const std::vector<gid_t>& groups)
{
    if (setgroups(groups.size(), groups.data()) != 0 || setgid(groups[0]) != 0 ||
        prctl(PR_SET_KEEPCAPS, 1, 0, 0, 0) != 0 || setuid(uid) != 0)
        return false;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    data[0].effective = data[0].permitted = uint32_t{1} << CAP_DAC_READ_SEARCH;
    return syscall(SYS_capset, &header, data) == 0;
}

// The body's answer, from a child process that is another user (see BecomeUser).
inline bool AnswerAs(uid_t uid, const std::vector<gid_t>& groups, const std::function<bool()>& body)
{
    return AnswerInChild([&] { return BecomeUser(uid, groups); }, body);
}

// The bytes of a file the test made unreadable, read with its owner's read right given back
// for the moment and taken away again; for any user, root or not.
inline std::string ReadUnreadable(const std::string& path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return "(not a file)";
    chmod(path.c_str(), (st.st_mode & 07777) | S_IRUSR);
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    chmod(path.c_str(), st.st_mode & 07777);
    return bytes;
}

// The body's answer from a child that is another user (see BecomeUser) working in `folder`: it
// reaches the folder with root's right to search every folder, wherever the run keeps it, then
// gives that right up, so that the body (its paths relative to the folder) opens files only as
// the user may.
inline bool AnswerAsUserIn(uid_t uid, const std::vector<gid_t>& groups, const std::string& folder,
                           const std::function<bool()>& body)
{
    return AnswerAs(uid, groups, [&] { return chdir(folder.c_str()) == 0 && GiveUpReadingEveryFile() && body(); });
}
