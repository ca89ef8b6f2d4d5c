#include "ScriptTestFixture.h"

#include "script/Aliases.h"

TEST_F(ScriptTest, AliasParameters)
{
    AddAlias("k", "kill %1");
    AddAlias("a", "say %0");
    AddAlias("two", "%2 and %1 and %3.");
    Run("k orc|k|a hello  there|two x y");
    EXPECT_EQ(Lines(), (Strings{"kill orc", "kill %1", "say hello  there", "y and x and ."}));
}

TEST_F(ScriptTest, AliasMarkers)
{
    const cAlias* semi = AddAlias("s", "x;1 a;b 100%% %q;");
    EXPECT_EQ(ExpandAlias(state, *semi, "s y"), "xy a%b 100% %q;");
    // Without arguments the text is used as it stands.
    EXPECT_EQ(ExpandAlias(state, *semi, "s"), "x;1 a;b 100%% %q;");
}

TEST_F(ScriptTest, SplitAliasCallWords)
{
    EXPECT_EQ(SplitAliasCall(state, "  go  north   fast "), 3);
    EXPECT_EQ(state.AliasWords, (Strings{"north   fast ", "north", "fast"}));
    EXPECT_EQ(SplitAliasCall(state, "go"), 0);
    EXPECT_TRUE(state.AliasWords.empty());
    // Only a space ends a word.
    EXPECT_EQ(SplitAliasCall(state, "go a\tb c"), 3);
    EXPECT_EQ(state.AliasWords[1], "a\tb");
}

TEST_F(ScriptTest, AliasLookupTrimsAndIsCaseSensitive)
{
    AddAlias(" k ", "kick");
    EXPECT_NE(FindAlias(state.AliasList, "k"), nullptr);
    EXPECT_EQ(FindAlias(state.AliasList, "K"), nullptr);
    Run("K|k");
    EXPECT_EQ(Lines(), (Strings{"K", "kick"}));
}

TEST_F(ScriptTest, AliasCallingAnotherAliasAndItself)
{
    AddAlias("hit", "kill %1");
    AddAlias("both", "hit %1|hit %2");
    Run("both orc elf");
    EXPECT_EQ(Lines(), (Strings{"kill orc", "kill elf"}));

    // An alias whose text starts with its own name calls itself until the nesting limit.
    host.Clear();
    AddAlias("again", "again");
    EXPECT_FALSE(Run("again"));
    EXPECT_TRUE(Sends().empty());
}

TEST_F(ScriptTest, AnEmptyCommandCallsNoAlias)
{
    AddAlias("", "say empty");
    Run("a||b\r\n");
    EXPECT_EQ(Lines(), (Strings{"a", "b"}));
}
