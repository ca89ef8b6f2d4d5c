#include "controls/core/ExProps.h"

#include <algorithm>
#include <map>
#include <optional>

#include "controls/core/StoredList.h"
#include "controls/core/StoredPropText.h"
#include "platform/core/Collection.h"
#include "platform/core/StringList.h"

namespace {

bool IsStringKind(TTypeKind k) { return k == tkString || k == tkLString || k == tkWString || k == tkWChar; }

// Whether a class property's declared type is a component (so a null value is a reference).
bool IsComponentType(const TPropInfo& prop)
{
    const TClassInfo* info = GetClass(prop.TypeName);
    return info && info->InheritsFrom("TComponent");
}

TObject* ObjectOf(TObject* target, const TPropInfo& prop) { return prop.GetObj ? prop.GetObj(target) : nullptr; }

// The default a missing key reads as where the key's absence matters: no store holds a value
// with a line break.
const AnsiString kMissingValue = "(missing)\n(key)";

// The published properties of the collection's items: those of an item it holds, or of one
// added for the purpose and freed again, leaving the items as they were.
std::vector<const TPropInfo*> ItemProperties(TCollection& collection)
{
    if (collection.Count() > 0)
        return GetPropList(collection.Items(0), tkProperties);
    collection.BeginUpdate();
    TCollectionItem* probe = collection.Add();
    std::vector<const TPropInfo*> props = GetPropList(probe, tkProperties);
    collection.Delete(probe->Index());
    collection.EndUpdate();
    return props;
}

}  // namespace

// --- TPropInfoList ----------------------------------------------------------------------------

TPropInfoList::TPropInfoList(const TObject* object, TTypeKinds kinds)
{
    if (object)
        FList = GetPropList(object, kinds);
}

const TPropInfo* TPropInfoList::Find(std::string_view name) const
{
    for (const TPropInfo* p : FList)
        if (SameText(p->Name, name))
            return p;
    return nullptr;
}

bool TPropInfoList::Contains(const TPropInfo* prop) const
{
    for (const TPropInfo* p : FList)
        if (p->Kind == prop->Kind && p->TypeName == prop->TypeName && SameText(p->Name, prop->Name))
            return true;
    return false;
}

void TPropInfoList::Delete(int index)
{
    if (index >= 0 && index < Count())
        FList.erase(FList.begin() + index);
}

void TPropInfoList::Intersect(const TPropInfoList& other)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (!other.Contains(Get(i)))
            Delete(i);
}

// --- Stored lists -----------------------------------------------------------------------------

AnsiString CreateStoredItem(std::string_view compName, std::string_view propName)
{
    if (compName.empty() || propName.empty())
        return AnsiString();
    return AnsiString(compName) + "." + AnsiString(propName);
}

bool ParseStoredItem(std::string_view item, AnsiString& compName, AnsiString& propName)
{
    const size_t dot = item.find('.');
    if (item.empty() || dot == std::string_view::npos)
        return false;
    compName = Trim(item.substr(0, dot));
    propName = Trim(item.substr(dot + 1));
    return !compName.empty() && !propName.empty();
}

void UpdateStoredList(TComponent* root, TStrings* list, bool fromForm)
{
    if (!list)
        return;
    for (int i = list->Count() - 1; i >= 0; --i) {
        AnsiString comp, prop;
        if (!ParseStoredItem(list->Strings(i), comp, prop)) {
            list->Delete(i);
            continue;
        }
        if (fromForm) {
            TComponent* c = root ? root->FindComponent(comp) : nullptr;
            if (c)
                list->SetObjects(i, c);
            else
                list->Delete(i);
        } else if (auto* c = dynamic_cast<TComponent*>(list->Objects(i))) {
            list->SetStrings(i, CreateStoredItem(c->Name(), prop));
        } else {
            list->Delete(i);
        }
    }
}

// --- TPropsStorage ----------------------------------------------------------------------------

