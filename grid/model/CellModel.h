#pragma once
// The cell grid without its window: what TCellGrid adds to the framework's string grid that
// needs no display. Counts with their fixed-row rules, the real and display index spaces that
// hidden columns and rows create, inserting, removing, clearing, merging, swapping and moving
// rows and columns, nodes and grouping, cell extras, typed cell access, sums, headers, and the
// per-cell queries that painting, editing and sorting ask.
//
// The string grid's display-free half is a virtual base, shared with the control when TCellGrid
// derives from both. Cells are addressed by real column and display row as the base stores
// them; every operation says which index it takes. The model's files:
//   CellModel.cpp        construction, counts, settings, extras, mapping, per-cell queries
//   CellModelRows.cpp    inserting, removing, clearing, merging, swapping, row selection flags
//   CellModelHiding.cpp  hidden columns and rows
//   CellModelNodes.cpp   nodes, grouping and the group sums
//   CellModelTyped.cpp   typed cells, sums, filling, headers, look-up and print reads
//   CellModelExtras.cpp  check boxes, radio groups, image-list images, progress bars, comments,
//                        buttons, rotated text, and the size an extra takes in its cell
//   CellModelFilter.cpp  the row filter, and hiding and showing many rows in one pass
//   CellModelSort.cpp    the comparisons of sorting, by the rules of each sort style
//   CellModelSortRows.cpp  the sorts: exchange, partition, indexed and by groups, work rows
//   CellModelSelect.cpp  selection rectangles, row-select flags from them, the Enter advance and
//                        the incremental key search
//   CellModelFind.cpp    find and search by cell text
//   CellModelKeys.cpp    what Space, Insert, Delete and Tab do to the cells and rows
// A virtual slot whose behaviour belongs to a later part of the grid (editing, painting,
// sorting) has a neutral body here.

#include <array>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "grid/model/CellGraphic.h"
#include "grid/model/CellGridEvents.h"
#include "grid/model/CellGridTypes.h"
#include "grid/model/ColumnHiding.h"
#include "grid/model/GridSettings.h"
#include "grid/model/HiddenRows.h"
#include "grid/model/IntList.h"
#include "platform/core/GridData.h"
#include "platform/core/Liveness.h"
#include "platform/core/ShiftState.h"
#include "platform/core/StringList.h"

class TCellModel : public virtual TCustomGridData {
public:
    TCellModel();
    ~TCellModel() override;

    // --- Counts, republished: setting a count above 1 makes the fixed count 1 while the
    // matching ...Always switch is set, and a fixed count of 0 reads as 1 while it is set.
    int GetRowCountEx() const { return RowCount(); }
    void SetRowCountEx(int Value);
    int GetColCountEx() const { return ColCount(); }
    void SetColCountEx(int Value);
    int GetFixedRowsEx() const;
    void SetFixedRowsEx(int Value) { TCustomGridData::SetFixedRows(Value); }
    int GetFixedColsEx() const;
    void SetFixedColsEx(int Value) { TCustomGridData::SetFixedCols(Value); }
    void SetRowCount(int Value) { SetRowCountEx(Value); }
    void SetColCount(int Value) { SetColCountEx(Value); }
    int FixedRows() const { return GetFixedRowsEx(); }
    void SetFixedRows(int Value) { SetFixedRowsEx(Value); }
    int FixedCols() const { return GetFixedColsEx(); }
    void SetFixedCols(int Value) { SetFixedColsEx(Value); }
    int FixedFooters() const { return FFixedFooters; }
    void SetFixedFooters(int Value);
    int FixedRightCols() const { return FFixedRightCols; }
    void SetFixedRightCols(int Value);
    bool FixedRowAlways = false;
    bool FixedColAlways = false;

    // --- Switches and texts the model's operations read.
    bool EnableHTML = true;
    bool EnableGraphics = false;
    AnsiString FloatFormat = "%.2f";
    AnsiString CheckTrue = "Y";
    AnsiString CheckFalse = "N";
    char PasswordChar = '*';
    bool SaveIncludesFixed = true;
    // The vertical place of cell text; new check boxes take theirs from it.
    TVAlignment VAlignment() const { return FVAlignment; }
    int SortColumn() const { return FSortColumn; }
    void SetSortColumn(int Value);
    TSortDirection SortDirection = sdAscending;
    bool SortFull = true;
    bool SortAutoFormat = true;
    bool SortShow() const { return FSortShow; }
    void SetSortShow(bool Value);
    bool SortIndexShow() const { return FSortIndexShow; }
    void SetSortIndexShow(bool Value);
    bool SortFixedCols = false;
    bool SortNormalCellsOnly = false;

