#include "platform/core/TypInfo.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

#include "platform/core/FloatFormat.h"
#include "platform/core/FormatSettings.h"

namespace {

struct TRegistry {
    std::vector<std::unique_ptr<TClassInfo>> Classes;
    std::unordered_map<std::type_index, TClassInfo*> ByType;
    std::map<TTypeKind, TKindTextForm> TextForms;
};

TRegistry& Registry()
{
    static TRegistry r = [] {
        TRegistry made;
        made.TextForms[tkVariant] = TKindTextForm{
            [](TObject* o, const TPropInfo& p) { return VarToStr(std::any_cast<Variant>(p.GetAny(o))); },
            [](TObject* o, const TPropInfo& p, const AnsiString& text) { p.SetAny(o, std::any(Variant(text))); }};
        return made;
    }();
    return r;
}

int Depth(const TClassInfo* c)
{
    int d = 0;
    for (; c; c = c->Parent)
        ++d;
    return d;
}

[[noreturn]] void BadValue(const TPropInfo& prop, std::string_view text)
{
    throw EPropertyConvertError("Invalid property value: " + prop.Name + " = '" + AnsiString(text) + "'");
}

AnsiString SetText(const TPropInfo& prop, int64_t mask)
{
    AnsiString out = "[";
    for (size_t i = 0; i < prop.EnumNames.size() && i < 32; ++i) {
        if (!(static_cast<uint64_t>(mask) & (uint64_t(1) << i)))
            continue;
        if (out.size() > 1)
            out += ',';
        out += prop.EnumNames[i];
    }
    return out + "]";
}

int64_t SetFromText(const TPropInfo& prop, std::string_view text)
{
    int64_t mask = 0;
    size_t i = 0;
    while (i < text.size()) {
        auto separator = [](char c) { return c == ' ' || c == ',' || c == '[' || c == ']' || c == '\t'; };
        while (i < text.size() && separator(text[i]))
            ++i;
        size_t start = i;
        while (i < text.size() && !separator(text[i]))
            ++i;
        std::string_view word = text.substr(start, i - start);
        for (size_t e = 0; !word.empty() && e < prop.EnumNames.size() && e < 32; ++e)
            if (SameText(word, prop.EnumNames[e]))
                mask |= int64_t(1) << e;
    }
    return mask;
}

// The components a reference may name without an owner: the object's own (a form's) and its
// owner's (a control's form); "Owner.Name" looks one level further up, where the forms are.
TComponent* FindByName(TComponent* in, std::string_view name) { return in ? in->FindComponent(name) : nullptr; }

AnsiString ComponentText(TObject* object, TObject* value)
{
    auto* c = dynamic_cast<TComponent*>(value);
    if (!c)
        return "(null)";
    auto* self = dynamic_cast<TComponent*>(object);
    if (!c->Owner() || c->Owner() == self || (self && c->Owner() == self->Owner()))
        return c->Name();
    AnsiString owner = c->Owner()->Name();
    if (owner.empty()) {
        owner = c->Owner()->ClassName();
        if (!owner.empty() && (owner[0] == 'T' || owner[0] == 't'))
            owner.erase(0, 1);
    }
    return owner + "." + c->Name();
}

TObject* ComponentFromText(TObject* object, const TPropInfo& prop, const AnsiString& text)
{
    if (SameText(text, "(null)"))
        return nullptr;
    auto* self = dynamic_cast<TComponent*>(object);
    TComponent* up = self ? self->Owner() : nullptr;
    TComponent* found = nullptr;
    size_t dot = text.find('.');
    if (dot == AnsiString::npos) {
        found = FindByName(self, text);
        if (!found)
            found = FindByName(up, text);
    } else {
        std::string_view ownerName = std::string_view(text).substr(0, dot);
        TComponent* owner = FindByName(up, ownerName);
        if (!owner && up)
            owner = FindByName(up->Owner(), ownerName);
        found = FindByName(owner, std::string_view(text).substr(dot + 1));
    }
    if (!found)
        BadValue(prop, text);
    return found;
}

}  // namespace

int FloatPrecision(TFloatType type)
{
    switch (type) {
    case ftSingle: return 7;
    case ftDouble: return 15;
    case ftExtended:
    case ftComp: return 18;
    case ftCurr: return 19;
    }
    return 15;
}

std::vector<const TPropInfo*> TClassInfo::Props() const
{
    std::vector<const TPropInfo*> out = Parent ? Parent->Props() : std::vector<const TPropInfo*>{};
    for (const TPropInfo& p : OwnProps) {
        auto same = std::find_if(out.begin(), out.end(), [&](const TPropInfo* q) { return SameText(q->Name, p.Name); });
        if (same != out.end())
            *same = &p;
        else
            out.push_back(&p);
    }
    return out;
}

bool TClassInfo::InheritsFrom(std::string_view className) const
{
    for (const TClassInfo* c = this; c; c = c->Parent)
        if (SameText(c->Name, className))
            return true;
    return false;
}

TClassInfo& typinfo_detail::Register(AnsiString name, std::string_view parent, std::type_index type,
                                     TComponentFactory create, std::function<bool(const TObject*)> isInstance)
{
    TRegistry& r = Registry();
    if (auto it = r.ByType.find(type); it != r.ByType.end())
        return *it->second;
    auto info = std::make_unique<TClassInfo>();
    info->Name = std::move(name);
    info->Parent = parent.empty() ? nullptr : FindClass(parent);
    info->Create = std::move(create);
    info->IsInstance = std::move(isInstance);
    TClassInfo* raw = info.get();
    r.Classes.push_back(std::move(info));
    r.ByType.emplace(type, raw);
    return *raw;
}

