// The form half of the storage routines on real forms and INI files: reading a placement back,
// MDI children, grid column widths and forms found, shown and made by class.

#include "controls/lib/AppForms.h"

#include <gtest/gtest.h>

#include <functional>

#include "GuiTestSupport.h"
#include "platform/core/IniFile.h"
#include "platform/gui/Grids.h"
#include "platform/gui/StandardClasses.h"
#include "tests/platform/core/TempFolder.h"

namespace {

class TChildForm : public TForm {
public:
    explicit TChildForm(TComponent* owner) : TForm(owner) { SetFormStyle(fsMDIChild); }
};
class TToolForm : public TForm {
public:
    using TForm::TForm;
};

void RegisterForms()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterStandardClasses();
    RegisterClass<TChildForm>("TChildForm", "TForm", MakeComponent<TChildForm>);
    RegisterClass<TToolForm>("TToolForm", "TForm", MakeComponent<TToolForm>);
}

// Frees every form of a class made by the routines.
void FreeForms(const char* className)
{
    for (int i = Screen->FormCount() - 1; i >= 0; --i)
        if (Screen->Forms(i)->ClassName() == className)
            delete Screen->Forms(i);
}

class AppFormsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        RegisterForms();
    }
    void TearDown() override
    {
        FreeForms("TChildForm");
        FreeForms("TToolForm");
    }
    TempFolder folder;
};

struct TReadCase {
    const char* name;
    TFormBorderStyle border;
    TPosition position;
    const char* stored;
    TRect bounds;
    TPosition positionAfter;
    TWindowState state;
};
class PlacementRead : public AppFormsTest, public ::testing::WithParamInterface<TReadCase> {};

TEST_P(PlacementRead, Applies)
{
    TempFolder::Write(folder.File("p.ini"), std::string("[F]\r\n") + GetParam().stored);
    TToolForm form(nullptr);
    form.SetBorderStyle(GetParam().border);
    form.SetPosition(GetParam().position);
    form.SetBounds(30, 40, 200, 100);
    TIniFile ini("p.ini");
    ReadFormPlacement(&form, &ini, "F", true, true);
    EXPECT_EQ(form.BoundsRect(), GetParam().bounds);
    EXPECT_EQ(form.Position(), GetParam().positionAfter);
    EXPECT_EQ(form.WindowState(), GetParam().state);
}

const TReadCase kReads[] = {
    {"SizeableTakesTheRectangle", bsSizeable, poDesigned, "NormPos=50,60,350,260\r\n", Rect(50, 60, 350, 260),
     poDesigned, wsNormal},
    {"FixedSizeKeepsItsSize", bsDialog, poDesigned, "NormPos=50,60,350,260\r\n", Rect(50, 60, 250, 160), poDesigned,
     wsNormal},
    {"CentredFormIsPlacedAsStored", bsSizeable, poScreenCenter, "NormPos=50,60,350,260\r\n", Rect(50, 60, 350, 260),
     poDesigned, wsNormal},
    {"OtherResolutionIsIgnored", bsSizeable, poDesigned, "PixelsPerInch=144\r\nNormPos=50,60,350,260\r\n",
     Rect(30, 40, 230, 140), poDesigned, wsNormal},
    {"MaximisedState", bsSizeable, poDesigned, "ShowCmd=3\r\n", Rect(30, 40, 230, 140), poDesigned, wsMaximized},
};
INSTANTIATE_TEST_SUITE_P(Rows, PlacementRead, ::testing::ValuesIn(kReads),
                         [](const auto& row) { return std::string(row.param.name); });

// A stored rectangle is limited to the work area, as the platform's windows are: a form no
// larger than the area (its window's backing store follows), moved inside it.
struct TAreaCase {
    const char* name;
    TFormBorderStyle border;
    const char* stored;
    std::function<TRect(const TRect& area)> bounds;
};
class PlacementInWorkArea : public AppFormsTest, public ::testing::WithParamInterface<TAreaCase> {};

TEST_P(PlacementInWorkArea, Applies)
{
    TempFolder::Write(folder.File("p.ini"), std::string("[F]\r\n") + GetParam().stored);
    TToolForm form(nullptr);
    form.SetBorderStyle(GetParam().border);
    form.SetBounds(30, 40, 200, 100);
    TIniFile ini("p.ini");
    ReadFormPlacement(&form, &ini, "F", true, true);
    const TRect area = Screen->WorkAreaRect();
    ASSERT_GT(area.Width(), 300);
    ASSERT_GT(area.Height(), 200);
    EXPECT_EQ(form.BoundsRect(), GetParam().bounds(area));
}

