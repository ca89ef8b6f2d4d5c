// The control's messages: keys, focus and caret, the input method, the scroll bar and the size.

#include <algorithm>

#include "platform/core/VirtualKeys.h"
#include "platform/gui/Caret.h"
#include "platform/gui/KeyBridge.h"
#include "terminal/control/Terminal.h"

namespace {
// The composition state shared by every terminal: 0 shows the composed character at the
// cursor; 1 (a character was committed) and 2 (its result was reported) show the next one
// beside it.
unsigned char gImeState = 0;

constexpr WPARAM IMN_SETCONVERSIONMODE = 0x0006;
constexpr LPARAM IME_CMODE_NATIVE = 0x0001;
}  // namespace

void TCustomTerminal::RegisterTerminalHandlers()
{
    // The framework's destructor may still send messages once this part of the control is gone:
    // then only the inherited handling runs.
    auto RegisterHandler = [this](unsigned msg, TMessageHandler handler) {
        TControl::RegisterHandler(msg, [this, alive = FLiveness.Token(), handler](TMessage& m) {
            if (*alive)
                handler(m);
            else
                Inherited(m);
        });
    };
    RegisterHandler(WM_GETDLGCODE, [](TMessage& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS; });
    // Tab stays with the terminal (it types OnTabKeyPress) instead of moving the focus.
    RegisterHandler(CN_KEYDOWN, [this](TMessage& m) {
        if (static_cast<uint16_t>(m.WParam) == VK_TAB) {
            m.Result = 0;
            return;
        }
        Inherited(m);
    });
    RegisterHandler(WM_SIZE, [this](TMessage& m) {
        Inherited(m);
        WMSize();
    });
    RegisterHandler(WM_VSCROLL, [this](TMessage& m) {
        WMVScroll(static_cast<unsigned>(m.WParam & 0xFFFF), static_cast<int>((m.WParam >> 16) & 0xFFFF));
    });
    RegisterHandler(CN_VSCROLL, [](TMessage&) {});
    RegisterHandler(WM_SETFOCUS, [this](TMessage& m) {
        Inherited(m);
        WMSetFocus();
    });
    RegisterHandler(WM_KILLFOCUS, [this](TMessage& m) {
        Inherited(m);
        WMKillFocus();
    });
    RegisterHandler(CM_FONTCHANGED, [this](TMessage& m) {
        Inherited(m);
        ReSetFont();
    });
    RegisterHandler(CM_CURSORCHANGED, [](TMessage&) {});
    RegisterHandler(WM_IME_STARTCOMPOSITION, [this](TMessage& m) {
        Inherited(m);
        ImeStartComposition();
    });
    RegisterHandler(WM_IME_CHAR, [this](TMessage& m) {
        Inherited(m);
        // The character is typed (as two key presses); the composition shown so far is gone.
        FComposition.clear();
        gImeState = 1;
        TCustomControl::Invalidate();
    });
    RegisterHandler(WM_IME_COMPOSITION, [this](TMessage& m) {
        Inherited(m);
        ImeComposition(static_cast<unsigned>(m.WParam & 0xFFFF), static_cast<unsigned>(m.LParam));
    });
    RegisterHandler(WM_IME_ENDCOMPOSITION, [this](TMessage& m) {
        Inherited(m);
        ImeEndComposition();
    });
    RegisterHandler(WM_IME_NOTIFY, [this](TMessage& m) {
        Inherited(m);
        ImeNotify(m.WParam, m.LParam);
    });
}

// --- Keys -------------------------------------------------------------------------------------

void TCustomTerminal::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (Key != VK_TAB)
        TCustomControl::KeyDown(Key, Shift);
    switch (Key) {
    case VK_LEFT:
        if (Live())
            PutDirectString("\x1BOD");
        break;
    case VK_RIGHT:
        if (Live())
            PutDirectString("\x1BOC");
        break;
    case VK_UP:
        if (FBlockLineY > -1) {
            SetBlockLineY(FBlockLineY == 0 ? FCore.PageSize() : FBlockLineY - 1);
        } else if (!Live()) {
            CursorUp();
        } else {
            PutDirectString("\x1BOA");
        }
        break;
    case VK_DOWN:
        if (FBlockLineY > -1) {
            SetBlockLineY(FBlockLineY >= FCore.PageSize() ? 0 : FBlockLineY + 1);
        } else if (!Live()) {
            CursorDown();
        } else {
            PutDirectString("\x1BOB");
        }
        break;
    default: CancelBlockLineMode(); break;
    }
}

