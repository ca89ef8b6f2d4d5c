#pragma once
// The framework's grids on a window: TCustomGrid (the counts, sizes, current cell and cells of
// TCustomGridData, shown in a custom-painted control), TDrawGrid (which raises the drawing,
// selecting and moving events) and TStringGrid (which draws each cell's text).
//
// The display-free half is a virtual base, so that a grid class may also derive from a
// display-free model that builds on the same half (the cell grid does): both reach one copy.

#include <functional>

#include "platform/core/GridData.h"
#include "platform/gui/WinControl.h"

class TInplaceEdit;

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

    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value) { FDefaultDrawing = Value; }
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);

protected:
    // The in-place editor the grid edits with; none in the base.
    virtual TInplaceEdit* CreateEditor() { return nullptr; }
    virtual bool CanEditShow() { return false; }
    // The window was made (the widget exists) or is going.
    virtual void CreateWnd() {}
    virtual void DestroyWnd() {}
    virtual void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {}

    void Paint() override;
    void WidgetCreated() override;
    void BoundsChanged(const TRect& OldBounds, bool SizeChanged) override;

private:
    void PaintLines(const TRect& cell, bool fixed);

    bool FDefaultDrawing = true;
    TColor FFixedColor = clBtnFace;
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
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
};

class TStringGrid : public TDrawGrid {
public:
    using TDrawGrid::TDrawGrid;

protected:
    // The cell's text at its left edge, after OnDrawCell when DefaultDrawing is off.
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
};
