// The `call` verbs of the list boxes, the owner-drawn menus and the speed bar, and of the image
// list they draw from.

#include "controls/lib/ExCheckListBox.h"
#include "controls/lib/ExMenus.h"
#include "controls/lib/SbSetup.h"
#include "controls/lib/SpeedBar.h"
#include "controls/lib/TextListBox.h"
#include "platform/core/IniFile.h"
#include "platform/core/Strings.h"
#include "platform/gui/Queue.h"
#include "tools/ctlrun/CtlRun.h"

namespace {

template <class T>
T* As(TComponent* c)
{
    if (auto* t = dynamic_cast<T*>(c))
        return t;
    throw ECtlError("unknown operation for " + c->Name());
}

const AnsiString& Word(const TCtlArgs& a, size_t i)
{
    if (i >= a.Words.size())
        throw ECtlError("missing arguments");
    return a.Words[i];
}

void Result(TCtlRun& run, const AnsiString& text) { run.Print("RESULT " + TCtlRun::Escape(text)); }

const char* const kStates[] = {"cbUnchecked", "cbChecked", "cbGrayed"};

TCheckBoxState StateArg(const TCtlArgs& a, size_t i)
{
    for (int s = 0; s < 3; ++s)
        if (SameText(Word(a, i), kStates[s]))
            return static_cast<TCheckBoxState>(s);
    throw ECtlError("bad value: " + Word(a, i));
}

bool BoolArg(const TCtlArgs& a, size_t i)
{
    if (SameText(Word(a, i), "True"))
        return true;
    if (SameText(Word(a, i), "False"))
        return false;
    throw ECtlError("bad value: " + Word(a, i));
}

const char* BoolText(bool v) { return v ? "True" : "False"; }

// The menu item a path of captions leads to; ECtlError when there is none.
TMenuItem* ItemOf(TComponent* c, const AnsiString& path)
{
    TMenuItem* item = As<TMenu>(c)->FindItemByPath(path);
    if (!item)
        throw ECtlError("no menu item: " + path);
    return item;
}

// Adds the items of the path that are missing ("-" is a new separator); the last one, when
// chosen, prints its click with the path.
void AddMenuItem(TCtlRun& run, TComponent* c, const TCtlArgs& a)
{
    TMenu* menu = As<TMenu>(c);
    const AnsiString path = a.Rest;
    TMenuItem* parent = menu->Items();
    size_t start = 0;
    for (;;) {
        const size_t slash = path.find('/', start);
        const AnsiString caption = path.substr(start, slash == AnsiString::npos ? AnsiString::npos : slash - start);
        TMenuItem* item = caption == "-" ? nullptr : parent->Find(caption);
        if (!item) {
            item = new TMenuItem(menu);
            item->SetCaption(caption);
            parent->Add(item);
        }
        if (slash == AnsiString::npos) {
            item->OnClick = [&run, c, path](TObject*) { run.PrintEvent(c, "OnClick", TCtlRun::Escape(path)); };
            return;
        }
        parent = item;
        start = slash + 1;
    }
}

void MeasureMenuItem(TCtlRun& run, TComponent* c, const TCtlArgs& a)
{
    TMenuItem* item = ItemOf(c, a.Rest);
    TBitmap scratch;
    scratch.SetSize(1, 1);
    int width = 0, height = 0;
    As<TMenu>(c)->MeasureItem(item, scratch.Canvas(), width, height);
    Result(run, IntToStr(width) + " " + IntToStr(height));
}

TSpeedItem* ItemNamed(TCtlRun& run, const AnsiString& name) { return As<TSpeedItem>(run.Find(name)); }

void NewSpeedItemVerb(TCtlRun& run, TComponent* c, const TCtlArgs& a)
{
    TSpeedItem* item = As<TSpeedBar>(c)->NewItem(run.Form(), CtlNumber(a, 0), Word(a, 1));
    if (!item) {
        Result(run, "nil");
        return;
    }
    item->SetOnClick([&run, item](TObject*) { run.PrintEvent(item, "OnClick"); });
    Result(run, item->Name());
}

}  // namespace

