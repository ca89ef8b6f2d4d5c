// Typing: a grid of Rows rows of five cells, its editor opened on the cell of row 2, column 1,
// and 200 characters typed into it as key presses, each followed by the repaint it causes; the
// column grows to its widest text as it is typed (SizeWhileTyping.Width), the widths of the other
// rows' texts kept from key to key. The peer is Qt's QTableView
// over a QStandardItemModel of the same size, its line editor opened on the same cell, the model
// written and the column sized to its contents on each key (resizeColumnToContents).

#include "bench/grid/GridBenchTyping.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <chrono>
#include <cstdio>
#include <string>

#include "grid/control/CellGrid.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InplaceEdit.h"
#include "platform/gui/SyntheticInput.h"

namespace {

constexpr int kKeys = 200;
constexpr int kCols = 5;

void Metric(const char* name, double value) { std::printf("METRIC %s %.3f\n", name, value); }

template <class Key>
double MeanKeyMs(Key key)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kKeys; ++i)
        key(i);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / kKeys;
}

}  // namespace

void TypingMetrics(int Rows)
{
    {
        TForm form(nullptr);
        form.SetClientWidth(800);
        form.SetClientHeight(600);
        auto* grid = new TCellGrid(&form);
        grid->SetParent(&form);
        grid->SetAlign(alClient);
        grid->SetColCount(kCols);
        grid->SetRowCount(Rows + 1);
        for (int r = 1; r <= Rows; ++r)
            for (int c = 0; c < kCols; ++c)
                grid->SetCells(c, r, "cell " + std::to_string(r * kCols + c));
        grid->SetOptions(grid->Options() << goEditing);
        grid->SizeWhileTyping()->Width = true;
        grid->SetRow(2);
        form.Show();
        form.BringToFront();
        grid->SetFocus();
        Application->ProcessMessages();
        SendKeyStroke(grid, VK_F2, {}, "");
        Application->ProcessMessages();
        TInplaceEdit* editor = grid->InplaceEditor();
        if (!editor || !editor->Visible()) {
            std::fprintf(stderr, "bench_grid: the grid's editor did not open\n");
            return;
        }
        Metric("grid_typing_key_ms", MeanKeyMs([&](int i) {
                   SendKeyStroke(editor, 0, {}, AnsiString(1, static_cast<char>('a' + i % 26)));
                   grid->Update();
               }));
        if (grid->Cells(1, 2).size() != kKeys)
            std::fprintf(stderr, "bench_grid: the cell holds %zu characters\n", grid->Cells(1, 2).size());
    }
    QStandardItemModel model(Rows, kCols);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < kCols; ++c)
            model.setItem(r, c, new QStandardItem(QString::fromStdString("cell " + std::to_string(r * kCols + c))));
    QTableView view;
    view.setModel(&model);
    view.resize(800, 600);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.show();
    view.activateWindow();
    QApplication::processEvents();
    const QModelIndex cell = model.index(1, 1);
    view.setCurrentIndex(cell);
    view.edit(cell);
    QApplication::processEvents();
    auto* editor =
        qobject_cast<QLineEdit*>(view.indexWidget(cell) ? view.indexWidget(cell) : QApplication::focusWidget());
    if (!editor) {
        std::fprintf(stderr, "bench_grid: the view's editor did not open\n");
        return;
    }
    editor->selectAll();
    QObject::connect(editor, &QLineEdit::textEdited, &view, [&](const QString& text) {
        model.setData(cell, text);
        view.resizeColumnToContents(1);
    });
    Metric("qt_view_typing_key_ms", MeanKeyMs([&](int i) {
               const QString ch(QChar('a' + i % 26));
               QKeyEvent down(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, ch);
               QApplication::sendEvent(editor, &down);
               QKeyEvent up(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, ch);
               QApplication::sendEvent(editor, &up);
               view.viewport()->repaint();
           }));
}
