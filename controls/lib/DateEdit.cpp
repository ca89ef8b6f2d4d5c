// The date edit: format and mask from the locale, reading and writing the date, the keys, the
// drop-down calendar or the dialog, and the check on leaving.

#include "controls/lib/DateEdit.h"

#include "controls/lib/ExConst.h"
#include "platform/core/DateFormat.h"
#include "platform/core/StringList.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Resources.h"
#include "platform/gui/SettingChange.h"

namespace {

// Two 14 x 12 calendar marks side by side, normal and disabled: '#' the frame and the numbers'
// dots, 'r' the title bar, 'g' the disabled mark; '.' the see-through ground.
const char* const kDateMark[] = {"..............", ".###########..", ".#rrrrrrrrr#..", ".###########..",
                                 ".#.........#..", ".#.#.#.#.#.#..", ".#.........#..", ".#.#.#.#.#.#..",
                                 ".#.........#..", ".#.#.#.......#", ".###########..", ".............."};

bool RegisterDateMark()
{
    RegisterBitmapResource("DEDITBMP", [](TBitmap* b) {
        b->SetSize(28, 12);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 14; ++x) {
                const char ch = kDateMark[y][x];
                b->Canvas()->SetPixels(x, y, ch == '#' ? clBlack : ch == 'r' ? clMaroon : clOlive);
                b->Canvas()->SetPixels(14 + x, y, ch == '.' ? clOlive : clGray);
            }
    });
    return true;
}
const bool kDateMarkRegistered = RegisterDateMark();

TBitmap* SharedDateGlyph()
{
    static std::unique_ptr<TBitmap> glyph = [] {
        auto b = std::make_unique<TBitmap>();
        LoadBitmapResource(b.get(), "DEDITBMP");
        return b;
    }();
    return glyph.get();
}

TDateTime Today() { return static_cast<double>(static_cast<int64_t>(::Date())); }

void UpdateDateEdits(TWinControl* parent)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        if (auto* edit = dynamic_cast<TCustomDateEdit*>(parent->Controls(i)))
            edit->UpdateMask();
        else if (auto* child = dynamic_cast<TWinControl*>(parent->Controls(i)))
            UpdateDateEdits(child);
    }
}

}  // namespace

TCustomDateEdit::TCustomDateEdit(TComponent* AOwner)
    : TCustomComboEdit(AOwner), FTitle(ResStr(SDateDlgTitle)), FCalendarHints(std::make_unique<TStringList>())
{
    FDefNumGlyphs = 2;
    static_cast<TStringList*>(FCalendarHints.get())->OnChange = [this](TObject*) {
        // At most four hints; the rest go.
        TStringList* hints = static_cast<TStringList*>(FCalendarHints.get());
        if (hints->Count() > 4) {
            TNotifyEvent keep = hints->OnChange;
            hints->OnChange = nullptr;
            while (hints->Count() > 4)
                hints->Delete(hints->Count() - 1);
            hints->OnChange = keep;
        }
        if (!InState(csDesigning))
            UpdatePopup();
    };
    FCreating = true;
    UpdateFormat();
    CreatePopup();
    SetGlyphKind(gkDefault);
    FCreating = false;
}

TCustomDateEdit::~TCustomDateEdit()
{
    if (FSettingsListener)
        RemoveSettingChangeListener(FSettingsListener);
    static_cast<TStringList*>(FCalendarHints.get())->OnChange = nullptr;
    if (TPopupWindow* popup = Popup()) {
        SetPopup(nullptr);
        delete popup;
    }
}

TDateEdit::TDateEdit(TComponent* AOwner) : TCustomDateEdit(AOwner) { UpdateMask(); }

void TCustomDateEdit::CreatePopup()
{
    if (Popup())
        return;
    TPopupWindow* popup = CreatePopupCalendar(this);
    SetPopup(popup);
    popup->SetColor(FPopupColor);
}

void TCustomDateEdit::WidgetCreated()
{
    TCustomComboEdit::WidgetCreated();
    UpdateMask();
    if (!FHooked && !InState(csDesigning)) {
        FHooked = true;
        FSettingsListener = AddSettingChangeListener([this] { UpdateMask(); });
    }
}

