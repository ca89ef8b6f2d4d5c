// Editing on a real window under Xvfb: the focus between the grid and its editors, the combo
// editor's list and its width, the date editor's calendar, a popup editor left by a click on
// another cell; and pictures of the three companion controls (combo, edit with a button, spin
// edit) flat, hot and disabled.

#include <gtest/gtest.h>

#include <functional>

#include "grid/control/CellGrid.h"
#include "grid/control/CellGridEditors.h"
#include "platform/core/DateTime.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/ComboLook.h"
#include "platform/gui/Forms.h"
#include "platform/gui/InplaceEdit.h"
#include "platform/gui/Queue.h"
#include "platform/gui/SyntheticInput.h"
#include "tests/grid/control/TestEditLink.h"
#include "tests/platform/gui/GuiTestSupport.h"
#include "tests/platform/gui/WindowManager.h"

namespace {

// Lets the window system catch up: a loaded machine activates windows late, so the loop runs
// until what the test expects has come (XWait.h's deadline), not for a number of rounds.
bool Eventually(const std::function<bool()>& done) { return LoopUntil(done); }

struct TRealEditGrid {
    TForm form{nullptr};
    TCellGrid* grid = nullptr;
    TRealEditGrid()
    {
        TestApplication();
        form.SetBounds(60, 60, 420, 260);
        grid = new TCellGrid(&form);
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 420, 260);
        grid->SetOptions(grid->Options() << goEditing);
        form.Show();
        form.BringToFront();
        Eventually([this] {
            grid->SetFocus();
            return grid->Focused();
        });
    }
    void Key(uint16_t vk)
    {
        TWinControl* c = FocusedControl();
        SendKeyStroke(c ? c : grid, vk, {}, vk == VK_RETURN ? "\r" : vk == VK_ESCAPE ? "\x1B" : "");
        Settle(5);
        RunQueuedCalls();
        Settle(5);
    }
};

}  // namespace

TEST(CellGridRealXEdit, TheFocusGoesToTheEditorAndBackToTheGrid)
{
    REQUIRE_REAL_X();
    TRealEditGrid t;
    // The window system may take the focus back once more while it activates the new window.
    ASSERT_TRUE(Eventually([&] {
        t.grid->SetFocus();
        return t.grid->Focused();
    }));
    t.Key(VK_F2);
    ASSERT_NE(t.grid->InplaceEditor(), nullptr);
    EXPECT_TRUE(Eventually([&] { return t.grid->InplaceEditor()->Focused(); }));
    t.Key(VK_RETURN);
    EXPECT_TRUE(Eventually([&] { return t.grid->Focused(); }));
    EXPECT_FALSE(t.grid->InplaceEditor()->Visible());
}

// Without a window manager the press on another cell reaches the grid, which makes that cell
// current, before the popup editor hears that it lost the activation; its value went into the
// clicked cell while the edited cell kept its old text. A manager that focuses on click
// deactivates the popup first.
class CellGridRealXEditPopup : public ::testing::TestWithParam<bool> {};

