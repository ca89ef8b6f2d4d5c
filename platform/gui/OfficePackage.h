#pragma once
// Office Open XML packages without an office program: workbooks (.xlsx) read and written, and
// documents (.docx) written, through libzip and Qt's XML stream classes. Texts are cp949 here
// and UTF-8 in the files. What a file controls is bounded: sizes, depth, counts. Writing into a
// workbook that was opened keeps its other parts (OfficeWorkbook.h).

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Variant.h"

// Excel's own sheet size: cells beyond it in a file are skipped.
constexpr int kMaxSheetRows = 1048576;
constexpr int kMaxSheetCols = 16384;

// What one workbook may cost, beyond anything a player's workbook holds; past a bound the file
// is refused with EOleException "The workbook is too large: ...". A part inflates to at most
// kMaxPackageEntryBytes and the parts one workbook reads to kMaxPackageBytes together (a
// sheet list naming one large part many times costs it once); elements nest at most
// kMaxXmlDepth deep; the sheets hold at most kMaxWorkbookCells cells with a value, and the
// shared strings as many texts; the cells' texts take at most kMaxWorkbookTextBytes together (a
// shared text counts at each cell that uses it, since each cell holds its own copy); the file is
// at most kMaxWorkbookFileBytes.
constexpr size_t kMaxPackageEntryBytes = size_t{256} << 20;
constexpr size_t kMaxPackageBytes = size_t{512} << 20;
constexpr int kMaxXmlDepth = 256;
constexpr int64_t kMaxWorkbookCells = int64_t{1} << 21;
constexpr size_t kMaxWorkbookTextBytes = size_t{256} << 20;
constexpr int64_t kMaxWorkbookFileBytes = int64_t{256} << 20;

struct TWorkbookLimits {
    size_t EntryBytes = kMaxPackageEntryBytes;
    size_t TotalBytes = kMaxPackageBytes;
    int Depth = kMaxXmlDepth;
    int64_t Cells = kMaxWorkbookCells;
    size_t TextBytes = kMaxWorkbookTextBytes;
};

// A box of cells, 1-based, corners included.
struct TCellBox {
    int Top = 1, Left = 1, Bottom = 1, Right = 1;
    bool Holds(int Row, int Col) const { return Row >= Top && Row <= Bottom && Col >= Left && Col <= Right; }
    bool operator==(const TCellBox&) const = default;
};

struct TSheetData {
    AnsiString Name;
    // (row, column), 1-based; numbers as doubles, everything else as text. Only cells with a
    // value are kept, so a sheet costs what it holds whatever its used range.
    std::map<std::pair<int, int>, Variant> Cells;
};

struct TWorkbookData {
    std::vector<TSheetData> Sheets;
    int Active = 0;
};

// Every sheet of a workbook; raises EOleException with the reason when the bytes are no
// workbook or one past the limits.
TWorkbookData ReadXlsx(const std::string& Bytes, const TWorkbookLimits& Limits = {});
// A new workbook of these sheets.
std::string XlsxBytes(const TWorkbookData& Workbook);

// Paragraph alignment as the document object model numbers it.
enum TDocAlignment { daLeft = 0, daCenter = 1, daRight = 2 };
struct TDocCell {
    AnsiString Text;
    TDocAlignment Alignment = daLeft;
};
struct TDocTable {
    int Rows = 0;
    int Cols = 0;
    std::vector<TDocCell> Cells;  // row by row
};
struct TDocumentData {
    std::vector<TDocTable> Tables;
};
std::string DocxBytes(const TDocumentData& Document);

// A cell's column in letters ("A", "Z", "AA", ... any length) and back (0 when not letters or
// past the sheet).
std::string ColumnLetters(int Col);
int ColumnNumber(std::string_view Letters);
// A box as "B3:D5", or "B3" for a single cell; "$B$3:$D$5" when Absolute.
std::string BoxReference(const TCellBox& Box, bool Absolute);
