#pragma once
// The grid's page engine without a canvas: print widths of the columns, fit to page, column
// slices that fit across a page, rows cut into pages, repeated fixed rows and columns, header
// and footer slots with their texts and places, the border lines, and the page window that
// decides what is drawn. What needs a canvas (measuring cell texts, drawing a cell, a line or a
// header text, starting a printer page) and the grid's events go through IPrintTarget.
//
// Geometry is in tenths of a millimetre, x to the right from the page's left edge and y DOWN
// from its top edge; a target on a canvas in MM_LOMETRIC (y growing up) negates y.

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "grid/model/CellGridTypes.h"
#include "platform/core/AnsiString.h"
#include "platform/core/DateTime.h"
#include "platform/core/Geometry.h"
#include "platform/core/GridData.h"

// Counting for the printer or a preview, drawing on the printer or into a preview.
enum TPrintMethod { prPrint, prPreview, prCalcPrint, prCalcPreview };

inline bool PrintMethodDraws(TPrintMethod Method) { return Method == prPrint || Method == prPreview; }

// What the engine reads of the print settings (the fonts are the target's).
struct TPrintPageSettings {
    TPrintPosition Time = ppNone, Date = ppNone, PageNr = ppNone, Title = ppNone;
    AnsiString PageNumSep = "/", DateFormat = "dd/mm/yyyy", TitleText, PagePrefix, PageSuffix;
    std::vector<AnsiString> TitleLines;
    TPrintBorders Borders = pbNoborder;
    bool Centered = false, RepeatFixedRows = false, RepeatFixedCols = false;
    int FooterSize = 0, HeaderSize = 0, LeftSize = 0, RightSize = 0;
    int ColumnSpacing = 0, RowSpacing = 0, TitleSpacing = 0;
    int FixedHeight = 0, FixedWidth = 0;
    bool UseFixedHeight = false, UseFixedWidth = false;
    TFitToPage FitToPage = fpNever;
    bool NoAutoSize = false;
};

// The fonts' measures on the target: the "gh" heights of the header, footer and cell fonts,
// and the width of "a" in the cell font (the text inset).
struct TPrintFontMetrics {
    int HeaderLine = 0, FooterLine = 0, TextHeight = 0, Inset = 0;
};

// One run of the engine.
struct TPrintJob {
    TPrintMethod Method = prCalcPrint;
    // The total shown in page numbers (-1 when counting).
    int PageTotal = -1;
    // The page window: only its pages are drawn.
    int FirstPage = 1, LastPage = 1;
    // Display columns and rows, both ends included.
    TGridRect Range{};
    int FixedRows = 0, FixedCols = 0;
    // The page in 0.1 mm.
    int PageWidth = 0, PageHeight = 0;
    // Screen pixels to 0.1 mm (the screen column widths of NoAutoSize).
    double ScreenFactor = 254.0 / 96;
    // The time and date the header and footer show.
    TDateTime Now = 0;
};

// What a grid keeps between print runs: the page window (1 to 1 until a run sets it), the page
// count of the last run, the range laid out and the page in 0.1 mm.
struct TPrintState {
    int FirstPage = 1, LastPage = 1, PageCount = 0;
    TGridRect Range{};
    int PageWidth = 0, PageHeight = 0;
};

// Where one cell of a drawn row goes.
struct TPrintCell {
    int Col = 0, Row = 0;  // display column, row
    TRect Rect;            // from the column's offset to the next one, from the row's top down by its advance
    int Advance = 0;       // the row's advance
    double Scale = 1.0;    // the fit-to-page factor the cell's fonts take
};

class IPrintTarget {
public:
    virtual ~IPrintTarget() = default;

    // --- Measuring (display column and row; 0.1 mm).
    virtual int MeasureCellWidth(int Col, int Row) = 0;
    virtual int MeasureCellHeight(int Col, int Row) = 0;
    // The base grid's width of the display column, in screen pixels.
    virtual int ScreenColWidth(int Col) = 0;
    virtual int HeaderTextWidth(const AnsiString& Text) = 0;
    virtual int FooterTextWidth(const AnsiString& Text) = 0;

    // --- The grid's events. FitToPage answers whether scaling is allowed; RowHeight answers
    // whether OnPrintSetRowHeight is assigned (it then has had its say on Height).
    virtual bool FitToPage(double& Scale) { return true; }
    virtual void ColumnWidth(int Col, int& Width) {}
    virtual bool RowHeight(int Row, int& Height) { return false; }
    virtual void NewPageAfter(int NextRow, bool& NewPage) {}
    // OnPrintPage: a page of the page window begins (and once, with 1, when printing begins).
    virtual void PageBegins(int Page, int Width, int Height) {}
    // A further page begins on the printer (never for a preview).
    virtual void NewPrinterPage() {}

