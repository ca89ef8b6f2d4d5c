#pragma once
// The grid's stored layouts without a window: the print settings as one INI section of text
// values, and the column widths as one integer per column ("col0", "col1", ...). The control
// copies its settings (fonts and title lines included) into TStoredPrintSettings and back; the
// rules of the stored form live here: the keys and their order, the defaults of an absent key,
// the ranges an enumeration must lie in, font styles added to the current ones, and the title
// lines kept on one line.

#include <vector>

#include "grid/model/CellGridTypes.h"
#include "platform/core/AnsiString.h"
#include "platform/core/Colors.h"
#include "platform/core/IniFile.h"

// A print font as stored: its name, its size in points, its styles as a mask (1 bold, 2 italic,
// 4 underline, 8 strike-out) and its colour.
struct TStoredFont {
    AnsiString Name = "Arial";
    int Size = 10;
    int Style = 0;
    TColor Color = 0;
    bool operator==(const TStoredFont&) const = default;
};

constexpr int kStoredBoldBit = 1, kStoredItalicBit = 2, kStoredUnderlineBit = 4, kStoredStrikeOutBit = 8;

// Every stored print setting. Enumerations are kept as their ordinals (BorderStyle a pen style
// 0-6, Orientation 0 portrait and 1 landscape); TitleLines is the lines' whole text, CR LF after
// each line.
struct TStoredPrintSettings {
    int ColumnSpacing = 0, RowSpacing = 0, TitleSpacing = 0;
    int FixedHeight = 0, FixedWidth = 0;
    bool Centered = false, NoAutoSize = false, UseFixedHeight = false, UseFixedWidth = false;
    bool RepeatFixedRows = false, RepeatFixedCols = false;
    int Borders = pbNoborder, BorderStyle = 0;
    TPrintPosition Date = ppNone, PageNr = ppNone, Title = ppNone, Time = ppNone;
    AnsiString DateFormat, TitleText;
    int FooterSize = 0, HeaderSize = 0, LeftSize = 0, RightSize = 0;
    int FitToPage = fpNever;
    TStoredFont Font, HeaderFont, FooterFont;
    AnsiString PageNumSep, PageSuffix, PagePrefix;
    int Orientation = 0;
    AnsiString TitleLines;
    bool operator==(const TStoredPrintSettings&) const = default;
};

// Writes every key into the section, in the stored order. Errors of the file propagate.
void WritePrintSettings(TCustomIniFile& Ini, const AnsiString& Section, const TStoredPrintSettings& Settings);
// Reads every key from the section over Settings: absent keys give their defaults, lengths and
// font sizes are cut to what a page holds (grid/model/StoredNumbers.h), an enumeration out of its
// range leaves its setting, a position out of range gives ppNone, and stored font styles are
// added to the styles Settings holds.
void ReadPrintSettings(TCustomIniFile& Ini, const AnsiString& Section, TStoredPrintSettings& Settings);

// The title lines' text on one line: a backslash written as two, each CR as backslash-n, LF
// dropped; and back (a backslash before anything else stays as it is).
AnsiString TitleLinesToIni(std::string_view Text);
AnsiString TitleLinesFromIni(std::string_view Value);

// Column widths: "col" + index for each column of Widths. Reading keeps a width whose key is
// absent or holds -1 (or any negative number), and cuts a larger one to what a screen holds.
void WriteColSizes(TCustomIniFile& Ini, const AnsiString& Section, const std::vector<int>& Widths);
void ReadColSizes(TCustomIniFile& Ini, const AnsiString& Section, std::vector<int>& Widths);
