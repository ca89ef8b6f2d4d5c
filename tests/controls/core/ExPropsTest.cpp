// Published properties stored as text and loaded back: the text form of each kind, string lists
// and collections in sub-sections, component references, nested objects and the stored list.

#include "controls/core/ExProps.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

#include "controls/core/StoredList.h"
#include "controls/core/StoredPropText.h"
#include "platform/core/Collection.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/StringList.h"

namespace {

enum TShade { shLight, shDark };

class TPen2 : public TPersistent {
public:
    int Width = 1;
    AnsiString Style = "solid";
};

class TPoint2 : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    int X = 0;
    AnsiString Label;
};

class TTag : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    Variant Value;
};

// A component with one property of every kind the storage handles.
class TThing : public TComponent {
public:
    explicit TThing(TComponent* owner)
        : TComponent(owner), Points(TCollection::ItemClassOf<TPoint2>()), Tags(TCollection::ItemClassOf<TTag>())
    {}
    int Count = 0;
    int64_t Big = 0;
    uint16_t Small = 0;
    char Letter = 'a';
    char16_t Initial = u'a';
    TShade Shade = shLight;
    double Ratio = 0.5;
    double Precise = 0;  // an extended float, held as a double
    float Scale = 0;
    AnsiString Text;
    unsigned Flags = 0;
    Variant Value;
    TStringList Lines;
    TCollection Points;
    TCollection Tags;
    TComponent* Buddy = nullptr;
    TPen2 Pen;
    TNotifyEvent OnChange;
};

// A wide character property, as the property table presents one: its UTF-16 code.
TPropInfo WideCharProperty()
{
    TPropInfo p;
    p.Name = "Initial";
    p.Kind = tkWChar;
    p.TypeName = "WideChar";
    p.GetOrd = [](TObject* o) { return static_cast<int64_t>(static_cast<TThing*>(o)->Initial); };
    p.SetOrd = [](TObject* o, int64_t v) { static_cast<TThing*>(o)->Initial = static_cast<char16_t>(v); };
    return p;
}

void Register()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterClass<TComponent>("TComponent", "").Str("Name", &TComponent::Name, &TComponent::SetName);
    RegisterClass<TPen2>("TPen2", "")
        .Int(
            "Width", [](TPen2* p) { return p->Width; }, [](TPen2* p, int v) { p->Width = v; })
        .Str(
            "Style", [](TPen2* p) { return p->Style; }, [](TPen2* p, const AnsiString& v) { p->Style = v; });
    RegisterClass<TPoint2>("TPoint2", "")
        .Int(
            "X", [](TPoint2* p) { return p->X; }, [](TPoint2* p, int v) { p->X = v; })
        .Str(
            "Label", [](TPoint2* p) { return p->Label; }, [](TPoint2* p, const AnsiString& v) { p->Label = v; });
    RegisterClass<TTag>("TTag", "")
        .Var(
            "Value", [](TTag* t) { return t->Value; }, [](TTag* t, const Variant& v) { t->Value = v; });
    using T = TThing;
    RegisterClass<T>("TThing", "TComponent")
        .Int(
            "Count", [](T* t) { return t->Count; }, [](T* t, int v) { t->Count = v; })
        .Int64(
            "Big", [](T* t) { return t->Big; }, [](T* t, int64_t v) { t->Big = v; })
        .Int(
            "Small", [](T* t) { return t->Small; }, [](T* t, uint16_t v) { t->Small = v; })
        .Char(
            "Letter", [](T* t) { return t->Letter; }, [](T* t, char v) { t->Letter = v; })
        .Custom(WideCharProperty())
        .Enum(
            "Shade", "TShade", {"shLight", "shDark"}, [](T* t) { return t->Shade; },
            [](T* t, TShade v) { t->Shade = v; })
        .Float(
            "Ratio", ftDouble, [](T* t) { return t->Ratio; }, [](T* t, double v) { t->Ratio = v; })
        .Float(
            "Precise", ftExtended, [](T* t) { return t->Precise; }, [](T* t, double v) { t->Precise = v; })
        .Float(
            "Scale", ftSingle, [](T* t) { return t->Scale; }, [](T* t, double v) { t->Scale = static_cast<float>(v); })
        .Str(
            "Text", [](T* t) { return t->Text; }, [](T* t, const AnsiString& v) { t->Text = v; })
        .Set(
            "Flags", "TFlags", {"fA", "fB", "fC"}, [](T* t) { return t->Flags; },
            [](T* t, unsigned v) { t->Flags = v; })
        .Var(
            "Value", [](T* t) { return t->Value; }, [](T* t, const Variant& v) { t->Value = v; })
        .Object(
            "Lines", "TStrings", [](T* t) { return &t->Lines; }, nullptr)
        .Object(
            "Points", "TCollection", [](T* t) { return &t->Points; }, nullptr)
        .Object(
            "Tags", "TCollection", [](T* t) { return &t->Tags; }, nullptr)
        .Object(
            "Buddy", "TComponent", [](T* t) { return t->Buddy; }, [](T* t, TComponent* c) { t->Buddy = c; })
        .Object(
            "Pen", "TPen2", [](T* t) { return &t->Pen; }, nullptr);
}

