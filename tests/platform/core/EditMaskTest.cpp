// Edit text under a byte limit and the edit-mask language.

#include "platform/core/EditMask.h"

#include <gtest/gtest.h>

#include "platform/core/EditText.h"

namespace {

struct TFitCase {
    const char* name;
    const char* text;
    size_t selStart, selLen;
    const char* insert;
    int maxLength;
    const char* fits;
};

// "\xC7\xD1" and "\xB1\xDB" are the Hangul syllables 한 and 글.
const TFitCase kFits[] = {
    {"NoLimitTakesAll", "ab", 2, 0, "cdef", 0, "cdef"},
    {"StopsAtTheLimit", "ab", 2, 0, "cdef", 4, "cd"},
    {"RefusesHalfAPair", "abc", 3, 0, "\xC7\xD1", 4, ""},
    {"PairFitsWhole", "ab", 2, 0, "\xC7\xD1\xB1\xDB", 5, "\xC7\xD1"},
    {"SelectionMakesRoom", "abcd", 1, 2, "\xC7\xD1x", 4, "\xC7\xD1"},
    {"LongerTextByCodeTakesNothing", "abcdef", 6, 0, "g", 4, ""},
    {"LineBreakIsNotCut", "ab", 2, 0, "\r\nc", 3, ""},
};

class EditFit : public ::testing::TestWithParam<TFitCase> {};

TEST_P(EditFit, TakesWholeCharacters)
{
    const TFitCase& c = GetParam();
    EXPECT_EQ(FitInsert(c.text, c.selStart, c.selLen, c.insert, c.maxLength), c.fits);
}

INSTANTIATE_TEST_SUITE_P(MaxLength, EditFit, ::testing::ValuesIn(kFits),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(EditText, SnapsAndFoldsWithoutSplittingAPair)
{
    const char* text = "a\xC7\xD1z";
    EXPECT_EQ(SnapToChar(text, 2, false), 1u);
    EXPECT_EQ(SnapToChar(text, 2, true), 3u);
    // 0xC1 0xC1 would fold to 0xE1 if trail bytes were letters.
    EXPECT_EQ(ApplyCharCase("a\xC7\x61z", ecUpperCase), "A\xC7\x61Z");
    EXPECT_EQ(CharIndexToByte(text, 2), 3u);
    EXPECT_EQ(ByteToCharIndex(text, 3), 2u);
}

struct TTypeCase {
    const char* name;
    const char* mask;
    const char* typed;  // typed from the start, one character at a time; refused ones skipped
    const char* shown;
    const char* value;
};

const TTypeCase kTyped[] = {
    {"DateSkipsSeparators", "!99/99/9999;1;_", "05032024", "05/03/2024", "05/03/2024"},
    {"TypedSeparatorSteps", "!99/99/9999;1;_", "5/3/", "5_/3_/____", "5 /3 /    "},
    {"LiteralsNotSaved", "000-000;0;*", "12a3", "123-***", "123"},
    {"UpperCaseSection", ">LL<ll", "abCD", "ABcd", "ABcd"},
    {"EscapedLiteral", "\\A00", "A12", "A12", "A12"},
    {"HangulRefused", "cc", "\xC7\xD1z", "z_", "z "},
    {"SignOrDigit", "#99", "-42", "-42", "-42"},
};

class EditMaskTyping : public ::testing::TestWithParam<TTypeCase> {};

TEST_P(EditMaskTyping, ShowsAndKeeps)
{
    const TTypeCase& c = GetParam();
    TEditMask mask(c.mask);
    AnsiString shown = mask.EmptyText();
    size_t pos = 0;
    for (const char* p = c.typed; *p; ++p) {
        int next = mask.Type(shown, pos, *p);
        if (next >= 0)
            pos = static_cast<size_t>(next);
    }
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(mask.Value(shown), c.value);
}

INSTANTIATE_TEST_SUITE_P(Masks, EditMaskTyping, ::testing::ValuesIn(kTyped),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(EditMask, FormatsAValueAndFindsTheMissingRequiredPosition)
{
    TEditMask mask("00:00;1;_", '.');
    EXPECT_EQ(mask.Format("12.3"), "12.3_");
    EXPECT_EQ(mask.FirstMissing("12.3_"), 4);
    EXPECT_EQ(mask.FirstMissing("12.34"), -1);
    AnsiString shown = "12.34";
    mask.Clear(shown, 1, 4);
    EXPECT_EQ(shown, "1_._4");
}

}  // namespace
