// Names as a folder listing gives them, given back to DeleteFiles and to the file operator: each
// names its own file alone, whatever bytes it holds, never a wildcard, a separator or a drive.

#include <gtest/gtest.h>

#include <filesystem>

#include "controls/core/FileUtil.h"
#include "platform/core/Cp949.h"
#include "tests/controls/core/FileTrees.h"

namespace {

// Side by side in one folder, with q/r, which an unescaped "q\r" would name.
const char* const kNames[] = {"\xB0\xA1", "ab", "AB",  "cd", "\xF0\x9F\x98\x80", "x", "a?c", "abc", "a*", "q\\r",
                              "c:d",      "d",  "x|y", "y",  "\xED\x95\x9C"};

struct TNameCase {
    const char* name;
    const char* native;
    bool plain;  // listed as its cp949 text
};
void PrintTo(const TNameCase& c, std::ostream* os) { *os << c.name; }
class ListedName : public ::testing::TestWithParam<TNameCase> {};

TEST_P(ListedName, NamesThatFileAlone)
{
    TempFolder folder;
    for (const bool byOperator : {false, true}) {
        filetrees::MakeTree(folder.Path(), "q/r=1");
        for (const char* name : kNames)
            TempFolder::Write(folder.File(name), "1");
        std::vector<TSearchRec> found;
        FindFiles("*", found);
        const auto listed = std::find_if(found.begin(), found.end(),
                                         [](const TSearchRec& rec) { return rec.Native == GetParam().native; });
        ASSERT_NE(listed, found.end());
        EXPECT_EQ(listed->Name == Utf8ToCp949(GetParam().native), GetParam().plain);
        TExFileOperator op(nullptr);
        op.Operation = foDelete;
        op.Options = FileOperFlag(flNoConfirmation);
        op.Source = listed->Name;
        EXPECT_TRUE(byOperator ? op.Execute() : DeleteFiles(listed->Name));
        for (const char* name : kNames)
            EXPECT_EQ(std::filesystem::exists(folder.File(name)), name != std::string(GetParam().native)) << name;
        EXPECT_TRUE(std::filesystem::exists(folder.File("q/r")));
    }
}

const TNameCase kListed[] = {
    {"RegressionBytesThatAreNoUtf8", "\xB0\xA1", false},
    {"RegressionEmoji", "\xF0\x9F\x98\x80", false},
    {"QuestionMark", "a?c", false},
    {"Star", "a*", false},
    {"Backslash", "q\\r", false},
    {"Colon", "c:d", false},
    {"Bar", "x|y", false},
    {"Hangul", "\xED\x95\x9C", true},
    {"LowerCaseBesideUpperCase", "ab", true},
    {"UpperCaseBesideLowerCase", "AB", true},
};
INSTANTIATE_TEST_SUITE_P(Rows, ListedName, ::testing::ValuesIn(kListed),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
