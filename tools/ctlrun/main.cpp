// ctlrun: drives the platform's standard controls headless from directives and prints what
// happens, for tests and for trying a control by hand.
//
//   ctlrun [FILE]        directives from FILE (cp949), else from standard input
//
// The run has a shown form "form" of class TForm1 with a client area of 400 x 300, on Qt's
// offscreen platform unless QT_QPA_PLATFORM names another, and a manual clock at 0 ms that only
// `wait` moves. One directive a line; "#" starts a comment; a last argument TEXT takes the rest
// of the line, with \r \n \t \\ \xHH:
//   new CLASS NAME [PARENT L T W H]   free NAME
//   set NAME PROP TEXT                get NAME PROP           (PROP may be a path: Font.Name)
//   call NAME OP [ARGS]               util OP ARGS            watch NAME EVENT
//   focus NAME    mouse NAME down|move|up X Y [Left|Right] [Shift] [Ctrl] [Alt]
//   click NAME X Y    dblclick NAME X Y    key NAME [Shift+][Ctrl+][Alt+]KEY    type NAME TEXT
//   wait MS    pixel X Y    png FILE    cat FILE    put FILE TEXT    answer TEXT|cancel
//   drop NAME X Y file PATH...|text TEXT (a drag from another program dropped at a client
//     point: files as a file manager offers them, with their addresses as text; RESULT copy,
//     move or none when refused)
//   browse STEP... (the next folder browser opens its window and takes the steps: up, ok,
//     cancel, a folder or a computer's name to go to; cancelled after the last, an ok it
//     refuses included)
//   menu NAME PATH (a main menu's item by captions joined with "/", "&" ignored)
//   popup NAME X Y    choose PATH (an item of the pop-up menu shown last)
// Output, in order: EVENT NAME EVENT ARGS, NAME.PROP=TEXT, RESULT TEXT, PIXEL RRGGBB,
// LINE text then CRLF yes|no, BEEP, BOX caption|text, DIALOG kind|title (open, save, color,
// font, dir, input, print, printsetup; it takes the pending answer, a native path for a file or
// folder, else Cancel), POPUP menu X Y (screen point; the menu closes without a choice),
// ERROR text.
// Exit status 0, or 2 when FILE cannot be read.

#include <QCoreApplication>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "controls/lib/LibraryClasses.h"
#include "platform/core/TimerService.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Sound.h"
#include "platform/gui/StandardClasses.h"
#include "tools/ctlrun/CtlRun.h"

namespace {

int AnswerButton(const AnsiString& answer, unsigned flags)
{
    static const struct {
        const char* name;
        int id;
    } kButtons[] = {{"OK", IDOK},         {"Cancel", IDCANCEL}, {"Abort", IDABORT}, {"Retry", IDRETRY},
                    {"Ignore", IDIGNORE}, {"Yes", IDYES},       {"No", IDNO}};
    for (const auto& b : kButtons)
        if (SameText(answer, b.name))
            return b.id;
    return DefaultMessageBoxResult(flags);
}

}  // namespace

int main(int argc, char** argv)
{
    std::ifstream file;
    if (argc > 1) {
        file.open(argv[1], std::ios::binary);
        if (!file) {
            std::cerr << "ctlrun: cannot read " << argv[1] << '\n';
            return 2;
        }
    }
    std::istream& in = argc > 1 ? static_cast<std::istream&>(file) : std::cin;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    TManualTimerService clock(0);
    SetTimerService(&clock);
    int qtArgc = 1;
    char name[] = "ctlrun";
    char* qtArgv[] = {name, nullptr};
    TApplication app(qtArgc, qtArgv);
    RegisterStandardClasses();
    RegisterLibraryClasses();
    TCtlRun run(std::cout, clock);
    app.OnException = [&run](TObject*, const std::exception& e) {
        run.Print(AnsiString("ERROR Exception: ") + TCtlRun::Escape(e.what()));
    };
    SetMessageBoxHook([&run](const AnsiString& text, const AnsiString& caption, unsigned flags) {
        run.Print("BOX " + TCtlRun::Escape(caption) + "|" + TCtlRun::Escape(text));
        if (!run.HasAnswer())
            return DefaultMessageBoxResult(flags);
        AnsiString answer = run.TakeAnswer();
        return SameText(answer, "cancel") ? IDCANCEL : AnswerButton(answer, flags);
    });
    InstallMenuAndDialogHooks(run);
    SetSoundHook([&run](const TSoundRequest&) {
        run.Print("BEEP");
        return true;
    });

    std::string line;
    while (std::getline(in, line))
        run.RunLine(line);
    SetMessageBoxHook(nullptr);
    RemoveMenuAndDialogHooks();
    SetSoundHook(nullptr);
    delete run.Form();
    SetTimerService(nullptr);
    return 0;
}
