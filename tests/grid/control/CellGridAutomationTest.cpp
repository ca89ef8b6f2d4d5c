// Spreadsheets and documents: the calls the grid makes, recorded on their way to the in-process
// servers, and what comes back into the cells.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "grid/control/CellGrid.h"
#include "platform/core/ProgramFolder.h"
#include "platform/gui/Forms.h"
#include "platform/gui/OfficePackage.h"
#include "platform/gui/OleAutomation.h"
#include "tests/TempName.h"
#include "tests/platform/gui/GuiTestSupport.h"
#include "tests/platform/gui/OfficeTestBook.h"

namespace {

using TLog = std::vector<std::string>;

// The log in one text, for a failure to show.
std::string Lines(const TLog& log)
{
    std::string text;
    for (const std::string& line : log)
        text += line + "\n";
    return text;
}
bool Has(const TLog& log, const std::string& line) { return std::find(log.begin(), log.end(), line) != log.end(); }

// Every object made goes through the recording server; Folder holds the files.
class Recorded : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        std::string pattern = TempPattern("grid-automation");
        Folder = mkdtemp(pattern.data());
        Saved = SetOleObjectFactory(
            [this](const AnsiString& id) { return RecordingServer(CreateOfficeServer(id), Log, "app"); });
    }
    void TearDown() override
    {
        SetOleObjectFactory(Saved);
        std::filesystem::remove_all(Folder);
    }
    AnsiString File(const char* name) const { return Folder + "/" + name; }
    TLog Take() { return std::exchange(*Log, {}); }
    // A grid of normal cells "rRcC" (fixed row and column 1 each).
    void Fill(TCellGrid& g, int cols, int rows)
    {
        g.SetColCount(cols);
        g.SetRowCount(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                g.SetCells(c, r, "r" + std::to_string(r) + "c" + std::to_string(c));
    }
    // A workbook file with one sheet holding the given cells.
    void WriteBook(const AnsiString& path, const std::map<std::pair<int, int>, Variant>& cells,
                   const AnsiString& sheet = "Sheet1")
    {
        TWorkbookData book;
        book.Sheets.push_back({sheet, cells});
        std::ofstream(path, std::ios::binary) << XlsxBytes(book);
    }

    std::shared_ptr<TLog> Log = std::make_shared<TLog>();
    std::string Folder;
    TOleFactory Saved;
};

}  // namespace

TEST_F(Recorded, SaveToXLSMakesANewWorkbookAndWritesTheNormalCellsAsOneArray)
{
    TCellGrid g(nullptr);
    Fill(g, 3, 3);
    g.SaveIncludesFixed = false;
    g.SetCells(1, 1, "two\r\nlines");
    g.SaveToXLS(File("a.xlsx"));
    EXPECT_EQ(Take(),
              (TLog{"app.WorkBooks() = obj1", "obj1.Add() = obj2", "obj2.WorkSheets() = obj3", "obj3.Add() = obj4",
                    "obj4.Range[\"A1:B2\"] = obj5", "obj5.Value := array[0..1,0..1]",
                    "obj2.SaveAs(\"" + File("a.xlsx") + "\") = empty", "app.Quit() = empty"}));
    TCellGrid back(nullptr);
    back.SaveIncludesFixed = false;
    back.LoadFromXLS(File("a.xlsx"));
    EXPECT_EQ(back.Cells(1, 1), "two\r\nlines");  // the sheet keeps the LF; loading makes it CR LF
    EXPECT_EQ(back.Cells(2, 2), "r2c2");
    EXPECT_EQ(back.ColCount(), 3);
}

