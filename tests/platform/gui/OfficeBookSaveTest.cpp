// Two programs saving one workbook: the second save goes over the file as the first left it, so
// both programs' sheets and cells are there after; under the file's lock, in this process and
// beside another, and through LibreOffice for other kinds of file.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/core/AtomicFile.h"
#include "platform/gui/OfficeConvert.h"
#include "platform/gui/OfficeWorkbook.h"
#include "platform/gui/OleAutomation.h"
#include "tests/TempName.h"
#include "tests/platform/core/Holders.h"
#include "tests/platform/gui/OfficeTestBook.h"

namespace {

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void PutFileBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// A workbook opened as a program opens it, with a server of its own.
TOleVariant OpenBook(const std::string& path)
{
    return OleCall(OleCall(TOleVariant(CreateOfficeServer("Excel.Application")), "WorkBooks"), "Open",
                   {TOleVariant(path)});
}

TOleVariant SheetNamed(const TOleVariant& book, const AnsiString& name)
{
    const TOleVariant sheets = OleCall(book, "Sheets");
    for (int i = 1; i <= OleCall(sheets, "Count").Value().AsInteger(); ++i)
        if (OleCall(OleGet(book, "Sheets", {TOleVariant(i)}), "Name").AsString() == name)
            return OleGet(book, "Sheets", {TOleVariant(i)});
    throw EOleException("no sheet " + name);
}

void PutInto(const TOleVariant& book, const AnsiString& sheet, const AnsiString& range, const AnsiString& value)
{
    OlePut(OleGet(SheetNamed(book, sheet), "Range", {TOleVariant(range)}), "Value", TOleVariant(value));
}

// The whole workbook a package holds: "Sheet[A1=1 B1=x] ..." in the sheets' order.
std::string WorkbookSummary(const std::string& bytes)
{
    try {
        std::string out;
        for (const TSheetData& sheet : ReadXlsx(bytes).Sheets) {
            out += (out.empty() ? "" : " ") + sheet.Name + "[";
            bool first = true;
            for (const auto& [at, value] : sheet.Cells) {
                out += (first ? "" : " ") + ColumnLetters(at.second) + std::to_string(at.first) + "=" + VarToStr(value);
                first = false;
            }
            out += "]";
        }
        return out;
    } catch (const EOleException& e) {
        return "unreadable";
    }
}

// The error a call raises; "" when it raises none.
std::string SaveRefusal(const std::function<void()>& call)
{
    try {
        call();
        return "";
    } catch (const EOleException& e) {
        return e.Message;
    }
}

const std::string kDataSheet = "Data[A1=1 B1=45002 A2=2 C2=Label A3=3]";

// One program's change to the workbook it opened.
using TBookChange = std::function<void(const TOleVariant& book)>;
TBookChange Puts(const AnsiString& sheet, const AnsiString& range, const AnsiString& value)
{
    return [=](const TOleVariant& book) { PutInto(book, sheet, range, value); };
}
TBookChange Adds(const AnsiString& sheet, const AnsiString& range, const AnsiString& value)
{
    return [=](const TOleVariant& book) {
        OlePut(OleCall(OleCall(book, "WorkSheets"), "Add"), "Name", TOleVariant(sheet));
        PutInto(book, sheet, range, value);
    };
}
TBookChange Renames(const AnsiString& from, const AnsiString& to)
{
    return [=](const TOleVariant& book) { OlePut(SheetNamed(book, from), "Name", TOleVariant(to)); };
}

// Two programs open the workbook of ExcelLikeBook; the first changes it and saves (or the file
// is changed another way), then the second changes what it opened and saves.
struct TTwoSaves {
    const char* Name;
    TBookChange First;
    TBookChange Second;
    std::string Refused;  // what the second save's refusal says, "" when it is not refused
    std::string Want;     // the workbook after
    std::function<void(const std::string& path)> Instead = {};  // done to the file in place of the first save
};
void PrintTo(const TTwoSaves& c, std::ostream* os) { *os << c.Name; }

class TwoProgramsSaveOneWorkbook : public ::testing::TestWithParam<TTwoSaves> {
protected:
    TScratchFolder Folder{"office-book-save"};
};

}  // namespace

