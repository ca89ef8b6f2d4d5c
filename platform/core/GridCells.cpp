#include "platform/core/GridCells.h"

#include <algorithm>
#include <utility>

#include "platform/core/IndexSets.h"

namespace {

const AnsiString kEmpty;

// A dense row may hold this many slots more than four per used cell; past that it turns sparse.
// A sparse row turns dense again at two slots per cell, so a row never flips at every write.
constexpr size_t kDenseSlack = 64;
bool DenseAllows(size_t slots, size_t used) { return slots <= 4 * used + kDenseSlack; }
bool SparseWantsDense(size_t slots, size_t used) { return slots <= 2 * used + kDenseSlack; }

bool IsSparse(const TGridRowCells& r) { return r.Sparse != nullptr; }

bool Occupied(const TGridRowCells& r, size_t c)
{
    return !r.Texts[c].empty() || (c < r.Objects.size() && r.Objects[c]);
}

bool Inside(const std::vector<std::unique_ptr<TGridRowCells>>& rows, int row)
{
    return row >= 0 && row < static_cast<int>(rows.size());
}

// Whether the row has a place for column col (a dense slot or a sparse cell).
bool HasSlot(const TGridRowCells* r, int col)
{
    if (!r || col < 0)
        return false;
    return IsSparse(*r) ? r->Sparse->count(col) > 0 : static_cast<size_t>(col) < r->Texts.size();
}

int CountUsed(const TGridRowCells& r)
{
    int used = 0;
    for (size_t c = 0; c < r.Texts.size(); ++c)
        used += Occupied(r, c);
    return used;
}

void MakeSparse(TGridRowCells& r)
{
    TGridRowCells sparse;
    sparse.Sparse = std::make_unique<std::map<int, TGridSparseCell>>();
    for (size_t c = 0; c < r.Texts.size(); ++c)
        if (Occupied(r, c))
            sparse.Sparse->emplace_hint(
                sparse.Sparse->end(), static_cast<int>(c),
                TGridSparseCell{std::move(r.Texts[c]), c < r.Objects.size() ? r.Objects[c] : nullptr});
    r = std::move(sparse);
}

void MakeDense(TGridRowCells& r)
{
    TGridRowCells dense;
    dense.Texts.resize(r.Sparse->empty() ? 0 : static_cast<size_t>(r.Sparse->rbegin()->first) + 1);
    for (auto& [c, cell] : *r.Sparse) {
        dense.Texts[static_cast<size_t>(c)] = std::move(cell.Text);
        if (cell.Object) {
            dense.Objects.resize(dense.Texts.size());
            dense.Objects[static_cast<size_t>(c)] = cell.Object;
        }
    }
    dense.Used = static_cast<int>(r.Sparse->size());
    r = std::move(dense);
}

// A dense row whose slots grew, or are about to grow, to `slots` past its cells turns sparse (or
// empty, holding nothing).
void KeepDenseInBounds(TGridRowCells& r, size_t slots)
{
    if (IsSparse(r) || DenseAllows(slots, static_cast<size_t>(r.Used)))
        return;
    MakeSparse(r);
    if (r.Sparse->empty())
        r = TGridRowCells();
}

// Makes a dense slot for a cell about to hold something (a row's first slots make room for up to
// Width at once); false when the slot would stretch the row past its bound, which then turns
// sparse.
bool GrowDense(TGridRowCells& r, int col, int Width)
{
    const size_t slots = static_cast<size_t>(col) + 1;
    if (slots <= r.Texts.size())
        return true;
    if (DenseAllows(slots, static_cast<size_t>(r.Used) + 1)) {
        if (r.Texts.capacity() == 0)
            r.Texts.reserve(std::max(slots, std::min(static_cast<size_t>(std::max(Width, 0)), 4 + kDenseSlack)));
        r.Texts.resize(slots);
        return true;
    }
    MakeSparse(r);
    return false;
}

// After a dense slot changed.
void DenseChanged(TGridRowCells& r, size_t c, bool WasUsed)
{
    r.Used += static_cast<int>(Occupied(r, c)) - static_cast<int>(WasUsed);
}

// After a sparse cell changed: an empty one goes, and the row turns dense once its cells stand
// close enough.
void SparseChanged(TGridRowCells& r, std::map<int, TGridSparseCell>::iterator At)
{
    if (At->second.Text.empty() && !At->second.Object)
        r.Sparse->erase(At);
    if (r.Sparse->empty() || SparseWantsDense(static_cast<size_t>(r.Sparse->rbegin()->first) + 1, r.Sparse->size()))
        MakeDense(r);
}

// Gives every cell of a sparse row the column Map makes of its own (-1 drops it).
template <class Map>
void RemapSparse(TGridRowCells& r, Map map)
{
    auto out = std::make_unique<std::map<int, TGridSparseCell>>();
    for (auto& [c, cell] : *r.Sparse)
        if (const int to = map(c); to >= 0)
            out->emplace(to, std::move(cell));
    r.Sparse = std::move(out);
    if (r.Sparse->empty())
        MakeDense(r);
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
    if (!HasSlot(cells, col))
        return kEmpty;
    return IsSparse(*cells) ? cells->Sparse->find(col)->second.Text : cells->Texts[static_cast<size_t>(col)];
}

TObject* TGridCells::Object(int col, int row) const
{
    const TGridRowCells* cells = Find(row);
    if (!HasSlot(cells, col))
        return nullptr;
    if (IsSparse(*cells))
        return cells->Sparse->find(col)->second.Object;
    return static_cast<size_t>(col) < cells->Objects.size() ? cells->Objects[static_cast<size_t>(col)] : nullptr;
}

void TGridCells::SetText(int col, int row, AnsiString text, int width)
{
    if (text.empty() && !HasSlot(Find(row), col))
        return;
    TGridRowCells& r = Row(row);
    if (!IsSparse(r) && GrowDense(r, col, width)) {
        const size_t c = static_cast<size_t>(col);
        const bool was = Occupied(r, c);
        r.Texts[c] = std::move(text);
        DenseChanged(r, c, was);
        return;
    }
    const auto at = r.Sparse->try_emplace(col).first;
    at->second.Text = std::move(text);
    SparseChanged(r, at);
}

void TGridCells::SetObject(int col, int row, TObject* object)
{
    if (!object && !HasSlot(Find(row), col))
        return;
    TGridRowCells& r = Row(row);
    if (!IsSparse(r) && GrowDense(r, col, 0)) {
        const size_t c = static_cast<size_t>(col);
        const bool was = Occupied(r, c);
        if (r.Objects.size() <= c)
            r.Objects.resize(r.Texts.size());
        r.Objects[c] = object;
        DenseChanged(r, c, was);
        return;
    }
    const auto at = r.Sparse->try_emplace(col).first;
    at->second.Object = object;
    SparseChanged(r, at);
}

int TGridCells::StoredCols(int row) const
{
    const TGridRowCells* cells = Find(row);
    if (!cells)
        return 0;
    return IsSparse(*cells) ? cells->Sparse->rbegin()->first + 1 : static_cast<int>(cells->Texts.size());
}

int TGridCells::NextStoredCol(int row, int col) const
{
    const TGridRowCells* cells = Find(row);
    if (!cells)
        return -1;
    col = std::max(col, 0);
    if (IsSparse(*cells)) {
        const auto at = cells->Sparse->lower_bound(col);
        return at == cells->Sparse->end() ? -1 : at->first;
    }
    for (size_t c = static_cast<size_t>(col); c < cells->Texts.size(); ++c)
        if (Occupied(*cells, c))
            return static_cast<int>(c);
    return -1;
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
        // Checked before the slots are made, so a row never holds them all at once.
        if (static_cast<int>(r->Texts.size()) > at)
            KeepDenseInBounds(*r, r->Texts.size() + static_cast<size_t>(count));
        if (IsSparse(*r)) {
            RemapSparse(*r, [&](int c) { return c < at ? c : c + count; });
            continue;
        }
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
        if (IsSparse(*r)) {
            RemapSparse(*r, [&](int c) { return c < at ? c : c - at < count ? -1 : c - count; });
            continue;
        }
        DeleteElements(r->Texts, at, count);
        DeleteElements(r->Objects, at, count);
        r->Used = CountUsed(*r);
    }
}

