// Icons, pictures, registered clipboard formats and resources.

#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "GuiTestSupport.h"
#include "IconFiles.h"
#include "OfficeTestBook.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Icon.h"
#include "platform/gui/Picture.h"
#include "platform/gui/Resources.h"
#include "tests/platform/core/TempFolder.h"

namespace {

QImage Sample()
{
    QImage image(5, 3, QImage::Format_ARGB32);
    image.fill(qRgba(10, 20, 30, 255));
    image.setPixel(1, 2, qRgba(200, 0, 0, 255));
    image.setPixel(4, 0, 0);  // see-through
    return image;
}

std::string SampleIcon() { return EncodeIconFile(Sample()); }

// The sample icon with one field of its bytes replaced.
std::string Patched(size_t at, std::string bytes)
{
    std::string data = SampleIcon();
    data.replace(at, bytes.size(), bytes);
    return data;
}

struct TBadIconRow {
    const char* Name;
    std::string Data;
};

// Offsets: header 0..5 (reserved, type, count), entry 6..21 (size at 14, offset at 18), image
// header from 22 (width at 26, height at 30, bits at 36).
const TBadIconRow kBadIcons[] = {
    {"Empty", ""},
    {"ShortHeader", std::string("\0\0\1\0", 4)},
    {"WrongType", Patched(2, std::string("\3\0", 2))},
    {"NoImages", Patched(4, std::string("\0\0", 2))},
    {"CountBeyondTheData", Patched(4, "\xFF\xFF")},
    {"OffsetBeyondTheData", Patched(18, "\xFF\xFF\x00\x00")},
    {"SizeBeyondTheData", Patched(14, "\xFF\xFF\xFF\x7F")},
    {"ZeroWidth", Patched(26, std::string("\0\0\0\0", 4))},
    {"HugeWidth", Patched(26, std::string("\0\x10\0\0", 4))},
    {"NegativeHeight", Patched(30, "\xFA\xFF\xFF\xFF")},
    {"OddBitCount", Patched(36, std::string("\7\0", 2))},
    {"TruncatedRows", SampleIcon().substr(0, 70)},
};

class BadIconTable : public ::testing::TestWithParam<TBadIconRow> {};

TEST_P(BadIconTable, RaisesAndKeepsTheIcon)
{
    TIcon icon;
    icon.SetImage(Sample());
    EXPECT_THROW(icon.LoadFromBytes(GetParam().Data), EInvalidGraphic);
    EXPECT_EQ(icon.Width(), 5);
    EXPECT_EQ(icon.SaveToBytes(), SampleIcon());
}

INSTANTIATE_TEST_SUITE_P(Rows, BadIconTable, ::testing::ValuesIn(kBadIcons),
                         [](const auto& row) { return std::string(row.param.Name); });

}  // namespace

TEST(Icons, RoundTripKeepsPixelsSeeThroughAndBytes)
{
    TIcon icon;
    icon.LoadFromBytes(SampleIcon());
    ASSERT_EQ(icon.Width(), 5);
    ASSERT_EQ(icon.Height(), 3);
    EXPECT_EQ(icon.Image().pixel(1, 2), qRgba(200, 0, 0, 255));
    EXPECT_EQ(qAlpha(icon.Image().pixel(4, 0)), 0);
    EXPECT_EQ(icon.SaveToBytes(), SampleIcon());
}

TEST(Icons, ShowsTheFirstImageOfManyColours)
{
    // Two images: a 16-colour entry (count 16) and a true-colour one (count 0) after it.
    std::string one = SampleIcon().substr(22);
    QImage big(7, 7, QImage::Format_ARGB32);
    big.fill(qRgba(1, 2, 3, 255));
    std::string two = EncodeIconFile(big).substr(22);
    std::string file("\0\0\1\0\2\0", 6);
    std::string entry1 = SampleIcon().substr(6, 16), entry2 = EncodeIconFile(big).substr(6, 16);
    entry1[2] = 16;
    uint32_t offset1 = 38, offset2 = 38 + static_cast<uint32_t>(one.size());
    entry1.replace(12, 4, std::string(reinterpret_cast<const char*>(&offset1), 4));
    entry2.replace(12, 4, std::string(reinterpret_cast<const char*>(&offset2), 4));
    TIcon icon;
    icon.LoadFromBytes(file + entry1 + entry2 + one + two);
    EXPECT_EQ(icon.ImageCount(), 2);
    EXPECT_EQ(icon.Width(), 7);
}

