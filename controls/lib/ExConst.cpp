#include "controls/lib/ExConst.h"

#include "controls/lib/CtrlUtils.h"
#include "platform/gui/Application.h"
#include "platform/gui/Resources.h"

namespace {

// Our own pictures: '#' outline, '.' fill, the rest see-through.
const std::vector<std::string> kHand = {"     ##         ", "    #..#        ", "    #..#        ", "    #..#        ",
                                        "    #..###      ", "    #..#..###   ", " ## #..#..#..## ", "#..##........#.#",
                                        "#...#..........#", " #.............#", "  #............#", "  #...........# ",
                                        "   #..........# ", "    #........#  ", "     #.......#  ", "     #########  "};
const std::vector<std::string> kDragHand = {
    "                ", "                ", "                ", "     ## ## ##   ",
    "    #..#..#..## ", "    #........#.#", "   ##..........#", "  #.#..........#",
    "  #............#", "  #............#", "   #...........#", "   #..........# ",
    "    #.........# ", "     #.......#  ", "     #.......#  ", "     #########  "};

// The library's start-up: the texts, the cursor pictures, and the cursors in the screen's table.
struct TRegistrar {
    TRegistrar()
    {
        static const std::pair<int, const char*> kTexts[] = {
            {SCustomizeSpeedbarHint,
             "To add command buttons, drag and drop buttons onto the SpeedBar. To remove "
             "command buttons, drag them off of the SpeedBar."},
            {SCategoriesLabel, "&Categories:"},
            {SAvailableButtonsLabel, "&Available buttons:"},
            {SCustomizeSpeedbar, "Customize Speedbar"},
            {SNotImplemented, "Function not yet implemented"},
            {SPrevMonth, "Previous Month|"},
            {SPrevYear, "Previous Year|"},
            {SNextMonth, "Next Month|"},
            {SNextYear, "Next Year|"},
            {SDateDlgTitle, "Select a Date"},
            {SDefaultFilter, "All files (*.*)|*.*"},
            {SBrowse, "Browse"}};
        for (const auto& [ident, text] : kTexts)
            RegisterResourceString(ident, text);
        RegisterRowsPicture(rtCursor, "EX_HANDCUR", kHand, QPoint(5, 0));
        RegisterRowsPicture(rtCursor, "EX_DRAGCUR", kDragHand, QPoint(8, 8));
        AddStartupProc([] {
            InstallCursor(crHand, "EX_HANDCUR");
            InstallCursor(crDragHand, "EX_DRAGCUR");
        });
    }
};
const TRegistrar kRegistrar;

}  // namespace

AnsiString ResStr(int Ident) { return LoadStr(Ident); }