TEST_F(Recorded, LoadFromXLSReadsTheUsedRangeIntoTheFirstNormalCell)
{
    WriteBook(File("b.xlsx"), {{{3, 2}, Variant("B3")}, {{5, 4}, Variant(4.5)}, {{4, 28}, Variant("AB4")}});
    TCellGrid g(nullptr);
    g.SaveIncludesFixed = false;
    g.LoadFromXLS(File("b.xlsx"));
    EXPECT_EQ(
        Take(),
        (TLog{"app.WorkBooks() = obj1", "obj1.Open(\"" + File("b.xlsx") + "\") = obj2", "obj2.ActiveSheet() = obj3",
              "obj3.UsedRange() = obj4", "obj4.Address() = \"$B$3:$AB$5\"", "obj3.Range[\"B3:AB5\"] = obj5",
              "obj5.value() = array[1..3,1..27]", "obj2.Close(SaveChanges=false) = empty", "app.Quit() = empty"}));
    EXPECT_EQ(g.ColCount(), 28);
    EXPECT_EQ(g.RowCount(), 4);
    EXPECT_EQ(g.Cells(1, 1), "B3");
    EXPECT_EQ(g.Cells(27, 2), "AB4");
    EXPECT_EQ(g.Cells(3, 3), "4.5");
}

TEST_F(Recorded, RegressionTwoFarCellsOfASheetFilledTheGridDensely)
{
    WriteBook(File("far.xlsx"), {{{1, 1}, Variant("A1")}, {{4000, 16000}, Variant("WQJ4000")}});
    const auto [growth, cells] = PeakGrowthMiB([&] {
        TCellGrid g(nullptr);
        g.SaveIncludesFixed = false;
        g.SetCells(2, 2, "cleared");
        g.LoadFromXLS(File("far.xlsx"));
        return std::to_string(g.ColCount()) + "x" + std::to_string(g.RowCount()) + " " + g.Cells(1, 1) + " " +
            g.Cells(16000, 4000) + " [" + g.Cells(2, 2) + "]";
    });
    EXPECT_EQ(cells, "16001x4001 A1 WQJ4000 []");
    EXPECT_LT(growth, 128) << growth;
}

TEST_F(Recorded, SavingTwoFarCellsCostsWhatTheyHoldNotTheGridsSize)
{
    const auto [growth, cells] = PeakGrowthMiB([&] {
        TCellGrid g(nullptr);
        g.SaveIncludesFixed = true;
        g.SetColCount(1000);
        g.SetRowCount(1000);
        g.SetCells(0, 0, "a");
        g.SetCells(999, 999, "b");
        g.SaveToXLS(File("far.xlsx"));
        TCellGrid back(nullptr);
        back.SaveIncludesFixed = true;
        back.LoadFromXLS(File("far.xlsx"));
        return std::to_string(back.ColCount()) + "x" + std::to_string(back.RowCount()) + " " + back.Cells(0, 0) +
            back.Cells(999, 999);
    });
    EXPECT_EQ(cells, "1000x1000 ab");
    EXPECT_LT(growth, 64) << growth;
}

TEST_F(Recorded, RegressionASingleUsedCellLoadsAsOneByOne)
{
    WriteBook(File("c.xlsx"), {{{2, 3}, Variant(7)}});
    TCellGrid g(nullptr);
    g.SaveIncludesFixed = false;
    g.LoadFromXLS(File("c.xlsx"));
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.Cells(1, 1), "7");
}

TEST_F(Recorded, RegressionAMissingWorksheetClosesTheWorkbookAndQuitsBeforeRaising)
{
    WriteBook(File("d.xlsx"), {{{1, 1}, Variant("x")}}, "data");
    TCellGrid g(nullptr);
    try {
        g.LoadFromXLSSheet(File("d.xlsx"), "other");
        ADD_FAILURE() << "no error";
    } catch (const ECellGridError& e) {
        EXPECT_EQ(e.Message, "Excel worksheet other not found");
    }
    const TLog log = Take();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "obj2.Close(SaveChanges=false) = empty");
    EXPECT_EQ(log.back(), "app.Quit() = empty");
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(Recorded, SaveTOXLSSheetAddsTheMissingSheetToTheFileAndSavesInPlace)
{
    WriteBook(File("e.xlsx"), {{{1, 1}, Variant("kept")}}, "first");
    TCellGrid g(nullptr);
    Fill(g, 31, 11);
    g.SaveIncludesFixed = false;
    g.SaveTOXLSSheet(File("e.xlsx"), "new");
    const TLog log = Take();
    EXPECT_TRUE(Has(log, "obj5.Add() = obj6")) << Lines(log);
    EXPECT_TRUE(Has(log, "obj6.Name := \"new\""));
    EXPECT_TRUE(Has(log, "obj6.Range[\"A1:AD10\"] = obj7"));
    EXPECT_TRUE(Has(log, "obj2.Save() = empty"));
    g.LoadFromXLSSheet(File("e.xlsx"), "first");
    EXPECT_EQ(g.Cells(1, 1), "kept");
}