void TGridCells::MoveCol(int from, int to)
{
    if (from < 0 || to < 0 || from == to)
        return;
    for (auto& r : FRows) {
        if (!r)
            continue;
        if (IsSparse(*r)) {
            RemapSparse(*r, [&](int c) {
                if (c == from)
                    return to;
                if (from < to && c > from && c <= to)
                    return c - 1;
                return to < from && c >= to && c < from ? c + 1 : c;
            });
            continue;
        }
        MoveElement(r->Texts, from, to);
        MoveElement(r->Objects, from, to);
        if (r->Texts.size() < r->Objects.size())
            r->Texts.resize(r->Objects.size());
        KeepDenseInBounds(*r, r->Texts.size());
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
        if (IsSparse(*r)) {
            RemapSparse(*r, [&](int c) { return c == a ? b : c == b ? a : c; });
            continue;
        }
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
        KeepDenseInBounds(*r, r->Texts.size());
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
    return std::all_of(FRows.begin(), FRows.end(), [](const auto& r) {
        if (!r)
            return true;
        if (!IsSparse(*r))
            return r->Objects.size() <= r->Texts.size() && r->Used == CountUsed(*r);
        return r->Texts.empty() && r->Objects.empty() && !r->Sparse->empty() && r->Sparse->begin()->first >= 0 &&
            std::all_of(r->Sparse->begin(), r->Sparse->end(),
                        [](const auto& cell) { return !cell.second.Text.empty() || cell.second.Object; });
    });
}
