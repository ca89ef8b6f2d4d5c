#pragma once
// A form's window placement and chosen property values kept in an INI file or the registry
// substitute between runs. TFormPlacement, dropped on a form, restores the placement when the
// form is shown and saves it when the form closes or is destroyed (once its events are hooked:
// Loaded, after the form's components were built between BeginLoading and EndLoading), and can
// hold the form to a fixed size (PreventResize) or to size limits (MinMaxInfo) through a
// window hook answering WM_GETMINMAXINFO. TFormStorage adds named properties of the form's
// components ("Component.Property", stored by ExProps) and free named values. TIniLink lets
// another control save and load its own settings at the same moments.
//
// Keys of the form's section besides the placement record (AppForms.h): "FormVersion",
// "ActiveControl" (with fpActiveControl) and "Visible" (true when saved from the destructor).
//
// Files: Placemnt.cpp (TFormPlacement, TWinMinMaxInfo, TIniLink), FormStorage.cpp
// (TFormStorage, TStoredValue, TStoredValues).

#include <functional>
#include <memory>
#include <vector>

#include "controls/lib/ExHook.h"
#include "platform/core/Collection.h"
#include "platform/core/StringList.h"
#include "platform/core/Variant.h"
#include "platform/gui/Forms.h"

class TFormPlacement;
class TIniFile;
class TRegIniFile;
class TStagedStore;

enum TPlacementOption { fpState, fpPosition, fpActiveControl };
using TPlacementOptions = unsigned;  // bit (1 << option)
constexpr TPlacementOptions PlacementOption(TPlacementOption o) { return 1u << o; }
enum TPlacementOperation { poSave, poRestore };
enum TPlacementRegRoot { prCurrentUser, prLocalMachine, prCurrentConfig, prClassesRoot, prUsers, prDynData };

// Size limits of a form; 0 leaves a field as the window system has it.
class TWinMinMaxInfo : public TPersistent {
public:
    explicit TWinMinMaxInfo(TFormPlacement* owner) : FOwner(owner) {}
    void Assign(TPersistent* Source) override;
    // All eight values are 0.
    bool DefaultMinMaxInfo() const;
    const TMinMaxInfo& MinMaxInfo() const { return FMinMaxInfo; }

    int MaxPosLeft() const { return FMinMaxInfo.ptMaxPosition.x; }
    int MaxPosTop() const { return FMinMaxInfo.ptMaxPosition.y; }
    int MaxSizeHeight() const { return FMinMaxInfo.ptMaxSize.y; }
    int MaxSizeWidth() const { return FMinMaxInfo.ptMaxSize.x; }
    int MaxTrackHeight() const { return FMinMaxInfo.ptMaxTrackSize.y; }
    int MaxTrackWidth() const { return FMinMaxInfo.ptMaxTrackSize.x; }
    int MinTrackHeight() const { return FMinMaxInfo.ptMinTrackSize.y; }
    int MinTrackWidth() const { return FMinMaxInfo.ptMinTrackSize.x; }
    void SetMaxPosLeft(int v) { Set(FMinMaxInfo.ptMaxPosition.x, v); }
    void SetMaxPosTop(int v) { Set(FMinMaxInfo.ptMaxPosition.y, v); }
    void SetMaxSizeHeight(int v) { Set(FMinMaxInfo.ptMaxSize.y, v); }
    void SetMaxSizeWidth(int v) { Set(FMinMaxInfo.ptMaxSize.x, v); }
    void SetMaxTrackHeight(int v) { Set(FMinMaxInfo.ptMaxTrackSize.y, v); }
    void SetMaxTrackWidth(int v) { Set(FMinMaxInfo.ptMaxTrackSize.x, v); }
    void SetMinTrackHeight(int v) { Set(FMinMaxInfo.ptMinTrackSize.y, v); }
    void SetMinTrackWidth(int v) { Set(FMinMaxInfo.ptMinTrackSize.x, v); }

private:
    void Set(int& field, int value);
    TFormPlacement* FOwner;
    TMinMaxInfo FMinMaxInfo;
};

