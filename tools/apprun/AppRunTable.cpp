// apprun's directives: a new one is a handler here and one row of the table at the end.

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "app/core/CharBooks.h"
#include "app/forms/AnsiTerminal.h"
#include "controls/lib/ToolEdit.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Colors.h"
#include "platform/core/Cp949.h"
#include "platform/core/Strings.h"
#include "platform/gui/ButtonCtrls.h"
#include "script/Variables.h"
#include "terminal/control/Terminal.h"
#include "tools/apprun/AppRun.h"
#include "tools/apprun/AppRunE2E.h"
#include "tools/apprun/AppRunEditor.h"
#include "tools/apprun/AppRunForms.h"
#include "tools/apprun/AppRunKeys.h"

namespace {

std::vector<AnsiString> SplitAt(const AnsiString& text, char separator)
{
    std::vector<AnsiString> parts;
    size_t start = 0;
    for (size_t bar; (bar = text.find(separator, start)) != AnsiString::npos; start = bar + 1)
        parts.push_back(text.substr(start, bar - start));
    parts.push_back(text.substr(start));
    return parts;
}

// The first blank-separated word of text; text keeps the rest after one blank.
AnsiString TakeWord(AnsiString& text)
{
    const size_t blank = text.find(' ');
    AnsiString word = text.substr(0, blank);
    text = blank == AnsiString::npos ? AnsiString() : text.substr(blank + 1);
    return word;
}

TCharBooks& Entry(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= TCharBooks::CharBookList.size())
        throw EAppRunError("no book entry " + std::to_string(index));
    return *TCharBooks::CharBookList[static_cast<size_t>(index)];
}

// The entry's values as the book file holds them, in file order.
std::vector<AnsiString> FileValues(const TCharBooks& e)
{
    return {e.HostName, e.CharName, e.Host,    e.TriggerFile, std::to_string(e.Port),   std::to_string(e.Status),
            e.HanFont,  e.EngFont,  e.SpcFont, e.KsgFont,     ColorToString(e.FgColor), ColorToString(e.BgColor)};
}

void SetBookValue(TCharBooks& e, const AnsiString& key, const AnsiString& value)
{
    if (AnsiString* text = e.TextField(key))
        *text = value;
    else if (TColor* color = e.ColorField(key))
        *color = StringToColor(value);
    else if (key == "Port")
        e.Port = AppRunInteger(value);
    else if (key == "Status")
        e.Status = static_cast<uint32_t>(AppRunInteger(value));
    else
        throw EAppRunError("no book key " + key);
}

void Book(TAppRun& run, const AnsiString& rest)
{
    AnsiString args = rest;
    const AnsiString verb = TakeWord(args);
    const auto count = std::to_string(TCharBooks::CharBookList.size());
    if (verb == "load") {
        TCharBooks::Load();
        const auto n = std::to_string(TCharBooks::CharBookList.size());
        switch (TCharBooks::LastLoad) {
        case TCharBooks::loRead: run.Print("LOADED " + n); break;
        case TCharBooks::loStopped: run.Print("LOAD STOPPED " + n); break;
        case TCharBooks::loNotOpened: run.Print("LOAD FAILED"); break;
        }
    } else if (verb == "save") {
        run.BookReport.clear();
        if (TCharBooks::Save())
            run.Print("SAVED");
        else
            run.Print("SAVE FAILED " + TAppRun::Text(run.BookReport));
    } else if (verb == "add") {
        const std::vector<AnsiString> f = SplitAt(args, '|');
        if (f.size() != 4)
            throw EAppRunError("book add needs HOSTNAME|CHARNAME|HOST|PORT");
        auto entry = std::make_shared<TCharBooks>();
        entry->HostName = f[0];
        entry->CharName = f[1];
        entry->Host = f[2];
        entry->Port = AppRunInteger(f[3]);
        TCharBooks::CharBookList.push_back(entry);
    } else if (verb == "set") {
        const int index = AppRunInteger(TakeWord(args));
        const AnsiString key = TakeWord(args);
        SetBookValue(Entry(index), key, args);
    } else if (verb == "list") {
        for (size_t i = 0; i < TCharBooks::CharBookList.size(); ++i) {
            std::string line = "ENTRY " + std::to_string(i);
            for (const AnsiString& v : FileValues(*TCharBooks::CharBookList[i]))
                line += "|" + TAppRun::Field(v);
            run.Print(line);
        }
        run.Print("BOOK " + count);
    } else {
        throw EAppRunError("unknown book directive " + verb);
    }
}

