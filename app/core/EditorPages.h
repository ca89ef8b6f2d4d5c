#pragma once
// The script editor's six pages without their window: each page's grid (columns, header texts,
// widths, fixed columns, switches) and what a row shows of its record. Row r (from 1) shows the
// record at list index r - 1; an empty list shows one blank row, so a grid never has fewer than
// two rows. The editor (ScriptEditor.h) refills a page through FillEditorPage after each change.

#include <span>

#include "platform/core/AnsiString.h"
#include "script/Records.h"

class TCellModel;
class TScriptState;

// The pages in their order; the index is what the settings record keeps as ActivePage.
enum TEditorPage : int { epButton = 0, epTimer, epTriggers, epVariables, epAlias, epMacro };
inline constexpr int kEditorPageCount = 6;
inline bool ValidEditorPage(int page) { return page >= 0 && page < kEditorPageCount; }

struct TEditorColumn {
    const char* Header;
    int Width;
};

struct TEditorPageLayout {
    const char* Caption;    // the tab's text
    const char* SheetName;  // the tab sheet's component name
    const char* GridName;   // the grid's component name
    int FixedCols;
    std::span<const TEditorColumn> Columns;
    bool RowSizing;  // rows may be resized
    bool MultiLine;  // cells show several lines
};
// The layout of a page (0 .. 5).
const TEditorPageLayout& EditorPageLayout(int page);

inline constexpr int kEditorRowHeight = 18;
// Banded rows: five in the info-background colour, five in the window colour.
inline constexpr int kEditorBandLength = 5;
// The trigger grid's ninth column carries nothing and is hidden when the page is shown.
inline constexpr int kTriggerSpareColumn = 8;

// The grid as the page wants it: counts, fixed cells, widths, headers, row height, whole-row
// selection with column sizing and row moving (rows resizable where the layout says), bands,
// HTML off so that script text shows as typed, cell extras on for the check boxes. Leaves two
// rows with the first normal cell current.
void SetUpEditorGrid(TCellModel& grid, int page);

// The number of records the page shows.
int EditorRecordCount(const TScriptState& state, int page);

// One row of a page from its record (row >= 1); refused (false, nothing written) when the row is
// at or beyond the grid's row count.
bool ShowButtonRow(TCellModel& grid, int row, const cButton& r);
bool ShowTimerRow(TCellModel& grid, int row, const cTimer& r);
bool ShowTriggerRow(TCellModel& grid, int row, const cTriggers& r);
bool ShowVariableRow(TCellModel& grid, int row, const cVariables& r);
bool ShowAliasRow(TCellModel& grid, int row, const cAlias& r);
bool ShowMacroRow(TCellModel& grid, int row, const cKeyMacro& r);
// The row of the record at list index row - 1 of the page's list; false when there is none.
bool ShowEditorRow(TCellModel& grid, const TScriptState& state, int page, int row);

// Refills the page from its list: row count = records + 1 (2 for an empty list), the normal cells
// cleared, every record shown. The trigger page clears first, starts at two rows and grows by one
// before each row it writes.
void FillEditorPage(TCellModel& grid, const TScriptState& state, int page);

// A delete question: the text formatted with the values the page shows, and the box's caption.
struct TDeleteQuestion {
    AnsiString Text;
    AnsiString Caption;
};
TDeleteQuestion DeleteQuestion(const cButton& r, int row);
TDeleteQuestion DeleteQuestion(const cTimer& r, int row);
TDeleteQuestion DeleteQuestion(const cTriggers& r, int row);
TDeleteQuestion DeleteQuestion(const cVariables& r, int row);
TDeleteQuestion DeleteQuestion(const cAlias& r, int row);
TDeleteQuestion DeleteQuestion(const cKeyMacro& r, int row);

// Find's messages: nothing found for the text, and no further hit.
AnsiString NotFoundText(const AnsiString& text);
AnsiString NoMoreFoundText();
