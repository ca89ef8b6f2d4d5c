// Menus and dialogs in ctlrun: the directives `menu NAME PATH` (a main menu's item chosen),
// `popup NAME X Y` and `choose PATH` (an item of the pop-up shown last; menus are built with
// the list verbs' AddMenuItem), the verb that runs a dialog (a folder browser too), the dialog routines of `util`, and the hooks that report every pop-up
// menu (POPUP name x y) and dialog (DIALOG kind|title) and answer a dialog from `answer`.

#include "controls/lib/BrowseFolder.h"
#include "platform/core/Cp949.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/CommonDialogs.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Queue.h"
#include "tools/ctlrun/CtlRun.h"

namespace {

// The pop-up menu shown last and a token that falls when it goes.
TPopupMenu* gShownPopup = nullptr;
std::shared_ptr<bool> gShownAlive;

TMenuItem* ItemAt(TMenu* menu, const AnsiString& path)
{
    TMenuItem* item = menu->FindItemByPath(path);
    if (!item)
        throw ECtlError("unknown menu item: " + TCtlRun::Escape(path));
    return item;
}

// The click runs queued, as after a real menu's loop; ctlrun runs it before the next line.
void Choose(TMenuItem* item)
{
    ChooseMenuItem(item);
    RunQueuedCalls();
}

const AnsiString& Word(const TCtlArgs& a, size_t i)
{
    if (i >= a.Words.size())
        throw ECtlError("bad value: (missing)");
    return a.Words[i];
}

AnsiString BoolText(bool v) { return v ? "True" : "False"; }

TMsgDlgType DialogType(const AnsiString& name)
{
    static const char* const kNames[] = {"mtWarning", "mtError", "mtInformation", "mtConfirmation", "mtCustom"};
    for (int i = 0; i < 5; ++i)
        if (SameText(name, kNames[i]))
            return static_cast<TMsgDlgType>(i);
    throw ECtlError("bad value: " + name);
}

TMsgDlgButtons DialogButtons(const AnsiString& names)
{
    static const char* const kNames[] = {"mbYes",    "mbNo",  "mbOK",      "mbCancel",   "mbAbort", "mbRetry",
                                         "mbIgnore", "mbAll", "mbNoToAll", "mbYesToAll", "mbHelp"};
    TMsgDlgButtons buttons = 0;
    size_t start = 0;
    while (start <= names.size()) {
        size_t end = std::min(names.find(',', start), names.size());
        const AnsiString name = names.substr(start, end - start);
        bool known = false;
        for (unsigned i = 0; i < 11; ++i)
            if (SameText(name, kNames[i]))
                buttons |= 1u << i, known = true;
        if (!known)
            throw ECtlError("bad value: " + name);
        start = end + 1;
    }
    return buttons;
}

AnsiString ModalResultName(int result)
{
    static const char* const kNames[] = {"mrNone", "mrOk", "mrCancel", "mrAbort",   "mrRetry",   "mrIgnore",
                                         "mrYes",  "mrNo", "mrAll",    "mrNoToAll", "mrYesToAll"};
    return result >= 0 && result <= 10 ? AnsiString(kNames[result]) : IntToStr(result);
}

}  // namespace

const std::map<AnsiString, TCtlDirective>& CtlMenuDirectives()
{
    static const std::map<AnsiString, TCtlDirective> directives{
        {"menu",
         [](TCtlRun& run, const TCtlArgs& a) {
             auto* menu = dynamic_cast<TMainMenu*>(run.Find(Word(a, 0)));
             if (!menu)
                 throw ECtlError("not a main menu: " + Word(a, 0));
             const size_t blank = a.Rest.find(' ');
             Choose(ItemAt(menu, blank == AnsiString::npos ? AnsiString() : a.Rest.substr(blank + 1)));
         }},
        {"popup",
         [](TCtlRun& run, const TCtlArgs& a) {
             auto* menu = dynamic_cast<TPopupMenu*>(run.Find(Word(a, 0)));
             if (!menu)
                 throw ECtlError("not a pop-up menu: " + Word(a, 0));
             menu->Popup(CtlNumber(a, 1), CtlNumber(a, 2));
         }},
        {"choose",
         [](TCtlRun&, const TCtlArgs& a) {
             if (!gShownAlive || !*gShownAlive)
                 throw ECtlError("no pop-up menu shown");
             Choose(ItemAt(gShownPopup, a.Rest));
         }},
    };
    return directives;
}

