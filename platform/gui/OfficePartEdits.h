#pragma once
// The parts of a workbook package and the edits that write it back: a written sheet merged into
// its part, new sheets added to the sheet list, and the few parts that list sheets (workbook,
// its relationships, content types, document properties) brought in line. Parts nothing
// changed are not touched.

#include <QString>
#include <string>
#include <vector>

#include "platform/gui/OfficeWorkbook.h"

class TZipReader;

constexpr const char* kSheetMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kWorksheetContentType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
constexpr const char* kWorksheetRelType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";

struct TRelationship {
    QString Id, Type;
    std::string Part;  // the target's entry, for one inside the package
    bool External = false;
};

// Where a workbook's parts are, as its package names them.
struct TWorkbookParts {
    std::vector<TRelationship> Root;  // the package's own relationships
    std::string Workbook, Rels;       // the workbook part and its relationships part
    std::vector<TRelationship> WorkbookRels;
    std::string Shared;  // the shared strings, "" when there are none
    QString Ns;          // the workbook's main namespace
};

// "xl/" of "xl/workbook.xml".
std::string PartFolder(const std::string& Part);
// A relationship's target as an entry name, from the folder of the part that has it.
std::string ResolvedTarget(const std::string& Folder, QStringView Target);
// "xl/_rels/workbook.xml.rels" of "xl/workbook.xml".
std::string RelationshipsPart(const std::string& Part);
// The relationships of the part Of, kept in Part.
std::vector<TRelationship> ReadRelationships(TZipReader& Zip, const std::string& Part, const std::string& Of,
                                             int MaxDepth);
// "A1" into (row, column); false when it is no cell reference inside the sheet.
bool CellReference(QStringView Text, int& Row, int& Col);
// The first relationship inside the package whose type ends in "/" Kind.
const TRelationship* RelationshipOfType(const std::vector<TRelationship>& Rels, QStringView Kind);

// The package Original holding Book (TXlsxPackage::Written).
std::string PatchedWorkbook(TZipReader& Zip, const std::string& Original, const TWorkbookParts& Parts,
                            const std::vector<TListedSheet>& Listed, int MaxDepth,
                            const std::vector<TSheetWrite>& Book);
