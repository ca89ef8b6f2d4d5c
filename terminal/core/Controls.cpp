// Control characters: they act in every state, and each first writes out the collected text.

#include <algorithm>

#include "terminal/core/TerminalCore.h"

// True when ch was handled as a control character.
bool TTerminalCore::Control(unsigned char ch, bool report)
{
    switch (ch) {
    case 0x00: MiscProcess(); return true;
    case 0x07:
        MiscProcess();
        Report(ch, report);
        FPainter->Beep();
        return true;
    case 0x08:
        MiscProcess();
        Report(ch, report);
        SetCurX(FCurX - 1);
        return true;
    case 0x09:
        MiscProcess();
        Report(ch, report);
        Tab();
        return true;
    case 0x0A:
        MiscProcess();
        Report(ch, report);
        LineFeed();
        return true;
    case 0x0D:
        MiscProcess();
        Report(ch, report);
        CarriageReturn();
        return true;
    case 0x0F:
        // Hosts send SI after a colour change; there it is dropped, elsewhere it is text.
        if (!FEscSeen && !FInCsi && FSiGuard) {
            FSiGuard = false;
            return true;
        }
        return false;
    case 0x1B:
        MiscProcess();
        StartEscape();
        return true;
    case 0x84:
        MiscProcess();
        Index();
        return true;
    case 0x85:
        MiscProcess();
        Index();
        SetCurX(0);
        return true;
    case 0x8D:
        MiscProcess();
        SetCurY(FCurY - 1);
        return true;
    case 0x9B:
        MiscProcess();
        StartCsi();
        return true;
    default: return false;
    }
}

void TTerminalCore::Tab()
{
    // No tab stops: always eight blanks.
    FData.InsertString("        ", FCurX, FCurY);
    FData.Edit(FCurY).Runs.Add(FCurX, 8, FFontColor, FBackColor, FUnderline ? 1 : 0);
    FPainter->TextOut(FCurX, ScreenRow(), "        ", FFontColor, FBackColor, FUnderline);
    FCurX += 8;
}

int TTerminalCore::RegionBottomRow() const { return std::min(FRegionBottom, Rows()); }

void TTerminalCore::LineFeed()
{
    FData.Compact(FCurY);
    if (FRegionOn && ScreenRow() + 1 == RegionBottomRow()) {
        RegionScrollUp();
        return;
    }
    if (!FRegionOn && FCurY == FMaxLinePos + FPageSize)
        FPainter->ResetSelectionRect();
    SetCurY(FCurY + 1);
}

void TTerminalCore::Index() { SetCurY(FCurY + 1); }

// A line feed on the region's bottom row: the region scrolls up one line, its top line goes into
// the scroll-back, and the rows above and below the region stay where they are.
void TTerminalCore::RegionScrollUp()
{
    const int r0 = FRegionTop - 1;
    const int r1 = RegionBottomRow() - 1;
    const int last = TDataList::kCount - 1;
    FData.MoveLine(FMaxLinePos + r0, FMaxLinePos);
    if (FMaxLinePos + FPageSize >= last) {
        FData.UpScroll(0, 1);
    } else {
        const bool live = Live();
        ++FMaxLinePos;
        ++FCurY;
        if (live) {
            FPrevLinePos = FLinePos;
            FLinePos = FMaxLinePos;
        }
        FData.ClearLine(FMaxLinePos + FPageSize);
        FPainter->MaxLinePosChanged(FMaxLinePos);
    }
    FData.MoveLine(FMaxLinePos + FPageSize, FMaxLinePos + r1);
    FPainter->ScrollRows(r0, r1, 1, FBackColor);
}

void TTerminalCore::ReverseIndex()
{
    const int row = ScreenRow();
    if (FRegionOn && row == FRegionTop - 1) {
        const int r1 = RegionBottomRow() - 1;
        FData.ScrollRange(FCurY, FMaxLinePos + r1, -1);
        FPainter->ScrollRows(row, r1, -1, FBackColor);
    } else if (!FRegionOn && row == 0) {
        // Only the screen moves down; nothing is pushed below it.
        FData.ScrollRange(FCurY, FMaxLinePos + FPageSize, -1);
        FPainter->ScrollRows(0, FPageSize, -1, FBackColor);
    } else {
        SetCurY(FCurY - 1);
    }
}

void TTerminalCore::CarriageReturn()
{
    SetCurX(0);
    if ((!AutoReply && !JReply && !OnLine) || !Answering()) {
        FReplyPrefix.clear();
        FPainter->Invalidate();
        return;
    }
    // A copy: the handlers may feed text back and change the line.
    const AnsiString line = FData.Strings(FCurY);
    if (!line.empty()) {
        if (!FReplyPrefix.empty()) {
            AnsiString rest = Copy(line, static_cast<int>(FReplyPrefix.size()) + 1, FColumns);
            FReplyPrefix.clear();
            if (AutoReply)
                AutoReply(rest);
        } else if (AutoReply) {
            AutoReply(line);
        }
        if (JReply)
            JReply(line);
        if (OnLine)
            OnLine(line);
    }
    FPainter->Invalidate();
}

void TTerminalCore::SaveCursor()
{
    FSavedX = FCurX;
    FSavedRow = ScreenRow();
}

void TTerminalCore::RestoreCursor()
{
    if (JReply && Answering()) {
        const AnsiString line = FData.Strings(FCurY);
        JReply(line);
    }
    SetCurX(FSavedX);
    FCurY = FMaxLinePos + std::clamp(FSavedRow, 0, FPageSize);
}