    // --- Sub-objects (owned).
    TBands* Bands() const { return FBands.get(); }
    TSizeWhileTyping* SizeWhileTyping() const { return FSizeWhileTyping.get(); }
    TMouseActions* MouseActions() const { return FMouseActions.get(); }
    TColumnSize* ColumnSize() const { return FColumnSize.get(); }
    TNavigation* Navigation() const { return FNavigation.get(); }
    THTMLSettings* HTMLSettings() const { return FHTMLSettings.get(); }
    TFilter* Filter() const { return FFilter.get(); }
    TStringList* ColumnHeaders() const { return FColumnHeaders.get(); }
    TStringList* RowHeaders() const { return FRowHeaders.get(); }
    TStringList* LookupItems() const { return FLookupItems.get(); }
    const THiddenRows& HiddenRows() const { return FHiddenRows; }

    // --- Cell extras (column and row as the cell is stored). The readers see none while
    // EnableGraphics is off; making and freeing work on the raw slot whatever it says.
    TCellGraphic* GetCellGraphic(int ACol, int ARow) const;
    TCellGraphic* CreateCellGraphic(int ACol, int ARow);
    bool FreeCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphic(int ACol, int ARow, TCellType CellType);
    TCellType GetCellType(int ACol, int ARow) const;
    TColor Colors(int ACol, int ARow) const;
    void SetColors(int ACol, int ARow, TColor Value);

    // --- Per-cell queries (the events may change the preset answers).
    virtual void GetCellAlign(int ACol, int ARow, TAlignment& HAlign);
    virtual void GetColFormat(int ACol, TSortStyle& AStyle, AnsiString& aPrefix, AnsiString& aSuffix);
    virtual void GetCellEditor(int ACol, int ARow, TEditorType& AEditor);
    virtual void GetCellFixed(int ACol, int ARow, bool& IsFixed);
    // Flag means "may be edited"; callers preset it to true.
    virtual void GetCellReadOnly(int ACol, int ARow, bool& Flag);
    virtual void GetCellPassword(int ACol, int ARow, bool& IsPassword);
    // The band colour of a cell, or clNone outside the banded area or without bands.
    TColor BandColor(int ACol, int ARow, bool Printing) const;

