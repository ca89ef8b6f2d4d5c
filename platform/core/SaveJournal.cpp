#include "platform/core/SaveJournal.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/core/AccessList.h"
#include "platform/core/AtomicFilePaths.h"

namespace SavePaths {

namespace {

// Opening a pipe or device planted at the name must not wait for a writer, nor a device become the
// caller's terminal.
constexpr int kOpenSafely = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// The header: the mark, then the file's number, the content's length and its CRC-32, little-endian.
constexpr char kMark[8] = {'H', 'M', 'J', 'R', 'N', 'L', '1', '\n'};
constexpr off_t kHeaderSize = 32;
constexpr size_t kChunk = 1 << 16;

void PutNumber(unsigned char* at, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint64_t NumberAt(const unsigned char* at, int bytes)
{
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | at[i];
    return value;
}

bool ReadAllAt(int fd, char* into, size_t size, off_t at)
{
    while (size > 0) {
        const ssize_t n = pread(fd, into, size, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        into += n;
        size -= static_cast<size_t>(n);
        at += n;
    }
    return true;
}

// Whether the open journal is whole and made for the file numbered `target`; its content's
// length in `length`, and the content itself where `content` is given. False with errno 0 where it
// is not, else with the error that kept it from being read.
bool Whole(int journal, ino_t target, int64_t& length, std::string* content)
{
    errno = 0;
    struct stat state;
    unsigned char header[kHeaderSize];
    if (fstat(journal, &state) != 0 || !S_ISREG(state.st_mode))
        return false;
    if (state.st_size < kHeaderSize || !ReadAllAt(journal, reinterpret_cast<char*>(header), sizeof header, 0))
        return false;
    length = static_cast<int64_t>(NumberAt(header + 16, 8));
    if (std::memcmp(header, kMark, sizeof kMark) != 0 || NumberAt(header + 8, 8) != target ||
        length != state.st_size - kHeaderSize)
        return false;
    uLong crc = crc32(0, nullptr, 0);
    std::string chunk(kChunk, '\0');
    for (int64_t at = 0; at < length;) {
        const size_t n = static_cast<size_t>(std::min<int64_t>(kChunk, length - at));
        if (!ReadAllAt(journal, chunk.data(), n, kHeaderSize + at))
            return false;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(chunk.data()), static_cast<uInt>(n));
        if (content)
            content->append(chunk, 0, n);
        at += static_cast<int64_t>(n);
    }
    errno = 0;
    return crc == NumberAt(header + 24, 4);
}

// Opens the journal at its name, for reading and writing where the saver may; -1 with errno set.
int OpenJournal(int folder, const std::string& journal, bool mayBeReadOnly)
{
    const int fd = openat(folder, journal.c_str(), O_RDWR | kOpenSafely);
    if (fd >= 0 || !mayBeReadOnly || (errno != EACCES && errno != EPERM && errno != EROFS))
        return fd;
    return openat(folder, journal.c_str(), O_RDONLY | kOpenSafely);
}

// Lets into the journal, which the saver made, whom the file lets in: where the file system has no
// access lists, the file's group and mode as far as the saver may give them.
void OpenToTheFilesUsers(int journal, int target, const struct stat& state)
{
    GiveOwnerOf(journal, state);
    if (!ShareAccess(OpenPath(target), state, journal, false).empty())
        fchmod(journal, state.st_mode & 0666);
}

// Writes the content of `from` into the open file `to` from its start and cuts it there; false with
// errno set where it cannot.
bool CopyInto(int from, off_t fromAt, int64_t length, int to, off_t toAt)
{
    std::string chunk(kChunk, '\0');
    for (int64_t done = 0; done < length;) {
        const size_t n = static_cast<size_t>(std::min<int64_t>(kChunk, length - done));
        if (!ReadAllAt(from, chunk.data(), n, fromAt + done))
            return false;
        for (size_t put = 0; put < n;) {
            const ssize_t w = pwrite(to, chunk.data() + put, n - put, toAt + done + static_cast<off_t>(put));
            if (w < 0 && errno != EINTR)
                return false;
            put += w > 0 ? static_cast<size_t>(w) : 0;
        }
        done += static_cast<int64_t>(n);
    }
    return ftruncate(to, toAt + length) == 0;
}

}  // namespace

TJournal ReadJournal(int folder, const std::string& name, const struct stat& target, std::string* content, int64_t most,
                     bool* tooLong)
{
    const std::string journal = JournalName(name);
    struct stat seen;
    if (!StatAt(folder, journal, seen) || !S_ISREG(seen.st_mode) || seen.st_size == 0)
        return TJournal::None;
    const int fd = OpenJournal(folder, journal, true);
    if (fd < 0)
        return errno == ENOENT ? TJournal::None : TJournal::Unreadable;
    int64_t length = 0;
    // Its length is told before its content is read: one too long is not read.
    const bool whole = Whole(fd, target.st_ino, length, nullptr);
    const int error = errno;
    const bool fits = length <= most;
    if (tooLong)
        *tooLong = whole && !fits;
    const bool read = whole && (!content || !fits || Whole(fd, target.st_ino, length, content));
    close(fd);
    if (!read && content)
        content->clear();
    return read ? TJournal::Whole : error != 0 ? TJournal::Unreadable : TJournal::Stale;
}

int WriteJournal(int folder, const std::string& name, int target, const struct stat& targetState, int from,
                 int64_t length, std::string& error)
{
    const std::string journalName = JournalName(name);
    // One that another writer of the file made, emptied where its folder kept the others from
    // removing it, is written again; a new one is opened to the file's users before it holds
    // anything.
    int journal = OpenJournal(folder, journalName, false);
    if (journal < 0 && errno == ENOENT) {
        journal = openat(folder, journalName.c_str(), O_RDWR | O_CREAT | O_EXCL | kOpenSafely, 0600);
        if (journal >= 0)
            OpenToTheFilesUsers(journal, target, targetState);
    }
    struct stat state;
    if (journal < 0 || fstat(journal, &state) != 0 || !S_ISREG(state.st_mode)) {
        error = journal < 0 ? std::strerror(errno) : "It is not a plain file.";
        if (journal >= 0)
            close(journal);
        error = "Its journal " + journalName + " cannot be written: " + error;
        return -1;
    }
    // The content, then the header that makes it whole: one cut short before the header is on disk
    // is partial.
    unsigned char header[kHeaderSize] = {};
    std::memcpy(header, kMark, sizeof kMark);
    PutNumber(header + 8, targetState.st_ino, 8);
    PutNumber(header + 16, static_cast<uint64_t>(length), 8);
    uLong crc = crc32(0, nullptr, 0);
    std::string chunk(kChunk, '\0');
    bool written = ftruncate(journal, 0) == 0;
    for (int64_t at = 0; written && at < length;) {
        const size_t n = static_cast<size_t>(std::min<int64_t>(kChunk, length - at));
        written = ReadAllAt(from, chunk.data(), n, at) &&
            pwrite(journal, chunk.data(), n, kHeaderSize + at) == static_cast<ssize_t>(n);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(chunk.data()), static_cast<uInt>(n));
        at += static_cast<int64_t>(n);
    }
    PutNumber(header + 24, crc, 4);
    if (written)
        written = fdatasync(journal) == 0;
    if (written)
        AtStep(TSaveStep::JournalWritten);
    if (written)
        written = pwrite(journal, header, sizeof header, 0) == static_cast<ssize_t>(sizeof header) &&
            fsync(journal) == 0 && FlushFolder(folder, journal);
    if (written)
        return journal;
    error = "Its journal " + journalName + " cannot be written: " + std::strerror(errno);
    // Emptied, it is none: the file was not touched.
    DropJournal(folder, name, journal);
    close(journal);
    return -1;
}

void DropJournal(int folder, const std::string& name, int journal)
{
    // Emptied first: where its name cannot go, an empty journal is none.
    if (ftruncate(journal, 0) == 0)
        fdatasync(journal);
    const std::string journalName = JournalName(name);
    struct stat held, named;
    if (StatOpen(journal, held) && StatAt(folder, journalName, named) && SameFile(held, named))
        unlinkat(folder, journalName.c_str(), 0);
}

std::string FinishCutShortSave(int folder, const std::string& name, const std::string& shown)
{
    const std::string journalName = JournalName(name);
    struct stat seen;
    if (!StatAt(folder, journalName, seen) || !S_ISREG(seen.st_mode) || seen.st_size == 0)
        return "";
    const std::string cannot = "A save of it was cut short, and its journal " + ShownBeside(shown, journalName);
    const int journal = OpenJournal(folder, journalName, true);
    if (journal < 0)
        return errno == ENOENT ? "" : cannot + " cannot be opened: " + std::strerror(errno) + ".";
    const bool mayEmpty = (fcntl(journal, F_GETFL) & O_ACCMODE) == O_RDWR;
    struct stat state;
    int64_t length = 0;
    const bool whole =
        StatAt(folder, name, state) && S_ISREG(state.st_mode) && Whole(journal, state.st_ino, length, nullptr);
    std::string failure;
    // Written in only where it can be emptied after: left whole, it would undo the saves to come.
    if (whole && !mayEmpty) {
        failure = cannot + " cannot be emptied.";
    } else if (whole) {
        const int target = openat(folder, name.c_str(), O_RDWR | kOpenSafely);
        struct stat opened;
        if (target < 0 || fstat(target, &opened) != 0 || !SameFile(opened, state)) {
            failure = cannot + " cannot be written into it: " + std::strerror(target < 0 ? errno : ESTALE) + ".";
        } else if (LockWithin(target, LOCK_EX, PatienceEnds()) == TLockWait::TimedOut) {
            // Its readers wait meanwhile, and see it whole once it is.
            failure = cannot + " is kept: the file is being read by another program.";
        } else if (!CopyInto(journal, kHeaderSize, length, target, 0) || fsync(target) != 0) {
            failure = cannot + " cannot be written into it: " + std::strerror(errno) + ".";
        }
        if (target >= 0)
            close(target);
    }
    // Written in, partial, or made for a file no longer at the name: it goes, where it may.
    if (failure.empty() && mayEmpty)
        DropJournal(folder, name, journal);
    close(journal);
    return failure;
}

}  // namespace SavePaths
