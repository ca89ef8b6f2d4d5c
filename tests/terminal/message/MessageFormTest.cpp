// The transient notice: where it is placed, its size and look, and its life on the timer clock.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <memory>
#include <vector>

#include "platform/core/TimerService.h"
#include "platform/gui/Application.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Forms.h"
#include "terminal/message/MessageForm.h"

// fontconfig keeps its caches until exit.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace {

TApplication* App()
{
    static int argc = 1;
    static char name[] = "terminal_message_tests";
    static char* argv[] = {name, nullptr};
    static TApplication* app = new TApplication(argc, argv);
    return app;
}

std::vector<TMessageForm*> Notices(TWinControl* parent)
{
    std::vector<TMessageForm*> out;
    for (int i = 0; i < parent->ControlCount(); ++i)
        if (auto* m = dynamic_cast<TMessageForm*>(parent->Controls(i)))
            out.push_back(m);
    return out;
}

class MessageFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        App();
        previous = &TimerService();
        SetTimerService(&clock);
        main = new TForm(App());
        App()->SetMainForm(main);
        main->SetBounds(0, 0, 600, 400);
        main->Show();
    }
    void TearDown() override
    {
        App()->SetMainForm(nullptr);
        delete other;
        delete main;
        SetTimerService(previous == &clock ? nullptr : previous);
    }
    int TextWidth(const AnsiString& s)
    {
        TForm probe(nullptr);
        TCanvas* c = probe.Canvas();
        c->Font()->SetName("\xB1\xBC\xB8\xB2\xC3\xBC");
        c->Font()->SetSize(9);
        return c->TextWidth(s);
    }
    TManualTimerService clock{5000};
    ITimerService* previous = nullptr;
    TForm* main = nullptr;
    TForm* other = nullptr;
};

const AnsiString kCopied =
    "\xC7\xD1 \xC8\xAD\xB8\xE9\xC0\xC7 \xB5\xA5\xC0\xCC\xC5\xB8\xB8\xA6 \xC5\xAC\xB8\xB3\xBA\xB8\xB5\xE5\xBF\xA1 "
    "\xBA\xB9\xBB\xE7\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9.";  // 한 화면의 데이타를 클립보드에 복사했습니다.

}  // namespace

TEST_F(MessageFormTest, NoticeIsCentredSizedToItsTextAndGoesAfterItsTime)
{
    ShowMessageForm(kCopied, 1000);
    auto shown = Notices(main);
    ASSERT_EQ(shown.size(), 1u);
    TMessageForm* box = shown[0];
    EXPECT_EQ(box->Owner(), App());
    EXPECT_EQ(box->Width(), TextWidth(kCopied) + 40);
    EXPECT_EQ(box->Height(), 56);
    EXPECT_EQ(box->Left(), (main->Width() - box->Width()) / 2);
    EXPECT_EQ(box->Top(), (main->Height() - 56) / 2);
    clock.Advance(999);
    EXPECT_EQ(Notices(main).size(), 1u);
    clock.Advance(1);
    EXPECT_TRUE(Notices(main).empty());
    // Its timer went with it.
    EXPECT_EQ(clock.Count(), 0);
}

TEST_F(MessageFormTest, TwoNoticesAreBothShownAndEachGoesAfterItsOwnTime)
{
    ShowMessageForm("first", 1000);
    clock.Advance(300);
    ShowMessageForm("second", 1000);
    EXPECT_EQ(Notices(main).size(), 2u);
    clock.Advance(700);
    auto shown = Notices(main);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->Text(), "second");
    clock.Advance(300);
    EXPECT_TRUE(Notices(main).empty());
}

TEST_F(MessageFormTest, NoticeIsPaintedAsAFramedBoxWithItsText)
{
    ShowMessageForm("copied", 1000);
    TMessageForm* box = Notices(main).at(0);
    const QImage shot = box->Handle()->grab().toImage();
    auto at = [&](int x, int y) {
        const QRgb p = shot.pixel(x, y);
        return static_cast<TColor>(RGB(qRed(p), qGreen(p), qBlue(p)));
    };
    EXPECT_EQ(at(0, 0), TMessageForm::kFrameColor);
    EXPECT_EQ(at(box->Width() - 1, box->Height() - 1), TMessageForm::kFrameColor);
    EXPECT_EQ(at(3, 3), TMessageForm::kFaceColor);
    int ink = 0;
    for (int y = 0; y < box->Height(); ++y)
        for (int x = 1; x < box->Width() - 1; ++x)
            ink += at(x, y) == clBlack;
    EXPECT_GT(ink, 20);
    clock.Advance(1000);
}

// The book window (the main form) is hidden while a character window is in use: a notice put on
// it would never be seen.
TEST_F(MessageFormTest, NoticeOnAHiddenMainFormGoesToAVisibleWindowInstead)
{
    other = new TForm(nullptr);
    other->SetBounds(50, 50, 300, 200);
    other->Show();
    main->Hide();
    ShowMessageForm("copied", 1000);
    EXPECT_TRUE(Notices(main).empty());
    auto shown = Notices(other);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->Left(), (300 - shown[0]->Width()) / 2);
    clock.Advance(1000);
}

TEST_F(MessageFormTest, NoticeGoesToTheFormOfTheControlThatAsked)
{
    other = new TForm(nullptr);
    other->SetBounds(50, 50, 300, 200);
    other->Show();
    auto* child = new TCustomControl(other);
    child->SetParent(other);
    ShowMessageForm("copied", 1000, child);
    EXPECT_EQ(Notices(other).size(), 1u);
    EXPECT_TRUE(Notices(main).empty());
    clock.Advance(1000);
}

TEST_F(MessageFormTest, WithoutAnyVisibleWindowNothingIsShown)
{
    main->Hide();
    const int before = App()->ComponentCount();
    ShowMessageForm("copied", 1000);
    EXPECT_EQ(App()->ComponentCount(), before);
    EXPECT_EQ(clock.Count(), 0);
}

TEST_F(MessageFormTest, ClosingTheWindowFirstTakesTheNoticeAndItsTimerAlong)
{
    other = new TForm(nullptr);
    other->Show();
    main->Hide();
    ShowMessageForm("copied", 1000);
    ASSERT_EQ(Notices(other).size(), 1u);
    EXPECT_EQ(clock.Count(), 1);
    delete other;
    other = nullptr;
    EXPECT_EQ(clock.Count(), 0);
    clock.Advance(2000);
}

TEST_F(MessageFormTest, ZeroTimeStillRemovesTheNotice)
{
    ShowMessageForm("copied", 0);
    EXPECT_EQ(Notices(main).size(), 1u);
    clock.Advance(1);
    EXPECT_TRUE(Notices(main).empty());
}
