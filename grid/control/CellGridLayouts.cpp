// Stored layouts: the column widths kept after ColumnSize (loaded when the window is made, saved
// when the grid goes) and the print settings written and read on request. The stored form and
// its rules are grid/model/PrintSettingsStore.h; here the grid's settings meet it.

#include <iostream>
#include <memory>

#include "grid/control/CellGrid.h"
#include "grid/model/PrintSettingsStore.h"
#include "platform/core/RegIniFile.h"

namespace {

TStoredFont StoredOf(const TFont& Font)
{
    const TFontStyles s = Font.Style();
    return TStoredFont{Font.Name(), Font.Size(),
                       (s.Contains(fsBold) ? kStoredBoldBit : 0) | (s.Contains(fsItalic) ? kStoredItalicBit : 0) |
                           (s.Contains(fsUnderline) ? kStoredUnderlineBit : 0) |
                           (s.Contains(fsStrikeOut) ? kStoredStrikeOutBit : 0),
                       Font.Color()};
}

void Apply(const TStoredFont& Stored, TFont& Font)
{
    Font.SetName(Stored.Name);
    Font.SetSize(Stored.Size);
    TFontStyles s;
    for (const auto& [bit, style] :
         {std::pair{kStoredBoldBit, fsBold}, std::pair{kStoredItalicBit, fsItalic},
          std::pair{kStoredUnderlineBit, fsUnderline}, std::pair{kStoredStrikeOutBit, fsStrikeOut}})
        if (Stored.Style & bit)
            s << style;
    Font.SetStyle(s);
    Font.SetColor(Stored.Color);
}

TStoredPrintSettings StoredOf(const TPrintsettings& P)
{
    TStoredPrintSettings s;
    s.ColumnSpacing = P.ColumnSpacing, s.RowSpacing = P.RowSpacing, s.TitleSpacing = P.TitleSpacing;
    s.FixedHeight = P.FixedHeight, s.FixedWidth = P.FixedWidth;
    s.Centered = P.Centered, s.NoAutoSize = P.NoAutoSize;
    s.UseFixedHeight = P.UseFixedHeight, s.UseFixedWidth = P.UseFixedWidth;
    s.RepeatFixedRows = P.RepeatFixedRows, s.RepeatFixedCols = P.RepeatFixedCols;
    s.Borders = P.Borders, s.BorderStyle = P.BorderStyle;
    s.Date = P.Date, s.PageNr = P.PageNr, s.Title = P.Title, s.Time = P.Time;
    s.DateFormat = P.DateFormat, s.TitleText = P.TitleText;
    s.FooterSize = P.FooterSize, s.HeaderSize = P.HeaderSize, s.LeftSize = P.LeftSize, s.RightSize = P.RightSize;
    s.FitToPage = P.FitToPage;
    s.Font = StoredOf(*P.Font()), s.HeaderFont = StoredOf(*P.HeaderFont()), s.FooterFont = StoredOf(*P.FooterFont());
    s.PageNumSep = P.PageNumSep, s.PageSuffix = P.PageSuffix, s.PagePrefix = P.PagePrefix;
    s.Orientation = P.Orientation == poLandscape ? 1 : 0;
    s.TitleLines = P.TitleLines()->Text();
    return s;
}

void Apply(const TStoredPrintSettings& s, TPrintsettings& P)
{
    P.ColumnSpacing = s.ColumnSpacing, P.RowSpacing = s.RowSpacing, P.TitleSpacing = s.TitleSpacing;
    P.FixedHeight = s.FixedHeight, P.FixedWidth = s.FixedWidth;
    P.Centered = s.Centered, P.NoAutoSize = s.NoAutoSize;
    P.UseFixedHeight = s.UseFixedHeight, P.UseFixedWidth = s.UseFixedWidth;
    P.RepeatFixedRows = s.RepeatFixedRows, P.RepeatFixedCols = s.RepeatFixedCols;
    P.Borders = static_cast<TPrintBorders>(s.Borders), P.BorderStyle = static_cast<TPenStyle>(s.BorderStyle);
    P.Date = s.Date, P.PageNr = s.PageNr, P.Title = s.Title, P.Time = s.Time;
    P.DateFormat = s.DateFormat, P.TitleText = s.TitleText;
    P.FooterSize = s.FooterSize, P.HeaderSize = s.HeaderSize, P.LeftSize = s.LeftSize, P.RightSize = s.RightSize;
    P.FitToPage = static_cast<TFitToPage>(s.FitToPage);
    Apply(s.Font, *P.Font()), Apply(s.HeaderFont, *P.HeaderFont()), Apply(s.FooterFont, *P.FooterFont());
    P.PageNumSep = s.PageNumSep, P.PageSuffix = s.PageSuffix, P.PagePrefix = s.PagePrefix;
    P.Orientation = s.Orientation == 1 ? poLandscape : poPortrait;
    P.TitleLines()->SetText(s.TitleLines);
}

// The column-width store: the INI file or the registry key Key names.
std::unique_ptr<TCustomIniFile> OpenColumnStore(const TColumnSize& Size)
{
    if (Size.Location == clInifile)
        return std::make_unique<TIniFile>(Size.Key);
    return std::make_unique<TRegistryIniFile>(Size.Key);
}

}  // namespace

void TCellGrid::SaveColSizes()
{
    const TColumnSize& size = *ColumnSize();
    if (size.Key.empty() || size.Section.empty() || Designing())
        return;
    std::vector<int> widths;
    for (int c = 0; c < ColCount(); ++c)
        widths.push_back(ColWidths(c));
    // Written now, so that a failure is raised here rather than only logged when the store goes.
    std::unique_ptr<TCustomIniFile> store = OpenColumnStore(size);
    WriteColSizes(*store, size.Section, widths);
    store->UpdateFile();
}

void TCellGrid::LoadColSizes()
{
    const TColumnSize& size = *ColumnSize();
    if (size.Key.empty() || size.Section.empty() || Designing())
        return;
    std::vector<int> widths;
    for (int c = 0; c < ColCount(); ++c)
        widths.push_back(ColWidths(c));
    const std::vector<int> before = widths;
    ReadColSizes(*OpenColumnStore(size), size.Section, widths);
    for (int c = 0; c < ColCount(); ++c)
        if (widths[static_cast<size_t>(c)] != before[static_cast<size_t>(c)])
            SetColWidths(c, widths[static_cast<size_t>(c)]);
}

void TCellGrid::SaveColSizesOnDestroy()
{
    if (!ColumnSize()->Save)
        return;
    // Nothing may leave a destructor: an unwritable store is told, not thrown.
    try {
        SaveColSizes();
    } catch (const Exception& e) {
        std::cerr << "hanmud: column widths not saved: " << e.Message << '\n';
    } catch (const std::exception& e) {
        std::cerr << "hanmud: column widths not saved: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "hanmud: column widths not saved\n";
    }
}

void TCellGrid::SavePrintSettings(const AnsiString& Key, const AnsiString& Section)
{
    TIniFile ini(Key);
    WritePrintSettings(ini, Section, StoredOf(*PrintSettings()));
    ini.UpdateFile();
}

void TCellGrid::LoadPrintSettings(const AnsiString& Key, const AnsiString& Section)
{
    TIniFile ini(Key);
    TStoredPrintSettings s = StoredOf(*PrintSettings());
    ReadPrintSettings(ini, Section, s);
    Apply(s, *PrintSettings());
}
