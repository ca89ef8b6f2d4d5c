#pragma once
// What a save written in place leaves so that nobody sees it half done. Its new content goes first
// to a journal, a file of its own beside the saved file (JournalName), whole and on disk; only then
// is the saved file marked, in its extended attribute "user.hanmud.save", as being written: "busy",
// a token drawn for the save, the new content's SHA-256 digest and length, the journal's name and
// the absolute path of its folder. Once the file holds the new content on disk its mark becomes
// "done" and the token, and the journal goes. The system lets only the file's writers set its
// mark: a journal counts only where its content has the digest the file's own mark gives, wherever
// it was found, so none planted or left anywhere is ever taken for the file's content. While the
// mark says busy, the journal holds the file's content; a reader compares the mark before and after
// reading the file, and reads again where a save marked it meanwhile (the token tells two saves of
// one content apart).

#include <sys/stat.h>

#include <cstdint>
#include <string>

namespace SavePaths {

// The file's mark: "busy ..." while a save written in place has not ended (its writer may have
// been killed), "done ..." after, empty where the file has none. False where its file system
// keeps no extended attributes (or the mark cannot be read).
bool ReadMark(int fd, std::string& mark);
bool IsBusy(const std::string& mark);

// The content a busy mark commits the file to: its journal's, found beside the file (in the open
// folder `folder`, or beside `path` as the reader reached it) or in the folder the mark names, or
// the file's own where its save had written it whole; false where none has the mark's digest, or
// it holds more than `most` bytes (then `tooLong`).
bool ReadMarkedContent(const std::string& mark, int fd, int folder, const std::string& path, int64_t most,
                       std::string& content, bool& tooLong);

// Where a save written in place was cut short, the file open as `fd` (whose busy mark is `mark`)
// is given the content the mark commits it to, unless another holds the file's lock: written in,
// flushed, marked done, the journal removed where the reader may. Nothing is done where the reader
// may not write the file.
void FinishMarkedSave(int fd, const std::string& mark, const std::string& content, int folder, const std::string& path);

// Removes, where the saver may, the journal a busy mark names (looked for in the open folder and the
// folder the mark names), whose file no longer needs it: another content replaced the file's whole.
void RemoveJournalOf(const std::string& mark, int folder);

// Whether the journal `name` in the open folder may go: it is whole, and the file it was made for
// is in the folder with a mark that no longer names it. Anything unsure (a mark that cannot be read,
// the file not found here) keeps it.
bool JournalOfNoUse(int folder, const std::string& name);

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
    // `dropKilled`: a killed save's journal the file's mark named before goes too (only where the
    // file's lock keeps every other writer out).
    void End(bool dropKilled);
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
