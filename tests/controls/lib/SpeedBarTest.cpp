// The speed bar: the book window's bar, sections and items, margins and orientation, dragging
// and resizing in editing mode only, buttons dragged on and off, the stored layout and its gates,
// and the customise window's life.

#include "controls/lib/SpeedBar.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "GuiTestSupport.h"
#include "controls/core/CtrlGeometry.h"
#include "controls/lib/AppForms.h"
#include "controls/lib/ExCheckListBox.h"
#include "controls/lib/SbSetup.h"
#include "platform/core/IniFile.h"
#include "platform/gui/Grids.h"
#include "platform/gui/Queue.h"
#include "tests/TempName.h"
#include "tests/platform/core/TempFolder.h"

namespace {

void Mouse(TControl* c, unsigned msg, int x, int y, WPARAM keys = MK_LBUTTON)
{
    c->Perform(msg, keys, MakeLParam(x, y));
}

class SpeedBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 300);
        form->SetClientWidth(400);
        form->SetClientHeight(300);
        form->Show();
        bar = new TSpeedBar(form.get());
        bar->SetParent(form.get());
        section = bar->AddSection("File");
    }
    void TearDown() override
    {
        form.reset();
        RunQueuedCalls();
    }
    TSpeedItem* Item(const AnsiString& name, int left, bool visible = true)
    {
        TSpeedItem* item = bar->NewItem(form.get(), section, name);
        item->SetLeft(left);
        item->SetVisible(visible);
        return item;
    }

    std::unique_ptr<TForm> form;
    TSpeedBar* bar = nullptr;
    int section = -1;
    int watchPosChanged = 0;
};

TEST_F(SpeedBarTest, NewBarHasItsMarginsAndHeight)
{
    EXPECT_EQ(bar->BtnOffsetHorz(), 3);
    EXPECT_EQ(bar->BtnOffsetVert(), 3);
    EXPECT_EQ(bar->Height(), 29);
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_EQ(bar->BtnWidth(), 24);
    EXPECT_EQ(bar->BtnHeight(), 23);
    EXPECT_EQ(bar->GridSize().x, 8);
}

// The character book's tool bar: top, raised, eight child buttons, a section "New" with two
// hidden items, never customised.
TEST_F(SpeedBarTest, BookWindowBarHostsChildButtonsAndHiddenItems)
{
    bar->SetBounds(0, 0, 552, 37);
    bar->SetBtnOffsetHorz(3);
    bar->SetBtnOffsetVert(3);
    const int s = bar->AddSection("New");
    TSpeedItem* newItem = bar->NewItem(form.get(), s, "SpeedItem1");
    TSpeedItem* delItem = bar->NewItem(form.get(), s, "SpeedItem2");
    for (int i = 0; i < 8; ++i) {
        auto* b = new TExSpeedButton(form.get());
        b->SetBounds(4 + i * 26, 4, 25, 25);
        b->SetParent(bar);
    }
    EXPECT_EQ(bar->Height(), 37);
    EXPECT_EQ(bar->Top(), 0);
    EXPECT_EQ(bar->BevelOuter(), bvRaised);
    EXPECT_FALSE(newItem->Visible());
    EXPECT_FALSE(delItem->Button()->Visible());
    EXPECT_EQ(bar->ControlCount(), 10);
    int clicks = 0;
    newItem->SetOnClick([&clicks](TObject*) { ++clicks; });
    newItem->Click();
    EXPECT_EQ(clicks, 1);
    // Not being customised, a drag by its empty area leaves it where it is.
    Mouse(bar, WM_LBUTTONDOWN, 300, 10);
    Mouse(bar, WM_MOUSEMOVE, 300, 250);
    Mouse(bar, WM_LBUTTONUP, 300, 250, 0);
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_FALSE(bar->Dragging());
}

