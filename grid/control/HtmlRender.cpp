#include "grid/control/HtmlRender.h"

#include <algorithm>
#include <climits>

#include "grid/control/HtmlImages.h"
#include "grid/model/HtmlSource.h"
#include "platform/gui/BitmapTile.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/Resources.h"

namespace {

constexpr unsigned kMeasureFlags = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_EXTERNALLEADING;
constexpr unsigned kWordFlags = DT_SINGLELINE | DT_BOTTOM | DT_NOPREFIX | DT_EXPANDTABS | DT_EXTERNALLEADING;
constexpr unsigned kWordExtentFlags = DT_CALCRECT | DT_EDITCONTROL | kWordFlags;
// A list bullet takes this many pixels per list level.
constexpr int kBulletStep = 12;
// <FONT size> beyond this many points would make glyphs larger than any screen.
constexpr int kMaxFontPoints = 256;
// Positions and sizes stay well inside int, whatever sizes the text asks for.
constexpr int kMaxCoordinate = 1 << 28;
// Image sizes a tag asks for.
constexpr int kMaxSide = 65535;

int Add(int a, int b) { return static_cast<int>(std::clamp<long long>(0LL + a + b, -kMaxCoordinate, kMaxCoordinate)); }

bool StartsNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && PosNoCase(prefix, text.substr(0, prefix.size())) == 1;
}

// The brush colour as tags save it: clNone for a clear brush.
TColor BrushColorOf(TCanvas* c) { return c->Brush()->Style() == bsClear ? clNone : c->Brush()->Color(); }

void SetBrushColor(TCanvas* c, TColor color)
{
    if (color == clNone) {
        c->Brush()->SetStyle(bsClear);
    } else {
        c->Brush()->SetColor(color);
        c->Brush()->SetStyle(bsSolid);
    }
}

void SetFontStyle(TFont* font, TFontStyle style, bool on)
{
    TFontStyles s = font->Style();
    if (on)
        s << style;
    else
        s >> style;
    font->SetStyle(s);
}

// The state both passes of a line start from; the second pass goes on from where it ends.
struct TFlow {
    bool InLink = false;
    AnsiString Href;
    int LinkCount = 0;
    int ListLevel = 0;
    bool Hidden = false, Shadow = false;
    bool Rotated = false;
    int SavedOrientation = 0;
    int Align = 0;  // 0 left, 1 right, 2 centre
    TPoint LinkStart{};
    int LinkStartLine = 0;
    bool LinkUnderMouse = false;
};

// One pass over a line.
struct TLinePass {
    int W = 0, H = 0;
    int SubDepth = 0, SupHeight = 0, ImageOffset = 0;
    bool Hit = false;
};

class THtmlEngine {
public:
    THtmlEngine(TCanvas* Canvas, const TRect& Rect, const THtmlRenderOptions& Options, THtmlRenderResult& Result)
        : C(Canvas), FRect(Rect), O(Options), Res(Result)
    {}
    void Run(std::string_view Text);

private:
    void Line(THtmlSource& src, TRect R, bool calc, bool measuring, AnsiString* raw, TLinePass& ln);
    void Word(const AnsiString& word, const TRect& R, bool calc, TLinePass& ln, int& ww);
    void Tag(const AnsiString& tag, bool closed, const TRect& R, bool calc, bool measuring, TLinePass& ln);
    void OpenTag(const AnsiString& tag, const AnsiString& up, bool closed, const TRect& R, bool calc, bool measuring,
                 TLinePass& ln);
    void CloseTag(const AnsiString& up, const TRect& R, bool calc, TLinePass& ln);
    void Link(std::string_view attrs, const TRect& R, bool calc, TLinePass& ln);
    void EndLink(const TRect& R, bool calc, TLinePass& ln);
    void FontTag(std::string_view attrs, bool calc);
    void Body(std::string_view attrs, bool calc);
    void Paragraph(std::string_view attrs, const TRect& R, bool calc);
    void Bullet(const TRect& R, bool calc, bool measuring, TLinePass& ln);
    void Image(std::string_view attrs, const TRect& R, bool calc, bool measuring, TLinePass& ln);
    void DrawBullet(int x, int y, bool odd);
    int GhHeight() { return C->TextHeight("gh"); }

    TCanvas* C;
    const TRect FRect;
    const THtmlRenderOptions& O;
    THtmlRenderResult& Res;

