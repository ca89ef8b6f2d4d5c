// The grid's clipboard through the program's clipboard: what copy puts on it, what cut clears,
// rich text beside plain text, the keys and their events, and what a paste reports.

#include <gtest/gtest.h>

#include "grid/control/CellGrid.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Clipboard.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

// A grid that keeps what PasteNotify was told.
class TNotedGrid : public TCellGrid {
public:
    TNotedGrid() : TCellGrid(nullptr)
    {
        SetOptions(Options() << goEditing << goRangeSelect);
        for (int r = 0; r < RowCount(); ++r)
            for (int c = 0; c < ColCount(); ++c)
                SetCells(c, r, std::string(1, static_cast<char>('a' + c)) + std::to_string(r));
    }
    void PasteNotify(const TPoint& Origin, const TGridRect& Rect, TClipOperation Operation) override
    {
        Noted = std::to_string(Origin.x) + "," + std::to_string(Origin.y) + " " + std::to_string(Rect.Left) + "," +
            std::to_string(Rect.Top) + "-" + std::to_string(Rect.Right) + "," + std::to_string(Rect.Bottom) +
            (Operation == coCut ? " cut" : " copy");
    }
    std::string Noted;
};

unsigned Rtf() { return RegisterClipboardFormat("Rich Text Format"); }

}  // namespace

TEST(CellGridClipboard, CopyPutsTheSelectionAsTabbedLinesAndPasteReportsWhatItDid)
{
    TestApplication();
    TNotedGrid g;
    g.SetSelection(TGridRect{1, 1, 2, 2});
    g.CopySelectionToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "b1\tc1\r\nb2\tc2\r\n");
    EXPECT_EQ(g.LastClipOperation(), coCopy);
    EXPECT_EQ(g.PasteFunc(2, 3), 4);
    EXPECT_EQ(g.Cells(3, 4), "c2");
    EXPECT_EQ(g.Noted, "1,1 2,3-3,4 copy");
}

TEST(CellGridClipboard, RegressionCutClearsOnlyTheRangeItCopied)
{
    TestApplication();
    TNotedGrid g;
    g.SaveIncludesFixed = false;
    g.Navigation()->AllowClipboardAlways = true;
    g.CutToClipboard();
    EXPECT_EQ(g.Cells(0, 0), "a0");  // fixed cells are outside the copied range
    EXPECT_EQ(g.Cells(0, 3), "a3");
    EXPECT_EQ(g.Cells(1, 1), "");
    EXPECT_EQ(g.LastClipOperation(), coCut);
    EXPECT_EQ(Clipboard()->AsText().substr(0, 11), "b1\tc1\td1\te1");
}

TEST(CellGridClipboard, CutOfAReadOnlyCellLeavesItUnlessAlways)
{
    TestApplication();
    TNotedGrid g;
    g.OnCanEditCell = [](TObject*, int, int col, bool& canEdit) { canEdit = col != 2; };
    g.SetSelection(TGridRect{1, 1, 2, 1});
    g.CutSelectionToClipboard();
    EXPECT_EQ(g.Cells(1, 1), "");
    EXPECT_EQ(g.Cells(2, 1), "c1");
    g.Navigation()->AllowClipboardAlways = true;
    g.CutSelectionToClipboard();
    EXPECT_EQ(g.Cells(2, 1), "");
}

TEST(CellGridClipboard, RegressionAMultiLineCellInTheLastColumnPastesBackWhole)
{
    TestApplication();
    TNotedGrid g;
    g.SetCells(1, 1, "<B>bold</B>");
    g.SetCells(2, 1, "two\r\nlines");
    g.Multilinecells = true;
    g.ClipboardCSVLines = true;
    g.CopyFunc(TGridRect{1, 1, 2, 1});
    EXPECT_EQ(Clipboard()->AsText(), "<B>bold</B>\t\"two\nlines\"\r\n");
    g.Navigation()->CopyHTMLTagsToClipboard = false;
    g.CopyFunc(TGridRect{1, 1, 2, 1});
    EXPECT_EQ(Clipboard()->AsText(), "bold\t\"two\nlines\"\r\n");
    EXPECT_EQ(g.PasteFunc(1, 3), 2);
    EXPECT_EQ(g.Cells(2, 3), "two\r\nlines");
}

