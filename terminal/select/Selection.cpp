#include "terminal/select/Selection.h"

#include <algorithm>
#include <utility>

#include "terminal/select/LineChars.h"

namespace {

struct TEnds {
    int TopX, TopY, BottomX, BottomY;
};

TEnds Ordered(const TBlockSelection& sel)
{
    const int last = TDataList::kCount - 1;
    TEnds e{sel.StartX, std::clamp(sel.StartY, 0, last), sel.EndX, std::clamp(sel.EndY, 0, last)};
    if (e.TopY > e.BottomY || (e.TopY == e.BottomY && e.TopX > e.BottomX)) {
        std::swap(e.TopX, e.BottomX);
        std::swap(e.TopY, e.BottomY);
    }
    e.TopX = std::max(e.TopX, 0);
    e.BottomX = std::max(e.BottomX, 0);
    return e;
}

// A start column on the second byte of a character moves back to its first byte; an end column
// right after a first byte moves past the second.
int StartOfChar(const TLineChars& s, int x) { return x < s.Size() ? s.CharStart(x) : x; }
int EndOfChar(const TLineChars& s, int x) { return x > 0 && x <= s.Size() ? s.CharEnd(x - 1) : x; }

AnsiString Slice(const AnsiString& line, int from, int to)
{
    const int n = static_cast<int>(line.size());
    from = std::clamp(from, 0, n);
    to = std::clamp(to, from, n);
    return line.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
}

}  // namespace

AnsiString BlockCalcul(const TDataList& data, const TBlockSelection& sel, int columns)
{
    const TEnds e = Ordered(sel);
    const AnsiString& top = data.Strings(e.TopY);
    const TLineChars topChars(top);
    if (e.TopY == e.BottomY)
        return Slice(top, StartOfChar(topChars, e.TopX), EndOfChar(topChars, e.BottomX));
    const int from = StartOfChar(topChars, e.TopX);
    AnsiString out = Slice(top, from, EndOfChar(topChars, std::min(from + columns, topChars.Size())));
    for (int y = e.TopY + 1; y < e.BottomY; ++y) {
        out += "\r\n";
        out += data.Strings(y);
    }
    const AnsiString& bottom = data.Strings(e.BottomY);
    out += "\r\n";
    out += Slice(bottom, 0, EndOfChar(TLineChars(bottom), e.BottomX));
    return out;
}

std::vector<TCellSpan> BlockSpans(const TDataList& data, const TBlockSelection& sel, int linePos, int pageSize,
                                  int columns)
{
    const TEnds e = Ordered(sel);
    std::vector<TCellSpan> spans;
    auto add = [&](int y, int from, int to) {
        const int row = y - linePos;
        if (row < 0 || row > pageSize)
            return;
        from = std::clamp(from, 0, columns);
        to = std::clamp(to, from, columns);
        if (to > from)
            spans.push_back(TCellSpan{row, from, to});
    };
    const TLineChars top(data.Strings(e.TopY));
    if (e.TopY == e.BottomY) {
        add(e.TopY, StartOfChar(top, e.TopX), EndOfChar(top, e.BottomX));
        return spans;
    }
    add(e.TopY, StartOfChar(top, e.TopX), columns);
    for (int y = std::max(e.TopY + 1, linePos); y < e.BottomY && y <= linePos + pageSize; ++y)
        add(y, 0, columns);
    add(e.BottomY, 0, EndOfChar(TLineChars(data.Strings(e.BottomY)), e.BottomX));
    return spans;
}

const AnsiString& TMultiSelect::Marked(int row) const
{
    static const AnsiString kNone;
    return row >= 0 && row < kRows ? FRows[static_cast<size_t>(row)] : kNone;
}

bool TMultiSelect::Toggle(int row, const AnsiString& text, int left, int right)
{
    if (row < 0 || row >= kRows)
        return false;
    AnsiString& slot = FRows[static_cast<size_t>(row)];
    if (!slot.empty()) {
        slot.clear();
        FActive = std::any_of(FRows.begin(), FRows.end(), [](const AnsiString& r) { return !r.empty(); });
    } else {
        slot = text;
        FActive = true;
    }
    if (left < FLeft)
        FLeft = left;
    FRight = right;
    return true;
}

void TMultiSelect::Cancel()
{
    for (AnsiString& r : FRows)
        r.clear();
    FActive = false;
}
