#pragma once
// Waiting on the X server and on the programs a test starts (xdotool, xclip), which a loaded
// machine makes slow by seconds: the event loop runs, so this process keeps answering the X
// server, until what the test expects has come. Only a wait that passes the generous deadline
// fails, and its message says what never came. Header-only, so that every test program with a
// real X display can use it whatever support file it links.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <string>

// Long enough for a sanitizer build on two busy cores; a test that passes waits far less.
inline constexpr int kXDeadlineMs = 30000;

// Runs the event loop until done() holds; false once deadlineMs have passed.
inline bool LoopUntil(const std::function<bool()>& done, int deadlineMs = kXDeadlineMs)
{
    QElapsedTimer clock;
    clock.start();
    // Wakes the loop now and then to look again when nothing else comes.
    QTimer tick;
    tick.start(10);
    while (!done()) {
        if (clock.elapsed() >= deadlineMs)
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// As LoopUntil, for ASSERT_TRUE and EXPECT_TRUE: the failure names what never came.
inline ::testing::AssertionResult WaitUntil(const std::function<bool()>& done, const std::string& what,
                                            int deadlineMs = kXDeadlineMs)
{
    if (LoopUntil(done, deadlineMs))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << what << ": never came within " << deadlineMs / 1000 << " s";
}

// The window of a widget mapped and exposed by the X server (a form, a drop-down, a pop-up).
inline bool Exposed(const QWidget* widget)
{
    const QWidget* window = widget ? widget->window() : nullptr;
    return window && window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed();
}

// Runs the loop for about ms: for pictures taken when a golden file is rewritten, where nothing
// tells when painting is over.
inline void RunLoopFor(int ms)
{
    LoopUntil([] { return false; }, ms);
}
