#include "controls/lib/SecretPanel.h"

#include <algorithm>

#include "controls/lib/CtrlUtils.h"
#include "platform/gui/CanvasViewport.h"
#include "platform/gui/DrawText.h"

namespace {

constexpr size_t kMaxLineBytes = 255;

// A line as the panel draws it: at most 255 bytes, whole characters.
std::string_view DrawnLine(std::string_view line)
{
    if (line.size() <= kMaxLineBytes)
        return line;
    return line.substr(0, IsTrailByteAt(line, kMaxLineBytes) ? kMaxLineBytes - 1 : kMaxLineBytes);
}

}  // namespace

TSecretPanel::TSecretPanel(TComponent* AOwner)
    : TCustomPanel(AOwner), FLines(std::make_unique<TStringList>()), FTimer(std::make_unique<TTimer>(nullptr)),
      FGlyph(std::make_unique<TBitmap>())
{
    FControlStyle &= ~csSetCaption;
    SetBevelOuter(bvLowered);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(30);
    FTimer->SetOnTimer([this](TObject* sender) { TimerExpired(sender); });
    FLines->OnChange = [this](TObject*) { Relayout(true); };
    FGlyph->OnChange = [this](TObject*) { Relayout(false); };
    for (unsigned msg : {CM_FONTCHANGED, CM_COLORCHANGED})
        RegisterHandler(msg, [this](TMessage& m) {
            Inherited(m);
            if (FActive)
                UpdateMemoryImage();
        });
    RegisterHandler(WM_SIZE, [this](TMessage& m) {
        TAliveToken alive = AliveToken();
        Inherited(m);
        if (*alive)
            Relayout(false);
    });
}

TSecretPanel::~TSecretPanel()
{
    Destroying();
    SetActive(false);
    FLines->OnChange = nullptr;
    FGlyph->OnChange = nullptr;
}

void TSecretPanel::Relayout(bool RestartScroll)
{
    if (!FActive)
        return;
    if (RestartScroll)
        FScrollCnt = 0;
    UpdateMemoryImage();
    Invalidate();
}

void TSecretPanel::AlignControls(TControl* AControl, TRect& Rect)
{
    TCustomPanel::AlignControls(AControl, Rect);
    if (!AControl && FActive)
        UpdateMemoryImage();
}

void TSecretPanel::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    if (FActive)
        Invalidate();
}

void TSecretPanel::SetDirection(TScrollDirection Value)
{
    FDirection = Value;
    Relayout(true);
}

void TSecretPanel::SetTextStyle(TPanelBevel Value)
{
    FTextStyle = Value;
    Relayout(false);
}

void TSecretPanel::SetGlyphLayout(TGlyphLayout Value)
{
    FGlyphLayout = Value;
    Relayout(false);
}

int TSecretPanel::InflateWidth() const
{
    return BorderWidth() + (BevelOuter() != bvNone ? BevelWidth() : 0) + (BevelInner() != bvNone ? BevelWidth() : 0);
}

void TSecretPanel::RecalcDrawRect()
{
    int block = -1;
    const int last = LastTextLine(*FLines);
    if (last >= FFirstLine)
        block = (last - FFirstLine + 1) * FTxtDivider;
    const TSecretPanelGeometry g =
        SecretPanelGeometry(ClientRect(), InflateWidth(), TSize{FGlyph->Width(), FGlyph->Height()}, FGlyphLayout,
                            FDirection == sdHorizontal, block);
    FPaintRect = g.PaintRect;
    FTxtRect = g.TextRect;
    FGlyphOrigin = g.GlyphOrigin;
}

void TSecretPanel::UpdateMemoryImage()
{
    if (!FMemoryImage)
        FMemoryImage = std::make_unique<TBitmap>();
    FFirstLine = FirstTextLine(*FLines);
    TCanvas* c = Canvas();
    c->SetFont(Font());
    FTxtDivider = std::max(1, c->TextHeight("W") + (FTextStyle != bvNone ? 1 : 0));
    RecalcDrawRect();
    if (FDirection == sdHorizontal) {
        int widest = 0;
        for (int i = FFirstLine; i < FLines->Count(); ++i)
            widest = std::max(widest, c->TextWidth(DrawnLine(FLines->Strings(i))));
        FMaxScroll = widest + FTxtRect.Width();
    } else {
        FMaxScroll = FTxtRect.Height() + (FLines->Count() - FFirstLine) * FTxtDivider;
    }
    FMemoryImage->SetSize(std::max(FTxtRect.Width(), 1), std::max(FTxtRect.Height(), 1));
    TCanvas* image = FMemoryImage->Canvas();
    image->SetFont(Font());
    image->Brush()->SetColor(Color());
    image->Brush()->SetStyle(bsClear);
}

