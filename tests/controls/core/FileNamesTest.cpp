// Names as a folder listing gives them, given back to the deletions: each names its own file
// alone, whatever bytes it holds, never acting as a wildcard, a separator or a drive.

#include <gtest/gtest.h>

#include <algorithm>

#include "controls/core/FileUtil.h"
#include "platform/core/Cp949.h"
#include "platform/core/StoredPath.h"
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
class ListedName : public ::testing::TestWithParam<TNameCase> {
protected:
    void MakeAll()
    {
        filetrees::MakeTree(folder.Path(), "q/r=1");
        for (const char* name : kNames)
            TempFolder::Write(folder.File(name), "1");
    }
    // Every name but the row's, and q/r.
    std::string Expected() const
    {
        std::set<std::string> names(std::begin(kNames), std::end(kNames));
        names.erase(GetParam().native);
        names.insert({"q/", "q/r"});
        std::string tree;
        for (const std::string& name : names)
            tree += (tree.empty() ? "" : " ") + name + (name.back() == '/' ? "" : "=1");
        return tree;
    }
    AnsiString Listed() const
    {
        std::vector<TSearchRec> found;
        FindFiles("*", found);
        for (const TSearchRec& rec : found)
            if (rec.Native == GetParam().native)
                return rec.Name;
        ADD_FAILURE() << "not listed";
        return AnsiString();
    }

    TempFolder folder;
};

TEST_P(ListedName, NamesThatFileAlone)
{
    MakeAll();
    const AnsiString name = Listed();
    EXPECT_EQ(name == Utf8ToCp949(GetParam().native), GetParam().plain);
    EXPECT_TRUE(DeleteFiles(name));
    EXPECT_EQ(filetrees::Tree(folder.Path()), Expected());

    MakeAll();
    TExFileOperator op(nullptr);
    op.Operation = foDelete;
    op.Options = FileOperFlag(flNoConfirmation);
    op.Source = name;
    EXPECT_TRUE(op.Execute());
    EXPECT_EQ(filetrees::Tree(folder.Path()), Expected());
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
