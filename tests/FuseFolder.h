#pragma once
// A folder served by a file system in user space, as network and remote folders are: bindfs shows
// a folder of the case's at a second place, through FUSE, in a process of its own that the case
// starts and stops by its process id. Such file systems make no file without a name, rename
// nothing without replacing, and keep a file removed while open under a hidden name.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

class TFuseFolder {
public:
    // Shows `source` at `mountPoint`, both folders that exist; `options` go to bindfs as given (for
    // example "--xattr-none"). Other users reach it only where root mounts it.
    TFuseFolder(const std::string& source, const std::string& mountPoint, std::vector<std::string> options = {})
        : mountPoint_(mountPoint)
    {
        if (access("/dev/fuse", R_OK | W_OK) != 0) {
            failure_ = std::string("/dev/fuse cannot be opened: ") + std::strerror(errno);
            return;
        }
        struct stat before;
        if (stat(mountPoint.c_str(), &before) != 0) {
            failure_ = mountPoint + ": " + std::strerror(errno);
            return;
        }
        options.insert(options.begin(), {"bindfs", "-f"});
        if (geteuid() != 0)
            options.push_back("--no-allow-other");
        options.push_back(source);
        options.push_back(mountPoint);
        pid_ = fork();
        if (pid_ == 0) {
            std::vector<char*> argv;
            for (std::string& option : options)
                argv.push_back(option.data());
            argv.push_back(nullptr);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            execvp("bindfs", argv.data());
            _exit(127);
        }
        // Mounted once the mount point is another file system than it was.
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (struct stat now; std::chrono::steady_clock::now() < end;) {
            if (stat(mountPoint.c_str(), &now) == 0 && now.st_dev != before.st_dev)
                return;
            if (int status; waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                failure_ = WIFEXITED(status) && WEXITSTATUS(status) == 127
                    ? "bindfs is not installed (scripts/setup.sh installs it)"
                    : "bindfs could not mount " + mountPoint + " (exit " + std::to_string(WEXITSTATUS(status)) + ")";
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        failure_ = "bindfs did not mount " + mountPoint + " within 10 seconds";
        Stop();
    }
    ~TFuseFolder() { Stop(); }
    TFuseFolder(const TFuseFolder&) = delete;
    TFuseFolder& operator=(const TFuseFolder&) = delete;

    // Why the folder is not served, empty when it is.
    const std::string& Failure() const { return failure_; }
    // Whether a failure is bindfs missing, which the set-up installs: never a reason to skip.
    bool NotInstalled() const { return failure_.find("not installed") != std::string::npos; }

private:
    void Stop()
    {
        if (pid_ <= 0)
            return;
        // Unmounted lazily, so that a file a case left open cannot keep it; then the server is
        // told to end and, past a while, made to.
        if (const pid_t unmount = fork(); unmount == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDERR_FILENO);
            execlp("fusermount", "fusermount", "-u", "-z", mountPoint_.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        } else if (unmount > 0) {
            waitpid(unmount, nullptr, 0);
        }
        kill(pid_, SIGTERM);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        int status;
        while (waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > end) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        pid_ = -1;
    }

    std::string mountPoint_;
    std::string failure_;
    pid_t pid_ = -1;
};
