// The look of an edit with a button: grey text while it is disabled (unless its ground is grey
// already), in its window and in the library's own painting of it (PaintComboEdit), whose text
// sits by its alignment beside the button.

#include <gtest/gtest.h>

#include <QImage>
#include <QPalette>
#include <QWidget>

#include <memory>
#include <string>

#include "GuiTestSupport.h"
#include "controls/lib/ToolEdit.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Canvas.h"

namespace {

// A pop-up holding nothing, so that the edit can be opened.
class TEmptyPopup : public TPopupWindow {
public:
    explicit TEmptyPopup(TWinControl* AOwner) : TPopupWindow(AOwner) { SetBounds(0, 0, 60, 40); }
    Variant GetValue() override { return Variant(AnsiString()); }
    void SetValue(const Variant&) override {}
};

class TPopupComboEdit : public TCustomComboEdit {
public:
    explicit TPopupComboEdit(TComponent* AOwner) : TCustomComboEdit(AOwner) { SetPopup(new TEmptyPopup(this)); }
};

class ComboEditLook : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 120);
        edit = Place<TPopupComboEdit>(*form, 10, 10, 160, 24);
        edit->Font()->SetColor(clRed);
        edit->Font()->SetSize(14);
        edit->Font()->SetStyle(TFontStyles() << fsBold);
        edit->SetText("IIII");
        form->Show();
    }
    // How many pixels of the picture have exactly the colour.
    static int Count(const QImage& image, TColor color)
    {
        const QRgb want = ToQColor(color).rgb();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF);
        return n;
    }

    std::unique_ptr<TForm> form;
    TPopupComboEdit* edit = nullptr;
};

struct TTextColourCase {
    const char* name;
    bool enabled;
    TColor ground;
    TColor text;
};

class ComboEditTextColour : public ComboEditLook, public ::testing::WithParamInterface<TTextColourCase> {};

TEST_P(ComboEditTextColour, DrawsItsTextInIt)
{
    edit->SetColor(GetParam().ground);
    edit->SetEnabled(GetParam().enabled);
    EXPECT_EQ(ComboEditTextColor(edit), GetParam().text);
    QWidget* w = edit->Handle();
    const QPalette::ColorGroup group = GetParam().enabled ? QPalette::Active : QPalette::Disabled;
    EXPECT_EQ(w->palette().color(group, QPalette::Text), ToQColor(GetParam().text));
    const QImage shot = w->grab().toImage();
    EXPECT_GT(Count(shot, GetParam().text), 0);
    if (GetParam().text != clRed) {
        EXPECT_EQ(Count(shot, clRed), 0);
    }
    // Back to the other state, the colour follows.
    edit->SetEnabled(!GetParam().enabled);
    EXPECT_EQ(w->palette().color(GetParam().enabled ? QPalette::Disabled : QPalette::Active, QPalette::Text),
              ToQColor(ComboEditTextColor(edit)));
}

const TTextColourCase kTextColours[] = {
    {"EnabledInItsFontColour", true, clWindow, clRed},
    {"RegressionDisabledIsGreyNotItsFontColour", false, clWindow, clGrayText},
    {"DisabledOnAGreyGroundInItsFontColour", false, clGrayText, clRed},
};

INSTANTIATE_TEST_SUITE_P(Cases, ComboEditTextColour, ::testing::ValuesIn(kTextColours),
                         [](const auto& row) { return std::string(row.param.name); });

// The library's own painting, onto a picture of the edit's size.
class ComboEditPaint : public ComboEditLook {
protected:
    bool Paint(TAlignment alignment, bool standard)
    {
        picture.SetSize(edit->Width(), edit->Height());
        picture.Canvas()->Brush()->SetColor(clBlack);
        picture.Canvas()->FillRect(Rect(0, 0, edit->Width(), edit->Height()));
        TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(picture.Canvas()), 0, 0};
        return PaintComboEdit(edit, edit->Text(), alignment, standard, canvas, m);
    }
    // The first column holding anything but the ground, -1 when none.
    int FirstInkColumn()
    {
        const QRgb ground = ToQColor(edit->Color()).rgb() & 0xFFFFFF;
        for (int x = 0; x < picture.Width(); ++x)
            for (int y = 0; y < picture.Height(); ++y)
                if ((static_cast<unsigned>(picture.Canvas()->Pixels(x, y)) & 0xFFFFFF) !=
                    (static_cast<unsigned>(FromQRgb(ground)) & 0xFFFFFF))
                    return x;
        return -1;
    }
    int TextWidth()
    {
        TBitmap scratch;
        scratch.SetSize(1, 1);
        scratch.Canvas()->SetFont(edit->Font());
        return scratch.Canvas()->TextWidth(edit->Text()) + 1;
    }

    TBitmap picture;
    std::unique_ptr<TControlCanvas> canvas;
};

struct TPlacementCase {
    const char* name;
    TAlignment alignment;
    bool popupOpen;
    // Where the text starts, from the client width, the button width and the text width.
    int (*left)(int client, int button, int text);
};

class ComboEditTextPlace : public ComboEditPaint, public ::testing::WithParamInterface<TPlacementCase> {};

TEST_P(ComboEditTextPlace, StartsWhereItsAlignmentSays)
{
    if (GetParam().popupOpen)
        edit->PopupDropDown(false);
    ASSERT_EQ(edit->PopupVisible(), GetParam().popupOpen);
    ASSERT_TRUE(Paint(GetParam().alignment, false));
    const int expected = GetParam().left(edit->ClientWidth(), edit->ButtonWidth(), TextWidth());
    const int first = FirstInkColumn();
    // The glyph's own side bearing may leave a pixel or two before the ink.
    EXPECT_GE(first, expected);
    EXPECT_LE(first, expected + 3);
}

const TPlacementCase kPlacements[] = {
    {"Left", taLeftJustify, false, [](int, int, int) { return 1; }},
    {"Right", taRightJustify, false, [](int c, int b, int t) { return c - b - t - 1 - 2; }},
    {"Centre", taCenter, false, [](int c, int b, int t) { return (c - b - t) / 2; }},
    {"RightWhileThePopupIsOpenStartsAtTheLeft", taRightJustify, true, [](int, int, int) { return 1; }},
};

INSTANTIATE_TEST_SUITE_P(Cases, ComboEditTextPlace, ::testing::ValuesIn(kPlacements),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ComboEditPaint, DisabledTextIsGreyOnItsGround)
{
    edit->SetColor(clYellow);
    edit->SetEnabled(false);
    ASSERT_TRUE(Paint(taLeftJustify, false));
    EXPECT_GT(Count(picture.Canvas()->Image()->copy(), clGrayText), 0);
    EXPECT_EQ(Count(picture.Canvas()->Image()->copy(), clRed), 0);
    EXPECT_EQ(picture.Canvas()->Pixels(edit->Width() - 2, 0), clYellow);
}

TEST_F(ComboEditPaint, StandardPaintLeavesItToTheEditUnlessACopyIsPainted)
{
    EXPECT_FALSE(Paint(taLeftJustify, true));
    EXPECT_EQ(FirstInkColumn(), 0);  // still the black of before
    edit->SetControlState(edit->ControlState() | csPaintCopy);
    EXPECT_TRUE(Paint(taLeftJustify, true));
    EXPECT_GT(FirstInkColumn(), 0);
    edit->SetControlState(edit->ControlState() & ~csPaintCopy);
}

}  // namespace
