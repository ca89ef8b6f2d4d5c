// Spreadsheets and documents: the grid drives the automation objects of "excel.application"
// and "word.application" (platform/gui/OleAutomation.h) with a fixed sequence of calls. A
// server that cannot be made, or whose file kind needs LibreOffice where there is none, gives
// the "... OLE server not found" message; a missing worksheet closes the workbook and quits
// before it is reported; the hourglass shows for each run and goes whatever happens. A sheet
// keeps a cell's line breaks as LF; they come back as CR LF.

#include "grid/control/CellGrid.h"
#include "grid/model/Cgutil.h"
#include "platform/gui/Forms.h"
#include "platform/gui/OfficeConvert.h"
#include "platform/gui/OfficePackage.h"
#include "platform/gui/OleAutomation.h"

namespace {

// The hourglass for one run; the server is quit when the run raises after making it.
class TAutomationRun {
public:
    explicit TAutomationRun(const char* ProgId, const char* Missing) : FMissing(Missing)
    {
        if (Screen)
            Screen->SetCursor(crHourGlass);
        try {
            FApp = TOleVariant(CreateOleObject(ProgId));
        } catch (...) {
            Restore();
            throw ECellGridError(FMissing);
        }
    }
    ~TAutomationRun()
    {
        if (FApp.Object() && !FQuit) {
            try {
                OleCall(FApp, "Quit");
            } catch (...) {}
        }
        Restore();
    }
    TAutomationRun(const TAutomationRun&) = delete;
    TAutomationRun& operator=(const TAutomationRun&) = delete;

    const TOleVariant& App() const { return FApp; }
    void Quit()
    {
        FQuit = true;
        OleCall(FApp, "Quit");
    }
    // Runs the steps; LibreOffice missing for the file's kind reads as the server missing.
    template <class Steps>
    void Run(Steps steps)
    {
        try {
            steps();
        } catch (const EOfficeMissing&) {
            throw ECellGridError(FMissing);
        }
    }

private:
    void Restore()
    {
        if (Screen)
            Screen->SetCursor(crDefault);
    }
    TOleVariant FApp;
    const char* FMissing;
    bool FQuit = false;
};

// A corner of an absolute address ("$AB$12"): its column and row, -1 each when unreadable.
void ReadCorner(std::string_view Corner, int& Col, int& Row)
{
    Col = Row = -1;
    if (!Corner.empty() && Corner.front() == '$')
        Corner.remove_prefix(1);
    const size_t dollar = Corner.find('$');
    if (dollar == std::string_view::npos)
        return;
    const int col = ColumnNumber(Corner.substr(0, dollar));
    int row = 0;
    if (col > 0 && TryStrToInt(Corner.substr(dollar + 1), row) && row > 0) {
        Col = col;
        Row = row;
    }
}

AnsiString Corner(int Col, int Row) { return ColumnLetters(Col) + std::to_string(Row); }

// The sheet of the workbook named SheetName (the last of equal names), or empty.
TOleVariant FindSheet(const TOleVariant& Workbook, const AnsiString& SheetName)
{
    TOleVariant found;
    const int count = OleCall(OleCall(Workbook, "Sheets"), "Count").Value().AsInteger();
    for (int i = 1; i <= count; ++i) {
        const TOleVariant sheet = OleGet(Workbook, "Sheets", {TOleVariant(i)});
        if (OleCall(sheet, "Name").AsString() == SheetName)
            found = sheet;
    }
    return found;
}

}  // namespace

void TCellGrid::LoadXLS(const AnsiString& FileName, const AnsiString& SheetName)
{
    TAutomationRun run("excel.application", "Excel OLE server not found");
    run.Run([&] {
        const TOleVariant workbook = OleCall(OleCall(run.App(), "WorkBooks"), "Open", {TOleVariant(FileName)});
        if (workbook.IsEmpty())
            throw ECellGridError("Cannot open file " + FileName);
        TOleVariant sheet;
        if (SheetName.empty()) {
            sheet = OleCall(workbook, "ActiveSheet");
        } else {
            sheet = FindSheet(workbook, SheetName);
            if (sheet.IsEmpty()) {
                OleCall(workbook, "Close", {}, {{"SaveChanges", TOleVariant(false)}});
                run.Quit();
                throw ECellGridError("Excel worksheet " + SheetName + " not found");
            }
        }
        // The used range: two corners, or one for a single used cell.
        const AnsiString address = OleCall(OleCall(sheet, "UsedRange"), "Address").AsString();
        const size_t colon = address.find(':');
        int firstCol, firstRow, lastCol, lastRow;
        ReadCorner(std::string_view(address).substr(0, colon), firstCol, firstRow);
        if (colon == AnsiString::npos) {
            lastCol = firstCol;
            lastRow = firstRow;
        } else {
            ReadCorner(std::string_view(address).substr(colon + 1), lastCol, lastRow);
        }
        const int fc = SaveIncludesFixed ? 0 : FixedCols(), fr = SaveIncludesFixed ? 0 : FixedRows();
        const bool valid = firstCol > 0 && firstRow > 0 && lastCol >= firstCol && lastRow >= firstRow;
        if (valid && int64_t{lastCol - firstCol + 1 + fc} * int64_t{lastRow - firstRow + 1 + fr} > kMaxCells) {
            OleCall(workbook, "Close", {}, {{"SaveChanges", TOleVariant(false)}});
            throw ECellGridError(CorruptFileMessage(FileName));
        }
        if (valid) {
            SetColCount(lastCol - firstCol + 1);
            SetRowCount(lastRow - firstRow + 1);
        }
        const AnsiString range = valid ? Corner(firstCol, firstRow) + ":" + Corner(lastCol, lastRow) : AnsiString("A1");
        const TOleVariant values = OleCall(OleGet(sheet, "Range", {TOleVariant(range)}), "value");
        SetColCount(ColCount() + fc);
        SetRowCount(RowCount() + fr);
        if (const std::shared_ptr<TOleArray>& array = values.Array()) {
            // The sheet's values, and empty where the grid held text: a sheet costs what it
            // holds, not its used range.
            const int rows = std::min(RowCount() - fr, array->RowHigh()),
                      cols = std::min(ColCount() - fc, array->ColHigh());
            for (int i = 1; i <= rows; ++i)
                for (int j = 1; j <= cols && j - 1 + fc < CellStore().StoredCols(i - 1 + fr); ++j)
                    if (!Cells(j - 1 + fc, i - 1 + fr).empty() && !array->Items().count({i, j}))
                        SetCells(j - 1 + fc, i - 1 + fr, AnsiString());
            for (const auto& [at, value] : array->Items())
                if (at.first >= 1 && at.first <= rows && at.second >= 1 && at.second <= cols)
                    SetCells(at.second - 1 + fc, at.first - 1 + fr, LoneLfToCrLf(value.AsString()));
        } else if (!values.IsEmpty() && RowCount() > fr && ColCount() > fc) {
            SetCells(fc, fr, LoneLfToCrLf(values.AsString()));
        }
        OleCall(workbook, "Close", {}, {{"SaveChanges", TOleVariant(false)}});
        run.Quit();
    });
}

