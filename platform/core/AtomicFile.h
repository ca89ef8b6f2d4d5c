#pragma once
// Every file the program writes goes through here: the data goes to a temporary file in the
// same folder, every write is checked, the file is flushed to disk and then renamed over the
// old one. A failure at any step removes the temporary file and leaves the old file as it was.
// Only a missing or a regular, writable file is written: a pipe, a device, a folder or a file
// set read-only (no write permission for anyone, root included) is refused and left alone.
// A symbolic link is followed to the file it leads to, made there where it is missing; a loop
// of links is refused, and so is a link another user put in a sticky folder that others may
// write, as the last name or as a folder of the path (the saver's own and the folder owner's are
// followed there). The path is walked a folder at a time and its folder opened once: the file is
// made, written and named relative to it, so a folder swapped for a link after the check is not
// followed. The new file keeps the old one's permissions, set-id bits included, its access
// list and the extended attributes the saver may set, and its owner and group, these given only
// once the data is written; where the file system can make a file without a name, the new one is
// named only then, so nobody can open it before.
// A file the saver may write but cannot give back to its owner (the saver is not root, and the
// file is another's) is not replaced, which would make it the saver's: it is written in place
// under its update lock, keeping its owner, group, permissions and attributes, and locked itself
// meanwhile, so that every other write in place of it, by whatever name, waits. Its new content
// goes first, whole and on disk, to a journal beside it, and the file is marked as being written
// before it is touched (SaveJournal.h): the program's loaders (ReadSavedFile) read its old content
// or its new, never a mixture, and a save cut short is finished by whoever next reads or saves it,
// with nobody's help. Where the file system keeps no extended attributes, or keeps no lock of a
// file across its names (FUSE) and the file has several, such a save is refused.
// A file with several names (hard links) is replaced at the name saved, the others keeping the
// old content: writing it in place would leave every name with a torn file when a save is cut
// short. (One that must be written in place changes at every name.)
// A temporary file is named ".~hanmud-save-" and twelve letters or digits, then "~", whatever the
// length of the file's own name; one that a killed save left is removed once it is a minute old
// by a later save in its folder: a process's first there, or one ten minutes after its last look
// (only that name, where the file has others).
// No other file is ever removed but a lock file nobody holds (see TFileUpdateLock) and a journal
// no file names any more. Where the folder may be entered but not read, its names are made durable
// by flushing its file system.
// The writer is in AtomicFile.cpp (writing in place in AtomicFileInPlace.cpp, its journal in
// SaveJournal), the update lock in AtomicFileLock.cpp, the loaders' reads in AtomicFileRead.cpp,
// and what they share (following links, the hidden files' names, the clean-up) in AtomicFilePaths;
// ExtendedAttributes keeps attributes, and AccessList lets users into the files made beside a
// saved file.

#include <sys/stat.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/core/AnsiString.h"

struct TWriteResult {
    bool Ok = true;
    AnsiString Message;  // what failed, for the user (cp949); empty on success
    explicit operator bool() const { return Ok; }
};

class TFileUpdateLock;
enum class TFileRead;  // Streams.h

// Writes a whole file, data as bytes. nativePath is a native (UTF-8) path.
TWriteResult AtomicWriteFile(const std::string& nativePath, std::string_view data);
// The same for the file whose update lock the caller holds, in the folder the lock found.
TWriteResult AtomicWriteFile(const TFileUpdateLock& lock, std::string_view data);
// The same, raising EFCreateError when the file cannot be created and EWriteError when a
// later step fails.
void AtomicWriteFileOrRaise(const std::string& nativePath, std::string_view data);

// A saved file read whole as the program's loaders read it, bounded as ReadFileUpTo (Streams.h):
// a save written in place is seen before or after, never half done, and one cut short is read from
// its journal and finished where the reader may write the file (SaveJournal.h).
TFileRead ReadSavedFile(const std::string& nativePath, int64_t most, std::string& data);
// For a reader that reads a saved file a piece at a time: the file's mark of saves in place (empty
// where it has none). A piece read between two looks that find the same mark holds no part of
// such a save; a file whose mark says it is being written is to be read by ReadSavedFile.
std::string SavedFileMark(int fd);
bool SavedFileBeingWritten(const std::string& mark);

// How a writer commits its file.
struct TAtomicWriteOptions {
    // False: neither the file nor its folder is flushed to disk at Commit; the caller flushes
    // once (syncfs on the folder) before it relies on the data, as a copy of many files does. A
    // file written in place is flushed all the same, before its old content's copy goes.
    bool Flush = true;
    // False: an entry at the name, one made meanwhile included, fails Commit (EEXIST, "It
    // already exists.") and nothing is replaced (renameat2 RENAME_NOREPLACE, or link+unlink where
    // the file system lacks it).
    bool Replace = true;
    // The file's path as messages show it (native, UTF-8); empty: the path or name written.
    std::string ShownPath;
    // Run on the written file, open as the descriptor given, once it has its owner, attributes
    // and mode and before it is flushed and named: a caller's last changes to it (a copy takes its
    // source's attributes and time). A non-empty result is why they could not be made: Commit
    // fails with it ("Cannot keep the permissions of file ..."), and nothing is replaced. A file
    // written in place keeps its own attributes: it runs on the new content before the file is
    // touched, and a refusal leaves the file as it was.
    std::function<std::string(int fd)> Finish = {};
};