// An INI-like store in memory; "Section|Key" keys. It counts its reads, and may answer a missing
// key with an empty text instead of the default.
struct TMemoryStore {
    std::map<std::string, std::string> Values;
    std::vector<std::string> Erased;
    int Reads = 0;
    bool EmptyForMissing = false;

    void Attach(TPropsStorage& s)
    {
        s.OnWriteString = [this](const AnsiString& sec, const AnsiString& key, const AnsiString& v) {
            Values[sec + "|" + key] = v;
        };
        s.OnReadString = [this](const AnsiString& sec, const AnsiString& key, const AnsiString& def) {
            ++Reads;
            auto it = Values.find(sec + "|" + key);
            return it != Values.end() ? AnsiString(it->second) : EmptyForMissing ? AnsiString() : def;
        };
        s.OnEraseSection = [this](const AnsiString& sec) {
            Erased.push_back(sec);
            std::erase_if(Values, [&](const auto& kv) { return kv.first.rfind(sec + "|", 0) == 0; });
        };
        s.OnReadSection = [this](const AnsiString& sec, TStrings* keys) {
            for (const auto& [key, value] : Values)
                if (key.rfind(sec + "|", 0) == 0)
                    keys->Add(key.substr(sec.size() + 1));
        };
    }
    std::string Get(const std::string& key) const
    {
        auto it = Values.find(key);
        return it == Values.end() ? "(none)" : it->second;
    }
};

class ExPropsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Register();
        form.SetName("Form1");
        thing = new TThing(&form);
        thing->SetName("Thing");
        store.Attach(storage);
        storage.Section = "Main";
        list.AddObject("Thing.Count", thing);
    }
    void StoreAll(std::initializer_list<const char*> props)
    {
        list.Clear();
        for (const char* p : props)
            list.AddObject(AnsiString("Thing.") + p, thing);
        storage.StoreObjectsProps(&form, &list);
    }
    void LoadAll(std::initializer_list<const char*> props)
    {
        list.Clear();
        for (const char* p : props)
            list.AddObject(AnsiString("Thing.") + p, thing);
        storage.LoadObjectsProps(&form, &list);
    }

    TComponent form{nullptr};
    TThing* thing = nullptr;
    TMemoryStore store;
    TPropsStorage storage;
    TStringList list;
};

// --- The text form of each kind -----------------------------------------------------------

struct TKindCase {
    const char* name;
    const char* prop;
    std::function<void(TThing&)> set;
    const char* stored;  // under Main|Thing_<prop>
};
class StoredText : public ExPropsTest, public ::testing::WithParamInterface<TKindCase> {};

