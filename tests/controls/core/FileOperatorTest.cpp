// The file operator's questions, progress and errors, answered by a script: what each option
// leaves to ask, what Yes, Yes to all, No and Cancel do to the files, what the progress window
// is told, which failures are shown, and what a run with no dialogs installed does.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <deque>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "controls/core/FileOperatorDialogs.h"
#include "tests/controls/core/ScopedEnv.h"
#include "tests/platform/core/TempFolder.h"

namespace fs = std::filesystem;

namespace {

// Answers from a script and logs every call: "open TITLE TOTAL", "step NAME DONE", "ask TEXT'S
// FIRST LINE", "error CAPTION|TEXT", "close". The progress window reports a cancel at one step.
class TScriptedDialogs : public IFileOperatorDialogs {
public:
    TScriptedDialogs(std::vector<std::string>& log, std::deque<char>& answers, int cancelAtStep)
        : log_(log), answers_(answers), cancelAtStep_(cancelAtStep)
    {}
    TQuestionAnswer Ask(const TFileQuestionText& question) override
    {
        log_.push_back("ask " + question.Text.substr(0, question.Text.find('\n')));
        if (answers_.empty()) {
            ADD_FAILURE() << "a question the script does not answer";
            return qaCancel;
        }
        const char answer = answers_.front();
        answers_.pop_front();
        return answer == 'Y' ? qaYes : answer == 'A' ? qaYesToAll : answer == 'N' ? qaNo : qaCancel;
    }
    void OpenProgress(const AnsiString& title, int total) override
    {
        log_.push_back("open " + title + " " + std::to_string(total));
    }
    bool StepProgress(const AnsiString& name, int done) override
    {
        log_.push_back("step " + name + " " + std::to_string(done));
        return done != cancelAtStep_;
    }
    bool PollProgress() override { return true; }
    void CloseProgress() override { log_.push_back("close"); }
    void ShowError(const AnsiString& caption, const AnsiString& text) override
    {
        log_.push_back("error " + caption + "|" + text);
    }

private:
    std::vector<std::string>& log_;
    std::deque<char>& answers_;
    int cancelAtStep_;
};

constexpr TFileOperFlags kDefault = FileOperFlag(flAllowUndo) | FileOperFlag(flNoConfirmMkDir);
constexpr TFileOperFlags WithFlag(TFileOperFlags options, TFileOperFlag flag) { return options | FileOperFlag(flag); }

struct TOperationCase {
    const char* name;
    TFileOperation operation;
    TFileOperFlags options;
    const char* progressTitle;
    const char* before;  // "path=content" separated by blanks; a path ending in "/" is a folder
    const char* readOnly;
    const char* source;
    const char* destination;
    bool unattended;  // no dialogs installed
    const char* answers;
    int cancelAtStep;
    bool result;
    bool aborted;
    const char* log;  // entries joined by "; "
    const char* after;
};

void PrintTo(const TOperationCase& c, std::ostream* os) { *os << c.name; }

class FileOperatorRun : public ::testing::TestWithParam<TOperationCase> {
protected:
    void SetUp() override
    {
        const TOperationCase& row = GetParam();
        for (const std::string& entry : Words(row.before)) {
            const size_t eq = entry.find('=');
            const std::string path = folder.File(entry.substr(0, eq));
            fs::create_directories(fs::path(path).parent_path());
            if (entry.back() == '/')
                fs::create_directories(path);
            else
                TempFolder::Write(path, entry.substr(eq + 1));
        }
        if (*row.readOnly)
            chmod(folder.File(row.readOnly).c_str(), 0444);
        answers.assign(row.answers, row.answers + std::string(row.answers).size());
        if (!row.unattended)
            old = SetFileOperatorDialogs(
                [this] { return std::make_unique<TScriptedDialogs>(log, answers, GetParam().cancelAtStep); });
    }
    void TearDown() override { SetFileOperatorDialogs(old); }

    static std::vector<std::string> Words(const std::string& text)
    {
        std::vector<std::string> words;
        for (size_t start = 0, end; start < text.size(); start = end + 1) {
            end = std::min(text.find(' ', start), text.size());
            if (end > start)
                words.push_back(text.substr(start, end - start));
        }
        return words;
    }
    // The program folder's tree as "path=content", folders with a trailing "/", the trash left out.
    std::string Tree() const
    {
        std::set<std::string> entries;
        for (auto it = fs::recursive_directory_iterator(folder.Path()); it != fs::recursive_directory_iterator();
             ++it) {
            const std::string path = fs::relative(it->path(), folder.Path()).string();
            if (path == "data") {
                it.disable_recursion_pending();
                continue;
            }
            entries.insert(it->is_directory() ? path + "/" : path + "=" + TempFolder::Read(it->path().string()));
        }
        std::string tree;
        for (const std::string& e : entries)
            tree += (tree.empty() ? "" : " ") + e;
        return tree;
    }

