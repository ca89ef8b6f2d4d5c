#include "controls/lib/ExButtonGlyph.h"

#include <cstdint>

#include "controls/lib/CtrlUtils.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/ExtCtrls.h"

namespace {

TGlyphCache* gCache = nullptr;
long gImagesBuilt = 0;

TGlyphCache* EnsureCache()
{
    if (!gCache)
        gCache = new TGlyphCache;
    return gCache;
}

// The part of the text a button draws: at most 255 bytes, whole characters.
std::string_view DrawnPart(std::string_view text)
{
    if (text.size() <= kMaxButtonCaption)
        return text;
    return text.substr(0, IsTrailByteAt(text, kMaxButtonCaption) ? kMaxButtonCaption - 1 : kMaxButtonCaption);
}

// Every pixel of a 24-bit bitmap through the glyph's grey mapping.
void MapPixels(TBitmap* bitmap, const TExButtonGlyph& glyph)
{
    bitmap->SetPixelFormat(pf24bit);
    for (int y = 0; y < bitmap->Height(); ++y) {
        auto* row = static_cast<uint8_t*>(bitmap->ScanLine(y));
        for (int x = 0; x < bitmap->Width(); ++x) {
            uint8_t* p = row + 3 * x;
            const TColor mapped = glyph.MapColor(RGB(p[2], p[1], p[0]));
            p[0] = static_cast<uint8_t>(GetBValue(mapped));
            p[1] = static_cast<uint8_t>(GetGValue(mapped));
            p[2] = static_cast<uint8_t>(GetRValue(mapped));
        }
    }
}

bool SameLayoutInput(const TButtonLayoutInput& a, const TButtonLayoutInput& b)
{
    return a.Client == b.Client && a.Glyph == b.Glyph && a.Layout == b.Layout && a.Margin == b.Margin &&
        a.Spacing == b.Spacing && a.PopupMark == b.PopupMark && a.WordWrap == b.WordWrap;
}

void FillFace(TBitmap* bitmap, int w, int h)
{
    bitmap->SetSize(w, h);
    bitmap->Canvas()->Brush()->SetColor(clBtnFace);
    bitmap->Canvas()->FillRect(Rect(0, 0, w, h));
}

}  // namespace

TGlyphCache* GlyphCache() { return gCache; }
long GlyphImagesBuilt() { return gImagesBuilt; }

// --- TGlyphList and TGlyphCache ---------------------------------------------------------------

TGlyphList::TGlyphList(int AWidth, int AHeight) : TImageList(nullptr, AWidth, AHeight) {}

template <class Put>
int TGlyphList::Store(Put put)
{
    bool grow = false;
    const int index = FSlots.Allocate(grow);
    put(grow ? -1 : index);
    return index;
}

int TGlyphList::AddGlyph(TBitmap* Image, TBitmap* Mask)
{
    return Store([&](int slot) { slot < 0 ? (void)Add(Image, Mask) : Replace(slot, Image, Mask); });
}

int TGlyphList::AddMaskedGlyph(TBitmap* Image, TColor MaskColor)
{
    return Store(
        [&](int slot) { slot < 0 ? (void)AddMasked(Image, MaskColor) : ReplaceMasked(slot, Image, MaskColor); });
}

void TGlyphList::ReleaseIndex(int Index) { FSlots.Release(Index); }

TGlyphCache::~TGlyphCache() = default;

TGlyphList* TGlyphCache::ListForSize(int AWidth, int AHeight)
{
    for (auto it = FLists.rbegin(); it != FLists.rend(); ++it)
        if ((*it)->Width() == AWidth && (*it)->Height() == AHeight)
            return it->get();
    FLists.push_back(std::make_unique<TGlyphList>(AWidth, AHeight));
    return FLists.back().get();
}

void TGlyphCache::ReturnList(TGlyphList* List)
{
    if (!List || List->UsedCount() != 0)
        return;
    for (auto it = FLists.begin(); it != FLists.end(); ++it)
        if (it->get() == List) {
            FLists.erase(it);
            return;
        }
}

// --- TExButtonGlyph ---------------------------------------------------------------------------

TExButtonGlyph::TExButtonGlyph() : FOriginal(std::make_unique<TBitmap>())
{
    FOriginal->OnChange = [this](TObject* sender) { GlyphChanged(sender); };
    EnsureCache();
}

