// The stored print settings and column widths: keys, defaults, ranges and the one-line form of
// the title lines.

#include "grid/model/PrintSettingsStore.h"

#include <string>

#include "grid/model/StoredNumbers.h"

namespace {

// The INI file trims a value and takes one pair of quotes off it: a text that would lose
// something that way is written in quotes.
void WriteText(TCustomIniFile& ini, const AnsiString& section, const std::string& key, const AnsiString& value)
{
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    const bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    const bool guard = !value.empty() && (blank(value.front()) || blank(value.back()) || quoted);
    ini.WriteString(section, key, guard ? '"' + value + '"' : value);
}

void WriteFlag(TCustomIniFile& ini, const AnsiString& section, const char* key, bool value)
{
    ini.WriteString(section, key, value ? "Y" : "N");
}

// Exactly "Y" is true: "y", "1" or "True" are not.
bool ReadFlag(TCustomIniFile& ini, const AnsiString& section, const char* key, bool def)
{
    return ini.ReadString(section, key, def ? "Y" : "N") == "Y";
}

// A length on the page, cut to what a page can hold.
int ReadLength(TCustomIniFile& ini, const AnsiString& section, const char* key, int def)
{
    return ClampPageLength(ini.ReadInteger(section, key, def));
}

// An enumeration's ordinal is kept only inside its range.
void ReadOrdinal(TCustomIniFile& ini, const AnsiString& section, const char* key, int last, int& value)
{
    const int read = ini.ReadInteger(section, key, 0);
    if (read >= 0 && read <= last)
        value = read;
}

TPrintPosition ReadPosition(TCustomIniFile& ini, const AnsiString& section, const char* key)
{
    const int read = ini.ReadInteger(section, key, 0);
    return read >= ppTopLeft && read <= ppBottomCenter ? static_cast<TPrintPosition>(read) : ppNone;
}

void WriteFont(TCustomIniFile& ini, const AnsiString& section, const std::string& prefix, const TStoredFont& font)
{
    WriteText(ini, section, prefix + "FontName", font.Name);
    ini.WriteInteger(section, prefix + "FontSize", font.Size);
    ini.WriteInteger(section, prefix + "FontStyle", font.Style);
    ini.WriteInteger(section, prefix + "FontColor", font.Color);
}

// Stored style bits are added: a stored 0 leaves a bold font bold.
void ReadFont(TCustomIniFile& ini, const AnsiString& section, const std::string& prefix, TStoredFont& font)
{
    font.Name = ini.ReadString(section, prefix + "FontName", "Arial");
    font.Size = ClampFontPoints(ini.ReadInteger(section, prefix + "FontSize", 10));
    font.Style |= ini.ReadInteger(section, prefix + "FontStyle", 0) &
        (kStoredBoldBit | kStoredItalicBit | kStoredUnderlineBit | kStoredStrikeOutBit);
    font.Color = ini.ReadInteger(section, prefix + "FontColor", 0);
}

}  // namespace

AnsiString TitleLinesToIni(std::string_view Text)
{
    AnsiString out;
    for (const char c : Text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\n";
        else if (c != '\n')
            out += c;
    }
    return out;
}

AnsiString TitleLinesFromIni(std::string_view Value)
{
    AnsiString out;
    for (size_t i = 0; i < Value.size(); ++i) {
        const char next = i + 1 < Value.size() ? Value[i + 1] : '\0';
        if (Value[i] == '\\' && (next == '\\' || next == 'n')) {
            out += next == 'n' ? '\r' : '\\';
            ++i;
        } else {
            out += Value[i];
        }
    }
    return out;
}