TEST_F(Recorded, RegressionASheetNameWithAControlCharacterAddedASheetAtEverySave)
{
    // The file cannot hold the character: the sheet was saved as "ab", and every later save
    // looked for "ab\x01", did not find it and added another.
    WriteBook(File("names.xlsx"), {{{1, 1}, Variant("kept")}}, "first");
    std::ifstream in(File("names.xlsx"), std::ios::binary);
    const std::string before(std::istreambuf_iterator<char>(in), {});
    TCellGrid g(nullptr);
    Fill(g, 2, 2);
    for (int save = 0; save < 2; ++save)
        EXPECT_THROW(g.SaveTOXLSSheet(File("names.xlsx"), "ab\x01"), EOleException);
    std::ifstream again(File("names.xlsx"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}), before);
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(Recorded, SaveToDOCWritesTheWholeGridWithAlignments)
{
    TCellGrid g(nullptr);
    Fill(g, 2, 2);
    g.AutoNumAlign = true;
    g.SetCells(1, 1, "42");
    g.SaveToDOC(File("f.docx"));
    const TLog log = Take();
    EXPECT_EQ(TLog(log.begin(), log.begin() + 5),
              (TLog{"app.Documents() = obj1", "obj1.Add() = obj2", "obj2.Range(start=0, end=0) = obj3",
                    "obj2.Tables() = obj4", "obj4.Add(obj3, numrows=2, numcolumns=2) = obj5"}));
    EXPECT_TRUE(Has(log, "obj15.Alignment := 2")) << Lines(log);
    EXPECT_EQ(log[log.size() - 2], "obj2.SaveAs(\"" + File("f.docx") + "\") = empty");
    EXPECT_TRUE(std::filesystem::file_size(File("f.docx")) > 0);
}

TEST_F(Recorded, AServerThatCannotBeMadeIsNotFound)
{
    SetOleObjectFactory([](const AnsiString&) { return nullptr; });
    TCellGrid g(nullptr);
    EXPECT_THROW(
        try { g.SaveToXLS(File("g.xlsx")); } catch (const ECellGridError& e) {
            EXPECT_EQ(e.Message, "Excel OLE server not found");
            throw;
        },
        ECellGridError);
    EXPECT_THROW(
        try { g.SaveToDOC(File("g.docx")); } catch (const ECellGridError& e) {
            EXPECT_EQ(e.Message, "Word OLE server not found");
            throw;
        },
        ECellGridError);
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(Recorded, ABrokenWorkbookRaisesTheServersErrorAndLeavesTheGrid)
{
    for (const std::string& bytes : {std::string("PK\x03\x04 truncated"), std::string("not a zip at all")}) {
        std::ofstream(File("h.xlsx"), std::ios::binary) << bytes;
        TCellGrid g(nullptr);
        g.SetCells(1, 1, "as it was");
        EXPECT_THROW(g.LoadFromXLS(File("h.xlsx")), EOleException);
        EXPECT_EQ(g.Cells(1, 1), "as it was");
        const TLog log = Take();
        ASSERT_EQ(log.size(), 3u) << Lines(log);
        EXPECT_EQ(log[1].find("obj1.Open"), 0u);
        EXPECT_NE(log[1].find(" raises The file is not a valid workbook"), std::string::npos);
        EXPECT_EQ(log[2], "app.Quit() = empty");
    }
}