TEST_P(TwoProgramsSaveOneWorkbook, TheSecondSaveKeepsTheFirstsChanges)
{
    const std::string path = Folder.File("book.xlsx");
    PutFileBytes(path, ZipOf(ExcelLikeBook()));
    const TOleVariant first = OpenBook(path), second = OpenBook(path);
    if (GetParam().Instead) {
        GetParam().Instead(path);
    } else {
        GetParam().First(first);
        OleCall(first, "Save");
    }
    const std::string between = FileBytes(path);
    GetParam().Second(second);
    const std::string raised = SaveRefusal([&] { OleCall(second, "Save"); });
    if (GetParam().Refused.empty()) {
        EXPECT_EQ(raised, "");
    } else {
        EXPECT_NE(raised.find(GetParam().Refused), std::string::npos) << raised;
        EXPECT_EQ(FileBytes(path), between) << "a refused save changed the file";
    }
    EXPECT_EQ(WorkbookSummary(FileBytes(path)), GetParam().Want);
}

const TTwoSaves kTwoSaves[] = {
    {"RegressionTheSecondSaveLostTheFirstProgramsSheet", Puts("Data", "E1", "a"), Puts("Other", "B1", "b"), "",
     "Data[A1=1 B1=45002 E1=a A2=2 C2=Label A3=3] Other[A1=x B1=b]"},
    {"TwoBoxesOfOneSheet", Puts("Data", "E1:F1", "a"), Puts("Data", "E2", "b"), "",
     "Data[A1=1 B1=45002 E1=a F1=a A2=2 C2=Label E2=b A3=3] Other[A1=x]"},
    {"ACellBothWroteHoldsTheLaterSave", Puts("Other", "A1", "a"), Puts("Other", "A1", "b"), "",
     kDataSheet + " Other[A1=b]"},
    {"SheetsAddedByBothGoBeforeTheSheetTheyStoodBefore", Adds("One", "A1", "1"), Adds("Two", "A1", "2"), "",
     kDataSheet + " One[A1=1] Two[A1=2] Other[A1=x]"},
    {"ASheetBothAddedUnderOneNameHoldsTheCellsOfBoth", Adds("Stats", "A1:A2", "1"), Adds("stats", "A2:B2", "2"), "",
     kDataSheet + " Stats[A1=1 A2=2 B2=2] Other[A1=x]"},
    {"ARenameByTheSecondKeepsTheFirstsCells", Puts("Other", "B1", "a"), Renames("Other", "Mine"), "",
     kDataSheet + " Mine[A1=x B1=a]"},
    {"ASheetOnlyListedBySecondKeepsTheFirstsRename", Renames("Other", "Theirs"), Puts("Data", "A1", "9"), "",
     "Data[A1=9 B1=45002 A2=2 C2=Label A3=3] Theirs[A1=x]"},
    {"ASheetWrittenByTheSecondThatTheFirstRenamedIsAddedAgain", Renames("Other", "Theirs"), Puts("Other", "B1", "b"),
     "", kDataSheet + " Theirs[A1=x] Other[A1=x B1=b]"},
    {"ANameTheFirstGaveAnotherSheetRefusesTheRename", Renames("Other", "Mine"), Renames("Data", "Mine"),
     "another sheet of the file is named Mine now", kDataSheet + " Mine[A1=x]"},
    {"CellsPastTheArraysSizeKeepTheFirstsValues", Puts("Other", "A2", "a"),
     [](const TOleVariant& book) {
         auto array = std::make_shared<TOleArray>(1, 1, 1, 1);
         array->At(1, 1) = TOleVariant("b");
         OlePut(OleGet(SheetNamed(book, "Other"), "Range", {TOleVariant("A1:A2")}), "Value", TOleVariant(array));
     },
     "", kDataSheet + " Other[A1=b A2=a]"},
    {"AFileThatCannotBeReadIsNotWrittenOver",
     {},
     Puts("Other", "B1", "b"),
     "the file as it is now cannot be read",
     "unreadable",
     [](const std::string& path) { PutFileBytes(path, "not a workbook"); }},
    {"AFileRemovedIsSavedAsOpenedWithTheChanges",
     {},
     Puts("Other", "B1", "b"),
     "",
     kDataSheet + " Other[A1=x B1=b]",
     [](const std::string& path) { std::filesystem::remove(path); }},
};
INSTANTIATE_TEST_SUITE_P(Sheets, TwoProgramsSaveOneWorkbook, ::testing::ValuesIn(kTwoSaves),
                         [](const ::testing::TestParamInfo<TTwoSaves>& row) { return std::string(row.param.Name); });

