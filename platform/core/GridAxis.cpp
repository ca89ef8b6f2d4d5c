#include "platform/core/GridAxis.h"

#include <algorithm>

#include "platform/core/IndexSets.h"

void TGridAxis::SetCount(int count)
{
    count = std::max(count, 0);
    if (!FSizes.empty())
        FSizes.resize(static_cast<size_t>(count), FDefaultSize);
    FCount = count;
    FFixed = std::min(FFixed, std::max(count - 1, 0));
    ClampFirst();
}

void TGridAxis::SetFixed(int fixed)
{
    FFixed = std::clamp(fixed, 0, std::max(FCount - 1, 0));
    ClampFirst();
}

void TGridAxis::SetDefaultSize(int size)
{
    FDefaultSize = size;
    FSizes.clear();
}

int TGridAxis::Size(int index) const
{
    if (FSizes.empty() || index < 0 || index >= FCount)
        return FDefaultSize;
    return FSizes[static_cast<size_t>(index)];
}

void TGridAxis::SetSize(int index, int size)
{
    if (index < 0 || index >= FCount)
        return;
    if (FSizes.empty()) {
        if (size == FDefaultSize)
            return;
        FSizes.assign(static_cast<size_t>(FCount), FDefaultSize);
    }
    FSizes[static_cast<size_t>(index)] = size;
}

void TGridAxis::SetFirst(int first)
{
    FFirst = first;
    ClampFirst();
}

void TGridAxis::ClampFirst() { FFirst = std::clamp(FFirst, FFixed, std::max(FCount - 1, FFixed)); }

void TGridAxis::Insert(int at, int count)
{
    if (count <= 0)
        return;
    at = std::clamp(at, 0, FCount);
    if (!FSizes.empty())
        FSizes.insert(FSizes.begin() + at, static_cast<size_t>(count), FDefaultSize);
    FCount += count;
}

void TGridAxis::Delete(int at, int count)
{
    if (at < 0 || at >= FCount || count <= 0)
        return;
    count = std::min(count, FCount - at);
    if (!FSizes.empty())
        FSizes.erase(FSizes.begin() + at, FSizes.begin() + at + count);
    SetCount(FCount - count);
}

void TGridAxis::DeleteSet(const std::vector<int>& indexes)
{
    if (indexes.empty())
        return;
    if (!FSizes.empty())
        EraseIndexes(FSizes, indexes);
    SetCount(FCount - static_cast<int>(indexes.size()));
}

void TGridAxis::InsertSet(const std::vector<int>& positions)
{
    if (!FSizes.empty())
        InsertAtIndexes(FSizes, positions, [this] { return FDefaultSize; });
    FCount += static_cast<int>(positions.size());
}

void TGridAxis::Move(int from, int to)
{
    if (FSizes.empty() || from == to || from < 0 || to < 0 || from >= FCount || to >= FCount)
        return;
    const int size = FSizes[static_cast<size_t>(from)];
    FSizes.erase(FSizes.begin() + from);
    FSizes.insert(FSizes.begin() + to, size);
}

void TGridAxis::Exchange(int a, int b)
{
    if (FSizes.empty() || a < 0 || b < 0 || a >= FCount || b >= FCount)
        return;
    std::swap(FSizes[static_cast<size_t>(a)], FSizes[static_cast<size_t>(b)]);
}

// Sizes and line widths may be anything up to INT_MAX: sums are taken in 64 bits and what is
// handed back is clamped into int.
int64_t TGridAxis::Step(int index, int line) const { return int64_t{Size(index)} + line; }

int64_t TGridAxis::FixedExtent64(int line) const
{
    int64_t extent = 0;
    for (int i = 0; i < FFixed && i < FCount; ++i)
        extent += Step(i, line);
    return extent;
}

int TGridAxis::FixedExtent(int line) const { return ClampToInt(FixedExtent64(line)); }

int TGridAxis::VisibleCount(int client, int line) const
{
    int64_t pos = FixedExtent64(line);
    int count = 0;
    for (int i = FFirst; i < FCount; ++i) {
        pos += Step(i, line);
        if (pos > client && count > 0)
            break;
        ++count;
        if (pos >= client)
            break;
    }
    return count;
}

int TGridAxis::MaxFirst(int client, int line) const
{
    const int64_t room = client - FixedExtent64(line);
    int64_t used = 0;
    int first = FCount;
    while (first > FFixed) {
        const int64_t next = used + Step(first - 1, line);
        if (next > room && first < FCount)
            break;
        used = next;
        --first;
    }
    return std::max(std::min(first, FCount - 1), FFixed);
}

int TGridAxis::Position(int index, int line, int client) const
{
    if (index < 0 || index >= FCount || (index >= FFixed && index < FFirst))
        return -1;
    int64_t pos = 0;
    const int from = index < FFixed ? 0 : FFirst;
    if (index >= FFixed)
        pos = FixedExtent64(line);
    for (int i = from; i < index; ++i) {
        if (pos >= client)
            return -1;
        pos += Step(i, line);
    }
    return pos < client ? static_cast<int>(pos) : -1;
}

int TGridAxis::IndexAt(int pos, int line) const
{
    if (pos < 0)
        return -1;
    int64_t edge = 0;
    for (int i = 0; i < FFixed && i < FCount; ++i) {
        edge += Step(i, line);
        if (pos < edge)
            return i;
    }
    for (int i = FFirst; i < FCount; ++i) {
        edge += Step(i, line);
        if (pos < edge)
            return i;
    }
    return -1;
}

bool TGridAxis::CheckConsistency() const
{
    if (FCount < 0 || FFixed < 0 || (FCount > 0 && FFixed >= FCount) || (FCount == 0 && FFixed != 0))
        return false;
    if (!FSizes.empty() && static_cast<int>(FSizes.size()) != FCount)
        return false;
    return FFirst >= FFixed && (FFirst < FCount || FFirst == FFixed);
}
