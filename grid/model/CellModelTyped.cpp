// Typed views of cell text, column and row calculations, filling, headers, the look-up list and
// the print column geometry.

#include <algorithm>
#include <climits>
#include <functional>

#include "grid/model/CellModel.h"
#include "grid/model/Cgutil.h"
#include "grid/model/FloatFormatText.h"
#include "platform/core/DateFormat.h"
#include "platform/core/FloatFormat.h"

namespace {

[[noreturn]] void NotANumber() { throw ECellGridError("Cell does not contain integer value"); }

}  // namespace

void TCellModel::SetInts(int ACol, int ARow, int Value) { SetCells(ACol, ARow, IntToStr(Value)); }

int TCellModel::GetInts(int ACol, int ARow) const
{
    const AnsiString& text = Cells(ACol, ARow);
    int value = 0;
    if (!text.empty() && !TryStrToInt(text, value))
        NotANumber();
    return value;
}

void TCellModel::SetFloats(int ACol, int ARow, double Value)
{
    SetCells(ACol, ARow, FormatFloatText(FloatFormat, Value));
}

double TCellModel::GetFloats(int ACol, int ARow) const
{
    const AnsiString& text = Cells(ACol, ARow);
    if (text.empty())
        return 0;
    TFormatSettings point = FormatSettings();
    point.DecimalSeparator = '.';
    // Also the texts SetFloats writes for an infinite or undefined value (an overflowed sum
    // written back), so that a later sum reads them.
    double value = 0;
    if (!TryStrToFloatOrNonFinite(RemoveSeps(text), value, point))
        NotANumber();
    return value;
}

void TCellModel::SetDates(int ACol, int ARow, TDateTime Value) { SetCells(ACol, ARow, DateToStr(Value)); }
TDateTime TCellModel::GetDates(int ACol, int ARow) const { return StrToDate(Cells(ACol, ARow)); }
void TCellModel::SetTimes(int ACol, int ARow, TDateTime Value) { SetCells(ACol, ARow, TimeToStr(Value)); }
TDateTime TCellModel::GetTimes(int ACol, int ARow) const { return StrToTime(Cells(ACol, ARow)); }

void TCellModel::AutoNumberCol(int ACol)
{
    if (RowCount() == 0)
        return;
    for (int r = FixedRows(); r < RowCount() - FFixedFooters; ++r)
        SetInts(ACol, r, r - FixedRows() + 1);
}

void TCellModel::RandomFill(bool DoFixed, int Range)
{
    for (int r = DoFixed ? 0 : FixedRows(); r < RowCount(); ++r)
        for (int c = DoFixed ? 0 : FixedCols(); c < ColCount(); ++c)
            SetInts(c, r, Range > 0 ? std::uniform_int_distribution<int>(0, Range - 1)(FRandom) : 0);
}

// Folds the values of a column or row range; cells past the stored ones read as empty (0), and
// count once however many there are, so a range past the grid ends in bounded time.
template <class Fold>
double TCellModel::FoldColumn(int ACol, int FromRow, int ToRow, double Start, Fold fold) const
{
    double result = Start;
    for (int r = std::max(FromRow, 0); r <= std::min(ToRow, RowCount() - 1); ++r)
        result = fold(result, GetFloats(ACol, r));
    if (ToRow >= RowCount() && ToRow >= FromRow)
        result = fold(result, 0.0);
    return result;
}

template <class Fold>
double TCellModel::FoldRow(int ARow, int FromCol, int ToCol, double Start, Fold fold) const
{
    double result = Start;
    const int stored = CellStore().StoredCols(ARow);
    for (int c = std::max(FromCol, 0); c <= std::min(ToCol, stored - 1); ++c)
        result = fold(result, GetFloats(c, ARow));
    if (ToCol >= stored && ToCol >= FromCol)
        result = fold(result, 0.0);
    return result;
}

namespace {

double Smaller(double a, double b) { return b < a ? b : a; }
double Greater(double a, double b) { return b > a ? b : a; }
// An average over an empty or reversed range is 0.
double Average(double sum, int from, int to) { return to < from ? 0 : sum / (double{1} * to - from + 1); }

}  // namespace

