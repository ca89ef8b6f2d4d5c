// The file and directory edits with their dialogs answered through the dialog hook: names
// written back quoted, dropped files, several directories, and the dialog events.

#include "controls/lib/FileDirEdit.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "GuiTestSupport.h"
#include "platform/core/FilePaths.h"
#include "platform/core/StoredPath.h"
#include "platform/core/StringList.h"
#include "platform/gui/SyntheticInput.h"

namespace {

class FileEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        oldHook = SetDialogHook([this](const TDialogRequest& r) -> std::optional<std::string> {
            log += std::string(DialogKindName(r.Kind)) + " ";
            if (answer.empty())
                return std::nullopt;
            return answer;
        });
        form = std::make_unique<TForm>(nullptr);
        file = Place<TFilenameEdit>(*form, 10, 10, 200, 21);
        dir = Place<TDirectoryEdit>(*form, 10, 40, 200, 21);
        folder = std::filesystem::temp_directory_path() / ("hm-filedir-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder / "with blank");
        std::filesystem::create_directories(folder / "b");
    }
    void TearDown() override
    {
        form.reset();
        SetDialogHook(oldHook);
        std::filesystem::remove_all(folder);
    }

    TDialogHook oldHook;
    std::string answer, log;
    std::unique_ptr<TForm> form;
    TFilenameEdit* file = nullptr;
    TDirectoryEdit* dir = nullptr;
    std::filesystem::path folder;
};

TEST_F(FileEditTest, AChosenNameWithABlankIsWrittenQuoted)
{
    answer = (folder / "with blank" / "a.txt").string();
    file->OnAfterDialog = [this](TObject*, AnsiString&, bool& action) { log += action ? "after " : "cancel "; };
    file->DoClick();
    EXPECT_EQ(log, "open after ");
    EXPECT_EQ(file->Text().front(), '"');
    EXPECT_NE(file->Text().find("with blank"), AnsiString::npos);
    EXPECT_TRUE(file->Modified());
}

TEST_F(FileEditTest, BeforeDialogMayStopTheDialog)
{
    file->OnBeforeDialog = [](TObject*, AnsiString&, bool& action) { action = false; };
    file->DoClick();
    EXPECT_EQ(log, "");
}

TEST_F(FileEditTest, ACancelledDialogChangesNothing)
{
    file->SetText("keep");
    file->DoClick();
    EXPECT_EQ(file->Text(), "keep");
}

TEST_F(FileEditTest, ThreeDroppedFilesWithoutMultiSelectTakeTheFirst)
{
    TStringList names;
    names.SetText("one.txt\r\ntwo.txt\r\nthree.txt");
    int drops = 0;
    file->OnDropFiles = [&](TObject*) { ++drops; };
    file->DropFiles(&names);
    EXPECT_EQ(file->Text(), "one.txt");
    file->SetDialogOptions(ofAllowMultiSelect);
    file->DropFiles(&names);
    EXPECT_EQ(file->DialogFiles()->Count(), 3);
    EXPECT_EQ(file->Text(), "one.txt");
    EXPECT_EQ(drops, 2);
}

// Drags from another program through the window system's path: files reach OnDropFiles, or
// are refused whole without AcceptFiles (their address never typed into the text); a drag of
// plain text is typed as into any edit.
struct TDropCase {
    const char* name;
    bool directory, acceptFiles, withFiles;
    int effect;
    const char* text;  // after the drop: "<file>", "<folder>" or the text itself
    int drops;
};
class FileDrop : public FileEditTest, public ::testing::WithParamInterface<TDropCase> {};

TEST_P(FileDrop, FromAnotherProgram)
{
    const TDropCase& c = GetParam();
    const std::filesystem::path dropped = folder / "b" / "x.txt";
    std::ofstream(dropped) << "x";
    TFileDirEdit* edit = c.directory ? static_cast<TFileDirEdit*>(dir) : file;
    edit->SetText("kept");
    edit->SetAcceptFiles(c.acceptFiles);
    int drops = 0;
    edit->OnDropFiles = [&](TObject*) { ++drops; };
    TDragData data;
    data.HasText = true;
    data.Text = "typed";
    if (c.withFiles) {
        data.Text = "file://" + dropped.string();
        data.Files.push_back(StoredPath(dropped.string()));
    }
    EXPECT_EQ(SendDropInput(edit, data, TShiftState(), 20, 5), c.effect);
    const std::string text = c.text;
    const AnsiString expected = text == "<file>" ? StoredPath(dropped.string())
        : text == "<folder>"                     ? ExtractFilePath(StoredPath(dropped.string()))
                                                 : AnsiString(text);
    EXPECT_EQ(edit->Text(), expected);
    EXPECT_EQ(drops, c.drops);
}

const TDropCase kDrops[] = {
    {"FileReachesOnDropFiles", false, true, true, DROPEFFECT_COPY, "<file>", 1},
    {"FileGivesTheDirectoryEditItsFolder", true, true, true, DROPEFFECT_COPY, "<folder>", 1},
    {"RegressionFileIsRefusedWithoutAcceptFiles", false, false, true, DROPEFFECT_NONE, "kept", 0},
    {"RegressionFileIsRefusedByADirectoryEditWithoutAcceptFiles", true, false, true, DROPEFFECT_NONE, "kept", 0},
    {"PlainTextIsTypedAsIntoAnyEdit", false, true, false, DROPEFFECT_COPY, "typedkept", 0},
};
INSTANTIATE_TEST_SUITE_P(Rows, FileDrop, ::testing::ValuesIn(kDrops),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(FileEditTest, DroppedNamesAreNotCutAt255)
{
    TStringList names;
    const AnsiString longName = AnsiString(300, 'n') + ".txt";
    names.Add(longName);
    file->DropFiles(&names);
    EXPECT_EQ(file->Text(), longName);
}

TEST_F(FileEditTest, AnInvalidNameRaisesTheEditsError)
{
    EXPECT_THROW(file->SetFileName("a|b"), EComboEditError);
    EXPECT_NO_THROW(file->SetFileName(""));
}

TEST_F(FileEditTest, ChangingTheDialogKindKeepsItsSettings)
{
    file->Dialog()->Filter = "Text|*.txt";
    file->Dialog()->Title = "Pick";
    file->Dialog()->FileEditStyle = fsComboBox;
    file->Dialog()->HistoryList()->Add("a.txt");
    file->SetDialogKind(dkSave);
    EXPECT_EQ(file->Dialog()->Filter, "Text|*.txt");
    EXPECT_EQ(file->Dialog()->Title, "Pick");
    EXPECT_EQ(file->Dialog()->FileEditStyle, fsComboBox);
    EXPECT_EQ(file->Dialog()->HistoryList()->Text(), "a.txt\r\n");
    answer = (folder / "b" / "x.txt").string();
    file->DoClick();
    EXPECT_EQ(log, "save ");
}

TEST_F(FileEditTest, ASecondDirectoryReplacesTheSelectionOrIsAppended)
{
    dir->SetMultipleDirs(true);
    dir->SetText("first");
    dir->SetSelStart(0);
    dir->SetSelLength(5);
    answer = (folder / "b").string();
    dir->DoClick();
    const AnsiString chosen = dir->Text();
    EXPECT_EQ(chosen.find(';'), AnsiString::npos);
    dir->SetSelStart(static_cast<int>(chosen.size()));
    dir->DoClick();
    EXPECT_EQ(dir->Text(), chosen + ";" + chosen);
    EXPECT_EQ(log, "dir dir ");
}

}  // namespace
