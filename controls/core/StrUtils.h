#pragma once
// Free-standing text routines of the control library. Texts are cp949 bytes, positions are
// 1-based byte positions. Every routine walks the text by characters: a two-byte character is
// never split, never matched from its second byte and never case-folded. A character set holds
// single-byte characters only, so a two-byte character is never a member (not a delimiter, not
// a blank), whatever its bytes.

#include <bitset>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"

// A set of byte values, as the framework's "set of Char".
class TSysCharSet {
public:
    TSysCharSet() = default;
    TSysCharSet(std::initializer_list<char> chars)
    {
        for (char c : chars)
            Include(c);
    }
    // Every byte of the text is a member.
    static TSysCharSet Of(std::string_view chars)
    {
        TSysCharSet set;
        for (char c : chars)
            set.Include(c);
        return set;
    }
    void Include(char c) { bits_.set(static_cast<unsigned char>(c)); }
    bool Contains(char c) const { return bits_.test(static_cast<unsigned char>(c)); }

private:
    std::bitset<256> bits_;
};

// --- Scrambling (the stored form of the string holder) ---
// Byte i of the source XOR key byte ((i - 1) mod key length) + 1; the result, like the source it
// reads, is a short string of at most 255 bytes.
AnsiString XorString(std::string_view key, std::string_view source);
// Scrambles and writes every byte as two uppercase hexadecimal digits.
AnsiString XorEncode(std::string_view key, std::string_view source);
// Reverses XorEncode; a pair that is not hexadecimal reads as a blank, an odd last digit is
// ignored.
AnsiString XorDecode(std::string_view key, std::string_view source);

// --- Code pages ---
// The ANSI and the OEM code page of the Korean system are both cp949: the text is unchanged.
AnsiString StrToOem(std::string_view s);
AnsiString OemToAnsiStr(std::string_view s);

// --- Search and replace ---
// Every occurrence of find, left to right, never re-scanning inserted text; an empty find
// changes nothing.
AnsiString ReplaceStr(std::string_view s, std::string_view find, std::string_view replace);
// Position of the n-th (counting overlapping ones) occurrence of sub; 0 when absent or n < 1.
int NPos(std::string_view sub, std::string_view s, int n);
// Position of pattern in s where '?' stands for any one character; 0 when absent.
int FindPart(std::string_view pattern, std::string_view s);
// Wildcard match of the whole text: '*' any run of characters, '?' any one character.
bool IsWild(std::string_view s, std::string_view pattern, bool ignoreCase);
// Locale comparisons, as the Korean system sorts: by character class (blanks and controls,
// symbols, digits, Latin letters, other alphabets, Hangul, Hanja), then by character within its
// class with letters compared without regard to case; where that ties, CompStr puts lower case
// first. -1, 0 or 1.
int CompStr(std::string_view a, std::string_view b);
int CompText(std::string_view a, std::string_view b);

// --- Deleting, padding and trimming ("blank" is the space character) ---
bool IsEmptyStr(std::string_view s, const TSysCharSet& emptyChars);
AnsiString DelSpace(std::string_view s);
AnsiString DelChars(std::string_view s, char c);
AnsiString DelBSpace(std::string_view s);
AnsiString DelESpace(std::string_view s);
AnsiString DelRSpace(std::string_view s);
AnsiString DelSpace1(std::string_view s);
AnsiString Tab2Space(std::string_view s, int numSpaces);
AnsiString MakeStr(char c, int n);
AnsiString MS(char c, int n);
AnsiString AddChar(char c, std::string_view s, int length);
AnsiString AddCharR(char c, std::string_view s, int length);
AnsiString LeftStr(std::string_view s, int length);
AnsiString RightStr(std::string_view s, int length);
AnsiString CenterStr(std::string_view s, int width);

// --- Words and delimiters ---
AnsiString Copy2Symb(std::string_view s, char symbol);
AnsiString Copy2SymbDel(AnsiString& s, char symbol);
AnsiString Copy2Space(std::string_view s);
AnsiString Copy2SpaceDel(AnsiString& s);
AnsiString AnsiProperCase(std::string_view s, const TSysCharSet& wordDelims);
int WordCount(std::string_view s, const TSysCharSet& wordDelims);
int WordPosition(int n, std::string_view s, const TSysCharSet& wordDelims);
AnsiString ExtractWord(int n, std::string_view s, const TSysCharSet& wordDelims);
AnsiString ExtractWordPos(int n, std::string_view s, const TSysCharSet& wordDelims, int& pos);
AnsiString ExtractDelimited(int n, std::string_view s, const TSysCharSet& delims);
AnsiString ExtractSubstr(std::string_view s, int& pos, const TSysCharSet& delims);
bool IsWordPresent(std::string_view word, std::string_view s, const TSysCharSet& wordDelims);

// --- Quoting ---
AnsiString QuotedString(std::string_view s, char quote);
AnsiString ExtractQuotedString(std::string_view s, char quote);

// --- Numbers ---
// Thousands separators in the first run of digits ("-1234.5678" -> "-1,234.5678").
AnsiString Numb2USA(std::string_view s);
// Negative values are shown as their 32-bit pattern.
AnsiString Dec2Hex(int32_t n, int digits);
AnsiString D2H(int32_t n, int digits);
// With or without a leading '$'; 0 when the text is not a hexadecimal 32-bit number.
int32_t Hex2Dec(std::string_view s);
int32_t H2D(std::string_view s);
// Bases 2 to 36 (EConvertError otherwise). Dec2Numb shows negative values as their 32-bit
// pattern; Numb2Dec gives 0 for a text holding a character that is not a digit of the base and
// wraps past 32 bits.
AnsiString Dec2Numb(int32_t n, int width, int base);
int32_t Numb2Dec(std::string_view s, int base);
int RomanToInt(std::string_view s);
// Empty for n < 1.
AnsiString IntToRoman(int n);
// The low `digits` bits (at most 32), a blank before every group of `group` digits counted from
// the right; no blanks when group < 1.
AnsiString IntToBin(int32_t n, int digits, int group);

// --- Command line ---
// The parameter after the one spelled switch character + name (name compared without regard to
// case); empty when absent. The first form reads this process's command line.
AnsiString GetCmdLineArg(std::string_view name, const TSysCharSet& switchChars);
// params[0] is the program, as ParamStr(0).
AnsiString GetCmdLineArg(std::string_view name, const TSysCharSet& switchChars, const std::vector<AnsiString>& params);
