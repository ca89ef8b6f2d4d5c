// The file and directory edits with their dialogs answered through the dialog hook: names
// written back quoted, dropped files, several directories, and the dialog events.

#include "controls/lib/FileDirEdit.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "GuiTestSupport.h"
#include "platform/core/StringList.h"

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
    file->SetDialogKind(dkSave);
    EXPECT_EQ(file->Dialog()->Filter, "Text|*.txt");
    EXPECT_EQ(file->Dialog()->Title, "Pick");
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
