// The text list box's horizontal range through the list messages.

#include "controls/lib/TextListBox.h"

#include <gtest/gtest.h>

#include <memory>

#include "GuiTestSupport.h"
#include "platform/gui/Canvas.h"

namespace {

class TextListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        list = Place<TTextListBox>(*form, 0, 0, 100, 80);
    }
    int Extent() { return static_cast<int>(list->Perform(LB_GETHORIZONTALEXTENT)); }
    int Width(const AnsiString& s) { return list->Canvas()->TextWidth(s + "x"); }

    std::unique_ptr<TForm> form;
    TTextListBox* list = nullptr;
};

TEST_F(TextListBoxTest, RangeFollowsAddInsertDeleteAndClear)
{
    list->Items()->Add("short");
    EXPECT_EQ(Extent(), Width("short"));
    list->Items()->Insert(0, "a much wider line than the others");
    list->Items()->Add("middle sized line");
    const int widest = Width("a much wider line than the others");
    EXPECT_EQ(Extent(), widest);
    // A narrower line going changes nothing; the widest going shrinks to the next.
    list->Items()->Delete(2);
    EXPECT_EQ(Extent(), widest);
    list->Items()->Add("middle sized line");
    list->Items()->Delete(0);
    EXPECT_EQ(Extent(), Width("middle sized line"));
    EXPECT_EQ(list->MaxWidth(), Extent());
    list->Items()->Clear();
    EXPECT_EQ(Extent(), 0);
}

TEST_F(TextListBoxTest, SortedAddsMeasureTheirOwnLine)
{
    list->SetSorted(true);
    list->Items()->Add("zz");
    list->Items()->Add("a very long line sorted first");
    ASSERT_EQ(list->Items()->Strings(0), "a very long line sorted first");
    list->Items()->Delete(1);
    EXPECT_EQ(Extent(), Width("a very long line sorted first"));
}

TEST_F(TextListBoxTest, AFontChangeMeasuresAgain)
{
    list->Items()->Add("measured twice");
    const int before = Extent();
    list->Font()->SetSize(list->Font()->Size() * 2);
    EXPECT_GT(Extent(), before);
    EXPECT_EQ(Extent(), Width("measured twice"));
}

TEST_F(TextListBoxTest, TabsExpandWithTabWidth)
{
    list->SetTabWidth(40);
    list->Items()->Add("a\tb");
    EXPECT_GT(Extent(), Width("a b"));
}

}  // namespace
