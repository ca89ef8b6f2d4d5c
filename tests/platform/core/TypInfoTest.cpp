// Property access by name: the text form of each kind both ways, inheritance and redeclared
// defaults, and the class registry.

#include "platform/core/TypInfo.h"

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/core/FloatFormat.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/IniFile.h"
#include "tests/CommaLocale.h"

namespace {

enum TShade { shLight, shDark, shNone };

class TSample : public TComponent {
public:
    using TComponent::TComponent;
    int Count = 7;
    int64_t Big = 0;
    char Letter = 'x';
    TShade Shade = shLight;
    unsigned Flags = 0;
    double Ratio = 0.5;
    float Small = 0.f;
    bool On = false;
    AnsiString Caption;
    TComponent* Link = nullptr;
    Variant Value;
};

class TDerived : public TSample {
public:
    using TSample::TSample;
};

void RegisterSamples()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterClass<TSample>("TSample", "", MakeComponent<TSample>)
        .Int(
            "Count", [](TSample* s) { return s->Count; }, [](TSample* s, int v) { s->Count = v; }, 7)
        .Int64(
            "Big", [](TSample* s) { return s->Big; }, [](TSample* s, int64_t v) { s->Big = v; })
        .Char(
            "Letter", [](TSample* s) { return s->Letter; }, [](TSample* s, char v) { s->Letter = v; })
        .Enum(
            "Shade", "TShade", {"shLight", "shDark", "shNone"}, [](TSample* s) { return s->Shade; },
            [](TSample* s, TShade v) { s->Shade = v; })
        .Set(
            "Flags", "TFlags", {"fA", "fB", "fC"}, [](TSample* s) { return s->Flags; },
            [](TSample* s, unsigned v) { s->Flags = v; })
        .Float(
            "Ratio", ftDouble, [](TSample* s) { return s->Ratio; }, [](TSample* s, double v) { s->Ratio = v; })
        .Float(
            "Small", ftSingle, [](TSample* s) { return s->Small; },
            [](TSample* s, double v) { s->Small = static_cast<float>(v); })
        .Bool(
            "On", [](TSample* s) { return s->On; }, [](TSample* s, bool v) { s->On = v; }, false)
        .Str(
            "Caption", [](TSample* s) { return s->Caption; }, [](TSample* s, const AnsiString& v) { s->Caption = v; })
        .Object(
            "Link", "TComponent", [](TSample* s) { return s->Link; }, [](TSample* s, TComponent* v) { s->Link = v; })
        .Var(
            "Value", [](TSample* s) { return s->Value; }, [](TSample* s, const Variant& v) { s->Value = v; })
        .Str("Name", &TComponent::Name, nullptr);
    RegisterClass<TDerived>("TDerived", "TSample", MakeComponent<TDerived>)
        .Int(
            "Count", [](TSample* s) { return s->Count; }, [](TSample* s, int v) { s->Count = v; }, 3);
}

struct TTextCase {
    const char* name;
    const char* prop;
    const char* in;   // text set
    const char* out;  // text read back
};

const TTextCase kTexts[] = {
    {"IntegerDecimal", "Count", "-12", "-12"},
    {"IntegerDollarHex", "Count", "$FF", "255"},
    {"IntegerHexPatternWraps", "Count", "$FFFFFFFF", "-1"},
    {"Int64Full", "Big", "9000000000", "9000000000"},
    {"CharTakesFirst", "Letter", "qz", "q"},
    {"EnumIgnoresCase", "Shade", "SHDARK", "shDark"},
    {"BooleanByName", "On", "true", "True"},
    {"SetSortedByElement", "Flags", "[fC, fA]", "[fA,fC]"},
    {"SetSkipsUnknownWords", "Flags", "fB nothing", "[fB]"},
    {"EmptySet", "Flags", "[]", "[]"},
    {"DoubleFifteenDigits", "Ratio", "0.1", "0.1"},
    {"SingleSevenDigits", "Small", "0.1", "0.1"},
    {"StringKeepsBlanks", "Caption", " a\xC7\xD1 ", " a\xC7\xD1 "},
    {"ComponentByName", "Link", "other", "other"},
    {"NullComponent", "Link", "(NULL)", "(null)"},
    {"VariantTakesTheTextAsAString", "Value", " 12 ", " 12 "},
};

