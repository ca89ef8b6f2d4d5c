// Printing: the printer run (count, OnPrintStart, the job) and the page engine on a canvas: its
// fonts' measures, the page size by method, the grid's events, lines, header and footer texts,
// and the column geometry the run leaves behind.

#include "grid/control/CellGridPrint.h"

#include <algorithm>
#include <cmath>

#include "platform/core/DateTime.h"
#include "platform/gui/MapMode.h"
#include "platform/gui/Printers.h"

namespace {

// The widths and offsets GetPrintColWidth and GetPrintColOffset read.
constexpr size_t kReadablePrintColumns = 256;

TPrintPageSettings PageSettingsOf(TPrintsettings& P)
{
    TPrintPageSettings s;
    s.Time = P.Time, s.Date = P.Date, s.PageNr = P.PageNr, s.Title = P.Title;
    s.PageNumSep = P.PageNumSep, s.DateFormat = P.DateFormat, s.TitleText = P.TitleText;
    s.PagePrefix = P.PagePrefix, s.PageSuffix = P.PageSuffix;
    for (int i = 0; i < P.TitleLines()->Count(); ++i)
        s.TitleLines.push_back(P.TitleLines()->Strings(i));
    s.Borders = P.Borders;
    s.Centered = P.Centered, s.RepeatFixedRows = P.RepeatFixedRows, s.RepeatFixedCols = P.RepeatFixedCols;
    s.FooterSize = P.FooterSize, s.HeaderSize = P.HeaderSize, s.LeftSize = P.LeftSize, s.RightSize = P.RightSize;
    s.ColumnSpacing = P.ColumnSpacing, s.RowSpacing = P.RowSpacing, s.TitleSpacing = P.TitleSpacing;
    s.FixedHeight = P.FixedHeight, s.FixedWidth = P.FixedWidth;
    s.UseFixedHeight = P.UseFixedHeight, s.UseFixedWidth = P.UseFixedWidth;
    s.FitToPage = P.FitToPage, s.NoAutoSize = P.NoAutoSize;
    return s;
}

// The page engine's target on a canvas.
class TCanvasPrintTarget : public IPrintTarget {
public:
    TCanvasPrintTarget(TPrintRun& Run, TPen& BorderPen) : FRun(Run), FGrid(Run.Grid), FBorderPen(BorderPen) {}

    int MeasureCellWidth(int Col, int Row) override { return Measure(Col, Row).x; }
    int MeasureCellHeight(int Col, int Row) override { return Measure(Col, Row).y; }
    int ScreenColWidth(int Col) override { return FGrid.ColWidths(Col); }
    int HeaderTextWidth(const AnsiString& Text) override
    {
        return TextWidth(FGrid.PrintSettings()->HeaderFont(), Text);
    }
    int FooterTextWidth(const AnsiString& Text) override
    {
        return TextWidth(FGrid.PrintSettings()->FooterFont(), Text);
    }

    bool FitToPage(double& Scale) override
    {
        bool allow = true;
        if (FGrid.OnFitToPage) {
            FGrid.OnFitToPage(&FGrid, Scale, allow);
            FRun.CheckAlive();
        }
        return allow;
    }
    void ColumnWidth(int Col, int& Width) override
    {
        if (FGrid.OnPrintSetColumnWidth) {
            FGrid.OnPrintSetColumnWidth(&FGrid, Col, Width);
            FRun.CheckAlive();
        }
    }
    bool RowHeight(int Row, int& Height) override
    {
        if (!FGrid.OnPrintSetRowHeight)
            return false;
        FGrid.OnPrintSetRowHeight(&FGrid, Row, Height);
        FRun.CheckAlive();
        return true;
    }
    void NewPageAfter(int NextRow, bool& NewPage) override
    {
        if (FGrid.OnPrintNewPage) {
            FGrid.OnPrintNewPage(&FGrid, NextRow, NewPage);
            FRun.CheckAlive();
        }
    }
    void PageBegins(int Page, int Width, int Height) override
    {
        if (FGrid.OnPrintPage) {
            FGrid.OnPrintPage(&FGrid, FRun.Canvas, Page, Width, Height);
            FRun.CheckAlive();
        }
    }
    void NewPrinterPage() override
    {
        Printer()->NewPage();
        // A new printer page starts in the device's own units.
        SetMapMode(FRun.Canvas, MM_LOMETRIC);
    }

