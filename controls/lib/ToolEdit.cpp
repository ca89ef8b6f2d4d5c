// The edit with a button: the button and its container, layout and minimum height, glyph kinds
// and button width, the keys (ClickKey, Enter and Escape), read-only and direct input, focus.

#include "controls/lib/ToolEdit.h"

#include <algorithm>

#include "controls/lib/CtrlUtils.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/PopupWindows.h"
#include "platform/gui/Resources.h"
#include "platform/gui/SystemMetrics.h"

namespace {

// The drop-down arrow of the system's combo box, our own picture: a 7 x 4 black triangle on a
// see-through ground.
const char* const kComboArrow[] = {"           ", "           ", "           ", "           ",
                                   "  #######  ", "   #####   ", "    ###    ", "     #     "};

bool RegisterComboArrow()
{
    RegisterBitmapResource("COMBO_ARROW", [](TBitmap* b) {
        const int h = static_cast<int>(std::size(kComboArrow));
        b->SetSize(11, h + 4);
        b->Canvas()->Brush()->SetColor(clOlive);  // the lower-left pixel: see-through
        b->Canvas()->FillRect(Rect(0, 0, 11, h + 4));
        for (int y = 0; y < h; ++y)
            for (int x = 0; kComboArrow[y][x]; ++x)
                if (kComboArrow[y][x] == '#')
                    b->Canvas()->SetPixels(x, y, clBlack);
    });
    return true;
}
const bool kComboArrowRegistered = RegisterComboArrow();

// Three black 2 x 2 dots centred on a white ground, for a button of the given width.
std::unique_ptr<TBitmap> EllipsisBitmap(int buttonWidth)
{
    auto b = std::make_unique<TBitmap>();
    const int w = std::max(1, buttonWidth - 6);
    b->SetSize(w, 4);
    const int gap = std::clamp((w - 6) / 2, 1, 3);
    const int x = (w - 6 - 2 * gap) / 2;
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, w, 4));
    c->Brush()->SetColor(clBlack);
    for (int i = 0; i < 3; ++i)
        c->FillRect(Bounds(x + i * (gap + 2), 1, 2, 2));
    c->Brush()->SetColor(clWhite);  // the ground stays white in one bit a pixel
    b->SetMonochrome(true);
    return b;
}

}  // namespace

// --- TEditButton ------------------------------------------------------------------------------

TEditButton::TEditButton(TComponent* AOwner) : TExSpeedButton(AOwner) { FControlStyle |= csReplicatable; }

TCustomComboEdit* TEditButton::Edit() const { return dynamic_cast<TCustomComboEdit*>(Owner()); }

void TEditButton::Paint()
{
    TExSpeedButton::Paint();
    if (FState == rbsDown)
        return;
    TCanvas* c = Canvas();
    c->Pen()->SetColor(NewStyleControls ? clBtnFace : clBtnShadow);
    c->MoveTo(0, 0);
    c->LineTo(0, Height() - 1);
    c->Pen()->SetColor(clBtnHighlight);
    c->MoveTo(1, 1);
    c->LineTo(1, Height() - 2);
}

void TEditButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomComboEdit* edit = Edit();
    if (Button == mbLeft && edit) {
        TAliveToken alive = AliveToken();
        FNoAction = edit->FPopup && edit->FPopupVisible;
        if (!edit->FPopupVisible) {
            if (edit->TabStop() && edit->CanFocus() && !edit->Focused())
                edit->SetFocus();
        } else {
            edit->PopupCloseUp(edit->FPopup, true);
        }
        if (!*alive)
            return;
    }
    TExSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TEditButton::Click()
{
    if (FNoAction) {
        FNoAction = false;
        return;
    }
    TExSpeedButton::Click();
}

// --- TCustomComboEdit ---------------------------------------------------------------------------

TCustomComboEdit::TCustomComboEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
    FControlStyle |= csCaptureMouse;
    FBtnControl = new TWinControl(this);
    FBtnControl->SetControlStyle(FBtnControl->ControlStyle() | csReplicatable);
    FBtnControl->SetBounds(0, 0, kDefaultButtonWidth, 17);
    FBtnControl->SetParent(this);
    FButton = new TEditButton(this);
    FButton->SetParentShowHint(true);
    FButton->SetBounds(0, 0, FBtnControl->Width(), FBtnControl->Height());
    FButton->SetParent(FBtnControl);
    FButton->OnClick = [this](TObject*) { EditButtonClick(); };
    SetHeight(21);
    RegisterComboHandlers();
    UpdateBtnBounds();
}

