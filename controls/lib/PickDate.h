#pragma once
// The month calendar and the two ways it is shown. TExCalendar is a 7 x 7 grid (a header row of
// day names, six rows of day numbers) for one month with a selected day; TLocCalendar is the one
// inside the drop-down, which never takes the keyboard from its edit; TPopupCalendar drops down
// under a date edit with a title and four month and year buttons; TSelectDateDlg is the modal
// dialog with the same calendar, title and buttons plus OK and Cancel.
//
// Files: PickDate.cpp (the calendars), PickDateDialogs.cpp (the drop-down, the dialog and the
// free routines); the grid's arithmetic is controls/core/CalendarMonth.h.

#include "controls/core/CalendarMonth.h"
#include "controls/lib/ExSpeedButton.h"
#include "controls/lib/ToolEdit.h"
#include "platform/gui/ButtonCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Grids.h"

// The drop-down's design size.
constexpr int kPopupCalendarWidth = 187;
constexpr int kPopupCalendarHeight = 124;

class TExCalendar : public TCustomGrid {
public:
    explicit TExCalendar(TComponent* AOwner);

    TDateTime CalendarDate() const { return FDate; }
    void SetCalendarDate(TDateTime Value);
    int Year() const;
    void SetYear(int Value);
    int Month() const;
    void SetMonth(int Value);
    int Day() const;
    void SetDay(int Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    TDayOfWeekName StartOfWeek() const { return FStartOfWeek; }
    void SetStartOfWeek(TDayOfWeekName Value);
    bool UseCurrentDate() const { return FUseCurrentDate; }
    void SetUseCurrentDate(bool Value);
    TDaysOfWeek Weekends() const { return FWeekends; }
    void SetWeekends(TDaysOfWeek Value);
    TColor WeekendColor() const { return FWeekendColor; }
    void SetWeekendColor(TColor Value);

    void GoToNextMonth();
    void GoToPrevMonth();
    void GoToNextYear();
    void GoToPrevYear();
    void ShiftMonth(int Delta);
    // Row 0: the short name of the column's day; a day row: the day's number, or "" outside the
    // month.
    AnsiString GetDayText(int ACol, int ARow) const;
    int MonthLength() const;
    bool IsWeekendColumn(int ACol) const;
    // Puts the current cell on the date's day; DayOnly repaints only what changed.
    void RelayoutMonth(bool DayOnly);
    virtual void RefreshMonth() { RelayoutMonth(false); }
    // Moves the current cell as a press or an arrow key does: refused for an empty cell, and
    // otherwise followed by Click.
    bool MoveToCell(int ACol, int ARow);
    // The grid's cell under a client point ((-1, -1) over none).
    TGridCoord CellFromPoint(int X, int Y) const { return MouseToCell(X, Y); }

    TNotifyEvent OnChange;

protected:
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void Click() override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void BoundsChanged(const TRect& OldBounds, bool SizeChanged) override;
    virtual void Changed();
    void SetDateParts(int Year, int Month, int Day, bool DayOnly);

    TDateTime FDate = 0;
    int FMonthOffset = 0;
    bool FUpdating = false;

private:
    void ResizeCells();

    bool FReadOnly = false;
    TDayOfWeekName FStartOfWeek = Mon;
    bool FUseCurrentDate = true;
    TDaysOfWeek FWeekends = 1u << Sun;
    TColor FWeekendColor = clRed;
};

class TLocCalendar : public TExCalendar {
public:
    explicit TLocCalendar(TComponent* AOwner);
    // Never: the edit keeps the keyboard while the mouse works the calendar.
    bool CanFocus() const override;

protected:
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
};

// The auto-repeating arrow button of the calendar's title.
class TExTimerSpeedButton : public TExSpeedButton {
public:
    explicit TExTimerSpeedButton(TComponent* AOwner);
};

class TPopupCalendar : public TPopupWindow {
public:
    explicit TPopupCalendar(TWinControl* AOwner);

    Variant GetValue() override;
    void SetValue(const Variant& Value) override;
    TLocCalendar* Calendar() const { return FCalendar; }
    TLabel* Title() const { return FTitleLabel; }
    // Previous year, previous month, next month, next year.
    TExTimerSpeedButton* Buttons(int Index) const { return FButtons[Index]; }
    // The edit hands the keys it does not keep while the drop-down is open.
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;

private:
    void UpdateTitle();
    void CalendarMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);

    TLocCalendar* FCalendar;
    TLabel* FTitleLabel;
    TExTimerSpeedButton* FButtons[4];
};

class TSelectDateDlg : public TForm {
public:
    explicit TSelectDateDlg(TComponent* AOwner);

    TDateTime Date() const { return FCalendar->CalendarDate(); }
    // The null date, or one the calendar cannot take, becomes today.
    void SetDate(TDateTime Value);
    TExCalendar* Calendar() const { return FCalendar; }
    TLabel* Title() const { return FTitleLabel; }
    TExTimerSpeedButton* Buttons(int Index) const { return FButtons[Index]; }

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override;

private:
    void UpdateTitle();

    TExCalendar* FCalendar;
    TLabel* FTitleLabel;
    TExTimerSpeedButton* FButtons[4];
};

// The drop-down calendar of a date edit (a TPopupCalendar owned by Owner).
TPopupWindow* CreatePopupCalendar(TWinControl* Owner);
void SetupPopupCalendar(TPopupWindow* PopupCalendar, TDayOfWeekName StartOfWeek, TDaysOfWeek Weekends,
                        TColor WeekendColor, TStrings* BtnHints, bool FourDigitYear);
// The dialog placed under (or above) the edit; true and the chosen date on OK.
bool PopupDate(TDateTime& Date, TWinControl* Edit);
bool SelectDate(TDateTime& Date, const AnsiString& DlgCaption, TDayOfWeekName StartOfWeek, TDaysOfWeek Weekends,
                TColor WeekendColor, TStrings* BtnHints);
// As SelectDate on a text in the locale's short date format (today when it is empty or no date).
bool SelectDateStr(AnsiString& StrDate, const AnsiString& DlgCaption, TDayOfWeekName StartOfWeek, TDaysOfWeek Weekends,
                   TColor WeekendColor, TStrings* BtnHints);

void RegisterPickDateClasses();
