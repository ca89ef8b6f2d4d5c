#include "terminal/draw/ScreenPainter.h"


#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

const std::array<TColor, 16> kPalette = [] {
    std::array<TColor, 16> p{};
    for (int i = 0; i < 16; ++i)
        p[static_cast<size_t>(i)] = NibbleToColor(i);
    return p;
}();

}  // namespace

TScreenPainter::TScreenPainter(TTerminalCore& core) : FCore(core), FFont(&FScreen)
{
    // Hanja have no bitmap glyphs: the system font draws them in the renderer's colours.
    FFont.SetHanjaDrawer([this](TFrameBuffer& fb, int x, int y, const AnsiString& text, uint8_t fg, uint8_t bg) {
        if (FRaster)
            FRaster->TextOut(fb, x, y, text, fg, bg, false);
        else
            fb.FillRect({x, y, x + 16, y + 16}, bg);
    });
    FFont.SetFontColor(FFontColor);
    FFont.SetBackColor(FBackColor);
    FShown = core.LinePos();
    FDetached = !core.Live();
    FCore.SetPainter(this);
}

TScreenPainter::~TScreenPainter() { FCore.SetPainter(nullptr); }

const TColor* TScreenPainter::Palette() { return kPalette.data(); }

void TScreenPainter::SetRasterizer(ITextRaster* raster)
{
    FRaster = raster;
    if (FRaster && !FWinFontName.empty())
        FRaster->SetFont(FWinFontName, FWinFontSize);
}

void TScreenPainter::SetCells(int w, int h)
{
    Flush();
    FCellWidth = std::max(w, 1);
    FCellHeight = std::max(h, 1);
    FScreen.Resize(ImageWidth(), FScreen.Height(), ColorToNibble(FBackColor));
    FDrawnWidth = std::min(FClientWidth, ImageWidth());
}

bool TScreenPainter::SetHanMode(bool on)
{
    const bool wasOn = FHanMode;
    FHanMode = on;
    if (!on || (wasOn && FCellWidth == 8 && FCellHeight == 16))
        return false;
    const bool changed = FCellWidth != 8 || FCellHeight != 16;
    SetCells(8, 16);
    return changed;
}

bool TScreenPainter::SetWinFont(const AnsiString& name, int size)
{
    FWinFontName = name;
    FWinFontSize = size;
    if (!FRaster)
        return false;
    FRaster->SetFont(name, size);
    if (FHanMode)
        return false;
    const int w = FRaster->CharWidth(), h = FRaster->CharHeight();
    if (w <= 0 || h <= 0 || (w == FCellWidth && h == FCellHeight))
        return false;
    SetCells(w, h);
    return true;
}

void TScreenPainter::SetFontColor(TColor c)
{
    FFontColor = c;
    FFont.SetFontColor(c);
}

void TScreenPainter::SetBackColor(TColor c)
{
    FBackColor = c;
    FFont.SetBackColor(c);
}

void TScreenPainter::Resize(int clientWidth, int clientHeight)
{
    Flush();
    FClientWidth = std::max(clientWidth, 0);
    FClientHeight = std::max(clientHeight, 0);
    FScreen.Resize(ImageWidth(), FClientHeight, ColorToNibble(FBackColor));
    FDrawnWidth = std::min(FClientWidth, ImageWidth());
}

// --- Text ---------------------------------------------------------------------------------------

void TScreenPainter::DrawText(int x, int y, std::string_view text, uint8_t fg, uint8_t bg, bool underline) const
{
    if (text.empty())
        return;
    if (!FHanMode && FRaster) {
        // The system font is not cut at the last column.
        FRaster->TextOut(FScreen, x, y, text, fg, static_cast<int>(bg), underline);
        return;
    }
    // The bitmap fonts draw only what fits in the columns.
    const int room = FCore.Columns() - x / FCellWidth;
    if (room <= 0)
        return;
    if (static_cast<int>(text.size()) > room)
        text = text.substr(0, static_cast<size_t>(room));
    const uint8_t keepFg = FFont.FontNibble(), keepBg = FFont.BackNibble();
    FFont.SetFontNibble(fg);
    FFont.SetBackNibble(bg);
    FFont.NewHTextOut(x, y, text);
    if (underline)
        FFont.NewHorzLineTo(x, x + static_cast<int>(text.size()) * FCellWidth, y + FCellHeight - 1);
    FFont.SetFontNibble(keepFg);
    FFont.SetBackNibble(keepBg);
}