// A control's own settings saved and loaded when its form's placement is.
class TIniLink : public TPersistent {
public:
    TIniLink() = default;
    ~TIniLink() override;
    TIniLink(const TIniLink&) = delete;
    TIniLink& operator=(const TIniLink&) = delete;

    TFormPlacement* Storage() const { return FStorage; }
    void SetStorage(TFormPlacement* value);
    // The storage's open TIniFile or TRegIniFile (null when none is open or no storage).
    TObject* IniObject() const;
    // The storage's own IniSection (not the default) and "\", or empty.
    AnsiString RootSection() const;
    virtual void SaveToIni();
    virtual void LoadFromIni();

    // What a control writes or reads in its own section of the open INI or registry object.
    using TSectionProc = std::function<void(TObject* IniObject, const AnsiString& Section)>;
    // Sets OnSave and OnLoad to run Save or Load on Control's section (the root section and the
    // control's default section); an unnamed control or a storage with nothing open is skipped.
    void BindSection(TComponent* Control, TSectionProc Save, TSectionProc Load);

    TNotifyEvent OnSave, OnLoad;

private:
    TFormPlacement* FStorage = nullptr;
    friend class TFormPlacement;
};

class TFormPlacement : public TComponent {
public:
    explicit TFormPlacement(TComponent* AOwner);
    ~TFormPlacement() override;

    bool Active() const { return FActive; }
    void SetActive(bool v) { FActive = v; }
    // The stored name, or the default INI name (the default registry key with UseRegistry).
    AnsiString IniFileName() const;
    const AnsiString& StoredIniFileName() const { return FIniFileName; }
    void SetIniFileName(const AnsiString& v) { FIniFileName = v; }
    // The stored section, or the owner's default section.
    AnsiString IniSection() const;
    const AnsiString& StoredIniSection() const { return FIniSection; }
    void SetIniSection(const AnsiString& v) { FIniSection = v; }
    bool UseRegistry() const { return FUseRegistry; }
    void SetUseRegistry(bool v) { FUseRegistry = v; }
    TPlacementRegRoot RegistryRoot() const { return FRegistryRoot; }
    void SetRegistryRoot(TPlacementRegRoot v) { FRegistryRoot = v; }
    TPlacementOptions Options() const { return FOptions; }
    void SetOptions(TPlacementOptions v) { FOptions = v; }
    int Version() const { return FVersion; }
    void SetVersion(int v) { FVersion = v; }
    bool PreventResize() const { return FPreventResize; }
    void SetPreventResize(bool v);
    TWinMinMaxInfo* MinMaxInfo() { return &FWinMinMaxInfo; }
    void SetMinMaxInfo(TWinMinMaxInfo* v) { FWinMinMaxInfo.Assign(v); }
    bool Saved() const { return FSaved; }
    bool Restored() const { return FRestored; }
    bool Destroying() const { return FDestroying; }
    // The open TRegIniFile with UseRegistry, else the open TIniFile; null when none is open.
    // While SaveFormPlacement runs, the staged store that holds its changes.
    TObject* IniFileObject() const;

    // Runs only after a restore, or when inactive: an active component that never restored
    // does not overwrite what is stored. Writes every key of the save or none: a value the
    // store cannot hold (a line break in an INI value) raises before anything is written.
    void SaveFormPlacement();
    void RestoreFormPlacement();
    // Erases the section and every section named after it with "." or "\" and more.
    void EraseSections();
    AnsiString ReadString(const AnsiString& ident, const AnsiString& def);
    void WriteString(const AnsiString& ident, const AnsiString& value);
    int ReadInteger(const AnsiString& ident, int def);
    void WriteInteger(const AnsiString& ident, int value);
    // The size limits and the hook follow PreventResize and MinMaxInfo.
    void UpdatePlacement();
    void MinMaxInfoModified();

    TNotifyEvent OnSavePlacement, OnRestorePlacement;

protected:
    void Loaded() override;
    virtual void SavePlacement();
    virtual void RestorePlacement();
    virtual AnsiString DoReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def);
    virtual void DoWriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value);
    virtual void Save();
    virtual void Restore();
    TCustomForm* Form() const;
    void MarkRestored() { FRestored = true; }
    // Opens the storage unless one is open; true when this call opened it.
    bool IniNeeded(bool readOnly);
    void IniFree();

