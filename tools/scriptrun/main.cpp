// scriptrun: runs one character's script state against a recording host, driven by directives
// on standard input, and prints what the engine does.
//
//   scriptrun [--cmd FILE] [--port N] [--disconnected]
//
// Directives, one per line:
//   > TEXT        TEXT runs as a typed line
//   < TEXT        TEXT arrives from the game, one byte at a time
//   + SECONDS     the timer clock moves on that many seconds (user timers tick)
//   ! record NAME the walk bar's record button: a new walk of that name is being recorded
//   ? var NAME    prints VAR NAME TYPE VALUE (VAR NAME - when there is no such variable)
//   ? save FILE   saves the script state as a command file; prints SAVED FILE or SAVE FAILED FILE
//   ? walk        prints WALK STATE CURRENT PREVIOUS SAVED PENDING MULTI FILE, then STEP line for
//                 each step
//   # ...         a comment
// TEXT and NAME may use \r \n \t \\ and \xHH. Output lines, printed as they happen:
//   SEND text, MSG text, CAP name text, BEEP freq ms, PLAY file, BOX caption text,
//   CLICK button (the engine clicks a bar button), STATUS (the status line is refreshed),
//   SAVEBOOK (the character book is saved)
// --cmd FILE loads a command file first (its start-up commands run) and prints LOADED FILE, or
// LOAD FAILED FILE when the load gives false; FILE names a file of this system, not a stored path.

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/core/StoredPath.h"
#include "script/RecordingHost.h"
#include "script/ScriptState.h"
#include "script/Variables.h"
#include "script/Walk.h"
#include "tools/scriptrun/ScriptRunReceive.h"
#include "tools/scriptrun/ScriptRunText.h"

namespace {

void Usage()
{
    std::fprintf(stderr, "usage: scriptrun [--cmd FILE] [--port N] [--disconnected] [--folder DIR] < directives\n");
}

AnsiString ExecutableFolder()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    AnsiString folder(path, static_cast<size_t>(n));
    const size_t slash = folder.rfind('/');
    return slash == AnsiString::npos ? AnsiString(".") : folder.substr(0, slash);
}

void Print(const TScriptEvent& e)
{
    switch (e.What) {
    case TScriptEvent::Send: std::cout << "SEND " << EscapeText(e.Text) << '\n'; break;
    case TScriptEvent::Message: std::cout << "MSG " << EscapeText(e.Text) << '\n'; break;
    case TScriptEvent::Capture: std::cout << "CAP " << EscapeText(e.Name) << ' ' << EscapeText(e.Text) << '\n'; break;
    case TScriptEvent::StatusLine: std::cout << "STATUS\n"; break;
    case TScriptEvent::MessageBox:
        std::cout << "BOX " << EscapeText(e.Text) << ' ' << EscapeText(e.Name) << '\n';
        break;
    case TScriptEvent::Play: std::cout << "PLAY " << EscapeText(e.Text) << '\n'; break;
    case TScriptEvent::Beep: std::cout << "BEEP " << e.A << ' ' << e.B << '\n'; break;
    case TScriptEvent::Click: std::cout << "CLICK " << EscapeText(e.Name) << '\n'; break;
    case TScriptEvent::SaveBook: std::cout << "SAVEBOOK\n"; break;
    }
}

// A file named on the command line or in a directive, as the engine names files.
AnsiString ProgramPathOf(const std::string& file)
{
    std::error_code ignored;
    return StoredPath(std::filesystem::absolute(file, ignored).string());
}

}  // namespace

int main(int argc, char** argv)
{
    TRecordingHost host;
    // The program folder, whose "Cmd" holds walk files: the tool's own unless named.
    host.Folder = ExecutableFolder();
    AnsiString cmdFile;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--cmd" && i + 1 < argc) {
            cmdFile = argv[++i];
        } else if (arg == "--port" && i + 1 < argc) {
            if (!TryStrToInt(argv[++i], host.Port)) {
                Usage();
                return 2;
            }
        } else if (arg == "--disconnected") {
            host.Connected = false;
        } else if (arg == "--folder" && i + 1 < argc) {
            host.Folder = argv[++i];
        } else {
            Usage();
            return 2;
        }
    }

    // Printed as they happen: a long loop must not pile them up.
    host.OnEvent = Print;
    host.KeepEvents = false;
    TScriptState state(host);
    TReceivedText received(state);
    if (!cmdFile.empty()) {
        const bool loaded = state.LoadCmdFile(ProgramPathOf(cmdFile));
        std::cout << (loaded ? "LOADED " : "LOAD FAILED ") << EscapeText(cmdFile) << '\n';
    }

    std::string line;
    int number = 0;
    int status = 0;
    while (std::getline(std::cin, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const char directive = line[0];
        const std::string_view rest =
            line.size() > 1 && line[1] == ' ' ? std::string_view(line).substr(2) : std::string_view(line).substr(1);
        switch (directive) {
        case '>': {
            const AnsiString text = UnescapeText(rest);
            // The window also echoes a typed line into its terminal on ports other than 23,
            // where it meets the trigger scan; that arrives with the scan.
            if (text.empty()) {
                // A bare Enter sends a line end at once.
                host.SendText("\r\n");
            } else {
                state.ExecuteCommand(text + "\r\n");
            }
            break;
        }
        case '<': received.Receive(UnescapeText(rest)); break;
        case '+': {
            // The user timers' clock moves on, running what falls due on the way.
            int seconds = 0;
            if (!TryStrToInt(rest, seconds) || seconds < 0) {
                std::fprintf(stderr, "scriptrun: line %d: bad number of seconds\n", number);
                status = 1;
                break;
            }
            host.Clock.Advance(static_cast<uint64_t>(seconds) * 1000u);
            break;
        }
        case '?': {
            if (rest.substr(0, 5) == "save ") {
                const std::string file = UnescapeText(rest.substr(5));
                const bool saved = state.SaveCmdFile(ProgramPathOf(file));
                std::cout << (saved ? "SAVED " : "SAVE FAILED ") << EscapeText(file) << '\n';
                break;
            }
            if (rest == "walk") {
                const cWalk& walk = state.WalkRec;
                std::cout << "WALK " << walk.State << ' ' << walk.Current << ' ' << walk.Previous << ' ' << walk.Saved
                          << ' ' << int{walk.StepPending} << ' ' << int{walk.MultiStep} << ' '
                          << EscapeText(walk.FileName) << '\n';
                for (const AnsiString& step : walk.Steps)
                    std::cout << "STEP " << EscapeText(step) << '\n';
                break;
            }
            if (rest.substr(0, 4) != "var ") {
                std::fprintf(stderr, "scriptrun: line %d: unknown query\n", number);
                status = 1;
                break;
            }
            const AnsiString name = UnescapeText(rest.substr(4));
            std::cout << "VAR " << EscapeText(name);
            if (const cVariables* v = FindVariable(state.VariableList, name))
                std::cout << ' ' << v->Type << ' ' << EscapeText(v->Value) << '\n';
            else
                std::cout << " -\n";
            break;
        }
        case '!': {
            if (rest.substr(0, 7) != "record ") {
                std::fprintf(stderr, "scriptrun: line %d: unknown action\n", number);
                status = 1;
                break;
            }
            NewWalkRecord(state, UnescapeText(rest.substr(7)));
            break;
        }
        default:
            std::fprintf(stderr, "scriptrun: line %d: unknown directive '%c'\n", number, directive);
            status = 1;
            break;
        }
        std::cout.flush();
    }
    return status;
}
