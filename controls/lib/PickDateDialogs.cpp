// The calendar's two frames: the drop-down under a date edit and the modal date dialog, their
// title and arrow buttons, and the free routines that make and run them.

#include "controls/lib/ExConst.h"
#include "controls/lib/PickDate.h"
#include "platform/core/DateFormat.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Application.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/KeyBridge.h"
#include "platform/gui/Resources.h"

namespace {

// The four 8 x 6 arrows: double and single, left and right.
const char* const kArrows[4][6] = {
    {"...#...#", "..##..##", ".###.###", ".###.###", "..##..##", "...#...#"},  // PREV2
    {".....#..", "....##..", "...###..", "...###..", "....##..", ".....#.."},  // PREV1
    {"..#.....", "..##....", "..###...", "..###...", "..##....", "..#....."},  // NEXT1
    {"#...#...", "##..##..", "###.###.", "###.###.", "##..##..", "#...#..."},  // NEXT2
};
const char* const kArrowNames[4] = {"PREV2", "PREV1", "NEXT1", "NEXT2"};
const int kHints[4] = {SPrevYear, SPrevMonth, SNextMonth, SNextYear};

bool RegisterArrows()
{
    for (int i = 0; i < 4; ++i)
        RegisterBitmapResource(kArrowNames[i], [i](TBitmap* b) {
            b->SetSize(8, 6);
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 8; ++x)
                    b->Canvas()->SetPixels(x, y, kArrows[i][y][x] == '#' ? clBlack : clWhite);
            b->Canvas()->Brush()->SetColor(clWhite);
            b->SetMonochrome(true);
        });
    return true;
}
const bool kArrowsRegistered = RegisterArrows();

// The title text of a calendar date.
AnsiString TitleOf(TDateTime date) { return FormatDateTime("mmmm, yyyy", date); }

// The four buttons on a title panel; each steps the calendar.
void MakeButtons(TWinControl* panel, TExCalendar* calendar, TExTimerSpeedButton* (&buttons)[4], const int (&left)[4],
                 int top, int size, const std::function<void()>& moved)
{
    const std::function<void()> steps[4] = {
        [calendar] { calendar->GoToPrevYear(); }, [calendar] { calendar->GoToPrevMonth(); },
        [calendar] { calendar->GoToNextMonth(); }, [calendar] { calendar->GoToNextYear(); }};
    for (int i = 0; i < 4; ++i) {
        auto* b = new TExTimerSpeedButton(panel);
        TBitmap glyph;
        LoadBitmapResource(&glyph, kArrowNames[i]);
        b->SetGlyph(&glyph);
        b->SetHint(ResStr(kHints[i]));
        b->SetBounds(left[i], top, size, size);
        b->SetParent(panel);
        b->OnClick = [step = steps[i], moved](TObject*) {
            step();
            if (moved)
                moved();
        };
        buttons[i] = b;
    }
}

TDateTime Today() { return static_cast<double>(static_cast<int64_t>(Date())); }

}  // namespace

// --- TExTimerSpeedButton ------------------------------------------------------------------------

TExTimerSpeedButton::TExTimerSpeedButton(TComponent* AOwner) : TExSpeedButton(AOwner)
{
    SetStyle(bsWin31);
    SetAllowTimer(true);
    FControlStyle |= csReplicatable;
}

// --- TPopupCalendar -----------------------------------------------------------------------------

TPopupCalendar::TPopupCalendar(TWinControl* AOwner) : TPopupWindow(AOwner)
{
    SetBounds(0, 0, std::max(kPopupCalendarWidth, 180), std::max(kPopupCalendarHeight, 120));
    SetColor(clBtnFace);
    auto* back = new TPanel(this);
    back->SetAlign(alClient);
    back->SetBevelOuter(bvNone);
    back->SetParentColor(true);
    back->SetParent(this);
    auto* top = new TPanel(this);
    top->SetBounds(0, 0, Width() - 4, 18);
    top->SetAlign(alTop);
    top->SetBevelOuter(bvNone);
    top->SetParentColor(true);
    top->SetParent(back);
    FCalendar = new TLocCalendar(this);
    FCalendar->SetAlign(alClient);
    FCalendar->SetParent(back);
    FCalendar->OnChange = [this](TObject*) { UpdateTitle(); };
    FCalendar->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState s, int x, int y) {
        CalendarMouseUp(b, s, x, y);
    };
    const int w = top->Width();
    MakeButtons(top, FCalendar, FButtons, {-1, 12, w - 26, w - 13}, -1, 14, nullptr);
    FTitleLabel = new TLabel(this);
    FTitleLabel->SetAutoSize(false);
    FTitleLabel->SetBounds(29, 1, w - 58, 14);
    FTitleLabel->SetAlignment(taCenter);
    FTitleLabel->SetTransparent(true);
    FTitleLabel->SetParent(top);
    FTitleLabel->OnDblClick = [this](TObject*) { FCalendar->SetCalendarDate(Today()); };
    UpdateTitle();
}

void TPopupCalendar::UpdateTitle() { FTitleLabel->SetCaption(TitleOf(FCalendar->CalendarDate())); }

