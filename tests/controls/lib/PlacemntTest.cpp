// Form placement and storage on real forms and real INI and registry files in a temporary
// program folder: when it saves and restores, its own keys, the size limits, property storage
// and stored values.

#include "controls/lib/Placemnt.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "GuiTestSupport.h"
#include "controls/lib/AppForms.h"
#include "controls/lib/LibraryClasses.h"
#include "platform/core/Exceptions.h"
#include "platform/core/IniFile.h"
#include "platform/core/RegIniFile.h"
#include "platform/gui/StandardClasses.h"
#include "platform/gui/StdCtrls.h"
#include "tests/platform/core/TempFolder.h"

namespace {

class TMainForm : public TForm {
public:
    using TForm::TForm;
};

class PlacemntTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        RegisterStandardClasses();
        RegisterLibraryClasses();
        form = new TMainForm(nullptr);
        form->SetName("Main");
        form->SetBounds(40, 50, 300, 200);
    }
    void TearDown() override { delete form; }
    // A placement made as if read with the form: its events hooked.
    template <class T = TFormPlacement>
    T* Make(const char* iniName = "p.ini")
    {
        auto* p = new T(form);
        p->SetIniFileName(iniName);
        form->BeginLoading();
        form->EndLoading();
        return p;
    }
    std::string File(const char* name = "p.ini") { return TempFolder::Read(folder.File(name)); }

    TempFolder folder;
    TMainForm* form = nullptr;
};

TEST_F(PlacemntTest, FormClosedBeforeItWasShownWritesNothing)
{
    Make();
    form->Close();
    delete form;
    form = nullptr;
    EXPECT_EQ(File(), "");
}

TEST_F(PlacemntTest, ShowRestoresAndCloseSavesWithItsKeys)
{
    TempFolder::Write(folder.File("p.ini"), "[TMainForm]\r\nNormPos=70,80,370,280\r\nPixelsPerInch=96\r\n");
    Make();
    form->Show();
    EXPECT_EQ(form->Left(), 70);
    EXPECT_EQ(form->Top(), 80);
    form->Close();
    TIniFile ini("p.ini");
    EXPECT_EQ(ini.ReadString("TMainForm", "FormVersion", "?"), "0");
    EXPECT_EQ(ini.ReadString("TMainForm", "Visible", "?"), "0");
    EXPECT_EQ(ini.ReadString("TMainForm", "MinMaxPos", "?"), "-1,-1,-1,-1");
}

TEST_F(PlacemntTest, HigherVersionIgnoresTheStoredPlacementThenWritesItsVersion)
{
    TempFolder::Write(folder.File("p.ini"), "[TMainForm]\r\nFormVersion=0\r\nNormPos=70,80,370,280\r\n");
    TFormPlacement* p = Make();
    p->SetVersion(1);
    form->Show();
    EXPECT_EQ(form->Left(), 40);
    EXPECT_TRUE(p->Restored());
    form->Close();
    EXPECT_EQ(TIniFile("p.ini").ReadInteger("TMainForm", "FormVersion", 0), 1);
}

TEST_F(PlacemntTest, SavedAtCloseIsNotSavedAgainWhenDestroyed)
{
    Make();
    form->Show();
    form->Close();
    TIniFile("p.ini").WriteString("TMainForm", "Visible", "untouched");
    delete form;
    form = nullptr;
    EXPECT_EQ(TIniFile("p.ini").ReadString("TMainForm", "Visible", "?"), "untouched");
}

TEST_F(PlacemntTest, DestroyedWithoutCloseSavesVisible)
{
    Make();
    form->Show();
    delete form;
    form = nullptr;
    EXPECT_EQ(TIniFile("p.ini").ReadString("TMainForm", "Visible", "?"), "1");
}

