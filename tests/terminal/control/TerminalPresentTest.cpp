#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QGuiApplication>
#include <QScreen>

#include "TerminalTestSupport.h"
#include "platform/core/Cp949.h"
#include "platform/core/TimerService.h"
#include "platform/gui/FrameBufferImage.h"

namespace {

// The clock goes in before the terminal is made, so its timers run on it.
struct TManualClock {
    TManualClock() { SetTimerService(&clock); }
    ~TManualClock() { SetTimerService(nullptr); }
    TManualTimerService clock{1000};
};

// Counts the paints the window system hands the terminal.
class TPaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
    int Paints = 0;
};

class TerminalPresent : public ::testing::Test, public TManualClock, public TTerminalFixture {
protected:
    TerminalPresent()
    {
        // The fonts the build wrote beside the program ink the text.
        term->SetHanFont(Utf8ToCp949("Fonts\\뻗음꼴.han"));
        term->SetEngFont(Utf8ToCp949("Fonts\\영문정형체.eng"));
        W()->installEventFilter(&counter);
        Settle();
        counter.Paints = 0;
    }
    void Settle()
    {
        for (int round = 0; round < 20; ++round) {
            QCoreApplication::sendPostedEvents();
            QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents);
        }
    }
    void Read(const AnsiString& text)
    {
        term->DecodeText(text);
        Settle();
    }
    // What the window system shows of the terminal, against what the terminal holds now.
    bool ShowsItsScreen()
    {
        const QImage shown = QGuiApplication::primaryScreen()
                                 ->grabWindow(0, W()->mapToGlobal(QPoint(0, 0)).x(), W()->mapToGlobal(QPoint(0, 0)).y())
                                 .toImage()
                                 .copy(0, 0, term->DrawnWidth(), term->ShownImage().Height())
                                 .convertToFormat(QImage::Format_RGB32);
        const QImage held =
            FrameBufferToImage(term->ShownImage(), TScreenPainter::Palette()).convertToFormat(QImage::Format_RGB32);
        return shown.size() == held.copy(0, 0, shown.width(), shown.height()).size() &&
            shown == held.copy(0, 0, shown.width(), shown.height());
    }
    TPaintCounter counter;
};

TEST_F(TerminalPresent, ReadsWithinOneFramePaintTheWindowOnce)
{
    Read("first read\r\n");
    EXPECT_EQ(counter.Paints, 1);
    for (const char* text : {"second\r\n", "third\r\n", "\x1b[31mfourth\x1b[0m\r\n"})
        Read(text);
    EXPECT_EQ(counter.Paints, 1);
    clock.Advance(16);
    Settle();
    EXPECT_EQ(counter.Paints, 2);
}

TEST_F(TerminalPresent, TheFrameAfterTheLastReadShowsItExactly)
{
    Read("\xC7\xD1\xB1\xDB one\r\n");  // "한글"
    EXPECT_TRUE(ShowsItsScreen());
    Read("two\r\n");
    Read("\x1b[1;33mthree\x1b[0m");
    EXPECT_FALSE(ShowsItsScreen());
    clock.Advance(16);
    Settle();
    EXPECT_TRUE(ShowsItsScreen());
}

TEST_F(TerminalPresent, AReadAfterAQuietFrameShowsAtOnce)
{
    Read("one\r\n");
    clock.Advance(40);
    Read("two\r\n");
    EXPECT_EQ(counter.Paints, 2);
    EXPECT_TRUE(ShowsItsScreen());
}

TEST_F(TerminalPresent, EveryReadStillReachesTheScanAtOnce)
{
    afterPut.clear();
    Read("a");
    Read("b");
    Read("c");
    EXPECT_EQ(afterPut, "abc");
    EXPECT_EQ(counter.Paints, 1);
}

}  // namespace