AnsiString TPropsStorage::ReadString(const AnsiString& section, const AnsiString& item, const AnsiString& def)
{
    return OnReadString ? OnReadString(section, item, def) : AnsiString();
}

void TPropsStorage::WriteString(const AnsiString& section, const AnsiString& item, const AnsiString& value)
{
    if (OnWriteString)
        OnWriteString(section, item, value);
}

void TPropsStorage::EraseSection(const AnsiString& section)
{
    if (OnEraseSection)
        OnEraseSection(section);
}

bool TPropsStorage::ReadSection(const AnsiString& section, TStrings* keys)
{
    keys->Clear();
    if (!OnReadSection)
        return false;
    OnReadSection(section, keys);
    return true;
}

std::unique_ptr<TPropsStorage> TPropsStorage::CreateStorage() const { return std::make_unique<TPropsStorage>(); }

std::unique_ptr<TPropsStorage> TPropsStorage::Nested(const AnsiString& section, const AnsiString& prefix) const
{
    std::unique_ptr<TPropsStorage> s = CreateStorage();
    s->RootComponent = RootComponent;
    s->Section = section;
    s->Prefix = prefix;
    s->OnReadString = OnReadString;
    s->OnWriteString = OnWriteString;
    s->OnEraseSection = OnEraseSection;
    s->OnReadSection = OnReadSection;
    return s;
}

void TPropsStorage::StoreAllProperties()
{
    for (const TPropInfo* p : GetPropList(Target, tkProperties))
        StoreAnyProperty(p);
}

void TPropsStorage::LoadAllProperties()
{
    for (const TPropInfo* p : GetPropList(Target, tkProperties))
        LoadAnyProperty(p);
}

void TPropsStorage::StoreProperties(const TStrings* names)
{
    TPropInfoList props(Target, tkProperties);
    for (int i = 0; names && i < names->Count(); ++i)
        if (const TPropInfo* p = props.Find(names->Strings(i)))
            StoreAnyProperty(p);
}

void TPropsStorage::LoadProperties(const TStrings* names)
{
    TPropInfoList props(Target, tkProperties);
    for (int i = 0; names && i < names->Count(); ++i)
        if (const TPropInfo* p = props.Find(names->Strings(i)))
            LoadAnyProperty(p);
}

AnsiString TPropsStorage::StoreProperty(const TPropInfo& prop)
{
    switch (prop.Kind) {
    case tkMethod:
    case tkUnknown: return AnsiString();
    case tkClass: return StoreClassProperty(prop);
    default: return StoredPropText(Target, prop);
    }
}

void TPropsStorage::LoadProperty(const TPropInfo& prop, const AnsiString& text)
{
    switch (prop.Kind) {
    case tkMethod:
    case tkUnknown: return;
    case tkClass: LoadClassProperty(prop, text); return;
    default: LoadStoredPropText(Target, prop, text);
    }
}

void TPropsStorage::StoreAnyProperty(const TPropInfo* prop)
{
    if (!prop || prop->Kind == tkMethod || prop->Kind == tkUnknown)
        return;
    const AnsiString text = Trim(StoreProperty(*prop));
    if (!text.empty() || IsStringKind(prop->Kind))
        WriteString(Section, GetItemName(prop->Name), text);
}

void TPropsStorage::LoadAnyProperty(const TPropInfo* prop)
{
    if (!prop || prop->Kind == tkMethod || prop->Kind == tkUnknown)
        return;
    try {
        const AnsiString def = prop->Kind == tkClass ? AnsiString() : Trim(StoreProperty(*prop));
        const AnsiString text = Trim(ReadString(Section, GetItemName(prop->Name), def));
        // A variant or a character whose key is missing stays as it was, also when empty.
        if ((prop->Kind == tkVariant || prop->Kind == tkChar) && text == def)
            return;
        LoadProperty(*prop, text);
    } catch (const std::exception&) {
        // The property keeps its value; the next one is loaded.
    }
}

