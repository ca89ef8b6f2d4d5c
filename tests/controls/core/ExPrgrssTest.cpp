// The progress registry: the last registration wins, descendants are served, and the value
// goes to a property of whichever numeric kind.

#include "controls/core/ExPrgrss.h"

#include <gtest/gtest.h>

#include "platform/core/TypInfo.h"

namespace {

class TGauge : public TComponent {
public:
    TGauge() : TComponent(nullptr) {}
    int Max = 0, Progress = 0, Top = 0;
    double Fill = 0;
};
class TBigGauge : public TGauge {};
class TLabelLike : public TComponent {
public:
    TLabelLike() : TComponent(nullptr) {}
    AnsiString Caption;
};

void RegisterGaugeClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterClass<TComponent>("TComponent", "");
    RegisterClass<TGauge>("TGauge", "TComponent")
        .Int(
            "Max", [](TGauge* g) { return g->Max; }, [](TGauge* g, int v) { g->Max = v; })
        .Int(
            "Top", [](TGauge* g) { return g->Top; }, [](TGauge* g, int v) { g->Top = v; })
        .Int(
            "Progress", [](TGauge* g) { return g->Progress; }, [](TGauge* g, int v) { g->Progress = v; })
        .Float(
            "Fill", ftDouble, [](TGauge* g) { return g->Fill; }, [](TGauge* g, double v) { g->Fill = v; });
    RegisterClass<TBigGauge>("TBigGauge", "TGauge");
    RegisterClass<TLabelLike>("TLabelLike", "TComponent")
        .Str(
            "Caption", [](TLabelLike* l) { return l->Caption; },
            [](TLabelLike* l, const AnsiString& v) { l->Caption = v; });
}

class ExPrgrss : public ::testing::Test {
protected:
    void SetUp() override { RegisterGaugeClasses(); }
    void TearDown() override
    {
        UnRegisterProgressControl("TGauge");
        UnRegisterProgressControl("TLabelLike");
    }
};

TEST_F(ExPrgrss, UnregisteredClassGivesFalseAndChangesNothing)
{
    TGauge g;
    EXPECT_FALSE(SupportsProgressControl(&g));
    EXPECT_FALSE(SetProgressValue(&g, 5));
    EXPECT_EQ(g.Progress, 0);
    EXPECT_FALSE(SupportsProgressControl(nullptr));
}

TEST_F(ExPrgrss, LaterRegistrationWinsAndServesDescendants)
{
    RegisterProgressControl("TGauge", "Max", "Top", "Progress");
    RegisterProgressControl("TGauge", "Max", "Top", "Fill");
    TBigGauge g;
    EXPECT_TRUE(SetProgressValue(&g, 40));
    EXPECT_DOUBLE_EQ(g.Fill, 40);
    EXPECT_EQ(g.Progress, 0);
    EXPECT_TRUE(SetProgressMin(&g, 3));
    EXPECT_EQ(g.Top, 3);
    UnRegisterProgressControl("TGauge");
    EXPECT_FALSE(SupportsProgressControl(&g));
}

TEST_F(ExPrgrss, TextOrMissingPropertyIsRefused)
{
    RegisterProgressControl("TLabelLike", "Width", "Min", "Caption");
    TLabelLike l;
    EXPECT_TRUE(SupportsProgressControl(&l));
    EXPECT_FALSE(SetProgressValue(&l, 1));
    EXPECT_FALSE(SetProgressMax(&l, 1));
    EXPECT_EQ(l.Caption, "");
}

}  // namespace