TEST_F(SpeedBarTest, SectionsAreUniqueAndMoveByIndex)
{
    EXPECT_EQ(bar->AddSection("File"), 1);
    EXPECT_EQ(bar->Sections(1)->Caption(), "File (1)");
    EXPECT_THROW(bar->Sections(1)->SetCaption("File"), ESpeedbarError);
    bar->AddSection("Edit");
    bar->Sections(0)->SetIndex(99);
    EXPECT_EQ(bar->SearchSection("File"), 2);
    EXPECT_EQ(bar->SearchSection("file"), -1);
    EXPECT_EQ(bar->NewItem(form.get(), 7, "Nowhere"), nullptr);
}

TEST_F(SpeedBarTest, ItemSectionIsFixedOnceOnABar)
{
    TSpeedItem* open = Item("Open", 3);
    bar->AddSection("Edit");
    open->SetSection(1);
    EXPECT_EQ(open->Section(), 0);
    EXPECT_EQ(open->SectionName(), "File");
    EXPECT_EQ(bar->SearchItem("OPEN"), open);
}

TEST_F(SpeedBarTest, ButtonsStayBelowTheTopMargin)
{
    TSpeedItem* open = Item("Open", 3);
    open->SetTop(0);
    EXPECT_EQ(open->Top(), 3);
}

TEST_F(SpeedBarTest, FlatButtonsLowerTheLeastMarginWithoutMovingButtons)
{
    TSpeedItem* open = Item("Open", 3);
    bar->SetOptions(bar->Options() | OptionBit(sbFlatBtns));
    EXPECT_EQ(bar->MinButtonsOffset(), 1);
    EXPECT_EQ(open->Left(), 3);
    bar->SetBtnOffsetHorz(1);
    bar->SetBtnOffsetVert(1);
    open->SetTop(1);
    EXPECT_EQ(open->Left(), 1);
    bar->SetOptions(bar->Options() & ~OptionBit(sbFlatBtns));
    EXPECT_EQ(bar->BtnOffsetHorz(), 3);
    EXPECT_EQ(open->Left(), 3);
    EXPECT_EQ(open->Top(), 3);
}

TEST_F(SpeedBarTest, AutoPositionRefusesNoneAndClient)
{
    EXPECT_THROW(bar->SetAlign(alClient), ESpeedbarError);
    EXPECT_THROW(bar->SetOrientation(boVertical), ESpeedbarError);
    bar->SetPosition(bpCustom);
    bar->SetAlign(alClient);
    EXPECT_EQ(bar->Align(), alClient);
    EXPECT_EQ(bar->Orientation(), boHorizontal);
}

TEST_F(SpeedBarTest, TurningToTheLeftSwapsButtonSizeAndPlaces)
{
    TSpeedItem* save = Item("Save", 27);
    bar->SetAlign(alLeft);
    EXPECT_EQ(bar->Orientation(), boVertical);
    EXPECT_EQ(bar->BtnWidth(), 23);
    EXPECT_EQ(bar->BtnHeight(), 24);
    EXPECT_EQ(save->Left(), 3);
    EXPECT_EQ(save->Top(), 27);
    EXPECT_EQ(bar->Width(), 29);
}

TEST_F(SpeedBarTest, DragToAnotherEdgeOnlyWhileCustomised)
{
    watchPosChanged = 0;
    bar->OnPosChanged = [this](TObject*) { ++watchPosChanged; };
    bar->Customize(0);
    ASSERT_TRUE(bar->Editing());
    // Less than 5 pixels never starts a frame.
    Mouse(bar, WM_LBUTTONDOWN, 200, 10);
    Mouse(bar, WM_MOUSEMOVE, 203, 13);
    EXPECT_FALSE(bar->Dragging());
    // Towards the left edge of the form, by its diagonals.
    Mouse(bar, WM_MOUSEMOVE, 10, 150);
    EXPECT_TRUE(bar->Dragging());
    Mouse(bar, WM_LBUTTONUP, 10, 150, 0);
    EXPECT_EQ(bar->Align(), alLeft);
    EXPECT_EQ(watchPosChanged, 1);
    EXPECT_FALSE(bar->Dragging());
}