    TFlow F;
    int FX = 0;
    bool FSub = false, FSup = false;
    bool FLineBreak = false, FLineFull = false, FBulletPlaced = false;
    int FLineNumber = 0;
    TRect FFocusRect{};
    TColor FStartBrush = clNone;
    TColor FLinkBrush = clNone, FLinkFontColor = clNone, FFontBrush = clNone, FParaBrush = clNone;
    bool FParaBackground = false;
    TFont FStartFont, FMeasureFont, FDrawFont;
};

void THtmlEngine::Run(std::string_view Text)
{
    FStartFont.Assign(C->Font());
    FMeasureFont.Assign(C->Font());
    FDrawFont.Assign(C->Font());
    TBrush startBrush;
    startBrush.Assign(C->Brush());
    const TColor startPen = C->Pen()->Color();
    FStartBrush = C->Brush()->Color();
    SetBrushColor(C, clNone);

    TRect L = FRect;
    L.Left += 1;
    THtmlSource src(Text);
    while (!src.Empty()) {
        // Measuring pass: takes the line off the text.
        C->Font()->Assign(&FMeasureFont);
        const TFlow before = F;
        const size_t start = src.Position();
        TLinePass ln;
        FSub = FSup = false;
        AnsiString raw;
        Line(src, L, true, true, &raw, ln);
        FMeasureFont.Assign(C->Font());
        if (src.Position() == start && raw.empty())
            src.Clear();  // nothing fits at all: never loop on the same text

        TRect D = L;
        if (F.Align == 1)
            D.Left = Add(L.Right, -ln.W);
        else if (F.Align == 2)
            D.Left = Add(L.Left, (L.Right - L.Left - ln.W) / 2);
        D.Bottom = Add(L.Top, ln.H + ln.SubDepth + ln.SupHeight);

        if (!O.MeasureOnly) {
            // Drawing (or hit-testing) pass over the same line, from the same state.
            F = before;
            C->Font()->Assign(&FDrawFont);
            FSub = FSup = false;
            THtmlSource line(raw);
            TLinePass dl = ln;
            Line(line, D, O.HitTestOnly, false, nullptr, dl);
            const int band = Add(D.Bottom, -dl.ImageOffset);
            if (dl.Hit && O.Y > band - GhHeight() && O.Y < band)
                Res.Hit = true;
            FDrawFont.Assign(C->Font());
        }
        const int advance = Add(ln.H, ln.SubDepth + ln.SupHeight);
        L.Top = Add(L.Top, advance);
        Res.Height = Add(Res.Height, advance);
        ++FLineNumber;
        if (!O.MeasureOnly && L.Top + ln.H > L.Bottom)
            break;
    }
    if (Res.Height == 0)
        Res.Height = GhHeight();
    Res.LinkCount = F.LinkCount;
    C->Font()->Assign(&FStartFont);
    C->Brush()->Assign(&startBrush);
    C->Pen()->SetColor(startPen);
}

void THtmlEngine::Line(THtmlSource& src, TRect R, bool calc, bool measuring, AnsiString* raw, TLinePass& ln)
{
    R.Bottom = Add(R.Bottom, -ln.SubDepth);
    ln.W = 0;
    ln.H = GhHeight();
    ln.Hit = false;
    FLineBreak = FLineFull = FBulletPlaced = false;
    FX = R.Left;
    int trailing = 0;
    if (FParaBackground && !calc) {
        C->Pen()->SetColor(C->Brush()->Color());
        C->FillRect(TRect{FRect.Left, R.Top, FRect.Right, Add(R.Top, ln.H)});
    }
    // Only the measuring pass decides where the line ends; the second pass takes all it was given.
    while (!src.Empty() && !FLineBreak && !FLineFull) {
        size_t end = 0;
        const AnsiString rawWord = src.PeekWord(end);
        AnsiString word;
        int ww = 0;
        if (!rawWord.empty()) {
            word = DecodeHtmlEntities(rawWord);
            const int th = C->TextHeight(word);
            if (FSub)
                ln.SubDepth = std::max(ln.SubDepth, th / 4);
            if (FSup)
                ln.SupHeight = std::max(ln.SupHeight, th / 4);
            ln.H = std::max(ln.H, th);
            if (!F.Hidden)
                Word(word, R, calc, ln, ww);
            if (measuring && ln.W >= R.Width() && ww < R.Width()) {
                // Taken back: the word starts the next line.
                ln.W -= ww;
                FLineBreak = true;
                break;
            }
        }
        if (raw)
            *raw += rawWord;
        src.Consume(end);
        if (measuring)
            Res.PlainText += word;
        trailing = !rawWord.empty() && rawWord.back() == ' ' && !F.Hidden ? C->TextWidth(" ") : 0;
        src.UnwrapHashTag();
        if (!FLineBreak && src.AtTag()) {
            bool closed = false;
            const AnsiString tag = src.PeekTag(end, closed);
            Tag(tag, closed, R, calc, measuring, ln);
            if (!FLineFull) {
                if (raw)
                    *raw += tag;
                src.Consume(end);
            }
        }
        if (!measuring)
            FLineBreak = FLineFull = false;
    }
    ln.W = Add(ln.W, -trailing);
    Res.Width = std::max(Res.Width, ln.W);
    if (F.InLink && !calc && F.LinkCount - 1 == O.FocusLink && O.FocusLink >= 0) {
        TRect r = FFocusRect;
        r.Right = FX;
        r.Bottom = R.Bottom;
        r.Left -= 1;
        r.Right += 1;
        C->DrawFocusRect(r);
        FFocusRect.Left = R.Left + 1;
        FFocusRect.Top = R.Bottom;
    }
}

