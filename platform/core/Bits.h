#pragma once
// The framework's bit array: Size bits, all clear at first; setting a bit past the end grows it.

#include <vector>

#include "platform/core/Exceptions.h"
#include "platform/core/Object.h"

// A negative index, or a read past the end ("Bits index out of range").
class EBitsError : public Exception {
    using Exception::Exception;
};

class TBits : public TObject {
public:
    // The largest size the array grows to: a slot number from a file cannot claim gigabytes.
    static constexpr int kMaxSize = 1 << 24;

    int Size() const { return static_cast<int>(FBits.size()); }
    // New bits are clear; EBitsError below 0 or above kMaxSize.
    void SetSize(int value);
    bool Bits(int index) const;
    void SetBits(int index, bool value);
    // The index of the first clear bit, Size when every bit is set.
    int OpenBit() const;

private:
    [[noreturn]] static void Error();
    std::vector<bool> FBits;
};
