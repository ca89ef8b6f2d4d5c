#pragma once
// apprun's directives for runs against real servers (bodies in AppRunE2E.cpp).
//
//   statusline           STATUSLINE text of the window's status line
//   quiet on|off         no NET>, BEEP or PLAY lines while on (floods, garbage)
//   rss mark             notes the process's resident memory now
//   rss below MB         RSS GREW BELOW MB when it grew less than MB megabytes since the mark,
//                        else RSS GREW N MB
//   stamp TEXT           types TEXT, a blank, the monotonic clock in microseconds and Enter,
//                        queued among the other events as a player's keys are: a server on
//                        the same machine times its arrival

#include "platform/core/AnsiString.h"

class TAppRun;

void AppRunStatusLine(TAppRun& run, const AnsiString& rest);
void AppRunQuiet(TAppRun& run, const AnsiString& rest);
void AppRunRss(TAppRun& run, const AnsiString& rest);
void AppRunStamp(TAppRun& run, const AnsiString& rest);