void TCustomTerminal::KeyUp(uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_TAB)
        return;
    TCustomControl::KeyUp(Key, Shift);
}

void TCustomTerminal::KeyPress(char& Key)
{
    std::shared_ptr<bool> alive = FLiveness.Token();
    CancelBlockMode();
    if (!*alive)
        return;
    if (!Live())
        PaintScreen(FCore.MaxLinePos());
    if (!*alive)
        return;
    if (Key == '\t') {
        if (OnTabKeyPress)
            OnTabKeyPress(this);
    } else {
        PutChar(Key);
    }
}

void TCustomTerminal::DblClick()
{
    std::shared_ptr<bool> alive = FLiveness.Token();
    TCustomControl::DblClick();
    if (*alive)
        PutChar('\r');
}

void TCustomTerminal::Click()
{
    std::shared_ptr<bool> alive = FLiveness.Token();
    TCustomControl::Click();
    if (*alive && CanFocus())
        SetFocus();
}

// --- Focus and caret --------------------------------------------------------------------------

void TCustomTerminal::WMSetFocus()
{
    CreateCaret(this, FCellWidth, FCellHeight);
    ShowCaret(this);
    CaretPosChange();
}

void TCustomTerminal::WMKillFocus()
{
    FSel.Text.clear();
    DestroyCaret();
    TCustomControl::Invalidate();
}

void TCustomTerminal::CaretPosChange()
{
    const int col = FCore.CurX() >= FCore.Columns() ? FCore.Columns() - 1 : FCore.CurX();
    const TPoint want{col * FCellWidth, (FCore.CurY() - FCore.LinePos()) * FCellHeight};
    TPoint now;
    // Moving the caret repaints its cells; only a real move is worth that.
    if (GetCaretPos(now) && now == want)
        return;
    HideCaret(this);
    SetCaretPos(want.x, want.y);
    ShowCaret(this);
}

void TCustomTerminal::ReSetCursor()
{
    if (!Focused())
        return;
    DestroyCaret();
    CreateCaret(this, FCellWidth, FCellHeight);
    ShowCaret(this);
}

// --- Input method -----------------------------------------------------------------------------

void TCustomTerminal::ImeStartComposition()
{
    if (Focused()) {
        DestroyCaret();
        CreateCaret(this, FCellWidth * 2, FCellHeight);
        ShowCaret(this);
        CaretPosChange();
    }
    gImeState = 0;
}

// The composed character shows at the cursor. The first one after a committed character shows
// two columns further on: the committed one is on its way to the host and not echoed yet. A
// message carrying only the committed result shows nothing.
void TCustomTerminal::ImeComposition(unsigned code, unsigned flags)
{
    if ((flags & GCS_RESULTSTR) && !(flags & GCS_COMPSTR)) {
        if (gImeState == 1)
            gImeState = 2;
        return;
    }
    AnsiString ch;
    if (code > 0xFF)
        ch += static_cast<char>(code >> 8);
    if (code != 0)
        ch += static_cast<char>(code & 0xFF);
    FComposition = ch;
    FCompositionCol = FCore.CurX() + (gImeState != 0 ? 2 : 0);
    gImeState = 0;
    TCustomControl::Invalidate();
}

void TCustomTerminal::ImeEndComposition()
{
    FComposition.clear();
    TCustomControl::Invalidate();
    if (Focused()) {
        DestroyCaret();
        CreateCaret(this, FCellWidth, FCellHeight);
        ShowCaret(this);
        CaretPosChange();
    }
}

void TCustomTerminal::ImeNotify(WPARAM command, LPARAM data)
{
    if (command != IMN_SETCONVERSIONMODE || !OnHanEngChange)
        return;
    if (data == 0)
        OnHanEngChange(false);
    if (data == IME_CMODE_NATIVE)
        OnHanEngChange(true);
}

// --- Scroll bar -------------------------------------------------------------------------------

void TCustomTerminal::WMVScroll(unsigned code, int pos)
{
    switch (code) {
    case SB_LINEUP: CursorUp(); break;
    case SB_LINEDOWN: CursorDown(); break;
    case SB_PAGEUP: PageUp(); break;
    case SB_PAGEDOWN: PageDown(); break;
    case SB_THUMBTRACK:
        FCore.SetSelecting(FSel.InProgress);
        FCore.SetResizing(FResizing);
        if (!FCore.ScrollView(pos)) {
            HideCaret(this);
            CancelBlockLineMode();
            return;
        }
        break;
    case SB_ENDSCROLL: ShowCaret(this); break;
    default: break;
    }
    CancelBlockLineMode();
}