TExButtonGlyph::~TExButtonGlyph()
{
    FOriginal->OnChange = nullptr;
    Invalidate();
    if (gCache && gCache->IsEmpty()) {
        delete gCache;
        gCache = nullptr;
    }
}

void TExButtonGlyph::SetGlyph(TBitmap* Value)
{
    Invalidate();
    FOriginal->Assign(Value);  // null empties it
}

void TExButtonGlyph::SetNumGlyphs(int Value)
{
    if (Value <= 0 || Value == FNumGlyphs)
        return;
    Invalidate();
    FNumGlyphs = std::min(Value, kMaxNumGlyphs);
}

void TExButtonGlyph::GlyphChanged(TObject* Sender)
{
    if (Sender != FOriginal.get())
        return;
    Invalidate();
    if (FOriginal->Height() > 0) {
        FTransparentColor = FOriginal->TransparentColor() & ~0x02000000;
        FNumGlyphs = StripGlyphCount(FOriginal->Width(), FOriginal->Height(), FNumGlyphs);
    }
    if (OnChange)
        OnChange(this);
}

void TExButtonGlyph::Invalidate()
{
    for (int& index : FIndexs) {
        if (FGlyphList && index != -1)
            FGlyphList->ReleaseIndex(index);
        index = -1;
    }
    if (gCache)
        gCache->ReturnList(FGlyphList);
    FGlyphList = nullptr;
}

bool TExButtonGlyph::HasGlyph() const { return !FOriginal->Empty(); }

int TExButtonGlyph::AddImage(TExButtonState State, TBitmap* Image, TColor MaskColor)
{
    FIndexs[State] = FGlyphList->AddMaskedGlyph(Image, MaskColor);
    ++gImagesBuilt;
    return FIndexs[State];
}

int TExButtonGlyph::CreateButtonGlyph(TExButtonState State)
{
    State = ServingState(State, FNumGlyphs);
    if (FIndexs[State] != -1)
        return FIndexs[State];
    if (!HasGlyph())
        return -1;
    const int w = FOriginal->Width() / FNumGlyphs;
    const int h = FOriginal->Height();
    if (w <= 0)
        return -1;
    if (!FGlyphList)
        FGlyphList = EnsureCache()->ListForSize(w, h);
    TBitmap image;
    FillFace(&image, w, h);
    const int source = SourceImageFor(State, FNumGlyphs);
    switch (GlyphBuildFor(State, FNumGlyphs)) {
    case gbEmbossed: {
        std::unique_ptr<TBitmap> disabled(CreateDisabledBitmap(FOriginal.get(), clBlack));
        return AddImage(State, disabled.get(), ColorToRGB(clBtnFace));
    }
    case gbGrey:
        image.Canvas()->CopyRect(Rect(0, 0, w, h), FOriginal->Canvas(), Bounds(0, 0, w, h));
        MapPixels(&image, *this);
        break;
    case gbCopy: image.Canvas()->CopyRect(Rect(0, 0, w, h), FOriginal->Canvas(), Bounds(source * w, 0, w, h)); break;
    }
    FOriginal->Dormant();
    return AddImage(State, &image, FTransparentColor);
}

int TExButtonGlyph::CreateImageGlyph(TExButtonState State, TImageList* Images, int Index)
{
    if (State == rbsDown)
        State = rbsUp;
    if (FIndexs[State] != -1)
        return FIndexs[State];
    if (!Images || Images->Width() == 0 || Images->Height() == 0 || Images->Count() == 0)
        return -1;
    const int w = Images->Width(), h = Images->Height();
    if (!FGlyphList)
        FGlyphList = EnsureCache()->ListForSize(w, h);
    TBitmap image;
    image.SetSize(w, h);
    if (State == rbsDisabled || State == rbsInactive) {
        FillFace(&image, w, h);
        if (State == rbsDisabled) {
            ImageListDrawDisabled(Images, image.Canvas(), 0, 0, Index, clBtnHighlight, clBtnShadow, true);
        } else {
            Images->Draw(image.Canvas(), 0, 0, Index);
            MapPixels(&image, *this);
        }
        return AddImage(State, &image, ColorToRGB(clBtnFace));
    }
    image.Canvas()->FillRect(Rect(0, 0, w, h));
    Images->Draw(image.Canvas(), 0, 0, Index);
    TBitmap mask;
    mask.SetSize(w, h);
    Images->DrawMask(mask.Canvas(), 0, 0, Index);
    FIndexs[State] = FGlyphList->AddGlyph(&image, &mask);
    ++gImagesBuilt;
    return FIndexs[State];
}

