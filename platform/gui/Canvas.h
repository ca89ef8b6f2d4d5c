#pragma once
// The framework's canvas: drawing with a font, brush and pen on a Qt paint target (a widget
// while it paints, or a TBitmap's image). Coordinates and edges follow Win32: rectangles
// exclude their right and bottom edges, LineTo leaves out its end point, shapes are aliased.

#include <cstdint>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/Colors.h"
#include "platform/core/Object.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/GraphicsTypes.h"

class QImage;
class QPainter;
class QFont;
class QFontMetrics;
class QPoint;
class QString;
class TBitmap;
class TGraphic;

// Raster operations of CopyRect (Win32 ternary raster-operation codes).
using TCopyMode = uint32_t;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergeCopy = 0x00C000CA;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmPatPaint = 0x00FB0A09;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;

// Device coordinates are cut to this either way before any arithmetic on them: no device is
// larger, and widths, heights and Qt's fixed-point coordinates stay far from overflowing.
constexpr int kMaxDeviceCoord = 1 << 24;

// What Pixels gives for a point that cannot be read (Win32 CLR_INVALID).
constexpr TColor CLR_INVALID = static_cast<TColor>(0xFFFFFFFF);

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Draws through an outside painter (a widget's paint event) until EndPaint; not owned.
    void BeginPaint(QPainter* painter);
    void EndPaint();
    // The painter drawing goes to: the outside one, or the canvas's own (a bitmap's); nullptr
    // when there is nothing to draw on.
    QPainter* Painter();
    bool HandleAllocated() { return Painter() != nullptr; }

    TFont* Font() { return &FFont; }
    TBrush* Brush() { return &FBrush; }
    TPen* Pen() { return &FPen; }
    void SetFont(TFont* f) { FFont.Assign(f); }
    // Text of the scripts that need no shaping (Latin, Hangul) measured and drawn glyph by glyph,
    // without pair kerning, as the window system's own text output does: a few times faster, for
    // a canvas that measures every line of a long list.
    void SetUnshapedText(bool Value);
    void SetBrush(TBrush* b) { FBrush.Assign(b); }
    void SetPen(TPen* p) { FPen.Assign(p); }
    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(TPoint p) { FPenPos = p; }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode m) { FCopyMode = m; }
    // Win32's text and background colours: a one-bit source blitted onto colour takes the text
    // colour for 0 and the background colour for 1, and a colour source blitted onto one bit
    // gives 1 where it has the background colour. They follow the font and brush colours until
    // set, and follow them again when the font or brush changes. Set returns the old colour.
    TColor TextColor() const { return FTextColor != clNone ? FTextColor : FFont.Color(); }
    TColor SetTextColor(TColor c);
    TColor BkColor() const { return FBkColor != clNone ? FBkColor : FBrush.Color(); }
    TColor SetBkColor(TColor c);

    // The Win32 mapping mode (platform/gui/MapMode.h): MM_TEXT counts pixels; MM_LOMETRIC counts
    // tenths of a millimetre at the target's resolution, y growing up. Drawing calls, pen widths,
    // font heights and text sizes are in these logical units. Returns the previous mode.
    int MapMode() const { return FMapMode; }
    int SetMapMode(int mode);
    // The resolution drawing lands at (GetDeviceCaps reads it): the target's, 96 without one;
    // PixelsPerInch across, PixelsPerInchY down (a device may have two).
    virtual int PixelsPerInch();
    virtual int PixelsPerInchY();
    // Device pixels per font pixel in MM_TEXT: 1 on screens and bitmaps; a printer's canvas
    // makes a font's size mean points on paper, as it means points on the screen.
    virtual double FontPixelScale() { return 1.0; }
    // Both cut to kMaxDeviceCoord.
    TPoint LogicalToDevice(TPoint p);
    TPoint DeviceToLogical(TPoint p);

    // The drawable area: the target's bounds, narrowed by any clip.
    TRect ClipRect();
    // Narrows the clip to r (Win32 IntersectClipRect); ResetClip lifts every clip.
    void IntersectClipRect(const TRect& r);
    void ResetClip();

    void FillRect(const TRect& r);                   // brush
    void FrameRect(const TRect& r);                  // one pixel of the brush colour
    void Rectangle(int x1, int y1, int x2, int y2);  // pen outline, brush inside
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void Polygon(const std::vector<TPoint>& points);
    void Polyline(const std::vector<TPoint>& points);  // the last point is not drawn
    void MoveTo(int x, int y) { FPenPos = {x, y}; }
    void LineTo(int x, int y);  // the end point is not drawn
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor c);
    // Inverts a dotted outline (drawing it twice removes it).
    void DrawFocusRect(const TRect& r);

    // Text is cp949, turned by the font's orientation. TextOut paints the text's cell background with the brush unless the brush
    // is clear, and moves PenPos to the text's right end.
    void TextOut(int x, int y, std::string_view text);
    // As TextOut, limited to r; a solid brush fills all of r first.
    void TextRect(const TRect& r, int x, int y, std::string_view text);
    int TextWidth(std::string_view text);
    int TextHeight(std::string_view text);
    TSize TextExtent(std::string_view text);

    void Draw(int x, int y, TBitmap* bitmap);
    void StretchDraw(const TRect& r, TBitmap* bitmap);
    // Any graphic (an icon, a picture's graphic): at its own size, or scaled into r.
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& r, TGraphic* graphic);
    // Copies source's rectangle src into dest (stretched when sizes differ) through CopyMode. A
    // ternary operation takes its pattern from the brush: its bitmap, tiled from the canvas's
    // origin, or its colour.
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& src);
    // Copies src of bitmap to dest with every pixel of color replaced by the brush.
    void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& src, TColor color);

    // Framework no-ops kept for code written against them.
    void Lock() {}
    void Unlock() {}
    void Refresh() {}

    // Readable pixels of the target (a bitmap's image, or a widget's back buffer); nullptr
    // when the target cannot be read.
    virtual QImage* Image();
    // True for a one-bit target (mono bitmap): colour sources map to black and white.
    virtual bool IsMonochrome() const { return false; }

    // The Qt font of Font, cached until the font changes.
    const QFont& QtFont();
    const QFontMetrics& QtFontMetrics();

