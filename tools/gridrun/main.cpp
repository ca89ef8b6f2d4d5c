// gridrun: runs directives on one new cell grid filling a form, and prints what they give.
//
//   gridrun [--width W] [--height H] [FILE]
//
// Directives come from FILE or standard input, one a line; lines starting with "#" are skipped.
// Words are separated by blanks or quoted with double quotes; \\ \t \r \n \b \xHH and \" stand
// for their bytes. Lines are UTF-8 and so is the output; cell text is cp949 inside. Output
// escapes the same bytes, \xHH (upper case) for the other bytes below 0x20 and 0x7F.
//
//   new                          a new grid replaces the old one
//   set NAME [INDEX...] VALUE    a property (dotted names reach sub-objects)
//   ? NAME [INDEX...]            prints "NAME INDEX... = VALUE"
//   call OP ARG...               prints "OP ARG... =", the result and the var parameters
//   cell C R TEXT                the rest of the line into one cell
//   block C R TEXT               the rest of the line from a cell on: TAB next column, LF next row
//   width C W, height R H        a column width, a row height
//   dump                         the counts, then "R:" and "|TEXT" for each real column of each row
//   cellcolor C R, printcolor C R   the colour query: "cellcolor C R = BRUSH FONTCOLOR"
//   locale DATESEP SHORTDATE DECIMAL THOUSANDS
//   rich C R START LEN normal|subscript|superscript
//                                the cell's rich text loaded into the grid's rich edit (CellToRich),
//                                characters START to START + LEN shifted, and written back
//                                (RichToCell)
//   htmlplain TEXT               the rest of the line measured as HTML cell text in a 65535 x 65535
//                                box with the grid's font: "htmlplain = PLAIN"
//   png FILE                     the form's client area as a PNG file
//   paint C R                    paints cell (display column C, row R): "paint C R = BRUSH FONTCOLOR",
//                                then "text T", "html T" or "rtf T" for each text the body drew
//   events all|off|NAME,...      prints "event NAME ARGS" as the named events fire
//   answer EVENT [C] [R] VALUE...|off   sets the event's var parameters when it fires
//   filter C CONDITION           adds a filter condition on column C: the rest of the line
//   filter clear                 removes every filter condition
//   clipboard TEXT               the clipboard holds the rest of the line as text
//   ? clipboard [rtf]            prints "clipboard = TEXT" (or its rich text's bytes)
//   drop [ctrl] C R text|rtf|file|col DATA   a drag enters, moves over and drops on cell C R
//                                (files blank-separated): "drop C R = copy|move|none"
//   show FILE                    the file's bytes: printable ASCII as is, the rest escaped (\xHH
//                                from 0x80 too), a line after each \n
//   focus, key, mouse, click, dblclick, wheel, tick, hint   input (tools/gridrun/GridRunInput.h)
//   printer pdf|queue, ? pages, preview, draw      printing (tools/gridrun/GridRunPrint.h)
//   sortindex clear|C asc|desc   the sort-index list (tools/gridrun/GridRunSort.h)
//   type TEXT, ? editor, ? beeps, editlink   editing (tools/gridrun/GridRunEdit.h)
//
// Values print as true/false, integers, %.15g, colour names, enumeration names, sets [a,b] and
// escaped texts (quoted after "=" of call and in event lines when empty or holding a blank). An
// exception prints "error: CLASS: MESSAGE" and the run goes on; a directive that cannot run
// prints "gridrun: line N: ..." to standard error and ends the run with status 2.

#include <cxxabi.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <typeinfo>

#include "grid/control/CgRichEdit.h"
#include "grid/control/HtmlRender.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/TimerService.h"
#include "platform/gui/Application.h"
#include "tools/gridrun/GridRun.h"
#include "tools/gridrun/GridRunEdit.h"
#include "tools/gridrun/GridRunEnums.h"
#include "tools/gridrun/GridRunExchange.h"
#include "tools/gridrun/GridRunFiles.h"
#include "tools/gridrun/GridRunInput.h"
#include "tools/gridrun/GridRunPrint.h"
#include "tools/gridrun/GridRunSort.h"

