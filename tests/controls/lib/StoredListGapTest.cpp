// Every stored list read back from a hand-edited INI file whose keys have gaps or whose count
// runs far past them: speed-bar layouts, string lists and collections of stored properties, MDI
// children and check-list states. A missing key reads as empty and the keys after it still count;
// the count costs nothing beyond the keys present.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "GuiTestSupport.h"
#include "controls/lib/AppForms.h"
#include "controls/lib/ExCheckListBox.h"
#include "controls/lib/LibraryClasses.h"
#include "controls/lib/Placemnt.h"
#include "controls/lib/SpeedBar.h"
#include "platform/core/IniFile.h"
#include "platform/gui/StandardClasses.h"
#include "platform/gui/StdCtrls.h"
#include "tests/platform/core/TempFolder.h"

namespace {

class TListsForm : public TForm {
public:
    using TForm::TForm;
};
class TGapChildA : public TForm {
public:
    explicit TGapChildA(TComponent* owner) : TForm(owner) { SetFormStyle(fsMDIChild); }
};
class TGapChildB : public TForm {
public:
    explicit TGapChildB(TComponent* owner) : TForm(owner) { SetFormStyle(fsMDIChild); }
};

class TPlotPoint : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    int X = 0;
};
// A component with a collection among its published properties.
class TPlot : public TComponent {
public:
    explicit TPlot(TComponent* owner) : TComponent(owner), Points(TCollection::ItemClassOf<TPlotPoint>()) {}
    TCollection Points;
};

void RegisterClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterStandardClasses();
    RegisterLibraryClasses();
    RegisterClass<TGapChildA>("TGapChildA", "TForm", MakeComponent<TGapChildA>);
    RegisterClass<TGapChildB>("TGapChildB", "TForm", MakeComponent<TGapChildB>);
    RegisterClass<TPlotPoint>("TPlotPoint", "")
        .Int(
            "X", [](TPlotPoint* p) { return p->X; }, [](TPlotPoint* p, int v) { p->X = v; });
    RegisterClass<TPlot>("TPlot", "TComponent")
        .Object(
            "Points", "TCollection", [](TPlot* p) { return &p->Points; }, nullptr);
}

std::string Joined(const std::vector<std::string>& parts, const char* separator)
{
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i)
        out += (i ? separator : "") + parts[i];
    return out;
}

// The visible items of a bar with Open, Save and Print, after the layout in section "List".
std::string SpeedBarItems(TIniFile& ini)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    form.Show();
    auto* bar = new TSpeedBar(&form);
    bar->SetParent(&form);
    const int section = bar->AddSection("File");
    for (const char* name : {"Open", "Save", "Print"})
        bar->NewItem(&form, section, name);
    bar->InternalRestoreLayout(&ini, "List");
    std::vector<std::string> shown;
    for (const char* name : {"Open", "Save", "Print"})
        if (bar->SearchItem(name)->Visible())
            shown.push_back(name);
    return Joined(shown, " ");
}

// The states of a four-item check list, all grayed before, after the states in section "List".
std::string CheckStates(TIniFile& ini)
{
    TForm form(nullptr);
    auto* list = Place<TExCheckListBox>(form, 0, 0, 150, 100);
    std::vector<std::string> states;
    for (const char* s : {"a", "b", "c", "d"})
        list->SetState(list->Items()->Add(s), cbGrayed);
    list->InternalRestoreStates(&ini, "List");
    for (int i = 0; i < list->Items()->Count(); ++i)
        states.push_back(std::to_string(static_cast<int>(list->GetState(i))));
    return Joined(states, " ");
}

// The stored properties memo.Lines (one line "kept" before) and plot.Points of a form storage.
std::string StoredProperties(TIniFile&)
{
    TListsForm form(nullptr);
    auto* memo = Place<TMemo>(form, 0, 0, 80, 40);
    memo->SetName("memo");
    memo->Lines()->Add("kept");
    auto* plot = new TPlot(&form);
    plot->SetName("plot");
    auto* storage = new TFormStorage(&form);
    storage->SetIniFileName("p.ini");
    TStringList props;
    props.Add("memo.Lines");
    props.Add("plot.Points");
    storage->SetStoredProps(&props);
    storage->RestoreFormPlacement();
    std::vector<std::string> points;
    for (int i = 0; i < plot->Points.Count(); ++i)
        points.push_back(std::to_string(static_cast<TPlotPoint*>(plot->Points.Items(i))->X));
    std::vector<std::string> lines;
    for (int i = 0; i < memo->Lines()->Count(); ++i)
        lines.push_back(memo->Lines()->Strings(i));
    return Joined(lines, "|") + " / " + Joined(points, ",");
}

