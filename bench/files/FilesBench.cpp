// The file operator copying a folder of small files (1,000 and 10,000 of 100 bytes), beside
// cp -a of the same tree and cp -a followed by a sync of the file system, each into a fresh
// folder in the same run; then a folder's files deleted one listed name at a time, beside
// unlinking them; then CopyFile of a sparse file (2 GiB holding 4 KiB), with the disk its copy
// takes, and the operator's copy of a 10,000-deep tree with a FIFO at every level (each refused),
// each beside cp -a of the same; then the operator's copy of two deep chains of folders whose ends
// hold names of the same files, beside the same chains of files of their own. Prints METRIC
// lines, each the median of three runs. "bench_files quick" runs the smaller sizes only.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "controls/core/FileUtil.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/StoredPath.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 3;

double Ms(std::chrono::steady_clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void MakeFiles(const std::string& folder, int count)
{
    fs::create_directories(folder);
    const std::string data(100, 'x');
    for (int i = 0; i < count; ++i)
        std::ofstream(folder + "/file" + std::to_string(i) + ".txt", std::ios::binary) << data;
}

// The command's time; its exit status in `status` when asked for, else a failure is told.
double Timed(const std::string& command, int* status = nullptr)
{
    const auto start = std::chrono::steady_clock::now();
    const int code = std::system(command.c_str());
    if (status)
        *status = WIFEXITED(code) ? WEXITSTATUS(code) : -1;
    else if (code != 0)
        std::fprintf(stderr, "failed: %s\n", command.c_str());
    return Ms(start);
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// The operator's copy of `source` to `dest`, silent, in milliseconds; `ok` tells whether it
// succeeded.
double OperatorCopyMs(const std::string& source, const std::string& dest, bool& ok)
{
    TExFileOperator op(nullptr);
    op.Options = FileOperFlag(flNoConfirmation) | FileOperFlag(flSilent) | FileOperFlag(flNoErrorUI);
    op.Source = StoredPath(source);
    op.Destination = StoredPath(dest);
    const auto start = std::chrono::steady_clock::now();
    ok = op.Execute();
    return Ms(start);
}

void CopyFigures(const std::string& root, int count)
{
    const std::string source = root + "/src" + std::to_string(count);
    MakeFiles(source, count);
    std::vector<double> ours, cp, cpSync;
    for (int run = 0; run < kRuns; ++run) {
        const std::string mine = root + "/ours", theirs = root + "/cp";
        bool ok = false;
        ours.push_back(OperatorCopyMs(source, mine, ok));
        if (!ok)
            std::fprintf(stderr, "the operator's copy failed\n");
        cp.push_back(Timed("cp -a " + Quoted(source) + " " + Quoted(theirs)));
        fs::remove_all(theirs);
        cpSync.push_back(Timed("cp -a " + Quoted(source) + " " + Quoted(theirs) + " && sync -f " + Quoted(theirs)));
        fs::remove_all(theirs);
        fs::remove_all(mine);
    }
    const std::string n = std::to_string(count);
    std::printf("METRIC files_operator_copy_%s_ms %.6g\n", n.c_str(), Median(ours));
    std::printf("METRIC files_cp_a_%s_ms %.6g\n", n.c_str(), Median(cp));
    std::printf("METRIC files_cp_a_sync_%s_ms %.6g\n", n.c_str(), Median(cpSync));
    fs::remove_all(source);
}

void DeleteFigures(const std::string& root, int count)
{
    std::vector<double> ours, plain;
    const std::string folder = root + "/del";
    for (int run = 0; run < kRuns; ++run) {
        MakeFiles(folder, count);
        std::vector<TSearchRec> listed;
        FindFiles(StoredPath(folder) + "\\*", listed);
        auto start = std::chrono::steady_clock::now();
        for (const TSearchRec& rec : listed)
            DeleteFiles(StoredPath(folder) + "\\" + rec.Name);
        ours.push_back(Ms(start));
        MakeFiles(folder, count);
        start = std::chrono::steady_clock::now();
        for (const auto& entry : fs::directory_iterator(folder))
            fs::remove(entry.path());
        plain.push_back(Ms(start));
    }
    fs::remove_all(folder);
    const std::string n = std::to_string(count);
    std::printf("METRIC files_delete_listed_%s_ms %.6g\n", n.c_str(), Median(ours));
    std::printf("METRIC files_unlink_listed_%s_ms %.6g\n", n.c_str(), Median(plain));
}

// KiB of disk the file takes.
double DiskKiB(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<double>(st.st_blocks) / 2 : -1;
}

void SparseFigures(const std::string& root, off_t size)
{
    const std::string source = root + "/sparse", mine = root + "/sparse-ours", theirs = root + "/sparse-cp";
    const int fd = open(source.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const std::string data(4096, 'x');
    if (fd < 0 || ftruncate(fd, size) != 0 || pwrite(fd, data.data(), data.size(), size / 2) < 0)
        std::fprintf(stderr, "the sparse file was not made\n");
    close(fd);
    std::vector<double> ours, cp;
    double oursKiB = 0, cpKiB = 0;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        CopyFile(StoredPath(source), StoredPath(mine));
        ours.push_back(Ms(start));
        oursKiB = DiskKiB(mine);
        cp.push_back(Timed("cp -a " + Quoted(source) + " " + Quoted(theirs)));
        cpKiB = DiskKiB(theirs);
        fs::remove(mine);
        fs::remove(theirs);
    }
    fs::remove(source);
    const std::string n = std::to_string(size >> 20) + "m";
    std::printf("METRIC files_copyfile_sparse_%s_ms %.6g\n", n.c_str(), Median(ours));
    std::printf("METRIC files_cp_a_sparse_%s_ms %.6g\n", n.c_str(), Median(cp));
    std::printf("METRIC files_copyfile_sparse_%s_disk_kib %.6g\n", n.c_str(), oursKiB);
    std::printf("METRIC files_cp_a_sparse_%s_disk_kib %.6g\n", n.c_str(), cpKiB);
}

// Nested folders "d", with a FIFO "pipe" beside each: made through descriptors, as no path
// reaches that far.
void MakeDeepTreeOfFifos(const std::string& root, int depth)
{
    fs::create_directories(root);
    int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < depth && fd >= 0; ++i) {
        mkfifoat(fd, "pipe", 0644);
        mkdirat(fd, "d", 0755);
        const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
        close(fd);
        fd = next;
    }
    if (fd >= 0)
        close(fd);
}

void DeepFailureFigures(const std::string& root, int depth)
{
    const std::string source = root + "/deep", mine = root + "/deep-ours", theirs = root + "/deep-cp";
    MakeDeepTreeOfFifos(source, depth);
    std::vector<double> ours, cp;
    int cpStatus = 0;
    for (int run = 0; run < kRuns; ++run) {
        bool ok = false;
        ours.push_back(OperatorCopyMs(source, mine, ok));
        if (ok)
            std::fprintf(stderr, "the operator copied FIFOs it should refuse\n");
        // cp makes the FIFOs, and refuses what lies past the longest path (its messages left out).
        cp.push_back(Timed("cp -a " + Quoted(source) + " " + Quoted(theirs) + " 2>/dev/null", &cpStatus));
        ClearDir(StoredPath(mine), true);
        ClearDir(StoredPath(theirs), true);
    }
    ClearDir(StoredPath(source), true);
    const std::string n = std::to_string(depth);
    std::printf("METRIC files_operator_copy_deep_failures_%s_ms %.6g\n", n.c_str(), Median(ours));
    std::printf("METRIC files_cp_a_deep_fifos_%s_ms %.6g\n", n.c_str(), Median(cp));
    std::printf("METRIC files_cp_a_deep_fifos_%s_exit_status %d\n", n.c_str(), cpStatus);
}

// Two chains of folders "a" and "b", each `depth` deep, with `files` empty files at the end of
// the first and, at the end of the second, other names of the same files (`linked`) or files of
// their own.
void MakeTwoChains(const std::string& root, int depth, int files, bool linked)
{
    fs::create_directories(root);
    std::vector<int> ends;
    for (const char* name : {"a", "b"}) {
        int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY);
        for (int i = 0; i < depth && fd >= 0; ++i) {
            mkdirat(fd, name, 0755);
            const int next = openat(fd, name, O_RDONLY | O_DIRECTORY);
            close(fd);
            fd = next;
        }
        ends.push_back(fd);
    }
    for (int i = 0; i < files; ++i) {
        const std::string file = "f" + std::to_string(i);
        close(openat(ends[0], file.c_str(), O_WRONLY | O_CREAT, 0644));
        if (linked)
            linkat(ends[0], file.c_str(), ends[1], file.c_str(), 0);
        else
            close(openat(ends[1], file.c_str(), O_WRONLY | O_CREAT, 0644));
    }
    for (int fd : ends)
        if (fd >= 0)
            close(fd);
}

