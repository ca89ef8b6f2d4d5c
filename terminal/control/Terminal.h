#pragma once
// The colour text terminal control. It decodes host text into its screen and scroll-back (the
// terminal core), shows it through its screen image, and talks to its owner only through
// events: typed characters go out through OnPutChar, cursor keys, clicked prompts and auto-reply
// answers through OnPutString; every printed character is reported through OnAfterPut. The
// mouse selects text (OnBlock), clicks smart items and scrolls back; while the view is scrolled
// back, a selection is shown or the control is being resized, host text is held and decoded as
// soon as the display is free again.

#include <memory>

#include "platform/core/ScrollBarModel.h"
#include "platform/gui/FrameBuffer.h"
#include "platform/gui/WinControl.h"
#include "platform/gui/WindowTimer.h"
#include "terminal/control/TerminalEvents.h"
#include "terminal/core/TerminalCore.h"
#include "terminal/draw/OwnSequences.h"
#include "terminal/draw/ScreenPainter.h"
#include "terminal/draw/qt/QtTextRaster.h"
#include "terminal/fonts/GlyphTables.h"
#include "terminal/select/AutoReply.h"
#include "terminal/select/Selection.h"
#include "terminal/select/SmartMouse.h"

class TCustomTerminal : public TCustomControl {
public:
    explicit TCustomTerminal(TComponent* AOwner);
    ~TCustomTerminal() override;

    // --- Published properties.
    bool AlphaUse() const { return FCore.AlphaUse; }
    void SetAlphaUse(bool v) { FCore.AlphaUse = v; }
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor Value);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor Value);
    bool HanMode() const { return FHanMode; }
    void SetHanMode(bool Value);

    // --- Events.
    TBlockEvent OnBlock;
    TBlockLineEvent OnBlockLine;
    TNotifyEvent OnCancelBlockLineMode;
    THanEngEvent OnHanEngChange;
    TNotifyEvent OnTimeTimer;
    TTermPopupEvent OnPopupBlock, OnPopupNormal;
    TTermPopupSmartEvent OnPopupSmart;
    TJReplyEvent OnJReply;
    TLineEvent OnLine;
    TAfterPutEvent OnAfterPut;
    TBeforePutEvent OnBeforePut;  // declared only: never fired
    TLineEvent OnSendReplyData;
    TChangeRowEvent OnChangeRow;
    TNotifyEvent OnTabKeyPress;
    TPutCharEvent OnPutChar;
    TPutStringEvent OnPutString;

    // --- Host text in, and the control's output.
    void DecodeText(const AnsiString& S);
    // The program's own messages: shown in order with host text, neither reported through
    // OnAfterPut nor answered by the auto reply.
    void DecodeLocalText(const AnsiString& S);
    void PaintString(const AnsiString& S);
    void PutChar(char Ch);
    void PutDirectString(const AnsiString& S);

    // --- The view.
    void CursorUp();
    void CursorDown();
    void PageUp();
    void PageDown();
    void PaintScreen(int Pos);
    void RestoreScreen();

    // --- Fonts (the glyph tables are the program's: loading one changes every terminal).
    void SetHanFont(const AnsiString& FileName);
    void SetEngFont(const AnsiString& FileName);
    void SetSpcFont(const AnsiString& FileName);
    void SetKsgFont(const AnsiString& FileName);
    const AnsiString& HanFontFile() const { return FHanFontFile; }
    const AnsiString& EngFontFile() const { return FEngFontFile; }
    const AnsiString& SpcFontFile() const { return FSpcFontFile; }
    const AnsiString& KsgFontFile() const { return FKsgFontFile; }

    // --- Selection, block-line mode, multi-select and the clipboard.
    void CancelBlockMode();
    void StartBlockLineMode();
    void CancelBlockLineMode();
    void SetBlockLineY(int Row);
    int BlockLineY() const { return FBlockLineY; }
    void CancelMultiSelect();
    void CopyAllToClipBoard();
    void CopyScreenToClipBoard();
    const TBlockSelection& Selection() const { return FSel; }
    const TMultiSelect& MultiSelect() const { return FMulti; }

    // --- Auto reply.
    void AddReplyText(const AnsiString& S) { FReply.AddReplyText(S); }
    void ClearReplyText() { FReply.ClearReplyText(); }
    void AssignJText(const AnsiString& S) { FReply.AssignJText(S); }
    TAutoReply& Replies() { return FReply; }

    // Declared for the owner; they do nothing.
    void ConnectURL(const AnsiString& URL) {}
    void RedrawBackBmp(const AnsiString& FileName) {}
    void SetBackBmpFile(const AnsiString& FileName) {}

    // --- State the windows and tests read.
    TTerminalCore& Core() { return FCore; }
    const TTerminalCore& Core() const { return FCore; }
    int Rows() const { return FCore.Rows(); }
    int Columns() const { return FCore.Columns(); }
    // The columns the screen holds; the screen image follows at once, so that a window widened
    // in one step draws its lines to the new width.
    void SetColumns(int Count);
    int CellWidth() const { return FCellWidth; }
    int CellHeight() const { return FCellHeight; }
    int DrawnWidth() const { return FDrawnWidth; }
    bool Resizing() const { return FResizing; }
    const TScrollBarModel& ScrollBar() const { return FScrollBar; }
    const TSmartItem& SmartItem() const { return FSmart; }
    const THoverRect& HoverRect() const { return FHover; }
    // The input-method character being composed and the column it shows at.
    const AnsiString& Composition() const { return FComposition; }
    int CompositionCol() const { return FCompositionCol; }
    bool HoverPressed() const { return FHoverPressed; }
    // The picture the window shows (screen or overlay image with the decorations).
    const TFrameBuffer& ShownImage();
    // The screen image and its renderer.
    TScreenPainter& Painter() { return FDraw; }

    TRect ClientRect() const override;
    void SetParent(TWinControl* AParent) override;
    void Invalidate() override;
    void Repaint() override {}

