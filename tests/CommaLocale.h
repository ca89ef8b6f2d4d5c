#pragma once
// A locale that writes a comma before decimals, as a German desktop has it, made for the test:
// localedef compiles de_DE in UTF-8 into a folder under $TMPDIR once per run, and LOCPATH
// points the C library there. Tests of numbers read and written as text run their
// tables under "C" and under this locale and compare. A locale that cannot be made fails the
// test, it never skips.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "tests/TempName.h"

extern char** environ;

constexpr const char* kCommaLocale = "de_DE.UTF-8";

// Runs localedef to compile de_DE in UTF-8 into FOLDER; "" when it did, else what went wrong.
inline std::string CompileCommaLocale(const std::string& folder)
{
    const std::string target = folder + "/" + kCommaLocale;
    const char* argv[] = {"localedef", "-i", "de_DE", "-f", "UTF-8", target.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "localedef", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
        return "localedef does not start (scripts/setup.sh installs the locales package)";
    int status = 0;
    // localedef exits with 1 for warnings alone; the caller's check says whether it made one.
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return "localedef could not make de_DE (scripts/setup.sh installs the locales package)";
    return "";
}

// The run's compiled locale, shared by every test program of the run: each case runs in a
// process of its own, and compiling the locale costs seconds of CPU each time. The folder is
// this user's own ("$TMPDIR/hm-comma-locale-UID", mode 0700, put in place whole by a rename), so
// runs beside each other meet at most in a finished copy; "" where no such folder can be had.
inline std::string SharedCommaLocaleFolder()
{
    const std::string shared =
        (std::filesystem::temp_directory_path() / ("hm-comma-locale-" + std::to_string(getuid()))).string();
    const auto usable = [&shared] {
        struct stat st {};
        return lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
            (st.st_mode & 077) == 0 && access((shared + "/" + kCommaLocale).c_str(), R_OK) == 0;
    };
    if (usable())
        return shared;
    // The programs that start together wait for the first to compile it, rather than each
    // compiling a copy of its own.
    const int lock = open((shared + ".lock").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    struct stat lockStat {};
    if (lock < 0 || fstat(lock, &lockStat) != 0 || lockStat.st_uid != getuid() || flock(lock, LOCK_EX) != 0) {
        if (lock >= 0)
            close(lock);
        return "";
    }
    struct TUnlock {
        int fd;
        ~TUnlock() { close(fd); }
    } unlock{lock};
    if (usable())
        return shared;
    std::string building = TempPattern("hm-comma-locale-build");
    if (!mkdtemp(building.data()))
        return "";
    if (CompileCommaLocale(building).empty() && rename(building.c_str(), shared.c_str()) == 0)
        return shared;
    std::error_code ignored;
    std::filesystem::remove_all(building, ignored);  // another program of the run was first
    return usable() ? shared : "";
}

// Makes the comma locale once; "" when it could be made (LOCPATH then names its folder), else
// what went wrong.
inline std::string MakeCommaLocale()
{
    static TScratchFolder own("comma-locale");
    static const std::string failure = []() -> std::string {
        std::string folder = SharedCommaLocaleFolder();
        if (folder.empty()) {
            // Someone else's folder at the shared name: a private copy for this program.
            if (own.Path().empty())
                return "no folder for the locale under $TMPDIR";
            if (std::string why = CompileCommaLocale(own.Path()); !why.empty())
                return why;
            folder = own.Path();
        }
        setenv("LOCPATH", folder.c_str(), 1);
        const char* before = std::setlocale(LC_ALL, nullptr);
        const std::string saved = before ? before : "C";
        const bool made = std::setlocale(LC_ALL, kCommaLocale) != nullptr;
        const bool comma = made && std::string(std::localeconv()->decimal_point) == ",";
        std::setlocale(LC_ALL, saved.c_str());
        if (!made)
            return "the locale made under " + folder + " does not load";
        return comma ? "" : "the locale made does not write a comma before decimals";
    }();
    return failure;
}

// While it lives the process's LC_ALL (so LC_NUMERIC too) is the comma locale; "C" after.
class TCommaLocaleScope {
public:
    TCommaLocaleScope() { std::setlocale(LC_ALL, kCommaLocale); }
    ~TCommaLocaleScope() { std::setlocale(LC_ALL, "C"); }
    TCommaLocaleScope(const TCommaLocaleScope&) = delete;
    TCommaLocaleScope& operator=(const TCommaLocaleScope&) = delete;
};

// Makes the comma locale (or fails the test) and checks that it misleads the C library, so that
// a case passing under it means something. For a fixture's SetUp.
inline void RequireCommaLocale()
{
    const std::string failure = MakeCommaLocale();
    ASSERT_EQ(failure, "");
    TCommaLocaleScope comma;
    ASSERT_EQ(std::strtod("1.5", nullptr), 1.0) << "strtod still reads a point: the cases would prove nothing";
}

// fn's result under "C", then under the comma locale.
template <class F>
auto InBothLocales(F fn) -> std::pair<decltype(fn()), decltype(fn())>
{
    std::setlocale(LC_ALL, "C");
    auto c = fn();
    TCommaLocaleScope comma;
    return {std::move(c), fn()};
}

// Expects fn to give `want` under "C", and the same under the comma locale; `row` names the case
// in a failure.
template <class F, class W>
void ExpectInBothLocales(const std::string& row, F fn, const W& want)
{
    const auto [inC, inComma] = InBothLocales(fn);
    EXPECT_EQ(inC, want) << row << " under C";
    EXPECT_EQ(inComma, inC) << row << " under " << kCommaLocale;
}

// The fixture of tests that need nothing else.
class CommaLocaleTest : public ::testing::Test {
protected:
    void SetUp() override { RequireCommaLocale(); }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};
