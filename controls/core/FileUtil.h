#pragma once
// File-system helpers of the control library, on program paths (cp949, backslashes, relative to
// the program folder; files are opened through NativePath): path names, attributes, a chunked
// copy with progress, moves, wildcard deletion, clearing a folder, byte-range locks, shell links
// (freedesktop .desktop files) and a file operator whose undo is the freedesktop trash.

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/Component.h"
#include "platform/core/DateTime.h"
#include "platform/core/FileFind.h"
#include "platform/core/FileSystem.h"
#include "platform/core/Liveness.h"

// --- Path names ---
// A trailing backslash added unless empty or already ending in ":" or "\"; a lone drive letter
// becomes "X:\".
AnsiString NormalDir(std::string_view dir);
// The trailing backslash dropped, except from a drive root ("C:\") and a one-character name.
AnsiString RemoveBackSlash(std::string_view dir);
bool DirExists(std::string_view name);
// Not empty, none of < > " [ ] |, and no backslash in the name part.
bool ValidFileName(std::string_view fileName);
// TMPDIR or the system's temporary folder, with a trailing backslash.
AnsiString GetTempDir();
// The system's settings and library folders: "\etc" and "\usr\lib".
AnsiString GetWindowsDir();
AnsiString GetSystemDir();
// Names have one form here: the last component as it stands when the entry exists, else empty.
AnsiString ShortToLongFileName(std::string_view fileName);
AnsiString LongToShortFileName(std::string_view fileName);
// Every component converted; the part before the first backslash stays as it is.
AnsiString ShortToLongPath(std::string_view path);
AnsiString LongToShortPath(std::string_view path);
// Bytes of a file; -1 for a folder or a missing file.
int64_t GetFileSize(std::string_view fileName);
// The modification time, or NullDate.
TDateTime FileDateTime(std::string_view fileName);
// Every bit of attr is among the entry's attributes (FileFind.h).
bool HasAttr(std::string_view fileName, int attr);

// --- Byte-range locks on an open descriptor ---
// A lock belongs to the open file, as on Windows: another open of the same file, in this process
// too, is refused. A descriptor opened for reading only takes a shared lock. 0 on success, else
// the system's error number.
int FileLock(int handle, int32_t offset, int32_t size);
int FileLock(int handle, int64_t offset, int64_t size);
int FileUnlock(int handle, int32_t offset, int32_t size);
int FileUnlock(int handle, int64_t offset, int64_t size);

// --- Copying, moving, deleting ---
// Copies in 8 KiB blocks through the atomic writer, so a failure leaves an existing destination
// as it was; the copy has the source's group (and, for root, its owner) where it may, then its
// permission bits and time, and keeps its holes; it reads until the source ends, whatever size
// the file system gave. Only a regular file (or a link to one) is copied: a FIFO, a device or a
// socket raises EFOpenError with the reason, at once. To may name a folder. The entry at To is
// replaced itself (a link there too, never followed), by a copy that was its writer's alone until
// it had the source's group and mode; a read-only one only with overwriteReadOnly, and it is
// never made writable. Progress (a registered progress control, or null) follows
// the bytes copied. Raises EFOpenError, EFCreateError (also for a destination that is the source
// itself, or read-only without overwriteReadOnly), EReadError or EWriteError. With shellDialog
// the file operator copies instead, and a failure raises EAbort.
void CopyFile(std::string_view from, std::string_view to, TObject* progress = nullptr);
void CopyFileEx(std::string_view from, std::string_view to, bool overwriteReadOnly, bool shellDialog,
                TObject* progress = nullptr);
// Renames, replacing a link at To itself; across file systems, copies whole (a link as a link) and
// then deletes the source, unless it changed since its copy first read it. A source the mover may
// not remove is refused before To is touched, and a move that fails otherwise leaves To as it was
// (another user's file written in place keeps what was written, and the error says so).
void MoveFile(std::string_view from, std::string_view to);
void MoveFileEx(std::string_view from, std::string_view to, bool shellDialog);
// Deletes the plain files that match the mask (not folders, not names starting with "."),
// stopping at the first failure; false when nothing matched or a deletion failed. A name as a
// listing gives it (TSearchRec::Name) names that file alone, and a name without wildcards names
// one file at most (FindFiles).
bool DeleteFiles(std::string_view mask);
// DeleteFiles of each mask while they succeed; true for none.
bool DeleteFilesEx(const std::vector<AnsiString>& masks);
// Empties a folder tree, going on past failures; with del, removes the folder too. Entries are
// removed relative to their opened folder, and a symbolic link in the tree is removed, never
// followed. A path that leads to the root folder ("\", "\\", "C:\\", a link to it) is
// refused before anything is opened. False when anything failed or path is no folder.
bool ClearDir(std::string_view path, bool del);

