#pragma once
// The grid's edits with a button: TCgEditButton, a small windowed container holding one speed
// button that fills it; TCgEditBtn, a single-line edit with such a button inside its right
// edge (F4 clicks it); and TCgUnitEditBtn, the same with a unit shown between the text and the
// button, whose button pops up a menu of units.

#include <memory>

#include "controls/lib/ExSpeedButton.h"
#include "platform/gui/StdCtrls.h"

class TCgEditButton : public TWinControl {
public:
    explicit TCgEditButton(TComponent* AOwner);

    TExSpeedButton* Button() const { return FButton; }
    TBitmap* Glyph() const { return FButton->Glyph(); }
    void SetGlyph(TBitmap* Value) { FButton->SetGlyph(Value); }
    const AnsiString& ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const AnsiString& Value) { FButton->SetCaption(Value); }
    int NumGlyphs() const { return FButton->NumGlyphs(); }
    void SetNumGlyphs(int Value) { FButton->SetNumGlyphs(Value); }
    // The control a press on the button gives the focus to (cleared when it goes).
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

    // A click of the button.
    TNotifyEvent OnButtonClick;

protected:
    void BoundsChanged(const TRect& OldBounds, bool SizeChanged) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TExSpeedButton* FButton = nullptr;
    TWinControl* FFocusControl = nullptr;
};

class TCgEditBtn : public TCustomEdit {
public:
    explicit TCgEditBtn(TComponent* AOwner);

    TCgEditButton* Button() const { return FButton; }
    // Typing, paste and cut allowed.
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    TBitmap* Glyph() const { return FButton->Glyph(); }
    void SetGlyph(TBitmap* Value) { FButton->SetGlyph(Value); }
    const AnsiString& ButtonCaption() const { return FButton->ButtonCaption(); }
    void SetButtonCaption(const AnsiString& Value) { FButton->SetButtonCaption(Value); }
    bool RightAlign() const { return FRightAlign; }
    void SetRightAlign(bool Value);
    // The height the edit never goes below: the font's character height and a quarter of the
    // smaller of the system font's and its own.
    int GetMinHeight();
    // What a click of the button does (OnClickBtn here).
    virtual void ClickButton();

    TNotifyEvent OnClickBtn;

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void DoEnter() override;
    void BoundsChanged(const TRect& OldBounds, bool SizeChanged) override;
    void WidgetCreated() override;
    // The text stops before the button and the unit space.
    void SetEditRect();
    int UnitSpaceWidth() const { return FUnitSpace; }
    void SetUnitSpaceWidth(int Value);
    // The rectangle between the text and the button (the unit's place).
    TRect UnitRect() const;

private:
    void PlaceButton();
    TCgEditButton* FButton = nullptr;
    bool FEditorEnabled = true;
    bool FRightAlign = false;
    int FUnitSpace = 0;
    bool FSettingHeight = false;
};

class TPopupMenu;
class TUnitLabel;

class TCgUnitEditBtn : public TCgEditBtn {
public:
    explicit TCgUnitEditBtn(TComponent* AOwner);
    ~TCgUnitEditBtn() override;

    TStrings* Units() const { return FUnits.get(); }
    const AnsiString& UnitID() const { return FUnitID; }
    void SetUnitID(const AnsiString& Value);
    int UnitSpace() const { return UnitSpaceWidth(); }
    void SetUnitSpace(int Value);
    // Pops up the menu of units under the edit's right end; a choice becomes UnitID.
    void ClickButton() override;

protected:
    void BoundsChanged(const TRect& OldBounds, bool SizeChanged) override;

private:
    std::unique_ptr<TStrings> FUnits;
    AnsiString FUnitID;
    TUnitLabel* FLabel = nullptr;
    std::unique_ptr<TPopupMenu> FMenu;
};
