// The file operator: copy, move, rename and delete of files and folders named in lists, with the
// freedesktop trash as the undo of a deletion.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "controls/core/FileShared.h"
#include "controls/core/FileUtil.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FilePaths.h"
#include "platform/core/StoredPath.h"

namespace fs = std::filesystem;

namespace {

TFileOperatorConfirm& Confirm()
{
    static TFileOperatorConfirm confirm;
    return confirm;
}

bool Ask(const AnsiString& question) { return !Confirm() || Confirm()(question); }

std::vector<AnsiString> SplitNames(std::string_view text)
{
    std::vector<AnsiString> names;
    AnsiString name;
    for (char c : text) {
        if (c == ';' || c == '|') {
            if (!name.empty())
                names.push_back(name);
            name.clear();
        } else {
            name += c;
        }
    }
    if (!name.empty())
        names.push_back(name);
    return names;
}

bool HasMask(std::string_view name) { return ExtractFileName(name).find_first_of("*?") != AnsiString::npos; }

struct TItem {
    std::string Native;
    AnsiString Name;  // program path, for messages
};

// The sources with masks expanded; flFilesOnly keeps files only for masks.
std::vector<TItem> ExpandSources(std::string_view text, bool filesOnly)
{
    std::vector<TItem> items;
    for (const AnsiString& name : SplitNames(text)) {
        if (!HasMask(name)) {
            items.push_back({NativePath(name), name});
            continue;
        }
        std::vector<TSearchRec> found;
        FindFiles(name, found);
        const AnsiString folder = ExtractFilePath(name);
        const std::string nativeFolder = NativePath(folder.empty() ? AnsiString(".") : folder);
        for (const TSearchRec& rec : found)
            if (!filesOnly || !(rec.Attr & faDirectory))
                items.push_back({nativeFolder + "/" + rec.Native, folder + rec.Name});
    }
    return items;
}

bool Exists(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

bool IsDir(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string BaseName(const std::string& path)
{
    const size_t cut = path.rfind('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// A copy that does not land on an existing name: "Copy of NAME", "Copy (2) of NAME", ...
std::string CollisionName(const std::string& target)
{
    const std::string folder = target.substr(0, target.rfind('/') + 1), name = BaseName(target);
    for (int n = 1;; ++n) {
        std::string candidate = folder + (n == 1 ? "Copy of " : "Copy (" + std::to_string(n) + ") of ") + name;
        if (!Exists(candidate))
            return candidate;
    }
}

// Copies a file or a folder tree; every file goes through the chunked copy.
bool CopyTree(const std::string& from, const std::string& to)
{
    struct stat st;
    if (lstat(from.c_str(), &st) != 0)
        return false;
    if (!S_ISDIR(st.st_mode)) {
        try {
            CopyNative(from, to, StoredPath(from), StoredPath(to), false, nullptr);
            return true;
        } catch (const Exception&) {
            return false;
        }
    }
    std::error_code ec;
    fs::create_directories(to, ec);
    if (!IsDir(to))
        return false;
    bool ok = true;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec))
        ok = CopyTree(it->path().string(), to + "/" + it->path().filename().string()) && ok;
    return ok && !ec;
}

bool RemoveTree(const std::string& path)
{
    std::error_code ec;
    fs::remove_all(path, ec);
    return !ec;
}

// A rename, or a copy and removal across file systems.
bool MoveTree(const std::string& from, const std::string& to)
{
    if (rename(from.c_str(), to.c_str()) == 0)
        return true;
    return errno == EXDEV && CopyTree(from, to) && RemoveTree(from);
}

std::string DeletionDate()
{
    uint16_t y, mo, d, h, mi, s, ms;
    const TDateTime now = Now();
    DecodeDate(now, y, mo, d);
    DecodeTime(now, h, mi, s, ms);
    return Format("%04u-%02u-%02uT%02u:%02u:%02u", y, mo, d, h, mi, s);
}

}  // namespace

void SetFileOperatorConfirm(TFileOperatorConfirm confirm) { Confirm() = std::move(confirm); }

bool MoveToTrash(const std::string& nativePath)
{
    const std::string trash = XdgFolder("XDG_DATA_HOME", "/.local/share") + "/Trash";
    std::error_code ec;
    fs::create_directories(trash + "/files", ec);
    fs::create_directories(trash + "/info", ec);
    const std::string name = BaseName(fs::path(nativePath).lexically_normal().string());
    if (name.empty() || !Exists(nativePath))
        return false;
    std::string entry = name;
    for (int n = 2; Exists(trash + "/files/" + entry) || Exists(trash + "/info/" + entry + ".trashinfo"); ++n)
        entry = name + "." + std::to_string(n);
    const std::string info = trash + "/info/" + entry + ".trashinfo";
    const std::string absolute = fs::absolute(nativePath, ec).lexically_normal().string();
    if (!AtomicWriteFile(
            info, "[Trash Info]\nPath=" + PercentEncodePath(absolute) + "\nDeletionDate=" + DeletionDate() + "\n"))
        return false;
    if (MoveTree(nativePath, trash + "/files/" + entry))
        return true;
    unlink(info.c_str());
    return false;
}

bool TExFileOperator::Execute()
{
    aborted_ = false;
    const std::vector<TItem> sources = ExpandSources(Source, Options & FileOperFlag(flFilesOnly));
    const bool noConfirm = Options & FileOperFlag(flNoConfirmation);
    bool ok = !sources.empty();
    if (Operation == foDelete) {
        for (const TItem& item : sources) {
            if (!noConfirm && !Ask("Delete " + item.Name + "?")) {
                aborted_ = true;
                continue;
            }
            const bool done =
                (Options & FileOperFlag(flAllowUndo)) ? MoveToTrash(item.Native) : RemoveTree(item.Native);
            ok = done && ok;
        }
        return ok;
    }
    const std::vector<AnsiString> dests = SplitNames(Destination);
    const bool multiDest = Options & FileOperFlag(flMultiDest);
    if (dests.empty() || (multiDest && dests.size() < sources.size()))
        return false;
    for (size_t i = 0; i < sources.size(); ++i) {
        const TItem& item = sources[i];
        std::string target = NativePath(dests[multiDest ? i : 0]);
        const bool intoFolder = !multiDest && Operation != foRename && (sources.size() > 1 || IsDir(target));
        if (intoFolder) {
            if (!IsDir(target)) {
                if (!(Options & FileOperFlag(flNoConfirmMkDir)) && !Ask("Create folder " + dests[0] + "?")) {
                    aborted_ = true;
                    return ok;
                }
                std::error_code ec;
                fs::create_directories(target, ec);
            }
            target += "/" + BaseName(item.Native);
        }
        if (target.rfind(item.Native + "/", 0) == 0) {
            ok = false;  // a folder into itself would never end
            continue;
        }
        if (Exists(target) && target != item.Native) {
            if ((Options & FileOperFlag(flRenameOnCollision)) && Operation == foCopy) {
                target = CollisionName(target);
            } else if (!noConfirm && !Ask("Replace " + StoredPath(target) + "?")) {
                aborted_ = true;
                continue;
            } else if (IsDir(target) != IsDir(item.Native) || IsDir(target)) {
                ok = false;  // a folder is never replaced by a file, nor merged
                continue;
            }
        }
        const bool done = Operation == foCopy ? CopyTree(item.Native, target) : MoveTree(item.Native, target);
        ok = done && ok;
    }
    return ok;
}
