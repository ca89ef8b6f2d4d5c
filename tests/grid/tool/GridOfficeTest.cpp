// The spreadsheet and document files against LibreOffice: what gridrun writes, LibreOffice
// opens; what LibreOffice writes, gridrun reads; other kinds of file go through LibreOffice.
// Each LibreOffice run has a profile folder of its own and a time-out.

#include <filesystem>
#include <set>
#include <sstream>

#include "tests/TempName.h"
#include "tests/grid/tool/GridRunSupport.h"
#include "tests/platform/gui/OfficeTestBook.h"

namespace {

TRun Shell(const std::string& command) { return RunCommand(command + " 2>&1"); }

class Office : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = TempPattern("grid-office");
        Folder = mkdtemp(pattern.data());
        ASSERT_EQ(Shell("command -v soffice").Status, 0) << "LibreOffice (libreoffice-calc-nogui) is needed";
    }
    void TearDown() override { std::filesystem::remove_all(Folder); }

    TRun Run(const std::string& directives, const std::string& environment = "")
    {
        const std::string script = Folder + "/run.grid";
        std::ofstream(script, std::ios::binary) << directives;
        // gridrun chooses its own quiet offscreen platform when none is named.
        return Shell("env -u QT_QPA_PLATFORM " + environment + " " + std::string(HM_BIN_DIR) + "/gridrun " + script);
    }
    // LibreOffice converts a file of the folder; the converted file's text.
    std::string Convert(const std::string& name, const std::string& filter, const std::string& made,
                        const std::string& inFilter = "")
    {
        const TRun run = Shell("cd " + Folder + " && timeout 120 soffice -env:UserInstallation=file://" + Folder +
                               "/profile --headless --norestore --nolockcheck" +
                               (inFilter.empty() ? "" : " --infilter='" + inFilter + "'") + " --convert-to '" + filter +
                               "' --outdir " + Folder + "/out " + name);
        EXPECT_EQ(run.Status, 0) << run.Out;
        return ReadAll(Folder + "/out/" + made);
    }

    std::string Folder;
};

const char* const kGrid = "block 0 0 h\\tnum\\t이름\\na\\t1\\t한글\\nb\\t2.5\\tx,y\n"
                          "cell 2 3 two\\r\\nlines\n"
                          "set AutoNumAlign true\n";

}  // namespace

TEST_F(Office, LibreOfficeOpensTheWorkbookAndDocumentTheGridWrites)
{
    const TRun run =
        GridRun(std::string(kGrid) + "call SaveToXLS " + Folder + "/a.xlsx\ncall SaveToDOC " + Folder + "/a.docx\n");
    ASSERT_EQ(run.Status, 0) << run.Out;
    // The new workbook's active sheet is the one written; numbers are numbers (unquoted).
    EXPECT_EQ(Convert("a.xlsx", "csv:Text - txt - csv (StarCalc):44,34,76,1", "a.csv"),
              "\"h\",\"num\",\"이름\"\n\"a\",1,\"한글\"\n\"b\",2.5,\"x,y\"\n,,\"two\nlines\"\n");
    const std::string text = Convert("a.docx", "txt:Text (encoded):UTF8", "a.txt");
    for (const char* piece : {"h", "num", "이름", "한글", "2.5", "x,y", "two"})
        EXPECT_NE(text.find(piece), std::string::npos) << piece << " in " << text;
}

TEST_F(Office, TheGridReadsAWorkbookLibreOfficeMadeFromCsv)
{
    std::ofstream(Folder + "/in.csv") << "x,y,z\n1,2.25,한글\n,,\"a\nb\"\n";
    Convert("in.csv", "xlsx", "in.xlsx", "Text - txt - csv (StarCalc):44,34,76,1");
    const TRun run = Run("set SaveIncludesFixed false\nset Multilinecells true\ncall LoadFromXLS " + Folder +
                         "/out/in.xlsx\ndump\n");
    EXPECT_EQ(run.Out,
              "LoadFromXLS " + Folder +
                  "/out/in.xlsx =\n"
                  "ColCount=4 RowCount=4 FixedCols=1 FixedRows=1 HiddenCols=0 HiddenRows=0\n"
                  "0:||||\n1:||x|y|z\n2:||1|2.25|한글\n3:||||a\\r\\nb\n");
}

TEST_F(Office, OtherKindsOfFileGoThroughLibreOfficeAndWithoutItTheServerIsNotFound)
{
    const TRun run = Run(std::string(kGrid) + "call SaveToXLS " + Folder + "/b.ods\nnew\ncall LoadFromXLS " + Folder +
                         "/b.ods\n? Cells 2 2\n");
    EXPECT_NE(run.Out.find("Cells 2 2 = x,y\n"), std::string::npos) << run.Out;
    const TRun without =
        Run("call SaveToXLS " + Folder + "/c.ods\ncall SaveToDOC " + Folder + "/c.odt\n", "PATH=/nonexistent");
    EXPECT_EQ(without.Out,
              "error: ECellGridError: Excel OLE server not found\n"
              "error: ECellGridError: Word OLE server not found\n");
    EXPECT_FALSE(std::filesystem::exists(Folder + "/c.ods"));
}

