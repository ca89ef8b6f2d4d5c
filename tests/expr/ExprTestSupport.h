#pragma once
// Small helpers shared by the expression tests.

#include <cmath>
#include <string>

#include "expr/Parseexpr.h"

// The value of text as GetAsString gives it.
inline AnsiString Calc(TExpressionParser& parser, const AnsiString& text)
{
    return parser.GetAsString(parser.AddExpression(text));
}

// The message of the parser exception text raises while compiling, or "<no error>".
inline std::string CompileError(TExpressionParser& parser, const AnsiString& text)
{
    try {
        parser.AddExpression(text);
    } catch (const EParserException& e) {
        return e.Message;
    }
    return "<no error>";
}
