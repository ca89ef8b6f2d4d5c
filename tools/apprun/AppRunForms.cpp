// apprun's directives on the program's windows by class and component name: starting the
// program, listing forms, clicking, setting, checking, picking and reading controls, grids,
// scripts for modal forms and answers for file dialogs, a form's terminal, pictures, sizes and
// quitting.

#include "tools/apprun/AppRunForms.h"
#include "tools/apprun/AppRunEditor.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <deque>
#include <optional>
#include <vector>

#include "app/core/CharBooks.h"
#include "app/forms/AnsiTerminal.h"
#include "app/forms/BooksForm.h"
#include "controls/lib/ExCombos.h"
#include "controls/lib/ExSpeedButton.h"
#include "controls/lib/ToolEdit.h"
#include "platform/core/Colors.h"
#include "platform/core/Cp949.h"
#include "platform/core/GridData.h"
#include "platform/core/ShortCuts.h"
#include "platform/core/StoredPath.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Application.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/CommonDialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Grids.h"
#include "platform/gui/ListBoxes.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Shell.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/SyntheticInput.h"
#include "terminal/control/Terminal.h"

AnsiString AppRunWord(AnsiString& text)
{
    const size_t start = text.find_first_not_of(' ');
    text = start == AnsiString::npos ? AnsiString() : text.substr(start);
    const size_t blank = text.find(' ');
    AnsiString word = text.substr(0, blank);
    text = blank == AnsiString::npos ? AnsiString() : text.substr(blank + 1);
    return word;
}

int AppRunInteger(const AnsiString& text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        throw EAppRunError("not a number: " + text);
    return value;
}

namespace {

// A window apprun counts the socket events of carries this tag.
constexpr intptr_t kWatchedTag = 0x61707072;

struct TModalScript {
    AnsiString Class;
    std::vector<AnsiString> Actions;
};

struct TFormsState {
    TAppRun* Run = nullptr;
    std::deque<TModalScript> Scripts;
    std::deque<std::optional<AnsiString>> FileAnswers;
    TDialogHook Previous;
} gState;

AnsiString Word(AnsiString& text) { return AppRunWord(text); }

int Integer(const AnsiString& text) { return AppRunInteger(text); }

TCustomForm* FindForm(const AnsiString& cls)
{
    for (int i = 0; Screen && i < Screen->FormCount(); ++i)
        if (TCustomForm* form = Screen->Forms(i); form->Visible() && form->ClassName() == cls)
            return form;
    return nullptr;
}

TCustomForm& Form(const AnsiString& cls)
{
    if (TCustomForm* form = FindForm(cls))
        return *form;
    throw EAppRunError("no visible " + cls);
}

AnsiString CaptionOf(TComponent* c)
{
    if (auto* item = dynamic_cast<TMenuItem*>(c))
        return item->Caption();
    if (auto* action = dynamic_cast<TCustomAction*>(c))
        return action->Caption();
    if (auto* control = dynamic_cast<TControl*>(c))
        return control->Caption();
    return {};
}

// By name, or "@" and the caption ("&" marks ignored), among everything the form owns.
TComponent* FindIn(TComponent* owner, const AnsiString& name)
{
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        TComponent* c = owner->Components(i);
        if (name[0] == '@') {
            AnsiString caption = CaptionOf(c);
            std::erase(caption, '&');
            if (caption == name.substr(1) && !caption.empty())
                return c;
        } else if (SameText(c->Name(), name)) {
            return c;
        }
        if (TComponent* inner = FindIn(c, name))
            return inner;
    }
    return nullptr;
}

TComponent& Component(TCustomForm& form, const AnsiString& name)
{
    if (name.empty())
        throw EAppRunError("a component name is missing");
    if (TComponent* c = FindIn(&form, name))
        return *c;
    throw EAppRunError("no " + name + " on " + form.ClassName());
}

