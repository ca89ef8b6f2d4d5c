// Rich text in grid cells, in four parts:
//
// Formatting runs: rich text of N runs (N from 1,000 to 16,000: bold, italic, coloured and
// named-font runs in turn, every coloured run a colour of its own and every named-font run a font
// of its own) read into the rich-edit document, written back, and shown in a grid cell: the first
// paint of the cell (which reads its text) and repaints of the unchanged cell. The peer is Qt's
// HTML over the same runs: QTextDocument::setHtml, toHtml, and drawContents into an image of the
// cell's size (the first paint with setHtml, a repaint without it). Every figure is microseconds
// per run, the fastest of five; a figure that stays flat from 1,000 to 16,000 runs grows linearly
// with the text. The same text shown in a second column of another width is repainted too,
// against the repaint of the one cell.
//
// Scrolled cells (RichBenchScroll.cpp): the heap the grid's rich documents hold once their cells
// have been scrolled through, against the cache's bound.
//
// Long runs (RichBenchScripts.cpp): one cell of a long text in each script, as written and
// spaced every eighth character, at the same lengths, in a wide column and a narrow one; and a
// text taller than Qt lays out.
//
// Heap counts (RichBenchHeapCount.cpp): counting the heap, and painting and repainting a page of
// rich cells, on a heap whole and in pieces.
//
//   bench_rich [--max N]    (runs up to N, long runs up to 8 N characters; 16,000 by default)

#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/rich/RichBenchMeasure.h"
#include "bench/rich/RichBenchParts.h"
#include "platform/gui/RichDocument.h"

namespace {

constexpr int kTimes = 5;
constexpr int kCellWidth = 300, kCellHeight = 100;

// The same runs as rich text and as HTML; Tag makes texts that differ only in their last run.
struct TRuns {
    std::string Rtf, Html;
};

TRuns MakeRuns(int n, int tag = 0)
{
    const int quarter = std::max(1, n / 4);
    std::string fonts = "{\\fonttbl{\\f0 Arial;}", colors = "{\\colortbl ;";
    for (int k = 1; k <= quarter; ++k) {
        fonts += "{\\f" + std::to_string(k) + " Face" + std::to_string(k) + ";}";
        colors += "\\red" + std::to_string(k % 256) + "\\green" + std::to_string(k / 256 % 256) + "\\blue" +
            std::to_string(k % 7) + ";";
    }
    TRuns r;
    r.Rtf = "{\\rtf1\\ansi\\deff0" + fonts + "}" + colors + "}";
    for (int i = 0; i < n; ++i) {
        const std::string k = std::to_string(1 + i / 4 % quarter);
        switch (i % 4) {
        case 0:
            r.Rtf += "{\\b a}";
            r.Html += "<b>a</b>";
            break;
        case 1:
            r.Rtf += "{\\i b}";
            r.Html += "<i>b</i>";
            break;
        case 2: {
            const int c = 1 + i / 4 % quarter;
            char hex[8];
            std::snprintf(hex, sizeof hex, "%02x%02x%02x", c % 256, c / 256 % 256, c % 7);
            r.Rtf += "{\\cf" + k + " c}";
            r.Html += std::string("<span style=\"color:#") + hex + "\">c</span>";
            break;
        }
        default: r.Rtf += "{\\f" + k + " d}"; r.Html += "<span style=\"font-family:Face" + k + "\">d</span>";
        }
    }
    r.Rtf += "{\\ul " + std::to_string(tag) + "}}";
    r.Html = "<html><body>" + r.Html + "<u>" + std::to_string(tag) + "</u></body></html>";
    return r;
}

void Measure(int n)
{
    const std::string size = "_" + std::to_string(n);
    const auto perRun = [n](double ms) { return ms * 1000 / n; };
    const TRuns runs = MakeRuns(n);

    TRichDocument rich;
    Metric("rich_read_us_per_run" + size, perRun(FastestMs(kTimes, [&](int) { rich.LoadFromBytes(runs.Rtf); })));
    QTextDocument html;
    const QString htmlText = QString::fromStdString(runs.Html);
    Metric("qt_html_read_us_per_run" + size, perRun(FastestMs(kTimes, [&](int) { html.setHtml(htmlText); })));
    Metric("rich_write_us_per_run" + size, perRun(FastestMs(kTimes, [&](int) { (void)rich.SaveToBytes(); })));
    Metric("qt_html_write_us_per_run" + size, perRun(FastestMs(kTimes, [&](int) { (void)html.toHtml(); })));

    TRichGridForm g(kCellWidth, kCellHeight + 60, 2);
    TCellGrid* grid = g.Grid;
    grid->SetRowHeights(1, kCellHeight);
    g.Show();
    std::vector<std::string> texts;
    for (int i = 0; i < kTimes; ++i)
        texts.push_back(MakeRuns(n, i + 1).Rtf);
    const auto paint = [&] { g.Paint(); };
    Metric("grid_rich_first_paint_us_per_run" + size, perRun(FastestMs(kTimes, [&](int i) {
               grid->SetCells(1, 1, texts[static_cast<size_t>(i)]);
               paint();
           })));
    Metric("grid_rich_repaint_us_per_run" + size, perRun(FastestMs(kTimes, [&](int) { paint(); })));
    // The same text in a second column of another width.
    g.Form.SetClientWidth(kCellWidth * 2);
    grid->SetColCount(3);
    grid->SetColWidths(2, kCellWidth / 2);
    grid->SetCells(2, 1, grid->Cells(1, 1));
    paint();
    Metric("grid_rich_repaint_two_widths_us_per_run" + size, perRun(FastestMs(kTimes, [&](int) { paint(); })));

    QImage image(kCellWidth, kCellHeight, QImage::Format_RGB32);
    const auto draw = [&](QTextDocument& doc) {
        image.fill(Qt::white);
        QPainter p(&image);
        doc.setTextWidth(kCellWidth);
        doc.drawContents(&p, QRectF(0, 0, kCellWidth, kCellHeight));
    };
    Metric("qt_html_first_paint_us_per_run" + size, perRun(FastestMs(kTimes, [&](int i) {
               QTextDocument doc;
               doc.setHtml(QString::fromStdString(MakeRuns(n, i + 1).Html));
               draw(doc);
           })));
    Metric("qt_html_repaint_us_per_run" + size, perRun(FastestMs(kTimes, [&](int) { draw(html); })));
}

}  // namespace

int main(int argc, char** argv)
{
    int most = 16000;
    if (argc == 3 && std::string(argv[1]) == "--max") {
        most = std::atoi(argv[2]);
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: bench_rich [--max N]\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    TApplication app(qtArgc, argv);
    for (int n = 1000; n <= most; n *= 2)
        Measure(n);
    MeasureScrolledCells();
    MeasureLongRuns(most * 8);
    MeasureHeapCounts();
    return 0;
}
