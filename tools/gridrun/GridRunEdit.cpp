#include "tools/gridrun/GridRunEdit.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "grid/control/CellGridEditors.h"
#include "grid/control/CgInplaceEdit.h"
#include "platform/gui/Application.h"
#include "platform/gui/Queue.h"
#include "platform/gui/Sound.h"
#include "platform/gui/SyntheticInput.h"
#include "tools/gridrun/GridRun.h"

namespace {

int gBeeps = 0;

std::string ClassOf(const TObject& o)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(typeid(o).name(), nullptr, nullptr, &status),
                                                std::free);
    return status == 0 && name ? name.get() : typeid(o).name();
}

// What an editor control shows.
AnsiString EditorText(TWinControl* c)
{
    if (auto* b = dynamic_cast<TGridCombo*>(c))
        return b->ValueText();
    if (auto* d = dynamic_cast<TGridDatePicker*>(c))
        return d->ValueText();
    if (auto* u = dynamic_cast<TGridUnitEditBtn*>(c))
        return u->Text() + u->UnitID();
    if (auto* b = dynamic_cast<TGridCheckBox*>(c))
        return b->Caption() + (b->Checked() ? " [x]" : " [ ]");
    if (auto* b = dynamic_cast<TGridButton*>(c))
        return b->Caption();
    return c->Text();
}

void Settle()
{
    if (!Application)
        return;
    Application->ProcessMessages();
    RunQueuedCalls();
    Application->ProcessMessages();
}

}  // namespace

void CountBeeps()
{
    SetSoundHook([](const TSoundRequest& r) {
        if (r.Kind != TSoundRequest::kPlay)
            ++gBeeps;
        return true;
    });
}

void RunType(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view Line)
{
    if (Words.size() < 2)
        throw EBadDirective("expected: type TEXT");
    AnsiString text;
    std::string error;
    if (!Unescape(Line.substr(Words[1].Start), text, error))
        throw EBadDirective(error);
    for (size_t i = 0; i < text.size();) {
        const size_t len = static_cast<size_t>(CharLengthAt(text, i));
        TWinControl* target = FocusedControl();
        if (!target)
            target = &Run.Grid();
        SendTypedText(target, text.substr(i, len));
        i += len;
        Settle();
    }
}

void AddEditProperties(std::map<std::string, TGridProperty, std::less<>>& Table)
{
    TGridProperty editor;
    editor.Get = [](TCellGrid& g, const std::vector<int>&) {
        TWinControl* c = g.VisibleEditor();
        if (!c)
            return std::string("none");
        return ClassOf(*c) + " " + Escape(EditorText(c));
    };
    Table["editor"] = editor;
    TGridProperty beeps;
    beeps.Get = [](TCellGrid&, const std::vector<int>&) { return std::to_string(gBeeps); };
    Table["beeps"] = beeps;
}
