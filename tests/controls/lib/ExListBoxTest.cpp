// The library's list box beside its range and drag: a new window takes back what the old one
// held, and the columns of a multi-column list follow its width.

#include "controls/lib/ExListBox.h"

#include <gtest/gtest.h>

#include <QListView>
#include <memory>

#include "GuiTestSupport.h"

namespace {

class ExListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        list = Place<TExCustomListBox>(*form, 0, 0, 150, 60);
    }

    std::unique_ptr<TForm> form;
    TExCustomListBox* list = nullptr;
};

TEST_F(ExListBoxTest, ANewWindowKeepsItemsDataTopIndexAndItemIndex)
{
    // A text past the limit of an item read keeps its tail.
    const AnsiString longText = AnsiString(5000, 'a') + "end";
    for (int i = 0; i < 20; ++i)
        list->Items()->AddObject(i == 7 ? longText : "item " + std::to_string(i),
                                 reinterpret_cast<TObject*>(static_cast<intptr_t>(100 + i)));
    list->SetItemIndex(12);
    list->SetTopIndex(9);
    const int top = list->TopIndex();
    const int range = list->MaxWidth();
    list->RecreateWnd();
    ASSERT_EQ(list->Items()->Count(), 20);
    EXPECT_EQ(list->Items()->Strings(3), "item 3");
    EXPECT_EQ(list->GetItemData(19), 119);
    EXPECT_EQ(list->ItemIndex(), 12);
    EXPECT_EQ(list->TopIndex(), top);
    EXPECT_EQ(list->MaxWidth(), range) << "the range counts every item once";
    EXPECT_EQ(list->Perform(LB_GETTEXTLEN, 7), static_cast<LRESULT>(longText.size()));
}

TEST_F(ExListBoxTest, ColumnsShareTheNewWidth)
{
    list->SetColumns(2);
    list->SetWidth(201);
    // (Width + Columns - 3) div Columns
    EXPECT_EQ(static_cast<QListView*>(list->Handle())->gridSize().width(), 100);
    list->SetWidth(121);
    EXPECT_EQ(static_cast<QListView*>(list->Handle())->gridSize().width(), 60);
}

}  // namespace
