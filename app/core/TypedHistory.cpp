#include "app/core/TypedHistory.h"

// Typed lines are never expanded as macros; a character no line can hold keeps the holder from
// scanning every line for macro names at each Enter.
TTypedHistory::TTypedHistory() { FChatStrs.SetMacroChar('\0'); }

int TTypedHistory::Count() const { return FChatStrs.Strings()->Count(); }

AnsiString TTypedHistory::Line(int index) const { return FChatStrs.Strings()->Strings(index); }

void TTypedHistory::Enter(const AnsiString& typed)
{
    TStringList& lines = *FChatStrs.Strings();
    if (!typed.empty()) {
        lines.Add(typed);
        if (lines.Count() > kMaxLines)
            lines.Delete(0);
    }
    FHistoryIndex = lines.Count() - 1;
}

int TTypedHistory::Cursor() const
{
    return (FHistoryIndex >= 0 && FHistoryIndex < Count()) ? FHistoryIndex : Count() - 1;
}

std::optional<AnsiString> TTypedHistory::Up()
{
    if (Count() == 0)
        return std::nullopt;
    const int shown = Cursor();
    FHistoryIndex = shown > 0 ? shown - 1 : Count() - 1;
    return Line(shown);
}

std::optional<AnsiString> TTypedHistory::Down()
{
    if (Count() == 0)
        return std::nullopt;
    const int shown = Cursor();
    FHistoryIndex = shown + 1 < Count() ? shown + 1 : 0;
    return Line(shown);
}
