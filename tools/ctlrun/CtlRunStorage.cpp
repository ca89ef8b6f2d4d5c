// Window hooks and form placement in ctlrun: the `call` verbs of TFormPlacement and TFormStorage
// (SaveFormPlacement, RestoreFormPlacement, EraseSections, Loaded: the form's events hooked as
// after loading), the watched events (BeforeMessage and AfterMessage print the message number
// in hex; OnSavePlacement, OnRestorePlacement), `util GetDefaultSection NAME` and the browse
// dialogs (`util BrowseDirectory FOLDER TEXT`, `util BrowseComputer NAME TEXT`, a
// TBrowseFolderDlg's OnInitialized and OnSelChanged with its CurrentSelection), and the
// directive `browse STEP...`: the next folder browser opens its window and is moved by the
// steps as by a person (`up` its parent-folder button, `ok` or `cancel` closes it, anything else
// a folder, a native path, or a computer's name to go to; it is cancelled after the last step,
// so an OK the dialog refuses ends in Cancel too).

#include <QCoreApplication>

#include "controls/lib/AppForms.h"
#include "controls/lib/BrowseFolder.h"
#include "controls/lib/ExHook.h"
#include "controls/lib/Placemnt.h"
#include "platform/core/StoredPath.h"
#include "platform/gui/FolderBrowser.h"
#include "tools/ctlrun/CtlRun.h"

namespace {

TFormPlacement* Placement(TComponent* c)
{
    auto* p = dynamic_cast<TFormPlacement*>(c);
    if (!p)
        throw ECtlError("unknown operation for " + c->Name());
    return p;
}

TCtlEventHook MessageHook(const char* event, THookMessageEvent TExWindowHook::*member)
{
    return [event, member](TCtlRun& run, TComponent* c) {
        auto* hook = dynamic_cast<TExWindowHook*>(c);
        if (hook)
            hook->*member = [&run, c, event](TObject*, TMessage& m, bool&) {
                run.PrintEvent(c, event, Format("$%04X", m.Msg));
            };
        return hook != nullptr;
    };
}

// A notify event of T, printed with args(T) when given.
template <class T>
TCtlEventHook NotifyHook(const char* event, TNotifyEvent T::*member, AnsiString (*args)(T*) = nullptr)
{
    return [event, member, args](TCtlRun& run, TComponent* c) {
        auto* t = dynamic_cast<T*>(c);
        if (t)
            t->*member = [&run, t, event, args](TObject*) { run.PrintEvent(t, event, args ? args(t) : AnsiString()); };
        return t != nullptr;
    };
}

AnsiString Selection(TBrowseFolderDlg* b) { return TCtlRun::Escape(b->CurrentSelection()); }

// RESULT True|False and the name, when there is one.
void PrintChoice(TCtlRun& run, bool ok, const AnsiString& name)
{
    run.Print(AnsiString("RESULT ") + (ok ? "True" : "False") + (name.empty() ? "" : " " + TCtlRun::Escape(name)));
}

}  // namespace

const std::map<AnsiString, TCtlVerb>& CtlStorageVerbs()
{
    static const std::map<AnsiString, TCtlVerb> verbs{
        {"SaveFormPlacement", [](TCtlRun&, TComponent* c, const TCtlArgs&) { Placement(c)->SaveFormPlacement(); }},
        {"RestoreFormPlacement",
         [](TCtlRun&, TComponent* c, const TCtlArgs&) { Placement(c)->RestoreFormPlacement(); }},
        {"EraseSections", [](TCtlRun&, TComponent* c, const TCtlArgs&) { Placement(c)->EraseSections(); }},
        {"Loaded",
         [](TCtlRun&, TComponent* c, const TCtlArgs&) {
             c->BeginLoading();
             c->EndLoading();
         }},
    };
    return verbs;
}

const std::map<AnsiString, TCtlEventHook>& CtlStorageEvents()
{
    static const std::map<AnsiString, TCtlEventHook> events{
        {"BeforeMessage", MessageHook("BeforeMessage", &TExWindowHook::BeforeMessage)},
        {"AfterMessage", MessageHook("AfterMessage", &TExWindowHook::AfterMessage)},
        {"OnSavePlacement", NotifyHook("OnSavePlacement", &TFormPlacement::OnSavePlacement)},
        {"OnRestorePlacement", NotifyHook("OnRestorePlacement", &TFormPlacement::OnRestorePlacement)},
        {"OnInitialized", NotifyHook("OnInitialized", &TBrowseFolderDlg::OnInitialized)},
        {"OnSelChanged", NotifyHook("OnSelChanged", &TBrowseFolderDlg::OnSelChanged, Selection)},
    };
    return events;
}

const std::map<AnsiString, TCtlDirective>& CtlStorageDirectives()
{
    static const std::map<AnsiString, TCtlDirective> directives{
        {"browse",
         [](TCtlRun&, const TCtlArgs& a) {
             // One browser only: the driver takes itself away as it starts.
             SetFolderBrowserDriver([steps = a.Words](TFolderBrowser& b) {
                 SetFolderBrowserDriver(nullptr);
                 for (const AnsiString& step : steps) {
                     if (step == "up")
                         b.GoToParent();
                     else if (step == "ok" || step == "cancel") {
                         // OK with no folder chosen leaves the dialog open, as for a person.
                         if (b.Close(step == "ok"))
                             return;
                     } else
                         b.SetSelection(b.Computers ? step : StoredPath(std::string(step)));
                     QCoreApplication::processEvents();
                 }
                 b.Close(false);
             });
         }},
    };
    return directives;
}

const std::map<AnsiString, TCtlUtil>& CtlStorageUtils()
{
    static const std::map<AnsiString, TCtlUtil> utils{
        {"GetDefaultSection",
         [](TCtlRun& run, const TCtlArgs& a) {
             TComponent* c = a.Words.empty() || a.Words[0] == "-" ? nullptr : run.Find(a.Words[0]);
             run.Print("RESULT " + TCtlRun::Escape(GetDefaultSection(c)));
         }},
        {"BrowseDirectory",
         [](TCtlRun& run, const TCtlArgs& a) {
             AnsiString folder = a.Words.empty() ? AnsiString() : a.Words[0];
             const bool ok = BrowseDirectory(folder, a.Words.size() > 1 ? a.Words[1] : AnsiString(), 0);
             PrintChoice(run, ok, folder);
         }},
        {"BrowseComputer",
         [](TCtlRun& run, const TCtlArgs& a) {
             AnsiString name = a.Words.empty() || a.Words[0] == "-" ? AnsiString() : a.Words[0];
             const bool ok = BrowseComputer(name, a.Words.size() > 1 ? a.Words[1] : AnsiString(), 0);
             PrintChoice(run, ok, name);
         }},
    };
    return utils;
}
