#include "expr/Parseclass.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/core/CLocaleNumbers.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The text read as a number; not-a-number unless the whole text is one.
double TextToDouble(const AnsiString& text)
{
    double value = kNaN;
    const char* first = text.data();
    const char* last = first + text.size();
    auto [end, ec] = std::from_chars(first, last, value);
    if (end != last)
        return kNaN;
    // Too large or too small for a double, however many digits it has: strtod rounds the whole
    // text to infinity or to 0 (or the nearest tiny double).
    if (ec == std::errc::result_out_of_range)
        return CStrToD(text.c_str(), nullptr);
    return ec == std::errc() ? value : kNaN;
}

}  // namespace

void ExprCopyValue(TExpressionRec* Expr) { Expr->Res = Expr->Args[0] ? *Expr->Args[0] : kNaN; }

void ExprStringCompare(TExpressionRec* Expr)
{
    auto* oper = dynamic_cast<TLogicalStringOper*>(Expr->ExprWord);
    Expr->Res = (oper && oper->Evaluate()) ? 1.0 : 0.0;
}

TExprWord::TExprWord(const AnsiString& name, TExprFunc exprFunc) : Name(LowerCase(name)), ExprFunc(exprFunc) {}

bool TExprWord::IsVariableOrConstant() const { return ExprFunc == &ExprCopyValue; }

TDoubleConstant::TDoubleConstant(const AnsiString& text) : TExprWord(text, &ExprCopyValue), Value(TextToDouble(text)) {}

TDoubleConstant::TDoubleConstant(const AnsiString& name, double value) : TExprWord(name, &ExprCopyValue), Value(value)
{}

TGeneratedVariable::TGeneratedVariable(const AnsiString& name) : TDoubleConstant(name, kNaN) {}

TDoubleVariable::TDoubleVariable(const AnsiString& name, double* value) : TExprWord(name, &ExprCopyValue), Value(value)
{}

// A string constant keeps the case of its text: only names are case-insensitive.
TStringConstant::TStringConstant(const AnsiString& text) : TExprWord(text, &ExprCopyValue)
{
    Name = text;
    if (text.size() >= 2 && text.front() == '\'' && text.back() == '\'')
        Value = text.substr(1, text.size() - 2);
    else
        Value = text;
}

TStringVariable::TStringVariable(const AnsiString& name, AnsiString* value)
    : TExprWord(name, &ExprCopyValue), Value(value)
{}

AnsiString TStringVariable::GetAsString() const
{
    if (!Value)
        return AnsiString();
    const AnsiString& s = *Value;
    if (s.size() >= 2 && s.front() == '\'' && s.back() == '\'')
        return s.substr(1, s.size() - 2);
    return s;
}

TFunction::TFunction(const AnsiString& name, TExprFunc exprFunc, int nargs) : TFunction(name, exprFunc, 0, false, nargs)
{}

TFunction::TFunction(const AnsiString& name, TExprFunc exprFunc, int priority, bool isOper, int nargs)
    : TExprWord(name, exprFunc), IsOper(isOper ? 1 : 0), OperPrec(priority), NFunctionArg(nargs)
{
    if (nargs > 4)
        throw EParserException("Too many arguments");
    if (nargs < 0)
        NFunctionArg = 0;
}

TLogicalStringOper::TLogicalStringOper(const AnsiString& oper, TExprWord* left, TExprWord* right)
    : TExprWord((left ? left->Name : AnsiString()) + oper + (right ? right->Name : AnsiString()), &ExprStringCompare),
      OperCode(0), Left(left), Right(right)
{
    if (oper == "=")
        OperCode = 0;
    else if (oper == ">")
        OperCode = 1;
    else if (oper == "<")
        OperCode = 2;
    else if (oper == ">=")
        OperCode = 3;
    else if (oper == "<=")
        OperCode = 4;
    else
        throw EParserException(oper + " is not a valid string operand");
}

bool TLogicalStringOper::GetCanVary() const { return (Left && Left->GetCanVary()) || (Right && Right->GetCanVary()); }

bool TLogicalStringOper::Evaluate() const
{
    AnsiString a = Left ? Left->GetAsString() : AnsiString();
    AnsiString b = Right ? Right->GetAsString() : AnsiString();
    int c = a.compare(b);  // byte order: std::string compares as unsigned char
    switch (OperCode) {
    case 0: return c == 0;
    case 1: return c > 0;
    case 2: return c < 0;
    case 3: return c >= 0;
    default: return c <= 0;
    }
}