void Open(TAppRun& run, const AnsiString& rest)
{
    const int index = AppRunInteger(rest);
    Entry(index);
    // After `start`, the book window opens it.
    if (AppRunOpenFromBook(run, index))
        return;
    const std::shared_ptr<TCharBooks> entry = TCharBooks::CharBookList[static_cast<size_t>(index)];
    auto* window = dynamic_cast<TAnsiTerminalForm*>(entry->TermForm);
    if (!window) {
        window = new TAnsiTerminalForm(nullptr, entry);
        run.Watch(*window);
        window->Show();
    } else {
        window->BringToFront();
    }
    run.SetWindow(window);
    run.Print("WINDOW " + TAppRun::Text(window->Caption()));
}

void Close(TAppRun& run, const AnsiString&)
{
    run.Window().Close();
    run.Pump();
    run.Print("CLOSED");
}

void Exec(TAppRun& run, const AnsiString& rest) { run.Window().ExecuteCommand(rest); }

void Advance(TAppRun& run, const AnsiString& rest)
{
    const int ms = AppRunInteger(rest);
    if (ms < 0)
        throw EAppRunError("a negative time: " + rest);
    run.Elapse(static_cast<uint64_t>(ms));
}

// The visible screen's lines from the top through the cursor's.
std::vector<AnsiString> ScreenLines(TAnsiTerminalForm& window) { return AppRunScreenLines(*window.Terminal()); }

void Wait(TAppRun& run, const AnsiString& rest)
{
    AnsiString args = rest;
    const AnsiString what = TakeWord(args);
    // A last word of digits is the time limit.
    uint64_t ms = 5000;
    const size_t blank = args.rfind(' ');
    const AnsiString last = blank == AnsiString::npos ? args : args.substr(blank + 1);
    int limit = 0;
    if (!last.empty() && (what != "text" || blank != AnsiString::npos) && TryStrToInt(last, limit) && limit >= 0) {
        ms = static_cast<uint64_t>(limit);
        args = blank == AnsiString::npos ? AnsiString() : args.substr(0, blank);
    }
    auto event = [&run](TAppRun::TCounter& counter) {
        return [&counter] {
            if (counter.Seen == counter.Used)
                return false;
            counter.Used = counter.Seen;
            return true;
        };
    };
    std::function<bool()> done;
    if (what == "connected")
        done = event(run.Connects);
    else if (what == "disconnected")
        done = event(run.Disconnects);
    else if (what == "failed")
        done = event(run.Failures);
    else if (what == "text") {
        if (args.empty())
            throw EAppRunError("wait text needs a text");
        done = [&run, args] {
            TAnsiTerminalForm* w = run.WindowOrNull();
            if (!w)
                return false;
            for (const AnsiString& line : ScreenLines(*w))
                if (line.find(args) != AnsiString::npos)
                    return true;
            return false;
        };
    } else if (what == "sent") {
        if (args.empty())
            throw EAppRunError("wait sent needs bytes");
        done = [&run, bytes = " " + std::string(args)] {
            const size_t at = run.SentHex.find(bytes, run.SentMatched);
            if (at == std::string::npos)
                return false;
            run.SentMatched = at + bytes.size();
            return true;
        };
    } else {
        throw EAppRunError("unknown wait " + what);
    }
    if (!run.WaitFor(done, ms))
        run.Print("TIMEOUT " + TAppRun::Text(what == "text" ? "text " + args : what));
}

void Net(TAppRun& run, const AnsiString& rest)
{
    AnsiString args = rest;
    const AnsiString verb = TakeWord(args);
    TNetSocket& socket = run.PeerSocket();
    if (verb == "accept")
        socket.PeerAccept();
    else if (verb == "refuse")
        socket.PeerRefuse();
    else if (verb == "badhost")
        socket.PeerBadHost();
    else if (verb == "close")
        socket.PeerClose();
    else if (verb == "recv")
        socket.PeerReceive(args);
    else
        throw EAppRunError("unknown net directive " + verb);
}

void ScreenDump(TAppRun& run, const AnsiString& rest)
{
    // `screen CLASS`: the terminal of another form.
    if (!rest.empty() && AppRunScreenOfForm(run, rest))
        return;
    const std::vector<AnsiString> lines = ScreenLines(run.Window());
    run.Print("SCREEN " + std::to_string(lines.size()));
    for (const AnsiString& line : lines)
        run.Print("| " + TAppRun::Text(line));
}

