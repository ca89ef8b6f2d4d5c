#include "grid/model/GridSettings.h"

#include "grid/model/CellModel.h"
#include "platform/core/GridData.h"

// Colours and lengths show only while the bands do.
void TBands::SetActive(bool Value) { StoreAndRepaint(*FGrid, FActive, Value); }
void TBands::SetSecondaryLength(int Value) { StoreAndRepaint(*FGrid, FSecondaryLength, Value, FActive); }
void TBands::SetPrimaryLength(int Value) { StoreAndRepaint(*FGrid, FPrimaryLength, Value, FActive); }
void TBands::SetSecondaryColor(TColor Value) { StoreAndRepaint(*FGrid, FSecondaryColor, Value, FActive); }
void TBands::SetPrimaryColor(TColor Value) { StoreAndRepaint(*FGrid, FPrimaryColor, Value, FActive); }

TColor TBands::ColorOf(int RowFromFirst) const
{
    const int period = Period();
    if (period <= 0 || RowFromFirst < 0)
        return clNone;
    return RowFromFirst % period < FPrimaryLength ? FPrimaryColor : FSecondaryColor;
}

void TColumnSize::SetStretch(bool Value)
{
    FStretch = Value;
    FGrid->StretchRightColumn();
}

void TFilterData::Assign(TPersistent* Source)
{
    if (auto* other = dynamic_cast<TFilterData*>(Source)) {
        Column = other->Column;
        Condition = other->Condition;
        return;
    }
    TPersistent::Assign(Source);
}

TPersistent* TFilter::GetOwner() const { return dynamic_cast<TPersistent*>(FGrid->Sender()); }