TPoint TExButtonGlyph::DrawButtonGlyph(TCanvas* Canvas, int X, int Y, TExButtonState State)
{
    if (!HasGlyph())
        return TPoint{};
    const int index = CreateButtonGlyph(State);
    if (index < 0 || !FGlyphList)
        return TPoint{};
    FGlyphList->Draw(Canvas, X, Y, index);
    return TPoint{FGlyphList->Width(), FGlyphList->Height()};
}

TPoint TExButtonGlyph::DrawButtonImage(TCanvas* Canvas, int X, int Y, TImageList* Images, int Index,
                                       TExButtonState State)
{
    if (!Images || Index < 0 || Index >= Images->Count())
        return TPoint{};
    if (State == rbsDisabled) {
        ImageListDrawDisabled(Images, Canvas, X, Y, Index, clBtnHighlight, clBtnShadow, true);
    } else if (State == rbsInactive) {
        const int index = CreateImageGlyph(State, Images, Index);
        if (index >= 0 && FGlyphList)
            FGlyphList->Draw(Canvas, X, Y, index);
    } else {
        Images->Draw(Canvas, X, Y, Index);
    }
    return TPoint{Images->Width(), Images->Height()};
}

void TExButtonGlyph::DrawPopupMark(TCanvas* Canvas, int X, int Y, TExButtonState State)
{
    const TColor pen = Canvas->Pen()->Color();
    auto mark = [Canvas](int x, int y, TColor color) {
        Canvas->Pen()->SetColor(color);
        // Rows of 7, 5, 3 and 1 pixels (LineTo leaves out its end point).
        for (int row = 0; row < 4; ++row) {
            Canvas->MoveTo(x + row, y - 1 + row);
            Canvas->LineTo(x + 7 - row, y - 1 + row);
        }
    };
    if (State == rbsDisabled) {
        mark(X + 1, Y + 1, clBtnHighlight);
        mark(X, Y, clBtnShadow);
    } else {
        mark(X, Y, clBtnText);
    }
    Canvas->Pen()->SetColor(pen);
}

void TExButtonGlyph::DrawButtonText(TCanvas* Canvas, std::string_view Caption, const TRect& TextBounds,
                                    TExButtonState State, unsigned Flags)
{
    Canvas->Brush()->SetStyle(bsClear);
    const std::string_view text = DrawnPart(Caption);
    Flags |= DT_VCENTER | (FWordWrap ? DT_WORDBREAK : 0u);
    TRect r = TextBounds;
    if (State == rbsDisabled) {
        const TColor color = Canvas->Font()->Color();
        OffsetRect(r, 1, 1);
        Canvas->Font()->SetColor(clBtnHighlight);
        DrawText(Canvas, text, r, Flags);
        r = TextBounds;
        Canvas->Font()->SetColor(clBtnShadow);
        DrawText(Canvas, text, r, Flags);
        Canvas->Font()->SetColor(color);
    } else {
        DrawText(Canvas, text, r, Flags);
    }
}

AnsiString TExButtonGlyph::MinimizeCaption(TCanvas* Canvas, std::string_view Caption, int Width) const
{
    return ::MinimizeCaption(Caption, FWordWrap, Width, [Canvas](std::string_view s) { return Canvas->TextWidth(s); });
}