namespace {

using TLine = std::vector<TGridRunWord>;
using TDirective = std::function<void(TGridRun&, const TLine&, std::string_view)>;

void Need(const TLine& words, size_t count, const char* form)
{
    if (words.size() != count)
        throw EBadDirective(std::string("expected: ") + form);
}

int Number(const TGridRunWord& word)
{
    int v = 0;
    if (!ParseInt(word.Text, v))
        throw EBadDirective("not a number: " + Escape(word.Text));
    return v;
}

// The text of a line from one of its words to the end, escapes applied.
AnsiString Rest(const TLine& words, size_t first, std::string_view line)
{
    AnsiString text;
    std::string error;
    if (first < words.size() && !Unescape(line.substr(words[first].Start), text, error))
        throw EBadDirective(error);
    return text;
}

std::string ClassNameOf(const std::exception& e)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status),
                                                std::free);
    return status == 0 && name ? name.get() : typeid(e).name();
}

void ColourQuery(TGridRun& run, const TLine& words, bool printing)
{
    Need(words, 3, printing ? "printcolor C R" : "cellcolor C R");
    TCellGrid& g = run.Grid();
    TBrush brush;
    brush.SetColor(g.Color());
    TFont font;
    font.Assign(g.Font());
    const int col = Number(words[1]), row = Number(words[2]);
    if (printing)
        g.GetCellPrintColor(col, row, {}, &brush, &font);
    else
        g.GetCellColor(col, row, {}, &brush, &font);
    run.Out() << words[0].Text << ' ' << col << ' ' << row << " = " << ColorText(brush.Color()) << ' '
              << ColorText(font.Color()) << '\n';
}

