#pragma once
// The terminal's line buffer: exactly 10000 lines, each a text of cp949 bytes (one byte a column)
// with its colour runs. The lines live in a ring, so dropping the oldest lines and appending
// blank ones at the end (the buffer scrolling) costs the same however full it is.

#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"
#include "terminal/core/ConfigList.h"

struct TDataLine {
    AnsiString Text;
    TConfigList Runs;
};

class TDataList {
public:
    static constexpr int kCount = 10000;

    TDataList();

    int Count() const { return kCount; }
    // Read access; an index outside 0..9999 raises EListError.
    const AnsiString& Strings(int y) const { return Line(y).Text; }
    const TConfigList& Objects(int y) const { return Line(y).Runs; }
    const TDataLine& Line(int y) const;
    // Write access to line y (marks it as possibly not blank).
    TDataLine& Edit(int y);

    // Deletes n lines at y; n blank lines appear at the end.
    void UpScroll(int y, int n);
    // Inserts n blank lines at y; the last n lines are lost.
    void DownScroll(int y, int n);
    // Within lines top..bottom only: move the lines up (n > 0) or down (n < 0) by |n|; the lines
    // that enter at the other edge are blank and the ones pushed out of the range are lost.
    void ScrollRange(int top, int bottom, int n);
    // Moves line `from` to index `to`, the lines between shifting by one to make room.
    void MoveLine(int from, int to);

    // Overwrites line y from column x with s, padding a shorter line with blanks up to x.
    void InsertString(std::string_view s, int x, int y);
    // The text a run paints: the line's bytes over the run's cells, blanks past the text's end.
    AnsiString RunText(int y, const TConfig& run) const;
    void ClearLine(int y);
    // Gives back all spare capacity of line y (done when the cursor leaves a line).
    void Compact(int y);

    // Every line from `Used()` on is blank; lets scrolls in the middle skip the untouched end.
    int Used() const { return FUsed; }

    // The memory the store holds: its slots and every block the lines took from the heap, as
    // the allocator gives them out (with its header).
    size_t MemoryBytes() const;

private:
    TDataLine& Slot(int y) { return FLines[static_cast<size_t>((FHead + y) % kCount)]; }
    const TDataLine& Slot(int y) const { return FLines[static_cast<size_t>((FHead + y) % kCount)]; }
    static void CheckIndex(int y);
    void Rotate(int top, int bottom, int n);

    std::vector<TDataLine> FLines;
    int FHead = 0;
    int FUsed = 0;
};
