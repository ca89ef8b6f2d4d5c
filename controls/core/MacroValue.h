#pragma once
// The value of a macro: empty until assigned, then a text, a number, a Boolean or an array of
// values (several macros read or written at once), as the framework's variants hold them.

#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/core/AnsiString.h"

class TMacroValue {
public:
    using Array = std::vector<TMacroValue>;

    TMacroValue() = default;
    TMacroValue(const char* s) : value_(AnsiString(s)) {}
    TMacroValue(std::string_view s) : value_(AnsiString(s)) {}
    TMacroValue(AnsiString s) : value_(std::move(s)) {}
    TMacroValue(int v) : value_(int64_t{v}) {}
    TMacroValue(int64_t v) : value_(v) {}
    TMacroValue(double v) : value_(v) {}
    TMacroValue(bool v) : value_(v) {}
    TMacroValue(Array a) : value_(std::move(a)) {}

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool IsArray() const { return std::holds_alternative<Array>(value_); }
    // EConvertError when the value is not an array.
    const Array& AsArray() const;
    // Numbers as the framework writes them, Booleans as "True" and "False", empty as "";
    // EConvertError for an array.
    AnsiString AsString() const;

    bool operator==(const TMacroValue& other) const { return value_ == other.value_; }

private:
    std::variant<std::monostate, int64_t, double, bool, AnsiString, Array> value_;
};
