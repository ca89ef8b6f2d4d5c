#include "bench/grid/GridBenchPrint.h"

#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <utility>

#include "bench/grid/GridBenchMeasure.h"
#include "grid/control/CellGrid.h"
#include "platform/core/Cp949.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/OfficeConvert.h"
#include "platform/gui/Printers.h"

namespace {

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Quoted when it holds a comma, a quote or a line break, as CSV wants.
std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (const char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

// The pages pdfinfo reports for a PDF file; -1 when it reports none.
int PdfPageCount(const std::string& file)
{
    FILE* pipe = popen(("pdfinfo '" + file + "' 2>/dev/null").c_str(), "r");
    if (!pipe)
        return -1;
    int pages = -1;
    char line[512];
    while (std::fgets(line, sizeof line, pipe))
        std::sscanf(line, "Pages: %d", &pages);
    pclose(pipe);
    return pages;
}

// The milliseconds Run takes and what it adds to the resident size at its peak (-1 when the
// kernel cannot reset the peak).
std::pair<double, double> TimeAndPeak(const std::function<void()>& Run)
{
    const bool reset = static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5" << std::flush);
    const double before = StatusMb("VmRSS:");
    const double ms = Millis(Run);
    return {ms, reset ? StatusMb("VmHWM:") - before : -1};
}

void PreviewInto(TCellGrid& Grid)
{
    TBitmap page;
    page.SetSize(420, 594);
    Grid.PrintPreview(page.Canvas(), TRect{0, 0, 420, 594});
}

double PreviewColumnsMs(int Cols)
{
    TCellGrid grid(nullptr);
    grid.SetColCount(Cols);
    grid.SetRowCount(2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < Cols; ++c)
            grid.SetCells(c, r, "abc");
    return Millis([&] { PreviewInto(grid); });
}

}  // namespace

void PrintScaleMetrics()
{
    const double narrow = PreviewColumnsMs(4000), wide = PreviewColumnsMs(16000);
    Metric("grid_preview_4000_cols_ms", narrow);
    Metric("grid_preview_16000_cols_ms", wide);
    Metric("grid_preview_cols_ratio", wide / narrow);

    QTemporaryDir dir;
    AnsiString line;
    const AnsiString words = "\xB0\xA1\xB3\xAA\xB4\xD9 abc ";  // 가나다 abc
    while (line.size() < 60u * 1000 * 1000)
        line += words;
    TCellGrid grid(nullptr);
    grid.SetColCount(2);
    grid.SetRowCount(2);
    grid.SetCells(0, 1, line);
    grid.SetCells(1, 0, "next");
    line = AnsiString();
    TPrinter* printer = Printer();
    SetPrinterPdfFile(dir.path().toStdString() + "/cell.pdf");
    printer->SetPrinterIndex(printer->Printers()->IndexOf(kPdfPrinterName));
    const auto [printMs, printPeak] = TimeAndPeak([&] { grid.Print(); });
    SetPrinterPdfFile("");
    printer->SetPrinterIndex(-1);
    const auto [previewMs, previewPeak] = TimeAndPeak([&] { PreviewInto(grid); });
    Metric("grid_print_60mb_cell_ms", printMs);
    Metric("grid_print_60mb_cell_peak_mb", printPeak);
    Metric("grid_preview_60mb_cell_ms", previewMs);
    Metric("grid_preview_60mb_cell_peak_mb", previewPeak);
}

void PrintMetrics(int Rows, int Cols, const std::function<std::string(int Col, int Row)>& Cell)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();

    TCellGrid grid(nullptr);
    grid.SetColCount(Cols);
    grid.SetRowCount(Rows);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c)
            grid.SetCells(c, r, Cell(c, r));
    TPrinter* printer = Printer();
    SetPrinterPdfFile(folder + "/grid.pdf");
    printer->SetPrinterIndex(printer->Printers()->IndexOf(kPdfPrinterName));
    auto start = std::chrono::steady_clock::now();
    grid.Print();
    Metric("grid_print_pdf_ms", Since(start));
    Metric("grid_print_pages", grid.PrintState().PageCount);
    // The figure stands for the file: poppler reads the page count back.
    const int printed = PdfPageCount(folder + "/grid.pdf");
    if (printed != grid.PrintState().PageCount)
        std::fprintf(stderr, "bench_grid: the PDF holds %d pages, the grid counted %d\n", printed,
                     grid.PrintState().PageCount);
    SetPrinterPdfFile("");
    printer->SetPrinterIndex(-1);

    const std::string csv = folder + "/rows.csv";
    {
        std::ofstream out(csv, std::ios::binary);
        for (int r = 0; r < Rows; ++r) {
            for (int c = 0; c < Cols; ++c)
                out << (c ? "," : "") << CsvField(Cp949ToUtf8(Cell(c, r)));
            out << "\n";
        }
    }
    double office = -1;
    if (OfficeInstalled()) {
        start = std::chrono::steady_clock::now();
        try {
            ConvertWithOffice(csv, "pdf", folder, 300000);
            office = Since(start);
        } catch (const Exception& e) {
            std::fprintf(stderr, "bench_grid: LibreOffice: %s\n", e.Message.c_str());
        }
    }
    Metric("libreoffice_pdf_ms", office);
}
