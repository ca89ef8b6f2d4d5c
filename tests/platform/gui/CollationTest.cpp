// The Korean locale's comparisons of cp949 texts.

#include "platform/gui/Collation.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/core/Cp949.h"

namespace {

struct TCollateCase {
    const char* name;
    const char* first;  // UTF-8 here, cp949 when compared
    const char* second;
    int caseSensitive;
    int caseIgnored;
};
void PrintTo(const TCollateCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class Collation : public ::testing::TestWithParam<TCollateCase> {};

TEST_P(Collation, OrdersAsTheKoreanLocale)
{
    const AnsiString a = Utf8ToCp949(GetParam().first), b = Utf8ToCp949(GetParam().second);
    EXPECT_EQ(AnsiCompareStr(a, b), GetParam().caseSensitive);
    EXPECT_EQ(AnsiCompareText(a, b), GetParam().caseIgnored);
    EXPECT_EQ(AnsiCompareStr(b, a), -GetParam().caseSensitive);
}

const TCollateCase kCollate[] = {
    {"HangulInDictionaryOrder", "가나", "나가", -1, -1},
    {"LaterSyllableAfter", "한글", "한국", 1, 1},
    {"LettersIgnoreCaseBeforeItDecides", "apple", "Banana", -1, -1},
    {"LowerCaseBeforeUpperWhenOnlyCaseDiffers", "abc", "ABC", -1, 0},
    {"SameTexts", "같다", "같다", 0, 0},
    {"HangulBeforeOtherScripts", "가", "zebra", -1, -1},
    {"DigitsBeforeLetters", "9", "a", -1, -1},
    {"ShorterFirst", "가", "가가", -1, -1},
    {"EmptyFirst", "", "a", -1, -1},
};
INSTANTIATE_TEST_SUITE_P(Gui, Collation, ::testing::ValuesIn(kCollate),
                         [](const auto& row) { return std::string(row.param.name); });

// Bytes that are no cp949 character decode to replacement characters and still compare.
TEST(Collation, UnpairedLeadBytesCompareWithoutHarm)
{
    EXPECT_EQ(AnsiCompareStr("\xB0", "\xB0"), 0);
    EXPECT_NE(AnsiCompareStr("a\xFF", "a"), 0);
}
