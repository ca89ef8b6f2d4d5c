#pragma once
// The grid's clipboard text without a window: a rectangle of cells as TAB- and CR LF-separated
// text, the size of such a text, writing it into the cells from a start cell, and the smart
// fill that spreads a pasted value or continues a series of numbers, dates or times over a
// selection. The control (grid/control/CellGridClipboard.cpp) moves the text to and from the
// system clipboard and asks which cells may be edited.

#include <functional>
#include <string_view>

#include "grid/model/CellModel.h"

// Whether a cell (display column, row) takes a pasted piece.
using TCellEditable = std::function<bool(int ACol, int ARow)>;

struct TPasteSettings {
    bool ClipboardCSVLines = false;
    bool AllowClipboardAlways = false;
    bool AllowClipboardColGrow = true;
    bool AllowClipboardRowGrow = true;
};

// Pieces of each row joined by TAB, each row ended by CR LF. Piece gives a cell's text as it is
// copied (display column, row).
AnsiString ClipboardText(const TGridRect& Rect, const std::function<AnsiString(int ACol, int ARow)>& Piece);
// A cell's piece with ClipboardCSVLines: a text of several lines quoted, its CR LF as LF.
AnsiString CSVLinesPiece(const AnsiString& Text);
// x: most cells in a line (TABs + 1); y: lines ended by a CR.
TPoint PasteSize(std::string_view Text);
// Text with LF-only line ends has them read as CR LF (inside quotes too only without
// ClipboardCSVLines, which quotes the lines of a cell).
AnsiString PasteLineEnds(std::string_view Text, bool ClipboardCSVLines);
// Writes the pieces from (ACol, ARow) on, display columns through RemapCol: a piece lands only
// in a cell of the grid that Editable allows (or every cell with AllowClipboardAlways); the
// grid grows by columns and rows as the settings allow. Returns the pieces taken; Pasted is the
// rectangle visited.
int PasteText(TCellModel& Grid, int ACol, int ARow, std::string_view Text, const TPasteSettings& Settings,
              const TCellEditable& Editable, TGridRect& Pasted);
// After a paste of Pieces pieces at the selection's top-left cell: one piece fills every
// editable cell of the selection; two continue a series down a column or along a row (dates and
// times, decimals with 15 significant digits, integers). A value that does not convert ends the
// fill where it is.
void SmartFill(TCellModel& Grid, const TGridRect& Selection, int Pieces, const TCellEditable& Editable);