    TempFolder folder;
    TEnv trash{"XDG_DATA_HOME", folder.File("data")};
    std::vector<std::string> log;
    std::deque<char> answers;
    TFileOperatorDialogsMaker old;
};

TEST_P(FileOperatorRun, AsksShowsAndLeaves)
{
    const TOperationCase& row = GetParam();
    TExFileOperator op(nullptr);
    op.Operation = row.operation;
    op.Options = row.options;
    op.ProgressTitle = row.progressTitle;
    op.Source = row.source;
    op.Destination = row.destination;
    EXPECT_EQ(op.Execute(), row.result);
    EXPECT_EQ(op.OperationAborted(), row.aborted);
    std::string joined;
    for (const std::string& entry : log)
        joined += (joined.empty() ? "" : "; ") + entry;
    EXPECT_EQ(joined, row.log);
    EXPECT_EQ(Tree(), row.after);
    EXPECT_TRUE(answers.empty()) << "answers left over";
}

const TOperationCase kRuns[] = {
    {"RegressionDefaultCopyAsksBeforeReplacing", foCopy, kDefault, "", "a.txt=NEW out/a.txt=OLD-USER-DATA", "", "a.txt",
     "out", false, "N", -1, true, true, "open Copying... 1; step a.txt 0; ask 'out\\a.txt' already exists.; close",
     "a.txt=NEW out/ out/a.txt=OLD-USER-DATA"},
    {"RegressionUnattendedCopyKeepsTheUserFile", foCopy, kDefault, "", "a.txt=NEW out/a.txt=OLD-USER-DATA", "", "a.txt",
     "out", true, "", -1, true, true, "", "a.txt=NEW out/ out/a.txt=OLD-USER-DATA"},
    {"ReplaceAnsweredYes", foCopy, kDefault, "", "a=NEW out/a=OLD", "", "a", "out", false, "Y", -1, true, false,
     "open Copying... 1; step a 0; ask 'out\\a' already exists.; close", "a=NEW out/ out/a=NEW"},
    {"YesToAllReplacesTheRestUnasked", foCopy, kDefault, "", "a=1 b=2 c=3 out/a=x out/b=x out/c=x", "", "a;b;c", "out",
     false, "A", -1, true, false,
     "open Copying... 3; step a 0; ask 'out\\a' already exists.; step b 1; step c 2; close",
     "a=1 b=2 c=3 out/ out/a=1 out/b=2 out/c=3"},
    {"NoSkipsThatFileOnly", foCopy, kDefault, "", "a=1 b=2 out/a=x out/b=x", "", "a|b", "out", false, "NY", -1, true,
     true, "open Copying... 2; step a 0; ask 'out\\a' already exists.; step b 1; ask 'out\\b' already exists.; close",
     "a=1 b=2 out/ out/a=x out/b=2"},
    {"CancelStopsTheRest", foCopy, kDefault, "", "a=1 b=2 out/a=x", "", "a;b", "out", false, "C", -1, false, true,
     "open Copying... 2; step a 0; ask 'out\\a' already exists.; close", "a=1 b=2 out/ out/a=x"},
    {"NoConfirmationReplacesUnasked", foCopy, WithFlag(kDefault, flNoConfirmation), "", "a=1 out/a=x", "", "a", "out",
     false, "", -1, true, false, "open Copying... 1; step a 0; close", "a=1 out/ out/a=1"},
    {"ReadOnlyFileHasItsOwnQuestion", foCopy, kDefault, "", "a=1 out/a=x", "out/a", "a", "out", false, "Y", -1, true,
     false, "open Copying... 1; step a 0; ask 'out\\a' is a read-only file.; close", "a=1 out/ out/a=1"},
    {"RegressionNoConfirmationReplacesAReadOnlyFile", foCopy, WithFlag(kDefault, flNoConfirmation), "", "a=1 out/a=x",
     "out/a", "a", "out", false, "", -1, true, false, "open Copying... 1; step a 0; close", "a=1 out/ out/a=1"},
    {"MoveAsksBeforeReplacing", foMove, kDefault, "", "a=1 out/a=x", "", "a", "out", false, "N", -1, true, true,
     "open Moving... 1; step a 0; ask 'out\\a' already exists.; close", "a=1 out/ out/a=x"},
    {"RenameAnsweredYes", foRename, kDefault, "", "a=1 b=x", "", "a", "b", false, "Y", -1, true, false,
     "open Renaming... 1; step a 0; ask 'b' already exists.; close", "b=1"},
    {"DeleteAnsweredNoKeeps", foDelete, kDefault, "", "a=1", "", "a", "", false, "N", -1, true, true,
     "open Deleting... 1; step a 0; ask Are you sure you want to move 'a' to the trash?; close", "a=1"},
    {"RegressionUnattendedDeleteKeepsTheFile", foDelete, 0, "", "a=1", "", "a", "", true, "", -1, true, true, "",
     "a=1"},
    {"DeleteYesToAllForGood", foDelete, 0, "", "a=1 d/ d/b=2 c=3", "", "a;d;c", "", false, "A", -1, true, false,
     "open Deleting... 3; step a 0; ask Are you sure you want to delete 'a' for good?; step d 1; step c 2; close", ""},
    {"DeleteCancelledKeepsTheRest", foDelete, 0, "", "a=1 b=2", "", "a;b", "", false, "YC", -1, false, true,
     "open Deleting... 2; step a 0; ask Are you sure you want to delete 'a' for good?; step b 1; ask Are you sure you "
     "want to delete 'b' for good?; close",
     "b=2"},
    {"MakeFolderAskedOnceWhenTheOptionsSay", foCopy, FileOperFlag(flAllowUndo), "", "a=1 b=2", "", "a;b", "new", false,
     "Y", -1, true, false, "open Copying... 2; step a 0; ask The folder 'new' does not exist.; step b 1; close",
     "a=1 b=2 new/ new/a=1 new/b=2"},
    {"MakeFolderAnsweredNoSkipsEveryPartBoundThere", foCopy, FileOperFlag(flAllowUndo), "", "a=1 b=2", "", "a;b", "new",
     false, "N", -1, true, true, "open Copying... 2; step a 0; ask The folder 'new' does not exist.; step b 1; close",
     "a=1 b=2"},
    {"MakeFolderForASingleFileDestination", foCopy, FileOperFlag(flAllowUndo), "", "a=1", "", "a", "sub\\b", false, "Y",
     -1, true, false, "open Copying... 1; step a 0; ask The folder 'sub' does not exist.; close", "a=1 sub/ sub/b=1"},
    {"NoConfirmationMakesTheFolderUnasked", foCopy, FileOperFlag(flNoConfirmation), "", "a=1", "", "a", "sub\\b", false,
     "", -1, true, false, "open Copying... 1; step a 0; close", "a=1 sub/ sub/b=1"},
    {"SilentShowsNoProgress", foCopy, WithFlag(kDefault, flSilent), "", "a=1 out/a=x", "", "a", "out", false, "Y", -1,
     true, false, "ask 'out\\a' already exists.", "a=1 out/ out/a=1"},
    {"SimpleProgressShowsNoNames", foCopy, WithFlag(kDefault, flSimpleProgress), "", "a=1 b=2", "", "a;b", "out", false,
     "", -1, true, false, "open Copying... 2; step  0; step  1; close", "a=1 b=2 out/ out/a=1 out/b=2"},
    {"ProgressTitleNamesTheWindow", foCopy, kDefault, "Saving the book", "a=1", "", "a", "b", false, "", -1, true,
     false, "open Saving the book 1; step a 0; close", "a=1 b=1"},
    {"CancelInTheProgressWindowStops", foCopy, kDefault, "", "a=1 b=2", "", "a;b", "out", false, "", 1, false, true,
     "open Copying... 2; step a 0; step b 1; close", "a=1 b=2 out/ out/a=1"},
    {"ErrorsAreShown", foCopy, kDefault, "", "", "", "missing", "out", false, "", -1, false, false,
     "open Copying... 1; step missing 0; error Error Copying File or Folder|Cannot copy 'missing': No such file or "
     "directory; close",
     ""},
    {"NoErrorUIShowsNone", foCopy, WithFlag(kDefault, flNoErrorUI), "", "", "", "missing", "out", false, "", -1, false,
     false, "open Copying... 1; step missing 0; close", ""},
    {"MaskMatchingNothingIsAnError", foDelete, kDefault, "", "", "", "*.txt", "", false, "", -1, false, false,
     "error Error Deleting File or Folder|Cannot delete '*.txt': No such file or directory", ""},
    {"MissingFileAmongOthersIsShownAndTheRestDone", foDelete, FileOperFlag(flNoConfirmation), "", "a=1", "", "gone;a",
     "", false, "", -1, false, false,
     "open Deleting... 2; step gone 0; error Error Deleting File or Folder|Cannot delete 'gone': No such file or "
     "directory; step a 1; close",
     ""},
    {"FolderOntoAFolderIsAnErrorNotAQuestion", foCopy, kDefault, "", "d/ d/x=1 out/d/", "", "d", "out", false, "", -1,
     false, false,
     "open Copying... 1; step d 0; error Error Copying File or Folder|Cannot copy 'd': out\\d already exists; "
     "close",
     "d/ d/x=1 out/ out/d/"},
    {"FolderIntoItselfIsAnError", foCopy, kDefault, "", "d/ d/x=1", "", "d", "d\\sub", false, "", -1, false, false,
     "open Copying... 1; step d 0; error Error Copying File or Folder|Cannot copy 'd': The destination folder is "
     "inside the source folder; close",
     "d/ d/x=1"},
    {"NoDestinationIsAnError", foMove, kDefault, "", "a=1", "", "a", "", false, "", -1, false, false,
     "error Error Moving File or Folder|Cannot move: No destination is named", "a=1"},
};
INSTANTIATE_TEST_SUITE_P(Rows, FileOperatorRun, ::testing::ValuesIn(kRuns),
                         [](const auto& row) { return std::string(row.param.name); });

struct TQuestionCase {
    const char* name;
    TFileQuestion question;
    bool toTrash;
    const char* caption;
    const char* text;
};
void PrintTo(const TQuestionCase& c, std::ostream* os) { *os << c.name; }

class FileQuestion : public ::testing::TestWithParam<TQuestionCase> {};

TEST_P(FileQuestion, Reads)
{
    const TFileQuestionText q = FileQuestionText(GetParam().question, "dir\\a.txt", GetParam().toTrash);
    EXPECT_EQ(q.Caption, GetParam().caption);
    EXPECT_EQ(q.Text, GetParam().text);
}

const TQuestionCase kQuestions[] = {
    {"Replace", fqReplace, false, "Confirm File Replace", "'dir\\a.txt' already exists.\n\nDo you want to replace it?"},
    {"ReplaceReadOnly", fqReplaceReadOnly, false, "Confirm File Replace",
     "'dir\\a.txt' is a read-only file.\n\nDo you want to replace it?"},
    {"DeleteToTrash", fqDelete, true, "Confirm Delete", "Are you sure you want to move 'dir\\a.txt' to the trash?"},
    {"DeleteForGood", fqDelete, false, "Confirm Delete", "Are you sure you want to delete 'dir\\a.txt' for good?"},
    {"MakeFolder", fqMakeFolder, false, "Confirm Folder Create",
     "The folder 'dir\\a.txt' does not exist.\n\nDo you want to create it?"},
};
INSTANTIATE_TEST_SUITE_P(Rows, FileQuestion, ::testing::ValuesIn(kQuestions),
                         [](const auto& row) { return std::string(row.param.name); });

// The operator read from its own fields while a handler ran during the progress could have
// freed it: the run keeps its own copy of the request.
TEST(FileOperatorFreed, RegressionAnOperatorFreedDuringItsProgressEndsTheRunSafely)
{
    TempFolder folder;
    TempFolder::Write(folder.File("a"), "1");
    TempFolder::Write(folder.File("b"), "2");
    auto* op = new TExFileOperator(nullptr);
    struct TFreeing : IFileOperatorDialogs {
        TExFileOperator*& op;
        explicit TFreeing(TExFileOperator*& o) : op(o) {}
        TQuestionAnswer Ask(const TFileQuestionText&) override { return qaNo; }
        void OpenProgress(const AnsiString&, int) override {}
        bool StepProgress(const AnsiString&, int) override
        {
            delete op;
            op = nullptr;
            return true;
        }
        bool PollProgress() override { return true; }
        void CloseProgress() override {}
        void ShowError(const AnsiString&, const AnsiString&) override {}
    };
    TFileOperatorDialogsMaker old = SetFileOperatorDialogs([&op] { return std::make_unique<TFreeing>(op); });
    op->Source = "a;b";
    op->Destination = "out";
    EXPECT_TRUE(op->Execute());
    SetFileOperatorDialogs(old);
    EXPECT_EQ(op, nullptr);
    EXPECT_EQ(TempFolder::Read(folder.File("out/a")) + TempFolder::Read(folder.File("out/b")), "12");
}

}  // namespace
