// The settings dialog's rules (which list a font file goes to, what it reads of an entry and
// writes back) and the walk viewer's (its status texts, its Save).

#include <gtest/gtest.h>

#include "app/core/TerminalSettings.h"
#include "app/core/WalkView.h"
#include "platform/core/Cp949.h"
#include "script/Walk.h"
#include "tests/platform/core/TempFolder.h"

// The file's own namespace keeps the using-directive out of the test files compiled with it.
namespace dialog_rules_test {
namespace {

using namespace TerminalSettings;

struct TFontCase {
    const char* name;
    const char* file;
    TFontList list;
};

class FontListOfName : public ::testing::TestWithParam<TFontCase> {};

TEST_P(FontListOfName, ComparesTheExtensionExactly) { EXPECT_EQ(FontListOf(GetParam().file), GetParam().list); }

const TFontCase kFontCases[] = {
    {"Hangul", "a.han", flHan},
    {"English", "\xBF\xB5\xB9\xAE.eng", flEng},  // 영문
    {"Special", "smooth.spc", flSpc},
    {"Symbols", "s.ksg", flKsg},
    {"UpperCaseExtension", "B.HAN", flNone},
    {"MixedCaseExtension", "c.Han", flNone},
    {"LastDotCounts", "d.han.bak", flNone},
    {"NoExtension", "han", flNone},
    {"RegressionTildeInName", "x~y.han", flNone},
};
INSTANTIATE_TEST_SUITE_P(Names, FontListOfName, ::testing::ValuesIn(kFontCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(TerminalSettings, FilesKeepTheFolderOrderInEachList)
{
    const TFontFiles files = SortFontFiles({"z.han", "a.eng", "b.han", "TextSample.txt", "a.han"});
    EXPECT_EQ(files.Lists[flHan], (std::vector<AnsiString>{"z.han", "b.han", "a.han"}));
    EXPECT_EQ(files.Lists[flEng], std::vector<AnsiString>{"a.eng"});
    EXPECT_TRUE(files.Lists[flSpc].empty());
}

TEST(TerminalSettings, WriteSetsEachBitAndPathAndKeepsTheRest)
{
    TCharBooks entry;
    entry.Status = 0x8 | 0x4 | 0x2;
    TValues v = Read(entry);
    EXPECT_TRUE(v.Han && v.Alpha && !v.ReConnect && !v.WalkAutoRewind && !v.WFCSubString);
    EXPECT_EQ(Cp949ToUtf8(v.Fonts[flHan]), "뻗음꼴.han");
    v.Han = false;
    v.ReConnect = v.WalkAutoRewind = v.WFCSubString = true;
    v.Fonts[flKsg] = "k.ksg";
    v.WindowsFont = "Courier";
    Write(v, entry);
    // The translate bit is the T/D button's; the dialog leaves it.
    EXPECT_EQ(entry.Status, 0x8u | 0x2u | 0x1u | 0x10u | 0x20u);
    EXPECT_EQ(entry.KsgFont, "Fonts\\k.ksg");
    EXPECT_EQ(entry.FontName, "Courier");
}

TEST(WalkView, PanelsCountFromOne)
{
    EXPECT_EQ(Cp949ToUtf8(WalkView::LinePanel(2, 10)), "줄:3/10");
    EXPECT_EQ(Cp949ToUtf8(WalkView::ColumnPanel(0)), "칸:1");
}

TEST(WalkView, SaveRenamesTheWalkAndKeepsItsIndexesWithinTheSteps)
{
    TempFolder folder;
    cWalk walk;
    walk.FileName = "old.Wlk";
    walk.Current = 5;
    walk.Previous = -1;
    walk.Saved = 1;
    ASSERT_TRUE(WalkView::Save(walk, {"n", "s"}, folder.File("new.Wlk")));
    EXPECT_EQ(walk.FileName, "new.Wlk");
    EXPECT_EQ(walk.Steps, (std::vector<AnsiString>{"n", "s"}));
    EXPECT_EQ(walk.Current, 2);
    EXPECT_EQ(walk.Previous, -1);
    EXPECT_EQ(walk.Saved, 1);
    EXPECT_EQ(TempFolder::Read(folder.File("new.Wlk")), "n\r\ns\r\n");
}

TEST(WalkView, RegressionFailedSaveLeavesTheFileAndTheWalk)
{
    TempFolder folder;
    TempFolder::Write(folder.File("w.Wlk"), "old\r\n");
    cWalk walk;
    walk.FileName = "w.Wlk";
    walk.Steps = {"a", "b", "c"};
    walk.Current = 3;
    InjectAtomicWriteFailure(TAtomicWriteStep::Rename);
    EXPECT_FALSE(WalkView::Save(walk, {"n"}, folder.File("w.Wlk")));
    EXPECT_EQ(walk.Steps.size(), 3u);
    EXPECT_EQ(walk.Current, 3);
    EXPECT_EQ(TempFolder::Read(folder.File("w.Wlk")), "old\r\n");
}

TEST(WalkView, RegressionSavedAWalkTooLargeToLoadAgain)
{
    TempFolder folder;
    TempFolder::Write(folder.File("w.Wlk"), "old\r\n");
    cWalk walk;
    walk.Steps = {"a"};
    EXPECT_FALSE(WalkView::Save(walk, std::vector<AnsiString>(MaxWalkSteps + 1, "n"), folder.File("w.Wlk")));
    EXPECT_EQ(walk.Steps.size(), 1u);
    EXPECT_EQ(TempFolder::Read(folder.File("w.Wlk")), "old\r\n");
}

}  // namespace
}  // namespace dialog_rules_test
