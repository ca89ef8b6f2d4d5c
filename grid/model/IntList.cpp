#include "grid/model/IntList.h"

namespace {

void* ToItem(int Value) { return reinterpret_cast<void*>(static_cast<intptr_t>(Value)); }
int FromItem(void* Item) { return static_cast<int>(reinterpret_cast<intptr_t>(Item)); }

// The column an item of the sort index list names.
int ColumnOf(int Item) { return static_cast<int>(static_cast<uint32_t>(Item) & ~TSortIndexList::kDescending); }

}  // namespace

int TIntList::GetInteger(int Index) const { return FromItem(Items(Index)); }

void TIntList::SetInteger(int Index, int Value)
{
    SetItems(Index, ToItem(Value));
    Changed();
}

int TIntList::Add(int Value)
{
    const int index = TList::Add(ToItem(Value));
    Changed();
    return index;
}

void TIntList::Delete(int Index)
{
    TList::Delete(Index);
    Changed();
}

void TIntList::Changed()
{
    if (OnChange)
        OnChange(this, FCol, FRow);
}

void TSortIndexList::AddIndex(int Col, bool Ascending)
{
    const uint32_t item = static_cast<uint32_t>(Col) & ~kDescending;
    Add(static_cast<int>(Ascending ? item : item | kDescending));
}

int TSortIndexList::FindIndex(int Col) const
{
    const int column = ColumnOf(Col);
    for (int i = 0; i < Count(); ++i)
        if (ColumnOf(GetInteger(i)) == column)
            return i;
    return -1;
}

void TSortIndexList::ToggleIndex(int Col)
{
    const int i = FindIndex(Col);
    if (i >= 0)
        SetInteger(i, static_cast<int>(static_cast<uint32_t>(GetInteger(i)) ^ kDescending));
}