TEST_P(StoredText, IsWrittenAndReadBack)
{
    GetParam().set(*thing);
    StoreAll({GetParam().prop});
    EXPECT_EQ(store.Get(std::string("Main|Thing_") + GetParam().prop), GetParam().stored);
    TThing fresh(&form);
    fresh.SetName("Fresh");
    list.Clear();
    list.AddObject(AnsiString("Fresh.") + GetParam().prop, &fresh);
    // The fresh component reads what the stored one wrote.
    for (auto& [key, value] : std::map(store.Values))
        if (key.rfind("Main|Thing_", 0) == 0)
            store.Values["Main|Fresh_" + key.substr(11)] = value;
    storage.LoadObjectsProps(&form, &list);
    const TPropInfo* p = GetPropInfo(thing, GetParam().prop);
    EXPECT_EQ(StoredPropText(&fresh, *p), Trim(StoredPropText(thing, *p)));
}

const TKindCase kKinds[] = {
    {"Integer", "Count", [](TThing& t) { t.Count = -42; }, "-42"},
    {"Int64", "Big", [](TThing& t) { t.Big = 5000000000LL; }, "5000000000"},
    {"Char", "Letter", [](TThing& t) { t.Letter = 'Q'; }, "Q"},
    {"WideChar", "Initial", [](TThing& t) { t.Initial = u'Z'; }, "Z"},
    // U+AC00 가 is B0 A1 in cp949.
    {"RegressionWideCharHangulWasStoredAsByteZero", "Initial", [](TThing& t) { t.Initial = u'\uAC00'; }, "\xB0\xA1"},
    {"WordProperty", "Small", [](TThing& t) { t.Small = 65535; }, "65535"},
    {"Enumeration", "Shade", [](TThing& t) { t.Shade = shDark; }, "shDark"},
    {"FloatWithAPoint", "Ratio", [](TThing& t) { t.Ratio = 2.25; }, "2.25"},
    {"RegressionExtendedFloatWasStoredWithNoiseDigits", "Precise", [](TThing& t) { t.Precise = 0.1; }, "0.1"},
    {"ExtendedFloatKeepsTheDigitsItHolds", "Precise", [](TThing& t) { t.Precise = 1234.5678; }, "1234.5678"},
    {"SingleFloatHasSevenDigits", "Scale", [](TThing& t) { t.Scale = 2.0f / 3.0f; }, "0.6666667"},
    {"StringTrimmed", "Text", [](TThing& t) { t.Text = "  two words "; }, "two words"},
    {"BlankStringIsStoredEmpty", "Text", [](TThing& t) { t.Text = "   "; }, ""},
    {"EmptySet", "Flags", [](TThing& t) { t.Flags = 0; }, "[]"},
    {"SetInElementOrder", "Flags", [](TThing& t) { t.Flags = 5; }, "[fA,fC]"},
    {"Variant", "Value", [](TThing& t) { t.Value = Variant(17); }, "17"},
};
INSTANTIATE_TEST_SUITE_P(Kinds, StoredText, ::testing::ValuesIn(kKinds),
                         [](const auto& row) { return std::string(row.param.name); });

struct TLoadCase {
    const char* name;
    const char* prop;
    const char* text;
    const char* loaded;  // GetPropText afterwards
};
class LoadedText : public ExPropsTest, public ::testing::WithParamInterface<TLoadCase> {};

TEST_P(LoadedText, GivesTheValue)
{
    thing->Count = 7;
    thing->Shade = shDark;
    thing->Letter = 'z';
    thing->Small = 9;
    thing->Big = 9;
    thing->Initial = u'x';
    store.Values[std::string("Main|Thing_") + GetParam().prop] = GetParam().text;
    LoadAll({GetParam().prop});
    EXPECT_EQ(StoredPropText(thing, *GetPropInfo(thing, GetParam().prop)), GetParam().loaded);
}

