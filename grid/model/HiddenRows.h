#pragma once
// The hidden rows of a cell grid, one item per row in the order they were hidden: the row's
// real index and its cells (text and object per column, hidden columns included). A hidden row
// is out of the grid, so the cell extras of its cells are held, and freed, by its item. The
// items are collection items; the store keeps them indexed by real row, so that finding and
// putting back many rows costs no search through all of them.

#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/core/Collection.h"
#include "platform/core/StringList.h"

class TGridItem : public TCollectionItem {
public:
    TGridItem();
    ~TGridItem();
    TGridItem(const TGridItem&) = delete;
    TGridItem& operator=(const TGridItem&) = delete;

    int Idx = 0;
    TStrings* Items() const { return FItems.get(); }
    // Hands the objects back (the row they came from holds them again).
    void ReleaseObjects();

private:
    std::unique_ptr<TStringList> FItems;
};

class THiddenRows {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // In the order the rows were hidden.
    TGridItem* Items(int Index) const { return FItems[static_cast<size_t>(Index)].get(); }
    // The last item of a real row, or null.
    TGridItem* Find(int Real) const;
    bool IsHidden(int Real) const;
    TGridItem& Add(int Real);
    // Frees the items (their objects already handed back), in one pass over the collection.
    void Remove(const std::vector<TGridItem*>& Items);
    void Clear();

    // Hidden rows below a real row.
    int HiddenBelow(int Real) const;
    // The display row of a real row: the real row less the hidden rows below it.
    int DisplRow(int Real) const { return Real - HiddenBelow(Real); }
    // The real row of a display row, skipping hidden rows; -1 for a negative one.
    int RealRow(int Display) const;
    // The real rows that are hidden, in ascending order.
    const std::vector<int>& Sorted() const { return FSorted; }

    bool CheckConsistency() const;

private:
    std::vector<std::unique_ptr<TGridItem>> FItems;
    std::vector<int> FSorted;  // every item's Idx, ascending
    std::unordered_map<int, TGridItem*> FByIdx;
};
