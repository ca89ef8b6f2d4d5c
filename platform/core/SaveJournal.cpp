#include "platform/core/SaveJournal.h"

#include <dirent.h>
#include <fcntl.h>
#include <nettle/sha2.h>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "platform/core/AccessList.h"
#include "platform/core/AtomicFilePaths.h"

namespace SavePaths {

namespace {

constexpr const char* kMarkName = "user.hanmud.save";
constexpr std::string_view kBusy = "busy ", kDone = "done ";
// Opening a pipe or device planted at a name must not wait for a writer, nor a device become the
// caller's terminal.
constexpr int kOpenSafely = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// The journal's header: a mark, the content's length and the number of the file it was made for
// (which tells the clean-up whose journal it is).
constexpr char kHeaderMark[8] = {'H', 'M', 'J', 'R', 'N', 'L', '3', '\n'};
constexpr off_t kHeaderSize = 24;
constexpr size_t kTokenBytes = 16;
constexpr size_t kChunk = 1 << 16;

std::string Hex(const unsigned char* bytes, size_t size)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (size_t i = 0; i < size; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 15];
    }
    return hex;
}

std::string RandomHex(size_t size)
{
    static thread_local std::random_device random;
    std::vector<unsigned char> bytes(size);
    for (unsigned char& byte : bytes)
        byte = static_cast<unsigned char>(random());
    return Hex(bytes.data(), size);
}

// SHA-256 of a content given a piece at a time.
class TDigest {
public:
    TDigest() { sha256_init(&context_); }
    void Add(const char* bytes, size_t size)
    {
        sha256_update(&context_, size, reinterpret_cast<const uint8_t*>(bytes));
    }
    std::string Hex()
    {
        uint8_t digest[SHA256_DIGEST_SIZE];
        sha256_digest(&context_, sizeof digest, digest);
        return SavePaths::Hex(digest, sizeof digest);
    }

private:
    sha256_ctx context_;
};

