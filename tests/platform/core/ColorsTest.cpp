#include <gtest/gtest.h>

#include "platform/core/Colors.h"
#include "platform/core/Exceptions.h"
#include "tests/platform/core/Cases.h"

TEST(ColorNames, IdentifiersBothWays)
{
    Each(TextChecks{CHECK_ROW(ColorToString(clWhite), "clWhite"), CHECK_ROW(ColorToString(clNavy), "clNavy"),
                    CHECK_ROW(ColorToString(0x800000), "clNavy"), CHECK_ROW(ColorToString(clBtnFace), "clBtnFace"),
                    CHECK_ROW(ColorToString(clInfoBk), "clInfoBk"), CHECK_ROW(ColorToString(clNone), "clNone")});
    EXPECT_EQ(StringToColor("clWhite"), 0xFFFFFF);
    EXPECT_EQ(StringToColor("CLNAVY"), 0x800000);  // identifiers are found without regard to case
    EXPECT_EQ(StringToColor("clBtnFace"), static_cast<TColor>(0x8000000F));
    EXPECT_EQ(StringToColor("clDefault"), 0x20000000);
}

TEST(ColorNames, OtherValuesAreHexadecimal)
{
    EXPECT_EQ(ColorToString(0x00123456), "$00123456");
    EXPECT_EQ(StringToColor("$00ABCDEF"), 0xABCDEF);
    EXPECT_EQ(StringToColor("255"), clRed);
    for (TColor c : {0x010203, 0x7F7F7F, 0x00FF8000})
        EXPECT_EQ(StringToColor(ColorToString(c)), c);
}

TEST(ColorNames, AnUnknownWordRaisesTheConversionError)
{
    ExpectRaises<EConvertError>([&] { StringToColor("clChartreuse"); }, "'clChartreuse' is not a valid integer value");
}

TEST(ColorValues, BlueIsInTheHighByte)
{
    EXPECT_EQ(RGB(255, 0, 0), clRed);
    EXPECT_EQ(RGB(0, 0, 255), clBlue);
    Each(NumberChecks{CHECK_ROW(GetRValue(clOlive), 0x80), CHECK_ROW(GetGValue(clOlive), 0x80),
                      CHECK_ROW(GetBValue(clOlive), 0)});
}

TEST(ColorValues, SystemColoursResolveFromTheFixedTable)
{
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(15));
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(GetSysColor(99), clBlack);
}
