// 3-D edges, frame controls and the hint window, read back from the pixels they draw.

#include "platform/gui/FrameControls.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <string>

#include "platform/gui/Bitmap.h"
#include "platform/gui/HintWindow.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

struct TBoard {
    TBoard()
    {
        TestApplication();
        Bitmap.SetSize(40, 40);
        Bitmap.Canvas()->Brush()->SetColor(clFuchsia);
        Bitmap.Canvas()->FillRect(TRect{0, 0, 40, 40});
    }
    TColor At(int x, int y) { return Bitmap.PixelColor(x, y); }
    int Count(const TRect& r, TColor c)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += At(x, y) == ColorToRGB(c);
        return n;
    }
    TBitmap Bitmap;
};

struct TEdgeCase {
    const char* name;
    unsigned edge, flags;
    TColor left, top, right, bottom;  // the outermost pixel of each side's middle; clNone: untouched
    TRect adjusted;
};

const TEdgeCase kEdges[] = {
    {"RaisedInnerOnRightAndBottom",
     BDR_RAISEDINNER,
     BF_RIGHT | BF_BOTTOM,
     clNone,
     clNone,
     clBtnShadow,
     clBtnShadow,
     {10, 10, 30, 30}},
    {"RaisedAdjustsByTwo",
     EDGE_RAISED,
     BF_RECT | BF_ADJUST,
     cl3DLight,
     cl3DLight,
     cl3DDkShadow,
     cl3DDkShadow,
     {12, 12, 28, 28}},
    {"SunkenOuterIsShadowAboveHighlightBelow",
     EDGE_SUNKEN,
     BF_RECT,
     clBtnShadow,
     clBtnShadow,
     clBtnHighlight,
     clBtnHighlight,
     {10, 10, 30, 30}},
    {"MonoIsOneFrameColour",
     BDR_SUNKENOUTER,
     BF_RECT | BF_MONO | BF_ADJUST,
     clWindowFrame,
     clWindowFrame,
     clWindowFrame,
     clWindowFrame,
     {11, 11, 29, 29}},
};

}  // namespace

class Edge : public ::testing::TestWithParam<TEdgeCase> {};

TEST_P(Edge, DrawsItsSides)
{
    TBoard b;
    const TEdgeCase& c = GetParam();
    TRect r{10, 10, 30, 30};
    EXPECT_TRUE(DrawEdge(b.Bitmap.Canvas(), r, c.edge, c.flags));
    const auto expect = [](TColor side) { return side == clNone ? clFuchsia : ColorToRGB(side); };
    EXPECT_EQ(b.At(10, 20), expect(c.left));
    EXPECT_EQ(b.At(20, 10), expect(c.top));
    EXPECT_EQ(b.At(29, 20), expect(c.right));
    EXPECT_EQ(b.At(20, 29), expect(c.bottom));
    EXPECT_EQ(r, c.adjusted);
    EXPECT_EQ(b.At(20, 20), clFuchsia) << "the middle is left";
}

INSTANTIATE_TEST_SUITE_P(Kinds, Edge, ::testing::ValuesIn(kEdges),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(FrameControl, CheckAndRadioShowTheirState)
{
    for (const unsigned part : {unsigned(DFCS_BUTTONCHECK), unsigned(DFCS_BUTTONRADIO)}) {
        TBoard off, on;
        TRect r{0, 0, 15, 15};
        EXPECT_TRUE(DrawFrameControl(off.Bitmap.Canvas(), r, DFC_BUTTON, part));
        EXPECT_TRUE(DrawFrameControl(on.Bitmap.Canvas(), r, DFC_BUTTON, part | DFCS_CHECKED));
        EXPECT_EQ(off.Count(TRect{3, 3, 12, 12}, clWindowText), 0) << part;
        EXPECT_GT(on.Count(TRect{3, 3, 12, 12}, clWindowText), 4) << part;
        EXPECT_EQ(on.Count(TRect{15, 0, 40, 40}, clFuchsia), 25 * 40) << "nothing beyond the box";
    }
}

TEST(FrameControl, PushedButtonIsSunken)
{
    TBoard up, down;
    TRect r{0, 0, 30, 20};
    DrawFrameControl(up.Bitmap.Canvas(), r, DFC_BUTTON, DFCS_BUTTONPUSH);
    DrawFrameControl(down.Bitmap.Canvas(), r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    EXPECT_EQ(up.At(0, 10), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(down.At(0, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(up.At(15, 10), ColorToRGB(clBtnFace));
}

TEST(FrameControl, ScrollArrowsPointTheirWay)
{
    // The arrow's widest row lies at its base: below the tip for up, above it for down.
    const auto widestRow = [](unsigned part) {
        TBoard b;
        TRect r{0, 0, 17, 17};
        EXPECT_TRUE(DrawFrameControl(b.Bitmap.Canvas(), r, DFC_SCROLL, part));
        int best = -1, bestCount = 0;
        for (int y = 3; y < 14; ++y) {
            const int n = b.Count(TRect{3, y, 14, y + 1}, clBtnText);
            if (n > bestCount) {
                best = y;
                bestCount = n;
            }
        }
        return best;
    };
    EXPECT_GT(widestRow(DFCS_SCROLLUP), 8);
    EXPECT_LT(widestRow(DFCS_SCROLLDOWN), 8);
    EXPECT_EQ(widestRow(DFCS_SCROLLCOMBOBOX), widestRow(DFCS_SCROLLDOWN));
    TBoard b;
    TRect r{0, 0, 17, 17};
    EXPECT_FALSE(DrawFrameControl(b.Bitmap.Canvas(), r, DFC_CAPTION, 0));
}

TEST(HintWindow, ShowsTextAtAScreenPlace)
{
    TestApplication();
    THintWindow hint(nullptr);
    hint.SetColor(clYellow);
    const TRect one = hint.CalcHintRect(200, "12");
    EXPECT_GT(hint.CalcHintRect(200, "1234567").Right, one.Right);
    EXPECT_GT(hint.CalcHintRect(40, "wide wide wide").Bottom, one.Bottom) << "long hints wrap";
    const TRect at{110, 220, 110 + one.Right, 220 + one.Bottom};
    hint.ActivateHint(at, "12");
    EXPECT_TRUE(hint.Visible());
    EXPECT_EQ(hint.BoundsRect(), at);
    TBitmap face;
    face.SetSize(one.Right, one.Bottom);
    hint.PaintOn(face.Canvas(), one);
    EXPECT_EQ(face.PixelColor(one.Right - 2, 1), clYellow);
    hint.ReleaseHandle();
    EXPECT_FALSE(hint.Visible());
}