TCustomComboEdit::~TCustomComboEdit()
{
    FButton->OnClick = nullptr;
    if (FPopup)
        FPopup->OnCloseUp = nullptr;
}

void TCustomComboEdit::RegisterComboHandlers()
{
    RegisterHandler(WM_SIZE, [this](TMessage& m) {
        TAliveToken alive = AliveToken();
        Inherited(m);
        if (!*alive)
            return;
        if (!InState(csLoading) && !FSettingHeight) {
            const int minimum = GetMinHeight();
            if (Height() < minimum) {
                FSettingHeight = true;
                SetHeight(minimum);
                FSettingHeight = false;
                UpdateBtnBounds();
                return;
            }
        }
        if (InState(csLoading) && InState(csDesigning) && FPopup)
            FPopup->SetBounds(0, Height() + 1, 10, 10);
        UpdateBtnBounds();
    });
    RegisterHandler(CM_FONTCHANGED, [this](TMessage& m) {
        Inherited(m);
        if (HandleAllocated())
            SetEditRect();
    });
    RegisterHandler(CM_ENABLEDCHANGED, [this](TMessage& m) {
        Inherited(m);
        FButton->SetEnabled(Enabled());
    });
    RegisterHandler(WM_SETFOCUS, [this](TMessage& m) {
        FFocused = true;
        Inherited(m);
    });
    RegisterHandler(WM_KILLFOCUS, [this](TMessage& m) {
        FFocused = false;
        TAliveToken alive = AliveToken();
        Inherited(m);
        if (*alive && FPopupVisible && !PopupTookFocus(FPopup))
            PopupCloseUp(FPopup, false);
    });
    // A multi-line edit on the system this was written for: Enter and Escape come to the edit,
    // which hands them to the form itself (KeyPress).
    RegisterHandler(WM_GETDLGCODE, [](TMessage& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS; });
    RegisterHandler(CM_CANCELMODE, [this](TMessage& m) {
        Inherited(m);
        if (FPopupVisible && ClosePopupOnCancelMode(reinterpret_cast<const TControl*>(m.LParam)))
            PopupCloseUp(FPopup, false);
    });
}

void TCustomComboEdit::WidgetCreated()
{
    TCustomMaskEdit::WidgetCreated();
    SetEditRect();
}

void TCustomComboEdit::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomMaskEdit::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopup) {
        FPopup = nullptr;
        FPopupVisible = false;
    }
}

// --- Layout -------------------------------------------------------------------------------------

int TCustomComboEdit::GetTextHeight()
{
    TFont system;
    return std::min(FontCharHeight(&system), FontCharHeight(Font()));
}

int TCustomComboEdit::GetMinHeight() { return GetTextHeight() + 4 * GetSystemMetrics(SM_CYBORDER) + 1; }

void TCustomComboEdit::SetEditRect()
{
    // The text stops two pixels short of the button container.
    const int right = FBtnControl->Visible() ? FBtnControl->Width() + 2 : 2;
    SetTextMargins(0, right);
}

void TCustomComboEdit::UpdateBtnBounds()
{
    // The client area here includes the edit's sunken frame (two pixels a side), so the button
    // sits inside it as it does inside the client area of a framed edit.
    const int w = FButton->Width();
    if (BorderStyle() == bsSingle)
        FBtnControl->SetBounds(Width() - w - 2, 2, w, std::max(Height() - 4, 0));
    else
        FBtnControl->SetBounds(Width() - w, 0, w, Height());
    FButton->SetHeight(FBtnControl->Height());
    SetEditRect();
}

// --- Button width and glyphs --------------------------------------------------------------------

const AnsiString& TCustomComboEdit::ButtonHint() const { return FButton->Hint(); }

void TCustomComboEdit::SetButtonHint(const AnsiString& Value) { FButton->SetHint(Value); }

int TCustomComboEdit::ButtonWidth() const { return FButton->Width(); }

void TCustomComboEdit::SetButtonWidth(int Value)
{
    if (Value == ButtonWidth())
        return;
    FBtnControl->SetVisible(Value > 1);
    if (FCreating) {
        FBtnControl->SetWidth(Value);
        FButton->SetWidth(Value);
        FButton->SetControlStyle(FButton->ControlStyle() & ~csFixedWidth);
        RecreateGlyph();
    } else if (Value < ClientWidth()) {
        FButton->SetWidth(Value);
        FButton->SetControlStyle(FButton->ControlStyle() & ~csFixedWidth);
        UpdateBtnBounds();
        RecreateGlyph();
    }
    SetEditRect();
}

