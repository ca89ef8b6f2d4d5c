#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "GuiTestSupport.h"
#include "platform/core/TimerService.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Caret.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WinControl.h"

namespace {

class TRedBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(ClientRect());
    }
};

class CaretTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = &TimerService();
        SetTimerService(&clock);
        form = new TForm(nullptr);
        box = new TRedBox(form);
        box->SetBounds(0, 0, 60, 40);
        box->SetParent(form);
        form->Show();
    }
    void TearDown() override
    {
        delete form;
        SetTimerService(previous);
    }
    QRgb Pixel(int x, int y) { return box->Handle()->grab().toImage().pixel(x, y) & 0xFFFFFF; }
    TManualTimerService clock;
    ITimerService* previous = nullptr;
    TForm* form = nullptr;
    TRedBox* box = nullptr;
};

}  // namespace

TEST_F(CaretTest, ShownCaretInvertsItsCellAndBlinks)
{
    ASSERT_TRUE(CreateCaret(box, 8, 16));
    SetCaretPos(10, 5);
    EXPECT_EQ(Pixel(12, 10), 0xFF0000u);  // created hidden
    ShowCaret(box);
    EXPECT_EQ(Pixel(12, 10), 0x00FFFFu);  // red inverted
    EXPECT_EQ(Pixel(18, 10), 0xFF0000u);  // just right of the cell
    clock.Advance(GetCaretBlinkTime());
    EXPECT_EQ(Pixel(12, 10), 0xFF0000u);
    clock.Advance(GetCaretBlinkTime());
    EXPECT_EQ(Pixel(12, 10), 0x00FFFFu);
}

TEST_F(CaretTest, HidesAreCountedAndOnlyTheOwnerMayShowIt)
{
    CreateCaret(box, 2, 16);
    ShowCaret(box);
    HideCaret(box);
    HideCaret(box);
    ShowCaret(box);
    EXPECT_EQ(Pixel(0, 0), 0xFF0000u);
    ShowCaret(box);
    EXPECT_EQ(Pixel(0, 0), 0x00FFFFu);
    EXPECT_FALSE(ShowCaret(form));
    EXPECT_FALSE(HideCaret(form));
}

TEST_F(CaretTest, FreeingTheOwnerDestroysTheCaret)
{
    CreateCaret(box, 2, 16);
    ShowCaret(box);
    delete box;
    TPoint p;
    EXPECT_FALSE(GetCaretPos(p));
    EXPECT_FALSE(DestroyCaret());
    EXPECT_EQ(clock.Count(), 0);  // no blink timer left behind
}