AnsiString TPropsStorage::ComponentReference(TComponent* component) const
{
    if (!component)
        return "(null)";
    const auto* self = dynamic_cast<const TComponent*>(Target);
    const TComponent* root = RootComponent ? RootComponent : (self ? self->Owner() : nullptr);
    TComponent* owner = component->Owner();
    if (!owner || owner == root)
        return component->Name();
    AnsiString ownerName = owner->Name();
    if (ownerName.empty()) {
        ownerName = owner->ClassName();
        if (!ownerName.empty() && (ownerName[0] == 'T' || ownerName[0] == 't'))
            ownerName.erase(0, 1);
    }
    return Format("%s.%s", ownerName.c_str(), component->Name().c_str());
}

AnsiString TPropsStorage::StoreClassProperty(const TPropInfo& prop)
{
    TObject* object = ObjectOf(Target, prop);
    const AnsiString sub = Section + "." + GetItemName(prop.Name);
    if (auto* lines = dynamic_cast<TStrings*>(object)) {
        EraseSection(sub);
        if (lines->Count() > 0) {
            WriteString(sub, "Count", IntToStr(lines->Count()));
            for (int i = 0; i < lines->Count(); ++i)
                WriteString(sub, Format("Item%d", i), Trim(lines->Strings(i)));
        }
    } else if (auto* collection = dynamic_cast<TCollection*>(object)) {
        EraseSection(sub);
        WriteString(Section, Format("%s.%s", GetItemName(prop.Name).c_str(), "Count"), IntToStr(collection->Count()));
        for (int i = 0; i < collection->Count(); ++i) {
            auto nested = Nested(sub, Format("Item%d", i) + kPropNameDelimiter);
            nested->Target = collection->Items(i);
            nested->StoreAllProperties();
        }
    } else if (auto* component = dynamic_cast<TComponent*>(object)) {
        return ComponentReference(component);
    } else if (!object && IsComponentType(prop)) {
        return ComponentReference(nullptr);
    }
    if (object && !dynamic_cast<TComponent*>(object)) {
        auto nested = Nested(Section, GetItemName(prop.Name));
        nested->Target = object;
        nested->StoreAllProperties();
    }
    return AnsiString();
}

TComponent* TPropsStorage::FindReference(const AnsiString& text) const
{
    const size_t dot = text.find('.');
    if (dot == AnsiString::npos) {
        const auto* self = dynamic_cast<const TComponent*>(Target);
        const TComponent* root = RootComponent ? RootComponent : (self ? self->Owner() : nullptr);
        return root ? root->FindComponent(text) : nullptr;
    }
    TComponent* owner = FindGlobalComponent(std::string_view(text).substr(0, dot));
    if (!owner)
        throw Exception("Component " + text.substr(0, dot) + " not found");
    return owner->FindComponent(std::string_view(text).substr(dot + 1));
}

void TPropsStorage::LoadClassProperty(const TPropInfo& prop, const AnsiString& text)
{
    TObject* object = ObjectOf(Target, prop);
    const AnsiString sub = Section + "." + GetItemName(prop.Name);
    if (auto* lines = dynamic_cast<TStrings*>(object)) {
        const int count = StrToIntDef(Trim(ReadString(sub, "Count", "0")), 0);
        const std::vector<AnsiString> stored = StoredLines(sub, count);
        if (stored.empty())
            return;
        TStringList loaded;
        for (const AnsiString& line : stored)
            loaded.Add(line);
        lines->Assign(&loaded);
    } else if (auto* collection = dynamic_cast<TCollection*>(object)) {
        const AnsiString key = Format("%s.%s", GetItemName(prop.Name).c_str(), "Count");
        const int count = std::max(StrToIntDef(Trim(ReadString(Section, key, "0")), 0), 0);
        if (count != collection->Count())
            CheckStoredItems(*collection, sub, count);
        collection->BeginUpdate();
        try {
            if (count != collection->Count()) {
                collection->Clear();
                for (int i = 0; i < count; ++i)
                    collection->Add();
            }
            for (int i = 0; i < collection->Count(); ++i) {
                auto nested = Nested(sub, Format("Item%d", i) + kPropNameDelimiter);
                nested->Target = collection->Items(i);
                nested->LoadAllProperties();
            }
        } catch (...) {
            collection->EndUpdate();
            throw;
        }
        collection->EndUpdate();
    } else if (dynamic_cast<TComponent*>(object) || (!object && IsComponentType(prop))) {
        if (text.empty() || !prop.SetObj)
            return;
        prop.SetObj(Target, SameText(text, "(null)") ? nullptr : FindReference(text));
    } else if (object) {
        auto nested = Nested(Section, GetItemName(prop.Name));
        nested->Target = object;
        nested->LoadAllProperties();
    }
}

