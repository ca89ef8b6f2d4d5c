// Runs only on a real X display (CTest starts it under Xvfb): xclip reads what the grid copied
// (text and text/rtf) and fills the clipboard for a paste, and xdotool drags text from one grid
// window to another.

#include <gtest/gtest.h>

#include <QProcess>
#include <QWidget>
#include <QWindow>
#include <string>

#include "grid/control/CellGrid.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Forms.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

// xclip holding the clipboard with Bytes as Target, in the foreground so that it can be stopped
// by its process when the test ends.
class THeldClipboard {
public:
    THeldClipboard(const QByteArray& Bytes, const char* Target)
    {
        // This process gives the clipboard up first, so what it reads next is xclip's.
        Clipboard()->Clear();
        Settle(10);
        FXclip.start(QStringLiteral("xclip"),
                     {QStringLiteral("-quiet"), QStringLiteral("-selection"), QStringLiteral("clipboard"),
                      QStringLiteral("-t"), QString::fromLatin1(Target), QStringLiteral("-i")});
        EXPECT_TRUE(FXclip.waitForStarted(5000));
        FXclip.write(Bytes);
        FXclip.closeWriteChannel();
        // xclip owns the selection once it has read its input.
        EXPECT_TRUE(WaitUntil([] { return Clipboard()->HasFormat(CF_TEXT) || Clipboard()->HasFormat(RtfFormat()); },
                              std::string("xclip's ") + Target + " on the clipboard"));
    }
    ~THeldClipboard()
    {
        FXclip.kill();
        FXclip.waitForFinished(2000);
    }
    static unsigned RtfFormat() { return RegisterClipboardFormat("Rich Text Format"); }

private:
    QProcess FXclip;
};

// A form with a grid, at a place on the screen.
struct TGridWindow {
    TForm form{nullptr};
    TCellGrid* grid = nullptr;
    TGridWindow(int left, int top)
    {
        form.SetBounds(left, top, 330, 200);
        grid = new TCellGrid(&form);
        grid->SetBounds(0, 0, 330, 200);
        grid->SetParent(&form);
        grid->SetOptions(grid->Options() << goEditing);
        form.Show();
        // The window must be on the screen before xdotool points at it.
        EXPECT_TRUE(WaitUntil([this] { return Exposed(form.Handle()); }, "the grid's window on the screen"));
    }
    std::string At(int col, int row, int dx = 0) const
    {
        const TRect r = grid->CellRect(col, row);
        const TPoint p = grid->ClientToScreen(TPoint{(r.Left + r.Right) / 2 + dx, (r.Top + r.Bottom) / 2});
        return std::to_string(p.x) + " " + std::to_string(p.y);
    }
};

}  // namespace

TEST(CellGridRealXClipboard, XclipReadsTheCopiedTextAndRichText)
{
    REQUIRE_REAL_X("xclip");
    TGridWindow w(40, 40);
    w.grid->Navigation()->AllowRTFClipboard = true;
    w.grid->SetCells(1, 1, "{\\rtf1\\ansi {\\b \xC7\xD1}}");
    w.grid->SetCells(2, 1, "\xB1\xDB");
    w.grid->CopyFunc(TGridRect{1, 1, 2, 1});
    const QByteArray targets = RunServed(QStringLiteral("xclip"), {"-selection", "clipboard", "-t", "TARGETS", "-o"});
    EXPECT_TRUE(targets.contains("text/rtf")) << targets.toStdString();
    EXPECT_EQ(RunServed(QStringLiteral("xclip"), {"-selection", "clipboard", "-o"}).toStdString(),
              "\xED\x95\x9C\t\xEA\xB8\x80\r\n");  // 한 TAB 글, UTF-8, no zero byte
    EXPECT_EQ(RunServed(QStringLiteral("xclip"), {"-selection", "clipboard", "-t", "text/rtf", "-o"}).toStdString(),
              "{\\rtf1\\ansi {\\b \xC7\xD1}}");
}

TEST(CellGridRealXClipboard, APasteTakesWhatXclipHolds)
{
    REQUIRE_REAL_X("xclip");
    TGridWindow w(40, 40);
    {
        // LF-only lines, as programs here write them, read as CR LF.
        THeldClipboard held("\xED\x95\x9C\tb\nc\td\n", "UTF8_STRING");
        EXPECT_EQ(w.grid->PasteFunc(1, 1), 4);
    }
    EXPECT_EQ(w.grid->Cells(1, 1), "\xC7\xD1");
    EXPECT_EQ(w.grid->Cells(2, 2), "d");
    w.grid->Navigation()->AllowRTFClipboard = true;
    {
        THeldClipboard held("{\\rtf1 x}", "text/rtf");
        EXPECT_EQ(w.grid->PasteFunc(3, 3), 0);
    }
    EXPECT_EQ(w.grid->Cells(3, 3), "{\\rtf1 x}");
}

TEST(CellGridRealXDrag, TextDraggedFromOneGridDropsOnAnother)
{
    REQUIRE_REAL_X("xdotool");
    TGridWindow source(20, 20), target(400, 20);
    source.grid->SetOptions(source.grid->Options() >> goEditing);
    source.grid->OleDropSource = true;
    source.grid->SetCells(1, 1, "dragged");
    source.grid->SetSelection(TGridRect{1, 1, 1, 1});
    target.grid->SetOleDropTarget(true);
    std::string stopped;
    source.grid->OnOleDragStop = [&](TObject*, int effect) { stopped = std::to_string(effect); };
    // The drag runs its own loop once the move starts it; xdotool goes on meanwhile.
    QProcess xdotool;
    xdotool.start(QStringLiteral("sh"),
                  {QStringLiteral("-c"),
                   QString::fromStdString("xdotool mousemove " + source.At(1, 1) +
                                          " sleep 0.3 mousedown 1 sleep 0.2"
                                          " mousemove " +
                                          source.At(1, 1, 8) + " sleep 0.3 mousemove " + source.At(1, 1, 30) +
                                          " sleep 0.3 mousemove " + target.At(2, 2) + " sleep 0.3 mousemove " +
                                          target.At(2, 2, 2) + " sleep 0.3 mouseup 1")});
    ASSERT_TRUE(xdotool.waitForStarted(kXDeadlineMs));
    EXPECT_TRUE(WaitUntil([&] { return xdotool.state() == QProcess::NotRunning; }, "the end of xdotool's drag"));
    xdotool.kill();
    ASSERT_TRUE(WaitUntil([&] { return !stopped.empty(); }, "OnOleDragStop"));
    // The pointer leaves the grids so that nothing it rests on shows in later pictures.
    RunServed(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("1000"), QStringLiteral("700")});
    EXPECT_EQ(target.grid->Cells(2, 2), "dragged");
    EXPECT_EQ(stopped, "2");                  // moved
    EXPECT_EQ(source.grid->Cells(1, 1), "");  // a move takes the text away
}
