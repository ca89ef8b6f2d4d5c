#pragma once
// The grid's text formats without a window: its own file and stream, CSV, fixed-width and
// aligned text, and the HTML and XML exports. Writers build the file's bytes; the control
// writes them through the atomic writer and raises its own messages. Readers take the file's
// bytes and fill the model; a bad index, count or byte never crashes them: lines outside the
// grid are skipped and counts the grid cannot hold raise before anything changes.
//
// Files: GridFileText.cpp (the grid file and stream), GridCsv.cpp (CSV), GridFixedText.cpp
// (fixed width and aligned text), GridExport.cpp (HTML and XML).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/model/CellModel.h"
#include "platform/core/Alignment.h"

class TStream;

// Progress of a long read or write: fires Report with the rounded percentage each time it
// changes, and lets the window process its messages now and then.
class TFileProgress {
public:
    TFileProgress() = default;
    TFileProgress(std::function<void(int)> Report, std::function<void()> ProcessMessages)
        : FReport(std::move(Report)), FProcessMessages(std::move(ProcessMessages))
    {}
    // Step Done of Total (a Total below 1 counts as 1).
    void Step(int64_t Done, int64_t Total);

private:
    std::function<void(int)> FReport;
    std::function<void()> FProcessMessages;
    int FLast = -1;
    int64_t FSinceMessages = 0;
};

// The grid's switches the formats read.
struct TGridFileSettings {
    bool Multilinecells = false;
    bool SaveIncludesHidden = false;
    bool OemConvert = false;
    // '\0': detect on reading, "," on writing.
    char CSVDelimiter = '\0';
    bool CSVJavaStyle = false;
};

// Line breaks in memory are CR LF: an LF without a CR before it becomes one.
AnsiString LoneLfToCrLf(std::string_view Text);

// The message of a file whose header the grid cannot hold.
AnsiString CorruptFileMessage(std::string_view FileName);

// The largest file a reader takes (and an append adds to): the grid holds at most
// TCustomGridData::kMaxCells cells, at 16 bytes a cell about this much text. A larger file is
// refused by its size, before a byte of it is read.
constexpr int64_t kMaxGridFileBytes = int64_t{1} << 30;
// The message of a file beyond kMaxGridFileBytes.
AnsiString TooLargeFileMessage(std::string_view FileName);

// --- The grid file (GridFileText.cpp).
AnsiString GridFileText(const TCellModel& Grid, const TGridFileSettings& Settings, TFileProgress& Progress);
// Raises ECellGridError "File contains no data or corrupt file " + FileName when the header
// gives no cells or more than the grid can hold; nothing has changed then.
void LoadGridFileText(TCellModel& Grid, std::string_view Bytes, std::string_view FileName,
                      const TGridFileSettings& Settings, TFileProgress& Progress);
// The stream form: texts only, indexes relative to the save range.
AnsiString GridStreamText(const TCellModel& Grid);
// Reads from the stream's position to its end. A malformed number raises EConvertError with
// the cells read so far kept.
void LoadGridStream(TCellModel& Grid, TStream& Stream, bool Multilinecells);

// --- CSV (GridCsv.cpp).
AnsiString CSVText(const TCellModel& Grid, const TGridFileSettings& Settings, TFileProgress& Progress);
// One field as written (quoted when it holds the delimiter, a quote or a line break).
AnsiString CSVField(std::string_view Text, char Delimiter, bool JavaStyle);
// The delimiter the first two records agree on, counted outside quotes; '\0' when none does.
char DetectCSVDelimiter(std::string_view Bytes);
// With Insert the rows go after the existing ones; otherwise they replace the normal rows. A
// file the grid cannot hold raises the corrupt-file message before anything changes.
void LoadCSVText(TCellModel& Grid, std::string_view Bytes, std::string_view FileName, bool Insert,
                 const TGridFileSettings& Settings, TFileProgress& Progress);

// --- Fixed width and aligned text (GridFixedText.cpp).
// The longest line of a display column in bytes (lines split at CR when Multiline).
int MaxCharsInCol(const TCellModel& Grid, int ACol, bool Multiline);
// Widths grows by one entry (longest line + 1) for each column of the save range it lacks.
AnsiString FixedText(const TCellModel& Grid, std::vector<int>& Widths, bool Multiline);
// Positions are 1-based starts of columns; fewer than two load nothing.
void LoadFixedText(TCellModel& Grid, std::string_view Bytes, std::string_view FileName,
                   const std::vector<int>& Positions);
using TCellAlignment = std::function<TAlignment(int ACol, int ARow)>;
AnsiString ASCIIText(const TCellModel& Grid, bool Multiline, const TCellAlignment& Alignment);

// --- HTML and XML (GridExport.cpp).
// How a cell looks in the export: colours as RGB or kUnsetColor, and the font styles.
struct THtmlCellLook {
    static constexpr int32_t kUnsetColor = 0x7FFFFFFF;
    int32_t Back = kUnsetColor;
    int32_t Text = kUnsetColor;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
};
struct THtmlExport {
    const THTMLSettings* Settings = nullptr;
    bool WordWrap = false;
    bool URLShow = false;
    bool URLFull = false;
    // The RGB of the fixed cells' background (the active border's system colour).
    int32_t FixedBack = 0;
    TCellAlignment Alignment;
    // The colours and styles of a cell (display column, row), starting from unset ones.
    std::function<THtmlCellLook(int ACol, int ARow)> Look;
};
// The table lines (prefix through suffix), each ended by CR LF; the control adds the header
// and footer files.
AnsiString HTMLTable(const TCellModel& Grid, const THtmlExport& Export);
// The cell text as the export writes it: CR as "<br>", links when URLShow, "<br>" for empty.
AnsiString HTMLCellText(std::string_view Text, bool URLShow, bool URLFull);
// UTF-8, with "&", "<" and ">" escaped and the control characters XML forbids as U+FFFD. A tag
// (list, record, or the field tag of a column written) that is no XML name raises ECellGridError
// "Invalid XML tag name" with the tag in quotes.
AnsiString XMLText(const TCellModel& Grid, std::string_view ListTag, std::string_view RecordTag,
                   const std::vector<AnsiString>& FieldTags);
