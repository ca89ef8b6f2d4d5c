// The owner-drawn menus: when they draw themselves (the image list's change link), measuring
// with the left band, pictures never on separators, cursors of a selection and the pop-up list.

#include "controls/lib/ExMenus.h"

#include <gtest/gtest.h>

#include <memory>

#include "GuiTestSupport.h"
#include "platform/gui/Forms.h"

namespace {

class ExMenusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        owner = std::make_unique<TComponent>(nullptr);
        menu = new TExPopupMenu(owner.get());
        file = Add(menu->Items(), "&File");
        open = Add(file, "&Open");
        line = Add(file, "-");
        top = Add(menu->Items(), "Top");
    }
    void TearDown() override { Screen->SetCursor(crDefault); }
    TMenuItem* Add(TMenuItem* parent, const AnsiString& caption)
    {
        auto* item = new TMenuItem(owner.get());
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    }
    TMenuSize Measure(TMenu* m, TMenuItem* item)
    {
        TBitmap scratch;
        scratch.SetSize(1, 1);
        TMenuSize size;
        m->MeasureItem(item, scratch.Canvas(), size.Width, size.Height);
        return size;
    }
    static void AddImage(TImageList* list)
    {
        TBitmap image;
        image.SetSize(list->Width(), list->Height());
        list->Add(&image, nullptr);
    }

    std::unique_ptr<TComponent> owner;
    TExPopupMenu* menu = nullptr;
    TMenuItem *file = nullptr, *open = nullptr, *line = nullptr, *top = nullptr;
};

TEST_F(ExMenusTest, OwnerDrawFollowsStyleAndImagesThroughTheChangeLink)
{
    EXPECT_FALSE(menu->OwnerDraw());
    auto* images = new TImageList(owner.get());
    menu->SetImages(images);
    EXPECT_FALSE(menu->OwnerDraw());
    // A second menu on the same list hears the change as well.
    auto* other = new TExMainMenu(owner.get());
    other->SetImages(images);
    AddImage(images);
    EXPECT_TRUE(menu->OwnerDraw());
    EXPECT_TRUE(other->OwnerDraw());
    delete images;
    EXPECT_EQ(menu->Images(), nullptr);
    EXPECT_FALSE(menu->OwnerDraw());
    EXPECT_FALSE(other->OwnerDraw());
    menu->SetStyle(msBtnRaised);
    EXPECT_TRUE(menu->OwnerDraw());
    menu->SetStyle(msStandard);
    EXPECT_FALSE(menu->OwnerDraw());
}

TEST_F(ExMenusTest, LeftBandWidensOnlyFirstLevelItems)
{
    menu->SetStyle(msOwnerDraw);
    const TMenuSize plainTop = Measure(menu, top), plainOpen = Measure(menu, open);
    menu->SetLeftMargin(20);
    EXPECT_EQ(Measure(menu, top).Width, plainTop.Width + 21);
    EXPECT_EQ(Measure(menu, open).Width, plainOpen.Width);
}

TEST_F(ExMenusTest, SeparatorNeverShowsAGlyph)
{
    menu->SetStyle(msOwnerDraw);
    TBitmap glyph;
    glyph.SetSize(40, 40);
    menu->OnGetItemParams = [&glyph](TMenu*, TMenuItem*, TMenuOwnerDrawState, TFont*, TColor&, TGraphic*& graphic,
                                     int&) { graphic = &glyph; };
    EXPECT_EQ(Measure(menu, line).Height, kMenuSeparatorMinHeight);
    EXPECT_GE(Measure(menu, open).Height, 44);
}

TEST_F(ExMenusTest, OnMeasureItemHasTheLastWord)
{
    menu->SetStyle(msOwnerDraw);
    menu->OnMeasureItem = [](TMenu*, TMenuItem*, int& w, int& h) { w = 7, h = 5; };
    const TMenuSize size = Measure(menu, open);
    EXPECT_EQ(size.Width, 7);
    EXPECT_EQ(size.Height, 5);
}

TEST_F(ExMenusTest, CursorShowsOnlyForMouseSelections)
{
    menu->SetStyle(msOwnerDraw);
    menu->SetCursor(crHandPoint);
    menu->MenuSelect(open, true);
    EXPECT_EQ(Screen->Cursor(), crHandPoint);
    menu->MenuSelect(open, false);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    menu->MenuSelect(open, true);
    menu->MenuSelect(nullptr, true);
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(ExMenusTest, SelectionSetsTheApplicationHint)
{
    open->SetHint("Open|Opens a file");
    menu->MenuSelect(open, false);
    EXPECT_EQ(Application->Hint(), "Opens a file");
    menu->MenuSelect(nullptr, false);
    EXPECT_EQ(Application->Hint(), "");
}

TEST_F(ExMenusTest, PopupMenusRegisterWhileTheyLive)
{
    const int before = PopupList().Count();
    auto* second = new TExPopupMenu(owner.get());
    EXPECT_EQ(PopupList().Count(), before + 1);
    EXPECT_EQ(PopupList().MenuOf(open), menu);
    delete second;
    EXPECT_EQ(PopupList().Count(), before);
}

TEST_F(ExMenusTest, ItemsOnTheMainBarAreNotPopups)
{
    auto* bar = new TExMainMenu(owner.get());
    TMenuItem* onBar = Add(bar->Items(), "File");
    TMenuItem* below = Add(onBar, "Open");
    EXPECT_FALSE(IsItemPopup(onBar));
    EXPECT_TRUE(IsItemPopup(below));
    EXPECT_TRUE(IsItemPopup(top));
    TMenuItem loose(nullptr);
    EXPECT_TRUE(IsItemPopup(&loose));
}

TEST_F(ExMenusTest, CheckedItemDrawsItsMarkInTheCheckColumn)
{
    menu->SetStyle(msOwnerDraw);
    open->SetChecked(true);
    TBitmap picture;
    picture.SetSize(120, 20);
    menu->DrawItem(open, picture.Canvas(), Rect(0, 0, 120, 20), 0);
    int marked = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 21; ++x)
            marked += picture.Canvas()->Pixels(x, y) != ColorToRGB(clMenu) ? 1 : 0;
    EXPECT_GT(marked, 5);
}

}  // namespace
