// The button words: a button ends up on or off as if clicked on the bar.

#include "HashCommandTest.h"

namespace {

int control = 0;  // stands for the bar's control; the host never looks at it

} // namespace

TEST_F(HashCommandTest, ButtonOnAndOffRunTheirCommandsThroughTheBar)
{
    auto record = std::make_unique<cButton>();
    record->Name = " fight ";
    record->OnBuff = "attack";
    record->OffBuff = "flee";
    record->Control = reinterpret_cast<TMyButton*>(&control);
    cButton* b = state.ButtonList.Add(std::move(record));

    Run("#bto fight");
    EXPECT_EQ(b->Status & 1, 1);
    Run("#bto fight");  // already on: clicked again, still on
    EXPECT_EQ(b->Status & 1, 1);
    Run("#btf fight");
    EXPECT_EQ(b->Status & 1, 0);
    EXPECT_EQ(Lines(), (Strings{"attack", "attack", "flee"}));
    EXPECT_EQ(host.Count(TScriptEvent::Click), 3);

    // Without an OffBuff a button is not switched off; unknown and missing names do nothing.
    b->OffBuff.clear();
    Run("#bto fight|#btf fight|#btf nobody|#bto nobody|#bto|#btf");
    EXPECT_EQ(b->Status & 1, 1);
    EXPECT_EQ(host.Count(TScriptEvent::Click), 4);
    EXPECT_EQ(Messages(), "");
}

TEST_F(HashCommandTest, ButtonWithoutAControlOnlyChangesItsBit)
{
    auto record = std::make_unique<cButton>();
    record->Name = "b";
    record->OffBuff = "off";
    record->Status = 1;
    cButton* b = state.ButtonList.Add(std::move(record));
    Run("#bto b");
    EXPECT_EQ(b->Status & 1, 0);
    Run("#btf b");
    EXPECT_EQ(b->Status & 1, 1);
    EXPECT_TRUE(host.Events.empty());
}
