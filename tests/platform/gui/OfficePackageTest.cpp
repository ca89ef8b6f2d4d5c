// Workbooks and documents without an office program: column letters, the packages' round trip,
// broken packages, and the spreadsheet server's object model.

#include "platform/gui/OfficePackage.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "platform/gui/OfficeWorkbook.h"
#include "platform/gui/OleAutomation.h"
#include "tests/CommaLocale.h"
#include "tests/TempName.h"
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

// A workbook of Count sheets that all name the one part SheetXml.
std::string BookOfOnePart(int count, const std::string& sheetXml)
{
    std::string sheets, rels;
    for (int i = 1; i <= count; ++i) {
        sheets += "<sheet name=\"S" + std::to_string(i) + "\" r:id=\"rId" + std::to_string(i) + "\"/>";
        rels += "<Relationship Id=\"rId" + std::to_string(i) + "\" Target=\"worksheets/sheet1.xml\"/>";
    }
    return ZipOf({{"xl/workbook.xml", "<workbook xmlns:r=\"r\"><sheets>" + sheets + "</sheets></workbook>"},
                  {"xl/_rels/workbook.xml.rels", "<Relationships>" + rels + "</Relationships>"},
                  {"xl/worksheets/sheet1.xml", sheetXml}});
}

// A sheet holding A1 = 1 inside Depth elements nested (the sheet's root counts).
std::string NestedSheet(int depth)
{
    std::string open, close;
    for (int i = 1; i < depth; ++i) {
        open += "<e>";
        close += "</e>";
    }
    return "<worksheet><sheetData><row><c r=\"A1\"><v>1</v></c></row></sheetData>" + open + close + "</worksheet>";
}

// A sheet of Cells cells holding 1, row by row as full as a sheet's row can be.
std::string DenseSheet(int64_t cells)
{
    std::string xml = "<worksheet><sheetData>";
    xml.reserve(static_cast<size_t>(cells) * 16 + 1000);
    for (int64_t done = 0; done < cells;) {
        xml += "<row>";
        for (int c = 0; c < kMaxSheetCols && done < cells; ++c, ++done)
            xml += "<c><v>1</v></c>";
        xml += "</row>";
    }
    return xml + "</sheetData></worksheet>";
}

