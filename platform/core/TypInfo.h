#pragma once
// Run-time property access: each class registers its published properties (name, kind, the
// names of an enumeration or set, float type, default, stored rule, getter and setter) and a
// factory, so that stored settings and the control driver can reach them by name, as cp949
// text. Registration is one line per property beside the class:
//
//   RegisterClass<TEdit>("TEdit", "TCustomEdit", MakeComponent<TEdit>)
//       .Int("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength, 0)
//       .Bool("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly, false);
//
// A class inherits the properties of the class it names as parent; registering a name again
// replaces the inherited entry in place (a new default). A variant travels in the `Any`
// accessors with the text form the core registers for tkVariant; another kind does the same
// with RegisterKindTextForm. A collection is a class property like any other object.

#include <algorithm>
#include <any>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <vector>

#include "platform/core/Component.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Variant.h"

enum TTypeKind {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration,
    tkFloat,
    tkString,
    tkSet,
    tkClass,
    tkMethod,
    tkWChar,
    tkLString,
    tkWString,
    tkVariant,
    tkArray,
    tkRecord,
    tkInterface,
    tkInt64,
    tkDynArray,
};
using TTypeKinds = unsigned;  // bit (1 << kind) per kind
constexpr TTypeKinds KindBit(TTypeKind k) { return 1u << k; }
// Every kind but the untyped one and methods: what stored settings walk.
constexpr TTypeKinds tkProperties = ~(KindBit(tkUnknown) | KindBit(tkMethod));

enum TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };
// Significant digits of a float type's text: single 7, double 15, extended and comp 18,
// currency 19.
int FloatPrecision(TFloatType type);

// A property that does not exist, cannot be written, or a text that is no value of its kind.
class EPropertyError : public Exception {
    using Exception::Exception;
};
class EPropertyConvertError : public Exception {
    using Exception::Exception;
};
class EClassNotFound : public Exception {
    using Exception::Exception;
};

struct TPropInfo {
    AnsiString Name;
    TTypeKind Kind = tkUnknown;
    AnsiString TypeName;                // "Integer", "Boolean", "TAlign", "TFont"...
    std::vector<AnsiString> EnumNames;  // enumeration values, or the set's element names
    TFloatType FloatType = ftDouble;
    bool HasDefault = false;  // ordinal kinds only
    int64_t Default = 0;
    // The values an integer property's own type holds (a Word property is narrower than its
    // kind, a Cardinal one reaches past it): known where registered with a typed setter.
    bool HasRange = false;
    int64_t MinValue = 0;
    int64_t MaxValue = 0;
    // The values an integer property takes: its type's where known, else its kind's.
    int64_t LowestValue() const
    {
        return HasRange         ? MinValue
            : Kind == tkInteger ? std::numeric_limits<int32_t>::min()
                                : std::numeric_limits<int64_t>::min();
    }
    int64_t HighestValue() const
    {
        return HasRange         ? MaxValue
            : Kind == tkInteger ? std::numeric_limits<int32_t>::max()
                                : std::numeric_limits<int64_t>::max();
    }
    std::function<bool(TObject*)> Stored;  // null: always stored

    // Accessors by kind: ordinal (integer, char, enumeration, set as a bit mask, 64-bit),
    // float, string, object; `Any` for kinds registered from outside. A missing setter makes the
    // property read-only.
    std::function<int64_t(TObject*)> GetOrd;
    std::function<void(TObject*, int64_t)> SetOrd;
    std::function<double(TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<AnsiString(TObject*)> GetStr;
    std::function<void(TObject*, const AnsiString&)> SetStr;
    std::function<TObject*(TObject*)> GetObj;
    std::function<void(TObject*, TObject*)> SetObj;
    std::function<std::any(TObject*)> GetAny;
    std::function<void(TObject*, const std::any&)> SetAny;

    bool Writable() const { return SetOrd || SetFloat || SetStr || SetObj || SetAny; }
};

using TComponentFactory = std::function<TComponent*(TComponent* Owner)>;

struct TClassInfo {
    AnsiString Name;
    const TClassInfo* Parent = nullptr;
    TComponentFactory Create;  // null for classes that are not made by name
    std::function<bool(const TObject*)> IsInstance;
    std::vector<TPropInfo> OwnProps;
    // The parent's properties, then this class's own, a redeclared name in its parent's place.
    std::vector<const TPropInfo*> Props() const;
    bool InheritsFrom(std::string_view className) const;
};

namespace typinfo_detail {
TClassInfo& Register(AnsiString name, std::string_view parent, std::type_index type, TComponentFactory create,
                     std::function<bool(const TObject*)> isInstance);
void AddProp(TClassInfo& info, TPropInfo prop);
}  // namespace typinfo_detail

template <class T>
TComponent* MakeComponent(TComponent* Owner)
{
    return new T(Owner);
}

// Chained registration of one class's properties.
template <class T>
class TClassRegistration {
public:
    explicit TClassRegistration(TClassInfo& info) : FInfo(info) {}

