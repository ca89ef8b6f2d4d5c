// The credits panel's ground: OnPaintClient is given the same rectangle, in the panel's
// coordinates, when the panel paints and when a tick paints the ground under the text, so a
// picture drawn across the panel lines up under the text.

#include "controls/lib/SecretPanel.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "platform/core/TimerService.h"

namespace {

// Red rising one step a column from the panel's left edge.
TColor GroundAt(int x) { return RGB(x & 0xFF, 0, 0); }

struct TGroundCase {
    const char* name;
    TScrollDirection direction;
    int glyphWidth;  // 0: no picture
};

class SecretPanelGround : public ::testing::TestWithParam<TGroundCase> {
protected:
    void SetUp() override
    {
        TestApplication();
        previous = &TimerService();
        SetTimerService(&clock);
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        panel = Place<TSecretPanel>(*form, 10, 10, 200, 120);
        panel->SetDirection(GetParam().direction);
        if (GetParam().glyphWidth > 0) {
            TBitmap picture;
            picture.SetSize(GetParam().glyphWidth, 20);
            panel->SetGlyph(&picture);
        }
        panel->Lines()->SetText("first\r\nsecond");
        panel->OnPaintClient = [this](TObject*, TCanvas* c, const TRect& r) {
            rects.push_back(r);
            for (int x = r.Left; x < r.Right; ++x) {
                c->Brush()->SetColor(GroundAt(x));
                c->FillRect(Rect(x, r.Top, x + 1, r.Bottom));
            }
        };
        form->Show();
    }
    void TearDown() override
    {
        form.reset();
        SetTimerService(previous);
    }

    TManualTimerService clock;
    ITimerService* previous = nullptr;
    std::unique_ptr<TForm> form;
    TSecretPanel* panel = nullptr;
    std::vector<TRect> rects;
};

TEST_P(SecretPanelGround, RegressionTicksPaintTheGroundInPanelCoordinates)
{
    panel->Play();
    panel->Handle()->grab();  // painted now
    ASSERT_FALSE(rects.empty());
    const TRect painted = rects.back();
    rects.clear();
    clock.Advance(30);
    ASSERT_EQ(panel->ScrollCount(), 1);
    ASSERT_FALSE(rects.empty());
    for (const TRect& r : rects)
        EXPECT_EQ(r, painted);
    // One pixel of text has come in at the bottom or the right; the rest of the text area is
    // ground, and it carries on the panel's own.
    const TRect text = panel->TextRect();
    ASSERT_FALSE(text.IsEmpty());
    const int y = (text.Top + text.Bottom) / 2;
    for (int x = text.Left; x < text.Right - 1; x += 7)
        EXPECT_EQ(panel->Canvas()->Pixels(x, y), GroundAt(x)) << "x " << x;
    EXPECT_EQ(panel->Canvas()->Pixels(text.Left - 1, y), GroundAt(text.Left - 1));
}

const TGroundCase kGrounds[] = {
    {"Upwards", sdVertical, 0},
    {"Sideways", sdHorizontal, 0},
    {"BesideAPicture", sdVertical, 24},
};

INSTANTIATE_TEST_SUITE_P(Cases, SecretPanelGround, ::testing::ValuesIn(kGrounds),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
