// Folder listings with Windows masks, attributes and file times.

#include "platform/core/FileFind.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/core/Cp949.h"
#include "tests/platform/core/TempFolder.h"

namespace {

struct TMaskCase {
    const char* name;
    const char* mask;  // UTF-8, made the program's text; "%" stands for the escape byte 0xFF
    const char* file;  // the native name
    bool matches;
};
void PrintTo(const TMaskCase& c, std::ostream* os) { *os << c.name; }
class FileMask : public ::testing::TestWithParam<TMaskCase> {};

TEST_P(FileMask, Matches)
{
    AnsiString mask = Utf8ToCp949(GetParam().mask);
    std::replace(mask.begin(), mask.end(), '%', '\xFF');
    EXPECT_EQ(MatchesMask(GetParam().file, mask), GetParam().matches);
}

const TMaskCase kMasks[] = {
    {"StarDotStarTakesANameWithoutDot", "*.*", "README", true},
    {"LettersIgnoreCase", "*.TXT", "a.txt", true},
    {"QuestionMarkTakesAHangulCharacterWhole", "?.txt", "한.txt", true},
    {"QuestionMarkIsOneCharacter", "?.txt", "ab.txt", false},
    {"HangulComparedExactly", "한*", "함께", false},
    // The characters of the native name, never the hex digits of the escapes a listing shows.
    {"RegressionEscapeDigitsAreNoCharacters", "*9", "café", false},
    {"RegressionEscapeLettersAreNoCharacters", "*A*", "log 12:30.txt", false},
    {"RegressionEscapeOfAQuestionMarkHoldsNoThree", "*3*", "x?y", false},
    {"QuestionMarkTakesAnAccentedLetterWhole", "r?sum?.doc", "résumé.doc", true},
    {"QuestionMarkTakesAByteThatIsNoUtf8", "a?", "a\xB0", true},
    {"EscapeStandsForItsByte", "x%3Fy", "x?y", true},
    {"EscapedQuestionMarkIsNoWildcard", "x%3Fy", "xay", false},
    {"EscapedStarIsNoWildcard", "a%2A", "abc", false},
};
INSTANTIATE_TEST_SUITE_P(Rows, FileMask, ::testing::ValuesIn(kMasks),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(FileFind, ListsMatchesInNameOrderWithAttributes)
{
    TempFolder folder;
    TempFolder::Write(folder.File("b.txt"), "12345");
    TempFolder::Write(folder.File("a.TXT"), "");
    TempFolder::Write(folder.File("c.log"), "");
    std::filesystem::create_directory(folder.File("d.txt"));
    symlink("missing", folder.File("e.txt").c_str());
    chmod(folder.File("a.TXT").c_str(), 0444);
    std::vector<TSearchRec> found;
    ASSERT_TRUE(FindFiles("*.txt", found));
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].Name, "a.TXT");
    EXPECT_EQ(found[0].Attr, faArchive | faReadOnly);
    EXPECT_EQ(found[1].Size, 5);
    EXPECT_EQ(found[2].Attr, faDirectory);
    EXPECT_EQ(found[3].Attr, faSymLink);
    EXPECT_FALSE(FindFiles("missing\\*.*", found));
}

TEST(FileFind, FileTimeRoundTripsInLocalTime)
{
    TempFolder folder;
    TempFolder::Write(folder.File("f"), "x");
    const TDateTime when = EncodeDate(2021, 7, 4) + EncodeTime(13, 45, 30, 250);
    ASSERT_TRUE(FileSetDate("f", when));
    TDateTime read = 0;
    ASSERT_TRUE(FileAge("f", read));
    EXPECT_NEAR(read, when, 0.5 / MSecsPerDay);
    EXPECT_FALSE(FileAge("missing", read));
    ASSERT_TRUE(FileSetAttr("f", faReadOnly));
    EXPECT_EQ(FileGetAttr("f") & faReadOnly, faReadOnly);
    ASSERT_TRUE(FileSetAttr("f", 0));
    EXPECT_EQ(FileGetAttr("f") & faReadOnly, 0);
}

}  // namespace
