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
//   typing MS TEXT       from now on every MS milliseconds (real time) a `stamp TEXT`
//   typing off           no more of them
//   scrollback           SCROLLBACK N: the bytes the terminal's line store holds a line
//   screencheck CLASS NAME   the form as the screen shows it against the picture NAME.png of
//                        the folder HM_GOLDEN_DIR: PICTURE NAME same, or PICTURE NAME differs
//                        and the share of pixels that differ; with HM_UPDATE_GOLDEN set, the
//                        picture is written instead; an error when the window system has not
//                        shown the form within 30 s
//   place CLASS X Y      moves the form's window to X, Y of the screen

#include "platform/core/AnsiString.h"

class TAppRun;

void AppRunStatusLine(TAppRun& run, const AnsiString& rest);
void AppRunQuiet(TAppRun& run, const AnsiString& rest);
void AppRunRss(TAppRun& run, const AnsiString& rest);
void AppRunStamp(TAppRun& run, const AnsiString& rest);
void AppRunTyping(TAppRun& run, const AnsiString& rest);
void AppRunScrollback(TAppRun& run, const AnsiString& rest);
void AppRunScreenCheck(TAppRun& run, const AnsiString& rest);
void AppRunPlace(TAppRun& run, const AnsiString& rest);
