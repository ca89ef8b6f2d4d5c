// The grid's text formats without a window: what each writes, what each reads back, and what
// bad input does. One named case a row.

#include "grid/model/GridFiles.h"

#include <random>

#include "platform/core/Streams.h"
#include "tests/grid/model/GridModelSupport.h"

namespace {

const TGridFileSettings kPlain;

TGridFileSettings Multiline()
{
    TGridFileSettings s;
    s.Multilinecells = true;
    return s;
}

std::string Saved(const TCellModel& grid, const TGridFileSettings& settings = kPlain)
{
    TFileProgress none;
    return GridFileText(grid, settings, none);
}

std::string SavedOf(std::string_view rows)
{
    TCellModel grid;
    Fill(grid, rows);
    return Saved(grid);
}

// A grid from Fill's text, then the file text loaded into a fresh grid and dumped.
std::string FileRoundTrip(std::string_view rows, const TGridFileSettings& settings = kPlain)
{
    TCellModel from, to;
    Fill(from, rows);
    TFileProgress none;
    LoadGridFileText(to, Saved(from, settings), "f", settings, none);
    return Dump(to);
}

std::string Loaded(std::string_view bytes, const TGridFileSettings& settings = kPlain,
                   std::string_view start = "a|b/c|d")
{
    TCellModel grid;
    Fill(grid, start);
    TFileProgress none;
    try {
        LoadGridFileText(grid, bytes, "f.grd", settings, none);
    } catch (const ECellGridError& e) {
        return e.Message + " / " + Dump(grid);
    }
    return Dump(grid);
}

// The width of column 1 of a two-column grid after loading the file.
std::string SecondWidth(std::string_view bytes)
{
    TCellModel grid;
    Fill(grid, "a|b");
    TFileProgress none;
    LoadGridFileText(grid, bytes, "f", kPlain, none);
    return std::to_string(grid.ColWidths(1));
}

std::string Csv(std::string_view rows, TGridFileSettings settings = kPlain)
{
    TCellModel grid;
    Fill(grid, rows);
    TFileProgress none;
    return CSVText(grid, settings, none);
}

std::string CsvLoaded(std::string_view bytes, bool insert = false, TGridFileSettings settings = kPlain,
                      std::string_view start = "h|h/h|h")
{
    TCellModel grid;
    Fill(grid, start);
    grid.SaveIncludesFixed = false;
    TFileProgress none;
    LoadCSVText(grid, bytes, "f.csv", insert, settings, none);
    return std::to_string(grid.ColCount()) + "x" + std::to_string(grid.RowCount()) + " " + Dump(grid);
}

std::string Fixed(std::string_view rows, std::vector<int> widths)
{
    TCellModel grid;
    Fill(grid, rows);
    const std::string text = FixedText(grid, widths, false);
    std::string list;
    for (int w : widths)
        list += std::to_string(w) + ",";
    return list + " " + text;
}

std::string FixedLoaded(std::string_view bytes, const std::vector<int>& positions)
{
    TCellModel grid;
    Fill(grid, "a|b|c/d|e|f");
    LoadFixedText(grid, bytes, "f", positions);
    return std::to_string(grid.ColCount()) + "x" + std::to_string(grid.RowCount()) + " " + Dump(grid);
}

std::string Ascii(std::string_view rows, TAlignment alignment, bool multiline = false)
{
    TCellModel grid;
    Fill(grid, rows);
    return ASCIIText(grid, multiline, [alignment](int, int) { return alignment; });
}

THTMLSettings gHtmlSettings;

std::string Html(std::string_view rows, std::function<void(THtmlExport&)> setup = nullptr, bool includeFixed = false)
{
    TCellModel grid;
    Fill(grid, rows);
    grid.SaveIncludesFixed = includeFixed;
    THTMLSettings settings;
    THtmlExport html;
    html.Settings = &settings;
    html.FixedBack = 0xC0C0C0;
    if (setup)
        setup(html);
    return HTMLTable(grid, html);
}

std::string Xml(std::string_view rows, std::vector<AnsiString> fields)
{
    TCellModel grid;
    Fill(grid, rows);
    return XMLText(grid, "list", "rec", fields);
}

const std::string kHan = "\xC7\xD1";  // 한

}  // namespace

class GridFiles : public KoreanLocale, public ::testing::WithParamInterface<TTextCase> {};

