// The script editor's decisions on plain grid models: what each page shows, the item commands with
// their dialogs and confirmations, row moves, Space, Find, and records freed while a dialog is open.

#include "app/core/ScriptEditor.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "grid/model/CellModel.h"
#include "script/RecordingHost.h"
#include "script/ScriptState.h"

namespace {

// Answers the editor's questions from queues and logs what it was asked.
class TFakeUi : public IScriptEditorUi {
public:
    // A dialog: edits the record it is given (a copy) and says how it ended.
    using TDialog = std::function<TDialogEnd(void* record)>;
    std::deque<TDialog> Dialogs;
    std::deque<bool> Answers;
    std::string Log;

    TDialogEnd Next(void* record, const char* kind)
    {
        Log += std::string("dialog:") + kind + ";";
        if (Dialogs.empty())
            return TDialogEnd::Cancelled;
        TDialog dialog = Dialogs.front();
        Dialogs.pop_front();
        return dialog(record);
    }
    TDialogEnd EditButton(cButton& r) override { return Next(&r, "button"); }
    TDialogEnd EditTimer(cTimer& r) override { return Next(&r, "timer"); }
    TDialogEnd EditTrigger(cTriggers& r) override { return Next(&r, "trigger"); }
    TDialogEnd EditVariable(cVariables& r, const cVariables*, const TVariableList&) override
    {
        return Next(&r, "variable");
    }
    TDialogEnd EditAlias(cAlias& r, const cAlias*, const TAliasList&) override { return Next(&r, "alias"); }
    TDialogEnd EditMacro(cKeyMacro& r, const cKeyMacro*, const TKeyMacroList&) override { return Next(&r, "macro"); }
    bool Confirm(const AnsiString& text, const AnsiString& caption) override
    {
        Log += "confirm:" + caption + ":" + text + ";";
        const bool yes = Answers.empty() || Answers.front();
        if (!Answers.empty())
            Answers.pop_front();
        return yes;
    }
    void Message(const AnsiString& text) override { Log += "message:" + text + ";"; }
    void ButtonsShown() override { Log += "buttons;"; }
    void ButtonGoing(cButton& r) override { Log += "going:" + r.Name + ";"; }
};

template <class T>
TFakeUi::TDialog Saves(std::function<void(T&)> edit)
{
    return [edit](void* r) {
        edit(*static_cast<T*>(r));
        return TDialogEnd::Saved;
    };
}

class ScriptEditorTest : public ::testing::Test {
protected:
    ScriptEditorTest()
    {
        for (int page = 0; page < kEditorPageCount; ++page) {
            SetUpEditorGrid(Grids[page], page);
            Editor.SetGrid(page, &Grids[page]);
        }
    }
    cTriggers* AddTrigger(const char* from, const char* to)
    {
        auto t = std::make_unique<cTriggers>();
        t->From = from;
        t->To = to;
        t->Number = State.TriggerList.Count() + 1;
        return State.TriggerList.Add(std::move(t));
    }
    cKeyMacro* AddMacro(const char* name)
    {
        auto m = std::make_unique<cKeyMacro>();
        m->Name = name;
        return State.KeyMacroList.Add(std::move(m));
    }
    std::string Column(int page, int col)
    {
        std::string s;
        const TCellModel& g = Grids[page];
        for (int r = 1; r < g.RowCount(); ++r)
            s += (r > 1 ? "," : "") + g.Cells(col, r);
        return s;
    }

