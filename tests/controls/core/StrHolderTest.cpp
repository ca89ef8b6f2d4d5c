#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "controls/core/StrHolder.h"
#include "controls/core/StrUtils.h"
#include "tests/controls/core/HangulText.h"

using namespace hangul;

namespace {

// Replaces the holder's lines by `text` split at line ends.
void Fill(TStrHolder& holder, std::string_view text) { holder.Strings()->SetText(text); }

}  // namespace

TEST(StrHolderMacros, ChangesOfTheLinesCreateMacros)
{
    TStrHolder holder(nullptr);
    holder.Strings()->Add("select * from %table where %cond");
    EXPECT_EQ(holder.MacroCount(), 2);
    EXPECT_EQ(holder.Macros()->Items(0)->Name(), "table");
    holder.Strings()->Add("100%% done");
    EXPECT_EQ(holder.MacroCount(), 2);
    EXPECT_THROW(holder.MacroByName("done"), EMacroError);
}

TEST(StrHolderMacros, ExpandReplacesDelimitedReferencesOfMacrosThatHaveValues)
{
    struct Case {
        const char* name;
        const char* lines;
        std::vector<std::pair<const char*, TMacroValue>> values;
        const char* want;
    };
    const char* const kSelect = "select * from %table where %cond";
    const Case cases[] = {
        {"ExpandReplacesMacrosThatHaveValues", kSelect, {{"table", "users"}}, "select * from users where %cond\r\n"},
        {"AnEmptyTextIsAValue", kSelect, {{"table", "users"}, {"cond", ""}}, "select * from users where \r\n"},
        {"EveryDelimitedReferenceIsReplacedCaseSensitively", "%n,%n;%n.%n)%n %N", {{"n", 1}}, "1,1;1.1)1 %N\r\n"},
        {"AReferenceInsideQuotesStopsThatMacro",
         "%a '%a x' %a %b \"%b\" %b",
         {{"a", "A"}, {"b", "B"}},
         "A '%a x' %a B \"%b\" %b\r\n"},
        // "second" is visited first, so the reference its text brings in is still expanded.
        {"MacrosAreTakenLastToFirst", "%first %second", {{"second", "%first"}, {"first", "1"}}, "1 1\r\n"},
        {"MacrosAreTakenLastToFirst", "%first %second", {{"first", "%second"}, {"second", "2"}}, "%second 2\r\n"},
        {"AMacroWhoseValueHoldsItsOwnReferenceExpandsOnce", "%me and %me", {{"me", "(%me)"}}, "(%me) and (%me)\r\n"},
        {"ALongerNameDoesNotHideALaterReference", "%idx = %id", {{"id", 5}}, "%idx = 5\r\n"},
    };
    for (const Case& c : cases) {
        TStrHolder holder(nullptr);
        Fill(holder, c.lines);
        for (const auto& [name, value] : c.values)
            holder.MacroByName(name)->SetValue(value);
        EXPECT_EQ(holder.ExpandMacros(), c.want) << c.name;
    }
}

TEST(StrHolderMacros, OnExpandMacrosAndOnGetTextRun)
{
    TStrHolder holder(nullptr);
    Fill(holder, "%x %x");
    int expansions = 0;
    holder.OnExpandMacros = [&](TObject*) {
        ++expansions;
        holder.MacroByName("x")->SetValue("v");
    };
    holder.MacroByName("x")->OnGetText = [](TObject*, AnsiString& text) { text += "!"; };
    EXPECT_EQ(holder.ExpandMacros(), "v! v!\r\n");
    EXPECT_EQ(expansions, 1);
}

TEST(StrHolderMacros, AGetTextHandlerMayDeleteMacros)
{
    TStrHolder holder(nullptr);
    Fill(holder, "%a %b %c");
    for (const char* name : {"a", "b", "c"})
        holder.MacroByName(name)->SetValue(name);
    holder.MacroByName("c")->OnGetText = [&](TObject*, AnsiString&) { holder.Macros()->Clear(); };
    EXPECT_EQ(holder.ExpandMacros(), "%a %b c\r\n");
}

TEST(StrHolderMacros, OtherMacroCharacterAndHangul)
{
    TStrHolder holder(nullptr);
    holder.SetMacroChar('$');
    Fill(holder, "$" + kHanGeul + " %x " + kDdom + "$y");
    EXPECT_EQ(holder.MacroCount(), 2);
    holder.MacroByName(kHanGeul)->SetValue(kGa);
    holder.MacroByName("y")->SetValue(kNa);
    EXPECT_EQ(holder.ExpandMacros(), kGa + " %x " + kDdom + kNa + "\r\n");

    // A mark that is the trail byte of 똠 is not a reference.
    TStrHolder marks(nullptr);
    marks.SetMacroChar('c');
    Fill(marks, kDdom + "at cx");
    EXPECT_EQ(marks.MacroCount(), 1);
    marks.MacroByName("x")->SetValue("1");
    marks.Macros()->CreateMacro("at")->SetValue("2");
    EXPECT_EQ(marks.ExpandMacros(), kDdom + "at 1\r\n");
}

