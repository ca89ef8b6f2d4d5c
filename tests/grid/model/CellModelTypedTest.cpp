// Typed views of cell text, calculations, numbering, headers and print reads.

#include <cfloat>
#include <climits>
#include <sstream>

#include "platform/core/DateTime.h"
#include "tests/grid/model/GridModelSupport.h"

namespace {

// What a call gives, or the message of what it raised.
template <class F>
std::string Try(F f)
{
    try {
        std::ostringstream out;
        out << f();
        return out.str();
    } catch (const Exception& e) {
        return e.Message;
    }
}

// A grid of the text, and what a call on it gives.
template <class F>
std::string On(const char* cells, F f)
{
    TCellModel g;
    Fill(g, cells);
    return Try([&] { return f(g); });
}

}  // namespace

class Typed : public KoreanLocale, public ::testing::WithParamInterface<TTextCase> {};

TEST_P(Typed, Gives) { EXPECT_EQ(GetParam().got(), GetParam().want); }

const TTextCase kTyped[] = {
    {"SetIntsWritesTheDecimalText",
     [] {
         return On("h|h/a|b", [](TCellModel& g) {
             g.SetInts(1, 1, -5);
             return g.Cells(1, 1);
         });
     },
     "-5"},
    {"GetIntsOfAnEmptyCellIsZero", [] { return On("h|h/a|", [](TCellModel& g) { return g.GetInts(1, 1); }); }, "0"},
    {"GetIntsOfTextRaises", [] { return On("h|h/a|12a", [](TCellModel& g) { return g.GetInts(1, 1); }); },
     "Cell does not contain integer value"},
    {"GetIntsOfALeadingBlankRaises", [] { return On("h|h/a| 12", [](TCellModel& g) { return g.GetInts(1, 1); }); },
     "Cell does not contain integer value"},
    {"GetFloatsDropsThousandSeparators",
     [] { return On("h|h/a|1,234.5", [](TCellModel& g) { return g.GetFloats(1, 1); }); }, "1234.5"},
    {"SetFloatsWritesThroughFloatFormat",
     [] {
         return On("h|h/a|", [](TCellModel& g) {
             g.SetFloats(1, 1, 2);
             g.FloatFormat = "%-6.1f kg";
             g.SetFloats(0, 1, 2.25);
             return g.Cells(1, 1) + "|" + g.Cells(0, 1);
         });
     },
     "2.00|2.3    kg"},
    {"RegressionFloatFormatOfAnotherKindRaisesInsteadOfReadingPastItsArgument",
     [] {
         return On("h|h/a|", [](TCellModel& g) {
             g.FloatFormat = "%s";
             g.SetFloats(1, 1, 2);
             return g.Cells(1, 1);
         });
     },
     "Format '%s' invalid or incompatible with argument"},
    {"DatesRoundTripInTheShortDateFormat",
     [] {
         return On("h|h/a|", [](TCellModel& g) {
             g.SetDates(1, 1, EncodeDate(2024, 3, 5) + 0.5);
             return g.Cells(1, 1) + " " + std::to_string(g.GetDates(1, 1) == EncodeDate(2024, 3, 5));
         });
     },
     "2024-03-05 1"},
    {"ColumnAverage", [] { return On("h/1/2/3/4", [](TCellModel& g) { return g.ColumnAvg(0, 1, 4); }); }, "2.5"},
    {"RowAverageMinimumMaximum",
     [] {
         return On("1|2|3|4", [](TCellModel& g) {
             return std::to_string(g.RowAvg(0, 0, 3)) + " " + std::to_string(g.RowMin(0, 0, 3)) + " " +
                 std::to_string(g.RowMax(0, 0, 3));
         });
     },
     "2.500000 1.000000 4.000000"},
    {"RegressionAverageOfAnEmptyRangeIsZero",
     [] { return On("h/1/2", [](TCellModel& g) { return g.ColumnAvg(0, 2, 1) + g.RowAvg(1, 3, 0); }); }, "0"},
    {"SumPastTheLastRowEndsWithTheRows",
     [] { return On("h/1/2", [](TCellModel& g) { return g.ColumnSum(0, 1, INT_MAX); }); }, "3"},
    {"MinimumCountsEmptyCellsAsZero", [] { return On("h/5//7", [](TCellModel& g) { return g.ColumnMin(0, 1, 3); }); },
     "0"},
    {"SumStopsAtTheFirstCellThatIsNoNumber",
     [] { return On("h/1/x/2", [](TCellModel& g) { return g.ColumnSum(0, 1, 3); }); },
     "Cell does not contain integer value"},
    {"RegressionGetFloatsOfPlusMinusRaises",
     [] { return On("h/+-5", [](TCellModel& g) { return g.GetFloats(0, 1); }); },
     "Cell does not contain integer value"},
    // SetFloats wrote "INF" that GetFloats refused, so every later sum of the column raised.
    {"RegressionAnOverflowedSumWrittenBackIsSummedAgain",
     [] {
         return On("h/1e308/1e308/", [](TCellModel& g) {
             g.SetFloats(0, 3, g.ColumnSum(0, 1, 2));
             g.SetFloats(1, 3, -g.ColumnSum(0, 1, 2));
             g.SetFloats(2, 3, g.ColumnSum(0, 1, 3) + g.ColumnSum(1, 3, 3));
             return g.Cells(0, 3) + g.Cells(1, 3) + g.Cells(2, 3) + " " + std::to_string(g.ColumnSum(0, 1, 3));
         });
     },
     "INF-INFNAN inf"},
    // Written with fewer digits than it has, the largest double rounds past itself ("1.8E+308"),
    // which GetFloats refused.
    {"RegressionTheLargestDoubleReadsBackInEveryFormat",
     [] {
         return On("h/", [](TCellModel& g) {
             std::string out;
             for (const char* format : {"%.2e", "%g", "%.3g", "%m"}) {
                 g.FloatFormat = format;
                 g.SetFloats(0, 1, -DBL_MAX);
                 out += g.Cells(0, 1) + (g.GetFloats(0, 1) == -DBL_MAX ? " " : "(changed) ");
             }
             return out;
         });
     },
     "-1.8E+308 -1.79769313486232E308 -1.8E308 -1.79769313486231571E308 "},
    {"AutoNumberSkipsFixedAndFooterRows",
     [] {
         return On("h/a/b/c/d/f", [](TCellModel& g) {
             g.SetFixedFooters(1);
             g.AutoNumberCol(0);
             return Dump(g);
         });
     },
     "h/1/2/3/4/f"},
    {"ColumnHeadersFillRowZero",
     [] {
         return On("x|x|x|x|x/a|b|c|d|e", [](TCellModel& g) {
             TStringList names;
             names.SetText("one\ntwo\\nlines\nthree\n");
             g.SetColumnHeaders(&names);
             return Dump(g);
         });
     },
     "one|two\rlines|three||/a|b|c|d|e"},
    {"ColumnHeadersNeedAFixedRow",
     [] {
         return On("x|x/a|b", [](TCellModel& g) {
             g.SetFixedRows(0);
             TStringList names;
             names.Add("one");
             g.SetColumnHeaders(&names);
             return Dump(g);
         });
     },
     "x|x/a|b"},
    {"ChangingTheHeaderListShowsItAgain",
     [] {
         return On("x|x/a|b", [](TCellModel& g) {
             g.ColumnHeaders()->Add("new");
             return Dump(g);
         });
     },
     "new|x/a|b"},
    {"PrintColumnWidthOutsideTheTableRaises",
     [] { return On("a", [](TCellModel& g) { return g.GetPrintColWidth(300); }); }, "Columns is not in valid range"},
    {"RandomFillStaysInItsRange",
     [] {
         return On("h|h/a|b/c|d", [](TCellModel& g) {
             g.RandomFill(false, 3);
             for (int r = 1; r < 3; ++r)
                 if (g.GetInts(1, r) < 0 || g.GetInts(1, r) > 2)
                     return std::string("out of range");
             return g.Cells(0, 0) + g.Cells(1, 0) + g.Cells(0, 1);
         });
     },
     "hha"},
};
INSTANTIATE_TEST_SUITE_P(Cells, Typed, ::testing::ValuesIn(kTyped), CaseName);
