// apprun's directives for runs against real servers: the status line, a quiet log, resident
// memory and lines typed with a time stamp.

#include "tools/apprun/AppRunE2E.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "app/forms/AnsiTerminal.h"
#include "platform/core/Cp949.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/Strings.h"
#include "platform/gui/Forms.h"
#include "terminal/control/Terminal.h"
#include "tools/apprun/AppRun.h"
#include "tools/apprun/AppRunForms.h"
#include "tools/apprun/AppRunKeys.h"
#include "tools/picture/PictureDifference.h"

namespace {

// The process's resident memory in kilobytes (VmRSS), 0 when unknown.
long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

long MarkedKb = 0;

std::unique_ptr<QTimer> Typist;

// A share of pixels up to this is the same picture (a clock or a meter in a status bar).
constexpr double kSamePicture = 0.005;
// How long the window system may take to show a window.
constexpr qint64 kShownWithinMs = 30000;

}  // namespace

void AppRunStatusLine(TAppRun& run, const AnsiString&)
{
    run.Print("STATUSLINE " + TAppRun::Text(run.Window().StatusLine()));
}

void AppRunQuiet(TAppRun& run, const AnsiString& rest)
{
    if (rest != "on" && rest != "off")
        throw EAppRunError("quiet on|off");
    run.Quiet = rest == "on";
}

void AppRunRss(TAppRun& run, const AnsiString& rest)
{
    if (rest == "mark") {
        MarkedKb = ResidentKb();
        return;
    }
    int limitMb = 0;
    if (rest.rfind("below ", 0) != 0 || !TryStrToInt(rest.substr(6), limitMb))
        throw EAppRunError("rss mark | rss below MB");
    const long grownKb = ResidentKb() - MarkedKb;
    if (grownKb < static_cast<long>(limitMb) * 1024)
        run.Print("RSS GREW BELOW " + std::to_string(limitMb) + " MB");
    else
        run.Print("RSS GREW " + std::to_string(grownKb / 1024) + " MB");
}

void AppRunStamp(TAppRun& run, const AnsiString& rest)
{
    // steady_clock is CLOCK_MONOTONIC here, the clock a Python server's time.monotonic reads.
    const auto us =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    AppRunPostText(run, rest + " " + std::to_string(us) + "\r");
}

void AppRunTyping(TAppRun& run, const AnsiString& rest)
{
    if (rest == "off") {
        Typist.reset();
        return;
    }
    AnsiString text = rest;
    const size_t blank = text.find(' ');
    int ms = 0;
    if (blank == AnsiString::npos || !TryStrToInt(text.substr(0, blank), ms) || ms <= 0)
        throw EAppRunError("typing MS TEXT | typing off");
    text = text.substr(blank + 1);
    Typist = std::make_unique<QTimer>();
    QObject::connect(Typist.get(), &QTimer::timeout, [&run, text] {
        if (run.WindowOrNull())
            AppRunStamp(run, text);
    });
    Typist->start(ms);
}

void AppRunScrollback(TAppRun& run, const AnsiString&)
{
    const TDataList& data = run.Window().Terminal()->Core().Data();
    run.Print("SCROLLBACK " + std::to_string(data.MemoryBytes() / static_cast<size_t>(std::max(data.Used(), 1))));
}

void AppRunScreenCheck(TAppRun& run, const AnsiString& rest)
{
    const size_t blank = rest.find(' ');
    if (blank == AnsiString::npos)
        throw EAppRunError("screencheck CLASS NAME");
    const AnsiString name = rest.substr(blank + 1);
    QWidget* w = AppRunForm(rest.substr(0, blank)).Handle();
    // The window system maps and exposes a new window in its own time, late on a loaded machine;
    // then the paints settle. A window never shown is a failure of its own, not a picture.
    auto exposed = [w] { return w->windowHandle() && w->windowHandle()->isExposed(); };
    QElapsedTimer waited;
    waited.start();
    while (!exposed() && waited.elapsed() < kShownWithinMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!exposed())
        throw EAppRunError("the window was not on the screen within " + std::to_string(kShownWithinMs / 1000) + " s");
    for (int round = 0; round < 10; ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    run.Pump();
    const QPoint origin = w->mapToGlobal(QPoint(0, 0));
    const QImage shot = w->screen()
                            ->grabWindow(0, origin.x(), origin.y(), w->width(), w->height())
                            .toImage()
                            .convertToFormat(QImage::Format_RGB32);
    const char* folder = std::getenv("HM_GOLDEN_DIR");
    if (!folder)
        throw EAppRunError("screencheck needs HM_GOLDEN_DIR");
    const QString golden = QString::fromStdString(std::string(folder) + "/" + Cp949ToUtf8(name) + ".png");
    if (std::getenv("HM_UPDATE_GOLDEN")) {
        if (!shot.save(golden, "PNG"))
            throw EAppRunError("cannot write " + Utf8ToCp949(golden.toStdString()));
        run.Print("PICTURE " + TAppRun::Text(name) + " same");
        return;
    }
    const double share = PictureDifference(shot, QImage(golden).convertToFormat(QImage::Format_RGB32));
    if (share <= kSamePicture)
        run.Print("PICTURE " + TAppRun::Text(name) + " same");
    else {
        // Kept beside the run's folder for a look.
        const QString kept = QString::fromStdString(Cp949ToUtf8(ProgramFolder() + "/" + name) + ".png");
        shot.save(kept, "PNG");
        run.Print("PICTURE " + TAppRun::Text(name) + " differs " + std::to_string(share));
        std::fprintf(stderr, "apprun: the picture taken is %s\n", kept.toStdString().c_str());
    }
}

void AppRunPlace(TAppRun& run, const AnsiString& rest)
{
    AnsiString args = rest;
    const size_t first = args.find(' ');
    const size_t second = first == AnsiString::npos ? AnsiString::npos : args.find(' ', first + 1);
    int x = 0, y = 0;
    if (second == AnsiString::npos || !TryStrToInt(args.substr(first + 1, second - first - 1), x) ||
        !TryStrToInt(args.substr(second + 1), y))
        throw EAppRunError("place CLASS X Y");
    TCustomForm& form = AppRunForm(args.substr(0, first));
    form.SetBounds(x, y, form.Width(), form.Height());
    run.Pump();
}
