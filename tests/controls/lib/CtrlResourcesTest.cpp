// The library's cursors and texts, cursor slots, resources, the not-implemented box, variants
// and icon conversions.

#include <gtest/gtest.h>

#include <QCursor>
#include <QPixmap>
#include <memory>

#include "GoldenPicture.h"
#include "GuiTestSupport.h"
#include "controls/lib/CtrlUtils.h"
#include "controls/lib/ExConst.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Resources.h"

namespace {

TEST(ExConst, CursorsAreInTheScreensTableAtStartUp)
{
    TestApplication();
    ASSERT_TRUE(Screen->HasCursor(crHand));
    ASSERT_TRUE(Screen->HasCursor(crDragHand));
    for (auto [number, name] : {std::pair{crHand, "hand-cursor"}, std::pair{crDragHand, "drag-cursor"}}) {
        TBitmap picture;
        picture.SetImage(Screen->Cursors(number).pixmap().toImage());
        golden::Expect(picture, name);
    }
}

TEST(ExConst, TextsKeepTheirBars)
{
    EXPECT_EQ(ResStr(SPrevMonth), "Previous Month|");
    EXPECT_EQ(ResStr(SDefaultFilter), "All files (*.*)|*.*");
    EXPECT_EQ(ResStr(SNotImplemented), "Function not yet implemented");
    EXPECT_EQ(ResStr(61000), "");
}

TEST(CtrlResources, DefineCursorTakesTheFirstFreeSlotFromOneHundred)
{
    TestApplication();
    const TCursor first = DefineCursor(nullptr, "EX_HANDCUR");
    const TCursor second = DefineCursor(nullptr, "EX_DRAGCUR");
    EXPECT_EQ(first, 100);
    EXPECT_EQ(second, 101);
    EXPECT_THROW(DefineCursor(nullptr, 4242), EResNotFound);
    Screen->SetCursors(first, nullptr);
    EXPECT_EQ(DefineCursor(nullptr, "EX_DRAGCUR"), 100);  // a freed slot is taken again
    Screen->SetCursors(100, nullptr);
    Screen->SetCursors(101, nullptr);
    EXPECT_EQ(LoadAniCursor(nullptr, "EX_HANDCUR"), nullptr);
}

TEST(CtrlResources, NotImplementedShowsItsTextThenAbortsSilently)
{
    TestApplication();
    AnsiString shown;
    TMessageBoxHook old = SetMessageBoxHook([&](const AnsiString& text, const AnsiString&, unsigned) {
        shown = text;
        return IDOK;
    });
    Screen->SetCursor(crHourGlass);
    EXPECT_THROW(NotImplemented(), EAbort);
    SetMessageBoxHook(old);
    EXPECT_EQ(shown, "Function not yet implemented");
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_THROW(MakeBitmap("NO_SUCH_BITMAP"), EResNotFound);
    EXPECT_EQ(MakeIcon("NO_SUCH_ICON"), nullptr);
}

TEST(CtrlResources, MakeVariantByCount)
{
    const Variant values[] = {Variant(1), Variant("two")};
    EXPECT_TRUE(MakeVariant(values, 0).IsEmpty());
    EXPECT_EQ(MakeVariant(values, 1).AsInteger(), 1);
    const Variant both = MakeVariant(values, 2);
    ASSERT_TRUE(both.IsArray());
    EXPECT_EQ(both.Items().size(), 2u);
    EXPECT_EQ(both.Items()[1].AsString(), "two");
    EXPECT_THROW(both.AsString(), EVariantError);
}

TEST(CtrlResources, BitmapToIconAndBackKeepsTheSeeThroughPixels)
{
    TestApplication();
    TBitmap bitmap;
    bitmap.SetSize(8, 8);
    bitmap.Canvas()->Brush()->SetColor(clFuchsia);
    bitmap.Canvas()->FillRect(Rect(0, 0, 8, 8));
    bitmap.Canvas()->Brush()->SetColor(clNavy);
    bitmap.Canvas()->FillRect(Rect(2, 2, 6, 6));
    std::unique_ptr<TIcon> icon(CreateIconFromBitmap(&bitmap, clFuchsia));
    ASSERT_EQ(icon->Width(), 8);
    std::unique_ptr<TBitmap> back(CreateBitmapFromIcon(icon.get(), clYellow));
    EXPECT_EQ(back->Canvas()->Pixels(0, 0), clYellow);
    EXPECT_EQ(back->Canvas()->Pixels(3, 3), clNavy);
    EXPECT_TRUE(back->Transparent());
    EXPECT_EQ(back->TransparentColor(), clYellow);
}

}  // namespace
