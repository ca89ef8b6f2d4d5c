#include "bench/grid/GridBenchOffice.h"

#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "bench/grid/GridBenchMeasure.h"
#include "grid/control/CellGrid.h"
#include "platform/gui/OfficePackage.h"

namespace {

// A workbook file of Sheets sheets "Sheet1" ... each holding its number in A1.
std::string WriteBook(const QTemporaryDir& Folder, int Sheets)
{
    TWorkbookData book;
    for (int i = 1; i <= Sheets; ++i)
        book.Sheets.push_back({"Sheet" + std::to_string(i), {{{1, 1}, Variant(i)}}});
    const std::string path = Folder.filePath(QStringLiteral("book%1.xlsx").arg(Sheets)).toStdString();
    std::ofstream(path, std::ios::binary) << XlsxBytes(book);
    return path;
}

// Loading the last sheet of the workbook by its name; -1 when it does not come back.
double OpenMs(const std::string& Path, int Sheets)
{
    TCellGrid grid(nullptr);
    grid.SaveIncludesFixed = true;
    const double ms = Millis([&] { grid.LoadFromXLSSheet(Path, "Sheet" + std::to_string(Sheets)); });
    return grid.Cells(0, 0) == std::to_string(Sheets) ? ms : -1;
}

// Saving a 2 x 2 grid into the sheet Sheet of the workbook; -1 when it is not read back.
double SaveMs(const std::string& Path, const AnsiString& Sheet)
{
    TCellGrid grid(nullptr);
    grid.SaveIncludesFixed = true;
    grid.SetColCount(2);
    grid.SetRowCount(2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            grid.SetCells(c, r, "written");
    const double ms = Millis([&] { grid.SaveTOXLSSheet(Path, Sheet); });
    TCellGrid back(nullptr);
    back.SaveIncludesFixed = true;
    back.LoadFromXLSSheet(Path, Sheet);
    return back.Cells(1, 1) == "written" ? ms : -1;
}

}  // namespace

void OfficeMetrics()
{
    QTemporaryDir folder;
    const std::string small = WriteBook(folder, 10000), large = WriteBook(folder, 40000);
    Metric("office_open_10k_sheets_ms", OpenMs(small, 10000));
    Metric("office_open_40k_sheets_ms", OpenMs(large, 40000));
    Metric("office_write_sheet_10k_ms", SaveMs(small, "Sheet1"));
    Metric("office_add_sheet_10k_ms", SaveMs(small, "Added"));
    Metric("office_write_sheet_40k_ms", SaveMs(large, "Sheet1"));
    Metric("office_add_sheet_40k_ms", SaveMs(large, "Added"));
}