// What reading gives: the cells as "A1=text;" or the error.
std::string ReadBack(const std::string& bytes, const TWorkbookLimits& limits = {})
{
    try {
        std::string out;
        const TWorkbookData book = ReadXlsx(bytes, limits);
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
    TWorkbookLimits Limits = {};
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
TEST_P(BrokenPackage, ReadsOrRaisesNeverCrashes)
{
    EXPECT_EQ(ReadBack(GetParam().Bytes, GetParam().Limits), GetParam().Want);
}

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
    // Part names are found without regard to case.
    {"PartNamesInAnotherCase",
     ZipOf({{"XL/Workbook.xml", kWorkbookXml},
            {"xl/_rels/workbook.xml.rels", kRels},
            {"xl/WORKSHEETS/Sheet1.XML", "<worksheet><sheetData><row><c><v>7</v></c></row></sheetData></worksheet>"}}),
     "A1=7;"},
    {"CellsPastTheSheetAreSkipped",
     BookWithSheet("<worksheet><sheetData><row><c r=\"A99999999\"><v>1</v></c><c r=\"XFE1\"><v>2</v></c>"
                   "<c r=\"A1\"><v>3</v></c></row></sheetData></worksheet>"),
     "A1=3;"},
};
INSTANTIATE_TEST_SUITE_P(Reading, BrokenPackage, ::testing::ValuesIn(kPackages),
                         [](const ::testing::TestParamInfo<TPackageCase>& row) { return std::string(row.param.Name); });

// Each limit, scaled down: a workbook at it reads, one past it is refused.
TWorkbookLimits Limits(size_t entry, size_t total, int depth, int64_t cells, size_t texts = kMaxWorkbookTextBytes)
{
    return {entry, total, depth, cells, texts};
}
const std::string kFourCells = "<worksheet><sheetData><row><c><v>1</v></c><c><v>2</v></c><c><v>3</v></c>"
                               "<c><v>4</v></c></row></sheetData></worksheet>";
// Four cells that each use the one shared four-byte text, and one text of their own.
const std::string kFourUses = "<worksheet><sheetData><row><c t=\"s\"><v>0</v></c><c t=\"s\"><v>0</v></c>"
                              "<c t=\"s\"><v>0</v></c><c t=\"s\"><v>0</v></c><c t=\"str\"><v>own</v></c>"
                              "</row></sheetData></worksheet>";
const std::string kSixteenBytes = "<worksheet>   </worksheet>";  // no cells, 25 bytes
const int64_t kListBytes =
    static_cast<int64_t>(EntriesOf(BookOfOnePart(40, "")).at("xl/workbook.xml").size() +
                         EntriesOf(BookOfOnePart(40, "")).at("xl/_rels/workbook.xml.rels").size());
const TPackageCase kLimits[] = {
    {"DepthAtItsLimit", BookWithSheet(NestedSheet(16)), "A1=1;", Limits(1 << 20, 1 << 20, 16, 10)},
    {"DepthPastItsLimit", BookWithSheet(NestedSheet(17)), "The workbook is too large",
     Limits(1 << 20, 1 << 20, 16, 10)},
    {"CellsAtTheirLimit", BookWithSheet(kFourCells), "A1=1;B1=2;C1=3;D1=4;", Limits(1 << 20, 1 << 20, 16, 4)},
    {"CellsPastTheirLimit", BookWithSheet(kFourCells), "The workbook is too large", Limits(1 << 20, 1 << 20, 16, 3)},
    {"SharedTextsPastTheirLimit", BookWithSheet("<worksheet/>", "<sst><si/><si/><si/><si/></sst>"),
     "The workbook is too large", Limits(1 << 20, 1 << 20, 16, 3)},
    // A shared text costs its size at every cell that uses it.
    {"TextsAtTheirLimit", BookWithSheet(kFourUses, "<sst><si><t>abcd</t></si></sst>"),
     "A1=abcd;B1=abcd;C1=abcd;D1=abcd;E1=own;", Limits(1 << 20, 1 << 20, 16, 10, 19)},
    {"TextsPastTheirLimit", BookWithSheet(kFourUses, "<sst><si><t>abcd</t></si></sst>"), "The workbook is too large",
     Limits(1 << 20, 1 << 20, 16, 10, 18)},
    {"EntryAtItsLimit", BookWithSheet(kFourCells), "A1=1;B1=2;C1=3;D1=4;", Limits(kFourCells.size(), 1 << 20, 16, 10)},
    {"EntryPastItsLimit", BookWithSheet(kFourCells), "The workbook is too large",
     Limits(kFourCells.size() - 1, 1 << 20, 16, 10)},
    // Forty sheets of one part cost forty parts: their total is bounded.
    {"TotalAtItsLimit", BookOfOnePart(40, kSixteenBytes), "",
     Limits(1 << 20, static_cast<size_t>(kListBytes) + 40 * kSixteenBytes.size(), 16, 10)},
    {"TotalPastItsLimit", BookOfOnePart(40, kSixteenBytes), "The workbook is too large",
     Limits(1 << 20, static_cast<size_t>(kListBytes) + 40 * kSixteenBytes.size() - 1, 16, 10)},
};
INSTANTIATE_TEST_SUITE_P(Limits, BrokenPackage, ::testing::ValuesIn(kLimits),
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

TEST(SpreadsheetServer, SheetNamesAreOnesOfficeProgramsOpen)
{
    const TOleVariant book = OleCall(OleCall(TOleVariant(CreateOfficeServer("Excel.Application")), "WorkBooks"), "Add");
    const TOleVariant first = OleGet(book, "Sheets", {TOleVariant(1)});
    OlePut(OleCall(OleCall(book, "WorkSheets"), "Add"), "Name", TOleVariant("Data"));
    for (const char* bad :
         {"", "a/b", "a:b", "[x]", "'x", "12345678901234567890123456789012", "DATA", "ab\x01", "\t", "a\nb", "x\x1F"})
        EXPECT_THROW(OlePut(first, "Name", TOleVariant(bad)), EOleException) << bad;
    OlePut(first, "Name", TOleVariant("\xC7\xD1\xB1\xDB 123456789012345678901234567"));
    EXPECT_EQ(OleCall(first, "Name").AsString(), "\xC7\xD1\xB1\xDB 123456789012345678901234567");
}

TEST(SpreadsheetServer, RegressionNamesDifferingInALetterTrailByteWereTakenForOneAnother)
{
    const TOleVariant book = OleCall(OleCall(TOleVariant(CreateOfficeServer("Excel.Application")), "WorkBooks"), "Add");
    OlePut(OleGet(book, "Sheets", {TOleVariant(1)}), "Name", TOleVariant("\x81\x41"));
    const TOleVariant added = OleCall(OleCall(book, "WorkSheets"), "Add");
    OlePut(added, "Name", TOleVariant("\x81\x61"));
    EXPECT_EQ(OleCall(added, "Name").AsString(), "\x81\x61");
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

namespace {

// Each text put into a row of a new sheet, as the sheet gives it back: "n:" and the text of a
// number, "t:" and a text.
std::string StoredKinds(const std::vector<const char*>& texts)
{
    const TOleVariant app(CreateOfficeServer("excel.application"));
    const TOleVariant sheet = OleCall(OleCall(OleCall(app, "WorkBooks"), "Add"), "ActiveSheet");
    const int count = static_cast<int>(texts.size());
    auto array = std::make_shared<TOleArray>(1, 1, 1, count);
    for (int i = 0; i < count; ++i)
        array->At(1, i + 1) = TOleVariant(texts[static_cast<size_t>(i)]);
    const TOleVariant range = OleGet(sheet, "Range", {TOleVariant("A1:" + ColumnLetters(count) + "1")});
    OlePut(range, "Value", TOleVariant(array));
    const TOleVariant back = OleCall(range, "value");
    std::string out;
    for (int c = 1; c <= count; ++c) {
        const TOleVariant& v = back.Array()->At(1, c);
        out += (c > 1 ? " " : "") + std::string(v.Value().VarType() == varString ? "t:" : "n:") + v.AsString();
    }
    return out;
}

class WorkbookNumbersUnderACommaLocale : public CommaLocaleTest {};

}  // namespace

TEST_F(WorkbookNumbersUnderACommaLocale, RegressionDecimalTextsWereStoredAsTextUnderTheDesktopsComma)
{
    ExpectInBothLocales(
        "StoredKinds",
        [] {
            return StoredKinds({"-0.5", "0.25", "1.50", "12", "1,5", "1e5"});
        },
        std::string("n:-0.5 n:0.25 t:1.50 n:12 t:1,5 t:1e5"));
}

TEST_F(WorkbookNumbersUnderACommaLocale, NumbersGoIntoAPackageAndBackAsUnderC)
{
    const auto roundTrip = [] {
        TWorkbookData book;
        book.Sheets.push_back({"s", {{{1, 1}, Variant(2.5)}, {{1, 2}, Variant(-1234.125)}, {{2, 1}, Variant(1e-7)}}});
        const TWorkbookData back = ReadXlsx(XlsxBytes(book));
        std::string out;
        for (const auto& [at, value] : back.Sheets.at(0).Cells)
            out += std::string(value.AsString()) + ";";
        return out;
    };
    ExpectInBothLocales("RoundTrip", roundTrip, std::string("2.5;-1234.125;1E-7;"));
}

namespace {

// Which entries differ between two packages: "name" changed, "+name" added, "-name" removed.
std::string ChangedEntries(const std::string& before, const std::string& after)
{
    const auto a = EntriesOf(before), b = EntriesOf(after);
    std::set<std::string> names;
    for (const auto* entries : {&a, &b})
        for (const auto& [name, bytes] : *entries)
            names.insert(name);
    std::string out;
    for (const std::string& name : names)
        if (!b.count(name))
            out += "-" + name + " ";
        else if (!a.count(name))
            out += "+" + name + " ";
        else if (a.at(name) != b.at(name))
            out += name + " ";
    return out;
}

// One change to the workbook of ExcelLikeBook: a value put into a cell of a sheet ("New" adds
// that sheet before the second), or a sheet renamed.
struct TWriteCase {
    const char* Name;
    const char* Sheet;
    int Row, Col;
    Variant Value;
    const char* Rename;
    std::string Changed;
};
void PrintTo(const TWriteCase& c, std::ostream* os) { *os << c.Name; }

std::string WrittenBook(const TWriteCase& c, const std::string& before)
{
    TXlsxPackage package(before);
    std::vector<TSheetData> sheets(3);
    std::vector<TSheetWrite> book;
    for (int i = 0; i < 2; ++i) {
        sheets[static_cast<size_t>(i)].Name = package.Sheets()[static_cast<size_t>(i)].Name;
        book.push_back({i, &sheets[static_cast<size_t>(i)], {}});
    }
    if (std::string(c.Sheet) == "New") {
        sheets[2] = {"New", {{{c.Row, c.Col}, c.Value}}};
        book.insert(book.begin() + 1, {-1, &sheets[2], {}});
    } else if (*c.Sheet) {
        const int i = std::string(c.Sheet) == "Data" ? 0 : 1;
        package.ReadCells(static_cast<size_t>(i), sheets[static_cast<size_t>(i)]);
        sheets[static_cast<size_t>(i)].Cells[{c.Row, c.Col}] = c.Value;
        book[static_cast<size_t>(i)].Written = {{c.Row, c.Col, c.Row, c.Col}};
    }
    if (c.Rename)
        sheets[1].Name = c.Rename;
    return package.Written(book);
}

}  // namespace

class WritingIntoAWorkbook : public ::testing::TestWithParam<TWriteCase> {};
TEST_P(WritingIntoAWorkbook, ChangesOnlyThePartsOfWhatWasWritten)
{
    const std::string before = ZipOf(ExcelLikeBook());
    const std::string after = WrittenBook(GetParam(), before);
    EXPECT_EQ(ChangedEntries(before, after), GetParam().Changed);
    const TWorkbookData read = ReadXlsx(after);
    EXPECT_EQ(read.Sheets[0].Cells.at({3, 1}), Variant(GetParam().Row == 3 ? 9.0 : 3.0));
}

const TWriteCase kWrites[] = {
    {"NothingWritten", "", 1, 1, Variant(), nullptr, ""},
    {"ASheetWithoutFormulas", "Other", 2, 1, Variant(5.0), nullptr, "xl/worksheets/sheet2.xml "},
    {"ANewSheet", "New", 1, 1, Variant("n"), nullptr,
     "[Content_Types].xml docProps/app.xml xl/_rels/workbook.xml.rels xl/workbook.xml +xl/worksheets/sheet3.xml "},
    {"ARenamedSheet", "", 1, 1, Variant(), "Renamed", "docProps/app.xml xl/workbook.xml "},
    // The calculation chain would name a cell that has no formula any more.
    {"OverAFormula", "Data", 3, 1, Variant(9.0), nullptr,
     "[Content_Types].xml xl/_rels/workbook.xml.rels -xl/calcChain.xml xl/worksheets/sheet1.xml "},
};
INSTANTIATE_TEST_SUITE_P(Package, WritingIntoAWorkbook, ::testing::ValuesIn(kWrites),
                         [](const ::testing::TestParamInfo<TWriteCase>& row) { return std::string(row.param.Name); });

TEST(WritingIntoAWorkbook, AWrittenSheetKeepsItsStylesFormulasMergesAndWidths)
{
    TXlsxPackage package(ZipOf(ExcelLikeBook()));
    TSheetData data{"Data", {}}, other{"Other", {}};
    package.ReadCells(0, data);
    data.Cells[{1, 2}] = Variant(7.0);    // over a date
    data.Cells.erase({2, 3});             // a shared text emptied
    data.Cells[{5, 3}] = Variant("new");  // in a row the sheet did not have
    const std::string sheet =
        EntriesOf(package.Written({{0, &data, {{1, 2, 5, 3}}}, {1, &other, {}}})).at("xl/worksheets/sheet1.xml");
    for (const char* piece :
         {"<dimension ref=\"A1:D5\"/>", "<col min=\"1\" max=\"1\" width=\"25.7109375\" customWidth=\"1\"/>",
          "<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\" s=\"1\"><v>7</v></c></row>"
          "<row r=\"2\"><c r=\"A2\"><v>2</v></c></row><row r=\"3\"><c r=\"A3\"><f>SUM(A1:A2)</f><v>3</v></c></row>"
          "<row r=\"5\"><c r=\"C5\" t=\"inlineStr\"><is><t xml:space=\"preserve\">new</t></is></c></row></sheetData>",
          "<mergeCells count=\"1\"><mergeCell ref=\"C1:D1\"/></mergeCells>"})
        EXPECT_NE(sheet.find(piece), std::string::npos) << piece << " in " << sheet;
}

TEST(WritingIntoAWorkbook, ASheetWithoutItsCellTableGetsOne)
{
    TXlsxPackage package(BookWithSheet("<worksheet/>"));
    const TSheetData sheet{"S", {{{2, 2}, Variant(5.0)}}};
    EXPECT_EQ(ReadBack(package.Written({{0, &sheet, {{2, 2, 2, 2}}}})), "B2=5;");
}

namespace {

// A file of the test's own folder, removed with it.
class HostileWorkbook : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = TempPattern("office-package");
        Folder = mkdtemp(pattern.data());
    }
    void TearDown() override { std::filesystem::remove_all(Folder); }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(Folder + "/" + name, std::ios::binary) << bytes;
        return Folder + "/" + name;
    }
    std::string Folder;
};

std::string Failure(const std::function<void()>& work)
{
    try {
        work();
        return "read";
    } catch (const EOleException& e) {
        return e.Message.substr(0, e.Message.find(':'));
    }
}

}  // namespace

