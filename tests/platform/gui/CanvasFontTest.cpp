#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <string>

#include "platform/core/Cp949.h"
#include "platform/core/HeapInUse.h"
#include "platform/gui/FontAlias.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/SystemMetrics.h"
#include "tests/platform/core/Cases.h"
#include "tests/platform/gui/CanvasTestApp.h"

TEST(CanvasFont, SizeAndHeightFollowEachOtherAt96Dpi)
{
    TFont f;
    EXPECT_EQ(f.Name(), "MS Sans Serif");
    EXPECT_EQ(f.Size(), 8);
    EXPECT_EQ(f.Height(), -11);
    int changes = 0;
    f.OnChange = [&](TObject*) { ++changes; };
    f.SetSize(12);
    EXPECT_EQ(f.Height(), -16);
    f.SetHeight(-13);
    EXPECT_EQ(f.Size(), 10);
    f.SetHeight(-13);  // unchanged: no event
    f.SetStyle(TFontStyles() << fsBold << fsUnderline);
    EXPECT_TRUE(f.Style().Contains(fsBold));
    f.SetName("");  // ignored
    EXPECT_EQ(changes, 3);
    TFont g;
    g.Assign(&f);
    EXPECT_TRUE(g.SameAs(f));
}

TEST(CanvasFont, WindowsNamesMapToInstalledFonts)
{
    EnsureGuiApp();
    const char* names[] = {"굴림",    "굴림체",      "돋움",  "돋움체",          "바탕",     "궁서",  "MS Sans Serif",
                           "Courier", "Courier New", "Arial", "Times New Roman", "Fixedsys", "System"};
    const QStringList installed = QFontDatabase::families();
    for (const char* utf8 : names) {
        const AnsiString cp949 = Utf8ToCp949(utf8);
        const std::string family = ResolveFontFamily(cp949);
        EXPECT_TRUE(installed.contains(QString::fromStdString(family), Qt::CaseInsensitive))
            << utf8 << " -> " << family;
    }
    Each(TextChecks{CHECK_ROW(FontAliasCandidates(Utf8ToCp949("굴림체")).front(), "NanumGothicCoding"),
                    CHECK_ROW(FontAliasCandidates("gulimche").front(), "NanumGothicCoding"),
                    CHECK_ROW(FontAliasCandidates("Courier").front(), "DejaVu Sans Mono"),
                    CHECK_ROW(ResolveFontFamily("Arial"), "Liberation Sans")});
    EXPECT_TRUE(FontAliasIsFixedPitch("Fixedsys"));
    EXPECT_FALSE(FontAliasIsFixedPitch("Arial"));
    // An unknown face is tried as it is, then a Korean-capable fallback.
    const auto other = FontAliasCandidates("Some Face");
    EXPECT_EQ(other.front(), "Some Face");
    EXPECT_GT(other.size(), 1u);
}

// Every face name looked up was kept for good, and rich texts name faces of their own: grid cells
// naming 200 faces each grew the heap by 23 KB a cell without end, past the bound of the cells'
// cache. Names past the bound are looked up afresh.
TEST(CanvasFont, RegressionFaceNamesLookedUpKeepTheirMemoryBounded)
{
    EnsureGuiApp();
    const auto name = [](size_t i) { return "Face of a cell " + std::to_string(i); };
    const std::string first = ResolveFontFamily(name(0));
    const size_t before = HeapBytesInUse();
    for (size_t i = 0; i < 16 * kMostResolvedFontFamilies; ++i)
        ResolveFontFamily(name(i));
    const size_t after = HeapBytesInUse();
    EXPECT_LE(after > before ? after - before : 0, kMostResolvedFontFamilies * 512);
    // Names forgotten are answered as before.
    EXPECT_EQ(ResolveFontFamily(name(0)), first);
    EXPECT_EQ(ResolveFontFamily("Arial"), "Liberation Sans");
}

TEST(CanvasFont, QtFontIsAliasedWithTheRequestedPixelHeight)
{
    EnsureGuiApp();
    TFont f;
    f.SetName(Utf8ToCp949("굴림체"));
    f.SetHeight(-16);
    f.SetStyle(TFontStyles() << fsItalic);
    const QFont q = f.ToQFont();
    EXPECT_EQ(q.pixelSize(), 16);
    EXPECT_TRUE(q.italic());
    EXPECT_TRUE(q.styleStrategy() & QFont::NoAntialias);
    EXPECT_EQ(QFontInfo(q).family(), "NanumGothicCoding");
}

TEST(CanvasFont, SystemMetricsAreFixed)
{
    Each(NumberChecks{CHECK_ROW(GetSystemMetrics(SM_CXVSCROLL), 16), CHECK_ROW(GetSystemMetrics(SM_CYHSCROLL), 16),
                      CHECK_ROW(GetSystemMetrics(SM_CXEDGE), 2), CHECK_ROW(GetSystemMetrics(9999), 0)});
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
}
