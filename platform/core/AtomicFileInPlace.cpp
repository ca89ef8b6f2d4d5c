// The writer's other way to commit: a file the saver may write but cannot give back to its owner
// is written where it is, so that it stays its owner's, with its group, permissions and
// attributes. Its update lock is held meanwhile (the caller's, or taken here), and the file itself
// is locked while it changes, which keeps out every other writer in place, whatever name it came
// by. The new content goes to a journal first and the file is marked as being written before it is
// touched (SaveJournal.h), so that its readers never see it half done and a save cut short is
// finished by whoever next reads or saves it.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/core/AtomicFile.h"
#include "platform/core/AtomicFilePaths.h"
#include "platform/core/SaveJournal.h"

using namespace SavePaths;

// The number a FUSE file system gives as its kind: its locks are kept for each name of a file apart.
static constexpr long kFuseFileSystem = 0x65735546;

TWriteResult TAtomicFileWriter::WriteInPlace()
{
    // The caller's last changes go into the new content first; the file keeps its own attributes.
    if (options_.Finish) {
        if (const std::string refusal = options_.Finish(fd_); !refusal.empty()) {
            Fail("keep the permissions of", refusal.c_str());
            errno = error_;
            return result_;
        }
    }
    std::unique_ptr<TFileUpdateLock> own;
    if (!lock_) {
        own = std::make_unique<TFileUpdateLock>(folder_, name_, options_.ShownPath);
        if (!own->MaySave()) {
            FailWith(own->Message());
            return result_;
        }
    }
    const int target = openat(folder_, name_.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    TLockWait locked = TLockWait::NoLocks;
    struct stat now;
    struct statfs system;
    const off_t length = lseek(fd_, 0, SEEK_END);
    if (target < 0 || fstat(target, &now) != 0 || fstatfs(target, &system) != 0 || length < 0)
        Fail("write", errno);
    else if (!S_ISREG(now.st_mode))
        Fail("write", "It is not a regular file.");
    else if (system.f_type == kFuseFileSystem && now.st_nlink > 1)
        Fail("write", "It has other names, and its file system keeps no lock of a file across its names.");
    // A write by another than its owner clears them, and nobody else may set them again.
    else if ((now.st_mode & S_ISUID) || (now.st_mode & (S_ISGID | S_IXGRP)) == (S_ISGID | S_IXGRP))
        Fail("write", "It has set-id bits, which a write by another user than its owner clears.");
    // Within what is left of the save's patience; a reader of the file may hold its lock too.
    else if (locked = LockWithin(target, LOCK_EX, (lock_ ? lock_ : own.get())->Deadline());
             locked == TLockWait::TimedOut)
        Fail("write", "It is being saved by another program, or locked by one that reads it.");
    // Room for the new content is had before the file is touched, where the file system can say:
    // one that has none fails the save with the file as it was. A content with holes keeps them.
    else if (struct stat data; fstat(fd_, &data) == 0 && data.st_blocks * 512 >= length &&
             fallocate(target, FALLOC_FL_KEEP_SIZE, 0, length) != 0 && (errno == ENOSPC || errno == EDQUOT))
        Fail("write", errno);
    TInPlaceSave save(folder_, target, now);
    if (result_.Ok) {
        if (const std::string refusal = save.Begin(fd_, length); !refusal.empty())
            Fail("write", refusal.c_str());
    }
    if (result_.Ok) {
        AtStep(TSaveStep::InPlaceMarked);
        std::string failure;
        if (!save.WriteFile(fd_, length))
            failure = std::strerror(errno);
        AtStep(TSaveStep::InPlaceWritten);
        if (failure.empty() && Injected(TAtomicWriteStep::InPlace))
            failure = std::strerror(ENOSPC);
        if (failure.empty() && fsync(target) != 0)
            failure = std::strerror(errno);
        if (failure.empty()) {
            AtStep(TSaveStep::InPlaceFlushed);
            // Without the file's lock another writer in place may be at work: what its mark named
            // may be its journal.
            save.End(locked == TLockWait::Taken);
        } else {
            // The file stays marked: readers take its journal's content for its own, and whoever
            // next reads or saves it writes that in.
            Fail("write",
                 (failure + ". Its new content is kept in " + ShownBeside(options_.ShownPath, save.JournalName()) +
                  " and goes into it when it is next read or saved.")
                     .c_str());
        }
    }
    if (target >= 0)
        close(target);
    if (result_.Ok) {
        Discard();
        committed_ = true;
    }
    errno = error_;
    return result_;
}
