// Icons through the clipboard (Qt's own on the offscreen platform; the X clipboard as other
// programs see it under Xvfb) and icons at their own size.

#include "controls/lib/ClipIcon.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <functional>
#include <memory>

#include "GuiTestSupport.h"
#include "IconFiles.h"
#include "OfficeTestBook.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Picture.h"
#include "tests/controls/core/IconBytes.h"

// The file's own namespace keeps the using-directive out of the test files compiled with it.
namespace clip_icon_test {
namespace {

using namespace iconbytes;

std::unique_ptr<TIcon> LoadedIcon(const std::string& bytes)
{
    TestApplication();
    auto icon = std::make_unique<TIcon>();
    icon->LoadFromBytes(bytes);
    return icon;
}

TEST(ClipIcon, CopiedIconComesBackWithTheSameBytes)
{
    auto icon = LoadedIcon(IconFile({Image(16, 16, 4), Image(24, 24, 32)}));
    CopyIconToClipboard(icon.get(), clWhite);
    std::unique_ptr<TIcon> back(CreateIconFromClipboard());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->SaveToBytes(), icon->SaveToBytes());
}

TEST(ClipIcon, BadBytesOnTheClipboardLeaveTheIconAndGiveNull)
{
    auto icon = LoadedIcon(IconFile({Image(16, 16, 4)}));
    const std::string before = icon->SaveToBytes();
    std::string bad = IconFile({Image(16, 16, 4)});
    Set32(bad, 6 + 12, 0xFFFFFFF0);  // the image's offset far past the data
    Clipboard()->SetBytes(IconClipboardFormat(), bad);
    AssignClipboardIcon(icon.get());
    EXPECT_EQ(icon->SaveToBytes(), before);
    EXPECT_EQ(CreateIconFromClipboard(), nullptr);
    TPicture picture;  // the picture's way in checks the same directory
    EXPECT_THROW(picture.LoadFromClipboard(), EInvalidGraphic);
}

// The icon format holding 2,000 entries that all name one 256 x 256 PNG: both ways of pasting
// check the directory and decode one image, not one an entry (half a gigabyte).
TEST(ClipIcon, RegressionPastedEntriesSharingOneImageDecodeItOnce)
{
    TestApplication();
    Clipboard()->SetBytes(IconClipboardFormat(), IconOfSharedPng(2000, 256));
    const auto [growth, result] = PeakGrowthMiB([] {
        TIcon icon;
        AssignClipboardIcon(&icon);
        unsigned w = 0, h = 0;
        GetIconSize(&icon, w, h);
        TPicture picture;
        picture.LoadFromClipboard();
        return std::to_string(w) + "x" + std::to_string(h) + " " + picture.Graphic()->ClassName() + " " +
            std::to_string(picture.Width());
    });
    EXPECT_EQ(result, "256x256 TIcon 256");
    EXPECT_LT(growth, 16) << "peak growth in MiB";
}

TEST(ClipIcon, MonochromeIconMeasuresHalfItsMaskHeight)
{
    // One bit a pixel: the stored height 64 holds 32 colour rows and 32 mask rows.
    auto icon = LoadedIcon(IconFile({Image(32, 32, 1)}));
    unsigned w = 0, h = 0;
    GetIconSize(icon.get(), w, h);
    EXPECT_EQ(w, 32u);
    EXPECT_EQ(h, 32u);
    TIcon empty;
    GetIconSize(&empty, w, h);
    EXPECT_EQ(w, 32u);  // the standard icon size
}

TEST(ClipIcon, RealSizeIconTakesTheTrueColourImage)
{
    auto icon = LoadedIcon(IconFile({Image(16, 16, 4), Image(48, 48, 32), Image(32, 32, 8)}));
    std::unique_ptr<TIcon> real(CreateRealSizeIcon(icon.get()));
    ASSERT_NE(real, nullptr);
    EXPECT_EQ(real->ImageCount(), 1);
    EXPECT_EQ(real->Width(), 48);
}

TEST(ClipIcon, RegressionPictureIsPastedFromTheIconFormat)
{
    auto icon = LoadedIcon(IconFile({Image(16, 16, 4), Image(24, 24, 32)}));
    CopyIconToClipboard(icon.get(), clWhite);
    TPicture picture;
    picture.LoadFromClipboard();
    auto* pasted = dynamic_cast<TIcon*>(picture.Graphic());
    ASSERT_NE(pasted, nullptr);  // the icon, not the picture drawn for other programs
    EXPECT_EQ(pasted->SaveToBytes(), icon->SaveToBytes());
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(IconClipboardFormat()));
}

