#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "GuiTestSupport.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WinControl.h"

namespace {

class TBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    TColor fill = clRed;
    int paints = 0;

protected:
    void Paint() override
    {
        ++paints;
        Canvas()->Brush()->SetColor(fill);
        Canvas()->FillRect(ClientRect());
    }
};

// Paints past its own bounds: the canvas must keep it inside them.
class TSpill : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clLime);
        Canvas()->FillRect(Rect(-50, -50, 500, 500));
    }
};

}  // namespace

TEST(ControlPaint, WindowsAndGraphicChildrenPaintIntoTheFormsPicture)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 120, 100);
    form.SetColor(clWhite);
    auto* box = new TBox(&form);
    box->SetBounds(10, 10, 40, 30);
    box->SetParent(&form);
    auto* spill = new TSpill(&form);
    spill->SetBounds(70, 50, 20, 10);
    spill->SetParent(&form);
    form.Show();
    QImage shot = form.Handle()->grab().toImage();
    EXPECT_GT(box->paints, 0);
    EXPECT_EQ(RgbAt(shot, 5, 5), 0xFFFFFFu);
    EXPECT_EQ(RgbAt(shot, 10, 10), 0xFF0000u);
    EXPECT_EQ(RgbAt(shot, 50, 40), 0xFFFFFFu);
    EXPECT_EQ(RgbAt(shot, 70, 50), 0x00FF00u);
    EXPECT_EQ(RgbAt(shot, 90, 60), 0xFFFFFFu);  // clipped to the control's bounds

    // A hidden graphic control leaves the form's colour behind.
    spill->SetVisible(false);
    shot = form.Handle()->grab().toImage();
    EXPECT_EQ(RgbAt(shot, 75, 55), 0xFFFFFFu);
}

// Labels in the settings dialog's group boxes stayed blank: a Qt-drawn container never painted
// the graphic controls it holds.
TEST(ControlPaint, RegressionGraphicControlsInsideAGroupBoxWereNotPainted)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 150);
    auto* group = new TGroupBox(&form);
    group->SetBounds(10, 10, 170, 120);
    group->SetCaption("Group");
    group->SetParent(&form);
    auto* spill = new TSpill(&form);
    spill->SetBounds(20, 30, 30, 10);
    spill->SetParent(group);
    auto* label = new TLabel(&form);
    label->SetBounds(20, 60, 100, 16);
    label->SetCaption("WWWW");
    label->SetParent(group);
    form.Show();
    QImage shot = form.Handle()->grab().toImage();
    EXPECT_EQ(RgbAt(shot, 35, 45), 0x00FF00u);
    EXPECT_NE(RgbAt(shot, 35, 55), 0x00FF00u);  // clipped to the control's bounds
    const QRgb background = RgbAt(shot, 150, 100);
    int inked = 0;
    for (int y = 70; y < 86; ++y)
        for (int x = 30; x < 80; ++x)
            inked += RgbAt(shot, x, y) != background;
    EXPECT_GT(inked, 20) << "the label's text is drawn";
    // The group box's own frame and caption are still drawn around them.
    int frame = 0;
    for (int y = 10; y < 130; ++y)
        frame += RgbAt(shot, 12, y) != background;
    EXPECT_GT(frame, 50);

    spill->SetVisible(false);
    shot = form.Handle()->grab().toImage();
    EXPECT_NE(RgbAt(shot, 35, 45), 0x00FF00u);
}

TEST(ControlPaint, DrawingOutsidePaintStaysOnAnOpaqueControl)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 100, 100);
    auto* c = new TCustomControl(&form);
    c->SetControlStyle(c->ControlStyle() | csOpaque);
    c->SetBounds(0, 0, 60, 60);
    c->SetParent(&form);
    form.Show();
    c->Canvas()->Brush()->SetColor(clBlue);
    c->Canvas()->FillRect(Rect(5, 5, 15, 15));
    QImage shot = c->Handle()->grab().toImage();
    EXPECT_EQ(RgbAt(shot, 5, 5), 0x0000FFu);
    EXPECT_NE(RgbAt(shot, 15, 15), 0x0000FFu);
}

TEST(ControlPaint, FindDragTargetFindsTheGraphicChildUnderThePoint)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 100, 100);
    auto* spill = new TSpill(&form);
    spill->SetBounds(10, 10, 20, 20);
    spill->SetParent(&form);
    form.Show();
    TPoint p = form.ClientToScreen(TPoint{15, 15});
    TPoint q = form.ClientToScreen(TPoint{50, 50});
    ASSERT_NE(FindDragTarget(q, false), nullptr) << "this platform cannot find windows by position";
    EXPECT_EQ(FindDragTarget(p, false), spill);
    EXPECT_EQ(FindDragTarget(q, false), &form);
    spill->SetEnabled(false);
    EXPECT_EQ(FindDragTarget(p, false), &form);
    EXPECT_EQ(FindDragTarget(p, true), spill);
}
