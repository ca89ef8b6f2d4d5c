// The check list box: the radio kind's one check, grey cycling, disabled items, keys and clicks
// on the check, stored states, item data, and states carried through moves and sorting.

#include "controls/lib/ExCheckListBox.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "GuiTestSupport.h"
#include "platform/core/IniFile.h"
#include "tests/TempName.h"

namespace {

class CheckListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        list = Place<TExCheckListBox>(*form, 0, 0, 150, 100);
        for (const char* s : {"one", "two", "three"})
            list->Items()->Add(s);
        list->OnClickCheck = [this](TObject*) { ++clicks; };
    }
    void PressOnCheck(int index)
    {
        const TRect r = list->ItemRect(index);
        list->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(r.Left + 3, r.Top + 2));
        list->Perform(WM_LBUTTONUP, 0, MakeLParam(r.Left + 3, r.Top + 2));
    }
    void Char(char key) { list->Perform(WM_CHAR, static_cast<unsigned char>(key)); }

    std::unique_ptr<TForm> form;
    TExCheckListBox* list = nullptr;
    int clicks = 0;
};

TEST_F(CheckListBoxTest, RadioKindKeepsExactlyOneCheck)
{
    list->SetCheckKind(ckRadioButtons);
    EXPECT_EQ(list->CheckedIndex(), 0);
    list->SetState(2, cbChecked);
    EXPECT_EQ(list->GetState(0), cbUnchecked);
    EXPECT_EQ(list->CheckedIndex(), 2);
    // Clicking the checked item leaves it checked; "+" and "-" change nothing but still click.
    PressOnCheck(2);
    EXPECT_EQ(list->GetState(2), cbChecked);
    Char('-');
    Char('+');
    EXPECT_EQ(list->CheckedIndex(), 2);
    EXPECT_EQ(list->GetState(1), cbUnchecked);
    EXPECT_EQ(clicks, 3);
    list->SetCheckedIndex(-4);
    EXPECT_EQ(list->CheckedIndex(), 0);
}

TEST_F(CheckListBoxTest, ClicksCycleThroughGrayed)
{
    list->SetAllowGrayed(true);
    std::vector<TCheckBoxState> seen;
    for (int i = 0; i < 4; ++i) {
        PressOnCheck(1);
        seen.push_back(list->GetState(1));
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked, cbGrayed}));
    // A press on the text does not toggle.
    const TRect r = list->ItemRect(0);
    list->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(r.Left + 60, r.Top + 2));
    EXPECT_EQ(list->GetState(0), cbUnchecked);
}

TEST_F(CheckListBoxTest, DisabledItemIgnoresClicksAndSpace)
{
    list->SetItemEnabled(0, false);
    PressOnCheck(0);
    list->SetItemIndex(0);
    Char(' ');
    EXPECT_EQ(list->GetState(0), cbUnchecked);
    EXPECT_EQ(clicks, 0);
    // "+" checks the enabled items only.
    Char('+');
    EXPECT_EQ(list->GetState(0), cbUnchecked);
    EXPECT_EQ(list->GetState(1), cbChecked);
    list->SetItemIndex(2);
    Char(' ');
    EXPECT_EQ(list->GetState(2), cbUnchecked);
}

TEST_F(CheckListBoxTest, StatesSaveAndRestore)
{
    std::string name = TempPattern("checklist");
    const int fd = mkstemp(name.data());
    ASSERT_GE(fd, 0);
    close(fd);
    {
        TIniFile ini(name);
        list->SetState(0, cbChecked);
        list->SetState(2, cbGrayed);
        list->InternalSaveStates(&ini, "List");
        EXPECT_EQ(ini.ReadString("List", "Count", ""), "3");
        EXPECT_EQ(ini.ReadString("List", "Item0", ""), "1");
        EXPECT_EQ(ini.ReadString("List", "Item1", ""), "0");
        EXPECT_EQ(ini.ReadString("List", "Item2", ""), "2");
        list->ApplyState(cbUnchecked, false);
        list->InternalRestoreStates(&ini, "List");
    }
    std::remove(name.c_str());
    EXPECT_EQ(list->GetState(0), cbChecked);
    EXPECT_EQ(list->GetState(2), cbGrayed);
}