TEST_P(GridFiles, Give) { EXPECT_EQ(GetParam().got(), GetParam().want); }

const TTextCase kFormats[] = {
    // --- The grid file.
    {"GridFileHeaderWidthsAndNonEmptyCells", [] { return SavedOf("a||b"); },
     "3,1\r\ncw 0,64\r\ncw 1,64\r\ncw 2,64\r\n0,0,a\r\n2,0,b\r\n"},
    {"GridFileCommasStayInTheText", [] { return FileRoundTrip("h|h/x,y,z|1"); }, "h|h/x,y,z|1"},
    {"GridFileMultiLineTextComesBackWhole", [] { return FileRoundTrip("h|h/a\r\nb|1", Multiline()); }, "h|h/a\r\nb|1"},
    {"GridFileMultiLineTextGivesItsFirstLineWithoutMultilinecells", [] { return FileRoundTrip("h|h/a\r\nb|1"); },
     "h|h/a|1"},
    {"RegressionGridFileLoneLineFeedNoLongerBreaksTheLine", [] { return FileRoundTrip("h|h/a\nb|1", Multiline()); },
     "h|h/a\nb|1"},
    {"GridFileSkipsIndexesOutsideTheGridNegativeToo",
     [] { return Loaded("2,2\r\n-1,0,neg\r\n0,-5,neg\r\n5,1,far\r\n1,9,far\r\n1,1,in\r\n"); }, "a|b/c|in"},
    {"GridFileSkipsBlankAndJunkLines", [] { return Loaded("2,2\r\n\r\njunk\r\n0,1,x\r\n"); }, "a|b/x|d"},
    {"GridFileHeaderAboveTheGridsLimitRaisesBeforeAnythingChanges", [] { return Loaded("100000,100000\r\n0,0,x\r\n"); },
     "File contains no data or corrupt file f.grd / a|b/c|d"},
    {"GridFileZeroCountsRaiseAndLeaveTheGrid", [] { return Loaded("0,3\r\n"); },
     "File contains no data or corrupt file f.grd / a|b/c|d"},
    {"GridFileEmptyHeaderKeepsTheCounts", [] { return Loaded("\r\n1,1,x\r\n"); }, "a|b/c|x"},
    {"GridFileHugeWidthIsBounded", [] { return SecondWidth("2,1\r\ncw 1,2147483647\r\ncw 7,5\r\n"); }, "65535"},
    // A decimal number ends at the first letter: letters were digits of a base above ten.
    {"RegressionGridFileHeaderEndsAtALetter", [] { return Loaded("1e5,1e5\r\n"); }, "a"},
    {"RegressionGridFileCellIndexEndsAtALetter", [] { return Loaded("3,2\r\n2e,1,moved\r\n"); }, "a|b|/c|d|moved"},
    {"RegressionGridFileWidthEndsAtALetter", [] { return SecondWidth("2,1\r\ncw 1,80px\r\n"); }, "80"},
    {"GridFileHexadecimalCountsKeepTheirLetters", [] { return Loaded("$2,0x1g\r\n1,0,y\r\n"); }, "a|y"},
    {"GridFileHeaderCountsOnlyNormalCellsWithoutSaveIncludesFixed",
     [] {
         TCellModel g;
         Fill(g, "h|h|h/r|1|2");
         g.SaveIncludesFixed = false;
         return Saved(g).substr(0, 5);
     },
     "2,1\r\n"},
    {"GridFileProgressOfOneRowNeverDividesByZero",
     [] {
         TCellModel g;
         Fill(g, "a|b");
         std::string reports;
         TFileProgress progress([&](int p) { reports += std::to_string(p) + ";"; }, nullptr);
         GridFileText(g, kPlain, progress);
         LoadGridFileText(g, "2,1\r\n0,0,x\r\n1,0,y\r\n", "f", kPlain, progress);
         return reports;
     },
     "0;"},
    // --- The stream.
    {"StreamHoldsTextsWithIndexesFromTheSaveRange",
     [] {
         TCellModel g;
         Fill(g, "h|h|h/r|1|");
         g.SaveIncludesFixed = false;
         return GridStreamText(g);
     },
     "2,1\r\n0,0,1\r\n"},
    {"StreamOfCountsOnlySetsTheSaveStart",
     [] {
         TCellModel g;
         Fill(g, "a|b/c|d");
         g.SaveIncludesFixed = false;
         TMemoryStream s;
         s.WriteBuffer("0,0\r\n");
         s.SetPosition(0);
         LoadGridStream(g, s, false);
         return std::to_string(g.ColCount()) + "x" + std::to_string(g.RowCount());
     },
     "1x1"},
    {"StreamSkipsLinesOutsideTheGrid",
     [] {
         TCellModel g;
         Fill(g, "a|b/c|d");
         TMemoryStream s;
         s.WriteBuffer("2,2\r\n-1,0,x\r\n7,0,x\r\n1,1,in\r\n");
         s.SetPosition(0);
         LoadGridStream(g, s, false);
         return Dump(g) + " at " + std::to_string(s.Position());
     },
     "a|b/c|in at 28"},
    {"StreamMalformedNumberRaisesKeepingWhatWasRead",
     [] {
         TCellModel g;
         Fill(g, "a|b/c|d");
         TMemoryStream s;
         s.WriteBuffer("2,2\r\n0,0,x\r\nbad,1,y\r\n1,1,z\r\n");
         s.SetPosition(0);
         try {
             LoadGridStream(g, s, false);
         } catch (const EConvertError&) {
             return "raised " + Dump(g);
         }
         return Dump(g);
     },
     "raised x|b/c|d"},
    // --- CSV.
    {"CsvFieldForms", [] { return Csv("a||b,c"); }, "a,\"\",\"b,c\"\r\n"},
    {"CsvQuotesAreDoubled", [] { return Csv("say \"hi\"|x"); }, "\"say \"\"hi\"\"\",x\r\n"},
    {"CsvLineBreaksAreQuotedAsLineFeeds", [] { return Csv("a\r\nb|c"); }, "\"a\nb\",c\r\n"},
    {"CsvJavaStyle",
     [] {
         TGridFileSettings s;
         s.CSVJavaStyle = true;
         return Csv("x\r\ny||z", s);
     },
     "x~y,^,z\r\n"},
    {"CsvJavaStyleReadsBack",
     [] {
         TGridFileSettings s;
         s.CSVJavaStyle = true;
         return CsvLoaded("h,h\r\nx~y,^\r\n", false, s);
     },
     "3x3 h|h|/h|h|h/|x\r\ny|^"},
    {"CsvEveryTextSurvivesASaveAndLoad",
     [] {
         const std::string rows = "h|h/\"|,/a\r\nb|\"x,\"\"y\"/" + kHan + ";|\t/ lead| trail ";
         TCellModel grid;
         Fill(grid, rows);
         TFileProgress none;
         const std::string bytes = CSVText(grid, kPlain, none);
         TCellModel back;
         Fill(back, "h|h");
         LoadCSVText(back, bytes, "f", false, kPlain, none);
         return Dump(back) == rows ? "same" : Dump(back);
     },
     "same"},
    {"CsvDetectsTheSeparatorBothLinesAgreeOn",
     [] { return std::string(1, DetectCSVDelimiter("a,b;c;d;e\r\n1,2;3;4;5\r\n")); }, ";"},
    {"CsvDetectionIgnoresDelimitersInsideQuotes",
     [] { return std::string(1, DetectCSVDelimiter("h,h\r\n\"a,b\",c\r\n")); }, ","},
    {"CsvOneLineFileIsOneFieldALine", [] { return CsvLoaded("a,b,c\r\n"); }, "2x2 h|h/h|a,b,c"},
    {"CsvFirstLineGoesBelowTheFixedRow", [] { return CsvLoaded("1,2\r\n3,4\r\n"); }, "3x3 h|h|/h|1|2/|3|4"},
    {"CsvInsertAddsTheFileRowsAfterTheOthers", [] { return CsvLoaded("1;2\r\n3;4\r\n", true); },
     "3x4 h|h|/h|h|/|1|2/|3|4"},
    {"CsvRowsWidenTheGrid", [] { return CsvLoaded("1,2,3\r\n4,5,6\r\n"); }, "4x3 h|h||/h|1|2|3/|4|5|6"},
    {"CsvLoneLineFeedsReadAsCrLf", [] { return CsvLoaded("\"a\nb\",c\r\nd,e\r\n"); }, "3x3 h|h|/h|a\r\nb|c/|d|e"},
    {"CsvUnclosedQuoteTakesItsOwnLineOnly",
     [] { return CsvLoaded("\"open,x\r\ny,z\r\n", false, kPlain, "h|h|h/h|h|h"); }, "3x3 h|h|h/h|open|x/|y|z"},
    {"CsvTooManyRowsRaiseBeforeAnythingChanges",
     [] {
         TCellModel g;
         Fill(g, "a|b");
         g.SetColCount(70000);
         TFileProgress none;
         try {
             LoadCSVText(g, std::string(2000, '\n'), "big.csv", false, kPlain, none);
         } catch (const ECellGridError& e) {
             return e.Message + " " + std::to_string(g.RowCount());
         }
         return std::string("no error");
     },
     "File contains no data or corrupt file big.csv 1"},
    // --- Fixed width.
    {"FixedMeasuresEveryColumnItLacks", [] { return Fixed("ab|c/d|efg", {}); }, "3,4, ab c   \r\nd  efg \r\n"},
    {"FixedKeepsGivenWidthsAndCuts", [] { return Fixed("abcd|e", {2}); }, "2,2, abe \r\n"},
    {"FixedCutNeverSplitsAPair",
     [] {
         return Fixed("a" + kHan + "|x", {2, 1});
     },
     "2,1, a x\r\n"},
    {"FixedWritesTheFirstLineOfACell",
     [] {
         return Fixed("a\r\nb|c", {2, 2});
     },
     "2,2, a c \r\n"},
    {"FixedLoadsColumnsBetweenPositions",
     [] {
         return FixedLoaded("abc  defgh\r\n12345678\r\n", {1, 5, 10});
     },
     "3x2 abc|defg|c/1234|5678|f"},
    {"RegressionFixedFewerThanTwoPositionsLoadNothing", [] { return FixedLoaded("abc\r\n", {1}); }, "3x2 a|b|c/d|e|f"},
    {"FixedLoadGrowsTheRows",
     [] {
         return FixedLoaded("a b\r\nc d\r\ne f\r\n", {1, 3, 5});
     },
     "3x3 a|b|c/c|d|f/e|f|"},
    {"FixedLoadNeverCutsAPair",
     [] {
         return FixedLoaded(kHan + kHan + "\r\n", {1, 2, 5});
     },
     "3x2 " + kHan + "|" + kHan + "|c/d|e|f"},
    // --- Aligned text.
    {"AsciiRightAlignsToTheColumnWidth", [] { return Ascii("123|x/4|y", taRightJustify); }, "123 x \r\n  4 y \r\n"},
    {"AsciiCentresAndOverflowsByOne", [] { return Ascii("abcde/ab", taCenter); }, "abcde \r\n  ab  \r\n"},
    {"AsciiSpreadsLinesOverContinuationLines", [] { return Ascii("a|b\r\nc/dd|e", taLeftJustify, true); },
     "a  b \r\n   c\r\ndd e \r\n"},
    {"RegressionAsciiHasNoColumnLimit",
     [] {
         TCellModel g;
         g.SetColCount(300);
         g.SetRowCount(1);
         g.SetCells(299, 0, "z");
         const std::string text = ASCIIText(g, false, nullptr);
         return std::to_string(text.size()) + text.substr(299);
     },
     "303z \r\n"},
    // --- HTML.
    {"HtmlEmptyCellWithoutWordWrap", [] { return Html("h|h/h|"); },
     "<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">\r\n<tr>\r\n<td nowrap><br></td>\r\n"
     "</tr>\r\n</table><p>\r\n"},
    {"HtmlWordWrapWritesNoNowrap", [] { return Html("h|h/h|x", [](THtmlExport& e) { e.WordWrap = true; }); },
     "<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">\r\n<tr>\r\n<td>x</td>\r\n"
     "</tr>\r\n</table><p>\r\n"},
    {"HtmlTableStyleIsAnAttributeAfterCellpadding",
     [] {
         TCellModel g;
         Fill(g, "a");
         THTMLSettings s;
         s.TableStyle = "class=\"t\"";
         s.PrefixTag = "<div>";
         THtmlExport html;
         html.Settings = &s;
         const std::string text = HTMLTable(g, html);
         return text.substr(0, text.find("<tr>"));
     },
     "<div>\r\n<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\" class=\"t\" width=\"100%\">\r\n"},
    {"HtmlRightAlignedEmptyBodyCellHasNoAlignButTheHeaderHas",
     [] {
         return Html(
             "h|/a|", [](THtmlExport& e) { e.Alignment = [](int, int) { return taRightJustify; }; }, true);
     },
     "<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">\r\n<tr>\r\n"
     "<td nowrap align=\"right\" BGCOLOR=\"#C0C0C0\"><B>h</B></td>\r\n"
     "<td nowrap align=\"right\" BGCOLOR=\"#C0C0C0\"><B><br></B></td>\r\n</tr>\r\n<tr>\r\n"
     "<td nowrap align=\"right\" BGCOLOR=\"#C0C0C0\">a</td>\r\n<td nowrap><br></td>\r\n</tr>\r\n</table><p>\r\n"},
    {"HtmlColoursAndStylesFromTheCellsLook",
     [] {
         return Html("h|h/h|x", [](THtmlExport& e) {
             e.Look = [](int c, int) {
                 THtmlCellLook look;
                 if (c == 1) {
                     look.Back = 0x0000FF;
                     look.Text = 0x00FF00;
                     look.Bold = look.Italic = true;
                 }
                 return look;
             };
         });
     },
     "<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">\r\n<tr>\r\n"
     "<td nowrap BGCOLOR=\"#FF0000\"><font color=\"#00FF00\"><B><I>x</I></B></font></td>\r\n</tr>\r\n</table><p>\r\n"},
    {"RegressionHtmlFixedCellsStartFromTheUnsetColour",
     [] {
         const std::string html = Html(
             "h|h/h|x",
             [](THtmlExport& e) {
                 e.Look = [](int c, int) {
                     THtmlCellLook look;
                     if (c == 0)
                         look.Back = 0x123456;
                     return look;
                 };
             },
             true);
         return html.substr(html.find("<td", html.find("</tr>")), 40);
     },
     "<td nowrap BGCOLOR=\"#563412\">h</td>\r\n<td"},
    {"HtmlLinksShowTheirTextAfterTheProtocol", [] { return HTMLCellText("http://x.org", true, false); },
     "<A HREF=http://x.org>x.org</A>"},
    {"HtmlLinksWithURLFullShowTheWholeText", [] { return HTMLCellText("mailto:a@b", true, true); },
     "<A HREF=mailto:a@b>mailto:a@b</A>"},
    {"HtmlLineBreaksAndMarkUpStay", [] { return HTMLCellText("<B>a</B>\r\nb://", true, false); }, "<B>a</B><br>\nb://"},
    // --- XML.
    {"XmlNamesColumnsPastTheFieldTags",
     [] {
         return Xml("a|b|c", {"x", "y"});
     },
     "<?xml version=\"1.0\"?>\r\n<list>\r\n<rec>\r\n<x>a</x>\r\n<y>b</y>\r\n<FIELD2>c</FIELD2>\r\n</rec>\r\n"
     "</list>\r\n"},
    {"RegressionXmlIsUtf8AndEscaped", [] { return Xml(kHan + "<&>", {}); },
     "<?xml version=\"1.0\"?>\r\n<list>\r\n<rec>\r\n<FIELD0>\xED\x95\x9C&lt;&amp;&gt;</FIELD0>\r\n</rec>\r\n"
     "</list>\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Formats, GridFiles, ::testing::ValuesIn(kFormats), CaseName);

// Random bytes as every format: the readers end with a consistent grid or a message.
TEST(GridFileReaders, RandomBytesNeverBreakTheGrid)
{
    std::mt19937 random(7);
    const std::string alphabet = "0123456789,;|\t\"\r\n-cw x\xB0\xA1\xFF";
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 200);
        for (int i = 0; i < length; ++i)
            bytes += alphabet[random() % alphabet.size()];
        TCellModel grid;
        Fill(grid, "a|b/c|d");
        TFileProgress none;
        TGridFileSettings settings;
        settings.Multilinecells = round % 2;
        try {
            switch (round % 4) {
            case 0: LoadGridFileText(grid, bytes, "f", settings, none); break;
            case 1: LoadCSVText(grid, bytes, "f", round % 8 == 1, settings, none); break;
            case 2: LoadFixedText(grid, bytes, "f", {1, 3, 4, 9}); break;
            default: {
                TMemoryStream stream;
                stream.WriteBuffer(bytes);
                stream.SetPosition(0);
                LoadGridStream(grid, stream, true);
            }
            }
        } catch (const Exception&) {}
        ASSERT_TRUE(grid.CheckConsistency()) << round;
    }
}
