#pragma once
// The display-free rules of editing a cell: which editor an editor type uses, what the text
// editor and the edit-with-button editors accept of a typed character or a paste, the case
// rules (single-byte letters only: a Hangul pair and its trail byte are never folded), the
// look-up completion, the length limit, the unit editor's split of a cell text, the spin edit's
// values, characters and steps, and the pending key the grid keeps. Positions and lengths are
// cp949 bytes; no rule splits a Hangul pair.

#include <optional>

#include "grid/model/CellGridTypes.h"
#include "platform/core/DateTime.h"
#include "platform/core/StringList.h"

// --- Editor types.
enum TEditorKind { ekText, ekNone, ekSpin, ekCombo, ekEditBtn, ekCheckBox, ekDate, ekButton, ekUnit, ekCustom };
TEditorKind EditorKindOf(TEditorType Type);
// The grid's own text editor serves the type (it shows instead of a special control).
bool TextEditorServes(TEditorType Type);

// --- The text editor's typed characters.
enum TCharVerdict { cvAccept, cvRefuse, cvRefuseBeep, cvLineBreak };
struct TTypedChar {
    TCharVerdict Verdict = cvAccept;
    char Char = 0;  // the character to type (case rules applied)
};
// What the editor does with a typed byte. Trail is set for the second byte of a Hangul pair,
// which takes its lead byte's verdict (the caller drops the pair whole) and is never folded.
// SelStart and SelLength are the editor's selection; LineFeedOnEnter and AdvanceOnEnter the
// grid's navigation switches; Limit the length limit in bytes (0 none).
struct TEditState {
    AnsiString Text;
    int SelStart = 0;
    int SelLength = 0;
    int Limit = 0;
    bool LineFeedOnEnter = false;
    bool AdvanceOnEnter = false;
};
TTypedChar FilterTypedChar(TEditorType Type, char Key, bool Trail, const TEditState& State);
// The edit-with-button editors' filters: edNumericEditBtn as edNumeric, edFloatEditBtn as
// edFloat, every other type accepts.
TTypedChar FilterEditBtnChar(TEditorType Type, char Key, bool Trail, const AnsiString& Text, int SelStart,
                             int SelLength);

// --- Case rules on single-byte letters.
char UpperChar(char C);
char LowerChar(char C);
AnsiString UpperText(std::string_view S);
AnsiString LowerText(std::string_view S);
// The mixed-case rule: every word capitalised (after a space, "'", ",", "-", "."), the rest of
// each word lower-cased, with "Mc" and Roman "II" kept: mcdonald -> McDonald, henry ii ->
// Henry II, o'neil-smith -> O'Neil-Smith. Hangul characters are left as they are.
AnsiString MixedCase(std::string_view S);

// --- Look-up completion.
// The first item that begins with Typed (single-byte letters folded unless CaseSensitive), or
// -1. An empty Typed matches nothing.
int LookupIndex(const TStrings& Items, std::string_view Typed, bool CaseSensitive);
// The completed text: Typed followed by the rest of the item (at most 255 bytes, never half a
// pair).
AnsiString LookupCompletion(std::string_view Typed, std::string_view Item);

// --- Paste.
// The text a paste makes of the edit's text, or nothing when the editor type or the limit
// refuses it: the selection (or, without one, the caret) receives Clip; numeric types take an
// integer only (the positive one without a "-"), edFloat an integer or a decimal number;
// edMixedCase, edLowerCase, edUpperCase and edCapital apply their rule. A result longer than
// Limit (above 0) pastes nothing.
std::optional<AnsiString> PastedText(TEditorType Type, const TEditState& State, std::string_view Clip);

// The editor's length limit from the grid's MaxEditLength: the limit is a 16-bit count, so a
// value outside 1..32767 means no limit (0).
int LengthLimitOf(int MaxEditLength);

// --- The unit editor: the digits and "," "-" "." of a cell text make the number, every other
// character (a space included) the unit, in order: "12.5 kg" -> "12.5" and " kg".
struct TUnitSplit {
    AnsiString Number;
    AnsiString Unit;
};
TUnitSplit SplitUnitText(std::string_view Text);

// --- The pending key: bytes typed on the grid gathered into one whole character.
class TPendingKey {
public:
    // Adds a typed byte; true when a whole character is there (a Hangul lead byte waits).
    bool Add(char Byte);
    const AnsiString& Key() const { return FKey; }
    bool Empty() const { return FKey.empty(); }
    void Clear() { FKey.clear(); }

private:
    AnsiString FKey;
    bool FWaiting = false;
};

// --- The spin edit's values (the grid's spin editors are built on it).
enum TCgSpinType { sptNormal, sptFloat, sptDate, sptTime };
// The text as an integer; a text that is no integer reads as MinValue.
int SpinIntOf(std::string_view Text, int MinValue);
// The text as a number (the decimal separator of the format settings); otherwise MinValue.
double SpinFloatOf(std::string_view Text, int MinValue);
// Clamped to Min..Max when the two differ.
template <class T>
T SpinClamp(T Value, T Min, T Max)
{
    if (Min == Max)
        return Value;
    return Value < Min ? Min : Value > Max ? Max : Value;
}
// A float written with Precision fixed decimals (15 significant digits), or in the general
// format with Precision 0.
AnsiString SpinFloatText(double Value, int Precision);
// The part of a date or time text a caret stands in: 0 before the first separator, 1 before
// the second, 2 after it.
int SpinPartAt(std::string_view Text, int Caret, char Separator);
// The field (0 day, 1 month, 2 year) that the Part-th part of a date written in the short date
// format holds: "dd/mm/yyyy" gives day, month, year; "yyyy-mm-dd" year, month, day.
int SpinDateField(std::string_view ShortDateFormat, int Part);
// A date moved by Delta days (field 0), months (1) or years (2); a month or year step from a day
// the target month lacks lands on its last day (the 31st of January plus a month is the end of
// February).
TDateTime SpinStepDate(TDateTime Value, int Field, int Delta);
// A time moved by Delta hours (part 0), minutes (1) or seconds (2), within the day.
TDateTime SpinStepTime(TDateTime Value, int Part, int Delta);
// Whether the spin edit takes a typed character, and as what: digits, '+', '-', the decimal
// and thousands separators, the date separator (dates) or the time separator (times), control
// characters other than CR. Floats turn the thousands separator into the decimal one, refuse a
// second decimal separator and, with Precision above 0, a digit past the decimals; times refuse
// a time separator when the text outside the selection holds one. With the editor disabled
// every printable character and Backspace are refused. Refusals beep.
TTypedChar SpinFilterChar(TCgSpinType Type, char Key, const AnsiString& Text, int SelStart, int SelLength,
                          int Precision, bool EditorEnabled);
