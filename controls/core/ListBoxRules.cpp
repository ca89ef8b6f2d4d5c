#include "controls/core/ListBoxRules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/core/StringList.h"
#include "platform/core/Strings.h"

int TListExtent::Width(int Index) const
{
    return Index >= 0 && Index < Count() ? FWidths[static_cast<size_t>(Index)] : 0;
}

void TListExtent::Inserted(int Index, int Width)
{
    Index = std::clamp(Index, 0, Count());
    FWidths.insert(FWidths.begin() + Index, Width);
    FMaxWidth = std::max(FMaxWidth, Width);
}

bool TListExtent::Deleted(int Index)
{
    if (Index < 0 || Index >= Count())
        return false;
    const int width = FWidths[static_cast<size_t>(Index)];
    FWidths.erase(FWidths.begin() + Index);
    if (width < FMaxWidth)
        return false;
    FMaxWidth = FWidths.empty() ? 0 : *std::max_element(FWidths.begin(), FWidths.end());
    return true;
}

void TListExtent::Clear()
{
    FWidths.clear();
    FMaxWidth = 0;
}

void TListExtent::Reset(std::vector<int> Widths)
{
    FWidths = std::move(Widths);
    FMaxWidth = FWidths.empty() ? 0 : std::max(0, *std::max_element(FWidths.begin(), FWidths.end()));
}

int ListTabStopPixels(int TabWidth, int ZeroWidth)
{
    return static_cast<int>(std::lround(TabWidth * ZeroWidth * 0.25));
}

int TabbedTextPieces(std::string_view Text, int TabStop, const std::function<int(std::string_view)>& Measure,
                     const std::function<void(std::string_view Piece, int X)>& Piece)
{
    const int stop = std::max(TabStop, 1);
    int x = 0;
    size_t start = 0;
    for (;;) {
        const size_t tab = Text.find('\t', start);
        const std::string_view piece =
            Text.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
        if (Piece && !piece.empty())
            Piece(piece, x);
        x += Measure(piece);
        if (tab == std::string_view::npos)
            return x;
        x = (x / stop + 1) * stop;
        start = tab + 1;
    }
}

int TabbedTextWidth(std::string_view Text, int TabStop, const std::function<int(std::string_view)>& Measure)
{
    return TabbedTextPieces(Text, TabStop, Measure, nullptr) & 0xFFFF;
}

AnsiString CutListItemText(std::string_view Text)
{
    if (Text.size() <= kMaxListItemText)
        return AnsiString(Text);
    size_t n = kMaxListItemText;
    if (IsTrailByteAt(Text, n))
        --n;
    return AnsiString(Text.substr(0, n));
}

int CheckCellIndex(int State, TCheckKind Kind, bool Enabled)
{
    const int state = std::clamp(State, kCheckUnchecked, kCheckGrayed);
    const int kind = std::clamp(static_cast<int>(Kind), 0, kCheckImageRows - 1);
    return kind * kCheckImageCols + (Enabled ? 0 : 3) + state;
}

int NextCheckState(int State, bool AllowGrayed, TCheckKind Kind)
{
    switch (State) {
    case kCheckUnchecked: return AllowGrayed && Kind != ckRadioButtons ? kCheckGrayed : kCheckChecked;
    case kCheckChecked: return kCheckUnchecked;
    default: return kCheckChecked;
    }
}

void SaveCheckStates(const TCheckStatesStore& Store, const std::vector<int>& States)
{
    Store.EraseSection();
    Store.WriteInteger("Count", static_cast<int>(States.size()));
    for (size_t i = 0; i < States.size(); ++i)
        Store.WriteInteger("Item" + IntToStr(static_cast<int>(i)), States[i]);
}

void RestoreCheckStates(const TCheckStatesStore& Store, int ItemCount, TCheckKind Kind,
                        const std::function<void(int Index, int State)>& SetState)
{
    // The items bound the loop, so a stored count far past the keys costs nothing.
    const int count = std::min(Store.ReadInteger("Count", 0), ItemCount);
    for (int i = 0; i < count; ++i) {
        int state = Store.ReadInteger("Item" + IntToStr(i), kCheckUnchecked);
        // A value no state has (an edited file) reads as unchecked.
        if (state < kCheckUnchecked || state > kCheckGrayed)
            state = kCheckUnchecked;
        SetState(i, state);
        if (Kind == ckRadioButtons && state == kCheckChecked)
            break;
    }
}

TListPressDrag ListPressDrag(bool MultiSelect, bool Shift, bool Ctrl, bool OnSelectedItem)
{
    if (!MultiSelect)
        return lpdAfterPress;
    if ((!Shift || Ctrl) && OnSelectedItem)
        return lpdAtOnce;
    return Shift || Ctrl ? lpdNone : lpdAfterPress;
}

bool ListDragBegins(int PressX, int PressY, int X, int Y)
{
    return std::abs(X - PressX) >= kListDragThreshold || std::abs(Y - PressY) >= kListDragThreshold;
}
