#include "platform/gui/FontChange.h"

#include <fontconfig/fontconfig.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include "platform/gui/FontAlias.h"
#include "platform/gui/FormBroadcast.h"

namespace {

// A font being installed shows as several folder events (a file made, written, renamed): the
// fonts are read again once the folders have been quiet this long.
constexpr int kQuietMs = 250;

// Where a font folder is watched from: the folder, or for one not made yet its parent (a user's
// font folder appears there), unless that is the home folder or the root, where far more than
// fonts comes and goes.
QString WatchedFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir())
        return folder;
    const QString parent = QFileInfo(folder).absolutePath();
    if (parent == QDir::homePath() || parent == QDir::rootPath() || !QFileInfo(parent).isDir())
        return QString();
    return parent;
}

// The folders fontconfig reads fonts from now, the sub-folders it found included.
QStringList FontFolders()
{
    QStringList folders;
    FcStrList* list = FcConfigGetFontDirs(nullptr);
    if (!list)
        return folders;
    while (FcChar8* dir = FcStrListNext(list)) {
        const QString watched = WatchedFolder(QFile::decodeName(reinterpret_cast<const char*>(dir)));
        if (!watched.isEmpty() && !folders.contains(watched))
            folders << watched;
    }
    FcStrListDone(list);
    return folders;
}

// The smallest scalable font file fontconfig knows, or an empty name.
QString SmallestFontFile()
{
    QString smallest;
    qint64 least = 0;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    if (FcFontSet* fonts = FcFontList(nullptr, pattern, objects)) {
        for (int i = 0; i < fonts->nfont; ++i) {
            FcChar8* file = nullptr;
            if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) != FcResultMatch)
                continue;
            const QString name = QFile::decodeName(reinterpret_cast<const char*>(file));
            const qint64 size = QFileInfo(name).size();
            if (size > 0 && (smallest.isEmpty() || size < least)) {
                smallest = name;
                least = size;
            }
        }
        FcFontSetDestroy(fonts);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return smallest;
}

class TFontWatch : public QObject {
public:
    explicit TFontWatch(QObject* parent) : QObject(parent)
    {
        FQuiet.setSingleShot(true);
        FQuiet.setInterval(kQuietMs);
        connect(&FWatcher, &QFileSystemWatcher::directoryChanged, this, [this] { FQuiet.start(); });
        connect(&FQuiet, &QTimer::timeout, this, [this] { Reload(); });
        connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, this, [this] { Announce(); });
        Follow();
    }

private:
    // Watches exactly the folders fontconfig reads now.
    void Follow()
    {
        const QStringList now = FontFolders();
        const QStringList watched = FWatcher.directories();
        QStringList gone, fresh;
        for (const QString& folder : watched)
            if (!now.contains(folder))
                gone << folder;
        for (const QString& folder : now)
            if (!watched.contains(folder))
                fresh << folder;
        if (!gone.isEmpty())
            FWatcher.removePaths(gone);
        if (!fresh.isEmpty())
            FWatcher.addPaths(fresh);
    }
    void Reload()
    {
        FcInitReinitialize();
        Follow();
        // Qt reads the system's fonts once; adding a font of the program's own and removing it
        // again is its one public way of having them read anew (it says so: fontDatabaseChanged).
        const QString file = SmallestFontFile();
        const int id = file.isEmpty() ? -1 : QFontDatabase::addApplicationFont(file);
        if (id >= 0)
            QFontDatabase::removeApplicationFont(id);
        Announce();
    }
    // Once for a burst of changes, from the event loop.
    void Announce()
    {
        if (FAnnouncing)
            return;
        FAnnouncing = true;
        QTimer::singleShot(0, this, [this] {
            FAnnouncing = false;
            BroadcastFontChange();
        });
    }

    QFileSystemWatcher FWatcher;
    QTimer FQuiet;
    bool FAnnouncing = false;
};

}  // namespace

void BroadcastFontChange()
{
    ForgetResolvedFontFamilies();
    PerformOnEveryForm(WM_FONTCHANGE);
}

void WatchInstalledFonts()
{
    // Made once, owned by the application, so it goes with it.
    static QPointer<TFontWatch> watch;
    if (watch || !qGuiApp)
        return;
    watch = new TFontWatch(qGuiApp);
}
