#pragma once
// Runs a check where a file made unreadable (mode 0) really cannot be read: in a child process
// that gives up root first, as root reads every file. The folder is opened to that user.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

// The body's answer, from a child process running as "nobody" when the tests run as root;
// false when the child could not start or change its user.
inline bool RunUnprivileged(const std::string& folder, const std::function<bool()>& body)
{
    if (chmod(folder.c_str(), 0777) != 0)
        return false;
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        constexpr uid_t kNobody = 65534;
        if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(3);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
