#include "terminal/control/Terminal.h"

#include <algorithm>

#include "platform/core/StoredPath.h"
#include "platform/core/TimerService.h"
#include "platform/gui/Caret.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/Sound.h"
#include "terminal/fonts/GlyphTables.h"
#include "terminal/message/MessageForm.h"
#include "terminal/select/ClipboardText.h"

namespace {
TTerminalNoticeHook& NoticeHook()
{
    static TTerminalNoticeHook hook;
    return hook;
}
}  // namespace

void SetTerminalNoticeHook(TTerminalNoticeHook hook) { NoticeHook() = std::move(hook); }

void ShowTerminalNotice(const AnsiString& text, int durationMs, TWinControl* near)
{
    if (NoticeHook()) {
        NoticeHook()(text, durationMs);
        return;
    }
    ShowMessageForm(text, static_cast<unsigned>(std::max(durationMs, 0)), near);
}

// What the core reports goes to the screen image, and the control follows the view, the scroll
// bar and the end of each chunk.
class TCustomTerminal::TControlPainter : public ITerminalPainter {
public:
    TControlPainter(TCustomTerminal& owner, ITerminalPainter* inner) : FOwner(owner), FInner(inner) {}

    void TextOut(int col, int row, std::string_view text, TColor fg, TColor bg, bool underline) override
    {
        FInner->TextOut(col, row, text, fg, bg, underline);
    }
    void FillCells(int col, int row, int count, TColor bg) override { FInner->FillCells(col, row, count, bg); }
    void FillRows(int row, int count, TColor bg) override { FInner->FillRows(row, count, bg); }
    void ScrollRows(int top, int bottom, int n, TColor bg) override { FInner->ScrollRows(top, bottom, n, bg); }
    void ShiftCells(int row, int col, int n, TColor bg) override { FInner->ShiftCells(row, col, n, bg); }
    void ViewChanged(int prevLinePos, int linePos) override
    {
        FInner->ViewChanged(prevLinePos, linePos);
        FOwner.ViewMoved();
    }
    void MaxLinePosChanged(int maxLinePos) override
    {
        FInner->MaxLinePosChanged(maxLinePos);
        FOwner.ChangeMaxLinePos();
    }
    void ResetSelectionRect() override
    {
        FInner->ResetSelectionRect();
        FOwner.FHover = THoverRect{};
    }
    void ChunkDecoded() override
    {
        FInner->ChunkDecoded();
        if (FOwner.FMulti.Active())
            FOwner.CancelMultiSelect();
    }
    void Invalidate() override
    {
        FInner->Invalidate();
        FOwner.PresentFrame();
    }
    void Beep() override { MessageBeep(0xFFFFFFFF); }

private:
    TCustomTerminal& FOwner;
    ITerminalPainter* FInner;
};

