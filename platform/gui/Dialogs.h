#pragma once
// Message boxes. Every one goes through a hook that tests replace, so no test ever waits for a
// click; without a hook, a run under the test environment (HM_TEST set) answers with the
// default button and prints the text to the standard error stream instead of showing a box.

#include <functional>
#include <memory>

#include "platform/core/AnsiString.h"

enum : unsigned {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_ABORTRETRYIGNORE = 0x02,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_RETRYCANCEL = 0x05,
    MB_ICONHAND = 0x10,
    MB_ICONSTOP = 0x10,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONWARNING = 0x30,
    MB_ICONASTERISK = 0x40,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON1 = 0x000,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// Text and caption are cp949. Returns the button pressed (IDOK, IDYES, ...); closing the box
// without a button gives IDCANCEL where there is a Cancel button, else the only button's id.
int MessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags);
// A box with the text, the application's title and an OK button.
void ShowMessage(const AnsiString& text);

using TMessageBoxHook = std::function<int(const AnsiString& text, const AnsiString& caption, unsigned flags)>;
// Installs a hook that answers every box instead of showing it (null removes it); returns the
// previous hook.
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook);
// The answer the box would give by default (its default button).
int DefaultMessageBoxResult(unsigned flags);

// The number of dialogs and message boxes open now, nested ones included: work that must not
// run inside a modal loop (a trigger pass fed by the network) waits while it is above 0.
int ModalDialogLevel();
// Raises the modal level for the life of the scope. At its end the window that was active when it
// began is active again (without a window manager nothing else would activate it).
class TModalScope {
public:
    TModalScope();
    ~TModalScope();
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;

private:
    struct TActiveBefore;
    std::unique_ptr<TActiveBefore> FActiveBefore;
};
