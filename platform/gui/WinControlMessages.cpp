// The message handlers of windowed controls: size, font and colour spreading to the children,
// painting, focus, the key phases and the default handling of input-method characters.

#include <algorithm>
#include <vector>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "platform/gui/ControlCanvas.h"
#include "platform/gui/FontChange.h"
#include "platform/gui/Forms.h"
#include "platform/gui/KeyBridge.h"
#include "platform/gui/WinControl.h"

void TWinControl::RegisterWinHandlers()
{
    RegisterHandler(WM_SIZE, [this](TMessage&) {
        std::shared_ptr<bool> alive = AliveToken();
        Realign();
        if (*alive)
            Resize();
    });
    RegisterHandler(CM_FONTCHANGED, [this](TMessage& m) {
        Inherited(m);
        ApplyFont();
        NotifyControls(CM_PARENTFONTCHANGED);
    });
    RegisterHandler(CM_COLORCHANGED, [this](TMessage& m) {
        Inherited(m);
        NotifyControls(CM_PARENTCOLORCHANGED);
    });
    // The word that the installed fonts changed reaches every control: each passes it on to its
    // children, skipping any that an earlier one's handling freed.
    RegisterHandler(WM_FONTCHANGE, [this](TMessage& m) {
        TAliveToken alive = AliveToken();
        const std::vector<TControl*> children = FControls;
        for (TControl* child : children) {
            if (!*alive)
                return;
            if (std::find(FControls.begin(), FControls.end(), child) != FControls.end())
                child->Perform(m.Msg, m.WParam, m.LParam);
        }
    });
    // A dialog key no one took on the way goes to every child until one claims it.
    RegisterHandler(CM_DIALOGKEY, [this](TMessage& m) { Broadcast(m); });
    RegisterHandler(CM_DIALOGCHAR, [this](TMessage& m) { Broadcast(m); });
    RegisterHandler(CM_SHOWHINTCHANGED, [this](TMessage&) { NotifyControls(CM_PARENTSHOWHINTCHANGED); });
    RegisterHandler(CM_ENABLEDCHANGED, [this](TMessage& m) {
        if (FWidget)
            FWidget->setEnabled(Enabled());
        Inherited(m);
    });
    RegisterHandler(WM_PAINT, [this](TMessage&) {
        TControlCanvas* canvas = WindowCanvas();
        if (!(FControlStyle & csOpaque)) {
            if (QImage* image = BackBuffer()) {
                ReleaseCanvases();
                QPainter p(image);
                p.fillRect(FUpdateRect.Left, FUpdateRect.Top, FUpdateRect.Width(), FUpdateRect.Height(),
                           ToQColor(Color()));
            }
        }
        canvas->IntersectClipRect(FUpdateRect);
        PaintWindow();
        if (FCreateParams.Style & WS_BORDER) {
            const TColor brush = canvas->Brush()->Color();
            canvas->Brush()->SetColor(clWindowFrame);
            canvas->FrameRect(Rect(0, 0, Width(), Height()));
            canvas->Brush()->SetColor(brush);
        }
        ReleaseCanvases();
        PaintControls();
    });
    RegisterHandler(WM_SETFOCUS, [this](TMessage&) {
        if (TCustomForm* form = ParentForm())
            form->SetFocusedControl(this);
    });
    RegisterHandler(CM_FOCUSCHANGED, [this](TMessage& m) { Broadcast(m); });
    RegisterHandler(CM_ENTER, [this](TMessage&) { DoEnter(); });
    RegisterHandler(CM_EXIT, [this](TMessage&) { DoExit(); });
    RegisterHandler(CN_KEYDOWN, [this](TMessage& m) {
        m.Result = 1;
        uint16_t key = static_cast<uint16_t>(m.WParam);
        TShiftState shift = CurrentKeyShift();
        TCustomForm* form = ParentForm();
        if (form && form->IsShortCut(key, shift))
            return;
        if (key == VK_TAB && !shift.Contains(ssCtrl) && Perform(CM_WANTSPECIALKEY, key, m.LParam) == 0 &&
            !(Perform(WM_GETDLGCODE) & DLGC_WANTTAB) && form && form->Perform(CM_DIALOGKEY, key, m.LParam) != 0)
            return;
        // Enter and Escape press the form's default and cancel buttons unless the control wants them.
        if ((key == VK_RETURN || key == VK_ESCAPE) && Perform(CM_WANTSPECIALKEY, key, m.LParam) == 0 &&
            !(Perform(WM_GETDLGCODE) & DLGC_WANTALLKEYS) && form && form->Perform(CM_DIALOGKEY, key, m.LParam) != 0)
            return;
        m.Result = 0;
    });
    for (unsigned msg : {WM_KEYDOWN, WM_SYSKEYDOWN}) {
        RegisterHandler(msg, [this, msg](TMessage& m) {
            uint16_t key = static_cast<uint16_t>(m.WParam);
            std::shared_ptr<bool> alive = AliveToken();
            DoKeyDown(key, CurrentKeyShift());
            if (!*alive)
                return;
            m.WParam = key;
            // Alt with a letter or digit no one took is a mnemonic: the form offers it to every
            // control (labels and buttons with "&" in their captions).
            const bool mnemonic = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
            if (msg == WM_SYSKEYDOWN && mnemonic)
                if (TCustomForm* form = ParentForm(); form && form->Perform(CM_DIALOGCHAR, key, m.LParam) != 0)
                    m.WParam = 0;
        });
    }
    for (unsigned msg : {WM_KEYUP, WM_SYSKEYUP}) {
        RegisterHandler(msg, [this](TMessage& m) {
            uint16_t key = static_cast<uint16_t>(m.WParam);
            DoKeyUp(key, CurrentKeyShift());
            m.WParam = key;
        });
    }
    RegisterHandler(WM_CHAR, [this](TMessage& m) {
        char key = static_cast<char>(m.WParam);
        DoKeyPress(key);
        m.WParam = static_cast<unsigned char>(key);
    });
    RegisterHandler(WM_MOUSEWHEEL, [this](TMessage& m) {
        int delta = static_cast<int16_t>((m.WParam >> 16) & 0xFFFF);
        TShiftState shift = KeysToShiftState(m.WParam & 0xFFFF, CurrentKeyShift().Contains(ssAlt));
        m.Result = DoMouseWheel(shift, delta, TPoint{LParamX(m.LParam), LParamY(m.LParam)}) ? 1 : 0;
    });
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    // An input-method character becomes its bytes, typed one after the other.
    if (Message.Msg == WM_IME_CHAR) {
        unsigned code = static_cast<unsigned>(Message.WParam) & 0xFFFF;
        if (code > 0xFF)
            FImeChars += static_cast<char>(code >> 8);
        FImeChars += static_cast<char>(code & 0xFF);
    }
}

