// Script function calls written "%name(args)": finding them in a text and running them.

#include "script/CallTail.h"
#include "script/ScriptNumbers.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"
#include "script/TimerRecords.h"
#include "script/Variables.h"
#include "script/Words.h"

namespace {

// A list is a variable whose Value holds items separated by ','. Values of lists are stored as
// text, so that a list of numbers is not cut down to its first item.
constexpr size_t MaxListValue = 32767;

enum class EFunction {
    Unknown,
    Random,
    AddList,
    DelList,
    IsInList,
    GetList,
    LenList,
    Case,
    Ttc,
    Rdir,
    LoopVal,
    Wi,
    Trim
};

struct TFunctionName {
    std::string_view Name;
    EFunction Function;
};

constexpr TFunctionName FunctionNames[] = {
    {"random", EFunction::Random},     {"addlist", EFunction::AddList}, {"dellist", EFunction::DelList},
    {"isinlist", EFunction::IsInList}, {"getlist", EFunction::GetList}, {"lenlist", EFunction::LenList},
    {"case", EFunction::Case},         {"ttc", EFunction::Ttc},         {"rdir", EFunction::Rdir},
    {"loopval", EFunction::LoopVal},   {"wi", EFunction::Wi},           {"trim", EFunction::Trim},
};

// The longest name above.
constexpr size_t MaxFunctionName = 8;
// The longest call text (name, '(' and arguments) a function is given; a longer call, or one
// whose result would grow the text past the executor's limit, stays as it is.
constexpr size_t MaxCallText = 32767;
// Call text one pass hands to functions at most: calls nested so that each returns its whole
// argument would otherwise copy the text once per level. Far beyond any script's line.
constexpr size_t CallTextBudget = 4 * TScriptState::MaxTextLength;

EFunction FunctionByName(std::string_view name)
{
    for (const TFunctionName& entry : FunctionNames)
        if (entry.Name == name)
            return entry.Function;
    return EFunction::Unknown;
}

}  // namespace

void TScriptState::SplitArgs(std::string_view text)
{
    ArgSlots.clear();
    ArgCount = 0;
    for (auto word = GetWord(text, ","); word; word = GetWord(",")) {
        ArgSlots.push_back({0, std::move(*word)});
        ++ArgCount;
    }
}

int32_t TScriptState::RandomBelow(int32_t n)
{
    if (n == 0)
        return 0;
    const int32_t r = static_cast<int32_t>(Random() & 0x7FFFFFFF);
    return r % n;  // r is never INT_MIN, so this is defined for every n
}

