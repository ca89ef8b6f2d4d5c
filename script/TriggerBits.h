#pragma once
// A set of trigger positions, walked in list order.

#include <bit>
#include <cstdint>
#include <vector>

class TTriggerBits {
public:
    void Resize(size_t n)
    {
        Size = n;
        Words.assign((n + 63) / 64, 0);
    }
    size_t Count() const { return Size; }
    void Set(size_t i)
    {
        if (i < Size)
            Words[i >> 6] |= uint64_t{1} << (i & 63);
    }
    void Reset(size_t i)
    {
        if (i < Size)
            Words[i >> 6] &= ~(uint64_t{1} << (i & 63));
    }
    void Assign(const TTriggerBits& other) { *this = other; }
    bool Test(size_t i) const { return i < Size && (Words[i >> 6] >> (i & 63) & 1); }
    void ClearAll()
    {
        for (auto& w : Words)
            w = 0;
    }
    void SetAll()
    {
        for (auto& w : Words)
            w = ~uint64_t{0};
        if (Size & 63)
            Words.back() &= (uint64_t{1} << (Size & 63)) - 1;
    }
    bool Any() const
    {
        for (const auto w : Words)
            if (w)
                return true;
        return false;
    }
    // this |= other
    void Add(const TTriggerBits& other)
    {
        for (size_t w = 0; w < Words.size() && w < other.Words.size(); ++w)
            Words[w] |= other.Words[w];
    }
    // this |= a & ~b
    void AddExcept(const TTriggerBits& a, const TTriggerBits& b)
    {
        for (size_t w = 0; w < Words.size() && w < a.Words.size() && w < b.Words.size(); ++w)
            Words[w] |= a.Words[w] & ~b.Words[w];
    }
    // The first position at or after from that is in the set, or Count() when there is none.
    size_t Next(size_t from) const
    {
        if (from >= Size)
            return Size;
        size_t w = from >> 6;
        uint64_t bits = Words[w] & (~uint64_t{0} << (from & 63));
        while (!bits) {
            if (++w >= Words.size())
                return Size;
            bits = Words[w];
        }
        const size_t at = (w << 6) + static_cast<size_t>(std::countr_zero(bits));
        return at < Size ? at : Size;
    }

private:
    std::vector<uint64_t> Words;
    size_t Size = 0;
};