void TCellGrid::SaveXLS(const AnsiString& FileName, const AnsiString& SheetName)
{
    TAutomationRun run("excel.application", "Excel OLE server not found");
    run.Run([&] {
        const TOleVariant books = OleCall(run.App(), "WorkBooks");
        bool isNew = true;
        TOleVariant workbook, sheet;
        if (SheetName.empty()) {
            workbook = OleCall(books, "Add");
            sheet = OleCall(OleCall(workbook, "WorkSheets"), "Add");
        } else {
            workbook = OleCall(books, "Open", {TOleVariant(FileName)});
            if (workbook.IsEmpty())
                workbook = OleCall(books, "Add");
            else
                isNew = false;
            sheet = FindSheet(workbook, SheetName);
            if (sheet.IsEmpty()) {
                sheet = OleCall(OleCall(workbook, "WorkSheets"), "Add");
                OlePut(sheet, "Name", TOleVariant(SheetName));
            }
        }
        const int fc = SaveIncludesFixed ? 0 : FixedCols(), fr = SaveIncludesFixed ? 0 : FixedRows();
        const int rows = RowCount() - fr, cols = ColCount() - fc;
        if (rows > 0 && cols > 0) {
            // Only the texts: an item left empty empties its cell as an empty text does, and the
            // array costs what the grid holds.
            auto array = std::make_shared<TOleArray>(0, rows - 1, 0, cols - 1);
            for (int r = fr; r < RowCount(); ++r)
                for (int c = fc; c < ColCount(); ++c)
                    if (AnsiString text = LineFeedsToXLS(Cells(RemapCol(c), r)); !text.empty())
                        array->At(r - fr, c - fc) = TOleVariant(std::move(text));
            OlePut(OleGet(sheet, "Range", {TOleVariant("A1:" + Corner(cols, rows))}), "Value", TOleVariant(array));
        }
        if (isNew)
            OleCall(workbook, "SaveAs", {TOleVariant(FileName)});
        else
            OleCall(workbook, "Save");
        run.Quit();
    });
}

void TCellGrid::SaveToDOC(const AnsiString& FileName)
{
    TAutomationRun run("word.application", "Word OLE server not found");
    run.Run([&] {
        const TOleVariant document = OleCall(OleCall(run.App(), "Documents"), "Add");
        const TOleVariant range = OleCall(document, "Range", {}, {{"start", TOleVariant(0)}, {"end", TOleVariant(0)}});
        const TOleVariant table =
            OleCall(OleCall(document, "Tables"), "Add", {range},
                    {{"numrows", TOleVariant(RowCount())}, {"numcolumns", TOleVariant(ColCount())}});
        for (int r = 1; r <= RowCount(); ++r)
            for (int c = 1; c <= ColCount(); ++c) {
                const TOleVariant cell =
                    OleCall(table, "Cell", {}, {{"row", TOleVariant(r)}, {"column", TOleVariant(c)}});
                OleCall(OleCall(cell, "Range"), "InsertAfter", {TOleVariant(Cells(RemapCol(c - 1), r - 1))});
                const TAlignment alignment = GetCellAlignment(RemapCol(c - 1), r - 1);
                if (alignment != taLeftJustify)
                    OlePut(OleCall(OleCall(cell, "Range"), "ParagraphFormat"), "Alignment",
                           TOleVariant(alignment == taRightJustify ? 2 : 1));
            }
        OleCall(document, "SaveAs", {TOleVariant(FileName)});
        run.Quit();
    });
}
