#pragma once
// Helpers shared by the terminal core tests: a terminal that records its events, readers of
// the screen, and a painter that keeps its own picture of the screen from the calls it gets.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "terminal/core/TerminalCore.h"

// The bytes of s, each as one event string, as OnAfterPut reports them.
inline std::vector<std::string> Pieces(std::string_view s)
{
    std::vector<std::string> out;
    for (char c : s)
        out.emplace_back(1, c);
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
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
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

// s with every byte outside printable ASCII (and the backslash) written as \xHH.
inline std::string Escaped(const std::string& s)
{
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F && c != '\\')
            out.push_back(static_cast<char>(c));
        else
            out += Format("\\x%02X", c);
    }
    return out;
}

// n copies of s.
inline std::string Repeat(std::string_view s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

// Lines prefix+first .. prefix+last, each ended by CR LF unless `lastOpen`.
inline std::string Numbered(const std::string& prefix, int first, int last, bool lastOpen = false)
{
    std::string out;
    for (int i = first; i <= last; ++i)
        out += prefix + std::to_string(i) + (lastOpen && i == last ? "" : "\r\n");
    return out;
}

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
            if (c < 0 || c >= width)
                continue;
            cells[static_cast<size_t>(c)] = {text[static_cast<size_t>(i)], r.FontColor, r.BackColor, r.Flag, true};
        }
    }
    return cells;
}

// The colour of a name as the checks below write it.
inline TColor NamedColor(const std::string& name)
{
    static const std::pair<const char*, TColor> names[] = {
        {"black", clBlack}, {"maroon", clMaroon},   {"green", clGreen}, {"olive", clOlive},
        {"navy", clNavy},   {"purple", clPurple},   {"teal", clTeal},   {"silver", clSilver},
        {"gray", clGray},   {"red", clRed},         {"lime", clLime},   {"yellow", clYellow},
        {"blue", clBlue},   {"fuchsia", clFuchsia}, {"aqua", clAqua},   {"white", clWhite}};
    for (const auto& [n, c] : names)
        if (name == n)
            return c;
    ADD_FAILURE() << "no colour " << name;
    return -3;
}

// One expectation on a terminal, written KEY[N[.M]]=VALUE:
//   lineN=text       buffer line N exactly
//   liveLineN=text   line MaxLinePos+N exactly (N may be negative)
//   rowN=text        screen row N, trailing blanks removed
//   blankRowsN=M     screen rows N..M are blank
//   lengthN=n, lengthAtMostN=n   length of line N, exactly or at most
//   runsN=n          number of runs on line N
//   curX= curY= maxLinePos= linePos= cursorRow=   the cursor and the view
//   reported=text    the reported pieces are the bytes of text; reportedCount=n  their number
//   lineEvents=n     number of OnLine calls; lastLine=text  the last line OnLine got
//   regionOn=0|1, regionBottom=n   the scroll region;  collected=text  the collected text
//   bright= ul= rev=  bright, underline, reverse (0|1);  fg= bg=  current colours (by name)
//   fgN.M= bgN.M= ulN.M= chN.M= paintedN.M=  the look of cell M of line N as its runs paint it
//   param=n  value of the current parameter;  params=n  number of parameters
inline void Check(const RecordingTerminal& r, const std::string& spec)
{
    const size_t eq = spec.find('=');
    const size_t keyEnd = spec.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const std::string key = spec.substr(0, keyEnd), args = spec.substr(keyEnd, eq - keyEnd);
    const size_t dot = args.find('.');
    const int n = args.empty() ? 0 : std::stoi(args);
    const int m = dot == std::string::npos ? 0 : std::stoi(args.substr(dot + 1));
    const std::string v = spec.substr(eq + 1);
    const TTerminalCore& t = r.t;
    auto num = [&] { return std::stoi(v); };
    auto cell = [&] { return PaintLine(t.Data(), n, 80)[static_cast<size_t>(m)]; };
    SCOPED_TRACE(spec);
    if (key == "line") {
        EXPECT_EQ(r.Line(n), v);
    } else if (key == "liveLine") {
        EXPECT_EQ(r.Line(t.MaxLinePos() + n), v);
    } else if (key == "row") {
        EXPECT_EQ(r.Row(n), v);
    } else if (key == "blankRows") {
        for (int row = n; row <= num(); ++row)
            EXPECT_EQ(r.Row(row), "") << row;
    } else if (key == "length") {
        EXPECT_EQ(r.Line(n).size(), static_cast<size_t>(num()));
    } else if (key == "lengthAtMost") {
        EXPECT_LE(r.Line(n).size(), static_cast<size_t>(num()));
    } else if (key == "runs") {
        EXPECT_EQ(r.Runs(n).size(), static_cast<size_t>(num()));
    } else if (key == "curX") {
        EXPECT_EQ(t.CurX(), num());
    } else if (key == "curY") {
        EXPECT_EQ(t.CurY(), num());
    } else if (key == "maxLinePos") {
        EXPECT_EQ(t.MaxLinePos(), num());
    } else if (key == "linePos") {
        EXPECT_EQ(t.LinePos(), num());
    } else if (key == "cursorRow") {
        EXPECT_EQ(t.CurY() - t.MaxLinePos(), num());
    } else if (key == "reported") {
        EXPECT_EQ(r.events, Pieces(v));
    } else if (key == "reportedCount") {
        EXPECT_EQ(r.events.size(), static_cast<size_t>(num()));
    } else if (key == "lineEvents") {
        EXPECT_EQ(r.lines.size(), static_cast<size_t>(num()));
    } else if (key == "lastLine") {
        EXPECT_EQ(r.lines.empty() ? "<none>" : r.lines.back(), v);
    } else if (key == "regionOn") {
        EXPECT_EQ(t.RegionOn(), num() != 0);
    } else if (key == "regionBottom") {
        EXPECT_EQ(t.RegionBottom(), num());
    } else if (key == "collected") {
        EXPECT_EQ(t.CollectedText(), v);
    } else if (key == "param") {
        EXPECT_EQ(t.CurParam().Value, std::stoll(v));
    } else if (key == "params") {
        EXPECT_EQ(t.ParamCount(), num());
    } else if (key == "bright") {
        EXPECT_EQ(t.Bright(), num() != 0);
    } else if (key == "ul" && args.empty()) {
        EXPECT_EQ(t.Underline(), num() != 0);
    } else if (key == "rev") {
        EXPECT_EQ(t.Reverse(), num() != 0);
    } else if (key == "fg" && args.empty()) {
        EXPECT_EQ(t.FontColor(), NamedColor(v));
    } else if (key == "bg" && args.empty()) {
        EXPECT_EQ(t.BackColor(), NamedColor(v));
    } else if (key == "fg") {
        EXPECT_EQ(cell().fg, NamedColor(v));
    } else if (key == "bg") {
        EXPECT_EQ(cell().bg, NamedColor(v));
    } else if (key == "ul") {
        EXPECT_EQ(cell().flag, num());
    } else if (key == "ch") {
        EXPECT_EQ(std::string(1, cell().ch), v);
    } else if (key == "painted") {
        EXPECT_EQ(cell().painted, num() != 0);
    } else
        ADD_FAILURE() << "unknown check";
}

