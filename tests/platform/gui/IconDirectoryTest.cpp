// Icon-file directories from untrusted bytes, and the choice of image for a display.

#include "platform/gui/IconDirectory.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/controls/core/IconBytes.h"

// The file's own namespace keeps the using-directive out of the test files compiled with it.
namespace icon_directory_test {
namespace {

using namespace iconbytes;

struct TBadCase {
    const char* name;
    std::function<std::string()> make;
};
class BadIconData : public ::testing::TestWithParam<TBadCase> {};

TEST_P(BadIconData, IsRefused)
{
    TIconDirectory dir;
    dir.Type = 7;
    EXPECT_FALSE(ReadIconDirectory(GetParam().make(), dir));
    EXPECT_EQ(dir.Type, 7);  // left as it was
}

const TBadCase kBad[] = {{"NoImages", [] { return IconFile({}); }},
                         {"DirectoryLongerThanTheData", [] { return IconFile({Image(16, 16, 4)}).substr(0, 20); }},
                         {"OffsetPlusSizeWrapsPast32Bits",
                          [] {
                              std::string s = IconFile({Image(16, 16, 4)});
                              Set32(s, 6 + 8, 0x20);
                              Set32(s, 6 + 12, 0xFFFFFFF0);
                              return s;
                          }},
                         {"WidthZero", [] { return IconFile({Image(0, 16, 4)}); }},
                         {"SideAbove256", [] { return IconFile({Image(257, 16, 32)}); }},
                         {"ThreeBitsAPixel", [] { return IconFile({Image(16, 16, 3)}); }},
                         {"RowsPastTheImage", [] { return IconFile({Image(16, 16, 32).substr(0, 600)}); }},
                         // 256 x 256 at 32 bits claimed in a few bytes: the row arithmetic must not overflow.
                         {"HugeClaimInATinyImage",
                          [] {
                              std::string image = Image(1, 1, 32);
                              Set32(image, 4, 256);
                              Set32(image, 8, 512);
                              return IconFile({image});
                          }},
                         {"CompressedRows",
                          [] {
                              std::string image = Image(16, 16, 8);
                              Set32(image, 16, 1);
                              return IconFile({image});
                          }},
                         {"PaletteOfMoreThan256Colours",
                          [] {
                              std::string image = Image(16, 16, 8);
                              Set32(image, 32, 257);
                              return IconFile({image});
                          }},
                         {"NegativeWidth", [] {
                              std::string image = Image(16, 16, 8);
                              Set32(image, 4, static_cast<uint32_t>(-16));
                              return IconFile({image});
                          }}};
INSTANTIATE_TEST_SUITE_P(Data, BadIconData, ::testing::ValuesIn(kBad),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(IconDirectory, GoodFileListsItsImagesAndOneCutsOutWhole)
{
    const std::string file = IconFile({Image(16, 16, 4), Image(32, 32, 32)});
    TIconDirectory dir;
    ASSERT_TRUE(ReadIconDirectory(file, dir));
    ASSERT_EQ(dir.Entries.size(), 2u);
    EXPECT_EQ(dir.Entries[1].Width, 32);
    EXPECT_EQ(dir.Entries[1].Height, 32);
    EXPECT_EQ(dir.Entries[1].BitCount, 32);
    TIconDirectory one;
    ASSERT_TRUE(ReadIconDirectory(ExtractIconImage(file, dir.Entries[1]), one));
    ASSERT_EQ(one.Entries.size(), 1u);
    EXPECT_EQ(one.Entries[0].BitCount, 32);
}

// What the icon's decoder reads is accepted: a palette of the colours the header says it uses,
// a 32-bit image without mask rows. The directory's own colour count is kept.
TEST(IconDirectory, ShortPaletteAndMasklessTrueColourAreRead)
{
    std::string shortPalette = Image(4, 4, 8);
    Set32(shortPalette, 32, 2);
    shortPalette.erase(40 + 2 * 4, 254 * 4);
    const std::string maskless = Image(8, 8, 32).substr(0, 40 + 8 * 8 * 4);
    std::string file = IconFile({shortPalette, maskless});
    file[6 + 2] = 16;
    TIconDirectory dir;
    ASSERT_TRUE(ReadIconDirectory(file, dir));
    ASSERT_EQ(dir.Entries.size(), 2u);
    EXPECT_EQ(dir.Entries[0].PaletteColors, 2);
    EXPECT_EQ(dir.Entries[0].DeclaredColors, 16);
    EXPECT_TRUE(dir.Entries[0].HasMask);
    EXPECT_FALSE(dir.Entries[1].HasMask);
    EXPECT_EQ(dir.Entries[1].DeclaredColors, 0);
}

struct TChoiceCase {
    const char* name;
    std::vector<int> bits;
    int displayColors;
    size_t chosen;
};
class IconImageChoice : public ::testing::TestWithParam<TChoiceCase> {};

TEST_P(IconImageChoice, TakesTheExpectedImage)
{
    std::vector<TIconDirEntry> entries;
    for (int b : GetParam().bits) {
        TIconDirEntry e;
        e.BitCount = b;
        entries.push_back(e);
    }
    EXPECT_EQ(ChooseIconImage(entries, GetParam().displayColors), GetParam().chosen);
}

const TChoiceCase kChoices[] = {
    // A true-colour display counts as 0, as do images of 256 colours and more.
    {"TrueColourTakesTheFirstOfManyColours", {4, 8, 32}, 0, 1u},
    {"SixteenColourDisplayTakesTheEqualCount", {1, 8, 4}, 16, 2u},
    {"WithoutAnEqualCountTheRichestShowable", {1, 32, 4, 1}, 256, 2u},
    {"NothingShowableTakesTheFirst", {8, 32}, 16, 0u}};
INSTANTIATE_TEST_SUITE_P(Rule, IconImageChoice, ::testing::ValuesIn(kChoices),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace icon_directory_test
