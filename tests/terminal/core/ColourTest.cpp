// Colours: the attribute state SGR leaves, and the runs text, erasing, inserting and deleting
// leave on a line.
#include <tuple>

#include "TermTestSupport.h"

namespace {

// Bold then a colour gives the bright colour, and reset only undoes bold (not back to the
// default white); a second dim changes nothing. Reverse while bold keeps the new foreground
// bright (navy brightened) and takes the dark member of red's pair as background.
const Scenario kColourScenarios[] = {
    {"BoldThenColourGivesTheBrightColourAndResetOnlyUndoesBold",
     {{"\x1b[1m\x1b[31m", {"fg=red"}},
      {"\x1b[0m", {"fg=maroon"}},
      {"\x1b[1;34m", {"fg=blue"}},
      {"\x1b[22m", {"fg=navy"}},
      {"\x1b[5m", {"fg=blue"}},
      {"\x1b[2m\x1b[2m", {"fg=navy"}}}},
    {"ColoursUseAnsiOrder",
     {{"\x1b[30;47m", {"fg=black", "bg=silver"}},
      {"\x1b[33;44m", {"fg=olive", "bg=navy"}},
      {"\x1b[36;41m", {"fg=teal", "bg=maroon"}}}},
    {"ReverseSwapsAndSwapsBack",
     {{"\x1b[32;41m\x1b[7m", {"fg=maroon", "bg=green"}},
      {"\x1b[7m", {"fg=maroon"}},
      {"\x1b[27m", {"fg=green", "bg=maroon"}},
      {"\x1b[7;0m", {"fg=green", "rev=0"}}}},
    {"ReverseWhileBoldKeepsTheNewForegroundBright",
     {{"\x1b[1;31;44m\x1b[7m", {"fg=blue", "bg=maroon"}}, {"\x1b[0m", {"fg=maroon", "bg=navy"}}}},
    {"EmptyParameterIsResetAndUnknownValuesAreIgnored",
     {{"\x1b[1;33m\x1b[m", {"fg=olive", "bright=0"}}, {"\x1b[4;99;1000000m", {"ul=1"}}}},
    {"UnderlineIsTheRunFlag", {{"a\x1b[4mb\x1b[24mc", {"ul0.0=0", "ul0.1=1", "ul0.2=0"}}}},
    {"AtSignActsAsEscapeWithAlphaUse",
     {{"@[1;31mx", {"line0=x", "fg0.0=red"}}},
     [](TTerminalCore& t) { t.AlphaUse = true; }},
    {"SaveAndRestoreCursor",
     {{"\x1b[3;7H\x1b"
       "7\x1b[10;1Hab\x1b"
       "8X",
       {"line2=      X"}},
      {"\x1b[31m\x1b[5;5H\x1b[s\x1b[0;32m\x1b[1;1H\x1b[uY", {"line4=    Y", "fg4.4=maroon"}}}},
    {"ErasedCellsTakeTheCurrentColours",
     {{"abcdef\x1b[46m\x1b[1;3H\x1b[K", {"bg0.1=navy", "bg0.2=teal"}},
      {"\x1b[41m\x1b[1;3H\x1b[2X", {"bg0.2=maroon", "bg0.3=maroon", "bg0.4=teal"}}}},
    {"InsertedBlanksPaintTheCurrentBackground",
     {{"abcdef\x1b[42m\x1b[1;2H\x1b[2@", {"bg0.1=green", "bg0.2=green", "ch0.3=b", "bg0.3=navy"}}}},
    // The green run became empty and is gone.
    {"DeleteCharactersShiftsTextAndRuns",
     {{"\x1b[31mabc\x1b[32mdef\x1b[33mghi\x1b[1;3H\x1b[4P",
       {"line0=abghi", "fg0.1=maroon", "fg0.2=olive", "fg0.4=olive", "painted0.5=0", "runs0=2"}}}},
    {"DeleteAtTheStartOfARunLosesOnlyTheDeletedCells",
     {{"\x1b[31mab\x1b[32mcdefg\x1b[1;2H\x1b[2P",
       {"line0=adefg", "fg0.0=maroon", "fg0.1=green", "fg0.4=green", "painted0.5=0"}}}},
};

}  // namespace

class ColourScenario : public ::testing::TestWithParam<Scenario> {};

TEST_P(ColourScenario, LeavesTheColours) { RunScenario(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Colours, ColourScenario, ::testing::ValuesIn(kColourScenarios), ScenarioName);

TEST(Colours, AnsiColorAndChangeImportant)
{
    const std::pair<const char*, TColor> named[] = {{"", clBlack},   {"12", clRed},  {"15", clWhite},
                                                    {"16", clBlack}, {"x", clBlack}, {"99999999999999", clBlack}};
    for (const auto& [text, colour] : named)
        EXPECT_EQ(AnsiColor(text), colour) << text;
    const TColor dark[] = {clBlack, clNavy, clGreen, clTeal, clMaroon, clPurple, clOlive, clSilver};
    const TColor bright[] = {clGray, clBlue, clLime, clAqua, clRed, clFuchsia, clYellow, clWhite};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(ChangeImportant(dark[i]), bright[i]);
        EXPECT_EQ(ChangeImportant(bright[i]), dark[i]);
    }
    EXPECT_EQ(ChangeImportant(0x123456), 0x123456);
}

TEST(Colours, ColourChangesBetweenTextMakeRuns)
{
    RecordingTerminal c;
    c.Feed("ab\x1b[31mcd\x1b[37mef");
    std::vector<TConfig> runs = c.Runs(0);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1], (TConfig{clMaroon, clNavy, 2, 2, 0}));
    EXPECT_EQ(runs[2].FontColor, clSilver);
}

TEST(Colours, ClearScreenInAColourPaintsTheNewScreen)
{
    RecordingTerminal c;
    c.Feed("\x1b[41m\x1b[2J");
    for (int row = 0; row < 25; ++row) {
        std::vector<TConfig> runs = c.RowRuns(row);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(std::tuple(runs[0].BackColor, int{runs[0].Length}), std::tuple(clMaroon, 80));
    }
}

TEST(Colours, RepeatedInsertsDoNotGrowALineWithoutBound)
{
    RecordingTerminal r;
    r.Feed("abc\x1b[1;1H" + Repeat("\x1b[80@", 1000));
    EXPECT_LE(r.Line(0).size(), 80u);
    EXPECT_LE(r.Runs(0).back().End(), 80);
}
