// The `call` verbs: one entry each. A verb gets the named component and the words after it.

#include "platform/core/Strings.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Mask.h"
#include "platform/gui/WindowScrollBars.h"
#include "tools/ctlrun/CtlRun.h"

namespace {

// The item list of a list box, combo box, radio group or memo.
TStrings* ItemsOf(TComponent* c)
{
    for (const char* name : {"Items", "Lines"})
        if (const TPropInfo* p = GetPropInfo(c, name); p && p->Kind == tkClass)
            if (auto* s = dynamic_cast<TStrings*>(p->GetObj(c)))
                return s;
    throw ECtlError("unknown operation for " + c->Name());
}

template <class T>
T* As(TComponent* c)
{
    if (auto* t = dynamic_cast<T*>(c))
        return t;
    throw ECtlError("unknown operation for " + c->Name());
}

int Number(const TCtlArgs& a, size_t i) { return CtlNumber(a, i); }

void Result(TCtlRun& run, const AnsiString& text) { run.Print("RESULT " + TCtlRun::Escape(text)); }

}  // namespace

int CtlNumber(const TCtlArgs& a, size_t i)
{
    int v = 0;
    if (i >= a.Words.size() || !TryStrToInt(a.Words[i], v))
        throw ECtlError("bad value: " + (i < a.Words.size() ? a.Words[i] : AnsiString("(missing)")));
    return v;
}

const AnsiString& CtlWord(const TCtlArgs& a, size_t i)
{
    if (i >= a.Words.size())
        throw ECtlError("missing arguments");
    return a.Words[i];
}

const std::map<AnsiString, TCtlVerb>& CtlVerbs()
{
    static const std::map<AnsiString, TCtlVerb> verbs{
        {"AddItem",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) { Result(run, IntToStr(ItemsOf(c)->Add(a.Rest))); }},
        {"Clear",
         [](TCtlRun&, TComponent* c, const TCtlArgs&) {
             if (auto* e = dynamic_cast<TCustomEdit*>(c))
                 e->Clear();
             else if (auto* combo = dynamic_cast<TCustomComboBox*>(c))
                 combo->Clear();
             else
                 ItemsOf(c)->Clear();
         }},
        {"DeleteItem", [](TCtlRun&, TComponent* c, const TCtlArgs& a) { ItemsOf(c)->Delete(Number(a, 0)); }},
        {"ItemText",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) { Result(run, ItemsOf(c)->Strings(Number(a, 0))); }},
        {"ItemCount", [](TCtlRun& run, TComponent* c, const TCtlArgs&) { Result(run, IntToStr(ItemsOf(c)->Count())); }},
        {"Click", [](TCtlRun&, TComponent* c, const TCtlArgs&) { As<TControl>(c)->Perform(BM_CLICK); }},
        {"SelectAll", [](TCtlRun&, TComponent* c, const TCtlArgs&) { As<TCustomEdit>(c)->SelectAll(); }},
        {"Copy", [](TCtlRun&, TComponent* c, const TCtlArgs&) { As<TCustomEdit>(c)->CopyToClipboard(); }},
        {"Cut", [](TCtlRun&, TComponent* c, const TCtlArgs&) { As<TCustomEdit>(c)->CutToClipboard(); }},
        {"Paste", [](TCtlRun&, TComponent* c, const TCtlArgs&) { As<TCustomEdit>(c)->PasteFromClipboard(); }},
        {"Undo", [](TCtlRun&, TComponent* c, const TCtlArgs&) { As<TCustomEdit>(c)->Undo(); }},
        {"Validate", [](TCtlRun&, TComponent* c, const TCtlArgs&) { As<TCustomMaskEdit>(c)->ValidateEdit(); }},
        {"Selected",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             Result(run, As<TCustomListBox>(c)->Selected(Number(a, 0)) ? "True" : "False");
         }},
        {"Select",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) { As<TCustomListBox>(c)->SetSelected(Number(a, 0), true); }},
        {"ItemAtPos",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             Result(run, IntToStr(As<TCustomListBox>(c)->ItemAtPos(TPoint{Number(a, 0), Number(a, 1)}, true)));
         }},
        {"Perform",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             LRESULT r = As<TControl>(c)->Perform(static_cast<unsigned>(Number(a, 0)),
                                                  static_cast<WPARAM>(a.Words.size() > 1 ? Number(a, 1) : 0),
                                                  a.Words.size() > 2 ? Number(a, 2) : 0);
             Result(run, IntToStr(r));
         }},
        {"Press",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) {
             As<TCustomUpDown>(c)->Press(!a.Words.empty() && a.Words[0] == "Prev" ? btPrev : btNext);
         }},
        {"StepIt", [](TCtlRun&, TComponent* c, const TCtlArgs&) { As<TProgressBar>(c)->StepIt(); }},
        {"AddPanel",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) {
             TStatusPanel* p = As<TStatusBar>(c)->AddPanel();
             p->Width = Number(a, 0);
             size_t blank = a.Rest.find(' ');
             p->Text = blank == AnsiString::npos ? AnsiString() : a.Rest.substr(blank + 1);
             As<TStatusBar>(c)->PanelsChanged();
         }},
        {"TabAtPos",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             Result(run, IntToStr(As<TPageControl>(c)->TabAtPos(TPoint{Number(a, 0), Number(a, 1)})));
         }},
        {"SetScrollInfo",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             TScrollInfo info;
             info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
             info.nMin = Number(a, 1);
             info.nMax = Number(a, 2);
             info.nPage = static_cast<unsigned>(Number(a, 3));
             info.nPos = Number(a, 4);
             int bar = a.Words.empty() ? SB_VERT : a.Words[0] == "Horz" ? SB_HORZ : SB_VERT;
             Result(run, IntToStr(SetScrollInfo(As<TWinControl>(c), bar, info, true)));
         }},
        {"ShowScrollBar",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) {
             int bar = a.Words.empty()  ? SB_VERT
                 : a.Words[0] == "Horz" ? SB_HORZ
                 : a.Words[0] == "Both" ? SB_BOTH
                                        : SB_VERT;
             ShowScrollBar(As<TWinControl>(c), bar, Number(a, 1) != 0);
         }},
    };
    return verbs;
}
