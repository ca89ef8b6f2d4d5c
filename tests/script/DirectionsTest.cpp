#include "ScriptTestFixture.h"

TEST_F(ScriptTest, EveryMovementWordReversesBothWays)
{
    const std::pair<const char*, const char*> pairs[] = {
        {"\xBA\xCF", "\xB3\xB2"}, {"\xB5\xBF", "\xBC\xAD"}, {"\xBA\xCF\xB5\xBF", "\xB3\xB2\xBC\xAD"},
        {"\xB3\xB2\xB5\xBF", "\xBA\xCF\xBC\xAD"}, {"\xB5\xBF\xBA\xCF", "\xBC\xAD\xB3\xB2"},
        {"\xB5\xBF\xB3\xB2", "\xBC\xAD\xBA\xCF"}, {"\xC0\xA7", "\xB9\xD8"}, {"1", "9"}, {"2", "8"},
        {"3", "7"}, {"4", "6"}, {"n", "s"}, {"e", "w"}, {"ne", "sw"}, {"se", "nw"}, {"en", "ws"},
        {"es", "wn"}, {"u", "d"},
    };
    for (const auto& [word, reverse] : pairs) {
        EXPECT_EQ(state.ReverseDirection(word), reverse) << word;
        EXPECT_EQ(state.ReverseDirection(reverse), word) << reverse;
    }
}

TEST_F(ScriptTest, DirectionsAreLowerCasedButNotTrimmed)
{
    EXPECT_EQ(state.ReverseDirection("N"), "s");
    EXPECT_EQ(state.ReverseDirection("NE"), "sw");
    EXPECT_EQ(state.ReverseDirection("5"), "");
    EXPECT_EQ(state.ReverseDirection("up"), "");
    EXPECT_EQ(state.ReverseDirection("\xB5\xBF "), "");
    EXPECT_EQ(state.ReverseDirection(" n"), "");
    EXPECT_EQ(state.ReverseDirection(""), "");
}
