#pragma once
// The grid's own text editor: the framework's in-place edit with the grid's editing rules for
// the editor types it serves (edNormal, edNumeric, edPositiveNumeric, edFloat, edCapital,
// edMixedCase, edPassword, edLowerCase, edUpperCase): a length limit, character filters and
// case rules by type (grid/model/CellEditRules.h), look-up completion from the grid's
// LookupItems, clipboard events and typed paste, cursor walking on to the next cell, Ctrl+Enter,
// sizing the row and column while typing, and validation on Enter and when the focus leaves.
// A cell may give it an edit mask (the grid's GetEditMask): the editor is then single-line, the
// cell takes the mask's value, a filled mask may move on by itself (Navigation.AdvanceAuto) and
// the first position is selected as the editor takes the focus (Navigation.ImproveMaskSel).

#include "platform/gui/InplaceEdit.h"

class TCellGrid;

class TCgInplaceEdit : public TInplaceEdit {
public:
    explicit TCgInplaceEdit(TComponent* AOwner);

    // The most bytes the text takes (0: no limit); a Hangul pair is never cut.
    int LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int Value);
    // Right-aligned text (a right-aligned cell).
    bool VAlign() const { return FVAlign; }
    void SetVAlign(bool Value);
    TCellGrid* CellGrid() const { return FCellGrid; }
    bool LookupEnabled() const { return FLookupEnabled; }
    // Loads the cell and takes the current editor type's look (password, lines, limit).
    void UpdateContents() override;
    // Takes the grid's WordWrap (and what asks for lines) while it edits.
    void TakeGridWrap();
    // Shows a cell's text (laid into the mask when there is one) without editing the cell; what
    // the cell would take from the editor.
    void LoadCellText(const AnsiString& Value);
    AnsiString CellValue() const { return IsMasked() ? MaskedText() : Text(); }
    // The look-up completion from the grid's LookupItems.
    void DoChange();

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyUp(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    bool KeepsKey(uint16_t Key, TShiftState Shift) override;
    void Change() override;
    // A typed character went in: a filled mask moves on to the next cell with AdvanceAuto.
    void InsertTyped(const AnsiString& Text, bool Pasted) override;

private:
    void RegisterEditorHandlers();
    void TypedChar(TMessage& m);
    void Paste();
    void FocusIn();
    void FocusOut();
    TCellGrid* FCellGrid;
    int FLengthLimit = 0;
    bool FVAlign = false;
    bool FLookupEnabled = true;
    bool FLookupDone = false;
    // The last typed byte was the lead byte of a Hangul pair.
    bool FLeadTyped = false;
    // The mask is being set: the text it reformats is no edit of the cell.
    bool FSettingMask = false;
    // The cell the editor loaded (display column).
    int FCellCol = -1, FCellRow = -1;
};