void THtmlEngine::Word(const AnsiString& word, const TRect& R, bool calc, TLinePass& ln, int& ww)
{
    if (calc) {
        TRect m = R;
        DrawText(C, word, m, kMeasureFlags);
        ww = m.Width();
        ln.W = Add(ln.W, ww);
        const int at = O.X - R.Left;
        if (F.InLink && at >= ln.W - ww && at <= ln.W) {
            ln.Hit = true;
            if (R.Top < O.Y && O.Y < R.Bottom) {
                Res.AnchorValue = F.Href;
                F.LinkUnderMouse = true;
            }
        }
        return;
    }
    TRect r{FX, R.Top, R.Right, R.Bottom};
    if (FSup)
        r.Bottom -= ln.SupHeight;
    if (FSub)
        r.Bottom += ln.SubDepth;
    r.Bottom -= ln.ImageOffset;
    if (F.Shadow) {
        const TColor color = C->Font()->Color();
        C->Font()->SetColor(O.ShadowColor);
        TRect s{r.Left + O.ShadowOffset, r.Top + O.ShadowOffset, r.Right + O.ShadowOffset, r.Bottom + O.ShadowOffset};
        DrawText(C, word, s, kWordFlags);
        C->Font()->SetColor(color);
    }
    DrawText(C, word, r, kWordFlags);
    DrawText(C, word, r, kWordExtentFlags);
    FX = r.Right;
    if (F.InLink && O.FocusLink >= 0 && F.LinkCount - 1 == O.FocusLink)
        Res.FocusAnchor = F.Href;
}

void THtmlEngine::Tag(const AnsiString& tag, bool closed, const TRect& R, bool calc, bool measuring, TLinePass& ln)
{
    const AnsiString up = UpperCase(tag);
    if (up.size() > 1 && up[1] == '/')
        CloseTag(up, R, calc, ln);
    else
        OpenTag(tag, up, closed, R, calc, measuring, ln);
}