TEST_F(PlacemntTest, ActiveControlThatIsGoneOrHiddenLeavesTheFocus)
{
    auto* a = Place<TEdit>(*form, 0, 0, 50, 20);
    a->SetName("EditA");
    auto* b = Place<TEdit>(*form, 0, 30, 50, 20);
    b->SetName("EditB");
    b->Hide();
    TFormPlacement* p = Make();
    p->SetOptions(p->Options() | PlacementOption(fpActiveControl));
    form->SetActiveControl(a);
    for (const char* stored : {"Nobody", "EditB"}) {
        TIniFile("p.ini").WriteString("TMainForm", "ActiveControl", stored);
        p->RestoreFormPlacement();
        EXPECT_EQ(form->ActiveControl(), a) << stored;
    }
}

TEST_F(PlacemntTest, EraseSectionsTakesTheSectionAndItsChildren)
{
    TempFolder::Write(folder.File("p.ini"),
                      "[Main]\r\na=1\r\n[Main.Grid]\r\na=1\r\n[Main\\Sub]\r\na=1\r\n[MainX]\r\na=1\r\n");
    TFormPlacement* p = Make();
    p->SetIniSection("Main");
    p->EraseSections();
    TStringList sections;
    TIniFile("p.ini").ReadSections(&sections);
    EXPECT_EQ(sections.Text(), "MainX\r\n");
}

TEST_F(PlacemntTest, PreventResizeFixesTheSizeAndTakesTheMaximiseButton)
{
    TFormPlacement* p = Make();
    form->Show();
    p->SetPreventResize(true);
    EXPECT_FALSE(form->BorderIcons() & biMaximize);
    EXPECT_EQ(form->Handle()->minimumSize(), QSize(300, 200));
    EXPECT_EQ(form->Handle()->maximumSize(), QSize(300, 200));
    form->SetWidth(320);
    EXPECT_EQ(form->Handle()->maximumWidth(), 320);
    p->SetPreventResize(false);
    EXPECT_TRUE(form->BorderIcons() & biMaximize);
    EXPECT_EQ(form->Handle()->minimumWidth(), 0);
}

TEST_F(PlacemntTest, MinMaxInfoLimitsTheSize)
{
    TFormPlacement* p = Make();
    form->Show();
    p->MinMaxInfo()->SetMinTrackWidth(250);
    p->MinMaxInfo()->SetMaxTrackHeight(400);
    EXPECT_EQ(form->Handle()->minimumWidth(), 250);
    EXPECT_EQ(form->Handle()->maximumHeight(), 400);
    p->MinMaxInfo()->SetMinTrackWidth(0);
    p->MinMaxInfo()->SetMaxTrackHeight(0);
    EXPECT_EQ(form->Handle()->minimumWidth(), 0);
}

// Decision 43: a placement under another registry root reads back what it wrote.
TEST_F(PlacemntTest, RegressionRegistryRootReopensTheKeyPath)
{
    TFormPlacement* p = Make("Software\\Test");
    p->SetUseRegistry(true);
    p->SetRegistryRoot(prLocalMachine);
    p->WriteInteger("Answer", 42);
    EXPECT_EQ(p->ReadInteger("Answer", 0), 42);
    TRegIniFile user("Software\\Test", KEY_READ);
    EXPECT_EQ(user.ReadInteger("Main", "Answer", -1), -1);
}

TEST_F(PlacemntTest, LinksSaveAndLoadWithThePlacement)
{
    TFormPlacement* p = Make();
    TIniLink link;
    std::string log;
    link.OnSave = [&](TObject*) { log += "save:" + std::string(link.IniObject() ? "open " : "closed "); };
    link.OnLoad = [&](TObject*) { log += "load "; };
    link.SetStorage(p);
    p->SetIniSection("Sec");
    EXPECT_EQ(link.RootSection(), "Sec\\");
    p->RestoreFormPlacement();
    p->SaveFormPlacement();
    EXPECT_EQ(log, "load save:open ");
}