    // --- Drawing (only pages inside the page window, only when the method draws).
    virtual void DrawCell(const TPrintCell& Cell) = 0;
    virtual void DrawLine(int X1, int Y1, int X2, int Y2) = 0;
    // An outline without filling.
    virtual void DrawFrame(const TRect& R) = 0;
    virtual void DrawHeaderText(bool Footer, int X, int Y, const AnsiString& Text) = 0;
};

// One run: lays the range out and draws through the target. Widths and offsets are kept for
// every column of the grid (the last slice's offsets, as the page being laid out left them).
// The settings' lengths are cut to what a page holds, and so is every size the target measures
// or its events give (a column or row is at most kMaxPageLength); positions are summed in 64
// bits and handed on cut to kMaxPageCoord, so no setting or text can overflow the layout.
constexpr int kMaxPageCoord = 1 << 24;
// A position on the page as a target gets it.
inline int PageCoord(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -kMaxPageCoord, kMaxPageCoord)); }

class TPrintPages {
public:
    TPrintPages(const TPrintPageSettings& Settings, const TPrintFontMetrics& Metrics, const TPrintJob& Job,
                IPrintTarget& Target);

    // Returns the number of pages.
    int Run();

    const std::vector<int>& Widths() const { return FWidths; }
    const std::vector<int>& Offsets() const { return FOffsets; }
    double Scale() const { return FScale; }
    int Slices() const { return static_cast<int>(FSlices.size()); }
    // The page-number text of a page (page within its slice, slice from 1).
    AnsiString PageText(int Page, int SlicePage, int Slice) const;
    // The six slots' texts of a page, ppTopLeft first.
    std::array<AnsiString, 6> SlotTexts(int Page, int SlicePage, int Slice) const;
    // The spacing unit S and the reserves above and below the rows.
    int Spacing() const { return FS; }
    int TopReserve() const;
    int BottomReserve() const;

private:
    struct TSlice {
        int First = 0, Last = 0;
        bool RepeatCols = false;
        std::vector<int> Offsets;  // columns First..Last+1, by column - First
        int64_t RepeatLeft = 0;    // the repeated fixed columns' left edge, when repeating
    };
    void MeasureColumns();
    void FitColumns();
    void CutSlices();
    void PrintSlice(size_t Index);
    int RowTextHeight(int Row);
    int MeasureRowTextHeight(int Row);
    int RowAdvance(int Row);
    void PrintRow(const TSlice& Slice, int Row, bool Draw);
    // A repeated fixed column's left edge (FixedCols: the block's right edge) beside a slice.
    int RepeatOffset(const TSlice& Slice, int Col) const;
    void DrawRun(int First, int Last, const std::function<int(int)>& Offset, int Row, int Advance);
    void DrawHeaderFooter(int SlicePage, int Slice);
    void DrawPageBorders(const TSlice& Slice);
    // Page begins after the current one: the printer turns a page, OnPrintPage fires.
    void AdvancePage(int Page);
    bool PageInWindow(int Page) const { return Page >= FJob.FirstPage && Page <= FJob.LastPage; }
    bool Drawing() const { return PrintMethodDraws(FJob.Method) && PageInWindow(FPages + 1); }
    int SlotX(TPrintPosition Position, int Width) const;

    const TPrintPageSettings FSettings;
    const TPrintFontMetrics& FMetrics;
    const TPrintJob& FJob;
    IPrintTarget& FTarget;
    int FS = 0;      // spacing unit
    int FSpace = 0;  // column spacing C
    double FScale = 1.0;
    std::vector<int> FWidths, FOffsets;
    std::vector<TSlice> FSlices;
    // The fixed columns' left edges from the repeated block's left (0..FixedCols), alike for
    // every slice: kept once, not once a slice.
    std::vector<int64_t> FRepeatStarts;
    int FPages = 0;    // pages counted so far; the page being built is FPages + 1
    int64_t FPos = 0;  // the position down the page
    // Text heights of the rows asked so far (-1: not yet): the range's rows, then the fixed rows
    // above it that are repeated. Every slice and every repeat asks again.
    std::vector<int> FRangeHeights, FFixedHeights;
};
