// The standard control sequences: cursor moves, erasing, inserting and deleting, the scroll
// region, and saving the cursor. Counts are clamped to the screen.

#include <algorithm>

#include "terminal/core/TerminalCore.h"

void TTerminalCore::Final(unsigned char ch)
{
    const int n = FCurParam.Count();
    switch (ch) {
    case 'A': {
        const int top = FRegionOn && ScreenRow() >= FRegionTop - 1 ? FMaxLinePos + FRegionTop - 1 : FMaxLinePos;
        SetCurY(std::max(FCurY - n, top));
        break;
    }
    case 'B': {
        int limit = FMaxLinePos + FPageSize;
        if (FRegionOn && ScreenRow() <= RegionBottomRow() - 1)
            limit = std::min(limit, FMaxLinePos + RegionBottomRow() - 1);
        FCurY = std::max(FCurY, std::min(FCurY + n, limit));
        break;
    }
    // A cursor right of the screen wraps at once; the limit only bounds where text that was
    // collected before the move can land.
    case 'C': FCurX = std::min(FCurX + n, std::max(FCurX, FColumns)); break;
    case 'D': SetCurX(FCurX - n); break;
    case 'H':
    case 'f': CursorPosition(); break;
    case 'J': EraseDisplay(FCurParam.Value); break;
    case 'K': EraseLine(FCurParam.Value); break;
    case 'L':
    case 'M': {
        const int k = std::min(n, Rows());
        const int row = ScreenRow();
        FData.ScrollRange(FCurY, FMaxLinePos + FPageSize, ch == 'L' ? -k : k);
        FPainter->ScrollRows(row, FPageSize, ch == 'L' ? -k : k, FBackColor);
        break;
    }
    case 'P': DeleteCells(std::min(n, FColumns)); break;
    case '@': InsertCells(std::min(n, FColumns)); break;
    case 'X': EraseCells(std::min(n, std::max(FColumns - FCurX, 0))); break;
    case 'm': SelectGraphicRendition(); break;
    case 'r': SetRegion(); break;
    case 's': SaveAll(); break;
    case 'u': RestoreAll(); break;
    default: break;
    }
}

void TTerminalCore::CursorPosition()
{
    TParam row = FCurParam, col;
    if (!FParams.empty()) {
        row = FParams[0];
        col = FParams.size() >= 2 ? FParams[1] : FCurParam;
        FCurX = std::min(col.Count() - 1, FColumns);
    } else {
        FCurX = 0;
    }
    FCurY = FMaxLinePos + std::min(row.Count(), Rows()) - 1;
}

void TTerminalCore::ClearScreen()
{
    // The whole old screen stays in the scroll-back; the new screen starts blank.
    AdvanceScreen(Rows());
    FCurX = 0;
    FCurY = FMaxLinePos;
    for (int y = FMaxLinePos; y <= FMaxLinePos + FPageSize; ++y) {
        FData.ClearLine(y);
        if (FBackColor != FDefaultBackColor)
            WriteBlanks(0, y, FColumns);
    }
    FPainter->FillRows(0, Rows(), FBackColor);
}

void TTerminalCore::EraseDisplay(int mode)
{
    const int bottom = FMaxLinePos + FPageSize;
    if (mode == 2 || (mode == 0 && FCurX == 0 && FCurY == FMaxLinePos)) {
        ClearScreen();
    } else if (mode == 0) {
        for (int y = FCurY + 1; y <= bottom; ++y) {
            FData.ClearLine(y);
            WriteBlanks(0, y, FColumns);
        }
        // Lines below the screen are simply blank, not rewritten one by one.
        for (int y = bottom + 1; y < FData.Used(); ++y)
            FData.ClearLine(y);
        const int len = static_cast<int>(FData.Strings(FCurY).size());
        WriteBlanks(FCurX, FCurY, len - FCurX + 1);
        FPainter->FillCells(FCurX, ScreenRow(), -1, FBackColor);
        FPainter->FillRows(ScreenRow() + 1, -1, FBackColor);
    } else if (mode == 1) {
        for (int y = FMaxLinePos; y < FCurY; ++y) {
            FData.ClearLine(y);
            WriteBlanks(0, y, FColumns);
        }
        WriteBlanks(0, FCurY, FCurX);
        FPainter->FillRows(0, ScreenRow(), FBackColor);
        FPainter->FillCells(0, ScreenRow(), FCurX, FBackColor);
    }
}