    // --- Cell extras by kind (CellModelExtras.cpp; bitmaps, icons and pictures are the
    // control's). Adding replaces the cell's extra and works whatever EnableGraphics says;
    // reading and changing an extra's state see none while it is off. Cells outside the grid
    // are refused as any cell write is.
    void AddCheckBox(int ACol, int ARow, bool State, bool Data);
    void RemoveCheckBox(int ACol, int ARow);
    bool HasCheckBox(int ACol, int ARow) const;
    // A check box or a radio group: cells edited by clicking.
    bool HasStaticEdit(int ACol, int ARow) const;
    bool GetCheckBoxState(int ACol, int ARow, bool& State) const;
    bool SetCheckBoxState(int ACol, int ARow, bool State);
    // With Ask, only when GetCellReadOnly lets the cell be edited. True when toggled.
    bool ToggleCheck(int ACol, int ARow, bool Ask);
    bool ToggleCheckBox(int ACol, int ARow) { return ToggleCheck(ACol, ARow, false); }
    // Choices side by side when Direction is not 0; the choices are shared with the caller.
    void AddRadio(int ACol, int ARow, int Direction, int Index, std::shared_ptr<TStrings> Choices);
    bool GetRadioIdx(int ACol, int ARow, int& Index) const;
    bool SetRadioIdx(int ACol, int ARow, int Index);
    bool IsRadio(int ACol, int ARow) const;
    void RemoveRadio(int ACol, int ARow);
    // The image-list kinds need GridImages.
    void AddImageIdx(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign);
    bool GetImageIdx(int ACol, int ARow, int& Index) const;
    // These three free the cell's extra whatever its kind.
    void RemoveImageIdx(int ACol, int ARow) { FreeCellGraphic(ACol, ARow); }
    void RemoveDataImage(int ACol, int ARow) { FreeCellGraphic(ACol, ARow); }
    void RemoveMultiImage(int ACol, int ARow) { FreeCellGraphic(ACol, ARow); }
    void AddDataImage(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign);
    // Images side by side when Direction is 0; the caller fills the list GetCellImages gives.
    void AddMultiImage(int ACol, int ARow, int Direction, TCellHAlign HAlign, TCellVAlign VAlign);
    TIntList* GetCellImages(int ACol, int ARow) const;
    // A cell's image list changed: the cell is painted again.
    void MultiImageChanged(TObject* Sender, int ACol, int ARow);
    // A sort key of the images a cell shows: the bitmap or icon object it holds, CellIndex of
    // several images, -1 for anything else.
    intptr_t GetCellImageIdx(int ACol, int ARow) const;
    // The bar colour and the colour of the rest; the value is the cell's integer text.
    void AddProgress(int ACol, int ARow, TColor Color1, TColor Color2);
    void RemoveProgress(int ACol, int ARow);
    void AddComment(int ACol, int ARow, const AnsiString& Comment);
    bool IsComment(int ACol, int ARow, AnsiString& Comment) const;
    void RemoveComment(int ACol, int ARow);
    void AddButton(int ACol, int ARow, int Width, int Height, const AnsiString& Caption, TCellHAlign HAlign,
                   TCellVAlign VAlign);
    void RemoveButton(int ACol, int ARow);
    bool HasButton(int ACol, int ARow) const;
    void PushButton(int ACol, int ARow, bool Pushed);
    // Where painting last put the button; Rect is left alone for a cell without one.
    void ButtonRect(int ACol, int ARow, TRect& Rect) const;
    // Needs EnableGraphics; the cell text becomes Text.
    void AddRotated(int ACol, int ARow, int16_t Angle, const AnsiString& Text);
    bool IsRotated(int ACol, int ARow, int& Angle) const;
    void RemoveRotated(int ACol, int ARow);
    // The room the cell's extra takes: (0, 0) without one or while EnableGraphics is off.
    void GetCellGraphicSize(int ACol, int ARow, TPoint& Size);
    // What the extras need of the display: the image list and the canvas font. The model alone
    // has no image list and measures every text as empty.
    virtual bool HasGridImages() const { return false; }
    virtual TSize GridImageSize() const { return {}; }
    virtual TSize ExtraTextExtent(std::string_view Text) { return {}; }

    // --- The row filter (CellModelFilter.cpp): rows failing a condition are hidden while it
    // is active.
    bool FilterActive() const { return FFilterActive; }
    void SetFilterActive(bool Value);
    // Every condition holds for the display row (an empty filter holds for all).
    bool MatchFilter(int ARow) const;
    // Hides the normal rows that fail the filter.
    void ApplyFilter();

    // --- Virtual slots of the grid's other parts; neutral here.
    virtual int GetVersionNr() { return 0; }
    virtual AnsiString GetVersionString() { return {}; }
    virtual bool ValidateCell(const AnsiString& Value) { return true; }
    // After every text paste: where the last copy came from, the cells pasted, its kind.
    virtual void PasteNotify(const TPoint& CopyOrigin, const TGridRect& Rect, TClipOperation Operation) {}
    // The text a formula cell shows (column as stored); the grid's own shows the text unchanged.
    virtual AnsiString CalcCell(int ACol, int ARow) { return Cells(ACol, ARow); }
    virtual void UpdateCell(int ACol, int ARow) {}
    virtual void InitValidate(int ACol, int ARow) {}
    // The text an edit-with-button editor shows after its button (OnEllipsClick may change it).
    virtual AnsiString EllipsClick(AnsiString Value) { return Value; }
    // Sizing and editing hooks the structure operations call.
    virtual void StretchRightColumn() {}
    virtual void HideInplaceEdit() {}
    // True while a form designer edits the grid.
    virtual bool Designing() const { return false; }