TBitmap* TCustomComboEdit::Glyph() const { return FButton->Glyph(); }

void TCustomComboEdit::SetGlyph(TBitmap* Value)
{
    FButton->SetGlyph(Value);
    FGlyphKind = gkCustom;
}

int TCustomComboEdit::NumGlyphs() const { return FButton->NumGlyphs(); }

void TCustomComboEdit::SetNumGlyphs(int Value)
{
    if (FGlyphKind == gkDropDown || FGlyphKind == gkEllipsis)
        FButton->SetNumGlyphs(1);
    else if (FGlyphKind == gkDefault)
        FButton->SetNumGlyphs(FDefNumGlyphs);
    else
        FButton->SetNumGlyphs(Value);
}

TBitmap* TCustomComboEdit::GetDefaultBitmap(bool& DestroyNeeded)
{
    DestroyNeeded = false;
    return nullptr;
}

void TCustomComboEdit::RecreateGlyph()
{
    switch (FGlyphKind) {
    case gkDefault: {
        bool destroy = false;
        TBitmap* bitmap = GetDefaultBitmap(destroy);
        FButton->SetGlyph(bitmap);
        FButton->SetNumGlyphs(FDefNumGlyphs);
        if (destroy)
            delete bitmap;
        break;
    }
    case gkDropDown: {
        TBitmap arrow;
        LoadBitmapResource(&arrow, "COMBO_ARROW");
        FButton->SetGlyph(&arrow);
        FButton->SetNumGlyphs(1);
        break;
    }
    case gkEllipsis: {
        std::unique_ptr<TBitmap> dots = EllipsisBitmap(ButtonWidth());
        FButton->SetGlyph(dots.get());
        FButton->SetNumGlyphs(1);
        break;
    }
    case gkCustom: break;
    }
}

void TCustomComboEdit::SetGlyphKind(TGlyphKind Value)
{
    if (Value == FGlyphKind)
        return;
    FGlyphKind = Value;
    if (FGlyphKind == gkCustom && InState(csReading))
        FButton->SetGlyph(nullptr);
    RecreateGlyph();
    if (FGlyphKind == gkDefault && Glyph() && !Glyph()->Empty()) {
        SetButtonWidth(std::max(Glyph()->Width() / std::max(NumGlyphs(), 1) + 6, ButtonWidth()));
    } else if (FGlyphKind == gkDropDown) {
        SetButtonWidth(GetSystemMetrics(SM_CXVSCROLL));
        FButton->SetControlStyle(FButton->ControlStyle() | csFixedWidth);
    }
}

bool TCustomComboEdit::ButtonWidthStored() const
{
    int natural = kDefaultButtonWidth;
    if (FGlyphKind == gkDefault && Glyph() && !Glyph()->Empty())
        natural = std::max(Glyph()->Width() / std::max(NumGlyphs(), 1) + 6, kDefaultButtonWidth);
    else if (FGlyphKind == gkDropDown)
        natural = GetSystemMetrics(SM_CXVSCROLL);
    return ButtonWidth() != natural;
}

// --- Clicks and keys ----------------------------------------------------------------------------

void TCustomComboEdit::EditButtonClick()
{
    if (!ReadOnly() || FAlwaysEnable)
        ButtonClick();
}

void TCustomComboEdit::ButtonClick()
{
    TAliveToken alive = AliveToken();
    if (OnButtonClick)
        OnButtonClick(this);
    if (!*alive || !FPopup)
        return;
    if (FPopupVisible)
        PopupCloseUp(FPopup, true);
    else
        PopupDropDown(true);
}

void TCustomComboEdit::DoClick() { EditButtonClick(); }

void TCustomComboEdit::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TAliveToken alive = AliveToken();
    TCustomMaskEdit::KeyDown(Key, Shift);
    if (!*alive || Key == 0)
        return;
    TShiftState keys;
    for (TShiftStateFlag f : {ssShift, ssCtrl, ssAlt})
        if (Shift.Contains(f))
            keys << f;
    if (ShortCut(Key, keys) == FClickKey && ButtonWidth() > 0) {
        Key = 0;
        EditButtonClick();
    }
}

