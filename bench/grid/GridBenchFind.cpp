#include "bench/grid/GridBenchFind.h"

#include <QStandardItemModel>
#include <string>

#include "bench/grid/GridBenchMeasure.h"
#include "grid/control/CellGrid.h"
#include "platform/core/Cp949.h"

namespace {

constexpr int kCols = 5;

// A cell's text in UTF-8: Hangul words, numbers and dates, no cell holding "없는말".
std::string Text(int col, int row)
{
    static const char* const kWords[] = {"사과나무", "배추", "포도밭", "복숭아", "수박", "참외", "딸기잼"};
    switch (col) {
    case 0: return std::string("사용자") + std::to_string(row);
    case 1: return std::to_string(row * 7 % 100000);
    case 2: return kWords[row % 7];
    case 3: return std::string("Name") + std::to_string(row % 991);
    default: return "2024-" + std::to_string(1 + row % 12) + "-" + std::to_string(1 + row % 28);
    }
}

}  // namespace

void FindMetrics(int Rows)
{
    const char* absent = "없는말";
    TCellGrid grid(nullptr);
    grid.SetColCount(kCols);
    grid.SetRowCount(Rows + 1);
    for (int r = 1; r <= Rows; ++r)
        for (int c = 0; c < kCols; ++c)
            grid.SetCells(c, r, Utf8ToCp949(Text(c, r)));
    const AnsiString needle = Utf8ToCp949(absent);
    TPoint hit{};
    const double ours = Millis([&] { hit = grid.FindFirst(needle, {}); });

    QStandardItemModel model(Rows, kCols);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < kCols; ++c)
            model.setItem(r, c, new QStandardItem(QString::fromStdString(Text(c, r + 1))));
    qsizetype found = 0;
    const QString text = QString::fromUtf8(absent);
    const double qt = Millis([&] {
        for (int c = 0; c < kCols; ++c)
            found += model.match(model.index(0, c), Qt::DisplayRole, text, 1, Qt::MatchContains).size();
    });
    // A hit would mean the two did not search for an absent text.
    Metric("grid_find_miss_ms", hit.x < 0 ? ours : -1.0);
    Metric("qt_model_match_ms", found == 0 ? qt : -1.0);
}
