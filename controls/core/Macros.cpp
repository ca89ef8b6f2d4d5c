#include "controls/core/Macros.h"

#include "controls/core/StrChars.h"

using strchars::Len;

namespace {

bool IsQuote(char c) { return c == '\'' || c == '"'; }

}  // namespace

bool IsMacroNameDelimiter(char c)
{
    return c == '\n' || c == '\r' || c == ' ' || c == ')' || c == ',' || c == ';' || c == '.';
}

int TMacro::Index() const
{
    for (int i = 0; i < collection_->Count(); ++i)
        if (collection_->Items(i) == this)
            return i;
    return -1;
}

void TMacro::SetName(const AnsiString& value)
{
    if (value == name_)
        return;
    TMacro* other = collection_ ? collection_->FindMacro(value) : nullptr;
    if (other && other != this)
        throw EMacroError("Duplicate macro name '" + value + "'");
    name_ = value;
}

AnsiString TMacro::GetText()
{
    AnsiString text = value_.AsString();
    if (OnGetText) {
        TMacroTextEvent handler = OnGetText;
        handler(this, text);
    }
    return text;
}

bool TMacro::IsEqual(const TMacro* other) const
{
    return other && SameText(name_, other->name_) && value_ == other->value_;
}

void TMacro::Assign(TPersistent* source)
{
    if (auto* macro = dynamic_cast<TMacro*>(source)) {
        if (macro == this)
            return;
        SetName(macro->name_);
        value_ = macro->value_;
        return;
    }
    TPersistent::Assign(source);
}

TMacro* TMacros::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(Format("List index out of bounds (%d)", index));
    return items_[static_cast<size_t>(index)].get();
}

TMacro* TMacros::Add()
{
    items_.push_back(std::make_unique<TMacro>(this));
    return items_.back().get();
}

void TMacros::Delete(int index)
{
    Items(index);  // checks the index
    items_.erase(items_.begin() + index);
}

int TMacros::IndexOf(std::string_view name) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (SameText(items_[i]->Name(), name))
            return static_cast<int>(i);
    return -1;
}

TMacro* TMacros::FindMacro(std::string_view name) const
{
    int i = IndexOf(name);
    return i < 0 ? nullptr : items_[static_cast<size_t>(i)].get();
}

TMacro* TMacros::MacroByName(std::string_view name) const
{
    if (TMacro* macro = FindMacro(name))
        return macro;
    throw EMacroError("Macro '" + AnsiString(name) + "' not found");
}

TMacro* TMacros::CreateMacro(const AnsiString& name)
{
    if (FindMacro(name))
        throw EMacroError("Duplicate macro name '" + name + "'");
    TMacro* macro = Add();
    macro->SetName(name);
    return macro;
}

void TMacros::AssignValues(const TMacros* other)
{
    if (!other || other == this)
        return;
    for (const auto& source : other->items_)
        if (TMacro* macro = FindMacro(source->Name()))
            macro->SetValue(source->Value());
}

void TMacros::GetMacroList(std::vector<TMacro*>& list, std::string_view names) const
{
    size_t start = 0;
    while (start <= names.size()) {
        size_t end = names.find(';', start);
        if (end == std::string_view::npos)
            end = names.size();
        AnsiString name = Trim(names.substr(start, end - start));
        if (!name.empty())
            list.push_back(MacroByName(name));
        start = end + 1;
    }
}

bool TMacros::IsEqual(const TMacros* other) const
{
    if (!other || other->Count() != Count())
        return false;
    for (size_t i = 0; i < items_.size(); ++i)
        if (!items_[i]->IsEqual(other->items_[i].get()))
            return false;
    return true;
}

std::vector<AnsiString> TMacros::ParseString(std::string_view text, bool doCreate, char specialChar)
{
    std::vector<AnsiString> names;
    bool quoted = false;
    size_t i = 0;
    while (i < text.size()) {
        size_t n = Len(text, i);
        if (n == 2) {
            i += 2;
            continue;
        }
        char c = text[i];
        if (IsQuote(c)) {
            quoted = !quoted;
            ++i;
            continue;
        }
        if (quoted || c != specialChar) {
            ++i;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == specialChar) {
            i += 2;  // a literal macro character
            continue;
        }
        // A name runs to the next delimiter outside quotes; its quotes are not part of it.
        AnsiString name;
        bool nameQuoted = false;
        ++i;
        while (i < text.size()) {
            size_t len = Len(text, i);
            if (len == 1 && IsQuote(text[i])) {
                nameQuoted = !nameQuoted;
            } else if (len == 1 && !nameQuoted && IsMacroNameDelimiter(text[i])) {
                break;
            } else {
                name.append(text.substr(i, len));
            }
            i += len;
        }
        if (name.empty())
            continue;
        bool seen = false;
        for (const AnsiString& known : names)
            seen = seen || SameText(known, name);
        if (!seen)
            names.push_back(name);
        if (doCreate && !FindMacro(name))
            CreateMacro(name);
    }
    return names;
}

namespace {

bool IsList(std::string_view names) { return names.find(';') != std::string_view::npos; }

}  // namespace

TMacroValue TMacros::GetMacroValue(std::string_view names) const
{
    if (!IsList(names))
        return MacroByName(names)->Value();
    std::vector<TMacro*> list;
    GetMacroList(list, names);
    TMacroValue::Array values;
    for (TMacro* macro : list)
        values.push_back(macro->Value());
    return TMacroValue(std::move(values));
}

void TMacros::SetMacroValue(std::string_view names, const TMacroValue& value)
{
    if (!IsList(names)) {
        MacroByName(names)->SetValue(value);
        return;
    }
    std::vector<TMacro*> list;
    GetMacroList(list, names);
    if (!value.IsArray() || value.AsArray().size() < list.size())
        throw EMacroError("Too few values for the macros '" + AnsiString(names) + "'");
    for (size_t i = 0; i < list.size(); ++i)
        list[i]->SetValue(value.AsArray()[i]);
}

void TMacros::Assign(TPersistent* source)
{
    if (auto* other = dynamic_cast<TMacros*>(source)) {
        if (other == this)
            return;
        std::vector<std::unique_ptr<TMacro>> copies;
        for (const auto& macro : other->items_) {
            auto copy = std::make_unique<TMacro>(this);
            copy->name_ = macro->name_;  // distinct already in the source collection
            copy->value_ = macro->value_;
            copy->OnGetText = macro->OnGetText;
            copies.push_back(std::move(copy));
        }
        items_ = std::move(copies);
        return;
    }
    TPersistent::Assign(source);
}
