// The terminal with the program's generated bitmap fonts: offscreen, the picture it would show;
// on a real X display (CTest starts it under Xvfb), what reached the screen.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "TerminalTestSupport.h"
#include "platform/core/Cp949.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/StoredPath.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FrameBufferImage.h"
#include "tests/TempName.h"
#include "tests/platform/gui/RealX.h"
#include "tests/platform/gui/XWait.h"

namespace {

AnsiString K(const char* utf8) { return Utf8ToCp949(utf8); }

// Loads the fonts the build wrote beside the program through their stored (cp949, backslash)
// names; false when the build has not made them.
bool LoadProgramFonts(TTerminal* term)
{
    const AnsiString han = K("Fonts\\뻗음꼴.han");
    if (!std::filesystem::exists(ShippedFilePath(han)))
        return false;
    term->SetHanFont(han);
    term->SetEngFont(K("Fonts\\영문정형체.eng"));
    term->SetSpcFont("Fonts\\smooth.spc");
    term->SetKsgFont(K("Fonts\\산.ksg"));
    return true;
}

// A coloured Hangul sample: bright red, then green on black, then yellow on navy.
const char* const kSample = "\x1B[1;31m\xC7\xD1\xB1\xDB \x1B[0;32m\xB8\xC3\xB5\xE5 \x1B[1;33;44mHanMUD\x1B[0m\r\n"
                            "  1 : \xBA\xCF\xC2\xCA  [Enter]\r\n";

int CountColour(const QImage& image, QRect r, QRgb colour)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                ++n;
    return n;
}

class TerminalPicture : public ::testing::Test, public TTerminalFixture {};

TEST_F(TerminalPicture, StoredFontPathsLoadAndColouredHangulIsInked)
{
    if (!LoadProgramFonts(term))
        FAIL() << "the fonts target has not been built";
    EXPECT_EQ(term->HanFontFile(), K("Fonts\\뻗음꼴.han"));
    term->SetBackColor(clBlack);
    term->DecodeText(kSample);
    const QImage image = FrameBufferToImage(term->ShownImage(), TScreenPainter::Palette());
    // "한글" in bright red: red ink in its four cells, nothing green there.
    EXPECT_GT(CountColour(image, QRect(0, 0, 32, 16), qRgb(255, 0, 0)), 20);
    EXPECT_EQ(CountColour(image, QRect(0, 0, 32, 16), qRgb(0, 128, 0)), 0);
    // "맡드" in green at columns 5..8.
    EXPECT_GT(CountColour(image, QRect(40, 0, 32, 16), qRgb(0, 128, 0)), 20);
    // "HanMUD" yellow on navy.
    EXPECT_GT(CountColour(image, QRect(80, 0, 48, 16), qRgb(0, 0, 128)), 100);
    EXPECT_GT(CountColour(image, QRect(80, 0, 48, 16), qRgb(255, 255, 0)), 20);
}

TEST_F(TerminalPicture, HanFontOfAWrongSizeIsRefusedWithAMessageBox)
{
    const auto dir = std::filesystem::temp_directory_path() / ("hm-term-font-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto bad = dir / "bad.han";
    {
        std::ofstream(bad, std::ios::binary) << std::string(1000, '\x7F');
    }
    std::vector<AnsiString> boxes;
    TMessageBoxHook old = SetMessageBoxHook([&](const AnsiString& text, const AnsiString& caption, unsigned) {
        boxes.push_back(caption + ":" + text);
        return IDOK;
    });
    term->SetHanFont(StoredPath(bad.string()));
    SetMessageBoxHook(old);
    std::filesystem::remove_all(dir);
    EXPECT_EQ(boxes,
              (std::vector<AnsiString>{K("폰트") + ":" + K("지원되지 않는 폰트입니다.") + "\r" +
                                       K("화일크기를 확인하세요")}));
}

TEST(TerminalScreenshot, FormHoldingATerminalShowsColouredHangul)
{
    TestApplication();
    REQUIRE_REAL_X();
    TTerminalFixture f;
    if (!LoadProgramFonts(f.term))
        FAIL() << "the fonts target has not been built";
    f.term->SetBackColor(clBlack);
    f.term->DecodeText(kSample);
    f.form->Show();
    ASSERT_TRUE(WaitUntil([&] { return Exposed(f.form->Handle()); }, "the form on the screen"));
    f.term->Invalidate();

    // What must be inked where: at least `more` pixels of the colour in the area.
    struct TInk {
        const char* what;
        QRect area;
        QRgb colour;
        int more;
    };
    const TInk inks[] = {
        {"red Hangul", QRect(0, 0, 32, 16), qRgb(255, 0, 0), 20},
        {"green Hangul", QRect(40, 0, 32, 16), qRgb(0, 128, 0), 20},
        {"HanMUD on navy", QRect(80, 0, 48, 16), qRgb(0, 0, 128), 100},
        // Empty cells show the background; the scroll bar sits right of the text.
        {"the background", QRect(300, 40, 200, 40), qRgb(0, 0, 0), 7000},
        {"the scroll bar", QRect(f.term->ClientWidth(), 20, TScrollBarModel::kWidth, 60), qRgb(192, 192, 192), 0},
    };
    // The X server draws in its own time: the screen is read again until it shows every ink.
    QWidget* tw = f.term->Handle();
    const QPoint origin = tw->mapToGlobal(QPoint(0, 0));
    QImage shot;
    auto inked = [&] {
        shot = tw->screen()->grabWindow(0, origin.x(), origin.y(), f.term->Width(), 100).toImage();
        return shot.width() == f.term->Width() && std::all_of(std::begin(inks), std::end(inks), [&](const TInk& k) {
                   return CountColour(shot, k.area, k.colour) > k.more;
               });
    };
    EXPECT_TRUE(WaitUntil(inked, "the coloured Hangul and the scroll bar on the screen"));
    ASSERT_EQ(shot.width(), f.term->Width());
    for (const TInk& k : inks)
        EXPECT_GT(CountColour(shot, k.area, k.colour), k.more) << k.what;
    if (HasFailure()) {
        const std::string png = KeptTempFile("hanmud-terminal-screenshot", "png");
        shot.save(QString::fromStdString(png), "PNG");
        std::printf("screenshot: %s\n", png.c_str());
    }
}

}  // namespace
