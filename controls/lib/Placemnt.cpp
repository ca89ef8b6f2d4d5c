// TFormPlacement: opening the store, the form's events, the placement keys of this unit, the
// size-limit hook; TWinMinMaxInfo and TIniLink.

#include "controls/lib/Placemnt.h"

#include <algorithm>
#include <utility>

#include "controls/core/StagedStore.h"
#include "controls/core/StrUtils.h"
#include "controls/lib/AppForms.h"
#include "controls/lib/LibraryClasses.h"
#include "platform/core/IniFile.h"
#include "platform/core/RegIniFile.h"
#include "platform/gui/Application.h"

namespace {

const char kFormVersion[] = "FormVersion";
const char kActiveControl[] = "ActiveControl";
const char kVisible[] = "Visible";

// Hit-test results on a sizing border (left to bottom-right).
constexpr LRESULT kHitSizeFirst = 10, kHitSizeLast = 17, kHitNowhere = 0;

HKEY RootKeyOf(TPlacementRegRoot root)
{
    switch (root) {
    case prLocalMachine: return HKEY_LOCAL_MACHINE;
    case prCurrentConfig: return HKEY_CURRENT_CONFIG;
    case prClassesRoot: return HKEY_CLASSES_ROOT;
    case prUsers: return HKEY_USERS;
    case prDynData: return HKEY_DYN_DATA;
    case prCurrentUser: break;
    }
    return HKEY_CURRENT_USER;
}

// Runs a step of the automatic save or restore; what it raises goes to the application's
// exception handling and the form's showing or closing goes on.
template <class F>
void Guarded(TObject* sender, F step)
{
    try {
        step();
    } catch (...) {
        if (Application)
            Application->HandleException(sender);
    }
}

}  // namespace

// --- TWinMinMaxInfo ---------------------------------------------------------------------------

void TWinMinMaxInfo::Assign(TPersistent* Source)
{
    if (auto* other = dynamic_cast<TWinMinMaxInfo*>(Source)) {
        FMinMaxInfo = other->FMinMaxInfo;
        if (FOwner)
            FOwner->MinMaxInfoModified();
        return;
    }
    TPersistent::Assign(Source);
}

bool TWinMinMaxInfo::DefaultMinMaxInfo() const
{
    return MaxPosLeft() == 0 && MaxPosTop() == 0 && MaxSizeHeight() == 0 && MaxSizeWidth() == 0 &&
        MaxTrackHeight() == 0 && MaxTrackWidth() == 0 && MinTrackHeight() == 0 && MinTrackWidth() == 0;
}

void TWinMinMaxInfo::Set(int& field, int value)
{
    if (field == value)
        return;
    field = value;
    if (FOwner)
        FOwner->MinMaxInfoModified();
}

// --- TIniLink ---------------------------------------------------------------------------------

TIniLink::~TIniLink()
{
    OnSave = nullptr;
    OnLoad = nullptr;
    SetStorage(nullptr);
}

void TIniLink::SetStorage(TFormPlacement* value)
{
    if (value == FStorage)
        return;
    if (FStorage)
        std::erase(FStorage->FLinks, this);
    FStorage = value;
    if (FStorage)
        FStorage->FLinks.push_back(this);
}

TObject* TIniLink::IniObject() const { return FStorage ? FStorage->IniFileObject() : nullptr; }

AnsiString TIniLink::RootSection() const
{
    if (!FStorage || FStorage->StoredIniSection().empty())
        return AnsiString();
    return FStorage->StoredIniSection() + "\\";
}

void TIniLink::SaveToIni()
{
    if (OnSave)
        OnSave(this);
}

void TIniLink::LoadFromIni()
{
    if (OnLoad)
        OnLoad(this);
}

void TIniLink::BindSection(TComponent* Control, TSectionProc Save, TSectionProc Load)
{
    const auto inSection = [this, Control](const TSectionProc& proc) {
        if (!Control->Name().empty() && IniObject())
            proc(IniObject(), RootSection() + GetDefaultSection(Control));
    };
    OnSave = [inSection, Save = std::move(Save)](TObject*) { inSection(Save); };
    OnLoad = [inSection, Load = std::move(Load)](TObject*) { inSection(Load); };
}

// --- TFormPlacement ---------------------------------------------------------------------------

