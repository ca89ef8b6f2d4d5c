#pragma once
// The grid's combo box: an ordinary drop-down combo box whose border and drop button are drawn
// flat and light up while the mouse is over it or it has the focus, with an optional focus on
// hover and a settable width of the dropped list. The grid's combo editors are built on it.

#include "platform/gui/ComboBoxes.h"

class TCgCustomCombo : public TCustomComboBox {
public:
    explicit TCgCustomCombo(TComponent* AOwner);

    // Takes the focus when the mouse enters.
    bool AutoFocus = false;
    // The drop button's width; only 14 to 32 are taken.
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    // The hot button's edge etched instead of raised.
    bool Etched() const { return FEtched; }
    void SetEtched(bool Value);
    // The control's border sinks while hot.
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool Value);
    // The dropped list's width (0: the combo's own).
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int Value);

    bool MouseInControl() const { return FMouseInControl; }
    // The button is hot while the mouse is over the control or it has the focus (always at
    // design time when enabled); the border too, with FocusBorder and never at design time.
    bool ButtonHot() const;
    bool BorderHot() const;

protected:
    void WidgetCreated() override;
    // Draws the look the state asks for now.
    void RedrawBorders();

private:
    void RegisterCgComboHandlers();
    int FButtonWidth;
    bool FFlat = true;
    bool FEtched = false;
    bool FFocusBorder = false;
    int FDropWidth = 0;
    bool FMouseInControl = false;
    bool FDropped = false;
    // The look of an enabled control, kept while it is disabled.
    TColor FSavedColor = clWindow;
    bool FSavedParentColor = false;
};

class TCgComboBox : public TCgCustomCombo {
public:
    using TCgCustomCombo::TCgCustomCombo;
};
