// Names as a folder listing gives them, given back to DeleteFiles and to the file operator: each
// names its own file alone, whatever bytes it holds, never a wildcard, a separator or a drive.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "controls/core/FileUtil.h"
#include "platform/core/Cp949.h"
#include "tests/controls/core/FileTrees.h"
#include "tests/controls/core/ScopedEnv.h"

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

// Masks given to DeleteFiles and the operator, in a folder of names a listing escapes.
struct TMaskDeletion {
    const char* name;
    char way;  // 'D' DeleteFiles, 'T' the operator's trash
    const char* mask;
    const char* left;  // the names that stay, in name order, "|" between
};
void PrintTo(const TMaskDeletion& c, std::ostream* os) { *os << c.name; }
class MaskDeletion : public ::testing::TestWithParam<TMaskDeletion> {};

TEST_P(MaskDeletion, TakesTheNamesOfItsCharacters)
{
    TempFolder folder;
    TEnv data("XDG_DATA_HOME", folder.File("data"));
    std::filesystem::create_directory(folder.File("dir"));
    const char* const names[] = {"log 12:30.txt", "x?y", "café", "résumé.doc", "notes.txt", "photo9", "2023 report"};
    for (const char* name : names)
        TempFolder::Write(folder.File(std::string("dir/") + name), "1");
    const AnsiString mask = Utf8ToCp949(GetParam().mask);
    if (GetParam().way == 'D') {
        EXPECT_TRUE(DeleteFiles(mask));
    } else {
        TExFileOperator op(nullptr);
        op.Operation = foDelete;
        op.Options = FileOperFlag(flNoConfirmation) | FileOperFlag(flAllowUndo);
        op.Source = mask;
        EXPECT_TRUE(op.Execute());
    }
    std::set<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder.File("dir")))
        left.insert(entry.path().filename().string());
    std::string joined;
    for (const std::string& name : left)
        joined += (joined.empty() ? "" : "|") + name;
    EXPECT_EQ(joined, GetParam().left);
}

const TMaskDeletion kMaskDeletions[] = {
    {"RegressionDigitOfAnEscape", 'D', "dir\\*9", "2023 report|café|log 12:30.txt|notes.txt|résumé.doc|x?y"},
    {"RegressionLetterOfAnEscape", 'D', "dir\\*A*", "2023 report|log 12:30.txt|notes.txt|photo9|résumé.doc|x?y"},
    {"RegressionTrashOfThrees", 'T', "dir\\*3*", "café|notes.txt|photo9|résumé.doc|x?y"},
    {"QuestionMarksTakeAccentedLetters", 'D', "dir\\r?sum?.*", "2023 report|café|log 12:30.txt|notes.txt|photo9|x?y"},
};
INSTANTIATE_TEST_SUITE_P(Rows, MaskDeletion, ::testing::ValuesIn(kMaskDeletions),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
