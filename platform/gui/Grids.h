#pragma once
// The framework's grids on a window: TCustomGrid (the counts, sizes, current cell and cells of
// TCustomGridData, shown in a custom-painted control), TDrawGrid (which raises the drawing,
// selecting and moving events) and TStringGrid (which draws each cell's text).
//
// The display-free half is a virtual base, so that a grid class may also derive from a
// display-free model that builds on the same half (the cell grid does): both reach one copy.
//
// Files: Grids.cpp (life cycle, invalidation, the drawing and string grids), GridsPaint.cpp
// (the paint loop: cell states, DrawCell per visible cell, grid lines, the focus rectangle),
// GridsScroll.cpp (the window scroll bars on their logical range and the scroll messages),
// GridsKeys.cpp and GridsMouse.cpp (navigation, selecting, sizing and moving).

#include <functional>

#include "platform/core/GridCursor.h"
#include "platform/core/GridData.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/WinControl.h"

class TInplaceEdit;

// Whole wheel notches from the deltas a wheel reports (120 a notch; touch pads send parts of
// one): Add returns the notches completed, positive away from the user, and keeps the rest.
class TWheelNotches {
public:
    int Add(int Delta);
    void Reset() { FRest = 0; }

private:
    int FRest = 0;
};

using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;
using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;

class TCustomGrid : public TCustomControl, public virtual TCustomGridData {
public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;

    TObject* Sender() override { return this; }

    void InvalidateCell(int ACol, int ARow) override;
    void InvalidateRow(int ARow) override;
    void InvalidateCol(int ACol) override;
    void InvalidateGrid() override;

    // --- Keyboard and mouse (GridsKeys.cpp, GridsMouse.cpp): the mouse state, the moving and
    // sizing it does, and whether the in-place editor is up.
    TGridState GridState() const { return FGridState; }
    bool EditorMode() const { return FEditorMode; }
    // Shows the in-place editor on the current cell (true) or hides it (false).
    void SetEditorMode(bool Value);
    // The in-place editor once one was made (GridsEditor.cpp).
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }

    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value) { FDefaultDrawing = Value; }
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);

    // --- Painting (GridsPaint.cpp). The state a cell is painted in: gdFixed for the fixed
    // rows and columns; otherwise gdSelected inside the selection and gdFocused for the current
    // cell while the grid has the focus.
    TGridDrawState CellDrawState(int ACol, int ARow) const;
    // Paints one cell on the canvas as the paint loop does: its colours and background (with
    // DefaultDrawing), DrawCell, its grid lines and the focus rectangle. Nothing for a cell out
    // of view.
    void PaintCell(int ACol, int ARow);
    // The grid-line colours: fixed cells' and normal cells'.
    static constexpr TColor kFixedLineColor = clBlack;
    static constexpr TColor kLineColor = clSilver;

    // --- The window's scroll bars (GridsScroll.cpp): which ones the grid may show (ssBoth in a
    // new grid). A bar shows while its rows or columns do not all fit; its position runs over
    // 0 .. kScrollRange whatever the counts, mapped linearly onto the fixed count .. the largest
    // first row or column.
    static constexpr int kScrollRange = 127;
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool HasScrollBar(int Bar) const;
    // The bar position that stands for a first row or column, and the first one a position
    // stands for (Fixed .. MaxFirst onto 0 .. kScrollRange).
    static int ScrollPosOf(int First, int Fixed, int MaxFirst);
    static int FirstOfScrollPos(int Pos, int Fixed, int MaxFirst);
    // Brings the bars in line with the counts, sizes, view size and the first row and column;
    // the first row and column come back within their largest value. Nothing without a window.
    void UpdateScrollRange();

