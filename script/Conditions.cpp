// "#if": choosing a group by a condition, and the condition evaluator (infix to a postfix queue,
// then a stack evaluation).

#include <cstring>
#include <vector>

#include "script/ScriptNumbers.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"
#include "script/Variables.h"
#include "script/Words.h"

namespace {

enum Code {
    Marker = 0,
    Or = 1,
    And = 2,
    Less = 3,
    Greater = 4,
    Equal = 5,
    LessEqual = 6,
    GreaterEqual = 7,
    NotEqual = 8,
    Plus = 9,
    Minus = 10,
    Times = 11,
    Divide = 12,
    Not = 13,
    Close = 14,
    Open = 15,
    Number = 16,
    Text = 17,
    End = 19,
    Invalid = 20,
};

// Limits of the evaluator's stacks: the operator stack holds the marker and 49 more, the output
// queue 49 entries.
constexpr size_t MaxOperators = 50;
constexpr size_t MaxQueue = 49;

struct Entry {
    int Code = Marker;
    int32_t Value = 0;  // a number
    AnsiString Str;     // a text
};

Entry Op(int code)
{
    Entry e;
    e.Code = code;
    return e;
}

int ClassOf(int code)
{
    switch (code) {
    case Or: return 1;
    case And: return 2;
    case Plus:
    case Minus: return 9;
    case Times:
    case Divide: return 11;
    case Not: return 13;
    default: return 3;  // comparisons
    }
}

struct Operator {
    const char* Text;
    int Code;
};

// Each two-character operator comes before the one-character operator it begins with.
constexpr Operator Operators[] = {
    {"+", Plus},       {"-", Minus},         {"*", Times},     {"/", Divide},  {"<=", LessEqual}, {">=", GreaterEqual},
    {"=<", LessEqual}, {"=>", GreaterEqual}, {"!=", NotEqual}, {">", Greater}, {"<", Less},       {"==", Equal},
    {"=", Equal},      {"!", Not},           {"|", Or},        {"&", And},     {"(", Open},       {")", Close},
};

int CompareBytes(const AnsiString& a, const AnsiString& b)
{
    const size_t n = std::min(a.size(), b.size());
    const int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
    if (c != 0)
        return c;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// Applies a comparison to the result of a three-way compare.
bool Compare(int code, int c)
{
    switch (code) {
    case Less: return c < 0;
    case Greater: return c > 0;
    case Equal: return c == 0;
    case LessEqual: return c <= 0;
    case GreaterEqual: return c >= 0;
    default: return c != 0;  // NotEqual
    }
}

// A number from an operand of either kind: a text reads as a decimal number.
int32_t AsNumber(const Entry& e) { return e.Code == Text ? ReadInt(e.Str) : e.Value; }
// A text from an operand of either kind: a number is written in decimal.
AnsiString AsText(const Entry& e) { return e.Code == Text ? e.Str : IntToStr(e.Value); }

// Applies an operator; false when it cannot be applied.
bool Apply(int code, const Entry& left, const Entry& right, int32_t& result)
{
    if (right.Code == Text) {
        switch (code) {
        case Or:
        case And: result = 1; return true;
        case Not: result = 0; return true;
        case Plus:
        case Minus:
        case Times:
        case Divide: return false;
        default: result = Compare(code, CompareBytes(AsText(left), right.Str)) ? 1 : 0; return true;
        }
    }
    const int32_t r = right.Value;
    const int32_t l = AsNumber(left);
    switch (code) {
    case Or: result = (l != 0 || r != 0) ? 1 : 0; return true;
    case And: result = (l != 0 && r != 0) ? 1 : 0; return true;
    case Plus: result = WrapAdd(l, r); return true;
    case Minus: result = WrapSub(l, r); return true;
    case Times: result = WrapMul(l, r); return true;
    case Divide:
        if (r == 0)
            return false;
        result = WrapDiv(l, r);
        return true;
    case Not: result = r == 0 ? 1 : 0; return true;
    default: result = Compare(code, l < r ? -1 : l > r ? 1 : 0) ? 1 : 0; return true;
    }
}

size_t GroupStart(const AnsiString& text, size_t from)
{
    for (size_t i = from; i < text.size(); ++i)
        if (text[i] == '{' && !(i > 0 && text[i - 1] == '\\'))
            return i;
    return AnsiString::npos;
}

}  // namespace

std::optional<AnsiString> TScriptState::SelectIfBranch(const AnsiString& text)
{
    const size_t thenOpen = GroupStart(text, 0);
    if (thenOpen == AnsiString::npos)
        return std::nullopt;
    const size_t thenClose = GroupEnd(text, thenOpen);
    if (thenClose == AnsiString::npos)
        return std::nullopt;
    std::optional<AnsiString> elseGroup;
    const size_t elseOpen = GroupStart(text, thenClose + 1);
    if (elseOpen != AnsiString::npos) {
        const size_t elseClose = GroupEnd(text, elseOpen);
        if (elseClose != AnsiString::npos)
            elseGroup = text.substr(elseOpen + 1, elseClose - elseOpen - 1);
    }

    // Only the condition's functions run here; the group that is taken runs its own.
    AnsiString condition = Trim(std::string_view(text).substr(0, thenOpen));
    ExpandFunctions(condition);
    bool error = false;
    if (EvalCondition(condition, error) != 0 && !error)
        return text.substr(thenOpen + 1, thenClose - thenOpen - 1);
    return elseGroup;
}

int32_t TScriptState::EvalCondition(const AnsiString& condition, bool& error)
{
    error = false;
    const AnsiString& s = condition;
    size_t p = 0;

    auto next = [&]() -> Entry {
        while (p < s.size() && s[p] == ' ')
            ++p;
        if (p >= s.size())
            return Op(End);
        if (s[p] == '"') {
            const size_t close = s.find('"', p + 1);
            const size_t end = close == AnsiString::npos ? s.size() : close;
            Entry e{Text, 0, s.substr(p + 1, end - p - 1)};
            p = close == AnsiString::npos ? s.size() : close + 1;
            return e;
        }
        if (s.compare(p, 2, "@(") == 0) {
            const size_t close = s.find(')', p + 2);
            const size_t end = close == AnsiString::npos ? s.size() : close;
            const AnsiString name = s.substr(p + 2, end - p - 2);
            p = close == AnsiString::npos ? s.size() : close + 1;
            char type = 0;
            auto value = ConditionVariable(VariableList, name, type);
            if (!value) {
                Host.ShowMessageBox(ScriptText::ErrorCaption,
                                    Format(ScriptText::MissingConditionVariable, CurrentLine.c_str(), name.c_str()));
                return {Text, 0, {}};
            }
            if (type == 'D')
                return {Number, ReadInt(*value), {}};
            return {Text, 0, *value};
        }
        if (s[p] == '%' && p + 1 < s.size() && IsDigit(s[p + 1]) && s[p + 1] - '0' < CaptureCount) {
            const cWordSlot& slot = CaptureSlots[static_cast<size_t>(s[p + 1] - '0')];
            p += 2;
            if (slot.Kind == 2)
                return {Number, ReadInt(slot.Text), {}};
            return {Text, 0, slot.Text};
        }
        if (IsDigit(s[p])) {
            const size_t start = p;
            while (p < s.size() && IsDigit(s[p]))
                ++p;
            return {Number, ReadInt(std::string_view(s).substr(start, p - start)), {}};
        }
        for (const Operator& op : Operators) {
            const size_t len = std::strlen(op.Text);
            if (s.compare(p, len, op.Text) == 0) {
                p += len;
                return Op(op.Code);
            }
        }
        return Op(Invalid);
    };

    // Infix to postfix.
    std::vector<Entry> stack{Op(Marker)};
    std::vector<Entry> queue;
    auto toQueue = [&](Entry e) {
        if (queue.size() >= MaxQueue)
            return false;
        queue.push_back(std::move(e));
        return true;
    };
    auto push = [&](Entry e) {
        if (stack.size() >= MaxOperators)
            return false;
        stack.push_back(std::move(e));
        return true;
    };
    auto fail = [&]() {
        error = true;
        return 0;
    };

    for (Entry token = next(); token.Code != End; token = next()) {
        switch (token.Code) {
        case Number:
        case Text:
            if (!toQueue(std::move(token)))
                return fail();
            break;
        case Open:
            if (!push(std::move(token)))
                return fail();
            break;
        case Close:
            while (stack.back().Code != Open) {
                if (stack.back().Code == Marker || !toQueue(stack.back()))
                    return fail();
                stack.pop_back();
            }
            stack.pop_back();
            break;
        case Invalid: return fail();
        default: {
            const int cls = ClassOf(token.Code);
            while (stack.back().Code != Open && stack.back().Code != Marker && stack.back().Code >= cls) {
                if (!toQueue(stack.back()))
                    return fail();
                stack.pop_back();
            }
            if (!push(std::move(token)))
                return fail();
        }
        }
    }
    // Operators left when the condition ends are applied too, so a condition without outer
    // parentheses is evaluated in full; an unclosed '(' is ignored.
    while (stack.back().Code != Marker) {
        if (stack.back().Code != Open && !toQueue(stack.back()))
            return fail();
        stack.pop_back();
    }

    // Evaluation, with the operator stack reused as the value stack.
    for (Entry& e : queue) {
        if (e.Code == Number || e.Code == Text) {
            stack.push_back(std::move(e));
            continue;
        }
        const size_t needed = e.Code == Not ? 1 : 2;
        if (stack.size() < needed + 1)
            return fail();  // never read below the marker
        Entry right = std::move(stack.back());
        stack.pop_back();
        Entry left;
        if (e.Code != Not) {
            left = std::move(stack.back());
            stack.pop_back();
        }
        int32_t result = 0;
        if (!Apply(e.Code, left, right, result))
            return fail();
        stack.push_back({Number, result, {}});
    }
    const Entry& top = stack.back();
    if (top.Code == Text)
        return top.Str.empty() ? 0 : 1;
    return top.Value;
}
