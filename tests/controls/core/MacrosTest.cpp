#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "controls/core/Macros.h"
#include "controls/core/StrHolder.h"
#include "tests/CommaLocale.h"
#include "tests/controls/core/HangulText.h"

using namespace hangul;

TEST(MacroValue, TextOfEveryKind)
{
    EXPECT_TRUE(TMacroValue().IsEmpty());
    EXPECT_EQ(TMacroValue(42).AsString(), "42");
    EXPECT_EQ(TMacroValue(int64_t{-7}).AsString(), "-7");
    EXPECT_EQ(TMacroValue(2.5).AsString(), "2.5");
    EXPECT_EQ(TMacroValue(true).AsString(), "True");
    EXPECT_FALSE(TMacroValue("").IsEmpty());
    TMacroValue list(TMacroValue::Array{1, "x"});
    EXPECT_TRUE(list.IsArray());
    EXPECT_THROW(list.AsString(), EConvertError);
    EXPECT_THROW(TMacroValue(1).AsArray(), EConvertError);
}

class MacroValueUnderACommaLocale : public CommaLocaleTest {};

// A double macro value is written with "%.15G" as the C locale writes it.
TEST_F(MacroValueUnderACommaLocale, RegressionDoubleValuesWereWrittenWithTheDesktopsComma)
{
    const struct {
        const char* Name;
        double Value;
        const char* Want;
    } rows[] = {{"Half", 2.5, "2.5"},
                {"FifteenDigits", 1.0 / 3, "0.333333333333333"},
                {"LargeInCapitals", 1.5e20, "1.5E+20"},
                {"Small", -2.5e-7, "-2.5E-07"}};
    for (const auto& row : rows) {
        ExpectInBothLocales(
            row.Name, [&] { return std::string(TMacroValue(row.Value).AsString()); }, std::string(row.Want));
        // And so in the text a string holder expands.
        const auto expanded = [&] {
            TStrHolder holder(nullptr);
            holder.Strings()->Add("value %v");
            holder.MacroByName("v")->SetValue(row.Value);
            return std::string(holder.ExpandMacros());
        };
        ExpectInBothLocales(row.Name, expanded, "value " + std::string(row.Want) + "\r\n");
    }
}

TEST(Macros, NamesAreFoundWithoutRegardToCase)
{
    TMacros macros;
    TMacro* a = macros.CreateMacro("Alpha");
    macros.CreateMacro(kHanGeul);
    EXPECT_EQ(macros.IndexOf("ALPHA"), 0);
    EXPECT_EQ(macros.IndexOf(kHanGeul), 1);
    EXPECT_EQ(macros.IndexOf("beta"), -1);
    EXPECT_EQ(macros.FindMacro("alpha"), a);
    EXPECT_EQ(macros.MacroByName("aLPHA"), a);
    EXPECT_THROW(macros.MacroByName("beta"), EMacroError);
}

TEST(Macros, DuplicateNamesAreRefused)
{
    TMacros macros;
    TMacro* a = macros.CreateMacro("a");
    TMacro* b = macros.CreateMacro("b");
    EXPECT_THROW(macros.CreateMacro("A"), EMacroError);
    EXPECT_THROW(b->SetName("A"), EMacroError);
    EXPECT_EQ(b->Name(), "b");
    a->SetName("A");  // its own name in another case
    EXPECT_EQ(a->Name(), "A");
    EXPECT_EQ(macros.Count(), 2);
}

TEST(Macros, ValuesTextAndEvents)
{
    TMacros macros;
    TMacro* m = macros.CreateMacro("m");
    m->SetValue(12);
    EXPECT_EQ(m->GetText(), "12");
    m->OnGetText = [](TObject*, AnsiString& text) { text = "<" + text + ">"; };
    EXPECT_EQ(m->GetText(), "<12>");
    m->Clear();
    EXPECT_TRUE(m->Value().IsEmpty());
}

TEST(Macros, AssignValuesCopiesOnlyCommonNames)
{
    TMacros a, b;
    a.CreateMacro("x")->SetValue(1);
    a.CreateMacro("y")->SetValue(2);
    b.CreateMacro("Y");
    b.CreateMacro("z")->SetValue(3);
    b.AssignValues(&a);
    EXPECT_EQ(b.MacroByName("y")->Value(), TMacroValue(2));
    EXPECT_EQ(b.MacroByName("z")->Value(), TMacroValue(3));
    EXPECT_EQ(b.FindMacro("x"), nullptr);
}

