// Icon-file directories from untrusted bytes, and the choice of image for a display.

#include "controls/core/IconDirectory.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

void Put16(std::string& s, uint32_t v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8 & 0xFF);
}
void Put32(std::string& s, uint32_t v)
{
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}
void Set32(std::string& s, size_t at, uint32_t v)
{
    std::string b;
    Put32(b, v);
    s.replace(at, 4, b);
}

// A bitmap icon image of w x h at bits a pixel, with every byte its rows and palette need.
std::string Image(int w, int h, int bits)
{
    std::string s;
    Put32(s, 40);
    Put32(s, static_cast<uint32_t>(w));
    Put32(s, static_cast<uint32_t>(h * 2));
    Put16(s, 1);
    Put16(s, static_cast<uint32_t>(bits));
    s.append(24, '\0');
    const size_t palette = bits <= 8 ? (size_t(1) << bits) * 4 : 0;
    const size_t rows = size_t((w * bits + 31) / 32 * 4 + (w + 31) / 32 * 4) * size_t(h);
    s.append(palette + rows, '\0');
    return s;
}

// An icon file of the images, directory entries first.
std::string IconFile(const std::vector<std::string>& images)
{
    std::string s;
    Put16(s, 0);
    Put16(s, 1);
    Put16(s, static_cast<uint32_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (const std::string& image : images) {
        s.append(8, '\0');
        Put32(s, static_cast<uint32_t>(image.size()));
        Put32(s, offset);
        offset += static_cast<uint32_t>(image.size());
    }
    for (const std::string& image : images)
        s += image;
    return s;
}

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
