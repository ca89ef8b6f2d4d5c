#include "platform/core/GridCells.h"

#include <algorithm>
#include <utility>

#include "platform/core/IndexSets.h"

namespace {

const AnsiString kEmpty;

bool Inside(const std::vector<std::unique_ptr<TGridRowCells>>& rows, int row)
{
    return row >= 0 && row < static_cast<int>(rows.size());
}

// Moves element `from` of v to index `to`, growing v to hold both; nothing when both lie past
// its end (they are both empty there).
template <class T>
void MoveElement(std::vector<T>& v, int from, int to)
{
    const size_t high = static_cast<size_t>(std::max(from, to));
    if (v.size() <= static_cast<size_t>(std::min(from, to)))
        return;
    if (v.size() <= high)
        v.resize(high + 1);
    if (from < to)
        std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
    else
        std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
}

template <class T>
void InsertElements(std::vector<T>& v, int at, int count)
{
    if (static_cast<int>(v.size()) > at)
        v.insert(v.begin() + at, static_cast<size_t>(count), T{});
}

template <class T>
void DeleteElements(std::vector<T>& v, int at, int count)
{
    if (static_cast<int>(v.size()) > at)
        v.erase(v.begin() + at, v.begin() + std::min(static_cast<int>(v.size()), at + count));
}

}  // namespace

void TGridCells::SetRowCount(int count) { FRows.resize(static_cast<size_t>(std::max(count, 0))); }

TGridRowCells& TGridCells::Row(int row)
{
    auto& cells = FRows[static_cast<size_t>(row)];
    if (!cells)
        cells = std::make_unique<TGridRowCells>();
    return *cells;
}

const TGridRowCells* TGridCells::Find(int row) const
{
    return Inside(FRows, row) ? FRows[static_cast<size_t>(row)].get() : nullptr;
}

const AnsiString& TGridCells::Text(int col, int row) const
{
    const TGridRowCells* cells = Find(row);
    if (!cells || col < 0 || col >= static_cast<int>(cells->Texts.size()))
        return kEmpty;
    return cells->Texts[static_cast<size_t>(col)];
}

TObject* TGridCells::Object(int col, int row) const
{
    const TGridRowCells* cells = Find(row);
    if (!cells || col < 0 || col >= static_cast<int>(cells->Objects.size()))
        return nullptr;
    return cells->Objects[static_cast<size_t>(col)];
}

void TGridCells::SetText(int col, int row, AnsiString text, int width)
{
    if (col >= StoredCols(row)) {
        if (text.empty())
            return;
        auto& texts = Row(row).Texts;
        if (texts.capacity() == 0)
            texts.reserve(static_cast<size_t>(std::max(col + 1, width)));
        texts.resize(static_cast<size_t>(col) + 1);
    }
    Row(row).Texts[static_cast<size_t>(col)] = std::move(text);
}

void TGridCells::SetObject(int col, int row, TObject* object)
{
    const TGridRowCells* found = Find(row);
    if (!found || col >= static_cast<int>(found->Objects.size())) {
        if (!object)
            return;
        TGridRowCells& cells = Row(row);
        cells.Objects.resize(static_cast<size_t>(col) + 1);
        if (cells.Texts.size() < cells.Objects.size())
            cells.Texts.resize(cells.Objects.size());
    }
    Row(row).Objects[static_cast<size_t>(col)] = object;
}

int TGridCells::StoredCols(int row) const
{
    const TGridRowCells* cells = Find(row);
    return cells ? static_cast<int>(cells->Texts.size()) : 0;
}

void TGridCells::InsertRows(int at, int count)
{
    if (count <= 0)
        return;
    at = std::clamp(at, 0, RowCount());
    std::vector<std::unique_ptr<TGridRowCells>> fresh(static_cast<size_t>(count));
    FRows.insert(FRows.begin() + at, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
}

void TGridCells::DeleteRows(int at, int count)
{
    if (!Inside(FRows, at) || count <= 0)
        return;
    FRows.erase(FRows.begin() + at, FRows.begin() + std::min(RowCount(), at + count));
}

void TGridCells::DeleteRowSet(const std::vector<int>& rows) { EraseIndexes(FRows, rows); }

void TGridCells::InsertRowSet(const std::vector<int>& positions)
{
    InsertAtIndexes(FRows, positions, [] { return std::unique_ptr<TGridRowCells>(); });
}

void TGridCells::MoveRow(int from, int to)
{
    if (Inside(FRows, from) && Inside(FRows, to))
        MoveElement(FRows, from, to);
}

void TGridCells::ExchangeRows(int a, int b)
{
    if (Inside(FRows, a) && Inside(FRows, b))
        std::swap(FRows[static_cast<size_t>(a)], FRows[static_cast<size_t>(b)]);
}

void TGridCells::InsertCols(int at, int count)
{
    if (at < 0 || count <= 0)
        return;
    for (auto& r : FRows) {
        if (!r)
            continue;
        InsertElements(r->Texts, at, count);
        InsertElements(r->Objects, at, count);
    }
}

void TGridCells::DeleteCols(int at, int count)
{
    if (at < 0 || count <= 0)
        return;
    for (auto& r : FRows) {
        if (!r)
            continue;
        DeleteElements(r->Texts, at, count);
        DeleteElements(r->Objects, at, count);
    }
}

void TGridCells::MoveCol(int from, int to)
{
    if (from < 0 || to < 0 || from == to)
        return;
    for (auto& r : FRows) {
        if (!r)
            continue;
        MoveElement(r->Texts, from, to);
        MoveElement(r->Objects, from, to);
        if (r->Texts.size() < r->Objects.size())
            r->Texts.resize(r->Objects.size());
    }
}

void TGridCells::ExchangeCols(int a, int b)
{
    if (a < 0 || b < 0 || a == b)
        return;
    const size_t high = static_cast<size_t>(std::max(a, b));
    for (auto& r : FRows) {
        if (!r)
            continue;
        if (r->Texts.size() > static_cast<size_t>(std::min(a, b))) {
            if (r->Texts.size() <= high)
                r->Texts.resize(high + 1);
            std::swap(r->Texts[static_cast<size_t>(a)], r->Texts[static_cast<size_t>(b)]);
        }
        if (r->Objects.size() > static_cast<size_t>(std::min(a, b))) {
            if (r->Objects.size() <= high)
                r->Objects.resize(high + 1);
            std::swap(r->Objects[static_cast<size_t>(a)], r->Objects[static_cast<size_t>(b)]);
            if (r->Texts.size() < r->Objects.size())
                r->Texts.resize(r->Objects.size());
        }
    }
}

std::unique_ptr<TGridRowCells> TGridCells::TakeRow(int row)
{
    return Inside(FRows, row) ? std::move(FRows[static_cast<size_t>(row)]) : nullptr;
}

void TGridCells::PutRow(int row, std::unique_ptr<TGridRowCells> cells)
{
    if (Inside(FRows, row))
        FRows[static_cast<size_t>(row)] = std::move(cells);
}

void TGridCells::CopyRow(int from, int to)
{
    if (!Inside(FRows, from) || !Inside(FRows, to) || from == to)
        return;
    const TGridRowCells* source = FRows[static_cast<size_t>(from)].get();
    FRows[static_cast<size_t>(to)] = source ? std::make_unique<TGridRowCells>(*source) : nullptr;
}

bool TGridCells::CheckConsistency() const
{
    return std::all_of(FRows.begin(), FRows.end(),
                       [](const auto& r) { return !r || r->Objects.size() <= r->Texts.size(); });
}
