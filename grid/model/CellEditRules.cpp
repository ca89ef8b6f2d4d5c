#include "grid/model/CellEditRules.h"

#include <algorithm>
#include <cmath>

#include "grid/model/Cgutil.h"
#include "platform/core/EditText.h"
#include "platform/core/FloatFormat.h"
#include "platform/core/FormatSettings.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether the text outside the selection holds the character.
bool HoldsOutside(std::string_view Text, char C, int SelStart, int SelLength)
{
    for (size_t i = 0; i < Text.size(); i += static_cast<size_t>(CharLengthAt(Text, i))) {
        const bool selected = static_cast<int>(i) >= SelStart && static_cast<int>(i) < SelStart + SelLength;
        if (Text[i] == C && !selected)
            return true;
    }
    return false;
}

bool IsControl(char c) { return static_cast<unsigned char>(c) < 32; }

// Backspace, Tab and Enter pass every filter, and Escape, which restores the cell.
bool IsEditKey(char c) { return c == 8 || c == 9 || c == 13 || c == 27; }

TTypedChar Accept(char c) { return {cvAccept, c}; }
TTypedChar Refuse(char c, bool beep) { return {beep ? cvRefuseBeep : cvRefuse, c}; }

TTypedChar NumericChar(char Key, bool Positive, const AnsiString& Text, int SelStart)
{
    if (IsEditKey(Key) || IsDigit(Key))
        return Accept(Key);
    if (Key == '-' && !Positive)
        return Text.find('-') != AnsiString::npos || SelStart != 0 ? Refuse(Key, true) : Accept(Key);
    return Refuse(Key, true);
}

TTypedChar FloatChar(char Key, const AnsiString& Text, int SelStart, int SelLength)
{
    if (IsEditKey(Key) || IsDigit(Key))
        return Accept(Key);
    if (Key == '.' || Key == ',') {
        const bool taken = HoldsOutside(Text, '.', SelStart, SelLength) || HoldsOutside(Text, ',', SelStart, SelLength);
        return taken ? Refuse(Key, false) : Accept(Key);
    }
    if (Key == '-')
        return SelStart != 0 || Text.find('-') != AnsiString::npos ? Refuse(Key, true) : Accept(Key);
    return Refuse(Key, false);
}

}  // namespace

TEditorKind EditorKindOf(TEditorType Type)
{
    switch (Type) {
    case edSpinEdit:
    case edFloatSpinEdit:
    case edTimeSpinEdit:
    case edDateSpinEdit: return ekSpin;
    case edComboEdit:
    case edComboList: return ekCombo;
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn: return ekEditBtn;
    case edCheckBox: return ekCheckBox;
    case edDateEdit:
    case edDateEditUpDown:
    case edTimeEdit: return ekDate;
    case edButton: return ekButton;
    case edDataCheckBox: return ekNone;
    case edUnitEditBtn: return ekUnit;
    case edCustom: return ekCustom;
    default: return ekText;
    }
}

bool TextEditorServes(TEditorType Type) { return EditorKindOf(Type) == ekText; }

TTypedChar FilterTypedChar(TEditorType Type, char Key, bool Trail, const TEditState& State)
{
    // A trail byte goes with its lead byte, unchanged.
    if (Trail)
        return Accept(Key);
    const int length = static_cast<int>(State.Text.size());
    if (State.Limit > 0 && State.SelLength == 0) {
        // At the limit only Backspace, Escape and (when it moves on) Enter pass; a Hangul pair
        // that would pass the limit is refused whole.
        const int needed = IsLeadByte(static_cast<unsigned char>(Key)) ? 2 : 1;
        if (length >= State.Limit || (needed == 2 && length + 2 > State.Limit)) {
            if (Key == 8 || Key == 27)
                return Accept(Key);
            if (Key == 13 && State.AdvanceOnEnter)
                return Accept(Key);
            if (length >= State.Limit || !IsControl(Key))
                return Refuse(Key, false);
        }
    }
    const bool lineBreakType =
        Type == edNormal || Type == edCapital || Type == edMixedCase || Type == edLowerCase || Type == edUpperCase;
    if (Key == 13 && State.LineFeedOnEnter && lineBreakType)
        return {cvLineBreak, Key};
    switch (Type) {
    case edNormal:
    case edPassword:
    case edMixedCase: return Accept(Key);
    case edNumeric: return NumericChar(Key, false, State.Text, State.SelStart);
    case edPositiveNumeric: return NumericChar(Key, true, State.Text, State.SelStart);
    case edFloat: return FloatChar(Key, State.Text, State.SelStart, State.SelLength);
    case edCapital:
    case edUpperCase: return Accept(UpperChar(Key));
    case edLowerCase: return Accept(LowerChar(Key));
    default: return Refuse(Key, false);
    }
}

