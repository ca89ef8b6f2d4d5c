#pragma once
// The framework's small sets over an enumeration (up to 32 members), with its set operators:
// s << a adds a member in place, s >> a removes it.

#include <cstdint>
#include <initializer_list>

template <class E>
class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> members)
    {
        for (E e : members)
            bits_ |= Bit(e);
    }

    constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TEnumSet& operator<<(E e)
    {
        bits_ |= Bit(e);
        return *this;
    }
    constexpr TEnumSet& operator>>(E e)
    {
        bits_ &= ~Bit(e);
        return *this;
    }
    constexpr TEnumSet operator|(TEnumSet o) const { return FromBits(bits_ | o.bits_); }
    constexpr TEnumSet operator&(TEnumSet o) const { return FromBits(bits_ & o.bits_); }
    constexpr TEnumSet operator-(TEnumSet o) const { return FromBits(bits_ & ~o.bits_); }
    constexpr bool operator==(const TEnumSet&) const = default;

    constexpr uint32_t Bits() const { return bits_; }
    static constexpr TEnumSet FromBits(uint32_t bits)
    {
        TEnumSet s;
        s.bits_ = bits;
        return s;
    }

private:
    static constexpr uint32_t Bit(E e) { return 1u << static_cast<unsigned>(e); }
    uint32_t bits_ = 0;
};