void State(TAppRun& run, const AnsiString&)
{
    TAnsiTerminalForm& w = run.Window();
    for (int i = 0; i < TAnsiTerminalForm::kPanelCount; ++i)
        run.Print("PANEL " + std::to_string(i) + " " + TAppRun::Text(w.PanelText(i)));
    run.Print(std::string("CONNECTED ") + (w.Connected() ? "1" : "0"));
    run.Print("CPU " + std::to_string(w.CpuPosition()));
    run.Print("STATUSLINE " + TAppRun::Text(w.StatusLine()));
    run.Print("INPUT " + TAppRun::Text(w.ComboEdit()->Text()));
    run.Print("TD " + TAppRun::Text(w.TranslationBtn()->Caption()));
}

void ProcStat(TAppRun& run, const AnsiString& rest)
{
    if (run.ProcStatFile.empty())
        throw EAppRunError("procstat needs --proc-stat");
    if (const TWriteResult written = AtomicWriteFile(run.ProcStatFile, rest); !written)
        throw EAppRunError(written.Message);
}

void Var(TAppRun& run, const AnsiString& rest)
{
    const cVariables* v = FindVariable(run.Window().Script().VariableList, rest);
    run.Print("VAR " + TAppRun::Field(rest) + (v ? "|" + TAppRun::Field(v->Value) : std::string()));
}

void Screenshot(TAppRun& run, const AnsiString& rest)
{
    // `screenshot CLASS FILE`: another form.
    if (AppRunScreenshotOfForm(run, rest))
        return;
    QWidget* widget = run.Window().Handle();
    if (!widget->grab().toImage().save(QString::fromStdString(Cp949ToUtf8(rest)), "PNG"))
        throw EAppRunError("cannot write " + rest);
}

void Answer(TAppRun& run, const AnsiString& rest)
{
    for (const char* known : {"ok", "yes", "no", "cancel"})
        if (SameText(rest, known)) {
            run.BoxAnswers.push_back(LowerCase(rest));
            return;
        }
    throw EAppRunError("unknown answer " + rest);
}

void AnswerInput(TAppRun& run, const AnsiString& rest)
{
    if (rest == "cancel")
        run.InputAnswers.push_back(std::nullopt);
    else
        run.InputAnswers.push_back(rest);
}

}  // namespace

const std::vector<TAppRunDirective>& AppRunDirectives()
{
    static const std::vector<TAppRunDirective> table = {
        {"book", Book},
        {"open", Open},
        {"close", Close},
        {"exec", Exec},
        {"+", Advance},
        {"wait", Wait},
        {"net", Net},
        {"screen", ScreenDump},
        {"state", State},
        {"var", Var},
        {"screenshot", Screenshot},
        {"answer", Answer},
        {"answer-input", AnswerInput},
        {"procstat", ProcStat},
        // The character window's keys, focus, wheel and typed-line history.
        {"type", AppRunType},
        {"key", AppRunKey},
        {"focus", AppRunFocus},
        {"wheel", AppRunWheel},
        {"history", AppRunHistory},
        // The program's windows by class and component name.
        {"start", AppRunStart},
        {"forms", AppRunForms},
        {"click", AppRunClick},
        {"dblclick", AppRunDblClick},
        {"grid", AppRunGrid},
        {"set", AppRunSet},
        {"check", AppRunCheck},
        {"pick", AppRunPick},
        {"get", AppRunGet},
        {"modal", AppRunModal},
        {"answer-file", AppRunAnswerFile},
        {"resize", AppRunResize},
        {"quit", AppRunQuit},
        // The character window's actions, the script editor's grids and the button bar.
        {"actions", AppRunActions},
        {"action", AppRunAction},
        {"moverow", AppRunMoveRow},
        {"buttons", AppRunButtons},
        // Runs against real servers.
        {"statusline", AppRunStatusLine},
        {"quiet", AppRunQuiet},
        {"rss", AppRunRss},
        {"stamp", AppRunStamp},
        {"typing", AppRunTyping},
        {"scrollback", AppRunScrollback},
        {"screencheck", AppRunScreenCheck},
        {"place", AppRunPlace},
    };
    return table;
}
