// The arithmetic evaluator behind "vm": doubles, + - * / ^, parentheses and a table of functions.
//
// The grammar is
//   expression: expression "+" term | expression "-" term | term
//   term:       term "*" factor | term "/" factor | factor
//   factor:     signed "^" factor | signed
//   signed:     "-" primary | primary
//   primary:    number | "(" expression ")" | function "(" expression ")"
// and the evaluator keeps at most 50 entries on its parse stack (the start entry included). It is
// parsed by recursive descent that tracks where each symbol would sit on a shift-reduce parser's
// stack, so expressions too deep for that stack fail exactly where such a parser would.

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/core/CLocaleNumbers.h"
#include "script/ScriptNumbers.h"
#include "script/ScriptState.h"

namespace {

enum Tok { Plus, Minus, Times, Divide, Power, Colon, Open, Close, Num, Func = 10, End, Invalid };

enum Function {
    Abs,
    Acos,
    Asin,
    Atan,
    Cosh,
    Cos,
    Exp,
    Log10,
    Log,
    Pow10,
    Round,
    Sinh,
    Sin,
    Sqrt,
    Sqr,
    Tanh,
    Tan,
    Trunc
};

struct Name {
    const char* Text;
    Function Id;
};

// Each longer name comes before the shorter name it begins with.
constexpr Name Names[] = {
    {"ABS", Abs}, {"ACOS", Acos},   {"ASIN", Asin}, {"ATAN", Atan},   {"COSH", Cosh},   {"COS", Cos},
    {"EXP", Exp}, {"LOG10", Log10}, {"LOG", Log},   {"POW10", Pow10}, {"ROUND", Round}, {"SINH", Sinh},
    {"SIN", Sin}, {"SQRT", Sqrt},   {"SQR", Sqr},   {"TANH", Tanh},   {"TAN", Tan},     {"TRUNC", Trunc},
};

struct Token {
    Tok Code;
    double Value = 0;
    Function Id = Abs;
};

constexpr int StackEntries = 50;

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::vector<Token> Tokenize(const AnsiString& s)
{
    std::vector<Token> tokens;
    size_t p = 0;
    while (true) {
        while (p < s.size() && s[p] == ' ')
            ++p;
        if (p >= s.size()) {
            tokens.push_back({End});
            return tokens;
        }
        const char c = s[p];
        if (IsDigit(c) || c == '.') {
            const size_t start = p;
            bool dot = false, digit = false;
            while (p < s.size() && (IsDigit(s[p]) || (s[p] == '.' && !dot))) {
                dot |= s[p] == '.';
                digit |= IsDigit(s[p]);
                ++p;
            }
            if (!digit) {
                tokens.push_back({Invalid});
                return tokens;
            }
            if (p < s.size() && s[p] == 'E') {
                ++p;
                if (p < s.size() && (s[p] == '+' || s[p] == '-'))
                    ++p;
                for (int n = 0; n < 3 && p < s.size() && IsDigit(s[p]); ++n)
                    ++p;
            }
            const AnsiString text = s.substr(start, p - start);
            errno = 0;
            // "." is the decimal point whatever the desktop's locale says.
            const double value = CStrToD(text.c_str(), nullptr);
            if (errno == ERANGE && std::isinf(value)) {
                tokens.push_back({Invalid});
                return tokens;
            }
            tokens.push_back({Num, value});
            continue;
        }
        if (IsLetter(c)) {
            bool found = false;
            for (const Name& n : Names) {
                const size_t len = std::strlen(n.Text);
                if (s.compare(p, len, n.Text) == 0) {
                    tokens.push_back({Func, 0, n.Id});
                    p += len;
                    found = true;
                    break;
                }
            }
            if (!found) {
                tokens.push_back({Invalid});
                return tokens;
            }
            continue;
        }
        static constexpr char Operators[] = "+-*/^:()";
        const char* op = c ? std::strchr(Operators, c) : nullptr;
        if (!op) {
            tokens.push_back({Invalid});
            return tokens;
        }
        tokens.push_back({static_cast<Tok>(op - Operators)});
        ++p;
    }
}

double ToInt32(double x) { return static_cast<double>(SaturateToInt(x)); }

double ApplyFunction(Function f, double x)
{
    switch (f) {
    case Abs: return std::fabs(x);
    case Acos: return std::acos(x);
    case Asin: return std::asin(x);
    case Atan: return std::atan(x);
    case Cosh: return std::cosh(x);
    case Cos: return std::cos(x);
    case Exp: return std::exp(x);
    case Log10: return std::log10(x);
    case Log: return std::log(x);
    case Pow10: return std::pow(10.0, std::isnan(x) ? x : std::trunc(x));
    case Round: return ToInt32(x + 0.5);
    case Sinh: return std::sinh(x);
    case Sin: return std::sin(x);
    case Sqrt: return std::sqrt(x);
    case Sqr: return x * x;
    case Tanh: return std::tanh(x);
    case Tan: return std::tan(x);
    case Trunc: return ToInt32(x);
    }
    return x;
}

class TParser {
public:
    explicit TParser(std::vector<Token> tokens) : Tokens(std::move(tokens)) {}