std::vector<AnsiString> TPropsStorage::StoredLines(const AnsiString& section, int count)
{
    TStringList keys;
    std::vector<AnsiString> lines;
    if (ReadSection(section, &keys)) {
        const int length = DenseStoredListLength(StoredListIndices(keys, "Item"), count);
        for (int i = 0; i < length; ++i)
            lines.push_back(Trim(ReadString(section, Format("Item%d", i), AnsiString())));
        return lines;
    }
    return ReadStoredList(count, [&](int i) -> std::optional<AnsiString> {
        const AnsiString text = ReadString(section, Format("Item%d", i), kMissingValue);
        return text == kMissingValue ? std::nullopt : std::optional(Trim(text));
    });
}

void TPropsStorage::CheckStoredItems(TCollection& collection, const AnsiString& section, int count)
{
    TStringList keys;
    if (ReadSection(section, &keys)) {
        CountedStoredListLength(StoredListIndices(keys, "Item", kPropNameDelimiter), count);
        return;
    }
    // The keys an item may have are its properties' names after its prefix.
    const std::vector<const TPropInfo*> props = ItemProperties(collection);
    auto item = Nested(section, AnsiString());
    CountedStoredListLength(count, [&](int i) {
        item->Prefix = Format("Item%d", i) + kPropNameDelimiter;
        return std::any_of(props.begin(), props.end(), [&](const TPropInfo* p) {
            const AnsiString text = item->ReadString(section, item->GetItemName(p->Name), kMissingValue);
            return text != kMissingValue && !Trim(text).empty();
        });
    });
}

namespace {

// The listed objects by name, each with its properties.
using TInfoLists = std::map<AnsiString, std::unique_ptr<TPropInfoList>>;

TInfoLists InfoListsOf(const TStrings* list)
{
    TInfoLists out;
    for (int i = 0; i < list->Count(); ++i)
        if (auto* c = dynamic_cast<TComponent*>(list->Objects(i)))
            if (!out.count(UpperCase(c->Name())))
                out.emplace(UpperCase(c->Name()), std::make_unique<TPropInfoList>(c, tkProperties));
    return out;
}

}  // namespace

void TPropsStorage::StoreObjectsProps(TComponent* root, TStrings* list) { ObjectsProps(root, list, true); }

void TPropsStorage::LoadObjectsProps(TComponent* root, TStrings* list) { ObjectsProps(root, list, false); }

void TPropsStorage::ObjectsProps(TComponent* root, TStrings* list, bool store)
{
    if (!list)
        return;
    UpdateStoredList(root, list, false);
    const TInfoLists infos = InfoListsOf(list);
    RootComponent = root;
    for (int i = 0; i < list->Count(); ++i) {
        AnsiString comp, prop;
        auto* c = dynamic_cast<TComponent*>(list->Objects(i));
        if (!c || !ParseStoredItem(list->Strings(i), comp, prop))
            continue;
        Target = c;
        Prefix = c->Name();
        auto info = infos.find(UpperCase(Prefix));
        if (info == infos.end())
            continue;
        Prefix += kPropNameDelimiter;
        if (store)
            StoreAnyProperty(info->second->Find(prop));
        else
            LoadAnyProperty(info->second->Find(prop));
    }
    RootComponent = nullptr;
}
