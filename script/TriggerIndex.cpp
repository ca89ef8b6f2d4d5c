#include "script/TriggerIndex.h"

#include <algorithm>
#include <cstring>

namespace {

uint32_t PairKey(std::string_view text, size_t at)
{
    return static_cast<uint32_t>(static_cast<unsigned char>(text[at])) << 8 | static_cast<unsigned char>(text[at + 1]);
}

// Whether two texts are equal; most patterns are short, so no library call.
bool SameText(const AnsiString& a, const AnsiString& b)
{
    const size_t n = a.size();
    if (n != b.size())
        return false;
    const char* x = a.data();
    const char* y = b.data();
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t u, v;
        std::memcpy(&u, x + i, 8);
        std::memcpy(&v, y + i, 8);
        if (u != v)
            return false;
    }
    for (; i < n; ++i)
        if (x[i] != y[i])
            return false;
    return true;
}

}  // namespace

void TTailTable::Clear()
{
    for (auto& v : One)
        v.clear();
    std::fill(Seen.begin(), Seen.end(), 0);
    Two.clear();
    Size = 0;
}

void TTailTable::Add(std::string_view literal, uint32_t position)
{
    ++Size;
    if (literal.size() < 2) {
        One[static_cast<unsigned char>(literal.back())].push_back(position);
        return;
    }
    const uint32_t k = PairKey(literal, literal.size() - 2);
    Seen[k >> 6] |= uint64_t{1} << (k & 63);
    Two[k].push_back(position);
}

bool TTriggerIndex::Describes(const TTriggerList& list, bool& anyFired) const
{
    if (static_cast<size_t>(list.Count()) != Slots.size())
        return false;
    size_t i = 0;
    for (const auto& t : list) {
        const TSlot& s = Slots[i++];
        if (t.get() != s.Rec || t->To.empty() != s.ToEmpty ||
            ((t->Status & cTriggers::CompleteOnly) != 0) != s.CompleteOnly || !SameText(t->From, s.From))
            return false;
        if (t->Status & cTriggers::FiredOnLine)
            anyFired = true;
    }
    return true;
}

void TTriggerIndex::Build(const TTriggerList& list, TPatternCache& cache)
{
    const auto n = static_cast<size_t>(list.Count());
    Slots.assign(n, TSlot{});
    FPartialAlways.Resize(n);
    FPartialCapable.Resize(n);
    FAnyFired = false;
    FCompleteAlways.Resize(n);
    WakeOn.Clear();
    WakeAfter.Clear();
    WakeAfterDigit.Clear();
    for (auto& v : SingleKeys)
        v.clear();
    PairSeen.assign(65536 / 64, 0);
    PairKeys.clear();

    for (size_t i = 0; i < n; ++i) {
        const cTriggers* t = list[static_cast<int>(i)];
        TSlot& s = Slots[i];
        s.Rec = t;
        s.From = t->From;
        s.ToEmpty = t->To.empty();
        s.CompleteOnly = (t->Status & cTriggers::CompleteOnly) != 0;
        if (t->Status & cTriggers::FiredOnLine)
            FAnyFired = true;
        if (t->From.empty() || t->To.empty())
            continue;  // never tried
        const auto pos = static_cast<uint32_t>(i);
        if (!IsStaticPattern(t->From)) {
            FCompleteAlways.Set(i);
            if (!s.CompleteOnly) {
                FPartialAlways.Set(i);
                FPartialCapable.Set(i);
            }
            continue;
        }
        s.Pattern = cache.Get(t->From);
        const TCompiledPattern& p = *s.Pattern;
        if (!p.Valid)
            continue;  // never matches

        const std::string_view key = p.Pieces[static_cast<size_t>(p.KeyPiece)].Text;
        if (key.size() == 1) {
            SingleKeys[static_cast<unsigned char>(key[0])].push_back(pos);
        } else {
            const uint32_t k = PairKey(key, 0);
            PairSeen[k >> 6] |= uint64_t{1} << (k & 63);
            PairKeys[k].push_back(pos);
        }

        if (s.CompleteOnly)
            continue;
        FPartialCapable.Set(i);
        const std::string_view tail = p.WakeLiteral;
        switch (p.Wake) {
        case TWakeShape::EndsLiteral: WakeOn.Add(tail, pos); break;
        case TWakeShape::EndsWord:
            WakeOn.Add(tail, pos);
            WakeAfter.Add(tail, pos);
            break;
        case TWakeShape::EndsDigits: WakeAfterDigit.Add(tail, pos); break;
        case TWakeShape::Always: FPartialAlways.Set(i); break;
        case TWakeShape::Never: break;
        }
    }
}

void TTriggerIndex::FindCandidates(std::string_view line, const uint8_t* starts, TTriggerBits& out) const
{
    out.Resize(Slots.size());
    out.Add(FCompleteAlways);
    const size_t size = line.size();
    for (size_t j = 0; j < size; ++j) {
        if (!starts[j])
            continue;
        for (const uint32_t i : SingleKeys[static_cast<unsigned char>(line[j])])
            out.Set(i);
        if (j + 1 >= size)
            break;
        const uint32_t k = PairKey(line, j);
        if (!(PairSeen[k >> 6] >> (k & 63) & 1))
            continue;
        const auto found = PairKeys.find(k);
        for (const uint32_t i : found->second) {
            const TCompiledPattern& p = *Slots[i].Pattern;
            const std::string_view key = p.Pieces[static_cast<size_t>(p.KeyPiece)].Text;
            if (j + key.size() <= size && std::memcmp(line.data() + j, key.data(), key.size()) == 0)
                out.Set(i);
        }
    }
}