// Every directory entry names one 256 x 256 PNG: only the image shown is decoded, so a file of
// a few kilobytes costs one image, not one for each of its 2,000 entries (half a gigabyte).
TEST(Icons, RegressionEntriesSharingOneImageDecodeItOnce)
{
    const std::string file = IconOfSharedPng(2000, 256);
    ASSERT_LT(file.size(), 40u * 1024);
    const auto [growth, result] = PeakGrowthMiB([&] {
        TIcon icon;
        icon.LoadFromBytes(file);
        return std::to_string(icon.Width()) + " " + std::to_string(icon.ImageCount());
    });
    EXPECT_EQ(result, "256 2000");
    EXPECT_LT(growth, 16) << "peak growth in MiB";
}

TEST(Pictures, KindFollowsTheExtension)
{
    TempFolder folder;
    TIcon icon;
    icon.SetImage(Sample());
    icon.SaveToFile("a.ico");
    TPicture picture;
    picture.LoadFromFile("a.ico");
    EXPECT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr);
    picture.Bitmap()->SetSize(4, 2);  // asking for a bitmap replaces the icon
    picture.SaveToFile("b.bmp");
    picture.LoadFromFile("b.bmp");
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_THROW(picture.LoadFromFile("c.xyz"), EInvalidGraphic);
}

TEST(ClipboardFormats, RegisteredBytesTravelTogether)
{
    unsigned format = RegisterClipboardFormat("Grid Column");
    EXPECT_EQ(RegisterClipboardFormat("Grid Column"), format);
    EXPECT_GE(format, 0xC000u);
    EXPECT_EQ(ClipboardFormatMime(RegisterClipboardFormat("Rich Text Format")), "text/rtf");
    TClipboard* clip = Clipboard();
    clip->Open();
    clip->SetAsText("\xC7\xD1");
    clip->SetBytes(format, std::string("3\0x", 3));
    clip->Close();
    EXPECT_TRUE(clip->HasFormat(format));
    EXPECT_EQ(clip->GetBytes(format), std::string("3\0x", 3));
    EXPECT_EQ(clip->AsText(), "\xC7\xD1");
    clip->SetAsText("only");  // outside Open a set replaces everything
    EXPECT_FALSE(clip->HasFormat(format));

    TIcon icon;
    icon.SetImage(Sample());
    clip->Assign(&icon);
    TBitmap back;
    ASSERT_TRUE(clip->GetBitmap(&back));
    EXPECT_EQ(back.Width(), 5);
    EXPECT_EQ(back.PixelColor(1, 2), RGB(200, 0, 0));
}

TEST(Resources, DrawnPicturesStringsAndTheMissingOnes)
{
    RegisterPictureResource(rtBitmap, "Glyph", {[] { return Sample(); }, {}});
    TBitmap bitmap;
    LoadBitmapResource(&bitmap, "GLYPH");
    EXPECT_EQ(bitmap.Width(), 5);
    try {
        LoadBitmapResource(&bitmap, ResourceIdName(101));
        FAIL() << "loaded a resource that does not exist";
    } catch (const EResNotFound& e) {
        EXPECT_STREQ(e.what(), "Resource 101 not found");
    }
    EXPECT_THROW(LoadCursorResource("NOCURSOR"), EResNotFound);
    RegisterResourceString(61257, "Function not yet implemented");
    EXPECT_EQ(LoadStr(61257), "Function not yet implemented");
    EXPECT_EQ(LoadStr(1), "");
}
