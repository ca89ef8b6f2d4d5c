// The most memory that reading a script file takes, beside the file's size: each case runs in a
// child process of its own, which reports how far its resident peak rose above where it began.
// Files with nothing in them are sparse, so they cost nothing to make. Prints METRIC lines:
//   file_mb_CASE       the file's size (MB)
//   peak_rss_mb_CASE   the rise of the resident peak while the file is read (MB)
//
//   bench_scriptfiles [FOLDER]   (default: a new folder under TMPDIR)

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "script/RecordingHost.h"
#include "script/ScriptState.h"
#include "script/Walk.h"

namespace {

constexpr double kMB = 1024.0 * 1024.0;

long StatusKb(const char* key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(std::string(key).size()));
    return -1;
}

// Starts the resident peak again from what is resident now.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// Loads the file again when its start-up commands send "reload".
class TBenchHost : public TRecordingHost {
public:
    void SendText(const AnsiString& text) override
    {
        if (text == "reload" && State)
            State->LoadCmdFile(Reload);
    }
    TScriptState* State = nullptr;
    AnsiString Reload;
};

struct TCase {
    const char* Name;
    std::function<std::string(const std::string& folder)> Make;  // the file, made in the folder
    std::function<void(TScriptState&, const std::string& file)> Read;
};

std::string Write(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string Sparse(const std::string& path, off_t size)
{
    const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
    if (fd < 0 || ftruncate(fd, size) != 0)
        std::perror(path.c_str());
    close(fd);
    return path;
}

std::string SelfLoading(const std::string& path, size_t bytes)
{
    const std::string text(bytes, 'x');
    return Write(path,
                 "#Config\r\nStartUpCmd 6 reload\r\nEnd\r\n#Alias\r\nName 1 a\r\nText " + std::to_string(text.size()) +
                     " " + text + "\r\nEnd\r\n#END\r\n");
}

const TCase kCases[] = {
    {"self_loading_cmd_8m", [](const std::string& f) { return SelfLoading(f + "/Self.Cmd", size_t{8} << 20); },
     [](TScriptState& s, const std::string& file) { s.LoadCmdFile(file); }},
    {"sparse_cmd_1g", [](const std::string& f) { return Sparse(f + "/Huge.Cmd", off_t{1} << 30); },
     [](TScriptState& s, const std::string& file) { s.LoadCmdFile(file); }},
    {"startup_line_ends_16m",
     [](const std::string& f) {
         return Write(f + "/Ends.Cmd",
                      "#Config\r\nStartUpCmd " + std::to_string(16 << 20) + " " + std::string(size_t{16} << 20, '\n') +
                          "\r\nEnd\r\n#END\r\n");
     },
     [](TScriptState& s, const std::string& file) { s.LoadCmdFile(file); }},
    {"walk_line_ends_32m", [](const std::string& f) { return Write(f + "/Cmd/Ends.Wlk", std::string(32 << 20, '\n')); },
     [](TScriptState& s, const std::string&) { OpenWalk(s, "Ends.Wlk"); }},
    {"walk_line_ends_2m", [](const std::string& f) { return Write(f + "/Cmd/Some.Wlk", std::string(2 << 20, '\n')); },
     [](TScriptState& s, const std::string&) { OpenWalk(s, "Some.Wlk"); }},
    {"sparse_walk_256m", [](const std::string& f) { return Sparse(f + "/Cmd/Huge.Wlk", off_t{256} << 20); },
     [](TScriptState& s, const std::string&) { OpenWalk(s, "Huge.Wlk"); }},
};

// The rise of the resident peak while the case reads its file, in a child process (MB).
double PeakInChild(const TCase& c, const std::string& folder, const std::string& file)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        TBenchHost host;
        host.Folder = folder;
        TScriptState state(host);
        host.State = &state;
        host.Reload = file;
        std::fclose(stderr);  // the readers' log lines
        ResetPeak();
        const long before = StatusKb("VmRSS:");
        c.Read(state, file);
        const double rise = static_cast<double>(StatusKb("VmHWM:") - before) * 1024.0 / kMB;
        [[maybe_unused]] const ssize_t written = write(pipeFds[1], &rise, sizeof rise);
        _exit(0);
    }
    close(pipeFds[1]);
    double rise = -1;
    [[maybe_unused]] const ssize_t got = read(pipeFds[0], &rise, sizeof rise);
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return rise;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder = argc > 1
        ? std::filesystem::path(argv[1])
        : std::filesystem::temp_directory_path() / ("hm-bench-scriptfiles-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "Cmd");
    for (const TCase& c : kCases) {
        const std::string file = c.Make(folder.string());
        std::printf("METRIC file_mb_%s %.1f\n", c.Name, static_cast<double>(std::filesystem::file_size(file)) / kMB);
        std::printf("METRIC peak_rss_mb_%s %.1f\n", c.Name, PeakInChild(c, folder.string(), file));
        std::filesystem::remove(file);
    }
    if (argc <= 1)
        std::filesystem::remove_all(folder);
    return 0;
}