TEST_F(SpeedBarTest, ResizeByWholeRowsWhileCustomised)
{
    bar->SetOptions(bar->Options() | OptionBit(sbAllowResize));
    bar->Customize(0);
    Mouse(bar, WM_LBUTTONDOWN, 100, 28);
    ASSERT_TRUE(bar->Resizing());
    Mouse(bar, WM_MOUSEMOVE, 100, 60);
    // 60 - 6 = 54: two rows of 23 and the margins.
    EXPECT_EQ(bar->Height(), 2 * 23 + 6);
    Mouse(bar, WM_LBUTTONUP, 100, 60, 0);
    EXPECT_FALSE(bar->Resizing());
}

TEST_F(SpeedBarTest, ButtonDraggedOffTheBarHidesItsItem)
{
    TSpeedItem* open = Item("Open", 3);
    TSpeedItem* save = Item("Save", 27);
    bar->Customize(0);
    TSpeedbarButton* b = save->Button();
    // The pointer sits on the button's bottom-right corner while it is dragged.
    Mouse(b, WM_LBUTTONDOWN, 24, 23);
    ASSERT_NE(b->DragPicture(), nullptr);
    Mouse(b, WM_MOUSEMOVE, 24 + 40, 23);
    Mouse(b, WM_LBUTTONUP, 24 + 40, 23, 0);
    EXPECT_TRUE(save->Visible());
    EXPECT_EQ(save->Left(), 67);  // 27 + 40, on the grid of 8 from 3
    Mouse(b, WM_LBUTTONDOWN, 24, 23);
    Mouse(b, WM_MOUSEMOVE, 24, 23 + 200);
    Mouse(b, WM_LBUTTONUP, 24, 23 + 200, 0);
    EXPECT_FALSE(save->Visible());
    EXPECT_TRUE(open->Visible());
    EXPECT_EQ(b->DragPicture(), nullptr);
}

TEST_F(SpeedBarTest, CustomizeTwiceShowsOneWindowAndDestroyingTheBarClosesIt)
{
    bar->Customize(0);
    TSpeedbarSetupWindow* w = FindSpeedbarSetupWindow(bar);
    ASSERT_NE(w, nullptr);
    bar->Customize(0);
    EXPECT_EQ(FindSpeedbarSetupWindow(bar), w);
    EXPECT_EQ(w->SpeedBar(), bar);
    int customized = 0;
    bar->OnCustomize = [&customized](TObject*) { ++customized; };
    delete bar;
    EXPECT_EQ(w->SpeedBar(), nullptr);
    RunQueuedCalls();
    EXPECT_EQ(customized, 0);
}

// The customise window's Help button asks the application for the help context it was given,
// as the folder browser's does.
TEST_F(SpeedBarTest, HelpButtonAsksTheApplicationForTheContext)
{
    std::vector<int> asked;
    Application->OnHelp = [&asked](int context) { asked.push_back(context); };
    bar->Customize(12);
    TSpeedbarSetupWindow* w = FindSpeedbarSetupWindow(bar);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->HelpBtn->Visible());
    w->HelpBtn->Click();
    Application->OnHelp = nullptr;
    EXPECT_EQ(asked, std::vector<int>{12});
}

TEST_F(SpeedBarTest, ItemDraggedFromTheWindowOntoTheBarShowsIt)
{
    TSpeedItem* open = Item("Open", 3, false);
    bar->Customize(0);
    TSpeedbarSetupWindow* w = FindSpeedbarSetupWindow(bar);
    ASSERT_NE(w, nullptr);
    TDrawGrid* list = w->ButtonsList;
    ASSERT_EQ(w->ItemAt(0), open);
    // Pressed on the item's picture; released where the picture's top-left lands on the bar.
    list->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    const TPoint target = bar->ClientToScreen(TPoint{3 + 24 + 24, 3 + 23});
    const TPoint release = list->ScreenToClient(target);
    list->Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(release.x, release.y));
    list->Perform(WM_LBUTTONUP, 0, MakeLParam(release.x, release.y));
    EXPECT_TRUE(open->Visible());
    EXPECT_EQ(open->Left(), 27);
    EXPECT_EQ(open->Top(), 3);
    // An item already on the bar is not dragged again.
    list->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(5, 5));
    list->Perform(WM_LBUTTONUP, 0, MakeLParam(300, 300));
    EXPECT_TRUE(open->Visible());
}

