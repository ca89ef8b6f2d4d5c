#include "controls/lib/AppForms.h"

#include <algorithm>
#include <memory>

#include "controls/core/PlacementKeys.h"
#include "controls/core/StoredList.h"
#include "controls/lib/CtrlUtils.h"
#include "controls/lib/Placemnt.h"
#include "platform/gui/Application.h"
#include "platform/gui/Grids.h"

namespace {

const char kMDIChildren[] = "MDI Children";

// The program's title names its registry key when RegUseAppTitle is set.
void UseApplicationTitle()
{
    if (!AppTitleSource)
        AppTitleSource = [] { return Application ? Application->Title() : AnsiString(); };
}

bool IsMainForm(const TCustomForm* form)
{
    const TCustomForm* main = Application ? Application->MainForm() : nullptr;
    return !main || main == form;
}

void CheckMDIForm(const TCustomForm* mainForm)
{
    if (!mainForm || mainForm->FormStyle() != fsMDIForm)
        throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
}

std::unique_ptr<TObject> OpenStore(const AnsiString& name, bool useRegistry, bool readOnly)
{
    UseApplicationTitle();
    if (useRegistry)
        return std::make_unique<TRegIniFile>(name, readOnly ? KEY_READ : KEY_ALL_ACCESS);
    return std::make_unique<TIniFile>(name);
}

// A restored form lies in the work area, as a form the program places does: no larger than the
// area, whatever size the file gives it, and moved inside it.
TRect WithinWorkArea(const TRect& r)
{
    const TRect area = Screen ? Screen->WorkAreaRect() : TRect{};
    if (area.Width() <= 0 || area.Height() <= 0)
        return r;
    const int width = std::clamp(r.Width(), 0, area.Width());
    const int height = std::clamp(r.Height(), 0, area.Height());
    return Bounds(std::clamp(r.Left, area.Left, area.Right - width), std::clamp(r.Top, area.Top, area.Bottom - height),
                  width, height);
}

}  // namespace

TPlacementScreen CurrentPlacementScreen()
{
    if (!Screen)
        return {};
    return {Screen->Width(), Screen->Height(), Screen->PixelsPerInch()};
}

AnsiString GetDefaultSection(TComponent* component)
{
    if (!component)
        return AnsiString();
    if (dynamic_cast<TCustomForm*>(component))
        return component->ClassName();
    if (auto* control = dynamic_cast<TControl*>(component)) {
        if (TCustomForm* form = control->ParentForm(); form && form != control)
            return form->ClassName() + control->Name();
        if (control->Parent())
            return control->Parent()->Name() + control->Name();
    }
    if (auto* form = dynamic_cast<TCustomForm*>(component->Owner()))
        return Format("%s.%s", form->ClassName().c_str(), component->Name().c_str());
    return component->Name();
}

void GetDefaultIniData(TControl* control, AnsiString& iniFileName, AnsiString& section, bool useRegistry)
{
    UseApplicationTitle();
    iniFileName.clear();
    TCustomForm* form = control ? control->ParentForm() : nullptr;
    if (!form && control)
        form = dynamic_cast<TCustomForm*>(control->Owner());
    for (int i = 0; form && i < form->ComponentCount(); ++i) {
        if (auto* placement = dynamic_cast<TFormPlacement*>(form->Components(i))) {
            iniFileName = placement->StoredIniFileName();
            break;
        }
    }
    section = GetDefaultSection(control);
    if (iniFileName.empty())
        iniFileName = useRegistry ? GetDefaultIniRegKey() : GetDefaultIniName();
}

// --- Placement --------------------------------------------------------------------------------

void WriteFormPlacement(TCustomForm* form, TObject* store, const AnsiString& section)
{
    const TWindowPlacement p = form->GetPlacement();
    TPlacementRecord record;
    record.ShowCmd = p.ShowCmd;
    record.NormalPosition = p.NormalPosition;
    if (form->FormStyle() == fsMDIChild && form->WindowState() == wsMinimized)
        record.Flags |= 1;
    WritePlacementKeys(store, section, record, CurrentPlacementScreen());
}

void ReadFormPlacement(TCustomForm* form, TObject* store, const AnsiString& section, bool loadState, bool loadPosition)
{
    if (!form || !(loadState || loadPosition))
        return;
    TWindowPlacement current = form->GetPlacement();
    if (!form->Visible())
        current.ShowCmd = SW_HIDE;
    if (loadPosition) {
        const TPlacementReading reading =
            ReadPlacementKeys(store, section, form->BoundsRect(), CurrentPlacementScreen());
        if (reading.ApplyPosition) {
            TRect r = reading.Placement.NormalPosition;
            // A form the user cannot size keeps its size at the stored place.
            if (form->BorderStyle() != bsSizeable && form->BorderStyle() != bsSizeToolWin)
                r = Bounds(r.Left, r.Top, form->Width(), form->Height());
            if (r.Right > r.Left) {
                if ((form->Position() == poScreenCenter || form->Position() == poDesktopCenter) &&
                    !form->InState(csDesigning))
                    form->SetPosition(poDesigned);
                TWindowPlacement applied = current;
                applied.NormalPosition = WithinWorkArea(r);
                if (applied.ShowCmd == SW_HIDE)
                    applied.ShowCmd = form->WindowState() == wsMaximized ? SW_SHOWMAXIMIZED
                        : form->WindowState() == wsMinimized             ? SW_SHOWMINIMIZED
                                                                         : SW_SHOWNORMAL;
                form->SetPlacement(applied);
            }
        }
    }
    if (loadState) {
        const bool maximiseByDefault = IsMainForm(form) &&
            (form->FormStyle() == fsMDIForm || (form->FormStyle() == fsNormal && form->Position() == poDefault));
        const TStoredWindowState state = StoredWindowState(IniReadInteger(store, section, "ShowCmd", 0),
                                                           maximiseByDefault ? swsMaximized : swsNormal);
        if (state == swsMinimized && IsMainForm(form)) {
            // The whole program goes to the task bar; the form itself keeps its normal state.
            form->SetWindowState(wsMinimized);
            return;
        }
        form->SetWindowState(state == swsMaximized ? wsMaximized : state == swsMinimized ? wsMinimized : wsNormal);
    }
    form->Invalidate();
}

