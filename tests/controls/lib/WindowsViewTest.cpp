// The library as the application's windows use it: the character window's timer lists and
// typed-line history, the button bar's grouped buttons and the input line's Alt+Down, each the
// way the window drives it. What the library's own tests already hold is not repeated here; the
// contracts that need a screen (status line, menus, history list, spin edit) are ctlrun cases.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "GuiTestSupport.h"
#include "controls/core/StrHolder.h"
#include "controls/core/TimerList.h"
#include "controls/lib/ExSpeedButton.h"
#include "controls/lib/ToolEdit.h"
#include "platform/core/TimerService.h"

namespace {

// --- Timer lists --------------------------------------------------------------------------------

class WindowsTimerList : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = &TimerService();
        SetTimerService(&clock);
    }
    void TearDown() override { SetTimerService(previous); }

    // An event owned by the window, logging "name@ms" at every firing.
    TExTimerEvent* Event(const std::string& name, int32_t interval, bool enabled)
    {
        auto* e = new TExTimerEvent(&window);
        e->SetInterval(interval);
        e->SetEnabled(enabled);
        e->OnTimer = [this, name](TObject*) { log += name + "@" + std::to_string(clock.Now()) + " "; };
        return e;
    }

    TManualTimerService clock;
    ITimerService* previous = nullptr;
    TComponent window{nullptr};  // freed before the clock goes back
    std::string log;
};

// A user timer is made while the window's list runs: its record adds a disabled event and sets
// Active, later enables it and sets Active again. The system event keeps its beat throughout.
TEST_F(WindowsTimerList, OwnerSettingActiveAgainRestartsNothing)
{
    auto* list = new TExTimerList(&window);
    Event("status", 1000, true)->SetParentList(list);
    list->SetActive(true);
    clock.Advance(500);
    TExTimerEvent* user = Event("user", 1000, false);
    list->AddItem(user);
    list->SetActive(true);
    clock.Advance(500);
    user->SetEnabled(true);
    list->SetActive(true);
    clock.Advance(1000);
    EXPECT_EQ(log, "status@1000 user@2000 status@2000 ");
}

// A one-shot user timer ran out and switched the list off; a restart enables it, which switches
// the list back on, and the owner's Active that follows neither doubles nor delays its firing.
TEST_F(WindowsTimerList, RestartedOneShotFiresOnceThoughTheOwnerSetsActive)
{
    auto* list = new TExTimerList(&window);
    TExTimerEvent* user = Event("user", 1000, true);
    user->SetCycled(false);
    user->SetRepeatCount(1);
    list->AddItem(user);
    list->SetActive(true);
    clock.Advance(1500);
    ASSERT_FALSE(list->Active());
    user->SetEnabled(true);
    list->SetActive(true);
    EXPECT_TRUE(list->Active());
    clock.Advance(3000);
    EXPECT_EQ(log, "user@1000 user@2500 ");
    EXPECT_FALSE(list->Active());
    EXPECT_EQ(clock.Count(), 0);
}

// Closing a character window clears its lists: every event goes, whichever component owns it,
// nothing of it fires later, and the list takes new events afterwards.
TEST_F(WindowsTimerList, ClearFreesEveryEventWhoeverOwnsIt)
{
    auto* list = new TExTimerList(&window);
    list->Add([this](TObject*) { log += "added "; }, 1000, true);
    Event("window", 500, true)->SetParentList(list);
    TComponent records(nullptr);
    auto* other = new TExTimerEvent(&records);
    other->OnTimer = [this](TObject*) { log += "other "; };
    list->AddItem(other);
    list->SetActive(true);
    ASSERT_EQ(window.ComponentCount(), 3);
    list->Clear();
    EXPECT_EQ(window.ComponentCount(), 1);  // the list alone
    EXPECT_EQ(records.ComponentCount(), 0);
    clock.Advance(3000);
    EXPECT_EQ(log, "");
    list->Add([this](TObject*) { log += "again "; }, 1000, true);
    list->SetActive(true);
    clock.Advance(1000);
    EXPECT_EQ(log, "again ");
}

