#pragma once
// ctlrun's interpreter: one directive a line, acting on a shown form "form" of class TForm1 and
// the controls made on it, printing what happens. The extension points are tables, each in its
// own file: `call` verbs (CtlRunVerbs.cpp), watchable events (CtlRunEvents.cpp) and the `util`
// routines that need the screen (CtlRunUtil.cpp; the others are the table of tools/ctlutil); a
// new class needs only its registration with the property table.

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/gui/Forms.h"

class TManualTimerService;

// What `call` gets: the words after the operation, and the rest of the line after the operation
// as one text (escapes applied).
struct TCtlArgs {
    std::vector<AnsiString> Words;
    AnsiString Rest;
};

class TCtlRun;
using TCtlVerb = std::function<void(TCtlRun& run, TComponent* target, const TCtlArgs& args)>;
// Installs a handler printing the event on the component; false when it has no such event.
using TCtlEventHook = std::function<bool(TCtlRun& run, TComponent* target)>;
// A `util` routine that needs the screen, the clipboard or the form (CtlRunUtil.cpp); the rest
// are tools/ctlutil's.
using TCtlUtil = std::function<void(TCtlRun& run, const TCtlArgs& args)>;

const std::map<AnsiString, TCtlVerb>& CtlVerbs();
// The verbs of the speed buttons, switch and credits panel (CtlRunButtonVerbs.cpp).
const std::map<AnsiString, TCtlVerb>& CtlButtonVerbs();
// The verbs of the list boxes, owner-drawn menus and speed bar (CtlRunListVerbs.cpp).
const std::map<AnsiString, TCtlVerb>& CtlListVerbs();
const std::map<AnsiString, TCtlEventHook>& CtlEvents();
// The verbs and events of the edits with a button, combo boxes, calendars and spin edits
// (CtlRunEditVerbs.cpp); their events are tried before the shared table's.
const std::map<AnsiString, TCtlVerb>& CtlEditVerbs();
const std::map<AnsiString, TCtlEventHook>& CtlEditEvents();
const std::map<AnsiString, TCtlUtil>& CtlUtils();
// Word i of the arguments as a number; ECtlError "bad value" otherwise.
int CtlNumber(const TCtlArgs& a, size_t i);
// Word i of the arguments; ECtlError "missing arguments" when there are fewer.
const AnsiString& CtlWord(const TCtlArgs& a, size_t i);

// A directive of its own, given the words after it (CtlRunMenus.cpp: menu, popup, choose).
using TCtlDirective = std::function<void(TCtlRun& run, const TCtlArgs& args)>;

// --- Menus and dialogs (CtlRunMenus.cpp)
const std::map<AnsiString, TCtlDirective>& CtlMenuDirectives();
const std::map<AnsiString, TCtlVerb>& CtlMenuVerbs();
const std::map<AnsiString, TCtlUtil>& CtlDialogUtils();
// OnClick of a menu item, OnPopup of a pop-up menu.
const std::map<AnsiString, TCtlEventHook>& CtlMenuEvents();
// Reports every pop-up menu (POPUP) and dialog (DIALOG kind|title) and answers a dialog from
// `answer`, else Cancel.
void InstallMenuAndDialogHooks(TCtlRun& run);
void RemoveMenuAndDialogHooks();

// --- Window hooks and form placement (CtlRunStorage.cpp)
const std::map<AnsiString, TCtlVerb>& CtlStorageVerbs();
const std::map<AnsiString, TCtlEventHook>& CtlStorageEvents();
const std::map<AnsiString, TCtlUtil>& CtlStorageUtils();
// `browse`: the steps of the next folder browser.
const std::map<AnsiString, TCtlDirective>& CtlStorageDirectives();

// A directive that cannot be carried out: printed as "ERROR text".
class ECtlError : public Exception {
    using Exception::Exception;
};

// The component as a T; ECtlError "unknown operation for NAME" when it is none.
template <class T>
T* CtlAs(TComponent* c)
{
    if (auto* t = dynamic_cast<T*>(c))
        return t;
    throw ECtlError("unknown operation for " + (c ? c->Name() : AnsiString("util")));
}

class TCtlRun {
public:
    TCtlRun(std::ostream& out, TManualTimerService& clock);
    ~TCtlRun();
    void RunLine(std::string_view line);

    // Output, one line each; texts escaped as scriptrun prints them.
    void Print(const AnsiString& line);
    void PrintEvent(TComponent* target, const char* event, const AnsiString& args = AnsiString());
    static AnsiString Escape(std::string_view text);
    static AnsiString ShiftText(TShiftState shift);

    TCustomForm* Form() const { return FForm; }
    // The form or a component on it by name; ECtlError when there is none.
    TComponent* Find(std::string_view name) const;
    TControl* FindControl(std::string_view name) const;
    // The pending answer for the next dialog (empty when none), taken.
    AnsiString TakeAnswer();
    bool HasAnswer() const { return FHasAnswer; }

private:
    void Dispatch(const AnsiString& verb, std::string_view rest);
    void New(std::string_view rest);
    void Get(const AnsiString& name, const AnsiString& prop);
    void Set(const AnsiString& name, const AnsiString& prop, const AnsiString& text);
    void Mouse(std::string_view rest);
    void Key(const AnsiString& name, const AnsiString& key);
    void Type(const AnsiString& name, const AnsiString& text);
    void Wait(const AnsiString& ms);
    // A drag from another program dropped at a client point: files or text.
    void Drop(std::string_view rest);

    std::ostream& FOut;
    TManualTimerService& FClock;
    TCustomForm* FForm = nullptr;
    AnsiString FAnswer;
    bool FHasAnswer = false;
};
