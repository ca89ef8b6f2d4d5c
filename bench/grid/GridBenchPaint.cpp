// Painting: an 800 x 600 view of a grid of Rows rows of five cells (Hangul, numbers, dates) with
// a header row, bands and grid lines, painted 50 times at its first row and 50 times 20 rows
// before its last; then Qt's QTableView over a QStandardItemModel of the same texts, sizes and
// view, painted 50 times. Each figure is the median of its 50 paints, in milliseconds.

#include "bench/grid/GridBenchPaint.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "grid/control/CellGrid.h"
#include "platform/core/Cp949.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"

namespace {

constexpr int kPaints = 50;
constexpr int kCols = 5;
constexpr int kColWidth = 150;
constexpr int kRowHeight = 21;
constexpr int kViewWidth = 800, kViewHeight = 600;

// The text of a cell, in UTF-8.
std::string CellText(int col, int row)
{
    static const char* const words[] = {"사과", "배", "포도", "복숭아", "수박", "참외", "딸기"};
    switch (col) {
    case 0: return "사용자" + std::to_string(row);
    case 1: return std::to_string(row * 7 % 100000);
    case 2: return std::to_string(row % 1000) + "." + std::to_string(row % 97);
    case 3: return words[row % 7];
    default: return "2024-" + std::to_string(1 + row % 12) + "-" + std::to_string(1 + row % 28);
    }
}

template <class Paint>
double MedianMs(Paint paint)
{
    std::vector<double> times;
    for (int i = 0; i < kPaints; ++i) {
        const auto start = std::chrono::steady_clock::now();
        paint();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + kPaints / 2, times.end());
    return times[kPaints / 2];
}

void Metric(const char* name, double value) { std::printf("METRIC %s %.2f\n", name, value); }

}  // namespace

void PaintMetrics(int Rows)
{
    {
        TForm form(nullptr);
        form.SetClientWidth(kViewWidth);
        form.SetClientHeight(kViewHeight);
        auto* grid = new TCellGrid(&form);
        grid->SetParent(&form);
        grid->SetAlign(alClient);
        grid->SetColCount(kCols);
        grid->SetFixedCols(0);
        grid->SetRowCount(Rows + 1);
        grid->SetDefaultColWidth(kColWidth);
        grid->SetDefaultRowHeight(kRowHeight);
        grid->Bands()->SetActive(true);
        for (int c = 0; c < kCols; ++c)
            grid->SetCells(c, 0, Utf8ToCp949("열 " + std::to_string(c)));
        for (int r = 1; r <= Rows; ++r)
            for (int c = 0; c < kCols; ++c)
                grid->SetCells(c, r, Utf8ToCp949(CellText(c, r)));
        form.Show();
        Application->ProcessMessages();
        const auto paint = [&] {
            grid->Invalidate();
            grid->Update();
        };
        paint();
        Metric("grid_paint_top_ms", MedianMs(paint));
        grid->SetTopRow(std::max(1, Rows - 20));
        paint();
        Metric("grid_paint_bottom_ms", MedianMs(paint));
    }
    QStandardItemModel model(Rows, kCols);
    for (int c = 0; c < kCols; ++c)
        model.setHorizontalHeaderItem(c, new QStandardItem(QString::fromStdString("열 " + std::to_string(c))));
    for (int r = 1; r <= Rows; ++r)
        for (int c = 0; c < kCols; ++c)
            model.setItem(r - 1, c, new QStandardItem(QString::fromStdString(CellText(c, r))));
    QTableView view;
    view.setModel(&model);
    view.resize(kViewWidth, kViewHeight);
    view.verticalHeader()->hide();
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(kRowHeight);
    view.horizontalHeader()->setDefaultSectionSize(kColWidth);
    view.setAlternatingRowColors(true);
    view.show();
    Application->ProcessMessages();
    view.viewport()->repaint();
    Metric("qt_view_paint_ms", MedianMs([&] { view.viewport()->repaint(); }));
}