TEST(CellGridClipboard, RichTextTravelsBesideThePlainText)
{
    TestApplication();
    TNotedGrid g;
    g.Navigation()->AllowRTFClipboard = true;
    const std::string rich = "{\\rtf1\\ansi {\\b rich}}";
    g.SetCells(1, 1, rich);
    g.CopyFunc(TGridRect{1, 1, 1, 1});
    EXPECT_EQ(Clipboard()->GetBytes(Rtf()), rich);
    EXPECT_EQ(Clipboard()->AsText(), "rich\r\n");
    EXPECT_EQ(g.PasteFunc(3, 3), 0);
    EXPECT_EQ(g.Cells(3, 3), rich);
}

TEST(CellGridClipboard, KeysCopyCutAndPasteWhenTheirEventsAllow)
{
    TestApplication();
    TNotedGrid g;
    g.Navigation()->AllowClipboardShortCuts = true;
    bool allowCopy = false;
    g.OnClipboardCopy = [&](TObject*, bool& allow) { allow = allowCopy; };
    g.SetSelection(TGridRect{1, 1, 1, 1});
    Clipboard()->SetAsText("before");
    EXPECT_TRUE(g.ClipboardKey('C', TShiftState() << ssCtrl));
    EXPECT_EQ(Clipboard()->AsText(), "before");
    allowCopy = true;
    EXPECT_TRUE(g.ClipboardKey(VK_INSERT, TShiftState() << ssCtrl));
    EXPECT_EQ(Clipboard()->AsText(), "b1\r\n");
    g.SetSelection(TGridRect{2, 2, 2, 2});
    EXPECT_TRUE(g.ClipboardKey(VK_INSERT, TShiftState() << ssShift));
    EXPECT_EQ(g.Cells(2, 2), "b1");
    EXPECT_TRUE(g.ClipboardKey(VK_DELETE, TShiftState() << ssShift));
    EXPECT_EQ(g.Cells(2, 2), "");
    EXPECT_FALSE(g.ClipboardKey('A', TShiftState() << ssCtrl));
    g.Navigation()->AllowClipboardShortCuts = false;
    EXPECT_FALSE(g.ClipboardKey('C', TShiftState() << ssCtrl));
}

TEST(CellGridClipboard, RegressionAPasteSkippedEditableCellsWhileTheCurrentCellWasReadOnly)
{
    TestApplication();
    TNotedGrid g;
    g.OnCanEditCell = [](TObject*, int, int col, bool& canEdit) { canEdit = col != 2; };
    // The read-only current cell switches goEditing off while it is current.
    g.FocusCell(2, 1, true);
    Clipboard()->SetAsText("x\ty\tz");
    g.PasteFunc(1, 1);
    EXPECT_EQ(g.Cells(1, 1), "x");
    EXPECT_EQ(g.Cells(2, 1), "c1");
    EXPECT_EQ(g.Cells(3, 1), "z");
}

TEST(CellGridClipboard, PasteNeedsEditingOrAlways)
{
    TestApplication();
    TNotedGrid g;
    g.SetOptions(g.Options() >> goEditing);
    Clipboard()->SetAsText("x");
    EXPECT_EQ(g.PasteFunc(1, 1), 0);
    EXPECT_EQ(g.Cells(1, 1), "b1");
    g.Navigation()->AllowClipboardAlways = true;
    EXPECT_EQ(g.PasteFunc(1, 1), 1);
    EXPECT_EQ(g.Cells(1, 1), "x");
}

// Another program's text with a NUL in it: the paste takes what comes before the NUL, as it
// takes a zero-terminated block.
TEST(CellGridClipboard, RegressionPastedTextStopsAtItsNul)
{
    TestApplication();
    TNotedGrid g;
    Clipboard()->SetAsText(std::string("x\ty\0z\tw", 7));
    EXPECT_EQ(g.PasteFunc(1, 1), 2);
    EXPECT_EQ(g.Cells(1, 1) + "|" + g.Cells(2, 1) + "|" + g.Cells(3, 1), "x|y|d1");
}
