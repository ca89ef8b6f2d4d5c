#pragma once
// Lists of integers the grid keeps: the image indexes of a cell that shows several images,
// which report every change to their cell, and the sort index list, whose items are column
// indexes with a direction each.

#include <cstdint>
#include <functional>

#include "platform/core/List.h"

using TImageChangeEvent = std::function<void(TObject* Sender, int Acol, int Arow)>;

// A list of integers kept in the framework's pointer list; it belongs to the cell (column,
// row) it was made for and tells its change event after every change.
class TIntList : public TList {
public:
    TIntList(int Col, int Row) : FCol(Col), FRow(Row) {}

    int Col() const { return FCol; }
    int Row() const { return FRow; }
    int GetInteger(int Index) const;
    void SetInteger(int Index, int Value);
    int Add(int Value);
    void Delete(int Index);

    TImageChangeEvent OnChange;

private:
    void Changed();
    int FCol;
    int FRow;
};

// Column indexes in sort order: the low 31 bits hold the column, the top bit marks a column
// sorted descending.
class TSortIndexList : public TIntList {
public:
    static constexpr uint32_t kDescending = 0x80000000u;

    TSortIndexList() : TIntList(0, 0) {}
    void AddIndex(int Col, bool Ascending);
    // The position of the first item for the column, or -1.
    int FindIndex(int Col) const;
    // Flips the direction of the column's first item; nothing when there is none.
    void ToggleIndex(int Col);
};