TEST_P(CellGridRealXEditPopup, RegressionAPopupEditorLeftByAClickWroteIntoTheClickedCell)
{
    REQUIRE_REAL_X("xdotool");
    TWindowManager manager;
    if (GetParam()) {
        ASSERT_TRUE(manager.Start());
    }
    TRealEditGrid t;
    TTestLink link(nullptr);
    link.UsePopup(120, 40);
    t.grid->EditLink = &link;
    t.grid->SetCells(1, 1, "old");
    t.grid->SetCells(2, 3, "clicked");
    t.grid->OnGetEditorType = [](TObject*, int, int, TEditorType& type) { type = edCustom; };
    ASSERT_TRUE(Eventually([&] {
        t.grid->SetFocus();
        return t.grid->Focused();
    }));
    t.Key(VK_F2);
    ASSERT_NE(link.PopupForm(), nullptr);
    ASSERT_TRUE(Eventually([&] { return link.PopupForm()->Active() && link.Edit->Focused(); }));
    link.Edit->SetText("popped");
    const TRect r = t.grid->CellRect(2, 3);
    const TPoint at = t.grid->ClientToScreen(TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    RunServed(QStringLiteral("xdotool"),
              {QStringLiteral("mousemove"), QString::number(at.x), QString::number(at.y), QStringLiteral("click"),
               QStringLiteral("1")});
    ASSERT_TRUE(Eventually([&] {
        RunQueuedCalls();
        return link.PopupForm() == nullptr && link.Destroyed == 1;
    }));
    EXPECT_EQ(t.grid->Cells(1, 1), "popped");
    EXPECT_EQ(t.grid->Cells(2, 3), "clicked");
    EXPECT_EQ(t.grid->Col(), 2);
    EXPECT_EQ(t.grid->Row(), 3);
    t.grid->EditLink = nullptr;
}

INSTANTIATE_TEST_SUITE_P(, CellGridRealXEditPopup, ::testing::Bool(), [](const ::testing::TestParamInfo<bool>& i) {
    return std::string(i.param ? "UnderAWindowManager" : "WithoutAWindowManager");
});

TEST(CellGridRealXEdit, TheComboListDropsAsWideAsItsWidestItem)
{
    REQUIRE_REAL_X();
    TRealEditGrid t;
    t.grid->Navigation()->AutoComboDropSize = true;
    t.grid->AddComboString("short");
    t.grid->AddComboString("a much longer item than the column is wide");
    t.grid->OnGetEditorType = [](TObject*, int, int, TEditorType& e) { e = edComboList; };
    t.Key(VK_F2);
    TGridCombo* combo = t.grid->Combo();
    ASSERT_TRUE(combo->Visible());
    EXPECT_TRUE(Eventually([&] { return combo->Focused(); }));
    EXPECT_GT(ComboDropWidth(combo), combo->Width());
    combo->SetDroppedDown(true);
    EXPECT_TRUE(Eventually([&] { return combo->DroppedDown(); }));
    combo->SetDroppedDown(false);
    Settle(5);
    t.Key(VK_ESCAPE);
    EXPECT_FALSE(combo->Visible());
    EXPECT_TRUE(Eventually([&] { return t.grid->Focused(); }));
}

TEST(CellGridRealXEdit, TheDateEditorOpensItsCalendar)
{
    REQUIRE_REAL_X();
    TRealEditGrid t;
    t.grid->SetCells(1, 1, "2024-03-05");
    t.grid->OnGetEditorType = [](TObject*, int, int, TEditorType& e) { e = edDateEdit; };
    t.Key(VK_F2);
    TGridDatePicker* picker = t.grid->DatePicker();
    ASSERT_TRUE(picker->Visible());
    EXPECT_EQ(picker->ValueText(), "2024-03-05");
    picker->SetDroppedDown(true);
    EXPECT_TRUE(Eventually([&] { return picker->DroppedDown(); }));
    picker->SetDroppedDown(false);
    Settle(5);
    t.Key(VK_ESCAPE);
    EXPECT_EQ(t.grid->Cells(1, 1), "2024-03-05");
}

// --- Pictures of the companion controls ---------------------------------------------------------

struct TCompanionLook {
    const char* name;
    bool hot;
    bool enabled;
};
void PrintTo(const TCompanionLook& c, std::ostream* os) { *os << c.name; }

class CellGridScreenshotCompanions : public ::testing::TestWithParam<TCompanionLook> {};

TEST_P(CellGridScreenshotCompanions, MatchTheirPicture)
{
    REQUIRE_REAL_X();
    TestApplication();
    TForm form(nullptr);
    form.SetBounds(40, 40, 380, 60);
    form.SetClientWidth(380);
    form.SetClientHeight(60);
    auto* combo = new TCgComboBox(&form);
    combo->SetParent(&form);
    combo->SetBounds(10, 18, 110, 22);
    combo->Items()->Add("\xC7\xD1\xB1\xDB");  // 한글
    combo->SetItemIndex(0);
    auto* edit = new TCgEditBtn(&form);
    edit->SetParent(&form);
    edit->SetBounds(130, 18, 110, 22);
    edit->SetButtonCaption("...");
    edit->SetText("abc");
    auto* spin = new TCgSpinEdit(&form);
    spin->SetParent(&form);
    spin->SetBounds(250, 18, 110, 22);
    spin->SetValue(42);
    spin->SetSpinFlat(true);
    edit->Button()->Button()->SetFlat(true);
    form.Show();
    Settle(20);
    if (GetParam().hot) {
        combo->Perform(CM_MOUSEENTER);
        spin->Button()->UpButton()->Perform(CM_MOUSEENTER);
        edit->Button()->Button()->Perform(CM_MOUSEENTER);
    }
    for (TWinControl* c :
         {static_cast<TWinControl*>(combo), static_cast<TWinControl*>(edit), static_cast<TWinControl*>(spin)})
        c->SetEnabled(GetParam().enabled);
    Settle(20);
    ExpectScreenshot(form, "tests/grid/control/golden", std::string("Companions") + GetParam().name);
}

const TCompanionLook kLooks[] = {
    {"Flat", false, true},
    {"Hot", true, true},
    {"Disabled", false, false},
};

INSTANTIATE_TEST_SUITE_P(, CellGridScreenshotCompanions, ::testing::ValuesIn(kLooks),
                         [](const ::testing::TestParamInfo<TCompanionLook>& i) { return std::string(i.param.name); });
