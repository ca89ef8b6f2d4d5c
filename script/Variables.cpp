// Variables and their expansion written "@(name)".

#include "script/Variables.h"

#include <algorithm>

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

namespace {

// The text "@(name)" stands for: a user variable's value, else a system variable's, else nothing.
// Values are not copied; scratch holds one that has to be made.
std::string_view ReferenceValue(const TScriptState& s, std::string_view name, AnsiString& scratch)
{
    if (const cVariables* v = FindVariable(s.VariableList, name))
        return v->Value;
    if (name == ScriptText::CurrentLineName)
        return s.CurrentLine;
    if (name == ScriptText::LastLineName)
        return s.LastLine;
    if (name == ScriptText::WalkIndexName)
        return scratch = IntToStr(s.WalkRec.Current);
    return {};
}

// Hands emit the pieces of text in order: the runs between references as they are (value false)
// and each reference's value (value true); the ')' of a reference is dropped, and one left open
// runs to the end. Stops, returning false, when emit does.
template <class Emit>
bool ForEachExpandedPiece(const TScriptState& s, std::string_view text, Emit&& emit)
{
    AnsiString scratch;
    for (size_t i = 0; i < text.size();) {
        const size_t at = std::min(text.find("@(", i), text.size());
        if (at > i && !emit(text.substr(i, at - i), false))
            return false;
        if (at == text.size())
            break;
        const size_t end = std::min(text.find(')', at + 2), text.size());
        if (!emit(ReferenceValue(s, text.substr(at + 2, end - at - 2), scratch), true))
            return false;
        i = end + 1;
    }
    return true;
}

}  // namespace

void TScriptState::ExpandVariables(AnsiString& text)
{
    if (text.find('@') == AnsiString::npos)
        return;
    AnsiString out;
    out.reserve(text.size());
    bool cut = false;
    ForEachExpandedPiece(*this, text, [&](std::string_view piece, bool value) {
        // A value that would grow the text past the limit is left out, and the user told.
        if (value && out.size() + piece.size() > MaxTextLength)
            cut = true;
        else
            out += piece;
        return true;
    });
    text = std::move(out);
    if (cut)
        PutDirectString(ScriptText::TextTooLong);
}

bool TScriptState::ExpandVariablesWithin(AnsiString& text, size_t limit)
{
    if (text.find('@') == AnsiString::npos)
        return text.size() <= limit;
    AnsiString out;
    out.reserve(std::min(text.size(), limit + 1));
    // The text only grows from here on, so the first byte past the limit decides; no more of a
    // long value than that byte is ever copied.
    const bool within = ForEachExpandedPiece(*this, text, [&](std::string_view piece, bool) {
        out.append(piece.substr(0, limit + 1 - out.size()));
        return out.size() <= limit;
    });
    if (within)
        text = std::move(out);
    return within;
}

AnsiString TScriptState::ExpandVariablesCopy(const AnsiString& text)
{
    AnsiString copy = text;
    ExpandVariables(copy);
    return copy;
}
