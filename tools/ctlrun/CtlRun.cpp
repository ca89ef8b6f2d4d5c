#include "tools/ctlrun/CtlRun.h"

#include <cxxabi.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>

#include "platform/core/AtomicFile.h"
#include "platform/core/StoredPath.h"
#include "platform/core/StringList.h"
#include "platform/core/TimerService.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/Application.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/DragDrop.h"
#include "platform/gui/SyntheticInput.h"
#include "tools/ctlrun/CtlRunText.h"
#include "tools/ctlutil/CtlUtil.h"
#include "tools/scriptrun/ScriptRunText.h"

namespace {

// The form every run starts with.
class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* AOwner) : TForm(AOwner)
    {
        // Dialog keys are watchable: the hook, when set, sees each before the form handles it.
        RegisterHandler(CM_DIALOGKEY, [this](TMessage& m) {
            if (OnDialogKey)
                OnDialogKey(static_cast<unsigned>(m.WParam));
            Inherited(m);
        });
    }
    std::function<void(unsigned key)> OnDialogKey;
};

AnsiString ExceptionClass(const std::exception& e)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status),
                                                std::free);
    return status == 0 && name ? AnsiString(name.get()) : AnsiString(typeid(e).name());
}

// A property path "Font.Name": each step but the last names an object property.
TObject* Resolve(TObject* object, AnsiString& prop)
{
    size_t dot;
    while ((dot = prop.find('.')) != AnsiString::npos) {
        const TPropInfo* p = GetPropInfo(object, prop.substr(0, dot));
        if (!p || p->Kind != tkClass || !p->GetObj(object))
            throw ECtlError("unknown property: " + prop);
        object = p->GetObj(object);
        prop.erase(0, dot + 1);
    }
    return object;
}

QImage Snapshot(TCustomForm* form) { return form->Handle()->grab().toImage(); }

}  // namespace

TCtlRun::TCtlRun(std::ostream& out, TManualTimerService& clock) : FOut(out), FClock(clock)
{
    auto* form = new TForm1(Application);
    form->SetName("form");
    form->SetCaption("form");
    form->SetBounds(0, 0, 400, 300);
    form->SetClientWidth(400);
    form->SetClientHeight(300);
    form->OnDialogKey = [this, form](unsigned key) { PrintEvent(form, "DialogKey", IntToStr(key)); };
    Application->SetMainForm(form);
    form->Show();
    QCoreApplication::processEvents();
    FForm = form;
}

TCtlRun::~TCtlRun() = default;

AnsiString TCtlRun::Escape(std::string_view text) { return EscapeText(text); }

AnsiString TCtlRun::ShiftText(TShiftState shift)
{
    static const char* const kNames[] = {"ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble"};
    AnsiString out = "[";
    for (int i = 0; i <= ssDouble; ++i) {
        if (!shift.Contains(static_cast<TShiftStateFlag>(i)))
            continue;
        if (out.size() > 1)
            out += ',';
        out += kNames[i];
    }
    return out + "]";
}

void TCtlRun::Print(const AnsiString& line)
{
    FOut << line << '\n';
    FOut.flush();
}

void TCtlRun::PrintEvent(TComponent* target, const char* event, const AnsiString& args)
{
    Print("EVENT " + Escape(target->Name()) + " " + event + (args.empty() ? AnsiString() : " " + args));
}

TComponent* TCtlRun::Find(std::string_view name) const
{
    if (SameText(name, "form"))
        return FForm;
    if (TComponent* c = FForm->FindComponent(name))
        return c;
    throw ECtlError("unknown name: " + AnsiString(name));
}

TControl* TCtlRun::FindControl(std::string_view name) const
{
    auto* c = dynamic_cast<TControl*>(Find(name));
    if (!c)
        throw ECtlError("not a control: " + AnsiString(name));
    return c;
}

AnsiString TCtlRun::TakeAnswer()
{
    FHasAnswer = false;
    return std::exchange(FAnswer, AnsiString());
}

