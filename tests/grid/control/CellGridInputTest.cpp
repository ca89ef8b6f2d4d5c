// The cell grid's window side of keys, mouse and timer: the update lock against painting, cell
// hints, links, the selected text, resizing with the form and hovering.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>

#include "grid/control/CellGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/SyntheticInput.h"
#include "tests/grid/control/CellCentre.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

// Counts the times the grid paints.
class TCountingGrid : public TCellGrid {
public:
    using TCellGrid::TCellGrid;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        TCellGrid::Paint();
    }
};

struct TShown {
    TForm form{nullptr};
    TCellGrid* grid = nullptr;
    template <class G = TCellGrid>
    G* Make()
    {
        TestApplication();
        form.SetBounds(10, 10, 400, 300);
        auto* g = new G(&form);
        g->SetParent(&form);
        g->SetBounds(0, 0, 400, 300);
        form.Show();
        Settle(3);
        grid = g;
        return g;
    }
};

void Click(TCellGrid& g, int col, int row)
{
    const TPoint p = CellCentre(g, col, row);
    SendMouseInput(&g, maMove, mbLeft, p.x, p.y, {});
    SendMouseInput(&g, maDown, mbLeft, p.x, p.y, {});
    SendMouseInput(&g, maUp, mbLeft, p.x, p.y, {});
}

}  // namespace

TEST(CellGridInput, NothingPaintsUnderTheUpdateLockAndTheLastEndUpdatePaintsOnce)
{
    TShown shown;
    auto* g = shown.Make<TCountingGrid>();
    g->Repaint();
    const int before = g->Paints;
    g->BeginUpdate();
    g->BeginUpdate();
    g->SetCells(1, 1, "changed");
    g->Repaint();
    g->EndUpdate();
    g->Repaint();
    EXPECT_EQ(g->Paints, before);
    g->EndUpdate();
    Settle(3);
    EXPECT_EQ(g->Paints, before + 1);
    g->BeginUpdate();
    g->ResetUpdate();
    EXPECT_FALSE(g->LockFlag());
}

TEST(CellGridInput, HintsAnswerPerCell)
{
    TShown shown;
    TCellGrid* g = shown.Make();
    g->EnableGraphics = true;
    g->SetCells(1, 1, "cell text");
    g->AddComment(2, 2, "a comment");
    g->HintShowCells = true;
    const auto ask = [&](int col, int row) {
        THintInfo info;
        info.CursorPos = CellCentre(*g, col, row);
        info.HintStr = "default";
        const LRESULT refused = g->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(refused, 0);
        return info;
    };
    const THintInfo cell = ask(1, 1);
    EXPECT_TRUE(cell.Own);
    EXPECT_EQ(cell.HintStr, "cell text");
    EXPECT_EQ(cell.HintColor, clYellow);
    EXPECT_EQ(cell.HintPos, g->ClientToScreen(TPoint{g->CellRect(1, 1).Left, g->CellRect(1, 1).Top}));
    g->HintShowCells = false;
    const THintInfo comment = ask(2, 2);
    EXPECT_EQ(comment.HintStr, "a comment");
    EXPECT_EQ(comment.HintPos, g->ClientToScreen(TPoint{g->CellRect(2, 2).Right, g->CellRect(2, 2).Top}));
    g->OnGridHint = [](TObject*, int row, int col, AnsiString& text) { text = "at " + std::to_string(row); };
    EXPECT_EQ(ask(3, 3).HintStr, "at 3");
    EXPECT_EQ(g->HintCell(), (TGridCoord{3, 3}));
}

TEST(CellGridInput, RegressionOnlyWebAndMailLinksAreOpened)
{
    TShown shown;
    TCellGrid* g = shown.Make();
    g->SetURLShow(true);
    std::vector<AnsiString> opened;
    g->OpenLink = [&](const AnsiString& url) { opened.push_back(url); };
    g->SetCells(1, 1, "http://example.com/a");
    g->SetCells(2, 1, "mailto:someone@example.com");
    g->SetCells(3, 1, "<A href=\"file:///etc/passwd\">x</A>");
    g->SetCells(1, 2, "<A href=\"CELL://R4C3\">go</A>");
    Click(*g, 1, 1);
    Click(*g, 2, 1);
    const TRect r = g->CellRect(3, 1);
    SendMouseInput(g, maDown, mbLeft, r.Left + 4, r.Top + 6, {});
    SendMouseInput(g, maUp, mbLeft, r.Left + 4, r.Top + 6, {});
    EXPECT_EQ(opened, (std::vector<AnsiString>{"http://example.com/a", "mailto:someone@example.com"}));
    const TRect jump = g->CellRect(1, 2);
    SendMouseInput(g, maDown, mbLeft, jump.Left + 4, jump.Top + 6, {});
    SendMouseInput(g, maUp, mbLeft, jump.Left + 4, jump.Top + 6, {});
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 4);
}

