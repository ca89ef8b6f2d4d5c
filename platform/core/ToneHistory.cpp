#include "platform/core/ToneHistory.h"

#include <algorithm>

void TToneHistory::Reset(size_t keepBytes)
{
    FKeep = keepBytes;
    FWritten = 0;
    FPlayed = 0;
    FBytes.clear();
    FStretches.clear();
}

void TToneHistory::Add(const void* owner, bool startsTone, const char* data, size_t size)
{
    if (startsTone || FStretches.empty() || FStretches.back().Owner != owner || FStretches.back().Silent)
        FStretches.push_back({owner, FWritten, FWritten, false, false});
    FStretches.back().End += size;
    FWritten += size;
    // Only the last FKeep bytes can be silenced: older ones have been played or are about to be.
    const size_t kept = std::min(size, FKeep);
    if (FBytes.size() + kept > FKeep)
        FBytes.erase(FBytes.begin(), FBytes.begin() + static_cast<std::ptrdiff_t>(FBytes.size() + kept - FKeep));
    FBytes.insert(FBytes.end(), data + (size - kept), data + size);
    // A stretch is forgotten once nothing can be asked of it: older than the kept bytes, and heard
    // or silenced (the last is kept, for a tone that goes on).
    while (FStretches.size() > 1 && FStretches.front().End <= KeptFrom() &&
           (FStretches.front().Heard || FStretches.front().Silent))
        FStretches.pop_front();
}

size_t TToneHistory::Played(uint64_t position, uint64_t enoughBytes)
{
    FPlayed = std::max(FPlayed, std::min(position, FWritten));
    size_t heard = 0;
    for (TStretch& s : FStretches) {
        if (s.Start >= FPlayed)
            break;
        if (s.Heard || s.Silent || FPlayed - s.Start < std::min(enoughBytes, s.End - s.Start))
            continue;
        s.Heard = true;
        ++heard;
    }
    return heard;
}

size_t TToneHistory::Unheard() const
{
    return static_cast<size_t>(
        std::count_if(FStretches.begin(), FStretches.end(), [](const TStretch& s) { return !s.Silent && !s.Heard; }));
}

bool TToneHistory::OnlyOf(const void* owner) const
{
    bool some = false;
    for (const TStretch& s : FStretches) {
        if (s.Silent || s.End <= KeptFrom())
            continue;
        if (s.Owner != owner)
            return false;
        some = true;
    }
    return some;
}

std::vector<char> TToneHistory::Silence(const void* owner)
{
    const uint64_t keptFrom = KeptFrom();
    uint64_t from = FWritten;
    for (TStretch& s : FStretches) {
        if (s.Silent || s.Owner != owner)
            continue;
        s.Silent = true;  // rings no bell however little of it was heard
        if (s.End <= keptFrom)
            continue;
        const uint64_t start = std::max(s.Start, keptFrom);
        from = std::min(from, start);
        std::fill(FBytes.begin() + static_cast<std::ptrdiff_t>(start - keptFrom),
                  FBytes.begin() + static_cast<std::ptrdiff_t>(s.End - keptFrom), char{0});
    }
    return {FBytes.begin() + static_cast<std::ptrdiff_t>(from - keptFrom), FBytes.end()};
}
