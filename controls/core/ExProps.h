#pragma once
// Published properties of components stored as text entries of an INI-like store and read back,
// by name, through the property table. TPropsStorage writes and reads one object's properties
// as (section, key, value) strings through three hooks (read, write, erase a section), so the
// same code serves an INI file or the registry; a fourth, optional hook lists a section's keys.
// A stored list names "Component.Property" entries, each with its component as the line's
// object.
//
// Keys, for a property P of an object whose prefix is Prefix (a listed component's name + "_"):
// a simple property is Prefix + P; a string list lives in the section Section + "." + Prefix + P
// as "Count" and "Item0".."ItemN"; a collection writes its count as Prefix + P + ".Count" and
// each item's properties in that sub-section as "Item%d_" + name; a component reference is its
// name, or "Owner.Name" outside the root (the owner found again among the application's
// forms, FindGlobalComponent), or "(null)"; any other object stores its own properties with
// the prefix Prefix + P. Values are trimmed both ways; the text of each simple kind is
// StoredPropText.h's. A string list is read up to the highest entry present, never past its
// count, a missing entry below that reading as empty; a collection makes one item per stored
// count, each loading the keys it has. Without the hook that lists keys, entries are read key
// by key. Either way a list is never made of more than a bound of missing entries: a collection
// past it is refused, and so is a string list whose keys are listed, while one read key by key
// is read no further (StoredList.h).

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/Component.h"
#include "platform/core/TypInfo.h"

class TCollection;
class TStrings;

// The separator between a component's name and its property names in a key.
constexpr char kPropNameDelimiter[] = "_";

using TReadStrEvent =
    std::function<AnsiString(const AnsiString& Section, const AnsiString& Item, const AnsiString& Default)>;
using TWriteStrEvent = std::function<void(const AnsiString& Section, const AnsiString& Item, const AnsiString& Value)>;
using TEraseSectEvent = std::function<void(const AnsiString& Section)>;
// Fills Keys with the key names the section holds.
using TReadSectEvent = std::function<void(const AnsiString& Section, TStrings* Keys)>;

// The published properties of an object of the given kinds, in the table's order.
class TPropInfoList : public TObject {
public:
    TPropInfoList(const TObject* object, TTypeKinds kinds);
    int Count() const { return static_cast<int>(FList.size()); }
    const TPropInfo* Get(int index) const { return FList.at(static_cast<size_t>(index)); }
    // By name, ignoring case; null when absent.
    const TPropInfo* Find(std::string_view name) const;
    // An entry with the same type and (ignoring case) the same name.
    bool Contains(const TPropInfo* prop) const;
    void Delete(int index);
    // Keeps only the entries Other contains.
    void Intersect(const TPropInfoList& other);

private:
    std::vector<const TPropInfo*> FList;
};

class TPropsStorage : public TObject {
public:
    TObject* Target = nullptr;
    TComponent* RootComponent = nullptr;
    AnsiString Prefix;
    AnsiString Section;
    TReadStrEvent OnReadString;
    TWriteStrEvent OnWriteString;
    TEraseSectEvent OnEraseSection;
    TReadSectEvent OnReadSection;

    virtual AnsiString ReadString(const AnsiString& section, const AnsiString& item, const AnsiString& def);
    virtual void WriteString(const AnsiString& section, const AnsiString& item, const AnsiString& value);
    virtual void EraseSection(const AnsiString& section);
    // The section's key names; false when the store cannot list them (no hook), so stored lists
    // are read key by key.
    virtual bool ReadSection(const AnsiString& section, TStrings* keys);
    virtual AnsiString GetItemName(const AnsiString& name) const { return Prefix + name; }
    // A storage for a nested object, with this one's hooks.
    virtual std::unique_ptr<TPropsStorage> CreateStorage() const;

    // The main entry points: every "Component.Property" entry of the list, components of root.
    void StoreObjectsProps(TComponent* root, TStrings* list);
    void LoadObjectsProps(TComponent* root, TStrings* list);
    // The Target's properties named by the lines (names that are no property do nothing).
    void StoreProperties(const TStrings* names);
    void LoadProperties(const TStrings* names);
    void StoreAnyProperty(const TPropInfo* prop);
    // Never raises: a text that does not convert leaves the property as it was.
    void LoadAnyProperty(const TPropInfo* prop);

    // The text form of a property by its kind (class kinds: their own storage; a component
    // reference gives its text) and the reverse.
    AnsiString StoreProperty(const TPropInfo& prop);
    void LoadProperty(const TPropInfo& prop, const AnsiString& text);

private:
    void ObjectsProps(TComponent* root, TStrings* list, bool store);
    std::unique_ptr<TPropsStorage> Nested(const AnsiString& section, const AnsiString& prefix) const;
    void StoreAllProperties();
    void LoadAllProperties();
    AnsiString StoreClassProperty(const TPropInfo& prop);
    void LoadClassProperty(const TPropInfo& prop, const AnsiString& text);
    AnsiString ComponentReference(TComponent* component) const;
    // The lines of a string list stored in the section; empty when it holds none.
    std::vector<AnsiString> StoredLines(const AnsiString& section, int count);
    // Raises EReadError when a collection stored with `count` items in the section would make
    // too many without keys of their own; changes nothing.
    void CheckStoredItems(TCollection& collection, const AnsiString& section, int count);
    TComponent* FindReference(const AnsiString& text) const;
};

// "Comp.Prop", or empty when either part is empty.
AnsiString CreateStoredItem(std::string_view compName, std::string_view propName);
// Splits at the first "."; both parts trimmed and not empty.
bool ParseStoredItem(std::string_view item, AnsiString& compName, AnsiString& propName);
// Walks the list from the end: entries that do not parse go. FromForm: each entry takes the
// root's component of its name as its object (or goes when there is none). Otherwise an entry
// with an object is renamed after the object's current name, one without goes.
void UpdateStoredList(TComponent* root, TStrings* list, bool fromForm);
