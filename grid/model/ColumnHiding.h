#pragma once
// The hidden columns of a cell grid: a visibility flag and a saved width for each of the first
// 256 real columns (columns from 256 up cannot be hidden), the number hidden, and the mapping
// between real columns (every column) and display columns (the visible ones).

#include <array>

class TColumnHiding {
public:
    static constexpr int kMaxHideable = 256;

    TColumnHiding();

    int HiddenCount() const { return FHiddenCount; }
    // True for columns that cannot be hidden.
    bool Visible(int Real) const;
    // The flag alone; Hide and Unhide keep the count with it.
    void SetVisible(int Real, bool Flag);
    void Hide(int Real, int Width);
    // The width saved when the column was hidden.
    int Unhide(int Real);
    int SavedWidth(int Real) const;

    // The real column shown at a display column; negative display columns give 0.
    int RealCol(int Display) const;
    // The display column of a real column (of the next visible one when it is hidden); values
    // below 1 stay as they are.
    int DisplCol(int Real) const;

    // Real columns inserted at At are visible; flags and widths move right with their columns.
    // Flags pushed past the last hideable column are dropped: callers unhide those first.
    void Insert(int At, int Count);
    // Flags and widths of the removed columns go; those after them move left.
    void Remove(int At, int Count);
    // A shown column moved from one real index to another: the flags and widths between move
    // one place towards where it came from. A hidden flag pushed past the last hideable column
    // is dropped, as by Insert.
    void Move(int From, int To);

    // The count agrees with the flags.
    bool CheckConsistency() const;

private:
    std::array<bool, kMaxHideable> FVisible;
    std::array<int, kMaxHideable> FSavedWidth;
    int FHiddenCount = 0;
};
