#pragma once
// The display-free terminal: the line buffer with its colour runs, the cursor and the screen
// window over the buffer, and the decoder of the host's byte stream (control characters and
// ANSI sequences). Printed bytes and handled control bytes are reported one at a time through
// OnAfterPut, in order; drawing is reached through ITerminalPainter.

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"
#include "terminal/core/DataList.h"
#include "terminal/core/TerminalPainter.h"

// One parameter of a control sequence: its digits as a saturated number.
struct TParam {
    int32_t Value = 0;
    bool Empty = true;
    // The count rule of the cursor and editing sequences: empty or 0 counts as 1.
    int Count() const { return (Empty || Value == 0) ? 1 : Value; }
};

// The sub-mode of a control sequence: the byte seen among its parameters that selects the own
// sequences' meaning ('*', '=', '>', '^', '?').
enum TSubAnsiMode : uint8_t { saNone = 0, saStar = 1, saEqual = 2, saRArrow = 3, saCaret = 4, saQuery = 5 };

class TTerminalCore {
public:
    static constexpr int kMaxParamValue = 999999;
    static constexpr int kMaxParams = 256;
    static constexpr int kMaxColumns = 1000;
    static constexpr size_t kMaxPending = 4u << 20;

    TTerminalCore();
    TTerminalCore(const TTerminalCore&) = delete;
    TTerminalCore& operator=(const TTerminalCore&) = delete;

    // Events. Handlers may call DecodeText again.
    std::function<void(const AnsiString&)> OnAfterPut;
    std::function<void(const AnsiString&)> OnLine;
    std::function<void(int rowCount)> OnChangeRow;
    // Auto reply hooks: AutoReply answers a prompt (true when it did), JReply checks a line.
    std::function<bool(const AnsiString&)> AutoReply;
    std::function<void(const AnsiString&)> JReply;

    void SetPainter(ITerminalPainter* painter);
    void SetExtension(ITerminalExtension* extension) { FExtension = extension; }

    // Host text in (held while the display is held), and local text drawn without reply checks.
    void DecodeText(std::string_view s);
    // The program's own messages: through the same gate and queue as host text, in order with
    // it, but not reported through OnAfterPut and never answered by the auto reply.
    void DecodeLocalText(std::string_view s);
    void PaintString(std::string_view s);
    // One byte; with report, what it prints or handles goes to OnAfterPut.
    void Decode(unsigned char ch, bool report);
    void ProcessAfterDecode();
    void MiscProcess();

    // The input gate. Held text is released when the view returns live, or by ReleasePending.
    void SetSelecting(bool on) { FSelecting = on; }
    void SetResizing(bool on) { FResizing = on; }
    bool Held() const { return FSelecting || FResizing || FLinePos != FMaxLinePos; }
    void ReleasePending();
    const AnsiString& PendingText() const { return FPending; }

    // Screen model.
    const TDataList& Data() const { return FData; }
    int CurX() const { return FCurX; }
    int CurY() const { return FCurY; }
    int MaxLinePos() const { return FMaxLinePos; }
    int LinePos() const { return FLinePos; }
    int PrevLinePos() const { return FPrevLinePos; }
    int PageSize() const { return FPageSize; }
    int Rows() const { return FPageSize + 1; }
    int Columns() const { return FColumns; }
    void SetCurX(int x) { FCurX = x < 0 ? 0 : x; }
    void SetCurY(int y);
    // The row count minus one (index of the last visible row).
    void SetRow(int r);
    void SetColumns(int c);
    // Shows the buffer from line pos (clamped to 0 .. MaxLinePos); true when the view moved.
    bool ScrollView(int pos);
    bool Live() const { return FLinePos == FMaxLinePos; }

    // Colours: the current drawing colours and the defaults (the control's colours).
    TColor FontColor() const { return FFontColor; }
    TColor BackColor() const { return FBackColor; }
    TColor DefaultFontColor() const { return FDefaultFontColor; }
    TColor DefaultBackColor() const { return FDefaultBackColor; }
    void SetCurrentColors(TColor fg, TColor bg)
    {
        FFontColor = fg;
        FBackColor = bg;
    }
    // New default colours; runs that carry the old default take the new one.
    void SetDefaultFontColor(TColor c);
    void SetDefaultBackColor(TColor c);
    // Every run of the buffer takes the given colours, which become current and default;
    // the attribute flags are cleared.
    void RestoreColors(TColor fg, TColor bg);

    bool Underline() const { return FUnderline; }
    bool Reverse() const { return FReverse; }
    bool Bright() const { return FBright; }
    bool AlphaUse = false;

