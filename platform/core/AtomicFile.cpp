#include "platform/core/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/core/AtomicFilePaths.h"
#include "platform/core/Cp949.h"
#include "platform/core/Exceptions.h"
#include "platform/core/ExtendedAttributes.h"
#include "platform/core/SaveJournal.h"

using namespace SavePaths;

// How the old file is opened: never through a link, nor a planted pipe or device waited on.
static constexpr int kOpenOld = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// Why a file kept from being replaced is not written.
static constexpr const char* kExists = "It already exists.";

static std::atomic<TAtomicWriteStep> g_injected = TAtomicWriteStep::None;

void InjectAtomicWriteFailure(TAtomicWriteStep step) { g_injected = step; }

bool SavePaths::Injected(TAtomicWriteStep step)
{
    TAtomicWriteStep asked = step;
    return g_injected.compare_exchange_strong(asked, TAtomicWriteStep::None);
}

TAtomicFileWriter::TAtomicFileWriter(std::string nativePath, TAtomicWriteOptions options) : options_(std::move(options))
{
    const bool shownAsSaved = options_.ShownPath.empty();
    if (shownAsSaved)
        options_.ShownPath = nativePath;
    // Refused before anything is made: the folder of an empty name would be the current one.
    if (nativePath.empty()) {
        Fail("create", "The file has no name.");
        return;
    }
    std::string shown;
    const std::string refusal = OpenSavedFile(nativePath, folder_, name_, shown);
    if (!refusal.empty()) {
        Fail("create", refusal.c_str());
        return;
    }
    ownsFolder_ = true;
    if (shownAsSaved)
        options_.ShownPath = shown;
    Open();
}

TAtomicFileWriter::TAtomicFileWriter(int folder, std::string name, TAtomicWriteOptions options)
    : options_(std::move(options)), folder_(folder), name_(std::move(name))
{
    if (options_.ShownPath.empty())
        options_.ShownPath = name_;
    Open();
}

TAtomicFileWriter::TAtomicFileWriter(const TFileUpdateLock& lock, TAtomicWriteOptions options)
    : options_(std::move(options)), folder_(lock.Folder()), name_(lock.Name()), lock_(&lock)
{
    if (options_.ShownPath.empty())
        options_.ShownPath = lock.ShownPath();
    if (!lock.MaySave())
        FailWith(lock.Message());
    else
        Open();
}

// Whether a name is one entry of a folder that a file may have.
static bool IsFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

