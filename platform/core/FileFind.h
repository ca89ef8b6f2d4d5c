#pragma once
// Folder listings, attributes and file times on program paths (see StoredPath.h), as the
// framework's file routines give them. Masks follow Windows: '*' and '?' with ASCII letters
// matched without regard to case, and "*.*" matching every name, with or without a dot. A mask
// is matched against the characters of the name as the file system spells it: '?' takes one
// character (a Hangul syllable, an accented letter, a byte that is no UTF-8), and an escape in the
// mask (StoredName) stands for its byte, never for its hex digits nor for a wildcard.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/DateTime.h"

// File attribute bits. Read-only: nobody may write the file; hidden: the name starts with ".";
// archive: any entry that is not a folder; a symbolic link also has faSymLink and the
// attributes of what it points to (none but faSymLink when that is missing).
enum : int {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faVolumeID = 0x08,
    faDirectory = 0x10,
    faArchive = 0x20,
    faSymLink = 0x40,
    faAnyFile = 0x3F,
};

struct TSearchRec {
    AnsiString Name;     // the entry's name as a program path holds it (StoredName), no folder
    std::string Native;  // the same as the file system spells it (UTF-8)
    int Attr = 0;
    int64_t Size = 0;  // bytes of a file, 0 for a folder
    TDateTime Time = 0;
};

// A mask (program text, one name) made ready to match native names.
class TNameMask {
public:
    explicit TNameMask(std::string_view mask);
    bool Matches(std::string_view nativeName) const;

private:
    bool every_ = false;  // "*.*"
    std::string bytes_;   // the mask in native bytes
    std::string wild_;    // per byte: '*' or '?' where bytes_ holds a wildcard, else 0
};
bool MatchesMask(std::string_view nativeName, std::string_view mask);

// The entries of the folder of `mask` whose names match its last component, in name order
// ("." and ".." are never listed). A last component without wildcards finds the entry of exactly
// that name where there is one (without reading the folder), else the one entry that differs in
// the case of letters only, and none where several do. False when the folder cannot be read;
// entries read before a failure stay in `found`.
bool FindFiles(std::string_view mask, std::vector<TSearchRec>& found);

// The names of a native folder's entries ("." and ".." left out), in the order the system gives
// them; false when the folder cannot be read to the end.
bool ListFolder(const std::string& nativeFolder, std::vector<std::string>& names);
// The same of a folder open as folderFd, which stays open and is not moved.
bool ListOpenFolder(int folderFd, std::vector<std::string>& names);

// -1 when the entry does not exist.
int FileGetAttr(std::string_view fileName);
// Acts on faReadOnly only: set, write permission is taken from everybody; cleared, the owner
// may write again. False when the entry does not exist or may not be changed.
bool FileSetAttr(std::string_view fileName, int attr);

// The modification time in local time; false when the entry cannot be read.
bool FileAge(std::string_view fileName, TDateTime& time);
bool FileSetDate(std::string_view fileName, TDateTime time);
// Seconds (and nanoseconds) since the Unix epoch to local date and time, and back.
TDateTime UnixToLocalDateTime(int64_t seconds, long nanoseconds);
bool LocalDateTimeToUnix(TDateTime value, int64_t& seconds, long& nanoseconds);