// A bound link hands its control the open file and the control's section under the root; an
// unnamed control is skipped, and so is a placement with no file open.
TEST_F(PlacemntTest, BoundLinkRunsInTheNamedControlsSection)
{
    TFormPlacement* p = Make();
    p->SetIniSection("Sec");
    auto* edit = Place<TEdit>(*form, 0, 0, 80, 20);
    TIniLink link;
    std::string log;
    const auto note = [&](const char* what) {
        return [&log, what](TObject* ini, const AnsiString& section) {
            log += std::string(what) + (ini ? ":open:" : ":none:") + section + " ";
        };
    };
    link.BindSection(edit, note("save"), note("load"));
    link.SetStorage(p);
    p->SaveFormPlacement();
    link.SaveToIni();  // no file open outside the placement's own save
    EXPECT_EQ(log, "");
    edit->SetName("Edit1");
    p->RestoreFormPlacement();
    p->SaveFormPlacement();
    EXPECT_EQ(log, "load:open:Sec\\TMainFormEdit1 save:open:Sec\\TMainFormEdit1 ");
}

TEST_F(PlacemntTest, StorageKeepsPropertiesAndScrambledValues)
{
    auto* edit = Place<TEdit>(*form, 0, 0, 80, 20);
    edit->SetName("Edit1");
    edit->SetText("typed");
    auto* s = Make<TFormStorage>();
    TStringList props;
    props.Add("Edit1.Text");
    props.Add("Nobody.Text");
    s->SetStoredProps(&props);
    EXPECT_EQ(s->StoredProps()->Count(), 1);
    TStoredValue* secret = s->StoredValues()->Add();
    secret->SetName("Password");
    secret->SetKeyString("k");
    secret->SetValue(Variant("abc"));
    s->RestoreFormPlacement();
    edit->SetText("typed");
    secret->SetValue(Variant("abc"));
    s->SaveFormPlacement();
    TIniFile ini("p.ini");
    EXPECT_EQ(ini.ReadString("TMainForm", "Edit1_Text", "?"), "typed");
    const AnsiString scrambled = ini.ReadString("TMainForm", "Password", "?");
    EXPECT_NE(scrambled, "abc");
    edit->SetText("");
    secret->SetValue(Variant());
    s->RestoreFormPlacement();
    EXPECT_EQ(edit->Text(), "typed");
    EXPECT_EQ(VarToStr(s->StoredValues()->StoredValue("PASSWORD")), "abc");
}

// A value the INI file cannot hold, met anywhere in a save, fails the whole save before its
// first key is written: the file keeps its bytes, and a save after the value is mended writes all.
struct TRefusedCase {
    const char* name;
    const char* prop;       // a stored property besides Edit1.Text, or null
    const char* valueName;  // a stored value
    const char* valueText;
};
class RefusedSave : public PlacemntTest, public ::testing::WithParamInterface<TRefusedCase> {};

TEST_P(RefusedSave, WritesNothing)
{
    TempFolder::Write(folder.File("p.ini"), "[TMainForm]\r\nFormVersion=0\r\nEdit1_Text=old\r\n");
    auto* edit = Place<TEdit>(*form, 0, 0, 80, 20);
    edit->SetName("Edit1");
    auto* memo = Place<TMemo>(*form, 0, 30, 80, 40);
    memo->SetName("memo");
    memo->Lines()->Add("first");
    memo->Lines()->Add("second");
    auto* s = Make<TFormStorage>();
    TStringList props;
    props.Add("Edit1.Text");
    if (GetParam().prop)
        props.Add(GetParam().prop);
    s->SetStoredProps(&props);
    TStoredValue* value = s->StoredValues()->Add();
    value->SetName(GetParam().valueName);
    value->SetValue(Variant(GetParam().valueText));
    TStoredValue* later = s->StoredValues()->Add();
    later->SetName("Later");
    later->SetValue(Variant("kept"));
    s->RestoreFormPlacement();
    edit->SetText("new");
    const std::string before = File();
    EXPECT_THROW(s->SaveFormPlacement(), EIniFileException);
    EXPECT_EQ(File(), before);
    EXPECT_FALSE(s->Saved());
    if (GetParam().prop) {
        props.Delete(props.Count() - 1);
        s->SetStoredProps(&props);
    }
    value->SetName("Mended");
    value->SetValue(Variant("one line"));
    s->SaveFormPlacement();
    TIniFile ini("p.ini");
    EXPECT_EQ(ini.ReadString("TMainForm", "Edit1_Text", "?"), "new");
    EXPECT_EQ(ini.ReadString("TMainForm", "Later", "?"), "kept");
    s->SetActive(false);
}

