#pragma once
// What a save written in place leaves so that nobody sees it half done. Its new content goes first
// to a journal, a file of its own beside the saved file (JournalName), whole and on disk; only then is the saved file marked, in its
// extended attribute "user.hanmud.save", as being written: "busy", a token drawn for the save, the
// journal's name and the absolute path of its folder. Once the file holds the new content on disk
// its mark becomes "done" and the token, and the journal goes. The system lets only the file's
// writers set its mark, so a journal counts only as the mark of the file itself names it and its
// token: none planted or left beside the file is ever read. While the mark says busy, the journal
// holds the file's content; a reader compares the mark before and after reading the file, and reads
// again where a save marked it meanwhile.

#include <sys/stat.h>

#include <cstdint>
#include <string>

namespace SavePaths {

// The file's mark: "busy ..." while a save written in place has not ended (its writer may have
// been killed), "done ..." after, empty where the file has none. False where its file system
// keeps no extended attributes (or the mark cannot be read).
bool ReadMark(int fd, std::string& mark);
bool IsBusy(const std::string& mark);
// The name of the journal a busy mark names, empty for any other mark.
std::string JournalOfBusy(const std::string& mark);

// The content of the journal a busy mark names, found beside `path` (the saved file's path as the
// reader reached it, or its name in the open folder `folder`) or in the folder the mark names:
// false where there is none whole, or it holds more than `most` bytes (then `tooLong`).
bool ReadMarkedJournal(const std::string& mark, int folder, const std::string& path, int64_t most, std::string& content,
                       bool& tooLong);

// Where a save written in place was cut short, the file open as `fd` (whose busy mark is `mark`)
// is given the content of its journal (found as ReadMarkedJournal found it), unless another holds
// the file's lock: written in, flushed, marked done, the journal removed where the reader may.
// Nothing is done where the reader may not write the file.
void FinishMarkedSave(int fd, const std::string& mark, const std::string& content, int folder, const std::string& path);

// A save written in place, run under the file's lock: the journal of the first `length` bytes of
// the open file `from` for the file open as `target` (stat told `state`) in the open folder, then
// the mark. `Begin` leaves the file marked busy (empty) or says why not, nothing changed; `End`,
// once the file holds the new content on disk, marks it done and removes the journal.
class TInPlaceSave {
public:
    TInPlaceSave(int folder, int target, const struct stat& state);
    ~TInPlaceSave();
    TInPlaceSave(const TInPlaceSave&) = delete;
    TInPlaceSave& operator=(const TInPlaceSave&) = delete;

    std::string Begin(int from, int64_t length);
    // Once begun: the file given the first `length` bytes of `from`, runs of zeros left as holes;
    // false with errno set where it cannot.
    bool WriteFile(int from, int64_t length);
    void End();
    // The journal's name, for a message.
    const std::string& JournalName() const { return journalName_; }

private:
    void DropJournal();

    int folder_, target_;
    struct stat state_;
    std::string previous_;  // the mark before, a killed save's journal to remove once this one ends
    std::string token_, journalName_;
    int journal_ = -1;
};

}  // namespace SavePaths
