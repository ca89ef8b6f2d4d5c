// Filling a grid: 100,000 rows of 5 cells (a Hangul name with a number, an integer, a decimal,
// a Hangul word, a date), once into the cell grid as cp949 text and once into Qt's
// QStandardItemModel as its strings, each made from the same texts inside its own timing.
// Prints METRIC lines: the time each fill takes and the heap bytes each keeps per cell.
//
//   bench_grid [--rows N]

#include <malloc.h>

#include <QStandardItemModel>
#include <QString>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

void Metric(const char* name, double value) { std::printf("METRIC %s %.1f\n", name, value); }

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
    return 0;
}