TEST(CellGridInput, LinksShowTheProgramsHandUntilAGridIsLoadedFromAForm)
{
    TShown shown;
    TCellGrid* g = shown.Make();
    g->SetURLShow(true);
    g->SetCells(1, 1, "http://example.com/a");
    const auto over = [&](int col, int row) {
        const TPoint p = CellCentre(*g, col, row);
        SendMouseInput(g, maMove, mbLeft, p.x, p.y, {});
        return g->Handle()->cursor().shape();
    };
    ASSERT_EQ(TCellGrid::LinkCursor(), 8009);
    EXPECT_EQ(over(1, 1), Qt::BitmapCursor);
    EXPECT_EQ(over(2, 2), Qt::ArrowCursor);
    TCellGrid loaded(&shown.form);
    loaded.BeginLoading();
    loaded.EndLoading();
    EXPECT_EQ(TCellGrid::LinkCursor(), crHandPoint);
    EXPECT_EQ(over(1, 1), Qt::PointingHandCursor);
}

// The base grid's move showed its default cursor after the grid had chosen its own.
TEST(CellGridInput, RegressionTheBaseMoveHidTheSelectCursors)
{
    TShown shown;
    TCellGrid* g = shown.Make();
    g->MouseActions()->ColSelect = true;
    g->MouseActions()->RowSelect = true;
    const auto over = [&](int col, int row) {
        const TPoint p = CellCentre(*g, col, row);
        SendMouseInput(g, maMove, mbLeft, p.x, p.y, {});
        return std::pair{g->CursorKind(), g->Handle()->cursor().shape()};
    };
    EXPECT_EQ(over(2, 0), std::pair(1, Qt::BitmapCursor));
    EXPECT_EQ(over(0, 2), std::pair(2, Qt::BitmapCursor));
    EXPECT_EQ(over(2, 2), std::pair(0, Qt::ArrowCursor));
}

TEST(CellGridInput, RegressionSelectedTextTakesOnlyARichTextStartAsRichText)
{
    TestApplication();
    TCellGrid g(nullptr);
    g.SetCells(1, 1, "a{\\b}c");
    g.SetCells(2, 1, "{\\rtf1 plain}");
    g.SetCells(1, 2, "x");
    g.SetCells(2, 2, "y");
    g.SelectRange(1, 2, 1, 2);
    EXPECT_EQ(g.SelectedText(), "a{\\b}c\tplain\r\nx\ty\r\n");
    g.HideSelection();
    EXPECT_EQ(g.SelectedText(), "");
}

TEST(CellGridInput, RegressionGridsSizingWithTheFormMayBeFreedInAnyOrder)
{
    TestApplication();
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* first = new TCellGrid(&form);
    auto* second = new TCellGrid(&form);
    for (TCellGrid* g : {first, second}) {
        g->SetParent(&form);
        g->SetBounds(0, 0, 100, 50);
        g->SizeWithForm = true;
    }
    form.Show();
    Settle(3);
    delete first;
    form.SetBounds(0, 0, 340, 230);
    Settle(3);
    EXPECT_EQ(second->Width(), 140);
    EXPECT_EQ(second->Height(), 80);
}

TEST(CellGridInput, RegressionHoveringNeverTakesTheFocusFromAnotherWindow)
{
    TShown shown;
    TCellGrid* g = shown.Make();
    g->SetHovering(true);
    TForm other(nullptr);
    other.SetBounds(500, 500, 100, 100);
    other.Show();
    other.BringToFront();
    Settle(5);
    QCursor::setPos(QPoint(g->ClientToScreen(CellCentre(*g, 3, 3)).x, g->ClientToScreen(CellCentre(*g, 3, 3)).y));
    g->HoverTick();
    EXPECT_EQ(g->Row(), 1);
    EXPECT_FALSE(g->Focused() && !shown.form.Active());
}

TEST(CellGridInput, FindStateIsTheGridsLastHit)
{
    TestApplication();
    TCellGrid g(nullptr);
    g.SetCells(2, 3, "needle");
    g.FindFirst("NEEDLE", {});
    EXPECT_EQ(g.FindCol(), 2);
    EXPECT_EQ(g.FindRow(), 3);
    g.FindNext();
    EXPECT_EQ(g.FindCol(), -1);
}

namespace {

// Keeps the part of the window each paint covers.
class TClipGrid : public TCellGrid {
public:
    using TCellGrid::TCellGrid;
    std::vector<TRect> Clips;

protected:
    void Paint() override
    {
        Clips.push_back(Canvas()->ClipRect());
        TCellGrid::Paint();
    }
};

}  // namespace

// A caller that drew on the bitmaps of a block of cells has that block painted again; a block
// reaching out of view has the whole grid painted.
TEST(CellGridInput, RepaintRectPaintsTheBlockOfCells)
{
    TShown shown;
    auto* g = shown.Make<TClipGrid>();
    g->EnableGraphics = true;
    TBitmap* mark = g->CreateBitmap(2, 2, false, haLeft, vaTop);
    mark->SetSize(8, 8);
    Settle(3);
    g->Clips.clear();
    mark->Canvas()->Brush()->SetColor(clRed);
    mark->Canvas()->FillRect(TRect{0, 0, 8, 8});
    g->RepaintRect(TRect{1, 1, 2, 2});
    Settle(3);
    TRect block{};
    UnionRect(block, g->CellRect(1, 1), g->CellRect(2, 2));
    ASSERT_EQ(g->Clips.size(), 1u);
    EXPECT_EQ(g->Clips[0], block);
    g->Clips.clear();
    g->RepaintRect(TRect{1, 1, 2, 400});
    Settle(3);
    ASSERT_EQ(g->Clips.size(), 1u);
    EXPECT_EQ(g->Clips[0], g->ClientRect());
}
