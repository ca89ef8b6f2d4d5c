#pragma once
// The display-free arithmetic of the control library's drawing and window routines: rectangle
// tests, the bands of a gradient, text shortening and the placement of cell texts and windows.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/Colors.h"
#include "platform/gui/GraphicsTypes.h"

enum TFillDirection { fdTopToBottom, fdBottomToTop, fdLeftToRight, fdRightToLeft };
enum TVertAlignment { vaTopJustify, vaCenter, vaBottomJustify };

// The largest coordinate a screen or a bitmap can show (16-bit drawing coordinates); sizes and
// positions past it are cut to it before any arithmetic on them.
constexpr int kMaxScreenCoord = 32767;
int ClampToScreen(int64_t Value);
// Each edge cut to -kMaxScreenCoord..kMaxScreenCoord, so Width and Height cannot overflow.
TRect ClampToScreen(const TRect& R);

inline int WidthOf(const TRect& R) { return R.Right - R.Left; }
inline int HeightOf(const TRect& R) { return R.Bottom - R.Top; }
// Every edge counts as inside, the right and bottom ones too.
inline bool PointInRect(const TPoint& P, const TRect& R)
{
    return P.x >= R.Left && P.x <= R.Right && P.y >= R.Top && P.y <= R.Bottom;
}
// Whether P lies in the polygon of the points, by the winding rule.
bool PointInPolyRgn(const TPoint& P, const std::vector<TPoint>& Points);
// The colour's RGB marked as palette-relative.
inline TColor PaletteColor(TColor Color) { return ColorToRGB(Color) | 0x02000000; }

// Win32 MulDiv: a * b / c rounded to the nearest integer (halves away from zero); -1 for c = 0.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// One band of a gradient: the rectangle and its solid colour (RGB).
struct TGradientBand {
    TRect Rect;
    TColor Color;
};
// The fills of a banded gradient from Start to End (RGB colours) over R; an empty rectangle
// gives none, fewer than 2 colours one fill of Start.
std::vector<TGradientBand> GradientBands(const TRect& R, TColor StartRGB, TColor EndRGB, TFillDirection Direction,
                                         int Colors);

// Shortens Text from the end with "..." until Width says it fits in MaxWidth; a cut never
// leaves half of a two-byte character. A text that fits comes back unchanged.
AnsiString MinimizeText(std::string_view Text, const std::function<int(std::string_view)>& Width, int MaxWidth);

// The top offset of a cell text of one line of TextHeight in a cell RectHeight high.
int CellTextTop(TVertAlignment VertAlign, int RectHeight, int TextHeight);

// A window of Size centred on a screen of ScreenSize and pushed back onto it.
TRect CenteredOnScreen(TSize Size, TSize ScreenSize);