TEST_F(HostileWorkbook, RegressionTwoFarCellsTookADenseArrayOfTheirUsedRange)
{
    TWorkbookData data;
    data.Sheets.push_back({"S", {{{1, 1}, Variant(1.0)}, {{4000, 16000}, Variant(2.0)}}});
    const std::string path = Write("far.xlsx", XlsxBytes(data));
    const auto [growth, result] = PeakGrowthMiB([&] {
        const TOleVariant app(CreateOfficeServer("Excel.Application"));
        const TOleVariant sheet =
            OleCall(OleCall(OleCall(app, "WorkBooks"), "Open", {TOleVariant(path)}), "ActiveSheet");
        const AnsiString address = OleCall(OleCall(sheet, "UsedRange"), "Address").AsString();
        const auto values = OleCall(OleGet(sheet, "Range", {TOleVariant(address)}), "value").Array();
        return address + " " + std::to_string(values->RowHigh()) + "x" + std::to_string(values->ColHigh()) + " " +
            std::to_string(values->Items().size()) + " " + values->At(4000, 16000).AsString();
    });
    EXPECT_EQ(result, "$A$1:$WQJ$4000 4000x16000 2 2");
    EXPECT_LT(growth, 64) << growth;
}

TEST_F(HostileWorkbook, RegressionMillionsOfNestedElementsTookGigabytes)
{
    const std::string bytes = BookWithSheet(NestedSheet(10'000'000));
    const auto [growth, result] = PeakGrowthMiB([&] { return ReadBack(bytes); });
    EXPECT_EQ(result, "The workbook is too large");
    EXPECT_LT(growth, 64) << growth;
}

