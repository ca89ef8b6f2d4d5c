#pragma once
// The characters of a screen line: which bytes start a two-byte character and which are its
// second byte, worked out once from the start of the line (a second byte may look like any
// ASCII letter, so a byte alone does not tell).

#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"

class TLineChars {
public:
    explicit TLineChars(std::string_view line);

    int Size() const { return static_cast<int>(FLine.size()); }
    // Bytes are addressed 0-based; outside the line every test is false and Byte gives 0.
    unsigned char Byte(int i) const;
    bool IsLead(int i) const { return Kind(i) == kLead; }
    bool IsTrail(int i) const { return Kind(i) == kTrail; }
    // A one-byte character of the given kind (never part of a pair).
    bool IsSingle(int i) const { return Kind(i) == kSingle; }
    bool IsDigit(int i) const;
    bool IsUpper(int i) const;
    bool IsLetter(int i) const;
    bool IsSpace(int i) const { return IsSingle(i) && Byte(i) == ' '; }
    bool Is(int i, char c) const { return IsSingle(i) && Byte(i) == static_cast<unsigned char>(c); }
    // The start of the character holding byte i.
    int CharStart(int i) const { return IsTrail(i) ? i - 1 : i; }
    // One past the end of the character holding byte i.
    int CharEnd(int i) const { return IsLead(i) ? i + 2 : i + 1; }
    // The first match of s at or after byte `from` that starts a character, or -1.
    int Find(std::string_view s, int from = 0) const;
    // One past the last byte before `end` that is not a blank (a blank line gives `from`).
    int TrimEnd(int from, int end) const;
    std::string_view Line() const { return FLine; }

private:
    enum : unsigned char { kNone, kSingle, kLead, kTrail };
    unsigned char Kind(int i) const
    {
        return i >= 0 && i < Size() ? FKinds[static_cast<size_t>(i)] : static_cast<unsigned char>(kNone);
    }
    std::string_view FLine;
    std::vector<unsigned char> FKinds;
};
