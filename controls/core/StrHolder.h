#pragma once
// A non-visual holder of a string list: it keeps the lines, stores them scrambled with a key in
// its stored form, and expands named macros ("%name") in their text. The character window keeps
// its typed-line history in one.

#include <memory>
#include <string_view>

#include "controls/core/Macros.h"
#include "platform/core/Component.h"
#include "platform/core/StringList.h"

class TStrHolder : public TComponent {
public:
    explicit TStrHolder(TComponent* AOwner);
    ~TStrHolder() override;

    // The lines. Their changes reach OnChanging and OnChange, and every change looks for new
    // macro references in the text.
    TStringList* Strings() const { return strings_.get(); }
    void SetStrings(TStrings* value) { strings_->Assign(value); }
    const AnsiString& KeyString() const { return keyString_; }
    void SetKeyString(const AnsiString& value) { keyString_ = value; }
    char MacroChar() const { return macroChar_; }
    // A new macro character looks for the references it starts.
    void SetMacroChar(char value);
    TMacros* Macros() const { return macros_.get(); }
    void SetMacros(TMacros* value) { macros_->Assign(value); }

    int Capacity() const { return strings_->Capacity(); }
    void SetCapacity(int value) { strings_->SetCapacity(value); }
    AnsiString CommaText() const { return strings_->CommaText(); }
    void SetCommaText(std::string_view value) { strings_->SetCommaText(value); }
    TDuplicates Duplicates() const { return strings_->Duplicates(); }
    void SetDuplicates(TDuplicates value) { strings_->SetDuplicates(value); }
    bool Sorted() const { return strings_->Sorted(); }
    void SetSorted(bool value) { strings_->SetSorted(value); }
    void Clear() { strings_->Clear(); }

    int MacroCount() const { return macros_->Count(); }
    // EMacroError when absent.
    TMacro* MacroByName(std::string_view name) const { return macros_->MacroByName(name); }
    // The text of the lines with every macro that has a value replaced by its text: macros are
    // taken last to first; a reference counts when a name delimiter or the end of the text
    // follows it, and one inside quotes ends that macro's replacements. Replaced text is not
    // searched again.
    AnsiString ExpandMacros();

    // From a TStrings or another holder: copies the lines.
    void Assign(TPersistent* Source) override;

    // The stored form. "InternalVer" is written as kWrittenVer; the value read (0 for a form
    // without one) decides how "StrData" is decoded.
    static constexpr int kWrittenVer = 1;
    int InternalVer() const { return internalVer_; }
    void SetInternalVer(int value) { internalVer_ = value; }
    // "StrData": the key, then every line scrambled with it (XorEncode).
    void WriteStrData(TStrings& data) const;
    // Replaces key and lines from a "StrData" list, without change events or macro parsing.
    void ReadStrData(const TStrings& data);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;
    // Before every expansion.
    TNotifyEvent OnExpandMacros;

protected:
    // To a TStrings: copies the lines there.
    void AssignTo(TPersistent* Dest) override;
    virtual void Changed();
    virtual void Changing();
    virtual void BeforeExpandMacros();

private:
    bool Reading() const;
    void StringsChanged();
    void StringsChanging();

    std::unique_ptr<TStringList> strings_;
    std::unique_ptr<TMacros> macros_;
    AnsiString keyString_;
    char macroChar_ = '%';
    int internalVer_ = 0;
    bool readingStrData_ = false;
};