void TScreenPainter::MiscCapTextOut(int x, int y, std::string_view s, bool underline)
{
    Flush();
    DrawText(x, y, s, FFont.FontNibble(), FFont.BackNibble(), underline);
}

void TScreenPainter::MiscCapCanvasFillRect(const TRectI& r)
{
    Flush();
    FScreen.FillRect(r, ColorToNibble(FBackColor));
}

// --- Repainting from the buffer -------------------------------------------------------------------

void TScreenPainter::PaintLine(int line, int row)
{
    if (line < 0 || line >= TDataList::kCount || row < 0 || row > FCore.PageSize())
        return;
    const TDataList& data = FCore.Data();
    for (const TConfig& run : data.Objects(line)) {
        const AnsiString text = data.RunText(line, run);
        DrawText(run.Start * FCellWidth, row * FCellHeight, text, ColorToNibble(run.FontColor),
                 ColorToNibble(run.BackColor), run.Flag > 0);
    }
}

void TScreenPainter::FullRepaint()
{
    FScreen.FillRect({0, 0, FScreen.Width(), FScreen.Height()}, ColorToNibble(FBackColor));
    for (int row = 0; row <= FCore.PageSize(); ++row)
        PaintLine(FShown + row, row);
}

// Moves the image by d lines (d > 0: the view went forward) and paints the lines exposed, plus
// the one next to them as the window's copy does.
void TScreenPainter::ScrollImage(int d)
{
    const int h = FCellHeight, page = FCore.PageSize();
    const TRectI all{0, 0, FScreen.Width(), FScreen.Height()};
    const int old = FShown;
    FShown += d;
    FScreen.RotateRows(all, d * h);
    const uint8_t fill = ColorToNibble(FBackColor);
    if (d > 0) {
        FScreen.FillRect({0, (page - d + 1) * h, all.Right, all.Bottom}, fill);
        for (int line = FShown + page; line >= old + page && line >= FShown; --line)
            PaintLine(line, line - FShown);
    } else {
        FScreen.FillRect({0, 0, all.Right, -d * h}, fill);
        for (int line = FShown; line < old; ++line)
            PaintLine(line, line - FShown);
    }
}

void TScreenPainter::Redraw()
{
    FPending = false;  // a full repaint replaces whatever was kept
    FShown = FCore.LinePos();
    FDetached = !FCore.Live();
    FStale = false;
    FullRepaint();
}

void TScreenPainter::ViewChanged(int prevLinePos, int linePos)
{
    Flush();
    const int d = linePos - FShown;
    if (FStale || d == 0 || std::abs(d) > FCore.PageSize()) {
        FShown = linePos;
        FullRepaint();
    } else {
        ScrollImage(d);
    }
    FStale = false;
    FDetached = linePos != FCore.MaxLinePos();
    FScrollBar.Position = linePos;
    SetScrollBar(FScrollBar);
    if (OnViewRepainted)
        OnViewRepainted(prevLinePos, linePos);
}

// --- Scroll bar -----------------------------------------------------------------------------------

void TScreenPainter::SetScrollBar(const TScrollBarState& s)
{
    FScrollBar = s;
    if (OnScrollBarChanged)
        OnScrollBarChanged(FScrollBar);
}

void TScreenPainter::DisableScrollBar()
{
    TScrollBarState s = FScrollBar;
    s.Enabled = false;
    SetScrollBar(s);
}

void TScreenPainter::MaxLinePosChanged(int maxLinePos)
{
    if (!FDetached)
        FShown = maxLinePos;
    TScrollBarState s = FScrollBar;
    if (maxLinePos > 0) {
        s.Enabled = true;
        s.Min = 0;
        s.Max = TDataList::kCount - 1;
        s.Page = TDataList::kCount - maxLinePos;
        s.Position = maxLinePos;
    } else {
        s.Enabled = false;
    }
    SetScrollBar(s);
}

// --- The core's drawing calls (rows of the live screen); kept until the image is looked at --------

