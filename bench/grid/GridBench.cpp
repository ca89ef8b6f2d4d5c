// First one huge cell (GridBenchLarge.cpp): painting a 60 MB line against a short one, and the
// aligned-text export of wide centred columns against the same export left-aligned.
//
// Filling a grid: 100,000 rows of 5 cells (a Hangul name with a number, an integer, a decimal,
// a Hangul word, a date), once into the cell grid as cp949 text and once into Qt's
// QStandardItemModel as its strings, each made from the same texts inside its own timing.
// Prints METRIC lines: the time each fill takes and the heap bytes each keeps per cell.
//
// Then the row filter: a numeric condition that every other row fails, switched on and off
// again over the same rows in the cell grid, and the same test in a QSortFilterProxyModel's
// filterAcceptsRow over the Qt model, filtered and unfiltered again. The grid's rows must come
// back as they were. Then grouping (GridBenchGroup.cpp) against the filter, and sorting
// (GridBenchSort.cpp) against Qt's model and GNU sort.
//
// Then the files (GridBenchFiles.cpp): CSV and the grid's own file against Python's csv module.
//
// Then find of an absent text against QAbstractItemModel::match (GridBenchFind.h).
//
// Then printing 10,000 rows to a PDF file against LibreOffice headless (GridBenchPrint.h); the
// previews of wide grids and the print of a huge cell come right after the huge cell's paints.
//
// Then workbooks of many sheets: opening them, and adding a sheet against writing one
// (GridBenchOffice.h).
//
//   bench_grid [--rows N]

#include <malloc.h>

#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/grid/GridBenchFiles.h"
#include "bench/grid/GridBenchFind.h"
#include "bench/grid/GridBenchLarge.h"
#include "bench/grid/GridBenchMeasure.h"
#include "bench/grid/GridBenchOffice.h"
#include "bench/grid/GridBenchPaint.h"
#include "bench/grid/GridBenchPrint.h"
#include "bench/grid/GridBenchRows.h"
#include "bench/grid/GridBenchTyping.h"
#include "grid/control/CellGrid.h"
#include "platform/core/Cp949.h"
#include "platform/gui/Application.h"

namespace {

constexpr int kCols = 5;

size_t HeapInUse() { return mallinfo2().uordblks; }

// The text of a cell, in cp949 for the grid or UTF-8 for Qt.
class TBenchText {
public:
    explicit TBenchText(bool utf8)
    {
        for (const char* word : {"사과", "배", "포도", "복숭아", "수박", "참외", "딸기"})
            FWords.push_back(utf8 ? AnsiString(word) : Utf8ToCp949(word));
        FName = utf8 ? AnsiString("사용자") : Utf8ToCp949("사용자");
    }
    std::string Cell(int col, int row) const
    {
        switch (col) {
        case 0: return FName + std::to_string(row);
        case 1: return std::to_string(row * 7 % 100000);
        case 2: return std::to_string(row % 1000) + "." + std::to_string(row % 97);
        case 3: return FWords[static_cast<size_t>(row) % FWords.size()];
        default: return "2024-" + std::to_string(1 + row % 12) + "-" + std::to_string(1 + row % 28);
        }
    }

private:
    std::vector<AnsiString> FWords;
    AnsiString FName;
};

struct TFill {
    double Ms = 0;
    double BytesPerCell = 0;
};

template <class Fill>
TFill Measure(int rows, Fill fill)
{
    const size_t before = HeapInUse();
    const auto start = std::chrono::steady_clock::now();
    auto kept = fill();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double bytes = static_cast<double>(HeapInUse() - before) / (static_cast<double>(rows) * kCols);
    kept.reset();
    return {ms, bytes};
}

// The filtered column: odd rows hold 100 or more, even rows less.
std::string FilterValue(int row) { return std::to_string(row % 2 ? 100 + row : row % 100); }
constexpr const char* kCondition = ">=100";

// Rows whose value passes, while the filter is on.
class TBenchProxy : public QSortFilterProxyModel {
public:
    bool On = false;
    void Refilter() { invalidateFilter(); }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        return !On || sourceModel()->index(row, 1, parent).data().toString().toInt() >= 100;
    }
};