namespace {

class WorkbookSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(Folder.Path().empty());
        Path = Folder.File("book.xlsx");
        PutFileBytes(Path, ZipOf(ExcelLikeBook()));
    }
    TScratchFolder Folder{"office-book-save"};
    std::string Path;
};

}  // namespace

TEST_F(WorkbookSave, RegressionASaveBesideAnotherProcessLostItsSheet)
{
    const TOleVariant book = OpenBook(Path);
    // Another process opens the workbook after this one, writes its sheet and saves first.
    TChildHolding other([&] {
        try {
            const TOleVariant its = OpenBook(Path);
            PutInto(its, "Other", "B1", "b");
            OleCall(its, "Save");
            return true;
        } catch (...) {
            return false;
        }
    });
    ASSERT_TRUE(other.Ready());
    other.Release();
    PutInto(book, "Data", "E1", "a");
    OleCall(book, "Save");
    EXPECT_EQ(WorkbookSummary(FileBytes(Path)), "Data[A1=1 B1=45002 E1=a A2=2 C2=Label A3=3] Other[A1=x B1=b]");
}

TEST_F(WorkbookSave, ASaveAfterASaveGoesOverTheFileAsItIsThen)
{
    // After its save the workbook stands for what it wrote: what it wrote before is not written
    // again over what another program wrote since.
    const TOleVariant first = OpenBook(Path), second = OpenBook(Path);
    PutInto(first, "Other", "B1", "a");
    OleCall(first, "Save");
    PutInto(second, "Other", "B1", "b");
    OleCall(second, "Save");
    PutInto(first, "Data", "E1", "e");
    OleCall(first, "Save");
    EXPECT_EQ(WorkbookSummary(FileBytes(Path)), "Data[A1=1 B1=45002 E1=e A2=2 C2=Label A3=3] Other[A1=x B1=b]");
    // And it reads the sheets as saved, the other program's cells included.
    const TOleVariant read = OleCall(OleGet(SheetNamed(first, "Other"), "Range", {TOleVariant("B1")}), "value");
    EXPECT_EQ(read.Array()->At(1, 1).AsString(), "b");
}

TEST_F(WorkbookSave, SavingAsAnotherFileWritesTheWorkbookAsOpenedWithItsChanges)
{
    const TOleVariant first = OpenBook(Path), second = OpenBook(Path);
    PutInto(first, "Other", "B1", "a");
    OleCall(first, "Save");
    PutInto(second, "Data", "E1", "e");
    const std::string copy = Folder.File("copy.xlsx");
    OleCall(second, "SaveAs", {TOleVariant(copy)});
    EXPECT_EQ(WorkbookSummary(FileBytes(copy)), "Data[A1=1 B1=45002 E1=e A2=2 C2=Label A3=3] Other[A1=x]");
    // Saved as the file it was opened from, it is a save over that file.
    OleCall(first, "SaveAs", {TOleVariant(Folder.File("./book.xlsx"))});
    EXPECT_EQ(WorkbookSummary(FileBytes(Path)), kDataSheet + " Other[A1=x B1=a]");
}

