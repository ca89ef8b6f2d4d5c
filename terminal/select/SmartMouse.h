#pragma once
// Smart items: what a click on a host line would answer. Menu numbers ("1.", "[3]", "２."),
// prompt words ("[Enter]", "'Y' 를"), web addresses and short English words in brackets are
// recognised under the mouse; clicking one sends its text and CR to the host.

#include <string_view>

#include "platform/core/AnsiString.h"

struct TSmartItem {
    bool Found = false;
    AnsiString Text;   // what a click sends before its CR (empty for the Enter prompts)
    int StartCol = 0;  // first column the item covers (0-based)
    int EndCol = 0;    // one past the last column it covers
    bool IsLink = false;
};

// The item of `line` under the mouse at column `col` (used as a 1-based index into the line, so
// the first column recognises nothing).
TSmartItem SmartMouse(std::string_view line, int col);

// A rectangle in client pixels, right and bottom exclusive.
struct THoverRect {
    int Left = -10, Top = -10, Right = -10, Bottom = -10;
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    bool IsNone() const { return Left == -10 && Top == -10 && Right == -10 && Bottom == -10; }
    void Inflate(int d)
    {
        Left -= d;
        Top -= d;
        Right += d;
        Bottom += d;
    }
    bool operator==(const THoverRect&) const = default;
};

// The hover rectangle of an item shown on screen row `row`: its cells widened by 3 pixels.
THoverRect SmartHoverRect(const TSmartItem& item, int row, int cellWidth, int cellHeight);