// --- Shell links ---
// Special folders by their Windows numbers; the ones that have an XDG counterpart.
enum : int {
    CSIDL_DESKTOP = 0x00,
    CSIDL_PROGRAMS = 0x02,
    CSIDL_PERSONAL = 0x05,
    CSIDL_STARTUP = 0x07,
    CSIDL_STARTMENU = 0x0B,
    CSIDL_DESKTOPDIRECTORY = 0x10,
    CSIDL_COMMON_STARTMENU = 0x16,
    CSIDL_COMMON_PROGRAMS = 0x17,
    CSIDL_COMMON_STARTUP = 0x18,
    CSIDL_COMMON_DESKTOPDIRECTORY = 0x19,
};
// The native folder that stands for a special folder; raises Exception for one without.
std::string SpecialFolderPath(int folder);
// Writes DisplayName.desktop into the special folder: an application entry for an executable
// file, a link entry for anything else. Raises on a display name that cannot be a file name and
// on a failed write.
void CreateFileLink(std::string_view fileName, std::string_view displayName, int folder);
void DeleteFileLink(std::string_view displayName, int folder);

// --- File operator ---
enum TFileOperation { foCopy, foDelete, foMove, foRename };
enum TFileOperFlag {
    flAllowUndo,
    flConfirmMouse,
    flFilesOnly,
    flMultiDest,
    flNoConfirmation,
    flNoConfirmMkDir,
    flRenameOnCollision,
    flSilent,
    flSimpleProgress,
    flNoErrorUI
};
using TFileOperFlags = unsigned;
constexpr TFileOperFlags FileOperFlag(TFileOperFlag f) { return 1u << f; }

// Copies, moves, renames or deletes files and folders through the installed dialogs
// (FileOperatorDialogs.h): it asks before it replaces an existing file, deletes, or makes a
// missing folder, unless the options say not to ask; shows its progress unless flSilent (without
// names under flSimpleProgress) and its errors unless flNoErrorUI. Without installed dialogs every
// question is answered No.
class TExFileOperator : public TComponent {
public:
    explicit TExFileOperator(TComponent* AOwner) : TComponent(AOwner) {}

    TFileOperation Operation = foCopy;
    TFileOperFlags Options = FileOperFlag(flAllowUndo) | FileOperFlag(flNoConfirmMkDir);
    // The progress window's title; empty: the operation's own ("Copying..." and the like).
    AnsiString ProgressTitle;
    // Names separated by ";" or "|"; a name may end in a mask.
    AnsiString Source;
    AnsiString Destination;
    // The user skipped a part (No) or cancelled during the last Execute.
    bool OperationAborted() const { return aborted_; }

    // True when every part succeeded or was skipped by a No; false after a failure or a Cancel,
    // which is heard at every step, also while sources are removed. Deletion with flAllowUndo
    // moves to the trash. A folder is copied with its links as links and everything's group (and,
    // for root, owner) and permission bits; a FIFO, a device or a socket is not copied. A move
    // across file systems removes from the source only what it copied, as it was before the copy
    // read it, refuses what it may not remove before it copies anything, and, when it fails or is
    // cancelled, leaves nothing at the destination and puts back what it replaced there (what it
    // cannot remove or put back is shown). The root folder is never deleted or moved, and no folder is copied
    // into itself (by what the paths lead to, nor by entering a folder the copy made).
    virtual bool Execute();

private:
    bool aborted_ = false;
    TLiveness liveness_;  // a handler run while the progress shows may free the operator
};

// Moves a file or folder into the user's freedesktop trash ($XDG_DATA_HOME/Trash) with its
// .trashinfo entry, never over another entry there; false when that fails (the entry stays where
// it was, and nothing of it is left in the trash).
bool MoveToTrash(const std::string& nativePath);
