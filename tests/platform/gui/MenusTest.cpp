// Menus on the offscreen platform: pop-ups are answered by the hook, so no test waits for a
// click; the Qt menus are built and painted for real.

#include "platform/gui/Menus.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMenu>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "platform/gui/Application.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Queue.h"

using Log = std::vector<std::string>;

namespace {

TMenuItem* NewItem(TComponent* owner, TMenuItem* parent, const char* caption, Log* log = nullptr)
{
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    if (log)
        item->OnClick = [log, caption](TObject*) { log->push_back(std::string("click ") + caption); };
    parent->Add(item);
    return item;
}

class TPopupHook {
public:
    explicit TPopupHook(TPopupMenuHook hook) : FOld(SetPopupMenuHook(std::move(hook))) {}
    ~TPopupHook() { SetPopupMenuHook(std::move(FOld)); }

private:
    TPopupMenuHook FOld;
};

}  // namespace

TEST(Menus, ChosenItemRunsAfterPopupReturned)
{
    Log log;
    TForm* form = new TForm(nullptr);
    auto* popup = new TPopupMenu(form);
    TMenuItem* close = NewItem(form, popup->Items(), "&Close");
    close->OnClick = [&](TObject*) {
        log.push_back("click");
        delete form;  // the handler frees the menu's owner
    };
    popup->OnPopup = [&](TObject*) { log.push_back("popup"); };
    TPopupHook hook([&](TPopupMenu* menu, int, int) { return menu->FindItemByPath("Close"); });
    popup->Popup(10, 20);
    log.push_back("returned");
    RunQueuedCalls();
    EXPECT_EQ(log, (Log{"popup", "returned", "click"}));
}

TEST(Menus, PathsIgnoreMnemonicsAndSkipNothingElse)
{
    TMainMenu menu(nullptr);
    TMenuItem* file = NewItem(&menu, menu.Items(), "&File");
    TMenuItem* open = NewItem(&menu, file, "&Open...");
    NewItem(&menu, file, "-");
    EXPECT_EQ(menu.FindItemByPath("File/Open..."), open);
    EXPECT_EQ(menu.FindItemByPath("&File/&Open..."), open);
    EXPECT_EQ(menu.FindItemByPath("File/Save"), nullptr);
    EXPECT_EQ(menu.FindItemByPath(""), nullptr);
    EXPECT_EQ(StripHotkey("A&&B &C"), "A&B C");
    EXPECT_EQ(GetHotkey("\xB9\xF6\xC6\xB0(&b)"), 'B');  // 버튼(&b)
    EXPECT_EQ(GetHotkey("\x81&x"), 0);                  // 0x26 here is a trail byte, not a mark
}

TEST(Menus, RadioItemsOfOneGroupExcludeEachOther)
{
    TPopupMenu menu(nullptr);
    TMenuItem* a = NewItem(&menu, menu.Items(), "a");
    TMenuItem* b = NewItem(&menu, menu.Items(), "b");
    TMenuItem* other = NewItem(&menu, menu.Items(), "c");
    for (TMenuItem* item : {a, b, other})
        item->SetRadioItem(true);
    other->SetGroupIndex(1);
    a->SetChecked(true);
    other->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(other->Checked());
}

TEST(Menus, ShortCutRunsParentsOnClickFirstAndSkipsDisabledItems)
{
    Log log;
    TMainMenu menu(nullptr);
    TMenuItem* edit = NewItem(&menu, menu.Items(), "Edit", &log);
    TMenuItem* copy = NewItem(&menu, edit, "Copy", &log);
    copy->SetShortCut(TextToShortCut("Ctrl+C"));
    EXPECT_TRUE(menu.IsShortCut('C', TShiftState{ssCtrl}));
    EXPECT_EQ(log, (Log{"click Edit", "click Copy"}));
    copy->SetEnabled(false);
    EXPECT_FALSE(menu.IsShortCut('C', TShiftState{ssCtrl}));
    EXPECT_FALSE(menu.IsShortCut('X', TShiftState{ssCtrl}));
}

namespace {

// Records what the owner-draw hooks were asked.
class TDrawnMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    QMenu* Qt() { return QtMenuOf(Items()); }
    Log Calls;
    void MeasureItem(TMenuItem* Item, TCanvas* ACanvas, int& Width, int& Height) override
    {
        Calls.push_back("measure " + Item->Caption());
        Width = 120;
        Height = Item->IsLine() ? 9 : 30;
    }
    void DrawItem(TMenuItem* Item, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State) override
    {
        Calls.push_back("draw " + Item->Caption() + " " + std::to_string(State) + " " + std::to_string(ARect.Height()));
        ACanvas->Brush()->SetColor(clRed);
        ACanvas->FillRect(ARect);
    }
    void MenuSelect(TMenuItem* Item, bool ByMouse) override
    {
        Calls.push_back("select " + (Item ? Item->Caption() : std::string("none")));
    }
    bool MenuChar(char Key, TMenuItem*) override
    {
        Calls.push_back(std::string("char ") + Key);
        return Key == 'q';
    }
};

