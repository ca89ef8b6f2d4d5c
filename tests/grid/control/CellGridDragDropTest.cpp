// Drops on the grid with data made in the test: which drags are accepted where, with which
// effect, and what each kind of drop does to the cells; hostile names and texts through Qt's
// drop data as another program hands it over. One named case a row.

#include <unistd.h>

#include <gtest/gtest.h>

#include <QMimeData>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include "grid/control/CellGrid.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

struct TDropCase {
    const char* Name;
    TDragData Data;
    int Col, Row;
    bool Ctrl = false;
    std::function<void(TCellGrid&)> Setup = nullptr;
    const char* Effect;  // copy, move or none
    const char* Cells;   // the grid's rows 1 and 2 after the drop ("" to skip)
};
void PrintTo(const TDropCase& c, std::ostream* os) { *os << c.Name; }

TDragData Text(const char* text)
{
    TDragData d;
    d.HasText = true;
    d.Text = text;
    return d;
}

TDragData Rich(const char* rtf)
{
    TDragData d;
    d.HasRTF = true;
    d.RTF = rtf;
    return d;
}

TDragData Column(int col)
{
    TDragData d;
    d.Col = col;
    return d;
}

TDragData Files(std::vector<AnsiString> files)
{
    TDragData d;
    d.Files = std::move(files);
    return d;
}

std::string Rows(const TCellGrid& g)
{
    std::string out;
    for (int r = 1; r <= 2; ++r) {
        out += r > 1 ? "/" : "";
        for (int c = 0; c < g.ColCount(); ++c)
            out += (c ? "|" : "") + g.Cells(c, r);
    }
    return out;
}

// One folder a process: CTest runs the rows side by side.
const std::string kFolder =
    std::filesystem::temp_directory_path().string() + "/grid-drop-test-" + std::to_string(getpid());

}  // namespace

class CellGridDrop : public ::testing::TestWithParam<TDropCase> {
protected:
    static void SetUpTestSuite()
    {
        std::filesystem::create_directories(kFolder + "/folder.csv");
        std::ofstream(kFolder + "/data.csv.bak") << "x,y\r\n1,2\r\n";
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(kFolder); }
};