TEST_F(SpeedBarTest, ChangeScaleScalesButtonsAndMargins)
{
    TSpeedItem* open = Item("Open", 27);
    bar->ChangeScale(3, 2);
    EXPECT_EQ(bar->BtnWidth(), 36);
    EXPECT_EQ(bar->BtnHeight(), 35);
    EXPECT_EQ(bar->BtnOffsetHorz(), 5);
    EXPECT_EQ(open->Button()->Width(), 36);
    EXPECT_EQ(bar->GridSize().x, 9);
}

// The stream values of older forms: section titles, the drag option, items placed by section
// name; a first-version stream that set alNone comes back at the top.
TEST_F(SpeedBarTest, StreamValuesOfOlderForms)
{
    TStringList titles;
    titles.SetCommaText("File,Edit,File");
    bar->ReadSections(titles);
    EXPECT_EQ(bar->SectionCount(), 2);
    bar->ReadAllowDrag(false);
    EXPECT_FALSE(bar->HasOption(sbAllowDrag));
    bar->ReadAllowDrag(true);
    EXPECT_TRUE(bar->HasOption(sbAllowDrag));
    auto* item = new TSpeedItem(form.get());
    item->SetSectionName("Edit");
    item->ReadState(bar);
    EXPECT_EQ(item->Section(), 1);
    EXPECT_EQ(item->SectionName(), "Edit");
    form->BeginLoading();
    bar->SetAlign(alNone);
    form->EndLoading();
    EXPECT_EQ(bar->Align(), alTop);
}

TEST_F(SpeedBarTest, ClosingTheWindowEndsEditing)
{
    int customized = 0;
    bar->OnCustomize = [&customized](TObject*) { ++customized; };
    Item("Open", 3);
    bar->Customize(0);
    EXPECT_TRUE(bar->Items(0, 0)->Editing());
    FindSpeedbarSetupWindow(bar)->Close();
    RunQueuedCalls();
    EXPECT_FALSE(bar->Editing());
    EXPECT_FALSE(bar->Items(0, 0)->Editing());
    EXPECT_EQ(customized, 1);
}

// --- Stored layout

class SpeedBarLayoutTest : public SpeedBarTest {
protected:
    void SetUp() override
    {
        SpeedBarTest::SetUp();
        std::string name = TempPattern("speedbar-layout");
        const int fd = mkstemp(name.data());
        ASSERT_GE(fd, 0);
        close(fd);
        path = name;
        ini = std::make_unique<TIniFile>(path);
    }
    void TearDown() override
    {
        ini.reset();
        std::remove(path.c_str());
        SpeedBarTest::TearDown();
    }
    AnsiString Read(const char* key) { return ini->ReadString("Bar", key, "(none)"); }
    // The keys written into the bar's section (beside those there), then the layout restored.
    void Restore(std::initializer_list<std::pair<const char*, const char*>> keys)
    {
        for (const auto& [key, value] : keys)
            ini->WriteString("Bar", key, value);
        bar->InternalRestoreLayout(ini.get(), "Bar");
    }

    std::string path;
    std::unique_ptr<TIniFile> ini;
};

TEST_F(SpeedBarLayoutTest, SaveWritesTheKeysInOrder)
{
    bar->SetHeight(37);
    Item("Open", 3);
    Item("Save", 27);
    Item("Hidden", 51, false);
    Item("NotStored", 75)->SetStored(false);
    bar->InternalSaveLayout(ini.get(), "Bar");
    TStringList keys;
    ini->ReadSection("Bar", &keys);
    EXPECT_EQ(keys.CommaText(), "Position,Width,Version,PixelsPerInch,BtnWidth,BtnHeight,Button1,Button2,Count");
    EXPECT_EQ(Read("Position"), "1");
    EXPECT_EQ(Read("Width"), "37");
    EXPECT_EQ(Read("Button1"), "Open,3,3");
    EXPECT_EQ(Read("Button2"), "Save,27,3");
    EXPECT_EQ(Read("Count"), "2");
}

