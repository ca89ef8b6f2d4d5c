#pragma once
// The grid's in-place editor: an edit without a frame that the grid places over its current
// cell. It is single-line (with an edit mask and a password character when asked) or multi-line
// with word wrap. Keys that move between cells go to the grid (Up, Down, Page Up, Page Down,
// Escape, Insert, Ctrl with Delete, and with goAlwaysShowEditor the arrows at the edges of the
// text); every typed character passes the grid's key press first (the grid's OnKeyPress hears
// it). Each change of the text goes to the grid's SetEditText, so the cell follows the editor.
//
// Positions are cp949 byte offsets, as the edit's selection counts them.

#include "platform/gui/Mask.h"

class TCustomGrid;

class TInplaceEdit : public TCustomMaskEdit {
public:
    // The owner is the grid, which is also the parent.
    explicit TInplaceEdit(TComponent* AOwner);
    ~TInplaceEdit() override;

    TCustomGrid* Grid() const { return FGrid; }
    // A multi-line editor (line breaks, word wrap); changing it makes the window again.
    bool MultiLineEdit() const { return FMultiLine; }
    void SetMultiLineEdit(bool Value);
    // Long lines wrap at the editor's width (multi-line only).
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);

    // The byte offset of the character nearest a client point (EM_CHARFROMPOS).
    int CharFromPos(TPoint P);
    // The line (0 on, wrapped lines counted) that holds the character at a byte offset; -1
    // asks for the caret's line (EM_LINEFROMCHAR).
    int LineFromChar(int Index);
    // The number of lines the text takes.
    int LineCount();
    // Loads the grid's edit text for its current cell, all of it selected.
    virtual void UpdateContents();
    // The text as loaded by UpdateContents (what hiding compares with).
    const AnsiString& LoadedText() const { return FLoadedText; }
    // Placed over the cell rectangle (client coordinates of the grid) and shown.
    void Move(const TRect& Loc);
    // Placed without being shown (the cell scrolled).
    void Place(const TRect& Loc);

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    bool MultiLine() const override { return FMultiLine; }
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void Change() override;
    // The grid's key-down for a key that moves between cells.
    void SendKeyToGrid(uint16_t& Key, TShiftState Shift);
    // A key the editor keeps although the grid would take it (a multi-line editor's Up and Down
    // between its lines).
    virtual bool KeepsKey(uint16_t Key, TShiftState Shift) { return false; }

public:
    // Sets the text without telling the grid (the text came from the cell).
    void LoadText(const AnsiString& Text);

protected:
private:
    void ApplyWrap();
    TCustomGrid* FGrid;
    AnsiString FLoadedText;
    bool FMultiLine = false;
    bool FWordWrap = false;
    bool FLoading = false;
};

// Types Text into the control later, from the event loop, as the user's keyboard would: a
// single-byte character as a key press carrying it, a Hangul character as an input-method
// commit, each through the control's key phases. Nothing happens when the control is gone by
// then.
void PostTypedText(TWinControl* Control, const AnsiString& Text);
