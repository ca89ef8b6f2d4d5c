#include "terminal/core/ConfigList.h"

#include <algorithm>
#include <cstddef>

void TConfigList::Clear() { std::vector<TConfig>().swap(FRuns); }

void TConfigList::MergeAround(size_t i)
{
    if (i + 1 < FRuns.size() && FRuns[i].End() == FRuns[i + 1].Start && FRuns[i].SameLook(FRuns[i + 1])) {
        FRuns[i].Length += FRuns[i + 1].Length;
        FRuns.erase(FRuns.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    }
    if (i > 0 && FRuns[i - 1].End() == FRuns[i].Start && FRuns[i - 1].SameLook(FRuns[i])) {
        FRuns[i - 1].Length += FRuns[i].Length;
        FRuns.erase(FRuns.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void TConfigList::Add(int x, int len, TColor fg, TColor bg, uint8_t flag)
{
    if (len <= 0 || x < 0 || x >= TConfig::kCellLimit)
        return;
    len = std::min(len, TConfig::kCellLimit - x);
    const int end = x + len;
    TConfig run{fg, bg, x, len, static_cast<uint8_t>(flag ? 1 : 0)};
    // Fast path: text continuing the last run, the common case of a line being written.
    if (!FRuns.empty() && FRuns.back().End() <= x) {
        if (FRuns.back().End() == x && FRuns.back().SameLook(run))
            FRuns.back().Length += len;
        else
            FRuns.push_back(run);
        return;
    }
    std::vector<TConfig> out;
    out.reserve(FRuns.size() + 2);
    size_t at = 0;
    for (const TConfig& r : FRuns) {
        if (r.End() <= x || r.Start >= end) {
            out.push_back(r);
            if (r.End() <= x)
                at = out.size();
            continue;
        }
        if (r.Start < x) {  // the part left of the new run survives
            TConfig left = r;
            left.Length = x - r.Start;
            out.push_back(left);
            at = out.size();
        }
        if (r.End() > end) {  // and the part right of it
            TConfig right = r;
            right.Start = end;
            right.Length = r.End() - end;
            out.push_back(right);
        }
    }
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), run);
    FRuns.swap(out);
    MergeAround(at);
}

void TConfigList::InsertCells(int x, int n, TColor fg, TColor bg, uint8_t flag)
{
    if (n <= 0 || x < 0 || x >= TConfig::kCellLimit)
        return;
    n = std::min(n, TConfig::kCellLimit - x);
    for (size_t i = 0; i < FRuns.size(); ++i) {
        TConfig& r = FRuns[i];
        if (r.Start >= x) {
            r.Start = r.Start + n;
        } else if (r.End() > x) {
            // Split at x: the tail moves right and keeps its place in the painting order.
            TConfig tail = r;
            tail.Start = x + n;
            tail.Length = r.End() - x;
            r.Length = x - r.Start;
            FRuns.insert(FRuns.begin() + static_cast<std::ptrdiff_t>(i) + 1, tail);
            ++i;
        }
    }
    Truncate(TConfig::kCellLimit);
    Add(x, n, fg, bg, flag);
}

void TConfigList::DeleteCells(int x, int n)
{
    if (n <= 0 || x < 0)
        return;
    const int end = x + n;
    std::vector<TConfig> out;
    out.reserve(FRuns.size());
    for (TConfig r : FRuns) {
        if (r.End() <= x) {
            out.push_back(r);
            continue;
        }
        if (r.Start >= end) {
            r.Start -= n;
        } else {
            // The run loses the cells it had inside the deleted range.
            int lost = std::min(r.End(), end) - std::max(r.Start, x);
            r.Start = std::min(r.Start, x);
            r.Length -= lost;
            if (r.Length <= 0)
                continue;
        }
        out.push_back(r);
    }
    FRuns.swap(out);
    // Pieces that were kept apart by the deleted cells may now touch.
    for (size_t i = 0; i + 1 < FRuns.size();) {
        if (FRuns[i].End() == FRuns[i + 1].Start && FRuns[i].SameLook(FRuns[i + 1])) {
            FRuns[i].Length += FRuns[i + 1].Length;
            FRuns.erase(FRuns.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        } else {
            ++i;
        }
    }
}

void TConfigList::Truncate(int width)
{
    while (!FRuns.empty() && FRuns.back().Start >= width)
        FRuns.pop_back();
    if (!FRuns.empty() && FRuns.back().End() > width)
        FRuns.back().Length = width - FRuns.back().Start;
}

void TConfigList::ReplaceFontColor(TColor from, TColor to)
{
    for (TConfig& r : FRuns)
        if (r.FontColor == from)
            r.FontColor = to;
}

void TConfigList::ReplaceBackColor(TColor from, TColor to)
{
    for (TConfig& r : FRuns)
        if (r.BackColor == from)
            r.BackColor = to;
}

void TConfigList::SetAllColors(TColor fg, TColor bg)
{
    for (TConfig& r : FRuns) {
        r.FontColor = fg;
        r.BackColor = bg;
    }
}
