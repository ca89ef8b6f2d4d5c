#include "platform/gui/Hints.h"

namespace {

// The "|" that separates the parts; a trail byte that happens to be 0x7C is no separator.
size_t BarOf(const AnsiString& hint)
{
    for (size_t i = 0; i < hint.size(); i += CharLengthAt(hint, i))
        if (hint[i] == '|')
            return i;
    return AnsiString::npos;
}

}  // namespace

AnsiString GetShortHint(const AnsiString& hint)
{
    size_t bar = BarOf(hint);
    return bar == AnsiString::npos ? hint : hint.substr(0, bar);
}

AnsiString GetLongHint(const AnsiString& hint)
{
    size_t bar = BarOf(hint);
    return bar == AnsiString::npos ? hint : hint.substr(bar + 1);
}