// A press and release at the control's centre, delivered as the user's.
void MouseClick(TControl& control)
{
    TWinControl* target = dynamic_cast<TWinControl*>(&control);
    int x = control.Width() / 2, y = control.Height() / 2;
    if (!target) {
        target = control.Parent();
        x += control.Left();
        y += control.Top();
    }
    if (!target)
        throw EAppRunError("nothing to click");
    SendMouseInput(target, maDown, mbLeft, x, y, TShiftState());
    SendMouseInput(target, maUp, mbLeft, x, y, TShiftState());
}

int ItemIndexOf(TStrings* items, const AnsiString& text)
{
    for (int i = 0; i < items->Count(); ++i)
        if (items->Strings(i) == text)
            return i;
    throw EAppRunError("no item " + text);
}

// Windows the book window opened are watched like those `open` makes; the newest is the one the
// window directives act on.
void AdoptWindows(TAppRun& run)
{
    for (int i = 0; Screen && i < Screen->FormCount(); ++i)
        if (auto* window = dynamic_cast<TAnsiTerminalForm*>(Screen->Forms(i)); window && window->Tag() != kWatchedTag) {
            window->SetTag(kWatchedTag);
            run.Watch(*window);
            run.SetWindow(window);
        }
}

// --- What the directives and modal scripts do to one form.

void DoClick(TAppRun& run, TCustomForm& form, const AnsiString& args)
{
    TComponent& c = Component(form, args);
    if (auto* item = dynamic_cast<TMenuItem*>(&c))
        item->Click();
    else if (auto* action = dynamic_cast<TBasicAction*>(&c))
        action->Execute();
    else if (auto* button = dynamic_cast<TButton*>(&c))
        button->Click();
    else if (auto* speed = dynamic_cast<TExSpeedButton*>(&c))
        speed->Click();
    else if (auto* box = dynamic_cast<TCustomCheckBox*>(&c))
        box->SetChecked(!box->Checked());
    else if (auto* radio = dynamic_cast<TRadioButton*>(&c))
        radio->SetChecked(true);
    else if (auto* edit = dynamic_cast<TCustomComboEdit*>(&c))
        edit->DoClick();
    else if (auto* control = dynamic_cast<TControl*>(&c))
        MouseClick(*control);
    else
        throw EAppRunError(args + " cannot be clicked");
    AdoptWindows(run);
}

void DoSet(TAppRun&, TCustomForm& form, const AnsiString& args)
{
    AnsiString value = args;
    TComponent& c = Component(form, Word(value));
    auto changed = [](TCustomComboBox* box) {
        if (box->OnChange)
            box->OnChange(box);
    };
    if (auto* colors = dynamic_cast<TColorComboBox*>(&c)) {
        colors->SetColorValue(StringToColor(value));
        changed(colors);
    } else if (auto* fonts = dynamic_cast<TFontComboBox*>(&c)) {
        fonts->SetFontName(value);
        changed(fonts);
    } else if (auto* combo = dynamic_cast<TCustomComboBox*>(&c)) {
        combo->SetText(value);
        changed(combo);
    } else if (auto* control = dynamic_cast<TControl*>(&c)) {
        control->SetText(value);
    } else {
        throw EAppRunError(c.Name() + " has no text");
    }
}

void DoCheck(TAppRun&, TCustomForm& form, const AnsiString& args)
{
    AnsiString value = args;
    TComponent& c = Component(form, Word(value));
    const bool on = Integer(value) != 0;
    if (auto* box = dynamic_cast<TCustomCheckBox*>(&c))
        box->SetChecked(on);
    else if (auto* radio = dynamic_cast<TRadioButton*>(&c))
        radio->SetChecked(on);
    else
        throw EAppRunError(c.Name() + " cannot be checked");
}

void DoPick(TAppRun&, TCustomForm& form, const AnsiString& args)
{
    AnsiString value = args;
    TComponent& c = Component(form, Word(value));
    if (auto* grid = dynamic_cast<TCustomGrid*>(&c)) {
        grid->SetRow(Integer(value));
    } else if (auto* group = dynamic_cast<TCustomRadioGroup*>(&c)) {
        group->SetItemIndex(ItemIndexOf(group->Items(), value));
    } else if (auto* list = dynamic_cast<TCustomListBox*>(&c)) {
        list->SetItemIndex(ItemIndexOf(list->Items(), value));
        if (list->OnClick)
            list->OnClick(list);
    } else if (auto* combo = dynamic_cast<TCustomComboBox*>(&c)) {
        combo->SetItemIndex(ItemIndexOf(combo->Items(), value));
        if (combo->OnChange)
            combo->OnChange(combo);
    } else if (auto* radio = dynamic_cast<TRadioButton*>(&c)) {
        radio->SetChecked(true);
    } else {
        throw EAppRunError(c.Name() + " has nothing to pick");
    }
}

