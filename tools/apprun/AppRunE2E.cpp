// apprun's directives for runs against real servers: the status line, a quiet log, resident
// memory and lines typed with a time stamp.

#include "tools/apprun/AppRunE2E.h"

#include <chrono>
#include <fstream>
#include <string>

#include "app/forms/AnsiTerminal.h"
#include "platform/core/Strings.h"
#include "tools/apprun/AppRun.h"
#include "tools/apprun/AppRunKeys.h"

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
