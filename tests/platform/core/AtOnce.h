#pragma once
// Runs one body in several child processes released together, so that what they do to shared
// files overlaps as much as it can: the body of child i gets i and says whether all it did
// succeeded.

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <functional>
#include <vector>

// The number of children whose body failed, raised or did not end normally.
inline int FailuresAtOnce(int children, const std::function<bool(int child)>& body)
{
    int gate[2];
    if (pipe(gate) != 0)
        return children;
    std::vector<pid_t> pids;
    for (int i = 0; i < children; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            close(gate[1]);
            char byte;
            // Every child waits here until the parent closes its end: they start as one.
            while (read(gate[0], &byte, 1) < 0 && errno == EINTR) {}
            bool ok = false;
            try {
                ok = body(i);
            } catch (const std::exception&) {
                ok = false;
            }
            _exit(ok ? 0 : 1);
        }
        if (pid > 0)
            pids.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);
    int failures = children - static_cast<int>(pids.size());
    for (pid_t pid : pids) {
        int status = 0;
        if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            ++failures;
    }
    return failures;
}