TTypedChar FilterEditBtnChar(TEditorType Type, char Key, bool Trail, const AnsiString& Text, int SelStart,
                             int SelLength)
{
    if (Trail)
        return Accept(Key);
    if (Type == edNumericEditBtn)
        return NumericChar(Key, false, Text, SelStart);
    if (Type == edFloatEditBtn)
        return FloatChar(Key, Text, SelStart, SelLength);
    return Accept(Key);
}

char UpperChar(char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C; }

char LowerChar(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; }

namespace {

template <class F>
AnsiString FoldSingle(std::string_view S, F fold)
{
    AnsiString out(S);
    for (size_t i = 0; i < out.size(); i += static_cast<size_t>(CharLengthAt(out, i)))
        if (CharLengthAt(out, i) == 1)
            out[i] = fold(out[i]);
    return out;
}

bool IsSeparator(char c) { return c == ' ' || c == '\'' || c == ',' || c == '-' || c == '.'; }

}  // namespace

AnsiString UpperText(std::string_view S) { return FoldSingle(S, UpperChar); }

AnsiString LowerText(std::string_view S) { return FoldSingle(S, LowerChar); }

AnsiString MixedCase(std::string_view S)
{
    AnsiString out(S);
    const size_t n = out.size();
    bool capitalise = true;
    for (size_t i = 0; i < n;) {
        const size_t len = static_cast<size_t>(CharLengthAt(out, i));
        const char c = out[i];
        const bool separator = len == 1 && IsSeparator(c);
        if (!separator) {
            if (len == 1)
                out[i] = capitalise ? UpperChar(c) : LowerChar(c);
            capitalise = false;
        }
        const size_t end = i + len - 1;  // the character's last byte
        const std::string_view upTo(out.data(), end + 1);
        const size_t mc = out.find(" Mc");
        if (separator || upTo == "Mc" || (mc != AnsiString::npos && mc + 2 == end && end >= 2))
            capitalise = true;
        if (end + 3 >= n && end >= 1 && upTo.substr(end - 1) == " I")
            capitalise = true;
        if (end + 3 >= n && end >= 2 && upTo.substr(end - 2) == " II")
            capitalise = true;
        i += len;
    }
    return out;
}

int LookupIndex(const TStrings& Items, std::string_view Typed, bool CaseSensitive)
{
    if (Typed.empty())
        return -1;
    const AnsiString typed = CaseSensitive ? AnsiString(Typed) : UpperText(Typed);
    for (int i = 0; i < Items.Count(); ++i) {
        const AnsiString item = CaseSensitive ? Items.Strings(i) : UpperText(Items.Strings(i));
        if (item.size() >= typed.size() && item.compare(0, typed.size(), typed) == 0)
            return i;
    }
    return -1;
}

AnsiString LookupCompletion(std::string_view Typed, std::string_view Item)
{
    std::string_view rest = Item.substr(std::min(Typed.size(), Item.size()));
    if (rest.size() > 255)
        rest = rest.substr(0, SnapToChar(rest, 255, false));
    return AnsiString(Typed) + AnsiString(rest);
}

std::optional<AnsiString> PastedText(TEditorType Type, const TEditState& State, std::string_view Clip)
{
    const size_t start = std::min(static_cast<size_t>(std::max(State.SelStart, 0)), State.Text.size());
    const size_t len = std::min(static_cast<size_t>(std::max(State.SelLength, 0)), State.Text.size() - start);
    AnsiString text = State.Text;
    text.replace(start, len, Clip);
    switch (Type) {
    case edNumeric:
    case edPositiveNumeric:
        if (IsType(text) != 0 || (Type == edPositiveNumeric && text.find('-') != AnsiString::npos))
            return std::nullopt;
        break;
    case edFloat:
        if (IsType(text) > 1)
            return std::nullopt;
        break;
    case edMixedCase: text = MixedCase(text); break;
    case edLowerCase: text = LowerText(text); break;
    case edUpperCase:
    case edCapital: text = UpperText(text); break;
    default: break;
    }
    if (State.Limit > 0 && static_cast<int>(text.size()) > State.Limit)
        return std::nullopt;
    return text;
}

int LengthLimitOf(int MaxEditLength) { return MaxEditLength > 0 && MaxEditLength <= 32767 ? MaxEditLength : 0; }

TUnitSplit SplitUnitText(std::string_view Text)
{
    TUnitSplit s;
    for (size_t i = 0; i < Text.size();) {
        const size_t len = static_cast<size_t>(CharLengthAt(Text, i));
        const char c = Text[i];
        if (len == 1 && (IsDigit(c) || c == ',' || c == '-' || c == '.'))
            s.Number += c;
        else
            s.Unit.append(Text.substr(i, len));
        i += len;
    }
    return s;
}