const std::map<std::string, TDirective, std::less<>>& Directives()
{
    static const std::map<std::string, TDirective, std::less<>> table{
        // --- Input: focus, keys, mouse, wheel and the window timer (GridRunInput.cpp).
        {"focus", RunFocus},
        {"key", RunKey},
        {"mouse", RunMouse},
        {"click", RunClick},
        {"dblclick", RunDblClick},
        {"hint", RunHint},
        {"wheel", RunWheel},
        {"tick", RunTick},
        // --- The sort-index list (GridRunSort.cpp).
        {"sortindex", RunSortIndex},
        // --- Editing in place: typed text (GridRunEdit.cpp).
        {"type", RunType},
        {"editlink", RunEditLink},
        {"new",
         [](TGridRun& run, const TLine& w, std::string_view) {
             Need(w, 1, "new");
             run.NewGrid();
         }},
        {"set",
         [](TGridRun& run, const TLine& w, std::string_view) {
             const auto p = w.size() >= 3 ? GridProperties().find(w[1].Text) : GridProperties().end();
             if (p == GridProperties().end())
                 throw EBadDirective(w.size() < 3 ? "expected: set NAME VALUE" : "no property " + Escape(w[1].Text));
             if (!p->second.Set)
                 throw EBadDirective(Escape(w[1].Text) + " cannot be set");
             Need(w, 3 + static_cast<size_t>(p->second.Indexes), "set NAME INDEX... VALUE");
             std::vector<int> indexes;
             for (int i = 0; i < p->second.Indexes; ++i)
                 indexes.push_back(Number(w[2 + static_cast<size_t>(i)]));
             p->second.Set(run.Grid(), indexes, w.back().Text);
         }},
        {"?",
         [](TGridRun& run, const TLine& w, std::string_view) {
             if (w.size() >= 2 && w[1].Text == "clipboard")
                 return ShowClipboard(run, w);
             if (w.size() >= 2 && w[1].Text == "pages")
                 return ShowPages(run, w);
             const auto p = w.size() >= 2 ? GridProperties().find(w[1].Text) : GridProperties().end();
             if (p == GridProperties().end())
                 throw EBadDirective(w.size() < 2 ? "expected: ? NAME" : "no property " + Escape(w[1].Text));
             Need(w, 2 + static_cast<size_t>(p->second.Indexes), "? NAME INDEX...");
             std::vector<int> indexes;
             std::string words;
             for (size_t i = 1; i < w.size(); ++i) {
                 words += (i > 1 ? " " : "") + Quote(w[i].Text);
                 if (i >= 2)
                     indexes.push_back(Number(w[i]));
             }
             const std::string value = p->second.Get(run.Grid(), indexes);
             run.Out() << words << " = " << value << '\n';
         }},
        {"call",
         [](TGridRun& run, const TLine& w, std::string_view) {
             const auto op = w.size() >= 2 ? GridOperations().find(w[1].Text) : GridOperations().end();
             if (op == GridOperations().end())
                 throw EBadDirective(w.size() < 2 ? "expected: call OP ARG..." : "no operation " + Escape(w[1].Text));
             TWords args;
             std::string words = Escape(w[1].Text);
             for (size_t i = 2; i < w.size(); ++i) {
                 args.push_back(w[i].Text);
                 words += " " + Quote(w[i].Text);
             }
             std::string values;
             try {
                 values = op->second(run.Grid(), args);
             } catch (const EBadDirective& e) {
                 throw EBadDirective(Escape(w[1].Text) + " " + e.what());
             }
             run.Out() << words << " =" << (values.empty() ? "" : " ") << values << '\n';
         }},
        {"cell",
         [](TGridRun& run, const TLine& w, std::string_view line) {
             if (w.size() < 3)
                 throw EBadDirective("expected: cell C R TEXT");
             run.Grid().SetCells(Number(w[1]), Number(w[2]), Rest(w, 3, line));
         }},
        {"block",
         [](TGridRun& run, const TLine& w, std::string_view line) {
             if (w.size() < 3)
                 throw EBadDirective("expected: block C R TEXT");
             const int first = Number(w[1]);
             int col = first, row = Number(w[2]);
             AnsiString cell;
             const AnsiString text = Rest(w, 3, line) + '\n';
             for (const char c : text) {
                 if (c != '\t' && c != '\n') {
                     cell += c;
                     continue;
                 }
                 run.Grid().SetCells(col, row, cell);
                 cell.clear();
                 col = c == '\t' ? col + 1 : first;
                 row += c == '\n';
             }
         }},
        {"width",
         [](TGridRun& run, const TLine& w, std::string_view) {
             Need(w, 3, "width C W");
             run.Grid().SetColWidths(Number(w[1]), Number(w[2]));
         }},
        {"height",
         [](TGridRun& run, const TLine& w, std::string_view) {
             Need(w, 3, "height R H");
             run.Grid().SetRowHeights(Number(w[1]), Number(w[2]));
         }},
        {"dump",
         [](TGridRun& run, const TLine& w, std::string_view) {
             Need(w, 1, "dump");
             TCellGrid& g = run.Grid();
             run.Out() << "ColCount=" << g.ColCount() << " RowCount=" << g.RowCount() << " FixedCols=" << g.FixedCols()
                       << " FixedRows=" << g.FixedRows() << " HiddenCols=" << g.HiddenColCount()
                       << " HiddenRows=" << g.NumHiddenRows() << '\n';
             for (int r = 0; r < g.RowCount(); ++r) {
                 run.Out() << r << ':';
                 for (int c = 0; c < g.ColCount() + g.HiddenColCount(); ++c)
                     run.Out() << '|' << Escape(g.Cells(c, r), "|");
                 run.Out() << '\n';
             }
         }},
        {"cellcolor", [](TGridRun& run, const TLine& w, std::string_view) { ColourQuery(run, w, false); }},
        {"printcolor", [](TGridRun& run, const TLine& w, std::string_view) { ColourQuery(run, w, true); }},
        {"rich",
         [](TGridRun& run, const TLine& w, std::string_view) {
             Need(w, 6, "rich C R START LEN normal|subscript|superscript");
             const std::map<std::string, void (TCgRichEdit::*)(), std::less<>> shifts{
                 {"normal", &TCgRichEdit::SelNormal},
                 {"subscript", &TCgRichEdit::SelSubscript},
                 {"superscript", &TCgRichEdit::SelSuperscript}};
             const auto shift = shifts.find(w[5].Text);
             if (shift == shifts.end())
                 throw EBadDirective("expected: normal, subscript or superscript");
             TCellGrid& g = run.Grid();
             const int col = Number(w[1]), row = Number(w[2]);
             TCgRichEdit* rich = g.RichEdit();
             g.CellToRich(col, row, rich);
             rich->SetSelection(Number(w[3]), Number(w[4]));
             (rich->*(shift->second))();
             g.RichToCell(col, row, rich);
         }},
        {"htmlplain",
         [](TGridRun& run, const TLine& w, std::string_view line) {
             TCellGrid& g = run.Grid();
             TCanvas* canvas = g.Canvas();
             canvas->Font()->Assign(g.Font());
             AnsiString anchor, plain;
             int width = 0, height = 0;
             PaintHtmlText(canvas, Rest(w, 1, line), TRect{0, 0, 65535, 65535}, g.GridImages(), 0, 0, false, true,
                           false, false, false, 0, g.URLColor(), anchor, plain, width, height);
             run.Out() << "htmlplain = " << Escape(plain) << '\n';
         }},
        // --- Printing, previews and drawing the print layout (GridRunPrint.cpp).
        {"printer", RunPrinter},
        {"preview", RunPreview},
        {"draw", RunDraw},
        // --- Painting.
        {"png",
         [](TGridRun& run, const TLine& w, std::string_view) {
             Need(w, 2, "png FILE");
             SaveFormPng(run, w[1].Text);
         }},
        {"paint",
         [](TGridRun& run, const TLine& w, std::string_view) {
             Need(w, 3, "paint C R");
             PaintOneCell(run, Number(w[1]), Number(w[2]));
         }},
        {"locale",
         [](TGridRun&, const TLine& w, std::string_view) {
             Need(w, 5, "locale DATESEP SHORTDATE DECIMAL THOUSANDS");
             for (size_t i : {1u, 3u, 4u})
                 if (w[i].Text.size() != 1)
                     throw EBadDirective("a separator is one character");
             TFormatSettings& fs = FormatSettings();
             fs.DateSeparator = w[1].Text[0];
             fs.ShortDateFormat = w[2].Text;
             fs.DecimalSeparator = w[3].Text[0];
             fs.ThousandSeparator = w[4].Text[0];
         }},
        {"events",
         [](TGridRun& run, const TLine& w, std::string_view) {
             Need(w, 2, "events all|off|NAME,...");
             std::vector<std::string> named;
             for (std::string_view rest = w[1].Text; !rest.empty();) {
                 const size_t comma = rest.find(',');
                 named.emplace_back(rest.substr(0, comma));
                 rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
             }
             for (const std::string& name : named)
                 if (name != "all" && name != "off" && !GridEvents().count(name))
                     throw EBadDirective("no event " + Escape(name));
             for (const auto& [name, event] : GridEvents()) {
                 const bool on = w[1].Text == "all" ||
                     (w[1].Text != "off" && std::find(named.begin(), named.end(), name) != named.end());
                 run.Event(name).Printing = on;
                 run.Rebind(name);
             }
         }},
        {"filter",
         [](TGridRun& run, const TLine& w, std::string_view line) {
             if (w.size() == 2 && w[1].Text == "clear") {
                 run.Grid().Filter()->Clear();
                 return;
             }
             if (w.size() < 3)
                 throw EBadDirective("expected: filter C CONDITION or filter clear");
             const int column = Number(w[1]);
             if (column < -32768 || column > 32767)
                 throw EBadDirective("a filter column is a 16-bit number");
             TFilterData* item = run.Grid().Filter()->Add();
             item->Column = static_cast<int16_t>(column);
             item->Condition = Rest(w, 2, line);
         }},
        // --- Files, the clipboard, drag and drop.
        {"clipboard", [](TGridRun&, const TLine& w, std::string_view line) { SetClipboardText(Rest(w, 1, line)); }},
        {"drop",
         [](TGridRun& run, const TLine& w, std::string_view line) {
             const size_t data = w.size() > 1 && w[1].Text == "ctrl" ? 5 : 4;
             DropOnGrid(run, w, Rest(w, data, line));
         }},
        {"show",
         [](TGridRun& run, const TLine& w, std::string_view) {
             Need(w, 2, "show FILE");
             ShowFile(run.Out(), w[1].Text);
         }},
        {"answer",
         [](TGridRun& run, const TLine& w, std::string_view) {
             const auto event = w.size() >= 3 ? GridEvents().find(w[1].Text) : GridEvents().end();
             if (event == GridEvents().end())
                 throw EBadDirective(w.size() < 3 ? "expected: answer EVENT ..." : "no event " + Escape(w[1].Text));
             TEventState& state = run.Event(event->first);
             if (w.size() == 3 && w[2].Text == "off") {
                 state.Answers.clear();
             } else {
                 const size_t indexes = static_cast<size_t>(event->second.Indexes);
                 if (w.size() < 2 + indexes + 1)
                     throw EBadDirective("expected: answer EVENT INDEX... VALUE...");
                 TEventState::TAnswer answer;
                 for (size_t i = 2; i < w.size(); ++i)
                     (i < 2 + indexes ? answer.Indexes : answer.Values).push_back(w[i].Text);
                 state.Answers.push_back(std::move(answer));
             }
             run.Rebind(event->first);
         }},
    };
    return table;
}