// The MDI children shown from section "MDI Children".
std::string MdiChildren(TIniFile& ini)
{
    TListsForm main(nullptr);
    main.SetFormStyle(fsMDIForm);
    RestoreMDIChildren(&main, &ini);
    std::vector<std::string> shown;
    for (const char* name : {"TGapChildA", "TGapChildB"})
        while (TCustomForm* child = FindForm(GetClass(name))) {
            shown.push_back(name);
            delete child;
        }
    return Joined(shown, " ");
}

struct TGapCase {
    const char* name;
    const char* stored;
    std::function<std::string(TIniFile&)> read;
    const char* expected;
};
class StoredListGap : public ::testing::TestWithParam<TGapCase> {
protected:
    void SetUp() override
    {
        TestApplication();
        RegisterClasses();
    }
    TempFolder folder;
};

TEST_P(StoredListGap, ReadsEveryKeyPresent)
{
    TempFolder::Write(folder.File("p.ini"), GetParam().stored);
    TIniFile ini("p.ini");
    EXPECT_EQ(GetParam().read(ini), GetParam().expected);
}

const TGapCase kGaps[] = {
    {"RegressionSpeedBarButtonAfterAGapIsShown",
     "[List]\r\nPixelsPerInch=96\r\nCount=3\r\nButton1=Open,3,3\r\nButton3=Save,27,3\r\n", SpeedBarItems, "Open Save"},
    {"RegressionSpeedBarCountFarPastTheKeys",
     "[List]\r\nPixelsPerInch=96\r\nCount=2000000000\r\nButton1=Open,3,3\r\nButton1999999999=Print,27,3\r\n",
     SpeedBarItems, "Open Print"},
    {"SpeedBarButtonPastTheCountIsNotRead",
     "[List]\r\nPixelsPerInch=96\r\nCount=1\r\nButton1=Open,3,3\r\nButton2=Save,27,3\r\n", SpeedBarItems, "Open"},
    {"RegressionStringListLineAfterAGapIsRead",
     "[TListsForm.memo_Lines]\r\nCount=4\r\nItem0=one\r\nItem2=three\r\nItem3=four\r\n", StoredProperties,
     "one||three|four / "},
    {"RegressionStringListCountFarPastTheKeys",
     "[TListsForm.memo_Lines]\r\nCount=2000000000\r\nItem0=one\r\nItem1=two\r\n", StoredProperties, "one|two / "},
    {"RegressionStringListMostlyMissingIsRefused",
     "[TListsForm.memo_Lines]\r\nCount=2000000000\r\nItem1999999999=z\r\n", StoredProperties, "kept / "},
    {"RegressionCollectionItemAfterAGapIsMade",
     "[TListsForm]\r\nplot_Points.Count=3\r\n[TListsForm.plot_Points]\r\nItem0_X=1\r\nItem2_X=3\r\n", StoredProperties,
     "kept / 1,0,3"},
    {"RegressionCollectionCountFarPastTheKeys",
     "[TListsForm]\r\nplot_Points.Count=2000000000\r\n[TListsForm.plot_Points]\r\nItem0_X=1\r\nItem1_X=2\r\n",
     StoredProperties, "kept / "},
    {"RegressionMdiChildAfterAGapIsShown", "[MDI Children]\r\nCount=3\r\nItem0=TGapChildA\r\nItem2=TGapChildB\r\n",
     MdiChildren, "TGapChildA TGapChildB"},
    {"RegressionMdiChildrenCountFarPastTheKeys", "[MDI Children]\r\nCount=2000000000\r\nItem1999999999=TGapChildB\r\n",
     MdiChildren, "TGapChildB"},
    {"RegressionCheckStateAfterAGapIsSet", "[List]\r\nCount=3\r\nItem0=1\r\nItem2=1\r\n", CheckStates, "1 0 1 2"},
    {"CheckStatesPastTheCountAreLeft", "[List]\r\nCount=1\r\nItem0=1\r\nItem1=1\r\n", CheckStates, "1 2 2 2"},
};
INSTANTIATE_TEST_SUITE_P(Rows, StoredListGap, ::testing::ValuesIn(kGaps),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
