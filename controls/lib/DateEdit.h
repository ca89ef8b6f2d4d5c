#pragma once
// The date edit: an edit with a button whose text is entered through a mask derived from the
// locale's short date format, and whose button drops the calendar down under it (or opens the
// date dialog). Numeric-pad plus and minus step a day, "T" sets today, and CheckOnExit refuses a
// text that is no date when the edit is left. A change of the locale's settings re-masks every
// date edit and keeps each one's date.

#include <memory>

#include "controls/lib/PickDate.h"
#include "controls/lib/ToolEdit.h"

enum TYearDigits { dyDefault, dyFour, dyTwo };
enum TCalendarStyle { csPopup, csDialog };
using TExecDateDialog = std::function<void(TObject* Sender, TDateTime& ADate, bool& Action)>;

class TCustomDateEdit : public TCustomComboEdit {
public:
    explicit TCustomDateEdit(TComponent* AOwner);
    ~TCustomDateEdit() override;

    TDateTime Date();
    void SetDate(TDateTime Value);
    const AnsiString& DateFormat() const { return FDateFormat; }
    char BlanksChar() const { return FBlanksChar; }
    void SetBlanksChar(char Value);
    TStrings* CalendarHints() const { return FCalendarHints.get(); }
    void SetCalendarHints(TStrings* Value);
    TCalendarStyle CalendarStyle() const { return Popup() ? csPopup : csDialog; }
    void SetCalendarStyle(TCalendarStyle Value);
    bool CheckOnExit() const { return FCheckOnExit; }
    void SetCheckOnExit(bool Value) { FCheckOnExit = Value; }
    bool DefaultToday() const { return FDefaultToday; }
    void SetDefaultToday(bool Value) { FDefaultToday = Value; }
    const AnsiString& DialogTitle() const { return FTitle; }
    void SetDialogTitle(const AnsiString& Value) { FTitle = Value; }
    TColor PopupColor() const;
    void SetPopupColor(TColor Value);
    TDayOfWeekName StartOfWeek() const { return FStartOfWeek; }
    void SetStartOfWeek(TDayOfWeekName Value);
    TDaysOfWeek Weekends() const { return FWeekends; }
    void SetWeekends(TDaysOfWeek Value);
    TColor WeekendColor() const { return FWeekendColor; }
    void SetWeekendColor(TColor Value);
    TYearDigits YearDigits() const { return FYearDigits; }
    void SetYearDigits(TYearDigits Value);
    // Whether the text holds anything besides blanks, date separators and the blank character.
    bool TextStored() const;
    // Raises the conversion error, with the focus back in the edit, for a text that is no date.
    void CheckValidDate();
    // Sets the date and selects the whole text.
    virtual void ApplyDate(TDateTime Value);
    // The format and mask from the locale again, keeping the date.
    virtual void UpdateMask();

    TExecDateDialog OnAcceptDate;

protected:
    TBitmap* GetDefaultBitmap(bool& DestroyNeeded) override;
    bool AcceptPopup(Variant& Value) override;
    void AcceptValue(const Variant& Value) override;
    void SetPopupValue(const Variant& Value) override;
    void Change() override;
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void ButtonClick() override;
    void DoExit() override;
    void WidgetCreated() override;

private:
    bool FourDigitYear() const;
    void UpdateFormat();
    void UpdatePopup();
    AnsiString GetDateMask() const;
    void CreatePopup();

    AnsiString FTitle;
    bool FDefaultToday = false;
    bool FHooked = false;
    TColor FPopupColor = clBtnFace;
    bool FCheckOnExit = false;
    char FBlanksChar = ' ';
    std::unique_ptr<TStrings> FCalendarHints;
    TDayOfWeekName FStartOfWeek = Mon;
    TDaysOfWeek FWeekends = 1u << Sun;
    TColor FWeekendColor = clRed;
    TYearDigits FYearDigits = dyDefault;
    AnsiString FDateFormat;
    bool FFormatting = false;
    int FSettingsListener = 0;
    std::unique_ptr<TPopupWindow> FOwnedPopup;
};

class TDateEdit : public TCustomDateEdit {
public:
    explicit TDateEdit(TComponent* AOwner);
};

// Re-masks every date edit on every form (after a change of the locale's date format).
void DateFormatChanged();

void RegisterDateEditClasses();
