// Formulas moved to another cell, and shared formulas kept when the cell that holds their text
// is written over.

#include "platform/gui/OfficeFormula.h"

#include <gtest/gtest.h>

#include "platform/gui/OfficePackage.h"
#include "platform/gui/OfficeWorkbook.h"
#include "tests/platform/core/Cases.h"
#include "tests/platform/gui/OfficeTestBook.h"

namespace {

std::string Moved(const char* formula, int rows, int cols)
{
    return MovedFormula(QString::fromUtf8(formula), rows, cols).toStdString();
}

}  // namespace

TEST(MovedFormula, RelativeReferencesMoveAndEverythingElseStays)
{
    Each(TextChecks{
        CHECK_ROW(Moved("A2*2", 1, 0), "A3*2"),
        CHECK_ROW(Moved("$A$2*2", 3, 3), "$A$2*2"),
        CHECK_ROW(Moved("A$2+$A2", 1, 1), "B$2+$A3"),
        CHECK_ROW(Moved("a1", 1, 0), "A2"),
        CHECK_ROW(Moved("SUM(A1:B2)", 2, 1), "SUM(B3:C4)"),
        CHECK_ROW(Moved("SUM(A:A)+SUM($A:B)", 5, 1), "SUM(B:B)+SUM($A:C)"),
        CHECK_ROW(Moved("SUM(1:2)+SUM($1:$1)", 3, 7), "SUM(4:5)+SUM($1:$1)"),
        CHECK_ROW(Moved("Z1+AA1", 0, 1), "AA1+AB1"),
        // Texts, sheet names, functions, names, numbers and tables are not references.
        CHECK_ROW(Moved("\"A1\"\"B2\"&A1", 1, 0), "\"A1\"\"B2\"&A2"),
        CHECK_ROW(Moved("'My A1'!A1+Sheet2!B1+AB1!C1", 1, 0), "'My A1'!A2+Sheet2!B2+AB1!C2"),
        CHECK_ROW(Moved("LOG10(A1)+ATAN2(B1,C1)+_xlfn.CONCAT(D1)", 1, 0), "LOG10(A2)+ATAN2(B2,C2)+_xlfn.CONCAT(D2)"),
        CHECK_ROW(Moved("Total*1E5+TAX_A1+ABCD1+XFE1+A0", 1, 0), "Total*1E5+TAX_A1+ABCD1+XFE1+A0"),
        CHECK_ROW(Moved("SUM(Table1[[#This Row],[A1]])+[1]Sheet1!A1", 1, 0),
                  "SUM(Table1[[#This Row],[A1]])+[1]Sheet1!A2"),
        CHECK_ROW(Moved("#N/A+한글A1+TRUE", 1, 0), "#N/A+한글A1+TRUE"),
        // Off the sheet.
        CHECK_ROW(Moved("A1+B2", -1, 0), "#REF!+B1"),
        CHECK_ROW(Moved("SUM(A1:B2)", 0, -1), "SUM(#REF!)"),
        CHECK_ROW(Moved("XFD1048576", 0, 1), "#REF!"),
        CHECK_ROW(Moved("A1048576", 1, 0), "#REF!"),
    });
}

namespace {

// The formulas of a sheet part's cells, as "C3=A3*2;" ("C3~0;" for one shared from elsewhere).
std::string Formulas(const std::string& part)
{
    std::string out;
    for (size_t at = part.find("<c r=\""); at != std::string::npos; at = part.find("<c r=\"", at + 1)) {
        const size_t cellEnd = part.find("</c>", at), f = part.find("<f", at);
        if (f == std::string::npos || f > cellEnd)
            continue;
        const std::string cell = part.substr(at + 6, part.find('"', at + 6) - at - 6);
        const size_t open = part.find('>', f);
        if (part[open - 1] == '/') {
            const size_t si = part.find("si=\"", f);
            out += cell + "~" + part.substr(si + 4, 1) + ";";
        } else {
            out += cell + "=" + part.substr(open + 1, part.find("</f>", open) - open - 1) + ";";
        }
    }
    return out;
}

}  // namespace

TEST(WritingIntoAWorkbook, RegressionWritingOverASharedFormulaDroppedItFromCellsNotWritten)
{
    TXlsxPackage package(ZipOf(SharedFormulaBook()));
    TSheetData data{"Data", {}}, other{"Other", {}};
    package.ReadCells(0, data);
    data.Cells[{2, 3}] = Variant(30.0);
    data.Cells[{2, 4}] = Variant(40.0);
    const std::string sheet =
        EntriesOf(package.Written({{0, &data, {{2, 3, 2, 4}}}, {1, &other, {}}})).at("xl/worksheets/sheet1.xml");
    // Every cell not written keeps its formula, as it read in that cell; the others' values stay.
    EXPECT_EQ(Formulas(sheet), "E2=$A2+B$2;C3=A3*2;D3=$A3+A$2;E3=$A3+B$2;C4=A4*2;C5=A5*2;") << sheet;
    for (const char* piece : {"<c r=\"C2\"><v>30</v></c>", "<c r=\"C5\" s=\"1\"><f ca=\"1\">A5*2</f><v>10</v></c>"})
        EXPECT_NE(sheet.find(piece), std::string::npos) << piece << " in " << sheet;
    TSheetData back;
    TXlsxPackage(package.Written({{0, &data, {{2, 3, 2, 4}}}, {1, &other, {}}})).ReadCells(0, back);
    EXPECT_EQ(back.Cells.at({5, 3}), Variant(10.0));
    EXPECT_EQ(back.Cells.at({2, 4}), Variant(40.0));
}