    // --- Real and display indexes.
    int RemapCol(int Display) const { return FColumns.RealCol(Display); }
    int RemapColInv(int Real) const { return FColumns.DisplCol(Real); }
    int RemapRow(int Real) const { return FHiddenRows.DisplRow(Real); }
    int RemapRowInv(int Display) const { return FHiddenRows.RealRow(Display); }
    int RealCol(int Display) const { return RemapCol(Display); }
    int DisplCol(int Real) const { return RemapColInv(Real); }
    int DisplRow(int Real) const { return RemapRow(Real); }
    int RealRow(int Display) const { return RemapRowInv(Display); }
    int GetRealCol() const { return RemapCol(Col()); }
    int GetRealRow() const { return RemapRowInv(Row()); }
    void SetVisibleCol(int Real, bool Flag) { FColumns.SetVisible(Real, Flag); }
    bool GetVisibleCol(int Real) const { return FColumns.Visible(Real); }
    bool IsHiddenColumn(int Real) const { return !FColumns.Visible(Real); }
    int NumHiddenColumns() const { return FColumns.HiddenCount(); }
    int HiddenColCount() const { return FColumns.HiddenCount(); }
    // The real columns of the last column move (MoveColumn), (-1, -1) before the first.
    TGridCoord MovedRealCols() const { return FMovedRealCols; }
    int NumHiddenRows() const { return FHiddenRows.Count(); }
    bool IsHiddenRow(int Real) const { return FHiddenRows.IsHidden(Real); }

    // --- Structure (display rows; columns as cells are stored, hidden ones included).
    virtual void InsertRows(int Row, int Count);
    virtual void RemoveRows(int Row, int Count);
    virtual void RemoveRowsEx(int Row, int Count);
    virtual void ClearRect(int Col1, int Row1, int Col2, int Row2);
    virtual void InsertCols(int Col, int Count);
    virtual void RemoveCols(int Col, int Count);
    void ClearRows(int Row, int Count);
    void ClearCols(int Col, int Count);
    void ClearNormalCells();
    void Clear();
    void MergeCols(int Col1, int Col2);
    void SwapRows(int Row1, int Row2);
    void SwapColumns(int Col1, int Col2);
    void SortSwapRows(int Row1, int Row2);
    void RemoveSelectedRows();
    void HideSelectedRows();
    void HideSelection();
    void UnHideSelection();
    bool isCell(const AnsiString& s, int& ACol, int& ARow) const;
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    // Clears the update lock without painting.
    void ResetUpdate() { FUpdateCount = 0; }

    // --- Row-select flags, by display row (raise "Invalid row accessed" outside the rows).
    bool GetRowSelect(int ARow);
    void SetRowSelect(int ARow, bool Value);
    int GetRowSelectCount() const;
    void ClearRowSelect();

    // --- Hiding (real indexes).
    void HideColumns(int Col1, int Col2);
    void HideColumn(int ACol) { HideColumns(ACol, ACol); }
    void UnhideColumns(int Col1, int Col2);
    void UnhideColumn(int ACol) { UnhideColumns(ACol, ACol); }
    void UnhideColumnsAll();
    void HideRow(int ARow);
    void HideRows(int FromRow, int ToRow);
    void HideRowsEx(int FromRow, int ToRow);
    void UnHideRow(int ARow);
    void UnHideRows(int FromRow, int ToRow);
    void UnHideRowsAll();

    // --- Nodes (real rows, except IsNode, which takes a display row) and grouping.
    void AddNode(int ARow, int Span);
    void RemoveNode(int ARow);
    bool IsNode(int ARow) const;
    bool GetNodeState(int ARow) const;
    void SetNodeState(int ARow, bool Contracted);
    void ContractNode(int ARow);
    void ExpandNode(int ARow);
    void ExpandAll();
    void ContractAll();
    int NodeCount() const { return FNodeCount; }
    int GroupColumn() const { return FGroupColumn; }
    void SetGroupColumn(int Value);
    void Group(int Col);
    void UnGroup();
    void GroupSum(int ACol);
    void GroupAvg(int ACol);
    void GroupMin(int ACol);
    void GroupMax(int ACol);

