#pragma once
// The terminal's screen image: a 16-colour framebuffer kept equal to the part of the line buffer
// that is shown. It follows the core's drawing calls while the view is live, repaints from the
// buffer when the view moves (the image rotates and only the newly exposed lines are painted) or
// on request, and keeps the vertical scroll bar's state as data for the control to show.
//
// Use from the control that owns it (declare the core first, so it outlives the painter):
//
//     TTerminalCore core;
//     TScreenPainter painter{core};          // becomes the core's painter
//     TOwnSequences own{core, painter};      // the own drawing sequences (OwnSequences.h)
//     painter.SetRasterizer(&qtRaster);      // system-font text (terminal/draw/qt)
//     painter.SetHanMode(true);              // 8 x 16 cells from the bitmap fonts
//     painter.SetBackColor(clBlack); painter.SetFontColor(clWhite);
//     painter.Resize(ClientWidth, ClientHeight);
//     core.SetRow(ClientHeight / painter.CellHeight() - 1);
//     painter.Redraw();
//
// On a resize: Resize(w, h), then core.SetRow(h / CellHeight() - 1), then Redraw(). After
// SetHanMode or SetWinFont report a new cell size, do the same. Scrolling the view is the core's
// ScrollView (the painter repaints itself); the window then copies Screen() (DrawnWidth() wide)
// and adds its own decorations.
//
// Drawing is deferred: the core's calls are kept per screen row (a row that scrolls off or is
// filled whole drops what was kept for it) and played into the image when someone looks at it
// (Screen(), DrawTarget(), any repaint), so text that scrolls away between two paints of the
// window costs next to nothing. The picture is the one drawing each call at once would give.
//
// Colours travel as TColor; the image holds palette indexes in the renderer's palette order
// (ColorToNibble / NibbleToColor of HanBitFont.h), which is what a PNG or the window must use.

#include <functional>
#include <string>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/gui/FrameBuffer.h"
#include "terminal/core/TerminalCore.h"
#include "terminal/draw/TextRaster.h"
#include "terminal/fonts/HanBitFont.h"

// The vertical scroll bar as the terminal wants it shown.
struct TScrollBarState {
    bool Enabled = false;  // both arrows; off until the first line scrolls into the scroll-back
    int Min = 0;
    int Max = TDataList::kCount - 1;
    int Page = TDataList::kCount;
    int Position = 0;  // the first line shown
    bool operator==(const TScrollBarState&) const = default;
};

class TScreenPainter : public ITerminalPainter {
public:
    explicit TScreenPainter(TTerminalCore& core);
    ~TScreenPainter() override;
    TScreenPainter(const TScreenPainter&) = delete;
    TScreenPainter& operator=(const TScreenPainter&) = delete;

    // --- The image and the renderer drawing into it.
    // The image, brought up to date.
    const TFrameBuffer& Screen() const
    {
        Flush();
        return FScreen;
    }
    TFrameBuffer& Screen()
    {
        Flush();
        return FScreen;
    }
    // Plays the kept drawing calls into the image.
    void Flush() const;
    THanBitFont& Renderer() { return FFont; }
    // The palette of the image, index by index (TColor values).
    static const TColor* Palette();
    // The image while it shows the live screen; null while the user looks at the scroll-back
    // (drawing then would land on the wrong lines).
    TFrameBuffer* DrawTarget() { return FDetached ? nullptr : &Screen(); }

    // --- Settings.
    // System-font text (not owned; null draws Windows-font text with the bitmap fonts and Hanja
    // as blank cells).
    void SetRasterizer(ITextRaster* raster);
    bool HanMode() const { return FHanMode; }
    // On: the bitmap fonts with 8 x 16 cells. Off: only the mode changes; the cells follow the
    // next SetWinFont. True when the cell size changed (the control re-lays out then).
    bool SetHanMode(bool on);
    const AnsiString& WinFontName() const { return FWinFontName; }
    int WinFontSize() const { return FWinFontSize; }
    // The system font (for Windows-font mode and Hanja). With the Hangul mode off the cells take
    // the font's average character width and text height. True when the cell size changed.
    bool SetWinFont(const AnsiString& name, int size);
    int CellWidth() const { return FCellWidth; }
    int CellHeight() const { return FCellHeight; }
    // The control's colours: BackColor fills what no run covers; both are the renderer's
    // current colours for MiscCapTextOut.
    TColor FontColor() const { return FFontColor; }
    TColor BackColor() const { return FBackColor; }
    void SetFontColor(TColor c);
    void SetBackColor(TColor c);

