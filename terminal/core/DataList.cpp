#include "terminal/core/DataList.h"

#include <malloc.h>

#include <algorithm>
#include <utility>

#include "platform/core/Exceptions.h"

TDataList::TDataList() : FLines(kCount) {}

void TDataList::CheckIndex(int y)
{
    if (y < 0 || y >= kCount)
        throw EListError(Format("List index out of bounds (%d)", y));
}

const TDataLine& TDataList::Line(int y) const
{
    CheckIndex(y);
    return Slot(y);
}

TDataLine& TDataList::Edit(int y)
{
    CheckIndex(y);
    FUsed = std::max(FUsed, y + 1);
    return Slot(y);
}

void TDataList::ClearLine(int y)
{
    CheckIndex(y);
    TDataLine& l = Slot(y);
    AnsiString().swap(l.Text);
    l.Runs.Clear();
}

void TDataList::Compact(int y)
{
    CheckIndex(y);
    TDataLine& l = Slot(y);
    // A line the cursor left is seldom written again: the scroll-back keeps it in no more memory
    // than it needs (a copy of a line's bytes, against a line's worth of decoding).
    if (l.Text.capacity() > l.Text.size())
        l.Text.shrink_to_fit();
    l.Runs.ShrinkToFit();
}

// Rotates lines top..bottom by n (n > 0: up) without touching their contents.
void TDataList::Rotate(int top, int bottom, int n)
{
    const int len = bottom - top + 1;
    n %= len;
    if (n < 0)
        n += len;
    if (n == 0)
        return;
    // Three reversals rotate in place with swaps of the line handles only.
    auto rev = [this](int a, int b) {
        while (a < b)
            std::swap(Slot(a++), Slot(b--));
    };
    rev(top, top + n - 1);
    rev(top + n, bottom);
    rev(top, bottom);
}

void TDataList::ScrollRange(int top, int bottom, int n)
{
    top = std::max(top, 0);
    bottom = std::min(bottom, kCount - 1);
    if (top > bottom || n == 0)
        return;
    const int len = bottom - top + 1;
    const long long mag = n > 0 ? static_cast<long long>(n) : -static_cast<long long>(n);
    const int k = static_cast<int>(std::min<long long>(mag, len));
    if (top == 0 && bottom == kCount - 1 && n > 0) {
        // The whole buffer scrolls: the oldest lines become the blank ones at the end. Their
        // memory is kept, as the new last line is about to be written.
        for (int i = 0; i < k; ++i) {
            Slot(i).Text.clear();
            Slot(i).Runs.Reset();
        }
        FHead = (FHead + k) % kCount;
        FUsed = std::max(0, FUsed - k);
        return;
    }
    // Blank lines past Used() stay blank wherever they move; skip them.
    if (top >= FUsed)
        return;
    if (n > 0) {
        const int hi = std::min(bottom, FUsed - 1);
        if (k > hi - top) {
            for (int i = top; i <= hi; ++i)
                ClearLine(i);
        } else {
            for (int i = top; i < top + k; ++i)
                ClearLine(i);
            Rotate(top, hi, k);
        }
        if (hi < bottom)
            FUsed = std::max(top, hi + 1 - k);
    } else {
        const int hi = std::min(bottom, FUsed - 1 + k);
        if (k > hi - top) {
            for (int i = top; i <= hi; ++i)
                ClearLine(i);
        } else {
            for (int i = hi - k + 1; i <= hi; ++i)
                ClearLine(i);
            Rotate(top, hi, -k);
        }
        FUsed = std::max(FUsed, hi + 1);
    }
}

void TDataList::UpScroll(int y, int n)
{
    if (n <= 0 || y < 0 || y >= kCount)
        return;
    ScrollRange(y, kCount - 1, n);
}

void TDataList::DownScroll(int y, int n)
{
    if (n <= 0 || y < 0 || y >= kCount)
        return;
    ScrollRange(y, kCount - 1, -n);
}

void TDataList::MoveLine(int from, int to)
{
    CheckIndex(from);
    CheckIndex(to);
    if (from == to)
        return;
    if (from < to)
        Rotate(from, to, 1);
    else
        Rotate(to, from, -1);
    FUsed = std::max(FUsed, std::max(from, to) + 1);
}

void TDataList::InsertString(std::string_view s, int x, int y)
{
    if (x < 0)
        x = 0;
    AnsiString& t = Edit(y).Text;
    if (t.size() < static_cast<size_t>(x))
        t.append(static_cast<size_t>(x) - t.size(), ' ');
    const size_t over = std::min(s.size(), t.size() - static_cast<size_t>(x));
    t.replace(static_cast<size_t>(x), over, s);
}

AnsiString TDataList::RunText(int y, const TConfig& run) const
{
    const AnsiString& t = Strings(y);
    AnsiString out(static_cast<size_t>(std::max(run.Length, 0)), ' ');
    for (int i = 0; i < run.Length; ++i) {
        size_t c = static_cast<size_t>(run.Start + i);
        if (c < t.size())
            out[static_cast<size_t>(i)] = t[c];
    }
    return out;
}

namespace {

// A heap block as the allocator holds it: what it gives out and its header.
size_t HeapBlock(const void* p) { return p ? malloc_usable_size(const_cast<void*>(p)) + sizeof(size_t) : 0; }

}  // namespace

size_t TDataList::MemoryBytes() const
{
    size_t bytes = HeapBlock(FLines.data());
    for (const TDataLine& l : FLines) {
        const char* text = l.Text.data();
        const auto* self = reinterpret_cast<const char*>(&l.Text);
        if (text < self || text >= self + sizeof(l.Text))  // not the string's own short buffer
            bytes += HeapBlock(text);
        bytes += HeapBlock(l.Runs.Data());
    }
    return bytes;
}
