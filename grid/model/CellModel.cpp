#include "grid/model/CellModel.h"

#include <algorithm>
#include <climits>
#include <set>

TCellModel::TCellModel()
    : FBands(std::make_unique<TBands>(this)), FSizeWhileTyping(std::make_unique<TSizeWhileTyping>()),
      FMouseActions(std::make_unique<TMouseActions>()), FColumnSize(std::make_unique<TColumnSize>(this)),
      FNavigation(std::make_unique<TNavigation>()), FHTMLSettings(std::make_unique<THTMLSettings>()),
      FFilter(std::make_unique<TFilter>(this)), FColumnHeaders(std::make_unique<TStringList>()),
      FRowHeaders(std::make_unique<TStringList>()), FLookupItems(std::make_unique<TStringList>()),
      FSortIndexes(std::make_unique<TSortIndexList>())
{
    FColumnHeaders->OnChange = [this](TObject*) { ShowColumnHeaders(); };
    FRowHeaders->OnChange = [this](TObject*) { ShowRowHeaders(); };
    SetDefaultRowHeight(21);
}

TCellModel::~TCellModel()
{
    FColumnHeaders->OnChange = nullptr;
    FRowHeaders->OnChange = nullptr;
    // Every extra goes with the grid: those of shown cells here, those of hidden rows with
    // their items.
    for (int r = 0; r < RowCount(); ++r)
        FreeRowExtras(r);
}

// --- Counts ----------------------------------------------------------------------------------

void TCellModel::SetRowCountEx(int Value)
{
    TCustomGridData::SetRowCount(Value);
    if (static_cast<int>(FRowSelect.size()) > RowCount())
        FRowSelect.resize(static_cast<size_t>(RowCount()));
    if (Value > 1 && FixedRowAlways)
        SetFixedRowsEx(1);
}

void TCellModel::SetColCountEx(int Value)
{
    TCustomGridData::SetColCount(Value);
    if (Value > 1 && FixedColAlways)
        SetFixedColsEx(1);
}

int TCellModel::GetFixedRowsEx() const
{
    const int fixed = TCustomGridData::FixedRows();
    return fixed == 0 && FixedRowAlways ? 1 : fixed;
}

int TCellModel::GetFixedColsEx() const
{
    const int fixed = TCustomGridData::FixedCols();
    return fixed == 0 && FixedColAlways ? 1 : fixed;
}

void TCellModel::SetFixedFooters(int Value) { StoreAndRepaint(*this, FFixedFooters, Value); }
void TCellModel::SetFixedRightCols(int Value) { StoreAndRepaint(*this, FFixedRightCols, Value); }

void TCellModel::SetSortColumn(int Value)
{
    if (Value == FSortColumn)
        return;
    FSortColumn = Value;
    InvalidateRow(0);
}

void TCellModel::SetSortShow(bool Value)
{
    if (Value == FSortShow)
        return;
    FSortShow = Value;
    InvalidateRow(0);
}

void TCellModel::SetSortIndexShow(bool Value)
{
    if (Value == FSortIndexShow)
        return;
    FSortIndexShow = Value;
    InvalidateRow(0);
}

void TCellModel::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
        InvalidateGrid();
}

// --- Cell extras -----------------------------------------------------------------------------

TCellGraphic* TCellModel::GetCellGraphic(int ACol, int ARow) const
{
    return EnableGraphics ? AsCellGraphic(Objects(ACol, ARow)) : nullptr;
}

TCellGraphic* TCellModel::CreateCellGraphic(int ACol, int ARow)
{
    TCellGraphic* old = AsCellGraphic(Objects(ACol, ARow));
    auto fresh = std::make_unique<TCellGraphic>();
    SetObjects(ACol, ARow, fresh.get());  // raises for a cell outside the grid
    if (old)
        DeleteExtra(ACol, old);
    return fresh.release();
}

bool TCellModel::FreeCellGraphic(int ACol, int ARow)
{
    TCellGraphic* extra = AsCellGraphic(Objects(ACol, ARow));
    if (!extra)
        return false;
    SetObjects(ACol, ARow, nullptr);
    DeleteExtra(ACol, extra);
    return true;
}

bool TCellModel::RemoveCellGraphic(int ACol, int ARow, TCellType CellType)
{
    const TCellGraphic* extra = AsCellGraphic(Objects(ACol, ARow));
    return extra && extra->CellType == CellType && FreeCellGraphic(ACol, ARow);
}

TCellType TCellModel::GetCellType(int ACol, int ARow) const
{
    const TCellGraphic* extra = GetCellGraphic(ACol, ARow);
    return extra ? extra->CellType : ctEmpty;
}

TColor TCellModel::Colors(int ACol, int ARow) const
{
    const TCellGraphic* extra = GetCellGraphic(ACol, ARow);
    return extra ? extra->CellColor : clNone;
}

void TCellModel::SetColors(int ACol, int ARow, TColor Value)
{
    TCellGraphic* extra = AsCellGraphic(Objects(ACol, ARow));
    if (!extra)
        extra = CreateCellGraphic(ACol, ARow);
    extra->CellColor = Value;
    InvalidateCell(ACol, ARow);
}

void TCellModel::FreeRowExtras(int ARow) { FreeExtrasIn(ARow, 0, CellStore().StoredCols(ARow)); }

