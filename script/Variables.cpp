// Variables and their expansion written "@(name)".

#include "script/Variables.h"

#include "script/ScriptNumbers.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"

namespace {

AnsiString NormalisedInt(std::string_view text) { return IntToStr(ReadInt(text)); }

void Normalise(cVariables& v)
{
    if (v.Type == 'D') {
        v.Value = NormalisedInt(v.Value);
        v.Dvalue = NormalisedInt(v.Dvalue);
    }
}

}  // namespace

char TypeOfValue(std::string_view value) { return !value.empty() && IsDigit(value[0]) ? 'D' : 'S'; }

cVariables* FindVariable(const TVariableList& list, std::string_view name)
{
    return list.FindByName(name, &cVariables::Name);
}

std::optional<AnsiString> LookupVariable(const TVariableList& list, std::string_view name)
{
    if (const cVariables* v = FindVariable(list, name))
        return v->Value;
    return std::nullopt;
}

void SetVariable(TVariableList& list, std::string_view name, std::string_view value, std::string_view defaultValue,
                 char type)
{
    cVariables* v = FindVariable(list, name);
    if (!v) {
        v = list.Add(std::make_unique<cVariables>());
        v->Name = AnsiString(name);
        v->Type = TypeOfValue(value);
        v->Dvalue = AnsiString(defaultValue);
    }
    v->Value = AnsiString(value);
    if (type != 0)
        v->Type = type;
    Normalise(*v);
}

void SetVariableValue(TVariableList& list, std::string_view name, std::string_view value)
{
    if (cVariables* v = FindVariable(list, name)) {
        v->Value = AnsiString(value);
        Normalise(*v);
    }
}

void DeleteVariable(TVariableList& list, std::string_view name) { list.Remove(FindVariable(list, name)); }

std::optional<AnsiString> ReadVariable(TVariableList& list, std::string_view name)
{
    cVariables* v = FindVariable(list, name);
    if (!v)
        return std::nullopt;
    v->ReturnText = v->Value;
    return v->ReturnText;
}

std::optional<AnsiString> ConditionVariable(TVariableList& list, std::string_view name, char& type)
{
    cVariables* v = FindVariable(list, name);
    if (!v) {
        type = 0;
        return std::nullopt;
    }
    type = v->Type;
    v->ReturnText = v->Value;
    return v->ReturnText;
}

void ResetVariable(TVariableList& list, std::string_view name)
{
    if (cVariables* v = FindVariable(list, name))
        v->Value = v->Dvalue;
}

std::optional<AnsiString> ComputeVariable(TScriptState& state, TVariableList& list, std::string_view name,
                                          std::string_view extra, std::string_view expression)
{
    cVariables* v = FindVariable(list, name);
    if (!v)
        return std::nullopt;
    if (v->Type == 'S') {
        v->Value = AnsiString(expression) + AnsiString(extra);
    } else {
        int status = 0;
        const double value = state.EvalArithmetic(AnsiString(expression), status);
        if (status == 1)
            v->Value = IntToStr(SaturateToInt(value));
    }
    v->ReturnText = v->Value;
    return v->ReturnText;
}

void TScriptState::ExpandVariables(AnsiString& text)
{
    if (text.find('@') == AnsiString::npos)
        return;
    AnsiString out;
    out.reserve(text.size());
    bool cut = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '@' || i + 1 >= text.size() || text[i + 1] != '(') {
            out += text[i];
            continue;
        }
        const size_t close = text.find(')', i + 2);
        const size_t end = close == AnsiString::npos ? text.size() : close;
        const std::string_view name = std::string_view(text).substr(i + 2, end - i - 2);
        AnsiString value;
        if (auto user = LookupVariable(VariableList, name))
            value = std::move(*user);
        else if (name == ScriptText::CurrentLineName)
            value = CurrentLine;
        else if (name == ScriptText::LastLineName)
            value = LastLine;
        else if (name == ScriptText::WalkIndexName)
            value = IntToStr(WalkRec.Current);
        // A value that would grow the text past the limit is left out, and the user told.
        if (out.size() + value.size() <= MaxTextLength)
            out += value;
        else
            cut = true;
        i = end;  // the ')' is dropped
    }
    text = std::move(out);
    if (cut)
        PutDirectString(ScriptText::TextTooLong);
}

AnsiString TScriptState::ExpandVariablesCopy(const AnsiString& text)
{
    AnsiString copy = text;
    ExpandVariables(copy);
    return copy;
}
