// The screen image with the system font (through the GUI layer's rasteriser), and termdump's
// picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

#include "DrawTestSupport.h"
#include "GoldenImage.h"
#include "terminal/draw/qt/QtTextRaster.h"
#include "tests/TempName.h"

// fontconfig keeps its caches until exit.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace {

void EnsureApp()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "terminal_draw_qt_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

const std::string kColoured = "\x1b[1;33;44m\xC7\xD1\xB1\xDB Hangul \x1b[0;37;40m \xA1\xDA\r\n"
                              "\x1b[31m\x8C\x63\xB9\xE6\x1b[32m green \x1b[4munder\x1b[0;37;40m\r\n"
                              "\x1b[7m reverse \x1b[0;37;40m\x1b[45m \xC7\xD1\xF9\xD3 \x1b[0;37;40m\r\n";

}  // namespace

TEST(WinFontGolden, ColouredScreenWithTheSystemFont)
{
    EnsureApp();
    TQtTextRaster raster;
    DrawnTerminal t(24, 4, &raster, false);
    t.Feed(kColoured);
    golden::Expect(t.Screen(), "winfont-screen");
    EXPECT_TRUE(SamePixels(t.Screen(), t.Repainted()));
}

TEST(WinFont, HanjaAreDrawnInHangulMode)
{
    EnsureApp();
    TQtTextRaster raster;
    DrawnTerminal t(20, 3, &raster, true);
    t.Feed("\x1b[33m\xF9\xD3");  // 命 in olive
    EXPECT_GT(CountIndex(t.Screen(), ColorToNibble(clOlive), {0, 0, 16, 16}), 10);
    golden::Expect(t.Screen(), "hanja-cell");
}

TEST(WinFont, UnderlinedTextHasItsLine)
{
    EnsureApp();
    TQtTextRaster raster;
    TFrameBuffer plain(100, 30), under(100, 30);
    raster.TextOut(plain, 0, 0, "ab", 15, 0, false);
    raster.TextOut(under, 0, 0, "ab", 15, 0, true);
    EXPECT_GT(CountIndex(under, 15), CountIndex(plain, 15));
}

TEST(TermDumpPng, WritesTheDrawnScreen)
{
    EnsureApp();
    const TScratchFolder folder("termdump-png");
    const std::string in = folder.File("in.bin"), out = folder.File("out.png");
    std::ofstream(in, std::ios::binary) << kColoured << "\x1b[0;20;1%\x1b[*,FF";
    std::filesystem::remove(out);
    const std::string cmd =
        std::string(HM_BIN_DIR) + "/termdump --cols 24 --rows 4 --png " + out + " " + in + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    QImage image(QString::fromStdString(out));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(std::pair(image.width(), image.height()), std::pair(24 * 8, 4 * 16));
    // The same stream drawn here gives the same pixels, in the image's palette.
    TQtTextRaster raster;  // for the Hanja
    DrawnTerminal t(24, 4, &raster, true);
    t.Feed(kColoured + "\x1b[0;20;1%\x1b[*,FF");
    int differ = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            differ += RGB(qRed(p), qGreen(p), qBlue(p)) != NibbleToColor(t.Px(x, y));
        }
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(t.Px(0, 20), ColorToNibble(clSilver));  // the picture's row, in SGR 37
    // A bad option combination is refused.
    EXPECT_NE(std::system((std::string(HM_BIN_DIR) + "/termdump --winfont X " + in + " >/dev/null 2>&1").c_str()), 0);
}
