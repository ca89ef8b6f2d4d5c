// The system's word that the installed fonts changed: every form hears it, and every control on
// it, children after their parent; a control that an earlier one's handling freed is skipped.

#include "platform/gui/FontChange.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "GuiTestSupport.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"

namespace {

// Notes each font-change word it hears, and may act on it.
template <class Base>
class TListener : public Base {
public:
    TListener(TComponent* owner, std::string& log, const char* name) : Base(owner), FLog(log), FName(name)
    {
        this->RegisterHandler(WM_FONTCHANGE, [this](TMessage& m) {
            FLog += FName + " ";
            std::function<void()> then = OnHeard;
            this->Inherited(m);
            if (then)
                then();
        });
    }
    std::function<void()> OnHeard;

private:
    std::string& FLog;
    std::string FName;
};

class FontChangeWord : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        first = std::make_unique<TListener<TForm>>(nullptr, log, "first");
        second = std::make_unique<TListener<TForm>>(nullptr, log, "second");
        panel = new TListener<TPanel>(first.get(), log, "panel");
        panel->SetParent(first.get());
        inner = new TListener<TEdit>(first.get(), log, "inner");
        inner->SetParent(panel);
        label = new TListener<TLabel>(first.get(), log, "label");
        label->SetParent(first.get());
    }

    std::string log;
    std::unique_ptr<TListener<TForm>> first, second;
    TListener<TPanel>* panel = nullptr;
    TListener<TEdit>* inner = nullptr;
    TListener<TLabel>* label = nullptr;
};

TEST_F(FontChangeWord, ReachesEveryFormAndEveryControlOnIt)
{
    BroadcastFontChange();
    EXPECT_EQ(log, "first panel inner label second ");
}

TEST_F(FontChangeWord, AControlFreedByAnEarlierOneIsSkipped)
{
    panel->OnHeard = [this] { delete label; };
    BroadcastFontChange();
    EXPECT_EQ(log, "first panel inner second ");
}

TEST_F(FontChangeWord, AFormFreedByAnEarlierOneIsSkipped)
{
    first->OnHeard = [this] { second.reset(); };
    BroadcastFontChange();
    EXPECT_EQ(log, "first panel inner label ");
}

}  // namespace
