#pragma once
// The framework's shift state: which modifier keys and mouse buttons are down.

#include <cstdint>
#include <initializer_list>

enum TShiftStateFlag : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };

class TShiftState {
public:
    constexpr TShiftState() = default;
    constexpr TShiftState(std::initializer_list<TShiftStateFlag> flags)
    {
        for (TShiftStateFlag f : flags)
            bits_ |= Bit(f);
    }

    constexpr bool Contains(TShiftStateFlag f) const { return (bits_ & Bit(f)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    // The framework's set operators: add or remove a flag in place and return the set, so
    // that TShiftState() << ssShift << ssCtrl builds a set and s << ssAlt changes s.
    constexpr TShiftState& operator<<(TShiftStateFlag f)
    {
        bits_ |= Bit(f);
        return *this;
    }
    constexpr TShiftState& operator>>(TShiftStateFlag f)
    {
        bits_ &= static_cast<uint8_t>(~Bit(f));
        return *this;
    }
    constexpr TShiftState operator|(TShiftState o) const { return FromBits(static_cast<uint8_t>(bits_ | o.bits_)); }
    constexpr TShiftState operator&(TShiftState o) const { return FromBits(static_cast<uint8_t>(bits_ & o.bits_)); }
    constexpr bool operator==(const TShiftState&) const = default;

    constexpr uint8_t Bits() const { return bits_; }
    static constexpr TShiftState FromBits(uint8_t bits)
    {
        TShiftState s;
        s.bits_ = bits;
        return s;
    }

private:
    static constexpr uint8_t Bit(TShiftStateFlag f) { return static_cast<uint8_t>(1u << f); }
    uint8_t bits_ = 0;
};
