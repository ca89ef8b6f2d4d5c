// The page engine: column widths and the fit to the page, slices, rows cut into pages, header and
// footer slots, border lines and the page window.

#include "grid/model/PrintPages.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "grid/model/StoredNumbers.h"
#include "platform/core/DateFormat.h"

namespace {

bool AtTop(TPrintPosition p) { return p >= ppTopLeft && p <= ppTopCenter; }
bool AtBottom(TPrintPosition p) { return p >= ppBottomLeft && p <= ppBottomCenter; }
bool AtLeft(TPrintPosition p) { return p == ppTopLeft || p == ppBottomLeft; }
bool AtRight(TPrintPosition p) { return p == ppTopRight || p == ppBottomRight; }

bool LinesAtRows(TPrintBorders b)
{
    return b == pbSingle || b == pbDouble || b == pbHorizontal || b == pbAroundHorizontal;
}

bool LinesAtColumns(TPrintBorders b)
{
    return b == pbSingle || b == pbDouble || b == pbVertical || b == pbAroundVertical;
}

bool FrameAround(TPrintBorders b) { return b == pbAround || b == pbAroundVertical || b == pbAroundHorizontal; }

// A width or height of a column, a row or a text: at most what a page can hold.
int PageSize(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 0, kMaxPageLength)); }

TPrintPageSettings Bounded(TPrintPageSettings s)
{
    for (int* length : {&s.FooterSize, &s.HeaderSize, &s.LeftSize, &s.RightSize, &s.ColumnSpacing, &s.RowSpacing,
                        &s.TitleSpacing, &s.FixedHeight, &s.FixedWidth})
        *length = ClampPageLength(*length);
    return s;
}

}  // namespace

TPrintPages::TPrintPages(const TPrintPageSettings& Settings, const TPrintFontMetrics& Metrics, const TPrintJob& Job,
                         IPrintTarget& Target)
    : FSettings(Bounded(Settings)), FMetrics(Metrics), FJob(Job), FTarget(Target)
{
    // The text height is taken as a 16-bit value, as the page setup always did.
    FS = static_cast<int16_t>(Metrics.TextHeight) / 8;
    FSpace = FSettings.UseFixedWidth ? 0 : FSettings.ColumnSpacing + 20;
}

int TPrintPages::Run()
{
    const size_t columns = static_cast<size_t>(std::max({FJob.Range.Right + 2, FJob.FixedCols + 1, 1}));
    FWidths.assign(columns, 0);
    FOffsets.assign(columns, 0);
    FPages = 0;
    FRangeHeights.assign(static_cast<size_t>(std::max(0, FJob.Range.Bottom - FJob.Range.Top + 1)), -1);
    FFixedHeights.assign(static_cast<size_t>(std::clamp(FJob.Range.Top, 0, std::max(0, FJob.FixedRows))), -1);
    MeasureColumns();
    FitColumns();
    for (int c = FJob.Range.Left; c <= FJob.Range.Right; ++c) {
        int& width = FWidths[static_cast<size_t>(c)];
        FTarget.ColumnWidth(c, width);
        width = PageSize(width);
    }
    CutSlices();
    for (size_t i = 0; i < FSlices.size(); ++i)
        PrintSlice(i);
    return FPages;
}

void TPrintPages::MeasureColumns()
{
    const auto measure = [this](int c) {
        int width = 0;
        if (FSettings.NoAutoSize) {
            const double printed = (static_cast<double>(FTarget.ScreenColWidth(c)) - 4) * FJob.ScreenFactor;
            width = static_cast<int>(std::lround(std::clamp(printed, 0.0, double{kMaxPageLength})));
        } else {
            for (int r = FJob.Range.Top; r <= FJob.Range.Bottom; ++r)
                width =
                    std::max(width, FSettings.UseFixedWidth ? FSettings.FixedWidth : FTarget.MeasureCellWidth(c, r));
        }
        // A screen column narrower than its 4-pixel margin prints with no width, not a negative one.
        FWidths[static_cast<size_t>(c)] = PageSize(width);
    };
    for (int c = FJob.Range.Left; c <= FJob.Range.Right; ++c)
        measure(c);
    // Fixed columns repeated beside later slices are measured even when the range leaves them out.
    if (FSettings.RepeatFixedCols)
        for (int c = 0; c < FJob.FixedCols && c < FJob.Range.Left; ++c)
            measure(c);
}

