#pragma once
// The special editor controls the grid shows over a cell for the editor types that are not
// plain text: a combo box, a spin edit, a date-time picker, a check box, an edit with a button,
// an edit with a button and a unit, and a push button. The grid makes one of each, hidden and
// disabled, and reuses it for every cell (CellGridEdit.cpp places, fills and hides them). Each
// ends its edit on its own keys: an edited text goes into the cell and is validated (a refused
// one is reloaded from the cell and the user stays), the editor hides, a navigation key goes on
// to the grid, and Enter moves on to the next cell. Losing the focus ends the edit too.
//
// Each control remembers the text it showed when it opened: leaving it unchanged leaves the
// cell as it was, also where the control could not show the cell's text (a combo-list cell
// whose text is no item, a date cell that is no date, a unit cell that mixes letters and
// digits); Escape always puts the cell's text back.
//
// Files: CellGridEditors.cpp (combo, spin, date picker), CellGridEditorsButtons.cpp (check box,
// edits with a button, push button).

#include "grid/control/CgCombo.h"
#include "grid/control/CgEditBtn.h"
#include "grid/control/CgSpin.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/DateTimePicker.h"

class TCellGrid;

// What every editor control shares: its grid, the text it showed on opening, and the end of an
// edit by a key.
class TGridEditorLink {
public:
    explicit TGridEditorLink(TComponent* AOwner);
    TCellGrid* Grid() const { return FGrid; }
    // The text the control showed when it opened (what leaving unchanged compares with).
    const AnsiString& ShownText() const { return FShownText; }
    void SetShownText(const AnsiString& Value) { FShownText = Value; }
    // Escape reloaded the control: nothing goes back into the cell.
    bool Restored() const { return FRestored; }
    void SetRestored(bool Value) { FRestored = Value; }

protected:
    // Writes Text into the current cell and validates it; false (the control reloaded from the
    // cell) when refused.
    bool CommitText(TWinControl* Control, const AnsiString& Text, const std::function<void()>& Reload);
    // Steps 1 and 2 of ending an edit in an edit control: Escape reloads the shown text, Enter,
    // Up and Down commit it; false when a refused value keeps the user in the editor.
    bool EndTextEdit(TCustomEdit* Edit, uint16_t Key);
    // Steps 3 to 5 of ending an edit: the grid hides the editor, a navigation key goes on to
    // it, the grid takes the focus and Enter advances.
    void FinishEdit(uint16_t Key, TShiftState Shift, bool PassKey, bool ByKey);

    TCellGrid* FGrid;
    AnsiString FShownText;
    bool FRestored = false;
};

class TGridCombo : public TCgComboBox, public TGridEditorLink {
public:
    explicit TGridCombo(TComponent* AOwner);
    // Look-up over the combo's own items, completing the typed part.
    void DoChange();
    // The dropped list as wide as the widest item (and never narrower than the combo).
    void SizeDropDownWidth();
    // The value shown: the chosen item of a list, the edit's text otherwise.
    AnsiString ValueText();
    // The index and flag of the last look-up match.
    int MatchIndex() const { return FMatchIndex; }
    bool Matched() const { return FMatched; }

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyUp(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DoExit() override;
    // The user chose an item or typed: the grid hears it as its combo's change notification
    // (CBN_SELCHANGE or CBN_EDITCHANGE in a WM_COMMAND from this control).
    void Change() override;

private:
    bool FInSelChange = false;
    bool FLookupEnabled = true;
    int FMatchIndex = -1;
    bool FMatched = false;
};

class TGridSpin : public TCgSpinEdit, public TGridEditorLink {
public:
    explicit TGridSpin(TComponent* AOwner);
    void UpClick(TObject* Sender) override;
    void DownClick(TObject* Sender) override;

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DoExit() override;

private:
    void FireSpinClick(bool Up);
};

class TGridDatePicker : public TDateTimePicker, public TGridEditorLink {
public:
    explicit TGridDatePicker(TComponent* AOwner);
    // The cell's text as a date (or a time): the current date and time when it is none.
    void LoadFromCell();
    // The value as the cell writes it: the short date, or the long time.
    AnsiString ValueText() const;

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void DoExit() override;
};

class TGridCheckBox : public TCheckBox, public TGridEditorLink {
public:
    explicit TGridCheckBox(TComponent* AOwner);

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void DoExit() override;
};

class TGridEditBtn : public TCgEditBtn, public TGridEditorLink {
public:
    explicit TGridEditBtn(TComponent* AOwner);
    // The button: the text becomes the grid's EllipsClick answer, all of it selected.
    void ExtClick();

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DoExit() override;

private:
    bool FTrail = false;
};

class TGridUnitEditBtn : public TCgUnitEditBtn, public TGridEditorLink {
public:
    explicit TGridUnitEditBtn(TComponent* AOwner);

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void DoExit() override;
};

class TGridButton : public TButton, public TGridEditorLink {
public:
    explicit TGridButton(TComponent* AOwner);

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyUp(uint16_t& Key, TShiftState Shift) override;
    void DoExit() override;
};