std::string ValueOf(TComponent& c)
{
    auto chosen = [](TStrings* items, int index) {
        return index >= 0 && index < items->Count() ? items->Strings(index) : AnsiString();
    };
    if (auto* box = dynamic_cast<TCustomCheckBox*>(&c))
        return box->Checked() ? "1" : "0";
    if (auto* radio = dynamic_cast<TRadioButton*>(&c))
        return radio->Checked() ? "1" : "0";
    if (auto* group = dynamic_cast<TCustomRadioGroup*>(&c))
        return TAppRun::Field(chosen(group->Items(), group->ItemIndex()));
    if (auto* list = dynamic_cast<TCustomListBox*>(&c))
        return TAppRun::Field(chosen(list->Items(), list->ItemIndex()));
    if (auto* colors = dynamic_cast<TColorComboBox*>(&c))
        return TAppRun::Field(ColorToString(colors->GetColorValue()));
    if (auto* grid = dynamic_cast<TCustomGrid*>(&c))
        return std::to_string(grid->Row());
    if (auto* hotKey = dynamic_cast<THotKey*>(&c))
        return TAppRun::Field(ShortCutToText(hotKey->HotKey()));
    if (auto* bar = dynamic_cast<TStatusBar*>(&c)) {
        if (bar->SimplePanel())
            return TAppRun::Field(bar->SimpleText());
        std::string panels;
        for (int i = 0; i < bar->PanelCount(); ++i)
            panels += (i ? "|" : "") + TAppRun::Field(bar->Panels(i)->Text);
        return panels;
    }
    return TAppRun::Field(CaptionOf(&c));
}

void DoGet(TAppRun& run, TCustomForm& form, const AnsiString& args)
{
    TComponent& c = Component(form, args);
    run.Print("GET " + TAppRun::Field(args) + "|" + ValueOf(c));
}

using TFormAction = void (*)(TAppRun&, TCustomForm&, const AnsiString&);

// "CLASS NAME ...": the form, then the action on the rest.
void OnForm(TAppRun& run, const AnsiString& rest, TFormAction action)
{
    AnsiString args = rest;
    TCustomForm& form = Form(Word(args));
    action(run, form, args);
}

bool StillOpen(TCustomForm& form)
{
    return Screen && Screen->HasForm(&form) && form.Visible() && form.ModalResult() == mrNone;
}

void RunModalAction(TAppRun& run, TCustomForm& form, const AnsiString& text)
{
    AnsiString args = text;
    const AnsiString verb = Word(args);
    if (verb == "close")
        form.Close();
    else if (verb == "set")
        DoSet(run, form, args);
    else if (verb == "check")
        DoCheck(run, form, args);
    else if (verb == "pick")
        DoPick(run, form, args);
    else if (verb == "get")
        DoGet(run, form, args);
    else if (verb == "click")
        DoClick(run, form, args);
    else if (verb == "hotkey")
        AppRunModalHotKey(run, form, args);
    else
        throw EAppRunError("unknown modal action " + verb);
}

void ModalShown(TCustomForm& form)
{
    TAppRun& run = *gState.Run;
    const AnsiString cls = form.ClassName();
    run.Print("MODAL " + TAppRun::Field(cls) + "|" + TAppRun::Field(form.Caption()));
    for (auto it = gState.Scripts.begin(); it != gState.Scripts.end(); ++it) {
        if (it->Class != cls)
            continue;
        const std::vector<AnsiString> actions = it->Actions;
        gState.Scripts.erase(it);
        for (const AnsiString& action : actions) {
            if (!StillOpen(form))
                break;
            try {
                RunModalAction(run, form, action);
            } catch (const std::exception& e) {
                run.Print("ERROR line " + std::to_string(run.LineNumber()) + ": " + TAppRun::Text(e.what()));
            }
        }
        break;
    }
    if (StillOpen(form)) {
        run.Print("MODAL OPEN " + TAppRun::Field(cls));
        form.Close();
    }
}

