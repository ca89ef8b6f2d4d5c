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
// list and the extended attributes the saver may set, and its owner and group where the saver may
// set them, these given only once the data is written; where the file system can make a file
// without a name, the new one is named only then, so nobody can open it before.
// A file with several names (hard links) is replaced at the name saved, the others keeping the
// old content: writing it in place would leave every name with a torn file when a save is cut
// short.
// A temporary file is named ".~hanmud-save-" and twelve letters or digits, then "~", whatever the
// length of the file's own name; one that a killed save left is removed once it is a minute old
// by a later save in its folder: a process's first there, or one ten minutes after its last look.
// No other file is ever removed but a lock file a killed save left (see TFileUpdateLock).
// The writer is in AtomicFile.cpp, the update lock in AtomicFileLock.cpp, and what both share
// (following links, the hidden files' names, the clean-up) in AtomicFilePaths; the lock reads the
// system's list of locks through SystemLocks, the writer keeps attributes through
// ExtendedAttributes.

#include <sys/stat.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "platform/core/AnsiString.h"

struct TWriteResult {
    bool Ok = true;
    AnsiString Message;  // what failed, for the user (cp949); empty on success
    explicit operator bool() const { return Ok; }
};

// Writes a whole file, data as bytes. nativePath is a native (UTF-8) path.
TWriteResult AtomicWriteFile(const std::string& nativePath, std::string_view data);
// The same, raising EFCreateError when the file cannot be created and EWriteError when a
// later step fails.
void AtomicWriteFileOrRaise(const std::string& nativePath, std::string_view data);

// How a writer commits its file.
struct TAtomicWriteOptions {
    // False: neither the file nor its folder is flushed to disk at Commit; the caller flushes
    // once (syncfs on the folder) before it relies on the data, as a copy of many files does.
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
    // fails with it ("Cannot keep the permissions of file ..."), and nothing is replaced.
    std::function<std::string(int fd)> Finish = {};
};

// A file written in pieces; nothing replaces the old file until Commit succeeds. Dropping the
// writer without committing leaves the old file untouched.
class TAtomicFileWriter {
public:
    // The path is followed as the header says; its folder is then opened once, and the file made,
    // written and named relative to it, as by the folder form.
    explicit TAtomicFileWriter(std::string nativePath, TAtomicWriteOptions options = {});
    // Writes the name `name` (one component, no "/") in the open folder `folder`, a descriptor the
    // caller keeps open until Commit returns. A symbolic link at that name is replaced as the link
    // itself, never followed; everything else as for a path: a read-only or non-regular file is
    // refused, the old file's mode, owner, group, access list and attributes are kept.
    TAtomicFileWriter(int folder, std::string name, TAtomicWriteOptions options = {});
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

    // False once any step has failed; later writes are ignored.
    bool Write(std::string_view data);
    bool Ok() const { return result_.Ok; }
    // The permissions the file gets at Commit in place of the old file's (or a new file's usual
    // ones). Until then the data is readable by its writer alone.
    void SetMode(mode_t mode) { mode_ = mode & 07777; }
    // Flushes (unless asked not to), names the file and reports the first failure of the whole
    // write, errno then set to the system's error of it (EEXIST where a file not to be replaced
    // was found at the name; 0 where the system reported none).
    TWriteResult Commit();

private:
    void Open();
    bool KeepAttributes();
    int Name();
    void Fail(const char* what, int error);
    void Fail(const char* what, const char* reason);
    void Discard();

    TAtomicWriteOptions options_;
    int folder_ = -1;
    bool ownsFolder_ = false;
    std::string name_;
    std::string tempName_;  // the temporary file's name in the folder; empty while it has none
    int fd_ = -1;
    bool exists_ = false;
    struct stat old_ {};  // the file replaced, whose owner and attributes the new one gets
    mode_t mode_ = 0;     // given at Commit: a write by the saver would clear its set-id bits
    bool committed_ = false;
    TWriteResult result_;
    int error_ = 0;  // the system's error of the first failure, 0 where it had none
};

// Keeps other processes, and other objects of this one, from changing a file between this one's
// reading it and its replacing it: held from before the read until the new file has its name.
// The lock lives in a hidden file beside the file the name leads to (".~hanmud-lock-" and a hash
// of its name, then "~"), in the folder opened once as the writer opens it; the file appears there
// already locked and made so that only those who may write the file can open it, and is removed
// when the lock is let go.
// The lock only ever helps. A save waits while a process holds a lock file that one who may write
// the file made and only such may open, as long as savers let it go in turn, but never
// kLockPatience on end for one holder, the reading of the system's list of locks included,
// whatever locks other users hold: a holder that never lets go (a stalled program, the saver
// itself), or a lock the list cannot show free in time, makes the save fail, Message saying the
// file is being saved by another program. A lock file nobody holds (a killed save's) is taken
// over: locked where the saver may open it, else swapped for a new one where the saver may. A
// lock file that changes under the saver is looked at again, however often, within the patience.
// Anything else at the lock's name (a lock file of a user who may not write the file, or that
// others may open, swapped out where the saver may; a file with a second name, a pipe, a device,
// a folder or a link, never opened or changed), and a folder or file system where no lock can be
// had, is passed over: Held is false but MaySave is true, and the caller saves as a plain safe
// save. Only where MaySave is false (a link not followed, a save that waited its patience) must
// the caller not save; Message says why.
class TFileUpdateLock {
public:
    explicit TFileUpdateLock(const std::string& nativePath);
    ~TFileUpdateLock();
    TFileUpdateLock(const TFileUpdateLock&) = delete;
    TFileUpdateLock& operator=(const TFileUpdateLock&) = delete;

    bool Held() const { return fd_ >= 0; }
    // Whether the caller may save: the lock is held, or passed over.
    bool MaySave() const { return Held() || passedOver_; }
    // Why the caller may not save, for the user (cp949); empty when it may.
    const AnsiString& Message() const { return message_; }

private:
    void Refuse(const std::string& file, const std::string& reason);

    int folder_ = -1;   // the saved file's folder, opened once
    std::string name_;  // the lock file's name in it
    int fd_ = -1;
    bool passedOver_ = false;
    AnsiString message_;
};

// How long a save waits for a lock that no holder lets go.
constexpr std::chrono::milliseconds kLockPatience{3000};
// For tests: another patience than kLockPatience.
void SetLockPatience(std::chrono::milliseconds patience);

// For tests: false makes temporary files by name and locks them after, as on a file system that
// cannot make a file without a name.
void SetUnnamedTemporaryFiles(bool allowed);

// For tests: false makes every file's count of names read 0, as some file systems report for a
// file that is open.
void SetNamesOfOpenFilesCounted(bool counted);

// For tests: the next atomic write fails at the given step, once.
enum class TAtomicWriteStep { None, Create, Write, Sync, Rename };
void InjectAtomicWriteFailure(TAtomicWriteStep step);
