#include "grid/control/CellGridObjects.h"

#include "platform/core/GridData.h"

void TCellNode::SetNodeType(TNodeType Value) { StoreAndRepaint(*FGrid, FNodeType, Value, Value != FNodeType); }

void TBackGround::Changed() { FGrid->InvalidateGrid(); }

void TBackGround::SetTop(int Value) { StoreAndRepaint(*FGrid, FTop, Value); }

void TBackGround::SetLeft(int Value) { StoreAndRepaint(*FGrid, FLeft, Value); }

void TBackGround::SetDisplay(TBackGroundDisplay Value) { StoreAndRepaint(*FGrid, FDisplay, Value); }

void TBackGround::SetCells(TBackGroundCells Value) { StoreAndRepaint(*FGrid, FCells, Value); }

void TBackGround::SetBitmap(TBitmap* Value)
{
    FBitmap->Assign(Value);
    Changed();
}

void TBackGround::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TBackGround*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    FTop = other->FTop;
    FLeft = other->FLeft;
    FDisplay = other->FDisplay;
    FCells = other->FCells;
    FBitmap->Assign(other->FBitmap.get());
    Changed();
}
