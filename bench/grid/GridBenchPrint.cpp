#include "bench/grid/GridBenchPrint.h"

#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <fstream>

#include "bench/grid/GridBenchMeasure.h"
#include "grid/control/CellGrid.h"
#include "platform/core/Cp949.h"
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

}  // namespace

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