TEST_F(HostileWorkbook, RegressionADenseSheetOfMillionsOfCellsTookGigabytes)
{
    const std::string bytes = BookWithSheet(DenseSheet(kMaxWorkbookCells + 1));
    EXPECT_LT(bytes.size(), size_t{1} << 20);
    const auto [growth, result] = PeakGrowthMiB([&] { return ReadBack(bytes); });
    EXPECT_EQ(result, "The workbook is too large");
    EXPECT_LT(growth, 768) << growth;
}

TEST_F(HostileWorkbook, AFileLargerThanAWorkbookMayBeIsNotRead)
{
    const std::string path = Write("large.xlsx", "");
    const auto open = [&] {
        OleCall(OleCall(TOleVariant(CreateOfficeServer("Excel.Application")), "WorkBooks"), "Open",
                {TOleVariant(path)});
    };
    ASSERT_EQ(truncate(path.c_str(), kMaxWorkbookFileBytes), 0);
    EXPECT_EQ(Failure(open), "The file is not a valid workbook");
    ASSERT_EQ(truncate(path.c_str(), kMaxWorkbookFileBytes + 1), 0);
    EXPECT_EQ(Failure(open), "The workbook is too large");
}

TEST_F(HostileWorkbook, RegressionASharedStringWasCopiedIntoEveryCellThatUsesItPastAnyLimit)
{
    // 4 MB of text used by 300 cells: 1.2 GB once every cell holds its copy.
    std::string cells;
    for (int i = 0; i < 300; ++i)
        cells += "<c t=\"s\"><v>0</v></c>";
    const std::string bytes = BookWithSheet("<worksheet><sheetData><row>" + cells + "</row></sheetData></worksheet>",
                                            "<sst><si><t>" + std::string(size_t{4} << 20, 'x') + "</t></si></sst>");
    EXPECT_LT(bytes.size(), size_t{64} << 10);
    const auto [growth, result] = PeakGrowthMiB([&] { return ReadBack(bytes); });
    EXPECT_EQ(result, "The workbook is too large");
    EXPECT_LT(growth, static_cast<long>(kMaxWorkbookTextBytes >> 20) + 128) << growth;
}