void TAtomicFileWriter::Open()
{
    if (name_.empty()) {
        Fail("create", "The file has no name.");
        return;
    }
    // Only a regular file is replaced: a pipe or a device cannot be written whole or kept as
    // it was, and renaming over one would destroy the node. A file set read-only is refused as
    // a save dialog refuses it, also for root, who could write it anyway. A link at the name is
    // not followed: it is replaced itself.
    struct stat old;
    const bool found = IsFileName(name_) && fstatat(folder_, name_.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (found && !options_.Replace) {
        Fail("create", kExists);
        return;
    }
    if (!IsFileName(name_) || (found && !S_ISREG(old.st_mode) && !S_ISLNK(old.st_mode))) {
        Fail("create", "It is not a regular file.");
        return;
    }
    const bool exists = found && S_ISREG(old.st_mode);
    if (exists && ((old.st_mode & 0222) == 0 || faccessat(folder_, name_.c_str(), W_OK, AT_EACCESS) != 0)) {
        Fail("create", "The file is read-only.");
        return;
    }

    RemoveStaleFiles(folder_);
    if (Injected(TAtomicWriteStep::Create)) {
        Fail("create", EACCES);
        return;
    }
    fd_ = CreateLockedTemp(folder_, tempName_);
    if (fd_ < 0) {
        Fail("create", errno);
        return;
    }
    AtStep(TSaveStep::TempMade);
    // The new file keeps the old one's owner, group, permissions and attributes, or gets the
    // usual permissions for a new file: all given at Commit, once the data is written.
    exists_ = exists;
    if (exists)
        old_ = old;
    mode_ = exists ? old.st_mode & 07777 : NewFileMode();
}

TAtomicFileWriter::~TAtomicFileWriter()
{
    if (!committed_)
        Discard();
    if (ownsFolder_ && folder_ >= 0)
        close(folder_);
}

void TAtomicFileWriter::Fail(const char* what, int error)
{
    if (!result_.Ok)
        return;
    Fail(what, std::strerror(error));
    error_ = error;
}

void TAtomicFileWriter::Fail(const char* what, const char* reason)
{
    if (!result_.Ok)
        return;
    FailWith(Utf8ToCp949(std::string("Cannot ") + what + " file " + options_.ShownPath + ". " + reason));
    error_ = reason == kExists ? EEXIST : 0;
}

void TAtomicFileWriter::FailWith(const AnsiString& message)
{
    if (!result_.Ok)
        return;
    error_ = 0;
    result_.Ok = false;
    result_.Message = message;
    Discard();
}

void TAtomicFileWriter::Discard()
{
    // Removed while still locked: no clean-up ever finds it without a holder.
    if (!tempName_.empty()) {
        unlinkat(folder_, tempName_.c_str(), 0);
        tempName_.clear();
    }
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
}

bool TAtomicFileWriter::Write(std::string_view data)
{
    if (!result_.Ok || committed_)
        return false;
    if (Injected(TAtomicWriteStep::Write)) {
        Fail("write", ENOSPC);
        return false;
    }
    if (WriteAll(fd_, data))
        return true;
    Fail("write", errno);
    return false;
}

// The old file's access list and other attributes, read from the file itself where the saver may
// open it, else by its name in the folder.
bool TAtomicFileWriter::KeepAttributes()
{
    constexpr int kHow = O_RDONLY | kOpenOld;
    std::string refusal;
    struct stat now;
    int old = -1;
    // Not opened unless still a regular file: opening a device planted meanwhile may stir it.
    if (fstatat(folder_, name_.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(now.st_mode))
        old = openat(folder_, name_.c_str(), kHow);
    if (old >= 0) {
        refusal = KeepExtendedAttributes(old, fd_);
        close(old);
    } else {
        refusal = KeepExtendedAttributes(OpenPath(folder_, name_), fd_);
    }
    if (refusal.empty())
        return true;
    Fail("keep the access list of", refusal.c_str());
    return false;
}

// Gives the written file the name, replacing what is there or, where asked, only where nothing is.
// 0 when named, else the error.
int TAtomicFileWriter::Name()
{
    if (!options_.Replace)
        return NameAnew(fd_, folder_, tempName_, name_);
    // Named only now, whole and with its owner and permissions: nobody could open it before.
    if (tempName_.empty() && !NameTemp(fd_, folder_, tempName_))
        return errno;
    // The file stays open, and so locked, until it has its name: a save of the same file
    // starting now cannot take it for a stale one.
    return renameat(folder_, tempName_.c_str(), folder_, name_.c_str()) == 0 ? 0 : errno;
}

TWriteResult TAtomicFileWriter::Commit()
{
    if (!result_.Ok) {
        errno = error_;
        return result_;
    }
    if (committed_)
        return result_;
    if (Injected(TAtomicWriteStep::Sync)) {
        Fail("write", EIO);
        return result_;
    }
    // A file missing when the writer began may have been between another's rename and its new
    // name (FUSE first hides a file open elsewhere, then renames over it): it keeps what it has.
    if (struct stat now; !exists_ && options_.Replace &&
        fstatat(folder_, name_.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(now.st_mode)) {
        exists_ = true;
        old_ = now;
        if (!modeGiven_)
            mode_ = now.st_mode & 07777;
    }
    // The owner only now that the data is written, the permissions after: while the file was the
    // owner's and still to be written, its owner could write into it and keep it open for writing
    // once it has set-id bits of a group the owner is not in; a change of owner clears them, and
    // so does a write by a saver without root's rights.
    if (exists_) {
        // A file the saver cannot give back to its owner would become the saver's.
        GiveOwnerOf(fd_, old_);
        if (struct stat made; fstat(fd_, &made) == 0 && made.st_uid != old_.st_uid)
            return WriteInPlace();
        if (!KeepAttributes())
            return result_;
    }
    fchmod(fd_, mode_);
    if (options_.Finish) {
        if (const std::string refusal = options_.Finish(fd_); !refusal.empty()) {
            Fail("keep the permissions of", refusal.c_str());
            return result_;
        }
    }
    if (options_.Flush && fsync(fd_) != 0) {
        Fail("write", errno);
        return result_;
    }
    AtStep(TSaveStep::BeforeRename);
    // A file of one name that a save in place cut short left marked: replaced whole, its journal
    // is of no use.
    std::string replacedMark;
    if (const int old = exists_ && old_.st_nlink <= 1 ? openat(folder_, name_.c_str(), O_RDONLY | kOpenOld) : -1;
        old >= 0) {
        if (struct stat now; !(fstat(old, &now) == 0 && SameFile(now, old_) && ReadMark(old, replacedMark)))
            replacedMark.clear();
        close(old);
    }
    if (Injected(TAtomicWriteStep::Rename)) {
        Fail("replace", EACCES);
        return result_;
    }
    if (const int error = Name(); error != 0) {
        if (error == EEXIST && !options_.Replace)
            Fail("create", kExists);
        else
            Fail("replace", error);
        errno = error_;
        return result_;
    }
    tempName_.clear();
    committed_ = true;
    if (IsBusy(replacedMark))
        RemoveJournalOf(replacedMark, folder_);
    // Make the name itself durable; a failure here no longer endangers either file.
    if (options_.Flush && FlushFolder(folder_, fd_))
        AtStep(TSaveStep::FolderFlushed);
    close(fd_);  // the data is on disk (fsync above), or the caller flushes it: close reports nothing
    fd_ = -1;
    return result_;
}

static TWriteResult WriteWhole(TAtomicFileWriter& writer, std::string_view data)
{
    writer.Write(data);
    return writer.Commit();
}

TWriteResult AtomicWriteFile(const std::string& nativePath, std::string_view data)
{
    TAtomicFileWriter writer(nativePath);
    return WriteWhole(writer, data);
}

TWriteResult AtomicWriteFile(const TFileUpdateLock& lock, std::string_view data)
{
    TAtomicFileWriter writer(lock);
    return WriteWhole(writer, data);
}

void AtomicWriteFileOrRaise(const std::string& nativePath, std::string_view data)
{
    TAtomicFileWriter writer(nativePath);
    if (!writer.Ok())
        throw EFCreateError(writer.Commit().Message);
    writer.Write(data);
    TWriteResult result = writer.Commit();
    if (!result)
        throw EWriteError(result.Message);
}
