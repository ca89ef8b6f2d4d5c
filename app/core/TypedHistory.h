#pragma once
// The history of lines typed into a character window's input line (ChatStrs), oldest first, and
// its cursor (HistoryIndex) for the Up and Down keys. Each key shows the line under the cursor
// and then moves it, wrapping at both ends; Enter puts the cursor on the newest line, so Up right
// after Enter shows the line just typed.

#include <cstdint>
#include <optional>

#include "controls/core/StrHolder.h"
#include "platform/core/AnsiString.h"

class TTypedHistory {
public:
    // The most lines kept; the oldest goes first. Duplicates are kept.
    static constexpr int kMaxLines = 1000;

    TTypedHistory();

    // The history's holder, as the chat-history dialog reads it.
    TStrHolder& ChatStrs() { return FChatStrs; }
    int Count() const;
    AnsiString Line(int index) const;
    int32_t HistoryIndex() const { return FHistoryIndex; }

    // After Enter: a typed text that is not empty is appended (the oldest dropped past
    // kMaxLines), then the cursor goes to the newest line (-1 while the history is empty).
    void Enter(const AnsiString& typed);
    // The line for the input line, or none with an empty history.
    std::optional<AnsiString> Up();
    std::optional<AnsiString> Down();

private:
    // The cursor, or the newest line when it points outside the history.
    int Cursor() const;

    TStrHolder FChatStrs{nullptr};
    int32_t FHistoryIndex = 0;
};