TEST_F(HostileWorkbook, RegressionLargeCountsInTheDocumentPropertiesOverflowedWhenASheetWasAdded)
{
    // Two headings whose counts sum past a 32-bit number, then one of two that looks like the
    // sheets' titles once the sum wraps round: no heading is the sheets', so the part stays.
    TZipEntries entries = ExcelLikeBook();
    for (auto& [name, bytes] : entries)
        if (name == "docProps/app.xml")
            bytes = std::string(kXmlHead) +
                "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
                "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\"><HeadingPairs>"
                "<vt:vector size=\"8\" baseType=\"variant\">"
                "<vt:variant><vt:lpstr>A</vt:lpstr></vt:variant><vt:variant><vt:i4>2147483647</vt:i4></vt:variant>"
                "<vt:variant><vt:lpstr>B</vt:lpstr></vt:variant><vt:variant><vt:i4>2147483647</vt:i4></vt:variant>"
                "<vt:variant><vt:lpstr>C</vt:lpstr></vt:variant><vt:variant><vt:i4>2</vt:i4></vt:variant>"
                "<vt:variant><vt:lpstr>D</vt:lpstr></vt:variant><vt:variant><vt:i4>2</vt:i4></vt:variant>"
                "</vt:vector></HeadingPairs><TitlesOfParts><vt:vector size=\"2\" baseType=\"lpstr\">"
                "<vt:lpstr>Data</vt:lpstr><vt:lpstr>Other</vt:lpstr></vt:vector></TitlesOfParts></Properties>";
    const std::string before = ZipOf(entries);
    TXlsxPackage package(before);
    const TSheetData data{"Data", {}}, other{"Other", {}}, added{"New", {{{1, 1}, Variant(1.0)}}};
    const std::string after = package.Written({{0, &data, {}}, {-1, &added, {}}, {1, &other, {}}});
    EXPECT_EQ(EntriesOf(after).at("docProps/app.xml"), EntriesOf(before).at("docProps/app.xml"));
    const TWorkbookData read = ReadXlsx(after);
    ASSERT_EQ(read.Sheets.size(), 3u);
    EXPECT_EQ(read.Sheets[1].Name, "New");
    EXPECT_EQ(read.Sheets[1].Cells.at({1, 1}), Variant(1.0));
}

