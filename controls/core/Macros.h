#pragma once
// Named macros of a string holder: a collection of name/value pairs, with the parser that finds
// macro references ("%name") in a text.

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "controls/core/MacroValue.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Object.h"

// A macro name that is taken already, or a macro that is not there.
class EMacroError : public Exception {
    using Exception::Exception;
};

class TMacros;

// Lets a handler rewrite the text of a macro before it is inserted.
using TMacroTextEvent = std::function<void(TObject* Sender, AnsiString& Text)>;

class TMacro : public TPersistent {
public:
    // Use TMacros::Add or CreateMacro; a macro belongs to one collection.
    explicit TMacro(TMacros* collection) : collection_(collection) {}

    TMacros* Collection() const { return collection_; }
    int Index() const;

    const AnsiString& Name() const { return name_; }
    // EMacroError when another macro of the collection has that name (compared without regard
    // to case).
    void SetName(const AnsiString& value);
    const TMacroValue& Value() const { return value_; }
    void SetValue(const TMacroValue& value) { value_ = value; }
    const TMacroValue& AsVariant() const { return value_; }
    void SetAsVariant(const TMacroValue& value) { value_ = value; }

    // The value as text, then OnGetText may change it.
    AnsiString GetText();
    void Clear() { value_ = TMacroValue(); }
    bool IsEqual(const TMacro* other) const;
    // Copies name and value of another macro.
    void Assign(TPersistent* source) override;

    TMacroTextEvent OnGetText;

private:
    friend class TMacros;
    TMacros* collection_;
    AnsiString name_;
    TMacroValue value_;
};

class TMacros : public TPersistent {
public:
    TMacros() = default;
    TMacros(const TMacros&) = delete;
    TMacros& operator=(const TMacros&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    // EListError for an index out of range.
    TMacro* Items(int index) const;
    TMacro* Add();
    void Delete(int index);
    void Clear() { items_.clear(); }

    // Position of the macro of that name (without regard to case), -1 when absent.
    int IndexOf(std::string_view name) const;
    TMacro* FindMacro(std::string_view name) const;
    // EMacroError when absent.
    TMacro* MacroByName(std::string_view name) const;
    // Adds a macro of that name (EMacroError when there is one already).
    TMacro* CreateMacro(const AnsiString& name);
    // Copies the values of the macros that both collections have.
    void AssignValues(const TMacros* other);
    // Appends to `list` the macro of each name of a ';'-separated list (names trimmed);
    // EMacroError for a name that is absent.
    void GetMacroList(std::vector<TMacro*>& list, std::string_view names) const;
    bool IsEqual(const TMacros* other) const;
    // The names of the macro references in text, in order of first appearance: specialChar
    // starts a name outside quotes, a doubled specialChar is a literal one. With doCreate, a
    // macro is added for every name the collection does not have.
    std::vector<AnsiString> ParseString(std::string_view text, bool doCreate, char specialChar);
    // One macro's value, or for a ';'-separated list an array of their values.
    TMacroValue GetMacroValue(std::string_view names) const;
    // One macro, or for a list each macro from the matching element of an array value
    // (EMacroError when the value is not an array long enough).
    void SetMacroValue(std::string_view names, const TMacroValue& value);

    // Copies every macro of another collection.
    void Assign(TPersistent* source) override;

private:
    std::vector<std::unique_ptr<TMacro>> items_;
};

// The characters that end a macro name: line ends, blank, ')', ',', ';' and '.'.
bool IsMacroNameDelimiter(char c);
