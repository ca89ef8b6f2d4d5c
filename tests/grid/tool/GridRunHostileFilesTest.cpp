// Hostile files through gridrun, as a user's load, append or export meets them: files that cannot
// be read, pipes and folders in place of a file, a file past the readers' bound (sparse, never
// read), a CSV whose cells pass the grid's limit and a grid file whose few cells stand far
// apart. Memory is gridrun's peak resident size, with generous bounds; no case is timed.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QTemporaryDir>

#include <filesystem>

#include "tests/grid/tool/GridRunSupport.h"

namespace {

struct TMeasuredRun {
    std::string Out;
    long PeakKb = 0;
};

// Runs gridrun on the directives in a child process, as the user "nobody" when asked (root
// reads every file), and gives what it printed and its peak resident size.
TMeasuredRun MeasuredGridRun(const std::string& folder, const std::string& directives, bool unprivileged = false)
{
    const std::string script = folder + "/run.grid", out = folder + "/run.out";
    std::ofstream(script, std::ios::binary) << directives;
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        dup2(fd, 1);
        dup2(fd, 2);
        constexpr uid_t kNobody = 65534;
        if (unprivileged && geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(3);
        unsetenv("QT_QPA_PLATFORM");
        setenv("HOME", folder.c_str(), 1);
        const std::string gridrun = std::string(HM_BIN_DIR) + "/gridrun";
        execl(gridrun.c_str(), gridrun.c_str(), script.c_str(), static_cast<char*>(nullptr));
        _exit(4);
    }
    TMeasuredRun run;
    int status = 0;
    rusage usage{};
    EXPECT_EQ(wait4(pid, &status, 0, &usage), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    run.PeakKb = usage.ru_maxrss;
    std::ifstream in(out, std::ios::binary);
    run.Out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return run;
}

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class GridRunHostile : public ::testing::Test {
protected:
    void SetUp() override { chmod(Folder().c_str(), 0777); }
    std::string Folder() const { return dir.path().toStdString(); }
    std::string File(const char* name) const { return Folder() + "/" + name; }
    QTemporaryDir dir;
};

// What stands where an append writes, made by the case.
struct TAppendCase {
    const char* name;
    std::function<void(const std::string& path)> make;
    bool unprivileged;
};
void PrintTo(const TAppendCase& c, std::ostream* os) { *os << c.name; }

class GridRunAppend : public GridRunHostile, public ::testing::WithParamInterface<TAppendCase> {};

}  // namespace

// Fault: an append treated a file it could not read as empty and replaced it by the new rows
// alone, reporting success (a pipe and a device were replaced the same way).
TEST_P(GridRunAppend, RegressionAnAppendRefusesAFileItCannotRead)
{
    const std::string target = File("target");
    GetParam().make(target);
    struct stat before {};
    ASSERT_EQ(lstat(target.c_str(), &before), 0);
    for (const char* op : {"AppendToCSV", "AppendToHTML"}) {
        const TMeasuredRun run = MeasuredGridRun(
            Folder(), "cell 1 1 new\ncall " + std::string(op) + " " + target + "\n", GetParam().unprivileged);
        EXPECT_NE(run.Out.find("error: ECellGridError: Cannot open file " + target + "\n"), std::string::npos)
            << op << ": " << run.Out;
        struct stat after {};
        ASSERT_EQ(lstat(target.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino) << op;
        EXPECT_EQ(after.st_mode, before.st_mode) << op;
    }
    if (S_ISREG(before.st_mode)) {
        EXPECT_EQ(Read(target), "secret\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, GridRunAppend,
    ::testing::Values(TAppendCase{"UnreadableFile",
                                  [](const std::string& path) {
                                      std::ofstream(path, std::ios::binary) << "secret\r\n";
                                      chmod(path.c_str(), 0222);
                                  },
                                  true},
                      TAppendCase{"Fifo", [](const std::string& path) { mkfifo(path.c_str(), 0666); }, false},
                      TAppendCase{"Folder", [](const std::string& path) { mkdir(path.c_str(), 0777); }, false}),
    [](const auto& row) { return std::string(row.param.name); });

// Fault: the readers read a file whole whatever its size (an 8 GB sparse file until bad_alloc).
// Now its size is refused before a byte of it is read.
TEST_F(GridRunHostile, RegressionAnEightGigabyteFileIsRefusedUnread)
{
    const std::string big = File("big.csv");
    std::ofstream(big, std::ios::binary) << "a,b\r\n";
    std::filesystem::resize_file(big, std::uintmax_t{8} << 30);
    const TMeasuredRun run =
        MeasuredGridRun(Folder(),
                        "call LoadFromCSV " + big + "\ncall LoadFromFile " + big + "\ncall LoadFromFixed " + big +
                            " 1,2\ncall AppendToCSV " + big + "\n");
    const std::string refused = "error: ECellGridError: File too large " + big + "\n";
    size_t count = 0;
    for (size_t at = run.Out.find(refused); at != std::string::npos; at = run.Out.find(refused, at + 1))
        ++count;
    EXPECT_EQ(count, 4u) << run.Out;
    EXPECT_EQ(std::filesystem::file_size(big), std::uintmax_t{8} << 30);
    EXPECT_LT(run.PeakKb, 512 * 1024) << "kB";
}

// Fault: a 100 MB CSV of empty fields reached 4.4 GB before the cell limit refused it (every
// field was kept first). Counting keeps nothing now: the peak stays a few times the file's size.
TEST_F(GridRunHostile, RegressionACsvPastTheCellLimitIsRefusedInBoundedMemory)
{
    const std::string csv = File("wide.csv");
    {
        const std::string line = std::string(1000, ',') + "\r\n";
        std::ofstream out(csv, std::ios::binary);
        for (int i = 0; i < 100000; ++i)
            out << line;
    }
    const TMeasuredRun run = MeasuredGridRun(Folder(), "call LoadFromCSV " + csv + "\n? RowCount\n");
    EXPECT_NE(run.Out.find("error: ECellGridError: File contains no data or corrupt file " + csv +
                           "\n"
                           "RowCount = 5\n"),
              std::string::npos)
        << run.Out;
    EXPECT_LT(run.PeakKb, 1024 * 1024) << "kB";
}

// Fault: a 100 KB grid file (header 8000 by 8000, one cell in column 7999 of each row) took
// 2.38 GB, each row stored dense to its widest cell. Rows of few cells far apart keep only them.
TEST_F(GridRunHostile, RegressionAGridFileOfFarApartCellsIsStoredSparse)
{
    const std::string grid = File("far.grd");
    {
        std::ofstream out(grid, std::ios::binary);
        out << "8000,8000\r\n";
        for (int r = 0; r < 8000; ++r)
            out << "7999," << r << ",x\r\n";
    }
    const TMeasuredRun run = MeasuredGridRun(
        Folder(), "set SaveIncludesFixed true\ncall LoadFromFile " + grid + "\n? Cells 7999 7998\n? Cells 7998 7998\n");
    EXPECT_NE(run.Out.find("Cells 7999 7998 = x\nCells 7998 7998 = \n"), std::string::npos) << run.Out;
    EXPECT_LT(run.PeakKb, 512 * 1024) << "kB";
}
