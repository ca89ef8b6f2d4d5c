#include "platform/gui/Application.h"

#include <QApplication>
#include <QGuiApplication>
#include <clocale>
#include <vector>

#include "platform/gui/Dialogs.h"
#include "platform/gui/Instance.h"
#include "platform/gui/StandardClasses.h"
#include "platform/gui/WindowTimer.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

std::vector<std::function<void()>>& StartupProcs()
{
    static std::vector<std::function<void()>> procs;
    return procs;
}

}  // namespace

void AddStartupProc(std::function<void()> proc)
{
    StartupProcs().push_back(proc);
    if (Application && Screen)
        proc();
}

TApplication::TApplication(int& argc, char** argv) : TComponent(nullptr)
{
    if (!QApplication::instance())
        FOwnQApp = std::make_unique<QApplication>(argc, argv);
    // Qt adopts the desktop's locale (setlocale(LC_ALL, "")); numbers keep "." for decimals in
    // any C routine that still reads the process's locale. Texts, dates and sorting keep the
    // desktop's.
    std::setlocale(LC_NUMERIC, "C");
    Application = this;
    Screen = new TScreen(this);
    // Controls are reached by class name and property from the start (stored settings, the
    // progress registry), as the framework's own type information is always there.
    RegisterStandardClasses();
    if (!TimerServiceInstalled()) {
        FTimerService = std::make_unique<TQtTimerService>();
        SetTimerService(FTimerService.get());
    }
    for (const std::function<void()>& proc : StartupProcs())
        proc();
}

TApplication::~TApplication()
{
    // Forms first, while the screen and the timer service still exist.
    Destroying();
    StopListeningAsInstance();
    for (int i = ComponentCount() - 1; i >= 0; --i) {
        if (i >= ComponentCount())
            continue;
        TComponent* c = Components(i);
        if (c != Screen)
            delete c;
    }
    FMainForm = nullptr;
    DestroyComponents();
    Screen = nullptr;
    if (FTimerService && &TimerService() == FTimerService.get())
        SetTimerService(nullptr);
    FTimerService.reset();
    Application = nullptr;
}

void TApplication::Run()
{
    // The program ends on Terminate (closing the main form), not when no window is shown.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    if (FMainForm && !FTerminated)
        FMainForm->Show();
    while (!FTerminated)
        QApplication::exec();
}

void TApplication::Terminate()
{
    FTerminated = true;
    // Not quit(): Qt first closes every window and keeps running when one stays shown (a window
    // that hides itself later, one that refuses); the program ends here whatever its windows do.
    QCoreApplication::exit(0);
}

void TApplication::SetHint(const AnsiString& v)
{
    if (v == FHint)
        return;
    FHint = v;
    if (OnHint) {
        TNotifyEvent handler = OnHint;
        handler(this);
    }
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool TApplication::Active() const { return QGuiApplication::applicationState() == Qt::ApplicationActive; }

bool TApplication::HookMessage(TMsg& msg)
{
    if (!OnMessage)
        return false;
    bool handled = false;
    OnMessage(msg, handled);
    return handled;
}

bool TApplication::HelpContext(int Context)
{
    if (!OnHelp)
        return false;
    const THelpEvent handler = OnHelp;  // the handler may replace itself
    handler(Context);
    return true;
}

void TApplication::HandleException(TObject* Sender)
{
    try {
        throw;
    } catch (const EAbort&) {
        // The silent exception is not reported.
    } catch (const std::exception& e) {
        if (OnException)
            OnException(Sender, e);
        else
            ShowException(e);
    } catch (...) {
        Exception unknown("Unknown exception");
        if (OnException)
            OnException(Sender, unknown);
        else
            ShowException(unknown);
    }
}

void TApplication::ShowException(const std::exception& E)
{
    AnsiString text = E.what();
    if (!text.empty() && text.back() > '.')
        text += '.';
    MessageBox(text, FTitle, MB_OK | MB_ICONSTOP);
}