bool Has(const Log& log, const std::string& entry) { return std::find(log.begin(), log.end(), entry) != log.end(); }

}  // namespace

TEST(Menus, OwnerDrawnItemsAreMeasuredAndDrawnWithTheirState)
{
    TDrawnMenu menu(nullptr);
    menu.SetOwnerDraw(true);
    TMenuItem* first = NewItem(&menu, menu.Items(), "one");
    NewItem(&menu, menu.Items(), "two")->SetEnabled(false);
    first->SetChecked(true);
    QMenu* qmenu = menu.Qt();
    QMetaObject::invokeMethod(qmenu, "aboutToShow");
    qmenu->setActiveAction(qmenu->actions().at(0));
    QImage shot = qmenu->grab().toImage();
    EXPECT_TRUE(Has(menu.Calls, "measure one"));
    EXPECT_TRUE(Has(menu.Calls, "draw one " + std::to_string(odSelected | odChecked) + " 30"));
    EXPECT_TRUE(Has(menu.Calls, "draw two " + std::to_string(odGrayed | odDisabled) + " 30"));
    EXPECT_TRUE(Has(menu.Calls, "select one"));
    EXPECT_GE(shot.height(), 60);
}

TEST(Menus, TypedCharactersGoToMenuCharFirst)
{
    TDrawnMenu menu(nullptr);
    Log log;
    NewItem(&menu, menu.Items(), "&quit", &log);
    QMenu* qmenu = menu.Qt();
    TypeKey(qmenu, Qt::Key_Z, Qt::NoModifier, "z");
    TypeKey(qmenu, Qt::Key_Q, Qt::NoModifier, "q");
    EXPECT_TRUE(Has(menu.Calls, "char z"));
    EXPECT_TRUE(Has(menu.Calls, "char q"));
}

TEST(Menus, MainMenuBarTakesTheTopOfTheForm)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* menu = new TMainMenu(&form);
    NewItem(&form, menu->Items(), "&File");
    form.SetMenu(menu);
    auto* panel = new TCustomControl(&form);
    panel->SetParent(&form);
    panel->SetAlign(alClient);
    form.Show();
    EXPECT_GT(menu->BarHeight(), 0);
    EXPECT_EQ(panel->Top(), menu->BarHeight());
    EXPECT_EQ(panel->Top() + panel->Height(), form.ClientHeight());
    delete menu;  // the form forgets a menu freed before it
    EXPECT_EQ(form.Menu(), nullptr);
}

TEST(Menus, SeparatorLineShowsNoDashBesideIt)
{
    TDrawnMenu menu(nullptr);
    NewItem(&menu, menu.Items(), "one");
    NewItem(&menu, menu.Items(), "-");
    NewItem(&menu, menu.Items(), "two");
    QMenu* qmenu = menu.Qt();
    QMetaObject::invokeMethod(qmenu, "aboutToShow");
    ASSERT_EQ(qmenu->actions().size(), 3);
    const QAction* line = qmenu->actions().at(1);
    EXPECT_TRUE(line->isSeparator());
    EXPECT_TRUE(line->text().isEmpty());
    EXPECT_EQ(qmenu->actions().at(2)->text(), "two");
}

// A menu that a press opens takes the mouse, so that press never sees its release: the capture
// it set stayed with the pressed control, and the next click on the form went to it and was lost
// (a right click on the terminal, then a click on the input line).
TEST(Menus, RegressionTheClickAfterAMenuOpenedByAPressWasLost)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* popup = new TPopupMenu(&form);
    NewItem(&form, popup->Items(), "Copy");
    auto* pane = new TPanel(&form);
    pane->SetParent(&form);
    pane->SetBounds(0, 0, 300, 90);
    pane->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState, int X, int Y) {
        if (button == mbRight)
            popup->Popup(X, Y);
    };
    form.Show();
    TPopupHook closed([](TPopupMenu*, int, int) -> TMenuItem* { return nullptr; });
    SendMouse(pane->Handle(), QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(ClicksOfAButtonClickedOnce(form), 1);
}