// The operator's copy of two deep chains whose end folders hold names of the same files, beside
// the same tree of files of their own: each later name is linked to its first copy, far away.
void LinkedTreeFigures(const std::string& root, int depth, int files)
{
    std::vector<double> times[2];
    for (const bool linked : {false, true}) {
        const std::string source = root + "/chains", copy = root + "/chains-ours";
        MakeTwoChains(source, depth, files, linked);
        for (int run = 0; run < kRuns; ++run) {
            bool ok = false;
            times[linked].push_back(OperatorCopyMs(source, copy, ok));
            if (!ok)
                std::fprintf(stderr, "the operator's copy of the chains failed\n");
            ClearDir(StoredPath(copy), true);
        }
        ClearDir(StoredPath(source), true);
    }
    const std::string n = std::to_string(depth) + "x" + std::to_string(files);
    const double unlinked = Median(times[0]), linked = Median(times[1]);
    std::printf("METRIC files_operator_copy_chains_%s_ms %.6g\n", n.c_str(), unlinked);
    std::printf("METRIC files_operator_copy_linked_chains_%s_ms %.6g\n", n.c_str(), linked);
    std::printf("METRIC files_linked_to_unlinked_chains_%s_ratio %.3g\n", n.c_str(), linked / unlinked);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::string(argv[1]) == "quick";
    std::string pattern = (fs::temp_directory_path() / "hmfiles-XXXXXX").string();
    const std::string root = mkdtemp(pattern.data());
    SetProgramFolder(root);
    CopyFigures(root, 1000);
    DeleteFigures(root, 1000);
    SparseFigures(root, off_t{256} << 20);
    DeepFailureFigures(root, 2500);
    LinkedTreeFigures(root, 500, 500);
    if (!quick) {
        CopyFigures(root, 10000);
        DeleteFigures(root, 4000);
        SparseFigures(root, off_t{2} << 30);
        DeepFailureFigures(root, 10000);
        LinkedTreeFigures(root, 2000, 2000);
    }
    SetProgramFolder("");
    fs::remove_all(root);
    return 0;
}