const TRefusedCase kRefused[] = {
    {"RegressionLineBreakInAStoredPropertyWritesNothing", "memo.Text", "Note", "plain"},
    {"RegressionLineBreakInAStoredValueWritesNothing", nullptr, "Note", "two\r\nlines"},
    {"RegressionKeyTheFileCannotHoldWritesNothing", nullptr, "a=b", "plain"},
};
INSTANTIATE_TEST_SUITE_P(Rows, RefusedSave, ::testing::ValuesIn(kRefused),
                         [](const auto& row) { return std::string(row.param.name); });

// A stored size far past the screen (a 70-byte line) gives a form no larger than the work area,
// so its window's backing store is what the screen holds, not gigabytes.
TEST_F(PlacemntTest, RegressionStoredSizePastTheWorkAreaIsCutToIt)
{
    TempFolder::Write(folder.File("p.ini"), "[TMainForm]\r\nPixelsPerInch=96\r\nNormPos=0,0,32767,32767\r\n");
    Make();
    form->Show();
    const TRect area = Screen->WorkAreaRect();
    EXPECT_EQ(form->Width(), area.Width());
    EXPECT_EQ(form->Height(), area.Height());
    ASSERT_TRUE(form->HandleAllocated());
    EXPECT_LE(form->Handle()->width(), area.Width());
    EXPECT_LE(form->Handle()->height(), area.Height());
}

TEST_F(PlacemntTest, RegressionStoredLineCountPastTheLinesReadsTheLinesPresent)
{
    auto* memo = Place<TMemo>(*form, 0, 0, 80, 40);
    memo->SetName("memo");
    TempFolder::Write(folder.File("p.ini"), "[TMainForm.memo_Lines]\r\nCount=300000000\r\nItem0=one\r\n");
    auto* s = Make<TFormStorage>();
    TStringList props;
    props.Add("memo.Lines");
    s->SetStoredProps(&props);
    s->RestoreFormPlacement();
    EXPECT_EQ(memo->Lines()->Count(), 1);
}

TEST_F(PlacemntTest, StoredValueNamesIgnoreCaseAndRefuseDuplicates)
{
    auto* s = Make<TFormStorage>();
    s->StoredValues()->Add()->SetName("Value1");
    TStoredValue* other = s->StoredValues()->Add();
    EXPECT_EQ(s->StoredValues()->IndexOf("value1"), 0);
    EXPECT_THROW(other->SetName("VALUE1"), Exception);
    EXPECT_TRUE(s->StoredValues()->StoredValue("none").IsNull());
}

TEST_F(PlacemntTest, DeletedComponentLeavesTheStoredList)
{
    auto* edit = Place<TEdit>(*form, 0, 0, 80, 20);
    edit->SetName("Edit1");
    auto* s = Make<TFormStorage>();
    TStringList props;
    props.Add("Edit1.Text");
    s->SetStoredProps(&props);
    delete edit;
    EXPECT_EQ(s->StoredProps()->Count(), 0);
}

TEST_F(PlacemntTest, DefaultSectionsAndIniData)
{
    auto* edit = Place<TEdit>(*form, 0, 0, 80, 20);
    edit->SetName("Edit1");
    auto* free = new TFormPlacement(form);
    free->SetName("Keeper");
    EXPECT_EQ(GetDefaultSection(form), "TMainForm");
    EXPECT_EQ(GetDefaultSection(edit), "TMainFormEdit1");
    EXPECT_EQ(GetDefaultSection(free), "TMainForm.Keeper");
    EXPECT_EQ(GetDefaultSection(nullptr), "");
    AnsiString name, section;
    GetDefaultIniData(edit, name, section, false);
    EXPECT_EQ(name, GetDefaultIniName());
    free->SetIniFileName("own.ini");
    GetDefaultIniData(edit, name, section, false);
    EXPECT_EQ(name, "own.ini");
    EXPECT_EQ(section, "TMainFormEdit1");
}

}  // namespace