TBitmap* TCustomDateEdit::GetDefaultBitmap(bool& DestroyNeeded)
{
    DestroyNeeded = false;
    return SharedDateGlyph();
}

// --- Format and mask ----------------------------------------------------------------------------

bool TCustomDateEdit::FourDigitYear() const
{
    return FYearDigits == dyFour || (FYearDigits == dyDefault && ::FourDigitYear);
}

void TCustomDateEdit::UpdateFormat() { FDateFormat = DefDateFormat(FourDigitYear()); }

AnsiString TCustomDateEdit::GetDateMask() const { return DefDateMask(FBlanksChar, FourDigitYear()); }

void TCustomDateEdit::UpdateMask()
{
    const TDateTime date = Date();
    const AnsiString oldFormat = FDateFormat;
    UpdateFormat();
    const AnsiString mask = GetDateMask();
    if (mask != EditMask() || oldFormat != FDateFormat) {
        SetEditMask(AnsiString());
        SetEditMask(mask);
    }
    UpdatePopup();
    SetDate(date);
}

void TCustomDateEdit::SetBlanksChar(char Value)
{
    Value = static_cast<unsigned char>(Value) < ' ' ? ' ' : Value;
    if (Value == FBlanksChar)
        return;
    FBlanksChar = Value;
    UpdateMask();
}

void TCustomDateEdit::SetYearDigits(TYearDigits Value)
{
    if (Value == FYearDigits)
        return;
    FYearDigits = Value;
    UpdateMask();
}

bool TCustomDateEdit::TextStored() const
{
    for (char c : Text())
        if (c != ' ' && c != FormatSettings().DateSeparator && c != FBlanksChar && c != '\0')
            return true;
    return false;
}

// --- The date -----------------------------------------------------------------------------------

TDateTime TCustomDateEdit::Date()
{
    const TDateTime fallback = FDefaultToday ? Today() : NullDate;
    return TextStored() ? StrToDateFmtDef(FDateFormat, MaskedText(), fallback) : fallback;
}

void TCustomDateEdit::SetDate(TDateTime Value)
{
    if (!ValidDate(Value) || Value == NullDate)
        Value = FDefaultToday ? Today() : NullDate;
    const TDateTime old = Date();
    SetMaskedText(Value == NullDate ? AnsiString() : FormatDateTime(FDateFormat, Value));
    SetModified(Date() != old);
}

void TCustomDateEdit::ApplyDate(TDateTime Value)
{
    SetDate(Value);
    SelectAll();
}

void TCustomDateEdit::CheckValidDate()
{
    if (!TextStored())
        return;
    FFormatting = true;
    try {
        SetDate(StrToDateFmt(FDateFormat, MaskedText()));
    } catch (...) {
        FFormatting = false;
        if (CanFocus())
            SetFocus();
        throw;
    }
    FFormatting = false;
}

void TCustomDateEdit::DoExit()
{
    if (FCheckOnExit && !InState(csDesigning))
        CheckValidDate();
    TCustomComboEdit::DoExit();
}

void TCustomDateEdit::Change()
{
    if (!FFormatting)
        TCustomComboEdit::Change();
}

// --- Keys ---------------------------------------------------------------------------------------

void TCustomDateEdit::KeyDown(uint16_t& Key, TShiftState Shift)
{
    static const uint16_t kCalendarKeys[] = {VK_PRIOR, VK_NEXT, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_ADD, VK_SUBTRACT};
    if (auto* calendar = dynamic_cast<TPopupCalendar*>(Popup()); calendar && PopupVisible()) {
        for (uint16_t k : kCalendarKeys) {
            if (Key == k) {
                calendar->KeyDown(Key, Shift);
                Key = 0;
                return;
            }
        }
    }
    const bool plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
    if (plain && DirectInput() && (Key == VK_ADD || Key == VK_SUBTRACT)) {
        const TDateTime from = Date() == NullDate ? Now() : Date();
        const int delta = Key == VK_ADD ? 1 : -1;
        Key = 0;
        ApplyDate(from + delta);
        return;
    }
    TCustomComboEdit::KeyDown(Key, Shift);
}

