// Workbooks and documents without an office program: column letters, the packages' round trip,
// broken packages, and the spreadsheet server's object model.

#include "platform/gui/OfficePackage.h"

#include <gtest/gtest.h>

#include "platform/gui/OleAutomation.h"
#include "tests/platform/core/Cases.h"
#include "tests/platform/gui/OfficeTestBook.h"

namespace {

const std::string kWorkbookXml =
    "<workbook xmlns:r=\"r\"><sheets><sheet name=\"S\" r:id=\"rId1\"/></sheets></workbook>";
const std::string kRels = "<Relationships><Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/></Relationships>";

std::string BookWithSheet(const std::string& sheetXml, const std::string& shared = "")
{
    std::vector<std::pair<std::string, std::string>> entries{{"xl/workbook.xml", kWorkbookXml},
                                                             {"xl/_rels/workbook.xml.rels", kRels},
                                                             {"xl/worksheets/sheet1.xml", sheetXml}};
    if (!shared.empty())
        entries.emplace_back("xl/sharedStrings.xml", shared);
    return ZipOf(entries);
}

// What reading gives: the cells as "A1=text;" or the error.
std::string ReadBack(const std::string& bytes)
{
    try {
        std::string out;
        const TWorkbookData book = ReadXlsx(bytes);
        for (const auto& [at, value] : book.Sheets.at(0).Cells)
            out += ColumnLetters(at.second) + std::to_string(at.first) + "=" + VarToStr(value) + ";";
        return out;
    } catch (const EOleException& e) {
        return e.Message.substr(0, e.Message.find(':'));
    }
}

struct TPackageCase {
    const char* Name;
    std::string Bytes;
    std::string Want;
};
void PrintTo(const TPackageCase& c, std::ostream* os) { *os << c.Name; }

}  // namespace

TEST(OfficePackage, ColumnLettersBothWays)
{
    Each(TextChecks{CHECK_ROW(ColumnLetters(1), "A"), CHECK_ROW(ColumnLetters(26), "Z"),
                    CHECK_ROW(ColumnLetters(27), "AA"), CHECK_ROW(ColumnLetters(28), "AB"),
                    CHECK_ROW(ColumnLetters(702), "ZZ"), CHECK_ROW(ColumnLetters(703), "AAA"),
                    CHECK_ROW(ColumnLetters(16384), "XFD")});
    Each(NumberChecks{CHECK_ROW(ColumnNumber("AB"), 28), CHECK_ROW(ColumnNumber("XFD"), 16384),
                      CHECK_ROW(ColumnNumber("XFE"), 0), CHECK_ROW(ColumnNumber("ZZZZZZZZZZ"), 0),
                      CHECK_ROW(ColumnNumber("a"), 0), CHECK_ROW(ColumnNumber(""), 0)});
}

TEST(OfficePackage, AWorkbookComesBackAsItWasWritten)
{
    TWorkbookData book;
    book.Sheets.push_back(
        {"\xC7\xD1", {{{1, 1}, Variant("a\x01_x0041_\nb")}, {{2, 3}, Variant(2.5)}, {{3, 28}, Variant(true)}}});
    book.Sheets.push_back({"two", {}});
    book.Active = 1;
    const TWorkbookData back = ReadXlsx(XlsxBytes(book));
    ASSERT_EQ(back.Sheets.size(), 2u);
    EXPECT_EQ(back.Active, 1);
    EXPECT_EQ(back.Sheets[0].Name, "\xC7\xD1");
    EXPECT_EQ(back.Sheets[0].Cells, book.Sheets[0].Cells);
    EXPECT_TRUE(back.Sheets[1].Cells.empty());
}

class BrokenPackage : public ::testing::TestWithParam<TPackageCase> {};
TEST_P(BrokenPackage, ReadsOrRaisesNeverCrashes) { EXPECT_EQ(ReadBack(GetParam().Bytes), GetParam().Want); }