void TCustomComboEdit::KeyPress(char& Key)
{
    if (Key == '\r' || Key == '\x1B') {
        if (FPopupVisible) {
            const bool accept = Key == '\r';
            Key = 0;
            PopupCloseUp(FPopup, accept);
            return;
        }
        // The edit takes every key, so it hands these to its form itself (when it has one).
        TAliveToken alive = AliveToken();
        if (TCustomForm* form = ParentForm())
            form->Perform(CM_DIALOGKEY, static_cast<unsigned char>(Key), 0);
        if (!*alive) {
            Key = 0;
            return;
        }
        if (Key == '\r') {
            TCustomMaskEdit::KeyPress(Key);
            Key = 0;
            return;
        }
    }
    TCustomMaskEdit::KeyPress(Key);
}

void TCustomComboEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FPopup) {
        TAliveToken alive = AliveToken();
        if (CanFocus())
            SetFocus();
        if (!*alive || !(FFocused || Focused()))
            return;
        if (FPopupVisible)
            PopupCloseUp(FPopup, false);
        if (!*alive)
            return;
    }
    TCustomMaskEdit::MouseDown(Button, Shift, X, Y);
}

// --- Read-only, direct input, selection ---------------------------------------------------------

void TCustomComboEdit::ApplyReadOnly() { TCustomMaskEdit::SetReadOnly(FReadOnly || !FDirectInput); }

void TCustomComboEdit::SetReadOnly(bool Value)
{
    if (Value == FReadOnly)
        return;
    FReadOnly = Value;
    ApplyReadOnly();
}

void TCustomComboEdit::SetDirectInput(bool Value)
{
    FDirectInput = Value;
    ApplyReadOnly();
}

void TCustomComboEdit::SelectAll()
{
    if (FDirectInput)
        TCustomMaskEdit::SelectAll();
}

void TCustomComboEdit::DoEnter()
{
    if (AutoSelect() && !LeftMouseButtonDown())
        SelectAll();
    TWinControl::DoEnter();
}

void TCustomComboEdit::Change()
{
    if (FPopupVisible)
        PopupChange();
    else
        DoChange();
}

TColor TCustomComboEdit::TextColor() { return ComboEditTextColor(this); }

TPoint EditorTextMargins(TCustomEdit* Editor)
{
    // The edits here have the 3-D look: one pixel inside a border.
    const int inset = Editor->BorderStyle() == bsNone ? 0 : 1;
    return TPoint{inset, inset};
}

TColor ComboEditTextColor(TCustomEdit* Editor)
{
    if (NewStyleControls && !Editor->Enabled() && ColorToRGB(Editor->Color()) != ColorToRGB(clGrayText))
        return clGrayText;
    return Editor->Font()->Color();
}

bool PaintComboEdit(TCustomComboEdit* Editor, const AnsiString& Text, TAlignment Alignment, bool StandardPaint,
                    std::unique_ptr<TControlCanvas>& Canvas, TMessage& Message)
{
    if (StandardPaint && !(Editor->ControlState() & csPaintCopy))
        return false;
    if (!Canvas)
        Canvas = std::make_unique<TControlCanvas>(Editor);
    auto* target = reinterpret_cast<TCanvas*>(Message.WParam);
    if (target) {
        QPainter* painter = target->Painter();
        if (!painter)
            return true;  // a picture with nothing to draw on
        Canvas->BeginPaint(painter);
    }
    TCanvas* c = Canvas.get();
    c->SetFont(Editor->Font());
    if (!Editor->InState(csDesigning))
        c->Font()->SetColor(ComboEditTextColor(Editor));
    // The edits here always have the 3-D look: the flat look's frame never applies.
    const TRect client = Editor->ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Editor->Color());
    c->FillRect(client);
    const int buttonWidth = Editor->ButtonWidth();
    const int textWidth = c->TextWidth(Text) + (buttonWidth > 0 ? 1 : 0);
    const TPoint margins = EditorTextMargins(Editor);
    int left = margins.x;
    if (!Editor->PopupVisible()) {
        if (Alignment == taRightJustify)
            left = client.Width() - buttonWidth - textWidth - margins.x - 2;
        else if (Alignment == taCenter)
            left = (client.Width() - buttonWidth - textWidth) / 2;
    }
    c->TextRect(client, left, margins.y, Text);
    if (target)
        Canvas->EndPaint();
    else
        Canvas->Release();
    return true;
}