double TCellModel::ColumnSum(int ACol, int FromRow, int ToRow) const
{
    return ToRow < FromRow ? 0 : FoldColumn(ACol, FromRow, ToRow, 0, std::plus<double>());
}

double TCellModel::ColumnAvg(int ACol, int FromRow, int ToRow) const
{
    return Average(ColumnSum(ACol, FromRow, ToRow), FromRow, ToRow);
}

// The extremes start with the value at the range's first index.
double TCellModel::ColumnMin(int ACol, int FromRow, int ToRow) const
{
    return FoldColumn(ACol, FromRow, ToRow, GetFloats(ACol, FromRow), Smaller);
}

double TCellModel::ColumnMax(int ACol, int FromRow, int ToRow) const
{
    return FoldColumn(ACol, FromRow, ToRow, GetFloats(ACol, FromRow), Greater);
}

double TCellModel::RowSum(int ARow, int FromCol, int ToCol) const
{
    return ToCol < FromCol ? 0 : FoldRow(ARow, FromCol, ToCol, 0, std::plus<double>());
}

double TCellModel::RowAvg(int ARow, int FromCol, int ToCol) const
{
    return Average(RowSum(ARow, FromCol, ToCol), FromCol, ToCol);
}
double TCellModel::RowMin(int ARow, int FromCol, int ToCol) const
{
    return FoldRow(ARow, FromCol, ToCol, GetFloats(FromCol, ARow), Smaller);
}

double TCellModel::RowMax(int ARow, int FromCol, int ToCol) const
{
    return FoldRow(ARow, FromCol, ToCol, GetFloats(FromCol, ARow), Greater);
}

void TCellModel::SetColumnHeaders(TStrings* List)
{
    if (FixedRows() > 0)
        ClearColumnHeaders();
    FColumnHeaders->Assign(List);
    ShowColumnHeaders();
}

void TCellModel::ShowColumnHeaders()
{
    if (FixedRows() <= 0 || RowCount() == 0)
        return;
    for (int i = 0; i < std::min(FColumnHeaders->Count(), ColCount()); ++i)
        SetCells(i, 0, CLFToLF(FColumnHeaders->Strings(i)));
}

void TCellModel::ClearColumnHeaders()
{
    if (RowCount() == 0)
        return;
    for (int i = 0; i < ColCount(); ++i)
        SetCells(i, 0, AnsiString());
}

void TCellModel::SetRowHeaders(TStrings* List)
{
    if (Designing() && FixedCols() > 0)
        ClearRowHeaders();
    FRowHeaders->Assign(List);
    ShowRowHeaders();
}

void TCellModel::ShowRowHeaders()
{
    if (FixedCols() <= 0 || ColCount() == 0)
        return;
    for (int i = 0; i < std::min(FRowHeaders->Count(), RowCount()); ++i)
        SetCells(0, i, CLFToLF(FRowHeaders->Strings(i)));
}

void TCellModel::ClearRowHeaders()
{
    if (ColCount() == 0)
        return;
    for (int i = 0; i < RowCount(); ++i)
        SetCells(0, i, AnsiString());
}

void TCellModel::SetLookupItems(TStrings* List)
{
    if (List)
        FLookupItems->Assign(List);
}

int TCellModel::GetPrintColWidth(int ACol) const
{
    if (ACol < 0 || ACol >= static_cast<int>(FPrintColWidth.size()))
        throw ECellGridError("Columns is not in valid range");
    return FPrintColWidth[static_cast<size_t>(ACol)];
}

int TCellModel::GetPrintColOffset(int ACol) const
{
    if (ACol < 0 || ACol >= static_cast<int>(FPrintColOffset.size()))
        throw ECellGridError("Columns is not in valid range");
    return FPrintColOffset[static_cast<size_t>(ACol)];
}

void TCellModel::SetPrintColGeometry(int ACol, int Width, int Offset)
{
    if (ACol < 0 || ACol >= static_cast<int>(FPrintColWidth.size()))
        return;
    FPrintColWidth[static_cast<size_t>(ACol)] = Width;
    FPrintColOffset[static_cast<size_t>(ACol)] = Offset;
}
