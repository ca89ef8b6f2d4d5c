// The parser with C spellings of the operators.
#include "expr/ExprRoutines.h"
#include "expr/Parseexpr.h"

TCStyleParser::TCStyleParser() : TExpressionParser(NoFill{}) { FillExpressList(); }

void TCStyleParser::FillExpressList()
{
    using namespace exprfn;
    TExpressionParser::FillExpressList();
    // Each old spelling goes before its new one is added; "=" is renamed to "==" before the
    // assignment takes its name, and "!" is freed by "fact" before "not" takes it.
    auto replace = [this](const char* oldName, TExprWord* word) {
        RemoveWord(oldName);
        ReplaceFunction(word->Name, word);
    };
    replace("!", new TFunction("fact", &FactorialOf, 1));
    replace("div", new TFunction("div", &IntegerDivide, 2));
    replace("%", new TFunction("perc", &Percent, 1));
    replace("mod", new TFunction("%", &Modulo, 30, true, 2));
    replace("or", new TBooleanFunction("||", &LogicalOr, 70, true, 2));
    replace("and", new TBooleanFunction("&&", &LogicalAnd, 70, true, 2));
    replace("=", new TBooleanFunction("==", &Equal, 50, true, 2));
    replace(":=", new TFunction("=", &Assign, 200, true, 2));
    replace("<>", new TBooleanFunction("!=", &NotEqual, 50, true, 2));
    replace("not", new TBooleanFunction("!", &LogicalNot, 60, true, 1));
}
