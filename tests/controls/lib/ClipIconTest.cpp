// Icons through the clipboard (Qt's own on the offscreen platform; the X clipboard as other
// programs see it under Xvfb) and icons at their own size.

#include "controls/lib/ClipIcon.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <memory>

#include "GuiTestSupport.h"
#include "IconFiles.h"
#include "OfficeTestBook.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Picture.h"
#include "tests/controls/core/IconBytes.h"

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
