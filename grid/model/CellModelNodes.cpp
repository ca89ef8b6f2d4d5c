// Nodes that contract and expand blocks of rows, and grouping on a column with its sums. Nodes
// are read from the raw cell slot, so that grouping works whatever EnableGraphics says.

#include <algorithm>

#include "grid/model/CellModel.h"

void TCellModel::AddNode(int ARow, int Span)
{
    const int display = RemapRow(ARow);
    TCellGraphic* node = CreateCellGraphic(0, display);
    node->CellType = ctNode;
    node->CellBoolean = false;
    node->CellIndex = Span;
    node->CellAngle = static_cast<int16_t>(display);
    if (FNodeCount++ == 0)
        InvalidateCol(0);
    if (Col() == 0 && ColCount() > 1 && Row() < RowCount())
        FocusCell(1, Row(), true);
}

void TCellModel::RemoveNode(int ARow) { RemoveCellGraphic(0, RemapRow(ARow), ctNode); }

bool TCellModel::IsNode(int ARow) const { return NodeAt(ARow) != nullptr; }

TCellGraphic* TCellModel::ShownNode(int ARow) const { return IsHiddenRow(ARow) ? nullptr : NodeAt(RemapRow(ARow)); }

bool TCellModel::GetNodeState(int ARow) const
{
    const TCellGraphic* node = ShownNode(ARow);
    return node && node->CellBoolean;
}

void TCellModel::SetNodeState(int ARow, bool Contracted)
{
    const TCellGraphic* node = ShownNode(ARow);
    if (!node || node->CellBoolean == Contracted)
        return;
    if (Contracted)
        ContractNode(ARow);
    else
        ExpandNode(ARow);
}

void TCellModel::ContractNode(int ARow)
{
    TCellGraphic* node = ShownNode(ARow);
    if (!node)
        return;
    const int display = RemapRow(ARow);
    HideInplaceEdit();
    node->CellBoolean = true;
    int end = RowCount();
    if (node->CellIndex < 1) {
        for (int r = display + 1; r < RowCount(); ++r)
            if (NodeAt(r)) {
                end = r;
                break;
            }
    } else {
        end = static_cast<int>(std::min<int64_t>(int64_t{display} + node->CellIndex, RowCount()));
    }
    if (end - 1 > display)
        HideRows(ARow + 1, RemapRowInv(end - 1));
}

void TCellModel::ExpandNode(int ARow)
{
    TCellGraphic* node = ShownNode(ARow);
    if (!node)
        return;
    const int display = RemapRow(ARow);
    node->CellBoolean = false;
    // The rows hidden between the node and the next row shown.
    const int last = display + 1 < RowCount() ? RemapRowInv(display + 1) - 1 : LastRealRow();
    if (last > ARow)
        UnHideRows(ARow + 1, last);
}

