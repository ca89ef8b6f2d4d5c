#pragma once
// Office Open XML packages without an office program: workbooks (.xlsx) read and written, and
// documents (.docx) written, through libzip and Qt's XML stream classes. Texts are cp949 here
// and UTF-8 in the files. What a file controls is bounded: entry sizes, sheet sizes, counts.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Variant.h"

// Excel's own sheet size: cells beyond it in a file are skipped.
constexpr int kMaxSheetRows = 1048576;
constexpr int kMaxSheetCols = 16384;
// An entry that inflates past this is refused as a broken file.
constexpr size_t kMaxPackageEntryBytes = size_t{256} << 20;

struct TSheetData {
    AnsiString Name;
    // (row, column), 1-based; numbers as doubles, everything else as text.
    std::map<std::pair<int, int>, Variant> Cells;
};

struct TWorkbookData {
    std::vector<TSheetData> Sheets;
    int Active = 0;
};

// Raises EOleException with the reason when the bytes are no workbook.
TWorkbookData ReadXlsx(const std::string& Bytes);
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
