// One printed cell: the colour hook's brush and font, the text by kind (formula, rich text,
// HTML, plain, several lines, word-wrapped, turned), the cell graphic with PrintGraphics, and the
// sides the border hook asks for. Geometry arrives in the engine's tenths of a millimetre, y
// down; the canvas is in MM_LOMETRIC. Graphics and HTML are drawn in device pixels.

#include <algorithm>
#include <cmath>
#include <utility>

#include "grid/control/CellGridPrint.h"
#include "grid/control/CellImage.h"
#include "grid/control/HtmlRender.h"
#include "grid/model/Cgutil.h"
#include "grid/model/StoredNumbers.h"
#include "grid/model/TextPlacement.h"
#include "platform/gui/CanvasViewport.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/FrameControls.h"
#include "platform/gui/MapMode.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The canvas's device pixels for a while: drawing that thinks in pixels (pictures, check boxes,
// HTML) lands in the device rectangle of an engine rectangle.
class TDeviceUnits {
public:
    TDeviceUnits(TCanvas* Canvas, const TRect& Engine) : FCanvas(Canvas), FRect(LoMetric(Engine))
    {
        LPtoDP(Canvas, FRect);
        FMode = SetMapMode(Canvas, MM_TEXT);
    }
    ~TDeviceUnits() { SetMapMode(FCanvas, FMode); }
    TDeviceUnits(const TDeviceUnits&) = delete;
    TDeviceUnits& operator=(const TDeviceUnits&) = delete;
    const TRect& Rect() const { return FRect; }

private:
    TCanvas* FCanvas;
    TRect FRect;
    int FMode = MM_LOMETRIC;
};

// Screen pixels laid over the page for a while: pictures and check boxes are drawn as the screen
// draws them, scaled to the engine rectangle they take on the page.
class TScreenPixels {
public:
    TScreenPixels(TCanvas* Canvas, const TRect& Engine)
        : FDevice(Canvas, Engine), FScale(GetDeviceCaps(Canvas, LOGPIXELSX) / static_cast<double>(ScreenPixelsPerInch)),
          FView(Canvas, TPoint{FDevice.Rect().Left, FDevice.Rect().Top}, FScale)
    {
        const TRect& d = FDevice.Rect();
        FRect = TRect{0, 0, static_cast<int>(std::lround(d.Width() / FScale)),
                      static_cast<int>(std::lround(d.Height() / FScale))};
    }
    const TRect& Rect() const { return FRect; }

private:
    TDeviceUnits FDevice;
    double FScale;
    TCanvasViewport FView;
    TRect FRect;
};

// Fills a rectangle with the brush, its outline in the brush's colour too.
void Fill(TCanvas* Canvas, const TRect& R)
{
    const TColor pen = Canvas->Pen()->Color();
    Canvas->Pen()->SetColor(Canvas->Brush()->Color());
    if (Canvas->Brush()->Style() != bsClear)
        Canvas->Rectangle(LoMetric(R));
    Canvas->Pen()->SetColor(pen);
}

// Where the graphic goes in the cell and the room it leaves the text.
struct TGraphicPlace {
    TCellGraphic* Extra = nullptr;
    TRect Graphic, Text;
};

