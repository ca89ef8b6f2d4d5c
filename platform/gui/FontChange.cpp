#include "platform/gui/FontChange.h"

#include <fontconfig/fontconfig.h>

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include "platform/gui/FolderWatch.h"
#include "platform/gui/FontAlias.h"
#include "platform/gui/FormBroadcast.h"

namespace {

// A font being installed shows as several folder events (a file made, written, renamed): the
// fonts are read again once the folders have been quiet this long.
constexpr int kQuietMs = 250;

// The folders fontconfig reads fonts from now, the sub-folders it found and those it was told
// of that do not exist included.
QStringList FontFolders()
{
    QStringList folders;
    FcStrList* list = FcConfigGetFontDirs(nullptr);
    if (!list)
        return folders;
    while (FcChar8* dir = FcStrListNext(list))
        folders << QFile::decodeName(reinterpret_cast<const char*>(dir));
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
        connect(&FQuiet, &QTimer::timeout, this, [this] { Reload(); });
        connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, this, [this] { Announce(); });
        Follow();
    }

private:
    // Watches exactly the folders fontconfig reads now, a missing one (a user's font folder not
    // made yet) for its coming into being only.
    void Follow() { FFolders.SetFolders(FontFolders()); }
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

    QTimer FQuiet;
    TFolderWatch FFolders{[this] { FQuiet.start(); }};
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
