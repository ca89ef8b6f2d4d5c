// What a character window draws after its size or the shared fonts change: a window widened in
// one step draws its lines to the new width, and a Hangul font loaded for one window redraws every
// other. Each runs offscreen on the pictures the terminals make and, in the X run, on what the X
// server shows, with a window manager moving the windows as a player does.

#include <gtest/gtest.h>

#include <QImage>
#include <QScreen>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#include "ProgramTestSupport.h"
#include "WindowManager.h"
#include "app/forms/AnsiTerminal.h"
#include "platform/core/Cp949.h"
#include "platform/core/FilePaths.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/StoredPath.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/FrameBufferImage.h"
#include "platform/gui/WindowTimer.h"
#include "terminal/control/Terminal.h"
#include "terminal/draw/ScreenPainter.h"
#include "terminal/fonts/GlyphTables.h"

namespace {

constexpr int kLongLine = 110;

// A line of kLongLine digits: every cell of it holds ink.
AnsiString LongLine()
{
    AnsiString line;
    for (int i = 0; i < kLongLine; ++i)
        line += static_cast<char>('1' + i % 9);
    return line;
}

// The picture the terminal shows, as it makes it.
QImage Made(TTerminal& terminal) { return FrameBufferToImage(terminal.ShownImage(), TScreenPainter::Palette()); }

// The terminal's client area as the X server shows it now.
QImage OnScreen(TTerminal& terminal)
{
    QWidget* w = terminal.Handle();
    const QPoint origin = w->mapToGlobal(QPoint(0, 0));
    return w->screen()
        ->grabWindow(0, origin.x(), origin.y(), terminal.ClientWidth(), terminal.ClientHeight())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// The cells of a text row as '#' (some ink: a pixel not of the back colour) or '.' (none, or
// the cell lies beyond the picture), for every column of the terminal.
std::string InkedCells(const QImage& picture, TTerminal& terminal, int row)
{
    const QRgb back = ToQColor(terminal.BackColor()).rgb();
    std::string cells;
    for (int column = 0; column < terminal.Columns(); ++column) {
        const QRect cell(column * 8, row * 16, 8, 16);
        bool ink = false;
        for (int y = cell.top(); y <= cell.bottom() && picture.rect().contains(cell); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                ink = ink || picture.pixel(x, y) != back;
        cells += ink ? '#' : '.';
    }
    return cells;
}

// The row a line written now lands on.
int WriteLine(TTerminal& terminal, const AnsiString& line)
{
    terminal.DecodeText(line + "\r\n");
    return terminal.Core().CurY() - 1 - terminal.Core().LinePos();
}

// What a long line must show: every cell it fills inked, the rest of the row empty.
std::string LongLineCells(const TTerminal& terminal)
{
    return std::string(kLongLine, '#') + std::string(static_cast<size_t>(terminal.Columns() - kLongLine), '.');
}

// The strip of a picture that a line of `length` cells covers on a row.
QImage LineStrip(const QImage& picture, int row, int length)
{
    return picture.copy(0, row * 16, length * 8, 16).convertToFormat(QImage::Format_RGB32);
}

class TWindowDrawing : public TProgramTest {
protected:
    // The window of the book's first entry, over the book window.
    TAnsiTerminalForm* OpenWindow()
    {
        Start();
        return Books->CharBooksGridDblClickCell(1, 0);
    }
    // Two windows of their own entries; the second opened last, so it lies over the first.
    void OpenTwoWindows()
    {
        WriteBook(BookRecord("a", "A", 1) + BookRecord("b", "B", 2) + "#END\r\n");
        Start();
        First = Books->CharBooksGridDblClickCell(1, 0);
        Second = Books->CharBooksGridDblClickCell(2, 0);
    }
    // The glyph tables as the test found them, for the tests after it. The event loop's clock
    // instead of the manual one: the windows show what they draw at the next display frame.
    void SetUp() override
    {
        TProgramTest::SetUp();
        SetTimerService(&RealTime);
        Kept = GlyphTables();
    }
    void TearDown() override
    {
        TProgramTest::TearDown();
        RestoreGlyphTables(Kept);
    }
    // A Hangul font other than the one the terminal loaded: that font with every glyph one row
    // lower, written into the test's folder (the build may make only one).
    AnsiString OtherHanFont(const TTerminal& terminal)
    {
        const std::string loaded = ShippedFilePath(terminal.HanFontFile());
        std::string bytes = TempFolder::Read(loaded);
        if (bytes.size() % 32 != 0 || bytes.empty()) {
            ADD_FAILURE() << "the loaded Hangul font " << loaded << " cannot be read";
            return AnsiString();
        }
        for (size_t glyph = 0; glyph < bytes.size(); glyph += 32) {
            bytes.replace(glyph + 2, 30, bytes.substr(glyph, 30));
            bytes[glyph] = bytes[glyph + 1] = 0;
        }
        const std::string other = Folder.File("other.han");
        TempFolder::Write(other, bytes);
        return StoredPath(other);
    }
    // Both windows show a line of Hangul; then another Hangul font is loaded for the first. Gives
    // the second's picture of the line before the change and the first's own picture of it after.
    struct TFontChange {
        QImage Before, After;
        int SecondRow = 0, Length = 0;
    };
    TFontChange LoadAnotherHanFontForTheFirst(const std::function<QImage(TTerminal&)>& picture)
    {
        // 한글 원문 뭔 쥐
        const AnsiString line = "\xC7\xD1\xB1\xDB \xBF\xF8\xB9\xAE \xB9\xBA \xC1\xE3";
        TTerminal& first = *First->Terminal();
        TTerminal& second = *Second->Terminal();
        TFontChange change;
        change.Length = static_cast<int>(line.size());
        const int firstRow = WriteLine(first, line);
        change.SecondRow = WriteLine(second, line);
        const QImage made = LineStrip(Made(second), change.SecondRow, change.Length);
        EXPECT_TRUE(WaitUntil([&] { return LineStrip(picture(second), change.SecondRow, change.Length) == made; },
                              "the second window's line shown"));
        change.Before = LineStrip(picture(second), change.SecondRow, change.Length);
        first.SetHanFont(OtherHanFont(first));
        change.After = LineStrip(Made(first), firstRow, change.Length);
        return change;
    }
    TAnsiTerminalForm* First = nullptr;
    TAnsiTerminalForm* Second = nullptr;
    TGlyphTables Kept;
    TQtTimerService RealTime;
};

struct TWideningRow {
    const char* Name;
    int From, To;
};
void PrintTo(const TWideningRow& row, std::ostream* out) { *out << row.Name; }

class RegressionWindowWidenedInOneStep : public TWindowDrawing, public ::testing::WithParamInterface<TWideningRow> {};

// The screen image kept the old column count: a long line was drawn only to the old width.
TEST_P(RegressionWindowWidenedInOneStep, DrawsALongLineToTheNewWidth)
{
    TAnsiTerminalForm* window = OpenWindow();
    TTerminal& terminal = *window->Terminal();
    window->SetClientWidth(GetParam().From);
    PumpEvents();
    window->SetClientWidth(GetParam().To);
    PumpEvents();
    ASSERT_EQ(terminal.Columns(), (GetParam().To - 1 - 20) / 8);
    const int row = WriteLine(terminal, LongLine());
    EXPECT_EQ(InkedCells(Made(terminal), terminal, row), LongLineCells(terminal));
}

const TWideningRow kWideningRows[] = {
    {"FromEightyColumns", 661, 1000},
    {"FromFortySevenColumns", 400, 1000},
    {"ToTheWidestScreen", 661, 1900},
};
INSTANTIATE_TEST_SUITE_P(Widths, RegressionWindowWidenedInOneStep, ::testing::ValuesIn(kWideningRows),
                         [](const auto& row) { return std::string(row.param.Name); });

// As a player meets it: the window manager widens the window in one step (a size asked through
// xdotool, then, back at 80 columns, a double click on the title bar that maximises it), and the
// screen shows the long line written next whole.
TEST_F(TWindowDrawing, RealXRegressionWindowWidenedByTheWindowManagerDrawsALongLineWhole)
{
    REQUIRE_REAL_X("xdotool", "openbox");
    TWindowManager manager;
    ASSERT_TRUE(manager.Start());
    TAnsiTerminalForm* window = OpenWindow();
    TTerminal& terminal = *window->Terminal();
    QWidget* w = window->Handle();
    ASSERT_TRUE(WaitUntil([&] { return Exposed(w) && w->frameGeometry() != w->geometry(); }, "the window framed"));
    const QString id = QString::number(w->winId());
    const auto longLineShown = [&](const char* after) {
        ASSERT_GT(terminal.Columns(), kLongLine) << after;
        const int row = WriteLine(terminal, LongLine());
        EXPECT_TRUE(WaitUntil([&] { return InkedCells(OnScreen(terminal), terminal, row) == LongLineCells(terminal); },
                              std::string("the long line drawn whole after ") + after));
        EXPECT_EQ(InkedCells(OnScreen(terminal), terminal, row), LongLineCells(terminal)) << after;
    };

    RunServed("xdotool", {"windowsize", id, "1000", "600"});
    ASSERT_TRUE(WaitUntil([&] { return window->ClientWidth() == 1000 && !terminal.Resizing(); }, "the window widened"));
    longLineShown("a size asked of the window manager");

    RunServed("xdotool", {"windowsize", id, "661", "600"});
    ASSERT_TRUE(WaitUntil([&] { return terminal.Columns() == 80 && !terminal.Resizing(); }, "80 columns again"));
    const QRect frame = w->frameGeometry();
    const int titleY = frame.top() + (w->geometry().top() - frame.top()) / 2;
    RunServed("xdotool",
              {"mousemove", QString::number(frame.center().x()), QString::number(titleY), "click", "--repeat", "2",
               "--delay", "100", "1"});
    ASSERT_TRUE(WaitUntil([&] { return w->isMaximized() && terminal.Columns() > kLongLine && !terminal.Resizing(); },
                          "the window maximised"));
    longLineShown("maximising");
}

// The glyph tables are the program's: a Hangul font loaded for one window changed the glyphs of
// every window, but only that one drew its lines again; the other kept showing the old glyphs.
TEST_F(TWindowDrawing, RegressionAHangulFontLoadedForOneWindowRedrawsTheOther)
{
    OpenTwoWindows();
    const TFontChange change = LoadAnotherHanFontForTheFirst(Made);
    EXPECT_TRUE(change.Before != change.After) << "the two fonts draw the line alike";
    EXPECT_TRUE(LineStrip(Made(*Second->Terminal()), change.SecondRow, change.Length) == change.After)
        << "the second window keeps the old glyphs";
}

// The same on the X server: the second window, lying over the first, shows the line with the
// glyphs the first now draws.
TEST_F(TWindowDrawing, RealXRegressionAHangulFontLoadedForOneWindowRedrawsTheOther)
{
    REQUIRE_REAL_X();
    OpenTwoWindows();
    ASSERT_TRUE(WaitUntil([&] { return Exposed(First->Handle()) && Exposed(Second->Handle()); }, "both windows shown"));
    const TFontChange change = LoadAnotherHanFontForTheFirst(OnScreen);
    EXPECT_TRUE(change.Before != change.After) << "the two fonts draw the line alike";
    TTerminal& second = *Second->Terminal();
    EXPECT_TRUE(WaitUntil([&] { return LineStrip(OnScreen(second), change.SecondRow, change.Length) == change.After; },
                          "the second window's line drawn with the new font"));
}

// Fault: an entry naming a Hangul face that an earlier version made and this one no longer does
// ("Fonts\굴림.han") opened its window without Hangul. The window draws with the default face; the
// entry keeps its own.
TEST_F(TWindowDrawing, RegressionAnEntryNamingAFaceNoLongerMadeDrawsWithTheDefault)
{
    const AnsiString gone = "Fonts\\\xB1\xBC\xB8\xB2.han";
    WriteBook("#CHARACTER\r\nHostName    a~\r\nCharName    A~\r\nHost        h~\r\nPort        1\r\nHanFont     " +
              gone + "~\r\nEnd\r\n#END\r\n");
    Start();
    TAnsiTerminalForm* window = Books->CharBooksGridDblClickCell(1, 0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Terminal()->HanFontFile(), ProgramPath() + kDefaultHanFont);
    EXPECT_EQ(TCharBooks::CharBookList.front()->HanFont, gone);
}

}  // namespace