// --- Typed-line history -------------------------------------------------------------------------

TEST(WindowsStrHolder, HistoryStartsEmptyKeepsDuplicatesAndDropsItsFirstLine)
{
    TStrHolder chatStrs(nullptr);
    TStrings& lines = *chatStrs.Strings();
    EXPECT_EQ(lines.Count(), 0);
    lines.Add("north");
    lines.Add("north");
    lines.Add("\xB5\xBF\xC2\xCA");  // 동쪽
    ASSERT_EQ(lines.Count(), 3);
    lines.Delete(0);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Strings(0), "north");
    EXPECT_EQ(lines.Strings(1), "\xB5\xBF\xC2\xCA");
}

// --- Button bar ---------------------------------------------------------------------------------

class WindowsSpeedButtons : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        form->HandleNeeded();
        a = Make(0);
        b = Make(30);
        // The bar's click handler reads Down to choose between the on and the off command.
        b->OnClick = [this](TObject*) {
            log += std::string("b") + (b->Down() ? "+" : "-") + " a" + (a->Down() ? "+" : "-") + " ";
        };
    }
    TExSpeedButton* Make(int left)
    {
        auto* button = new TExSpeedButton(form.get());
        button->SetBounds(left, 0, 25, 25);
        button->SetParent(form.get());
        button->SetGroupIndex(1);
        return button;
    }
    void Click(TExSpeedButton* button)
    {
        button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
        button->Perform(WM_LBUTTONUP, 0, MakeLParam(5, 5));
    }

    std::unique_ptr<TForm> form;
    TExSpeedButton *a = nullptr, *b = nullptr;
    std::string log;
};

TEST_F(WindowsSpeedButtons, OnClickSeesTheGroupAlreadySettled)
{
    a->SetDown(true);
    Click(b);  // down, and a raised, before OnClick
    Click(b);  // stays down without AllowAllUp
    a->SetAllowAllUp(true);
    Click(b);  // b took a's AllowAllUp: it rises
    EXPECT_EQ(log, "b+ a- b+ a- b- a- ");
}

// --- Input line ---------------------------------------------------------------------------------

// A form with key preview whose key handler may take Alt+Down.
class TPreviewForm : public TForm {
public:
    TPreviewForm(std::string& log, bool take) : TForm(nullptr), FLog(log), FTake(take)
    {
        SetBounds(0, 0, 300, 200);
        SetKeyPreview(true);
    }

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override
    {
        FLog += "form ";
        if (FTake)
            Key = 0;
        TForm::KeyDown(Key, Shift);
    }

private:
    std::string& FLog;
    bool FTake;
};

struct TAltDownRow {
    const char* name;
    bool formTakes;
    bool editTakes;
    const char* log;
};

class WindowsInputLine : public ::testing::TestWithParam<TAltDownRow> {};

TEST_P(WindowsInputLine, AltDownClicksTheButtonAfterTheKeyHandlers)
{
    TestApplication();
    std::string log;
    TPreviewForm form(log, GetParam().formTakes);
    auto* edit = Place<TComboEdit>(form, 10, 10, 150, 21);
    edit->OnKeyDown = [&log, take = GetParam().editTakes](TObject*, uint16_t& key, TShiftState) {
        log += "edit ";
        if (take)
            key = 0;
    };
    edit->OnButtonClick = [&log](TObject*) { log += "button "; };
    form.Show();
    edit->SetFocus();
    TypeKey(edit->Handle(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(log, GetParam().log);
}

const TAltDownRow kAltDownRows[] = {
    {"NobodyTakesIt", false, false, "form edit button "},
    {"TheFormTakesIt", true, false, "form "},
    {"OnKeyDownTakesIt", false, true, "form edit "},
};
INSTANTIATE_TEST_SUITE_P(Keys, WindowsInputLine, ::testing::ValuesIn(kAltDownRows),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
