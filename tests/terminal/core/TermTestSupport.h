#pragma once
// Helpers shared by the terminal core tests: a terminal that records its events, readers of
// the screen, and a painter that keeps its own picture of the screen from the calls it gets.

#include <algorithm>
#include <string>
#include <vector>

#include "terminal/core/TerminalCore.h"

// The bytes of s, each as one event string, as OnAfterPut reports them.
inline std::vector<std::string> Pieces(std::string_view s)
{
    std::vector<std::string> out;
    for (char c : s) out.emplace_back(1, c);
    return out;
}

struct RecordingTerminal {
    TTerminalCore t;
    std::vector<std::string> events;
    std::vector<std::string> lines;
    RecordingTerminal()
    {
        t.OnAfterPut = [this](const AnsiString& s) { events.push_back(s); };
        t.OnLine = [this](const AnsiString& s) { lines.push_back(s); };
    }
    void Feed(std::string_view s) { t.DecodeText(s); }
    // Screen row r of the live screen, trailing blanks removed.
    std::string Row(int r) const
    {
        std::string s = t.Data().Strings(t.MaxLinePos() + r);
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }
    std::string Line(int y) const { return t.Data().Strings(y); }
    std::vector<TConfig> Runs(int y) const
    {
        const TConfigList& l = t.Data().Objects(y);
        return std::vector<TConfig>(l.begin(), l.end());
    }
    std::vector<TConfig> RowRuns(int r) const { return Runs(t.MaxLinePos() + r); }
};

// The look of one cell as the runs paint it.
struct CellLook {
    char ch = ' ';
    TColor fg = -1, bg = -1;
    uint8_t flag = 0;
    bool painted = false;
    bool operator==(const CellLook&) const = default;
};

// Paints line y's runs over blank cells, later runs over earlier ones.
inline std::vector<CellLook> PaintLine(const TDataList& d, int y, int width)
{
    std::vector<CellLook> cells(static_cast<size_t>(width));
    for (const TConfig& r : d.Objects(y)) {
        AnsiString text = d.RunText(y, r);
        for (int i = 0; i < r.Length; ++i) {
            int c = r.Start + i;
            if (c < 0 || c >= width) continue;
            cells[static_cast<size_t>(c)] = {text[static_cast<size_t>(i)], r.FontColor, r.BackColor, r.Flag, true};
        }
    }
    return cells;
}

// Keeps a character picture of the live screen from the painter calls alone.
class MirrorPainter : public ITerminalPainter {
public:
    MirrorPainter(int rows, int cols) : FRows(rows), FCols(cols), FGrid(static_cast<size_t>(rows), std::string(static_cast<size_t>(cols), ' ')) {}
    std::string Row(int r) const
    {
        std::string s = FGrid[static_cast<size_t>(r)];
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }
    void TextOut(int col, int row, std::string_view text, TColor, TColor, bool) override
    {
        if (row < 0 || row >= FRows) return;
        for (size_t i = 0; i < text.size(); ++i) Put(col + static_cast<int>(i), row, text[i]);
    }
    void FillCells(int col, int row, int count, TColor) override
    {
        if (count < 0) count = FCols;
        for (int i = 0; i < count; ++i) Put(col + i, row, ' ');
    }
    void FillRows(int row, int count, TColor) override
    {
        if (count < 0) count = FRows;
        for (int r = row; r < row + count && r < FRows; ++r)
            if (r >= 0) FGrid[static_cast<size_t>(r)].assign(static_cast<size_t>(FCols), ' ');
    }
    void ScrollRows(int top, int bottom, int n, TColor) override
    {
        bottom = std::min(bottom, FRows - 1);
        if (top < 0 || top > bottom) return;
        std::vector<std::string> part(FGrid.begin() + top, FGrid.begin() + bottom + 1);
        const int len = bottom - top + 1;
        for (int i = 0; i < len; ++i) {
            int src = i + n;
            FGrid[static_cast<size_t>(top + i)] = (src >= 0 && src < len) ? part[static_cast<size_t>(src)] : std::string(static_cast<size_t>(FCols), ' ');
        }
    }
    void ShiftCells(int row, int col, int n, TColor) override
    {
        if (row < 0 || row >= FRows || col >= FCols) return;
        std::string& s = FGrid[static_cast<size_t>(row)];
        std::string old = s;
        for (int c = col; c < FCols; ++c) {
            int src = c - n;
            s[static_cast<size_t>(c)] = (src >= col && src < FCols) ? old[static_cast<size_t>(src)] : ' ';
        }
    }

private:
    void Put(int c, int r, char ch)
    {
        if (c >= 0 && c < FCols && r >= 0 && r < FRows) FGrid[static_cast<size_t>(r)][static_cast<size_t>(c)] = ch;
    }
    int FRows, FCols;
    std::vector<std::string> FGrid;
};