const TPackageCase kPackages[] = {
    {"Empty", "", "The file is not a valid workbook"},
    {"TruncatedZip", XlsxBytes({{{"S", {{{1, 1}, Variant("x")}}}}, 0}).substr(0, 200),
     "The file is not a valid workbook"},
    {"ZipWithoutWorkbook", ZipOf({{"a.txt", "x"}}), "The file is not a valid workbook"},
    {"BrokenSheetXml", BookWithSheet("<worksheet><sheetData><row><c r=\"A1\"><v>1</v></c>"),
     "The file is not a valid workbook"},
    {"SharedStringThatIsNotThere",
     BookWithSheet("<worksheet><sheetData><row><c r=\"A1\" t=\"s\"><v>9</v></c></row>"
                   "</sheetData></worksheet>",
                   "<sst><si><t>only</t></si></sst>"),
     "The file is not a valid workbook"},
    {"SharedStringsAndRuns",
     BookWithSheet("<worksheet><sheetData><row r=\"2\"><c r=\"B2\" t=\"s\"><v>0</v></c><c t=\"str\"><v>f</v></c></row>"
                   "</sheetData></worksheet>",
                   "<sst><si><r><t>a</t></r><r><t>b</t></r></si></sst>"),
     "B2=ab;C2=f;"},
    {"CellsPastTheSheetAreSkipped",
     BookWithSheet("<worksheet><sheetData><row><c r=\"A99999999\"><v>1</v></c><c r=\"XFE1\"><v>2</v></c>"
                   "<c r=\"A1\"><v>3</v></c></row></sheetData></worksheet>"),
     "A1=3;"},
};
INSTANTIATE_TEST_SUITE_P(Reading, BrokenPackage, ::testing::ValuesIn(kPackages),
                         [](const ::testing::TestParamInfo<TPackageCase>& row) { return std::string(row.param.Name); });

TEST(SpreadsheetServer, ANewWorkbookHasOneSheetAndAddedSheetsGoBeforeTheActiveOne)
{
    const TOleVariant app(CreateOfficeServer("Excel.Application"));
    const TOleVariant book = OleCall(OleCall(app, "WorkBooks"), "Add");
    EXPECT_EQ(OleCall(OleCall(book, "Sheets"), "Count").Value().AsInteger(), 1);
    const TOleVariant added = OleCall(OleCall(book, "WorkSheets"), "Add");
    EXPECT_EQ(OleCall(added, "Name").AsString(), "Sheet2");
    EXPECT_EQ(OleCall(OleGet(book, "Sheets", {TOleVariant(1)}), "Name").AsString(), "Sheet2");
    EXPECT_EQ(OleCall(OleCall(book, "ActiveSheet"), "Name").AsString(), "Sheet2");
    EXPECT_TRUE(OleCall(OleCall(app, "WorkBooks"), "Open", {TOleVariant("/nonexistent/x.xlsx")}).IsEmpty());
    EXPECT_THROW(OleCall(book, "Frobnicate"), EOleException);
    EXPECT_THROW(CreateOleObject("other.application"), EOleSysError);
}

TEST(SpreadsheetServer, TextsThatAreNumbersInTheirOwnFormAreStoredAsNumbers)
{
    const TOleVariant app(CreateOfficeServer("excel.application"));
    const TOleVariant sheet = OleCall(OleCall(OleCall(app, "WorkBooks"), "Add"), "ActiveSheet");
    const std::vector<const char*> texts{"12", "-0.5", "007", "1.50", "1e5", "12345678901234567890", "x"};
    auto array = std::make_shared<TOleArray>(1, 1, 1, static_cast<int>(texts.size()));
    for (size_t i = 0; i < texts.size(); ++i)
        array->At(1, static_cast<int>(i) + 1) = TOleVariant(texts[i]);
    OlePut(OleGet(sheet, "Range", {TOleVariant("A1:G1")}), "Value", TOleVariant(array));
    const TOleVariant back = OleCall(OleGet(sheet, "Range", {TOleVariant("A1:G1")}), "value");
    std::string kinds;
    for (int c = 1; c <= 7; ++c)
        kinds += back.Array()->At(1, c).Value().VarType() == varString ? "t" : "n";
    EXPECT_EQ(kinds, "nnttttt");
    EXPECT_EQ(back.Array()->At(1, 1).AsString(), "12");
    EXPECT_EQ(back.Array()->At(1, 4).AsString(), "1.50");
    EXPECT_EQ(OleCall(OleCall(sheet, "UsedRange"), "Address").AsString(), "$A$1:$G$1");
}