void Usage() { std::cerr << "usage: gridrun [--width W] [--height H] [FILE]\n"; }

}  // namespace

int main(int argc, char** argv)
{
    int width = 640, height = 480;
    const char* file = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--width" || arg == "--height") && i + 1 < argc) {
            int& target = arg == "--width" ? width : height;
            if (!TryStrToInt(argv[++i], target) || target <= 0) {
                Usage();
                return 2;
            }
        } else if (!file && arg.rfind("--", 0) != 0) {
            file = argv[i];
        } else {
            Usage();
            return 2;
        }
    }
    std::ifstream in;
    if (file) {
        in.open(file);
        if (!in) {
            std::cerr << "gridrun: cannot open " << file << '\n';
            return 2;
        }
    }
    std::istream& input = file ? in : std::cin;

    // Offscreen unless a platform is named; its warnings (no window raising there) would mix
    // with the tool's own messages.
    if (!getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("QT_LOGGING_RULES", "default.warning=false", 0);
    }
    int qtArgc = 1;
    TApplication app(qtArgc, argv);
    // The window timers run on a clock that only "tick" moves, so what a run prints or paints
    // never depends on how fast it runs.
    struct TClock {
        TManualTimerService Service;
        TClock() { SetTimerService(&Service); }
        ~TClock() { SetTimerService(nullptr); }
    } clock;
    FormatSettings() = TFormatSettings::Korean();
    CountBeeps();
    TGridRun run(std::cout, width, height);
    app.ProcessMessages();

    std::string line;
    for (int number = 1; std::getline(input, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        try {
            TLine words;
            std::string error;
            if (!SplitWords(line, words, error))
                throw EBadDirective(error);
            const auto directive = Directives().find(words[0].Text);
            if (directive == Directives().end())
                throw EBadDirective("unknown directive " + Escape(words[0].Text));
            try {
                directive->second(run, words, line);
            } catch (const EBadDirective&) {
                throw;
            } catch (const Exception& e) {
                std::cout << "error: " << ClassNameOf(e) << ": " << Escape(e.Message) << '\n';
            } catch (const std::exception& e) {
                std::cout << "error: " << ClassNameOf(e) << ": " << Escape(e.what()) << '\n';
            }
        } catch (const EBadDirective& e) {
            std::cout.flush();
            std::cerr << "gridrun: line " << number << ": " << e.what() << '\n';
            return 2;
        }
        std::cout.flush();
        app.ProcessMessages();
    }
    return 0;
}