const TLoadCase kLoads[] = {
    {"IntegerThatIsNoNumberLoadsZero", "Count", "seven", "0"},
    {"RegressionIntegerPastItsTypeLoadedAWrappedValue", "Count", "4294967297", "0"},
    {"IntegerBelowItsTypeLoadsZero", "Count", "-2147483649", "0"},
    {"IntegerAtItsLimits", "Count", "-2147483648", "-2147483648"},
    {"WordPastItsTypeLoadsZero", "Small", "65536", "0"},
    {"NegativeWordLoadsZero", "Small", "-1", "0"},
    {"Int64PastItsTypeLoadsZero", "Big", "9223372036854775808", "0"},
    {"Int64AtItsLimit", "Big", "-9223372036854775808", "-9223372036854775808"},
    // 나가 (B3 AA B0 A1) loads 나.
    {"WideCharTakesTheFirstCharacter", "Initial", "\xB3\xAA\xB0\xA1", "\xB3\xAA"},
    {"WideCharLeadByteWithoutItsPairChangesNothing", "Initial", "\xB0", "x"},
    {"EmptyWideCharChangesNothing", "Initial", "", "x"},
    {"ExtendedFloatReadsItsText", "Precise", "1234.5678", "1234.5678"},
    {"EnumerationIgnoresCase", "Shade", "SHLIGHT", "shLight"},
    {"UnknownEnumerationChangesNothing", "Shade", "shPurple", "shDark"},
    {"SetSkipsWordsThatAreNoMember", "Flags", "[fB, nothing]", "[fB]"},
    {"EmptyCharChangesNothing", "Letter", "", "z"},
    {"BadFloatChangesNothing", "Ratio", "1.2.3", "0.5"},
    {"TextIsTrimmed", "Text", "  padded  ", "padded"},
};
INSTANTIATE_TEST_SUITE_P(Kinds, LoadedText, ::testing::ValuesIn(kLoads),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ExPropsTest, FloatUnderACommaLocaleIsStoredWithAPoint)
{
    TFormatSettings saved = FormatSettings();
    FormatSettings().DecimalSeparator = ',';
    thing->Ratio = 1.5;
    StoreAll({"Ratio"});
    EXPECT_EQ(store.Get("Main|Thing_Ratio"), "1.5");
    thing->Ratio = 0;
    LoadAll({"Ratio"});
    FormatSettings() = saved;
    EXPECT_DOUBLE_EQ(thing->Ratio, 1.5);
}

// Decision 44: an empty variant loads what was stored; a missing key leaves it empty.
TEST_F(ExPropsTest, RegressionEmptyVariantLoadsItsStoredText)
{
    store.Values["Main|Thing_Value"] = "hello";
    LoadAll({"Value"});
    EXPECT_EQ(VarToStr(thing->Value), "hello");
    thing->Value = Variant();
    store.Values.clear();
    LoadAll({"Value"});
    EXPECT_TRUE(thing->Value.IsEmpty());
}

// Decision 44 for characters: one that holds no character yet loads the stored one.
TEST_F(ExPropsTest, RegressionEmptyCharLoadsItsStoredText)
{
    thing->Letter = '\0';
    store.Values["Main|Thing_Letter"] = "Q";
    LoadAll({"Letter"});
    EXPECT_EQ(thing->Letter, 'Q');
}

// --- Lists, collections, references and nested objects ---------------------------------------

TEST_F(ExPropsTest, StringListLivesInItsSubSection)
{
    thing->Lines.SetText("one\r\n two \r\n");
    StoreAll({"Lines"});
    EXPECT_EQ(store.Get("Main.Thing_Lines|Count"), "2");
    EXPECT_EQ(store.Get("Main.Thing_Lines|Item1"), "two");
    thing->Lines.Clear();
    LoadAll({"Lines"});
    EXPECT_EQ(thing->Lines.Text(), "one\r\ntwo\r\n");
}

TEST_F(ExPropsTest, EmptyStringListErasesItsSectionAndLoadingKeepsTheLines)
{
    store.Values["Main.Thing_Lines|Count"] = "5";
    StoreAll({"Lines"});
    EXPECT_EQ(store.Erased, std::vector<std::string>{"Main.Thing_Lines"});
    EXPECT_EQ(store.Get("Main.Thing_Lines|Count"), "(none)");
    thing->Lines.Add("kept");
    LoadAll({"Lines"});
    EXPECT_EQ(thing->Lines.Text(), "kept\r\n");
}