TEST(StrHolderMacros, ChangingTheMacroCharacterFindsItsReferences)
{
    TStrHolder holder(nullptr);
    Fill(holder, "#a %b");
    EXPECT_EQ(holder.MacroCount(), 1);
    holder.SetMacroChar('#');
    EXPECT_NE(holder.Macros()->FindMacro("a"), nullptr);
}

TEST(StrHolderStore, ScrambledLinesReadBack)
{
    TStrHolder holder(nullptr);
    holder.SetKeyString("key");
    holder.Strings()->Add("north; say " + kHanGeul);
    holder.Strings()->Add("");
    TStringList data;
    holder.WriteStrData(data);
    EXPECT_EQ(data.Strings(0), "key");

    TStrHolder copy(nullptr);
    copy.SetInternalVer(TStrHolder::kWrittenVer);
    int events = 0;
    copy.OnChange = [&](TObject*) { ++events; };
    copy.OnChanging = [&](TObject*) { ++events; };
    copy.ReadStrData(data);
    EXPECT_EQ(copy.KeyString(), "key");
    EXPECT_TRUE(copy.Strings()->Equals(holder.Strings()));
    EXPECT_EQ(events, 0);
    EXPECT_EQ(copy.MacroCount(), 0);  // no parsing while reading
}

TEST(StrHolderStore, OldFormatLinesAreShortXorStrings)
{
    TStringList data;
    data.Add("k");
    data.Add(XorString("k", "old line"));
    TStrHolder holder(nullptr);
    ASSERT_EQ(holder.InternalVer(), 0);  // a form without "InternalVer"
    holder.ReadStrData(data);
    ASSERT_EQ(holder.Strings()->Count(), 1);
    EXPECT_EQ(holder.Strings()->Strings(0), "old line");
}

TEST(StrHolderEvents, EveryChangeRaisesChangingThenChange)
{
    TStrHolder holder(nullptr);
    std::vector<std::string> log;
    holder.OnChanging = [&](TObject*) { log.push_back("changing " + std::to_string(holder.Strings()->Count())); };
    holder.OnChange = [&](TObject*) { log.push_back("change " + std::to_string(holder.Strings()->Count())); };
    holder.Strings()->Add("one");
    holder.Strings()->Delete(0);
    EXPECT_EQ(log, (std::vector<std::string>{"changing 0", "change 1", "changing 1", "change 0"}));
    log.clear();
    holder.Strings()->BeginUpdate();
    holder.Strings()->Add("a");
    holder.Strings()->Add("b");
    holder.Strings()->EndUpdate();
    // One change for the whole update, seen with both lines in.
    EXPECT_EQ(std::count(log.begin(), log.end(), "change 2"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "change 1"), 0);
}

TEST(StrHolderEvents, MacrosAreKnownWhenOnChangeRuns)
{
    TStrHolder holder(nullptr);
    int seen = -1;
    holder.OnChange = [&](TObject*) { seen = holder.MacroCount(); };
    holder.Strings()->Add("%m");
    EXPECT_EQ(seen, 1);
}

TEST(StrHolderEvents, NoEventsWhileLoading)
{
    TStrHolder holder(nullptr);
    int events = 0;
    holder.OnChange = [&](TObject*) { ++events; };
    holder.BeginLoading();
    holder.Strings()->Add("%m");
    holder.EndLoading();
    EXPECT_EQ(events, 0);
    EXPECT_EQ(holder.MacroCount(), 0);
    holder.Strings()->Add("x");
    EXPECT_EQ(events, 1);
}

TEST(StrHolderLines, PropertiesOfTheListAndCopies)
{
    TStrHolder holder(nullptr);
    holder.SetCommaText("b,a,\"c d\"");
    EXPECT_EQ(holder.Strings()->Count(), 3);
    EXPECT_EQ(holder.CommaText(), "b,a,\"c d\"");

    TStringList list;
    list.Assign(&holder);  // through AssignTo
    EXPECT_TRUE(list.Equals(holder.Strings()));

    TStrHolder other(nullptr);
    other.Assign(&holder);
    EXPECT_TRUE(other.Strings()->Equals(holder.Strings()));
    TStringList lines;
    lines.Add(kHanGeul);
    other.Assign(&lines);
    EXPECT_EQ(other.Strings()->Text(), kHanGeul + "\r\n");
    TMacros macros;
    macros.CreateMacro("q");
    other.SetMacros(&macros);
    EXPECT_EQ(other.MacroCount(), 1);
}