std::optional<std::string> FileDialog(const TDialogRequest& request)
{
    if (request.Kind != cdOpen && request.Kind != cdSave)
        return gState.Previous ? gState.Previous(request) : std::nullopt;
    const auto& file = static_cast<const TFileDialogRequest&>(request);
    // The folder as a program path: relative inside the program folder.
    const AnsiString folder = file.Folder.empty() ? AnsiString() : StoredPath(NativePath(file.Folder));
    gState.Run->Print("FILE " + TAppRun::Field(file.Title) + "|" + TAppRun::Field(folder) + "|" +
                      TAppRun::Field(file.Filter));
    if (gState.FileAnswers.empty())
        return std::nullopt;
    const std::optional<AnsiString> answer = gState.FileAnswers.front();
    gState.FileAnswers.pop_front();
    if (!answer)
        return std::nullopt;
    return NativePath(*answer);
}

}  // namespace

TComponent& AppRunComponent(TCustomForm& form, const AnsiString& name) { return Component(form, name); }
TCustomForm& AppRunForm(const AnsiString& cls) { return Form(cls); }

void AppRunInstallFormHooks(TAppRun& run)
{
    gState.Run = &run;
    SetModalFormHook(ModalShown);
    gState.Previous = SetDialogHook(FileDialog);
    SetShellOpenUrlHook([](const AnsiString& url) {
        gState.Run->Print("OPEN " + TAppRun::Text(url));
        return true;
    });
}

void AppRunRemoveFormHooks()
{
    SetModalFormHook(nullptr);
    SetShellOpenUrlHook(nullptr);
    SetDialogHook(gState.Previous);
    gState = TFormsState();
}

void AppRunStart(TAppRun& run, const AnsiString&)
{
    if (BooksForm)
        throw EAppRunError("the program has started already");
    TBooksForm* books = nullptr;
    Application->CreateForm(books);
    books->Show();
    run.Pump();
    // The offscreen platform may not activate a window: the fill that activation does.
    if (!books->Active())
        books->FillGrid();
}

bool AppRunOpenFromBook(TAppRun& run, int index)
{
    if (!BooksForm)
        return false;
    TAnsiTerminalForm* window = BooksForm->CharBooksGridDblClickCell(index + 1, 0);
    if (!window)
        throw EAppRunError("no book entry " + std::to_string(index));
    AdoptWindows(run);
    run.SetWindow(window);
    run.Print("WINDOW " + TAppRun::Text(window->Caption()));
    return true;
}

void AppRunForms(TAppRun& run, const AnsiString&)
{
    for (int i = 0; Screen && i < Screen->FormCount(); ++i)
        if (TCustomForm* form = Screen->Forms(i); form->Visible())
            run.Print("FORM " + TAppRun::Field(form->ClassName()) + "|" + TAppRun::Field(form->Caption()));
}

void AppRunClick(TAppRun& run, const AnsiString& rest) { OnForm(run, rest, DoClick); }
void AppRunSet(TAppRun& run, const AnsiString& rest) { OnForm(run, rest, DoSet); }
void AppRunCheck(TAppRun& run, const AnsiString& rest) { OnForm(run, rest, DoCheck); }
void AppRunPick(TAppRun& run, const AnsiString& rest) { OnForm(run, rest, DoPick); }
void AppRunGet(TAppRun& run, const AnsiString& rest) { OnForm(run, rest, DoGet); }