TCustomTerminal::TCustomTerminal(TComponent* AOwner) : TCustomControl(AOwner)
{
    // A refused font file is told in a message box (captioned "폰트").
    static const bool fontBoxes = [] {
        SetFontMessageHook([](const AnsiString& text, const AnsiString& caption) {
            MessageBox(text, caption, MB_OK | MB_ICONEXCLAMATION);
        });
        return true;
    }();
    (void)fontBoxes;
    FControlStyle |= csOpaque;
    FDraw.SetRasterizer(&FRaster);
    FDraw.SetFontColor(FFontColor);
    FDraw.SetBackColor(FBackColor);
    // The control stands between the core and the screen image to follow what it reports.
    FPainter = std::make_unique<TControlPainter>(*this, &FDraw);
    FCore.SetPainter(FPainter.get());
    FCore.SetColumns(80);
    SetColor(FBackColor);
    Font()->SetColor(FFontColor);

    FCore.OnAfterPut = [this](const AnsiString& data) {
        if (OnAfterPut)
            OnAfterPut(this, data);
    };
    FCore.OnLine = [this](const AnsiString& data) {
        if (OnLine)
            OnLine(this, data);
    };
    FCore.OnChangeRow = [this](int rows) {
        if (OnChangeRow)
            OnChangeRow(rows);
    };
    FCore.AutoReply = [this](const AnsiString& line) { return FReply.AutoReply(line); };
    FCore.JReply = [this](const AnsiString& line) { FReply.JReply(line); };
    FReply.SendString = [this](const AnsiString& s) { PutDirectString(s); };
    FReply.OnSendReplyData = [this](const AnsiString& s) {
        if (OnSendReplyData)
            OnSendReplyData(this, s);
    };
    FReply.PlaySound = [](const AnsiString& file) { sndPlaySound(file, SND_ASYNC); };
    FReply.ShowMessage = [this](const AnsiString& text, int ms) { ShowTerminalNotice(text, ms, this); };
    FReply.OnJReply = [this](const AnsiString& context, const AnsiString& id) {
        if (OnJReply)
            OnJReply(this, context, id);
    };

    FBlockTimer = new TTimer(this);
    FBlockTimer->SetEnabled(false);
    FBlockTimer->SetInterval(50);
    FBlockTimer->SetOnTimer([this](TObject*) { BlockTimerTimer(); });
    FFrameTimer = new TTimer(this);
    FFrameTimer->SetEnabled(false);
    FFrameTimer->SetInterval(kFrameMs);
    FFrameTimer->SetOnTimer([this](TObject*) {
        FFrameTimer->SetEnabled(false);
        FLastPresent = GetTickCount();
        Invalidate();
    });
    FTimeTimer = new TTimer(this);
    FTimeTimer->SetEnabled(false);
    FTimeTimer->SetInterval(1000);
    FTimeTimer->SetOnTimer([this](TObject*) {
        if (!FCore.PendingText().empty() && !FCore.Held())
            FCore.ReleasePending();
        if (OnTimeTimer)
            OnTimeTimer(this);
    });

    RegisterTerminalHandlers();
    ResizeScreen(640, 400);
    SetBounds(Left(), Top(), 640, 400);
}

TCustomTerminal::~TCustomTerminal()
{
    FLiveness.Expire();
    FCore.OnAfterPut = nullptr;
    FCore.OnLine = nullptr;
    FCore.OnChangeRow = nullptr;
    FCore.SetPainter(&FDraw);
    if (FBlockTimer)
        FBlockTimer->SetEnabled(false);
    if (FFrameTimer)
        FFrameTimer->SetEnabled(false);
}

TRect TCustomTerminal::ClientRect() const
{
    return Rect(0, 0, std::max(0, Width() - TScrollBarModel::kWidth), Height());
}

void TCustomTerminal::SetParent(TWinControl* AParent)
{
    TCustomControl::SetParent(AParent);
    if (AParent)
        FScrollBar.DisableArrows();
}

// Host text may arrive in many reads a frame: the window shows what they left at most once a
// frame, the last state always (the timer presents what came after a present). What the control
// holds and reports is up to date at every read; only the window's picture waits.
void TCustomTerminal::PresentFrame()
{
    if (FFrameTimer->Enabled())
        return;
    const uint32_t now = GetTickCount();
    if (FPresented && now - FLastPresent < kFrameMs) {
        FFrameTimer->SetEnabled(true);
        return;
    }
    FPresented = true;
    FLastPresent = now;
    Invalidate();
}

void TCustomTerminal::Invalidate()
{
    TCustomControl::Invalidate();
    if (HandleAllocated() && Focused())
        CaretPosChange();
}

// --- Host text and output ---------------------------------------------------------------------

void TCustomTerminal::DecodeText(const AnsiString& S)
{
    FCore.SetSelecting(FSel.InProgress);
    FCore.SetResizing(FResizing);
    FCore.DecodeText(S);
}

void TCustomTerminal::DecodeLocalText(const AnsiString& S)
{
    FCore.SetSelecting(FSel.InProgress);
    FCore.SetResizing(FResizing);
    FCore.DecodeLocalText(S);
}

