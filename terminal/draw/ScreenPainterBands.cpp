// The screen image's kept drawing calls: one list per screen row, moved with the row when the
// screen scrolls and dropped when the row is filled whole, played into the image on Flush.

#include <algorithm>
#include <cstring>

#include "terminal/draw/ScreenPainter.h"

namespace {
// Past this much kept text the calls are played at once, so memory stays small however long
// nobody looks.
constexpr size_t kMaxKeptBytes = 1u << 20;
}  // namespace

void TScreenPainter::BeginPending() const
{
    if (FPending)
        return;
    FPending = true;
    FKeptBytes = 0;
    const int bands = FCore.Rows() + 1;
    FBands.resize(static_cast<size_t>(bands));
    FOrder.resize(static_cast<size_t>(bands));
    for (int b = 0; b < bands; ++b) {
        FOrder[static_cast<size_t>(b)] = b;
        TBand& band = FBands[static_cast<size_t>(b)];
        band.Source = b;
        band.Ops.clear();
        band.Text.clear();
    }
}

TScreenPainter::TBand* TScreenPainter::Band(int row) const
{
    BeginPending();
    if (row < 0 || row >= static_cast<int>(FBands.size()) - 1)
        return nullptr;
    return &At(row);
}

void TScreenPainter::FillBand(int b, uint8_t bg) const
{
    TBand& band = At(b);
    band.Source = -1;
    band.Ops.clear();
    band.Text.clear();
    band.Ops.push_back({TBandOp::kFill, 0, bg, false, 0, -1, 0});
}

void TScreenPainter::Kept(size_t bytes) const
{
    FKeptBytes += bytes + sizeof(TBandOp);
    if (FKeptBytes > kMaxKeptBytes)
        Flush();
}

void TScreenPainter::DirectFillCells(int col, int row, int count, uint8_t bg) const
{
    const int right = count < 0 ? FScreen.Width() : (col + count) * FCellWidth;
    FScreen.FillRect({col * FCellWidth, row * FCellHeight, right, (row + 1) * FCellHeight}, bg);
}

void TScreenPainter::DirectShiftCells(int row, int col, int n, uint8_t bg) const
{
    const int cw = FCellWidth, y0 = row * FCellHeight, y1 = y0 + FCellHeight;
    const int w = FScreen.Width(), x = col * cw;
    if (n > 0) {
        const int64_t shift = int64_t(n) * cw;
        if (x + shift < w)
            FScreen.CopyRect(static_cast<int>(x + shift), y0, {x, y0, static_cast<int>(w - shift), y1});
        FScreen.FillRect({x, y0, static_cast<int>(std::min<int64_t>(x + shift, w)), y1}, bg);
    } else {
        const int64_t shift = -int64_t(n) * cw;
        if (x + shift < w)
            FScreen.CopyRect(x, y0, {static_cast<int>(x + shift), y0, w, y1});
        FScreen.FillRect({static_cast<int>(std::max<int64_t>(x, w - shift)), y0, w, y1}, bg);
    }
}

// Puts the image's rows where the kept scrolls moved them: one rotation when they all moved by
// the same amount (the usual line feeds), else a copy of each moved row.
void TScreenPainter::MoveBands() const
{
    const int rows = static_cast<int>(FBands.size()) - 1;
    const int h = FCellHeight, w = FScreen.Width();
    int shift = 0;
    bool moved = false, oneRotation = true;
    for (int d = 0; d < rows; ++d) {
        const int s = At(d).Source;
        if (s < 0 || s == d) {
            if (s == d && moved && shift != 0)
                oneRotation = false;
            continue;
        }
        const int k = ((s - d) % rows + rows) % rows;
        if (moved && k != shift)
            oneRotation = false;
        shift = k;
        moved = true;
    }
    if (!moved)
        return;
    if (oneRotation) {
        for (int d = 0; d < rows; ++d) {
            const int s = At(d).Source;
            if (s >= 0 && s != (d + shift) % rows)
                oneRotation = false;
        }
    }
    if (oneRotation) {
        FScreen.RotateRows({0, 0, w, rows * h}, shift * h);
        return;
    }
    // Each source row is wanted at most once: copy them out, then into their new places.
    const size_t rowBytes = static_cast<size_t>(w), bandBytes = rowBytes * static_cast<size_t>(h);
    FScratch.resize(bandBytes * static_cast<size_t>(rows));
    auto scratch = [&](int band, int y) {
        return &FScratch[static_cast<size_t>(band) * bandBytes + static_cast<size_t>(y) * rowBytes];
    };
    for (int d = 0; d < rows; ++d) {
        const int s = At(d).Source;
        if (s < 0 || s == d)
            continue;
        for (int y = 0; y < h; ++y)
            if (const uint8_t* src = FScreen.Row(s * h + y))
                std::memcpy(scratch(d, y), src, rowBytes);
    }
    for (int d = 0; d < rows; ++d) {
        const int s = At(d).Source;
        if (s < 0 || s == d || !FScreen.Row(s * h))
            continue;
        for (int y = 0; y < h; ++y)
            if (uint8_t* dst = FScreen.MutableRow(d * h + y))
                std::memcpy(dst, scratch(d, y), rowBytes);
    }
}

void TScreenPainter::PlayBand(int b) const
{
    const TBand& band = At(b);
    if (band.Ops.empty())
        return;
    const int rows = static_cast<int>(FBands.size()) - 1;
    const int h = FCellHeight, w = FScreen.Width();
    const TRectI area = b < rows ? TRectI{0, b * h, w, (b + 1) * h} : TRectI{0, rows * h, w, FScreen.Height()};
    if (area.Bottom <= area.Top)
        return;
    // A call draws within its row, as the cell it draws in.
    FScreen.SetClip(area);
    for (const TBandOp& op : band.Ops) {
        switch (op.Kind) {
        case TBandOp::kText:
            DrawText(op.A * FCellWidth, b * h,
                     std::string_view(band.Text).substr(op.TextOffset, static_cast<size_t>(op.B)), op.Fg, op.Bg,
                     op.Underline);
            break;
        case TBandOp::kFill:
            if (op.A <= 0 && op.B < 0)
                FScreen.FillRect(area, op.Bg);
            else
                DirectFillCells(op.A, b, op.B, op.Bg);
            break;
        case TBandOp::kShift: DirectShiftCells(b, op.A, op.B, op.Bg); break;
        }
    }
    FScreen.ClearClip();
}

void TScreenPainter::Flush() const
{
    if (!FPending)
        return;
    FPending = false;
    MoveBands();
    for (int b = 0; b < static_cast<int>(FBands.size()); ++b)
        PlayBand(b);
}
