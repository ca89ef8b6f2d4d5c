// Form styles, size limits, scaling, placement and the screen's cursor table.

#include <gtest/gtest.h>

#include <QWidget>

#include "GuiTestSupport.h"
#include "platform/gui/Foreground.h"
#include "platform/gui/Forms.h"

TEST(FormWindow, StayOnTopAndBorderIconsReachTheWindow)
{
    TForm form(nullptr);
    form.SetFormStyle(fsStayOnTop);
    form.SetBorderIcons(biSystemMenu);
    form.Show();
    Qt::WindowFlags flags = form.Handle()->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    form.SetFormStyle(fsMDIForm);  // kept, no MDI behaviour
    EXPECT_EQ(form.FormStyle(), fsMDIForm);
    EXPECT_FALSE(form.Handle()->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST(FormWindow, ConstraintsClampEverySize)
{
    TForm form(nullptr);
    form.Constraints()->MinWidth = 200;
    form.Constraints()->MaxHeight = 150;
    form.ConstraintsChanged();
    form.SetBounds(0, 0, 100, 400);
    EXPECT_EQ(form.Width(), 200);
    EXPECT_EQ(form.Height(), 150);
    form.Show();
    EXPECT_EQ(form.Handle()->maximumHeight(), 150);
}

TEST(FormWindow, ScaleByScalesControlsAndFonts)
{
    TForm form(nullptr);
    form.SetClientWidth(200);
    auto* panel = new TCustomControl(&form);
    panel->SetParent(&form);
    panel->SetBounds(10, 20, 30, 40);
    panel->SetParentFont(false);
    panel->Font()->SetHeight(-12);
    form.ScaleBy(3, 2);
    EXPECT_EQ(panel->BoundsRect(), Rect(15, 30, 60, 90));
    EXPECT_EQ(panel->Font()->Height(), -18);
    EXPECT_EQ(form.ClientWidth(), 300);
    EXPECT_EQ(form.PixelsPerInch(), 96);
}

TEST(FormWindow, PlacementKeepsTheNormalRectangleWhileMaximised)
{
    TForm form(nullptr);
    TWindowPlacement placement;
    placement.ShowCmd = 3;
    placement.NormalPosition = Rect(30, 40, 330, 240);
    form.SetPlacement(placement);
    TWindowPlacement back = form.GetPlacement();
    EXPECT_EQ(back.ShowCmd, 3);
    EXPECT_EQ(back.NormalPosition, Rect(30, 40, 330, 240));
    EXPECT_EQ(back.MinPosition, (TPoint{-1, -1}));
}

TEST(ScreenTable, UnknownCursorsAreTheDefaultAndSetOnesStay)
{
    QCursor cross(Qt::CrossCursor);
    EXPECT_EQ(Screen->Cursors(crHourGlass).shape(), Qt::WaitCursor);
    EXPECT_EQ(Screen->Cursors(100).shape(), Qt::ArrowCursor);
    EXPECT_FALSE(Screen->HasCursor(100));
    Screen->SetCursors(100, &cross);
    EXPECT_EQ(Screen->Cursors(100).shape(), Qt::CrossCursor);
    Screen->SetCursors(100, nullptr);
    EXPECT_FALSE(Screen->HasCursor(100));
    TRect work = Screen->WorkAreaRect();
    EXPECT_GT(work.Width(), 0);
    auto old = SetForegroundTaskHook([] { return true; });
    EXPECT_TRUE(IsForegroundTask());
    SetForegroundTaskHook(old);
}