private:
    class TStorageScope;
    void SetEvents();
    void RestoreEvents();
    void CheckToggleHook();
    // Runs the step of every attached link.
    void ForEachLink(void (TIniLink::*step)());
    void UpdatePreventResize();
    void WndMessage(TMessage& msg, bool& handled);
    void FormShow(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormDestroy(TObject* sender);

    bool FActive = true;
    AnsiString FIniFileName;
    AnsiString FIniSection;
    std::unique_ptr<TIniFile> FIniFile;
    bool FUseRegistry = false;
    std::unique_ptr<TRegIniFile> FRegIniFile;
    TStagedStore* FStaged = nullptr;  // while a save runs
    TPlacementRegRoot FRegistryRoot = prCurrentUser;
    std::vector<TIniLink*> FLinks;
    TPlacementOptions FOptions = 0;
    int FVersion = 0;
    bool FSaved = false;
    bool FRestored = false;
    bool FDestroying = false;
    bool FPreventResize = false;
    TWinMinMaxInfo FWinMinMaxInfo{this};
    bool FDefMaximize = false;
    std::unique_ptr<TExWindowHook> FWinHook;
    bool FEventsHooked = false;
    AnsiString FOwnerSection;  // the owner's default section while it was whole
    TNotifyEvent FSaveFormShow, FSaveFormDestroy;
    TCloseQueryEvent FSaveFormCloseQuery;
    friend class TIniLink;
};

class TFormStorage;

using TStoredValueEvent = std::function<void(TObject* Sender, Variant& Value)>;

// A named value kept with the form's settings; its text is scrambled with KeyString when one
// is set.
class TStoredValue : public TCollectionItem {
public:
    explicit TStoredValue(TCollection* Collection) : TCollectionItem(Collection) {}
    const AnsiString& Name() const { return FName; }
    // Raises "String list does not allow duplicates" for a name another item has.
    void SetName(const AnsiString& v);
    const Variant& Value() const { return FValue; }
    void SetValue(const Variant& v) { FValue = v; }
    const AnsiString& KeyString() const { return FKeyString; }
    void SetKeyString(const AnsiString& v) { FKeyString = v; }
    AnsiString DisplayName() const override;
    void SetDisplayName(const AnsiString& v) override { SetName(v); }
    void Assign(TPersistent* Source) override;
    void Save();
    void Restore();

    TStoredValueEvent OnSave, OnRestore;

private:
    TFormStorage* Storage() const;
    AnsiString FName;
    Variant FValue;
    AnsiString FKeyString;
};

class TStoredValues : public TOwnedCollection {
public:
    explicit TStoredValues(TFormStorage* storage);
    TFormStorage* Storage() const { return FStorage; }
    // Ignoring case; -1 when absent.
    int IndexOf(const AnsiString& name) const;
    TStoredValue* Items(int index) const { return static_cast<TStoredValue*>(TCollection::Items(index)); }
    TStoredValue* Add() { return static_cast<TStoredValue*>(TCollection::Add()); }
    // The item's value, or null when no item has the name.
    Variant StoredValue(const AnsiString& name) const;
    // Copies the item into the one of that name (nothing when none has it).
    void SetStoredValue(const AnsiString& name, TStoredValue* item);
    void SaveValues();
    void RestoreValues();

private:
    TFormStorage* FStorage;
};

class TFormStorage : public TFormPlacement {
public:
    explicit TFormStorage(TComponent* AOwner);
    ~TFormStorage() override;

    // "Component.Property" lines, each with its component as the line's object.
    TStrings* StoredProps() { return &FStoredProps; }
    void SetStoredProps(TStrings* value);
    TStoredValues* StoredValues() { return &FStoredValues; }
    void SetStoredValues(TStoredValues* value) { FStoredValues.Assign(value); }

    virtual void SaveProperties();
    virtual void RestoreProperties();
    // Brings the list up to date with the owner's components before it is written.
    void WriteState();

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SavePlacement() override;
    void RestorePlacement() override;

private:
    void ListenToStoredComponents();
    TStringList FStoredProps;
    TStoredValues FStoredValues{this};
    friend class TStoredValue;
};

void RegisterPlacementClasses();
