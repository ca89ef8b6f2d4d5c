// The colour and border each cell is painted and printed with: bands, the cell's own colour,
// then the application's events.

#include "grid/control/CellGrid.h"

void TCellGrid::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont)
{
    const TColor band = BandColor(ACol, ARow, false);
    if (band != clNone)
        ABrush->SetColor(band);
    const TColor own = Colors(ACol, ARow);
    if (own != clNone)
        ABrush->SetColor(own);
    if (OnGetCellColor)
        OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TCellGrid::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont)
{
    const TColor band = BandColor(ACol, ARow, true);
    if (band != clNone)
        ABrush->SetColor(band);
    if (OnGetCellPrintColor)
        OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TCellGrid::GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders)
{
    if (OnGetCellBorder)
        OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TCellGrid::GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders)
{
    if (OnGetCellPrintBorder)
        OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}