    // --- Sorting (CellModelSort.cpp: the comparisons; CellModelSortRows.cpp: the sorts).
    // Columns as Cells takes them (hidden ones lie past ColCount), rows as shown. A comparison
    // is 1 when the first row's cell is the greater, 0 when they are equal, else -1. Rows move
    // whole by their row pointers; fixed and footer rows stay. The partition sorts compare each
    // cell's key read once a sort (grid/model/SortKeys.h) and give what Compare would.
    // Column indexes in sort order, each with its direction (QSortIndexed, the header click).
    TSortIndexList* SortIndexes() const { return FSortIndexes.get(); }
    // A handler a comparison fires (OnGetFormat, OnCustomCompare, OnRawCompare) may free the
    // grid. The sorts below then end at once and touch nothing of it; the comparisons and the
    // partition sorts of a range, called on their own, raise this instead (never an error).
    struct EGridFreedInSort {};
    int Compare(int ACol, int ARow1, int ARow2);
    // From ACol on to the right while equal, when SortFull is set.
    int CompareLine(int ACol, int ARow1, int ARow2);
    // By the sort-index list from position AIdx on, each entry in its own direction.
    int CompareLineIndexed(int AIdx, int ARow1, int ARow2);
    // Swaps the two rows when they are out of order in SortDirection, comparing from ACol on
    // over every column, hidden ones too; true when it swapped.
    bool SortLine(int ACol, int ARow1, int ARow2);
    // A stable exchange sort of the normal rows by one column: quadratic, for small grids.
    void SortByColumn(int ACol);
    // The partition sorts of a row range (inside the rows, else "Grid index out of range"
    // before anything moves); QuickSort adds the work rows around them.
    void QuickSortRows(int ACol, int ALeft, int ARight);
    void QuickSortRowsIndexed(int AIdx, int ALeft, int ARight);
    // A row range sorted with the work rows added around the partition sort.
    void QuickSort(int ACol, int ALeft, int ARight);
    void QuickSortIndexed(int ALeft, int ARight);
    // The normal rows by SortColumn in SortDirection; the current row's data stays current.
    virtual void QSort();
    // Each group of a grouped grid by SortColumn.
    void QSortGroup();
    // The normal rows by the sort-index list; raises "No indexes specified for indexed sort"
    // when it is empty.
    void QSortIndexed();
    // The locale's comparison of two texts for the ssAnsi styles (<0, 0, >0). The control
    // uses the Korean collation; the model alone compares bytes, case folded when IgnoreCase.
    virtual int AnsiCompare(const AnsiString& S1, const AnsiString& S2, bool IgnoreCase);

    // --- Save range.
    int GetSaveStartCol() const;
    int GetSaveStartRow() const;
    int GetSaveEndCol() const;
    int GetSaveEndRow() const;
    int GetSaveColCount() const { return GetSaveEndCol() - GetSaveStartCol() + 1; }
    int GetSaveRowCount() const { return GetSaveEndRow() - GetSaveStartRow() + 1; }

    // --- Typed cells.
    void SetInts(int ACol, int ARow, int Value);
    int GetInts(int ACol, int ARow) const;
    void SetFloats(int ACol, int ARow, double Value);
    double GetFloats(int ACol, int ARow) const;
    void SetDates(int ACol, int ARow, TDateTime Value);
    TDateTime GetDates(int ACol, int ARow) const;
    void SetTimes(int ACol, int ARow, TDateTime Value);
    TDateTime GetTimes(int ACol, int ARow) const;
    void AutoNumberCol(int ACol);
    void RandomFill(bool DoFixed, int Range);
    double ColumnSum(int ACol, int FromRow, int ToRow) const;
    double ColumnAvg(int ACol, int FromRow, int ToRow) const;
    double ColumnMin(int ACol, int FromRow, int ToRow) const;
    double ColumnMax(int ACol, int FromRow, int ToRow) const;
    double RowSum(int ARow, int FromCol, int ToCol) const;
    double RowAvg(int ARow, int FromCol, int ToCol) const;
    double RowMin(int ARow, int FromCol, int ToCol) const;
    double RowMax(int ARow, int FromCol, int ToCol) const;

    // --- Headers, look-up list and print geometry.
    void SetColumnHeaders(TStrings* List);
    void ShowColumnHeaders();
    void ClearColumnHeaders();
    void SetRowHeaders(TStrings* List);
    void ShowRowHeaders();
    void ClearRowHeaders();
    void SetLookupItems(TStrings* List);
    int GetPrintColWidth(int ACol) const;
    int GetPrintColOffset(int ACol) const;
    // Filled by printing.
    void SetPrintColGeometry(int ACol, int Width, int Offset);

