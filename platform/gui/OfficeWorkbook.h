#pragma once
// A workbook package as it was opened: its sheet list read at once, a sheet's cells when they
// are asked for, and the package written back with some sheets written or added. Only what was
// written changes: a written sheet's part (the cells of the boxes written; its other cells,
// formulas, styles, widths and merges stay), and for new or renamed sheets the workbook's sheet
// list (workbook part, its relationships, content types, the document properties' sheet
// titles). Every other part keeps its stored bytes.

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/OfficePackage.h"

class QXmlStreamWriter;

// A sheet as the workbook lists it.
struct TListedSheet {
    AnsiString Name;
    std::string Part;       // its part's entry
    bool Worksheet = true;  // chart sheets and the like hold no cells
};

// One sheet of the workbook to write, in the workbook's order.
struct TSheetWrite {
    int Listed = -1;                   // its place in the opened workbook's list; -1 for a new sheet
    const TSheetData* Data = nullptr;  // its name, and its cells where any were written
    std::vector<TCellBox> Written;     // the boxes written into a listed sheet
};

class TXlsxPackage {
public:
    // Reads the sheet list; raises EOleException for no workbook or one past the limits.
    explicit TXlsxPackage(std::string Bytes, const TWorkbookLimits& Limits = {});
    ~TXlsxPackage();
    TXlsxPackage(const TXlsxPackage&) = delete;
    TXlsxPackage& operator=(const TXlsxPackage&) = delete;

    const std::vector<TListedSheet>& Sheets() const;
    int Active() const;
    // A listed sheet's cells into Sheet; raises as the constructor does. What the sheets read
    // hold counts against the limits together.
    void ReadCells(size_t Index, TSheetData& Sheet);
    // The package holding Book, which lists every listed sheet once. A new sheet goes where
    // Book puts it; the sheet that was active stays active.
    std::string Written(const std::vector<TSheetWrite>& Book) const;

private:
    struct TState;
    std::unique_ptr<TState> F;
};

// For the workbook writers: a cell (row, column) with its value and style ("" for none), and a
// new sheet's part in the main namespace Ns (with the prefix Prefix, "" or "x:").
void WriteCell(QXmlStreamWriter& Xml, const QString& Prefix, int Row, int Col, const Variant& Value,
               const QString& Style);
std::string SheetXml(const TSheetData& Sheet, const QString& Ns);
