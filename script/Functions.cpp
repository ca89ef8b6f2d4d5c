// Script function calls written "%name(args)": finding them in a text and running them.

#include "script/ScriptNumbers.h"
#include "script/ScriptState.h"
#include "script/TimerRecords.h"
#include "script/Variables.h"
#include "script/Words.h"

namespace {

// A list is a variable whose Value holds items separated by ','. Values of lists are stored as
// text, so that a list of numbers is not cut down to its first item.
constexpr size_t MaxListValue = 32767;

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

    if (StartsWith(call, "random(")) {
        AnsiString args(After(call, 7));
        ExpandVariables(args);
        SplitArgs(args);
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
    if (StartsWith(call, "addlist(")) {
        SplitArgs(After(call, 8));
        const AnsiString list = arg(0), item = arg(1);
        auto value = ReadVariable(VariableList, list);
        const AnsiString joined = !value || value->empty() ? item : *value + "," + item;
        // The separator counts too: no list value grows beyond the limit.
        if (value && joined.size() > MaxListValue)
            return {};
        SetVariable(VariableList, list, joined, "", 'S');
        return {};
    }
    if (StartsWith(call, "dellist(")) {
        SplitArgs(After(call, 8));
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
        SetVariable(VariableList, list, rebuilt, "", 'S');
        return {};
    }
    if (StartsWith(call, "isinlist(")) {
        SplitArgs(ExpandVariablesCopy(AnsiString(After(call, 9))));
        const AnsiString list = arg(0), item = arg(1);
        if (!splitList(list))
            return {};
        for (int i = 0; i < ArgCount; ++i)
            if (ArgSlots[static_cast<size_t>(i)].Text == item)
                return "1";
        return "0";
    }
    if (StartsWith(call, "getlist(")) {
        SplitArgs(After(call, 8));
        const AnsiString list = arg(0);
        const int32_t n = ReadInt(arg(1));
        if (!splitList(list) || n < 1 || n > ArgCount)
            return {};
        return arg(n - 1);
    }
    if (StartsWith(call, "lenlist(")) {
        SplitArgs(After(call, 8));
        if (!splitList(arg(0)))
            return {};
        return IntToStr(ArgCount);
    }
    if (StartsWith(call, "case(")) {
        AnsiString args(After(call, 5));
        ExpandVariables(args);
        SplitArgs(args);
        const int32_t n = ReadInt(arg(0));
        if (n < 1 || n >= ArgCount)
            return {};
        return arg(n);
    }
    if (StartsWith(call, "ttc(")) {
        if (const cTimer* timer = FindUserTimer(TimerRecList, After(call, 4)))
            return IntToStr(timer->Countdown);
        return {};
    }
    if (StartsWith(call, "rdir("))
        return ReverseDirection(After(call, 5));
    if (StartsWith(call, "loopval("))
        return IntToStr(LoopValue);
    if (StartsWith(call, "wi("))
        return IntToStr(WalkRec.Current);
    if (StartsWith(call, "trim("))
        return Trim(After(call, 5));
    FunctionKnown = 0;
    return {};
}

void TScriptState::ExpandFunctionCall(AnsiString& text, size_t percent)
{
    const size_t open = text.find('(', percent + 1);
    if (open == AnsiString::npos)
        return;
    int depth = 0;
    size_t close = open;
    for (; close < text.size(); ++close) {
        if (text[close] == '(')
            ++depth;
        else if (text[close] == ')' && --depth == 0)
            break;
    }
    if (close >= text.size())
        return;
    FunctionKnown = 1;
    const AnsiString call = text.substr(percent + 1, close - percent - 1);
    AnsiString result = CallFunction(call);
    if (FunctionKnown == 1)
        text.replace(percent, close - percent + 1, result);
}

void TScriptState::ExpandFunctions(AnsiString& text)
{
    // Right-most first, so calls inside another call's arguments are expanded before it.
    size_t at = text.rfind('%');
    while (at != AnsiString::npos) {
        ExpandFunctionCall(text, at);
        if (at == 0)
            break;
        at = text.rfind('%', at - 1);
    }
}

AnsiString TScriptState::ExpandFunctionsCopy(const AnsiString& text)
{
    AnsiString copy = text;
    ExpandFunctions(copy);
    return copy;
}