AnsiString TScriptState::CallFunction(std::string_view call)
{
    const size_t bracket = call.find('(');
    const EFunction function =
        bracket == std::string_view::npos ? EFunction::Unknown : FunctionByName(call.substr(0, bracket));
    const std::string_view args = function == EFunction::Unknown ? std::string_view() : call.substr(bracket + 1);
    auto arg = [this](int i) -> AnsiString {
        return i < ArgCount ? ArgSlots[static_cast<size_t>(i)].Text : AnsiString();
    };
    // Takes a list apart into the argument slots; false when it holds no items.
    auto splitList = [this](const AnsiString& name) {
        auto value = ReadVariable(VariableList, name);
        if (!value || value->empty())
            return false;
        SplitArgs(*value);
        return true;
    };

    switch (function) {
    case EFunction::Random: {
        AnsiString expanded(args);
        ExpandVariables(expanded);
        SplitArgs(expanded);
        if (ArgCount == 0)
            return {};
        const int32_t a = ReadInt(arg(0));
        const int32_t b = ArgCount >= 2 ? ReadInt(arg(1)) : -1;
        int32_t n;
        if (b == -1)
            n = WrapAdd(RandomBelow(a), 1);
        else if (b == 0)
            n = WrapAdd(WrapAdd(RandomBelow(WrapSub(2147483647, a)), a), 1);
        else {
            const int32_t d = WrapSub(a, b);
            n = WrapAdd(RandomBelow(d < 0 ? WrapNeg(d) : d), a < b ? a : b);
        }
        return IntToStr(n);
    }
    case EFunction::AddList: {
        SplitArgs(args);
        const AnsiString list = arg(0), item = arg(1);
        auto value = ReadVariable(VariableList, list);
        const AnsiString joined = !value || value->empty() ? item : *value + "," + item;
        // The separator counts too: no list value grows beyond the limit.
        if (value && joined.size() > MaxListValue)
            return {};
        // A new list is text, so "5" stays the list "5"; an existing variable keeps its type.
        SetVariable(VariableList, list, joined, "", value ? 0 : 'S');
        return {};
    }
    case EFunction::DelList: {
        SplitArgs(args);
        const AnsiString list = arg(0), item = arg(1);
        if (!splitList(list))
            return {};
        bool removed = false;
        AnsiString rebuilt;
        for (int i = 0; i < ArgCount; ++i) {
            const AnsiString& piece = ArgSlots[static_cast<size_t>(i)].Text;
            if (!removed && piece == item) {
                removed = true;
                continue;
            }
            if (piece.empty())
                continue;
            if (!rebuilt.empty())
                rebuilt += ',';
            rebuilt += piece;
        }
        SetVariable(VariableList, list, rebuilt, "", 0);
        return {};
    }
    case EFunction::IsInList: {
        SplitArgs(ExpandVariablesCopy(AnsiString(args)));
        const AnsiString list = arg(0), item = arg(1);
        if (!splitList(list))
            return {};
        for (int i = 0; i < ArgCount; ++i)
            if (ArgSlots[static_cast<size_t>(i)].Text == item)
                return "1";
        return "0";
    }
    case EFunction::GetList: {
        SplitArgs(args);
        const AnsiString list = arg(0);
        const int32_t n = ReadInt(arg(1));
        if (!splitList(list) || n < 1 || n > ArgCount)
            return {};
        return arg(n - 1);
    }
    case EFunction::LenList:
        SplitArgs(args);
        if (!splitList(arg(0)))
            return {};
        return IntToStr(ArgCount);
    case EFunction::Case: {
        AnsiString expanded(args);
        ExpandVariables(expanded);
        SplitArgs(expanded);
        const int32_t n = ReadInt(arg(0));
        if (n < 1 || n >= ArgCount)
            return {};
        return arg(n);
    }
    case EFunction::Ttc:
        if (const cTimer* timer = FindUserTimer(TimerRecList, args))
            return IntToStr(timer->Countdown);
        return {};
    case EFunction::Rdir: return ReverseDirection(args);
    case EFunction::LoopVal: return IntToStr(LoopValue);
    case EFunction::Wi: return IntToStr(WalkRec.Current);
    case EFunction::Trim: return Trim(args);
    case EFunction::Unknown: break;
    }
    FunctionKnown = 0;
    return {};
}

bool TScriptState::ExpandFunctionCall(TCallTail& tail, TCallLimits& limits)
{
    TCallTail::TCall call;
    if (!tail.NextCall(call))
        return false;
    // Only a known name is worth copying the call for: an unknown one leaves the text as it is.
    if (call.Open > MaxFunctionName || FunctionByName(tail.Text(0, call.Open)) == EFunction::Unknown)
        return false;
    if (call.Close > MaxCallText || call.Close > limits.Budget) {
        limits.Cut = true;
        return false;
    }
    limits.Budget -= call.Close;
    FunctionKnown = 1;
    const AnsiString result = CallFunction(tail.Text(0, call.Close));
    if (FunctionKnown != 1)
        return false;
    if (tail.Size() - (call.Close + 1) + result.size() > limits.Room) {
        limits.Cut = true;
        return false;
    }
    tail.Pop(call.Close + 1);
    tail.PushText(result);
    return true;
}

void TScriptState::ExpandFunctions(AnsiString& text)
{
    if (text.find('%') == AnsiString::npos)
        return;
    // Right to left, so calls inside another call's arguments are expanded before it; what a
    // call returns is not searched for further calls.
    TCallTail tail(text.size());
    TCallLimits limits{0, CallTextBudget, false};
    for (size_t i = text.size(); i-- > 0;) {
        limits.Room = MaxTextLength > i ? MaxTextLength - i : 0;
        if (text[i] != '%' || !ExpandFunctionCall(tail, limits))
            tail.Push(text[i]);
    }
    text = tail.Text();
    if (limits.Cut)
        PutDirectString(ScriptText::TextTooLong);
}

AnsiString TScriptState::ExpandFunctionsCopy(const AnsiString& text)
{
    AnsiString copy = text;
    ExpandFunctions(copy);
    return copy;
}
