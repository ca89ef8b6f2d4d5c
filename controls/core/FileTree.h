#pragma once
// Files and folder trees on native paths, as the file utilities copy, move and delete them. A
// folder is opened and its entries are handled relative to it; a link inside a tree is never
// followed: it is copied and removed as the link itself. Any depth costs a bounded number of
// descriptors and no stack (FileWalk.h), and every entry is visited once. Only regular files,
// links and folders are copied; copies keep the permission bits. Nothing that leads to the root folder is removed,
// and that is settled before any folder is opened. Names are the file system's own bytes
// throughout. (Not part of the library's interface.)

#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/core/FileShared.h"
#include "controls/core/FileWalk.h"
#include "platform/core/AnsiString.h"

// One piece of work on a tree: how it reports its progress, whether it goes on past a failure,
// and how it ended.
struct TTreeRun {
    TWorkTick Tick;
    bool GoOnPastFailures = false;
    bool Moving = false;  // a copy that does not hold all of its source fails
    bool Cancelled = false;
    AnsiString Reason;  // the first failure's, for the user
    AnsiString Left;    // what an undo could not remove, for the user

    // Ticks: false once the work is to stop.
    bool Going();
    // Keeps the first reason; false.
    bool Fail(const AnsiString& reason);
    // Whether a failure's reason would be kept: only the first is, so only it is spelt out.
    bool Keeps() const { return Reason.empty(); }
    // The reason and what an undo left, for the user.
    AnsiString Report() const;
};

// The reason given when a path that leads to the root folder would be removed.
extern const char* const kRootRefusal;
// The reason given when a folder would be copied into itself.
extern const char* const kIntoItself;

// True when the path leads to the root folder ("/", "//", "/a/.." or a link to it). With
// followLast off a link at the path's end is the link itself, which is not the root.
bool NamesRoot(const std::string& native, bool followLast);
// The path without the slashes that end it ("a/" names the folder a); the root stays "/".
std::string WithoutTrailingSlashes(std::string path);

// Removes the entry at the path, a folder with everything in it; stops at the first failure. An
// entry another program removed meanwhile is gone as asked, no failure.
bool RemoveEntry(const std::string& native, TTreeRun& run);
// Empties the folder at the path (a link there is followed), going on past failures: entries
// whose names start with "." stay, every other file or link goes, and a subfolder is emptied the
// same way and removed too with removeFolders. True when everything went.
bool ClearFolder(const std::string& native, bool removeFolders);

// What a copy made, entry by entry in the order it copied them (a folder before its entries), to
// remove from the source only what was copied and, to undo it, from the destination only what
// the copy made.
struct TCopiedEntry {
    std::string Name;  // in its folder; the first entry's at the source
    size_t Depth = 0;  // 0: the entry the copy started at
    TEntryState Source;
    TEntryState Made;  // what the copy made (Dev and Ino 0: nothing)
};
using TCopyRecord = std::vector<TCopiedEntry>;
// Copies the entry at from to the name to: a regular file through the atomic writer (replacing
// a file at to when replace is set, else refusing any entry there), a link as a link, a folder
// with its entries, each read from the folder opened above it. Everything keeps its group (and,
// for root, its owner) where it may, folders their permissions (sticky and set-group-ID bits
// too), access lists, default access lists and extended attributes. A folder the copy made is
// never entered as a source, whatever path leads there: it is refused as a copy into itself.
// made, when given, receives what was copied, also when the copy failed part way. With `replaced`
// given (a move's), an entry replaced at `to` is kept aside, and `replaced` tells what became of it.
bool CopyEntry(const std::string& from, const std::string& to, bool replace, TTreeRun& run, TCopyRecord* made = nullptr,
               TReplacedEntry* replaced = nullptr);
