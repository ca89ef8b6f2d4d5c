// A speed item passes its button's properties and events on: each read and written on the button,
// listed by name in the item's published order, stored by the item's own rules.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "controls/lib/LibraryClasses.h"
#include "controls/lib/SpeedBar.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/StandardClasses.h"

namespace {

class SpeedItemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        RegisterStandardClasses();
        RegisterLibraryClasses();
        form = std::make_unique<TForm>(nullptr);
        form->SetName("form");
        form->SetBounds(0, 0, 300, 200);
        bar = new TSpeedBar(form.get());
        bar->SetParent(form.get());
        item = bar->NewItem(form.get(), bar->AddSection("File"), "Open");
        auto* action = new TAction(form.get());
        action->SetName("act");
        auto* menu = new TPopupMenu(form.get());
        menu->SetName("menu");
    }
    const TPropInfo& Prop(TObject* object, const char* name)
    {
        const TPropInfo* p = GetPropInfo(object, name);
        EXPECT_NE(p, nullptr) << name;
        static const TPropInfo none;
        return p ? *p : none;
    }

    std::unique_ptr<TForm> form;
    TSpeedBar* bar = nullptr;
    TSpeedItem* item = nullptr;
};

TEST_F(SpeedItemTest, PublishesItsPropertiesInOrder)
{
    const std::vector<std::string> expected{
        "Action",         "AllowAllUp",   "AllowTimer", "BtnCaption", "Caption",      "GroupIndex",
        "Down",           "DropDownMenu", "Enabled",    "Font",       "Cursor",       "Glyph",
        "Hint",           "ImageIndex",   "Layout",     "Margin",     "MarkDropDown", "NumGlyphs",
        "ParentShowHint", "ParentFont",   "ShowHint",   "Spacing",    "Stored",       "Tag",
        "Left",           "Top",          "Visible",    "WordWrap"};
    const TClassInfo* info = ClassInfoOf(item);
    ASSERT_NE(info, nullptr);
    std::vector<std::string> listed;
    for (const TPropInfo& p : info->OwnProps)
        if (p.Name != "Section" && p.Name != "SectionName")
            listed.push_back(p.Name);
    EXPECT_EQ(listed, expected);
}

// A property set on the item by name holds the value on the button.
struct TButtonProperty {
    const char* name;
    const char* text;
    std::function<AnsiString(TSpeedbarButton*)> onButton;
};

class SpeedItemProperty : public SpeedItemTest, public ::testing::WithParamInterface<TButtonProperty> {};

TEST_P(SpeedItemProperty, IsTheButtons)
{
    const TPropInfo& p = Prop(item, GetParam().name);
    ASSERT_TRUE(p.Writable());
    SetPropText(item, p, GetParam().text);
    EXPECT_EQ(GetPropText(item, p), GetParam().text);
    EXPECT_EQ(GetParam().onButton(item->Button()), GetParam().text);
}

AnsiString Yes(bool b) { return b ? "True" : "False"; }
AnsiString Number(intptr_t n) { return IntToStr(static_cast<int>(n)); }
AnsiString NameOf(TComponent* c) { return c ? c->Name() : AnsiString("(null)"); }

const TButtonProperty kButtonProperties[] = {
    {"Action", "act", [](TSpeedbarButton* b) { return NameOf(b->Action()); }},
    {"AllowTimer", "True", [](TSpeedbarButton* b) { return Yes(b->AllowTimer()); }},
    {"DropDownMenu", "menu", [](TSpeedbarButton* b) { return NameOf(b->DropDownMenu()); }},
    {"Cursor", "-21", [](TSpeedbarButton* b) { return Number(b->Cursor()); }},
    {"MarkDropDown", "False", [](TSpeedbarButton* b) { return Yes(b->MarkDropDown()); }},
    {"ParentShowHint", "False", [](TSpeedbarButton* b) { return Yes(b->ParentShowHint()); }},
    {"ParentFont", "False", [](TSpeedbarButton* b) { return Yes(b->ParentFont()); }},
    {"ShowHint", "False", [](TSpeedbarButton* b) { return Yes(b->ShowHint()); }},
    {"AllowAllUp", "True", [](TSpeedbarButton* b) { return Yes(b->AllowAllUp()); }},
    {"GroupIndex", "3", [](TSpeedbarButton* b) { return Number(b->GroupIndex()); }},
    {"Margin", "2", [](TSpeedbarButton* b) { return Number(b->Margin()); }},
    {"Spacing", "6", [](TSpeedbarButton* b) { return Number(b->Spacing()); }},
    {"WordWrap", "True", [](TSpeedbarButton* b) { return Yes(b->WordWrap()); }},
    {"NumGlyphs", "2", [](TSpeedbarButton* b) { return Number(b->NumGlyphs()); }},
    {"Tag", "7", [](TSpeedbarButton* b) { return Number(b->Tag()); }},
};