TFormPlacement::TFormPlacement(TComponent* AOwner) : TComponent(AOwner)
{
    // Stored properties are reached through the property table.
    RegisterLibraryClasses();
    if (dynamic_cast<TCustomForm*>(AOwner))
        FOptions = PlacementOption(fpState) | PlacementOption(fpPosition);
}

TFormPlacement::~TFormPlacement()
{
    TComponent::Destroying();
    for (TIniLink* link : FLinks)
        link->FStorage = nullptr;
    FLinks.clear();
    FWinHook.reset();
    RestoreEvents();
    IniFree();
}

TCustomForm* TFormPlacement::Form() const
{
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    return form && *form->AliveToken() ? form : nullptr;
}

AnsiString TFormPlacement::IniFileName() const
{
    if (!FIniFileName.empty() || InState(csDesigning))
        return FIniFileName;
    return FUseRegistry ? GetDefaultIniRegKey() : GetDefaultIniName();
}

AnsiString TFormPlacement::IniSection() const
{
    if (!FIniSection.empty() || InState(csDesigning))
        return FIniSection;
    // A form being destroyed no longer answers its own class name: the name it had.
    if (Owner() && Owner()->InState(csDestroying) && !FOwnerSection.empty())
        return FOwnerSection;
    return GetDefaultSection(Owner());
}

TObject* TFormPlacement::IniFileObject() const
{
    if (FStaged)
        return FStaged;
    if (FUseRegistry)
        return FRegIniFile.get();
    return FIniFile.get();
}

bool TFormPlacement::IniNeeded(bool readOnly)
{
    if (FIniFile || FRegIniFile)
        return false;
    const AnsiString name = IniFileName();
    if (FUseRegistry) {
        auto reg = std::make_unique<TRegIniFile>(name, readOnly ? KEY_READ : KEY_ALL_ACCESS);
        // The key path is opened again under the chosen root, so reads and writes meet.
        if (FRegistryRoot != prCurrentUser) {
            reg->SetRootKey(RootKeyOf(FRegistryRoot));
            if (readOnly)
                reg->OpenKeyReadOnly(name);
            else
                reg->OpenKey(name, true);
        }
        FRegIniFile = std::move(reg);
    } else {
        FIniFile = std::make_unique<TIniFile>(name);
    }
    return true;
}

void TFormPlacement::IniFree()
{
    FIniFile.reset();
    FRegIniFile.reset();
}

AnsiString TFormPlacement::DoReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& def)
{
    return IniReadString(IniFileObject(), section, ident, def);
}

void TFormPlacement::DoWriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value)
{
    IniWriteString(IniFileObject(), section, ident, value);
}

// The storage opened for one operation (unless the caller keeps one open) and closed after it,
// also when it raises.
class TFormPlacement::TStorageScope {
public:
    TStorageScope(TFormPlacement& owner, bool readOnly) : FOwner(owner), FOpened(owner.IniNeeded(readOnly)) {}
    ~TStorageScope()
    {
        if (FOpened)
            FOwner.IniFree();
    }
    TStorageScope(const TStorageScope&) = delete;
    TStorageScope& operator=(const TStorageScope&) = delete;

private:
    TFormPlacement& FOwner;
    bool FOpened;
};

AnsiString TFormPlacement::ReadString(const AnsiString& ident, const AnsiString& def)
{
    TStorageScope storage(*this, true);
    return IniReadString(IniFileObject(), IniSection(), ident, def);
}

void TFormPlacement::WriteString(const AnsiString& ident, const AnsiString& value)
{
    TStorageScope storage(*this, false);
    IniWriteString(IniFileObject(), IniSection(), ident, value);
}

int TFormPlacement::ReadInteger(const AnsiString& ident, int def)
{
    TStorageScope storage(*this, true);
    return IniReadInteger(IniFileObject(), IniSection(), ident, def);
}

void TFormPlacement::WriteInteger(const AnsiString& ident, int value) { WriteString(ident, IntToStr(value)); }

void TFormPlacement::Save()
{
    if (OnSavePlacement)
        OnSavePlacement(this);
}

void TFormPlacement::Restore()
{
    if (OnRestorePlacement)
        OnRestorePlacement(this);
}

void TFormPlacement::ForEachLink(void (TIniLink::*step)())
{
    // A link's handler may detach links: each runs only while still attached.
    const std::vector<TIniLink*> links = FLinks;
    for (TIniLink* link : links)
        if (std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end())
            (link->*step)();
}