const TAreaCase kAreas[] = {
    {"RegressionLargestStoredSizeIsTheWorkArea", bsSizeable, "NormPos=0,0,32767,32767\r\n",
     [](const TRect& a) { return a; }},
    {"RegressionPlacePastTheScreenIsCutToIt", bsSizeable, "NormPos=-2000000000,0,2000000000,100\r\n",
     [](const TRect& a) { return Bounds(a.Left, a.Top, a.Width(), 100); }},
    {"PlaceOffTheAreaIsMovedIntoIt", bsSizeable, "NormPos=5000,6000,5300,6200\r\n",
     [](const TRect& a) { return Rect(a.Right - 300, a.Bottom - 200, a.Right, a.Bottom); }},
    {"FixedSizeFormIsMovedIntoIt", bsDialog, "NormPos=-900,-900,-700,-800\r\n",
     [](const TRect& a) { return Bounds(a.Left, a.Top, 200, 100); }},
};
INSTANTIATE_TEST_SUITE_P(Rows, PlacementInWorkArea, ::testing::ValuesIn(kAreas),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(AppFormsTest, MdiChildrenNeedAnMdiMainForm)
{
    TToolForm main(nullptr);
    TIniFile ini("p.ini");
    EXPECT_THROW(SaveMDIChildren(&main, &ini), EInvalidOperation);
    main.SetFormStyle(fsMDIForm);
    new TChildForm(Application);
    SaveMDIChildren(&main, &ini);
    EXPECT_EQ(ini.ReadString("MDI Children", "Item0", "?"), "TChildForm");
    ini.WriteString("MDI Children", "Item1", "TUnregistered");
    ini.WriteInteger("MDI Children", "Count", 2);
    FreeForms("TChildForm");
    RestoreMDIChildren(&main, &ini);
    ASSERT_NE(FindForm(GetClass("TChildForm")), nullptr);
    EXPECT_TRUE(FindForm(GetClass("TChildForm"))->Visible());
}

TEST_F(AppFormsTest, RegressionChildCountPastTheNamesReadsTheNamesPresent)
{
    TToolForm main(nullptr);
    main.SetFormStyle(fsMDIForm);
    TIniFile ini("p.ini");
    ini.WriteString("MDI Children", "Count", "2000000000");
    ini.WriteString("MDI Children", "Item0", "TChildForm");
    RestoreMDIChildren(&main, &ini);
    EXPECT_NE(FindForm(GetClass("TChildForm")), nullptr);
}

TEST_F(AppFormsTest, GridWidthsInTheGridsSection)
{
    TToolForm form(nullptr);
    auto* grid = Place<TStringGrid>(form, 0, 0, 200, 100);
    grid->SetName("Grid");
    grid->SetColCount(3);
    grid->SetColWidths(1, 77);
    TIniFile ini("p.ini");
    SaveGridLayout(grid, &ini);
    EXPECT_EQ(ini.ReadInteger("TToolFormGrid", "Item1", 0), 77);
    grid->SetColWidths(1, 10);
    ini.WriteString("TToolFormGrid", "Item2", "wide");
    const int before = grid->ColWidths(2);
    RestoreGridLayout(grid, &ini);
    EXPECT_EQ(grid->ColWidths(1), 77);
    EXPECT_EQ(grid->ColWidths(2), before);
}

TEST_F(AppFormsTest, FindShowFormReusesByCaptionAndMakesOtherwise)
{
    const TClassInfo* cls = GetClass("TToolForm");
    EXPECT_EQ(FindForm(cls), nullptr);
    TCustomForm* first = FindShowForm(cls, "One");
    EXPECT_EQ(first->Caption(), "One");
    EXPECT_TRUE(first->Visible());
    EXPECT_EQ(FindShowForm(cls, "One"), first);
    EXPECT_NE(FindShowForm(cls, "Two"), first);
    TCustomForm* reference = nullptr;
    EXPECT_NE(InstantiateForm(cls, reference), nullptr);
    TCustomForm* kept = reference;
    EXPECT_EQ(InstantiateForm(cls, reference), kept);
}

TEST_F(AppFormsTest, ShowDialogIsTrueForOkAndYes)
{
    TModalFormHook old = SetModalFormHook([](TCustomForm& form) { form.SetModalResult(mrYes); });
    EXPECT_TRUE(ShowDialog(GetClass("TToolForm")));
    SetModalFormHook([](TCustomForm& form) { form.SetModalResult(mrCancel); });
    EXPECT_FALSE(ShowDialog(GetClass("TToolForm")));
    SetModalFormHook(old);
}

class TCountingForm : public TToolForm {
public:
    explicit TCountingForm(int& count) : TToolForm(nullptr)
    {
        RegisterHandler(WM_USER + 3, [&count](TMessage& m) { m.Result = ++count; });
    }
};

TEST_F(AppFormsTest, BroadcastReachesEveryFormAndGivesTheLastResult)
{
    int count = 0;
    TCountingForm a(count), b(count);
    // b is the last form of the screen's list.
    EXPECT_EQ(AppBroadcast(WM_USER + 3, 0, 0), 2);
    EXPECT_EQ(count, 2);
}

}  // namespace