const std::map<AnsiString, TCtlVerb>& CtlListVerbs()
{
    static const std::map<AnsiString, TCtlVerb> verbs{
        // List boxes.
        {"HorizontalExtent",
         [](TCtlRun& run, TComponent* c, const TCtlArgs&) {
             Result(run, IntToStr(static_cast<int>(As<TControl>(c)->Perform(LB_GETHORIZONTALEXTENT))));
         }},
        // Check list boxes.
        {"SetState",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) {
             As<TExCheckListBox>(c)->SetState(CtlNumber(a, 0), StateArg(a, 1));
         }},
        {"GetState",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             Result(run, kStates[As<TExCheckListBox>(c)->GetState(CtlNumber(a, 0))]);
         }},
        {"SetChecked",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) {
             As<TExCheckListBox>(c)->SetChecked(CtlNumber(a, 0), BoolArg(a, 1));
         }},
        {"SetItemEnabled",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) {
             As<TExCheckListBox>(c)->SetItemEnabled(CtlNumber(a, 0), BoolArg(a, 1));
         }},
        {"SaveStates",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) {
             TIniFile ini(a.Rest);
             As<TExCheckListBox>(c)->SaveStates(&ini);
         }},
        {"RestoreStates",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) {
             TIniFile ini(a.Rest);
             As<TExCheckListBox>(c)->RestoreStates(&ini);
         }},
        {"ToggleClickCheck",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) { As<TExCheckListBox>(c)->ToggleClickCheck(CtlNumber(a, 0)); }},
        // Image lists: an image of one colour at the list's size.
        {"AddColor",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             TImageList* list = As<TImageList>(c);
             TBitmap image;
             image.SetSize(list->Width(), list->Height());
             image.Canvas()->Brush()->SetColor(StringToColor(Word(a, 0)));
             image.Canvas()->FillRect(Rect(0, 0, list->Width(), list->Height()));
             Result(run, IntToStr(list->Add(&image, nullptr)));
         }},
        // Menus.
        {"AddMenuItem", AddMenuItem},
        {"MeasureItem", MeasureMenuItem},
        {"Popup",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) {
             As<TPopupMenu>(c)->Popup(CtlNumber(a, 0), CtlNumber(a, 1));
             RunQueuedCalls();
         }},
        {"Choose",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) {
             ChooseMenuItem(ItemOf(c, a.Rest));
             RunQueuedCalls();
         }},
        {"SelectItem",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             const bool byMouse = Word(a, 0) == "mouse";
             const size_t blank = a.Rest.find(' ');
             TMenuItem* item = blank == AnsiString::npos ? nullptr : ItemOf(c, a.Rest.substr(blank + 1));
             As<TMenu>(c)->MenuSelect(item, byMouse);
             Result(run, IntToStr(Screen->Cursor()));
         }},
        // The speed bar.
        {"AddSection",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             Result(run, IntToStr(As<TSpeedBar>(c)->AddSection(a.Rest)));
         }},
        {"SearchSection",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             Result(run, IntToStr(As<TSpeedBar>(c)->SearchSection(a.Rest)));
         }},
        {"SectionCaption",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             TSpeedbarSection* s = As<TSpeedBar>(c)->Sections(CtlNumber(a, 0));
             const size_t blank = a.Rest.find(' ');
             if (blank != AnsiString::npos)
                 s->SetCaption(a.Rest.substr(blank + 1));
             Result(run, s->Caption());
         }},
        {"SetSectionIndex",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             TSpeedBar* bar = As<TSpeedBar>(c);
             TSpeedbarSection* s = bar->Sections(CtlNumber(a, 0));
             s->SetIndex(CtlNumber(a, 1));
             Result(run, IntToStr(s->Index()));
         }},
        {"RemoveSection",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) { As<TSpeedBar>(c)->RemoveSection(CtlNumber(a, 0)); }},
        {"NewItem", NewSpeedItemVerb},
        {"ItemsCount",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             Result(run, IntToStr(As<TSpeedBar>(c)->ItemsCount(CtlNumber(a, 0))));
         }},
        {"GridSize",
         [](TCtlRun& run, TComponent* c, const TCtlArgs&) {
             const TPoint g = As<TSpeedBar>(c)->GridSize();
             Result(run, IntToStr(g.x) + " " + IntToStr(g.y));
         }},
        {"AcceptDropItem",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             TSpeedItem* item = ItemNamed(run, Word(a, 0));
             Result(run, BoolText(As<TSpeedBar>(c)->AcceptDropItem(item, CtlNumber(a, 1), CtlNumber(a, 2))));
         }},
        {"SaveLayout",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) {
             TIniFile ini(a.Rest);
             As<TSpeedBar>(c)->SaveLayout(&ini);
         }},
        {"RestoreLayout",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) {
             TIniFile ini(a.Rest);
             As<TSpeedBar>(c)->RestoreLayout(&ini);
         }},
        {"Customize", [](TCtlRun&, TComponent* c, const TCtlArgs&) { As<TSpeedBar>(c)->Customize(0); }},
        {"EndCustomize",
         [](TCtlRun&, TComponent* c, const TCtlArgs&) {
             if (TSpeedbarSetupWindow* w = FindSpeedbarSetupWindow(As<TSpeedBar>(c)))
                 w->Close();
         }},
        {"SetupWindows",
         [](TCtlRun& run, TComponent*, const TCtlArgs&) {
             int n = 0;
             for (int i = 0; i < Screen->FormCount(); ++i)
                 n += dynamic_cast<TSpeedbarSetupWindow*>(Screen->Forms(i)) ? 1 : 0;
             Result(run, IntToStr(n));
         }},
    };
    return verbs;
}
