#include "platform/core/Variant.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/core/DateFormat.h"
#include "platform/core/DateTime.h"

namespace {

struct TCompareRow {
    const char* Name;
    Variant Left, Right;
    TVariantRelationship Expected;
};

const TCompareRow kCompareRows[] = {
    {"NumberOneEqualsTextOne", 1, "1", vrEqual},
    {"TextOneEqualsNumberOne", "1", 1, vrEqual},
    {"TextNumberComparesByValueNotBytes", 9, "10", vrLessThan},
    {"DoubleEqualsTextWithDecimals", 2.5, "2.5", vrEqual},
    {"NumberAgainstWordComparesAsText", 5, "abc", vrLessThan},
    {"IntegerAgainstInt64", 3, int64_t{1} << 40, vrLessThan},
    {"LargeInt64sCompareExactly", int64_t{9007199254740993}, int64_t{9007199254740992}, vrGreaterThan},
    {"TextsCompareCaseSensitively", "a", "B", vrGreaterThan},
    {"HangulTextsCompareByBytes", "\xB0\xA1", "\xB3\xAA", vrLessThan},  // 가 < 나
    {"TrueIsMinusOne", true, -1, vrEqual},
    {"EmptyEqualsEmpty", Variant(), Variant(), vrEqual},
    {"NullEqualsNull", Variant::Null(), Variant::Null(), vrEqual},
    {"EmptyIsNotZero", Variant(), 0, vrNotEqual},
    {"NullIsNotEmptyText", Variant::Null(), "", vrNotEqual},
    {"DateAgainstNumber", Variant::FromDate(2.0), 2, vrEqual},
};

class VarCompareTable : public ::testing::TestWithParam<TCompareRow> {};

TEST_P(VarCompareTable, Relationship) { EXPECT_EQ(VarCompare(GetParam().Left, GetParam().Right), GetParam().Expected); }

INSTANTIATE_TEST_SUITE_P(Rows, VarCompareTable, ::testing::ValuesIn(kCompareRows),
                         [](const auto& row) { return std::string(row.param.Name); });

struct TTextRow {
    const char* Name;
    Variant Value;
    const char* Text;
    TVarType Type;
};

const TTextRow kTextRows[] = {
    {"Empty", Variant(), "", varEmpty},
    {"Null", Variant::Null(), "", varNull},
    {"Integer", -42, "-42", varInteger},
    {"Int64", int64_t{1} << 40, "1099511627776", varInt64},
    {"Double", 0.25, "0.25", varDouble},
    {"BooleanTrue", true, "True", varBoolean},
    {"HangulText", "\xC7\xD1\xB1\xDB", "\xC7\xD1\xB1\xDB", varString},
    {"DateWithoutTime", Variant::FromDate(EncodeDate(2024, 3, 5)), nullptr, varDate},
};

class VarToStrTable : public ::testing::TestWithParam<TTextRow> {};

TEST_P(VarToStrTable, TextAndType)
{
    const TTextRow& row = GetParam();
    EXPECT_EQ(row.Value.VarType(), row.Type);
    if (row.Text)
        EXPECT_EQ(VarToStr(row.Value), row.Text);
    else  // a date reads back as the date it was made from
        EXPECT_EQ(StrToDate(VarToStr(row.Value)), EncodeDate(2024, 3, 5));
}

INSTANTIATE_TEST_SUITE_P(Rows, VarToStrTable, ::testing::ValuesIn(kTextRows),
                         [](const auto& row) { return std::string(row.param.Name); });

}  // namespace

TEST(Variant, ConversionsBetweenKinds)
{
    EXPECT_EQ(Variant("12").AsInteger(), 12);
    EXPECT_DOUBLE_EQ(Variant("1.5").AsDouble(), 1.5);
    EXPECT_TRUE(Variant("true").AsBoolean());
    EXPECT_EQ(Variant(int64_t{1} << 40).AsInteger(), INT32_MAX);  // saturates, never wraps
    EXPECT_THROW(Variant("abc").AsDouble(), EVariantTypeCastError);
    EXPECT_THROW(Variant::Null().AsInteger(), EVariantTypeCastError);
    EXPECT_EQ(Variant(), Variant());
}

// A double turned to text and back is a double again: the infinities and not-a-number as the
// texts they are written as, the largest as the 15 digits it rounds to (1.79769313486232E308).
TEST(Variant, RegressionDoublesReadBackFromTheirText)
{
    const double largest = std::numeric_limits<double>::max(), infinity = std::numeric_limits<double>::infinity();
    for (const double value : {infinity, -infinity, largest, -largest, 0.1, std::nan("")})
        EXPECT_EQ(std::bit_cast<uint64_t>(Variant(Variant(value).AsString()).AsDouble()),
                  std::bit_cast<uint64_t>(value));
    EXPECT_EQ(VarCompare(1, "NAN"), vrLessThan);  // no order as numbers: as texts
}