void TPrintPages::FitColumns()
{
    FScale = 1.0;
    if (FSettings.FitToPage == fpNever)
        return;
    long long total = 0, fixed = 0;
    for (int c = FJob.Range.Left; c <= FJob.Range.Right; ++c) {
        total += FWidths[static_cast<size_t>(c)] + FSpace;
        fixed += FSpace;
    }
    const long long room = static_cast<long long>(FJob.PageWidth) - FSettings.RightSize - FSettings.LeftSize - fixed;
    double scale = total == fixed ? 1.0 : static_cast<double>(room) / static_cast<double>(total - fixed);
    // Margins as wide as the page leave no room to scale into: the widths stay.
    if (!(scale > 0) || !std::isfinite(scale))
        scale = 1.0;
    if (scale > 1 && FSettings.FitToPage == fpShrink)
        scale = 1.0;
    if (scale < 1 && FSettings.FitToPage == fpGrow)
        scale = 1.0;
    if (scale != 1 && FSettings.FitToPage == fpCustom && !FTarget.FitToPage(scale))
        scale = 1.0;
    if (!(scale > 0) || !std::isfinite(scale))
        scale = 1.0;
    if (scale != 1)
        for (int& w : FWidths)
            w = static_cast<int>(std::trunc(std::min(w * scale, double{kMaxPageLength})));
    FScale = scale;
}

void TPrintPages::CutSlices()
{
    FSlices.clear();
    const int64_t limit = int64_t{FJob.PageWidth} - FSettings.RightSize;
    const int64_t x0 = FSettings.Centered ? 0 : FSettings.LeftSize;
    const auto width = [this](int c) { return int64_t{FWidths[static_cast<size_t>(c)]} + FSpace; };
    FRepeatStarts.clear();
    int64_t repeatedWidth = 0;
    if (FJob.FixedCols > 0 && FSettings.RepeatFixedCols)
        for (int c = 0; c <= FJob.FixedCols; ++c) {
            FRepeatStarts.push_back(repeatedWidth);
            if (c < FJob.FixedCols)
                repeatedWidth += width(c);
        }
    for (int first = FJob.Range.Left; first <= FJob.Range.Right;) {
        TSlice s;
        s.First = first;
        s.RepeatCols = first != FJob.Range.Left && FJob.FixedCols > 0 && FSettings.RepeatFixedCols;
        const int64_t repeated = s.RepeatCols ? repeatedWidth : 0;
        // A slice holds at least its first column, however wide.
        int64_t used = repeated + width(first);
        s.Last = first;
        while (s.Last < FJob.Range.Right && used + width(s.Last + 1) <= limit)
            used += width(++s.Last);
        const int64_t shift = FSettings.Centered && used < FJob.PageWidth ? (FJob.PageWidth - used) / 2 : 0;
        int64_t at = x0 + shift + repeated;
        for (int c = first; c <= s.Last + 1; ++c) {
            s.Offsets.push_back(PageCoord(at));
            if (c <= s.Last)
                at += width(c);
        }
        if (s.RepeatCols)
            s.RepeatLeft = x0 + shift;
        first = s.Last + 1;
        FSlices.push_back(std::move(s));
    }
}

int TPrintPages::TopReserve() const
{
    const TPrintPageSettings& p = FSettings;
    if (!AtTop(p.Time) && !AtTop(p.Date) && !AtTop(p.PageNr) && !AtTop(p.Title))
        return p.HeaderSize;
    int64_t reserve = int64_t{FS} + FMetrics.HeaderLine + p.HeaderSize;
    if (AtTop(p.Title) && !p.TitleLines.empty())
        reserve += static_cast<int64_t>(p.TitleLines.size() - 1) * FMetrics.HeaderLine;
    return PageCoord(reserve);
}

int TPrintPages::BottomReserve() const
{
    const TPrintPageSettings& p = FSettings;
    if (!AtBottom(p.Time) && !AtBottom(p.Date) && !AtBottom(p.PageNr) && !AtBottom(p.Title))
        return PageCoord(int64_t{FS} + FMetrics.FooterLine + p.FooterSize);
    int64_t reserve = 2 * (int64_t{FS} + FMetrics.FooterLine) + p.FooterSize;
    if (AtBottom(p.Title) && !p.TitleLines.empty())
        reserve += static_cast<int64_t>(p.TitleLines.size() - 1) * FMetrics.FooterLine;
    return PageCoord(reserve);
}