INSTANTIATE_TEST_SUITE_P(Named, SpeedItemProperty, ::testing::ValuesIn(kButtonProperties),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(SpeedItemTest, RegressionItemTagReachesItsButton)
{
    item->SetTag(42);
    EXPECT_EQ(item->Tag(), 42);
    EXPECT_EQ(item->Button()->Tag(), 42);
}

TEST_F(SpeedItemTest, GlyphAndFontAreTheButtons)
{
    TBitmap picture;
    picture.SetSize(16, 15);
    item->SetGlyph(&picture);
    EXPECT_EQ(item->Button()->Glyph()->Width(), 16);
    EXPECT_EQ(Prop(item, "Glyph").GetObj(item), item->Button()->Glyph());
    EXPECT_EQ(Prop(item, "Font").GetObj(item), item->Button()->Font());
    item->Font()->SetColor(clRed);
    EXPECT_EQ(item->Button()->Font()->Color(), clRed);
    EXPECT_FALSE(item->ParentFont());
}

// Font is kept only for an item with a font of its own; ShowHint only when it does not follow
// the bar.
struct TStoredRule {
    const char* name;
    std::function<void(TSpeedItem*)> own;
};

class SpeedItemStored : public SpeedItemTest, public ::testing::WithParamInterface<TStoredRule> {};

TEST_P(SpeedItemStored, OnlyWhenItsOwn)
{
    const TPropInfo& p = Prop(item, GetParam().name);
    EXPECT_FALSE(IsStoredProp(item, p));
    GetParam().own(item);
    EXPECT_TRUE(IsStoredProp(item, p));
}

const TStoredRule kStoredRules[] = {
    {"Font", [](TSpeedItem* i) { i->Font()->SetSize(12); }},
    {"ShowHint", [](TSpeedItem* i) { i->SetShowHint(false); }},
};

INSTANTIATE_TEST_SUITE_P(Named, SpeedItemStored, ::testing::ValuesIn(kStoredRules),
                         [](const auto& row) { return std::string(row.param.name); });

// An event set on the item fires from its button, with the button as the sender.
struct TButtonEvent {
    const char* name;
    std::function<void(TSpeedItem*, std::function<void(TObject*)>)> hook;
    std::function<void(TSpeedbarButton*)> fire;
};

void Press(TControl* c, unsigned msg) { c->Perform(msg, MK_LBUTTON, MakeLParam(5, 5)); }

class SpeedItemEvent : public SpeedItemTest, public ::testing::WithParamInterface<TButtonEvent> {};

TEST_P(SpeedItemEvent, FiresFromTheButton)
{
    item->SetVisible(true);
    std::vector<TObject*> senders;
    GetParam().hook(item, [&senders](TObject* sender) { senders.push_back(sender); });
    GetParam().fire(item->Button());
    ASSERT_EQ(senders.size(), 1u);
    EXPECT_EQ(senders[0], item->Button());
}

const TButtonEvent kButtonEvents[] = {
    {"OnClick", [](TSpeedItem* i, auto f) { i->SetOnClick(f); }, [](TSpeedbarButton* b) { b->Click(); }},
    // A double click counts on a button that is down.
    {"OnDblClick", [](TSpeedItem* i, auto f) { i->SetOnDblClick(f); },
     [](TSpeedbarButton* b) {
         b->SetGroupIndex(1);
         b->SetDown(true);
         Press(b, WM_LBUTTONDBLCLK);
     }},
    {"OnMouseDown",
     [](TSpeedItem* i, auto f) { i->SetOnMouseDown([f](TObject* s, TMouseButton, TShiftState, int, int) { f(s); }); },
     [](TSpeedbarButton* b) { Press(b, WM_LBUTTONDOWN); }},
    {"OnMouseMove", [](TSpeedItem* i, auto f) { i->SetOnMouseMove([f](TObject* s, TShiftState, int, int) { f(s); }); },
     [](TSpeedbarButton* b) { b->Perform(WM_MOUSEMOVE, 0, MakeLParam(5, 5)); }},
    {"OnMouseUp",
     [](TSpeedItem* i, auto f) { i->SetOnMouseUp([f](TObject* s, TMouseButton, TShiftState, int, int) { f(s); }); },
     [](TSpeedbarButton* b) {
         Press(b, WM_LBUTTONDOWN);
         b->Perform(WM_LBUTTONUP, 0, MakeLParam(5, 5));
     }},
    {"OnMouseEnter", [](TSpeedItem* i, auto f) { i->SetOnMouseEnter(f); },
     [](TSpeedbarButton* b) { b->OnMouseEnter(b); }},
    {"OnMouseLeave", [](TSpeedItem* i, auto f) { i->SetOnMouseLeave(f); },
     [](TSpeedbarButton* b) { b->OnMouseLeave(b); }},
};

INSTANTIATE_TEST_SUITE_P(Named, SpeedItemEvent, ::testing::ValuesIn(kButtonEvents),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
