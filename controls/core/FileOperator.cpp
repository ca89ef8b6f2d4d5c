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
#include "controls/core/FileTrash.h"
#include "controls/core/FileTree.h"
#include "controls/core/FileUtil.h"
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
            items.push_back({WithoutTrailingSlashes(NativePath(name)), name});  // "dir\" is the folder dir
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

// A folder itself, not a link to one.
bool IsFolder(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A file with no write bit at all, as the copy judges a read-only destination (a link there is
// replaced itself, whatever it leads to).
bool IsReadOnly(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && IsReadOnlyFile(st);
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

// A tree run whose long work lets the progress window repaint and hear Cancel.
TTreeRun SessionRun(TFileOperatorSession& session)
{
    TTreeRun run;
    run.Tick = [&session] { return session.Working(); };
    return run;
}

// Shows why a part failed and what its undo could not remove, that also after a Cancel; false
// when the run is to stop.
bool ShowFailedPart(TFileOperatorSession& session, const TItem& item, const TTreeRun& run)
{
    if (!run.Cancelled)
        session.Fail(item.Name, run.Report());
    else if (!run.Left.empty())
        session.Fail(item.Name, run.Left);
    return !run.Cancelled;
}

bool DeleteItems(TFileOperatorSession& session, const std::vector<TItem>& sources, bool toTrash)
{
    bool ok = true;
    session.Begin(static_cast<int>(sources.size()));
    for (const TItem& item : sources) {
        if (!session.Step(item.Name))
            break;
        // Refused before it is asked about, looked into or listed.
        if (NamesRoot(item.Native, false)) {
            session.Fail(item.Name, kRootRefusal);
            ok = false;
            continue;
        }
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
        TTreeRun run = SessionRun(session);
        if (!(toTrash ? Trash(item.Native, run) : RemoveEntry(item.Native, run))) {
            ok = false;
            if (!ShowFailedPart(session, item, run))
                break;
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
    std::string copied;                    // a copy made: its file system is flushed once, at the end
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
        // By what the paths lead to, links and all: a folder copied into itself would never end.
        struct stat source;
        if (lstat(item.Native.c_str(), &source) == 0 && S_ISDIR(source.st_mode) && LiesInside(target, source)) {
            session.Fail(item.Name, kIntoItself);
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
            } else if (IsDir(target) || IsFolder(item.Native)) {
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
        TTreeRun run = SessionRun(session);
        run.GoOnPastFailures = operation == foCopy;
        const bool replace = Exists(target);
        if (operation == foCopy)
            copied = target;
        if (!(operation == foCopy ? CopyEntry(item.Native, target, replace, run)
                                  : MoveEntry(item.Native, target, replace, run))) {
            ok = false;
            if (!ShowFailedPart(session, item, run))
                break;
        }
    }
    if (!copied.empty() && !FlushFileSystem(copied)) {
        session.Fail(StoredPath(copied), SystemReason(errno));
        ok = false;
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
