// The date edit, the calendars and the date dialog on a fixed locale (day-month-year with "/",
// four-digit years) and a fixed clock (Wednesday 15 March 2006).

#include "controls/lib/DateEdit.h"

#include <gtest/gtest.h>

#include <string>

#include "GuiTestSupport.h"
#include "platform/core/DateFormat.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/StringList.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/SettingChange.h"

namespace {

class DateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        saved = FormatSettings();
        savedFour = FourDigitYear;
        FormatSettings().ShortDateFormat = "dd/mm/yyyy";
        FormatSettings().DateSeparator = '/';
        FourDigitYear = true;
        SetDateTimeClock([] { return EncodeDate(2006, 3, 15) + 0.5; });
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 300);
        edit = Place<TDateEdit>(*form, 10, 10, 120, 21);
        edit->OnChange = [this](TObject*) { log += "change "; };
        form->Show();
        edit->SetFocus();
    }
    void TearDown() override
    {
        form.reset();
        FormatSettings() = saved;
        FourDigitYear = savedFour;
        SetDateTimeClock(nullptr);
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString())
    {
        TypeKey(edit->Handle(), key, mods, text);
    }

    TFormatSettings saved;
    bool savedFour = false;
    std::unique_ptr<TForm> form;
    TDateEdit* edit = nullptr;
    std::string log;
};

TEST_F(DateTest, FormatAndMaskComeFromTheLocale)
{
    EXPECT_EQ(edit->DateFormat(), "DD/MM/YYYY");
    EXPECT_EQ(edit->EditMask(), "!99/99/9999;1; ");
}

TEST_F(DateTest, AnEmptyTextIsTheNullDateOrTodayWithDefaultToday)
{
    EXPECT_EQ(edit->Date(), NullDate);
    edit->SetDefaultToday(true);
    EXPECT_EQ(edit->Date(), EncodeDate(2006, 3, 15));
}

TEST_F(DateTest, NumericPlusOnAnEmptyEditWritesTomorrow)
{
    Key(Qt::Key_Plus, Qt::KeypadModifier, "+");
    EXPECT_EQ(edit->Date(), EncodeDate(2006, 3, 16));
    Key(Qt::Key_Minus, Qt::KeypadModifier, "-");
    Key(Qt::Key_Minus, Qt::KeypadModifier, "-");
    EXPECT_EQ(edit->Text(), "14/03/2006");
}

TEST_F(DateTest, TSetsTodayAndPlusTypedOnTheMainKeysNeverReachesTheText)
{
    Key(Qt::Key_T, Qt::NoModifier, "t");
    EXPECT_EQ(edit->Text(), "15/03/2006");
    Key(Qt::Key_Plus, Qt::NoModifier, "+");
    EXPECT_EQ(edit->Text(), "15/03/2006");
}

TEST_F(DateTest, CheckOnExitLetsAnEmptyMaskPass)
{
    edit->SetCheckOnExit(true);
    EXPECT_NO_THROW(edit->Perform(CM_EXIT));
}

// A blank year is no year: the text is refused instead of becoming 1999.
TEST_F(DateTest, CheckOnExitRefusesABlankYearInsteadOfTaking1999)
{
    edit->SetCheckOnExit(true);
    edit->SetText("05/03/    ");
    EXPECT_THROW(edit->CheckValidDate(), EConvertError);
    edit->SetText("05/03/2001");
    EXPECT_NO_THROW(edit->CheckValidDate());
    EXPECT_EQ(edit->Date(), EncodeDate(2001, 3, 5));
}

TEST_F(DateTest, FiveHintsKeepTheFirstFour)
{
    TStringList hints;
    hints.SetText("a\r\n\r\nc\r\nd\r\ne");
    edit->SetCalendarHints(&hints);
    EXPECT_EQ(edit->CalendarHints()->Count(), 4);
    auto* popup = dynamic_cast<TPopupCalendar*>(edit->Popup());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->Buttons(0)->Hint(), "a");
    EXPECT_EQ(popup->Buttons(1)->Hint(), "Previous Month|");
    EXPECT_EQ(popup->Buttons(3)->Hint(), "d");
}

TEST_F(DateTest, ALocaleChangeReMasksAndKeepsTheDate)
{
    edit->SetDate(EncodeDate(2006, 1, 2));
    FormatSettings().ShortDateFormat = "yyyy-mm-dd";
    FormatSettings().DateSeparator = '-';
    BroadcastSettingChange();
    EXPECT_EQ(edit->DateFormat(), "YYYY/MM/DD");
    EXPECT_EQ(edit->Text(), "2006-01-02");
    EXPECT_EQ(edit->Date(), EncodeDate(2006, 1, 2));
}

