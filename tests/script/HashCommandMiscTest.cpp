// The dispatcher itself (exact words, unknown words) and the words that reach the host directly:
// remarks, sounds, a bare line end, messages.

#include "HashCommandTest.h"
#include "script/HashCommand.h"

TEST_F(HashCommandTest, UnknownWordIsReportedAndTheTextGoesOn)
{
    Run("#xyz|after");
    EXPECT_EQ(Messages(), Unknown("xyz"));
    EXPECT_EQ(Lines(), Strings{"after"});
    Clear();
    // Words compare exactly: case matters, and only the word before a blank or ',' counts.
    Run("#TD 1|#echox|#xyz,abc|#tdd 1");
    EXPECT_EQ(Messages(), Unknown("TD") + Unknown("echox") + Unknown("xyz") + Unknown("tdd"));
    Clear();
    Run("#");
    EXPECT_EQ(Messages(), Unknown(""));
    Clear();
    Run(Ks("#없는말 1"));
    EXPECT_EQ(Messages(), Unknown(Ks("없는말")));
    EXPECT_TRUE(Lines().empty());
}

TEST_F(HashCommandTest, EveryCommandWordIsKnown)
{
    const char* words[] = {
        "load", "save", "rem", "play", "td", "tnd", "tgd", "to", "tf", "trr", "trs", "trp", "tgt", "tro",
        "tgo", "tgf", "tno", "tnf", "tao", "taf", "trn", "tmf", "tmo", "tio", "tif", "tis", "tir", "sta",
        "std", "vd", "vr", "cr", "echo", "vsd", "bto", "btf", "wl", "we", "wr", "wp", "wsn", "wsp", "wspk",
        "wn", "ws", "wc", "wal", "wg", "wok", "wsf", "wgt", "wgf", "wsm", "wmf", "wms", "wmfi", "wd", "wsb",
        "wrb", "wnb", "wfn", "tim", "vns", "vs", "vm", "beep"};
    for (const char* word : words)
        EXPECT_NE(FindHashCommand(word), nullptr) << word;
    // Executor keywords reach the dispatcher only when a variable turns into them; it does not
    // know them.
    for (const char* word : {"send", "loop", "if", "ts", "tic", "cap", "vss", "break", "wac", "wsc", "x"})
        EXPECT_EQ(FindHashCommand(word), nullptr) << word;
}

TEST_F(HashCommandTest, RemarkDoesNothingAlsoWhenAVariableMakesIt)
{
    Run("#vs r {#rem hidden}|@(r)|#rem|shown");
    EXPECT_EQ(Lines(), Strings{"shown"});
    EXPECT_EQ(Messages(), "");
}

TEST_F(HashCommandTest, PlayHandsTheFileToTheHost)
{
    Run("#play Sounds\\ding.wav|#play");
    ASSERT_EQ(host.Count(TScriptEvent::Play), 1);
    EXPECT_EQ(host.Events[0].Text, "Sounds\\ding.wav");
}

TEST_F(HashCommandTest, LineEndSendsOneCrLf)
{
    Run("#cr");
    EXPECT_EQ(host.Sent(), "\r\n");
    EXPECT_EQ(host.Count(TScriptEvent::Send), 1);
}

TEST_F(HashCommandTest, EchoShowsALineBreakThenTheText)
{
    Run("#echo hello  there, you");
    ASSERT_EQ(host.Count(TScriptEvent::Message), 2);
    EXPECT_EQ(host.Events[0].Text, "\n\r");
    EXPECT_EQ(host.Events[1].Text, "hello  there, you");
    EXPECT_EQ(host.Count(TScriptEvent::Send), 0);
    Clear();
    Run("#echo,hi|#echo|#vs hp 9|#echo hp @(hp)");
    EXPECT_EQ(Messages(), "\n\rhi\n\r\n\rhp 9");
}

TEST_F(HashCommandTest, BeepTakesFrequencyAndDuration)
{
    Run("#beep 440 200|#beep 880,50|#beep 440|#beep|#beep x 5");
    std::vector<std::pair<int, int>> beeps;
    for (const auto& e : host.Events)
        if (e.What == TScriptEvent::Beep)
            beeps.emplace_back(e.A, e.B);
    EXPECT_EQ(beeps, (std::vector<std::pair<int, int>>{{440, 200}, {880, 50}, {440, 0}, {0, 5}}));
}

TEST_F(HashCommandTest, MessageWordsFromATriggerAction)
{
    AddTrigger("bell", "%s tells you %*", "#beep 1000 100|#play tell.wav|#echo from %0: %1|#cr|#nope");
    Receive("Bob tells you hi\r\n");
    EXPECT_EQ(host.Count(TScriptEvent::Beep), 1);
    EXPECT_EQ(host.Count(TScriptEvent::Play), 1);
    EXPECT_EQ(Messages(), "\n\rfrom Bob: hi" + Unknown("nope"));
    EXPECT_EQ(host.Sent(), "\r\n");
}
