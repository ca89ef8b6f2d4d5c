#include "platform/gui/Graphics.h"

#include <algorithm>

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include "platform/core/Cp949.h"
#include "platform/core/Exceptions.h"
#include "platform/gui/FontAlias.h"

namespace {

// Most texts a control shows are plain ASCII, which both code pages share.
bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

QString AnsiToQString(std::string_view text)
{
    if (IsAscii(text))
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    return QString::fromStdU16String(Cp949ToUtf16(text));
}

AnsiString QStringToAnsi(const QString& text)
{
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1().toStdString();
    return Utf16ToCp949(text.toStdU16String());
}

namespace {

// a * b / c rounded half away from zero, as Win32 MulDiv, cut to a font height.
int MulDiv(int a, int b, int c)
{
    const int64_t p = int64_t(a) * b;
    return static_cast<int>(std::clamp<int64_t>((p >= 0 ? p + c / 2 : p - c / 2) / c, -kMaxFontHeight, kMaxFontHeight));
}

}  // namespace

void TFont::SetName(const AnsiString& v)
{
    if (v.empty() || v == FName)
        return;  // the framework ignores an empty name
    FName = v;
    Changed();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, ScreenPixelsPerInch); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenPixelsPerInch, 72)); }

void TFont::SetHeight(int pixels)
{
    pixels = std::clamp(pixels, -kMaxFontHeight, kMaxFontHeight);
    if (pixels == FHeight)
        return;
    FHeight = pixels;
    Changed();
}

void TFont::SetColor(TColor v)
{
    if (v == FColor)
        return;
    FColor = v;
    Changed();
}

void TFont::SetStyle(TFontStyles v)
{
    if (v == FStyle)
        return;
    FStyle = v;
    Changed();
}

void TFont::SetCharset(TFontCharset v)
{
    if (v == FCharset)
        return;
    FCharset = v;
    Changed();
}

void TFont::SetPitch(TFontPitch v)
{
    if (v == FPitch)
        return;
    FPitch = v;
    Changed();
}

void TFont::SetOrientation(int tenths)
{
    if (tenths == FOrientation)
        return;
    FOrientation = tenths;
    Changed();
}

bool TFont::SameAs(const TFont& o) const
{
    return FName == o.FName && FHeight == o.FHeight && FColor == o.FColor && FStyle == o.FStyle &&
        FCharset == o.FCharset && FPitch == o.FPitch && FOrientation == o.FOrientation;
}

void TFont::Assign(TPersistent* source)
{
    auto* f = dynamic_cast<TFont*>(source);
    if (!f) {
        TPersistent::Assign(source);
        return;
    }
    if (SameAs(*f))
        return;
    FName = f->FName;
    FHeight = f->FHeight;
    FColor = f->FColor;
    FStyle = f->FStyle;
    FCharset = f->FCharset;
    FPitch = f->FPitch;
    FOrientation = f->FOrientation;
    Changed();
}

QFont TFont::ToQFont() const
{
    QFont f(QString::fromStdString(ResolveFontFamily(FName)));
    // Windows draws screen fonts without smoothing; so do we, and pixel tests stay exact.
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setBold(FStyle.Contains(fsBold));
    f.setItalic(FStyle.Contains(fsItalic));
    f.setUnderline(FStyle.Contains(fsUnderline));
    f.setStrikeOut(FStyle.Contains(fsStrikeOut));
    if (FPitch == fpFixed || (FPitch == fpDefault && FontAliasIsFixedPitch(FName)))
        f.setFixedPitch(true);
    int px = FHeight < 0 ? -FHeight : FHeight;
    if (px == 0)
        px = 13;  // height 0: the face's default size
    f.setPixelSize(px);
    if (FHeight > 0) {
        // A positive height is the whole cell: scale the em so ascent + descent fit it.
        const QFontMetrics m(f);
        const int cell = m.ascent() + m.descent();
        if (cell > 0 && cell != px)
            f.setPixelSize(static_cast<int>(std::clamp<int64_t>(int64_t{px} * px / cell, 1, kMaxFontHeight)));
    }
    return f;
}

void TBrush::SetColor(TColor v)
{
    if (v == FColor && FStyle != bsClear)
        return;
    FColor = v;
    if (FStyle == bsClear)
        FStyle = bsSolid;  // giving a clear brush a colour makes it solid
    Changed();
}

void TBrush::SetStyle(TBrushStyle v)
{
    if (v == FStyle)
        return;
    FStyle = v;
    Changed();
}

void TBrush::SetBitmap(TBitmap* v)
{
    if (v == FBitmap)
        return;
    FBitmap = v;
    Changed();
}

void TBrush::Assign(TPersistent* source)
{
    auto* b = dynamic_cast<TBrush*>(source);
    if (!b) {
        TPersistent::Assign(source);
        return;
    }
    FColor = b->FColor;
    FStyle = b->FStyle;
    FBitmap = b->FBitmap;
    Changed();
}

void TPen::SetColor(TColor v)
{
    if (v == FColor)
        return;
    FColor = v;
    Changed();
}

void TPen::SetWidth(int v)
{
    if (v < 0)
        v = 0;
    if (v == FWidth)
        return;
    FWidth = v;
    Changed();
}

void TPen::SetStyle(TPenStyle v)
{
    if (v == FStyle)
        return;
    FStyle = v;
    Changed();
}

void TPen::SetMode(TPenMode v)
{
    if (v == FMode)
        return;
    FMode = v;
    Changed();
}

void TPen::Assign(TPersistent* source)
{
    auto* p = dynamic_cast<TPen*>(source);
    if (!p) {
        TPersistent::Assign(source);
        return;
    }
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    FMode = p->FMode;
    Changed();
}