void PutNumber(unsigned char* at, uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint64_t NumberAt(const unsigned char* at)
{
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = value << 8 | at[i];
    return value;
}

// Reads or writes (as `io`, pread or pwrite, does) all `size` bytes at `at`; false where it cannot.
template <typename Io, typename Bytes>
bool AllAt(Io io, int fd, Bytes* bytes, size_t size, off_t at)
{
    while (size > 0) {
        const ssize_t n = io(fd, bytes, size, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        size -= static_cast<size_t>(n);
        at += n;
    }
    return true;
}

bool ReadAllAt(int fd, char* into, size_t size, off_t at) { return AllAt(pread, fd, into, size, at); }

bool WriteAllAt(int fd, const char* from, size_t size, off_t at) { return AllAt(pwrite, fd, from, size, at); }

// Writes `length` bytes, a chunk at a time as `chunkAt` gives them (null: it cannot), into the open
// file `to` from `at`, which holds nothing there (a new file, or one cut at `at`): runs of zeros
// are left as holes, so that a sparse content costs no more than its data. `each`, where given,
// sees every chunk. False with errno set where it cannot.
bool WriteWithHoles(int to, off_t at, int64_t length, const std::function<const char*(int64_t from, size_t n)>& chunkAt,
                    const std::function<void(const char*, size_t)>& each = {})
{
    for (int64_t done = 0; done < length;) {
        const size_t n = static_cast<size_t>(std::min<int64_t>(kChunk, length - done));
        const char* chunk = chunkAt(done, n);
        if (!chunk)
            return false;
        if (each)
            each(chunk, n);
        if (std::any_of(chunk, chunk + n, [](char c) { return c != 0; }) && !WriteAllAt(to, chunk, n, at + done))
            return false;
        done += static_cast<int64_t>(n);
    }
    return ftruncate(to, at + length) == 0;
}

// The chunks of an open file from `start`, read into `buffer`.
std::function<const char*(int64_t, size_t)> ChunksOf(int fd, off_t start, std::string& buffer)
{
    buffer.resize(kChunk);
    return [fd, start, &buffer](int64_t from, size_t n) {
        return ReadAllAt(fd, buffer.data(), n, start + from) ? buffer.data() : nullptr;
    };
}

// A busy mark's parts.
struct TBusy {
    std::string Token, Digest;
    int64_t Length = 0;
    std::string Journal, Folder;
};

bool ParseBusy(const std::string& mark, TBusy& busy)
{
    if (!IsBusy(mark))
        return false;
    std::vector<size_t> spaces;
    for (size_t at = kBusy.size(); spaces.size() < 4 && (at = mark.find(' ', at)) != std::string::npos; ++at)
        spaces.push_back(at);
    if (spaces.size() < 4)
        return false;
    const auto part = [&](size_t from, size_t to) { return mark.substr(from, to - from); };
    busy.Token = part(kBusy.size(), spaces[0]);
    busy.Digest = part(spaces[0] + 1, spaces[1]);
    const std::string length = part(spaces[1] + 1, spaces[2]);
    busy.Journal = part(spaces[2] + 1, spaces[3]);
    busy.Folder = mark.substr(spaces[3] + 1);
    if (length.empty() || length.size() > 18 || !std::all_of(length.begin(), length.end(), ::isdigit))
        return false;
    busy.Length = std::stoll(length);
    return busy.Token.size() == 2 * kTokenBytes && busy.Digest.size() == 2 * SHA256_DIGEST_SIZE &&
        !busy.Journal.empty() && busy.Journal.find('/') == std::string::npos;
}

// Reads `length` bytes of the open file from `start`, where they have the busy mark's digest.
bool ReadCommitted(int fd, off_t start, const TBusy& busy, int64_t most, std::string& content, bool& tooLong)
{
    if (busy.Length > most) {
        tooLong = true;
        return false;
    }
    content.resize(static_cast<size_t>(busy.Length));
    TDigest digest;
    if (!ReadAllAt(fd, content.data(), content.size(), start))
        return false;
    digest.Add(content.data(), content.size());
    return digest.Hex() == busy.Digest;
}

// Where a busy mark's journal may be: beside the file as the reader reached it, then in the folder
// the mark names. What is found at a name counts only with the mark's digest.
std::vector<std::string> JournalPlaces(const TBusy& busy, int folder, const std::string& path)
{
    std::vector<std::string> places;
    if (folder >= 0)
        places.push_back(OpenPath(folder, busy.Journal));
    if (!path.empty())
        places.push_back(path.substr(0, path.rfind('/') + 1) + busy.Journal);
    if (!busy.Folder.empty())
        places.push_back(busy.Folder + "/" + busy.Journal);
    return places;
}

// The content of the journal open as `fd`, where it is the busy mark's.
bool JournalContent(int fd, const TBusy& busy, int64_t most, std::string& content, bool& tooLong)
{
    struct stat state;
    unsigned char header[kHeaderSize];
    return fstat(fd, &state) == 0 && S_ISREG(state.st_mode) && state.st_size == kHeaderSize + busy.Length &&
        ReadAllAt(fd, reinterpret_cast<char*>(header), sizeof header, 0) &&
        std::memcmp(header, kHeaderMark, sizeof kHeaderMark) == 0 &&
        NumberAt(header + 8) == static_cast<uint64_t>(busy.Length) &&
        ReadCommitted(fd, kHeaderSize, busy, most, content, tooLong);
}

// Empties the journal at the place given, where it is the busy mark's, and removes it where the
// saver may: once the file no longer names it, what it holds is of no use, and no one's to read.
void RemoveJournal(const std::string& place, const TBusy& busy)
{
    const int fd = open(place.c_str(), O_RDWR | kOpenSafely);
    std::string content;
    bool tooLong = false;
    if (fd >= 0 && JournalContent(fd, busy, INT64_MAX, content, tooLong)) {
        ftruncate(fd, 0);
        unlink(place.c_str());
    }
    if (fd >= 0)
        close(fd);
}

// Lets into the journal, which the saver made, whom the file lets in: where the file system has no
// access lists, the file's group and mode as far as the saver may give them.
void OpenToTheFilesUsers(int journal, int target, const struct stat& state)
{
    GiveOwnerOf(journal, state);
    if (!ShareAccess(OpenPath(target), state, journal, false).empty())
        fchmod(journal, state.st_mode & 0666);
}

// The absolute path of the open folder, empty where the system cannot tell.
std::string FolderPath(int folder)
{
    char path[PATH_MAX];
    const ssize_t n = readlink(OpenPath(folder).c_str(), path, sizeof path);
    return n > 0 && n < static_cast<ssize_t>(sizeof path) && path[0] == '/' ? std::string(path, static_cast<size_t>(n))
                                                                            : std::string();
}

}  // namespace

bool ReadMark(int fd, std::string& mark)
{
    mark.clear();
    char value[PATH_MAX + 256];
    const ssize_t n = fgetxattr(fd, kMarkName, value, sizeof value);
    if (n >= 0)
        mark.assign(value, static_cast<size_t>(n));
    return n >= 0 || errno == ENODATA;
}

bool IsBusy(const std::string& mark) { return mark.starts_with(kBusy); }

bool ReadMarkedContent(const std::string& mark, int fd, int folder, const std::string& path, int64_t most,
                       std::string& content, bool& tooLong)
{
    TBusy busy;
    tooLong = false;
    if (!ParseBusy(mark, busy))
        return false;
    for (const std::string& place : JournalPlaces(busy, folder, path)) {
        const int journal = open(place.c_str(), O_RDONLY | kOpenSafely);
        if (journal < 0)
            continue;
        const bool whole = JournalContent(journal, busy, most, content, tooLong);
        close(journal);
        if (whole || tooLong)
            return whole;
    }
    // No journal: the file itself, where the save had written it whole before it was cut short.
    struct stat state;
    const bool written =
        fstat(fd, &state) == 0 && state.st_size == busy.Length && ReadCommitted(fd, 0, busy, most, content, tooLong);
    if (!written)
        content.clear();
    return written;
}

void FinishMarkedSave(int fd, const std::string& mark, const std::string& content, int folder, const std::string& path)
{
    // Written by whom may write it, through the file read, never another at its name now; only
    // where no writer in place holds it, and the mark is still the one read.
    TBusy busy;
    const int file = open(OpenPath(fd).c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    std::string now;
    const auto chunkAt = [&content](int64_t from, size_t) { return content.data() + from; };
    if (file < 0 || !ParseBusy(mark, busy) || WholeFileLock(file, LOCK_EX | LOCK_NB) != 0 || !ReadMark(file, now) ||
        now != mark || ftruncate(file, 0) != 0 ||
        !WriteWithHoles(file, 0, static_cast<int64_t>(content.size()), chunkAt) || fsync(file) != 0) {
        if (file >= 0)
            close(file);
        return;
    }
    const std::string done = std::string(kDone) + busy.Token;
    if (fsetxattr(file, kMarkName, done.data(), done.size(), 0) == 0 && fsync(file) == 0)
        for (const std::string& place : JournalPlaces(busy, folder, path))
            RemoveJournal(place, busy);
    close(file);
}

bool JournalOfNoUse(int folder, const std::string& name)
{
    const int journal = openat(folder, name.c_str(), O_RDONLY | kOpenSafely);
    unsigned char header[kHeaderSize];
    const bool read = journal >= 0 && ReadAllAt(journal, reinterpret_cast<char*>(header), sizeof header, 0) &&
        std::memcmp(header, kHeaderMark, sizeof kHeaderMark) == 0;
    if (journal >= 0)
        close(journal);
    if (!read)
        return journal >= 0;  // partial: a save cut short before it marked its file
    const ino_t made = static_cast<ino_t>(NumberAt(header + 16));
    const int listed = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listed >= 0 ? fdopendir(listed) : nullptr;
    if (!dir) {
        if (listed >= 0)
            close(listed);
        return false;
    }
    bool ofNoUse = false;
    while (const dirent* entry = readdir(dir)) {
        struct stat seen;
        if (!StatAt(folder, entry->d_name, seen) || seen.st_ino != made || !S_ISREG(seen.st_mode))
            continue;
        char value[PATH_MAX + 256];
        const ssize_t n = lgetxattr(OpenPath(folder, entry->d_name).c_str(), kMarkName, value, sizeof value);
        TBusy busy;
        ofNoUse = (n < 0 && errno == ENODATA) ||
            (n >= 0 && !(ParseBusy(std::string(value, static_cast<size_t>(n)), busy) && busy.Journal == name));
        break;
    }
    closedir(dir);
    return ofNoUse;
}

void RemoveJournalOf(const std::string& mark, int folder)
{
    if (TBusy busy; ParseBusy(mark, busy))
        for (const std::string& place : JournalPlaces(busy, folder, ""))
            RemoveJournal(place, busy);
}

TInPlaceSave::TInPlaceSave(int folder, int target, const struct stat& state)
    : folder_(folder), target_(target), state_(state)
{}

TInPlaceSave::~TInPlaceSave()
{
    if (journal_ >= 0)
        close(journal_);
}

std::string TInPlaceSave::Begin(int from, int64_t length)
{
    if (!ReadMark(target_, previous_))
        return errno == ENOTSUP || errno == EOPNOTSUPP
            ? "Its file system keeps no extended attributes, without which it cannot be written in place safely."
            : std::strerror(errno);
    token_ = RandomHex(kTokenBytes);
    for (int attempt = 0; attempt < 100 && journal_ < 0; ++attempt) {
        journalName_ = SavePaths::JournalName();
        journal_ = openat(folder_, journalName_.c_str(), O_RDWR | O_CREAT | O_EXCL | kOpenSafely, 0600);
        if (journal_ < 0 && errno != EEXIST)
            break;
    }
    if (journal_ < 0)
        return std::string("Its journal cannot be made: ") + std::strerror(errno);
    OpenToTheFilesUsers(journal_, target_, state_);
    // The content, then the header.
    unsigned char header[kHeaderSize] = {};
    std::memcpy(header, kHeaderMark, sizeof kHeaderMark);
    PutNumber(header + 8, static_cast<uint64_t>(length));
    PutNumber(header + 16, state_.st_ino);
    TDigest digest;
    std::string buffer;
    bool written = WriteWithHoles(journal_, kHeaderSize, length, ChunksOf(from, 0, buffer),
                                  [&digest](const char* chunk, size_t n) { digest.Add(chunk, n); });
    if (written)
        AtStep(TSaveStep::JournalWritten);
    written = written && WriteAllAt(journal_, reinterpret_cast<const char*>(header), sizeof header, 0) &&
        fsync(journal_) == 0 && FlushFolder(folder_, journal_);
    if (!written) {
        const std::string why = std::string("Its journal cannot be written: ") + std::strerror(errno);
        DropJournal();
        return why;
    }
    AtStep(TSaveStep::JournalKept);
    // Marked only now, and on disk before its content is touched.
    const std::string mark = std::string(kBusy) + token_ + " " + digest.Hex() + " " + std::to_string(length) + " " +
        journalName_ + " " + FolderPath(folder_);
    if (fsetxattr(target_, kMarkName, mark.data(), mark.size(), 0) != 0 || fsync(target_) != 0) {
        const std::string why = std::string("It cannot be marked as being written: ") + std::strerror(errno);
        if (previous_.empty())
            fremovexattr(target_, kMarkName);
        else
            fsetxattr(target_, kMarkName, previous_.data(), previous_.size(), 0);
        DropJournal();
        return why;
    }
    return "";
}

bool TInPlaceSave::WriteFile(int from, int64_t length)
{
    // Marked busy, the file is read from its journal: it may be cut first and its holes kept.
    std::string buffer;
    return ftruncate(target_, 0) == 0 && WriteWithHoles(target_, 0, length, ChunksOf(from, 0, buffer));
}

void TInPlaceSave::End(bool dropKilled)
{
    const std::string done = std::string(kDone) + token_;
    // Where it cannot be marked done, the busy mark stands: its journal, which readers take for the
    // file's content, holds what the file holds.
    if (fsetxattr(target_, kMarkName, done.data(), done.size(), 0) != 0 || fsync(target_) != 0)
        return;
    AtStep(TSaveStep::InPlaceDone);
    DropJournal();
    // A killed save's journal, which this one's content has made of no use.
    if (dropKilled)
        RemoveJournalOf(previous_, folder_);
}

void TInPlaceSave::DropJournal()
{
    if (journal_ < 0)
        return;
    ftruncate(journal_, 0);
    struct stat held, named;
    if (StatOpen(journal_, held) && StatAt(folder_, journalName_, named) && SameFile(held, named))
        unlinkat(folder_, journalName_.c_str(), 0);
    close(journal_);
    journal_ = -1;
}

}  // namespace SavePaths