void TPopupCalendar::CalendarMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft || Shift.Contains(ssShift) || Shift.Contains(ssCtrl) || Shift.Contains(ssAlt))
        return;
    const TGridCoord cell = FCalendar->CellFromPoint(X, Y);
    if (cell.Y >= 1 && !FCalendar->GetDayText(cell.X, cell.Y).empty())
        CloseUp(true);
}

void TPopupCalendar::KeyDown(uint16_t& Key, TShiftState Shift)
{
    const bool ctrl = Shift.Contains(ssCtrl);
    if (Key == VK_NEXT) {
        ctrl ? FCalendar->GoToNextYear() : FCalendar->GoToNextMonth();
        Key = 0;
    } else if (Key == VK_PRIOR) {
        ctrl ? FCalendar->GoToPrevYear() : FCalendar->GoToPrevMonth();
        Key = 0;
    } else {
        FCalendar->Perform(WM_KEYDOWN, Key);
        Key = 0;
    }
}

void TPopupCalendar::KeyPress(char& Key)
{
    TPopupWindow::KeyPress(Key);
    if (Key != 0)
        FCalendar->Perform(WM_CHAR, static_cast<unsigned char>(Key));
}

Variant TPopupCalendar::GetValue() { return Variant::FromDate(FCalendar->CalendarDate()); }

void TPopupCalendar::SetValue(const Variant& Value)
{
    TDateTime date = Today();
    if (!Value.IsNull() && !Value.IsEmpty()) {
        AnsiString text = VarToStr(Value);
        text.erase(std::remove(text.begin(), text.end(), FormatSettings().DateSeparator), text.end());
        if (!Trim(text).empty()) {
            try {
                date = Value.AsDate();
            } catch (const std::exception&) {
                date = Today();  // a value that is no date shows today
            }
        }
    }
    try {
        FCalendar->SetCalendarDate(date);
    } catch (const std::exception&) {
        FCalendar->SetCalendarDate(Today());
    }
    UpdateTitle();
}

// --- TSelectDateDlg -----------------------------------------------------------------------------

TSelectDateDlg::TSelectDateDlg(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption(ResStr(SDateDlgTitle));
    SetBorderStyle(bsToolWindow);
    SetBorderIcons(biSystemMenu);
    SetClientWidth(222);
    SetClientHeight(154);
    SetColor(clBtnFace);
    SetPosition(poScreenCenter);
    SetShowHint(true);
    SetKeyPreview(true);
    auto* top = new TPanel(this);
    top->SetBounds(0, 0, 222, 22);
    top->SetAlign(alTop);
    top->SetBevelInner(bvLowered);
    top->SetParent(this);
    auto* bottom = new TPanel(this);
    bottom->SetBounds(0, 133, 222, 21);
    bottom->SetAlign(alBottom);
    bottom->SetBevelOuter(bvNone);
    bottom->SetParent(this);
    auto* middle = new TPanel(this);
    middle->SetBounds(0, 22, 222, 111);
    middle->SetAlign(alClient);
    middle->SetBevelInner(bvLowered);
    middle->SetParent(this);
    FCalendar = new TExCalendar(this);
    FCalendar->SetAlign(alClient);
    FCalendar->SetColor(clWhite);
    FCalendar->SetTabOrder(0);
    FCalendar->SetParent(middle);
    FCalendar->SetUseCurrentDate(false);
    FCalendar->OnChange = [this](TObject*) { UpdateTitle(); };
    FCalendar->OnDblClick = [this](TObject*) { SetModalResult(mrOk); };
    MakeButtons(top, FCalendar, FButtons, {3, 18, 188, 203}, 3, 16, nullptr);
    FTitleLabel = new TLabel(this);
    FTitleLabel->SetAutoSize(false);
    FTitleLabel->SetBounds(35, 4, 152, 14);
    FTitleLabel->SetAlignment(taCenter);
    FTitleLabel->SetTransparent(true);
    FTitleLabel->Font()->SetColor(clBlue);
    TFontStyles bold;
    bold << fsBold;
    FTitleLabel->Font()->SetStyle(bold);
    FTitleLabel->SetParent(top);
    FTitleLabel->OnDblClick = [this](TObject*) { FCalendar->SetCalendarDate(Today()); };
    auto* ok = new TButton(this);
    ok->SetCaption("OK");
    ok->SetBounds(0, 0, 112, 21);
    ok->SetModalResult(mrOk);
    ok->SetParent(bottom);
    auto* cancel = new TButton(this);
    cancel->SetCaption("Cancel");
    cancel->SetBounds(111, 0, 111, 21);
    cancel->SetModalResult(mrCancel);
    cancel->SetCancel(true);
    cancel->SetParent(bottom);
    SetDate(Today());
    SetActiveControl(FCalendar);
    // Tab steps the month here instead of moving the focus.
    RegisterHandler(CM_DIALOGKEY, [this](TMessage& m) {
        if (m.WParam != VK_TAB) {
            Inherited(m);
            return;
        }
        uint16_t key = VK_TAB;
        KeyDown(key, CurrentKeyShift());
        m.Result = 1;
    });
}

