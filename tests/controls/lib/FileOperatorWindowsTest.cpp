// The file operator's windows on the offscreen platform: the question box's four buttons answer
// the operation, the progress window shows the title, the part's name and the bar while the
// other windows are disabled, its Cancel stops the run, errors come in an error box, and the
// operator is made and set by name.

#include "controls/lib/FileOperatorWindows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "GuiTestSupport.h"
#include "controls/core/FileOperatorSession.h"
#include "platform/core/TypInfo.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Queue.h"
#include "tests/controls/core/ScopedEnv.h"
#include "tests/platform/core/TempFolder.h"

namespace fs = std::filesystem;

namespace {

template <class F>
F* OpenForm()
{
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (auto* form = dynamic_cast<F*>(Screen->Forms(i)))
            return form;
    return nullptr;
}

class FileOperatorWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        RegisterFileOperatorClasses();
    }
    void TearDown() override { SetModalFormHook(nullptr); }
    // Answers every question box with `respond`, after `look` has seen the windows.
    void Answer(std::function<void(TFileQuestionBox&)> respond)
    {
        SetModalFormHook([this, respond](TCustomForm& form) {
            auto* box = dynamic_cast<TFileQuestionBox*>(&form);
            ASSERT_NE(box, nullptr);
            ++questions;
            respond(*box);
        });
    }
    std::string Read(const char* name) { return TempFolder::Read(folder.File(name)); }
    void Write(const char* name, const std::string& data)
    {
        fs::create_directories(fs::path(folder.File(name)).parent_path());
        TempFolder::Write(folder.File(name), data);
    }
    bool Execute(TFileOperFlags options = FileOperFlag(flAllowUndo) | FileOperFlag(flNoConfirmMkDir))
    {
        op.Options = options;
        return op.Execute();
    }

    TempFolder folder;
    TExFileOperator op{nullptr};
    int questions = 0;
};

struct TButtonCase {
    const char* name;
    TQuestionAnswer button;
    bool closeBox;  // the box closed by its close box instead
    bool result;
    bool aborted;
    int questions;
    const char* files;  // out/a and out/b after the copy
};
void PrintTo(const TButtonCase& c, std::ostream* os) { *os << c.name; }
class QuestionButton : public FileOperatorWindowsTest, public ::testing::WithParamInterface<TButtonCase> {};

TEST_P(QuestionButton, AnswersTheOperation)
{
    Write("a", "1");
    Write("b", "2");
    Write("out/a", "x");
    Write("out/b", "y");
    Answer([](TFileQuestionBox& box) {
        EXPECT_EQ(box.Caption(), "Confirm File Replace");
        EXPECT_NE(box.TextLabel()->Caption().find("already exists"), AnsiString::npos);
        EXPECT_EQ(box.Button(qaYes)->Caption() + "|" + box.Button(qaYesToAll)->Caption() + "|" +
                      box.Button(qaNo)->Caption() + "|" + box.Button(qaCancel)->Caption(),
                  "&Yes|Yes to &All|&No|Cancel");
        if (GetParam().closeBox)
            box.Close();
        else
            box.Button(GetParam().button)->Click();
    });
    op.Source = "a;b";
    op.Destination = "out";
    EXPECT_EQ(Execute(), GetParam().result);
    EXPECT_EQ(op.OperationAborted(), GetParam().aborted);
    EXPECT_EQ(questions, GetParam().questions);
    EXPECT_EQ(Read("out/a") + Read("out/b"), GetParam().files);
}