    TRecordingHost Host;
    TScriptState State{Host};
    TFakeUi Ui;
    TCellModel Grids[kEditorPageCount];
    TScriptEditor Editor{State, Ui};
};

// --- What each page shows ----------------------------------------------------------------------

struct TFillCase {
    const char* name;
    int page;
    std::function<void(TScriptState&)> fill;
    const char* row1;  // the cells of row 1, '|' between them
};

class EditorFill : public ScriptEditorTest, public ::testing::WithParamInterface<TFillCase> {};

TEST_P(EditorFill, RowOneShowsTheFirstRecord)
{
    const TFillCase& c = GetParam();
    c.fill(State);
    Editor.FillPage(c.page);
    const TCellModel& g = Grids[c.page];
    EXPECT_EQ(g.RowCount(), std::max(EditorRecordCount(State, c.page) + 1, 2));
    std::string row;
    for (int col = 0; col < g.ColCount(); ++col)
        row += (col ? "|" : "") + g.Cells(col, 1);
    EXPECT_EQ(row, c.row1);
}

const TFillCase kFillCases[] = {
    {"EmptyButtonsShowABlankRow", epButton, [](TScriptState&) {}, "||||"},
    {"EmptyTimersShowABlankRow", epTimer, [](TScriptState&) {}, "|||||"},
    {"EmptyTriggersShowABlankRow", epTriggers, [](TScriptState&) {}, "||||||||"},
    {"EmptyVariablesShowABlankRow", epVariables, [](TScriptState&) {}, "|||"},
    {"EmptyAliasesShowABlankRow", epAlias, [](TScriptState&) {}, "|"},
    {"EmptyMacrosShowABlankRow", epMacro, [](TScriptState&) {}, "||"},
    {"ToggleButtonOn", epButton,
     [](TScriptState& s) {
         auto b = std::make_unique<cButton>();
         b->Name = "b1", b->OnBuff = "on", b->OffBuff = "off", b->Status = 1;
         s.ButtonList.Add(std::move(b));
     },
     "1|b1|On|on|off"},
    {"TimerOnWithItsCountdown", epTimer,
     [](TScriptState& s) {
         auto t = std::make_unique<cTimer>();
         t->Name = "t", t->Status = 1, t->Ticker = 30, t->OnBuff = "look";
         s.AddUserTimer(std::move(t));
     },
     "t||On|30|30|look"},
    {"TriggerOnCharacters", epTriggers,
     [](TScriptState& s) {
         auto t = std::make_unique<cTriggers>();
         t->From = "(hp)", t->To = "say", t->Group = "g", t->NickName = "n", t->Status = cTriggers::Enabled;
         s.TriggerList.Add(std::move(t));
     },
     "|1||\xB9\xAE\xC0\xDA|g|n|(hp)|say|"},  // 문자
    {"NumericVariable", epVariables,
     [](TScriptState& s) {
         auto v = std::make_unique<cVariables>();
         v->Name = "hp", v->Type = 'D', v->Value = "12";
         s.VariableList.Add(std::move(v));
     },
     "1|hp|D|12"},
    {"HtmlLikeAliasTextAsTyped", epAlias,
     [](TScriptState& s) {
         auto a = std::make_unique<cAlias>();
         a->Name = "b", a->Text = "say <B>bold</B>";
         s.AliasList.Add(std::move(a));
     },
     "b|say <B>bold</B>"},
    {"MacroByItsKeyText", epMacro,
     [](TScriptState& s) {
         auto m = std::make_unique<cKeyMacro>();
         m->Name = "Ctrl+F1", m->ToBuff = "kill";
         s.KeyMacroList.Add(std::move(m));
     },
     "Ctrl+F1|1|kill"},
};

INSTANTIATE_TEST_SUITE_P(Pages, EditorFill, ::testing::ValuesIn(kFillCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ScriptEditorTest, TriggerCheckBoxesFollowTheStatus)
{
    AddTrigger("a", "b")->Status = cTriggers::StaysEnabled;
    Editor.FillPage(epTriggers);
    bool enabled = true, stays = false;
    ASSERT_TRUE(Grids[epTriggers].GetCheckBoxState(0, 1, enabled));
    ASSERT_TRUE(Grids[epTriggers].GetCheckBoxState(2, 1, stays));
    EXPECT_FALSE(enabled);
    EXPECT_TRUE(stays);
}

// --- Delete -------------------------------------------------------------------------------------

TEST_F(ScriptEditorTest, DeleteAsksWithTheTriggersNumberAndPattern)
{
    AddTrigger("a", "x");
    AddTrigger("hp", "y");
    Editor.FillPage(epTriggers);
    Grids[epTriggers].SetRow(2);
    Ui.Answers = {false, true};
    Editor.Delete(epTriggers);
    EXPECT_EQ(State.TriggerList.Count(), 2);
    Editor.Delete(epTriggers);
    // 트리거삭제, 트리거 2번 '(hp)'를 삭제 할까요?
    const std::string question = "confirm:\xC6\xAE\xB8\xAE\xB0\xC5\xBB\xE8\xC1\xA6:\xC6\xAE\xB8\xAE\xB0\xC5 2\xB9\xF8 "
                                 "'(hp)'\xB8\xA6 \xBB\xE8\xC1\xA6 \xC7\xD2\xB1\xEE\xBF\xE4?;";
    EXPECT_EQ(Ui.Log, question + question);
    ASSERT_EQ(State.TriggerList.Count(), 1);
    EXPECT_EQ(State.TriggerList[0]->From, "a");
}

struct TTextDeleteCase {
    const char* name;
    std::function<TDeleteQuestion()> ask;
    const char* text;
    const char* caption;
};

class DeleteTexts : public ::testing::TestWithParam<TTextDeleteCase> {};

TEST_P(DeleteTexts, NameTheRecord)
{
    const TDeleteQuestion q = GetParam().ask();
    EXPECT_EQ(q.Text, GetParam().text);
    EXPECT_EQ(q.Caption, GetParam().caption);
}

template <class T>
T Named(const char* name)
{
    T r;
    r.Name = name;
    return r;
}

const TTextDeleteCase kTextDeleteCases[] = {
    {"Variable", [] { return DeleteQuestion(Named<cVariables>("hp"), 3); },
     "\xBA\xAF\xBC\xF6 3\xB9\xF8 'hp'\xB8\xA6 \xBB\xE8\xC1\xA6 \xC7\xD2\xB1\xEE\xBF\xE4?",
     "\xBA\xAF\xBC\xF6\xBB\xE8\xC1\xA6"},
    {"Macro", [] { return DeleteQuestion(Named<cKeyMacro>("F2"), 1); },
     "\xB8\xC5\xC5\xA9\xB7\xCE 'F2'\xB8\xA6 \xBB\xE8\xC1\xA6 \xC7\xD2\xB1\xEE\xBF\xE4?",
     "\xB8\xC5\xC5\xA9\xB7\xCE\xBB\xE8\xC1\xA6"},
    {"Button", [] { return DeleteQuestion(Named<cButton>("b1"), 1); },
     "\xB9\xF6\xC6\xB0 'b1'\xB8\xA6 \xBB\xE8\xC1\xA6 \xC7\xD2\xB1\xEE\xBF\xE4?", "\xB9\xF6\xC6\xB0\xBB\xE8\xC1\xA6"},
    {"Timer", [] { return DeleteQuestion(Named<cTimer>("t"), 1); },
     "\xC5\xB8\xC0\xCC\xB8\xD3 't'\xB8\xA6 \xBB\xE8\xC1\xA6 \xC7\xD2\xB1\xEE\xBF\xE4?",
     "\xC5\xB8\xC0\xCC\xB8\xD3\xBB\xE8\xC1\xA6"},
    {"Alias", [] { return DeleteQuestion(Named<cAlias>("gg"), 1); },
     "Alias 'gg'\xB8\xA6 \xBB\xE8\xC1\xA6 \xC7\xD2\xB1\xEE\xBF\xE4?", "Alias"},
};

INSTANTIATE_TEST_SUITE_P(Pages, DeleteTexts, ::testing::ValuesIn(kTextDeleteCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ScriptEditorTest, DeletingTheLastRecordLeavesTheBlankRow)
{
    AddMacro("F2");
    Editor.FillPage(epMacro);
    Editor.Delete(epMacro);
    EXPECT_TRUE(State.KeyMacroList.Empty());
    EXPECT_EQ(Grids[epMacro].RowCount(), 2);
    EXPECT_EQ(Column(epMacro, 0), "");
}

TEST_F(ScriptEditorTest, DeletingAButtonDropsItsBarButtonFirst)
{
    auto b = std::make_unique<cButton>();
    b->Name = "b1";
    State.ButtonList.Add(std::move(b));
    Editor.FillPage(epButton);
    Ui.Log.clear();
    Editor.Delete(epButton);
    EXPECT_NE(Ui.Log.find("going:b1;buttons;"), std::string::npos) << Ui.Log;
}

// --- New, Insert and Copy-insert --------------------------------------------------------------

TEST_F(ScriptEditorTest, NewTriggerIsNumberedAfterTheLastAndShownAlone)
{
    AddTrigger("a", "b");
    Editor.FillPage(epTriggers);
    Ui.Dialogs.push_back(Saves<cTriggers>([](cTriggers& t) {
        EXPECT_EQ(t.Number, 2);
        t.From = "c", t.To = "d";
    }));
    Editor.New(epTriggers);
    EXPECT_EQ(Column(epTriggers, 6), "a,c");
    EXPECT_EQ(Grids[epTriggers].Row(), 2);
}

TEST_F(ScriptEditorTest, CancelledNewLeavesTheListAlone)
{
    Editor.New(epAlias);
    EXPECT_TRUE(State.AliasList.Empty());
    EXPECT_EQ(Ui.Log, "dialog:alias;");
}

TEST_F(ScriptEditorTest, InsertOnAnEmptyListGoesFirstAndEnterDoesNothing)
{
    Editor.FillPage(epMacro);
    EXPECT_TRUE(Editor.GridKey(epMacro, 13));
    EXPECT_EQ(Ui.Log, "");
    Ui.Dialogs.push_back(Saves<cKeyMacro>([](cKeyMacro& m) { m.Name = "F5"; }));
    EXPECT_TRUE(Editor.GridKey(epMacro, 45));
    EXPECT_EQ(Column(epMacro, 0), "F5");
}

TEST_F(ScriptEditorTest, DoubleClickOnTheBlankRowIsNew)
{
    Editor.FillPage(epVariables);
    Editor.DoubleClick(epVariables, 0);
    EXPECT_EQ(Ui.Log, "");
    Editor.DoubleClick(epVariables, 1);
    EXPECT_EQ(Ui.Log, "dialog:variable;");
}

TEST_F(ScriptEditorTest, CopyInsertTriggerTakesTheRowAsNumber)
{
    AddTrigger("a", "x");
    AddTrigger("b", "y")->Group = "g";
    Editor.FillPage(epTriggers);
    Grids[epTriggers].SetRow(2);
    Ui.Dialogs.push_back(Saves<cTriggers>([](cTriggers& t) {
        EXPECT_EQ(t.Number, 2);
        EXPECT_EQ(t.From, "b");
        EXPECT_EQ(t.Group, "g");
    }));
    Editor.CopyInsert(epTriggers);
    EXPECT_EQ(Column(epTriggers, 6), "a,b,b");
}

TEST_F(ScriptEditorTest, CopyInsertTimerStartsFromAFreshTimer)
{
    auto t = std::make_unique<cTimer>();
    t->Name = "old", t->Ticker = 9, t->Action = 0;
    State.AddUserTimer(std::move(t));
    Editor.FillPage(epTimer);
    Ui.Dialogs.push_back(Saves<cTimer>([](cTimer& fresh) {
        EXPECT_EQ(fresh.Name, "");
        EXPECT_EQ(fresh.Ticker, 0);
        EXPECT_EQ(fresh.Action, cTimer::CycleForever);
        fresh.Name = "new";
    }));
    Editor.CopyInsert(epTimer);
    EXPECT_EQ(Column(epTimer, 0), "new,old");
    EXPECT_NE(State.TimerRecList[0]->Event, nullptr);
}

// --- Edit ---------------------------------------------------------------------------------------

TEST_F(ScriptEditorTest, RegressionRecordFreedWhileItsDialogIsOpenIsNotWritten)
{
    AddTrigger("a", "b");
    Editor.FillPage(epTriggers);
    Ui.Dialogs.push_back([this](void* r) {
        State.ClearCmdData();  // a trigger or timer loaded another command file meanwhile
        static_cast<cTriggers*>(r)->From = "changed";
        return TDialogEnd::Saved;
    });
    Editor.Edit(epTriggers);
    EXPECT_TRUE(State.TriggerList.Empty());
}

TEST_F(ScriptEditorTest, RefusedTriggerThenCancelledKeepsWhatWasTypedUnshown)
{
    AddTrigger("a", "b");
    Editor.FillPage(epTriggers);
    Ui.Dialogs.push_back([](void* r) {
        static_cast<cTriggers*>(r)->To = "";
        return TDialogEnd::CancelledAfterWrite;
    });
    Editor.Edit(epTriggers);
    EXPECT_EQ(State.TriggerList[0]->To, "");
    EXPECT_EQ(Column(epTriggers, 7), "b");
}

TEST_F(ScriptEditorTest, SpaceTogglesTheCurrentTrigger)
{
    AddTrigger("a", "b");
    Editor.FillPage(epTriggers);
    Editor.ToggleTrigger();
    EXPECT_EQ(State.TriggerList[0]->Status & cTriggers::Enabled, 0u);
    Editor.ToggleTrigger();
    EXPECT_NE(State.TriggerList[0]->Status & cTriggers::Enabled, 0u);
}

// --- Row moves ------------------------------------------------------------------------------------

TEST_F(ScriptEditorTest, MovingRowThreeToOneReordersTheTriggers)
{
    for (const char* from : {"a", "b", "c"})
        AddTrigger(from, "x");
    Editor.FillPage(epTriggers);
    Grids[epTriggers].MoveRow(3, 1);
    Editor.RowMoved(epTriggers, 3, 1);
    EXPECT_EQ(State.TriggerList[0]->From, "c");
    EXPECT_EQ(Column(epTriggers, 6), "c,a,b");
    EXPECT_EQ(Column(epTriggers, 1), "1,2,3");
}

TEST_F(ScriptEditorTest, RegressionMacroRowsMoveTheirMacros)
{
    AddMacro("F1");
    AddMacro("F2");
    Editor.FillPage(epMacro);
    Grids[epMacro].MoveRow(1, 2);
    Editor.RowMoved(epMacro, 1, 2);
    EXPECT_EQ(State.KeyMacroList[0]->Name, "F2");
    EXPECT_EQ(Column(epMacro, 0), "F2,F1");
}

TEST_F(ScriptEditorTest, RowsOutsideTheListMoveNothing)
{
    AddMacro("F1");
    AddMacro("F2");
    Editor.FillPage(epMacro);
    Editor.RowMoved(epMacro, 0, 2);
    Editor.RowMoved(epMacro, 1, 5);
    EXPECT_EQ(Column(epMacro, 0), "F1,F2");
    EXPECT_EQ(Grids[epMacro].Cells(0, 0), "\xB4\xDC\xC3\xE0\xC5\xB0");  // 단축키
}

// --- Find -----------------------------------------------------------------------------------------

TEST_F(ScriptEditorTest, FindMissSaysSoAndDisablesFindNext)
{
    AddTrigger("(hp)", "x");
    Editor.FillPage(epTriggers);
    Editor.FindFirst(epTriggers, "zzz");
    EXPECT_EQ(Ui.Log, "message:(zzz)\xB6\xF3\xB4\xC2\xB0\xCD\xC0\xCC \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.;");
    EXPECT_FALSE(Editor.FindNextEnabled());
}

TEST_F(ScriptEditorTest, FindHitBecomesTheCurrentCellThenNoMore)
{
    AddTrigger("a", "x");
    AddTrigger("b", "HP low");
    Editor.FillPage(epTriggers);
    Editor.FindFirst(epTriggers, "hp");
    EXPECT_TRUE(Editor.FindNextEnabled());
    EXPECT_EQ(Grids[epTriggers].Row(), 2);
    Editor.FindNext(epTriggers);
    // 더이상 찻는 문자열이 없습니다.
    EXPECT_EQ(Ui.Log,
              "message:\xB4\xF5\xC0\xCC\xBB\xF3 \xC2\xFE\xB4\xC2 \xB9\xAE\xC0\xDA\xBF\xAD\xC0\xCC "
              "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.;");
    EXPECT_FALSE(Editor.FindNextEnabled());
}

TEST_F(ScriptEditorTest, PageChangeKeepsThePageAndDisablesFindNext)
{
    Editor.PageChanged(epAlias);
    EXPECT_EQ(State.CmdConfig.ActivePage, epAlias);
    EXPECT_FALSE(Editor.FindNextEnabled());
}

// --- The engine tells its host about the button list -------------------------------------------

class TButtonListHost : public TRecordingHost {
public:
    int Changes = 0;
    void ButtonListChanged() override { ++Changes; }
};

TEST(ButtonListChanged, ClearAndLoadTellTheHost)
{
    TButtonListHost host;
    TScriptState state(host);
    state.ClearCmdData();
    EXPECT_EQ(host.Changes, 1);
    EXPECT_FALSE(state.LoadCmdFile("no such file.Cmd"));
    EXPECT_EQ(host.Changes, 1);
}

}  // namespace
