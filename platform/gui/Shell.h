#pragma once
// Opening a document, folder, URL or mail address the way the desktop does: through xdg-open,
// started detached so the program never waits for it.

#include <functional>

#include "platform/core/AnsiString.h"

class QWidget;

enum : int {
    SW_HIDE = 0,
    SW_SHOWNORMAL = 1,
    SW_NORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_SHOWMAXIMIZED = 3,
    SW_SHOW = 5,
};
// The results below 33, as the window system reports them.
enum : int {
    ERROR_FILE_NOT_FOUND = 2,
    ERROR_PATH_NOT_FOUND = 3,
    SE_ERR_ACCESSDENIED = 5,
    SE_ERR_NOASSOC = 31,
};

// Verb "open" (or empty) opens File: a URL ("http:", "https:", "ftp:", "file:", "mailto:" and
// the like) as it stands, anything else as a program path; a program file runs with Params.
// "explore" opens a folder. Dir is the working folder (a program path, may be empty). Returns
// a value above 32 on success, else the error code (a missing file, no handler, a verb it does
// not know).
int ShellExecute(QWidget* Handle, const AnsiString& Verb, const AnsiString& File, const AnsiString& Params,
                 const AnsiString& Dir, int ShowCmd);

// Opens a URL ("http:", "mailto:" ...) with the desktop's handler (Qt's desktop services, so
// xdg-open); true when it was handed on. A hook (tests, drivers) sees each URL instead of the
// desktop; null removes it, and the previous hook is returned.
bool ShellOpenUrl(const AnsiString& url);
using TShellOpenUrlHook = std::function<bool(const AnsiString& url)>;
TShellOpenUrlHook SetShellOpenUrlHook(TShellOpenUrlHook hook);