// An icon whose stream has the type 0 of the system's application icon.
class TApplicationIconStream : public TIcon {
public:
    int Width() const override { return 16; }
    int Height() const override { return 16; }
    std::string SaveToBytes() override { return IconFile({iconbytes::Image(16, 16, 4)}).replace(2, 1, 1, '\0'); }
};

TEST(ClipIcon, RegressionStreamOfTypeZeroGivesTheApplicationIcon)
{
    TestApplication();
    TApplicationIconStream stream;
    std::unique_ptr<TIcon> real(CreateRealSizeIcon(&stream));
    ASSERT_NE(real, nullptr);
    TIcon application;
    LoadApplicationIcon(&application);
    EXPECT_EQ(real->Image(), application.Image());
    EXPECT_EQ(real->Width(), 32);
}

// 5-5-5 pixels (bits 14-10 red, 9-5 green, 4-0 blue, top bit unused) and the colours they
// stand for, each channel widened by repeating its high bits.
struct TColour555 {
    uint16_t Raw;
    int R, G, B;
};
const TColour555 kColours555[] = {
    {0x7C00, 255, 0, 0},     {0x03E0, 0, 255, 0}, {0x001F, 0, 0, 255},
    {0xFFFF, 255, 255, 255}, {0x8000, 0, 0, 0},   {16 << 10 | 8 << 5 | 1, 132, 66, 8},
};
bool SeeThrough555(int x, int y) { return (x + y) % 5 == 4; }
const TColour555& Colour555(int x, int y) { return kColours555[(x + 2 * y) % std::size(kColours555)]; }

// A 16-bit image of w x h: the colours above, bottom-up rows padded to 4 bytes, and the mask's
// see-through pixels (black in the colour rows, as an icon editor leaves them).
std::string Image555(int w, int h)
{
    std::string s = Image(w, h, 16);
    const size_t stride = size_t(w * 16 + 31) / 32 * 4, maskStride = size_t(w + 31) / 32 * 4;
    const size_t mask = 40 + stride * h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t row = size_t(h - 1 - y);
            if (SeeThrough555(x, y)) {
                s[mask + maskStride * row + x / 8] =
                    static_cast<char>(s[mask + maskStride * row + x / 8] | 0x80 >> x % 8);
            } else {
                s[40 + stride * row + 2 * x] = static_cast<char>(Colour555(x, y).Raw & 0xFF);
                s[40 + stride * row + 2 * x + 1] = static_cast<char>(Colour555(x, y).Raw >> 8);
            }
        }
    return s;
}

// An icon file whose directory states each image's size, colour count and bits a pixel.
struct TDeclared {
    std::string Bytes;
    int W, H, Colours, Bits;
};
std::string DeclaredIconFile(const std::vector<TDeclared>& images)
{
    std::vector<std::string> bytes;
    for (const TDeclared& image : images)
        bytes.push_back(image.Bytes);
    std::string file = IconFile(bytes);
    for (size_t i = 0; i < images.size(); ++i) {
        const size_t at = 6 + 16 * i;
        file[at] = static_cast<char>(images[i].W), file[at + 1] = static_cast<char>(images[i].H);
        file[at + 2] = static_cast<char>(images[i].Colours), file[at + 4] = 1;
        file[at + 6] = static_cast<char>(images[i].Bits);
    }
    return file;
}

