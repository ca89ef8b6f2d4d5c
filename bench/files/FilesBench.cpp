// The file operator copying a folder of small files (1,000 and 10,000 of 100 bytes), beside
// cp -a of the same tree and cp -a followed by a sync of the file system, each into a fresh
// folder in the same run; then a folder's files deleted one listed name at a time, beside
// unlinking them. Prints METRIC lines, each the median of three runs. "bench_files quick" runs
// the smaller size only.

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

double Timed(const std::string& command)
{
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "failed: %s\n", command.c_str());
    return Ms(start);
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

void CopyFigures(const std::string& root, int count)
{
    const std::string source = root + "/src" + std::to_string(count);
    MakeFiles(source, count);
    std::vector<double> ours, cp, cpSync;
    for (int run = 0; run < kRuns; ++run) {
        const std::string mine = root + "/ours", theirs = root + "/cp";
        TExFileOperator op(nullptr);
        op.Options = FileOperFlag(flNoConfirmation) | FileOperFlag(flSilent) | FileOperFlag(flNoErrorUI);
        op.Source = StoredPath(source);
        op.Destination = StoredPath(mine);
        auto start = std::chrono::steady_clock::now();
        if (!op.Execute())
            std::fprintf(stderr, "the operator's copy failed\n");
        ours.push_back(Ms(start));
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

}  // namespace

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::string(argv[1]) == "quick";
    std::string pattern = (fs::temp_directory_path() / "hmfiles-XXXXXX").string();
    const std::string root = mkdtemp(pattern.data());
    SetProgramFolder(root);
    CopyFigures(root, 1000);
    DeleteFigures(root, 1000);
    if (!quick) {
        CopyFigures(root, 10000);
        DeleteFigures(root, 4000);
    }
    SetProgramFolder("");
    fs::remove_all(root);
    return 0;
}
