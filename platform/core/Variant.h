#pragma once
// The framework's variant: one value of a few kinds (empty, null, integer, 64-bit integer,
// double, text, date, Boolean) that converts between them on demand. Texts are cp949.

#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"

// The framework's type codes, as VarType reports them.
enum TVarType : uint16_t {
    varEmpty = 0x0000,
    varNull = 0x0001,
    varInteger = 0x0003,
    varDouble = 0x0005,
    varDate = 0x0007,
    varBoolean = 0x000B,
    varInt64 = 0x0014,
    varString = 0x0100,
    varArray = 0x200C,  // an array of variants
};

// A conversion the value cannot make ("Could not convert variant of type (String) into type
// (Double)").
class EVariantError : public Exception {
    using Exception::Exception;
};
class EVariantTypeCastError : public EVariantError {
    using EVariantError::EVariantError;
};

class Variant {
public:
    Variant() = default;
    Variant(int v) : FValue(int32_t(v)) {}
    Variant(int64_t v) : FValue(v) {}
    Variant(double v) : FValue(v) {}
    Variant(bool v) : FValue(v) {}
    Variant(const AnsiString& v) : FValue(v) {}
    Variant(const char* v) : FValue(AnsiString(v ? v : "")) {}
    static Variant Null();
    static Variant FromDate(TDateTime v);
    // An array of the values (VarArrayOf); it converts to nothing else.
    static Variant ArrayOf(std::vector<Variant> values);

    TVarType VarType() const;
    bool IsEmpty() const { return VarType() == varEmpty; }
    bool IsNull() const { return VarType() == varNull; }
    bool IsArray() const { return VarType() == varArray; }
    // An array's items (none for other values).
    const std::vector<Variant>& Items() const;

    // Conversions; a text converts when it reads as a number (Booleans as "True"/"False"; "INF",
    // "-INF" and "NAN" as the values AsString writes them for), empty converts to 0 or "", null
    // raises as the framework does.
    int32_t AsInteger() const;
    int64_t AsInt64() const;
    double AsDouble() const;
    bool AsBoolean() const;
    AnsiString AsString() const;
    TDateTime AsDate() const { return AsDouble(); }

    bool operator==(const Variant& other) const;

private:
    struct TNullTag {
        bool operator==(const TNullTag&) const = default;
    };
    struct TDate {
        TDateTime Value;
        bool operator==(const TDate&) const = default;
    };
    struct TArray {
        std::shared_ptr<const std::vector<Variant>> Values;
        bool operator==(const TArray& other) const;
    };
    [[noreturn]] void CastError(TVarType to) const;
    std::variant<std::monostate, TNullTag, int32_t, int64_t, double, AnsiString, TDate, bool, TArray> FValue;
};

// The framework's name of a variant type ("Integer", "String", ...).
AnsiString VarTypeName(TVarType type);
inline bool VarIsEmpty(const Variant& v) { return v.IsEmpty(); }
inline bool VarIsNull(const Variant& v) { return v.IsNull(); }
// The value as text; empty and null give "".
AnsiString VarToStr(const Variant& v);

enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };
// Compares two values. A number and a text that reads as a number compare as numbers (1 equals
// "1"); other texts compare with a number's text byte by byte. Empty and null equal only their
// own kind and are vrNotEqual to anything else.
TVariantRelationship VarCompare(const Variant& a, const Variant& b);
