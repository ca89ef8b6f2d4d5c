#pragma once
// The cells of a string grid: a text and an object pointer per cell, kept row by row. A row is
// one allocation, made when a cell of it is first written, that moves by pointer, so inserting,
// deleting and moving rows never copies texts and an empty row costs one pointer. A row holds
// its cells beyond the grid's column count too (hidden columns keep their cells there). A row
// whose cells stand close together keeps one slot per column; one whose cells stand far apart
// keeps only those cells, so a row costs memory in proportion to the cells written in it,
// whatever their columns. The store never owns the objects.

#include <map>
#include <memory>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/Object.h"

// A cell of a sparse row.
struct TGridSparseCell {
    AnsiString Text;
    TObject* Object = nullptr;
};

// One row. Dense while Sparse is null: Texts[c] is column c and Objects[c] its object (Objects
// stays shorter until an object is stored), Used counts the slots holding either. Sparse
// otherwise: only the cells that hold a text or an object, by column, and no slots.
struct TGridRowCells {
    std::vector<AnsiString> Texts;
    std::vector<TObject*> Objects;
    int Used = 0;
    std::unique_ptr<std::map<int, TGridSparseCell>> Sparse;

    TGridRowCells() = default;
    TGridRowCells(const TGridRowCells& Other)
        : Texts(Other.Texts), Objects(Other.Objects), Used(Other.Used),
          Sparse(Other.Sparse ? std::make_unique<std::map<int, TGridSparseCell>>(*Other.Sparse) : nullptr)
    {}
    TGridRowCells(TGridRowCells&&) = default;
    TGridRowCells& operator=(TGridRowCells&&) = default;
};

class TGridCells {
public:
    int RowCount() const { return static_cast<int>(FRows.size()); }
    // New rows are empty; dropped rows go with their texts (their objects are the caller's).
    void SetRowCount(int count);

    // Reads outside the store give an empty text and no object.
    const AnsiString& Text(int col, int row) const;
    TObject* Object(int col, int row) const;
    // Callers check row and column (not negative); the row grows to hold the column, and a row's
    // first growth makes room for up to `width` cells at once (the grid's column count).
    void SetText(int col, int row, AnsiString text, int width = 0);
    void SetObject(int col, int row, TObject* object);
    // One past the last column stored in a row (0 outside).
    int StoredCols(int row) const;
    // The first column from col on where the row stores a text or an object; -1 when none, so a
    // walk over a row's cells costs what the row stores, not its width.
    int NextStoredCol(int row, int col) const;

    void InsertRows(int at, int count);
    void DeleteRows(int at, int count);
    // Many rows at once: removed at ascending indexes, or empty ones inserted so that they
    // stand at ascending indexes of the result.
    void DeleteRowSet(const std::vector<int>& rows);
    void InsertRowSet(const std::vector<int>& positions);
    void MoveRow(int from, int to);
    void ExchangeRows(int a, int b);
    // Cells of every row: insert empty ones at a column, delete a run, or move one.
    void InsertCols(int at, int count);
    void DeleteCols(int at, int count);
    void MoveCol(int from, int to);
    void ExchangeCols(int a, int b);

    // Row `to` becomes a copy of row `from`: the same texts and the same object pointers.
    void CopyRow(int from, int to);
    // Takes a row out (an empty one is left; null for a row never written) and puts one in
    // (null empties it).
    std::unique_ptr<TGridRowCells> TakeRow(int row);
    void PutRow(int row, std::unique_ptr<TGridRowCells> cells);

    // Every row keeps its form: no dense row stores more objects than texts, and sparse rows
    // hold ascending columns of cells that are not empty.
    bool CheckConsistency() const;

private:
    // The row's cells, made on first need.
    TGridRowCells& Row(int row);
    const TGridRowCells* Find(int row) const;

    std::vector<std::unique_ptr<TGridRowCells>> FRows;
};
