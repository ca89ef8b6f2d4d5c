#pragma once
// The display-free rules of the speed bar: the button grid and snapping, the edge a dragged bar
// goes to, resizing by whole rows, the margins the frame leaves, the hint that follows an item's
// caption, unique section titles, the layout's button entries and the customise window's list
// heights. Edges are numbered as the controls' alignments: 1 top, 2 bottom, 3 left, 4 right.

#include <functional>
#include <string_view>

#include "platform/core/AnsiString.h"
#include "platform/core/Geometry.h"

enum TBarEdge { beNone = 0, beTop = 1, beBottom = 2, beLeft = 3, beRight = 4 };

// The grid step along the main axis for a button size S: max(1, min(8, S div 3)), raised until
// it divides S; reaching S (above 1) it is lowered again until it divides S or is below 2. So
// 24 gives 8, 23 gives 1, 25 gives 5.
int SpeedBarGridStep(int Size);
// A point snapped to the grid: a horizontal bar truncates x and rounds y to the nearest step
// (halves to the even one), a vertical bar the other way round. Steps below 1 count as 1.
TPoint SnapToSpeedGrid(TPoint P, bool Horizontal, TPoint Grid, int OffsetHorz, int OffsetVert);

// The edge a point of the parent's client area (W x H) lies nearest to, by the two diagonals.
// A size below 1 counts as 1.
TBarEdge EdgeByDiagonals(int X, int Y, int W, int H);
// Rows (or columns) of buttons a resize drag asks for: max(1, |Distance| div ButtonSize); a
// size below 1 counts as 1.
int SpeedBarResizeCount(int Distance, int ButtonSize);
// Whether a point of the bar's client area (W x H) is on the edge that resizes a bar docked at
// Edge: the inner edge, 4 pixels either way.
bool InSpeedBarResizeZone(TBarEdge Edge, int X, int Y, int W, int H);
// The least margin of the button grid: 2 unless the buttons are flat, plus the border and each
// bevel that is shown.
int SpeedBarMinButtonsOffset(bool FlatButtons, int BorderWidth, int BevelWidth, bool OuterBevel, bool InnerBevel);

// The hint an item gets when its caption becomes Caption, the old hint being OldHint: a caption
// with "|" and a long part is the whole hint; with "|" and no long part, its short part and the
// old long part; without "|", the caption, "|" and the old long part (the old hint had one) or
// just the caption and "|".
AnsiString HintForCaption(std::string_view Caption, std::string_view OldHint);
// The short part of a hint: the text before "|".
AnsiString ShortHintOf(std::string_view Hint);

// A section title that no other section has: Title itself, else Title followed by " (1)",
// " (2)" ... until Exists says no.
AnsiString UniqueSectionTitle(const AnsiString& Title, const std::function<bool(const AnsiString&)>& Exists);

// One "ButtonN" entry of a stored layout: "name,left,top". Words are split at blanks and commas;
// a coordinate that is not a number keeps the default given.
struct TLayoutButton {
    AnsiString Name;
    int Left = 0;
    int Top = 0;
};
AnsiString FormatLayoutButton(const TLayoutButton& Button);
// False for an empty entry.
bool ParseLayoutButton(std::string_view Text, int DefaultLeft, int DefaultTop, TLayoutButton& Button);

// The customise window's list heights at a screen resolution: the list rows never pass
// 186 pixels at 96 pixels per inch (scaled), a button row is the button height plus 2.
struct TSetupListHeights {
    int ButtonRowHeight = 0;
    int ClientHeight = 0;
};
int SetupListMaxHeight(int PixelsPerInch);
TSetupListHeights SetupListHeights(int BtnHeight, int CurrentClientHeight, int PixelsPerInch);
