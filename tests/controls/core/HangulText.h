#pragma once
// cp949 samples for the tests of the string routines.

#include "platform/core/AnsiString.h"

namespace hangul {
// 한글: C7 D1 B1 DB
inline const AnsiString kHanGeul = "\xC7\xD1\xB1\xDB";
// 가 B0A1, 나 B3AA, 다 B4D9
inline const AnsiString kGa = "\xB0\xA1";
inline const AnsiString kNa = "\xB3\xAA";
inline const AnsiString kDa = "\xB4\xD9";
// 똠 is 8C 63: its second byte is the letter 'c'.
inline const AnsiString kDdom = "\x8C\x63";
// 갂 is 81 41: its second byte is the letter 'A'.
inline const AnsiString kGakk = "\x81\x41";
// 각 B0A2, 간 B0A3: Unicode puts 갂 (an extension character) between them.
inline const AnsiString kGak = "\xB0\xA2";
inline const AnsiString kGan = "\xB0\xA3";
// Full-width Ａ (A3 C1) and ａ (A3 E1); 漢 (F9 D3).
inline const AnsiString kWideA = "\xA3\xC1";
inline const AnsiString kHan = "\xF9\xD3";
}  // namespace hangul
