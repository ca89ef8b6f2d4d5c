#include "terminal/draw/InBandPicture.h"

#include <climits>

namespace {

int HexValue(unsigned char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    return -1;
}

}  // namespace

void TInBandPicture::Header(int col, int y, int bytes)
{
    // Row data of a picture without a header ends here: what follows belongs to this one.
    FDiscard = false;
    if (bytes < 1 || bytes > kMaxRowBytes || col < 0 || y < 0) {
        FValid = false;
        FMode = false;
        FRow.clear();
        return;
    }
    FValid = true;
    FCol = col;
    FY = y;
    FBytes = bytes;
    FRow.assign(static_cast<size_t>(bytes), 0);
    FNibbles = 0;
    FRows = 0;
}

void TInBandPicture::StartRow()
{
    if (FValid)
        FMode = true;
    else
        FDiscard = true;
}

void TInBandPicture::Reset()
{
    FValid = false;
    FMode = false;
    FDiscard = false;
    FRow.clear();
    FRepeatPending = false;
    FRepeatDigits = FRepeatValue = 0;
    FRepeatArmed = false;
}

void TInBandPicture::CompleteRow(const TRowSink& sink)
{
    if (sink)
        sink(FCol, FRows > INT_MAX - FY ? INT_MAX : FY + FRows, FRow.data(), FBytes);
    if (FRows < INT_MAX)
        ++FRows;
    FMode = false;
}

void TInBandPicture::Advance(int nibbles, const TRowSink& sink)
{
    FNibbles = (FNibbles + nibbles) % (2 * FBytes);
    if (FNibbles == 0)
        CompleteRow(sink);
}

bool TInBandPicture::Data(unsigned char ch, const TRowSink& sink)
{
    if (!FMode && !FDiscard)
        return false;
    const int v = HexValue(ch);
    if (FDiscard) {
        if (v >= 0 || ch == 'R')
            return true;
        FDiscard = false;
        return false;
    }
    if (ch == 'R') {
        FRepeatPending = true;
        FRepeatDigits = FRepeatValue = 0;
        FRepeatArmed = false;
        return true;
    }
    if (FRepeatPending && ch >= '0' && ch <= '9') {
        FRepeatValue = FRepeatValue * 10 + (ch - '0');
        if (++FRepeatDigits == 2) {
            FRepeatPending = false;
            FRepeatArmed = true;
        }
        return true;
    }
    if (v < 0)
        return false;
    // The wire's digits are stored complemented: a set pixel becomes a 0 bit.
    const uint8_t nibble = static_cast<uint8_t>(15 - v);
    uint8_t& byte = FRow[static_cast<size_t>(FNibbles / 2)];
    if (FNibbles % 2 == 0) {
        byte = static_cast<uint8_t>(nibble << 4);
        Advance(1, sink);
        return true;
    }
    byte = static_cast<uint8_t>(byte + nibble);
    if (!FRepeatArmed) {
        Advance(1, sink);
        return true;
    }
    // The repeated byte fills the row on from here, a row completing as often as it fills; a
    // count of 00 writes nothing and the low nibble stays pending.
    FRepeatArmed = false;
    const uint8_t value = byte;
    for (int k = 0; k < FRepeatValue; ++k) {
        FRow[static_cast<size_t>(FNibbles / 2)] = value;
        Advance(k == 0 ? 1 : 2, sink);
    }
    return true;
}