TEST_F(HostileWorkbook, RegressionManySheetsWereMatchedToTheirPartsAndNamedOneByOne)
{
    // At every sheet, every relationship and every entry of the package were compared: this
    // checks that the indexes that replaced them give the same answers at a large count.
    constexpr int kSheets = 20000;
    TWorkbookData many;
    for (int i = 1; i <= kSheets; ++i)
        many.Sheets.push_back({"Sheet" + std::to_string(i), {}});
    many.Sheets.back().Cells[{1, 1}] = Variant("last");
    const std::string path = Write("many.xlsx", XlsxBytes(many));
    const TOleVariant book = OleCall(OleCall(TOleVariant(CreateOfficeServer("Excel.Application")), "WorkBooks"), "Open",
                                     {TOleVariant(path)});
    const TOleVariant added = OleCall(OleCall(book, "WorkSheets"), "Add");
    EXPECT_EQ(OleCall(added, "Name").AsString(), "Sheet" + std::to_string(kSheets + 1));
    OlePut(OleGet(added, "Range", {TOleVariant("A1")}), "Value", TOleVariant("new"));
    OleCall(book, "Save");

    std::ifstream in(path, std::ios::binary);
    TXlsxPackage back(std::string(std::istreambuf_iterator<char>(in), {}));
    ASSERT_EQ(back.Sheets().size(), size_t{kSheets + 1});
    EXPECT_EQ(back.Sheets()[0].Name, "Sheet" + std::to_string(kSheets + 1));
    EXPECT_EQ(back.Sheets()[0].Part, "xl/worksheets/sheet" + std::to_string(kSheets + 1) + ".xml");
    EXPECT_EQ(back.Sheets()[kSheets].Part, "xl/worksheets/sheet" + std::to_string(kSheets) + ".xml");
    TSheetData first, last;
    back.ReadCells(0, first);
    back.ReadCells(kSheets, last);
    EXPECT_EQ(first.Cells.at({1, 1}), Variant("new"));
    EXPECT_EQ(last.Cells.at({1, 1}), Variant("last"));
}