TGraphicPlace PlaceGraphic(TPrintRun& Run, int Col, int Row, const TRect& R)
{
    TGraphicPlace place;
    place.Text = R;
    TCellGrid& g = Run.Grid;
    if (!g.PrintSettings()->PrintGraphics || !(place.Extra = g.GetCellGraphic(Col, Row)))
        return place;
    TPoint size{};
    g.GetCellGraphicSize(Col, Row, size);
    int w = static_cast<int>(std::lround(size.x * Run.ScreenFactor));
    int h = static_cast<int>(std::lround(size.y * Run.ScreenFactor));
    int x = R.Left, y = R.Top;
    switch (place.Extra->CellHAlign) {
    case haLeft:
    case haBeforeText: place.Text.Left = std::min(R.Right, R.Left + w); break;
    case haRight:
    case haAfterText:
        x = R.Right - w;
        place.Text.Right = std::max(R.Left, x);
        break;
    case haCenter: x = R.Left + (R.Width() - w) / 2; break;
    case haFull: w = R.Width(); break;
    }
    switch (place.Extra->CellVAlign) {
    case vaTop: break;
    case vaBottom: y = R.Bottom - h; break;
    case vaCenter: y = R.Top + (R.Height() - h) / 2; break;
    case vaUnderText:
        y = R.Bottom - h;
        place.Text.Bottom = std::max(R.Top, y);
        break;
    case vaAboveText: place.Text.Top = std::min(R.Bottom, R.Top + h); break;
    case vaFull: h = R.Height(); break;
    }
    place.Graphic = Bounds(x, y, w, h);
    return place;
}

void StretchImage(TCellGrid& Grid, TCanvas* Canvas, const TRect& Device, int Index)
{
    TImageList* images = Grid.GridImages();
    if (!images || Index < 0 || Index >= images->Count())
        return;
    TBitmap bitmap;
    images->GetBitmap(Index, &bitmap);
    Canvas->StretchDraw(Device, &bitmap);
}

void DrawGraphic(TPrintRun& Run, int Col, int Row, const TGraphicPlace& Place)
{
    TCellGrid& g = Run.Grid;
    TCanvas* c = Run.Canvas;
    const TCellGraphic& extra = *Place.Extra;
    const TScreenPixels pixels(c, Place.Graphic);
    const TRect& d = pixels.Rect();
    switch (extra.CellType) {
    case ctBitmap:
        if (TBitmap* bitmap = CellImageOf<TBitmap>(extra.CellBitmap))
            c->StretchDraw(d, bitmap);
        break;
    case ctIcon:
        if (TIcon* icon = CellImageOf<TIcon>(extra.CellIcon))
            c->StretchDraw(d, icon);
        break;
    case ctImageList: StretchImage(g, c, d, extra.CellIndex); break;
    case ctCheckBox:
    case ctDataCheckBox: {
        bool checked = false;
        g.GetCheckBoxState(Col, Row, checked);
        TRect box = d;
        DrawFrameControl(c, box, DFC_BUTTON, DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0u));
        break;
    }
    case ctImages:
        if (const TIntList* list = g.GetCellImages(Col, Row); list && g.GridImages()) {
            const int n = std::max(1, list->Count());
            for (int i = 0; i < list->Count(); ++i) {
                // Side by side (the graphic's direction flag) or one under the other.
                const TRect part = extra.CellBoolean
                    ? TRect{d.Left + d.Width() * i / n, d.Top, d.Left + d.Width() * (i + 1) / n, d.Bottom}
                    : TRect{d.Left, d.Top + d.Height() * i / n, d.Right, d.Top + d.Height() * (i + 1) / n};
                StretchImage(g, c, part, list->GetInteger(i));
            }
        }
        break;
    case ctPicture:
        if (TPicture* picture = CellImageOf<TPicture>(extra.CellBitmap); picture && picture->Graphic())
            c->StretchDraw(d, picture->Graphic());
        break;
    case ctFilePicture:
        if (const auto* picture = dynamic_cast<const TFilePicture*>(extra.CellBitmap.get()))
            picture->DrawPicture(c, d);
        break;
    default: break;
    }
}

void DrawHtml(TPrintRun& Run, const AnsiString& Text, const TRect& R)
{
    TCellGrid& g = Run.Grid;
    TCanvas* c = Run.Canvas;
    const TDeviceUnits device(c, R);
    TFont font;
    font.Assign(c->Font());
    const TBrushStyle brush = c->Brush()->Style();
    c->Font()->SetSize(g.PrintSettings()->Font()->Size());
    c->Brush()->SetStyle(bsClear);
    AnsiString anchor, plain;
    int width = 0, height = 0;
    PaintHtmlText(c, Text, device.Rect(), g.GridImages(), 0, 0, false, false, true, false, false, Run.ResFactor,
                  g.URLColor(), anchor, plain, width, height);
    c->Font()->Assign(&font);
    c->Brush()->SetStyle(brush);
}

