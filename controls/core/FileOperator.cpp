// The file operator: copy, move, rename and delete of files and folders named in lists, with the
// freedesktop trash as the undo of a deletion; its questions, progress and errors go through the
// run's session.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <system_error>

#include "controls/core/FileOperatorSession.h"
#include "controls/core/FileShared.h"
#include "controls/core/FileUtil.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FilePaths.h"
#include "platform/core/StoredPath.h"

namespace fs = std::filesystem;

namespace {

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

// No write bit at all, as the copy judges a read-only destination.
bool IsReadOnly(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
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

AnsiString SystemReason(int error) { return std::generic_category().message(error); }

// Copies a file or a folder tree; every file goes through the chunked copy, replacing a
// read-only file the user agreed to replace. reason: why the last failed part failed.
bool CopyTree(const std::string& from, const std::string& to, AnsiString& reason)
{
    struct stat st;
    if (lstat(from.c_str(), &st) != 0) {
        reason = SystemReason(errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        try {
            CopyNative(from, to, StoredPath(from), StoredPath(to), true, nullptr);
            return true;
        } catch (const Exception& e) {
            reason = e.Message;
            return false;
        }
    }
    std::error_code ec;
    fs::create_directories(to, ec);
    if (!IsDir(to)) {
        reason = ec ? AnsiString(ec.message()) : SystemReason(EEXIST);
        return false;
    }
    bool ok = true;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec))
        ok = CopyTree(it->path().string(), to + "/" + it->path().filename().string(), reason) && ok;
    if (ec)
        reason = ec.message();
    return ok && !ec;
}

bool RemoveTree(const std::string& path, AnsiString& reason)
{
    std::error_code ec;
    fs::remove_all(path, ec);
    if (ec)
        reason = ec.message();
    return !ec;
}

// A rename, or a copy and removal across file systems.
bool MoveTree(const std::string& from, const std::string& to, AnsiString& reason)
{
    if (rename(from.c_str(), to.c_str()) == 0)
        return true;
    if (errno != EXDEV) {
        reason = SystemReason(errno);
        return false;
    }
    return CopyTree(from, to, reason) && RemoveTree(from, reason);
}

std::string DeletionDate()
{
    uint16_t y, mo, d, h, mi, s, ms;
    const TDateTime now = Now();
    DecodeDate(now, y, mo, d);
    DecodeTime(now, h, mi, s, ms);
    return Format("%04u-%02u-%02uT%02u:%02u:%02u", y, mo, d, h, mi, s);
}

// Moves into the freedesktop trash with the entry that lets it be restored.
bool Trash(const std::string& nativePath, AnsiString& reason)
{
    const std::string trash = XdgFolder("XDG_DATA_HOME", "/.local/share") + "/Trash";
    std::error_code ec;
    fs::create_directories(trash + "/files", ec);
    fs::create_directories(trash + "/info", ec);
    const std::string name = BaseName(fs::path(nativePath).lexically_normal().string());
    if (name.empty() || !Exists(nativePath)) {
        reason = SystemReason(ENOENT);
        return false;
    }
    std::string entry = name;
    for (int n = 2; Exists(trash + "/files/" + entry) || Exists(trash + "/info/" + entry + ".trashinfo"); ++n)
        entry = name + "." + std::to_string(n);
    const std::string info = trash + "/info/" + entry + ".trashinfo";
    const std::string absolute = fs::absolute(nativePath, ec).lexically_normal().string();
    if (!AtomicWriteFile(
            info, "[Trash Info]\nPath=" + PercentEncodePath(absolute) + "\nDeletionDate=" + DeletionDate() + "\n")) {
        reason = "The trash cannot be written";
        return false;
    }
    if (MoveTree(nativePath, trash + "/files/" + entry, reason))
        return true;
    unlink(info.c_str());
    return false;
}

bool DeleteItems(TFileOperatorSession& session, const std::vector<TItem>& sources, bool toTrash)
{
    bool ok = true;
    session.Begin(static_cast<int>(sources.size()));
    for (const TItem& item : sources) {
        if (!session.Step(item.Name))
            break;
        AnsiString reason;
        if (!Exists(item.Native)) {
            session.Fail(item.Name, SystemReason(ENOENT));
            ok = false;
            continue;
        }
        const TQuestionAnswer answer = session.Confirm(fqDelete, item.Name);
        if (answer == qaCancel)
            break;
        if (answer == qaNo)
            continue;
        if (!(toTrash ? Trash(item.Native, reason) : RemoveTree(item.Native, reason))) {
            session.Fail(item.Name, reason);
            ok = false;
        }
    }
    return ok && !session.Cancelled();
}

// Copies, moves or renames each source to its target: into the destination folder, or onto
// the destination name (one per source with flMultiDest).
bool TransferItems(TFileOperatorSession& session, TFileOperation operation, TFileOperFlags options,
                   const std::vector<TItem>& sources, const std::vector<AnsiString>& dests)
{
    const bool multiDest = options & FileOperFlag(flMultiDest);
    bool ok = true;
    std::set<std::string> refusedFolders;  // answered No: the parts bound there are skipped
    session.Begin(static_cast<int>(sources.size()));
    for (size_t i = 0; i < sources.size(); ++i) {
        const TItem& item = sources[i];
        if (!session.Step(item.Name))
            break;
        std::string target = NativePath(dests[multiDest ? i : 0]);
        const bool intoFolder = !multiDest && operation != foRename && (sources.size() > 1 || IsDir(target));
        if (intoFolder)
            target += "/" + BaseName(item.Native);
        if (target.rfind(item.Native + "/", 0) == 0) {
            session.Fail(item.Name, "The destination folder is inside the source folder");  // would never end
            ok = false;
            continue;
        }
        const std::string folder = target.substr(0, target.rfind('/') + 1);
        if (!folder.empty() && !IsDir(folder)) {
            if (refusedFolders.count(folder))
                continue;
            const TQuestionAnswer answer =
                session.Confirm(fqMakeFolder, StoredPath(folder.substr(0, folder.size() - 1)));
            if (answer == qaCancel)
                break;
            if (answer == qaNo) {
                refusedFolders.insert(folder);
                continue;
            }
            std::error_code ec;
            fs::create_directories(folder, ec);
            if (!IsDir(folder)) {
                session.Fail(item.Name, ec ? AnsiString(ec.message()) : SystemReason(ENOTDIR));
                ok = false;
                continue;
            }
        }
        if (target != item.Native && Exists(target)) {
            if ((options & FileOperFlag(flRenameOnCollision)) && operation == foCopy) {
                target = CollisionName(target);
            } else if (IsDir(target) || IsDir(item.Native)) {
                // A folder is never replaced by a file, nor merged with another.
                session.Fail(item.Name, StoredPath(target) + " already exists");
                ok = false;
                continue;
            } else {
                const TQuestionAnswer answer =
                    session.Confirm(IsReadOnly(target) ? fqReplaceReadOnly : fqReplace, StoredPath(target));
                if (answer == qaCancel)
                    break;
                if (answer == qaNo)
                    continue;
            }
        }
        AnsiString reason;
        if (!(operation == foCopy ? CopyTree(item.Native, target, reason) : MoveTree(item.Native, target, reason))) {
            session.Fail(item.Name, reason);
            ok = false;
        }
    }
    return ok && !session.Cancelled();
}

// The whole operation; reads nothing of the operator, which a handler run meanwhile may free.
bool RunOperation(TFileOperatorSession& session, TFileOperation operation, TFileOperFlags options,
                  const AnsiString& source, const AnsiString& destination)
{
    const std::vector<TItem> sources = ExpandSources(source, options & FileOperFlag(flFilesOnly));
    if (sources.empty()) {
        session.Fail(source, SystemReason(ENOENT));
        return false;
    }
    if (operation == foDelete)
        return DeleteItems(session, sources, options & FileOperFlag(flAllowUndo));
    const std::vector<AnsiString> dests = SplitNames(destination);
    if (dests.empty()) {
        session.Fail(AnsiString(), "No destination is named");
        return false;
    }
    if ((options & FileOperFlag(flMultiDest)) && dests.size() < sources.size()) {
        session.Fail(AnsiString(), "There are fewer destinations than sources");
        return false;
    }
    return TransferItems(session, operation, options, sources, dests);
}

}  // namespace

bool MoveToTrash(const std::string& nativePath)
{
    AnsiString reason;
    return Trash(nativePath, reason);
}

bool TExFileOperator::Execute()
{
    const TAliveToken alive = liveness_.Token();
    aborted_ = false;
    const TFileOperation operation = Operation;
    const TFileOperFlags options = Options;
    const AnsiString source = Source, destination = Destination;
    TFileOperatorSession session(operation, options, ProgressTitle);
    const bool ok = RunOperation(session, operation, options, source, destination);
    if (*alive)
        aborted_ = session.Aborted();
    return ok;
}