// The grid's filter on and off; -1 when the rows do not come back as they were.
double GridFilter(int rows)
{
    TCellGrid grid(nullptr);
    grid.SetColCount(2);
    grid.SetRowCount(rows + 1);
    for (int r = 1; r <= rows; ++r) {
        grid.SetCells(0, r, std::to_string(r));
        grid.SetCells(1, r, FilterValue(r));
    }
    TFilterData* item = grid.Filter()->Add();
    item->Column = 1;
    item->Condition = kCondition;
    const double ms = Millis([&] {
        grid.SetFilterActive(true);
        grid.SetFilterActive(false);
    });
    bool same = grid.RowCount() == rows + 1 && grid.NumHiddenRows() == 0;
    for (int r = 1; same && r <= rows; ++r)
        same = grid.Cells(0, r) == std::to_string(r) && grid.Cells(1, r) == FilterValue(r);
    return same ? ms : -1;
}

double QtFilter(int rows)
{
    QStandardItemModel model(rows, 2);
    for (int r = 0; r < rows; ++r) {
        model.setItem(r, 0, new QStandardItem(QString::number(r + 1)));
        model.setItem(r, 1, new QStandardItem(QString::fromStdString(FilterValue(r + 1))));
    }
    TBenchProxy proxy;
    proxy.setSourceModel(&model);
    proxy.rowCount();
    return Millis([&] {
        proxy.On = true;
        proxy.Refilter();
        proxy.rowCount();
        proxy.On = false;
        proxy.Refilter();
        proxy.rowCount();
    });
}

}  // namespace

int main(int argc, char** argv)
{
    int rows = 100000;
    if (argc == 3 && std::string(argv[1]) == "--rows") {
        rows = std::atoi(argv[2]);
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: bench_grid [--rows N]\n");
        return 2;
    }
    if (rows <= 0)
        return 2;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    TApplication app(qtArgc, argv);
    const TBenchText cp949(false), utf8(true);
    // --- One huge cell, first: its peak is measured before the fills below raise the process's.
    LargeCellMetrics();
    // --- Previews of wide grids and the print of a huge cell (GridBenchPrint.cpp).
    PrintScaleMetrics();

    const TFill ours = Measure(rows, [&] {
        auto grid = std::make_unique<TCellGrid>(nullptr);
        grid->SetColCount(kCols);
        grid->SetRowCount(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < kCols; ++c)
                grid->SetCells(c, r, cp949.Cell(c, r));
        return grid;
    });
    const TFill qt = Measure(rows, [&] {
        auto model = std::make_unique<QStandardItemModel>(rows, kCols);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < kCols; ++c)
                model->setItem(r, c, new QStandardItem(QString::fromStdString(utf8.Cell(c, r))));
        return model;
    });
    Metric("grid_fill_ms", ours.Ms);
    Metric("grid_bytes_per_cell", ours.BytesPerCell);
    Metric("qt_model_fill_ms", qt.Ms);
    Metric("qt_model_bytes_per_cell", qt.BytesPerCell);
    Metric("grid_filter_ms", GridFilter(rows));
    Metric("qt_proxy_filter_ms", QtFilter(rows));
    // --- Files.
    FileMetrics(rows, kCols, [&](int c, int r) { return cp949.Cell(c, r); });
    // --- Grouping and sorting rows (GridBenchGroup.cpp, GridBenchSort.cpp).
    GroupBench(rows);
    SortBench(rows);
    // --- Find of an absent text (GridBenchFind.cpp).
    FindMetrics(rows);
    // --- Painting the view against QTableView (GridBenchPaint.cpp).
    PaintMetrics(rows);
    // --- Printing 10,000 rows to PDF against LibreOffice (GridBenchPrint.cpp).
    PrintMetrics(std::min(rows, 10000), kCols, [&](int c, int r) { return cp949.Cell(c, r); });
    // --- Typing into a cell against QTableView's editor (GridBenchTyping.cpp).
    TypingMetrics(rows);
    // --- Workbooks of many sheets (GridBenchOffice.cpp).
    OfficeMetrics();
    return 0;
}