// A file written in pieces; nothing replaces the old file until Commit succeeds. Dropping the
// writer without committing leaves the old file untouched.
class TAtomicFileWriter {
public:
    // The path is followed as the header says; its folder is then opened once, and the file made,
    // written and named relative to it, as by the folder form. A file to be written in place is
    // locked for the write, waiting for any holder as another process would: a caller that holds
    // the file's lock writes through it (the lock forms), never by the path.
    explicit TAtomicFileWriter(std::string nativePath, TAtomicWriteOptions options = {});
    // Writes the name `name` (one component, no "/") in the open folder `folder`, a descriptor the
    // caller keeps open until Commit returns. A symbolic link at that name is replaced as the link
    // itself, never followed; everything else as for a path: a read-only or non-regular file is
    // refused, the old file's mode, owner, group, access list and attributes are kept.
    TAtomicFileWriter(int folder, std::string name, TAtomicWriteOptions options = {});
    // Writes the file whose update lock the caller holds (or that the lock passed over), in the
    // folder the lock found, as the folder form does; fails with the lock's Message where the lock
    // does not let the caller save. The lock must outlive the writer.
    explicit TAtomicFileWriter(const TFileUpdateLock& lock, TAtomicWriteOptions options = {});
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

    // False once any step has failed; later writes are ignored.
    bool Write(std::string_view data);
    bool Ok() const { return result_.Ok; }
    // The permissions the file gets at Commit in place of the old file's (or a new file's usual
    // ones); a file written in place keeps its own. Until then the data is readable by its writer
    // alone.
    void SetMode(mode_t mode)
    {
        mode_ = mode & 07777;
        modeGiven_ = true;
    }
    // Flushes (unless asked not to), names the file and reports the first failure of the whole
    // write, errno then set to the system's error of it (EEXIST where a file not to be replaced
    // was found at the name; 0 where the system reported none).
    TWriteResult Commit();

private:
    void Open();
    bool KeepAttributes();
    int Name();
    // AtomicFileInPlace.cpp: the file written where it is, its old content kept meanwhile.
    TWriteResult WriteInPlace();
    void Fail(const char* what, int error);
    void Fail(const char* what, const char* reason);
    void FailWith(const AnsiString& message);
    void Discard();

    TAtomicWriteOptions options_;
    int folder_ = -1;
    bool ownsFolder_ = false;
    std::string name_;
    const TFileUpdateLock* lock_ = nullptr;  // the caller's lock of the file, where it gave one
    std::string tempName_;                   // the temporary file's name in the folder; empty while it has none
    int fd_ = -1;
    bool exists_ = false;
    struct stat old_ {};      // the file replaced, whose owner and attributes the new one gets
    mode_t mode_ = 0;         // given at Commit: a write by the saver would clear its set-id bits
    bool modeGiven_ = false;  // by SetMode
    bool committed_ = false;
    TWriteResult result_;
    int error_ = 0;  // the system's error of the first failure, 0 where it had none
};

// Keeps other processes, threads and objects from changing a file between this one's reading it
// and its writing it: held from before the read until the new file has its name. The path is
// followed as the writer follows it and its folder opened once; the save then reads and writes the
// file there, through the lock (Read, AtomicWriteFile, TAtomicFileWriter), not by its path again.
// The lock is a whole-file lock (flock) on a hidden file beside the saved file (".~hanmud-lock-"
// and a hash of its name, then "~"); the system drops it when its holder ends, however it ends. A
// lock file is removed by its holder alone, while it still holds it, and never taken over: a saver
// that finds one opens it and waits, and once it has the lock checks that the name still leads to
// the file locked, else looks again; it is judged by that alone, never by its count of names. So
// one that a killed save left is locked and removed by the next saver. A lock file is made open to
// everyone who may write the saved file (whom its mode or access list lets write it, its owner and
// group; for a file still to be made, whom the folder lets write), to them alone where the file
// system can say so, and named only where nothing has the name. Only an empty file at the name is
// ever removed: another's file linked there is locked as a lock file and left.
// What is at the lock's name and cannot be locked (a node that is no plain file, a file the saver
// may not open or lock: another's lock file it is not let into, or something planted) is waited for
// as a held lock is, and refuses the save once the patience is spent, naming it and its owner: a
// save never goes on without the lock beside savers who hold it.
// The whole wait is bounded by kLockPatience: a save that cannot have the lock within it fails,
// Message saying the file is being saved by another program. A holder that another waited for lets
// it take the lock before its own program goes on, so that one saving in a loop keeps nobody out.
// What cannot be locked is passed over: a folder where no lock file can be made, a file system
// without locks. Held is then false but MaySave true: the caller saves as a plain safe save. Only
// where MaySave is false (a path refused, the patience spent, something in the way) must it not.
class TFileUpdateLock {
public:
    explicit TFileUpdateLock(const std::string& nativePath);
    // The lock of the name in the open folder (shown in messages as `shown`).
    TFileUpdateLock(int folder, std::string name, std::string shown);
    ~TFileUpdateLock();
    TFileUpdateLock(const TFileUpdateLock&) = delete;
    TFileUpdateLock& operator=(const TFileUpdateLock&) = delete;

