// apprun's directives on the character window's actions, the script editor's grids and the
// button bar.

#include "tools/apprun/AppRunEditor.h"

#include "app/forms/AnsiTerminal.h"
#include "app/forms/ButtonUnit.h"
#include "platform/core/Strings.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Grids.h"
#include "tools/apprun/AppRunForms.h"
#include "tools/apprun/AppRunKeys.h"

namespace {
AnsiString Word(AnsiString& text) { return AppRunWord(text); }
int Integer(const AnsiString& text) { return AppRunInteger(text); }
}  // namespace

void AppRunActions(TAppRun& run, const AnsiString&)
{
    TActionList* list = run.Window().ActionList1();
    list->UpdateActions();
    for (int i = 0; i < list->ActionCount(); ++i)
        if (auto* action = dynamic_cast<TCustomAction*>(list->Actions(i)))
            run.Print("ACTION " + TAppRun::Field(action->Name()) + "|" + (action->Enabled() ? "1" : "0") + "|" +
                      (action->Checked() ? "1" : "0"));
}

void AppRunAction(TAppRun& run, const AnsiString& rest)
{
    TAnsiTerminalForm& window = run.Window();
    TAction* action = window.FindAction(Trim(rest));
    if (!action)
        throw EAppRunError("no action " + rest);
    action->Execute();
    run.Pump();
}

void AppRunMoveRow(TAppRun& run, const AnsiString& rest)
{
    AnsiString args = rest;
    TCustomForm& form = AppRunForm(Word(args));
    auto* grid = dynamic_cast<TCustomGrid*>(&AppRunComponent(form, Word(args)));
    if (!grid)
        throw EAppRunError("not a grid");
    const int from = Integer(Word(args));
    const int to = Integer(Word(args));
    // A drag starts and ends on the grid's rows: others cannot be dragged.
    if (from < 0 || from >= grid->RowCount() || to < 0 || to >= grid->RowCount())
        throw EAppRunError("no such row");
    grid->MoveRow(from, to);
    run.Pump();
}

void AppRunButtons(TAppRun& run, const AnsiString&)
{
    TButtonForm* bar = run.Window().ButtonForm();
    if (!bar)
        throw EAppRunError("the button bar is not open");
    const std::vector<TMyButton*>& buttons = bar->Buttons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        const TMyButton* b = buttons[i];
        run.Print("BUTTON " + std::to_string(i) + " " + TAppRun::Field(b->Caption()) + "|" + std::to_string(b->Left()) +
                  "|" + std::to_string(b->Top()) + "|" + (b->Down() ? "1" : "0"));
    }
    run.Print("BUTTONS " + std::to_string(buttons.size()));
}

void AppRunModalHotKey(TAppRun&, TCustomForm& form, const AnsiString& args)
{
    AnsiString spec = args;
    auto* box = dynamic_cast<THotKey*>(&AppRunComponent(form, Word(spec)));
    if (!box)
        throw EAppRunError("not a hot-key box");
    box->SetFocus();
    AppRunPressKey(box->Handle(), Trim(spec));
}
