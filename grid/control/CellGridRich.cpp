// Rich-text cells: the hidden rich-edit document they are measured with, and formatting one into
// a rectangle of any canvas (the screen or a printer page) at the canvas's resolution from the
// documents kept for painting (RichCellCache.h).

#include "grid/control/CellGrid.h"
#include "grid/control/CgRichEdit.h"
#include "grid/control/RichCellCache.h"
#include "platform/gui/MapMode.h"

namespace {

constexpr int kTwipsPerInch = 1440;

}  // namespace

TCgRichEdit* TCellGrid::RichEdit()
{
    if (!FRichEdit)
        FRichEdit = std::make_unique<TCgRichEdit>();
    return FRichEdit.get();
}

TRichCellCache& TCellGrid::RichCells()
{
    if (!FRichCells)
        FRichCells = std::make_unique<TRichCellCache>();
    return *FRichCells;
}

void TCellGrid::RTFPaint(int ACol, int ARow, TCanvas* Canvas, TRect ARect)
{
    Canvas->Brush()->SetStyle(bsClear);
    const int display = RemapColInv(ACol);
    const TGridRect sel = Selection();
    const bool inSelection = display >= sel.Left && display <= sel.Right && ARow >= sel.Top && ARow <= sel.Bottom;
    const bool focusedCell = display == Col() && ARow == Row() && Focused() && !Options().Contains(goDrawFocusSelected);
    const bool selectedLook = inSelection && !focusedCell && !SelectionRTFKeep && GetMapMode(Canvas) == MM_TEXT;
    const std::optional<TColor> look = selectedLook ? std::optional<TColor>(SelectionTextColor()) : std::nullopt;
    LPtoDP(Canvas, ARect);
    const int dpiX = GetDeviceCaps(Canvas, LOGPIXELSX), dpiY = GetDeviceCaps(Canvas, LOGPIXELSY);
    const int margin = 2 * dpiX / 96;
    ARect = TRect{ARect.Left + margin, ARect.Top + margin, ARect.Right - margin, ARect.Bottom - margin};
    const auto twips = [](int pixels, int dpi) { return static_cast<int>(1LL * pixels * kTwipsPerInch / dpi); };
    const TRect rect{twips(ARect.Left, dpiX), twips(ARect.Top, dpiY), twips(ARect.Right, dpiX),
                     twips(ARect.Bottom, dpiY)};
    const int height = RichCells().UseLaidOut(Cells(ACol, ARow), look, [&](TRichDocument& rich) {
        rich.SetDefaultFont(Canvas->Font());
        const int mode = SetMapMode(Canvas, MM_TEXT);
        rich.FormatRange(Canvas, rect);
        SetMapMode(Canvas, mode);
        return rich.RequestedHeight(Canvas, ARect.Width());
    });
    RTFResizeRequest(this, TRect{0, 0, ARect.Width(), height});
}