void TCustomTerminal::PaintString(const AnsiString& S) { FCore.PaintString(S); }

void TCustomTerminal::PutChar(char Ch)
{
    if (OnPutChar)
        OnPutChar(this, Ch);
}

void TCustomTerminal::PutDirectString(const AnsiString& S)
{
    if (OnPutString)
        OnPutString(this, S);
}

// Held text goes out once nothing holds the display any more.
void TCustomTerminal::ReleaseHeldText()
{
    FCore.SetSelecting(FSel.InProgress);
    FCore.SetResizing(FResizing);
    FCore.ReleasePending();
}

// --- The view ---------------------------------------------------------------------------------

void TCustomTerminal::CursorUp() { PaintScreen(ScrollPosition() - 1); }
void TCustomTerminal::CursorDown() { PaintScreen(ScrollPosition() + 1); }
void TCustomTerminal::PageUp() { PaintScreen(ScrollPosition() - FCore.PageSize()); }
void TCustomTerminal::PageDown() { PaintScreen(ScrollPosition() + FCore.PageSize()); }

void TCustomTerminal::PaintScreen(int Pos)
{
    if (FCore.MaxLinePos() == 0)
        return;
    Pos = std::clamp(Pos, 0, FCore.MaxLinePos());
    FScrollBar.SetPosition(Pos);
    FCore.SetSelecting(FSel.InProgress);
    FCore.SetResizing(FResizing);
    // Returning to the newest line releases the held text (the core decodes it there).
    FCore.ScrollView(Pos);
}

// The shown part of the buffer moved.
void TCustomTerminal::ViewMoved()
{
    FScrollBar.SetPosition(FCore.LinePos());
    if (FSel.InProgress)
        BlockBmpRepaint();
    if (FMulti.Active())
        CancelMultiSelect();
    PresentFrame();
}

void TCustomTerminal::ChangeMaxLinePos()
{
    if (FCore.MaxLinePos() > 0) {
        FScrollBar.Enable();
        FScrollBar.SetInfo(0, TDataList::kCount - 1, TDataList::kCount - FCore.MaxLinePos(), FCore.MaxLinePos());
    }
    PresentFrame();
}

void TCustomTerminal::SetRow(int R)
{
    if (R <= 0) {
        FScrollBar.DisableArrows();
        return;
    }
    CancelBlockLineMode();
    FCore.SetRow(R);
    if (FCore.MaxLinePos() > 0)
        ChangeMaxLinePos();
    else
        FScrollBar.DisableArrows();
}

void TCustomTerminal::RestoreScreen()
{
    if (!Live())
        return;
    FFontColor = Font()->Color();
    FBackColor = Color();
    FDraw.SetFontColor(FFontColor);
    FDraw.SetBackColor(FBackColor);
    FCore.RestoreColors(FFontColor, FBackColor);
    FDraw.Redraw();
    Invalidate();
}

// --- Colours and fonts ------------------------------------------------------------------------

void TCustomTerminal::SetBackColor(TColor Value)
{
    FCore.SetDefaultBackColor(Value);
    FBackColor = Value;
    SetColor(Value);
    FDraw.SetBackColor(Value);
    FDraw.Redraw();
    Invalidate();
}

void TCustomTerminal::SetFontColor(TColor Value)
{
    FCore.SetDefaultFontColor(Value);
    FFontColor = Value;
    Font()->SetColor(Value);
    FDraw.SetFontColor(Value);
    FDraw.Redraw();
    Invalidate();
}

void TCustomTerminal::SetHanMode(bool Value)
{
    if (!Value) {
        FHanMode = false;
        FDraw.SetHanMode(false);
        return;
    }
    const bool already = FHanMode && FCellWidth == 8 && FCellHeight == 16;
    FHanMode = true;
    FDraw.SetHanMode(true);
    if (already)
        return;
    Font()->SetSize(12);
    CellsChanged();
}

