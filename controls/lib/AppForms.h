#pragma once
// The form half of the application storage routines (the display-free half is
// controls/core/AppUtils.h): default sections, a form's window placement in an INI file or the
// registry substitute (keys in controls/core/PlacementKeys.h), the MDI children of a main form,
// a grid's column widths, and finding, showing and making forms by class.

#include "controls/core/AppUtils.h"
#include "controls/core/PlacementKeys.h"
#include "platform/core/IniFile.h"
#include "platform/core/RegIniFile.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/Forms.h"

class TCustomGrid;

// Empty for none; a form's class name; a control's parent form's class name and its name; a
// parent's name and the control's name; "Form.Name" of a component owned by a form; else the
// component's name.
AnsiString GetDefaultSection(TComponent* component);
// The INI name of the first TFormPlacement on the control's form (the default name or
// registry key when it has none) and the control's default section.
void GetDefaultIniData(TControl* control, AnsiString& iniFileName, AnsiString& section, bool useRegistry);

// --- Placement: "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos" and "NormPos" in the section.
// The store forms take a TIniFile or a TRegIniFile (anything else is ignored).
void WriteFormPlacement(TCustomForm* form, TObject* store, const AnsiString& section);
// With loadPosition the stored rectangle is applied when it was written at the screen's pixels
// per inch (a fixed-size form keeps its size), limited to the work area; with loadState the
// stored state.
void ReadFormPlacement(TCustomForm* form, TObject* store, const AnsiString& section, bool loadState, bool loadPosition);
inline void WriteFormPlacementReg(TCustomForm* form, TRegIniFile* store, const AnsiString& section)
{
    WriteFormPlacement(form, store, section);
}
inline void ReadFormPlacementReg(TCustomForm* form, TRegIniFile* store, const AnsiString& section, bool loadState,
                                 bool loadPosition)
{
    ReadFormPlacement(form, store, section, loadState, loadPosition);
}
// Opens the store by name (the registry substitute's key with useRegistry, read-only when
// restoring) and uses the form's class name as section.
void SaveFormPlacement(TCustomForm* form, const AnsiString& iniFileName, bool useRegistry);
void RestoreFormPlacement(TCustomForm* form, const AnsiString& iniFileName, bool useRegistry);

// --- MDI children of a main form of style fsMDIForm (EInvalidOperation otherwise): section
// "MDI Children", "Count" and "Item%d" = class name; restored from the last to the first
// through FindShowForm, classes that are not registered (or names missing) skipped.
void SaveMDIChildren(TCustomForm* mainForm, TObject* store);
void RestoreMDIChildren(TCustomForm* mainForm, TObject* store);

// --- A grid's column widths: "Item%d" in its default section.
void SaveGridLayout(TCustomGrid* grid, TObject* store);
void RestoreGridLayout(TCustomGrid* grid, TObject* store);

// --- Forms by class (a class of the registry that makes forms).
TCustomForm* FindForm(const TClassInfo* formClass);
// The first such form (with the caption, when one is given), else a new one owned by the
// application; restored when minimised, shown and brought to the front.
TCustomForm* FindShowForm(const TClassInfo* formClass, const AnsiString& caption = AnsiString());
// Makes the form, shows it modally and frees it; true for OK or Yes.
bool ShowDialog(const TClassInfo* formClass);
// Makes the form through the application only when the reference is empty.
TCustomForm* InstantiateForm(const TClassInfo* formClass, TCustomForm*& reference);

// Sends the message to every form of the screen; the last result.
LRESULT AppBroadcast(unsigned msg, WPARAM wParam, LPARAM lParam);
// The task bar has no separate application window here: nothing to change.
void AppTaskbarIcons(bool appOnly);

// The screen's size and resolution as the placement keys use them.
TPlacementScreen CurrentPlacementScreen();
