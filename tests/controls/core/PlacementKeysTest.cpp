// The keys of a window placement in real INI files: both spellings of the positions, the
// fallback after a change of resolution, the pixels-per-inch gate and bad numbers.

#include "controls/core/PlacementKeys.h"

#include <gtest/gtest.h>

#include "controls/core/AppUtils.h"
#include "platform/core/IniFile.h"
#include "tests/platform/core/TempFolder.h"

namespace {

const TPlacementScreen kScreen{1024, 768, 96};
const TRect kCurrent = Rect(5, 6, 105, 206);

TPlacementRecord Stored()
{
    TPlacementRecord p;
    p.ShowCmd = 3;
    p.NormalPosition = Rect(10, 20, 310, 220);
    return p;
}

TEST(PlacementKeys, WritesEachPositionUnderBothKeys)
{
    TempFolder folder;
    TIniFile ini("p.ini");
    WritePlacementKeys(&ini, "F", Stored(), kScreen);
    ini.UpdateFile();
    EXPECT_EQ(TempFolder::Read(folder.File("p.ini")),
              "[F]\r\nFlags=0\r\nShowCmd=3\r\nPixelsPerInch=96\r\nMinMaxPos(1024x768)=-1,-1,-1,-1\r\n"
              "MinMaxPos=-1,-1,-1,-1\r\nNormPos(1024x768)=10,20,310,220\r\nNormPos=10,20,310,220\r\n");
    const TPlacementReading r = ReadPlacementKeys(&ini, "F", kCurrent, kScreen);
    EXPECT_TRUE(r.ApplyPosition);
    EXPECT_EQ(r.ShowCmd, 3);
    EXPECT_EQ(r.Placement.NormalPosition, Rect(10, 20, 310, 220));
}

struct TPlacementReadCase {
    const char* name;
    const char* lines;  // the section's lines
    bool apply;
    TRect normal;
};
class PlacementReading : public ::testing::TestWithParam<TPlacementReadCase> {};

TEST_P(PlacementReading, Gives)
{
    TempFolder folder;
    TempFolder::Write(folder.File("p.ini"), std::string("[F]\r\n") + GetParam().lines);
    TIniFile ini("p.ini");
    const TPlacementReading r = ReadPlacementKeys(&ini, "F", kCurrent, kScreen);
    EXPECT_EQ(r.ApplyPosition, GetParam().apply);
    EXPECT_EQ(r.Placement.NormalPosition, GetParam().normal);
}

const TPlacementReadCase kPlacementReads[] = {
    {"OtherResolutionFallsBackToThePlainKey", "PixelsPerInch=96\r\nNormPos(800x600)=1,2,3,4\r\nNormPos=7,8,90,100\r\n",
     true, Rect(7, 8, 90, 100)},
    {"SizedKeyGoesFirst", "NormPos(1024x768)=1,2,30,40\r\nNormPos=7,8,90,100\r\n", true, Rect(1, 2, 30, 40)},
    {"OtherPixelsPerInchIsNotApplied", "PixelsPerInch=120\r\nNormPos=7,8,90,100\r\n", false, Rect(7, 8, 90, 100)},
    {"BadNumberKeepsTheCurrentValue", "NormPos=7,x,90\r\n", true, Rect(7, 6, 90, 206)},
    {"NothingStored", "Flags=0\r\n", false, kCurrent},
};
INSTANTIATE_TEST_SUITE_P(Rows, PlacementReading, ::testing::ValuesIn(kPlacementReads),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(PlacementKeys, ShowCommandsMapToStates)
{
    EXPECT_EQ(StoredWindowState(9, swsMaximized), swsNormal);
    EXPECT_EQ(StoredWindowState(7, swsNormal), swsMinimized);
    EXPECT_EQ(StoredWindowState(3, swsNormal), swsMaximized);
    EXPECT_EQ(StoredWindowState(0, swsMaximized), swsMaximized);
}

}  // namespace
