#include "platform/core/Bits.h"

void TBits::Error() { throw EBitsError("Bits index out of range"); }

void TBits::SetSize(int value)
{
    if (value < 0 || value > kMaxSize)
        Error();
    FBits.resize(static_cast<size_t>(value), false);
}

bool TBits::Bits(int index) const
{
    if (index < 0 || index >= Size())
        Error();
    return FBits[static_cast<size_t>(index)];
}

void TBits::SetBits(int index, bool value)
{
    if (index < 0 || index >= kMaxSize)
        Error();
    if (index >= Size())
        SetSize(index + 1);
    FBits[static_cast<size_t>(index)] = value;
}

int TBits::OpenBit() const
{
    for (size_t i = 0; i < FBits.size(); ++i)
        if (!FBits[i])
            return static_cast<int>(i);
    return Size();
}
