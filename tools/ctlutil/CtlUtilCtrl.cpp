// ctlrun's "util": the display-free routines of the library's window and drawing unit.
#include "controls/core/CtrlGeometry.h"
#include "controls/core/CtrlStrings.h"
#include "tools/ctlutil/CtlUtilArgs.h"

void AddCtrlRoutines(TUtilTable& t)
{
    using A = const TUtilArgs&;
    t["SplitCommandLine"] = {1, [](A a) {
                                 AnsiString exe, params;
                                 SplitCommandLine(a.Count() ? a.Text(0) : AnsiString(), exe, params);
                                 return TUtilFields{exe + "|" + params};
                             }};
    t["DropT"] = {1, [](A a) { return TUtilFields{DropT(a.Text(0))}; }};
    t["AnsiUpperFirstChar"] = {1, [](A a) { return TUtilFields{AnsiUpperFirstChar(a.Text(0))}; }};
    t["PointInRect"] = {6, [](A a) {
                            const TRect r = Rect(a.Int(2), a.Int(3), a.Int(4), a.Int(5));
                            return TUtilFields{ShowBool(PointInRect(Point(a.Int(0), a.Int(1)), r))};
                        }};
}