void TFormPlacement::SavePlacement()
{
    if (TCustomForm* form = Form()) {
        const AnsiString section = IniSection();
        WriteFormPlacement(form, IniFileObject(), section);
        if ((FOptions & PlacementOption(fpActiveControl)) && form->ActiveControl())
            IniWriteString(IniFileObject(), section, kActiveControl, form->ActiveControl()->Name());
        IniWriteBool(IniFileObject(), section, kVisible, FDestroying);
    }
    ForEachLink(&TIniLink::SaveToIni);
}

void TFormPlacement::RestorePlacement()
{
    if (TCustomForm* form = Form())
        ReadFormPlacement(form, IniFileObject(), IniSection(), FOptions & PlacementOption(fpState),
                          FOptions & PlacementOption(fpPosition));
    ForEachLink(&TIniLink::LoadFromIni);
}

void TFormPlacement::SaveFormPlacement()
{
    if (!FRestored && FActive)
        return;
    TStorageScope storage(*this, false);
    {
        // Every key of the save is checked before the first is written: a value the store
        // cannot hold fails the save with nothing written.
        TStagedStore staged(IniFileObject());
        TStagedStore* const outer = std::exchange(FStaged, &staged);
        try {
            IniWriteInteger(IniFileObject(), IniSection(), kFormVersion, FVersion);
            SavePlacement();
        } catch (...) {
            FStaged = outer;
            throw;
        }
        FStaged = outer;
        staged.Commit();
    }
    Save();
    FSaved = true;
}

void TFormPlacement::RestoreFormPlacement()
{
    FSaved = false;
    {
        TStorageScope storage(*this, true);
        const AnsiString section = IniSection();
        if (IniReadInteger(IniFileObject(), section, kFormVersion, 0) >= FVersion) {
            RestorePlacement();
            FRestored = true;
            Restore();
            TCustomForm* form = Form();
            if (form && (FOptions & PlacementOption(fpActiveControl))) {
                const AnsiString name = IniReadString(IniFileObject(), section, kActiveControl, AnsiString());
                auto* control = dynamic_cast<TWinControl*>(form->FindComponent(name));
                if (control && control->CanFocus())
                    form->SetActiveControl(control);
            }
        }
        FRestored = true;
    }
    UpdatePlacement();
}

void TFormPlacement::EraseSections()
{
    if (IniFileObject())
        return;
    TStorageScope storage(*this, false);
    const AnsiString section = IniSection();
    TStringList sections;
    IniReadSections(IniFileObject(), &sections);
    for (int i = 0; i < sections.Count(); ++i) {
        const AnsiString& name = sections.Strings(i);
        if (name == section || IsWild(name, section + ".*", false) || IsWild(name, section + "\\*", false))
            IniEraseSection(IniFileObject(), name);
    }
}

// --- Form events ------------------------------------------------------------------------------

void TFormPlacement::Loaded()
{
    TComponent::Loaded();
    if (InState(csDesigning))
        return;
    SetEvents();
    CheckToggleHook();
}

void TFormPlacement::SetEvents()
{
    TCustomForm* form = Form();
    if (!form || FEventsHooked)
        return;
    FOwnerSection = GetDefaultSection(form);
    FSaveFormShow = form->OnShow;
    form->OnShow = [this](TObject* sender) { FormShow(sender); };
    FSaveFormCloseQuery = form->OnCloseQuery;
    form->OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
    FSaveFormDestroy = form->OnDestroy;
    form->OnDestroy = [this](TObject* sender) { FormDestroy(sender); };
    FDefMaximize = (form->BorderIcons() & biMaximize) != 0;
    FEventsHooked = true;
}

void TFormPlacement::RestoreEvents()
{
    if (!FEventsHooked)
        return;
    FEventsHooked = false;
    if (TCustomForm* form = Form()) {
        form->OnShow = std::move(FSaveFormShow);
        form->OnCloseQuery = std::move(FSaveFormCloseQuery);
        form->OnDestroy = std::move(FSaveFormDestroy);
    }
}

void TFormPlacement::FormShow(TObject* sender)
{
    if (FActive)
        Guarded(this, [&] { RestoreFormPlacement(); });
    if (FSaveFormShow) {
        TNotifyEvent handler = FSaveFormShow;
        handler(sender);
    }
}

void TFormPlacement::FormCloseQuery(TObject* sender, bool& canClose)
{
    if (FSaveFormCloseQuery) {
        TCloseQueryEvent handler = FSaveFormCloseQuery;
        handler(sender, canClose);
    }
    TCustomForm* form = Form();
    if (canClose && FActive && form && form->HandleAllocated())
        Guarded(this, [&] { SaveFormPlacement(); });
}

