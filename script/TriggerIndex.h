#pragma once
// What the trigger scan keeps about the trigger list between changes: each trigger's compiled
// pattern, the bytes after which a partial-line pattern can newly match, and the literal that a
// line must contain for a pattern to match it. The index refers to triggers by list position;
// it never follows the record pointers it keeps (they only tell whether the list changed).

#include <array>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/Pattern.h"
#include "script/Records.h"
#include "script/TriggerBits.h"

// Trigger positions filed under the last one or two bytes of a literal.
class TTailTable {
public:
    void Clear();
    void Add(std::string_view literal, uint32_t position);
    // Positions whose literal ends in the byte b after the byte a (a < 0: there is none).
    template <class F>
    void ForEach(int a, unsigned char b, F&& f) const
    {
        for (const uint32_t i : One[b])
            f(i);
        if (a < 0)
            return;
        const uint32_t k = static_cast<uint32_t>(a) << 8 | b;
        if (!(Seen[k >> 6] >> (k & 63) & 1))
            return;
        for (const uint32_t i : Two.find(k)->second)
            f(i);
    }
    bool Empty() const { return Size == 0; }

private:
    std::array<std::vector<uint32_t>, 256> One;
    std::vector<uint64_t> Seen = std::vector<uint64_t>(65536 / 64);
    std::unordered_map<uint32_t, std::vector<uint32_t>> Two;
    size_t Size = 0;
};

class TTriggerIndex {
public:
    struct TSlot {
        const cTriggers* Rec = nullptr;
        AnsiString From;
        std::shared_ptr<const TCompiledPattern> Pattern;  // null: expanded and compiled at each try
        bool ToEmpty = true;
        bool CompleteOnly = true;
    };

    // True when the index still describes the list: the same records in the same order, with the
    // same patterns, the same empty actions and the same complete-line bits. Sets anyFired when
    // a trigger is marked as fired on the current line.
    bool Describes(const TTriggerList& list, bool& anyFired) const;
    void Build(const TTriggerList& list, TPatternCache& cache);

    size_t Count() const { return Slots.size(); }
    const TSlot& Slot(size_t i) const { return Slots[i]; }

    // Partial-line triggers to try at every byte (their patterns are expanded at each try, or
    // any byte may make them match).
    const TTriggerBits& PartialAlways() const { return FPartialAlways; }
    // Every trigger a partial pass may try.
    const TTriggerBits& PartialCapable() const { return FPartialCapable; }
    // Whether some trigger was marked as fired on the line when the index was built.
    bool AnyFired() const { return FAnyFired; }
    // Partial-line triggers the byte at index n of line may make match; starts holds the
    // character starts of line up to and including that byte.
    template <class F>
    void ForEachWoken(std::string_view line, const uint8_t* starts, size_t n, F&& wake) const;

    // The complete-line candidates: every trigger whose pattern could match line.
    void FindCandidates(std::string_view line, const uint8_t* starts, TTriggerBits& out) const;

private:
    std::vector<TSlot> Slots;
    TTriggerBits FPartialAlways;
    TTriggerBits FPartialCapable;
    TTriggerBits FCompleteAlways;
    bool FAnyFired = false;
    TTailTable WakeOn;                                  // the literal ends with the byte that arrives
    TTailTable WakeAfter;                               // "%s" after a literal: also on the byte after it
    TTailTable WakeAfterDigit;                          // "%d" after a literal: on a digit right after it
    std::array<std::vector<uint32_t>, 256> SingleKeys;  // one-byte literals by their byte
    std::vector<uint64_t> PairSeen = std::vector<uint64_t>(65536 / 64);  // first two bytes in use
    std::unordered_map<uint32_t, std::vector<uint32_t>> PairKeys;
};

template <class F>
void TTriggerIndex::ForEachWoken(std::string_view line, const uint8_t* starts, size_t n, F&& wake) const
{
    const auto at = [&](size_t i) { return static_cast<int>(static_cast<unsigned char>(line[i])); };
    WakeOn.ForEach(n >= 1 ? at(n - 1) : -1, static_cast<unsigned char>(line[n]), [&](uint32_t i) {
        if (LiteralEndsAt(line, starts, n + 1, Slots[i].Pattern->WakeLiteral))
            wake(i);
    });
    if (n == 0)
        return;
    const auto before = [&](uint32_t i) {
        if (LiteralEndsAt(line, starts, n, Slots[i].Pattern->WakeLiteral))
            wake(i);
    };
    const int a = n >= 2 ? at(n - 2) : -1;
    const auto b = static_cast<unsigned char>(line[n - 1]);
    if (!WakeAfter.Empty())
        WakeAfter.ForEach(a, b, before);
    if (IsAsciiDigit(line[n]) && !WakeAfterDigit.Empty())
        WakeAfterDigit.ForEach(a, b, before);
}
