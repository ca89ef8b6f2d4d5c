// The file and directory edits' texts: quoting, a text read back as a file name, and lists of
// directories.

#include "controls/core/EditFileNames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TFileNameQuoteCase {
    const char* name;
    const char* in;
    const char* out;
};

const TFileNameQuoteCase kFileNameQuotes[] = {
    {"BlankIsQuoted", "C:\\My Files\\a.txt", "\"C:\\My Files\\a.txt\""},
    {"NoBlankStaysBare", "C:\\Files\\a.txt", "C:\\Files\\a.txt"},
    {"AlreadyQuotedStays", "\"C:\\My Files\\a.txt\"", "\"C:\\My Files\\a.txt\""},
    {"EmptyStaysEmpty", "", ""},
};

class QuoteFileNameCase : public ::testing::TestWithParam<TFileNameQuoteCase> {};

TEST_P(QuoteFileNameCase, Quotes) { EXPECT_EQ(QuoteFileName(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(Names, QuoteFileNameCase, ::testing::ValuesIn(kFileNameQuotes),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(EditFileNames, ATextNamingNoFileIsReadAsACommandLinesProgram)
{
    EXPECT_EQ(ClipFileName("C:\\Tools\\run.exe -x -y"), "C:\\Tools\\run.exe");
    EXPECT_EQ(ClipFileName("\"C:\\My Tools\\run.exe\" -x"), "C:\\My Tools\\run.exe");
    EXPECT_EQ(ClipFileName("plain"), "plain");
}

TEST(EditFileNames, SeveralDirectoriesAreJoinedBySemicolons)
{
    EXPECT_EQ(AddDirName("", "C:\\a", true), "C:\\a");
    EXPECT_EQ(AddDirName("C:\\a", "C:\\b", true), "C:\\a;C:\\b");
    EXPECT_EQ(AddDirName("C:\\a", "C:\\b", false), "C:\\b");
    EXPECT_EQ(MapDirList("a;;b;c", [](const AnsiString& p) { return p.empty() || p == "b" ? AnsiString() : p + "!"; }),
              "a!;c!");
}

}  // namespace
