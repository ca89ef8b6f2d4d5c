#include "controls/core/MacroValue.h"

#include "platform/core/Exceptions.h"

const TMacroValue::Array& TMacroValue::AsArray() const
{
    if (const Array* a = std::get_if<Array>(&value_))
        return *a;
    throw EConvertError("Invalid variant type conversion");
}

AnsiString TMacroValue::AsString() const
{
    struct Visitor {
        AnsiString operator()(std::monostate) const { return AnsiString(); }
        AnsiString operator()(int64_t v) const { return IntToStr(v); }
        // "." before the decimals, whatever the desktop's locale.
        AnsiString operator()(double v) const { return Format("%.15G", v); }
        AnsiString operator()(bool v) const { return v ? "True" : "False"; }
        AnsiString operator()(const AnsiString& v) const { return v; }
        AnsiString operator()(const Array&) const
        {
            throw EConvertError("Could not convert variant of type (Array) into type (String)");
        }
    };
    return std::visit(Visitor{}, value_);
}