void SaveFormPlacement(TCustomForm* form, const AnsiString& iniFileName, bool useRegistry)
{
    std::unique_ptr<TObject> store = OpenStore(iniFileName, useRegistry, false);
    WriteFormPlacement(form, store.get(), form->ClassName());
}

void RestoreFormPlacement(TCustomForm* form, const AnsiString& iniFileName, bool useRegistry)
{
    std::unique_ptr<TObject> store = OpenStore(iniFileName, useRegistry, true);
    ReadFormPlacement(form, store.get(), form->ClassName(), true, true);
}

// --- MDI children -----------------------------------------------------------------------------

void SaveMDIChildren(TCustomForm* mainForm, TObject* store)
{
    CheckMDIForm(mainForm);
    IniEraseSection(store, kMDIChildren);
    int count = 0;
    for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
        TCustomForm* child = Screen->Forms(i);
        if (child->FormStyle() == fsMDIChild)
            IniWriteString(store, kMDIChildren, Format("Item%d", count++), child->ClassName());
    }
    IniWriteInteger(store, kMDIChildren, "Count", count);
}

void RestoreMDIChildren(TCustomForm* mainForm, TObject* store)
{
    CheckMDIForm(mainForm);
    StartWait();
    try {
        // A missing name reads empty and names no class, so only the names present below the
        // count are read, whatever the count.
        const int count = IniReadInteger(store, kMDIChildren, "Count", 0);
        TStringList keys;
        IniReadSection(store, kMDIChildren, &keys);
        const std::vector<int> present = StoredListIndices(keys, "Item");
        for (auto at = present.rbegin(); at != present.rend(); ++at) {
            const int i = *at;
            if (i >= count)
                continue;
            const AnsiString name = IniReadString(store, kMDIChildren, Format("Item%d", i), AnsiString());
            const TClassInfo* cls = GetClass(name);
            if (cls && cls->Create && cls->InheritsFrom("TCustomForm"))
                FindShowForm(cls);
        }
    } catch (...) {
        StopWait();
        throw;
    }
    StopWait();
}

// --- Grid layout ------------------------------------------------------------------------------

void SaveGridLayout(TCustomGrid* grid, TObject* store)
{
    const AnsiString section = GetDefaultSection(grid);
    for (int i = 0; i < grid->ColCount(); ++i)
        IniWriteInteger(store, section, Format("Item%d", i), grid->ColWidths(i));
}

void RestoreGridLayout(TCustomGrid* grid, TObject* store)
{
    const AnsiString section = GetDefaultSection(grid);
    for (int i = 0; i < grid->ColCount(); ++i)
        grid->SetColWidths(i, ClampToScreen(IniReadInteger(store, section, Format("Item%d", i), grid->ColWidths(i))));
}

// --- Forms by class ---------------------------------------------------------------------------

namespace {

// The screen's first form of the class, with the caption when one is given.
TCustomForm* FirstForm(const TClassInfo* formClass, const AnsiString& caption)
{
    for (int i = 0; formClass && Screen && i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (formClass->IsInstance(form) && (caption.empty() || form->Caption() == caption))
            return form;
    }
    return nullptr;
}

}  // namespace

TCustomForm* FindForm(const TClassInfo* formClass) { return FirstForm(formClass, AnsiString()); }

TCustomForm* FindShowForm(const TClassInfo* formClass, const AnsiString& caption)
{
    TCustomForm* found = FirstForm(formClass, caption);
    if (!found) {
        if (!formClass || !formClass->Create)
            return nullptr;
        std::unique_ptr<TComponent> made(formClass->Create(Application));
        found = dynamic_cast<TCustomForm*>(made.get());
        if (!found)
            return nullptr;
        made.release();
        if (!caption.empty())
            found->SetCaption(caption);
    }
    if (found->WindowState() == wsMinimized)
        found->SetWindowState(wsNormal);
    found->Show();
    found->BringToFront();
    return found;
}

bool ShowDialog(const TClassInfo* formClass)
{
    if (!formClass || !formClass->Create)
        return false;
    std::unique_ptr<TComponent> made(formClass->Create(Application));
    auto* form = dynamic_cast<TCustomForm*>(made.get());
    if (!form)
        return false;
    const TModalResult result = form->ShowModal();
    return result == mrOk || result == mrYes;
}

TCustomForm* InstantiateForm(const TClassInfo* formClass, TCustomForm*& reference)
{
    if (!reference && formClass && formClass->Create) {
        std::unique_ptr<TComponent> made(formClass->Create(Application));
        if (auto* form = dynamic_cast<TCustomForm*>(made.get())) {
            made.release();
            reference = form;
        }
    }
    return reference;
}

LRESULT AppBroadcast(unsigned msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    // A handler may close or free forms: walk a copy and skip the ones gone meanwhile.
    std::vector<std::pair<TCustomForm*, TAliveToken>> forms;
    for (int i = 0; Screen && i < Screen->FormCount(); ++i)
        forms.emplace_back(Screen->Forms(i), Screen->Forms(i)->AliveToken());
    for (auto& [form, alive] : forms)
        if (*alive)
            result = form->Perform(msg, wParam, lParam);
    return result;
}

void AppTaskbarIcons(bool) {}
