#include "ScriptTestFixture.h"

#include "script/ScriptText.h"

namespace {

Strings AllWords(TScriptState& state, const AnsiString& text, const char* separators)
{
    Strings words;
    for (auto w = state.GetWord(text, separators); w; w = state.GetWord(separators))
        words.push_back(*w);
    return words;
}

Strings AllCommands(TScriptState& state, const AnsiString& text)
{
    Strings commands;
    size_t cursor = 0;
    while (auto c = state.SplitCommand(text, cursor))
        commands.push_back(*c);
    return commands;
}

} // namespace

TEST_F(ScriptTest, SplitCommandCutsAtBarCrAndLf)
{
    EXPECT_EQ(AllCommands(state, "a|b\rc\nd"), (Strings{"a", "b", "c", "d"}));
    // Empty commands between separators are commands too; a trailing separator adds none.
    EXPECT_EQ(AllCommands(state, "a||b|"), (Strings{"a", "", "b"}));
    // Blanks after a separator stay, unless a '#' follows them.
    EXPECT_EQ(AllCommands(state, "a|  b| \t#c"), (Strings{"a", "  b", "#c"}));
    EXPECT_TRUE(AllCommands(state, "").empty());
}

TEST_F(ScriptTest, SplitCommandEndsAGroupCommandAndDropsTheByteAfterIt)
{
    EXPECT_EQ(AllCommands(state, "say {a|b}c"), (Strings{"say {a|b}"}));
    EXPECT_EQ(AllCommands(state, "say {a|b}c|d"), (Strings{"say {a|b}", "", "d"}));
    EXPECT_EQ(AllCommands(state, "say {a{b|c}d}x|e"), (Strings{"say {a{b|c}d}", "", "e"}));
    // A brace after a backslash opens no group.
    EXPECT_EQ(AllCommands(state, "say \\{a|b"), (Strings{"say \\{a", "b"}));
}

TEST_F(ScriptTest, GroupDoesNotSwallowHangulLeadByte)
{
    // "say {a}" followed by the two bytes of a Hangul syllable: the syllable stays whole.
    EXPECT_EQ(AllCommands(state, "say {a}\xB3\xB2"), (Strings{"say {a}", "\xB3\xB2"}));
}

TEST_F(ScriptTest, SplitCommandKeepsIfGroupsTogether)
{
    EXPECT_EQ(AllCommands(state, "#if (a|b) {x|y} {z}|next"), (Strings{"#if (a|b) {x|y} {z}", "next"}));
    // Before its first group an "#if" is not split.
    EXPECT_EQ(AllCommands(state, "#if (1|2) {x}"), (Strings{"#if (1|2) {x}"}));
}

TEST_F(ScriptTest, UnclosedGroupIsReportedAndDropsTheRest)
{
    EXPECT_EQ(AllCommands(state, "x|say {a|b"), (Strings{"x"}));
    EXPECT_EQ(Messages(), AnsiString("say {a|b") + ScriptText::BadCommand);
}

TEST_F(ScriptTest, GetWordSplitsAtSeparatorsAndLineEnds)
{
    EXPECT_EQ(AllWords(state, "a,b,,c,", ","), (Strings{"a", "b", "", "c"}));
    EXPECT_EQ(AllWords(state, "a\rb\nc", ","), (Strings{"a", "b", "c"}));
    EXPECT_EQ(AllWords(state, "a b,c", " ,"), (Strings{"a", "b", "c"}));
    EXPECT_TRUE(AllWords(state, "", ",").empty());
    // Past the end there is no word, however often it is asked.
    EXPECT_FALSE(state.GetWord(",").has_value());
    EXPECT_FALSE(state.GetWord(",").has_value());
}

TEST_F(ScriptTest, GetWordTakesAGroupAsOneWord)
{
    EXPECT_EQ(AllWords(state, "{a,b},c", ","), (Strings{"a,b", "", "c"}));
    EXPECT_EQ(AllWords(state, "{a{b}c}d", ","), (Strings{"a{b}c", "d"}));
    EXPECT_EQ(AllWords(state, "x,{}", ","), (Strings{"x", ""}));
}

TEST_F(ScriptTest, GetWordReportsAnUnclosedGroup)
{
    EXPECT_EQ(AllWords(state, "a,{b,c", ","), (Strings{"a"}));
    EXPECT_EQ(Messages(), ScriptText::BadWord);
}