void WritePrintSettings(TCustomIniFile& Ini, const AnsiString& Section, const TStoredPrintSettings& S)
{
    Ini.WriteInteger(Section, "ColumnSpacing", S.ColumnSpacing);
    Ini.WriteInteger(Section, "RowSpacing", S.RowSpacing);
    Ini.WriteInteger(Section, "TitleSpacing", S.TitleSpacing);
    Ini.WriteInteger(Section, "FixedHeight", S.FixedHeight);
    Ini.WriteInteger(Section, "FixedWidth", S.FixedWidth);
    WriteFlag(Ini, Section, "Centered", S.Centered);
    WriteFlag(Ini, Section, "NoAutoSize", S.NoAutoSize);
    WriteFlag(Ini, Section, "UseFixedHeight", S.UseFixedHeight);
    WriteFlag(Ini, Section, "UseFixedWidth", S.UseFixedWidth);
    WriteFlag(Ini, Section, "RepeatFixedRows", S.RepeatFixedRows);
    WriteFlag(Ini, Section, "RepeatFixedCols", S.RepeatFixedCols);
    Ini.WriteInteger(Section, "Borders", S.Borders);
    Ini.WriteInteger(Section, "BorderStyle", S.BorderStyle);
    Ini.WriteInteger(Section, "Date", S.Date);
    Ini.WriteInteger(Section, "PageNr", S.PageNr);
    Ini.WriteInteger(Section, "Title", S.Title);
    Ini.WriteInteger(Section, "Time", S.Time);
    WriteText(Ini, Section, "DateFormat", S.DateFormat);
    WriteText(Ini, Section, "TitleText", S.TitleText);
    Ini.WriteInteger(Section, "FooterSize", S.FooterSize);
    Ini.WriteInteger(Section, "HeaderSize", S.HeaderSize);
    Ini.WriteInteger(Section, "LeftSize", S.LeftSize);
    Ini.WriteInteger(Section, "RightSize", S.RightSize);
    Ini.WriteInteger(Section, "FitToPage", S.FitToPage);
    WriteFont(Ini, Section, "", S.Font);
    WriteFont(Ini, Section, "Header", S.HeaderFont);
    WriteFont(Ini, Section, "Footer", S.FooterFont);
    WriteText(Ini, Section, "PageNumSep", S.PageNumSep);
    WriteText(Ini, Section, "PageSuffix", S.PageSuffix);
    WriteText(Ini, Section, "PagePrefix", S.PagePrefix);
    Ini.WriteInteger(Section, "Orientation", S.Orientation);
    WriteText(Ini, Section, "TitleLines", TitleLinesToIni(S.TitleLines));
}

void ReadPrintSettings(TCustomIniFile& Ini, const AnsiString& Section, TStoredPrintSettings& S)
{
    S.ColumnSpacing = ReadLength(Ini, Section, "ColumnSpacing", 20);
    S.RowSpacing = ReadLength(Ini, Section, "RowSpacing", 20);
    S.TitleSpacing = ReadLength(Ini, Section, "TitleSpacing", 20);
    S.FixedHeight = ReadLength(Ini, Section, "FixedHeight", 0);
    S.FixedWidth = ReadLength(Ini, Section, "FixedWidth", 0);
    S.Centered = ReadFlag(Ini, Section, "Centered", true);
    S.NoAutoSize = ReadFlag(Ini, Section, "NoAutoSize", false);
    S.UseFixedHeight = ReadFlag(Ini, Section, "UseFixedHeight", false);
    S.UseFixedWidth = ReadFlag(Ini, Section, "UseFixedWidth", false);
    S.RepeatFixedRows = ReadFlag(Ini, Section, "RepeatFixedRows", false);
    S.RepeatFixedCols = ReadFlag(Ini, Section, "RepeatFixedCols", false);
    S.DateFormat = Ini.ReadString(Section, "DateFormat", "");
    S.TitleText = Ini.ReadString(Section, "TitleText", "");
    S.FooterSize = ReadLength(Ini, Section, "FooterSize", 100);
    S.HeaderSize = ReadLength(Ini, Section, "HeaderSize", 100);
    S.LeftSize = ReadLength(Ini, Section, "LeftSize", 100);
    S.RightSize = ReadLength(Ini, Section, "RightSize", 100);
    S.PageNumSep = Ini.ReadString(Section, "PageNumSep", "");
    S.PageSuffix = Ini.ReadString(Section, "PageSuffix", "");
    S.PagePrefix = Ini.ReadString(Section, "PagePrefix", "");
    ReadOrdinal(Ini, Section, "Borders", pbCustom, S.Borders);
    ReadOrdinal(Ini, Section, "BorderStyle", 6, S.BorderStyle);
    S.Date = ReadPosition(Ini, Section, "Date");
    S.PageNr = ReadPosition(Ini, Section, "PageNr");
    S.Title = ReadPosition(Ini, Section, "Title");
    S.Time = ReadPosition(Ini, Section, "Time");
    ReadOrdinal(Ini, Section, "FitToPage", fpCustom, S.FitToPage);
    ReadFont(Ini, Section, "", S.Font);
    ReadFont(Ini, Section, "Header", S.HeaderFont);
    ReadFont(Ini, Section, "Footer", S.FooterFont);
    S.TitleLines = TitleLinesFromIni(Ini.ReadString(Section, "TitleLines", ""));
    const int orientation = Ini.ReadInteger(Section, "Orientation", 0);
    if (orientation == 0 || orientation == 1)
        S.Orientation = orientation;
}

void WriteColSizes(TCustomIniFile& Ini, const AnsiString& Section, const std::vector<int>& Widths)
{
    for (size_t i = 0; i < Widths.size(); ++i)
        Ini.WriteInteger(Section, "col" + std::to_string(i), Widths[i]);
}

void ReadColSizes(TCustomIniFile& Ini, const AnsiString& Section, std::vector<int>& Widths)
{
    for (size_t i = 0; i < Widths.size(); ++i)
        if (const std::optional<int> width = StoredColWidth(Ini.ReadInteger(Section, "col" + std::to_string(i), -1)))
            Widths[i] = *width;
}