    // --- Geometry. The image is Columns x cell width wide and as high as the client area; the
    // part shown is DrawnWidth() wide. Pixels that still fit keep their place.
    void Resize(int clientWidth, int clientHeight);
    int DrawnWidth() const { return FDrawnWidth; }

    // --- Drawing.
    // Repaints every visible row from the buffer (the view as the core has it).
    void Redraw();
    // Text at a pixel position in the renderer's current colours (bitmap fonts: cut at the last
    // column; system font: whole), underlined when asked. For the IME and hover decorations.
    void MiscCapTextOut(int x, int y, std::string_view s, bool underline = false);
    // Fills a rectangle with the back colour.
    void MiscCapCanvasFillRect(const TRectI& r);

    // --- State the control shows.
    const TScrollBarState& ScrollBar() const { return FScrollBar; }
    // Disables the arrows (a control placed on a new parent, or no rows at all).
    void DisableScrollBar();

    // Events. None may free the painter.
    std::function<void(const TScrollBarState&)> OnScrollBarChanged;
    std::function<void()> OnInvalidate;
    std::function<void()> OnBeep;
    // A line feed on the bottom row (the remembered selection rectangle is void).
    std::function<void()> OnResetSelectionRect;
    // End of a decoded chunk (a multi-selection is cancelled).
    std::function<void()> OnChunkDecoded;
    // The view moved and the image was repainted for it (the selection overlay follows).
    std::function<void(int prevLinePos, int linePos)> OnViewRepainted;

    // --- ITerminalPainter: the core's calls.
    void TextOut(int col, int row, std::string_view text, TColor fg, TColor bg, bool underline) override;
    void FillCells(int col, int row, int count, TColor bg) override;
    void FillRows(int row, int count, TColor bg) override;
    void ScrollRows(int top, int bottom, int n, TColor bg) override;
    void ShiftCells(int row, int col, int n, TColor bg) override;
    void ViewChanged(int prevLinePos, int linePos) override;
    void MaxLinePosChanged(int maxLinePos) override;
    void ResetSelectionRect() override;
    void ChunkDecoded() override;
    void Invalidate() override;
    void Beep() override;

private:
    // One kept drawing call of a screen row.
    struct TBandOp {
        enum TKind : uint8_t { kText, kFill, kShift } Kind;
        uint8_t Fg, Bg;
        bool Underline;
        int A, B;  // text: column and length; fill: column and count (< 0: to the edge); shift: column and n
        uint32_t TextOffset;
    };
    // A screen row (the last one: the strip below the rows): the image row it shows at the last
    // flush (-1 once it is wholly filled) and the calls since.
    struct TBand {
        int Source = 0;
        std::vector<TBandOp> Ops;
        std::string Text;
    };
    void BeginPending() const;
    TBand* Band(int row) const;
    void FillBand(int band, uint8_t bg) const;
    void MoveBands() const;
    void PlayBand(int band) const;
    void Kept(size_t bytes) const;
    void DirectFillCells(int col, int row, int count, uint8_t bg) const;
    void DirectShiftCells(int row, int col, int n, uint8_t bg) const;

    void DrawText(int x, int y, std::string_view text, uint8_t fg, uint8_t bg, bool underline) const;
    void PaintLine(int line, int row);
    void FullRepaint();
    void ScrollImage(int d);
    void SetCells(int w, int h);
    void SetScrollBar(const TScrollBarState& s);
    int ImageWidth() const { return FCore.Columns() * FCellWidth; }

    TTerminalCore& FCore;
    // The image and what draws into it change when kept calls are played (also from const
    // accessors): they are a cache of the screen.
    mutable TFrameBuffer FScreen;
    mutable THanBitFont FFont;
    mutable std::vector<TBand> FBands;
    mutable std::vector<int> FOrder;  // screen row -> its list in FBands
    TBand& At(int row) const { return FBands[static_cast<size_t>(FOrder[static_cast<size_t>(row)])]; }
    mutable bool FPending = false;
    mutable size_t FKeptBytes = 0;
    mutable std::vector<uint8_t> FScratch;
    ITextRaster* FRaster = nullptr;

    bool FHanMode = false;
    AnsiString FWinFontName;
    int FWinFontSize = 12;
    int FCellWidth = 1, FCellHeight = 1;
    int FClientWidth = 0, FClientHeight = 0;
    int FDrawnWidth = 0;
    TColor FFontColor = clWhite, FBackColor = clNavy;

    // The buffer line shown in the image's top row; whether the user looks at the scroll-back;
    // whether the image missed drawing calls meanwhile (the next view change repaints it whole).
    int FShown = 0;
    bool FDetached = false;
    bool FStale = false;
    TScrollBarState FScrollBar;
};
