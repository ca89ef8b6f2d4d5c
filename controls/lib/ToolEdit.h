#pragma once
// The edit with a button: a mask edit with a small speed button inside its right edge. The button
// fires OnButtonClick; ClickKey (Alt+Down by default) clicks it from the keyboard. A subclass may
// attach a pop-up window that opens under the edit, shows a value and writes the accepted value
// back as the edit's text (the date edit's calendar). TComboEdit is the ready-to-use form with no
// pop-up: the character window's command line and the trigger editor's fields.
//
// Files: ToolEdit.cpp (button, layout, glyphs, keys, read-only and direct input),
// ToolEditPopup.cpp (the pop-up window and the drop-down protocol). The file, directory and date
// edits built on it are in FileDirEdit.h and DateEdit.h.

#include <memory>

#include "controls/core/PopupPlacement.h"
#include "controls/lib/ExSpeedButton.h"
#include "platform/core/ShortCuts.h"
#include "platform/core/Variant.h"
#include "platform/gui/ControlCanvas.h"
#include "platform/gui/Mask.h"

class TCustomComboEdit;

// The framework's error for a virtual operation a subclass should have overridden.
class EAbstractError : public Exception {
    using Exception::Exception;
};

enum TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };

// The edit's button. A press that closes an open pop-up sets no-action, so that the click that
// follows the press is swallowed instead of opening the pop-up again.
class TEditButton : public TExSpeedButton {
public:
    explicit TEditButton(TComponent* AOwner);
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TCustomComboEdit* Edit() const;
    bool FNoAction = false;
};

using TCloseUpEvent = std::function<void(TObject* Sender, bool Accept)>;

// A window that drops down under an edit: a frameless tool window of its own, shown at screen
// coordinates and never activated, so the edit keeps the keyboard. Its owner and parent is the
// edit. A release of the left button inside it accepts its value, outside it cancels.
class TPopupWindow : public TCustomControl {
public:
    explicit TPopupWindow(TWinControl* AOwner);

    TWinControl* Editor() const { return FEditor; }
    // The value shown; the base has none and raises the abstract-method error.
    virtual Variant GetValue();
    virtual void SetValue(const Variant& Value);
    // Calls OnCloseUp (the edit's PopupCloseUp).
    virtual void CloseUp(bool Accept);
    virtual AnsiString GetPopupText() { return AnsiString(); }
    using TControl::Show;
    // Placed with its top-left corner at the screen point, on top, visible.
    void Show(TPoint Origin);
    void Hide();
    // Repaints the editor's text area at once.
    void InvalidateEditor();

    TCloseUpEvent OnCloseUp;

protected:
    void CreateParams(TCreateParams& Params) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TWinControl* FEditor;
};

class TCustomComboEdit : public TCustomMaskEdit {
public:
    // The natural button width of the glyph kinds other than a drop-down.
    static constexpr int kDefaultButtonWidth = 21;

    explicit TCustomComboEdit(TComponent* AOwner);
    ~TCustomComboEdit() override;

    const AnsiString& ButtonHint() const;
    void SetButtonHint(const AnsiString& Value);
    int ButtonWidth() const;
    void SetButtonWidth(int Value);
    TShortCut ClickKey() const { return FClickKey; }
    void SetClickKey(TShortCut Value) { FClickKey = Value; }
    bool DirectInput() const { return FDirectInput; }
    void SetDirectInput(bool Value);
    TBitmap* Glyph() const;
    void SetGlyph(TBitmap* Value);
    TGlyphKind GlyphKind() const { return FGlyphKind; }
    void SetGlyphKind(TGlyphKind Value);
    int NumGlyphs() const;
    void SetNumGlyphs(int Value);
    // The edit's own read-only flag; the text is also read-only while DirectInput is off.
    bool ReadOnly() const { return GetReadOnly(); }
    void SetReadOnly(bool Value);
    TPopupAlign PopupAlign() const { return FPopupAlign; }
    void SetPopupAlign(TPopupAlign Value) { FPopupAlign = Value; }
    bool PopupVisible() const { return FPopupVisible; }
    TPopupWindow* Popup() const { return FPopup; }
    TEditButton* Button() const { return FButton; }
    // Whether ButtonWidth differs from the natural width of the glyph kind, and Glyph is the
    // user's (gkCustom): what a stored form keeps.
    bool ButtonWidthStored() const;
    bool GlyphStored() const { return FGlyphKind == gkCustom; }

