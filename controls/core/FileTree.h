#pragma once
// Files and folder trees on native paths, as the file utilities copy, move and delete them. A
// folder is opened and its entries are handled relative to it; a link inside a tree is never
// followed: it is copied and removed as the link itself. Only regular files, links and folders
// are copied; copies keep the permission bits. Nothing that leads to the root folder is removed,
// and that is settled before any folder is opened. Names are the file system's own bytes
// throughout. (Not part of the library's interface.)

#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/core/FileShared.h"
#include "platform/core/AnsiString.h"

// One piece of work on a tree: how it reports its progress, whether it goes on past a failure,
// and how it ended.
struct TTreeRun {
    TWorkTick Tick;
    bool GoOnPastFailures = false;
    bool Cancelled = false;
    AnsiString Reason;  // the first failure's, for the user

    // Ticks: false once the work is to stop.
    bool Going();
    // Keeps the first reason; false.
    bool Fail(const AnsiString& reason);
};

// The reason given when a path that leads to the root folder would be removed.
extern const char* const kRootRefusal;

// True when the path leads to the root folder ("/", "//", "/a/.." or a link to it). With
// followLast off a link at the path's end is the link itself, which is not the root.
bool NamesRoot(const std::string& native, bool followLast);
// The path without the slashes that end it ("a/" names the folder a); the root stays "/".
std::string WithoutTrailingSlashes(std::string path);

// Removes the entry at the path, a folder with everything in it; stops at the first failure.
bool RemoveEntry(const std::string& native, TTreeRun& run);
// Empties the folder at the path (a link there is followed), going on past failures: entries
// whose names start with "." stay, every other file or link goes, and a subfolder is emptied the
// same way and removed too with removeFolders. True when everything went.
bool ClearFolder(const std::string& native, bool removeFolders);

// What a copy made, to remove from the source only that: an entry as it was when copied, and
// for a folder the entries copied from it.
struct TCopiedEntry {
    std::string Name;  // in its folder
    struct stat Source = {};
    std::vector<TCopiedEntry> Entries;
    bool MadeFolder = false;  // a folder was made at the destination
};
// Copies the entry at from to the name to: a regular file through the atomic writer (replacing
// a file at to when replace is set, else refusing any entry there), a link as a link, a folder
// with its entries. made, when given, receives what was copied.
bool CopyEntry(const std::string& from, const std::string& to, bool replace, TTreeRun& run,
               TCopiedEntry* made = nullptr);
// Removes from the source what a copy made from it: an entry that changed since it was copied,
// and a folder that has gained entries, stay (and make the result false).
bool RemoveCopied(const std::string& from, const TCopiedEntry& copied, TTreeRun& run);
// Renames, never over an existing name unless replace is set; across file systems copies, then
// removes from the source what was copied. A copy that fails or is cancelled is undone: nothing
// it made stays at the destination, and the source is whole.
bool MoveEntry(const std::string& from, const std::string& to, bool replace, TTreeRun& run);
// rename that refuses (EEXIST) to replace an existing name.
int RenameNoReplace(const std::string& from, const std::string& to);
// True when the folder the path leads to (or the nearest folder above it that exists) is the
// folder `folder` or lies inside it, links resolved.
bool LiesInside(const std::string& native, const struct stat& folder);

// For tests: asked with a folder's name before the tree routines open it; false refuses the open.
using TFolderOpenHook = std::function<bool(const std::string& name)>;
TFolderOpenHook SetFolderOpenHook(TFolderOpenHook hook);