void TTerminalCore::EraseLine(int mode)
{
    const int row = ScreenRow();
    switch (mode) {
    case 0:
        WriteBlanks(FCurX, FCurY, FColumns - FCurX + 1);
        FPainter->FillCells(FCurX, row, -1, FBackColor);
        break;
    case 1:
        WriteBlanks(0, FCurY, FCurX + 1);
        FPainter->FillCells(0, row, FCurX + 1, FBackColor);
        break;
    case 2:
        FData.ClearLine(FCurY);
        WriteBlanks(0, FCurY, FColumns);
        FPainter->FillCells(0, row, -1, FBackColor);
        break;
    default: break;
    }
}

void TTerminalCore::InsertCells(int n)
{
    TDataLine& line = FData.Edit(FCurY);
    if (line.Text.size() < static_cast<size_t>(FCurX))
        line.Text.append(static_cast<size_t>(FCurX) - line.Text.size(), ' ');
    line.Text.insert(static_cast<size_t>(FCurX), static_cast<size_t>(n), ' ');
    line.Runs.InsertCells(FCurX, n, FFontColor, FBackColor, FUnderline ? 1 : 0);
    // Cells pushed past the right edge are lost, so a line cannot grow without bound.
    if (line.Text.size() > static_cast<size_t>(FColumns))
        line.Text.resize(static_cast<size_t>(FColumns));
    line.Runs.Truncate(FColumns);
    FPainter->ShiftCells(ScreenRow(), FCurX, n, FBackColor);
}

void TTerminalCore::DeleteCells(int n)
{
    TDataLine& line = FData.Edit(FCurY);
    line.Runs.DeleteCells(FCurX, n);
    if (static_cast<size_t>(FCurX) < line.Text.size())
        line.Text.erase(static_cast<size_t>(FCurX), static_cast<size_t>(n));
    FPainter->ShiftCells(ScreenRow(), FCurX, -n, FBackColor);
    // Text kept past the right edge moves into view.
    RepaintCells(FCurY, std::max(FCurX, FColumns - n), FColumns);
}

void TTerminalCore::RepaintCells(int y, int from, int to)
{
    const TConfigList& runs = FData.Objects(y);
    for (const TConfig& r : runs) {
        const int a = std::max(from, r.Start), b = std::min(to, r.End());
        if (a >= b)
            continue;
        TConfig part = r;
        part.Start = a;
        part.Length = b - a;
        FPainter->TextOut(a, y - FMaxLinePos, FData.RunText(y, part), r.FontColor, r.BackColor, r.Flag > 0);
    }
}

void TTerminalCore::EraseCells(int n)
{
    WriteBlanks(FCurX, FCurY, n);
    FPainter->FillCells(FCurX, ScreenRow(), n, FBackColor);
}

void TTerminalCore::SetRegion()
{
    TParam top = FCurParam, bottom;
    if (!FParams.empty()) {
        top = FParams[0];
        bottom = FParams.size() >= 2 ? FParams[1] : FCurParam;
    }
    // Empty or 0 means the screen's edge; a region must hold at least two rows.
    FRegionTop = top.Count();
    FRegionBottom = (bottom.Empty || bottom.Value == 0) ? Rows() : std::min(bottom.Value, Rows());
    const bool whole = FRegionTop < 2 && FRegionBottom > std::min(FPageSize, 28);
    FRegionOn = !whole && FRegionTop < FRegionBottom;
    FCurX = 0;
    FCurY = FMaxLinePos;
}

void TTerminalCore::SaveAll()
{
    SaveCursor();
    FSavedFontColor = FFontColor;
    FSavedBackColor = FBackColor;
    FSavedUnderline = FUnderline;
    FSavedReverse = FReverse;
    FSavedBright = FBright;
    FSavedBlink = FBlink;
}

void TTerminalCore::RestoreAll()
{
    FCurX = FSavedX;
    FCurY = FMaxLinePos + std::clamp(FSavedRow, 0, FPageSize);
    FFontColor = FSavedFontColor;
    FBackColor = FSavedBackColor;
    FUnderline = FSavedUnderline;
    FReverse = FSavedReverse;
    FBright = FSavedBright;
    FBlink = FSavedBlink;
}