    // --- Selection and the Enter advance (CellModelSelect.cpp). Display rows; the rectangle
    // columns are display columns.
    void SelectRows(int ARow, int Count);
    void SelectCols(int ACol, int Count);
    void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
    // Sets the flag of every row of the rectangular selection (the argument has no effect).
    void SelectToRowSelect(int Value);
    // The row's flag with DisjunctRowSelect, else whether the cell is in the rectangle.
    bool IsSelected(int ACol, int ARow);
    // The rows the selected text is made of, in order (the flagged ones with DisjunctRowSelect).
    std::vector<int> SelectedTextRows();
    // goEditing, and then what GetCellReadOnly answers.
    virtual bool IsEditable(int ACol, int ARow);
    // Moves the current cell on from (ACol, ARow) to the next editable cell; a grid without one
    // is walked once and the current cell stays.
    void AdvanceEdit(int ACol, int ARow, bool Forward, bool ShowEditor, bool Force);
    // One step of the advance from a cell: the next cell, or the same one at the end of the walk
    // (the grid grows there with AdvanceInsert when the events allow).
    TGridCoord AdvanceStep(int ACol, int ARow, bool Forward);
    // The incremental key search: the typed text so far, a key added (Backspace takes the last
    // character away with AutoGotoIncremental) and the found row made current.
    const AnsiString& SearchText() const { return FSearchText; }
    void ClearSearchText() { FSearchText.clear(); }
    void IncrementalSearch(char Key);
    // Editing hooks the keys and the advance call; the editing part of the grid fills them.
    virtual void ShowInplaceEdit() {}
    virtual void RestoreCache() {}
    // A row moved by the base grid takes its select flag along.
    void MoveRowSelect(int FromIndex, int ToIndex);

    // --- Find and search (CellModelFind.cpp). Results are display columns and rows, (-1, -1)
    // when nothing matches. Matching starts only on a character and folds single-byte letters.
    struct TFindState {
        AnsiString Text;
        AnsiString Folded;  // Text with its single-byte letters upper-cased
        TFindParams Params;
        int Col = -1, Row = -1;  // the last hit
        int StartCol = 0, StartRow = 0;
    };
    const TFindState& FindState() const { return FFindState; }
    TPoint FindFirst(const AnsiString& s, TFindParams Params);
    TPoint FindNext();
    bool MatchCell(int ACol, int ARow);
    // The first normal row whose key cell starts with s (cell side folded), or -1.
    int Search(const AnsiString& s) const;

    // --- Keys (CellModelKeys.cpp): the grid's own key-down steps on the cells. Each returns
    // whether it acted.
    // Space: flips the current cell's check box when it may be edited and reports it.
    bool KeySpace();
    // Insert: a row before (or after, with pInsertAfter) the current one, when allowed.
    bool KeyInsertRow(TShiftState Shift);
    // Delete: the current row removed (the only data row emptied), when allowed.
    bool KeyDeleteRow(TShiftState Shift);
    // Tab from the last normal column goes on to the first normal column of the next row.
    void KeyTabWrap(int OldCol, int OldRow);

    // The model agrees with itself: base counts, hidden columns and rows, nodes.
    bool CheckConsistency() const;

