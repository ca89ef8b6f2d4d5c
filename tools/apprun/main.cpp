// apprun: the application's real windows driven from directives, for tests and by hand.
//
//   apprun [--folder DIR | --data-folder] [--scripted-net] [--real-time] [--proc-stat FILE] [FILE]
//
// Directives come from FILE, else from standard input: UTF-8, made cp949, then \r \n \t \\ \xHH.
// The windows are real, on Qt's offscreen platform unless QT_QPA_PLATFORM names another; time is
// a manual clock that only `+` and `wait` move (Qt's own clock with --real-time). The program
// folder is DIR (default: a fresh temporary folder, removed at the end); with --data-folder it is
// the program's own, the player's data folder. With --scripted-net no connection reaches the network: the
// `net` directives answer for the host. With --proc-stat the CPU meters read FILE instead of
// /proc/stat.
//
//   book load                    LOADED n | LOAD STOPPED n | LOAD FAILED
//   book save                    SAVED | SAVE FAILED reason
//   book add HOSTNAME|CHARNAME|HOST|PORT     book set I KEY VALUE (KEY as in the book file)
//   book list                    ENTRY i|the 12 file values in file order ..., then BOOK n
//   open I                       WINDOW caption (the window of book entry I; later directives
//                                act on it)
//   close                        CLOSED
//   exec TEXT                    runs TEXT as a command
//   + MS                         lets MS milliseconds pass
//   wait connected|disconnected|failed [MS]   waits for the next such event of the window's
//   wait text TEXT [MS]          socket, or for TEXT on the screen: TIMEOUT what after MS (5000)
//   wait sent XX XX .. MS        waits until the window has written those bytes (in hex, as
//                                NET> prints them) after what the last `wait sent` matched
//   net accept|refuse|badhost|close           the scripted host's answer to the attempt
//   net recv TEXT                one read of TEXT from the host
//   screen                       SCREEN n, then "| text" for each line from the screen's top
//                                through the cursor's
//   state                        PANEL i text for the eight status panels, CONNECTED 0|1,
//                                CPU position of the meter, STATUSLINE text, INPUT text of the
//                                input line, TD caption of the T/D button
//   procstat TEXT                writes TEXT to the --proc-stat FILE
//   var NAME                     VAR NAME|value (VAR NAME when there is no such variable)
//   screenshot FILE              the window as a PNG
//   answer ok|yes|no|cancel      the answer of the next message box (else its default)
//   answer-input TEXT|cancel     the answer of the next query (else cancel)
//   type, key, focus, wheel, history: see AppRunKeys.h
//   start, forms, click, dblclick, grid, set, check, pick, get, modal, answer-file, screen CLASS,
//   screenshot CLASS FILE, resize, quit: see AppRunForms.h
//   statusline, quiet, rss, stamp, typing, scrollback, screencheck, place: see AppRunE2E.h
// Printed as it happens: NET CONNECT host port for every connect attempt, NET> XX XX ... for
// every write to a socket, BOX caption|text for a message box, QUERY caption|prompt|initial for
// a query, DIALOG kind|title for another dialog (cancelled), BEEP and PLAY file for sounds,
// EXCEPTION text for an exception nobody caught, ERROR line N: why for a line not carried out.
// Output is UTF-8 with a backslash doubled and control bytes, bytes that are no cp949 character
// and a '|' inside a field as \xHH. Exit status 0, or 2 for bad arguments or an unreadable FILE.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "app/core/CharBooks.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/MessageHook.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/TimerService.h"
#include "platform/gui/Application.h"
#include "platform/gui/CommonDialogs.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Sound.h"
#include "terminal/control/Terminal.h"
#include "tools/apprun/AppRun.h"
#include "tools/apprun/AppRunForms.h"

namespace fs = std::filesystem;

