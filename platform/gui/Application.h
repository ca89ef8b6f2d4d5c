#pragma once
// The application object: the Qt application, the main form, the message loop, the
// application-wide message hook and the handling of exceptions nobody caught.

#include <exception>
#include <functional>
#include <memory>

#include "platform/gui/Forms.h"

class QApplication;
class TQtTimerService;

using TMessageEvent = std::function<void(TMsg& Msg, bool& Handled)>;
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;
using THelpEvent = std::function<void(int Context)>;

class TApplication : public TComponent {
public:
    // Makes the Qt application unless one exists, the screen, and installs the Qt timer service
    // unless another service (a test's manual clock) is installed.
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    void Initialize() {}
    // Makes a form owned by the application; the first one made is the main form.
    template <class F>
    void CreateForm(F*& reference)
    {
        reference = new F(this);
        if (!FMainForm)
            FMainForm = reference;
    }
    TCustomForm* MainForm() const { return FMainForm; }
    void SetMainForm(TCustomForm* form) { FMainForm = form; }
    // Shows the main form and runs the message loop until Terminate (or the main form closes).
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Handles the events waiting now and returns.
    void ProcessMessages();
    const AnsiString& Title() const { return FTitle; }
    void SetTitle(const AnsiString& v) { FTitle = v; }
    // The program has the keyboard (one of its windows is active).
    bool Active() const;
    // The long hint of what the pointer or the menu is on, for a status line; OnHint hears
    // every change.
    const AnsiString& Hint() const { return FHint; }
    void SetHint(const AnsiString& v);
    TNotifyEvent OnHint;

    // The hook sees every input and timer message before it is dispatched; Handled stops it.
    TMessageEvent OnMessage;
    bool HookMessage(TMsg& msg);

    // Call from a catch block: OnException when set, else the exception dialog.
    void HandleException(TObject* Sender);
    void ShowException(const std::exception& E);
    TExceptionEvent OnException;

    // A request for the help on a help context (a dialog's Help button). The platform has no
    // help viewer: OnHelp shows what the program has; false when nothing took the request.
    bool HelpContext(int Context);
    THelpEvent OnHelp;

private:
    std::unique_ptr<QApplication> FOwnQApp;
    std::unique_ptr<TQtTimerService> FTimerService;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    AnsiString FTitle;
    AnsiString FHint;

    friend class TCustomForm;
};

// The running application, or null before one is made.
extern TApplication* Application;

// A unit's start-up work that needs the application and its screen (cursors for the screen's
// table): run when the application is made, or at once when it exists. Units register from a
// static object, as their initialisation would run.
void AddStartupProc(std::function<void()> proc);
