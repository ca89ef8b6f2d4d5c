#include "controls/lib/ExConst.h"

#include <iterator>

#include "controls/lib/CtrlUtils.h"
#include "platform/gui/Application.h"
#include "platform/gui/Resources.h"

namespace {

// Our own pictures: '#' outline, '.' fill, the rest see-through.
// Plain arrays: constant-initialised, so ready for callers that run while the program starts.
const char* const kHand[] = {"     ##         ", "    #..#        ", "    #..#        ", "    #..#        ",
                             "    #..###      ", "    #..#..###   ", " ## #..#..#..## ", "#..##........#.#",
                             "#...#..........#", " #.............#", "  #............#", "  #...........# ",
                             "   #..........# ", "    #........#  ", "     #.......#  ", "     #########  "};
const char* const kDragHand[] = {"                ", "                ", "                ", "     ## ## ##   ",
                                 "    #..#..#..## ", "    #........#.#", "   ##..........#", "  #.#..........#",
                                 "  #............#", "  #............#", "   #...........#", "   #..........# ",
                                 "    #.........# ", "     #.......#  ", "     #.......#  ", "     #########  "};


}  // namespace

AnsiString ResStr(int Ident) { return LoadStr(Ident); }

bool RegisterLibraryResources()
{
    static bool done = false;
    if (done)
        return true;
    done = true;
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
    RegisterRowsPicture(rtCursor, "EX_HANDCUR", {std::begin(kHand), std::end(kHand)}, QPoint(5, 0));
    RegisterRowsPicture(rtCursor, "EX_DRAGCUR", {std::begin(kDragHand), std::end(kDragHand)}, QPoint(8, 8));
    AddStartupProc([] {
        InstallCursor(crHand, "EX_HANDCUR");
        InstallCursor(crDragHand, "EX_DRAGCUR");
    });
    return true;
}