    void DrawCell(const TPrintCell& Cell) override { PrintGridCell(FRun, Cell); }
    void DrawLine(int X1, int Y1, int X2, int Y2) override
    {
        TCanvas* c = FRun.Canvas;
        c->Pen()->Assign(&FBorderPen);
        c->MoveTo(X1, -Y1);
        c->LineTo(X2, -Y2);
    }
    void DrawFrame(const TRect& R) override
    {
        TCanvas* c = FRun.Canvas;
        c->Pen()->Assign(&FBorderPen);
        c->Polyline({TPoint{R.Left, -R.Top}, TPoint{R.Right, -R.Top}, TPoint{R.Right, -R.Bottom},
                     TPoint{R.Left, -R.Bottom}, TPoint{R.Left, -R.Top}});
    }
    void DrawHeaderText(bool Footer, int X, int Y, const AnsiString& Text) override
    {
        TCanvas* c = FRun.Canvas;
        const TPrintsettings& p = *FGrid.PrintSettings();
        const TBrushStyle brush = c->Brush()->Style();
        c->Brush()->SetStyle(bsClear);
        SetMappedFont(c, Footer ? p.FooterFont() : p.HeaderFont());
        c->TextOut(X, -Y, Text);
        SetMappedFont(c, p.Font());
        c->Brush()->SetStyle(brush);
    }

    // The canvas font as a print font: its point size as a height in 0.1 mm.
    void SetMappedFont(TCanvas* Canvas, TFont* Font)
    {
        Canvas->Font()->Assign(Font);
        Canvas->Font()->SetHeight(FGrid.MapFontHeight(Font->Size()));
    }

private:
    TPoint Measure(int Col, int Row)
    {
        const int width = FRun.Widths && static_cast<size_t>(Col) < FRun.Widths->size()
            ? (*FRun.Widths)[static_cast<size_t>(Col)]
            : 0;
        const TPoint size = FGrid.GetPrintTextSize(FRun.Measure, FGrid.RemapCol(Col), Row, width);
        FRun.CheckAlive();
        return size;
    }
    int TextWidth(TFont* Font, const AnsiString& Text)
    {
        if (Text.empty())
            return 0;
        TFont kept;
        kept.Assign(FRun.Measure->Font());
        SetMappedFont(FRun.Measure, Font);
        const int width = FRun.Measure->TextWidth(Text);
        FRun.Measure->Font()->Assign(&kept);
        return width;
    }

    TPrintRun& FRun;
    TCellGrid& FGrid;
    TPen& FBorderPen;
};

}  // namespace

void TCellGrid::Print() { PrintRect(TGridRect{0, 0, ColCount() - 1, RowCount() - 1}); }

void TCellGrid::PrintRect(const TGridRect& Range)
{
    TPrinter* printer = Printer();
    FPrintState.Range = Range;
    printer->SetOrientation(PrintSettings()->Orientation);
    // The printable page in 0.1 mm, converted as the printer's canvas converts its clip.
    TCanvas* canvas = printer->Canvas();
    const int mode = SetMapMode(canvas, MM_LOMETRIC);
    TPoint corner{printer->PageWidth(), printer->PageHeight()};
    DPtoLP(canvas, &corner, 1);
    SetMapMode(canvas, mode);
    FPrintState.PageWidth = corner.x;
    FPrintState.PageHeight = std::abs(corner.y);

    int count = 0;
    const int before = GetMapMode(canvas);
    try {
        count = BuildPages(canvas, prCalcPrint, -1);
    } catch (const TPrintGridFreed&) {
        SetMapMode(canvas, before);
        return;
    } catch (...) {
        SetMapMode(canvas, before);
        throw;
    }
    SetMapMode(canvas, before);
    FPrintState.FirstPage = 1;
    FPrintState.LastPage = count;
    FPrintState.PageCount = count;
    if (OnPrintStart) {
        TAliveToken alive = AliveToken();
        OnPrintStart(this, count, FPrintState.FirstPage, FPrintState.LastPage);
        if (!*alive)
            return;
        if (FPrintState.FirstPage == 0 || FPrintState.LastPage == 0 || FPrintState.LastPage < FPrintState.FirstPage)
            return;
    }
    FPrintState.PageCount = FPrintState.LastPage;

    printer->SetTitle(PrintSettings()->JobName);
    printer->BeginDoc();
    const int saved = SetMapMode(canvas, MM_LOMETRIC);
    try {
        BuildPages(canvas, prPrint, count);
    } catch (const TPrintGridFreed&) {
        // The grid is gone: only the job and the printer's canvas are left to put right.
        SetMapMode(canvas, saved);
        printer->Abort();
        return;
    } catch (...) {
        SetMapMode(canvas, saved);
        printer->Abort();
        throw;
    }
    SetMapMode(canvas, saved);
    printer->EndDoc();
}

