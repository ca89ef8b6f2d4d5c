#pragma once
// The journal of a save written in place: the new content, whole and on disk beside the file
// before the file is touched, removed once the file holds it on disk. A save cut short leaves it:
// whole, it is the content the save had committed to, and whoever next touches the file writes it
// in again; partial, the save ended before the file was touched, and it is dropped. It is
// ".~hanmud-journal-" and sixteen hexadecimal digits hashed from the file's name, then "~", and
// holds a header (a mark, the number of the file it was made for, the content's length and
// checksum) followed by the content. It opens to whom the file opens to, so that any writer of the
// file may empty it where the folder lets only its maker remove it; an empty journal is none.

#include <sys/stat.h>

#include <cstdint>
#include <string>

namespace SavePaths {

enum class TJournal {
    None,   // no journal, an empty one, or something else at its name
    Whole,  // the whole new content of a save cut short, for the file that is at the name now
    Stale,  // partial, or made for a file no longer at the name: the file holds what it held
    Unreadable,
};

// What the journal beside the file `name` in the open folder says of `target`, the file now at the
// name (stat told it); where whole and `content` given, its content, unless longer than `most`
// (then TooLong is set and content left empty).
TJournal ReadJournal(int folder, const std::string& name, const struct stat& target, std::string* content = nullptr,
                     int64_t most = INT64_MAX, bool* tooLong = nullptr);

// Writes the first `length` bytes of the open file `from` as the journal of `name` for the file
// `target` (open, stat told `targetState`), whole and on disk, its name too, when it returns. The
// journal, open, or -1 with `error` saying why (the file untouched).
int WriteJournal(int folder, const std::string& name, int target, const struct stat& targetState, int from,
                 int64_t length, std::string& error);

// Empties the open journal and removes it where the saver may: an empty one left behind is none.
void DropJournal(int folder, const std::string& name, int journal);

// Finishes a save of the file written in place and cut short, or drops what it left, as the
// journal says; the caller holds the file's update lock. Empty when nothing is left to do, else why
// (for the user): the file is then read from the journal and must not be saved over.
std::string FinishCutShortSave(int folder, const std::string& name, const std::string& shown);

}  // namespace SavePaths
