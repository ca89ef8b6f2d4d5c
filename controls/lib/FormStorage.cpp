// TFormStorage: the placement with named properties of the form's components and free named
// values (TStoredValue, TStoredValues), and the registration of this unit's classes.

#include "controls/core/AppUtils.h"
#include "controls/core/ExProps.h"
#include "controls/core/StrUtils.h"
#include "controls/lib/Placemnt.h"
#include "platform/core/TypInfo.h"

// --- TStoredValue -----------------------------------------------------------------------------

TFormStorage* TStoredValue::Storage() const
{
    auto* values = dynamic_cast<TStoredValues*>(Collection());
    return values ? values->Storage() : nullptr;
}

void TStoredValue::SetName(const AnsiString& v)
{
    if (auto* values = dynamic_cast<TStoredValues*>(Collection())) {
        const int other = values->IndexOf(v);
        if (other >= 0 && values->Items(other) != this)
            throw Exception("String list does not allow duplicates");
    }
    FName = v;
    Changed(false);
}

AnsiString TStoredValue::DisplayName() const { return FName.empty() ? TCollectionItem::DisplayName() : FName; }

void TStoredValue::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TStoredValue*>(Source);
    if (!other) {
        TCollectionItem::Assign(Source);
        return;
    }
    FValue = other->FValue.IsEmpty() ? Variant() : other->FValue;
    SetName(other->FName);
    FKeyString = other->FKeyString;
}

void TStoredValue::Save()
{
    TFormStorage* storage = Storage();
    if (!storage)
        return;
    Variant value = FValue;
    if (OnSave)
        OnSave(this, value);
    AnsiString text = VarToStr(value);
    if (!FKeyString.empty())
        text = XorEncode(FKeyString, text);
    storage->WriteString(FName, text);
}

void TStoredValue::Restore()
{
    TFormStorage* storage = Storage();
    if (!storage)
        return;
    AnsiString def = VarToStr(FValue);
    if (!FKeyString.empty())
        def = XorEncode(FKeyString, def);
    AnsiString text = storage->ReadString(FName, def);
    if (!FKeyString.empty())
        text = XorDecode(FKeyString, text);
    Variant value(text);
    if (OnRestore)
        OnRestore(this, value);
    FValue = value;
}

// --- TStoredValues ----------------------------------------------------------------------------

TStoredValues::TStoredValues(TFormStorage* storage)
    : TOwnedCollection(storage, TCollection::ItemClassOf<TStoredValue>()), FStorage(storage)
{}

int TStoredValues::IndexOf(const AnsiString& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameText(Items(i)->Name(), name))
            return i;
    return -1;
}

Variant TStoredValues::StoredValue(const AnsiString& name) const
{
    const int i = IndexOf(name);
    return i >= 0 ? Items(i)->Value() : Variant::Null();
}

void TStoredValues::SetStoredValue(const AnsiString& name, TStoredValue* item)
{
    const int i = IndexOf(name);
    if (i >= 0)
        Items(i)->Assign(item);
}

void TStoredValues::SaveValues()
{
    for (int i = 0; i < Count(); ++i)
        Items(i)->Save();
}

void TStoredValues::RestoreValues()
{
    for (int i = 0; i < Count(); ++i)
        Items(i)->Restore();
}

// --- TFormStorage -----------------------------------------------------------------------------

TFormStorage::TFormStorage(TComponent* AOwner) : TFormPlacement(AOwner) {}

TFormStorage::~TFormStorage()
{
    TComponent::Destroying();
    FStoredProps.Clear();
}

void TFormStorage::SetStoredProps(TStrings* value)
{
    FStoredProps.Assign(value);
    UpdateStoredList(Owner(), &FStoredProps, true);
    ListenToStoredComponents();
}

void TFormStorage::ListenToStoredComponents()
{
    for (int i = 0; i < FStoredProps.Count(); ++i)
        if (auto* c = dynamic_cast<TComponent*>(FStoredProps.Objects(i)))
            c->FreeNotification(this);
}

void TFormStorage::Loaded()
{
    TFormPlacement::Loaded();
    UpdateStoredList(Owner(), &FStoredProps, true);
    ListenToStoredComponents();
}

void TFormStorage::WriteState() { UpdateStoredList(Owner(), &FStoredProps, false); }

void TFormStorage::Notification(TComponent* AComponent, TOperation Operation)
{
    TFormPlacement::Notification(AComponent, Operation);
    if (Operation != opRemove || InState(csDestroying))
        return;
    for (int i = FStoredProps.Count() - 1; i >= 0; --i)
        if (FStoredProps.Objects(i) == AComponent)
            FStoredProps.Delete(i);
}