    template <class G, class S>
    TClassRegistration& Int(const char* name, G get, S set, std::optional<int64_t> def = std::nullopt)
    {
        return Ordinal(name, tkInteger, "Integer", {}, get, set, def);
    }
    template <class G, class S>
    TClassRegistration& Int64(const char* name, G get, S set, std::optional<int64_t> def = std::nullopt)
    {
        return Ordinal(name, tkInt64, "Int64", {}, get, set, def);
    }
    template <class G, class S>
    TClassRegistration& Char(const char* name, G get, S set, std::optional<int64_t> def = std::nullopt)
    {
        return Ordinal(name, tkChar, "Char", {}, get, set, def);
    }
    template <class G, class S>
    TClassRegistration& Bool(const char* name, G get, S set, std::optional<bool> def = std::nullopt)
    {
        std::optional<int64_t> d;
        if (def)
            d = *def ? 1 : 0;
        return Ordinal(name, tkEnumeration, "Boolean", {"False", "True"}, get, set, d);
    }
    // An enumeration whose values are 0 .. names.size() - 1.
    template <class G, class S>
    TClassRegistration& Enum(const char* name, const char* typeName, std::vector<AnsiString> names, G get, S set,
                             std::optional<int64_t> def = std::nullopt)
    {
        return Ordinal(name, tkEnumeration, typeName, std::move(names), get, set, def);
    }
    // A set of elements 0..31, read and written as a bit mask.
    template <class G, class S>
    TClassRegistration& Set(const char* name, const char* typeName, std::vector<AnsiString> names, G get, S set,
                            std::optional<int64_t> def = std::nullopt)
    {
        return Ordinal(name, tkSet, typeName, std::move(names), get, set, def);
    }
    template <class G, class S>
    TClassRegistration& Float(const char* name, TFloatType type, G get, S set)
    {
        TPropInfo p = Base(name, tkFloat, type == ftSingle ? "Single" : "Double");
        p.FloatType = type;
        p.GetFloat = [get](TObject* o) { return static_cast<double>(std::invoke(get, Self(o))); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.SetFloat = [set](TObject* o, double v) { std::invoke(set, Self(o), v); };
        return Add(std::move(p));
    }
    template <class G, class S>
    TClassRegistration& Str(const char* name, G get, S set)
    {
        TPropInfo p = Base(name, tkLString, "AnsiString");
        p.GetStr = [get](TObject* o) { return AnsiString(std::invoke(get, Self(o))); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.SetStr = [set](TObject* o, const AnsiString& v) { std::invoke(set, Self(o), v); };
        return Add(std::move(p));
    }
    template <class G, class S>
    TClassRegistration& Object(const char* name, const char* typeName, G get, S set)
    {
        TPropInfo p = Base(name, tkClass, typeName);
        p.GetObj = [get](TObject* o) -> TObject* { return std::invoke(get, Self(o)); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.SetObj = [set](TObject* o, TObject* v) { Assign(set, Self(o), v); };
        return Add(std::move(p));
    }
    // A variant, its text VarToStr; a text sets a string variant.
    template <class G, class S>
    TClassRegistration& Var(const char* name, G get, S set)
    {
        TPropInfo p = Base(name, tkVariant, "Variant");
        p.GetAny = [get](TObject* o) { return std::any(Variant(std::invoke(get, Self(o)))); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>)
            p.SetAny = [set](TObject* o, const std::any& v) { std::invoke(set, Self(o), std::any_cast<Variant>(v)); };
        return Add(std::move(p));
    }
    // A kind whose text form is registered from outside (RegisterKindTextForm).
    TClassRegistration& Custom(TPropInfo p) { return Add(std::move(p)); }
    // When the last property is stored (see IsStoredProp); the one just registered, also when
    // registering again replaced an entry in place.
    TClassRegistration& Stored(std::function<bool(T*)> rule)
    {
        for (TPropInfo& p : FInfo.OwnProps)
            if (SameText(p.Name, FLast))
                p.Stored = [rule](TObject* o) { return rule(Self(o)); };
        return *this;
    }

private:
    static T* Self(TObject* o) { return static_cast<T*>(o); }
    template <class S>
    static void Assign(S set, T* self, TObject* v)
    {
        using Arg = std::decay_t<decltype(SetterArg(set))>;
        std::invoke(set, self, dynamic_cast<Arg>(v));
    }

    TPropInfo Base(const char* name, TTypeKind kind, const char* typeName)
    {
        TPropInfo p;
        p.Name = name;
        p.Kind = kind;
        p.TypeName = typeName;
        return p;
    }
    template <class M>
    struct LambdaArg;
    template <class C, class R, class Obj, class A>
    struct LambdaArg<R (C::*)(Obj, A) const> {
        using type = std::decay_t<A>;
    };
    template <class C, class A>
    static A SetterArg(void (C::*)(A));
    template <class F>
    static auto SetterArg(F f) -> typename LambdaArg<decltype(&F::operator())>::type;
    template <class G, class S>
    TClassRegistration& Ordinal(const char* name, TTypeKind kind, const char* typeName, std::vector<AnsiString> names,
                                G get, S set, std::optional<int64_t> def)
    {
        TPropInfo p = Base(name, kind, typeName);
        p.EnumNames = std::move(names);
        p.HasDefault = def.has_value();
        p.Default = def.value_or(0);
        p.GetOrd = [get](TObject* o) { return static_cast<int64_t>(std::invoke(get, Self(o))); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>) {
            using Arg = std::decay_t<decltype(SetterArg(set))>;
            p.SetOrd = [set](TObject* o, int64_t v) { std::invoke(set, Self(o), static_cast<Arg>(v)); };
            if constexpr (std::is_integral_v<Arg> && !std::is_same_v<Arg, bool>) {
                p.HasRange = true;
                p.MinValue = static_cast<int64_t>(std::numeric_limits<Arg>::min());
                p.MaxValue = static_cast<int64_t>(
                    std::min<uint64_t>(std::numeric_limits<Arg>::max(), std::numeric_limits<int64_t>::max()));
            }
        }
        return Add(std::move(p));
    }

    TClassRegistration& Add(TPropInfo p)
    {
        FLast = p.Name;
        typinfo_detail::AddProp(FInfo, std::move(p));
        return *this;
    }
    TClassInfo& FInfo;
    AnsiString FLast;
};

// Registers T under `name` (the parent must be registered first, or be empty). Registering a
// name again replaces nothing and returns the existing entry.
template <class T>
TClassRegistration<T> RegisterClass(AnsiString name, std::string_view parent, TComponentFactory create = nullptr)
{
    return TClassRegistration<T>(
        typinfo_detail::Register(std::move(name), parent, std::type_index(typeid(T)), std::move(create),
                                 [](const TObject* o) { return dynamic_cast<const T*>(o) != nullptr; }));
}

// The class registered under the name (ignoring case), or null.
const TClassInfo* GetClass(std::string_view name);
// The same, raising EClassNotFound "Class %s not found".
const TClassInfo* FindClass(std::string_view name);
// The most derived registered class the object belongs to, or null.
const TClassInfo* ClassInfoOf(const TObject* object);

// The object's properties of the given kinds, in registration order (ancestors first).
std::vector<const TPropInfo*> GetPropList(const TObject* object, TTypeKinds kinds = tkProperties);
// The property of that name (ignoring case), or null.
const TPropInfo* GetPropInfo(const TObject* object, std::string_view name);
bool IsStoredProp(TObject* object, const TPropInfo& prop);
// True when an ordinal property holds its declared default.
bool IsDefaultPropValue(TObject* object, const TPropInfo& prop);

// The property's value as text: integers and 64-bit integers in decimal, a char as itself, an
// enumeration by its value's name, a float in general format with the precision of its type
// and "." as decimal point, strings as they are, a set as "[a,b]", a component as its name
// (owner and name joined by "." when it belongs to another root, "(null)" for none).
AnsiString GetPropText(TObject* object, const TPropInfo& prop);
// Sets the property from such text ("$" hexadecimal accepted for integers; an enumeration name
// ignoring case; set words split at blanks, commas and brackets, unknown words skipped; an
// empty text leaves a char as it is). EPropertyConvertError for text that is no value,
// EPropertyError for a read-only property.
void SetPropText(TObject* object, const TPropInfo& prop, const AnsiString& text);

// The text form of a kind the core does not know.
struct TKindTextForm {
    std::function<AnsiString(TObject*, const TPropInfo&)> ToText;
    std::function<void(TObject*, const TPropInfo&, const AnsiString&)> FromText;
};
void RegisterKindTextForm(TTypeKind kind, TKindTextForm form);
