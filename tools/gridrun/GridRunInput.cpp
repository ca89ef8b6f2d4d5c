#include "tools/gridrun/GridRunInput.h"

#include "platform/gui/Application.h"
#include "platform/gui/HintShow.h"
#include "platform/gui/SyntheticInput.h"
#include "tools/gridrun/GridRun.h"
#include "tools/gridrun/GridRunEdit.h"

namespace {

using TLine = std::vector<TGridRunWord>;

const std::pair<TShiftStateFlag, const char*> kShiftNames[] = {
    {ssShift, "ssShift"}, {ssAlt, "ssAlt"},       {ssCtrl, "ssCtrl"},    {ssLeft, "ssLeft"},
    {ssRight, "ssRight"}, {ssMiddle, "ssMiddle"}, {ssDouble, "ssDouble"}};

int Number(const TGridRunWord& word)
{
    int v = 0;
    if (!TryStrToInt(word.Text, v))
        throw EBadDirective("not a number: " + Escape(word.Text));
    return v;
}

TShiftState ShiftAt(const TLine& w, size_t index)
{
    TShiftState shift;
    if (index < w.size() && !ParseShift(w[index].Text, shift))
        throw EBadDirective("not a shift state: " + Escape(w[index].Text));
    return shift;
}

void Settle()
{
    if (Application)
        Application->ProcessMessages();
}

// The centre of a cell in view; a cell out of view cannot be clicked.
TPoint CellCentre(TCellGrid& g, const TLine& w)
{
    const TRect r = g.CellRect(Number(w[1]), Number(w[2]));
    if (r.IsEmpty())
        throw EBadDirective("the cell is not in view");
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

}  // namespace

std::string ShiftText(TShiftState Shift)
{
    std::string out;
    for (const auto& [flag, name] : kShiftNames)
        if (Shift.Contains(flag))
            out += (out.empty() ? "" : ",") + std::string(name);
    return "[" + out + "]";
}

bool ParseShift(std::string_view Word, TShiftState& Shift)
{
    if (Word.size() >= 2 && Word.front() == '[' && Word.back() == ']')
        Word = Word.substr(1, Word.size() - 2);
    Shift = TShiftState();
    while (!Word.empty()) {
        const size_t comma = Word.find(',');
        const std::string_view name = Word.substr(0, comma);
        bool known = false;
        for (const auto& [flag, text] : kShiftNames)
            if (name == text) {
                Shift << flag;
                known = true;
            }
        if (!known)
            return false;
        Word = comma == std::string_view::npos ? std::string_view() : Word.substr(comma + 1);
    }
    return true;
}

void RunFocus(TGridRun& Run, const TLine& w, std::string_view)
{
    if (w.size() != 1)
        throw EBadDirective("expected: focus");
    Run.Activate();
    Settle();
}

void RunKey(TGridRun& Run, const TLine& w, std::string_view)
{
    if (w.size() < 2 || w.size() > 3)
        throw EBadDirective("expected: key KEY [SHIFT]");
    uint16_t key = 0;
    AnsiString text;
    if (!VirtualKeyOf(w[1].Text, key, text))
        throw EBadDirective("no key " + Escape(w[1].Text));
    const TShiftState shift = ShiftAt(w, 2);
    // Ctrl and Alt type no character.
    if (shift.Contains(ssCtrl) || shift.Contains(ssAlt))
        text.clear();
    // The key goes where the focus is inside the grid: an editor takes its keys.
    TWinControl* target = FocusedControl();
    if (!InGridOrItsEditor(Run, target))
        target = &Run.Grid();
    SendKeyStroke(target, key, shift, text);
    Settle();
}

void RunMouse(TGridRun& Run, const TLine& w, std::string_view)
{
    if (w.size() < 5 || w.size() > 6)
        throw EBadDirective("expected: mouse down|up|move|dbl left|right|middle X Y [SHIFT]");
    const std::string& a = w[1].Text;
    const TMouseAction action = a == "down" ? maDown : a == "up" ? maUp : a == "move" ? maMove : maDouble;
    if (a != "down" && a != "up" && a != "move" && a != "dbl")
        throw EBadDirective("no mouse action " + Escape(a));
    const std::string& b = w[2].Text;
    if (b != "left" && b != "right" && b != "middle")
        throw EBadDirective("no mouse button " + Escape(b));
    const TMouseButton button = b == "left" ? mbLeft : b == "right" ? mbRight : mbMiddle;
    SendMouseInput(&Run.Grid(), action, button, Number(w[3]), Number(w[4]), ShiftAt(w, 5));
    Settle();
}

void RunClick(TGridRun& Run, const TLine& w, std::string_view)
{
    if (w.size() < 3 || w.size() > 4)
        throw EBadDirective("expected: click C R [SHIFT]");
    const TPoint p = CellCentre(Run.Grid(), w);
    const TShiftState shift = ShiftAt(w, 3);
    SendMouseInput(&Run.Grid(), maMove, mbLeft, p.x, p.y, shift);
    SendMouseInput(&Run.Grid(), maDown, mbLeft, p.x, p.y, shift);
    SendMouseInput(&Run.Grid(), maUp, mbLeft, p.x, p.y, shift);
    Settle();
}

void RunHint(TGridRun& Run, const TLine& w, std::string_view)
{
    if (w.size() != 3)
        throw EBadDirective("expected: hint C R");
    TCellGrid& g = Run.Grid();
    const TPoint p = CellCentre(g, w);
    SendMouseInput(&g, maMove, mbLeft, p.x, p.y, {});
    Settle();
    // The pointer rests: the grid is asked what to show, as the application's hint timer asks.
    THintInfo info;
    info.HintControl = &g;
    info.CursorPos = p;
    info.HintStr = g.Hint();
    const bool refused = g.Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
    Run.Out() << "hint " << w[1].Text << ' ' << w[2].Text << " = "
              << (refused || info.HintStr.empty() ? std::string("none") : Escape(info.HintStr)) << '\n';
}

void RunDblClick(TGridRun& Run, const TLine& w, std::string_view)
{
    if (w.size() < 3 || w.size() > 4)
        throw EBadDirective("expected: dblclick C R [SHIFT]");
    const TPoint p = CellCentre(Run.Grid(), w);
    const TShiftState shift = ShiftAt(w, 3);
    // As the window system reports a double click: press, release, double click, release.
    SendMouseInput(&Run.Grid(), maMove, mbLeft, p.x, p.y, shift);
    SendMouseInput(&Run.Grid(), maDown, mbLeft, p.x, p.y, shift);
    SendMouseInput(&Run.Grid(), maUp, mbLeft, p.x, p.y, shift);
    SendMouseInput(&Run.Grid(), maDouble, mbLeft, p.x, p.y, shift);
    SendMouseInput(&Run.Grid(), maUp, mbLeft, p.x, p.y, shift);
    Settle();
}

void RunWheel(TGridRun& Run, const TLine& w, std::string_view)
{
    if (w.size() < 2 || w.size() > 3)
        throw EBadDirective("expected: wheel N [SHIFT]");
    const int notches = Number(w[1]);
    if (notches < -1000 || notches > 1000)
        throw EBadDirective("at most 1000 notches");
    const TShiftState shift = ShiftAt(w, 2);
    // One notch at a time, as a wheel sends them; towards the user is a negative delta.
    for (int i = 0; i < std::abs(notches); ++i)
        SendWheelInput(&Run.Grid(), notches > 0 ? -120 : 120, shift, 1, 1);
    Settle();
}

void RunTick(TGridRun& Run, const TLine& w, std::string_view)
{
    if (w.size() != 1)
        throw EBadDirective("expected: tick");
    Run.Grid().Perform(WM_TIMER, 111);
    Settle();
}