TEST_F(ExPropsTest, CollectionItemsAreRebuiltFromTheirCount)
{
    for (int x : {3, 4}) {
        auto* p = static_cast<TPoint2*>(thing->Points.Add());
        p->X = x;
        p->Label = "p" + IntToStr(x);
    }
    StoreAll({"Points"});
    EXPECT_EQ(store.Get("Main|Thing_Points.Count"), "2");
    EXPECT_EQ(store.Get("Main.Thing_Points|Item1_X"), "4");
    thing->Points.Clear();
    thing->Points.Add();
    LoadAll({"Points"});
    ASSERT_EQ(thing->Points.Count(), 2);
    EXPECT_EQ(static_cast<TPoint2*>(thing->Points.Items(1))->Label, "p4");
}

// A stored count larger than the keys present (an edited file) ends a string list at the highest
// key present; a missing key below it reads as empty. A collection makes an item per stored
// count. Neither is ever made of more than the bound of missing entries, however large the
// count: the lines are read no further, the collection is refused. A store that can list its
// keys and one with the three hooks alone load the same.
struct TCountCase {
    const char* name;
    std::map<std::string, std::string> stored;
    const char* prop;
    const char* lines;   // Text afterwards; "kept" before
    const char* points;  // the items' X afterwards; one item of 9 before
};
class StoredCount : public ExPropsTest, public ::testing::WithParamInterface<std::tuple<TCountCase, bool>> {};

TEST_P(StoredCount, RegressionCountPastTheKeysEndsAtTheHighestKeyPresent)
{
    const auto& [row, listsKeys] = GetParam();
    if (!listsKeys)
        storage.OnReadSection = nullptr;
    thing->Lines.Add("kept");
    static_cast<TPoint2*>(thing->Points.Add())->X = 9;
    store.Values = row.stored;
    LoadAll({row.prop});
    std::string points;
    for (int i = 0; i < thing->Points.Count(); ++i)
        points += (i ? "," : "") + std::to_string(static_cast<TPoint2*>(thing->Points.Items(i))->X);
    EXPECT_EQ(thing->Lines.Text(), row.lines);
    EXPECT_EQ(points, row.points);
    // Reading stops within the bound, whatever the count.
    EXPECT_LE(store.Reads, 2 * kMaxMissingListEntries + 16);
}

const std::string kPastTheBound = std::to_string(kMaxMissingListEntries + 1);
const TCountCase kCounts[] = {
    {"LinesAfterAGap",
     {{"Main.Thing_Lines|Count", "3"}, {"Main.Thing_Lines|Item0", "a"}, {"Main.Thing_Lines|Item2", "c"}},
     "Lines",
     "a\r\n\r\nc\r\n",
     "9"},
    {"TrailingMissingLinesEnd",
     {{"Main.Thing_Lines|Count", "3"}, {"Main.Thing_Lines|Item0", "a"}},
     "Lines",
     "a\r\n",
     "9"},
    {"PresentEmptyLineWithACountFarPastTheKeys",
     {{"Main.Thing_Lines|Count", "300000000"}, {"Main.Thing_Lines|Item0", "a"}, {"Main.Thing_Lines|Item1", ""}},
     "Lines",
     "a\r\n\r\n",
     "9"},
    {"LinesPastTheCountAreNotRead",
     {{"Main.Thing_Lines|Count", "1"}, {"Main.Thing_Lines|Item0", "a"}, {"Main.Thing_Lines|Item5", "f"}},
     "Lines",
     "a\r\n",
     "9"},
    {"LinesMostlyMissingAreLeft",
     {{"Main.Thing_Lines|Count", "2000000000"}, {"Main.Thing_Lines|Item1999999999", "z"}},
     "Lines",
     "kept\r\n",
     "9"},
    {"CollectionCountFarPastTheKeysIsRefused",
     {{"Main|Thing_Points.Count", "2000000000"},
      {"Main.Thing_Points|Item0_X", "1"},
      {"Main.Thing_Points|Item1_Label", "b"}},
     "Points",
     "kept\r\n",
     "9"},
    {"CollectionAfterAGap",
     {{"Main|Thing_Points.Count", "3"}, {"Main.Thing_Points|Item0_X", "1"}, {"Main.Thing_Points|Item2_X", "3"}},
     "Points",
     "kept\r\n",
     "1,0,3"},
    {"CollectionItemsWithoutKeysAreMade", {{"Main|Thing_Points.Count", "3"}}, "Points", "kept\r\n", "0,0,0"},
    {"CollectionJustPastTheBoundIsRefused", {{"Main|Thing_Points.Count", kPastTheBound}}, "Points", "kept\r\n", "9"},
};
INSTANTIATE_TEST_SUITE_P(ListedKeys, StoredCount,
                         ::testing::Combine(::testing::ValuesIn(kCounts), ::testing::Values(true)),
                         [](const auto& row) { return std::string(std::get<0>(row.param).name); });