void TCustomDateEdit::KeyPress(char& Key)
{
    const bool dateKey = Key == 'T' || Key == 't' || Key == '+' || Key == '-';
    if (auto* calendar = dynamic_cast<TPopupCalendar*>(Popup()); calendar && PopupVisible() && dateKey) {
        calendar->KeyPress(Key);
        Key = 0;
        return;
    }
    if (DirectInput() && dateKey) {
        // Plus and minus act as numeric-pad keys (KeyDown); typed on the main keyboard they do
        // nothing.
        if (Key == 'T' || Key == 't')
            ApplyDate(Today());
        Key = 0;
        return;
    }
    TCustomComboEdit::KeyPress(Key);
}

// --- Calendar and dialog ------------------------------------------------------------------------

void TCustomDateEdit::ButtonClick()
{
    TAliveToken alive = AliveToken();
    TCustomComboEdit::ButtonClick();
    if (!*alive || CalendarStyle() != csDialog)
        return;
    TDateTime date = Date();
    const bool chosen = SelectDate(date, FTitle, FStartOfWeek, FWeekends, FWeekendColor, FCalendarHints.get());
    if (!*alive)
        return;
    if (CanFocus())
        SetFocus();
    if (!chosen)
        return;
    bool action = true;
    if (OnAcceptDate)
        OnAcceptDate(this, date, action);
    if (!*alive || !action)
        return;
    SetDate(date);
    if (Focused())
        SelectAll();
}

void TCustomDateEdit::SetPopupValue(const Variant& Value)
{
    TCustomComboEdit::SetPopupValue(Variant::FromDate(StrToDateFmtDef(FDateFormat, VarToStr(Value), Today())));
}

bool TCustomDateEdit::AcceptPopup(Variant& Value)
{
    if (!OnAcceptDate)
        return true;
    TDateTime date = NullDate;
    if (!Value.IsNull() && !Value.IsEmpty()) {
        try {
            date = Value.AsDate();
        } catch (const std::exception&) {
            date = NullDate;
        }
    }
    bool action = true;
    OnAcceptDate(this, date, action);
    if (action)
        Value = Variant::FromDate(date);
    return action;
}

void TCustomDateEdit::AcceptValue(const Variant& Value)
{
    TDateTime date = NullDate;
    if (!Value.IsNull() && !Value.IsEmpty())
        date = Value.AsDate();
    TAliveToken alive = AliveToken();
    SetDate(date);
    if (!*alive)
        return;
    UpdatePopupVisible();
    if (Modified())
        TCustomComboEdit::Change();
}

void TCustomDateEdit::SetCalendarStyle(TCalendarStyle Value)
{
    if (Value == CalendarStyle())
        return;
    if (Value == csPopup) {
        CreatePopup();
        UpdatePopup();
    } else if (TPopupWindow* popup = Popup()) {
        SetPopup(nullptr);
        delete popup;
    }
}

void TCustomDateEdit::UpdatePopup()
{
    if (Popup())
        SetupPopupCalendar(Popup(), FStartOfWeek, FWeekends, FWeekendColor, FCalendarHints.get(), FourDigitYear());
}

TColor TCustomDateEdit::PopupColor() const { return Popup() ? Popup()->Color() : FPopupColor; }

void TCustomDateEdit::SetPopupColor(TColor Value)
{
    FPopupColor = Value;
    if (Popup())
        Popup()->SetColor(Value);
}

void TCustomDateEdit::SetCalendarHints(TStrings* Value) { FCalendarHints->Assign(Value); }

void TCustomDateEdit::SetStartOfWeek(TDayOfWeekName Value)
{
    FStartOfWeek = Value;
    UpdatePopup();
}

void TCustomDateEdit::SetWeekends(TDaysOfWeek Value)
{
    FWeekends = Value;
    UpdatePopup();
}

void TCustomDateEdit::SetWeekendColor(TColor Value)
{
    FWeekendColor = Value;
    UpdatePopup();
}

void DateFormatChanged()
{
    if (!Screen)
        return;
    for (int i = 0; i < Screen->FormCount(); ++i)
        UpdateDateEdits(Screen->Forms(i));
}
