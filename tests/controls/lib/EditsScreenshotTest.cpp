// Runs only on a real X display (CTest starts it under Xvfb): the edits with a button in each
// glyph kind, the spin edits with both button kinds and the diagonal button's three faces, the
// colour list dropped down, a date edit with its calendar open (the edit keeping the focus) and
// the date dialog, read back from the X server and compared with pictures of ours in golden/
// (HM_UPDATE_GOLDEN=1 writes them instead). The clock is fixed on 15 March 2006.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <functional>

#include "GuiTestSupport.h"
#include "controls/lib/DateEdit.h"
#include "controls/lib/ExCombos.h"
#include "controls/lib/ExSpin.h"
#include "controls/lib/FileDirEdit.h"
#include "platform/core/FormatSettings.h"
#include "platform/gui/Foreground.h"

namespace {

// A window of its own (a drop-down): wait until the X server shows it (the screenshot that
// follows waits for its paint).
void WaitShown(QWidget* window)
{
    EXPECT_TRUE(WaitUntil([window] { return Exposed(window); }, "the drop-down shown"));
}

struct TEditFamily {
    const char* name;
    std::function<void(TForm&)> build;
};

const TEditFamily kEditFamilies[] = {
    {"GlyphKinds",
     [](TForm& f) {
         Place<TComboEdit>(f, 10, 10, 150, 21)->SetText("gkCustom");
         auto* drop = Place<TComboEdit>(f, 10, 40, 150, 21);
         drop->SetGlyphKind(gkDropDown);
         drop->SetText("gkDropDown");
         auto* dots = Place<TComboEdit>(f, 10, 70, 150, 21);
         dots->SetGlyphKind(gkEllipsis);
         dots->SetText("gkEllipsis");
         Place<TFilenameEdit>(f, 10, 100, 150, 21)->SetText("C:\\hanmud\\a.cmd");
         Place<TDateEdit>(f, 10, 130, 150, 21)->SetDate(EncodeDate(2006, 3, 15));
         auto* off = Place<TDateEdit>(f, 10, 160, 150, 21);
         off->SetEnabled(false);
     }},
    {"SpinEdits",
     [](TForm& f) {
         auto* diagonal = Place<TExSpinEdit>(f, 10, 10, 80, 21);
         diagonal->SetValue(42);
         auto* standard = Place<TExSpinEdit>(f, 10, 40, 80, 21);
         standard->SetButtonKind(bkStandard);
         standard->SetValue(65535);
         const TSpinButtonState faces[] = {sbNotDown, sbTopDown, sbBottomDown};
         for (int i = 0; i < 3; ++i)
             Place<TExSpinButton>(f, 120 + i * 40, 10, 30, 30)->SetDown(faces[i]);
     }},
};

class EditsScreenshot : public ::testing::TestWithParam<TEditFamily> {
protected:
    void SetUp() override
    {
        REQUIRE_REAL_X();
        saved = FormatSettings();
        FormatSettings().ShortDateFormat = "dd/mm/yyyy";
        FormatSettings().DateSeparator = '/';
        SetDateTimeClock([] { return EncodeDate(2006, 3, 15) + 0.5; });
        oldHook = SetForegroundTaskHook([] { return true; });
    }
    void TearDown() override
    {
        if (!OnX())
            return;
        FormatSettings() = saved;
        SetDateTimeClock(nullptr);
        SetForegroundTaskHook(oldHook);
    }
    TFormatSettings saved;
    std::function<bool()> oldHook;
};

TEST_P(EditsScreenshot, MatchesItsPicture)
{
    TForm form(nullptr);
    form.SetBounds(40, 40, 300, 220);
    form.SetClientWidth(300);
    form.SetClientHeight(220);
    GetParam().build(form);
    ExpectScreenshot(form, "tests/controls/lib/golden", GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Families, EditsScreenshot, ::testing::ValuesIn(kEditFamilies),
                         [](const auto& row) { return std::string(row.param.name); });

class EditsScreenshotDate : public EditsScreenshot {};

TEST_F(EditsScreenshotDate, CalendarOpenUnderTheEditThatKeepsTheFocus)
{
    TForm form(nullptr);
    form.SetBounds(40, 40, 300, 220);
    form.SetClientWidth(300);
    form.SetClientHeight(220);
    auto* edit = Place<TDateEdit>(form, 100, 10, 150, 21);
    edit->SetDate(EncodeDate(2006, 3, 9));
    Shoot(form);
    edit->SetFocus();
    edit->DoClick();
    ASSERT_TRUE(edit->PopupVisible());
    WaitShown(edit->Popup()->Handle());
    EXPECT_TRUE(edit->Focused());
    ExpectScreenshot(form, "tests/controls/lib/golden", "DateEditOpen");
    EXPECT_TRUE(edit->Focused());
}

TEST_F(EditsScreenshotDate, ColourListDroppedDown)
{
    TForm form(nullptr);
    form.SetBounds(40, 40, 300, 220);
    form.SetClientWidth(300);
    form.SetClientHeight(220);
    auto* colours = Place<TColorComboBox>(form, 10, 10, 140, 21);
    colours->SetColorValue(clRed);
    Shoot(form);
    QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);
    colours->SetDroppedDown(true);
    // The list is a window of its own: wait until the X server shows it.
    WaitShown(static_cast<QComboBox*>(colours->Handle())->view()->window());
    ExpectScreenshot(form, "tests/controls/lib/golden", "ColourList");
    colours->SetDroppedDown(false);
}

TEST_F(EditsScreenshotDate, DateDialog)
{
    TSelectDateDlg dialog(nullptr);
    dialog.SetPosition(poDesigned);
    dialog.SetBounds(40, 40, dialog.Width(), dialog.Height());
    dialog.SetDate(EncodeDate(2006, 3, 9));
    ExpectScreenshot(dialog, "tests/controls/lib/golden", "DateDialog");
}

}  // namespace
