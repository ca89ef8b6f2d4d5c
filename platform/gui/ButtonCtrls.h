#pragma once
// Push buttons, check boxes, radio buttons and group boxes on Qt's button widgets. A click by
// mouse or key runs Click (OnClick) once; setting Checked or State in code fires OnClick too,
// as the framework does. Enter and Escape reach the form's Default and Cancel buttons as
// dialog keys (CM_DIALOGKEY).

#include "platform/gui/Forms.h"
#include "platform/gui/StdMessages.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TLeftRight { taLeftSide, taRightSide };

class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* AOwner);

protected:
    void WidgetCreated() override;
    // The widget was clicked (mouse or key): the control's state follows, then Click.
    virtual void WidgetClicked() { Click(); }
    virtual void ApplyState() {}
};

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* AOwner);
    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool v) { FCancel = v; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult v) { FModalResult = v; }
    // Clicks the button as the user would.
    void Click() override;

protected:
    QWidget* CreateWidget() override;
    void ApplyState() override;

private:
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
};

class TCustomCheckBox : public TButtonControl {
public:
    explicit TCustomCheckBox(TComponent* AOwner);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState v);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool v);
    TLeftRight Alignment() const { return FAlignment; }
    void SetAlignment(TLeftRight v) { FAlignment = v; }

protected:
    QWidget* CreateWidget() override;
    void WidgetClicked() override;
    void ApplyState() override;

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TLeftRight FAlignment = taRightSide;
};

class TCheckBox : public TCustomCheckBox {
public:
    using TCustomCheckBox::TCustomCheckBox;
};

// Checking one radio button unchecks the others of the same parent.
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);

protected:
    QWidget* CreateWidget() override;
    void WidgetClicked() override;
    void ApplyState() override;

private:
    bool FChecked = false;
};

class TCustomGroupBox : public TWinControl {
public:
    explicit TCustomGroupBox(TComponent* AOwner);
    TRect ClientRect() const override;

protected:
    QWidget* CreateWidget() override;
};

class TGroupBox : public TCustomGroupBox {
public:
    using TCustomGroupBox::TCustomGroupBox;
};

enum TTextLayout { tlTop, tlCenter, tlBottom };

// A text drawn on the parent; "&x" underlines x, and Alt+x focuses FocusControl.
class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);
    ~TCustomLabel() override;
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* v);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool v);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout v);
    int Alignment() const { return FAlignment; }  // TAlignment of StdCtrls.h
    void SetAlignment(int v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    unsigned TextFlags() const;
    void AdjustBounds();

private:
    TWinControl* FFocusControl = nullptr;
    bool FShowAccelChar = true;
    bool FAutoSize = true;
    bool FWordWrap = false;
    TTextLayout FLayout = tlTop;
    int FAlignment = 0;
    bool FTransparent = false;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};

// The accelerator of a caption ("&x" gives x, upper-cased; "&&" is a literal "&"), or 0.
char AcceleratorOf(std::string_view caption);

void RegisterButtonClasses();
