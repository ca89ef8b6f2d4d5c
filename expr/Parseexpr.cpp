// The parser's public face: word registration, the compiled-expression list and the results.
#include "expr/Parseexpr.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

#include "expr/ExprMath.h"
#include "expr/ExprRoutines.h"
#include "expr/ExprTree.h"
#include "platform/core/FormatSettings.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TExpressionParser::TExpressionParser() : TExpressionParser(NoFill{}) { FillExpressList(); }

TExpressionParser::TExpressionParser(NoFill)
{
    DecimalSeparator = FormatSettings().DecimalSeparator;
    ArgSeparator = DecimalSeparator == ',' ? ';' : ',';
    Expressions.SetCaseSensitive(true);
}

TExpressionParser::~TExpressionParser()
{
    ClearExpressions();
    ReleaseRetired();
}

void TExpressionParser::AddWord(TExprWord* word)
{
    if (word && !WordsList.AddWord(word))
        delete word;
}

void TExpressionParser::RemoveWord(const AnsiString& name)
{
    AnsiString key = LowerCase(name);
    int index;
    if (!WordsList.Search(&key, index))
        return;
    TExprWord* word = WordsList.Words(index);
    WordsList.Delete(index);
    // Compiled lists point into the word; they go with it.
    ClearExpressions();
    if (EvaluationDepth > 0)
        RetiredWords.push_back(word);
    else
        delete word;
}

void TExpressionParser::FillExpressList()
{
    using namespace exprfn;
    AddWord(new TLeftBracket("("));
    AddWord(new TRightBracket(")"));
    AddWord(new TComma(AnsiString(1, ArgSeparator)));
    AddWord(new TDoubleConstant("pi", std::numbers::pi));
    AddWord(new TVaryingFunction("random", &Random, 0));

    AddWord(new TFunction("!", &FactorialOf, 10, true, 1));
    AddWord(new TFunction("%", &Percent, 10, true, 1));
    AddWord(new TFunction("-@", &Negate, 10, true, 1));
    AddWord(new TFunction("+@", &Identity, 10, true, 1));
    AddWord(new TFunction("^", &Power, 20, true, 2));
    AddWord(new TFunction("^@", &IntegerPower, 20, true, 2));
    AddWord(new TFunction("*", &Multiply, 30, true, 2));
    AddWord(new TFunction("/", &Divide, 30, true, 2));
    AddWord(new TFunction("div", &IntegerDivide, 30, true, 2));
    AddWord(new TFunction("mod", &Modulo, 30, true, 2));
    AddWord(new TFunction("+", &Add, 40, true, 2));
    AddWord(new TFunction("-", &Subtract, 40, true, 2));
    AddWord(new TBooleanFunction(">", &Greater, 50, true, 2));
    AddWord(new TBooleanFunction(">=", &GreaterOrEqual, 50, true, 2));
    AddWord(new TBooleanFunction("<=", &LessOrEqual, 50, true, 2));
    AddWord(new TBooleanFunction("<", &Less, 50, true, 2));
    AddWord(new TBooleanFunction("<>", &NotEqual, 50, true, 2));
    AddWord(new TBooleanFunction("=", &Equal, 50, true, 2));
    AddWord(new TBooleanFunction("not", &LogicalNot, 60, true, 1));
    AddWord(new TBooleanFunction("or", &BitwiseOr, 70, true, 2));
    AddWord(new TBooleanFunction("and", &BitwiseAnd, 70, true, 2));
    AddWord(new TBooleanFunction("xor", &BitwiseXor, 70, true, 2));
    AddWord(new TFunction(":=", &Assign, 200, true, 2));

    struct OneArg {
        const char* Name;
        TExprFunc Routine;
    };
    static const OneArg oneArg[] = {
        {"exp", &Exp},           {"sqr", &Sqr},         {"sqrt", &Sqrt},       {"abs", &Abs},
        {"round", &Round},       {"trunc", &Trunc},     {"ln", &Ln},           {"log10", &Log10},
        {"sin", &Sin},           {"cos", &Cos},         {"tan", &Tan},         {"arcsin", &ArcSin},
        {"arccos", &ArcCos},     {"sinh", &Sinh},       {"cosh", &Cosh},       {"tanh", &Tanh},
        {"arcsinh", &ArcSinh},   {"arccosh", &ArcCosh}, {"arctanh", &ArcTanh}, {"degtorad", &DegToRad},
        {"radtodeg", &RadToDeg},
    };
    for (const OneArg& f : oneArg)
        AddWord(new TFunction(f.Name, f.Routine, 1));
    AddWord(new TFunction("if", &If, 3));
    AddWord(new TVaryingFunction("randg", &RandG, 2));
    AddWord(new TFunction("logN", &LogN, 2));
    AddWord(new TFunction("power", &Power, 2));
    AddWord(new TFunction("pow", &Power, 2));
    AddWord(new TFunction("intpower", &IntPowerFunction, 2));
    AddWord(new TFunction("max", &Max, 2));
    AddWord(new TFunction("min", &Min, 2));
    AddWord(new TFunction("arctan2", &ArcTan2, 2));
}

void TExpressionParser::DefineVariable(const AnsiString& name, double* value)
{
    AddWord(new TDoubleVariable(name, value));
}