void THtmlEngine::OpenTag(const AnsiString& tag, const AnsiString& up, bool closed, const TRect& R, bool calc,
                          bool measuring, TLinePass& ln)
{
    TFont* font = C->Font();
    const auto is = [&up](std::string_view prefix) { return up.compare(0, prefix.size(), prefix) == 0; };
    switch (up.size() > 1 ? up[1] : '\0') {
    case 'A': Link(TagAttributes(tag, 2), R, calc, ln); break;
    case 'B':
        if (is("<BR>")) {
            FLineBreak = true;
            if (measuring)
                Res.PlainText += '\r';
        } else if (is("<B>")) {
            SetFontStyle(font, fsBold, true);
        } else if (is("<BLINK")) {
            if (!O.BlinkOn)
                font->SetColor(FStartBrush);
        } else if (is("<BODY")) {
            Body(TagAttributes(tag, 5), calc);
        }
        break;
    case 'F':
        if (is("<FONT"))
            FontTag(TagAttributes(tag, 4), calc);
        break;
    case 'H':
        FLineBreak = true;
        if (!calc) {
            const TColor pen = C->Pen()->Color();
            C->Pen()->SetColor(clBlack);
            C->MoveTo(R.Left, R.Bottom);
            C->LineTo(R.Right, R.Bottom);
            C->Pen()->SetColor(pen);
        }
        break;
    case 'I':
        if (is("<I>")) {
            SetFontStyle(font, fsItalic, true);
        } else if (is("<IND")) {
            int n = 0;
            if (TagCleanInt(AttributeValue(TagAttributes(tag, 2), "x"), n) && ln.W < n) {
                ln.W = std::min(n, kMaxCoordinate);
                FX = Add(FRect.Left, ln.W);
            }
        } else if (is("<IMG")) {
            Image(TagAttributes(tag, 2), R, calc, measuring, ln);
        }
        break;
    case 'L':
        if (is("<LI"))
            Bullet(R, calc, measuring, ln);
        break;
    case 'P':
        if (closed)
            Paragraph(TagAttributes(tag, 2), R, calc);
        break;
    case 'R':
        if (!F.Rotated) {
            SelectRotatedFont(C, TagIntValue(AttributeValue(TagAttributes(tag, 2), "a")), F.SavedOrientation);
            F.Rotated = true;
        } else {
            int ignored = 0;
            SelectRotatedFont(C, TagIntValue(AttributeValue(TagAttributes(tag, 2), "a")), ignored);
        }
        break;
    case 'S':
        if (is("<S>"))
            SetFontStyle(font, fsStrikeOut, true);
        else if (is("<SUB>"))
            FSub = true;
        else if (is("<SUP>"))
            FSup = true;
        else if (is("<SHAD>"))
            F.Shadow = true;
        break;
    case 'U':
        if (is("<UL>"))
            ++F.ListLevel;
        else
            SetFontStyle(font, fsUnderline, true);
        break;
    case 'Z': F.Hidden = true; break;
    default: break;
    }
}

void THtmlEngine::CloseTag(const AnsiString& up, const TRect& R, bool calc, TLinePass& ln)
{
    TFont* font = C->Font();
    const auto is = [&up](std::string_view prefix) { return up.compare(0, prefix.size(), prefix) == 0; };
    switch (up.size() > 2 ? up[2] : '\0') {
    case 'A': EndLink(R, calc, ln); break;
    case 'B':
        if (is("</BL"))
            font->SetColor(FStartFont.Color());
        else
            SetFontStyle(font, fsBold, false);
        break;
    case 'F':
        font->SetName(FStartFont.Name());
        font->SetHeight(FStartFont.Height());
        if (!calc && !O.Selected) {
            font->SetColor(FStartFont.Color());
            SetBrushColor(C, FFontBrush);
        }
        break;
    case 'I': SetFontStyle(font, fsItalic, false); break;
    case 'P':
        FLineBreak = true;
        if (!calc) {
            SetBrushColor(C, FParaBrush);
            FParaBackground = false;
        }
        break;
    case 'R':
        if (F.Rotated) {
            RestoreRotatedFont(C, F.SavedOrientation);
            F.Rotated = false;
        }
        break;
    case 'S':
        if (up.size() > 3 && up[3] == 'U')
            FSub = FSup = false;
        else if (up.size() > 3 && up[3] == 'H')
            F.Shadow = false;
        else
            SetFontStyle(font, fsStrikeOut, false);
        break;
    case 'U':
        if (is("</UL>") && F.ListLevel > 0)
            --F.ListLevel;
        else
            SetFontStyle(font, fsUnderline, false);
        break;
    case 'Z': F.Hidden = false; break;
    default: break;
    }
}

void THtmlEngine::Link(std::string_view attrs, const TRect& R, bool calc, TLinePass& ln)
{
    if (F.LinkCount == O.FocusLink && !calc) {
        FFocusRect.Left = FX;
        FFocusRect.Top = R.Top;
    }
    ++F.LinkCount;
    TFont* font = C->Font();
    const bool hovered = O.HoverOnlyHovered && O.HoverLink == F.LinkCount;
    if (!O.HoverOnlyHovered || hovered) {
        SetFontStyle(font, fsUnderline, true);
        if (O.HoverColor != clNone) {
            FLinkBrush = BrushColorOf(C);
            SetBrushColor(C, O.HoverColor);
        }
        if (O.HoverFontColor != clNone) {
            FLinkFontColor = font->Color();
            font->SetColor(O.HoverFontColor);
        }
    }
    if (!O.Selected && !(hovered && O.HoverFontColor != clNone))
        font->SetColor(O.LinkColor);
    F.Href = AttributeValue(attrs, "href");
    F.InLink = true;
    F.LinkUnderMouse = false;
    F.LinkStart = TPoint{Add(R.Left, ln.W), R.Top};
    F.LinkStartLine = FLineNumber;
}

