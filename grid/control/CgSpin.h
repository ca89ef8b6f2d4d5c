#pragma once
// The grid's spin edits: TCgSpinEdit, a mask edit with an up/down button pair inside its right
// edge that edits an integer, a floating-point number, a date or a time; TCgMaskSpinEdit, the
// same with its edit mask published; TCgSpinButton, the two-button container; and
// TCgTimerSpeedButton, a speed button that repeats its click while held (after 400 ms, then
// every 100 ms). The values, characters and steps are grid/model/CellEditRules.h.

#include "controls/lib/ExSpeedButton.h"
#include "grid/model/CellEditRules.h"
#include "platform/gui/Mask.h"

enum TSpinDirection { spVertical, spHorizontal };

class TCgTimerSpeedButton : public TExSpeedButton {
public:
    explicit TCgTimerSpeedButton(TComponent* AOwner);
    // The button repeats its click while held.
    bool Repeats() const { return AllowTimer(); }
    void SetRepeats(bool Value) { SetAllowTimer(Value); }

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

class TCgSpinButton : public TWinControl {
public:
    explicit TCgSpinButton(TComponent* AOwner);

    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    TBitmap* UpGlyph() const { return FUpButton->Glyph(); }
    void SetUpGlyph(TBitmap* Value);
    TBitmap* DownGlyph() const { return FDownButton->Glyph(); }
    void SetDownGlyph(TBitmap* Value);
    int UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
    void SetUpNumGlyphs(int Value) { FUpButton->SetNumGlyphs(Value); }
    int DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
    void SetDownNumGlyphs(int Value) { FDownButton->SetNumGlyphs(Value); }
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    TCgTimerSpeedButton* UpButton() const { return FUpButton; }
    TCgTimerSpeedButton* DownButton() const { return FDownButton; }
    // The button that has the button focus (Space clicks it).
    TCgTimerSpeedButton* FocusedButton() const { return FFocusedButton; }
    void SetFlat(bool Value);
    void SetTransparent(bool Value);

    TNotifyEvent OnUpClick, OnDownClick;

protected:
    void BoundsChanged(const TRect& OldBounds, bool SizeChanged) override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TCgTimerSpeedButton* MakeButton(bool Up);
    void Layout();
    void LoadArrows();
    void Pressed(TCgTimerSpeedButton* Button);
    TSpinDirection FDirection = spVertical;
    TCgTimerSpeedButton* FUpButton = nullptr;
    TCgTimerSpeedButton* FDownButton = nullptr;
    TCgTimerSpeedButton* FFocusedButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    bool FUserUpGlyph = false, FUserDownGlyph = false;
};

class TCgSpinEdit : public TCustomMaskEdit {
public:
    explicit TCgSpinEdit(TComponent* AOwner);

    TCgSpinType SpinType() const { return FSpinType; }
    void SetSpinType(TCgSpinType Value);
    // The text as an integer (MinValue when it is none); setting clamps and writes it.
    int Value() const;
    void SetValue(int Value);
    double FloatValue() const;
    void SetFloatValue(double Value);
    TDateTime DateValue() const;
    void SetDateValue(TDateTime Value);
    TDateTime TimeValue() const;
    void SetTimeValue(TDateTime Value);
    int MinValue = 0;
    int MaxValue = 100;
    double MinFloatValue = 0;
    double MaxFloatValue = 100;
    TDateTime MinDateValue = 0;
    TDateTime MaxDateValue = 0;
    int Increment = 1;
    double IncrementFloat = 0;
    int Precision() const { return FPrecision; }
    void SetPrecision(int Value);
    TSpinDirection Direction() const { return FButton->Direction(); }
    void SetDirection(TSpinDirection Value);
    bool ReturnIsTab = false;
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    bool SpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool Value);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool Value);
    TCgSpinButton* Button() const { return FButton; }
    // The height the edit never goes below (EditMinHeight.h).
    int GetMinHeight();

    // One step up or down by the spin type; a read-only edit beeps instead.
    virtual void UpClick(TObject* Sender);
    virtual void DownClick(TObject* Sender);

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DoEnter() override;
    void DoExit() override;
    void BoundsChanged(const TRect& OldBounds, bool SizeChanged) override;
    void WidgetCreated() override;
    // Steps the value by Delta increments (the part under the caret for dates and times).
    void Step(int Delta);
    // The current value of the spin type written again in its form.
    void Rewrite();

private:
    void PlaceButton();
    TCgSpinButton* FButton = nullptr;
    TCgSpinType FSpinType = sptNormal;
    int FPrecision = 0;
    bool FEditorEnabled = true;
    bool FSpinFlat = false;
    bool FSpinTransparent = false;
    bool FSettingHeight = false;
    // The last typed byte opened a Hangul pair.
    bool FLeadTyped = false;
};

class TCgMaskSpinEdit : public TCgSpinEdit {
public:
    using TCgSpinEdit::TCgSpinEdit;
};