void TSelectDateDlg::UpdateTitle() { FTitleLabel->SetCaption(TitleOf(FCalendar->CalendarDate())); }

void TSelectDateDlg::SetDate(TDateTime Value)
{
    if (Value == NullDate)
        Value = Today();
    try {
        FCalendar->SetCalendarDate(Value);
    } catch (const std::exception&) {
        FCalendar->SetCalendarDate(Today());
    }
    UpdateTitle();
}

void TSelectDateDlg::KeyDown(uint16_t& Key, TShiftState Shift)
{
    TForm::KeyDown(Key, Shift);
    const bool ctrl = Shift.Contains(ssCtrl);
    switch (Key) {
    case VK_RETURN: SetModalResult(mrOk); break;
    case VK_ESCAPE: SetModalResult(mrCancel); break;
    case VK_NEXT: ctrl ? FCalendar->GoToNextYear() : FCalendar->GoToNextMonth(); break;
    case VK_PRIOR: ctrl ? FCalendar->GoToPrevYear() : FCalendar->GoToPrevMonth(); break;
    case VK_TAB:
        if (Shift.Contains(ssShift) && !ctrl && !Shift.Contains(ssAlt))
            FCalendar->GoToPrevMonth();
        else
            FCalendar->GoToNextMonth();
        break;
    default: return;
    }
    Key = 0;
    FTitleLabel->Repaint();
}

// --- Free routines ------------------------------------------------------------------------------

TPopupWindow* CreatePopupCalendar(TWinControl* Owner) { return new TPopupCalendar(Owner); }

void SetupPopupCalendar(TPopupWindow* PopupCalendar, TDayOfWeekName StartOfWeek, TDaysOfWeek Weekends,
                        TColor WeekendColor, TStrings* BtnHints, bool FourDigitYear)
{
    auto* popup = dynamic_cast<TPopupCalendar*>(PopupCalendar);
    if (!popup || !popup->Calendar())
        return;
    popup->Calendar()->SetStartOfWeek(StartOfWeek);
    popup->Calendar()->SetWeekendColor(WeekendColor);
    popup->Calendar()->SetWeekends(Weekends);
    for (int i = 0; BtnHints && i < std::min(BtnHints->Count(), 4); ++i)
        if (!BtnHints->Strings(i).empty())
            popup->Buttons(i)->SetHint(BtnHints->Strings(i));
}

namespace {

std::unique_ptr<TSelectDateDlg> MakeDateDialog(const AnsiString& caption)
{
    auto dialog = std::make_unique<TSelectDateDlg>(Application);
    if (!caption.empty())
        dialog->SetCaption(caption);
    return dialog;
}

}  // namespace

bool PopupDate(TDateTime& Date, TWinControl* Edit)
{
    std::unique_ptr<TSelectDateDlg> dialog = MakeDateDialog(AnsiString());
    dialog->SetBorderIcons(0);
    const TPoint p = Edit->ClientOrigin();
    const int screenHeight = Screen->Height();
    int y = p.y + Edit->Height() - 1;
    if (y + dialog->Height() > screenHeight) {
        y = p.y - dialog->Height() + 1;
        if (y < 0)
            y = p.y + Edit->Height() - 1;
    }
    int x = p.x + Edit->Width() - dialog->Width();
    if (x < 0)
        x = p.x;
    dialog->SetPosition(poDesigned);
    dialog->SetBounds(x, y, dialog->Width(), dialog->Height());
    dialog->SetDate(Date);
    if (dialog->ShowModal() != mrOk)
        return false;
    Date = dialog->Date();
    return true;
}

bool SelectDate(TDateTime& Date, const AnsiString& DlgCaption, TDayOfWeekName StartOfWeek, TDaysOfWeek Weekends,
                TColor WeekendColor, TStrings* BtnHints)
{
    std::unique_ptr<TSelectDateDlg> dialog = MakeDateDialog(DlgCaption);
    dialog->SetDate(Date);
    dialog->Calendar()->SetStartOfWeek(StartOfWeek);
    dialog->Calendar()->SetWeekends(Weekends);
    dialog->Calendar()->SetWeekendColor(WeekendColor);
    for (int i = 0; BtnHints && i < std::min(BtnHints->Count(), 4); ++i)
        if (!BtnHints->Strings(i).empty())
            dialog->Buttons(i)->SetHint(BtnHints->Strings(i));
    if (dialog->ShowModal() != mrOk)
        return false;
    Date = dialog->Date();
    return true;
}

bool SelectDateStr(AnsiString& StrDate, const AnsiString& DlgCaption, TDayOfWeekName StartOfWeek, TDaysOfWeek Weekends,
                   TColor WeekendColor, TStrings* BtnHints)
{
    const AnsiString format = FormatSettings().ShortDateFormat;
    TDateTime date = StrDate.empty() ? Today() : StrToDateFmtDef(format, StrDate, Today());
    if (!SelectDate(date, DlgCaption, StartOfWeek, Weekends, WeekendColor, BtnHints))
        return false;
    StrDate = FormatDateTime(format, date);
    return true;
}