// Bytes fed in one call, then what must hold.
struct Step {
    std::string In;
    std::vector<std::string> Expect;
};

// A fresh terminal, optionally prepared, fed step by step.
struct Scenario {
    const char* Label;
    std::vector<Step> Steps;
    std::function<void(TTerminalCore&)> Setup = nullptr;
};

// A scenario prints as its label.
inline void PrintTo(const Scenario& s, std::ostream* os) { *os << s.Label; }

// Names each row of a table of scenarios after its label, so a failure says which broke.
inline std::string ScenarioName(const ::testing::TestParamInfo<Scenario>& info) { return info.param.Label; }

inline void RunScenario(const Scenario& s)
{
    SCOPED_TRACE(s.Label);
    RecordingTerminal r;
    if (s.Setup)
        s.Setup(r.t);
    for (size_t i = 0; i < s.Steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        r.Feed(s.Steps[i].In);
        for (const std::string& e : s.Steps[i].Expect)
            Check(r, e);
    }
}

// Keeps a character picture of the live screen from the painter calls alone.
class MirrorPainter : public ITerminalPainter {
public:
    MirrorPainter(int rows, int cols)
        : FRows(rows), FCols(cols), FGrid(static_cast<size_t>(rows), std::string(static_cast<size_t>(cols), ' '))
    {}
    std::string Row(int r) const
    {
        std::string s = FGrid[static_cast<size_t>(r)];
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        return s;
    }
    void TextOut(int col, int row, std::string_view text, TColor, TColor, bool) override
    {
        if (row < 0 || row >= FRows)
            return;
        for (size_t i = 0; i < text.size(); ++i)
            Put(col + static_cast<int>(i), row, text[i]);
    }
    void FillCells(int col, int row, int count, TColor) override
    {
        if (count < 0)
            count = FCols;
        for (int i = 0; i < count; ++i)
            Put(col + i, row, ' ');
    }
    void FillRows(int row, int count, TColor) override
    {
        if (count < 0)
            count = FRows;
        for (int r = row; r < row + count && r < FRows; ++r)
            if (r >= 0)
                FGrid[static_cast<size_t>(r)].assign(static_cast<size_t>(FCols), ' ');
    }
    void ScrollRows(int top, int bottom, int n, TColor) override
    {
        bottom = std::min(bottom, FRows - 1);
        if (top < 0 || top > bottom)
            return;
        std::vector<std::string> part(FGrid.begin() + top, FGrid.begin() + bottom + 1);
        const int len = bottom - top + 1;
        for (int i = 0; i < len; ++i) {
            int src = i + n;
            FGrid[static_cast<size_t>(top + i)] =
                (src >= 0 && src < len) ? part[static_cast<size_t>(src)] : std::string(static_cast<size_t>(FCols), ' ');
        }
    }
    void ShiftCells(int row, int col, int n, TColor) override
    {
        if (row < 0 || row >= FRows || col >= FCols)
            return;
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
        if (c >= 0 && c < FCols && r >= 0 && r < FRows)
            FGrid[static_cast<size_t>(r)][static_cast<size_t>(c)] = ch;
    }
    int FRows, FCols;
    std::vector<std::string> FGrid;
};
