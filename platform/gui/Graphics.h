#pragma once
// The framework's drawing tools: font, brush and pen. Each fires OnChange after a property
// changes, so a canvas or control can follow. Sizes use a fixed 96 pixels per inch.

#include <cstdint>

#include "platform/core/AnsiString.h"
#include "platform/core/Colors.h"
#include "platform/core/Object.h"

class QFont;
class QString;
class TBitmap;

constexpr int ScreenPixelsPerInch = 96;
// A font height (pixels, or a canvas's logical units) is cut to this either way: no screen or page
// is taller, and sizes derived from it stay far from overflowing.
constexpr int kMaxFontHeight = 32767;

// cp949 text to Qt and back.
QString AnsiToQString(std::string_view text);
AnsiString QStringToAnsi(const QString& text);

enum TFontStyle { fsBold = 0, fsItalic = 1, fsUnderline = 2, fsStrikeOut = 3 };

// The framework's set of font styles.
class TFontStyles {
public:
    TFontStyles() = default;
    bool Contains(TFontStyle s) const { return FBits & Bit(s); }
    TFontStyles& operator<<(TFontStyle s)
    {
        FBits |= Bit(s);
        return *this;
    }
    TFontStyles& operator>>(TFontStyle s)
    {
        FBits &= ~Bit(s);
        return *this;
    }
    bool Empty() const { return FBits == 0; }
    bool operator==(const TFontStyles&) const = default;

private:
    static uint8_t Bit(TFontStyle s) { return static_cast<uint8_t>(1u << s); }
    uint8_t FBits = 0;
};

enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset HANGEUL_CHARSET = 129;

// Common base: the change notification.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    void Changed()
    {
        if (OnChange)
            OnChange(this);
    }
};

class TFont : public TGraphicsObject {
public:
    TFont() = default;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    const AnsiString& Name() const { return FName; }
    void SetName(const AnsiString& v);
    // Points; the framework keeps the height in pixels and derives the size from it.
    int Size() const;
    void SetSize(int points);
    // Pixels; negative for the character height, positive for the cell height (with leading);
    // cut to kMaxFontHeight either way.
    int Height() const { return FHeight; }
    void SetHeight(int pixels);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles v);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset v);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch v);
    // The angle of the text's base line in tenths of a degree, counter-clockwise; a canvas draws
    // the text turned about its start point.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int tenths);

    // Copies another font; one OnChange at the end.
    void Assign(TPersistent* source) override;
    bool SameAs(const TFont& other) const;

    // The Qt font: the family through the alias table, aliased rendering, the pixel height.
    QFont ToQFont() const;

private:
    AnsiString FName = "MS Sans Serif";
    int FHeight = -11;  // 8 points
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
    int FOrientation = 0;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;

    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle v);
    // A pattern bitmap (8 x 8 in use) that replaces the colour while set; not owned.
    TBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* v);

    void Assign(TPersistent* source) override;

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    TBitmap* FBitmap = nullptr;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;

    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    int Width() const { return FWidth; }
    void SetWidth(int v);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle v);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode v);

    void Assign(TPersistent* source) override;

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};
