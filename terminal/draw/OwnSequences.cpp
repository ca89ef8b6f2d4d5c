#include "terminal/draw/OwnSequences.h"

#include <algorithm>
#include <vector>

// The parameters of the sequence just ended: the finished ones, then the one being typed.
struct TOwnSequences::TArgs {
    std::vector<TParam> All;
    int Finished = 0;
    explicit TArgs(const TTerminalCore& t) : Finished(t.ParamCount())
    {
        for (int i = 0; i < Finished; ++i)
            All.push_back(t.Param(i));
        All.push_back(t.CurParam());
    }
    const TParam& At(int i) const
    {
        static const TParam none;
        return i >= 0 && i < static_cast<int>(All.size()) ? All[static_cast<size_t>(i)] : none;
    }
    // An empty parameter reads as 0.
    int Value(int i) const { return At(i).Empty ? 0 : At(i).Value; }
    // A palette colour by number; empty or out of range gives black.
    TColor Color(int i) const { return At(i).Empty ? clBlack : PcColor(At(i).Value); }
};

TOwnSequences::TOwnSequences(TTerminalCore& core, TScreenPainter& painter) : FCore(core), FPainter(painter)
{
    FSink = [this](int col, int y, const uint8_t* row, int bytes) { BlitRow(col, y, row, bytes); };
    FCore.SetExtension(this);
}

TOwnSequences::~TOwnSequences() { FCore.SetExtension(nullptr); }

bool TOwnSequences::DataByte(TTerminalCore&, unsigned char ch) { return FPicture.Data(ch, FSink); }

void TOwnSequences::BlitRow(int col, int y, const uint8_t* row, int bytes)
{
    TFrameBuffer* fb = FPainter.DrawTarget();
    if (!fb)
        return;
    // 0 bits are ink in the text colour, 1 bits the background.
    const uint8_t fg = ColorToNibble(FCore.FontColor()), bg = ColorToNibble(FCore.BackColor());
    const int64_t x = int64_t(col) * FPainter.CellWidth();
    if (x >= fb->Width())
        return;
    fb->BlitBits(static_cast<int>(x), y, row, bytes * 8, 1, bytes, bg, fg);
}

int TOwnSequences::CentreX(int col) const
{
    const int cw = FPainter.CellWidth();
    return static_cast<int>(std::clamp<int64_t>(int64_t(col) * cw + cw / 2, -(1 << 28), 1 << 28));
}

int TOwnSequences::CentreY(int row) const
{
    const int ch = FPainter.CellHeight();
    return static_cast<int>(std::clamp<int64_t>(int64_t(row) * ch + ch / 2, -(1 << 28), 1 << 28));
}

void TOwnSequences::Sequence(TTerminalCore& t, unsigned char final)
{
    const TArgs a(t);
    const TSubAnsiMode sub = t.SubMode();
    switch (final) {
    case '%':
        if (a.Finished == 2 && !t.CurParam().Empty)
            FPicture.Header(a.Value(0), a.Value(1), a.Value(2));
        break;
    case ',':
        if (sub == saStar)
            FPicture.StartRow();
        break;
    case 'd':
        FDrawX = kHomeX;
        FDrawY = kHomeY;
        FPicture.Reset();
        break;
    case 'g':
        if (a.Finished >= 1) {
            FDrawX = a.Value(0);
            FDrawY = a.Value(1);
        }
        break;
    case 'p':
        if (a.Finished >= 1)
            Pixel(a, sub);
        break;
    case 'i':
        if (a.Finished >= 1)
            LineTo(a, sub);
        break;
    case 'b':
        if (a.Finished >= 1)
            Shape(a, sub, false);
        break;
    case 'c':
        if (a.Finished >= 1)
            Shape(a, sub, true);
        break;
    case 'O': CellLine(a); break;
    case 'F':
        if (sub == saEqual) {
            TColor fg = a.Color(a.Finished);
            if (t.Bright())
                fg = ChangeImportant(fg);
            t.SetCurrentColors(fg, t.BackColor());
        }
        break;
    case 'G':
        if (sub == saEqual)
            t.SetCurrentColors(t.FontColor(), a.Color(a.Finished));
        else
            CellBox(a);
        break;
    default: break;
    }
}

