#pragma once
// Free routines the grid and its companion units share: string tokens and positions, the kind
// of a cell text, URL tests, line-break conversions of the grid's file formats, password
// masking, number and date helpers, and the filter pattern matcher. They keep no state and read
// the locale from the current format settings at each call. Text is cp949: positions, cuts,
// case folds and matches work on whole characters (a search never starts on a trail byte).

#include <cstdint>
#include <string_view>

#include "controls/core/MinMax.h"  // Max, Min
#include "platform/core/AnsiString.h"
#include "platform/core/DateTime.h"
#include "platform/core/Geometry.h"

// --- Strings and positions.
// The text before the first Separator; S loses everything through it. Without one: empty, S kept.
AnsiString GetToken(AnsiString& S, std::string_view Separator);
// P := the 1-based position of Sub in S (0 when absent); returns P.
int VarPos(std::string_view Sub, std::string_view S, int& P);
// The first character of S that is in Charset, '\0' when none.
char FirstChar(std::string_view Charset, std::string_view S);
// The position of the first Ch neither preceded nor followed by another Ch (a doubled one is
// escaped); a Ch in the last position is single whatever precedes it. 0 when none.
int SinglePos(char Ch, std::string_view S);
int NumSingleChar(char Ch, std::string_view S);
// The first character kept, then every run of Ch collapsed to one (when S holds a Ch).
AnsiString DoubleToSingleChar(char Ch, std::string_view S);
AnsiString UpStr(std::string_view S);
// One Ch per character (a Hangul pair becomes one Ch).
void StringToPassword(AnsiString& S, char Ch);
// The OEM and ANSI code pages of a Korean system are one (cp949): the texts stay as they are.
void StringToOem(AnsiString& S);
void OemToString(AnsiString& S);
// "R<row>C<col>" in either case: Cell := (col, row) and true; otherwise false, Cell kept.
bool NameToCell(std::string_view Name, TPoint& Cell);
// "[Left:Top][Right:Bottom]".
AnsiString RectString(const TRect& Rect);

// --- Text kinds and numbers.
// 0 plain (also for texts of 0 or 1 byte), 1 HTML, 2 rich text ("{\"), 3 formula ("=").
uint8_t TextType(std::string_view S, bool HtmlEnabled);
// 0 integer, 1 floating point, 2 text, by the locale's separators.
uint8_t IsType(std::string_view S);
AnsiString RemoveSeps(std::string_view S);
AnsiString FixDecimalSeparator(std::string_view S);
// D moved by Days alone, Years alone or Months alone (wrapping once into the next year);
// any other combination adds Step. A day that does not exist raises EConvertError.
TDateTime GetNextDate(TDateTime D, uint16_t Years, uint16_t Months, uint16_t Days, TDateTime Step);
// The same with differences of either sign (a series going back): a month at or below 0 takes
// a year, one above 12 gives one.
TDateTime NextSeriesDate(TDateTime D, int Years, int Months, int Days, TDateTime Step);
// "RRGGBB" in upper-case hexadecimal from the colour's low three bytes.
AnsiString HTMLColor(int32_t Color);

// --- URLs and line breaks (CR LF inside a cell in memory).
bool IsURL(std::string_view S);
void StripURLProtocol(AnsiString& S);
AnsiString HTMLLineBreaks(std::string_view S);
AnsiString CLFToLF(std::string_view S);
AnsiString LFToCLF(std::string_view S);
void LineFeedsToCSV(AnsiString& S);
void CSVToLineFeeds(AnsiString& S);
void LineFeedsToJava(AnsiString& S);
void JavaToLineFeeds(AnsiString& S);
AnsiString LineFeedsToXLS(std::string_view S);
// The grid file's line-break encoding: CR as TAB, LF as BS, whenever the text holds either.
AnsiString LfToFile(std::string_view S);
AnsiString FileToLf(std::string_view S, bool Multiline);
AnsiString GetNextLine(AnsiString& S, bool Multiline);
int LinesInText(std::string_view S, bool Multiline);

// --- Matching.
// Patterns joined by "&" (and), ";" or "^" (or), applied left to right.
bool MatchStrEx(std::string_view Pattern, std::string_view S);
bool MatchStr(std::string_view Pattern, std::string_view S);
// One pattern: ">", ">=", "<", "<=" comparisons (as numbers, dates or texts), "!" negation,
// "?" one character and "*" any run of characters.
bool Matches(std::string_view Pattern, std::string_view S);
// A date in the order of the locale's short date format, split at its date separator.
bool StrToDateByFormat(std::string_view S, TDateTime& D);