bool TWinControl::DoKeyDown(uint16_t& Key, TShiftState Shift)
{
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        std::shared_ptr<bool> alive = AliveToken();
        static_cast<TWinControl*>(form)->KeyDown(Key, Shift);
        if (!*alive)
            return true;  // the form's handler freed this control
    }
    if (Key != 0)
        KeyDown(Key, Shift);
    return Key == 0;
}

bool TWinControl::DoKeyUp(uint16_t& Key, TShiftState Shift)
{
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        std::shared_ptr<bool> alive = AliveToken();
        static_cast<TWinControl*>(form)->KeyUp(Key, Shift);
        if (!*alive)
            return true;  // the form's handler freed this control
    }
    if (Key != 0)
        KeyUp(Key, Shift);
    return Key == 0;
}

bool TWinControl::DoKeyPress(char& Key)
{
    TCustomForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        std::shared_ptr<bool> alive = AliveToken();
        static_cast<TWinControl*>(form)->KeyPress(Key);
        if (!*alive)
            return true;  // the form's handler freed this control
    }
    if (Key != 0)
        KeyPress(Key);
    return Key == 0;
}

void TWinControl::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(uint16_t& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

bool TWinControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (WheelDelta < 0 && OnMouseWheelDown)
        OnMouseWheelDown(this, Shift, MousePos, handled);
    if (WheelDelta > 0 && OnMouseWheelUp)
        OnMouseWheelUp(this, Shift, MousePos, handled);
    if (!handled && Parent())
        handled = Parent()->DoMouseWheel(Shift, WheelDelta, MousePos);
    return handled;
}
