#pragma once
// The framework's bitmap: pixels in a chosen format with rows reachable through ScanLine, a
// canvas to draw on, a transparent colour, and BMP files. Row bytes follow the Windows layouts:
// pf1bit one bit a pixel (bit 7 leftmost), pf24bit B G R, pf32bit and pfDevice B G R X;
// pf4bit and pf8bit hold one palette index a byte.

#include <memory>

#include "platform/core/AnsiString.h"
#include "platform/core/Colors.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Object.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Graphic.h"

class QImage;

class EInvalidGraphic : public Exception {
    using Exception::Exception;
};
class EInvalidGraphicOperation : public Exception {
    using Exception::Exception;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const override;
    int Height() const override;
    // New size: the pixels that still fit stay, new ones are white.
    void SetWidth(int w) { SetSize(w, Height()); }
    void SetHeight(int h) { SetSize(Width(), h); }
    void SetSize(int w, int h);
    bool Empty() const override { return Width() == 0 || Height() == 0; }

    TPixelFormat PixelFormat() const { return FFormat; }
    void SetPixelFormat(TPixelFormat f);
    bool Monochrome() const { return FFormat == pf1bit; }
    // To one bit: pixels of the canvas brush colour become white, all others black.
    void SetMonochrome(bool v);

    // Row y's bytes (see above). Raises EInvalidGraphicOperation for a row outside the bitmap.
    // The pointer holds until the bitmap is next drawn on, resized or reloaded.
    void* ScanLine(int y);
    int BytesPerScanLine() const;

    TCanvas* Canvas();

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    // tmAuto: the colour of the lower-left pixel; tmFixed: the colour set.
    TColor TransparentColor();
    void SetTransparentColor(TColor c);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode m) { FTransparentMode = m; }

    // File names are cp949. Raise EFOpenError, EInvalidGraphic, EFCreateError.
    void LoadFromFile(const AnsiString& fileName) override;
    void SaveToFile(const AnsiString& fileName) override;
    // BMP bytes.
    void LoadFromBytes(std::string_view data) override;
    std::string SaveToBytes() override;
    void DrawInto(TCanvas* canvas, const TRect& rect) override { canvas->StretchDraw(rect, this); }

    void Assign(TPersistent* source) override;
    // Releases drawing resources; nothing to do here but kept for code that calls it.
    void Dormant() {}
    void FreeImage() {}

    TNotifyEvent OnChange;

    // The pixels in their storage format, everything drawn so far included.
    const QImage& Image();
    // Replaces the pixels (the format follows the image: indexed becomes pf8bit, mono pf1bit).
    void SetImage(const QImage& image);
    // A copy of the pixels as they are now, taken without ending a drawing in progress (so a
    // canvas may draw the bitmap while it paints on it).
    QImage Snapshot() const;
    // The pixels as they are now, a drawing in progress included, without a copy: valid until
    // the bitmap is next drawn on or changed.
    const QImage& Pixels() const { return FWork ? *FWork : *FImage; }
    // Whether Canvas is the bitmap's own canvas.
    bool IsOwnCanvas(const TCanvas* Canvas) const { return Canvas && FCanvas.get() == Canvas; }
    // The colour of a pixel, clBlack outside.
    TColor PixelColor(int x, int y);

private:
    friend class TBitmapCanvas;
    QImage& PaintTarget();
    void Flush();
    void Changed();

    std::unique_ptr<QImage> FImage;  // storage format
    std::unique_ptr<QImage> FWork;   // RGB copy while an indexed bitmap is being drawn on
    std::unique_ptr<TCanvas> FCanvas;
    TPixelFormat FFormat = pfDevice;
    bool FTransparent = false;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
};
