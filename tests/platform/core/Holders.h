#pragma once
// Another program at work beside a case: a child process that takes something (a save's lock, an
// open file) and keeps it until the case lets it go; where a file's lock lives; and a saver that
// adds one to a counter under the lock.

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/core/AtomicFile.h"

class TChildHolding {
public:
    // The child first becomes what the case needs, then takes what it holds, then, once the case
    // goes on, does what it does `meanwhile`: what `take` takes must outlive it (made with new;
    // the child ends without freeing anything).
    TChildHolding(const std::function<bool()>& become, const std::function<bool()>& take,
                  const std::function<void()>& meanwhile = {})
    {
        int ready[2], release[2];
        if (pipe(ready) != 0)
            return;
        if (pipe(release) != 0) {
            close(ready[0]);
            close(ready[1]);
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            close(release[1]);
            const char answer = become() && take() ? '1' : '0';
            (void)!write(ready[1], &answer, 1);
            if (answer == '1' && meanwhile)
                meanwhile();
            // Held until the case closes its end.
            char byte;
            while (read(release[0], &byte, 1) < 0 && errno == EINTR) {}
            _exit(0);
        }
        close(ready[1]);
        close(release[0]);
        release_ = release[1];
        char answer = '0';
        while (pid_ > 0 && read(ready[0], &answer, 1) < 0 && errno == EINTR) {}
        close(ready[0]);
        ready_ = pid_ > 0 && answer == '1';
    }
    explicit TChildHolding(const std::function<bool()>& take) : TChildHolding([] { return true; }, take) {}
    ~TChildHolding() { Release(); }
    TChildHolding(const TChildHolding&) = delete;
    TChildHolding& operator=(const TChildHolding&) = delete;

    // Whether the child took what it was to hold.
    bool Ready() const { return ready_; }
    // Lets the child go and waits for its end.
    void Release()
    {
        if (release_ >= 0)
            close(release_);
        release_ = -1;
        if (pid_ > 0)
            waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool ready_ = false;
};

// Another patience for the update lock while a case runs, the usual one restored after.
class TPatience {
public:
    explicit TPatience(std::chrono::milliseconds patience) { SetLockPatience(patience); }
    ~TPatience() { SetLockPatience(kLockPatience); }
    TPatience(const TPatience&) = delete;
    TPatience& operator=(const TPatience&) = delete;
};

// Takes the update lock of the file and keeps it: a `take` for TChildHolding.
inline bool HoldLock(const std::string& path) { return (new TFileUpdateLock(path))->Held(); }

// The name of the lock file of a file, found while a lock of it is held.
inline std::string LockNameOf(const std::string& folder, const std::string& file)
{
    const TFileUpdateLock lock(folder + "/" + file);
    for (auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().starts_with(".~hanmud-lock-"))
            return entry.path().filename().string();
    return "";
}

// Adds one to the counter in the file (none: 0), read and written under its lock; false where the
// lock was not held or the save failed, told on the error stream. `flush` as the writer's option.
inline bool AddOne(const std::string& path, bool flush = true)
{
    const TFileUpdateLock lock(path);
    std::string count;
    if (!lock.Held() || !lock.Read(count)) {
        std::fprintf(stderr, "not held or not read: \"%s\"\n", lock.Message().c_str());
        return false;
    }
    TAtomicWriteOptions options;
    options.Flush = flush;
    TAtomicFileWriter writer(lock, options);
    writer.Write(std::to_string((count.empty() ? 0 : std::stoi(count)) + 1));
    const TWriteResult saved = writer.Commit();
    if (!saved)
        std::fprintf(stderr, "not saved: \"%s\"\n", saved.Message.c_str());
    return saved.Ok;
}
