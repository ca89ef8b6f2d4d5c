#pragma once
// The spin edit and its buttons. TExSpinButton is a square split along its diagonal into a top
// half (step up) and a bottom half (step down) that repeats while held: once at the press, again
// after 400 ms, then every 100 ms. TExUpDown is the platform's up-down held at position 0, so it
// only reports which arrow was clicked. TExSpinEdit is a numeric edit (integer, floating point or
// hexadecimal) with one of the two inside its right edge: the buttons and the Up and Down keys
// step the value by Increment within MinValue..MaxValue, and typed characters are filtered to
// those that can form a number of the kind.
//
// Files: ExSpinButton.cpp (both buttons), ExSpinEdit.cpp (the edit); the display-free rules are
// controls/core/SpinValue.h.

#include <memory>

#include "controls/core/SpinValue.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/WindowTimer.h"

class TBitmap;

class TExSpinButton : public TGraphicControl {
public:
    explicit TExSpinButton(TComponent* AOwner);
    ~TExSpinButton() override;

    TSpinButtonState Down() const { return FDown; }
    void SetDown(TSpinButtonState Value);
    TBitmap* UpGlyph() const { return FUpBitmap.get(); }
    // A bitmap is copied; null brings back the built-in arrow.
    void SetUpGlyph(TBitmap* Value);
    TBitmap* DownGlyph() const { return FDownBitmap.get(); }
    void SetDownGlyph(TBitmap* Value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

    TNotifyEvent OnTopClick, OnBottomClick;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void TopClick();
    void BottomClick();
    void TimerExpired();
    void GlyphChanged();
    void DrawAllBitmap();
    void DrawBitmap(TBitmap* ABitmap, TSpinButtonState ADownState);

    TSpinButtonState FDown = sbNotDown;
    std::unique_ptr<TBitmap> FUpBitmap;
    std::unique_ptr<TBitmap> FDownBitmap;
    bool FDragging = false;
    bool FNeedsRedraw = true;
    std::unique_ptr<TBitmap> FTopDownBmp;
    std::unique_ptr<TBitmap> FBottomDownBmp;
    std::unique_ptr<TTimer> FRepeatTimer;
    std::unique_ptr<TBitmap> FNotDownBmp;
    TSpinButtonState FLastDown = sbNotDown;
    TWinControl* FFocusControl = nullptr;
};

// The width of the spin edit's buttons: the system's scroll-bar width, at most 15 pixels.
int DefaultSpinButtonWidth();

class TExUpDown : public TCustomUpDown {
public:
    explicit TExUpDown(TComponent* AOwner);
    ~TExUpDown() override;

private:
    bool FChanging = false;
};

enum TSpinButtonKind { bkStandard, bkDiagonal };

class TExSpinEdit : public TCustomEdit {
public:
    explicit TExSpinEdit(TComponent* AOwner);
    ~TExSpinEdit() override;

    double GetValue();
    void SetValue(double Value);
    int GetAsInteger() { return static_cast<int>(SpinCheckTrunc(GetValue())); }
    void SetAsInteger(int Value) { SetValue(Value); }
    double CheckValue(double Value) const { return SpinCheckValue(Value, FMinValue, FMaxValue); }

    double MinValue() const { return FMinValue; }
    void SetMinValue(double Value) { FMinValue = Value; }
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double Value) { FMaxValue = Value; }
    double Increment() const { return FIncrement; }
    void SetIncrement(double Value) { FIncrement = Value; }
    int Decimal() const { return FDecimal; }
    void SetDecimal(int Value);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    TValueType ValueType() const { return FValueType; }
    void SetValueType(TValueType Value);
    bool ArrowKeys() const { return FArrowKeys; }
    void SetArrowKeys(bool Value);
    TSpinButtonKind ButtonKind() const;
    void SetButtonKind(TSpinButtonKind Value);
    TExSpinButton* Button() const { return FButton; }
    TExUpDown* UpDown() const { return FUpDown; }
    int GetMinHeight();

    // One step up or down; a read-only edit beeps instead.
    virtual void UpClick(TObject* Sender);
    virtual void DownClick(TObject* Sender);

    TNotifyEvent OnTopClick, OnBottomClick;

protected:
    virtual bool IsValidChar(char Key);
    void Change() override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void InsertTyped(const AnsiString& text, bool pasted) override;
    void DoEnter() override;
    void DoExit() override;
    void WidgetCreated() override;

private:
    static double SpinCheckTrunc(double v);
    void RegisterSpinHandlers();
    void Step(double Delta, const TNotifyEvent& After);
    int GetButtonWidth() const;
    void RecreateButton();
    void ResizeButton();
    void SetEditRect();
    void UpDownClick(TUDBtnType Button);

    double FMinValue = 0;
    double FMaxValue = 0;
    double FIncrement = 1.0;
    uint8_t FDecimal = 2;
    bool FChanging = false;
    bool FEditorEnabled = true;
    TValueType FValueType = vtInt;
    TExSpinButton* FButton = nullptr;
    TWinControl* FBtnWindow = nullptr;
    bool FArrowKeys = true;
    TSpinButtonKind FButtonKind = bkDiagonal;
    TExUpDown* FUpDown = nullptr;
    bool FSettingHeight = false;
};

// Registers the spin classes and their published properties.
void RegisterExSpinClasses();
