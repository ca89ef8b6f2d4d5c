// Actions: shortcuts before the focused control, updates when the event loop idles, and the
// menu items and controls that follow an action.

#include "platform/gui/ActnList.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLineEdit>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/ControlWidget.h"
#include "platform/gui/Hints.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Queue.h"

using Log = std::vector<std::string>;

namespace {

class TLineEdit : public TWinControl {
public:
    using TWinControl::TWinControl;
    QLineEdit* Edit() { return static_cast<QLineEdit*>(Handle()); }

protected:
    QWidget* CreateWidget() override { return new TWidgetAdapter<QLineEdit>(this); }
};

TAction* NewAction(TActionList* list, const char* caption, Log& log)
{
    auto* action = new TAction(list->Owner());
    action->SetActionList(list);
    action->SetCaption(caption);
    action->OnExecute = [&log, caption](TObject*) { log.push_back(std::string("run ") + caption); };
    return action;
}

}  // namespace

TEST(Actions, ActionShortCutGoesBeforeTheEditsOwnPaste)
{
    Log log;
    TForm form(nullptr);
    auto* list = new TActionList(&form);
    TAction* vars = NewAction(list, "vars", log);
    vars->SetShortCut(TextToShortCut("Ctrl+V"));
    auto* edit = new TLineEdit(&form);
    edit->SetParent(&form);
    form.Show();
    form.FocusControl(edit);
    QGuiApplication::clipboard()->setText("pasted");
    TypeKey(edit->Edit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(log, (Log{"run vars"}));
    EXPECT_TRUE(edit->Edit()->text().isEmpty());
    vars->SetEnabled(false);  // a disabled action leaves the key to the edit
    TypeKey(edit->Edit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->Edit()->text(), QStringLiteral("pasted"));
}

TEST(Actions, OnShortCutThenMenuThenActionList)
{
    Log log;
    TForm form(nullptr);
    auto* list = new TActionList(&form);
    NewAction(list, "action", log)->SetShortCut(TextToShortCut("F5"));
    auto* menu = new TMainMenu(&form);
    auto* item = new TMenuItem(&form);
    item->SetShortCut(TextToShortCut("F5"));
    item->OnClick = [&](TObject*) { log.push_back("menu"); };
    menu->Items()->Add(item);
    form.SetMenu(menu);
    EXPECT_TRUE(form.IsShortCut(VK_F5, {}));
    form.OnShortCut = [&](uint16_t, TShiftState, bool& handled) { handled = log.size() > 1; };
    item->SetEnabled(false);
    EXPECT_TRUE(form.IsShortCut(VK_F5, {}));
    EXPECT_TRUE(form.IsShortCut(VK_F5, {}));
    EXPECT_EQ(log, (Log{"menu", "run action"}));
}

TEST(Actions, UpdatesRunWhenTheEventLoopIdles)
{
    TForm form(nullptr);
    auto* list = new TActionList(&form);
    auto* action = new TAction(&form);
    action->SetActionList(list);
    QEventLoop loop;
    int updates = 0;
    action->OnUpdate = [&](TObject*) {
        ++updates;
        action->SetEnabled(false);
        loop.quit();
    };
    form.Show();
    loop.exec();  // returns once the loop has run out of work and updated the action
    EXPECT_GE(updates, 1);
    EXPECT_FALSE(action->Enabled());
    form.Hide();  // a hidden form's actions are left alone
    updates = 0;
    UpdateActionsWhenIdle();
    EXPECT_EQ(updates, 0);
}

TEST(Actions, MenuItemsAndControlsFollowTheirAction)
{
    Log log;
    TForm form(nullptr);
    auto* list = new TActionList(&form);
    TAction* action = NewAction(list, "\xC6\xAE\xB8\xAE\xB0\xC5", log);  // 트리거
    action->SetHint("Triggers|Opens the trigger page");
    auto* item = new TMenuItem(&form);
    item->SetAction(action);
    auto* button = new TCustomControl(&form);
    LinkControlToAction(button, action);
    action->SetChecked(true);
    action->SetShortCut(TextToShortCut("Ctrl+T"));
    EXPECT_EQ(item->Caption(), action->Caption());
    EXPECT_EQ(button->Caption(), action->Caption());
    EXPECT_TRUE(item->Checked());
    EXPECT_EQ(item->ShortCut(), TextToShortCut("Ctrl+T"));
    item->Click();
    button->OnClick(button);
    EXPECT_EQ(log.size(), 2u);
    action->SetEnabled(false);
    EXPECT_FALSE(item->Enabled());
    EXPECT_FALSE(button->Enabled());
    delete action;  // both drop the link
    EXPECT_EQ(item->Action(), nullptr);
    EXPECT_EQ(ControlAction(button), nullptr);
    EXPECT_EQ(GetShortHint("Triggers|Opens"), "Triggers");
    EXPECT_EQ(GetLongHint("Triggers|Opens"), "Opens");
    EXPECT_EQ(GetLongHint("plain"), "plain");
    EXPECT_EQ(GetShortHint("\x81|x|y"), "\x81|x");  // a trail byte 0x7C is no separator
}

TEST(Actions, ControlCaptionOfItsOwnSurvivesTheActionsEnabling)
{
    TForm form(nullptr);
    auto* list = new TActionList(&form);
    std::vector<std::string> log;
    TAction* action = NewAction(list, "Find", log);
    auto* button = new TCustomControl(&form);
    LinkControlToAction(button, action);
    button->SetCaption("Next");
    action->SetEnabled(false);
    EXPECT_FALSE(button->Enabled());
    EXPECT_EQ(button->Caption(), "Next");
    action->SetEnabled(true);
    EXPECT_EQ(button->Caption(), "Next");
    // A new caption of the action still reaches the control.
    action->SetCaption("Find again");
    EXPECT_EQ(button->Caption(), "Find again");
}

TEST(Actions, MenuSelectPutsTheLongHintInTheApplication)
{
    TPopupMenu menu(nullptr);
    auto* item = new TMenuItem(&menu);
    item->SetHint("Copy|Copies the block");
    menu.Items()->Add(item);
    menu.MenuSelect(item, true);
    EXPECT_EQ(Application->Hint(), "Copies the block");
    menu.MenuSelect(nullptr, false);
    EXPECT_EQ(Application->Hint(), "");
}