void TPrintPages::PrintSlice(size_t Index)
{
    const TSlice& s = FSlices[Index];
    // Offsets as the page being laid out leaves them: column 0 starts at the left start.
    FOffsets[0] = FSettings.Centered ? 0 : FSettings.LeftSize;
    // Every slice after the first repeats the fixed columns alike: the last one's are kept.
    if (s.RepeatCols && Index + 1 == FSlices.size())
        for (int f = 0; f < FJob.FixedCols; ++f)
            FOffsets[static_cast<size_t>(f)] = RepeatOffset(s, f);
    for (size_t i = 0; i < s.Offsets.size(); ++i)
        FOffsets[static_cast<size_t>(s.First) + i] = s.Offsets[i];

    if (Index == 0 && PrintMethodDraws(FJob.Method))
        FTarget.PageBegins(1, FJob.PageWidth, FJob.PageHeight);
    const int slice = static_cast<int>(Index) + 1;
    int slicePage = 1;
    bool pageStart = true, justEnded = false;
    const int64_t bottomLimit = int64_t{FJob.PageHeight} - BottomReserve();
    for (int row = FJob.Range.Top; row <= FJob.Range.Bottom; ++row) {
        if (pageStart) {
            FPos = TopReserve();
            if (Drawing())
                DrawHeaderFooter(slicePage, slice);
            FPos += FSettings.TitleSpacing;
            if (FSettings.RepeatFixedRows && FJob.FixedRows > 0 && row != 0 &&
                (FPages > 0 || FJob.Range.Top >= FJob.FixedRows))
                for (int fixedRow = 0; fixedRow < FJob.FixedRows; ++fixedRow)
                    PrintRow(s, fixedRow, Drawing());
            pageStart = false;
        }
        PrintRow(s, row, Drawing());
        justEnded = false;
        const int next = row + 1;
        bool newPage = false;
        FTarget.NewPageAfter(next, newPage);
        if (newPage || (next <= FJob.Range.Bottom && FPos + RowTextHeight(next) > bottomLimit)) {
            if (Drawing())
                DrawPageBorders(s);
            AdvancePage(FPages + 2);
            ++FPages;
            ++slicePage;
            pageStart = justEnded = true;
        }
    }
    if (!justEnded && FJob.Range.Top <= FJob.Range.Bottom && Drawing())
        DrawPageBorders(s);
    if (Index + 1 < FSlices.size())
        AdvancePage(FPages + 2);
    ++FPages;
}

int TPrintPages::RowTextHeight(int Row)
{
    // A row is measured once a run: each slice of the columns lays the same rows out again.
    std::vector<int>& heights = Row >= FJob.Range.Top ? FRangeHeights : FFixedHeights;
    const size_t at = static_cast<size_t>(Row >= FJob.Range.Top ? Row - FJob.Range.Top : Row);
    if (at >= heights.size())
        return MeasureRowTextHeight(Row);
    if (heights[at] < 0)
        heights[at] = MeasureRowTextHeight(Row);
    return heights[at];
}

int TPrintPages::MeasureRowTextHeight(int Row)
{
    int height = FSettings.FixedHeight;
    if (!FSettings.UseFixedHeight && !FTarget.RowHeight(Row, height)) {
        height = 0;
        for (int c = FJob.Range.Left; c <= FJob.Range.Right; ++c)
            height = std::max(height, FTarget.MeasureCellHeight(c, Row));
    }
    return PageSize(height);
}

int TPrintPages::RowAdvance(int Row)
{
    const int text = RowTextHeight(Row);
    return 2 * FS + text + text / 8 + FSettings.RowSpacing;
}

void TPrintPages::PrintRow(const TSlice& Slice, int Row, bool Draw)
{
    const int advance = RowAdvance(Row);
    if (Draw) {
        if (Slice.RepeatCols)
            DrawRun(
                0, FJob.FixedCols - 1, [&](int c) { return RepeatOffset(Slice, c); }, Row, advance);
        DrawRun(
            Slice.First, Slice.Last, [&](int c) { return Slice.Offsets[static_cast<size_t>(c - Slice.First)]; }, Row,
            advance);
    }
    FPos += advance;
}

int TPrintPages::RepeatOffset(const TSlice& Slice, int Col) const
{
    return PageCoord(Slice.RepeatLeft + FRepeatStarts[static_cast<size_t>(Col)]);
}

void TPrintPages::DrawRun(int First, int Last, const std::function<int(int)>& Offset, int Row, int Advance)
{
    const auto& at = Offset;
    for (int c = First; c <= Last; ++c) {
        TPrintCell cell;
        cell.Col = c;
        cell.Row = Row;
        cell.Rect = TRect{at(c), PageCoord(FPos), at(c + 1), PageCoord(FPos + Advance)};
        cell.Advance = Advance;
        cell.Scale = FScale;
        FTarget.DrawCell(cell);
    }
    if (LinesAtRows(FSettings.Borders))
        FTarget.DrawLine(at(First), PageCoord(FPos), at(Last + 1), PageCoord(FPos));
}

