// The month calendars: the date and its parts, the month's layout in the grid, drawing, the
// cells that may be selected, the keys, and the drop-down's variant that never takes the focus.

#include "controls/lib/PickDate.h"

#include "platform/core/FormatSettings.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/KeyBridge.h"

// --- TExCalendar --------------------------------------------------------------------------------

TExCalendar::TExCalendar(TComponent* AOwner) : TCustomGrid(AOwner)
{
    SetFixedCols(0);
    SetFixedRows(0);
    SetColCount(7);
    SetRowCount(7);
    SetFixedRows(1);
    TGridOptions o = Options();
    o >> goRangeSelect;
    o << goDrawFocusSelected;
    SetOptions(o);
    FFocusOnClick = true;
    FDate = ::Date();
    RefreshMonth();
}

int TExCalendar::Year() const { return ExtractYear(FDate); }
int TExCalendar::Month() const { return ExtractMonth(FDate); }
int TExCalendar::Day() const { return ExtractDay(FDate); }

int TExCalendar::MonthLength() const { return DaysPerMonth(Year(), Month()); }

void TExCalendar::SetCalendarDate(TDateTime Value)
{
    if (Value == FDate)
        return;
    FDate = Value;
    RefreshMonth();
    Changed();
}

void TExCalendar::SetDateParts(int AYear, int AMonth, int ADay, bool DayOnly)
{
    FDate = EncodeDate(AYear, AMonth, ADay);  // 29 February of a common year raises
    FUseCurrentDate = false;
    RelayoutMonth(DayOnly);
    Changed();
}

void TExCalendar::SetYear(int Value)
{
    if (Value < 1 || Value == Year())
        return;
    SetDateParts(Value, Month(), Day(), false);
}

void TExCalendar::SetMonth(int Value)
{
    if (Value < 1 || Value > 12 || Value == Month())
        return;
    SetDateParts(Year(), Value, std::min<int>(Day(), DaysPerMonth(Year(), Value)), false);
}

void TExCalendar::SetDay(int Value)
{
    if (Value < 1 || Value > MonthLength() || Value == Day())
        return;
    SetDateParts(Year(), Month(), Value, true);
}

void TExCalendar::SetStartOfWeek(TDayOfWeekName Value)
{
    if (Value == FStartOfWeek)
        return;
    FStartOfWeek = Value;
    RefreshMonth();
}

void TExCalendar::SetUseCurrentDate(bool Value)
{
    FUseCurrentDate = Value;
    if (Value) {
        FDate = ::Date();
        RefreshMonth();
    }
}

void TExCalendar::SetWeekends(TDaysOfWeek Value)
{
    if (Value == FWeekends)
        return;
    FWeekends = Value;
    RefreshMonth();
}

void TExCalendar::SetWeekendColor(TColor Value)
{
    if (Value == FWeekendColor)
        return;
    FWeekendColor = Value;
    Invalidate();
}

void TExCalendar::GoToNextMonth() { ShiftMonth(1); }
void TExCalendar::GoToPrevMonth() { ShiftMonth(-1); }

void TExCalendar::ShiftMonth(int Delta) { SetCalendarDate(CalendarShiftMonth(FDate, Delta)); }

void TExCalendar::GoToNextYear() { SetCalendarDate(CalendarShiftYear(FDate, 1)); }
void TExCalendar::GoToPrevYear() { SetCalendarDate(CalendarShiftYear(FDate, -1)); }

AnsiString TExCalendar::GetDayText(int ACol, int ARow) const
{
    if (ARow == 0)
        return FormatSettings().ShortDayNames[CalendarColumnDay(ACol, FStartOfWeek)];
    const int day = CalendarDayAt(ACol, ARow, FMonthOffset, MonthLength());
    return day > 0 ? IntToStr(day) : AnsiString();
}

bool TExCalendar::IsWeekendColumn(int ACol) const { return CalendarIsWeekendColumn(ACol, FStartOfWeek, FWeekends); }