void THtmlEngine::EndLink(const TRect& R, bool calc, TLinePass& ln)
{
    TFont* font = C->Font();
    if (!O.HoverOnlyHovered || O.HoverLink == F.LinkCount) {
        SetFontStyle(font, fsUnderline, false);
        if (O.HoverColor != clNone)
            SetBrushColor(C, FLinkBrush);
        if (O.HoverFontColor != clNone)
            font->SetColor(FLinkFontColor);
    }
    if (!O.Selected)
        font->SetColor(FStartFont.Color());
    F.InLink = false;
    if (F.LinkUnderMouse) {
        Res.HoverRect = TRect{F.LinkStart.x, F.LinkStart.y, Add(R.Left, ln.W), R.Bottom};
        if (F.LinkStartLine != FLineNumber) {
            Res.HoverRect.Left = R.Left;
            Res.HoverRect.Top = R.Top;
        }
        Res.MouseLink = F.LinkCount;
        F.LinkUnderMouse = false;
    }
    if (O.FocusLink >= 0 && F.LinkCount - 1 == O.FocusLink) {
        FFocusRect.Right = FX;
        FFocusRect.Bottom = Add(R.Bottom, -ln.ImageOffset);
        FFocusRect.Top = FFocusRect.Bottom - GhHeight();
        if (!calc)
            C->DrawFocusRect(TRect{FFocusRect.Left - 1, FFocusRect.Top, FFocusRect.Right + 1, FFocusRect.Bottom});
    }
}

void THtmlEngine::FontTag(std::string_view attrs, bool calc)
{
    TFont* font = C->Font();
    if (HasAttribute(attrs, "face"))
        font->SetName(AttributeValue(attrs, "face"));
    if (HasAttribute(attrs, " color") && !O.Selected)
        font->SetColor(AttributeColor(AttributeValue(attrs, " color"), font->Color()));
    if (HasAttribute(attrs, "bgcolor") && !calc && !O.Selected) {
        FFontBrush = BrushColorOf(C);
        SetBrushColor(C, AttributeColor(AttributeValue(attrs, "bgcolor"), FFontBrush));
    }
    if (HasAttribute(attrs, "size"))
        font->SetSize(std::clamp(TagIntValue(AttributeValue(attrs, "size")), -kMaxFontPoints, kMaxFontPoints));
}

void THtmlEngine::Body(std::string_view attrs, bool calc)
{
    if (calc)
        return;
    if (HasAttribute(attrs, "background")) {
        const AnsiString value = AttributeValue(attrs, "background");
        if (StartsNoCase(value, "file://"))
            if (const auto bitmap = HtmlFileBitmap(std::string_view(value).substr(7)))
                TileBitmap(C, FRect, bitmap.get(), TPoint{FRect.Left, FRect.Top});
    }
    if (HasAttribute(attrs, "bgcolor")) {
        SetBrushColor(C, AttributeColor(AttributeValue(attrs, "bgcolor"), BrushColorOf(C)));
        C->FillRect(FRect);
    }
}

void THtmlEngine::Paragraph(std::string_view attrs, const TRect& R, bool calc)
{
    if (HasAttribute(attrs, "align")) {
        const AnsiString align = AttributeValue(attrs, "align");
        if (PosNoCase("right", align))
            F.Align = 1;
        if (PosNoCase("left", align))
            F.Align = 0;
        if (PosNoCase("center", align))
            F.Align = 2;
    }
    if (!HasAttribute(attrs, "bgcolor") || calc)
        return;
    const TColor color = AttributeColor(AttributeValue(attrs, "bgcolor"), clNone);
    FParaBackground = true;
    FParaBrush = BrushColorOf(C);
    SetBrushColor(C, color);
    if (color != clNone)
        C->Pen()->SetColor(color);
    C->FillRect(TRect{FRect.Left, R.Top, FRect.Right, R.Bottom});
}

