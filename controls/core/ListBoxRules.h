#pragma once
// The display-free rules of the library's list boxes: the horizontal range kept as the widest
// item's width, tab expansion in measured widths, the item-text read limit, when a press starts
// an automatic drag, and the check-box cells, clicks and stored states of the check list box.

#include <functional>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"

class TObject;
class TStrings;

// --- Horizontal range --------------------------------------------------------------------------

// The widths of a list's items in item order and the largest one seen, so that the range can
// follow adds and inserts at once and shrink to the next widest when the widest goes without
// measuring every item again.
class TListExtent {
public:
    int MaxWidth() const { return FMaxWidth; }
    int Count() const { return static_cast<int>(FWidths.size()); }
    // Width of item Index, 0 for an index out of range.
    int Width(int Index) const;
    // An item of this width now stands at Index (clamped into the list); the range grows to it.
    void Inserted(int Index, int Width);
    // Item Index goes; true when it was at least as wide as the range (the range is then the
    // widest of the rest, 0 for none).
    bool Deleted(int Index);
    void Clear();
    // Every width measured again (a new font): the range becomes the widest.
    void Reset(std::vector<int> Widths);

private:
    std::vector<int> FWidths;
    int FMaxWidth = 0;
};

// One tab stop in pixels: TabWidth dialog quarter-characters of the width of "0", rounded.
int ListTabStopPixels(int TabWidth, int ZeroWidth);
// The width of a text whose tabs move to the next multiple of TabStop (measured in pieces
// between tabs); the low 16 bits, as the system's tabbed extent gives it. A stop below 1 counts
// as 1.
int TabbedTextWidth(std::string_view Text, int TabStop, const std::function<int(std::string_view)>& Measure);
// The same walk for drawing: each piece between tabs with its x offset; the full width.
int TabbedTextPieces(std::string_view Text, int TabStop, const std::function<int(std::string_view)>& Measure,
                     const std::function<void(std::string_view Piece, int X)>& Piece);

// The longest item text a list box hands out: 4095 bytes, cut before a two-byte character that
// would not fit whole.
constexpr size_t kMaxListItemText = 4095;
AnsiString CutListItemText(std::string_view Text);

// --- Automatic drag ----------------------------------------------------------------------------

// What a left press does in a list box whose drag mode is automatic.
enum TListPressDrag {
    lpdNone,        // it selects as usual and starts no drag (multiple selection, Shift or Ctrl held)
    lpdAfterPress,  // it selects as usual; a drag begins once the pointer moves
    lpdAtOnce,      // a drag starts at once and the selection stays as it was
};
// With multiple selection, a press without Shift, or with Ctrl, on an item already selected
// drags the selection at once; any other press with Shift or Ctrl only selects.
TListPressDrag ListPressDrag(bool MultiSelect, bool Shift, bool Ctrl, bool OnSelectedItem);
// A drag waiting for the pointer begins once it is this many pixels from the press on an axis.
constexpr int kListDragThreshold = 5;
bool ListDragBegins(int PressX, int PressY, int X, int Y);

// --- Check list box ----------------------------------------------------------------------------

// The kinds of check cell and the states (values as TCheckKind and TCheckBoxState).
enum TCheckKind { ckCheckBoxes, ckRadioButtons, ckCheckMarks };
constexpr int kCheckUnchecked = 0, kCheckChecked = 1, kCheckGrayed = 2;
// "CHECK_IMAGES" is 6 cells by 3 rows: one row per kind, enabled cells then disabled ones.
constexpr int kCheckImageCols = 6, kCheckImageRows = 3;

// The cell of the picture for a state, kind and enabled flag.
int CheckCellIndex(int State, TCheckKind Kind, bool Enabled);
// What a click or the space bar makes of a state: unchecked goes grayed when grayed states are
// allowed (never for radio buttons), else checked; checked goes unchecked; grayed goes checked.
int NextCheckState(int State, bool AllowGrayed, TCheckKind Kind);
// The state a radio list reports: only checked counts.
inline int ReportedCheckState(int State, TCheckKind Kind)
{
    return Kind == ckRadioButtons && State != kCheckChecked ? kCheckUnchecked : State;
}

// The states as stored in a section: "Count", then "Item0".."ItemN-1" holding 0, 1 or 2.
struct TCheckStatesStore {
    std::function<void()> EraseSection;
    std::function<void(const AnsiString& Ident, int Value)> WriteInteger;
    std::function<int(const AnsiString& Ident, int Default)> ReadInteger;
};
void SaveCheckStates(const TCheckStatesStore& Store, const std::vector<int>& States);
// Sets the state of each of the first min(Count, ItemCount) items from the store (a missing
// key reads unchecked); a radio list stops after the first checked item. SetState(Index, State) does the setting.
void RestoreCheckStates(const TCheckStatesStore& Store, int ItemCount, TCheckKind Kind,
                        const std::function<void(int Index, int State)>& SetState);