void TSecretPanel::SetActive(bool Value)
{
    if (Value == FActive)
        return;
    FActive = Value;
    if (Value) {
        try {
            FScrollCnt = 0;
            UpdateMemoryImage();
            FTimer->SetEnabled(true);
            StartPlay();
        } catch (...) {
            FActive = false;
            FTimer->SetEnabled(false);
            throw;
        }
    } else {
        FTimer->SetEnabled(false);
        FScrollCnt = 0;
        FMemoryImage.reset();
        StopPlay();
    }
    if (InState(csDestroying))
        return;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (Value) {
            if (child->Visible()) {
                FHiddenList.push_back(child);
                if (!InState(csDesigning))
                    child->Hide();
            }
        } else if (std::find(FHiddenList.begin(), FHiddenList.end(), child) != FHiddenList.end()) {
            child->Show();
            child->Invalidate();
        }
    }
    if (!Value)
        FHiddenList.clear();
    Invalidate();
}

void TSecretPanel::StartPlay()
{
    if (OnStartPlay)
        OnStartPlay(this);
}

void TSecretPanel::StopPlay()
{
    if (OnStopPlay)
        OnStopPlay(this);
}

void TSecretPanel::TimerExpired(TObject*)
{
    if (FScrollCnt < FMaxScroll) {
        ++FScrollCnt;
        if (FMemoryImage)
            PaintText();
    } else if (FCycled) {
        FScrollCnt = 0;
        PaintText();
    } else {
        Stop();
    }
}

void TSecretPanel::PaintClient(TCanvas* Canvas, const TRect& Rect)
{
    if (OnPaintClient)
        OnPaintClient(this, Canvas, Rect);
    else
        Canvas->FillRect(Rect);
}

void TSecretPanel::PaintGround(TCanvas* Image)
{
    // In the panel's coordinates, with the rectangle Paint gives, so that a ground drawn across
    // the whole panel (a gradient) lines up under the text with what Paint drew around it.
    TFont font;
    TBrush brush;
    TPen pen;
    font.Assign(Image->Font());
    brush.Assign(Image->Brush());
    pen.Assign(Image->Pen());
    {
        const TCanvasViewport panel(Image, TPoint{-FTxtRect.Left, -FTxtRect.Top}, 1.0);
        Image->Brush()->SetStyle(bsSolid);
        Image->Brush()->SetColor(Color());
        PaintClient(Image, FPaintRect);
    }
    Image->Font()->Assign(&font);
    Image->Brush()->Assign(&brush);
    Image->Pen()->Assign(&pen);
}

void TSecretPanel::PaintText()
{
    if (FLines->Count() == 0 || FTxtRect.IsEmpty() || !HandleAllocated() || !FMemoryImage)
        return;
    TCanvas* c = FMemoryImage->Canvas();
    PaintGround(c);
    c->Brush()->SetStyle(bsClear);
    TSecretScroll s;
    s.FirstLine = FFirstLine;
    s.LineCount = FLines->Count();
    s.LineStep = FTxtDivider;
    s.Text = TSize{FTxtRect.Width(), FTxtRect.Height()};
    s.Scrolled = FScrollCnt;
    s.Length = FMaxScroll;
    s.Sideways = FDirection == sdHorizontal;
    const unsigned flags = AlignmentTextFlags(FAlignment) | DT_NOPREFIX | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE;
    const TColor color = Font()->Color();
    for (const TSecretLine& line : SecretPanelLines(s)) {
        const AnsiString text = line.Index < s.LineCount ? AnsiString(DrawnLine(FLines->Strings(line.Index))) : " ";
        TRect r = line.Rect;
        if (FTextStyle != bvNone) {
            const int shift = FTextStyle == bvLowered ? 1 : -1;
            OffsetRect(r, shift, shift);
            c->Font()->SetColor(clBtnHighlight);
            DrawText(c, text, r, flags);
            r = line.Rect;
        }
        c->Font()->SetColor(color);
        DrawText(c, text, r, flags);
    }
    Canvas()->Draw(FTxtRect.Left, FTxtRect.Top, FMemoryImage.get());
    InvalidateRect(FTxtRect);
}

void TSecretPanel::Paint()
{
    TCustomPanel::Paint();
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    TRect inside = ClientRect();
    InflateRect(inside, -InflateWidth(), -InflateWidth());
    PaintClient(c, inside);
    if (!FActive)
        return;
    if (!FGlyph->Empty()) {
        RecalcDrawRect();
        DrawBitmapTransparent(c, FGlyphOrigin.x, FGlyphOrigin.y, FGlyph.get(),
                              FGlyph->TransparentColor() & ~0x02000000);
    }
    // The window keeps its pixels only until it repaints: the last frame of the text goes back.
    if (FMemoryImage && !FTxtRect.IsEmpty() && FScrollCnt > 0)
        c->Draw(FTxtRect.Left, FTxtRect.Top, FMemoryImage.get());
}
