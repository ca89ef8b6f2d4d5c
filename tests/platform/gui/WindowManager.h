#pragma once
// A window manager (openbox, which scripts/setup.sh installs) on the test's X display for as long
// as this lives: windows get frames, and what the manager does to them (a size asked through
// xdotool, a title bar double-clicked) reaches the program as it reaches a player's. Header-only,
// so that every test program with a real X display can use it whatever support file it links.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QWidget>

#include <memory>

#include "tests/platform/gui/XWait.h"

class TWindowManager {
public:
    ~TWindowManager()
    {
        FProcess.terminate();
        FProcess.waitForFinished();
    }

    // Starts the manager and waits until it is at work: until a window shown gets a frame. A
    // window shown before it started may stay unframed, so a fresh one is shown now and then.
    ::testing::AssertionResult Start()
    {
        FProcess.start("openbox", {});
        if (!FProcess.waitForStarted())
            return ::testing::AssertionFailure() << "openbox did not start (scripts/setup.sh installs it)";
        std::unique_ptr<QWidget> probe;
        QElapsedTimer shown;
        return WaitUntil(
            [&] {
                if (probe && probe->frameGeometry() != probe->geometry())
                    return true;
                if (!probe || shown.elapsed() > 500) {
                    probe = std::make_unique<QWidget>();
                    probe->resize(50, 50);
                    probe->show();
                    shown.start();
                }
                return false;
            },
            "a frame from the window manager");
    }

private:
    QProcess FProcess;
};