INSTANTIATE_TEST_SUITE_P(RegressionThreeHooksAloneLoadedNoListEntries, StoredCount,
                         ::testing::Combine(::testing::ValuesIn(kCounts), ::testing::Values(false)),
                         [](const auto& row) { return std::string(std::get<0>(row.param).name); });

// A store that answers a missing key with an empty text cannot tell it from an empty entry: the
// empty texts count toward the bound, so a huge count still makes no huge list.
TEST_F(ExPropsTest, StoreIgnoringTheDefaultStillReadsNoHugeList)
{
    storage.OnReadSection = nullptr;
    store.EmptyForMissing = true;
    store.Values = {{"Main.Thing_Lines|Count", "2000000000"},
                    {"Main.Thing_Lines|Item0", "a"},
                    {"Main|Thing_Points.Count", "2000000000"}};
    LoadAll({"Lines", "Points"});
    EXPECT_EQ(thing->Lines.Text(), "a\r\n");
    EXPECT_EQ(thing->Points.Count(), 0);
    EXPECT_LE(store.Reads, 3 * kMaxMissingListEntries + 16);
}

class CollectionRoundTrip : public ExPropsTest, public ::testing::WithParamInterface<bool> {};

TEST_P(CollectionRoundTrip, RegressionACollectionWhoseItemsWroteNoKeysWasLostOnARoundTrip)
{
    if (!GetParam())
        storage.OnReadSection = nullptr;
    for (int i = 0; i < 3; ++i)
        thing->Tags.Add();
    StoreAll({"Tags"});
    EXPECT_EQ(store.Values, (std::map<std::string, std::string>{{"Main|Thing_Tags.Count", "3"}}));
    thing->Tags.Clear();
    LoadAll({"Tags"});
    EXPECT_EQ(thing->Tags.Count(), 3);
}
INSTANTIATE_TEST_SUITE_P(Hooks, CollectionRoundTrip, ::testing::Bool(),
                         [](const auto& row) { return std::string(row.param ? "ListedKeys" : "ThreeHooksAlone"); });

TEST_F(ExPropsTest, NestedObjectPropertiesFollowThePropertyName)
{
    thing->Pen.Width = 3;
    StoreAll({"Pen"});
    EXPECT_EQ(store.Get("Main|Thing_PenWidth"), "3");
    EXPECT_EQ(store.Get("Main|Thing_PenStyle"), "solid");
    thing->Pen.Width = 1;
    LoadAll({"Pen"});
    EXPECT_EQ(thing->Pen.Width, 3);
}

// A top-level component the references may name as their owner.
TComponent* gTopLevel = nullptr;
TComponent* FindTopLevel(std::string_view name)
{
    return gTopLevel && SameText(name, gTopLevel->Name()) ? gTopLevel : nullptr;
}