TEST_F(Office, RegressionSaveTOXLSSheetRewroteTheWholeWorkbookFromCellValues)
{
    const std::string path = Folder + "/book.xlsx", before = ZipOf(ExcelLikeBook());
    std::ofstream(path, std::ios::binary) << before;
    const std::string grid = "set FixedCols 0\nset FixedRows 0\nset ColCount 2\nset RowCount 2\n";
    TRun run = Run(grid + "block 0 0 a\\t7\\n8.5\\t한\ncall SaveTOXLSSheet " + path + " New\n");
    ASSERT_EQ(run.Status, 0) << run.Out;
    // A new sheet: its part is added, the parts listing sheets change, nothing else does.
    const std::map<std::string, std::string> old = EntriesOf(before), added = EntriesOf(ReadAll(path));
    const std::set<std::string> listing{"[Content_Types].xml", "xl/workbook.xml", "xl/_rels/workbook.xml.rels",
                                        "docProps/app.xml"};
    std::set<std::string> names;
    for (const auto& [name, bytes] : added) {
        names.insert(name);
        if (old.count(name)) {
            EXPECT_EQ(bytes == old.at(name), !listing.count(name)) << name;
        }
    }
    EXPECT_EQ(names.size(), old.size() + 1);
    EXPECT_TRUE(names.count("xl/worksheets/sheet3.xml"));
    // It goes before the active sheet, which stays active; the local name follows its sheet.
    const std::string& workbook = added.at("xl/workbook.xml");
    for (const char* piece : {"activeTab=\"2\"", "localSheetId=\"2\"", "<definedName name=\"Total\">Data!$A$3",
                              "<sheet name=\"New\" sheetId=\"3\" r:id=\"rId6\"/><sheet name=\"Other\""})
        EXPECT_NE(workbook.find(piece), std::string::npos) << piece << " in " << workbook;
    EXPECT_NE(added.at("docProps/app.xml").find("<vt:lpstr>Data</vt:lpstr><vt:lpstr>New</vt:lpstr><vt:lpstr>Other"),
              std::string::npos);

    // Writing the grid into an existing sheet changes that sheet's part alone, and only the
    // cells written: the formula below them is still a formula.
    run = Run(grid + "set ColCount 1\nset RowCount 1\ncell 0 0 10\ncall SaveTOXLSSheet " + path + " Data\n");
    ASSERT_EQ(run.Status, 0) << run.Out;
    const std::map<std::string, std::string> replaced = EntriesOf(ReadAll(path));
    ASSERT_EQ(replaced.size(), added.size());
    for (const auto& [name, bytes] : replaced)
        EXPECT_EQ(bytes == added.at(name), name != "xl/worksheets/sheet1.xml") << name;

    // LibreOffice opens every sheet: the formula is there, the date keeps its style.
    Convert("book.xlsx", "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true,true,true,true,false,-1", "book-Data.csv");
    EXPECT_EQ(ReadAll(Folder + "/out/book-Data.csv"), "10,3/17/2023,\n2,,\"Label\"\n\"=SUM(A1:A2)\",,\n");
    EXPECT_EQ(ReadAll(Folder + "/out/book-New.csv"), "\"a\",7\n8.5,\"\xED\x95\x9C\"\n");
    EXPECT_EQ(ReadAll(Folder + "/out/book-Other.csv"), "\"x\"\n");
}

TEST_F(Office, RegressionWritingOverASharedFormulaDroppedItFromCellsNotWritten)
{
    // A1:C2 written over C2, where the formula filled down C2:C5 was kept; D2:E3 not written.
    const std::string path = Folder + "/shared.xlsx";
    std::ofstream(path, std::ios::binary) << ZipOf(SharedFormulaBook());
    const TRun run = Run("set FixedCols 0\nset FixedRows 0\nset ColCount 3\nset RowCount 2\n"
                         "block 0 0 a\\tb\\tc\\n10\\t20\\t30\ncall SaveTOXLSSheet " +
                         path + " Data\n");
    ASSERT_EQ(run.Status, 0) << run.Out;
    Convert("shared.xlsx", "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true,true,true,true,false,-1",
            "shared-Data.csv");
    const std::string data = ReadAll(Folder + "/out/shared-Data.csv");
    EXPECT_EQ(data,
              "\"a\",\"b\",\"c\",,\n10,20,30,\"=$A2+A$2\",\"=$A2+B$2\"\n3,,\"=A3*2\",\"=$A3+A$2\",\"=$A3+B$2\"\n"
              "4,,\"=A4*2\",,\n5,,\"=A5*2\",,\n");
    // LibreOffice counts every formula the cells not written had: seven.
    size_t formulas = 0;
    for (size_t at = data.find("\"="); at != std::string::npos; at = data.find("\"=", at + 1))
        ++formulas;
    EXPECT_EQ(formulas, 7u);
}
