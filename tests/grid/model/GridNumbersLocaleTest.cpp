// Numbers in grid cells under a desktop locale that writes a comma before decimals: written
// through the grid's float format, summed, saved to the grid file and to CSV and read back, all
// as under "C".

#include "grid/model/GridFiles.h"
#include "platform/core/FloatFormat.h"
#include "tests/CommaLocale.h"
#include "tests/grid/model/GridModelSupport.h"

namespace {

struct TFloatCellCase {
    const char* Name;
    const char* FloatFormat;
    double Value;
    const char* Want;  // the cell, the column's sum, and the value read back from each file
};

// The second row of the column holds 0.5.
const TFloatCellCase kCases[] = {
    {"FixedTwoPlaces", "%.2f", 1234.567, "1234.57 sum 1235.07 file 1234.57 csv 1234.57"},
    {"HalvesRoundUp", "%.1f", 2.25, "2.3 sum 2.8 file 2.3 csv 2.3"},
    {"ThousandsGrouped", "%n", 1234567.891, "1,234,567.89 sum 1234568.39 file 1234567.89 csv 1234567.89"},
    {"General", "%g", 0.1, "0.1 sum 0.6 file 0.1 csv 0.1"},
    {"Exponent", "%.3e", 12345.678, "1.23E+004 sum 12300.5 file 12300 csv 12300"},
    {"Padded", "%8.3f", -0.0625, "  -0.063 sum 0.437 file -0.063 csv -0.063"},
};

std::string ThroughTheFiles(const TFloatCellCase& c)
{
    TCellModel grid;
    Fill(grid, "h|v/a|/b|0.5");
    grid.FloatFormat = c.FloatFormat;
    grid.SetFloats(1, 1, c.Value);
    TGridFileSettings settings;
    TFileProgress none;
    TCellModel fromFile, fromCsv;
    LoadGridFileText(fromFile, GridFileText(grid, settings, none), "f.grd", settings, none);
    LoadCSVText(fromCsv, CSVText(grid, settings, none), "f.csv", false, settings, none);
    return grid.Cells(1, 1) + " sum " + FloatToStr(grid.ColumnSum(1, 1, 2)) + " file " +
        FloatToStr(fromFile.GetFloats(1, 1)) + " csv " + FloatToStr(fromCsv.GetFloats(1, 1));
}

class GridNumbersUnderACommaLocale : public CommaLocaleTest {};

}  // namespace

TEST_F(GridNumbersUnderACommaLocale, RegressionFloatCellsWereWrittenWithTheLocalesDigitsMangled)
{
    for (const TFloatCellCase& c : kCases)
        ExpectInBothLocales(
            c.Name, [&] { return ThroughTheFiles(c); }, std::string(c.Want));
}