TEST_F(CheckListBoxTest, ItemDataLivesBesideTheState)
{
    list->SetState(1, cbChecked);
    TObject marker;
    list->Items()->SetObjects(1, &marker);
    EXPECT_EQ(list->Items()->Objects(1), &marker);
    EXPECT_EQ(list->GetState(1), cbChecked);
    // Data -1 reads as the list's error, as the list answers for a bad index.
    list->SetItemData(0, -1);
    EXPECT_THROW(list->Items()->Objects(0), EListError);
    EXPECT_THROW(list->Items()->Objects(9), EListError);
}

TEST_F(CheckListBoxTest, MovesAndSortingCarryStateAndEnabled)
{
    list->SetState(2, cbChecked);
    list->SetItemEnabled(2, false);
    list->Items()->Move(2, 0);
    EXPECT_EQ(list->Items()->Strings(0), "three");
    EXPECT_EQ(list->GetState(0), cbChecked);
    EXPECT_FALSE(list->GetItemEnabled(0));
    list->Items()->Exchange(0, 1);
    EXPECT_EQ(list->GetState(1), cbChecked);
    list->SetSorted(true);
    ASSERT_EQ(list->Items()->Strings(2), "two");
    EXPECT_EQ(list->GetState(1), cbChecked);
    EXPECT_EQ(list->Items()->Strings(1), "three");
    list->Items()->SetStrings(1, "third");
    EXPECT_EQ(list->GetState(1), cbChecked);
}

TEST_F(CheckListBoxTest, RegressionLongItemTextIsCutOnACharacter)
{
    const AnsiString text = AnsiString(4094, 'a') + "\xC7\xD1";  // 한 at bytes 4094-4095
    list->Items()->Add(text);
    EXPECT_EQ(list->Items()->Strings(3), AnsiString(4094, 'a'));
}

TEST_F(CheckListBoxTest, RangeIncludesTheCheckColumn)
{
    list->Items()->Clear();
    list->Items()->Add("wide enough");
    TExCustomListBox plain(nullptr);
    plain.Items()->Add("wide enough");
    EXPECT_EQ(list->Perform(LB_GETHORIZONTALEXTENT), plain.Perform(LB_GETHORIZONTALEXTENT) + list->GetCheckWidth());
    list->SetAutoScroll(false);
    EXPECT_EQ(list->Perform(LB_GETHORIZONTALEXTENT), 0);
}

TEST_F(CheckListBoxTest, StreamOfOldVersionsReadsCheckedFlags)
{
    list->ReadStrings(0, {{"a", true, 0, true}, {"b", false, 2, false}});
    EXPECT_EQ(list->GetState(0), cbChecked);
    EXPECT_EQ(list->GetState(1), cbUnchecked);
    EXPECT_FALSE(list->GetItemEnabled(1));
    list->ReadStrings(TExCheckListBox::kInternalVersion, {{"a", true, 2, true}});
    EXPECT_EQ(list->GetState(0), cbGrayed);
    const auto written = list->WriteStrings();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].State, cbGrayed);
}

TEST_F(CheckListBoxTest, ANewWindowKeepsStatesEnabledFlagsAndData)
{
    list->SetState(0, cbGrayed);
    list->SetChecked(2, true);
    list->SetItemEnabled(1, false);
    list->SetItemData(1, 42);
    list->RecreateWnd();
    EXPECT_EQ(list->GetState(0), cbGrayed);
    EXPECT_EQ(list->GetState(2), cbChecked);
    EXPECT_FALSE(list->GetItemEnabled(1));
    EXPECT_EQ(list->GetItemData(1), 42);
    EXPECT_EQ(list->Items()->Strings(2), "three");
}

}  // namespace
