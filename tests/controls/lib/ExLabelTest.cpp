// The shadowed label: automatic size with each shadow, growth to the left when right-aligned,
// vertical layout and the disabled look, on an offscreen form.

#include "controls/lib/ExLabel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "GuiTestSupport.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Forms.h"

namespace {

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        form->SetColor(clWhite);
        form->HandleNeeded();
        label = new TExLabel(form.get());
        label->SetParent(form.get());
        label->SetLeft(100);
        label->SetCaption("Status");
    }
    // What the label paints, on a bitmap of its size.
    std::unique_ptr<TBitmap> Picture()
    {
        auto b = std::make_unique<TBitmap>();
        b->SetSize(label->Width(), label->Height());
        label->PaintCopyTo(b->Canvas(), TPoint{0, 0}, Rect(0, 0, label->Width(), label->Height()));
        return b;
    }
    std::unique_ptr<TForm> form;
    TExLabel* label = nullptr;
};

struct TShadowRow {
    const char* name;
    TShadowPosition position;
    int size;
    int extra;  // pixels added to width and height over a label without shadow
};
class LabelShadowSize : public LabelTest, public ::testing::WithParamInterface<TShadowRow> {};

// The shadow's rectangle joins the text's: a shadow up or left of the text adds nothing.
TEST_P(LabelShadowSize, AutoSizeCoversTextAndShadow)
{
    label->SetShadowSize(0);
    const int width = label->Width(), height = label->Height();
    label->SetShadowPos(GetParam().position);
    label->SetShadowSize(static_cast<uint8_t>(GetParam().size));
    EXPECT_EQ(label->Width(),
              width +
                  (GetParam().position == spRightBottom || GetParam().position == spRightTop ? GetParam().extra : 0));
    EXPECT_EQ(label->Height(),
              height +
                  (GetParam().position == spLeftBottom || GetParam().position == spRightBottom ? GetParam().extra : 0));
}

const TShadowRow kShadows[] = {
    {"LeftTopAddsNothing", spLeftTop, 1, 0},
    {"RightBottomAddsToBoth", spRightBottom, 2, 2},
    {"LeftBottomAddsHeightOnly", spLeftBottom, 2, 2},
    {"RightTopAddsWidthOnly", spRightTop, 2, 2},
};
INSTANTIATE_TEST_SUITE_P(Positions, LabelShadowSize, ::testing::ValuesIn(kShadows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(LabelTest, EmptyCaptionKeepsTheHeightOfALine)
{
    const int height = label->Height();
    label->SetCaption("");
    EXPECT_EQ(label->Height(), height);
    EXPECT_GT(height, 5);
}

TEST_F(LabelTest, RightAlignedLabelKeepsItsRightEdge)
{
    label->SetAlignment(taRightJustify);
    const int right = label->Left() + label->Width();
    label->SetCaption("A much longer status text");
    EXPECT_EQ(label->Left() + label->Width(), right);
    EXPECT_LT(label->Left(), 100);
}

TEST_F(LabelTest, DisabledLabelWithoutShadowIsEmbossedDownRight)
{
    label->SetShadowSize(0);
    label->SetCaption("I");
    label->SetEnabled(false);
    bool grey = false, highlight = false;
    auto picture = Picture();
    for (int y = 0; y < label->Height(); ++y)
        for (int x = 0; x < label->Width(); ++x) {
            const TColor c = picture->Canvas()->Pixels(x, y);
            grey |= c == ColorToRGB(clGrayText);
            highlight |= c == ColorToRGB(clBtnHighlight) && x > 1;
        }
    EXPECT_TRUE(grey);
    EXPECT_TRUE(highlight);
}

}  // namespace
