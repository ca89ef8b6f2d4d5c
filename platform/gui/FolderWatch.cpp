#include "platform/gui/FolderWatch.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <utility>

namespace {

bool IsFolder(const QString& path) { return QFileInfo(path).isDir(); }

// The nearest folder above path that exists (the root at worst).
QString NearestExisting(const QString& path)
{
    QString at = QDir::cleanPath(path);
    while (!IsFolder(at)) {
        const QString up = QFileInfo(at).absolutePath();
        if (up == at)
            break;
        at = up;
    }
    return at;
}

// The folder one step below parent on the way to path.
QString NextOnTheWay(const QString& parent, const QString& path)
{
    return QDir(parent).filePath(QDir(parent).relativeFilePath(path).section(u'/', 0, 0));
}

}  // namespace

TFolderWatch::TFolderWatch(std::function<void()> onChange, QObject* parent)
    : QObject(parent), FOnChange(std::move(onChange))
{
    connect(&FWatcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString& path) { Changed(path); });
}

void TFolderWatch::SetFolders(const QStringList& folders)
{
    FFolders.clear();
    for (const QString& folder : folders)
        if (const QString clean = QDir::cleanPath(folder); !FFolders.contains(clean))
            FFolders << clean;
    FPresent.clear();
    Place();
}

bool TFolderWatch::WayOpened(const QString& parent) const
{
    for (auto it = FWaitedFrom.cbegin(); it != FWaitedFrom.cend(); ++it)
        if (it.value() == parent && IsFolder(NextOnTheWay(parent, it.key())))
            return true;
    return false;
}

void TFolderWatch::Changed(const QString& path)
{
    const bool ofTheList = FPresent.contains(path);
    bool change = ofTheList;
    // A watched folder gone (the window system drops its watch) or the way to a missing one
    // opened: the watches move.
    if (!FWatcher.directories().contains(path) || !IsFolder(path) || WayOpened(path))
        change = Place() || change;
    if (change && FOnChange)
        FOnChange();
}

bool TFolderWatch::Place()
{
    const QStringList before = FPresent;
    QStringList present;
    // Again while a folder waited for came as the watches were being moved, so that nothing made
    // in it after it came goes unseen.
    for (;;) {
        present.clear();
        FWaitedFrom.clear();
        QSet<QString> wanted;
        for (const QString& folder : FFolders) {
            if (IsFolder(folder)) {
                present << folder;
                wanted.insert(folder);
            } else {
                const QString parent = NearestExisting(folder);
                FWaitedFrom.insert(folder, parent);
                wanted.insert(parent);
            }
        }
        QStringList gone, fresh;
        const QStringList watched = FWatcher.directories();
        for (const QString& folder : watched)
            if (!wanted.contains(folder))
                gone << folder;
        for (const QString& folder : wanted)
            if (!watched.contains(folder))
                fresh << folder;
        if (!gone.isEmpty())
            FWatcher.removePaths(gone);
        if (!fresh.isEmpty())
            FWatcher.addPaths(fresh);
        bool came = false;
        for (auto it = FWaitedFrom.cbegin(); it != FWaitedFrom.cend() && !came; ++it)
            came = IsFolder(NextOnTheWay(it.value(), it.key()));
        if (!came)
            break;
    }
    FPresent = present;
    for (const QString& folder : present)
        if (!before.contains(folder))
            return true;
    return false;
}
