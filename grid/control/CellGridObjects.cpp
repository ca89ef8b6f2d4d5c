#include "grid/control/CellGridObjects.h"

#include "platform/core/GridData.h"

void TCellNode::SetNodeType(TNodeType Value)
{
    if (Value == FNodeType)
        return;
    FNodeType = Value;
    FGrid->InvalidateGrid();
}

void TBackGround::Changed() { FGrid->InvalidateGrid(); }

void TBackGround::SetTop(int Value)
{
    FTop = Value;
    Changed();
}

void TBackGround::SetLeft(int Value)
{
    FLeft = Value;
    Changed();
}

void TBackGround::SetDisplay(TBackGroundDisplay Value)
{
    FDisplay = Value;
    Changed();
}

void TBackGround::SetCells(TBackGroundCells Value)
{
    FCells = Value;
    Changed();
}

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
