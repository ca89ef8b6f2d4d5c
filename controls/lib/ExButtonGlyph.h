#pragma once
// The drawing engine of every button of the library: a glyph strip of up to five state images
// (up, disabled, down, exclusive, inactive), the images it lacks built on demand, every built
// image kept in an image list shared by all glyphs of its size (TGlyphList in the process-wide
// TGlyphCache), and the layout and drawing of glyph, caption and drop-down mark. TButtonImage
// draws a whole framed button face where no control is wanted. The choice rules and the layout
// arithmetic are display-free (controls/core/GlyphRules.h, ButtonLayout.h).

#include <memory>
#include <string_view>
#include <vector>

#include "controls/core/ButtonLayout.h"
#include "controls/core/GlyphRules.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Controls.h"
#include "platform/gui/ImageList.h"

// An image list of one image size whose slots many glyphs share.
class TGlyphList : public TImageList {
public:
    TGlyphList(int AWidth, int AHeight);
    // A slot for the image: a freed one, or a new one at the end.
    int AddGlyph(TBitmap* Image, TBitmap* Mask);
    int AddMaskedGlyph(TBitmap* Image, TColor MaskColor);
    void ReleaseIndex(int Index);
    int UsedCount() const { return FSlots.UsedCount(); }

private:
    template <class Put>
    int Store(Put put);
    TGlyphSlots FSlots;
};

// The glyph lists of the process, one or more per image size.
class TGlyphCache {
public:
    ~TGlyphCache();
    // The last list made for the size, or a new one.
    TGlyphList* ListForSize(int AWidth, int AHeight);
    // A list no glyph uses any more is freed.
    void ReturnList(TGlyphList* List);
    bool IsEmpty() const { return FLists.empty(); }
    int ListCount() const { return static_cast<int>(FLists.size()); }

private:
    std::vector<std::unique_ptr<TGlyphList>> FLists;
};

// The cache while any glyph object lives (or an image was built since), else null.
TGlyphCache* GlyphCache();
// How many state images glyph objects have built in this process (for measurements).
long GlyphImagesBuilt();

class TExButtonGlyph : public TObject {
public:
    TExButtonGlyph();
    ~TExButtonGlyph() override;

    TBitmap* Glyph() const { return FOriginal.get(); }
    // Copies the bitmap (null empties the glyph); the built images are dropped.
    void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value) { FWordWrap = Value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }
    TColor TransparentColor() const { return FTransparentColor; }

    // Drops every built image (system colours changed, or the strip did).
    void Invalidate();
    // The list index of the state's image, built when missing; -1 for an empty glyph.
    int CreateButtonGlyph(TExButtonState State);
    int CreateImageGlyph(TExButtonState State, TImageList* Images, int Index);
    TColor MapColor(TColor Color) const { return MapGreyColor(Color, FTransparentColor); }

    // Each returns the size drawn, (0, 0) when nothing was.
    TPoint DrawButtonGlyph(TCanvas* Canvas, int X, int Y, TExButtonState State);
    TPoint DrawButtonImage(TCanvas* Canvas, int X, int Y, TImageList* Images, int Index, TExButtonState State);
    void DrawPopupMark(TCanvas* Canvas, int X, int Y, TExButtonState State);
    void DrawButtonText(TCanvas* Canvas, std::string_view Caption, const TRect& TextBounds, TExButtonState State,
                        unsigned Flags);
    // The caption shortened to Width pixels of the canvas's font (lines apart unless WordWrap).
    AnsiString MinimizeCaption(TCanvas* Canvas, std::string_view Caption, int Width) const;
    // Caption comes back as it will be drawn.
    void CalcButtonLayout(TCanvas* Canvas, const TRect& Client, AnsiString& Caption, TButtonLayout Layout, int Margin,
                          int Spacing, bool PopupMark, TPoint& GlyphPos, TRect& TextBounds, unsigned Flags,
                          TImageList* Images = nullptr, int ImageIndex = -1);
    // Lays out and draws glyph (or image-list image), caption and mark; returns the caption's
    // rectangle.
    TRect DrawEx(TCanvas* Canvas, const TRect& Client, std::string_view Caption, TButtonLayout Layout, int Margin,
                 int Spacing, bool PopupMark, TImageList* Images, int ImageIndex, TExButtonState State, unsigned Flags);
    TRect Draw(TCanvas* Canvas, const TRect& Client, std::string_view Caption, TButtonLayout Layout, int Margin,
               int Spacing, bool PopupMark, TExButtonState State, unsigned Flags)
    {
        return DrawEx(Canvas, Client, Caption, Layout, Margin, Spacing, PopupMark, nullptr, -1, State, Flags);
    }

    TNotifyEvent OnChange;

private:
    void GlyphChanged(TObject* Sender);
    int AddImage(TExButtonState State, TBitmap* Image, TColor MaskColor);
    bool HasGlyph() const;

    // The last layout, kept while its input, caption, flags and font are the same: measuring
    // and shortening text is most of a button's paint.
    struct TLayoutCache {
        bool Valid = false;
        TButtonLayoutInput In;
        AnsiString Caption;
        unsigned Flags = 0;
        TFont Font;
        TButtonLayoutResult Out;
    };

    std::unique_ptr<TBitmap> FOriginal;
    TGlyphList* FGlyphList = nullptr;
    TLayoutCache FLayout;
    int FIndexs[kButtonStateCount] = {-1, -1, -1, -1, -1};
    TColor FTransparentColor = clFuchsia;
    int FNumGlyphs = 1;
    bool FWordWrap = false;
    TAlignment FAlignment = taCenter;
};

// A framed button face with a glyph and caption, drawn where no control is wanted.
class TButtonImage : public TObject {
public:
    TButtonImage();
    ~TButtonImage() override;
    TBitmap* Glyph() const { return FGlyph->Glyph(); }
    void SetGlyph(TBitmap* Value) { FGlyph->SetGlyph(Value); }
    int NumGlyphs() const { return FGlyph->NumGlyphs(); }
    void SetNumGlyphs(int Value) { FGlyph->SetNumGlyphs(Value); }
    bool WordWrap() const { return FGlyph->WordWrap(); }
    void SetWordWrap(bool Value) { FGlyph->SetWordWrap(Value); }
    TAlignment Alignment() const { return FGlyph->Alignment(); }
    void SetAlignment(TAlignment Value) { FGlyph->SetAlignment(Value); }
    TPoint ButtonSize() const { return FButtonSize; }
    void SetButtonSize(TPoint Value) { FButtonSize = Value; }
    const AnsiString& Caption() const { return FCaption; }
    void SetCaption(const AnsiString& Value) { FCaption = Value; }

    void Invalidate() { FGlyph->Invalidate(); }
    void Draw(TCanvas* Canvas, int X, int Y, int Margin, int Spacing, TButtonLayout Layout, TFont* AFont,
              unsigned Flags)
    {
        DrawEx(Canvas, X, Y, Margin, Spacing, Layout, AFont, nullptr, -1, Flags);
    }
    void DrawEx(TCanvas* Canvas, int X, int Y, int Margin, int Spacing, TButtonLayout Layout, TFont* AFont,
                TImageList* Images, int ImageIndex, unsigned Flags);

private:
    std::unique_ptr<TExButtonGlyph> FGlyph;
    TPoint FButtonSize{24, 23};
    AnsiString FCaption;
};