    // --- Events whose parameters need no display.
    TGridAlignEvent OnGetAlignment;
    TGridFormatEvent OnGetFormat;
    TGetEditorTypeEvent OnGetEditorType;
    TIsFixedCellEvent OnIsFixedCell;
    TIsPasswordCellEvent OnIsPasswordCell;
    TCanEditCellEvent OnCanEditCell;
    TGridHintEvent OnGridHint;
    TScrollHintEvent OnScrollHint;
    TRowChangingEvent OnRowChanging;
    TColChangingEvent OnColChanging;
    TCellChangingEvent OnCellChanging;
    TCellValidateEvent OnCellValidate;
    TClickCellEvent OnClickCell, OnRightClickCell;
    TDblClickCellEvent OnDblClickCell;
    TClickSortEvent OnClickSort;
    TCanSortEvent OnCanSort;
    TCustomCompareEvent OnCustomCompare;
    TRawCompareEvent OnRawCompare;
    TNodeClickEvent OnExpandNode, OnContractNode;
    TCanAddRowEvent OnCanAddRow;
    TAutoAddRowEvent OnAutoAddRow;
    TCanInsertRowEvent OnCanInsertRow;
    TAutoInsertRowEvent OnAutoInsertRow;
    TAutoInsertColEvent OnAutoInsertCol;
    TCanDeleteRowEvent OnCanDeleteRow;
    TAutoDeleteRowEvent OnAutoDeleteRow;
    TAnchorClickEvent OnAnchorClick;
    TAnchorEvent OnAnchorEnter, OnAnchorExit;
    TClipboardEvent OnClipboardCopy, OnClipboardCut, OnClipboardPaste;
    TGridProgressEvent OnFileProgress;
    TEllipsClickEvent OnEllipsClick;
    TButtonClickEvent OnButtonClick;
    TCheckBoxClickEvent OnCheckBoxClick, OnCheckBoxMouseUp;
    TRadioClickEvent OnRadioClick, OnRadioMouseUp;
    TComboChangeEvent OnComboChange;
    TSpinClickEvent OnSpinClick;
    TFloatSpinClickEvent OnFloatSpinClick;
    TDateTimeSpinClickEvent OnTimeSpinClick, OnDateSpinClick;
    TColumnSizeEvent OnColumnSize, OnColumnMove;
    TRowSizeEvent OnRowSize, OnRowMove;
    TEndColumnSizeEvent OnEndColumnSize;
    TEndRowSizeEvent OnEndRowSize;
    TOleDragDropEvent OnOleDrop, OnOleDrag;
    TOleDragOverEvent OnOleDragOver;
    TOleDragStartEvent OnOleDragStart;
    TOleDragStopEvent OnOleDragStop;
    TOleDropColEvent OnOleDropCol;
    TGridPrintStartEvent OnPrintStart;
    TGridPrintNewPageEvent OnPrintNewPage;
    TGridPrintColumnWidthEvent OnPrintSetColumnWidth;
    TGridPrintRowHeightEvent OnPrintSetRowHeight;
    TDoFitToPageEvent OnFitToPage;

protected:
    // Frees the extras in the raw slots of a display row (every stored column, or FromCol up
    // to ToCol, exclusive).
    void FreeRowExtras(int ARow);
    void FreeExtrasIn(int ARow, int FromCol, int ToCol);
    // Rows and columns leave the grid by any path: their extras go with them (a hidden row's
    // item has taken its own out of the slots first).
    void RowsLeaving(int At, int Count) override;
    void ColsLeaving(int At, int Count) override;
    // A column moved by the base grid (display indexes): its cells move between the real
    // columns, and hidden columns keep their flags with their cells.
    void MoveColumnCells(int FromIndex, int ToIndex) override;
    // A new extra of a cell whose slot holds nothing or an extra (the old one is freed); null
    // when the slot holds an object of another class. Raises for a cell outside the grid.
    TCellGraphic* ReplaceExtra(int ACol, int ARow);
    // An image-list extra set up by Set, when the grid has images and the cell's object is
    // none or an extra.
    void AddImageExtra(int ACol, int ARow, const std::function<void(TCellGraphic&)>& Set);
    // The cell's extra when it is of the kind, while EnableGraphics is on.
    TCellGraphic* ExtraOf(int ACol, int ARow, TCellType Kind) const;
    // Paints a cell again at once (a toggled check box); here it is only invalidated.
    virtual void PaintCellNow(int DisplayCol, int ARow) { InvalidateCell(DisplayCol, ARow); }
    // Hides the shown display rows given (ascending) in one pass, as one HideRowsEx a run.
    void HideDisplayRows(const std::vector<int>& Rows);
    // Removes display rows (ascending) in one pass, with their extras; the cursor stays where
    // it still exists, else it goes to the first normal row.
    void RemoveDisplayRows(const std::vector<int>& Rows);
    // Inserts empty rows so that they stand at the given display rows (ascending) of the result.
    void InsertRowSet(const std::vector<int>& Positions);
    // The real rows of display rows (ascending), in one walk of the hidden rows.
    std::vector<int> RealRowsOf(const std::vector<int>& Displays) const;
    TVAlignment FVAlignment = vtaTop;
    // Frees an extra taken out of column ACol, keeping the node count.
    void DeleteExtra(int ACol, TCellGraphic* Extra);
    // The number of real columns: the visible ones and the hidden ones.
    int AllCols() const { return ColCount() + HiddenColCount(); }
    // A real row that lies in the grid, shown or hidden.
    int LastRealRow() const { return RowCount() + NumHiddenRows() - 1; }
    // The node extra of a display row, read from the raw slot.
    TCellGraphic* NodeAt(int Display) const;
    // The node of a real row that is shown, or null.
    TCellGraphic* ShownNode(int ARow) const;
    // Rows in the sort pass: the current row followed as the rows move, and swaps counted.
    int FSortRow = -1;
    int FSortSwaps = 0;
    // +1 sorting ascending, -1 descending: a comparison equal to it puts the first row after.
    int FSortSign = 1;
    // After a sort the current row moves to where its data went; the control does so without
    // validating an open editor.
    virtual void FollowSortRow(int ARow);

private:
    // What a sort changed to run, put back by EndSortRows (also when the sort raises).
    struct TSortWork {
        int Hidden = 0;
        int LastCol = -1;
        int LastWidth = 0;
        bool Column0 = false;
        std::vector<std::pair<AnsiString, TObject*>> Column0Cells;
    };
    void BeginSortRows(TSortWork& Work, bool KeepColumn0);
    void EndSortRows(TSortWork& Work);
    // A whole sort of the normal rows around Sort, with the update lock, the work rows and the
    // current row following its data.
    template <class Sort>
    void SortNormalRows(bool KeepColumn0, bool FollowQuietly, Sort sort);
    // QSortGroup's sort, which may end by a handler freeing the grid.
    void SortGroups();
    // How a partition step treats the two rows its scans stopped at when they compare equal: the
    // sort by a column leaves them in place, the sort by the index list exchanges them as it
    // does any other pair.
    enum class TStoppedPair { SwapWhenUnequal, AlwaysSwap };
    // The partition sort of a row range by a comparison of two rows (1: out of order), and the
    // rows put in the order it found (Order[k] is the row that goes to ALeft + k).
    template <class CompareRows>
    void PartitionSort(int ALeft, int ARight, TStoppedPair Stopped, CompareRows Compare);
    void PlaceSortedRows(int ALeft, const std::vector<int>& Order);
    // Sort runs with the work rows added, and they go again whatever it does.
    void WithWorkRows(const std::function<void()>& Sort);
    void RemoveRowsCore(int Row, int Count);
    // Puts the current and top rows back after rows left; false when a handler freed the grid.
    bool RestoreCursor(int OldRow, int OldTop, int FallbackRow);
    void HideRowRange(int FromRow, int ToRow, bool ByCopying);
    // Puts hidden rows (ascending real indexes) back in one pass.
    void UnhideRealRows(const std::vector<int>& Reals);
    template <class Fold>
    double FoldColumn(int ACol, int FromRow, int ToRow, double Start, Fold fold) const;
    template <class Fold>
    double FoldRow(int ARow, int FromCol, int ToCol, double Start, Fold fold) const;
    void GroupCalc(int ACol, double (TCellModel::*Calc)(int, int, int) const);
    int GroupTitleCol(int Col) const;

