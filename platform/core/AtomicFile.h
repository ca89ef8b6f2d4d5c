#pragma once
// Every file the program writes goes through here: the data goes to a temporary file in the
// same folder, every write is checked, the file is flushed to disk and then renamed over the
// old one. A failure at any step removes the temporary file and leaves the old file as it was.
// Only a missing or a regular, writable file is written: a pipe, a device, a folder or a file
// set read-only (no write permission for anyone, root included) is refused and left alone.
// A symbolic link is followed to the file it leads to, made there where it is missing; a loop
// of links is refused. The new file keeps the old one's permissions, and its owner and group
// where the saver may set them. A file with several names (hard links) is replaced at the name
// saved, the others keeping the old content: writing it in place would leave every name with a
// torn file when a save is cut short.
// A temporary file is named ".~hanmud-save-" and twelve letters or digits, then "~", whatever the
// length of the file's own name; one that a killed save left is removed by a later save in its
// folder once it is a minute old. No other file is ever removed.

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

// A file written in pieces; nothing replaces the old file until Commit succeeds. Dropping the
// writer without committing leaves the old file untouched.
class TAtomicFileWriter {
public:
    explicit TAtomicFileWriter(std::string nativePath);
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

    // False once any step has failed; later writes are ignored.
    bool Write(std::string_view data);
    bool Ok() const { return result_.Ok; }
    // Flushes, renames over the target and reports the first failure of the whole write.
    TWriteResult Commit();

private:
    void Fail(const char* what, int error);
    void Fail(const char* what, const char* reason);
    void Discard();

    std::string path_;
    std::string tempPath_;
    int fd_ = -1;
    bool committed_ = false;
    TWriteResult result_;
};

// Keeps other processes, and other objects of this one, from changing a file between this one's
// reading it and its replacing it: held from before the read until the new file has its name.
// Waits as long as another holds it, so a thread holding it never takes it again. The lock
// lives in a hidden file beside the file the name leads to (".~hanmud-lock-" and a hash of its
// name, then "~"), removed when the lock is let go. Where no lock can be had (the folder takes
// no new file, the file system has no locks, or something other than a regular file was planted
// at the lock's name, which is never opened or waited on) Held is false and Message says why:
// the caller must not save.
class TFileUpdateLock {
public:
    explicit TFileUpdateLock(const std::string& nativePath);
    ~TFileUpdateLock();
    TFileUpdateLock(const TFileUpdateLock&) = delete;
    TFileUpdateLock& operator=(const TFileUpdateLock&) = delete;

    bool Held() const { return fd_ >= 0; }
    // Why the lock is not held, for the user (cp949); empty when it is.
    const AnsiString& Message() const { return message_; }

private:
    void Refuse(const std::string& file, const std::string& reason);

    std::string path_;
    int fd_ = -1;
    AnsiString message_;
};

// For tests: false makes temporary files by name and locks them after, as on a file system that
// cannot make a file without a name.
void SetUnnamedTemporaryFiles(bool allowed);

// For tests: the next atomic write fails at the given step, once.
enum class TAtomicWriteStep { None, Create, Write, Sync, Rename };
void InjectAtomicWriteFailure(TAtomicWriteStep step);
