#include "platform/core/SaveJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <zlib.h>

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

// The journal's header: a mark, the save's token, the content's length and its CRC-32.
constexpr char kHeaderMark[8] = {'H', 'M', 'J', 'R', 'N', 'L', '2', '\n'};
constexpr size_t kTokenBytes = 16;
constexpr off_t kHeaderSize = 8 + kTokenBytes + 8 + 8;
constexpr size_t kChunk = 1 << 16;

std::string RandomHex(size_t bytes)
{
    static thread_local std::random_device random;
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (size_t i = 0; i < bytes; ++i) {
        const unsigned byte = random() & 0xFF;
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

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

// Writes `length` bytes, a chunk at a time as `chunkAt` gives them (false: it cannot), into the
// open file `to` from `at`, which holds nothing there (a new file, or one cut at `at`): runs of
// zeros are left as holes, so that a sparse content costs no more than its data. `each`, where
// given, sees every chunk. False with errno set where it cannot.
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

// The chunks of an open file, read into `buffer`.
std::function<const char*(int64_t, size_t)> ChunksOf(int fd, off_t start, std::string& buffer)
{
    buffer.resize(kChunk);
    return [fd, start, &buffer](int64_t from, size_t n) {
        return ReadAllAt(fd, buffer.data(), n, start + from) ? buffer.data() : nullptr;
    };
}

// A busy mark's parts: its token, the journal's name and the folder it was made in.
struct TBusy {
    std::string Token, Journal, Folder;
};

bool ParseBusy(const std::string& mark, TBusy& busy)
{
    if (!IsBusy(mark))
        return false;
    const size_t token = kBusy.size(), name = mark.find(' ', token), folder = mark.find(' ', name + 1);
    if (name == std::string::npos || folder == std::string::npos)
        return false;
    busy = {mark.substr(token, name - token), mark.substr(name + 1, folder - name - 1), mark.substr(folder + 1)};
    return busy.Token.size() == 2 * kTokenBytes && !busy.Journal.empty() && busy.Journal.find('/') == std::string::npos;
}

// The whole content of the open journal, made for the save of `token`; false where it is not that.
bool JournalContent(int journal, const std::string& token, int64_t most, std::string& content, bool& tooLong)
{
    struct stat state;
    unsigned char header[kHeaderSize];
    if (fstat(journal, &state) != 0 || !S_ISREG(state.st_mode) || state.st_size < kHeaderSize ||
        !ReadAllAt(journal, reinterpret_cast<char*>(header), sizeof header, 0) ||
        std::memcmp(header, kHeaderMark, sizeof kHeaderMark) != 0)
        return false;
    std::string written;
    for (size_t i = 0; i < kTokenBytes; ++i) {
        static constexpr char kDigits[] = "0123456789abcdef";
        written += kDigits[header[8 + i] >> 4];
        written += kDigits[header[8 + i] & 15];
    }
    const int64_t length = static_cast<int64_t>(NumberAt(header + 8 + kTokenBytes));
    if (written != token || length != state.st_size - kHeaderSize)
        return false;
    if (length > most) {
        tooLong = true;
        return false;
    }
    content.resize(static_cast<size_t>(length));
    if (!ReadAllAt(journal, content.data(), content.size(), kHeaderSize))
        return false;
    const uLong crc = crc32_z(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(content.data()), content.size());
    return crc == NumberAt(header + 16 + kTokenBytes);
}

// Where a busy mark's journal may be: beside the file as the reader reached it, then in the folder
// the mark names. The token tells the journal, whatever is found at a name.
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

// Empties the journal at the place given, where it is the one of `token`, and removes it where the
// saver may: once the file no longer names it, what it holds is of no use, and no one's to read.
void RemoveJournal(const std::string& place, const std::string& token)
{
    const int fd = open(place.c_str(), O_RDWR | kOpenSafely);
    std::string content;
    bool tooLong = false;
    if (fd >= 0 && (JournalContent(fd, token, INT64_MAX, content, tooLong) || tooLong)) {
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
    char value[PATH_MAX + 128];
    const ssize_t n = fgetxattr(fd, kMarkName, value, sizeof value);
    if (n >= 0)
        mark.assign(value, static_cast<size_t>(n));
    return n >= 0 || errno == ENODATA;
}

bool IsBusy(const std::string& mark) { return mark.starts_with(kBusy); }

std::string JournalOfBusy(const std::string& mark)
{
    TBusy busy;
    return ParseBusy(mark, busy) ? busy.Journal : std::string();
}

bool ReadMarkedJournal(const std::string& mark, int folder, const std::string& path, int64_t most, std::string& content,
                       bool& tooLong)
{
    TBusy busy;
    tooLong = false;
    if (!ParseBusy(mark, busy))
        return false;
    for (const std::string& place : JournalPlaces(busy, folder, path)) {
        const int fd = open(place.c_str(), O_RDONLY | kOpenSafely);
        if (fd < 0)
            continue;
        const bool whole = JournalContent(fd, busy.Token, most, content, tooLong);
        close(fd);
        if (whole || tooLong)
            return whole;
    }
    content.clear();
    return false;
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
            RemoveJournal(place, busy.Token);
    close(file);
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
    // The content, then the header that makes it whole.
    unsigned char header[kHeaderSize] = {};
    std::memcpy(header, kHeaderMark, sizeof kHeaderMark);
    for (size_t i = 0; i < kTokenBytes; ++i)
        header[8 + i] = static_cast<unsigned char>(std::stoi(token_.substr(2 * i, 2), nullptr, 16));
    PutNumber(header + 8 + kTokenBytes, static_cast<uint64_t>(length));
    uLong crc = crc32(0, nullptr, 0);
    std::string buffer;
    bool written =
        WriteWithHoles(journal_, kHeaderSize, length, ChunksOf(from, 0, buffer), [&crc](const char* chunk, size_t n) {
            crc = crc32_z(crc, reinterpret_cast<const Bytef*>(chunk), n);
        });
    PutNumber(header + 16 + kTokenBytes, crc);
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
    const std::string mark = std::string(kBusy) + token_ + " " + journalName_ + " " + FolderPath(folder_);
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

void TInPlaceSave::End()
{
    const std::string done = std::string(kDone) + token_;
    // Where it cannot be marked done, the busy mark stands: its journal, which readers take for the
    // file's content, holds what the file holds.
    if (fsetxattr(target_, kMarkName, done.data(), done.size(), 0) != 0 || fsync(target_) != 0)
        return;
    AtStep(TSaveStep::InPlaceDone);
    DropJournal();
    // A killed save's journal, which this one's content has made of no use.
    if (TBusy killed; ParseBusy(previous_, killed))
        for (const std::string& place : JournalPlaces(killed, folder_, ""))
            RemoveJournal(place, killed.Token);
}

bool TInPlaceSave::WriteFile(int from, int64_t length)
{
    // Marked busy, the file is read from its journal: it may be cut first and its holes kept.
    std::string buffer;
    return ftruncate(target_, 0) == 0 && WriteWithHoles(target_, 0, length, ChunksOf(from, 0, buffer));
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
