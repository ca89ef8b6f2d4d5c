#include <gtest/gtest.h>

#include "platform/core/Cp949.h"
#include "tests/platform/core/Cases.h"
#include "tests/platform/core/Cp949Text.h"

// "한글" and "똠" (a cp949 extension character whose trail byte is the letter 'c').
static const char kHanCp949[] = "\xC7\xD1\xB1\xDB";
static const char kDdomUtf8[] = "\xEB\x98\xA0";
static const char kDdomCp949[] = "\x8C\x63";

TEST(Cp949Conversion, HangulBothWays)
{
    EXPECT_EQ(Cp949ToUtf8(kHanCp949), kHanUtf8);
    EXPECT_EQ(Utf8ToCp949(kHanUtf8), kHanCp949);
    EXPECT_EQ(Cp949ToUtf8(std::string("a") + kDdomCp949 + "t"), std::string("a") + kDdomUtf8 + "t");
    EXPECT_EQ(Utf8ToCp949(kDdomUtf8), kDdomCp949);
    EXPECT_EQ(Cp949ToUtf16(kHanCp949), u"\uD55C\uAE00");
    EXPECT_EQ(Utf16ToCp949(u"\uD55C\uAE00 ok"), std::string(kHanCp949) + " ok");
}

TEST(Cp949Conversion, CharactersOutsideCp949BecomeAQuestionMark)
{
    // An emoji (outside the BMP) and a Thai letter: one "?" each, the text around kept.
    EXPECT_EQ(Utf8ToCp949("a\xF0\x9F\x98\x80"
                          "b\xE0\xB8\x81"
                          "c"),
              "a?b?c");
    EXPECT_EQ(Utf16ToCp949(u"x\U0001F600y"), "x?y");
    // Ill-formed input is refused byte by byte, never crashes.
    Each(TextChecks{CHECK_ROW(Utf8ToCp949("a\xFF"
                                          "b"),
                              "a?b"),
                    CHECK_ROW(Utf8ToCp949("a\xED\x95"), "a?"),
                    CHECK_ROW(Utf16ToCp949(std::u16string(u"a") + char16_t(0xD800) + u"b"), "a?b")});
}

TEST(Cp949Conversion, BadCp949BytesBecomeReplacementCharactersAndTheRestSurvives)
{
    // 0x80 is no character; a lead byte followed by '1' is no pair, and the '1' is kept.
    Each(TextChecks{CHECK_ROW(Cp949ToUtf8("a\x80"
                                          "b"),
                              "a\xEF\xBF\xBD"
                              "b"),
                    CHECK_ROW(Cp949ToUtf8("\xC7"
                                          "1"),
                              "\xEF\xBF\xBD"
                              "1"),
                    CHECK_ROW(Cp949ToUtf8("x\xC7"), "x\xEF\xBF\xBD")});
}

TEST(Cp949Decoder, APairSplitBetweenPiecesDecodesWhole)
{
    TCp949Decoder decoder;
    EXPECT_EQ(decoder.Decode("ab\xC7"), "ab");
    EXPECT_TRUE(decoder.HasPending());
    EXPECT_EQ(decoder.Decode("\xD1\xB1"), "\xED\x95\x9C");
    EXPECT_EQ(decoder.Decode("\xDB!"), "\xEA\xB8\x80!");
    EXPECT_FALSE(decoder.HasPending());
    // A trail byte that is an ASCII letter, split off into the next piece.
    EXPECT_EQ(decoder.DecodeUtf16("\x8C"), u"");
    EXPECT_EQ(decoder.DecodeUtf16("\x63"
                                  "at"),
              u"\uB620at");
}

TEST(Cp949Decoder, ALeadByteLeftAtTheEndIsFlushedAsReplacement)
{
    TCp949Decoder decoder;
    Each(TextChecks{CHECK_ROW(decoder.Decode("z\xB1"), "z"), CHECK_ROW(decoder.Flush(), "\xEF\xBF\xBD"),
                    CHECK_ROW(decoder.Flush(), "")});
    // A pair completed inside one piece is not held back.
    EXPECT_EQ(decoder.Decode(kHanCp949), kHanUtf8);
    EXPECT_FALSE(decoder.HasPending());
}

TEST(UnicodeTransforms, Utf8AndUtf16RoundTrip)
{
    std::string text = std::string("A") + kHanUtf8 + "\xF0\x9F\x98\x80";
    std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide.size(), 5u);  // A, two syllables, a surrogate pair
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");  // an overlong NUL is refused
}

// glibc swallows an unmapped pair such as A2 E8 before refusing it; the conversion once threw
// std::length_error (and crashed under ASan) on it, and lost the byte after it mid-text.
TEST(Cp949Conversion, UnmappedPairSwallowedByIconvBecomesOneReplacement)
{
    EXPECT_EQ(Cp949ToUtf8("\xA2\xE8"), "\xEF\xBF\xBD");
    EXPECT_EQ(Cp949ToUtf8("a\xA2\xE8xyz"), "a\xEF\xBF\xBDxyz");
    EXPECT_EQ(Cp949ToUtf8(std::string("\xA2\xE8") + kHanCp949), std::string("\xEF\xBF\xBD") + kHanUtf8);
    EXPECT_EQ(Cp949ToUtf16("\xA2\xE8!"), u"\uFFFD!");
}