    bool Run(double& value)
    {
        value = Expression(1);
        if (!Error && Peek() != End)
            Error = true;
        return !Error;
    }

private:
    Tok Peek() const { return Tokens[Pos].Code; }
    // Takes the current token onto stack entry index; false (and the error set) when that entry
    // does not exist.
    bool Shift(int index)
    {
        if (Error || index >= StackEntries) {
            Error = true;
            return false;
        }
        if (Peek() != End)
            ++Pos;
        return true;
    }
    bool Expect(Tok code, int index)
    {
        if (Error || Peek() != code) {
            Error = true;
            return false;
        }
        return Shift(index);
    }

    double Expression(int at)
    {
        double v = Term(at);
        while (!Error && (Peek() == Plus || Peek() == Minus)) {
            const bool plus = Peek() == Plus;
            if (!Shift(at + 1))
                break;
            const double r = Term(at + 2);
            v = plus ? v + r : v - r;
        }
        return v;
    }

    double Term(int at)
    {
        double v = Factor(at);
        while (!Error && (Peek() == Times || Peek() == Divide)) {
            const bool times = Peek() == Times;
            if (!Shift(at + 1))
                break;
            const double r = Factor(at + 2);
            if (times)
                v = v * r;
            else
                v = r == 0 ? std::numeric_limits<double>::infinity() : v / r;
        }
        return v;
    }

    double Factor(int at)
    {
        const double base = Signed(at);
        if (Error || Peek() != Power)
            return base;
        if (!Shift(at + 1))
            return 0;
        return std::pow(base, Factor(at + 2));
    }

    double Signed(int at)
    {
        if (Peek() != Minus)
            return Primary(at);
        if (!Shift(at))
            return 0;
        return -Primary(at + 1);
    }

    double Primary(int at)
    {
        if (Error)
            return 0;
        const Token token = Tokens[Pos];
        switch (token.Code) {
        case Num: Shift(at); return token.Value;
        case Open: {
            if (!Shift(at))
                return 0;
            const double v = Expression(at + 1);
            Expect(Close, at + 2);
            return v;
        }
        case Func: {
            if (!Shift(at) || !Expect(Open, at + 1))
                return 0;
            const double v = Expression(at + 2);
            Expect(Close, at + 3);
            return ApplyFunction(token.Id, v);
        }
        default: Error = true; return 0;
        }
    }

    std::vector<Token> Tokens;
    size_t Pos = 0;
    bool Error = false;
};

}  // namespace

double TScriptState::EvalArithmetic(const AnsiString& expression, int& status)
{
    TParser parser(Tokenize(UpperCase(expression)));
    double value = 0;
    // A result that is not a number (the square root of -1 and the like) counts as a failure.
    if (!parser.Run(value) || std::isnan(value)) {
        status = 0;
        return 0.0;
    }
    status = 1;
    return value;
}