AnsiString TPrintPages::PageText(int Page, int SlicePage, int Slice) const
{
    if (Slices() > 1)
        return std::to_string(SlicePage) + "-" + std::to_string(Slice);
    if (!FSettings.PageNumSep.empty() && FJob.PageTotal > 1)
        return std::to_string(Page) + FSettings.PageNumSep + std::to_string(FJob.PageTotal);
    return std::to_string(Page);
}

std::array<AnsiString, 6> TPrintPages::SlotTexts(int Page, int SlicePage, int Slice) const
{
    std::array<AnsiString, 6> slots;
    const auto add = [&slots](TPrintPosition at, const AnsiString& item) {
        if (at < ppTopLeft || at > ppBottomCenter)
            return;
        AnsiString& slot = slots[static_cast<size_t>(at - ppTopLeft)];
        slot = AtLeft(at) ? item + " " + slot : slot + " " + item;
    };
    const TPrintPageSettings& p = FSettings;
    add(p.Time, FormatDateTime("hh:nn", FJob.Now));
    add(p.Date, FormatDateTime(p.DateFormat, FJob.Now));
    add(p.PageNr, p.PagePrefix + " " + PageText(Page, SlicePage, Slice) + " " + p.PageSuffix);
    if (!p.TitleText.empty())
        add(p.Title, p.TitleText);
    else if (!p.TitleLines.empty())
        add(p.Title, p.TitleLines.front());
    return slots;
}

int TPrintPages::SlotX(TPrintPosition Position, int Width) const
{
    const int64_t width = std::clamp(Width, 0, kMaxPageCoord);
    if (AtLeft(Position))
        return FSettings.LeftSize;
    if (AtRight(Position))
        return PageCoord(FJob.PageWidth - width - 20 - FSettings.RightSize);
    return PageCoord((FJob.PageWidth - width) / 2);
}

void TPrintPages::DrawHeaderFooter(int SlicePage, int Slice)
{
    const std::array<AnsiString, 6> slots = SlotTexts(FPages + 1, SlicePage, Slice);
    const int footerTop = PageCoord(FJob.PageHeight - (int64_t{FSettings.FooterSize} + FS + FMetrics.FooterLine));
    int titleX = 0;
    for (int i = 0; i < 6; ++i) {
        const auto at = static_cast<TPrintPosition>(ppTopLeft + i);
        const AnsiString& text = slots[static_cast<size_t>(i)];
        const bool footer = AtBottom(at);
        const int x = SlotX(at, footer ? FTarget.FooterTextWidth(text) : FTarget.HeaderTextWidth(text));
        if (at == FSettings.Title)
            titleX = x;
        if (!text.empty())
            FTarget.DrawHeaderText(footer, x, footer ? footerTop : FSettings.HeaderSize, text);
    }
    // Further title lines stand below the title, one line apart.
    const TPrintPosition title = FSettings.Title;
    if ((AtTop(title) || AtBottom(title)) && FSettings.TitleLines.size() > 1) {
        const bool footer = AtBottom(title);
        const int line = footer ? FMetrics.FooterLine : FMetrics.HeaderLine;
        int64_t y = footer ? footerTop : FSettings.HeaderSize;
        for (size_t k = 1; k < FSettings.TitleLines.size(); ++k)
            FTarget.DrawHeaderText(footer, titleX, PageCoord(y += line), FSettings.TitleLines[k]);
    }
}

void TPrintPages::DrawPageBorders(const TSlice& Slice)
{
    const TPrintBorders borders = FSettings.Borders;
    const int left = Slice.RepeatCols ? RepeatOffset(Slice, 0) : Slice.Offsets.front();
    const int right = Slice.Offsets.back();
    const int top = PageCoord(int64_t{TopReserve()} + FSettings.TitleSpacing);
    const int bottom = PageCoord(FPos - FS / 2);
    if (FrameAround(borders))
        FTarget.DrawFrame(TRect{left, top, right, bottom});
    if (LinesAtRows(borders))
        FTarget.DrawLine(left, bottom, right, bottom);
    if (LinesAtColumns(borders)) {
        // The repeated block's right edge is the slice's left edge: drawn once.
        for (int f = 0; Slice.RepeatCols && f < FJob.FixedCols; ++f)
            FTarget.DrawLine(RepeatOffset(Slice, f), top, RepeatOffset(Slice, f), bottom);
        for (const int x : Slice.Offsets)
            FTarget.DrawLine(x, top, x, bottom);
    }
}

void TPrintPages::AdvancePage(int Page)
{
    if (!PrintMethodDraws(FJob.Method) || !PageInWindow(Page))
        return;
    // The page window's first page is the one the printer opened with the job.
    if (FJob.Method == prPrint && Page != FJob.FirstPage)
        FTarget.NewPrinterPage();
    FTarget.PageBegins(Page, FJob.PageWidth, FJob.PageHeight);
}
