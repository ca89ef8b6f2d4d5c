#include "platform/core/Variant.h"

#include <cmath>
#include <limits>

#include "platform/core/DateFormat.h"
#include "platform/core/FloatFormat.h"

namespace {

// A text that reads as an integer or a floating point number, or is one that a value not
// finite is written as ("INF", "-INF", "NAN"), so that such a value reads back from its text.
bool TextToDouble(const AnsiString& text, double& value)
{
    int64_t whole = 0;
    AnsiString t = Trim(text);
    bool negative = !t.empty() && t[0] == '-';
    size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    if (i < t.size() && t.find_first_not_of("0123456789", i) == AnsiString::npos && t.size() - i <= 18) {
        for (; i < t.size(); ++i)
            whole = whole * 10 + (t[i] - '0');
        value = static_cast<double>(negative ? -whole : whole);
        return true;
    }
    return TryStrToFloatOrNonFinite(t, value, FormatSettings());
}

bool TextToBoolean(const AnsiString& text, bool& value)
{
    if (SameText(text, "True") || SameText(text, "False")) {
        value = SameText(text, "True");
        return true;
    }
    double d = 0;
    if (!TextToDouble(text, d))
        return false;
    value = d != 0;
    return true;
}

int64_t SaturatingInt64(double d)
{
    if (std::isnan(d))
        return 0;
    if (d >= 9.2233720368547758e18)
        return std::numeric_limits<int64_t>::max();
    if (d <= -9.2233720368547758e18)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(std::llround(d));
}

bool IsNumeric(TVarType t)
{
    return t == varInteger || t == varInt64 || t == varDouble || t == varDate || t == varBoolean;
}

template <class T>
TVariantRelationship Order(const T& a, const T& b)
{
    return a < b ? vrLessThan : (b < a ? vrGreaterThan : vrEqual);
}

}  // namespace

Variant Variant::Null()
{
    Variant v;
    v.FValue = TNullTag{};
    return v;
}

Variant Variant::FromDate(TDateTime value)
{
    Variant v;
    v.FValue = TDate{value};
    return v;
}

Variant Variant::ArrayOf(std::vector<Variant> values)
{
    Variant v;
    v.FValue = TArray{std::make_shared<const std::vector<Variant>>(std::move(values))};
    return v;
}

const std::vector<Variant>& Variant::Items() const
{
    static const std::vector<Variant> kNone;
    const TArray* array = std::get_if<TArray>(&FValue);
    return array ? *array->Values : kNone;
}

bool Variant::TArray::operator==(const TArray& other) const { return *Values == *other.Values; }

TVarType Variant::VarType() const
{
    static constexpr TVarType kTypes[] = {varEmpty,  varNull, varInteger, varInt64, varDouble,
                                          varString, varDate, varBoolean, varArray};
    return kTypes[FValue.index()];
}

void Variant::CastError(TVarType to) const
{
    throw EVariantTypeCastError("Could not convert variant of type (" + VarTypeName(VarType()) + ") into type (" +
                                VarTypeName(to) + ")");
}

int64_t Variant::AsInt64() const
{
    switch (VarType()) {
    case varEmpty: return 0;
    case varInteger: return std::get<int32_t>(FValue);
    case varInt64: return std::get<int64_t>(FValue);
    case varBoolean: return std::get<bool>(FValue) ? -1 : 0;
    case varString: {
        bool b = false;
        if (!TextToBoolean(std::get<AnsiString>(FValue), b))
            CastError(varInt64);
        double d = 0;
        if (TextToDouble(std::get<AnsiString>(FValue), d))
            return SaturatingInt64(d);
        return b ? -1 : 0;
    }
    case varNull:
    case varArray: CastError(varInt64);
    default: return SaturatingInt64(AsDouble());
    }
}

int32_t Variant::AsInteger() const
{
    int64_t v = AsInt64();
    if (v > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

double Variant::AsDouble() const
{
    switch (VarType()) {
    case varEmpty: return 0;
    case varNull:
    case varArray: CastError(varDouble);
    case varInteger: return std::get<int32_t>(FValue);
    case varInt64: return static_cast<double>(std::get<int64_t>(FValue));
    case varDouble: return std::get<double>(FValue);
    case varDate: return std::get<TDate>(FValue).Value;
    case varBoolean: return std::get<bool>(FValue) ? -1 : 0;
    default: {
        double d = 0;
        bool b = false;
        if (TextToDouble(std::get<AnsiString>(FValue), d))
            return d;
        if (TextToBoolean(std::get<AnsiString>(FValue), b))
            return b ? -1 : 0;
        CastError(varDouble);
    }
    }
}

bool Variant::AsBoolean() const
{
    if (VarType() == varBoolean)
        return std::get<bool>(FValue);
    if (VarType() == varString) {
        bool b = false;
        if (!TextToBoolean(std::get<AnsiString>(FValue), b))
            CastError(varBoolean);
        return b;
    }
    if (VarType() == varNull)
        CastError(varBoolean);
    return AsDouble() != 0;
}

AnsiString Variant::AsString() const
{
    switch (VarType()) {
    case varNull:
    case varArray: CastError(varString);
    case varEmpty: return AnsiString();
    case varInteger:
    case varInt64: return IntToStr(AsInt64());
    case varDouble: return FloatToStr(std::get<double>(FValue));
    case varDate: return DateTimeToStr(std::get<TDate>(FValue).Value);
    case varBoolean: return std::get<bool>(FValue) ? "True" : "False";
    default: return std::get<AnsiString>(FValue);
    }
}

bool Variant::operator==(const Variant& other) const { return VarCompare(*this, other) == vrEqual; }

AnsiString VarTypeName(TVarType type)
{
    switch (type) {
    case varEmpty: return "Empty";
    case varNull: return "Null";
    case varInteger: return "Integer";
    case varInt64: return "Int64";
    case varDouble: return "Double";
    case varDate: return "Date";
    case varBoolean: return "Boolean";
    case varString: return "String";
    case varArray: return "Array";
    }
    return "Unknown";
}

AnsiString VarToStr(const Variant& v) { return v.IsNull() ? AnsiString() : v.AsString(); }

TVariantRelationship VarCompare(const Variant& a, const Variant& b)
{
    TVarType ta = a.VarType(), tb = b.VarType();
    if (ta == varArray || tb == varArray)
        return ta == tb && a.Items() == b.Items() ? vrEqual : vrNotEqual;
    if (ta == varEmpty || ta == varNull || tb == varEmpty || tb == varNull)
        return ta == tb ? vrEqual : vrNotEqual;
    if (ta == varString && tb == varString)
        return Order(a.AsString(), b.AsString());
    if (IsNumeric(ta) && IsNumeric(tb)) {
        if ((ta == varInteger || ta == varInt64) && (tb == varInteger || tb == varInt64))
            return Order(a.AsInt64(), b.AsInt64());
        return Order(a.AsDouble(), b.AsDouble());
    }
    // One number and one text: as numbers when the text reads as one that has an order.
    const Variant& text = ta == varString ? a : b;
    double d = 0;
    if (TextToDouble(text.AsString(), d) && !std::isnan(d)) {
        TVariantRelationship r = Order(a.AsDouble(), b.AsDouble());
        return r;
    }
    return Order(a.AsString(), b.AsString());
}