TEST_P(CellGridDrop, DecidesAndDrops)
{
    TestApplication();
    TCellGrid g(nullptr);
    g.SetColCount(3);
    g.SetRowCount(4);
    g.SetOptions(g.Options() << goEditing);
    SetRTFAware(false);
    if (GetParam().Setup)
        GetParam().Setup(g);
    const TRect cell = g.CellRect(GetParam().Col, GetParam().Row);
    const TPoint point{(cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2};
    TShiftState keys;
    if (GetParam().Ctrl)
        keys << ssCtrl;
    TDropTarget* target = g.OleDropTargetObject();
    target->DragEnter(GetParam().Data, point);
    int effect = target->DragOver(keys, point);
    if (effect != DROPEFFECT_NONE)
        effect = target->Drop(GetParam().Data, keys, point);
    else
        target->DragLeave();
    EXPECT_EQ(effect == DROPEFFECT_COPY       ? "copy"
                  : effect == DROPEFFECT_MOVE ? "move"
                                              : "none",
              std::string(GetParam().Effect));
    if (*GetParam().Cells) {
        EXPECT_EQ(Rows(g), GetParam().Cells);
    }
    SetRTFAware(false);
}

const TDropCase kDrops[] = {
    {"TextOnACellMovesAndPastes", Text("a\tb"), 1, 1, false, nullptr, "move", "|a|b/||"},
    {"TextWithCtrlCopies", Text("a"), 2, 2, true, nullptr, "copy", "||/||a"},
    {"TextOnTheHeaderIsRefused", Text("a"), 1, 0, false, nullptr, "none", "||/||"},
    {"TextRefusedWithoutOleAcceptText", Text("a"), 1, 1, false, [](TCellGrid& g) { g.OleAcceptText = false; }, "none",
     "||/||"},
    {"DragOverEventMayRefuse", Text("a"), 1, 1, false,
     [](TCellGrid& g) { g.OnOleDragOver = [](TObject*, int, int, bool& allow) { allow = false; }; }, "none", "||/||"},
    {"DropEventMayRefuseTheText", Text("a"), 1, 1, false,
     [](TCellGrid& g) { g.OnOleDrop = [](TObject*, int, int, AnsiString, bool& allow) { allow = false; }; }, "move",
     "||/||"},
    {"InsertRowsMakesRoomForTheText", Text("a\r\nb\r\n"), 1, 1, false,
     [](TCellGrid& g) {
         g.OleInsertRows = true;
         g.SetCells(1, 1, "old");
     },
     "move", "|a|/|b|"},
    {"RichTextIsRefusedUnlessRichTextTravels", Rich("{\\rtf1 x}"), 1, 1, false, nullptr, "none", "||/||"},
    {"RichTextGoesIntoOneCellWhenItTravels", Rich("{\\rtf1 x}"), 1, 1, false,
     [](TCellGrid& g) { g.SetOleDropRTF(true); }, "move", "|{\\rtf1 x}|/||"},
    {"AColumnIsRefusedUnlessColumnsAreAccepted", Column(2), 1, 0, false, nullptr, "none", ""},
    {"AColumnOnADataRowIsRefused", Column(2), 1, 1, false, [](TCellGrid& g) { g.OleAcceptCols = true; }, "none", ""},
    {"AColumnOnTheHeaderGoesToTheEvent", Column(2), 1, 0, false,
     [](TCellGrid& g) {
         g.OleAcceptCols = true;
         g.OnOleDropCol = [&g](TObject*, int row, int col, int dropped) {
             g.SetCells(1, 1, std::to_string(row) + "," + std::to_string(col) + "<" + std::to_string(dropped));
         };
     },
     "move", "|0,1<2|/||"},
    {"TwoFilesDoNothing", Files({kFolder + "/data.csv.bak", kFolder + "/data.csv.bak"}), 1, 1, false, nullptr, "move",
     "||/||"},
    {"OneFileNamedLikeCsvLoadsAsCsv", Files({kFolder + "/data.csv.bak"}), 1, 1, false, nullptr, "move", "1|2|/||"},
    {"RegressionAFolderNamedLikeCsvIsNotLoaded", Files({kFolder + "/folder.csv"}), 1, 1, false, nullptr, "move",
     "||/||"},
    {"FilesRefusedWithoutOleAcceptFiles", Files({kFolder + "/data.csv.bak"}), 1, 1, false,
     [](TCellGrid& g) { g.OleAcceptFiles = false; }, "none", "||/||"},
};
INSTANTIATE_TEST_SUITE_P(Drops, CellGridDrop, ::testing::ValuesIn(kDrops),
                         [](const ::testing::TestParamInfo<TDropCase>& row) { return std::string(row.param.Name); });

namespace {

struct THostileDrop {
    const char* Name;
    QByteArray Format;  // the MIME type dropped
    QByteArray Data;
    const char* Cells;  // the grid's rows 1 and 2 after the drop
};
void PrintTo(const THostileDrop& c, std::ostream* os) { *os << c.Name; }

// A file address of the test's folder, its name as written (escapes kept).
QByteArray FileUrl(const char* Name)
{
    return QByteArray("file://") + QUrl::toPercentEncoding(QString::fromStdString(kFolder), "/") + "/" + Name + "\r\n";
}

// Files whose names hold every byte the rows drop; each would load if its name were taken.
const char* const kHostileFiles[] = {"plainfile", "line\nbreak.csv", "del\x7f.csv", "\xea\xb0\x80.csv"};

}  // namespace

class CellGridHostileDrop : public ::testing::TestWithParam<THostileDrop> {};

TEST_P(CellGridHostileDrop, TakesOnlyWhatItShould)
{
    TestApplication();
    std::filesystem::create_directories(kFolder);
    for (const char* name : kHostileFiles)
        std::ofstream(kFolder + "/" + name) << "x,y\r\n1,2\r\n";
    TCellGrid g(nullptr);
    g.SetColCount(3);
    g.SetRowCount(4);
    g.SetOptions(g.Options() << goEditing);
    g.SetOleDropRTF(true);
    QMimeData mime;
    mime.setData(GetParam().Format, GetParam().Data);
    const TDragData data = DragDataOf(mime);
    const TRect cell = g.CellRect(1, 1);
    const TPoint point{(cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2};
    TDropTarget* target = g.OleDropTargetObject();
    target->DragEnter(data, point);
    ASSERT_NE(target->DragOver({}, point), DROPEFFECT_NONE);
    target->Drop(data, {}, point);
    EXPECT_EQ(Rows(g), GetParam().Cells);
    SetRTFAware(false);
    std::filesystem::remove_all(kFolder);
}

const THostileDrop kHostileDrops[] = {
    {"RegressionANulInTheNameLoadsNothing", "text/uri-list", FileUrl("plainfile%00.csv"), "||/||"},
    {"ALineBreakInTheNameLoadsNothing", "text/uri-list", FileUrl("line%0Abreak.csv"), "||/||"},
    {"ADeleteInTheNameLoadsNothing", "text/uri-list", FileUrl("del%7F.csv"), "||/||"},
    {"AHangulNameLoads", "text/uri-list", FileUrl("%EA%B0%80.csv"), "1|2|/||"},
    {"TextStopsAtItsNul", "text/plain", QByteArray("a\tb\0c\td", 7), "|a|b/||"},
    {"RichTextStopsAtItsNul", "text/rtf", QByteArray("{\\rtf1 x}\0{\\rtf1 y}", 19), "|{\\rtf1 x}|/||"},
};
INSTANTIATE_TEST_SUITE_P(Drops, CellGridHostileDrop, ::testing::ValuesIn(kHostileDrops),
                         [](const ::testing::TestParamInfo<THostileDrop>& row) { return std::string(row.param.Name); });

TEST(CellGridDropMarkers, AColumnOverTheHeaderShowsTwoArrowsAndLeavingHidesThem)
{
    TestApplication();
    TCellGrid g(nullptr);
    g.OleAcceptCols = true;
    TDropTarget* target = g.OleDropTargetObject();
    const TRect header = g.CellRect(2, 0);
    target->DragEnter(Column(1), TPoint{header.Left + 3, header.Top + 3});
    EXPECT_EQ(target->DragOver({}, TPoint{header.Left + 3, header.Top + 3}), DROPEFFECT_MOVE);
    EXPECT_TRUE(g.OleArrowShown(0) && g.OleArrowShown(1));
    EXPECT_FALSE(g.OleArrowShown(2));
    const TRect data = g.CellRect(2, 2);
    EXPECT_EQ(target->DragOver({}, TPoint{data.Left + 3, data.Top + 3}), DROPEFFECT_NONE);
    EXPECT_FALSE(g.OleArrowShown(0) || g.OleArrowShown(1));
    target->DragEnter(Text("t"), TPoint{data.Left + 3, data.Top + 3});
    EXPECT_EQ(target->DragOver({}, TPoint{data.Left + 3, data.Top + 3}), DROPEFFECT_MOVE);
    EXPECT_TRUE(g.OleArrowShown(2));
    target->DragLeave();
    EXPECT_FALSE(g.OleArrowShown(2));
}
