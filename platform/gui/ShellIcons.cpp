#include "platform/gui/ShellIcons.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "platform/core/StoredPath.h"
#include "platform/gui/Icon.h"

namespace {

// Platforms without a desktop theme (offscreen, plain X) know neither the theme nor where themes
// live: the data folders of the desktop's base directories are searched for the installed one.
void EnsureIconTheme()
{
    static const bool done = [] {
        QStringList paths = QIcon::themeSearchPaths();
        const QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
        for (const QString& dir : dataDirs.split(':', Qt::SkipEmptyParts))
            if (!paths.contains(dir + "/icons"))
                paths << dir + "/icons";
        QIcon::setThemeSearchPaths(paths);
        if (QIcon::themeName().isEmpty() || QIcon::themeName() == "hicolor")
            for (const char* theme : {"Adwaita", "breeze", "gnome"})
                for (const QString& dir : paths)
                    if (QDir(dir + "/" + theme).exists()) {
                        QIcon::setThemeName(theme);
                        return true;
                    }
        return true;
    }();
    (void)done;
}

}  // namespace

int ShellIconSize(bool Large) { return Large ? 32 : 16; }

namespace {

// The type of a file: read from the file when it exists, else guessed from its extension.
QMimeType TypeOf(std::string_view Name)
{
    const QString path = QString::fromStdString(NativePath(Name));
    static const QMimeDatabase db;
    const QFileInfo info(path);
    return info.exists() ? db.mimeTypeForFile(info) : db.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
}

bool GetTypeIcon(const QMimeType& mime, bool Large, TIcon* Icon)
{
    EnsureIconTheme();
    // Drawn icons are kept per type and size: file lists draw the same few types again and again.
    static std::map<std::pair<QString, int>, QImage> cache;
    const int side = ShellIconSize(Large);
    auto it = cache.find({mime.name(), side});
    if (it == cache.end()) {
        QIcon icon = QIcon::fromTheme(mime.iconName());
        if (icon.isNull())
            icon = QIcon::fromTheme(mime.genericIconName());
        QImage image;
        if (!icon.isNull())
            image = icon.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32);
        if (!image.isNull() && image.size() != QSize(side, side))
            image = image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        it = cache.emplace(std::make_pair(mime.name(), side), image).first;
    }
    if (it->second.isNull())
        return false;
    Icon->SetImage(it->second);
    return true;
}

std::vector<QMimeType>& IndexedTypes()
{
    static std::vector<QMimeType> types;
    return types;
}

}  // namespace

bool GetShellFileIcon(std::string_view Name, bool Large, TIcon* Icon)
{
    if (Name.empty() || !Icon)
        return false;
    return GetTypeIcon(TypeOf(Name), Large, Icon);
}

int ShellIconIndex(std::string_view Name)
{
    if (Name.empty())
        return -1;
    const QMimeType mime = TypeOf(Name);
    std::vector<QMimeType>& types = IndexedTypes();
    const auto it = std::find(types.begin(), types.end(), mime);
    if (it != types.end())
        return static_cast<int>(it - types.begin());
    types.push_back(mime);
    return static_cast<int>(types.size()) - 1;
}

bool GetShellIconOfIndex(int Index, bool Large, TIcon* Icon)
{
    const std::vector<QMimeType>& types = IndexedTypes();
    if (!Icon || Index < 0 || Index >= static_cast<int>(types.size()))
        return false;
    return GetTypeIcon(types[static_cast<size_t>(Index)], Large, Icon);
}
