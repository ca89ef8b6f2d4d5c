#pragma once
// One-bit pictures sent in band: a header (column, pixel row, bytes per row) and then, for each
// pixel row, a run of hexadecimal digits, with "R" and two decimal digits repeating the next
// byte. Rows are kept complemented as the wire form defines them (a 0 bit is ink) and handed to
// a sink when complete.
//
// A picture without a usable header (none yet, reset, zero bytes a row, or rows wider than
// kMaxRowBytes) is ignored: its row data is consumed up to the first byte that is not data,
// and nothing is drawn.

#include <cstdint>
#include <functional>
#include <vector>

class TInBandPicture {
public:
    static constexpr int kMaxRowBytes = 1024;  // 8192 pixels, wider than any screen
    // A completed row: its column and pixel row, and its bytes (0 bits are ink).
    using TRowSink = std::function<void(int col, int y, const uint8_t* row, int bytes)>;

    // The header; an unusable one drops the picture in progress.
    void Header(int col, int y, int bytes);
    // Row data follows.
    void StartRow();
    // Reset: no picture, no data mode, no repeat.
    void Reset();
    // A byte outside any escape or control sequence; true when it was taken as row data.
    bool Data(unsigned char ch, const TRowSink& sink);

    bool HasHeader() const { return FValid; }
    bool DataMode() const { return FMode; }
    int RowBytes() const { return FValid ? FBytes : 0; }
    int RowsDone() const { return FRows; }

private:
    void CompleteRow(const TRowSink& sink);
    void Advance(int nibbles, const TRowSink& sink);

    bool FValid = false;
    int FCol = 0, FY = 0, FBytes = 0;
    std::vector<uint8_t> FRow;
    int FNibbles = 0;  // nibbles since the header, modulo a row (its parity is what matters)
    int FRows = 0;     // rows completed since the header
    bool FMode = false;
    bool FDiscard = false;
    bool FRepeatPending = false;  // 'R' seen, count digits being read
    int FRepeatDigits = 0;
    int FRepeatValue = 0;
    bool FRepeatArmed = false;  // a count waits for the next complete byte
};
