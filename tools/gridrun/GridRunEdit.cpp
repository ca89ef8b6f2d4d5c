#include "tools/gridrun/GridRunEdit.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "grid/control/CellGridEditors.h"
#include "grid/control/CgInplaceEdit.h"
#include "grid/control/EditLink.h"
#include "platform/gui/Application.h"
#include "platform/gui/Queue.h"
#include "platform/gui/Sound.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/SyntheticInput.h"
#include "tools/gridrun/GridRun.h"
#include "tools/gridrun/GridRunValues.h"

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

// The custom editor gridrun offers: a plain edit, ended by the link's keys and by leaving it.
class TRunEditLink : public TEditLink {
public:
    using TEditLink::TEditLink;
    TWinControl* GetEditControl() override { return FEdit; }
    void CreateEditor(TWinControl* AParent) override
    {
        FEdit = new TEdit(AParent);
        FEdit->SetParent(AParent);
        FEdit->OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { EditKeyDown(s, k, sh); };
        FEdit->OnExit = [this](TObject* s) { EditExit(s); };
    }
    void DestroyEditor() override
    {
        delete FEdit;
        FEdit = nullptr;
    }
    void SetEditorValue(const AnsiString& S) override
    {
        if (FEdit)
            FEdit->SetText(S);
    }
    AnsiString GetEditorValue() override { return FEdit ? FEdit->Text() : AnsiString(); }

private:
    TEdit* FEdit = nullptr;
};

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

bool InGridOrItsEditor(TGridRun& Run, TWinControl* Control)
{
    TCellGrid& g = Run.Grid();
    if (!Control)
        return false;
    if (Control == &g || g.ContainsControl(Control))
        return true;
    TPopupForm* popup = g.EditLink ? g.EditLink->PopupForm() : nullptr;
    return popup && (Control == popup || popup->ContainsControl(Control));
}

void RunEditLink(TGridRun& Run, const std::vector<TGridRunWord>& Words, std::string_view)
{
    static const std::map<std::string, bool TEditLink::*, std::less<>> kWants = {
        {"WantKeyLeftRight", &TEditLink::WantKeyLeftRight}, {"WantKeyUpDown", &TEditLink::WantKeyUpDown},
        {"WantKeyHomeEnd", &TEditLink::WantKeyHomeEnd},     {"WantKeyPriorNext", &TEditLink::WantKeyPriorNext},
        {"WantKeyReturn", &TEditLink::WantKeyReturn},       {"WantKeyEscape", &TEditLink::WantKeyEscape},
    };
    if (Words.size() < 2 || (Words[1].Text != "none" && Words[1].Text != "inplace" && Words[1].Text != "popup"))
        throw EBadDirective("expected: editlink none|inplace|popup [W H] [WANTKEY...]");
    if (Words[1].Text == "none") {
        Run.Grid().EditLink = nullptr;
        return;
    }
    // The form owns the link, so it outlives every grid the run puts on the form.
    auto* link = new TRunEditLink(&Run.Form());
    link->EditStyle = Words[1].Text == "popup" ? esPopup : esInplace;
    size_t next = 2;
    if (Words.size() >= 4 && ParseInt(Words[2].Text, link->PopupWidth)) {
        if (!ParseInt(Words[3].Text, link->PopupHeight))
            throw EBadDirective("editlink: a popup width needs a height");
        next = 4;
    }
    for (; next < Words.size(); ++next) {
        const auto want = kWants.find(Words[next].Text);
        if (want == kWants.end())
            throw EBadDirective("editlink: no switch " + Escape(Words[next].Text));
        link->*(want->second) = true;
    }
    Run.Grid().EditLink = link;
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
    TGridProperty state;
    state.Get = [](TCellGrid& g, const std::vector<int>&) {
        auto* e = dynamic_cast<TCgInplaceEdit*>(g.InplaceEditor());
        if (!e || !e->Visible())
            return std::string("none");
        return "sel " + std::to_string(e->SelStart()) + " " + std::to_string(e->SelLength()) + " limit " +
            std::to_string(e->LengthLimit()) + " lines " + std::to_string(e->LineCount()) + " wrap " +
            (e->MultiLineEdit() && e->WordWrap() ? "true" : "false") + " mask " + Quote(e->EditMask());
    };
    Table["editorstate"] = state;
    TGridProperty beeps;
    beeps.Get = [](TCellGrid&, const std::vector<int>&) { return std::to_string(gBeeps); };
    Table["beeps"] = beeps;
}