void TFormPlacement::FormDestroy(TObject* sender)
{
    if (FActive && !FSaved) {
        FDestroying = true;
        Guarded(this, [&] { SaveFormPlacement(); });
        FDestroying = false;
    }
    if (FSaveFormDestroy) {
        TNotifyEvent handler = FSaveFormDestroy;
        handler(sender);
    }
}

// --- Size limits ------------------------------------------------------------------------------

// The window system keeps the maximised position of a window here, so there is nothing to put
// back into the placement; the size limits follow the hook.
void TFormPlacement::UpdatePlacement() {}

void TFormPlacement::MinMaxInfoModified()
{
    UpdatePlacement();
    if (!InState(csLoading))
        CheckToggleHook();
}

void TFormPlacement::SetPreventResize(bool v)
{
    if (!Form() || v == FPreventResize)
        return;
    FPreventResize = v;
    UpdatePlacement();
    UpdatePreventResize();
}

void TFormPlacement::UpdatePreventResize()
{
    TCustomForm* form = Form();
    if (!form)
        return;
    const bool active = FActive;
    FActive = false;
    TBorderIcons icons = form->BorderIcons();
    if (FPreventResize) {
        FDefMaximize = (icons & biMaximize) != 0;
        icons &= ~static_cast<TBorderIcons>(biMaximize);
    } else if (FDefMaximize && form->BorderStyle() != bsDialog) {
        icons |= biMaximize;
    } else {
        icons &= ~static_cast<TBorderIcons>(biMaximize);
    }
    form->SetBorderIcons(icons);
    FActive = active;
    if (!InState(csLoading))
        CheckToggleHook();
}

void TFormPlacement::CheckToggleHook()
{
    TCustomForm* form = Form();
    const bool wanted = form && !InState(csDestroying) && (FPreventResize || !FWinMinMaxInfo.DefaultMinMaxInfo());
    const bool had = FWinHook != nullptr;
    if (wanted && !FWinHook) {
        FWinHook = std::make_unique<TExWindowHook>(nullptr);
        FWinHook->AfterMessage = [this](TObject*, TMessage& msg, bool& handled) { WndMessage(msg, handled); };
        FWinHook->SetWinControl(form);
    } else if (!wanted && FWinHook) {
        FWinHook.reset();
    }
    // The form asks for its size limits again (WM_GETMINMAXINFO).
    if ((had || FWinHook) && form && !form->InState(csDestroying))
        form->ConstraintsChanged();
}

void TFormPlacement::WndMessage(TMessage& msg, bool& handled)
{
    TCustomForm* form = Form();
    if (!form)
        return;
    if (FPreventResize) {
        if (msg.Msg == WM_GETMINMAXINFO) {
            if (form->HandleAllocated()) {
                auto* info = reinterpret_cast<TMinMaxInfo*>(msg.LParam);
                info->ptMinTrackSize = {form->Width(), form->Height()};
                info->ptMaxTrackSize = info->ptMinTrackSize;
            }
            handled = true;
        } else if (msg.Msg == WM_NCHITTEST && msg.Result >= kHitSizeFirst && msg.Result <= kHitSizeLast) {
            msg.Result = kHitNowhere;
        }
        return;
    }
    if (msg.Msg != WM_GETMINMAXINFO)
        return;
    auto* info = reinterpret_cast<TMinMaxInfo*>(msg.LParam);
    const TWinMinMaxInfo& mm = FWinMinMaxInfo;
    if (mm.DefaultMinMaxInfo()) {
        info->ptMaxPosition = {0, 0};
    } else {
        const auto take = [](int& field, int value) {
            if (value != 0)
                field = value;
        };
        take(info->ptMinTrackSize.x, mm.MinTrackWidth());
        take(info->ptMinTrackSize.y, mm.MinTrackHeight());
        take(info->ptMaxTrackSize.x, mm.MaxTrackWidth());
        take(info->ptMaxTrackSize.y, mm.MaxTrackHeight());
        take(info->ptMaxSize.x, mm.MaxSizeWidth());
        take(info->ptMaxSize.y, mm.MaxSizeHeight());
        take(info->ptMaxPosition.x, mm.MaxPosLeft());
        take(info->ptMaxPosition.y, mm.MaxPosTop());
    }
    handled = true;
}