const std::map<AnsiString, TCtlVerb>& CtlMenuVerbs()
{
    static const std::map<AnsiString, TCtlVerb> verbs{
        {"Execute",
         [](TCtlRun& run, TComponent* c, const TCtlArgs&) {
             if (auto* browse = dynamic_cast<TBrowseFolderDlg*>(c)) {
                 run.Print("RESULT " + BoolText(browse->Execute()));
                 return;
             }
             auto* dialog = dynamic_cast<TCommonDialog*>(c);
             if (!dialog)
                 throw ECtlError("unknown operation for " + c->Name());
             run.Print("RESULT " + BoolText(dialog->Execute()));
         }},
    };
    return verbs;
}

const std::map<AnsiString, TCtlUtil>& CtlDialogUtils()
{
    static const std::map<AnsiString, TCtlUtil> utils{
        {"InputQuery",
         [](TCtlRun& run, const TCtlArgs& a) {
             AnsiString value = a.Words.size() > 2 ? a.Words[2] : AnsiString();
             const bool ok = InputQuery(Word(a, 0), Word(a, 1), value);
             run.Print("RESULT " + BoolText(ok) + " " + TCtlRun::Escape(value));
         }},
        {"InputBox",
         [](TCtlRun& run, const TCtlArgs& a) {
             const AnsiString def = a.Words.size() > 2 ? a.Words[2] : AnsiString();
             run.Print("RESULT " + TCtlRun::Escape(InputBox(Word(a, 0), Word(a, 1), def)));
         }},
        {"SelectDirectory",
         [](TCtlRun& run, const TCtlArgs& a) {
             AnsiString dir = a.Words.size() > 2 ? a.Words[2] : AnsiString();
             const bool ok = SelectDirectory(Word(a, 0), Word(a, 1), dir);
             run.Print("RESULT " + BoolText(ok) + " " + TCtlRun::Escape(dir));
         }},
        // util MessageDlg TYPE BUTTONS TEXT (buttons joined by ",").
        {"MessageDlg",
         [](TCtlRun& run, const TCtlArgs& a) {
             const TMsgDlgType type = DialogType(Word(a, 0));
             const TMsgDlgButtons buttons = DialogButtons(Word(a, 1));
             AnsiString text = a.Rest;
             for (int skip = 0; skip < 2; ++skip) {
                 const size_t blank = text.find(' ');
                 text = blank == AnsiString::npos ? AnsiString() : text.substr(blank + 1);
             }
             run.Print("RESULT " + ModalResultName(MessageDlg(text, type, buttons, 0)));
         }},
    };
    return utils;
}

const std::map<AnsiString, TCtlEventHook>& CtlMenuEvents()
{
    static const std::map<AnsiString, TCtlEventHook> events{
        {"OnClick",
         [](TCtlRun& run, TComponent* c) {
             auto* item = dynamic_cast<TMenuItem*>(c);
             if (item)
                 item->OnClick = [&run, c](TObject*) { run.PrintEvent(c, "OnClick"); };
             return item != nullptr;
         }},
        {"OnPopup",
         [](TCtlRun& run, TComponent* c) {
             auto* menu = dynamic_cast<TPopupMenu*>(c);
             if (menu)
                 menu->OnPopup = [&run, c](TObject*) { run.PrintEvent(c, "OnPopup"); };
             return menu != nullptr;
         }},
    };
    return events;
}

void InstallMenuAndDialogHooks(TCtlRun& run)
{
    // A pop-up menu is reported and closed without a choice; `choose` picks an item of it later.
    SetPopupMenuHook([&run](TPopupMenu* menu, int x, int y) -> TMenuItem* {
        run.Print("POPUP " + TCtlRun::Escape(menu->Name()) + " " + IntToStr(x) + " " + IntToStr(y));
        gShownPopup = menu;
        gShownAlive = menu->Items()->AliveToken();
        return nullptr;
    });
    // A dialog takes the pending answer (a native path for a file or folder), else Cancel.
    SetDialogHook([&run](const TDialogRequest& request) -> std::optional<std::string> {
        run.Print(AnsiString("DIALOG ") + DialogKindName(request.Kind) + "|" + TCtlRun::Escape(request.Title));
        if (!run.HasAnswer())
            return std::nullopt;
        const AnsiString answer = run.TakeAnswer();
        if (SameText(answer, "cancel"))
            return std::nullopt;
        const bool path = request.Kind == cdOpen || request.Kind == cdSave || request.Kind == cdDirectory;
        return path ? Cp949ToUtf8(answer) : std::string(answer);
    });
}

void RemoveMenuAndDialogHooks()
{
    SetPopupMenuHook(nullptr);
    SetDialogHook(nullptr);
    gShownPopup = nullptr;
    gShownAlive.reset();
}