// How far a line can run across a cell on the canvas: the larger of its width in the canvas's
// units and in device pixels, and for a turned line its height as well.
int64_t LineRoom(TCanvas* Canvas, const TRect& Cell, bool Turned)
{
    TRect device = LoMetric(Cell);
    LPtoDP(Canvas, device);
    const auto extent = [](int64_t a, int64_t b) { return a < b ? b - a : a - b; };
    const int64_t across = std::max(extent(Cell.Left, Cell.Right), extent(device.Left, device.Right));
    const int64_t down = std::max(extent(Cell.Top, Cell.Bottom), extent(device.Top, device.Bottom));
    return Turned ? across + down : across;
}

// Plain text: one line placed by the turned-text table, several lines one under the other, or
// word-wrapped into the column. The cell is filled once; lines are drawn over it.
void DrawPlain(TPrintRun& Run, int Col, int Row, AnsiString Text, const TRect& Cell, const TRect& R, int Advance)
{
    TCellGrid& g = Run.Grid;
    TCanvas* c = Run.Canvas;
    const TPrintsettings& p = *g.PrintSettings();
    const TAlignment align = g.GetCellAlignment(Col, Row);
    const int inset = Run.Metrics.Inset;
    const int spacing = ClampPageLength(p.RowSpacing);
    const int height = c->TextHeight("gh");
    const int lh = height + spacing + (height + spacing) / 8;
    const TVAlignment valign = g.VAlignment();
    c->Brush()->SetStyle(bsClear);
    if (g.WordWrap() && p.NoAutoSize) {
        const int left = R.Left;
        const int width = Run.Widths && static_cast<size_t>(g.RemapColInv(Col)) < Run.Widths->size()
            ? (*Run.Widths)[static_cast<size_t>(g.RemapColInv(Col))]
            : R.Width();
        TRect box = LoMetric(TRect{left, R.Top, left + width, R.Bottom});
        const unsigned flags = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS | DT_EDITCONTROL |
            (align == taRightJustify ? DT_RIGHT
                 : align == taCenter ? DT_CENTER
                                     : DT_LEFT);
        DrawText(c, Text, box, flags);
        return;
    }
    std::vector<AnsiString> lines;
    do {
        AnsiString line = GetNextLine(Text, g.Multilinecells);
        if (g.URLShow() && !g.URLFull())
            StripURLProtocol(line);
        lines.push_back(std::move(line));
    } while (!Text.empty());
    const auto lower = [&](int free) { return valign == vtaTop ? 0 : valign == vtaCenter ? free / 2 : free; };
    // Only what the cell can show of a line is measured and drawn.
    const unsigned side = align == taRightJustify ? DT_RIGHT : align == taCenter ? DT_CENTER : DT_LEFT;
    if (lines.size() == 1) {
        int angle = 0;
        const bool turned = g.IsRotated(Col, Row, angle);
        const std::string_view shown = ShownPartOfLine(lines[0], LineRoom(c, Cell, turned), side);
        const int w = c->TextWidth(shown);
        const double a = angle * kPi / 180;
        const int blockHeight =
            turned ? std::abs(static_cast<int>(w * std::sin(a))) + std::abs(static_cast<int>(lh * std::cos(a))) : lh;
        TPoint at = TurnedTextStart(R, w, lh, angle, align, vtaTop);
        at.x += align == taLeftJustify ? inset : align == taRightJustify ? -inset : 0;
        at.y += lower(spacing + Advance - blockHeight);
        if (turned)
            c->Font()->SetOrientation(angle * 10);
        c->TextRect(LoMetric(Cell), at.x, -at.y, shown);
        return;
    }
    // Lines past the cell's bottom are clipped away: they are not drawn, and positions stay small.
    const int64_t block = static_cast<int64_t>(lh) * static_cast<int64_t>(lines.size());
    int64_t y = R.Top + lower(PageCoord(Advance - block));
    const int64_t room = LineRoom(c, Cell, false);
    for (const AnsiString& whole : lines) {
        if (y > Cell.Bottom || (lh <= 0 && y + height < Cell.Top))
            break;
        const std::string_view line = ShownPartOfLine(whole, room, side);
        const int w = c->TextWidth(line);
        const int x = align == taLeftJustify ? R.Left + inset
            : align == taRightJustify        ? R.Right - inset - w
                                             : R.Left + (R.Width() - w) / 2;
        c->TextRect(LoMetric(Cell), x, -PageCoord(y), line);
        y += lh;
    }
}