int TCellGrid::BuildPages(TCanvas* Canvas, TPrintMethod Method, int PageTotal)
{
    TPrintsettings& p = *PrintSettings();
    // Measuring happens on the printer's canvas whatever is drawn on, so counting, previews and
    // printouts agree.
    TCanvas* measure = Printer()->Canvas();
    SetMapMode(Canvas, MM_TEXT);
    TPrintRun run{*this, Canvas, measure, TPrintFontMetrics{}, 1.0, 254.0 / ScreenPixelsPerInch, nullptr, AliveToken()};
    run.ResFactor = GetDeviceCaps(Canvas, LOGPIXELSX) / static_cast<double>(ScreenPixelsPerInch);
    SetMapMode(Canvas, MM_LOMETRIC);
    const int measureMode = SetMapMode(measure, MM_LOMETRIC);
    PrintScale = 1.0;

    TPen border;
    border.SetColor(clBlack);
    border.SetStyle(p.BorderStyle);
    border.SetWidth(p.Borders == pbDouble ? 10 : 2);
    TCanvasPrintTarget target(run, border);
    TFont kept;
    kept.Assign(measure->Font());
    const auto lineHeight = [&](TFont* font) {
        target.SetMappedFont(measure, font);
        return measure->TextHeight("gh");
    };
    run.Metrics.HeaderLine = lineHeight(p.HeaderFont());
    run.Metrics.FooterLine = lineHeight(p.FooterFont());
    run.Metrics.TextHeight = lineHeight(p.Font());
    run.Metrics.Inset = measure->TextWidth("a");
    measure->Font()->Assign(&kept);

    TPrintJob job;
    job.Method = Method;
    job.PageTotal = PageTotal;
    job.FirstPage = FPrintState.FirstPage;
    job.LastPage = FPrintState.LastPage;
    // Only cells that exist are laid out.
    job.Range = FPrintState.Range;
    job.Range.Left = std::max(job.Range.Left, 0);
    job.Range.Top = std::max(job.Range.Top, 0);
    job.Range.Right = std::min(job.Range.Right, ColCount() - 1);
    job.Range.Bottom = std::min(job.Range.Bottom, RowCount() - 1);
    job.FixedRows = FixedRows();
    job.FixedCols = FixedCols();
    job.ScreenFactor = run.ScreenFactor;
    job.Now = Now();
    if (Method == prPrint) {
        const TRect clip = Canvas->ClipRect();
        job.PageWidth = clip.Right - clip.Left;
        job.PageHeight = std::abs(clip.Bottom);
    } else {
        job.PageWidth = FPrintState.PageWidth;
        job.PageHeight = FPrintState.PageHeight;
    }

    // The run's canvas starts with the scratch brush, the border pen and the print font.
    TBrush brush;
    Canvas->Brush()->Assign(&brush);
    Canvas->Pen()->Assign(&border);
    target.SetMappedFont(Canvas, p.Font());

    const TPrintPageSettings settings = PageSettingsOf(p);
    TPrintPages pages(settings, run.Metrics, job, target);
    run.Widths = &pages.Widths();
    int count = 0;
    try {
        count = pages.Run();
    } catch (...) {
        SetMapMode(measure, measureMode);
        if (*run.Alive)
            PrintScale = 1.0;
        throw;
    }
    PrintScale = 1.0;
    SetMapMode(measure, measureMode);
    const std::vector<int>& widths = pages.Widths();
    const std::vector<int>& offsets = pages.Offsets();
    for (size_t c = 0; c < widths.size() && c < kReadablePrintColumns; ++c)
        SetPrintColGeometry(static_cast<int>(c), widths[c], offsets[c]);
    return count;
}