    // Acts as a click of the button.
    void DoClick();
    // Selects the whole text, only while typing is allowed (DirectInput).
    void SelectAll();
    // The pop-up's close-up handler: hides it, gives the edit the focus back, and with Accept
    // writes its value into the edit.
    void PopupCloseUp(TObject* Sender, bool Accept);
    // Opens the pop-up under (or above) the edit; with DisableEdit the text is read-only while
    // it is open.
    virtual void PopupDropDown(bool DisableEdit);
    // The height below which the edit grows back.
    int GetMinHeight();

    TNotifyEvent OnButtonClick;

protected:
    // The picture of gkDefault; DestroyNeeded tells whether the caller frees it.
    virtual TBitmap* GetDefaultBitmap(bool& DestroyNeeded);
    virtual void ShowPopup(TPoint Origin);
    virtual void HidePopup();
    virtual bool AcceptPopup(Variant& Value);
    virtual void AcceptValue(const Variant& Value);
    virtual void SetPopupValue(const Variant& Value);
    virtual Variant GetPopupValue();
    virtual void PopupChange() {}
    virtual bool GetReadOnly() const { return FReadOnly; }
    virtual void ButtonClick();
    virtual bool EditCanModify() { return !ReadOnly(); }
    // Grey while disabled (ComboEditTextColor).
    TColor TextColor() override;

    void Change() override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DoEnter() override;
    void WidgetCreated() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // OnChange, as the plain edit fires it.
    void DoChange() { TCustomMaskEdit::Change(); }
    void UpdatePopupVisible();
    int GetTextHeight();
    void SetEditRect();
    void UpdateBtnBounds();
    void RecreateGlyph();
    // Attaches a pop-up (null detaches); the edit does not own it.
    void SetPopup(TPopupWindow* Value);

    bool FAlwaysEnable = false;
    uint8_t FDefNumGlyphs = 1;
    // Set by a constructor while it sets up the button (ButtonWidth applies without the
    // client-width check).
    bool FCreating = false;

private:
    friend class TEditButton;
    void RegisterComboHandlers();
    void EditButtonClick();
    void ApplyReadOnly();
    bool ClosePopupOnCancelMode(const TControl* Sender) const;

    TWinControl* FBtnControl;
    TEditButton* FButton;
    TShortCut FClickKey = 0x8028;
    bool FReadOnly = false;
    bool FDirectInput = true;
    bool FPopupVisible = false;
    bool FFocused = false;
    bool FSettingHeight = false;
    TPopupAlign FPopupAlign = epaRight;
    TGlyphKind FGlyphKind = gkCustom;
    TPopupWindow* FPopup = nullptr;
};

class TComboEdit : public TCustomComboEdit {
public:
    explicit TComboEdit(TComponent* AOwner) : TCustomComboEdit(AOwner) {}
};

// The offset of an edit's text inside its client area: (left margin, top margin).
TPoint EditorTextMargins(TCustomEdit* Editor);

// The colour an edit's text is drawn in: the grey-text colour while it is disabled, unless its
// ground is that colour already; else its font's colour.
TColor ComboEditTextColor(TCustomEdit* Editor);

// Paints an edit with a button from the library's own drawing: its ground in its colour and its
// text (Text, placed by Alignment beside the button, at the left while the pop-up is open) in
// ComboEditTextColor. With StandardPaint, unless the edit is painting a copy of itself
// (csPaintCopy), it draws nothing and returns false: the caller leaves the painting to the edit
// itself. Canvas is made on first use, bound to the editor. Message is the paint message: its
// WParam, when not 0, is the TCanvas the picture goes to (a copy being painted); with 0 the
// canvas draws on the editor's window and lets it go afterwards. Nothing in the library calls it.
// The controls here read left to right, so no alignment is mirrored.
bool PaintComboEdit(TCustomComboEdit* Editor, const AnsiString& Text, TAlignment Alignment, bool StandardPaint,
                    std::unique_ptr<TControlCanvas>& Canvas, TMessage& Message);

// Registers the classes of the edits with a button and their published properties.
void RegisterToolEditClasses();
