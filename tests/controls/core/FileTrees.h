#pragma once
// Trees of test files spelt as text, blank-separated entries in name order: "a/" a folder,
// "a=text" a file, "a->target" a symbolic link, "a|" a FIFO, "a%" a socket, "a!" a character
// device that reads as /dev/zero (made only by root); "@700" after any of
// them is its permission bits. MakeTree makes such a tree, Tree reads one back (not following
// links; a file longer than 64 bytes as "N bytes").

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "controls/core/FileOperatorDialogs.h"
#include "controls/core/FileOperatorSession.h"
#include "tests/platform/core/TempFolder.h"

namespace filetrees {

namespace fs = std::filesystem;

inline void Ignore(int) {}

// Bound from inside its folder: a socket's address is short, the test folder's path need not be.
inline void MakeSocket(const std::string& path)
{
    const int back = open(".", O_RDONLY | O_DIRECTORY);
    const fs::path where(path);
    if (chdir(where.parent_path().c_str()) == 0) {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, where.filename().c_str(), sizeof address.sun_path - 1);
        bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        close(fd);
    }
    Ignore(fchdir(back));
    close(back);
}

inline void MakeTree(const std::string& root, const std::string& spec)
{
    for (size_t start = 0, end; start < spec.size(); start = end + 1) {
        end = std::min(spec.find(' ', start), spec.size());
        std::string entry = spec.substr(start, end - start);
        if (entry.empty())
            continue;
        int mode = -1;
        if (const size_t at = entry.rfind('@'); at != std::string::npos) {
            mode = std::stoi(entry.substr(at + 1), nullptr, 8);
            entry.resize(at);
        }
        std::string path;
        if (const size_t arrow = entry.find("->"); arrow != std::string::npos) {
            path = root + "/" + entry.substr(0, arrow);
            fs::create_directories(fs::path(path).parent_path());
            Ignore(symlink(entry.substr(arrow + 2).c_str(), path.c_str()));
            continue;
        }
        if (const size_t eq = entry.find('='); eq != std::string::npos) {
            path = root + "/" + entry.substr(0, eq);
            fs::create_directories(fs::path(path).parent_path());
            TempFolder::Write(path, entry.substr(eq + 1));
        } else {
            path = root + "/" + entry.substr(0, entry.size() - 1);
            fs::create_directories(fs::path(path).parent_path());
            if (entry.back() == '/')
                fs::create_directories(path);
            else if (entry.back() == '|')
                mkfifo(path.c_str(), 0644);
            else if (entry.back() == '!')
                mknod(path.c_str(), S_IFCHR | 0644, makedev(1, 5));  // as /dev/zero; root only
            else
                MakeSocket(path);
        }
        if (mode >= 0)
            chmod(path.c_str(), static_cast<mode_t>(mode));
    }
}

inline std::string ModeOf(const struct stat& st, bool modes)
{
    if (!modes)
        return "";
    char text[8];
    std::snprintf(text, sizeof text, "@%o", static_cast<unsigned>(st.st_mode & 0777));
    return text;
}

inline void ReadEntries(const std::string& root, const std::string& relative, bool modes, std::set<std::string>& out,
                        const std::string& skip = "")
{
    const std::string folder = relative.empty() ? root : root + "/" + relative;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        const std::string rel = relative.empty() ? name : relative + "/" + name;
        if (rel == skip)
            continue;
        struct stat st;
        if (lstat(entry.path().c_str(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            out.insert(rel + "/" + ModeOf(st, modes));
            ReadEntries(root, rel, modes, out);
        } else if (S_ISLNK(st.st_mode)) {
            out.insert(rel + "->" + fs::read_symlink(entry.path(), ec).string());
        } else if (S_ISREG(st.st_mode)) {
            const std::string text = TempFolder::Read(entry.path().string());
            out.insert(rel + "=" + (text.size() > 64 ? std::to_string(text.size()) + " bytes" : text) +
                       ModeOf(st, modes));
        } else {
            out.insert(rel + (S_ISFIFO(st.st_mode) ? "|" : S_ISSOCK(st.st_mode) ? "%" : "!"));
        }
    }
}

// The tree under root; with modes, every folder and file carries its permission bits. The entry
// skip (a path under root) is left out with all it holds.
inline std::string Tree(const std::string& root, bool modes = false, const std::string& skip = "")
{
    std::set<std::string> entries;
    ReadEntries(root, "", modes, entries, skip);
    std::string tree;
    for (const std::string& e : entries)
        tree += (tree.empty() ? "" : " ") + e;
    return tree;
}

}  // namespace filetrees

namespace filetrees {

// The trash's entries, with modes, then its info files by their first lines.
inline std::string TrashTree(const std::string& trash)
{
    std::string tree = Tree(trash + "/files", true);
    std::set<std::string> infos;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(trash + "/info", ec)) {
        const std::string text = TempFolder::Read(entry.path().string());
        infos.insert(entry.path().filename().string() + "=" + text.substr(0, text.find('\n')));
    }
    for (const std::string& info : infos)
        tree += " | " + info;
    return tree;
}

// The operator's dialogs for a test: every question answered Yes, the errors kept, and each
// poll of the progress window handed to onPoll (false cancels).
class TRecordingDialogs : public IFileOperatorDialogs {
public:
    TRecordingDialogs(std::string& errors, std::function<bool(int poll)>& onPoll) : errors_(errors), onPoll_(onPoll) {}
    TQuestionAnswer Ask(const TFileQuestionText&) override { return qaYes; }
    void OpenProgress(const AnsiString&, int) override {}
    bool StepProgress(const AnsiString&, int) override { return true; }
    bool PollProgress() override { return !onPoll_ || onPoll_(++polls_); }
    void CloseProgress() override {}
    void ShowError(const AnsiString&, const AnsiString& text) override
    {
        errors_ += (errors_.empty() ? "" : "; ") + text;
    }

private:
    std::string& errors_;
    std::function<bool(int)>& onPoll_;
    int polls_ = 0;
};

// Installs the recording dialogs and a work clock that moves on a poll's interval at every
// reading, so that each tick of the work polls the progress window.
class TRecordedOperator {
public:
    TRecordedOperator()
    {
        old_ = SetFileOperatorDialogs([this] { return std::make_unique<TRecordingDialogs>(Errors, OnPoll); });
        SetFileWorkClock([this] { return now_ += kProgressPollInterval; });
    }
    ~TRecordedOperator()
    {
        SetFileOperatorDialogs(std::move(old_));
        SetFileWorkClock(nullptr);
    }
    TRecordedOperator(const TRecordedOperator&) = delete;
    TRecordedOperator& operator=(const TRecordedOperator&) = delete;

    std::string Errors;
    std::function<bool(int poll)> OnPoll;

private:
    TFileOperatorDialogsMaker old_;
    std::chrono::steady_clock::time_point now_;
};

}  // namespace filetrees
