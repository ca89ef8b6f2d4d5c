#pragma once
// The edit-mask language of mask edits, without a display. A mask is up to three fields joined
// by ";": the picture, whether literals are kept in the text ("1", the default, or "0"), and the
// character shown in empty positions ("_" by default). Picture characters:
//   L l  letter (required / optional)      A a  letter or digit     C c  any character
//   0 9  digit                             #    digit, "+" or "-" (optional)
//   >  what follows in upper case   <  in lower case   <>  as typed
//   \  the next character is a literal     _  a literal blank
//   :  /  the locale's time and date separators     !  optional positions shown as leading blanks
// Every other character is a literal. Each position holds one single-byte character: a Hangul
// pair fits no position (a mask edit without a mask takes any text).

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"

class TEditMask {
public:
    TEditMask() = default;
    explicit TEditMask(std::string_view mask, char timeSeparator = ':', char dateSeparator = '/');

    bool Empty() const { return FCells.empty(); }
    size_t Length() const { return FCells.size(); }
    bool SaveLiterals() const { return FSaveLiterals; }
    char Blank() const { return FBlank; }
    bool IsLiteral(size_t pos) const { return pos < FCells.size() && FCells[pos].Literal; }

    // The text shown for a value: with literals saved the value lines up with every position,
    // else its characters fill the edit positions in order. What fits no position is left empty.
    AnsiString Format(std::string_view value) const;
    // The value of a shown text: empty positions as blanks, literals only when they are saved.
    AnsiString Value(std::string_view shown) const;
    // The shown text with every edit position empty.
    AnsiString EmptyText() const { return Format(""); }
    // The first required position left empty, or -1 when the text is complete.
    int FirstMissing(std::string_view shown) const;

    // The edit position at or after pos (at or before it going back); Length() / -1 when none.
    size_t NextEditPos(size_t pos) const;
    int PrevEditPos(size_t pos) const;

    // Types c at pos (on a literal equal to c, or skipping literals to the next edit position).
    // Returns the position after it, or -1 when the character is refused there.
    int Type(AnsiString& shown, size_t pos, char c) const;
    // Empties the edit positions of [from, to).
    void Clear(AnsiString& shown, size_t from, size_t to) const;

private:
    enum TCase { cNone, cUpper, cLower };
    struct TCell {
        bool Literal = false;
        char Ch = 0;  // the literal, or the picture character
        TCase Case = cNone;
        bool Required = false;
    };
    bool Accepts(const TCell& cell, char c, char& out) const;

    std::vector<TCell> FCells;
    bool FSaveLiterals = true;
    char FBlank = '_';
    bool FLeadingBlanks = false;
};
