#include "grid/model/ColumnHiding.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

bool Hideable(int real) { return real >= 0 && real < TColumnHiding::kMaxHideable; }

}  // namespace

TColumnHiding::TColumnHiding()
{
    FVisible.fill(true);
    FSavedWidth.fill(0);
}

bool TColumnHiding::Visible(int Real) const { return !Hideable(Real) || FVisible[static_cast<size_t>(Real)]; }

void TColumnHiding::SetVisible(int Real, bool Flag)
{
    if (Hideable(Real))
        FVisible[static_cast<size_t>(Real)] = Flag;
}

void TColumnHiding::Hide(int Real, int Width)
{
    if (!Hideable(Real) || !Visible(Real))
        return;
    FVisible[static_cast<size_t>(Real)] = false;
    FSavedWidth[static_cast<size_t>(Real)] = Width;
    ++FHiddenCount;
}

int TColumnHiding::Unhide(int Real)
{
    if (Visible(Real))
        return 0;
    FVisible[static_cast<size_t>(Real)] = true;
    --FHiddenCount;
    return FSavedWidth[static_cast<size_t>(Real)];
}

int TColumnHiding::SavedWidth(int Real) const { return Hideable(Real) ? FSavedWidth[static_cast<size_t>(Real)] : 0; }

int TColumnHiding::RealCol(int Display) const
{
    if (Display < 0)
        return 0;
    int seen = 0;
    for (int c = 0; c < kMaxHideable; ++c) {
        if (!FVisible[static_cast<size_t>(c)])
            continue;
        if (seen == Display)
            return c;
        ++seen;
    }
    // Every hidden column lies below kMaxHideable, so past it each display column is offset by
    // all; a column past the last one int holds stays the last.
    return static_cast<int>(std::min<int64_t>(int64_t{Display} + FHiddenCount, INT_MAX));
}

int TColumnHiding::DisplCol(int Real) const
{
    if (Real < 1)
        return Real;
    const auto end = FVisible.begin() + std::min(Real, kMaxHideable);
    return Real - static_cast<int>(std::count(FVisible.begin(), end, false));
}

void TColumnHiding::Insert(int At, int Count)
{
    if (Count <= 0 || !Hideable(At))
        return;
    Count = std::min(Count, kMaxHideable);
    for (int c = kMaxHideable - 1; c >= At; --c) {
        const int from = c - Count;
        const bool inserted = from < At;
        FVisible[static_cast<size_t>(c)] = inserted || FVisible[static_cast<size_t>(from)];
        FSavedWidth[static_cast<size_t>(c)] = inserted ? 0 : FSavedWidth[static_cast<size_t>(from)];
    }
    FHiddenCount = static_cast<int>(std::count(FVisible.begin(), FVisible.end(), false));
}

void TColumnHiding::Remove(int At, int Count)
{
    if (Count <= 0 || !Hideable(At))
        return;
    Count = std::min(Count, kMaxHideable);
    for (int c = At; c < kMaxHideable; ++c) {
        const int from = c + Count;
        const bool beyond = from >= kMaxHideable;
        FVisible[static_cast<size_t>(c)] = beyond || FVisible[static_cast<size_t>(from)];
        FSavedWidth[static_cast<size_t>(c)] = beyond ? 0 : FSavedWidth[static_cast<size_t>(from)];
    }
    FHiddenCount = static_cast<int>(std::count(FVisible.begin(), FVisible.end(), false));
}

void TColumnHiding::Move(int From, int To)
{
    if (From == To)
        return;
    // Taken out where it was and put in, shown, where it goes.
    Remove(From, 1);
    Insert(To, 1);
}

bool TColumnHiding::CheckConsistency() const
{
    return FHiddenCount == static_cast<int>(std::count(FVisible.begin(), FVisible.end(), false));
}