    int FFixedFooters = 0;
    bool FFilterActive = false;
    // The fixed-row count saved when the filter switched; above 0 while the filter keeps an
    // empty row for the fixed rows.
    int FFilterFixedRows = 0;
    int FFixedRightCols = 0;
    int FSortColumn = 0;
    bool FSortShow = false;
    bool FSortIndexShow = false;
    int FUpdateCount = 0;
    int FNodeCount = 0;
    int FGroupColumn = -1;
    int FGroupWidth = 0;
    AnsiString FGroupHeader;
    TGridRect FSavedSelection;
    TColumnHiding FColumns;
    TGridCoord FMovedRealCols{-1, -1};
    THiddenRows FHiddenRows;
    std::vector<char> FRowSelect;
    std::array<int, 256> FPrintColWidth{};
    std::array<int, 256> FPrintColOffset{};
    std::mt19937 FRandom{std::random_device{}()};
    // Selection, find and search state.
    AnsiString FSearchText;
    TFindState FFindState;

    std::unique_ptr<TBands> FBands;
    std::unique_ptr<TSizeWhileTyping> FSizeWhileTyping;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TColumnSize> FColumnSize;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<THTMLSettings> FHTMLSettings;
    std::unique_ptr<TFilter> FFilter;
    std::unique_ptr<TStringList> FColumnHeaders;
    std::unique_ptr<TStringList> FRowHeaders;
    std::unique_ptr<TStringList> FLookupItems;
    std::unique_ptr<TSortIndexList> FSortIndexes;
};
