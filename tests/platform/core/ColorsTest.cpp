#include <gtest/gtest.h>

#include "platform/core/Colors.h"
#include "platform/core/Exceptions.h"

TEST(ColorNames, IdentifiersBothWays)
{
    EXPECT_EQ(ColorToString(clWhite), "clWhite");
    EXPECT_EQ(ColorToString(clNavy), "clNavy");
    EXPECT_EQ(ColorToString(0x800000), "clNavy");
    EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToString(clInfoBk), "clInfoBk");
    EXPECT_EQ(ColorToString(clNone), "clNone");
    EXPECT_EQ(StringToColor("clWhite"), 0xFFFFFF);
    EXPECT_EQ(StringToColor("CLNAVY"), 0x800000);  // identifiers are found without regard to case
    EXPECT_EQ(StringToColor("clBtnFace"), static_cast<TColor>(0x8000000F));
    EXPECT_EQ(StringToColor("clDefault"), 0x20000000);
}

TEST(ColorNames, OtherValuesAreHexadecimal)
{
    EXPECT_EQ(ColorToString(0x00123456), "$00123456");
    EXPECT_EQ(ColorToString(0x00ABCDEF), "$00abcdef");
    EXPECT_EQ(StringToColor("$00ABCDEF"), 0xABCDEF);
    EXPECT_EQ(StringToColor("$00abcdef"), 0xABCDEF);
    EXPECT_EQ(StringToColor("255"), clRed);
    for (TColor c : {0x010203, 0x7F7F7F, 0x00FF8000})
        EXPECT_EQ(StringToColor(ColorToString(c)), c);
}

TEST(ColorNames, AnUnknownWordRaisesTheConversionError)
{
    try {
        StringToColor("clChartreuse");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "'clChartreuse' is not a valid integer value");
    }
}

TEST(ColorValues, BlueIsInTheHighByte)
{
    EXPECT_EQ(RGB(255, 0, 0), clRed);
    EXPECT_EQ(RGB(0, 0, 255), clBlue);
    EXPECT_EQ(GetRValue(clOlive), 0x80);
    EXPECT_EQ(GetGValue(clOlive), 0x80);
    EXPECT_EQ(GetBValue(clOlive), 0);
}

TEST(ColorValues, SystemColoursResolveFromTheFixedTable)
{
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(15));
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_GE(ColorToRGB(clHighlight), 0);
    EXPECT_EQ(GetSysColor(99), clBlack);
}

TEST(ColorValues, TheTerminalPaletteIsInPcOrder)
{
    EXPECT_EQ(kTerminalPalette[0], clBlack);
    EXPECT_EQ(kTerminalPalette[1], clNavy);
    EXPECT_EQ(kTerminalPalette[4], clMaroon);
    EXPECT_EQ(kTerminalPalette[6], clOlive);
    EXPECT_EQ(kTerminalPalette[7], clSilver);
    EXPECT_EQ(kTerminalPalette[8], clGray);
    EXPECT_EQ(kTerminalPalette[9], clBlue);
    EXPECT_EQ(kTerminalPalette[12], clRed);
    EXPECT_EQ(kTerminalPalette[14], clYellow);
    EXPECT_EQ(kTerminalPalette[15], clWhite);
}
