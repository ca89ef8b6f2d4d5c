#pragma once
// The cells of a string grid: a text and an object pointer per cell, kept row by row. A row is
// one allocation, made when a cell of it is first written, that moves by pointer, so inserting,
// deleting and moving rows never copies texts and an empty row costs one pointer. A row holds
// as many cells as were ever written in it, also beyond the grid's column count (hidden
// columns keep their cells there). The store never owns the objects.

#include <memory>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/Object.h"

struct TGridRowCells {
    std::vector<AnsiString> Texts;
    std::vector<TObject*> Objects;  // empty until an object is stored in the row
};

class TGridCells {
public:
    int RowCount() const { return static_cast<int>(FRows.size()); }
    // New rows are empty; dropped rows go with their texts (their objects are the caller's).
    void SetRowCount(int count);

    // Reads outside the store give an empty text and no object.
    const AnsiString& Text(int col, int row) const;
    TObject* Object(int col, int row) const;
    // Callers check row and column; the row grows to hold the column, and a row's first growth
    // makes room for `width` cells at once (the grid's column count).
    void SetText(int col, int row, AnsiString text, int width = 0);
    void SetObject(int col, int row, TObject* object);
    // The number of cells stored in a row (0 outside).
    int StoredCols(int row) const;

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

    // No row stores more objects than texts.
    bool CheckConsistency() const;

private:
    // The row's cells, made on first need.
    TGridRowCells& Row(int row);
    const TGridRowCells* Find(int row) const;

    std::vector<std::unique_ptr<TGridRowCells>> FRows;
};
