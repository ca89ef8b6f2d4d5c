#pragma once
// Runs a body that might hang in a child process with a watchdog, so that a hang fails its case
// instead of stopping the suite.

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>

// "true" or "false", the body's answer, or how the child ended otherwise ("killed by signal 14"
// when the watchdog ended it after the seconds given).
inline std::string AnswerInTime(unsigned seconds, const std::function<bool()>& body)
{
    const pid_t pid = fork();
    if (pid < 0)
        return "no child";
    if (pid == 0) {
        alarm(seconds);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return "lost the child";
    if (WIFSIGNALED(status))
        return "killed by signal " + std::to_string(WTERMSIG(status));
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "true" : "false";
}