TEST(Macros, ListsOfNames)
{
    TMacros macros;
    macros.CreateMacro("a")->SetValue(1);
    macros.CreateMacro("b")->SetValue("two");
    std::vector<TMacro*> list;
    macros.GetMacroList(list, " b ; a");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->Name(), "b");
    EXPECT_EQ(list[1]->Name(), "a");
    EXPECT_THROW(macros.GetMacroList(list, "a;nope"), EMacroError);

    EXPECT_EQ(macros.GetMacroValue("b"), TMacroValue("two"));
    EXPECT_EQ(macros.GetMacroValue("a;b"), TMacroValue(TMacroValue::Array{1, "two"}));
    macros.SetMacroValue("b;a", TMacroValue(TMacroValue::Array{"B", 9}));
    EXPECT_EQ(macros.GetMacroValue("a"), TMacroValue(9));
    EXPECT_EQ(macros.GetMacroValue("b"), TMacroValue("B"));
}

TEST(Macros, SettingAListFromTooFewValuesIsRefused)
{
    TMacros macros;
    macros.CreateMacro("a");
    macros.CreateMacro("b");
    EXPECT_THROW(macros.SetMacroValue("a;b", TMacroValue(TMacroValue::Array{1})), EMacroError);
    EXPECT_THROW(macros.SetMacroValue("a;b", 1), EMacroError);
}

TEST(Macros, EqualityAndCopies)
{
    TMacros a, b;
    a.CreateMacro("x")->SetValue(1);
    a.CreateMacro("y");
    b.CreateMacro("old");
    EXPECT_FALSE(a.IsEqual(&b));
    b.Assign(&a);
    EXPECT_TRUE(a.IsEqual(&b));
    b.Items(0)->SetValue(2);
    EXPECT_FALSE(a.IsEqual(&b));

    TMacros c;
    TMacro* m = c.CreateMacro("z");
    m->Assign(a.Items(0));
    EXPECT_EQ(m->Name(), "x");
    EXPECT_TRUE(m->IsEqual(a.Items(0)));
    EXPECT_THROW(c.Items(5), EListError);
}

TEST(MacroParsing, FindsNamesUpToADelimiterOutsideQuotes)
{
    using Names = std::vector<AnsiString>;
    const std::tuple<AnsiString, char, Names> cases[] = {
        {"select %a, %b;%c.x (%d) %e\r\n%f", '%', {"a", "b", "c", "d", "e", "f"}},
        // A doubled macro character creates no macro.
        {"100%% sure", '%', {}},
        {"%%x %y", '%', {"y"}},
        // Quotes hide references, and quoted names lose their quotes.
        {"'%a' \"%b\"", '%', {}},
        {"%\"long name\" rest", '%', {"long name"}},
        // Hangul names; '%' is never read out of the middle of a character, and 'c' as the mark
        // is not the trail byte of 똠.
        {"%" + kHanGeul + " x", '%', {kHanGeul}},
        {kDdom + "x", 'c', {}},
        {"%" + kDdom + "c.", '%', {kDdom + "c"}},
        {"% x", '%', {}}};
    for (const auto& [text, mark, want] : cases) {
        TMacros macros;
        EXPECT_EQ(macros.ParseString(text, true, mark), want) << text;
        EXPECT_EQ(macros.Count(), static_cast<int>(want.size())) << text;
        for (size_t i = 0; i < want.size(); ++i)
            EXPECT_EQ(macros.Items(static_cast<int>(i))->Name(), want[i]);
    }
}

TEST(MacroParsing, ExistingMacrosKeepTheirValuesAndWithoutCreateNothingIsAdded)
{
    TMacros macros;
    macros.CreateMacro("A")->SetValue(7);
    EXPECT_EQ(macros.ParseString("%a %b %a", false, '%'), (std::vector<AnsiString>{"a", "b"}));
    EXPECT_EQ(macros.Count(), 1);
    macros.ParseString("%a %b", true, '%');
    EXPECT_EQ(macros.Count(), 2);
    EXPECT_EQ(macros.MacroByName("a")->Value(), TMacroValue(7));
    EXPECT_TRUE(macros.MacroByName("b")->Value().IsEmpty());
}
