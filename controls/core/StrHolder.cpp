#include "controls/core/StrHolder.h"

#include <algorithm>
#include <optional>

#include "controls/core/StrChars.h"

using strchars::Len;

TStrHolder::TStrHolder(TComponent* AOwner)
    : TComponent(AOwner), strings_(std::make_unique<TStringList>()), macros_(std::make_unique<TMacros>())
{
    strings_->OnChange = [this](TObject*) { StringsChanged(); };
    strings_->OnChanging = [this](TObject*) { StringsChanging(); };
}

TStrHolder::~TStrHolder()
{
    strings_->OnChange = nullptr;
    strings_->OnChanging = nullptr;
}

bool TStrHolder::Reading() const { return readingStrData_ || InState(csReading) || InState(csLoading); }

void TStrHolder::StringsChanging()
{
    if (!Reading())
        Changing();
}

void TStrHolder::StringsChanged()
{
    if (Reading())
        return;
    macros_->ParseString(strings_->Text(), true, macroChar_);
    Changed();
}

void TStrHolder::Changed()
{
    if (OnChange) {
        TNotifyEvent handler = OnChange;
        handler(this);
    }
}

void TStrHolder::Changing()
{
    if (OnChanging) {
        TNotifyEvent handler = OnChanging;
        handler(this);
    }
}

void TStrHolder::BeforeExpandMacros()
{
    if (OnExpandMacros) {
        TNotifyEvent handler = OnExpandMacros;
        handler(this);
    }
}

void TStrHolder::SetMacroChar(char value)
{
    if (value == macroChar_)
        return;
    macroChar_ = value;
    if (!Reading())
        macros_->ParseString(strings_->Text(), true, macroChar_);
}

AnsiString TStrHolder::ExpandMacros()
{
    BeforeExpandMacros();
    AnsiString result = strings_->Text();
    for (int i = macros_->Count() - 1; i >= 0; i = std::min(i - 1, macros_->Count() - 1)) {
        TMacro* macro = macros_->Items(i);
        if (macro->Value().IsEmpty())
            continue;
        const AnsiString ref = AnsiString(1, macroChar_) + macro->Name();
        // Taken at the first replacement; the macro is not touched after that, since its
        // OnGetText handler may change the collection.
        std::optional<AnsiString> text;
        size_t quotes = 0, countedTo = 0;
        size_t at = 0;
        while (at < result.size()) {
            if (!strchars::MatchAt(result, at, ref)) {
                at += Len(result, at);
                continue;
            }
            for (; countedTo < at; countedTo += Len(result, countedTo))
                if (result[countedTo] == '\'' || result[countedTo] == '"')
                    ++quotes;
            if (quotes % 2 != 0)
                break;  // inside quotes: this macro is finished
            size_t after = at + ref.size();
            if (after < result.size() && !IsMacroNameDelimiter(result[after])) {
                at += Len(result, at);  // a longer name; a later reference may still count
                continue;
            }
            if (!text)
                text = macro->GetText();
            result.replace(at, ref.size(), *text);
            at += text->size();
        }
    }
    return result;
}

void TStrHolder::Assign(TPersistent* Source)
{
    if (auto* strings = dynamic_cast<TStrings*>(Source)) {
        strings_->Assign(strings);
        return;
    }
    if (auto* holder = dynamic_cast<TStrHolder*>(Source)) {
        strings_->Assign(holder->strings_.get());
        return;
    }
    TComponent::Assign(Source);
}

void TStrHolder::AssignTo(TPersistent* Dest)
{
    if (auto* strings = dynamic_cast<TStrings*>(Dest)) {
        strings->Assign(strings_.get());
        return;
    }
    TComponent::AssignTo(Dest);
}

void TStrHolder::WriteStrData(TStrings& data) const
{
    data.BeginUpdate();
    data.Clear();
    data.Add(keyString_);
    for (int i = 0; i < strings_->Count(); ++i)
        data.Add(XorEncode(keyString_, strings_->Strings(i)));
    data.EndUpdate();
}

void TStrHolder::ReadStrData(const TStrings& data)
{
    readingStrData_ = true;
    try {
        keyString_ = data.Count() > 0 ? data.Strings(0) : AnsiString();
        strings_->BeginUpdate();
        strings_->Clear();
        for (int i = 1; i < data.Count(); ++i) {
            AnsiString line = data.Strings(i);
            strings_->Add(internalVer_ >= 1 ? XorDecode(keyString_, line) : XorString(keyString_, line));
        }
        strings_->EndUpdate();
    } catch (...) {
        strings_->EndUpdate();
        readingStrData_ = false;
        throw;
    }
    readingStrData_ = false;
}