void THtmlEngine::Bullet(const TRect& R, bool calc, bool measuring, TLinePass& ln)
{
    // Outside a list the bullet takes the first level's place, never left of the line.
    const int level = std::max(F.ListLevel, 1);
    if (measuring && FBulletPlaced) {
        FLineFull = true;
        return;
    }
    FBulletPlaced = true;
    ln.W = Add(ln.W, kBulletStep * level);
    FX = Add(FX, kBulletStep * (level - 1));
    if (!calc)
        DrawBullet(FX, R.Top, level % 2 == 1);
    FX = Add(FX, kBulletStep);
}

void THtmlEngine::DrawBullet(int x, int y, bool odd)
{
    TFont* font = C->Font();
    if (!odd) {
        TRect r{x, y, Add(x, kBulletStep), Add(y, C->TextHeight("o"))};
        DrawText(C, "o", r, DT_NOCLIP);
        return;
    }
    // A round bullet in the text colour, the size of the symbol font's.
    const int h = C->TextHeight("o");
    const int d = std::max(3, h / 3);
    const int cx = x + C->TextWidth("o") / 2, cy = y + h / 2 + 1;
    TBrush brush;
    brush.Assign(C->Brush());
    const TColor pen = C->Pen()->Color();
    C->Brush()->SetColor(font->Color());
    C->Brush()->SetStyle(bsSolid);
    C->Pen()->SetColor(font->Color());
    C->Ellipse(cx - d / 2, cy - d / 2, cx - d / 2 + d, cy - d / 2 + d);
    C->Brush()->Assign(&brush);
    C->Pen()->SetColor(pen);
}

void THtmlEngine::Image(std::string_view attrs, const TRect& R, bool calc, bool measuring, TLinePass& ln)
{
    const auto side = [&attrs](std::string_view name) {
        return HasAttribute(attrs, name, true) ? std::clamp(TagIntValue(AttributeValue(attrs, name, true)), 0, kMaxSide)
                                               : 0;
    };
    const int width = side("width"), height = side("height");
    const AnsiString src = AttributeValue(attrs, "src");
    const std::string_view name(src);
    const bool draw = !calc;
    int iw = 0, ih = 0;
    const auto printed = [&](int w, int h) {
        return TRect{FX, R.Top, Add(FX, ScaleImageSide(w, O.ResFactor)), Add(R.Top, ScaleImageSide(h, O.ResFactor))};
    };
    if (StartsNoCase(name, "idx:")) {
        const int index = TagIntValue(name.substr(4));
        if (O.Images && index >= 0 && index < O.Images->Count()) {
            iw = O.Images->Width();
            ih = O.Images->Height();
            if (draw && !O.Printing) {
                O.Images->Draw(C, FX, R.Top, index);
            } else if (draw) {
                TBitmap bitmap;
                O.Images->GetBitmap(index, &bitmap);
                StretchBitmapToCanvas(C, printed(iw, ih), &bitmap);
            }
        }
    }
    if (StartsNoCase(name, "ssys:") || StartsNoCase(name, "lsys:")) {
        int size = 0;
        DrawShellIcon(C, FX, R.Top, size, O.ResFactor, O.Printing, draw, StartsNoCase(name, "lsys:"), name.substr(5));
        iw = ih = size;
    }
    if (StartsNoCase(name, "res://")) {
        const AnsiString resource(name.substr(6));
        if (FindResource(rtBitmap, resource)) {
            TBitmap bitmap;
            try {
                LoadBitmapResource(&bitmap, resource);
            } catch (const Exception&) {}
            iw = bitmap.Width();
            ih = bitmap.Height();
            if (draw && !O.Printing)
                C->Draw(FX, R.Top, &bitmap);
            else if (draw)
                StretchBitmapToCanvas(C, printed(iw, ih), &bitmap);
        }
    }
    if (StartsNoCase(name, "file://")) {
        if (const auto bitmap = HtmlFileBitmap(name.substr(7))) {
            const bool sized = width >= 1 && height >= 1;
            iw = sized ? width : bitmap->Width();
            ih = sized ? height : bitmap->Height();
            if (draw && !O.Printing) {
                if (width < 1 || height < 1)
                    C->Draw(FX, R.Top, bitmap.get());
                else
                    C->StretchDraw(TRect{FX, R.Top, Add(FX, width), Add(R.Top, height)}, bitmap.get());
            } else if (draw) {
                StretchBitmapToCanvas(C, printed(iw, ih), bitmap.get());
            }
        }
    }
    const int at = O.X - R.Left;
    if (at > ln.W && at < Add(ln.W, iw) && R.Top < O.Y && O.Y < R.Bottom && F.InLink) {
        ln.Hit = true;
        Res.AnchorValue = F.Href;
    }
    if (O.Printing) {
        iw = ScaleImageSide(iw, O.ResFactor);
        ih = ScaleImageSide(ih, O.ResFactor);
    }
    if (measuring && Add(ln.W, iw) > R.Width() && iw < R.Width()) {
        FLineFull = true;  // the image starts the next line
        return;
    }
    ln.W = Add(ln.W, iw);
    FX = Add(FX, iw);
    ln.H = std::max(ln.H, ih);
    const int align = PosNoCase("align", attrs);
    if (align > 0) {
        const std::string_view rest = attrs.substr(static_cast<size_t>(align - 1));
        if (PosNoCase("\"top", rest))
            ln.ImageOffset = ln.H - GhHeight();
        else if (PosNoCase("\"middle", rest))
            ln.ImageOffset = (ln.H - GhHeight()) / 2;
    }
}

}  // namespace