namespace {

int Usage()
{
    std::cerr
        << "usage: apprun [--folder DIR | --data-folder] [--scripted-net] [--real-time] [--proc-stat FILE] [FILE]\n";
    return 2;
}

int BoxAnswer(const AnsiString& answer, unsigned flags)
{
    if (answer == "ok")
        return IDOK;
    if (answer == "yes")
        return IDYES;
    if (answer == "no")
        return IDNO;
    if (answer == "cancel")
        return IDCANCEL;
    return DefaultMessageBoxResult(flags);
}

void InstallHooks(TAppRun& run)
{
    SetMessageBoxHook([&run](const AnsiString& text, const AnsiString& caption, unsigned flags) {
        run.Print("BOX " + TAppRun::Field(caption) + "|" + TAppRun::Field(text));
        if (run.BoxAnswers.empty())
            return DefaultMessageBoxResult(flags);
        const AnsiString answer = run.BoxAnswers.front();
        run.BoxAnswers.pop_front();
        return BoxAnswer(answer, flags);
    });
    SetDialogHook([&run](const TDialogRequest& request) -> std::optional<std::string> {
        if (request.Kind != cdInput) {
            run.Print(std::string("DIALOG ") + DialogKindName(request.Kind) + "|" + TAppRun::Field(request.Title));
            return std::nullopt;
        }
        run.Print("QUERY " + TAppRun::Field(request.Title) + "|" + TAppRun::Field(request.Prompt) + "|" +
                  TAppRun::Field(request.Initial));
        if (run.InputAnswers.empty())
            return std::nullopt;
        std::optional<AnsiString> answer = run.InputAnswers.front();
        run.InputAnswers.pop_front();
        return answer;
    });
    SetSoundHook([&run](const TSoundRequest& request) {
        // A closing window's stop of its tones is no sound.
        if (run.Quiet || request.Kind == TSoundRequest::kStopBeeps)
            return true;
        run.Print(request.Kind == TSoundRequest::kPlay ? "PLAY " + TAppRun::Text(request.FileName) : "BEEP");
        return true;
    });
    SetTerminalNoticeHook([](const AnsiString&, int) {});
    TCharBooks::ReportError = [&run](const AnsiString& caption, const AnsiString& text) {
        run.BookReport = text;
        MessageBox(text, caption, MB_OK | MB_ICONERROR);
    };
    AppRunInstallFormHooks(run);
}

void RemoveHooks()
{
    AppRunRemoveFormHooks();
    SetMessageBoxHook(nullptr);
    SetDialogHook(nullptr);
    SetSoundHook(nullptr);
    SetTerminalNoticeHook(nullptr);
    TCharBooks::ReportError = nullptr;
}

// Frees the windows still open, before the application goes.
void CloseWindows()
{
    for (int i = Screen ? Screen->FormCount() - 1 : -1; i >= 0; --i)
        if (i < Screen->FormCount())
            delete Screen->Forms(i);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string folder, procStat;
    bool scripted = false, realTime = false, dataFolder = false;
    const char* file = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--folder" && i + 1 < argc)
            folder = argv[++i];
        else if (a == "--proc-stat" && i + 1 < argc)
            procStat = argv[++i];
        else if (a == "--data-folder")
            dataFolder = true;
        else if (a == "--scripted-net")
            scripted = true;
        else if (a == "--real-time")
            realTime = true;
        else if (a.size() > 1 && a[0] == '-')
            return Usage();
        else if (!file)
            file = argv[i];
        else
            return Usage();
    }
    std::ifstream input;
    if (file) {
        input.open(file, std::ios::binary);
        if (!input) {
            std::cerr << "apprun: cannot read " << file << '\n';
            return 2;
        }
    }

    std::string temporary;
    if (folder.empty() && !dataFolder) {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/apprun.XXXXXX";
        if (!mkdtemp(pattern.data())) {
            std::cerr << "apprun: cannot make a temporary folder\n";
            return 2;
        }
        folder = temporary = pattern;
    }
    std::error_code error;
    if (!dataFolder) {
        fs::create_directories(folder, error);
        SetProgramFolder(fs::absolute(folder, error).string());
    }

    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::unique_ptr<TManualTimerService> clock;
    if (!realTime) {
        clock = std::make_unique<TManualTimerService>(0);
        SetTimerService(clock.get());
    }
    int qtArgc = 1;
    char name[] = "apprun";
    char* qtArgv[] = {name, nullptr};
    {
        TApplication app(qtArgc, qtArgv);
        TAppRun run(std::cout, clock.get(), scripted);
        if (!procStat.empty()) {
            run.ProcStatFile = fs::absolute(procStat, error).string();
            TAnsiTerminalForm::ProcStatPath = run.ProcStatFile;
        }
        app.OnException = [&run](TObject*, const std::exception& e) {
            run.Print("EXCEPTION " + TAppRun::Text(e.what()));
        };
        InstallHooks(run);
        // As the book window does at its creation.
        InstallMessageHook(app);
        std::istream& in = file ? static_cast<std::istream&>(input) : std::cin;
        std::string line;
        while (std::getline(in, line))
            run.RunLine(line);
        CloseWindows();
        run.Pump();
        RemoveHooks();
        TCharBooks::FreeAll();
    }
    SetTimerService(nullptr);
    if (!temporary.empty())
        fs::remove_all(temporary, error);
    return 0;
}
