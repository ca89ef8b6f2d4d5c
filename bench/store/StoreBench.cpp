// Column widths stored the way the grid stores them (one key per column, written by
// WriteColSizes and read by ReadColSizes, to an INI file and to the registry) at 1,000 and
// 10,000 columns, and the registry file
// loaded at 10,000, 30,000 and 100,000 keys and then written once. The peers, in the same run
// and on the same files: reading the file's bytes and splitting them into lines (a linear
// reader), and one safe write of the same bytes (a linear writer). Prints METRIC lines, each
// the median of five runs. "bench_store quick" runs the smaller sizes only. Then eight savers
// of one file at once, in a folder of the disk's and in one served through FUSE
// (StoreContention.h).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "StoreContention.h"
#include "grid/model/PrintSettingsStore.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/IniFile.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/RegIniFile.h"

namespace {

constexpr int kRuns = 5;

double Ms(std::chrono::steady_clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

// The figures of one size, by metric name, a value per run.
using Figures = std::vector<std::pair<std::string, std::vector<double>>>;

void Add(Figures& figures, const std::string& name, double value)
{
    auto it = std::find_if(figures.begin(), figures.end(), [&](const auto& f) { return f.first == name; });
    if (it == figures.end())
        it = figures.insert(figures.end(), {name, {}});
    it->second.push_back(value);
}

void Print(Figures figures)
{
    for (auto& [name, values] : figures) {
        std::sort(values.begin(), values.end());
        std::printf("METRIC %s %.6g\n", name.c_str(), values[values.size() / 2]);
    }
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The linear reader: the file's bytes read and cut into lines.
double ReadAndSplitMs(const std::string& path)
{
    const auto start = std::chrono::steady_clock::now();
    const std::string data = ReadAll(path);
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < data.size()) {
        size_t end = data.find_first_of("\r\n", from);
        if (end == std::string::npos)
            end = data.size();
        lines.push_back(data.substr(from, end - from));
        from = data.find_first_not_of("\r\n", end);
        if (from == std::string::npos)
            break;
    }
    const double ms = Ms(start);
    if (lines.empty())
        std::fprintf(stderr, "bench_store: %s is empty\n", path.c_str());
    return ms;
}

// The linear writer: the same bytes through one safe write.
double SafeWriteMs(const std::string& path)
{
    const std::string data = ReadAll(path);
    const std::string copy = path + ".peer";
    const auto start = std::chrono::steady_clock::now();
    const bool ok = AtomicWriteFile(copy, data).Ok;
    const double ms = Ms(start);
    if (!ok)
        std::fprintf(stderr, "bench_store: cannot write %s\n", copy.c_str());
    std::filesystem::remove(copy);
    return ms;
}

void ColumnWidths(Figures& figures, const std::string& folder, int columns)
{
    const std::string tag = std::to_string(columns / 1000) + "k";
    const std::string file = folder + "/cols" + tag + ".ini";
    std::vector<int> widths(static_cast<size_t>(columns));
    for (int i = 0; i < columns; ++i)
        widths[static_cast<size_t>(i)] = 20 + i % 80;

    std::filesystem::remove(file);
    auto start = std::chrono::steady_clock::now();
    {
        TIniFile ini(file.c_str());
        WriteColSizes(ini, "Columns", widths);
    }
    Add(figures, "ini_save_cols_" + tag + "_ms", Ms(start));
    Add(figures, "ini_save_peer_safe_write_" + tag + "_ms", SafeWriteMs(file));

    std::vector<int> read(static_cast<size_t>(columns), 64);
    start = std::chrono::steady_clock::now();
    {
        TIniFile ini(file.c_str());
        ReadColSizes(ini, "Columns", read);
    }
    Add(figures, "ini_load_cols_" + tag + "_ms", Ms(start));
    Add(figures, "ini_load_peer_read_split_" + tag + "_ms", ReadAndSplitMs(file));
    if (read != widths)
        std::fprintf(stderr, "bench_store: the %d widths did not come back\n", columns);

    // The registry: the grid's other store, its file written once for all the widths.
    std::filesystem::remove_all(folder + "/Registry");
    start = std::chrono::steady_clock::now();
    {
        TRegistryIniFile reg("Software\\hanmud\\Grid");
        WriteColSizes(reg, "Columns", widths);
    }
    Add(figures, "registry_save_cols_" + tag + "_ms", Ms(start));
    Add(figures, "registry_save_peer_safe_write_" + tag + "_ms",
        SafeWriteMs(folder + "/Registry/HKEY_CURRENT_USER.txt"));
    std::fill(read.begin(), read.end(), 64);
    start = std::chrono::steady_clock::now();
    {
        TRegistryIniFile reg("Software\\hanmud\\Grid");
        ReadColSizes(reg, "Columns", read);
    }
    Add(figures, "registry_load_cols_" + tag + "_ms", Ms(start));
    if (read != widths)
        std::fprintf(stderr, "bench_store: the %d widths did not come back from the registry\n", columns);
}

void RegistryFile(Figures& figures, const std::string& folder, int keys)
{
    const std::string tag = std::to_string(keys / 1000) + "k";
    std::filesystem::remove_all(folder + "/Registry");
    std::filesystem::create_directories(folder + "/Registry");
    const std::string file = folder + "/Registry/HKEY_USERS.txt";
    {
        std::string text;
        for (int i = 0; i < keys; ++i)
            text += "[Software\\hanmud\\Grid" + std::to_string(i) +
                "]\r\n\"Width\"=dword:" + std::to_string(10000000 + i) + "\r\n\"Name\"=\"column " + std::to_string(i) +
                "\"\r\n\r\n";
        std::ofstream(file, std::ios::binary) << text;
    }
    const std::string last = "Software\\hanmud\\Grid" + std::to_string(keys - 1);

    auto start = std::chrono::steady_clock::now();
    const bool found = RegistryStore::KeyExists(HKEY_USERS, last);
    Add(figures, "registry_load_" + tag + "_ms", Ms(start));
    Add(figures, "registry_load_peer_read_split_" + tag + "_ms", ReadAndSplitMs(file));

    start = std::chrono::steady_clock::now();
    TRegistryValue value;
    value.Name = "Added";
    value.Text = "one more";
    const bool written = RegistryStore::SetValue(HKEY_USERS, last, value);
    const bool readBack = RegistryStore::FindValue(HKEY_USERS, last, "added").has_value();
    Add(figures, "registry_write_one_" + tag + "_ms", Ms(start));
    Add(figures, "registry_write_peer_safe_write_" + tag + "_ms", SafeWriteMs(file));
    if (!found || !written || !readBack)
        std::fprintf(stderr, "bench_store: the registry of %d keys did not hold\n", keys);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::string(argv[1]) == "quick";
    std::string pattern = (std::filesystem::temp_directory_path() / "hmstore-XXXXXX").string();
    const std::string folder = mkdtemp(pattern.data());
    SetProgramFolder(folder);

    for (int columns : {1000, 10000}) {
        Figures figures;
        for (int run = 0; run < kRuns && (!quick || columns <= 1000); ++run)
            ColumnWidths(figures, folder, columns);
        Print(figures);
    }
    for (int keys : {10000, 30000, 100000}) {
        Figures figures;
        for (int run = 0; run < kRuns && (!quick || keys <= 10000); ++run)
            RegistryFile(figures, folder, keys);
        Print(figures);
    }

    SaversAtOnce(folder);
    SaversOnAFuseFolder(folder);

    SetProgramFolder("");
    std::filesystem::remove_all(folder);
    return 0;
}
