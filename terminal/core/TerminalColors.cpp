#include "terminal/core/TerminalColors.h"

namespace {
constexpr TColor kPc[16] = {clBlack, clNavy, clGreen, clTeal, clMaroon, clPurple,  clOlive,  clSilver,
                            clGray,  clBlue, clLime,  clAqua, clRed,    clFuchsia, clYellow, clWhite};
constexpr TColor kAnsi[8] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clSilver};
}  // namespace

TColor PcColor(int n) { return n >= 0 && n < 16 ? kPc[n] : clBlack; }

TColor AnsiColor(std::string_view s)
{
    if (s.empty())
        return clBlack;
    int n = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return clBlack;
        if (n < 100)
            n = n * 10 + (c - '0');  // saturates; anything past 15 is black anyway
    }
    return PcColor(n);
}

TColor AnsiOrderColor(int n) { return n >= 0 && n < 8 ? kAnsi[n] : clBlack; }

int PcColorIndex(TColor c)
{
    for (int i = 0; i < 16; ++i)
        if (kPc[i] == c)
            return i;
    return -1;
}

TColor ChangeImportant(TColor c)
{
    switch (c) {
    case clBlack: return clGray;
    case clGray: return clBlack;
    case clNavy: return clBlue;
    case clBlue: return clNavy;
    case clGreen: return clLime;
    case clLime: return clGreen;
    case clTeal: return clAqua;
    case clAqua: return clTeal;
    case clMaroon: return clRed;
    case clRed: return clMaroon;
    case clPurple: return clFuchsia;
    case clFuchsia: return clPurple;
    case clOlive: return clYellow;
    case clYellow: return clOlive;
    case clSilver: return clWhite;
    case clWhite: return clSilver;
    default: return c;
    }
}