protected:
    void Paint() override;
    void Click() override;
    void DblClick() override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyUp(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool CanResize(int& NewWidth, int& NewHeight) override;

private:
    class TControlPainter;
    friend class TControlPainter;

    // Construction and messages (Terminal.cpp, TerminalKeys.cpp).
    void RegisterTerminalHandlers();
    void WMSize();
    void WMVScroll(unsigned code, int pos);
    void WMSetFocus();
    void WMKillFocus();
    void ImeStartComposition();
    void ImeComposition(unsigned code, unsigned flags);
    void ImeEndComposition();
    void ImeNotify(WPARAM command, LPARAM data);
    void ReSetFont();
    void GlyphsChanged();
    void ReSetScreen();
    void ReSetCursor();
    void CaretPosChange();
    void SetRow(int R);
    void ChangeMaxLinePos();
    void ViewMoved();
    void ReleaseHeldText();
    // Asks for the window's picture now, or at the end of the display frame when the last one
    // is younger than a frame.
    void PresentFrame();
    bool Live() const { return FCore.Live(); }
    int ScrollPosition() const { return FScrollBar.Position(); }

    // Mouse (TerminalMouse.cpp).
    void SmartMouse(int Col, int Line);
    void BlockTimerTimer();
    void ClearHover();
    void InvalidateHover();
    void MultiSelectClick(const THoverRect& hover);
    bool ScrollBarMouse(int kind, TShiftState Shift, int X, int Y);

    // Painting (TerminalPaint.cpp).
    void BlockBmpRepaint();
    void MultiSelectRepaint();
    void ComposeWindow(TFrameBuffer& out);
    void TextOn(TFrameBuffer& target, int x, int y, const AnsiString& text, TColor fg, TColor bg);
    void PaintScrollBar();
    void ResizeScreen(int clientWidth, int clientHeight);
    void CellsChanged();

    // The core first: the painter and the own sequences attach to it and detach before it goes.
    TTerminalCore FCore;
    TQtTextRaster FRaster;
    TScreenPainter FDraw{FCore};
    TOwnSequences FOwn{FCore, FDraw};
    std::unique_ptr<TControlPainter> FPainter;
    TFrameBuffer FOverlay;  // the screen image with the selection or the marked rows inverted
    TFrameBuffer FShown;
    TAutoReply FReply;

    bool FResizing = false;
    int FBlockLineY = -1;
    TColor FBackColor = clNavy, FFontColor = clWhite;
    bool FHanMode = false;
    int FCellWidth = 1, FCellHeight = 1;
    int FDrawnWidth = 0;

    TBlockSelection FSel;
    TMultiSelect FMulti;
    TSmartItem FSmart;
    THoverRect FHover;
    bool FHoverPressed = false;
    bool FLeftDown = false;
    TPoint FLastMouse;
    TTimer* FBlockTimer = nullptr;
    TTimer* FTimeTimer = nullptr;
    static constexpr uint32_t kFrameMs = 16;
    TTimer* FFrameTimer = nullptr;
    bool FPresented = false;
    uint32_t FLastPresent = 0;

    TScrollBarModel FScrollBar;
    int FScrollDrag = -1;  // the scroll code held on the bar, or kThumbDrag
    int FThumbGrab = 0;

    // The input-method character being composed and where it shows.
    AnsiString FComposition;
    int FCompositionCol = 0;

    AnsiString FHanFontFile, FEngFontFile, FSpcFontFile, FKsgFontFile;
    // Falls first thing in the destructor: the framework may still send messages afterwards.
    TLiveness FLiveness;
    // Last, so that it goes first: a font loaded anywhere redraws this terminal.
    TGlyphTablesWatch FGlyphWatch{[this] { GlyphsChanged(); }};
};

// The published form placed on the windows.
class TTerminal : public TCustomTerminal {
public:
    using TCustomTerminal::TCustomTerminal;
};

// The terminal's short notices (a copy to the clipboard, an auto-reply message) are transient
// message boxes near the terminal (ShowMessageForm); a hook, when installed, takes them instead.
using TTerminalNoticeHook = std::function<void(const AnsiString& text, int durationMs)>;
void SetTerminalNoticeHook(TTerminalNoticeHook hook);
void ShowTerminalNotice(const AnsiString& text, int durationMs, TWinControl* near);