struct TFile555 {
    const char* Name;
    std::function<std::string()> Make;
    int W, H;  // of its 16-bit image, the one shown and taken at real size
};
const TFile555 kFiles555[] = {
    {"FourBitThenSixteenBit",
     [] {
         return DeclaredIconFile({{Image(32, 32, 4), 32, 32, 16, 4}, {Image555(48, 48), 48, 48, 0, 16}});
     },
     48, 48},
    {"SixteenBitThenThirtyTwoBit",
     [] {
         return DeclaredIconFile({{Image555(16, 16), 16, 16, 0, 16}, {Image(32, 32, 32), 32, 32, 0, 32}});
     },
     16, 16},
    {"OddWidthRowsPadded",
     [] {
         return DeclaredIconFile({{Image555(7, 5), 7, 5, 0, 16}});
     },
     7, 5},
};

// The pixels of the 16-bit image at (dx, dy) of a bitmap over clYellow that differ from its
// colours and see-through pixels, with the first of them.
std::string Mismatches555(TBitmap& bitmap, int w, int h, int dx, int dy)
{
    int count = 0;
    std::string first;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColour555& c = Colour555(x, y);
            const TColor want = SeeThrough555(x, y) ? clYellow : FromQRgb(qRgb(c.R, c.G, c.B));
            if (bitmap.PixelColor(dx + x, dy + y) != want && count++ == 0)
                first = " first at " + std::to_string(x) + "," + std::to_string(y);
        }
    return count == 0 ? std::string() : std::to_string(count) + first;
}

void PrintTo(const TFile555& file, std::ostream* out) { *out << file.Name; }

class ClipIcon555 : public ::testing::TestWithParam<TFile555> {};

TEST_P(ClipIcon555, RegressionSixteenBitImageWasRefused)
{
    auto icon = LoadedIcon(GetParam().Make());
    const int w = GetParam().W, h = GetParam().H;
    unsigned gw = 0, gh = 0;
    GetIconSize(icon.get(), gw, gh);
    EXPECT_EQ(gw, unsigned(w));
    EXPECT_EQ(gh, unsigned(h));
    std::unique_ptr<TIcon> real(CreateRealSizeIcon(icon.get()));
    ASSERT_NE(real, nullptr);
    EXPECT_EQ(real->Image().size(), QSize(w, h));

    TBitmap drawn;
    drawn.SetSize(w + 3, h + 3);
    drawn.Canvas()->Brush()->SetColor(clYellow);
    drawn.Canvas()->FillRect(Rect(0, 0, w + 3, h + 3));
    DrawRealSizeIcon(drawn.Canvas(), icon.get(), 2, 1);
    EXPECT_EQ(Mismatches555(drawn, w, h, 2, 1), "");

    CopyIconToClipboard(icon.get(), clYellow);
    TBitmap pasted;
    ASSERT_TRUE(Clipboard()->GetBitmap(&pasted));
    EXPECT_EQ(Mismatches555(pasted, w, h, 0, 0), "");
    std::unique_ptr<TIcon> back(CreateIconFromClipboard());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->SaveToBytes(), icon->SaveToBytes());
    EXPECT_EQ(back->Image(), icon->Image());
}

INSTANTIATE_TEST_SUITE_P(Files, ClipIcon555, ::testing::ValuesIn(kFiles555),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(ClipIconXclip, OtherProgramsSeeAPictureAndTheIconFormat)
{
    REQUIRE_REAL_X();
    auto icon = LoadedIcon(IconFile({Image(24, 24, 32)}));
    CopyIconToClipboard(icon.get(), clWhite);
    // xclip asks this process, whose event loop must answer meanwhile.
    auto run = [](const QStringList& args) { return RunServed(QStringLiteral("xclip"), args); };
    const QByteArray targets = run({"-selection", "clipboard", "-t", "TARGETS", "-o"});
    EXPECT_TRUE(targets.contains("image/png")) << targets.toStdString();
    EXPECT_TRUE(targets.contains("application/x-hanmud-icon")) << targets.toStdString();
    QImage png;
    ASSERT_TRUE(png.loadFromData(run({"-selection", "clipboard", "-t", "image/png", "-o"}), "PNG"));
    EXPECT_EQ(png.size(), QSize(24, 24));
}

}  // namespace
}  // namespace clip_icon_test