class TypInfoText : public ::testing::TestWithParam<TTextCase> {};

TEST_P(TypInfoText, RoundTrips)
{
    RegisterSamples();
    TComponent root(nullptr);
    auto* s = new TSample(&root);
    (new TSample(&root))->SetName("other");
    const TPropInfo* p = GetPropInfo(s, GetParam().prop);
    ASSERT_NE(p, nullptr);
    SetPropText(s, *p, GetParam().in);
    EXPECT_EQ(GetPropText(s, *p), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Kinds, TypInfoText, ::testing::ValuesIn(kTexts),
                         [](const auto& row) { return std::string(row.param.name); });

struct TBadCase {
    const char* name;
    const char* prop;
    const char* in;
};

const TBadCase kBad[] = {
    {"IntegerWord", "Count", "ten"}, {"IntegerPast32Bits", "Count", "4294967296"}, {"EnumUnknown", "Shade", "shBright"},
    {"FloatWord", "Ratio", "half"},  {"UnknownComponent", "Link", "nobody"},       {"ReadOnly", "Name", "x"},
};

class TypInfoBadText : public ::testing::TestWithParam<TBadCase> {};

TEST_P(TypInfoBadText, RaisesAndKeepsTheValue)
{
    RegisterSamples();
    TSample s(nullptr);
    const TPropInfo* p = GetPropInfo(&s, GetParam().prop);
    ASSERT_NE(p, nullptr);
    AnsiString before = GetPropText(&s, *p);
    EXPECT_ANY_THROW(SetPropText(&s, *p, GetParam().in));
    EXPECT_EQ(GetPropText(&s, *p), before);
}

INSTANTIATE_TEST_SUITE_P(Kinds, TypInfoBadText, ::testing::ValuesIn(kBad),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(TypInfo, FloatTextUsesPointUnderACommaLocale)
{
    RegisterSamples();
    TSample s(nullptr);
    const TPropInfo* p = GetPropInfo(&s, "Ratio");
    char old = FormatSettings().DecimalSeparator;
    FormatSettings().DecimalSeparator = ',';
    SetPropText(&s, *p, "2.25");
    AnsiString text = GetPropText(&s, *p);
    FormatSettings().DecimalSeparator = old;
    EXPECT_EQ(text, "2.25");
    EXPECT_EQ(s.Ratio, 2.25);
}

class TypInfoUnderACommaLocale : public CommaLocaleTest {};

// A stored float property goes to an INI file and back as the C locale writes it.
TEST_F(TypInfoUnderACommaLocale, FloatPropertiesGoThroughAnIniFileWithAPoint)
{
    RegisterSamples();
    TempFolder folder;
    const auto storedAndRead = [&](double value) {
        TSample s(nullptr);
        const TPropInfo* p = GetPropInfo(&s, "Ratio");
        s.Ratio = value;
        {
            TIniFile ini(folder.File("props.ini"));
            ini.WriteString("Sample", "Ratio", GetPropText(&s, *p));
            ini.UpdateFile();
        }
        TIniFile ini(folder.File("props.ini"));
        const AnsiString text = ini.ReadString("Sample", "Ratio", "");
        SetPropText(&s, *p, text);
        return text + (s.Ratio == value ? " read back" : " read as " + FloatToStr(s.Ratio));
    };
    const struct {
        const char* Name;
        double Value;
        const char* Want;
    } rows[] = {{"Half", 0.5, "0.5 read back"},
                {"Small", 1.25e-7, "1.25E-7 read back"},
                {"Large", -12345.75, "-12345.75 read back"},
                {"Third", 1.0 / 3, "0.333333333333333 read as 0.333333333333333"}};
    for (const auto& row : rows)
        ExpectInBothLocales(
            row.Name, [&] { return std::string(storedAndRead(row.Value)); }, std::string(row.Want));
}

TEST(TypInfo, RedeclaredPropertyKeepsItsPlaceWithTheNewDefault)
{
    RegisterSamples();
    TDerived d(nullptr);
    std::vector<const TPropInfo*> props = GetPropList(&d);
    ASSERT_FALSE(props.empty());
    EXPECT_EQ(props[0]->Name, "Count");
    EXPECT_EQ(props[0]->Default, 3);
    EXPECT_EQ(GetPropList(&d).size(), GetPropList(&static_cast<TSample&>(d)).size());
}

TEST(TypInfo, ClassRegistryMakesByNameAndFindsDerivedCodeClasses)
{
    RegisterSamples();
    const TClassInfo* c = GetClass("tderived");
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->InheritsFrom("TSample"));
    std::unique_ptr<TComponent> made(c->Create(nullptr));
    EXPECT_EQ(ClassInfoOf(made.get()), c);
    EXPECT_EQ(GetClass("TNothing"), nullptr);
    EXPECT_THROW(FindClass("TNothing"), EClassNotFound);

    class TLocal : public TDerived {
        using TDerived::TDerived;
    } local(nullptr);
    EXPECT_EQ(ClassInfoOf(&local), c);
}

TEST(TypInfo, OutsideKindUsesItsRegisteredTextForm)
{
    RegisterSamples();
    TSample s(nullptr);
    TPropInfo p;
    p.Name = "Any";
    p.Kind = tkInterface;
    p.GetAny = [](TObject* o) { return std::any(static_cast<TSample*>(o)->Caption); };
    p.SetAny = [](TObject* o, const std::any& v) { static_cast<TSample*>(o)->Caption = std::any_cast<AnsiString>(v); };
    RegisterKindTextForm(tkInterface,
                         {[](TObject* o, const TPropInfo& q) { return std::any_cast<AnsiString>(q.GetAny(o)); },
                          [](TObject* o, const TPropInfo& q, const AnsiString& t) { q.SetAny(o, t); }});
    SetPropText(&s, p, "v");
    EXPECT_EQ(GetPropText(&s, p), "v");
    EXPECT_EQ(s.Caption, "v");
}

// An integer property knows the values its setter's type holds; an enumeration does not.
TEST(TypInfo, IntegerRangeIsTheSetterType)
{
    RegisterSamples();
    TSample s(nullptr);
    auto range = [&](const char* name) {
        const TPropInfo* p = GetPropInfo(&s, name);
        return p->HasRange ? IntToStr(p->MinValue) + ".." + IntToStr(p->MaxValue) : AnsiString("none");
    };
    EXPECT_EQ(range("Count"), "-2147483648..2147483647");
    EXPECT_EQ(range("Big"), "-9223372036854775808..9223372036854775807");
    EXPECT_EQ(range("Flags"), "0..4294967295");
    EXPECT_EQ(range("Shade"), "none");
    EXPECT_EQ(range("On"), "none");
}

TEST(TypInfo, VariantPropertyHoldsAStringVariant)
{
    RegisterSamples();
    TSample s(nullptr);
    SetPropText(&s, *GetPropInfo(&s, "Value"), "7");
    EXPECT_EQ(s.Value.VarType(), varString);
    s.Value = Variant(int64_t(5));
    EXPECT_EQ(GetPropText(&s, *GetPropInfo(&s, "Value")), "5");
}

}  // namespace

namespace {
class TStoredTwice : public TComponent {
public:
    using TComponent::TComponent;
    int A = 0, B = 0;
};
void RegisterStoredTwice()
{
    RegisterClass<TStoredTwice>("TStoredTwice", "")
        .Int(
            "A", [](TStoredTwice* s) { return s->A; }, [](TStoredTwice* s, int v) { s->A = v; })
        .Stored([](TStoredTwice*) { return false; })
        .Int(
            "B", [](TStoredTwice* s) { return s->B; }, [](TStoredTwice* s, int v) { s->B = v; });
}
}  // namespace

// Registering a class again replaced A in place and gave its stored rule to B, the last entry.
TEST(TypInfo, RegressionStoredRuleOfARegistrationAgainStaysWithItsProperty)
{
    RegisterStoredTwice();
    RegisterStoredTwice();
    TStoredTwice s(nullptr);
    EXPECT_FALSE(IsStoredProp(&s, *GetPropInfo(&s, "A")));
    EXPECT_TRUE(IsStoredProp(&s, *GetPropInfo(&s, "B")));
}