void TExButtonGlyph::CalcButtonLayout(TCanvas* Canvas, const TRect& Client, AnsiString& Caption, TButtonLayout Layout,
                                      int Margin, int Spacing, bool PopupMark, TPoint& GlyphPos, TRect& TextBounds,
                                      unsigned Flags, TImageList* Images, int ImageIndex)
{
    TButtonLayoutInput in{Client, TPoint{}, Layout, Margin, Spacing, PopupMark, FWordWrap};
    if (Images && Images->Width() >= 1 && ImageIndex >= 0 && ImageIndex < Images->Count())
        in.Glyph = TPoint{Images->Width(), Images->Height()};
    else if (HasGlyph())
        in.Glyph = TPoint{FOriginal->Width() / FNumGlyphs, FOriginal->Height()};
    const TLayoutCache& last = FLayout;
    if (last.Valid && last.Caption == Caption && last.Flags == Flags && last.Font.SameAs(*Canvas->Font()) &&
        SameLayoutInput(last.In, in)) {
        Caption = last.Out.Caption;
        GlyphPos = last.Out.GlyphPos;
        TextBounds = last.Out.TextBounds;
        return;
    }
    const unsigned measure = DT_CALCRECT | DT_CENTER | DT_VCENTER | (FWordWrap ? DT_WORDBREAK : 0u) | Flags;
    TButtonTextMetrics metrics{[Canvas](std::string_view s) { return Canvas->TextWidth(s); },
                               [Canvas, measure](std::string_view s, int maxWidth) {
                                   TRect r = Rect(0, 0, maxWidth, 0);
                                   DrawText(Canvas, s, r, measure);
                                   return TSize{r.Width(), r.Height()};
                               }};
    TButtonLayoutResult out = ::CalcButtonLayout(in, Caption, metrics);
    FLayout.Valid = true;
    FLayout.In = in;
    FLayout.Caption = Caption;
    FLayout.Flags = Flags;
    FLayout.Font.Assign(Canvas->Font());
    FLayout.Out = out;
    Caption = std::move(out.Caption);
    GlyphPos = out.GlyphPos;
    TextBounds = out.TextBounds;
}

TRect TExButtonGlyph::DrawEx(TCanvas* Canvas, const TRect& Client, std::string_view Caption, TButtonLayout Layout,
                             int Margin, int Spacing, bool PopupMark, TImageList* Images, int ImageIndex,
                             TExButtonState State, unsigned Flags)
{
    AnsiString text(Caption);
    TPoint glyphPos;
    TRect textBounds;
    CalcButtonLayout(Canvas, Client, text, Layout, Margin, Spacing, PopupMark, glyphPos, textBounds, Flags, Images,
                     ImageIndex);
    const bool useImages = Images && ImageIndex >= 0 && ImageIndex < Images->Count();
    const TPoint drawn = useImages ? DrawButtonImage(Canvas, glyphPos.x, glyphPos.y, Images, ImageIndex, State)
                                   : DrawButtonGlyph(Canvas, glyphPos.x, glyphPos.y, State);
    DrawButtonText(Canvas, text, textBounds, State, Flags);
    if (PopupMark) {
        TPoint at;
        if (Layout != blGlyphLeft && (FOriginal->Width() > 0 || (useImages && drawn.x > 0))) {
            at = TPoint{glyphPos.x + drawn.x + 1, glyphPos.y + drawn.y / 2};
        } else {
            at.x = !text.empty() ? textBounds.Right + 3 : (Client.Left + Client.Right - 7) / 2;
            at.y = textBounds.Top + textBounds.Height() / 2;
        }
        DrawPopupMark(Canvas, at.x, at.y, State);
    }
    return textBounds;
}

// --- TButtonImage -----------------------------------------------------------------------------

TButtonImage::TButtonImage() : FGlyph(std::make_unique<TExButtonGlyph>()) { FGlyph->SetNumGlyphs(1); }

TButtonImage::~TButtonImage() = default;

void TButtonImage::DrawEx(TCanvas* Canvas, int X, int Y, int Margin, int Spacing, TButtonLayout Layout, TFont* AFont,
                          TImageList* Images, int ImageIndex, unsigned Flags)
{
    const TColor brush = Canvas->Brush()->Color();
    TFont font;
    font.Assign(Canvas->Font());
    struct TRestore {
        TCanvas* canvas;
        TFont& font;
        TColor brush;
        ~TRestore()
        {
            canvas->SetFont(&font);
            canvas->Brush()->SetColor(brush);
        }
    } restore{Canvas, font, brush};
    TRect r = Bounds(X, Y, FButtonSize.x, FButtonSize.y);
    Canvas->Brush()->SetColor(clBtnFace);
    Canvas->FillRect(r);
    Frame3D(Canvas, r, clBtnShadow, clWindowFrame, 1);
    Frame3D(Canvas, r, clBtnHighlight, clBtnShadow, 1);
    if (AFont)
        Canvas->SetFont(AFont);
    FGlyph->DrawEx(Canvas, r, FCaption, Layout, Margin, Spacing, false, Images, ImageIndex, rbsUp, Flags);
}