TEST_F(WorkbookSave, ASaveWhileAnotherProcessHoldsTheFilesLockIsRefused)
{
    const std::string before = FileBytes(Path);
    const TOleVariant book = OpenBook(Path);
    PutInto(book, "Other", "B1", "b");
    {
        TChildHolding other([&] { return HoldLock(Path); });
        ASSERT_TRUE(other.Ready());
        const TPatience patience(std::chrono::milliseconds(50));
        EXPECT_NE(SaveRefusal([&] { OleCall(book, "Save"); }), "");
        EXPECT_EQ(FileBytes(Path), before);
        const std::string document = Folder.File("table.docx");
        TChildHolding holder([&] { return HoldLock(document); });
        ASSERT_TRUE(holder.Ready());
        const TOleVariant doc =
            OleCall(OleCall(TOleVariant(CreateOfficeServer("Word.Application")), "Documents"), "Add");
        EXPECT_NE(SaveRefusal([&] { OleCall(doc, "SaveAs", {TOleVariant(document)}); }), "");
        EXPECT_FALSE(std::filesystem::exists(document));
    }
    OleCall(book, "Save");
    EXPECT_EQ(WorkbookSummary(FileBytes(Path)), kDataSheet + " Other[A1=x B1=b]");
}

TEST_F(WorkbookSave, AnotherKindOfFileKeepsBothProgramsSheetsThroughLibreOffice)
{
    ASSERT_TRUE(OfficeInstalled()) << "LibreOffice (libreoffice-calc-nogui) is needed";
    const std::string ods = Folder.File("book.ods");
    OleCall(OpenBook(Path), "SaveAs", {TOleVariant(ods)});
    const TOleVariant first = OpenBook(ods), second = OpenBook(ods);
    PutInto(first, "Data", "E1", "a");
    OleCall(first, "Save");
    PutInto(second, "Other", "B1", "b");
    OleCall(second, "Save");
    const std::string back = ConvertWithOffice(ods, "xlsx", Folder.File("out"));
    // LibreOffice keeps the formula's value and the date's number as they were.
    EXPECT_EQ(WorkbookSummary(FileBytes(back)), "Data[A1=1 B1=45002 E1=a A2=2 C2=Label A3=3] Other[A1=x B1=b]");
}

// The folder of the workbook is renamed, and another made at its path, as soon as the second
// program's save has the file's lock: the save read and wrote the file by its path again, so it
// missed the first program's sheet and landed in the other folder.
TEST_F(WorkbookSave, RegressionASaveWroteAnotherFolderThanItLocked)
{
    const std::string sub = Folder.File("sub"), moved = Folder.File("sub-moved");
    ASSERT_EQ(mkdir(sub.c_str(), 0700), 0);
    PutFileBytes(sub + "/book.xlsx", ZipOf(ExcelLikeBook()));
    const TOleVariant first = OpenBook(sub + "/book.xlsx"), book = OpenBook(sub + "/book.xlsx");
    PutInto(first, "Data", "E1", "a");
    OleCall(first, "Save");
    PutInto(book, "Other", "B1", "b");
    SetAtSaveStep([&](TSaveStep step) {
        if (step == TSaveStep::LockTaken && std::rename(sub.c_str(), moved.c_str()) == 0)
            mkdir(sub.c_str(), 0700);
    });
    const std::string raised = SaveRefusal([&] { OleCall(book, "Save"); });
    SetAtSaveStep({});
    EXPECT_EQ(raised, "");
    EXPECT_EQ(WorkbookSummary(FileBytes(moved + "/book.xlsx")),
              "Data[A1=1 B1=45002 E1=a A2=2 C2=Label A3=3] Other[A1=x B1=b]");
    EXPECT_FALSE(std::filesystem::exists(sub + "/book.xlsx"));
}