// As ExpandNode on every real row from 1 down the grid, in one pass: each node shown from row 1
// on is expanded with the run of hidden rows right after it, and the nodes in those runs are
// expanded too (their own runs have just come back). All those rows come back at once.
void TCellModel::ExpandAll()
{
    BeginUpdate();
    const std::vector<int>& hidden = FHiddenRows.Sorted();
    std::vector<int> reals;
    size_t below = 0;  // hidden rows before the real row of d
    for (int d = 0; d < RowCount(); ++d) {
        while (below < hidden.size() && hidden[below] <= d + static_cast<int>(below))
            ++below;
        const int real = d + static_cast<int>(below);
        TCellGraphic* node = NodeAt(d);
        if (real < 1 || !node)
            continue;
        node->CellBoolean = false;
        for (size_t h = below; h < hidden.size() && hidden[h] == real + 1 + static_cast<int>(h - below); ++h) {
            reals.push_back(hidden[h]);
            const TStrings* cells = FHiddenRows.Find(hidden[h])->Items();
            if (TCellGraphic* inner = cells->Count() > 0 ? AsCellGraphic(cells->Objects(0)) : nullptr;
                inner && inner->CellType == ctNode)
                inner->CellBoolean = false;
        }
    }
    try {
        UnhideRealRows(reals);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// As ContractNode on every real row from the last up to row 1, in one pass. Contracting takes
// the rows after a node as they are shown at that moment (after the nodes below it took
// theirs), so a list of the rows still shown stands in for the grid while the blocks are
// marked, and the marked rows leave the grid together.
void TCellModel::ContractAll()
{
    const int rows = RowCount();
    std::vector<int> next(static_cast<size_t>(rows));  // the next display row still shown
    std::vector<int> going;
    std::vector<char> hide(static_cast<size_t>(rows), 0);
    for (int d = 0; d < rows; ++d)
        next[static_cast<size_t>(d)] = d + 1;
    const int firstReal = rows > 0 ? RemapRowInv(0) : 0;
    bool any = false;
    for (int d = rows - 1; d >= 0; --d) {
        TCellGraphic* node = NodeAt(d);
        if (!node || (d == 0 && firstReal < 1))
            continue;
        any = true;
        node->CellBoolean = true;
        int r = next[static_cast<size_t>(d)];
        if (node->CellIndex < 1) {
            for (; r < rows && !NodeAt(r); r = next[static_cast<size_t>(r)])
                hide[static_cast<size_t>(r)] = 1;
        } else {
            for (int k = 1; k < node->CellIndex && r < rows; ++k, r = next[static_cast<size_t>(r)])
                hide[static_cast<size_t>(r)] = 1;
        }
        next[static_cast<size_t>(d)] = r;
    }
    if (!any)
        return;
    HideInplaceEdit();
    for (int d = 0; d < rows; ++d)
        if (hide[static_cast<size_t>(d)])
            going.push_back(d);
    HideDisplayRows(going);
}

void TCellModel::SetGroupColumn(int Value)
{
    if (Value == -1)
        UnGroup();
    else if (Value > 0)
        Group(Value);
}

int TCellModel::GroupTitleCol(int Col) const { return FixedCols() + 1 == Col ? FixedCols() + 2 : FixedCols() + 1; }

void TCellModel::Group(int Col)
{
    if (Col <= FixedCols())
        return;
    if (Col >= AllCols())
        IndexError();
    if (FGroupColumn > 0)
        UnGroup();
    BeginUpdate();
    FGroupColumn = Col;
    FGroupWidth = ColWidths(RemapColInv(Col));
    if (FixedRows() > 0)
        FGroupHeader = Cells(Col, 0);
    const int title = GroupTitleCol(Col);
    SetSortColumn(Col);
    const TAliveToken alive = GridAliveToken();
    QSort();
    if (!*alive)
        return;
    // A node row goes in before each run of equal values; rows before the first value that is
    // not empty stay outside every group. The node rows go in together.
    std::vector<int> positions;
    std::vector<AnsiString> titles;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const AnsiString& value = Cells(Col, r);
        if (value == (titles.empty() ? AnsiString() : titles.back()))
            continue;
        positions.push_back(r + static_cast<int>(positions.size()));
        titles.push_back(value);
    }
    InsertRowSet(positions);
    const std::vector<int> reals = RealRowsOf(positions);
    for (size_t k = 0; k < positions.size(); ++k) {
        SetCells(title, positions[k], titles[k]);
        const int end = k + 1 < positions.size() ? positions[k + 1] : RowCount();
        // The first node may move the current cell off column 0, firing the selection handlers.
        AddNode(reals[k], end - positions[k]);
        if (!*alive)
            return;
    }
    RemoveCols(Col, 1);
    if (*alive && FixedRows() < RowCount() && ColCount() > 0)
        FocusCell(std::clamp(this->Col(), 0, ColCount() - 1), FixedRows(), true);
    if (*alive)
        EndUpdate();
}

void TCellModel::UnGroup()
{
    if (FGroupColumn <= 0)
        return;
    ExpandAll();
    BeginUpdate();
    const int col = FGroupColumn;
    InsertCols(col, 1);
    if (!IsHiddenColumn(col) && RemapColInv(col) < ColCount())
        SetColWidths(RemapColInv(col), FGroupWidth);
    if (FixedRows() > 0 && RowCount() > 0)
        SetCells(col, 0, FGroupHeader);
    const int title = GroupTitleCol(col);
    // Each node row gives its value to the rows after it, then all node rows go at once.
    AnsiString value;
    std::vector<int> nodes;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        if (IsNode(r)) {
            value = Cells(title, r);
            nodes.push_back(r);
        } else {
            SetCells(col, r, value);
        }
    }
    RemoveDisplayRows(nodes);
    FGroupColumn = -1;
    EndUpdate();
}

void TCellModel::GroupCalc(int ACol, double (TCellModel::*Calc)(int, int, int) const)
{
    for (int r = FixedRows(); r < RowCount(); ++r) {
        if (!IsNode(r))
            continue;
        int next = r + 1;
        while (next < RowCount() && !IsNode(next))
            ++next;
        SetFloats(ACol, r, (this->*Calc)(ACol, r + 1, next - 1));
    }
}

void TCellModel::GroupSum(int ACol) { GroupCalc(ACol, &TCellModel::ColumnSum); }
void TCellModel::GroupAvg(int ACol) { GroupCalc(ACol, &TCellModel::ColumnAvg); }
void TCellModel::GroupMin(int ACol) { GroupCalc(ACol, &TCellModel::ColumnMin); }
void TCellModel::GroupMax(int ACol) { GroupCalc(ACol, &TCellModel::ColumnMax); }
