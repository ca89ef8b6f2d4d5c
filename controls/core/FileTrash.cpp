// The freedesktop trash: a name is claimed by making its info file, which nobody else may have
// made (O_EXCL), and the entry is then moved to files/NAME without ever replacing an entry there.
#include "controls/core/FileTrash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "controls/core/DateUtil.h"
#include "controls/core/FileUtil.h"
#include "platform/core/Cp949.h"
#include "platform/core/DateTime.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kInfoExtension = ".trashinfo";

std::string DeletionDate()
{
    uint16_t y, mo, d, h, mi, s, ms;
    const TDateTime now = Now();
    DecodeDate(now, y, mo, d);
    DecodeTime(now, h, mi, s, ms);
    return Format("%04u-%02u-%02uT%02u:%02u:%02u", y, mo, d, h, mi, s);
}

bool Exists(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// The name in the trash for the n-th try: the entry's own, NAME.2, NAME.3 ..., the name cut at a
// character where its info file's name would be longer than a name may be (Path= keeps it whole).
std::string TrashName(const std::string& name, int n, long longest)
{
    const std::string suffix = n == 1 ? std::string() : "." + std::to_string(n);
    const size_t room = static_cast<size_t>(std::max(longest, 16L)) - suffix.size() - std::strlen(kInfoExtension);
    size_t keep = 0;
    while (keep < name.size() && keep + Utf8CharLength(std::string_view(name).substr(keep)) <= room)
        keep += Utf8CharLength(std::string_view(name).substr(keep));
    return name.substr(0, keep) + suffix;
}

enum class TClaim { Made, Taken, Failed };

// Makes the info file only where there is none, and writes it whole.
TClaim ClaimInfo(const std::string& info, const std::string& text, int& error)
{
    const int fd = open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = errno;
        return errno == EEXIST ? TClaim::Taken : TClaim::Failed;
    }
    bool ok = true;
    for (size_t done = 0; ok && done < text.size();) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        error = ok ? 0 : errno ? errno : EIO;
        done += ok ? static_cast<size_t>(n) : 0;
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok)
        unlink(info.c_str());
    return ok ? TClaim::Made : TClaim::Failed;
}

}  // namespace

bool Trash(const std::string& nativePath, TTreeRun& run)
{
    const std::string path = WithoutTrailingSlashes(nativePath);
    if (NamesRoot(path, false))
        return run.Fail(kRootRefusal);
    const std::string name = path.substr(path.rfind('/') + 1);
    if (name.empty() || name == "." || name == ".." || !Exists(path))
        return run.Fail(SystemReason(ENOENT));
    const std::string trash = XdgFolder("XDG_DATA_HOME", "/.local/share") + "/Trash";
    std::error_code ec;
    fs::create_directories(trash + "/files", ec);
    fs::create_directories(trash + "/info", ec);
    const std::string absolute = fs::absolute(path, ec).lexically_normal().string();
    const std::string text =
        "[Trash Info]\nPath=" + PercentEncodePath(absolute) + "\nDeletionDate=" + DeletionDate() + "\n";
    long longest = pathconf((trash + "/info").c_str(), _PC_NAME_MAX);
    if (longest <= 0)
        longest = NAME_MAX;
    for (int n = 1;; ++n) {
        const std::string entry = TrashName(name, n, longest);
        const std::string info = trash + "/info/" + entry + kInfoExtension;
        const std::string target = trash + "/files/" + entry;
        int error = 0;
        const TClaim claim = ClaimInfo(info, text, error);
        if (claim == TClaim::Taken)
            continue;
        if (claim == TClaim::Failed)
            return run.Fail("The trash cannot be written: " + SystemReason(error));
        // An entry without its info file (left by another program) keeps its name.
        if (RenameNoReplace(path, target) == 0)
            return true;
        error = errno;
        if (error == EEXIST || (error == EXDEV && Exists(target))) {
            unlink(info.c_str());
            continue;
        }
        if (error == EXDEV && MoveEntry(path, target, false, run))
            return true;
        // Nothing in the trash under the name: the info file goes too. A copy whose source
        // changed meanwhile is whole in the trash, and its info file stays with it.
        if (!Exists(target))
            unlink(info.c_str());
        return error == EXDEV ? false : run.Fail(SystemReason(error));
    }
}

bool MoveToTrash(const std::string& nativePath)
{
    TTreeRun run;
    return Trash(nativePath, run);
}