TEST_F(DateTest, TheDropDownShowsTheDateAndAClickedDayIsAccepted)
{
    edit->SetDate(EncodeDate(2006, 1, 2));
    log.clear();
    edit->DoClick();
    auto* popup = dynamic_cast<TPopupCalendar*>(edit->Popup());
    ASSERT_TRUE(edit->PopupVisible());
    EXPECT_EQ(popup->Calendar()->CalendarDate(), EncodeDate(2006, 1, 2));
    EXPECT_EQ(popup->Title()->Caption(), FormatDateTime("mmmm, yyyy", EncodeDate(2006, 1, 2)));
    Key(Qt::Key_PageDown);
    Key(Qt::Key_Right);
    EXPECT_EQ(popup->Calendar()->CalendarDate(), EncodeDate(2006, 2, 3));
    TLocCalendar* calendar = popup->Calendar();
    const TRect cell = calendar->CellRect(calendar->Col(), calendar->Row());
    calendar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(cell.Left + 2, cell.Top + 2));
    calendar->Perform(WM_LBUTTONUP, 0, MakeLParam(cell.Left + 2, cell.Top + 2));
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Text(), "03/02/2006");
    EXPECT_EQ(log, "change ");
}

TEST_F(DateTest, OnAcceptDateMayChangeTheDate)
{
    edit->OnAcceptDate = [](TObject*, TDateTime& date, bool&) { date = date + 10; };
    edit->SetDate(EncodeDate(2006, 1, 2));
    edit->DoClick();
    edit->PopupCloseUp(edit->Popup(), true);
    EXPECT_EQ(edit->Date(), EncodeDate(2006, 1, 12));
}

TEST_F(DateTest, AValueThePopupCannotTakeShowsToday)
{
    edit->Popup()->SetValue(Variant("no date"));
    EXPECT_EQ(dynamic_cast<TPopupCalendar*>(edit->Popup())->Calendar()->CalendarDate(), EncodeDate(2006, 3, 15));
}

// --- The calendar -------------------------------------------------------------------------------

class CalendarTest : public DateTest {
protected:
    void SetUp() override
    {
        DateTest::SetUp();
        calendar = Place<TExCalendar>(*form, 10, 50, 210, 140);
        calendar->SetCalendarDate(EncodeDate(2006, 3, 15));
    }
    TExCalendar* calendar = nullptr;
};

TEST_F(CalendarTest, LeftOnTheFirstGoesToThePreviousMonthsLastDay)
{
    calendar->SetDay(1);
    TypeKey(calendar->Handle(), Qt::Key_Left);
    EXPECT_EQ(calendar->CalendarDate(), EncodeDate(2006, 2, 28));
    TypeKey(calendar->Handle(), Qt::Key_Right);
    EXPECT_EQ(calendar->CalendarDate(), EncodeDate(2006, 3, 1));
}

TEST_F(CalendarTest, TheArrowsOfTheGridStopAtTheMonthsEnds)
{
    calendar->SetDay(2);  // March 2006 starts on a Wednesday: the 2nd is in the first day row
    TypeKey(calendar->Handle(), Qt::Key_Up);
    EXPECT_EQ(calendar->Day(), 2);
    TypeKey(calendar->Handle(), Qt::Key_Down);
    EXPECT_EQ(calendar->Day(), 9);
}

TEST_F(CalendarTest, OnlyDaysOfTheMonthCanBeSelected)
{
    EXPECT_EQ(calendar->GetDayText(0, 1), "");
    EXPECT_EQ(calendar->GetDayText(2, 1), "1");
    EXPECT_FALSE(calendar->MoveToCell(0, 1));
    calendar->SetReadOnly(true);
    EXPECT_FALSE(calendar->MoveToCell(3, 1));
}

TEST_F(CalendarTest, SettingTheYearOfTheTwentyNinthOfFebruaryRaises)
{
    calendar->SetCalendarDate(EncodeDate(2000, 2, 29));
    EXPECT_THROW(calendar->SetYear(2001), EConvertError);
    calendar->GoToNextYear();
    EXPECT_EQ(calendar->CalendarDate(), EncodeDate(2001, 2, 28));
}

TEST_F(CalendarTest, TheDialogStepsByTabAndControlPageDown)
{
    TSelectDateDlg dialog(nullptr);
    dialog.SetDate(EncodeDate(2006, 3, 15));
    TypeKey(dialog.Calendar()->Handle(), Qt::Key_Tab, Qt::NoModifier, "\t");
    EXPECT_EQ(dialog.Date(), EncodeDate(2006, 4, 15));
    TypeKey(dialog.Calendar()->Handle(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(dialog.Date(), EncodeDate(2006, 3, 15));
    TypeKey(dialog.Calendar()->Handle(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(dialog.Date(), EncodeDate(2007, 3, 15));
    dialog.SetDate(NullDate);
    EXPECT_EQ(dialog.Date(), EncodeDate(2006, 3, 15));
}

}  // namespace
