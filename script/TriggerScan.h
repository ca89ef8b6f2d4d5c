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
#include <memory>
#include <string_view>
#include <vector>

#include "script/Pattern.h"
#include "script/PatternMemo.h"
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

    // Bytes the pattern searches have looked at since the scanner was made.
    uint64_t PatternSteps() const { return Steps; }

private:
    struct TPassLine;
    // What the tries of one trigger's pattern on the current line found out.
    struct TLineMemo {
        std::shared_ptr<const TCompiledPattern> Pattern;
        uint64_t Line = 0;  // the Serial of the line
        TMatchMemo Match;
    };

    void Pass(TScriptState& s, bool complete, TPassLine& line, bool current);
    bool Eligible(const TScriptState& s, const cTriggers& t, bool complete) const;
    bool TryMatch(TScriptState& s, size_t i, const cTriggers& t, const TPassLine& line, bool onCurrentLine);
    // The pattern after variable and function expansion, compiled; null when it is too long.
    std::shared_ptr<const TCompiledPattern> Expand(TScriptState& s, AnsiString pattern);
    // The memo of trigger i for this pattern: kept while the pass is on the current line, which
    // only grows until it ends; fresh for any other line.
    TMatchMemo& MemoFor(size_t i, const std::shared_ptr<const TCompiledPattern>& pattern, bool onCurrentLine);
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
    std::vector<uint8_t> Starts;   // character starts of the current line
    std::vector<TLineMemo> Memos;  // by trigger position
    uint64_t Steps = 0;
    uint64_t Serial = 0;  // counts lines, so a pass knows whether its line is still current
    uint64_t Builds = 0;  // counts index builds, so a pass knows whether its positions still hold
    bool Rebuild = true;
    bool FullCheck = true;
    bool MaybeFired = true;
    int Gate = -1;
    int SlotsUsed = 0;
};
