#include "controls/core/SpeedBarRules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "controls/core/CtrlGeometry.h"
#include "controls/core/StrUtils.h"
#include "platform/core/Strings.h"

int SpeedBarGridStep(int Size)
{
    const int s = std::max(Size, 1);
    int step = std::max(1, std::min(8, s / 3));
    while (s % step != 0)
        ++step;
    if (step == s && s > 1) {
        do
            --step;
        while (step >= 2 && s % step != 0);
    }
    return std::max(step, 1);
}

namespace {

// The nearest integer of N / D, halves to the even one.
int RoundDiv(int N, int D) { return static_cast<int>(std::nearbyint(static_cast<double>(N) / D)); }

int TruncDiv(int N, int D) { return static_cast<int>(std::trunc(static_cast<double>(N) / D)); }

}  // namespace

TPoint SnapToSpeedGrid(TPoint P, bool Horizontal, TPoint Grid, int OffsetHorz, int OffsetVert)
{
    const int gx = std::max(Grid.x, 1), gy = std::max(Grid.y, 1);
    const int dx = P.x - OffsetHorz, dy = P.y - OffsetVert;
    if (Horizontal)
        return TPoint{TruncDiv(dx, gx) * gx + OffsetHorz, RoundDiv(dy, gy) * gy + OffsetVert};
    return TPoint{RoundDiv(dx, gx) * gx + OffsetHorz, TruncDiv(dy, gy) * gy + OffsetVert};
}

TBarEdge EdgeByDiagonals(int X, int Y, int W, int H)
{
    const double w = std::max(W, 1), h = std::max(H, 1);
    const double d1 = X * h / w, d2 = (1.0 - X / w) * h;
    const bool below1 = Y >= d1, below2 = Y >= d2;
    if (below1 && below2)
        return beBottom;
    if (below1)
        return beLeft;
    if (below2)
        return beRight;
    return beTop;
}

int SpeedBarResizeCount(int Distance, int ButtonSize)
{
    return std::max(1, std::abs(Distance) / std::max(ButtonSize, 1));
}

bool InSpeedBarResizeZone(TBarEdge Edge, int X, int Y, int W, int H)
{
    switch (Edge) {
    case beTop: return X >= 1 && X <= W && Y > H - 4 && Y <= H + 4;
    case beBottom: return X >= 1 && X <= W && Y >= -3 && Y < 5;
    case beLeft: return Y >= 1 && Y <= H && X > W - 4 && X <= W + 4;
    case beRight: return Y >= 1 && Y <= H && X >= -3 && X < 5;
    default: return false;
    }
}

int SpeedBarMinButtonsOffset(bool FlatButtons, int BorderWidth, int BevelWidth, bool OuterBevel, bool InnerBevel)
{
    return (FlatButtons ? 0 : 2) + BorderWidth + (OuterBevel ? BevelWidth : 0) + (InnerBevel ? BevelWidth : 0);
}

AnsiString ShortHintOf(std::string_view Hint)
{
    const size_t bar = Hint.find('|');
    return AnsiString(Hint.substr(0, bar));
}

namespace {

// The long part of a hint: the text after "|", empty without one.
std::string_view LongHintOf(std::string_view Hint)
{
    const size_t bar = Hint.find('|');
    return bar == std::string_view::npos ? std::string_view() : Hint.substr(bar + 1);
}

}  // namespace

AnsiString HintForCaption(std::string_view Caption, std::string_view OldHint)
{
    const size_t bar = Caption.find('|');
    if (bar != std::string_view::npos) {
        if (!LongHintOf(Caption).empty())
            return AnsiString(Caption);
        return AnsiString(Caption.substr(0, bar)) + "|" + AnsiString(LongHintOf(OldHint));
    }
    if (OldHint.find('|') != std::string_view::npos)
        return AnsiString(Caption) + "|" + AnsiString(LongHintOf(OldHint));
    return AnsiString(Caption) + "|";
}

AnsiString UniqueSectionTitle(const AnsiString& Title, const std::function<bool(const AnsiString&)>& Exists)
{
    AnsiString title = Title;
    for (int i = 1; Exists(title); ++i)
        title = Title + Format(" (%d)", i);
    return title;
}

AnsiString FormatLayoutButton(const TLayoutButton& Button)
{
    return Format("%s,%d,%d", Button.Name.c_str(), Button.Left, Button.Top);
}

bool ParseLayoutButton(std::string_view Text, int DefaultLeft, int DefaultTop, TLayoutButton& Button)
{
    if (Text.empty())
        return false;
    const TSysCharSet delims{' ', ','};
    Button.Name = ExtractWord(1, Text, delims);
    // A stored place is cut to what a screen can show before it meets any arithmetic.
    Button.Left = ClampToScreen(StrToIntDef(ExtractWord(2, Text, delims), DefaultLeft));
    Button.Top = ClampToScreen(StrToIntDef(ExtractWord(3, Text, delims), DefaultTop));
    return true;
}

int SetupListMaxHeight(int PixelsPerInch) { return static_cast<int>(std::lround(186.0 * PixelsPerInch / 96.0)); }

TSetupListHeights SetupListHeights(int BtnHeight, int CurrentClientHeight, int PixelsPerInch)
{
    TSetupListHeights h;
    const int maxHeight = SetupListMaxHeight(PixelsPerInch);
    h.ButtonRowHeight = std::max(BtnHeight + 2, 1);
    const int rows = std::max(1, std::max(CurrentClientHeight, maxHeight) / h.ButtonRowHeight);
    h.ClientHeight = std::min(maxHeight, h.ButtonRowHeight * rows);
    return h;
}
