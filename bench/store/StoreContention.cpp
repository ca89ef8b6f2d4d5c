#include "StoreContention.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/core/AtomicFile.h"
#include "tests/FuseFolder.h"

namespace {

constexpr int kWriters = 8, kEach = 100;
constexpr uid_t kFirst = 40001, kSecond = 40002;
constexpr gid_t kShared = 40009;

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// Adds one to the counter under its lock; the wait for the lock in `waited` (ms), false where the
// update was not made.
bool AddOne(const std::string& counter, double& waited)
{
    const Clock::time_point start = Clock::now();
    const TFileUpdateLock lock(counter);
    waited = MsSince(start);
    std::string count;
    if (!lock.Held() || !lock.Read(count))
        return false;
    return AtomicWriteFile(lock, std::to_string((count.empty() ? 0 : std::stoi(count)) + 1)).Ok;
}

// Runs the writers, each in a process of its own in `folder` (reached before it becomes its user,
// wherever the bench's folder is), as `users` give; the longest wait any had (ms).
double Writers(const std::string& folder, const std::vector<uid_t>& users)
{
    int longest[2];
    if (pipe(longest) != 0)
        return -1;
    std::vector<pid_t> pids;
    for (const uid_t user : users) {
        const pid_t pid = fork();
        if (pid == 0) {
            const gid_t groups[] = {user, kShared};
            if (chdir(folder.c_str()) != 0 ||
                (user != 0 && (setgroups(2, groups) != 0 || setgid(user) != 0 || setuid(user) != 0)))
                _exit(1);
            double most = 0;
            for (int i = 0; i < kEach; ++i) {
                double waited = 0;
                if (!AddOne("counter", waited))
                    std::fprintf(stderr, "bench_store: an update was refused\n");
                most = std::max(most, waited);
            }
            (void)!write(longest[1], &most, sizeof most);
            _exit(0);
        }
        pids.push_back(pid);
    }
    close(longest[1]);
    double most = 0;
    for (double one; read(longest[0], &one, sizeof one) == sizeof one;)
        most = std::max(most, one);
    close(longest[0]);
    for (const pid_t pid : pids)
        waitpid(pid, nullptr, 0);
    return most;
}

int Count(const std::string& counter)
{
    std::ifstream in(counter, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return text.empty() ? 0 : std::stoi(text);
}

}  // namespace

void SaversAtOnce(const std::string& folder)
{
    const std::string shared = folder + "/shared", counter = shared + "/counter";
    std::filesystem::create_directories(shared);
    const bool twoUsers =
        geteuid() == 0 && chown(shared.c_str(), kFirst, kShared) == 0 && chmod(shared.c_str(), 02775) == 0;
    std::vector<uid_t> users(kWriters, twoUsers ? kFirst : 0);
    for (size_t i = kWriters / 2; twoUsers && i < users.size(); ++i)
        users[i] = kSecond;

    // A counter both users may write, as a file shared in a group is.
    const auto fresh = [&] {
        std::ofstream(counter, std::ios::binary) << "0";
        if (twoUsers && (chown(counter.c_str(), kFirst, kShared) != 0 || chmod(counter.c_str(), 0664) != 0))
            std::fprintf(stderr, "bench_store: cannot share %s\n", counter.c_str());
    };
    fresh();
    Clock::time_point start = Clock::now();
    const double longest = Writers(shared, users);
    const double together = MsSince(start);
    const int kept = Count(counter);

    fresh();
    start = Clock::now();
    for (int writer = 0; writer < kWriters; ++writer)
        Writers(shared, {users[0]});
    const double alone = MsSince(start);

    std::printf("METRIC savers_at_once_users %d\n", twoUsers ? 2 : 1);
    std::printf("METRIC savers_at_once_updates_kept %d\n", kept);
    std::printf("METRIC savers_at_once_updates_made %d\n", kWriters * kEach);
    std::printf("METRIC savers_at_once_ms %.6g\n", together);
    std::printf("METRIC savers_at_once_peer_one_writer_ms %.6g\n", alone);
    std::printf("METRIC savers_at_once_longest_wait_ms %.6g\n", longest);
    std::printf("METRIC savers_at_once_patience_ms %lld\n", static_cast<long long>(kLockPatience.count()));
}

void SaversOnAFuseFolder(const std::string& folder)
{
    const std::string source = folder + "/fuse-source", served = folder + "/fuse";
    std::filesystem::create_directories(source);
    std::filesystem::create_directories(served);
    const TFuseFolder fuse(source, served);
    if (!fuse.Failure().empty()) {
        std::fprintf(stderr, "bench_store: no FUSE folder: %s\n", fuse.Failure().c_str());
        std::printf("METRIC fuse_savers_available 0\n");
        return;
    }
    const std::vector<uid_t> four(4, 0);
    const auto timed = [&](const std::string& where, int& kept) {
        std::ofstream(where + "/counter", std::ios::binary) << "0";
        const Clock::time_point start = Clock::now();
        Writers(where, four);
        const double ms = MsSince(start);
        kept = Count(where + "/counter");
        return ms;
    };
    int kept = 0, keptOnDisk = 0;
    const double onFuse = timed(served, kept), onDisk = timed(source, keptOnDisk);
    std::printf("METRIC fuse_savers_available 1\n");
    std::printf("METRIC fuse_savers_updates_kept %d\n", kept);
    std::printf("METRIC fuse_savers_updates_made %d\n", static_cast<int>(four.size()) * kEach);
    std::printf("METRIC fuse_savers_ms %.6g\n", onFuse);
    std::printf("METRIC fuse_savers_peer_disk_ms %.6g\n", onDisk);
}