const TButtonCase kButtons[] = {
    {"Yes", qaYes, false, true, false, 2, "12"},     {"YesToAll", qaYesToAll, false, true, false, 1, "12"},
    {"No", qaNo, false, true, true, 2, "xy"},        {"Cancel", qaCancel, false, false, true, 1, "xy"},
    {"CloseBox", qaYes, true, false, true, 1, "xy"},
};
INSTANTIATE_TEST_SUITE_P(Rows, QuestionButton, ::testing::ValuesIn(kButtons),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(FileOperatorWindowsTest, ProgressShowsTitleNameAndBarWithTheOtherWindowsDisabled)
{
    TForm other(nullptr);
    other.Show();
    Write("a", "1");
    Write("b", "2");
    Write("out/b", "y");
    Answer([&other](TFileQuestionBox& box) {
        TFileProgressForm* progress = OpenForm<TFileProgressForm>();
        ASSERT_NE(progress, nullptr);
        EXPECT_TRUE(progress->Visible());
        EXPECT_EQ(progress->Caption(), "Saving");
        EXPECT_EQ(progress->NameLabel()->Caption(), "b");
        EXPECT_EQ(progress->Bar()->Max(), 2);
        EXPECT_EQ(progress->Bar()->Position(), 1);
        EXPECT_FALSE(other.Enabled());
        box.Button(qaYes)->Click();
    });
    op.Source = "a;b";
    op.Destination = "out";
    op.ProgressTitle = "Saving";
    EXPECT_TRUE(Execute());
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(OpenForm<TFileProgressForm>(), nullptr);
    EXPECT_TRUE(other.Enabled());
}

TEST_F(FileOperatorWindowsTest, SimpleProgressHidesNamesAndSilentShowsNoWindow)
{
    Write("a", "1");
    Write("out/a", "x");
    AnsiString shown = "none";
    Answer([&shown](TFileQuestionBox& box) {
        TFileProgressForm* progress = OpenForm<TFileProgressForm>();
        shown = progress ? progress->Caption() + "|" + progress->NameLabel()->Caption() : AnsiString("none");
        box.Button(qaNo)->Click();
    });
    op.Source = "a";
    op.Destination = "out";
    Execute(FileOperFlag(flSimpleProgress));
    EXPECT_EQ(shown, "Copying...|");
    Execute(FileOperFlag(flSilent));
    EXPECT_EQ(shown, "none");
}

TEST_F(FileOperatorWindowsTest, CancelInTheProgressWindowStopsTheRun)
{
    Write("a", "1");
    Write("b", "2");
    Write("out/a", "x");
    Answer([](TFileQuestionBox& box) {
        OpenForm<TFileProgressForm>()->CancelButton()->Click();
        box.Button(qaYes)->Click();
    });
    op.Source = "a;b";
    op.Destination = "out";
    EXPECT_FALSE(Execute());
    EXPECT_TRUE(op.OperationAborted());
    EXPECT_EQ(Read("out/a"), "1");
    EXPECT_FALSE(fs::exists(folder.File("out/b")));
}

// With one source folder Cancel was heard only after the whole folder was copied.
TEST_F(FileOperatorWindowsTest, RegressionCancelIsHeardWhileAFolderIsCopied)
{
    Write("d/a", "1");
    Write("d/b", "2");
    Write("d/c", "3");
    // The clock moves a poll's interval at each reading; at the third (as the folder's first
    // file is begun) the user presses Cancel, which the window hears only if the copy lets it
    // handle its events.
    int readings = 0;
    std::chrono::steady_clock::time_point now;
    SetFileWorkClock([&readings, &now] {
        if (++readings == 3)
            QueueCall([] { OpenForm<TFileProgressForm>()->CancelButton()->Click(); });
        return now += kProgressPollInterval;
    });
    op.Source = "d";
    op.Destination = "out";
    const bool result = Execute();
    SetFileWorkClock(nullptr);
    EXPECT_FALSE(result);
    EXPECT_TRUE(op.OperationAborted());
    EXPECT_TRUE(fs::is_directory(folder.File("out")));
    EXPECT_TRUE(fs::is_empty(folder.File("out")));
}

TEST_F(FileOperatorWindowsTest, ErrorsComeInAnErrorBoxUnlessTurnedOff)
{
    std::vector<std::string> boxes;
    TMessageBoxHook old =
        SetMessageBoxHook([&boxes](const AnsiString& text, const AnsiString& caption, unsigned flags) {
            boxes.push_back(caption + "|" + text + ((flags & 0xF0) == MB_ICONERROR ? " (error)" : ""));
            return IDOK;
        });
    op.Operation = foDelete;
    op.Source = "gone";
    EXPECT_FALSE(Execute(FileOperFlag(flNoConfirmation)));
    EXPECT_FALSE(Execute(FileOperFlag(flNoConfirmation) | FileOperFlag(flNoErrorUI)));
    SetMessageBoxHook(old);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Error Deleting File or Folder|Cannot delete 'gone': No such file or directory (error)");
}

// Under the test environment a box nobody watches must not wait for a click that never comes.
TEST_F(FileOperatorWindowsTest, UnwatchedQuestionIsAnsweredNoUnderTheTestEnvironment)
{
    TEnv test("HM_TEST", "1");
    Write("a", "new");
    Write("out/a", "OLD-USER-DATA");
    op.Source = "a";
    op.Destination = "out";
    EXPECT_TRUE(Execute());
    EXPECT_TRUE(op.OperationAborted());
    EXPECT_EQ(Read("out/a"), "OLD-USER-DATA");
}

TEST_F(FileOperatorWindowsTest, PublishedPropertiesAreSetByName)
{
    std::unique_ptr<TComponent> made(FindClass("TExFileOperator")->Create(nullptr));
    auto* named = dynamic_cast<TExFileOperator*>(made.get());
    ASSERT_NE(named, nullptr);
    std::string texts;
    for (const TPropInfo* p : GetPropList(named))
        if (p->Name != "Name" && p->Name != "Tag")
            texts += std::string(texts.empty() ? "" : " ") + p->Name + "=" + GetPropText(named, *p) +
                (IsDefaultPropValue(named, *p) ? "*" : "");
    EXPECT_EQ(texts, "Operation=foCopy* Options=[flAllowUndo,flNoConfirmMkDir]* ProgressTitle= Source= Destination=");
    SetPropText(named, *GetPropInfo(named, "Operation"), "foMove");
    SetPropText(named, *GetPropInfo(named, "Options"), "[flSilent, flNoErrorUI]");
    SetPropText(named, *GetPropInfo(named, "Source"), "a;b");
    EXPECT_EQ(named->Operation, foMove);
    EXPECT_EQ(named->Options, FileOperFlag(flSilent) | FileOperFlag(flNoErrorUI));
    EXPECT_EQ(named->Source, "a;b");
}

}  // namespace