protected:
    // A canvas of its own (a bitmap's) opens its painter here; the base has none.
    virtual QPainter* AcquirePainter() { return nullptr; }
    // Called by the bitmap before its pixels change under the painter.
    void ReleaseOwnPainter();
    std::unique_ptr<QPainter> FOwnPainter;

private:
    bool Mapped() const { return FMapMode != 1; }
    // A logical rectangle in device pixels, its edges in order and cut to kMaxDeviceCoord.
    TRect DeviceRect(const TRect& r);
    // Lengths across (widths) and down (heights), each at its direction's resolution.
    int DeviceLength(int v);
    int LogicalLength(int v);
    int DeviceHeight(int v);
    int LogicalHeight(int v);
    void ApplyPen(QPainter& p);
    void ApplyBrush(QPainter& p);
    // The painter for a shape with corners (x1, y1) and (x2, y2), put in order, with the pen
    // applied; null when there is nothing to draw on or the shape is empty.
    QPainter* ShapePainter(int& x1, int& y1, int& x2, int& y2);
    void PlotLine(QPainter& p, int x0, int y0, int x1, int y1, bool lastPixel);
    void DrawImageRop(const TRect& dest, const QImage& src, TCopyMode rop);
    // Turns the painter for text at (x, y) by the font's orientation; gives where to draw.
    QPoint TurnForText(QPainter& p, int x, int y);
    // One line of text with its cell's top-left corner at `at`, in the font's colour.
    void DrawTextLine(QPainter& p, QPoint at, const QString& s);

    QPainter* FOuterPainter = nullptr;
    TFont FFont;
    TBrush FBrush;
    TPen FPen;
    TPoint FPenPos;
    TCopyMode FCopyMode = cmSrcCopy;
    int FMapMode = 1;
    TColor FTextColor = clNone, FBkColor = clNone;
    std::unique_ptr<QFont> FQFont;
    std::unique_ptr<QFontMetrics> FQMetrics;
    std::map<AnsiString, int, std::less<>> FWidths;  // texts measured with the current font
    bool FUnshapedText = false;
};

// Keeps a canvas's brush, pen and font while it lives and gives them back when it goes, so a
// drawing routine may change them freely.
class TCanvasToolsKept {
public:
    explicit TCanvasToolsKept(TCanvas* Canvas) : FCanvas(Canvas)
    {
        FBrush.Assign(Canvas->Brush());
        FPen.Assign(Canvas->Pen());
        FFont.Assign(Canvas->Font());
    }
    ~TCanvasToolsKept()
    {
        FCanvas->Brush()->Assign(&FBrush);
        FCanvas->Pen()->Assign(&FPen);
        FCanvas->Font()->Assign(&FFont);
    }
    TCanvasToolsKept(const TCanvasToolsKept&) = delete;
    TCanvasToolsKept& operator=(const TCanvasToolsKept&) = delete;

private:
    TCanvas* FCanvas;
    TBrush FBrush;
    TPen FPen;
    TFont FFont;
};

// Qt colour of a framework colour (system colours through the fixed table).
class QColor;
QColor ToQColor(TColor c);
TColor FromQRgb(unsigned rgb);
