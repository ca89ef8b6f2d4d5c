#include "grid/control/HtmlImages.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "grid/model/HtmlTags.h"
#include "platform/core/StoredPath.h"
#include "platform/gui/Icon.h"
#include "platform/gui/ShellIcons.h"

namespace {

struct TKeptBitmap {
    long long MTime = 0, Size = 0;
    std::shared_ptr<TBitmap> Bitmap;  // null when the file did not decode
};

// At most this many files are kept; the whole set is dropped when it is full.
constexpr size_t kMaxKeptBitmaps = 64;

std::map<std::string, TKeptBitmap>& Kept()
{
    static std::map<std::string, TKeptBitmap> kept;
    return kept;
}

// The bytes of a regular file of at most kMaxHtmlImageFileBytes; false for anything else.
bool ReadRegularFile(const std::string& path, const struct stat& st, std::string& bytes)
{
    // Opened without blocking, then checked again: the name may have changed since stat.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat now {};
    bool ok = fstat(fd, &now) == 0 && S_ISREG(now.st_mode) && now.st_ino == st.st_ino && now.st_size == st.st_size;
    if (ok) {
        bytes.resize(static_cast<size_t>(now.st_size));
        size_t got = 0;
        while (ok && got < bytes.size()) {
            const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
            ok = n > 0;
            got += n > 0 ? static_cast<size_t>(n) : 0;
        }
    }
    close(fd);
    return ok;
}

}  // namespace

std::shared_ptr<TBitmap> HtmlFileBitmap(std::string_view ProgramPath)
{
    if (ProgramPath.empty())
        return nullptr;
    const std::string path = NativePath(ProgramPath);
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxHtmlImageFileBytes) {
        Kept().erase(path);
        return nullptr;
    }
    const long long mtime = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    auto it = Kept().find(path);
    if (it != Kept().end() && it->second.MTime == mtime && it->second.Size == st.st_size)
        return it->second.Bitmap;
    TKeptBitmap entry{mtime, static_cast<long long>(st.st_size), nullptr};
    std::string bytes;
    if (ReadRegularFile(path, st, bytes)) {
        auto bitmap = std::make_shared<TBitmap>();
        try {
            bitmap->LoadFromBytes(bytes);
            entry.Bitmap = std::move(bitmap);
        } catch (const Exception&) {
            // Not a bitmap: kept as none, so it is not read again until it changes.
        }
    }
    if (Kept().size() >= kMaxKeptBitmaps && it == Kept().end())
        Kept().clear();
    Kept()[path] = entry;
    return entry.Bitmap;
}

void ClearHtmlFileBitmaps() { Kept().clear(); }

int ScaleImageSide(int Side, double Factor)
{
    const double v = std::round(Side * Factor);
    return std::isfinite(v) ? static_cast<int>(std::clamp(v, 0.0, 65535.0)) : 0;
}

void StretchBitmapToCanvas(TCanvas* Canvas, const TRect& Dest, TBitmap* Bitmap)
{
    if (Canvas && Bitmap && !Bitmap->Empty() && !Dest.IsEmpty())
        Canvas->StretchDraw(Dest, Bitmap);
}

void DrawShellIcon(TCanvas* Canvas, int X, int Y, int& Size, double ResFactor, bool Printing, bool Draw, bool Large,
                   std::string_view Name)
{
    Size = 0;
    int index = 0;
    if (Name.empty() || TagCleanInt(Name, index))
        return;
    TIcon icon;
    if (!GetShellFileIcon(Name, Large, &icon))
        return;
    Size = ShellIconSize(Large);
    if (!Draw || !Canvas)
        return;
    if (Printing)
        icon.DrawInto(
            Canvas,
            TRect{X, Y, X + ScaleImageSide(icon.Width(), ResFactor), Y + ScaleImageSide(icon.Height(), ResFactor)});
    else
        icon.DrawInto(Canvas, TRect{X, Y, X + icon.Width(), Y + icon.Height()});
}

bool IsDirectory(std::string_view Path)
{
    struct stat st {};
    return !Path.empty() && stat(NativePath(Path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