void TScreenPainter::TextOut(int col, int row, std::string_view text, TColor fg, TColor bg, bool underline)
{
    if (FDetached) {
        FStale = true;
        return;
    }
    TBand* band = Band(row);
    if (!band) {
        Flush();
        DrawText(col * FCellWidth, row * FCellHeight, text, ColorToNibble(fg), ColorToNibble(bg), underline);
        return;
    }
    band->Ops.push_back({TBandOp::kText, ColorToNibble(fg), ColorToNibble(bg), underline, col,
                         static_cast<int>(text.size()), static_cast<uint32_t>(band->Text.size())});
    band->Text.append(text);
    Kept(text.size());
}

void TScreenPainter::FillCells(int col, int row, int count, TColor bg)
{
    if (FDetached) {
        FStale = true;
        return;
    }
    TBand* band = Band(row);
    if (!band) {
        Flush();
        DirectFillCells(col, row, count, ColorToNibble(bg));
        return;
    }
    if (col <= 0 && (count < 0 || int64_t(col + count) * FCellWidth >= FScreen.Width())) {
        FillBand(row, ColorToNibble(bg));
        return;
    }
    band->Ops.push_back({TBandOp::kFill, 0, ColorToNibble(bg), false, col, count, 0});
    Kept(0);
}

void TScreenPainter::FillRows(int row, int count, TColor bg)
{
    if (FDetached) {
        FStale = true;
        return;
    }
    BeginPending();
    const int rows = static_cast<int>(FBands.size()) - 1;
    // Rows to the last one take the strip below it too.
    const bool toBottom = count < 0 || row + count > FCore.PageSize();
    const int end = toBottom ? rows + 1 : std::min(row + count, rows);
    for (int b = std::max(row, 0); b < end; ++b)
        FillBand(b, ColorToNibble(bg));
}

void TScreenPainter::ScrollRows(int top, int bottom, int n, TColor bg)
{
    if (FDetached) {
        FStale = true;
        return;
    }
    if (bottom < top || n == 0)
        return;
    BeginPending();
    const int rows = static_cast<int>(FBands.size()) - 1;
    if (top < 0 || bottom >= rows) {
        // Not a band of the screen: straight into the image.
        Flush();
        const int h = FCellHeight, k = std::min(std::abs(n), bottom - top + 1), w = FScreen.Width();
        if (k < bottom - top + 1)
            FScreen.RotateRows({0, top * h, w, (bottom + 1) * h}, (n > 0 ? k : -k) * h);
        if (n > 0)
            FScreen.FillRect({0, (bottom + 1 - k) * h, w, (bottom + 1) * h}, ColorToNibble(bg));
        else
            FScreen.FillRect({0, top * h, w, (top + k) * h}, ColorToNibble(bg));
        return;
    }
    const int count = bottom - top + 1;
    const int k = std::min(std::abs(n), count);
    // The rows' lists stay where they are; only their order moves.
    auto first = FOrder.begin() + top, last = FOrder.begin() + bottom + 1;
    if (k < count)
        std::rotate(first, n > 0 ? first + k : last - k, last);
    const int from = n > 0 ? bottom + 1 - k : top;
    for (int b = from; b < from + k; ++b)
        FillBand(b, ColorToNibble(bg));
}

void TScreenPainter::ShiftCells(int row, int col, int n, TColor bg)
{
    if (FDetached) {
        FStale = true;
        return;
    }
    if (n == 0)
        return;
    TBand* band = Band(row);
    if (!band) {
        Flush();
        DirectShiftCells(row, col, n, ColorToNibble(bg));
        return;
    }
    band->Ops.push_back({TBandOp::kShift, 0, ColorToNibble(bg), false, col, n, 0});
    Kept(0);
}

void TScreenPainter::ResetSelectionRect()
{
    if (OnResetSelectionRect)
        OnResetSelectionRect();
}

void TScreenPainter::ChunkDecoded()
{
    if (OnChunkDecoded)
        OnChunkDecoded();
}

void TScreenPainter::Invalidate()
{
    if (OnInvalidate)
        OnInvalidate();
}

void TScreenPainter::Beep()
{
    if (OnBeep)
        OnBeep();
}