void TExCalendar::RelayoutMonth(bool DayOnly)
{
    FUpdating = true;
    const int oldCol = Col(), oldRow = Row();
    try {
        FMonthOffset = CalendarMonthOffset(Year(), Month(), FStartOfWeek);
        const TCalendarCell cell = CalendarCellOfDay(Day(), FMonthOffset);
        FocusCell(cell.Col, cell.Row, true);
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
    if (DayOnly) {
        InvalidateCell(oldCol, oldRow);
        InvalidateCell(Col(), Row());
    } else {
        Invalidate();
    }
}

bool TExCalendar::SelectCell(int ACol, int ARow)
{
    if (FUpdating)
        return true;
    if (FReadOnly || GetDayText(ACol, ARow).empty() || ARow < 1)
        return false;
    return TCustomGrid::SelectCell(ACol, ARow);
}

bool TExCalendar::MoveToCell(int ACol, int ARow)
{
    if (ACol < 0 || ACol >= ColCount() || ARow < FixedRows() || ARow >= RowCount())
        return false;
    const TGridCoord old{Col(), Row()};
    MoveCurrentCell(ACol, ARow, true);
    const bool moved = old != TGridCoord{Col(), Row()};
    if (moved) {
        InvalidateCell(old.X, old.Y);
        InvalidateCell(ACol, ARow);
    }
    return moved;
}

void TExCalendar::Click()
{
    TAliveToken alive = AliveToken();
    TCustomGrid::Click();
    if (!*alive)
        return;
    const AnsiString text = GetDayText(Col(), Row());
    if (!text.empty())
        SetDay(StrToInt(text));
}

void TExCalendar::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TExCalendar::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    TCanvas* c = Canvas();
    if (IsWeekendColumn(ACol) && !AState.Contains(gdSelected))
        c->Font()->SetColor(FWeekendColor);
    else if (AState.Contains(gdSelected))
        c->Font()->SetColor(clHighlightText);
    c->Brush()->SetStyle(bsClear);
    TRect r = ARect;
    DrawText(c, GetDayText(ACol, ARow), r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    c->Brush()->SetStyle(bsSolid);
}

void TExCalendar::KeyDown(uint16_t& Key, TShiftState Shift)
{
    const bool plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
    if (plain && (Key == VK_LEFT || Key == VK_SUBTRACT)) {
        Key = 0;
        if (Day() > 1)
            SetDay(Day() - 1);
        else
            SetCalendarDate(FDate - 1);
        return;
    }
    if (plain && (Key == VK_RIGHT || Key == VK_ADD)) {
        Key = 0;
        if (Day() < MonthLength())
            SetDay(Day() + 1);
        else
            SetCalendarDate(FDate + 1);
        return;
    }
    // The grid's own movement, which ends in Click.
    TCustomGrid::KeyDown(Key, Shift);
}

void TExCalendar::KeyPress(char& Key)
{
    if (Key == 'T' || Key == 't') {
        Key = 0;
        SetCalendarDate(static_cast<double>(static_cast<int64_t>(::Date())));
        return;
    }
    TCustomGrid::KeyPress(Key);
}

void TExCalendar::BoundsChanged(const TRect& OldBounds, bool SizeChanged)
{
    TCustomGrid::BoundsChanged(OldBounds, SizeChanged);
    if (SizeChanged)
        ResizeCells();
}

void TExCalendar::ResizeCells()
{
    const int line = GridLineWidth();
    const bool vertLines = Options().Contains(goVertLine) || Options().Contains(goFixedVertLine);
    const int colWidth = vertLines ? (ClientWidth() - 6 * line) / 7 : ClientWidth() / 7;
    const int rowHeight = (ClientHeight() - 6 * line) / 7;
    if (colWidth > 0)
        SetDefaultColWidth(colWidth);
    if (rowHeight > 0)
        SetDefaultRowHeight(rowHeight);
    // The month always fits: nothing stays scrolled from a smaller size.
    SetLeftCol(0);
    SetTopRow(FixedRows());
}

// --- TLocCalendar -------------------------------------------------------------------------------

bool TLocCalendar::CanFocus() const { return false; }

TLocCalendar::TLocCalendar(TComponent* AOwner) : TExCalendar(AOwner)
{
    FControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks | csReplicatable;
    // Never takes the keyboard from the edit; the mouse still reaches it.
    FFocusOnClick = false;
    SetTabStop(false);
    SetParentColor(true);
    SetFixedColor(Color());
    RegisterHandler(CM_PARENTCOLORCHANGED, [this](TMessage& m) {
        Inherited(m);
        SetFixedColor(Color());
    });
    FDate = ::Date();
    SetUseCurrentDate(false);
    TGridOptions o;
    o << goFixedHorzLine << goDrawFocusSelected;
    SetOptions(o);
}

void TLocCalendar::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    TExCalendar::DrawCell(ACol, ARow, ARect, AState);
    const AnsiString text = GetDayText(ACol, ARow);
    if (ARow < 1 || text.empty())
        return;
    const TDateTime today = static_cast<double>(static_cast<int64_t>(::Date()));
    if (EncodeDate(Year(), Month(), StrToInt(text)) != today)
        return;
    TCanvas* c = Canvas();
    TRect r = ARect;
    Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
}