    // Parser state, readable by the own sequences.
    int ParamCount() const { return static_cast<int>(FParams.size()); }
    TParam Param(int i) const { return i >= 0 && i < ParamCount() ? FParams[static_cast<size_t>(i)] : TParam{}; }
    TParam CurParam() const { return FCurParam; }
    TSubAnsiMode SubMode() const { return FSubMode; }
    bool InSequence() const { return FEscSeen || FInCsi; }
    std::string_view CollectedText() const { return {FCollected.data(), FCollectedLen}; }
    const AnsiString& ReplyPrefix() const { return FReplyPrefix; }
    bool RegionOn() const { return FRegionOn; }
    int RegionTop() const { return FRegionTop; }
    int RegionBottom() const { return FRegionBottom; }

    // True when byte `index` (1-based) of s is the first byte of a two-byte character: the
    // bytes of 0x80 and above that end there are odd in number. The one-argument form asks
    // about the last byte.
    static bool IsHanLeadByte(std::string_view s, int index);
    static bool IsHanLeadByte(std::string_view s) { return IsHanLeadByte(s, static_cast<int>(s.size())); }

private:
    // Decoder (Decoder.cpp).
    void DecodeBytes(std::string_view s);
    bool DecodeByte(unsigned char ch, bool report);
    bool CsiByte(unsigned char ch, bool report);
    void EscByte(unsigned char ch, bool report);
    void Print(unsigned char ch, bool report, bool clearState);
    void Report(unsigned char ch, bool report);
    void StartEscape();
    void StartCsi();
    void EndSequence() { FInCsi = false; }
    void PushParam();
    void AddDigit(unsigned char ch);

    // Control characters (Controls.cpp).
    bool Control(unsigned char ch, bool report);
    void Tab();
    void LineFeed();
    void CarriageReturn();
    void Index();
    void ReverseIndex();
    void RegionScrollUp();
    void SaveCursor();
    void RestoreCursor();

    // Control sequences (CsiOps.cpp) and SGR (Sgr.cpp).
    void Final(unsigned char ch);
    void CursorPosition();
    void EraseDisplay(int mode);
    void EraseLine(int mode);
    void InsertCells(int n);
    void DeleteCells(int n);
    void EraseCells(int n);
    void SetRegion();
    void SaveAll();
    void RestoreAll();
    void SelectGraphicRendition();
    void Sgr(const TParam& p);
    void SwapColors();
    void ClearScreen();
    void RepaintCells(int y, int from, int to);

    // Buffer helpers (TerminalCore.cpp).
    void WriteBlanks(int x, int y, int n);
    void AdvanceScreen(int d);
    int ScreenRow() const { return FCurY - FMaxLinePos; }
    int RegionBottomRow() const;

    TDataList FData;
    ITerminalPainter* FPainter;
    ITerminalExtension* FExtension = nullptr;

    int FCurX = 0, FCurY = 0, FMaxLinePos = 0, FLinePos = 0, FPrevLinePos = 0;
    int FPageSize = 24, FColumns = 80;
    // The wrap keeps the collected text within a line; a plain buffer keeps appending cheap.
    std::array<char, kMaxColumns + 16> FCollected{};
    size_t FCollectedLen = 0;
    int FHighRun = 0;  // bytes of 0x80 and above ending the collected text
    void Collect(char c)
    {
        if (FCollectedLen == FCollected.size())
            MiscProcess();
        FCollected[FCollectedLen++] = c;
        FHighRun = static_cast<unsigned char>(c) >= 0x80 ? FHighRun + 1 : 0;
    }
    void DecodeInput(std::string_view s, bool local);
    void AppendPending(std::string_view s, bool local);
    void DecodePending(const AnsiString& pending, std::vector<std::pair<size_t, bool>>& runs);
    // Reports and reply checks are off while local text is decoded.
    bool Answering() const { return !FLocal; }

    AnsiString FPending;
    // The pending text in runs of (length, local), in order.
    std::vector<std::pair<size_t, bool>> FPendingRuns;
    bool FLocal = false;
    AnsiString FReplyPrefix;
    bool FSelecting = false, FResizing = false;
    int FDepth = 0;

    TColor FFontColor, FBackColor, FDefaultFontColor, FDefaultBackColor;
    bool FUnderline = false, FReverse = false, FBright = false, FBlink = false;

    bool FEscSeen = false, FInCsi = false, FHashSeen = false, FSiGuard = false;
    TSubAnsiMode FSubMode = saNone;
    std::vector<TParam> FParams;
    TParam FCurParam;

    int FSavedX = 0, FSavedRow = 0;
    TColor FSavedFontColor, FSavedBackColor;
    bool FSavedUnderline = false, FSavedReverse = false, FSavedBright = false, FSavedBlink = false;

    bool FRegionOn = false;
    int FRegionTop = 1, FRegionBottom = 25;
};
