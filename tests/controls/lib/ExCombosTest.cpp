// The colour and font combo boxes: the colour table and its names, values not listed, OnChange
// counts, and the font list with its filters, marks and the Windows names of the alias table.

#include "controls/lib/ExCombos.h"

#include <gtest/gtest.h>

#include <string>

#include "GuiTestSupport.h"
#include "platform/core/StringList.h"
#include "platform/gui/FontFamilies.h"

namespace {

struct TColorComboTest : ::testing::Test {
    void SetUp() override
    {
        TestApplication();
        form = std::make_unique<TForm>(nullptr);
        box = new TColorComboBox(form.get());
        box->OnChange = [this](TObject*) { ++changes; };
        box->SetParent(form.get());
        box->HandleNeeded();
    }
    std::unique_ptr<TForm> form;
    TColorComboBox* box = nullptr;
    int changes = 0;
};

TEST_F(TColorComboTest, TheWindowFillsTheSixteenColoursAndSelectsTheStoredOneOnce)
{
    ASSERT_EQ(box->Items()->Count(), 16);
    EXPECT_EQ(box->Items()->Strings(1), "Maroon");
    EXPECT_EQ(box->Items()->Strings(15), "White");
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_EQ(changes, 1);
}

TEST_F(TColorComboTest, AColourOfTheTableSelectsItsItem)
{
    box->SetColorValue(clNavy);
    EXPECT_EQ(box->ItemIndex(), 4);
    EXPECT_EQ(box->Text(), "Navy");
    EXPECT_EQ(changes, 2);
}

TEST_F(TColorComboTest, TheSelectedColourAgainFiresNothing)
{
    box->SetColorValue(clBlack);
    EXPECT_EQ(changes, 1);
}

TEST_F(TColorComboTest, AColourNotListedClearsTheSelectionAndIsKept)
{
    box->SetColorValue(clBtnFace);
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(box->GetColorValue(), clBtnFace);
    EXPECT_EQ(changes, 2);
}

TEST_F(TColorComboTest, AnEditableBoxShowsAColourNotListedByItsName)
{
    box->SetStyle(csDropDown);
    box->SetColorValue(clBtnFace);
    EXPECT_EQ(box->Text(), "BtnFace");
    box->SetText("teal");
    EXPECT_EQ(box->GetColorValue(), clTeal);
    box->SetText("nothing");
    EXPECT_EQ(box->GetColorValue(), clBtnFace);
}

TEST_F(TColorComboTest, NamesReplaceTheDefaultsEmptyAndExtraEntriesAside)
{
    box->SetColorValue(clRed);
    TStringList names;
    names.SetText("Schwarz\r\n\r\nGruen");
    for (int i = 0; i < 20; ++i)
        names.Add("extra");
    box->SetColorNames(&names);
    EXPECT_EQ(box->Items()->Strings(0), "Schwarz");
    EXPECT_EQ(box->Items()->Strings(1), "Maroon");
    EXPECT_EQ(box->Items()->Strings(2), "Gruen");
    EXPECT_EQ(box->Items()->Count(), 16);
    EXPECT_EQ(box->ItemIndex(), 9);
}

TEST(FontFilter, EveryOptionPresentMustHold)
{
    const unsigned truetype = 4, raster = 1;
    EXPECT_TRUE(FontPassesOptions(truetype, 0, 2, 0));
    EXPECT_FALSE(FontPassesOptions(raster, 0, 2, 1u << foTrueTypeOnly));
    EXPECT_FALSE(FontPassesOptions(truetype, 0, 2, 1u << foFixedPitchOnly));
    EXPECT_TRUE(FontPassesOptions(truetype, 0, 1, 1u << foFixedPitchOnly));
    EXPECT_FALSE(FontPassesOptions(truetype, 2, 1, 1u << foNoSymbolFonts));
    EXPECT_FALSE(FontPassesOptions(truetype, 1, 1, 1u << foAnsiOnly));
    EXPECT_FALSE(FontPassesOptions(raster, 0, 1, 1u << foScalableOnly));
    EXPECT_FALSE(FontPassesOptions(truetype, 0, 1, 1u << foOEMFontsOnly));
}

struct TFontComboTest : ::testing::Test {
    void SetUp() override
    {
        TestApplication();
        form = std::make_unique<TForm>(nullptr);
        box = new TFontComboBox(form.get());
        box->OnChange = [this](TObject*) { ++changes; };
        box->SetParent(form.get());
        box->HandleNeeded();
    }
    std::unique_ptr<TForm> form;
    TFontComboBox* box = nullptr;
    int changes = 0;
};

TEST_F(TFontComboTest, ListsTheInstalledFamiliesSortedAndMarked)
{
    const int dejavu = box->Items()->IndexOf("DejaVu Sans");
    ASSERT_GE(dejavu, 0) << "fonts-dejavu-core is needed";
    const auto bits = reinterpret_cast<intptr_t>(box->Items()->Objects(dejavu));
    EXPECT_EQ(bits, intptr_t(TRUETYPE_FONTTYPE | kWritableFont));
    for (int i = 1; i < box->Items()->Count(); ++i)
        EXPECT_LE(CompareText(box->Items()->Strings(i - 1), box->Items()->Strings(i)), 0);
    EXPECT_EQ(changes, 0);
}

TEST_F(TFontComboTest, AStoredWindowsNameStaysSelectable)
{
    ASSERT_GE(box->Items()->IndexOf("NanumGothic"), 0) << "fonts-nanum is needed";
    box->SetFontName("\xB1\xBC\xB8\xB2");  // 굴림
    EXPECT_GE(box->ItemIndex(), 0);
    EXPECT_EQ(box->GetFontName(), "\xB1\xBC\xB8\xB2");
    EXPECT_EQ(changes, 1);
}

TEST_F(TFontComboTest, ANameDifferingInCaseSelectsTheFont)
{
    box->SetFontName("dejavu sans");
    EXPECT_EQ(box->GetFontName(), "DejaVu Sans");
}

TEST_F(TFontComboTest, ANameNotListedLeavesAListBoxWithoutSelection)
{
    box->SetFontName("DejaVu Sans");
    box->SetFontName("No Such Font");
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(box->GetFontName(), "");
    EXPECT_EQ(changes, 2);
}

TEST_F(TFontComboTest, ChangingTheFilterKeepsAFontStillListedQuietly)
{
    box->SetFontName("DejaVu Sans Mono");
    changes = 0;
    box->SetOptions(1u << foFixedPitchOnly);
    EXPECT_EQ(box->GetFontName(), "DejaVu Sans Mono");
    EXPECT_EQ(box->Items()->IndexOf("DejaVu Sans"), -1);
    EXPECT_EQ(changes, 0);
    box->SetOptions(0);
    box->SetFontName("DejaVu Serif");
    changes = 0;
    box->SetOptions(1u << foFixedPitchOnly);
    EXPECT_EQ(box->GetFontName(), "");
    EXPECT_EQ(changes, 1);
}

}  // namespace
