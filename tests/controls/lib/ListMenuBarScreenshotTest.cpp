// Runs only on a real X display (CTest starts it under Xvfb): check list boxes of each kind with
// a disabled item, a speed bar with wallpaper and bound lines, the customise window, and a real
// owner-drawn pop-up (pictures, a check mark, a separator, the left band) read back from the X
// server and then chosen by keys that xdotool types. Pictures of ours in golden/
// (HM_UPDATE_GOLDEN=1 writes them instead).

#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "controls/lib/ExCheckListBox.h"
#include "controls/lib/ExMenus.h"
#include "controls/lib/SbSetup.h"
#include "controls/lib/SpeedBar.h"
#include "platform/core/ShortCuts.h"
#include "platform/gui/Foreground.h"
#include "platform/gui/Queue.h"

namespace {

const char* const kGolden = "tests/controls/lib/golden";

// A 16 x 16 picture: a square of the colour with a black edge on fuchsia (see-through).
void Square(TBitmap* b, TColor color)
{
    b->SetSize(16, 16);
    b->Canvas()->Brush()->SetColor(clFuchsia);
    b->Canvas()->FillRect(Rect(0, 0, 16, 16));
    b->Canvas()->Brush()->SetColor(clBlack);
    b->Canvas()->FillRect(Rect(2, 2, 14, 14));
    b->Canvas()->Brush()->SetColor(color);
    b->Canvas()->FillRect(Rect(3, 3, 13, 13));
}

class ListMenuBarScreenshot : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        REQUIRE_REAL_X();
        old = SetForegroundTaskHook([] { return true; });
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(40, 40, 400, 250);
        form->SetClientWidth(400);
        form->SetClientHeight(250);
    }
    void TearDown() override
    {
        form.reset();
        RunQueuedCalls();
        if (OnX())
            SetForegroundTaskHook(old);
    }
    TSpeedBar* Bar()
    {
        auto* bar = new TSpeedBar(form.get());
        bar->SetParent(form.get());
        const int file = bar->AddSection("File");
        bar->AddSection("Edit");
        const TColor colors[] = {clRed, clLime, clBlue};
        const char* const names[] = {"Open", "Save", "Print"};
        for (int i = 0; i < 3; ++i) {
            TSpeedItem* item = bar->NewItem(form.get(), file, names[i]);
            TBitmap glyph;
            Square(&glyph, colors[i]);
            item->Button()->SetGlyph(&glyph);
            item->SetLeft(3 + i * 24);
            item->SetVisible(i < 2);
        }
        return bar;
    }

    std::unique_ptr<TForm> form;
    std::function<bool()> old;
};

TEST_F(ListMenuBarScreenshot, CheckListBoxesOfEachKind)
{
    const TCheckKind kinds[] = {ckCheckBoxes, ckRadioButtons, ckCheckMarks};
    for (int k = 0; k < 3; ++k) {
        auto* list = Place<TExCheckListBox>(*form, 10 + k * 128, 10, 120, 110);
        for (const char* s : {"\xC7\xD1\xB1\xDB", "English", "grayed", "disabled"})  // 한글
            list->Items()->Add(s);
        list->SetTabStop(false);  // where the focus lands is up to the window system
        list->SetCheckKind(kinds[k]);
        list->SetAllowGrayed(true);
        list->SetState(1, cbChecked);
        list->SetState(2, cbGrayed);
        list->SetItemEnabled(3, false);
        list->SetState(3, cbChecked);
    }
    ExpectScreenshot(*form, kGolden, "CheckListBoxes");
}

TEST_F(ListMenuBarScreenshot, SpeedBarWithWallpaperAndBoundLines)
{
    TSpeedBar* bar = Bar();
    bar->SetHeight(37);
    bar->SetBoundLines(BoundLineBit(blTop) | BoundLineBit(blBottom) | BoundLineBit(blLeft) | BoundLineBit(blRight));
    TBitmap paper;
    paper.SetSize(8, 8);
    paper.Canvas()->Brush()->SetColor(clSilver);
    paper.Canvas()->FillRect(Rect(0, 0, 8, 8));
    paper.Canvas()->Brush()->SetColor(clTeal);
    paper.Canvas()->FillRect(Rect(0, 0, 4, 4));
    paper.Canvas()->FillRect(Rect(4, 4, 8, 8));
    bar->Wallpaper()->SetGraphic(&paper);
    ExpectScreenshot(*form, kGolden, "SpeedBar");
}

TEST_F(ListMenuBarScreenshot, CustomizeWindow)
{
    TSpeedBar* bar = Bar();
    Shoot(*form);
    bar->Customize(0);
    TSpeedbarSetupWindow* window = FindSpeedbarSetupWindow(bar);
    ASSERT_NE(window, nullptr);
    ExpectScreenshot(*window, kGolden, "CustomizeWindow");
    window->Close();
}

TEST_F(ListMenuBarScreenshot, OwnerDrawnPopupChosenByKeys)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) << "xdotool is missing";
    TRealDialogs real;
    Shoot(*form);
    auto* images = new TImageList(form.get());
    for (TColor color : {clRed, clLime, clBlue}) {
        TBitmap b;
        Square(&b, color);
        images->AddMasked(&b, clFuchsia);
    }
    auto* menu = new TExPopupMenu(form.get());
    menu->SetImages(images);
    menu->SetLeftMargin(16);
    std::vector<std::string> log;
    auto add = [&](const char* caption, int image) {
        auto* item = new TMenuItem(form.get());
        item->SetCaption(caption);
        item->SetImageIndex(image);
        item->OnClick = [&log, caption](TObject*) { log.push_back(caption); };
        menu->Items()->Add(item);
        return item;
    };
    add("&Open", 0);
    add("&Save", 1);
    add("-", -1);
    add("&Word wrap", -1)->SetChecked(true);
    add("E&xit", 2)->SetShortCut(ShortCut('Q', TShiftState() << ssCtrl));
    ASSERT_TRUE(menu->OwnerDraw());
    TypeWhenShown([] { return QApplication::activePopupWidget(); }, "xdotool key --delay 100 Down Down Return",
                  [](QWidget* w) {
                      const QRect g = w->geometry();
                      ExpectScreenRect(g.x(), g.y(), g.width(), g.height(), kGolden, "OwnerDrawnPopup");
                  });
    menu->Popup(form->Left() + 60, form->Top() + 60);
    EXPECT_TRUE(WaitUntil([&] { return !log.empty(); }, "the chosen item's handler"));
    EXPECT_EQ(log, (std::vector<std::string>{"&Save"}));
}

}  // namespace