void TFormStorage::SavePlacement()
{
    TFormPlacement::SavePlacement();
    SaveProperties();
    FStoredValues.SaveValues();
}

void TFormStorage::RestorePlacement()
{
    TFormPlacement::RestorePlacement();
    MarkRestored();
    RestoreProperties();
    FStoredValues.RestoreValues();
}

void TFormStorage::SaveProperties()
{
    TPropsStorage storage;
    storage.Section = IniSection();
    storage.OnWriteString = [this](const AnsiString& section, const AnsiString& item, const AnsiString& value) {
        DoWriteString(section, item, value);
    };
    storage.OnEraseSection = [this](const AnsiString& section) { IniEraseSection(IniFileObject(), section); };
    storage.StoreObjectsProps(Owner(), &FStoredProps);
}

void TFormStorage::RestoreProperties()
{
    TPropsStorage storage;
    storage.Section = IniSection();
    storage.OnReadString = [this](const AnsiString& section, const AnsiString& item, const AnsiString& def) {
        return DoReadString(section, item, def);
    };
    storage.OnReadSection = [this](const AnsiString& section, TStrings* keys) {
        IniReadSection(IniFileObject(), section, keys);
    };
    storage.LoadObjectsProps(Owner(), &FStoredProps);
}

// --- Registration -----------------------------------------------------------------------------

namespace {

const std::vector<AnsiString> kPlacementOptions{"fpState", "fpPosition", "fpActiveControl"};
const std::vector<AnsiString> kRegRoots{"prCurrentUser", "prLocalMachine", "prCurrentConfig",
                                        "prClassesRoot", "prUsers",        "prDynData"};

}  // namespace

void RegisterPlacementClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterExHookClasses();
    using M = TWinMinMaxInfo;
    RegisterClass<M>("TWinMinMaxInfo", "")
        .Int("MaxPosLeft", &M::MaxPosLeft, &M::SetMaxPosLeft, 0)
        .Int("MaxPosTop", &M::MaxPosTop, &M::SetMaxPosTop, 0)
        .Int("MaxSizeHeight", &M::MaxSizeHeight, &M::SetMaxSizeHeight, 0)
        .Int("MaxSizeWidth", &M::MaxSizeWidth, &M::SetMaxSizeWidth, 0)
        .Int("MaxTrackHeight", &M::MaxTrackHeight, &M::SetMaxTrackHeight, 0)
        .Int("MaxTrackWidth", &M::MaxTrackWidth, &M::SetMaxTrackWidth, 0)
        .Int("MinTrackHeight", &M::MinTrackHeight, &M::SetMinTrackHeight, 0)
        .Int("MinTrackWidth", &M::MinTrackWidth, &M::SetMinTrackWidth, 0);
    using P = TFormPlacement;
    RegisterClass<P>("TFormPlacement", "TComponent", MakeComponent<P>)
        .Bool("Active", &P::Active, &P::SetActive, true)
        .Str("IniFileName", &P::StoredIniFileName, &P::SetIniFileName)
        .Str("IniSection", &P::StoredIniSection, &P::SetIniSection)
        .Object("MinMaxInfo", "TWinMinMaxInfo", &P::MinMaxInfo, &P::SetMinMaxInfo)
        .Set("Options", "TPlacementOptions", kPlacementOptions, &P::Options, &P::SetOptions)
        .Bool("PreventResize", &P::PreventResize, &P::SetPreventResize, false)
        .Enum("RegistryRoot", "TPlacementRegRoot", kRegRoots, &P::RegistryRoot, &P::SetRegistryRoot, prCurrentUser)
        .Bool("UseRegistry", &P::UseRegistry, &P::SetUseRegistry, false)
        .Int("Version", &P::Version, &P::SetVersion, 0);
    RegisterClass<TCollectionItem>("TCollectionItem", "");
    using V = TStoredValue;
    RegisterClass<V>("TStoredValue", "TCollectionItem")
        .Str("Name", &V::Name, &V::SetName)
        .Var("Value", &V::Value, &V::SetValue)
        .Str("KeyString", &V::KeyString, &V::SetKeyString);
    using S = TFormStorage;
    RegisterClass<S>("TFormStorage", "TFormPlacement", MakeComponent<S>)
        .Object("StoredProps", "TStrings", &S::StoredProps, &S::SetStoredProps)
        .Object("StoredValues", "TStoredValues", &S::StoredValues, &S::SetStoredValues);
}
