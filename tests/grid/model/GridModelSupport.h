#pragma once
// Shared by the grid model tests: grids written as text, a dump of what a grid holds, the
// locale the number and date rules read, and tables of named cases.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "grid/model/CellModel.h"
#include "platform/core/FormatSettings.h"

// Rows separated by '/', cells by '|': "h|h/a|1" is two rows of two columns. The counts follow
// the text; FixedRows and FixedCols stay at 1. Cells that hold '/' (dates, tags) take another
// row break.
inline void Fill(TCellModel& grid, std::string_view rows, char rowBreak = '/')
{
    std::vector<std::vector<std::string>> cells(1);
    cells.back().emplace_back();
    for (char c : rows) {
        if (c == rowBreak) {
            cells.emplace_back(1);
        } else if (c == '|') {
            cells.back().emplace_back();
        } else {
            cells.back().back() += c;
        }
    }
    grid.SetRowCount(static_cast<int>(cells.size()));
    grid.SetColCount(static_cast<int>(cells.front().size()));
    for (size_t r = 0; r < cells.size(); ++r)
        for (size_t c = 0; c < cells[r].size(); ++c)
            grid.SetCells(static_cast<int>(c), static_cast<int>(r), cells[r][c]);
}

// The shown rows in the same form, every real column (hidden ones too).
inline std::string Dump(const TCellModel& grid, char rowBreak = '/')
{
    std::string out;
    for (int r = 0; r < grid.RowCount(); ++r) {
        if (r)
            out += rowBreak;
        for (int c = 0; c < grid.ColCount() + grid.HiddenColCount(); ++c)
            out += (c ? "|" : "") + grid.Cells(c, r);
    }
    return out;
}

// The number and date rules read the program's format settings: the tests fix them.
class KoreanLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = FormatSettings();
        FormatSettings() = TFormatSettings::Korean();
        FormatSettings().ThousandSeparator = ',';
        FormatSettings().DecimalSeparator = '.';
    }
    void TearDown() override { FormatSettings() = saved; }
    TFormatSettings saved;
};

// The same locale reading dates as day/month/year with "/" (the automatic rule's dates too).
class KoreanSlashDates : public KoreanLocale {
protected:
    void SetUp() override
    {
        KoreanLocale::SetUp();
        FormatSettings().DateSeparator = '/';
        FormatSettings().ShortDateFormat = "dd/mm/yy";
    }
};

// A row of a table of steps on a grid written as text (Fill), and the rows it should leave
// (Dump); each check the steps make runs too.
struct TGridScenario {
    const char* name;
    const char* start;
    std::function<void(TCellModel&)> act;
    const char* dump;
};
inline void PrintTo(const TGridScenario& c, std::ostream* os) { *os << c.name; }

// Plays a scenario on the grid, graphics enabled: the rows it leaves, and a consistent model.
inline void Play(TCellModel& grid, const TGridScenario& scenario, char rowBreak = '/')
{
    grid.EnableGraphics = true;
    Fill(grid, scenario.start, rowBreak);
    scenario.act(grid);
    EXPECT_EQ(Dump(grid, rowBreak), scenario.dump);
    EXPECT_TRUE(grid.CheckConsistency());
}

// A row of a table: what a call gave, as text, and what it should give.
struct TTextCase {
    const char* name;
    std::function<std::string()> got;
    std::string want;
};
inline void PrintTo(const TTextCase& c, std::ostream* os) { *os << c.name; }
inline std::string CaseName(const ::testing::TestParamInfo<TTextCase>& info) { return info.param.name; }