// The font's cells when the Hangul mode is off.
void TCustomTerminal::ReSetFont()
{
    if (FHanMode)
        return;
    FDraw.SetWinFont(Font()->Name(), Font()->Size());
    CellsChanged();
}

// New cells: the rows that fit, the image and the part of it shown follow.
void TCustomTerminal::CellsChanged()
{
    FCellWidth = FDraw.CellWidth();
    FCellHeight = FDraw.CellHeight();
    SetRow(ClientHeight() / FCellHeight - 1);
    ResizeScreen(ClientWidth(), ClientHeight());
    FDraw.Redraw();
    Invalidate();
}

// The program's glyph tables changed, for this terminal or another: what they draw is drawn again.
void TCustomTerminal::GlyphsChanged()
{
    if (!FHanMode)
        return;
    FDraw.Redraw();
    if (FSel.InProgress)
        BlockBmpRepaint();
    Invalidate();
}

void TCustomTerminal::SetHanFont(const AnsiString& FileName)
{
    FHanFontFile = FileName;
    LoadHanFont(ShippedFilePath(FileName));
}

void TCustomTerminal::SetEngFont(const AnsiString& FileName)
{
    FEngFontFile = FileName;
    LoadEngFont(ShippedFilePath(FileName));
}

void TCustomTerminal::SetSpcFont(const AnsiString& FileName)
{
    FSpcFontFile = FileName;
    LoadSpcFont(ShippedFilePath(FileName));
}

void TCustomTerminal::SetKsgFont(const AnsiString& FileName)
{
    FKsgFontFile = FileName;
    LoadKsgFont(ShippedFilePath(FileName));
}

// --- Resizing ---------------------------------------------------------------------------------

bool TCustomTerminal::CanResize(int& NewWidth, int& NewHeight)
{
    FResizing = true;
    FCore.SetResizing(true);
    const bool result = TCustomControl::CanResize(NewWidth, NewHeight);
    if (!result) {
        // No size message follows a refused size: the display must not stay held.
        FResizing = false;
        ReleaseHeldText();
        return false;
    }
    ResizeScreen(std::max(NewWidth - TScrollBarModel::kWidth, 0), NewHeight);
    return true;
}

void TCustomTerminal::WMSize()
{
    ResizeScreen(ClientWidth(), ClientHeight());
    if (FCellHeight > 1)
        SetRow(ClientHeight() / FCellHeight - 1);
    FDraw.Redraw();
    if (FSel.InProgress)
        BlockBmpRepaint();
    if (FMulti.Active())
        CancelMultiSelect();
    TCustomControl::Invalidate();
    FResizing = false;
    ReleaseHeldText();
}

void TCustomTerminal::SetColumns(int Count)
{
    const int old = FCore.Columns();
    FCore.SetColumns(Count);
    if (FCore.Columns() == old)
        return;
    ResizeScreen(ClientWidth(), ClientHeight());
    ReSetScreen();
}

void TCustomTerminal::ReSetScreen()
{
    FDraw.Redraw();
    if (FSel.InProgress)
        BlockBmpRepaint();
    if (FMulti.Active())
        CancelMultiSelect();
    Invalidate();
}

void TCustomTerminal::ResizeScreen(int clientWidth, int clientHeight)
{
    FDraw.Resize(std::max(clientWidth, 1), std::max(clientHeight, 1));
    FDrawnWidth = FDraw.DrawnWidth();
}

// --- Clipboard --------------------------------------------------------------------------------

void TCustomTerminal::CopyAllToClipBoard()
{
    Clipboard()->SetAsText(AllBufferText(FCore.Data()));
    ShowTerminalNotice(kCopyAllNotice, 1000, this);
}

void TCustomTerminal::CopyScreenToClipBoard()
{
    Clipboard()->SetAsText(ScreenText(FCore.Data(), FCore.LinePos(), FCore.PageSize()));
    ShowTerminalNotice(kCopyScreenNotice, 1000, this);
}