void TCellModel::FreeExtrasIn(int ARow, int FromCol, int ToCol)
{
    for (int c = CellStore().NextStoredCol(ARow, FromCol); c >= 0 && c < ToCol;
         c = CellStore().NextStoredCol(ARow, c + 1))
        if (TCellGraphic* extra = AsCellGraphic(Objects(c, ARow))) {
            CellStore().SetObject(c, ARow, nullptr);
            DeleteExtra(c, extra);
        }
}

void TCellModel::RowsLeaving(int At, int Count)
{
    for (int r = std::max(At, 0); r < std::min<int64_t>(int64_t{At} + Count, RowCount()); ++r)
        FreeRowExtras(r);
}

void TCellModel::ColsLeaving(int At, int Count)
{
    const int end = static_cast<int>(std::min<int64_t>(int64_t{At} + Count, INT_MAX));
    for (int r = 0; r < RowCount(); ++r)
        FreeExtrasIn(r, At, end);
}

void TCellModel::DeleteExtra(int ACol, TCellGraphic* Extra)
{
    if (ACol == 0 && Extra->CellType == ctNode && FNodeCount > 0)
        --FNodeCount;
    delete Extra;
}

// --- Per-cell queries ------------------------------------------------------------------------

void TCellModel::GetCellAlign(int ACol, int ARow, TAlignment& HAlign)
{
    if (OnGetAlignment)
        OnGetAlignment(Sender(), ARow, ACol, HAlign);
}

void TCellModel::GetColFormat(int ACol, TSortStyle& AStyle, AnsiString& aPrefix, AnsiString& aSuffix)
{
    if (OnGetFormat)
        OnGetFormat(Sender(), ACol, AStyle, aPrefix, aSuffix);
}

void TCellModel::GetCellEditor(int ACol, int ARow, TEditorType& AEditor)
{
    if (OnGetEditorType)
        OnGetEditorType(Sender(), ACol, ARow, AEditor);
}

void TCellModel::GetCellFixed(int ACol, int ARow, bool& IsFixed)
{
    IsFixed = (FixedRowAlways && ARow == 0 && RowCount() == 1) || (FixedColAlways && ACol == 0 && ColCount() == 1);
    if (OnIsFixedCell)
        OnIsFixedCell(Sender(), ARow, ACol, IsFixed);
}

void TCellModel::GetCellReadOnly(int ACol, int ARow, bool& Flag)
{
    if (OnCanEditCell)
        OnCanEditCell(Sender(), ARow, ACol, Flag);
}

void TCellModel::GetCellPassword(int ACol, int ARow, bool& IsPassword)
{
    if (OnIsPasswordCell)
        OnIsPasswordCell(Sender(), ARow, ACol, IsPassword);
}

TColor TCellModel::BandColor(int ACol, int ARow, bool Printing) const
{
    if (!FBands->Active() || (Printing && !FBands->Print))
        return clNone;
    const int lastCol = ColCount() - FFixedRightCols + (Printing ? 0 : HiddenColCount());
    if (ACol < FixedCols() || ACol >= lastCol || ARow < FixedRows() || ARow >= RowCount() - FFixedFooters)
        return clNone;
    return FBands->ColorOf(ARow - FixedRows());
}

// --- Save range ------------------------------------------------------------------------------

int TCellModel::GetSaveStartCol() const { return SaveIncludesFixed ? 0 : FixedCols(); }
int TCellModel::GetSaveStartRow() const { return SaveIncludesFixed ? 0 : FixedRows(); }
int TCellModel::GetSaveEndCol() const { return ColCount() - 1 - (SaveIncludesFixed ? 0 : FFixedRightCols); }
int TCellModel::GetSaveEndRow() const { return RowCount() - 1 - (SaveIncludesFixed ? 0 : FFixedFooters); }

// --- Consistency -----------------------------------------------------------------------------

TCellGraphic* TCellModel::NodeAt(int Display) const
{
    TCellGraphic* extra = AsCellGraphic(Objects(0, Display));
    return extra && extra->CellType == ctNode ? extra : nullptr;
}

bool TCellModel::CheckConsistency() const
{
    if (!TCustomGridData::CheckConsistency() || !FColumns.CheckConsistency() || !FHiddenRows.CheckConsistency())
        return false;
    // No extra is held twice, and the node count agrees with the nodes shown and hidden.
    std::set<const TCellGraphic*> seen;
    int nodes = 0;
    const auto visit = [&](TObject* object, bool firstColumn) {
        const TCellGraphic* extra = AsCellGraphic(object);
        if (!extra)
            return true;
        nodes += firstColumn && extra->CellType == ctNode;
        return seen.insert(extra).second;
    };
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < CellStore().StoredCols(r); ++c)
            if (!visit(Objects(c, r), c == 0))
                return false;
    for (int i = 0; i < FHiddenRows.Count(); ++i) {
        const TStrings* items = FHiddenRows.Items(i)->Items();
        for (int c = 0; c < items->Count(); ++c)
            if (!visit(items->Objects(c), c == 0))
                return false;
    }
    return nodes == FNodeCount && (FHiddenRows.Sorted().empty() || FHiddenRows.Sorted().front() >= 0);
}