protected:
    // --- The in-place editor (GridsEditor.cpp). The grid makes it on first need, places it over
    // the current cell with the cell's edit text selected, moves it along when the view scrolls
    // and hides it when the current cell moves. The cell's text follows the editor as the user
    // types (SetEditText); hiding writes back only a text that differs from the one loaded.
    virtual TInplaceEdit* CreateEditor();
    // goEditing without goRowSelect, in editor mode, on a normal cell of a grid that has the
    // focus (or with goAlwaysShowEditor).
    virtual bool CanEditShow();
    virtual AnsiString GetEditText(int ACol, int ARow) { return Cells(ACol, ARow); }
    virtual void SetEditText(int ACol, int ARow, const AnsiString& Value) { SetCells(ACol, ARow, Value); }
    // Places and loads the editor when CanEditShow allows it.
    void UpdateEdit();
    // Hides the editor (the grid takes the focus back when the editor had it).
    void HideEdit();
    // The grid or its editor has the keyboard focus.
    bool IsActiveControl() const;
    // The editor leaves a cell the current cell left (with goAlwaysShowEditor it moves along).
    void CurrentMoved(TGridCoord Old) override;
    // The window was made (the widget exists) or is going.
    virtual void CreateWnd() {}
    void DestroyWnd() override {}
    virtual void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {}
    // Whether the focused cell gets its focus rectangle (a row-select grid frames its row
    // whatever this says).
    virtual bool ShowFocusRect() const { return true; }

    // The scroll messages (code in the low word of WParam, position in the high word): line,
    // page, top, bottom and thumb steps move TopRow or LeftCol; a thumb drag scrolls only with
    // goThumbTracking. Subclasses override and call these for the base handling.
    virtual void WMVScroll(TMessage& Msg);
    virtual void WMHScroll(TMessage& Msg);

    void Paint() override;
    void WidgetCreated() override;
    void BoundsChanged(const TRect& OldBounds, bool SizeChanged) override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void TopLeftChanged() override;

    // --- Keyboard (GridsKeys.cpp): OnKeyDown first, then the navigation of MoveCursor; a key
    // that moves the current cell ends in Click. F2 (and Enter with goEditing) starts the
    // editor through ShowEditor, typed characters through ShowEditorChar.
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    virtual void ShowEditor();
    // Shows the editor, then types Ch (one character, a Hangul pair whole) into it, later, from
    // the event loop: the editor's own filters see it as a typed key.
    virtual void ShowEditorChar(const AnsiString& Ch);
    virtual void HideEditor();
    // Moves the current cell as a key or a press does: SelectCell may refuse; Click follows a move.
    void MoveCurrentCell(int ACol, int ARow, bool MoveAnchor);

    // --- Mouse (GridsMouse.cpp). A left press starts sizing on a size grip, moving on a fixed
    // cell with goRowMoving / goColMoving, else selecting; the release ends it (MoveRow or
    // MoveColumn for a move, the new size for sizing). A double click fires DblClick.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // Whether a point is on a size grip (CalcSizingHit); subclasses may refuse it.
    virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs);
    // Leaves any mouse state (sizing, moving, selecting) without finishing it.
    void CancelGridState() { FGridState = gsNormal; }
    // The item a move started from and the one it would go to now (gsRowMoving, gsColMoving).
    int MoveIndex() const { return FMoveIndex; }
    int MovePos() const { return FMovePos; }
    // The cursor shown over the grid while the control's own Cursor stays (size grips, links).
    void ShowGridCursor(TCursor Cursor);

private:
    friend class TInplaceEdit;
    void RegisterGridHandlers();
    // Moves a shown editor to its cell, or hides it while the cell is out of view.
    void EditorFollowsCell();
    AnsiString FTypedLead;

protected:
    // Gathers typed bytes into whole characters: false while the lead byte of a Hangul pair
    // waits for its trail byte, true with the character in Whole.
    bool TakeTypedByte(char Ch, AnsiString& Whole);

private:
    TGridState FGridState = gsNormal;
    bool FEditorMode = false;
    TInplaceEdit* FInplaceEdit = nullptr;
    int FInplaceCol = -1, FInplaceRow = -1;
    int FSizingIndex = -1, FSizingPos = 0, FSizingOfs = 0;
    int FMoveIndex = -1, FMovePos = -1;

private:
    void PaintLines(const TRect& cell, bool fixed);
    void PaintCellAt(int col, int row, const TRect& r);
    void Scroll(int bar, unsigned code, int pos);

    bool FDefaultDrawing = true;
    TColor FFixedColor = clBtnFace;
    TScrollStyle FScrollBars = ssBoth;
    bool FInScrollUpdate = false;
    // What the bars were last set to, so that updates that change nothing cost nothing.
    bool FBarShown[2] = {false, false};
    int FBarPos[2] = {-1, -1};
};

class TDrawGrid : public TCustomGrid {
public:
    using TCustomGrid::TCustomGrid;

    TSelectCellEvent OnSelectCell;
    TMovedEvent OnRowMoved, OnColumnMoved;
    TNotifyEvent OnTopLeftChanged;
    TDrawCellEvent OnDrawCell;

protected:
    bool SelectCell(int ACol, int ARow) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void TopLeftChanged() override;
    // Fires OnDrawCell.
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
};

class TStringGrid : public TDrawGrid {
public:
    using TDrawGrid::TDrawGrid;

protected:
    // With DefaultDrawing, the cell's text at its left edge; then OnDrawCell, once.
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
};