// The owner of a reference across forms is found among the top-level components by the storage
// itself: a storage with the three hooks alone restores it.
TEST_F(ExPropsTest, ReferencesByNameOwnerAndNull)
{
    TComponent other(nullptr);
    other.SetName("Other");
    auto* far = new TComponent(&other);
    far->SetName("Far");
    auto* near = new TComponent(&form);
    near->SetName("Near");
    gTopLevel = &other;
    RegisterFindGlobalComponentProc(FindTopLevel);
    storage.OnReadSection = nullptr;
    thing->Buddy = near;
    StoreAll({"Buddy"});
    EXPECT_EQ(store.Get("Main|Thing_Buddy"), "Near");
    thing->Buddy = far;
    StoreAll({"Buddy"});
    EXPECT_EQ(store.Get("Main|Thing_Buddy"), "Other.Far");
    thing->Buddy = nullptr;
    LoadAll({"Buddy"});
    EXPECT_EQ(thing->Buddy, far);
    store.Values["Main|Thing_Buddy"] = "other.nobody";
    LoadAll({"Buddy"});
    EXPECT_EQ(thing->Buddy, nullptr);
    store.Values["Main|Thing_Buddy"] = "Near";
    LoadAll({"Buddy"});
    EXPECT_EQ(thing->Buddy, near);
    store.Values["Main|Thing_Buddy"] = "(NULL)";
    LoadAll({"Buddy"});
    EXPECT_EQ(thing->Buddy, nullptr);
    store.Values["Main|Thing_Buddy"] = "Gone.Far";
    thing->Buddy = near;
    LoadAll({"Buddy"});
    EXPECT_EQ(thing->Buddy, near);
    UnRegisterFindGlobalComponentProc(FindTopLevel);
    gTopLevel = nullptr;
    // Once its form is gone nothing changes.
    store.Values["Main|Thing_Buddy"] = "Other.Far";
    LoadAll({"Buddy"});
    EXPECT_EQ(thing->Buddy, near);
}

// --- Stored lists -------------------------------------------------------------------------

struct TItemCase {
    const char* name;
    const char* item;
    bool parses;
    const char* comp;
    const char* prop;
};
class StoredItem : public ::testing::TestWithParam<TItemCase> {};

TEST_P(StoredItem, Splits)
{
    AnsiString comp, prop;
    EXPECT_EQ(ParseStoredItem(GetParam().item, comp, prop), GetParam().parses);
    if (GetParam().parses) {
        EXPECT_EQ(comp, GetParam().comp);
        EXPECT_EQ(prop, GetParam().prop);
    }
}

const TItemCase kItems[] = {
    {"Plain", "Edit1.Text", true, "Edit1", "Text"},
    {"Trimmed", " Edit1 . Font.Size ", true, "Edit1", "Font.Size"},
    {"NoDot", "Edit1", false, "", ""},
    {"EmptyProperty", "Edit1.", false, "", ""},
    {"Empty", "", false, "", ""},
};
INSTANTIATE_TEST_SUITE_P(Rows, StoredItem, ::testing::ValuesIn(kItems),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ExPropsTest, RenamedComponentKeepsItsEntriesAndAMissingOneGoes)
{
    list.Clear();
    list.Add("Thing.Count");
    list.Add("Nobody.Count");
    list.Add("garbage");
    UpdateStoredList(&form, &list, true);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Objects(0), thing);
    thing->SetName("Renamed");
    UpdateStoredList(&form, &list, false);
    EXPECT_EQ(list.Strings(0), "Renamed.Count");
    EXPECT_EQ(CreateStoredItem("", "Count"), "");
}

TEST(PropInfoList, IntersectKeepsSharedProperties)
{
    Register();
    TThing a(nullptr);
    TPen2 pen;
    TPropInfoList things(&a, tkProperties), pens(&pen, tkProperties);
    EXPECT_NE(things.Find("count"), nullptr);
    TPropInfoList none(nullptr, tkProperties);
    EXPECT_EQ(none.Count(), 0);
    things.Intersect(pens);
    EXPECT_EQ(things.Count(), 0);
}

}  // namespace
