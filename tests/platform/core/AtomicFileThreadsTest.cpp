// Saves from several threads of one process are as safe as saves from several processes: eight
// threads save at once into folders of their own, a new one at every save, and add to one counter
// under its lock. The clean-up's table of the folders it swept was shared unguarded: they crashed.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Holders.h"
#include "TempFolder.h"
#include "helper/InTime.h"
#include "platform/core/AtomicFile.h"

namespace {

constexpr int kThreads = 8;

// One thread's saves; false at the first that failed.
struct TThreadCase {
    const char* name;
    int savesEach;
    std::function<bool(const std::string& folder, int thread, int save)> save;
    // What the folder holds once every thread is done; true where it is right.
    std::function<bool(const std::string& folder)> check;
    friend void PrintTo(const TThreadCase& row, std::ostream* out) { *out << row.name; }
};

class RegressionSavesFromEightThreadsCrashed : public ::testing::TestWithParam<TThreadCase> {};

TEST_P(RegressionSavesFromEightThreadsCrashed, EverySaveIsKept)
{
    const TThreadCase& c = GetParam();
    TempFolder folder;
    // In a child, where a crash or a hang fails the case.
    EXPECT_EQ(AnswerInTime(120,
                           [&] {
                               std::atomic<int> failures = 0;
                               std::vector<std::thread> threads;
                               for (int thread = 0; thread < kThreads; ++thread)
                                   threads.emplace_back([&, thread] {
                                       for (int save = 0; save < c.savesEach; ++save)
                                           if (!c.save(folder.Path(), thread, save)) {
                                               ++failures;
                                               return;
                                           }
                                   });
                               for (std::thread& thread : threads)
                                   thread.join();
                               return failures == 0 && c.check(folder.Path());
                           }),
              "true");
}

std::string OwnFolder(const std::string& folder, int thread, int save)
{
    return folder + "/t" + std::to_string(thread) + "s" + std::to_string(save);
}

const TThreadCase kThreadCases[] = {
    // Many more folders in all than the clean-up keeps in its table: it forgets some meanwhile.
    {"IntoFoldersOfTheirOwn", 300,
     [](const std::string& folder, int thread, int save) {
         const std::string own = OwnFolder(folder, thread, save);
         if (mkdir(own.c_str(), 0700) != 0)
             return false;
         TAtomicWriteOptions unflushed;
         unflushed.Flush = false;
         TAtomicFileWriter writer(own + "/x", unflushed);
         return writer.Write(own) && writer.Commit().Ok && TempFolder::Read(own + "/x") == own;
     },
     [](const std::string& folder) { return NamesIn(folder).size() == kThreads * 300; }},
    {"OneCounterUnderItsLock", 100,
     [](const std::string& folder, int, int) { return AddOne(folder + "/counter", false); },
     [](const std::string& folder) { return TempFolder::Read(folder + "/counter") == std::to_string(kThreads * 100); }},
};
INSTANTIATE_TEST_SUITE_P(Saves, RegressionSavesFromEightThreadsCrashed, ::testing::ValuesIn(kThreadCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
