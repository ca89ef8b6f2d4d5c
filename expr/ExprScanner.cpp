// Splits an expression text into words. Names are case-insensitive (lower-cased); the text of a
// quoted string keeps its case.
#include <charconv>
#include <cmath>

#include "expr/ExprMath.h"
#include "expr/Parseexpr.h"

namespace {

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int HexValue(unsigned char c) { return HexDigitValue(static_cast<char>(c)); }

// A whole number as plain digits, so that it still reads as written without a decimal
// separator.
AnsiString WholeNumberText(double value)
{
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return ec == std::errc() ? AnsiString(buffer, end) : FormatShortest(value);
}

}  // namespace

void TExpressionParser::ParseString(const AnsiString& text, TExprCollection& words)
{
    const size_t n = text.size();
    auto at = [&text, n](size_t i) -> unsigned char { return i < n ? static_cast<unsigned char>(text[i]) : 0; };
    // A name character: a letter, a digit, '_' or a two-byte character (whose trail byte may
    // look like a letter or not; the pair is never split).
    auto nameLength = [&](size_t i) -> size_t {
        unsigned char c = at(i);
        if (i >= n)
            return 0;
        if (IsLetter(c) || IsDigit(c) || c == '_')
            return 1;
        if (IsLeadByte(c) && i + 1 < n)
            return 2;
        return 0;
    };
    auto addConstant = [&](TExprWord* word) {
        ConstantsList.Add(static_cast<TObject*>(word));
        words.AddWord(word);
    };
    auto addNamed = [&](const AnsiString& token) {
        AnsiString name = LowerCase(token);
        TExprWord* word = WordsList.Find(name);
        if (!word) {
            word = new TGeneratedVariable(name);
            WordsList.AddWord(word);
        }
        words.AddWord(word);
    };

    size_t i = 0;
    while (i < n) {
        unsigned char c = at(i);
        size_t start = i;
        if (c <= ' ') {
            ++i;
        } else if (IsDigit(c)) {
            while (IsDigit(at(i)))
                ++i;
            if (at(i) == static_cast<unsigned char>(DecimalSeparator)) {
                ++i;
                while (IsDigit(at(i)))
                    ++i;
            }
            if (at(i) == 'e' || at(i) == 'E') {
                size_t digits = i + 1;
                if (at(digits) == '+' || at(digits) == '-')
                    ++digits;
                if (IsDigit(at(digits))) {
                    i = digits;
                    while (IsDigit(at(i)))
                        ++i;
                }
            }
            AnsiString number = LowerCase(text.substr(start, i - start));
            if (DecimalSeparator != '.') {
                for (char& ch : number)
                    if (ch == DecimalSeparator)
                        ch = '.';
            }
            addConstant(new TDoubleConstant(number));
        } else if (c == static_cast<unsigned char>(HexChar) && HexValue(at(i + 1)) >= 0) {
            double value = 0;
            for (++i; HexValue(at(i)) >= 0; ++i)
                value = value * 16 + HexValue(at(i));
            addConstant(new TDoubleConstant(WholeNumberText(value), value));
        } else if (c == '\'') {
            size_t close = text.find('\'', i + 1);
            i = close == AnsiString::npos ? n : close + 1;
            addConstant(new TStringConstant(text.substr(start, i - start)));
        } else if (IsLetter(c) || c == '_' || c == static_cast<unsigned char>(HexChar) ||
                   (IsLeadByte(c) && i + 1 < n)) {
            i += c == static_cast<unsigned char>(HexChar) ? 1 : nameLength(i);
            while (size_t len = nameLength(i))
                i += len;
            addNamed(text.substr(start, i - start));
        } else {
            ++i;
            if (c == '<' || c == '=' || c == '>') {
                if (at(i) == '<' || at(i) == '=' || at(i) == '>')
                    ++i;
            } else if (c == '!' || c == ':') {
                if (at(i) == '=')
                    ++i;
            } else if ((c == '&' || c == '|') && at(i) == c) {
                ++i;
            }
            addNamed(text.substr(start, i - start));
        }
    }
}
