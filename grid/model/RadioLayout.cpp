#include "grid/model/RadioLayout.h"

#include <algorithm>
#include <climits>

namespace {

// The pixels a choice side by side takes beside its caption: the radio and the gaps around it.
constexpr int kChoiceRoom = 12;
// Radios and captions are drawn this far in from the start of their choice.
constexpr int kInset = 2;

// Long groups of wide captions run far past any cell; their places stay representable.
int Clamped(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN / 2, INT_MAX / 2)); }

}  // namespace

std::vector<TRadioChoicePlace> LayoutRadioGroup(const TRect& Cell, bool SideBySide,
                                                const std::vector<int>& CaptionWidths, int LineHeight)
{
    std::vector<TRadioChoicePlace> places;
    places.reserve(CaptionWidths.size());
    const int line = std::max(LineHeight, 0);
    long long start = SideBySide ? Cell.Left : Cell.Top;
    for (const int width : CaptionWidths) {
        const long long span = SideBySide ? static_cast<long long>(std::max(width, 0)) + kChoiceRoom : line;
        TRadioChoicePlace place;
        const int left = SideBySide ? Clamped(start + kInset) : Cell.Left + kInset;
        const int top = SideBySide ? Cell.Top + (Cell.Height() - kRadioSide) / 2 : Clamped(start + kInset);
        place.Radio = Bounds(left, top, kRadioSide, kRadioSide);
        place.Caption = TPoint{left + kRadioSide, top + (kRadioSide - line) / 2};
        place.SpanFrom = Clamped(start);
        place.SpanTo = Clamped(start + span);
        places.push_back(place);
        start += span;
    }
    return places;
}

int RadioChoiceAt(const std::vector<TRadioChoicePlace>& Places, bool SideBySide, TPoint P)
{
    const int at = SideBySide ? P.x : P.y;
    for (size_t i = 0; i < Places.size(); ++i)
        if (at > Places[i].SpanFrom && at < Places[i].SpanTo)
            return static_cast<int>(i);
    return -1;
}