THtmlRenderResult RenderHtml(TCanvas* Canvas, std::string_view Text, const TRect& Rect,
                             const THtmlRenderOptions& Options)
{
    THtmlRenderResult result;
    if (Canvas) {
        THtmlEngine engine(Canvas, Rect, Options, result);
        engine.Run(Text);
    }
    return result;
}

bool RenderHtmlText(TCanvas* Canvas, std::string_view Text, const TRect& Rect, TImageList* Images, int X, int Y,
                    int FocusLink, int HoverLink, int ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool Printing,
                    bool Selected, bool BlinkOn, bool HoverOnlyHovered, double ResFactor, TColor LinkColor,
                    TColor HoverColor, TColor HoverFontColor, TColor ShadowColor, AnsiString& AnchorValue,
                    AnsiString& PlainText, AnsiString& FocusAnchor, int& Width, int& Height, int& LinkCount,
                    int& MouseLink, TRect& HoverRect)
{
    THtmlRenderOptions o;
    o.Images = Images;
    o.X = X;
    o.Y = Y;
    o.FocusLink = FocusLink;
    o.HoverLink = HoverLink;
    o.ShadowOffset = ShadowOffset;
    o.HitTestOnly = HitTestOnly;
    o.MeasureOnly = MeasureOnly;
    o.Printing = Printing;
    o.Selected = Selected;
    o.BlinkOn = BlinkOn;
    o.HoverOnlyHovered = HoverOnlyHovered;
    o.ResFactor = ResFactor;
    o.LinkColor = LinkColor;
    o.HoverColor = HoverColor;
    o.HoverFontColor = HoverFontColor;
    o.ShadowColor = ShadowColor;
    THtmlRenderResult r = RenderHtml(Canvas, Text, Rect, o);
    AnchorValue = r.AnchorValue;
    PlainText = r.PlainText;
    FocusAnchor = r.FocusAnchor;
    Width = r.Width;
    Height = r.Height;
    LinkCount = r.LinkCount;
    MouseLink = r.MouseLink;
    HoverRect = r.HoverRect;
    return r.Hit;
}

bool PaintHtmlText(TCanvas* Canvas, std::string_view Text, const TRect& Rect, TImageList* Images, int X, int Y,
                   bool HitTestOnly, bool MeasureOnly, bool Printing, bool Selected, bool BlinkOn, double ResFactor,
                   TColor LinkColor, AnsiString& AnchorValue, AnsiString& PlainText, int& Width, int& Height)
{
    AnsiString focusAnchor;
    int linkCount = 0, mouseLink = -1;
    TRect hoverRect{};
    return RenderHtmlText(Canvas, Text, Rect, Images, X, Y, -1, -1, 1, HitTestOnly, MeasureOnly, Printing, Selected,
                          BlinkOn, false, ResFactor, LinkColor, clNone, clNone, clGray, AnchorValue, PlainText,
                          focusAnchor, Width, Height, linkCount, mouseLink, hoverRect);
}

void SelectRotatedFont(TCanvas* Canvas, int Angle, int& SavedOrientation)
{
    SavedOrientation = Canvas->Font()->Orientation();
    Canvas->Font()->SetOrientation(Angle % 360 * 10);
}

void RestoreRotatedFont(TCanvas* Canvas, int SavedOrientation) { Canvas->Font()->SetOrientation(SavedOrientation); }