    bool Held() const { return fd_ >= 0; }
    // Whether the caller may save: the lock is held, or passed over.
    bool MaySave() const { return Held() || passedOver_; }
    // Why the caller may not save, for the user (cp949); empty when it may.
    const AnsiString& Message() const { return message_; }
    // The saved file's folder, open while the lock lives (-1 where the path was refused), its name
    // there, and its path as messages show it.
    int Folder() const { return folder_; }
    const std::string& Name() const { return name_; }
    const std::string& ShownPath() const { return shown_; }
    // When the save's patience, counted from the wait for this lock, is spent.
    std::chrono::steady_clock::time_point Deadline() const { return deadline_; }
    // The saved file's bytes, read in the lock's folder (a missing file reads as none); false,
    // `data` empty, where it is there and cannot be read whole or is not a regular file.
    bool Read(std::string& data) const;
    // The same, bounded as ReadFileUpTo (Streams.h) bounds a read: nothing but a regular file is
    // opened, and one of more than `most` bytes is TooLarge, told by its size before it is read.
    TFileRead ReadUpTo(int64_t most, std::string& data) const;

private:
    void Acquire();
    void Release();
    void Refuse(const std::string& reason);

    int folder_ = -1;
    std::string name_;      // the saved file's
    std::string shown_;     // the saved file's path as messages show it
    std::string lockName_;  // the lock file's, in the folder
    std::chrono::steady_clock::time_point deadline_{};
    int fd_ = -1;
    bool passedOver_ = false;
    AnsiString message_;
};

// How long a save waits in all for the lock of its file.
constexpr std::chrono::milliseconds kLockPatience{3000};
// For tests: another patience than kLockPatience.
void SetLockPatience(std::chrono::milliseconds patience);

// For tests: false makes temporary files by name and locks them after, as on a file system that
// cannot make a file without a name.
void SetUnnamedTemporaryFiles(bool allowed);

// For tests: false makes every file's count of names read 0, as some file systems report for a
// file that is open.
void SetNamesOfOpenFilesCounted(bool counted);

// For tests: run, given the folder's name, each time the walk of a path has looked at one of its
// folders and is about to enter it; empty: nothing.
void SetBeforeEnteringFolder(std::function<void(const std::string& name)> hook);

// For tests: false makes every whole-file lock fail, as on a file system without them.
void SetWholeFileLocks(bool allowed);

// For tests: false names files without replacing by a link and an unlink, as on a file system
// whose rename cannot refuse to replace.
void SetRenamesWithoutReplacing(bool allowed);

// For tests: the steps of a save between two of its calls to the system, at which the hook set
// is run (empty: nothing), so that a case may end the saver there.
enum class TSaveStep {
    LockMade,        // a lock file made and locked, before it has the lock's name
    LockTaken,       // the lock held and its name checked
    LockRemoved,     // the lock file's name removed, before the lock is let go
    TempMade,        // the writer's new file made, before its data is written
    BeforeRename,    // the new file whole and flushed, before it has the file's name
    JournalWritten,  // a journal's content written, before the header that makes it whole
    JournalKept,     // the journal whole and on disk, before the file is marked as being written
    InPlaceMarked,   // the file marked, before its new content is written in place
    InPlaceWritten,  // the new content written in place, before it is flushed
    InPlaceFlushed,  // the file written in place on disk, before it is marked done
    InPlaceDone,     // the file marked done, before its journal goes
    Linked,          // a file named by a link has both names, before the temporary one goes
    FolderFlushed,   // the folder of a file named anew made durable
};
void SetAtSaveStep(std::function<void(TSaveStep)> hook);

// For tests: the next atomic write fails at the given step, once. InPlace: a write in place, once
// its new content is in and before it is flushed.
enum class TAtomicWriteStep { None, Create, Write, Sync, Rename, InPlace };
void InjectAtomicWriteFailure(TAtomicWriteStep step);