void TCtlRun::RunLine(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    std::string_view rest = line;
    AnsiString verb = NextWord(rest);
    if (verb.empty() || verb[0] == '#')
        return;
    try {
        Dispatch(verb, rest);
    } catch (const ECtlError& e) {
        Print("ERROR " + Escape(e.Message));
    } catch (const std::exception& e) {
        Print("ERROR " + ExceptionClass(e) + ": " + Escape(e.what()));
    }
    QCoreApplication::processEvents();
}

void TCtlRun::Dispatch(const AnsiString& verb, std::string_view rest)
{
    auto need = [&](const std::vector<AnsiString>& words, size_t n) {
        if (words.size() < n)
            throw ECtlError("missing arguments: " + verb);
    };
    if (verb == "new") {
        New(rest);
    } else if (verb == "free") {
        std::vector<AnsiString> w = Words(rest);
        need(w, 1);
        TComponent* c = Find(w[0]);
        if (c == FForm)
            throw ECtlError("the form stays");
        delete c;
    } else if (verb == "set") {
        AnsiString name = NextWord(rest), prop = NextWord(rest);
        if (prop.empty())
            throw ECtlError("missing arguments: set");
        Set(name, prop, RestText(rest));
    } else if (verb == "get") {
        std::vector<AnsiString> w = Words(rest);
        need(w, 2);
        Get(w[0], w[1]);
    } else if (verb == "call") {
        AnsiString name = NextWord(rest), op = NextWord(rest);
        if (op.empty())
            throw ECtlError("missing arguments: call");
        TComponent* target = Find(name);
        // Each family's table of verbs, one line each.
        const std::map<AnsiString, TCtlVerb>* tables[] = {
            &CtlVerbs(), &CtlButtonVerbs(), &CtlEditVerbs(), &CtlListVerbs(), &CtlMenuVerbs(), &CtlStorageVerbs(),
        };
        const TCtlVerb* found = nullptr;
        for (const auto* table : tables)
            if (auto it = table->find(op); !found && it != table->end())
                found = &it->second;
        if (!found)
            throw ECtlError("unknown operation: " + op);
        (*found)(*this, target, TCtlArgs{Words(rest), RestText(rest)});
    } else if (verb == "util") {
        std::string_view args = rest;
        const AnsiString routine = NextWord(args);
        for (const auto* utils : {&CtlUtils(), &CtlDialogUtils(), &CtlStorageUtils()}) {
            if (auto it = utils->find(routine); it != utils->end()) {
                it->second(*this, TCtlArgs{Words(args), RestText(args)});
                return;
            }
        }
        Print(RunUtil(rest, [this](const AnsiString& control) -> TObject* {
            TComponent* c = SameText(control, "form") ? FForm : FForm->FindComponent(control);
            return c;
        }));
    } else if (verb == "watch") {
        std::vector<AnsiString> w = Words(rest);
        need(w, 2);
        TComponent* target = Find(w[0]);
        if (w[1] == "DialogKey" && target == FForm)
            return;  // always reported by the form
        // An event name may be in several tables, each for other classes.
        const std::map<AnsiString, TCtlEventHook>* tables[] = {
            &CtlEditEvents(),
            &CtlEvents(),
            &CtlMenuEvents(),
            &CtlStorageEvents(),
        };
        for (const auto* table : tables)
            if (auto it = table->find(w[1]); it != table->end() && it->second(*this, target))
                return;
        throw ECtlError("unknown event: " + w[1]);
    } else if (verb == "focus") {
        std::vector<AnsiString> w = Words(rest);
        need(w, 1);
        auto* c = dynamic_cast<TWinControl*>(Find(w[0]));
        if (!c)
            throw ECtlError("not a windowed control: " + w[0]);
        c->SetFocus();
    } else if (verb == "mouse" || verb == "click" || verb == "dblclick") {
        Mouse(std::string(verb) + " " + std::string(rest));
    } else if (verb == "key") {
        std::vector<AnsiString> w = Words(rest);
        need(w, 2);
        Key(w[0], w[1]);
    } else if (verb == "type") {
        AnsiString name = NextWord(rest);
        Type(name, RestText(rest));
    } else if (verb == "drop") {
        Drop(rest);
    } else if (verb == "wait") {
        std::vector<AnsiString> w = Words(rest);
        need(w, 1);
        Wait(w[0]);
    } else if (verb == "pixel") {
        std::vector<AnsiString> w = Words(rest);
        need(w, 2);
        int x = 0, y = 0;
        if (!TryStrToInt(w[0], x) || !TryStrToInt(w[1], y))
            throw ECtlError("bad value: " + w[0] + " " + w[1]);
        QImage shot = Snapshot(FForm);
        if (x < 0 || y < 0 || x >= shot.width() || y >= shot.height())
            throw ECtlError("bad value: outside the form");
        Print(Format("PIXEL %06X", static_cast<unsigned>(shot.pixel(x, y) & 0xFFFFFF)));
    } else if (verb == "png") {
        AnsiString file = RestText(rest);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        Snapshot(FForm).save(&buffer, "PNG");
        AtomicWriteFileOrRaise(file, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    } else if (verb == "cat") {
        std::ifstream in(std::string(RestText(rest)), std::ios::binary);
        if (!in)
            throw ECtlError("cannot read: " + RestText(rest));
        std::stringstream all;
        all << in.rdbuf();
        const std::string text = all.str();
        bool crlf = !text.empty();
        size_t start = 0;
        while (start < text.size()) {
            size_t nl = text.find('\n', start);
            size_t end = nl == std::string::npos ? text.size() : nl;
            bool cr = end > start && text[end - 1] == '\r';
            if (nl == std::string::npos || !cr)
                crlf = false;
            Print("LINE " + Escape(text.substr(start, end - start - (cr ? 1 : 0))));
            start = nl == std::string::npos ? text.size() : nl + 1;
        }
        Print(crlf ? "CRLF yes" : "CRLF no");
    } else if (verb == "put") {
        AnsiString file = NextWord(rest);
        std::ifstream in(std::string(file), std::ios::binary);
        std::stringstream all;
        if (in)
            all << in.rdbuf();
        AtomicWriteFileOrRaise(file, all.str() + RestText(rest) + "\r\n");
    } else if (verb == "answer") {
        FAnswer = RestText(rest);
        FHasAnswer = true;
    } else {
        for (const auto* directives : {&CtlMenuDirectives(), &CtlStorageDirectives()})
            if (auto it = directives->find(verb); it != directives->end())
                return it->second(*this, TCtlArgs{Words(rest), RestText(rest)});
        throw ECtlError("unknown directive: " + Escape(verb));
    }
}

void TCtlRun::New(std::string_view rest)
{
    std::vector<AnsiString> w = Words(rest);
    if (w.size() < 2)
        throw ECtlError("missing arguments: new");
    const TClassInfo* info = GetClass(w[0]);
    if (!info || !info->Create)
        throw ECtlError("unknown class: " + w[0]);
    if (FForm->FindComponent(w[1]) || SameText(w[1], "form"))
        throw ECtlError("name in use: " + w[1]);
    std::unique_ptr<TComponent> made(info->Create(FForm));
    made->SetName(w[1]);
    auto* control = dynamic_cast<TControl*>(made.get());
    if (w.size() >= 3) {
        auto* parent = dynamic_cast<TWinControl*>(Find(w[2]));
        if (!parent || !control)
            throw ECtlError("not a windowed control: " + w[2]);
        int bounds[4] = {control->Left(), control->Top(), control->Width(), control->Height()};
        for (size_t i = 0; i < 4 && 3 + i < w.size(); ++i)
            if (!TryStrToInt(w[3 + i], bounds[i]))
                throw ECtlError("bad value: " + w[3 + i]);
        control->SetBounds(bounds[0], bounds[1], bounds[2], bounds[3]);
        auto* sheet = dynamic_cast<TTabSheet*>(control);
        auto* pages = dynamic_cast<TPageControl*>(parent);
        if (sheet && pages)
            sheet->SetPageControl(pages);
        else
            control->SetParent(parent);
        if (auto* bar = dynamic_cast<TToolBar*>(parent))
            bar->ArrangeButtons();
        if (auto* bands = dynamic_cast<TControlBar*>(parent))
            bands->ArrangeBands();
    }
    made.release();
}

namespace {

// The object and property a name and property path lead to; ECtlError when there is none.
std::pair<TObject*, const TPropInfo*> PropertyOf(TComponent* target, const AnsiString& path)
{
    AnsiString prop = path;
    TObject* object = Resolve(target, prop);
    const TPropInfo* p = GetPropInfo(object, prop);
    if (!p)
        throw ECtlError("unknown property: " + path);
    return {object, p};
}

// A string list held by a property, or null: read and written as its text.
TStrings* StringsOf(TObject* object, const TPropInfo& p)
{
    return p.Kind == tkClass ? dynamic_cast<TStrings*>(p.GetObj(object)) : nullptr;
}

}  // namespace

void TCtlRun::Get(const AnsiString& name, const AnsiString& propPath)
{
    auto [object, p] = PropertyOf(Find(name), propPath);
    TStrings* lines = StringsOf(object, *p);
    AnsiString text = lines ? lines->Text() : GetPropText(object, *p);
    Print(Escape(name) + "." + propPath + "=" + Escape(text));
}

void TCtlRun::Set(const AnsiString& name, const AnsiString& propPath, const AnsiString& text)
{
    auto [object, p] = PropertyOf(Find(name), propPath);
    if (TStrings* lines = StringsOf(object, *p)) {
        // Through the setter when there is one: it may do more than take the lines.
        if (p->SetObj) {
            TStringList given;
            given.SetText(text);
            p->SetObj(object, &given);
        } else {
            lines->SetText(text);
        }
        return;
    }
    try {
        SetPropText(object, *p, text);
    } catch (const EPropertyConvertError&) {
        throw ECtlError("bad value: " + Escape(text));
    }
}

void TCtlRun::Drop(std::string_view rest)
{
    std::vector<AnsiString> w = Words(rest);
    if (w.size() < 5)
        throw ECtlError("missing arguments: drop");
    auto* control = dynamic_cast<TWinControl*>(Find(w[0]));
    if (!control)
        throw ECtlError("not a windowed control: " + w[0]);
    int x = 0, y = 0;
    if (!TryStrToInt(w[1], x) || !TryStrToInt(w[2], y))
        throw ECtlError("bad value: " + w[1] + " " + w[2]);
    TDragData data;
    data.HasText = true;
    if (w[3] == "text") {
        std::string_view text = rest;
        for (int i = 0; i < 4; ++i)
            NextWord(text);
        data.Text = RestText(text);
    } else if (w[3] == "file") {
        // As a file manager offers them: the files, and their addresses as text.
        for (size_t i = 4; i < w.size(); ++i) {
            data.Files.push_back(StoredPath(std::string(w[i])));
            data.Text += (i > 4 ? "\n" : "") + AnsiString("file://") + w[i];
        }
    } else {
        throw ECtlError("bad value: " + w[3]);
    }
    const int effect = SendDropInput(control, data, TShiftState(), x, y);
    Print(AnsiString("RESULT ") + (effect == DROPEFFECT_COPY ? "copy" : effect == DROPEFFECT_MOVE ? "move" : "none"));
}

void TCtlRun::Wait(const AnsiString& ms)
{
    int n = 0;
    if (!TryStrToInt(ms, n) || n < 0)
        throw ECtlError("bad value: " + ms);
    QCoreApplication::processEvents();
    FClock.Advance(static_cast<uint64_t>(n));
    QCoreApplication::processEvents();
}