void typinfo_detail::AddProp(TClassInfo& info, TPropInfo prop)
{
    auto same = std::find_if(info.OwnProps.begin(), info.OwnProps.end(),
                             [&](const TPropInfo& q) { return SameText(q.Name, prop.Name); });
    if (same != info.OwnProps.end())
        *same = std::move(prop);
    else
        info.OwnProps.push_back(std::move(prop));
}

const TClassInfo* GetClass(std::string_view name)
{
    for (const auto& c : Registry().Classes)
        if (SameText(c->Name, name))
            return c.get();
    return nullptr;
}

const TClassInfo* FindClass(std::string_view name)
{
    if (const TClassInfo* c = GetClass(name))
        return c;
    throw EClassNotFound("Class " + AnsiString(name) + " not found");
}

const TClassInfo* ClassInfoOf(const TObject* object)
{
    if (!object)
        return nullptr;
    TRegistry& r = Registry();
    if (auto it = r.ByType.find(std::type_index(typeid(*object))); it != r.ByType.end())
        return it->second;
    // A class derived in code (a form's own class): its deepest registered ancestor.
    const TClassInfo* best = nullptr;
    for (const auto& c : r.Classes)
        if (c->IsInstance(object) && (!best || Depth(c.get()) > Depth(best)))
            best = c.get();
    return best;
}

std::vector<const TPropInfo*> GetPropList(const TObject* object, TTypeKinds kinds)
{
    std::vector<const TPropInfo*> out;
    if (const TClassInfo* c = ClassInfoOf(object))
        for (const TPropInfo* p : c->Props())
            if (kinds & KindBit(p->Kind))
                out.push_back(p);
    return out;
}

const TPropInfo* GetPropInfo(const TObject* object, std::string_view name)
{
    for (const TPropInfo* p : GetPropList(object, ~0u))
        if (SameText(p->Name, name))
            return p;
    return nullptr;
}

bool IsStoredProp(TObject* object, const TPropInfo& prop) { return !prop.Stored || prop.Stored(object); }

bool IsDefaultPropValue(TObject* object, const TPropInfo& prop)
{
    return prop.HasDefault && prop.GetOrd && prop.GetOrd(object) == prop.Default;
}

AnsiString GetPropText(TObject* object, const TPropInfo& prop)
{
    switch (prop.Kind) {
    case tkInteger:
    case tkInt64: return IntToStr(prop.GetOrd(object));
    case tkChar:
    case tkWChar: return AnsiString(1, static_cast<char>(prop.GetOrd(object)));
    case tkEnumeration: {
        int64_t v = prop.GetOrd(object);
        return v >= 0 && v < static_cast<int64_t>(prop.EnumNames.size()) ? prop.EnumNames[static_cast<size_t>(v)]
                                                                         : IntToStr(v);
    }
    case tkSet: return SetText(prop, prop.GetOrd(object));
    case tkFloat: {
        TFormatSettings settings = FormatSettings();
        settings.DecimalSeparator = '.';
        return FloatToStrF(prop.GetFloat(object), ffGeneral, FloatPrecision(prop.FloatType), 0, settings);
    }
    case tkString:
    case tkLString:
    case tkWString: return prop.GetStr(object);
    case tkClass: return ComponentText(object, prop.GetObj(object));
    default: break;
    }
    auto form = Registry().TextForms.find(prop.Kind);
    if (form != Registry().TextForms.end() && form->second.ToText)
        return form->second.ToText(object, prop);
    return AnsiString();
}

void SetPropText(TObject* object, const TPropInfo& prop, const AnsiString& text)
{
    if (!prop.Writable())
        throw EPropertyError("Property " + prop.Name + " is read-only");
    switch (prop.Kind) {
    case tkInteger:
    case tkInt64: {
        int64_t v = 0;
        int v32 = 0;
        AnsiString t = Trim(text);
        if (prop.Kind == tkInteger ? !TryStrToInt(t, v32) : !TryStrToInt64(t, v))
            BadValue(prop, text);
        prop.SetOrd(object, prop.Kind == tkInteger ? v32 : v);
        return;
    }
    case tkChar:
    case tkWChar:
        if (!text.empty())
            prop.SetOrd(object, static_cast<unsigned char>(text[0]));
        return;
    case tkEnumeration: {
        AnsiString t = Trim(text);
        for (size_t i = 0; i < prop.EnumNames.size(); ++i) {
            if (SameText(t, prop.EnumNames[i])) {
                prop.SetOrd(object, static_cast<int64_t>(i));
                return;
            }
        }
        BadValue(prop, text);
    }
    case tkSet: prop.SetOrd(object, SetFromText(prop, text)); return;
    case tkFloat: {
        AnsiString t = Trim(text);
        std::replace(t.begin(), t.end(), '.', FormatSettings().DecimalSeparator);
        double v = 0;
        if (!TryStrToFloat(t, v))
            BadValue(prop, text);
        prop.SetFloat(object, v);
        return;
    }
    case tkString:
    case tkLString:
    case tkWString: prop.SetStr(object, text); return;
    case tkClass: prop.SetObj(object, ComponentFromText(object, prop, Trim(text))); return;
    default: break;
    }
    auto form = Registry().TextForms.find(prop.Kind);
    if (form == Registry().TextForms.end() || !form->second.FromText)
        throw EPropertyError("Property " + prop.Name + " has no text form");
    form->second.FromText(object, prop, text);
}

void RegisterKindTextForm(TTypeKind kind, TKindTextForm form) { Registry().TextForms[kind] = std::move(form); }