void TOwnSequences::Pixel(const TArgs& a, TSubAnsiMode sub)
{
    const int x = a.Value(0), y = a.Value(1);
    TFrameBuffer* fb = FPainter.DrawTarget();
    if (fb) {
        if (a.Finished >= 2)
            fb->SetPixel(x, y, ColorToNibble(a.Color(2)));
        else if (sub == saNone)
            fb->SetPixel(x, y, ColorToNibble(FCore.FontColor()));
        else if (sub == saRArrow)
            fb->SetPixel(x, y, ColorToNibble(FCore.BackColor()));
    }
    FDrawX = x;
    FDrawY = y;
}

void TOwnSequences::LineTo(const TArgs& a, TSubAnsiMode sub)
{
    const int x = a.Value(0), y = a.Value(1);
    if (a.Finished >= 2)
        FPenColor = a.Color(2);
    else if (sub == saNone)
        FPenColor = FCore.FontColor();
    else if (sub == saRArrow)
        FPenColor = FCore.BackColor();
    if (TFrameBuffer* fb = FPainter.DrawTarget())
        fb->Line(FDrawX, FDrawY, x, y, ColorToNibble(FPenColor));
    FDrawX = x;
    FDrawY = y;
}

void TOwnSequences::Shape(const TArgs& a, TSubAnsiMode sub, bool ellipse)
{
    const int64_t rx = a.Value(0), ry = a.Value(1);
    int fill = -1;
    if (a.Finished >= 2) {
        FPenColor = a.Color(2);
        if (sub == saEqual || sub == saQuery)
            fill = ColorToNibble(FPenColor);
    } else if (sub == saEqual) {
        FPenColor = FCore.FontColor();
        fill = ColorToNibble(FPenColor);
    } else if (sub == saRArrow) {
        FPenColor = FCore.BackColor();
    } else if (sub == saQuery) {
        FPenColor = FCore.BackColor();
        fill = ColorToNibble(FPenColor);
    } else {
        FPenColor = FCore.FontColor();
    }
    TFrameBuffer* fb = FPainter.DrawTarget();
    if (!fb)
        return;
    // The right and bottom edges are exclusive, as the platform's rectangle draws them.
    auto clampCoord = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -(1 << 30), 1 << 30)); };
    const TRectI box{clampCoord(FDrawX - rx), clampCoord(FDrawY - ry), clampCoord(FDrawX + rx + 1),
                     clampCoord(FDrawY + ry + 1)};
    const uint8_t pen = ColorToNibble(FPenColor);
    if (ellipse) {
        fb->Ellipse(box, pen, fill);
        return;
    }
    if (fill >= 0)
        fb->FillRect({box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1}, static_cast<uint8_t>(fill));
    fb->FrameRect(box, pen);
}

void TOwnSequences::CellLine(const TArgs& a)
{
    const int col = FCore.CurX(), row = FCore.CurY() - FCore.MaxLinePos();
    int toCol = col, toRow = row;
    if (a.Finished == 0) {
        toCol = col + a.Value(0);
    } else if (a.Value(0) == 0) {
        toCol = col + a.Value(1) - 1;
    } else if (a.Value(0) == 1) {
        toRow = row + a.Value(1) - 1;
    } else {
        return;
    }
    FPenColor = FCore.FontColor();
    if (TFrameBuffer* fb = FPainter.DrawTarget())
        fb->Line(CentreX(col), CentreY(row), CentreX(toCol), CentreY(toRow), ColorToNibble(FPenColor));
}

void TOwnSequences::CellBox(const TArgs& a)
{
    const bool heightGiven = a.Finished >= 2 || (a.Finished == 1 && !a.At(1).Empty);
    if (a.Finished < 1 || a.Value(0) <= 0 || !heightGiven)
        return;
    const int col = FCore.CurX(), row = FCore.CurY() - FCore.MaxLinePos();
    const int right = col + a.Value(0) - 1, bottom = row + a.Value(1) - 1;
    FPenColor = FCore.FontColor();
    TFrameBuffer* fb = FPainter.DrawTarget();
    if (!fb)
        return;
    const uint8_t pen = ColorToNibble(FPenColor);
    const int x0 = CentreX(col), y0 = CentreY(row), x1 = CentreX(right), y1 = CentreY(bottom);
    fb->Line(x0, y0, x1, y0, pen);
    fb->Line(x1, y0, x1, y1, pen);
    fb->Line(x1, y1, x0, y1, pen);
    fb->Line(x0, y1, x0, y0, pen);
}