// Removes from the source what a copy made from it: an entry that changed since it was first
// read, and a folder that has gained entries, stay (and make the result false). `untouched`, when
// given, tells whether the source is still all there, changed maybe, but nothing of it removed, by
// this or another program.
bool RemoveCopied(const std::string& from, const TCopyRecord& copied, TTreeRun& run, bool* untouched = nullptr);
// Whether two times are the same to the nanosecond.
bool SameTime(const struct timespec& a, const struct timespec& b);
// The entry as the copy found it before reading it: the same node, and a file of the same size,
// written and changed last at the same times (with `byChange` off: of the same mode instead).
bool Unchanged(const struct stat& now, const TEntryState& copied, bool byChange = true);
// Undoes a copy to `to`: removes what it made there and nothing else (a file another program put
// in a folder the copy made stays, and that folder with it; an entry made since in the place of
// one it made, whatever inode number it was given, stays), also inside a folder it made
// read-only, which keeps its mode where it stays. On a file system that gives no handles, which
// alone tell a node from a later one of the same number, what the copy made stays. False, with
// the first reason in undo, when anything it made stays. The entry `replaced` tells of, which the
// copy's first entry replaced, is put back in place of the copy where it was kept aside; a copy
// over an entry that could not be kept stays, and so does another user's file the copy wrote in
// place, each named in undo.
bool RemoveMade(const std::string& to, const TCopyRecord& made, TTreeRun& undo, const TReplacedEntry& replaced = {});
// Removes the entry a move's copy at `to` replaced and kept aside, once the move is done (not
// another program's entry put under its name since).
void DropReplaced(const std::string& to, const TReplacedEntry& replaced);
// Undoes the copy of a move that failed (RemoveMade), letting the progress show but hearing no
// Cancel; what stays is told in run.Left.
void UndoMove(const std::string& to, const TCopyRecord& made, const TReplacedEntry& replaced, TTreeRun& run);
// Ends a move whose copy is whole and on disk: removes from the source what was copied
// (RemoveCopied), then what the copy replaced. Where nothing of the source could be removed, and
// it is all still there, the move is undone instead, so that both ends are as they were; what
// another program removed from the source meanwhile lives on in the copy, which stays.
bool RemoveMoved(const std::string& from, const std::string& to, const TCopyRecord& made,
                 const TReplacedEntry& replaced, TTreeRun& run);
// Renames, never over an existing name unless replace is set; across file systems copies, then
// removes from the source what was copied. What the mover may not remove (MayRemove, and for each
// entry as the copy meets it) is refused before anything of it is copied. A copy that fails or is
// cancelled, or whose source could not be removed at all, is undone: nothing it made stays at the
// destination, what it replaced there is put back, and the source is whole.
bool MoveEntry(const std::string& from, const std::string& to, bool replace, TTreeRun& run);
// Pieces the tree's sources share.
// The folder part and the last name of a path without trailing slashes.
void SplitPath(const std::string& path, std::string& folder, std::string& name);
// Starts a walk at the folder that holds the entry at the path (a link on the way followed), the
// entry's name in `name`; false, with the reason in run, when the path names no plain entry or
// its folder cannot be opened.
bool StartAtParent(const std::string& path, TFolderPath& walk, std::string& name, TTreeRun& run);
// A failure at the entry `name` of the walk's innermost folder (its own failure without a name):
// the reason alone for an entry at the start, which the caller names, else with its path in front.
bool FailAt(TTreeRun& run, const TFolderPath& walk, const std::string& name, int error);
bool FailAt(TTreeRun& run, const TFolderPath& walk, const std::string& name, const AnsiString& reason);
// The same with the entry's path in front also at the start, for a walk the caller does not name.
bool FailNamed(TTreeRun& run, const TFolderPath& walk, const std::string& name, const AnsiString& reason);
// Flushes the file system that holds the entry at the path (all of it, once); false with errno.
bool FlushFileSystem(const std::string& path);
// 0 where the mover may remove entries of the open folder, else why not (the system's error): the
// system asks for the right to write and search it, and lets nothing go from a folder immutable or
// append-only (where its file system tells).
int MayRemoveFrom(int folder);
// 0 where the mover may remove the entry `name` (as `entry` found it) of the open folder (as
// `above` found it), the folder's own right aside, else why not: in a sticky folder only root, the
// folder's owner and the entry's may, and an entry immutable or append-only does not go.
int MayRemoveEntry(int folder, const struct stat& above, const std::string& name, const struct stat& entry);
// Both, for the entry at the path (a link at its end not followed).
int MayRemove(const std::string& path);

// rename that refuses (EEXIST) to replace an existing name.
int RenameNoReplace(const std::string& from, const std::string& to);
// Whether both names still name one file of several names after a rename the system reported
// done: they were two names of that file, and the system renamed nothing.
bool StillTwoNames(const std::string& from, const std::string& to);
// Why a move onto another name of its own file is refused, the other name as the program spells it.
AnsiString SameFile(const AnsiString& to);
// True when the folder the path leads to (or the nearest folder above it that exists) is the
// folder `folder` or lies inside it, links resolved.
bool LiesInside(const std::string& native, const struct stat& folder);