void TExpressionParser::DefineStringVariable(const AnsiString& name, AnsiString* value)
{
    AddWord(new TStringVariable(name, value));
}

void TExpressionParser::DefineFunction(const AnsiString& name, TExprFunc routine, int nargs)
{
    AddWord(new TFunction(name, routine, nargs));
}

void TExpressionParser::ReplaceFunction(const AnsiString& name, TExprWord* word)
{
    RemoveWord(name);
    if (word) {
        // A word whose name is still taken (it differs from name) replaces that one as well.
        RemoveWord(word->Name);
        AddWord(word);
    }
}

TCompiledExpression* TExpressionParser::Compiled(int index) const
{
    if (index < 0 || index >= Expressions.Count())
        return nullptr;
    return static_cast<TCompiledExpression*>(Expressions.Objects(index));
}

int TExpressionParser::AddExpression(const AnsiString& text)
{
    if (Trim(text).empty()) {
        CurrentIndex = -1;
        CurrentRec = nullptr;
        return -1;
    }
    auto found = ExpressionIndex.find(text);
    int index = found != ExpressionIndex.end() ? found->second : CompileExpression(text);
    CurrentIndex = index;
    CurrentRec = Compiled(index)->First;
    return index;
}

int TExpressionParser::CompileExpression(const AnsiString& text)
{
    TExprCollection words(16);
    ParseString(text, words);
    std::vector<TExprWord*> checked = CheckExpression(words);
    TExprTree tree(checked, text);
    TExprNode* root = tree.MakeTree();
    if (!tree.CheckArguments(root))
        throw EParserException("Syntax error: function or operand has too few arguments");
    if (Optimize)
        root = RemoveConstants(tree, root);
    std::unique_ptr<TCompiledExpression> list = MakeLinkedList(root);
    LastRec = list->Last;
    int index = Expressions.AddObject(text, list.get());
    list.release();
    ExpressionIndex[text] = index;
    return index;
}

double TExpressionParser::Evaluate(const AnsiString& text)
{
    if (AddExpression(text) < 0)
        return kNaN;
    return EvaluateCurrent();
}

double TExpressionParser::EvaluateCurrent() { return CurrentRec ? EvaluateList(CurrentRec) : kNaN; }

double TExpressionParser::GetResults(int index)
{
    TCompiledExpression* list = Compiled(index);
    return list ? EvaluateList(list->First) : kNaN;
}

bool TExpressionParser::IsBoolean(int index) const
{
    TCompiledExpression* list = Compiled(index);
    return list && list->Last && list->Last->ExprWord->GetVarType() == vtBoolean;
}

bool TExpressionParser::GetAsBoolean(int index)
{
    if (!IsBoolean(index))
        throw EParserException("Expression is not boolean");
    double value = GetResults(index);
    return !(value > -0.1 && value < 0.1);
}

AnsiString TExpressionParser::GetAsString(int index)
{
    double value = GetResults(index);
    if (IsBoolean(index)) {
        if (value > -0.1 && value < 0.1)
            return "False";
        if (value > 0.9 && value < 1.1)
            return "True";
    }
    // Written with the system's decimal separator, as the framework formats numbers.
    AnsiString text = FormatG10(value);
    for (char& c : text)
        if (c == '.')
            c = DecimalSeparator;
    return text;
}

AnsiString TExpressionParser::GetAsHexadecimal(int index)
{
    // A negative value shows its 64-bit two's complement.
    auto bits = static_cast<uint64_t>(RoundToInt64(GetResults(index)));
    char digits[17];
    char* end = std::to_chars(digits, digits + sizeof digits, bits, 16).ptr;
    return AnsiString(1, HexChar) + UpperCase(std::string_view(digits, end - digits));
}

AnsiString TExpressionParser::GetExpression(int index) const
{
    if (index < 0 || index >= Expressions.Count())
        return AnsiString();
    return Expressions.Strings(index);
}

int TExpressionParser::GetExprSize(int index) const
{
    TCompiledExpression* list = Compiled(index);
    int size = 0;
    for (TExpressionRec* rec = list ? list->First : nullptr; rec; rec = rec->Next)
        if (!rec->ExprWord->IsVariableOrConstant())
            ++size;
    return size;
}

void TExpressionParser::GetGeneratedVars(std::vector<TGeneratedVariable*>& list) const
{
    for (int i = 0; i < WordsList.Count(); ++i)
        if (auto* generated = dynamic_cast<TGeneratedVariable*>(WordsList.Words(i)))
            list.push_back(generated);
}

void TExpressionParser::ClearExpressions()
{
    for (int i = 0; i < Expressions.Count(); ++i) {
        auto* list = static_cast<TCompiledExpression*>(Expressions.Objects(i));
        if (EvaluationDepth > 0)
            RetiredLists.push_back(list);
        else
            delete list;
    }
    Expressions.Clear();
    ExpressionIndex.clear();
    CurrentIndex = -1;
    CurrentRec = nullptr;
    LastRec = nullptr;
}

void TExpressionParser::ReleaseRetired()
{
    for (TCompiledExpression* list : RetiredLists)
        delete list;
    RetiredLists.clear();
    for (TExprWord* word : RetiredWords)
        delete word;
    RetiredWords.clear();
}
