#pragma once
// Watches a list of folders for what is made, changed or removed in them, and nothing beyond
// them. A folder of the list that does not exist is waited for from its nearest existing parent,
// where only the next folder on the way to it coming into being counts (whatever else comes and
// goes there is let be); once it is there, the folder itself is watched. OnChange is called from
// the event loop for each change seen in a folder of the list and each time one comes into
// being; a folder of the list that goes is waited for again.

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class TFolderWatch : public QObject {
public:
    explicit TFolderWatch(std::function<void()> onChange, QObject* parent = nullptr);

    // The folders watched from now on (absolute paths), in place of those before.
    void SetFolders(const QStringList& folders);
    // The folders the window system watches now: those of the list that exist, and the parents
    // the missing ones are waited for from.
    QStringList Watched() const { return FWatcher.directories(); }

private:
    void Changed(const QString& path);
    // Whether, on the way from the watched parent to a folder waited for there, the next folder
    // has come.
    bool WayOpened(const QString& parent) const;
    // Watches each folder of the list or the parent it is waited for from; true when a folder
    // of the list came into being since the last time.
    bool Place();

    std::function<void()> FOnChange;
    QStringList FFolders;
    // The folders of the list that existed when last placed.
    QStringList FPresent;
    // Each missing folder of the list, and the parent it is waited for from.
    QHash<QString, QString> FWaitedFrom;
    QFileSystemWatcher FWatcher;
};