void AppRunDblClick(TAppRun& run, const AnsiString& rest)
{
    AnsiString args = rest;
    TCustomForm& form = Form(Word(args));
    auto* grid = dynamic_cast<TCustomGrid*>(&Component(form, Word(args)));
    if (!grid)
        throw EAppRunError("not a grid");
    const int row = Integer(Word(args));
    const int col = Integer(Word(args));
    const TRect cell = grid->CellRect(col, row);
    if (cell.Width() <= 0 || cell.Height() <= 0)
        throw EAppRunError("the cell is not in view");
    const int x = (cell.Left + cell.Right) / 2, y = (cell.Top + cell.Bottom) / 2;
    // As the window system reports a double click: press, release, double click, release.
    SendMouseInput(grid, maDown, mbLeft, x, y, TShiftState());
    SendMouseInput(grid, maUp, mbLeft, x, y, TShiftState());
    SendMouseInput(grid, maDouble, mbLeft, x, y, TShiftState());
    SendMouseInput(grid, maUp, mbLeft, x, y, TShiftState());
    AdoptWindows(run);
}

void AppRunGrid(TAppRun& run, const AnsiString& rest)
{
    AnsiString args = rest;
    TCustomForm& form = Form(Word(args));
    auto* grid = dynamic_cast<TCustomGridData*>(&Component(form, args));
    if (!grid)
        throw EAppRunError("not a grid");
    run.Print("GRID " + std::to_string(grid->RowCount()) + " " + std::to_string(grid->ColCount()));
    for (int r = 0; r < grid->RowCount(); ++r) {
        std::string line = "ROW " + std::to_string(r);
        for (int c = 0; c < grid->ColCount(); ++c)
            line += "|" + TAppRun::Field(grid->Cells(c, r));
        run.Print(line);
    }
}

void AppRunModal(TAppRun&, const AnsiString& rest)
{
    AnsiString args = rest;
    TModalScript script{Word(args), {}};
    if (script.Class.empty())
        throw EAppRunError("modal needs a class");
    for (size_t start = 0; start < args.size();) {
        size_t end = args.find(" ; ", start);
        if (end == AnsiString::npos)
            end = args.size();
        if (AnsiString action = Trim(args.substr(start, end - start)); !action.empty())
            script.Actions.push_back(action);
        start = end + 3;
    }
    gState.Scripts.push_back(std::move(script));
}

void AppRunAnswerFile(TAppRun&, const AnsiString& rest)
{
    if (rest == "cancel")
        gState.FileAnswers.push_back(std::nullopt);
    else
        gState.FileAnswers.push_back(rest);
}

std::vector<AnsiString> AppRunScreenLines(const TCustomTerminal& terminal)
{
    const TTerminalCore& core = terminal.Core();
    std::vector<AnsiString> lines;
    for (int y = core.MaxLinePos(); y <= core.CurY(); ++y) {
        AnsiString line = core.Data().Strings(y);
        line.erase(line.find_last_not_of(' ') + 1);
        lines.push_back(line);
    }
    return lines;
}

bool AppRunScreenOfForm(TAppRun& run, const AnsiString& rest)
{
    TCustomForm* form = FindForm(Trim(rest));
    if (!form)
        return false;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* terminal = dynamic_cast<TCustomTerminal*>(form->Components(i))) {
            const std::vector<AnsiString> lines = AppRunScreenLines(*terminal);
            run.Print("SCREEN " + std::to_string(lines.size()));
            for (const AnsiString& line : lines)
                run.Print("| " + TAppRun::Text(line));
            return true;
        }
    throw EAppRunError(rest + " has no terminal");
}

bool AppRunScreenshotOfForm(TAppRun&, const AnsiString& rest)
{
    AnsiString file = rest;
    TCustomForm* form = FindForm(Word(file));
    if (!form || file.empty())
        return false;
    if (!form->Handle()->grab().toImage().save(QString::fromStdString(Cp949ToUtf8(file)), "PNG"))
        throw EAppRunError("cannot write " + file);
    return true;
}

void AppRunResize(TAppRun&, const AnsiString& rest)
{
    AnsiString args = rest;
    TCustomForm& form = Form(Word(args));
    const int width = Integer(Word(args));
    const int height = Integer(Word(args));
    form.SetClientWidth(width);
    form.SetClientHeight(height);
}

void AppRunQuit(TAppRun& run, const AnsiString&)
{
    if (!BooksForm)
        throw EAppRunError("the program has not started");
    BooksForm->Close();
    run.Pump();
    run.Print("QUIT");
}
