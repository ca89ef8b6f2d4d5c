#pragma once
// The received-text scan of one character window: the current line with its character starts,
// and the trigger passes over it.
//
// A pass gives the results of trying every trigger in list order, but tries only those that can
// match: in a complete-line pass, the triggers whose longest literal is in the line; in a
// partial-line pass, the triggers that a byte received since their last failed try may have made
// match (Pending), and those whose patterns change with variables or match on any byte. A
// trigger found not eligible (disabled, already fired, suspended) is set aside (Parked) until
// something that could make it eligible happens. The index is checked against the trigger list
// at every complete pass, at the first partial pass of a line, after every action and whenever
// TriggersChanged() is called.

#include <cstdint>
#include <string_view>
#include <vector>

#include "script/Pattern.h"
#include "script/TriggerBits.h"
#include "script/TriggerIndex.h"

class TScriptState;
class cTriggers;

class TTriggerScanner {
public:
    // Appends host text to the current line, noting the triggers it may make match.
    void Append(TScriptState& s, std::string_view bytes);
    // The partial and complete passes over the current line.
    void PartialPass(TScriptState& s);
    void CompletePass(TScriptState& s);
    // A pass over any other line: every trigger is tried.
    void PassOver(TScriptState& s, bool complete, std::string_view line);
    // True when the current line ends on the first byte of a pair, which waits for its second.
    bool EndsOnFirstByte(TScriptState& s);
    // The line has ended (the current line is empty again): clears the fired marks.
    void LineEnded(TScriptState& s);

    // The list or a trigger's pattern, action or complete-line bit changed.
    void Changed();
    // Something may have made triggers eligible again (switched on, resumed).
    void Unpark();

    // Matches one pattern as the engine's MatchTrigger: fills the capture slots.
    bool MatchTrigger(TScriptState& s, std::string_view line, const AnsiString& pattern);
    // Empties the capture slots that may hold text.
    void ClearCaptures(TScriptState& s);

private:
    struct TPassLine;

    void Pass(TScriptState& s, bool complete, TPassLine& line, bool current);
    bool Eligible(const TScriptState& s, const cTriggers& t, bool complete) const;
    bool TryMatch(TScriptState& s, size_t i, const cTriggers& t, const TPassLine& line);
    bool MatchExpanded(TScriptState& s, AnsiString pattern, std::string_view line, const uint8_t* starts);
    void FillCaptures(TScriptState& s, std::string_view line, const TMatchResult& r);
    // Brings the index up to date; true when it was rebuilt. full compares every trigger.
    bool Validate(TScriptState& s, bool full);
    void CheckGate(const TScriptState& s);
    void SyncLine(TScriptState& s);

    TTriggerIndex Index;
    TPatternCache Patterns;  // trigger patterns as written
    TPatternCache Expanded;  // patterns after variable and function expansion
    TTriggerBits Pending;
    TTriggerBits Parked;
    std::vector<uint8_t> Starts;  // character starts of the current line
    uint64_t Serial = 0;          // counts lines, so a pass knows whether its line is still current
    bool Rebuild = true;
    bool FullCheck = true;
    bool MaybeFired = true;
    int Gate = -1;
    int SlotsUsed = 0;
};