TEST_F(SpeedBarLayoutTest, RestorePlacesListedItemsAndHidesTheRest)
{
    TSpeedItem* open = Item("Open", 27);
    TSpeedItem* save = Item("Save", 51);
    Restore({{"PixelsPerInch", "96"}, {"Count", "2"}, {"Button1", "Open,1,1"}, {"Button2", "Nobody,5,5"}});
    EXPECT_EQ(open->Left(), 3);
    EXPECT_EQ(open->Top(), 3);
    EXPECT_TRUE(open->Visible());
    EXPECT_FALSE(save->Visible());
}

TEST_F(SpeedBarLayoutTest, GatesOfVersionResolutionAndEdge)
{
    TSpeedItem* open = Item("Open", 27);
    bar->SetVersion(2);
    Restore({{"Version", "1"}, {"Position", "3"}, {"Count", "0"}});
    EXPECT_EQ(bar->Align(), alTop);  // an older layout is ignored
    // Another resolution restores only the edge.
    Restore({{"Version", "2"}, {"PixelsPerInch", "144"}, {"Count", "1"}, {"Button1", "Open,99,3"}});
    EXPECT_EQ(bar->Align(), alLeft);
    EXPECT_EQ(open->Left(), 3);
    // A position the bar refuses falls back to the top.
    Restore({{"Position", "5"}, {"PixelsPerInch", "96"}, {"Count", "0"}});
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_TRUE(open->Visible());  // Count 0 leaves the items
}

// A hand-edited layout: the count reads the entries present past a missing one, and a place
// past what a screen shows is cut to it before the bar lays the button out.
TEST_F(SpeedBarLayoutTest, RegressionCountAndPlacesPastTheScreenAreBounded)
{
    TSpeedItem* open = Item("Open", 27);
    TSpeedItem* save = Item("Save", 51);
    Restore(
        {{"PixelsPerInch", "96"}, {"Count", "2000000000"}, {"Button1", "Open,2147483647,0"}, {"Button3", "Save,9,3"}});
    EXPECT_EQ(open->Left(), kMaxScreenCoord);
    EXPECT_EQ(open->Top(), 3);
    EXPECT_TRUE(open->Visible());
    EXPECT_TRUE(save->Visible());
    EXPECT_EQ(save->Left(), 9);
}

}  // namespace

namespace {

// With the form's placement: a named bar and check list keep theirs in the link's section; an
// unnamed one keeps nothing.
TEST_F(SpeedBarTest, LayoutAndStatesGoWithTheFormsPlacement)
{
    TempFolder folder;
    auto* placement = new TFormPlacement(form.get());
    placement->SetIniFileName("p.ini");
    placement->SetIniSection("Sec");
    bar->SetName("Bar1");
    bar->SetIniStorage(placement);
    Item("Open", 3);
    auto* list = Place<TExCheckListBox>(*form, 0, 100, 100, 60);
    list->Items()->Add("a");
    list->SetState(0, cbChecked);
    list->SetIniStorage(placement);     // no name: nothing kept
    placement->RestoreFormPlacement();  // an empty file changes nothing
    EXPECT_TRUE(bar->Items(0, 0)->Visible());
    placement->SaveFormPlacement();
    {
        TIniFile ini("p.ini");
        EXPECT_EQ(ini.ReadString("Sec\\" + GetDefaultSection(bar), "Button1", ""), "Open,3,3");
        EXPECT_EQ(ini.ReadString("Sec\\" + GetDefaultSection(list), "Count", "none"), "none");
    }
    list->SetName("Checks");
    placement->SaveFormPlacement();
    list->SetState(0, cbUnchecked);
    bar->Items(0, 0)->SetVisible(false);
    placement->RestoreFormPlacement();
    EXPECT_EQ(list->GetState(0), cbChecked);
    EXPECT_TRUE(bar->Items(0, 0)->Visible());
    bar->SetIniStorage(nullptr);
    list->SetIniStorage(nullptr);
}

}  // namespace