bool TPendingKey::Add(char Byte)
{
    if (FWaiting) {
        FKey += Byte;
        FWaiting = false;
        return true;
    }
    FKey.assign(1, Byte);
    FWaiting = IsLeadByte(static_cast<unsigned char>(Byte));
    return !FWaiting;
}

int SpinIntOf(std::string_view Text, int MinValue)
{
    int v = 0;
    return TryStrToInt(Trim(AnsiString(Text)), v) ? v : MinValue;
}

double SpinFloatOf(std::string_view Text, int MinValue)
{
    double v = 0;
    return TryStrToFloat(Trim(AnsiString(Text)), v) && std::isfinite(v) ? v : static_cast<double>(MinValue);
}

AnsiString SpinFloatText(double Value, int Precision)
{
    if (Precision <= 0)
        return FloatToStr(Value);
    return FloatToStrF(Value, ffFixed, 15, Precision);
}

int SpinPartAt(std::string_view Text, int Caret, char Separator)
{
    const size_t first = Text.find(Separator);
    if (first == std::string_view::npos || Caret <= static_cast<int>(first))
        return 0;
    const size_t second = Text.find(Separator, first + 1);
    if (second == std::string_view::npos || Caret <= static_cast<int>(second))
        return 1;
    return 2;
}

int SpinDateField(std::string_view ShortDateFormat, int Part)
{
    int order[3] = {0, 1, 2};
    int found = 0;
    char last = 0;
    for (char c : ShortDateFormat) {
        const char l = LowerChar(c);
        if ((l == 'd' || l == 'm' || l == 'y') && l != last && found < 3)
            order[found++] = l == 'd' ? 0 : l == 'm' ? 1 : 2;
        if (l == 'd' || l == 'm' || l == 'y')
            last = l;
    }
    return found == 3 && Part >= 0 && Part < 3 ? order[Part] : std::clamp(Part, 0, 2);
}

TDateTime SpinStepDate(TDateTime Value, int Part, int Delta)
{
    if (Part == 0)
        return Value + Delta;
    uint16_t y = 0, m = 0, d = 0;
    DecodeDate(Value, y, m, d);
    int year = y, month = m;
    if (Part == 1) {
        const int months = year * 12 + (month - 1) + Delta;
        year = months / 12;
        month = months % 12 + 1;
    } else {
        year += Delta;
    }
    if (year < 1 || year > 9999)
        return Value;
    const int day = std::min<int>(d, DaysInAMonth(year, month));
    TDateTime date = 0;
    if (!TryEncodeDate(year, month, day, date))
        return Value;
    const double time = Value - std::floor(Value);
    return date + time;
}

TDateTime SpinStepTime(TDateTime Value, int Part, int Delta)
{
    const double day = std::floor(Value);
    const double unit = Part == 0 ? 1.0 / 24 : Part == 1 ? 1.0 / (24 * 60) : 1.0 / (24 * 60 * 60);
    double time = Value - day + Delta * unit;
    time -= std::floor(time);
    return day + time;
}

TTypedChar SpinFilterChar(TCgSpinType Type, char Key, const AnsiString& Text, int SelStart, int SelLength,
                          int Precision, bool EditorEnabled)
{
    const TFormatSettings& fs = FormatSettings();
    if (!EditorEnabled)
        return IsControl(Key) && Key != 8 && Key != 13 ? Accept(Key) : Refuse(Key, true);
    if (IsControl(Key))
        return Key == 13 ? Refuse(Key, true) : Accept(Key);
    if (Type == sptFloat && Key == fs.ThousandSeparator)
        Key = fs.DecimalSeparator;
    const bool allowed = IsDigit(Key) || Key == '+' || Key == '-' || Key == fs.DecimalSeparator ||
        Key == fs.ThousandSeparator || (Type == sptDate && Key == fs.DateSeparator) ||
        (Type == sptTime && Key == fs.TimeSeparator);
    if (!allowed)
        return Refuse(Key, true);
    if (Type == sptFloat) {
        const size_t sep = Text.find(fs.DecimalSeparator);
        if (Key == fs.DecimalSeparator && HoldsOutside(Text, fs.DecimalSeparator, SelStart, SelLength))
            return Refuse(Key, true);
        if (Precision > 0 && IsDigit(Key) && SelLength == 0 && sep != AnsiString::npos &&
            SelStart > static_cast<int>(sep) && static_cast<int>(Text.size() - sep - 1) >= Precision)
            return Refuse(Key, true);
    }
    if (Type == sptTime && Key == fs.TimeSeparator && HoldsOutside(Text, fs.TimeSeparator, SelStart, SelLength))
        return Refuse(Key, true);
    return Accept(Key);
}