void DrawOwnBorders(TPrintRun& Run, int Col, int Row, const TRect& R)
{
    TCanvas* c = Run.Canvas;
    TPen pen;
    pen.Assign(c->Pen());
    TCellBorders sides;
    Run.Grid.GetCellPrintBorder(Col, Row, c->Pen(), sides);
    Run.CheckAlive();
    const int half = c->Pen()->Width() / 2;
    const auto line = [c](int x1, int y1, int x2, int y2) {
        c->MoveTo(x1, -y1);
        c->LineTo(x2, -y2);
    };
    if (sides.Contains(cbLeft))
        line(R.Left + half, R.Top, R.Left + half, R.Bottom);
    if (sides.Contains(cbRight))
        line(R.Right - half, R.Top, R.Right - half, R.Bottom);
    if (sides.Contains(cbTop))
        line(R.Left, R.Top + half, R.Right, R.Top + half);
    if (sides.Contains(cbBottom))
        line(R.Left, R.Bottom - half, R.Right, R.Bottom - half);
    c->Pen()->Assign(&pen);
}

}  // namespace

void PrintGridCell(TPrintRun& Run, const TPrintCell& Cell)
{
    TCellGrid& g = Run.Grid;
    TCanvas* c = Run.Canvas;
    const int col = g.RemapCol(Cell.Col), row = Cell.Row;
    TBrush savedBrush;
    savedBrush.Assign(c->Brush());
    TFont savedFont;
    savedFont.Assign(c->Font());

    TBrush brush;
    brush.Assign(c->Brush());
    TFont font;
    font.Assign(g.PrintSettings()->Font());
    g.GetCellPrintColor(col, row, TGridDrawState{}, &brush, &font);
    Run.CheckAlive();
    g.PrintScale = Cell.Scale;
    c->Brush()->Assign(&brush);
    c->Font()->Assign(&font);
    c->Font()->SetHeight(g.MapFontHeight(font.Size()));

    const TGraphicPlace place = PlaceGraphic(Run, col, row, Cell.Rect);
    AnsiString text = g.Cells(col, row);
    Fill(c, Cell.Rect);
    switch (TextType(text, g.EnableHTML)) {
    case 2: {
        // Rich text takes the canvas font as its default, by its point size.
        const int height = c->Font()->Height();
        c->Font()->SetSize(font.Size());
        g.RTFPaint(col, row, c, LoMetric(place.Text));
        c->Font()->SetHeight(height);
        break;
    }
    case 1: DrawHtml(Run, text, place.Text); break;
    case 3: text = g.CalcCell(col, row); [[fallthrough]];
    default: DrawPlain(Run, col, row, std::move(text), Cell.Rect, place.Text, Cell.Advance); break;
    }
    Run.CheckAlive();
    if (place.Extra && !place.Graphic.IsEmpty())
        DrawGraphic(Run, col, row, place);

    DrawOwnBorders(Run, col, row, Cell.Rect);
    c->Brush()->Assign(&savedBrush);
    c->Font()->Assign(&savedFont);
    g.PrintScale = 1.0;
}
