// Common dialogs through their hook: what each asks, and what it makes of the answer.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "platform/core/FileSystem.h"
#include "platform/gui/CommonDialogs.h"
#include "platform/gui/FileFilter.h"
#include "tests/platform/core/TempFolder.h"

namespace {

struct TFilterRow {
    const char* Name;
    const char* Filter;
    std::vector<std::string> QtFilters;
};

const TFilterRow kFilterRows[] = {
    {"WalkFilesCaseFoldedAndEveryFile",
     "Walk files (*.Wlk)|*.Wlk|All files (*.*)|*.*",
     {"Walk files (*.Wlk) (*.[Ww][Ll][Kk])", "All files (*.*) (*)"}},
    {"SeveralPatternsOfOneName", "Pictures|*.bmp;*.ico", {"Pictures (*.[Bb][Mm][Pp] *.[Ii][Cc][Oo])"}},
    {"OddTrailingNameIgnored", "Cmd files|*.Cmd|Broken", {"Cmd files (*.[Cc][Mm][Dd])"}},
    {"HangulNameConverted", "\xC6\xC4\xC0\xCF|*.txt", {"\xED\x8C\x8C\xEC\x9D\xBC (*.[Tt][Xx][Tt])"}},  // 파일
    {"EmptyFilter", "", {}},
};

class FileFilterTable : public ::testing::TestWithParam<TFilterRow> {};

TEST_P(FileFilterTable, QtNameFilters)
{
    std::vector<std::string> got;
    for (const TFileFilter& f : ParseFileFilter(GetParam().Filter))
        got.push_back(QtNameFilter(f));
    EXPECT_EQ(got, GetParam().QtFilters);
}

INSTANTIATE_TEST_SUITE_P(Rows, FileFilterTable, ::testing::ValuesIn(kFilterRows),
                         [](const auto& row) { return std::string(row.param.Name); });

// Answers every dialog from a list and keeps what each asked.
class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldDialog = SetDialogHook([this](const TDialogRequest& r) -> std::optional<std::string> {
            asked.push_back(std::string(DialogKindName(r.Kind)) + "|" + r.Title + "|" + r.Prompt + "|" + r.Initial);
            levels.push_back(ModalDialogLevel());
            if (r.Kind == cdOpen || r.Kind == cdSave)
                startFolders.push_back(static_cast<const TFileDialogRequest&>(r).Folder);
            if (answers.empty())
                return std::nullopt;
            std::string a = answers.front();
            answers.erase(answers.begin());
            return a;
        });
        oldBox = SetMessageBoxHook([this](const AnsiString& text, const AnsiString& caption, unsigned flags) {
            boxes.push_back(caption + ":" + std::to_string(flags));
            boxTexts.push_back(text);
            if (boxAnswers.empty())
                return boxAnswer;
            const int answer = boxAnswers.front();
            boxAnswers.erase(boxAnswers.begin());
            return answer;
        });
    }
    void TearDown() override
    {
        SetDialogHook(oldDialog);
        SetMessageBoxHook(oldBox);
    }
    TempFolder folder;
    std::vector<std::string> answers, asked, boxes, boxTexts, startFolders;
    std::vector<int> levels, boxAnswers;  // boxAnswer once these are used
    int boxAnswer = IDYES;
    TDialogHook oldDialog;
    TMessageBoxHook oldBox;
};

}  // namespace

TEST_F(DialogsTest, FileNamesComeBackAsProgramPathsWithTheDefaultExtension)
{
    TSaveDialog save(nullptr);
    save.Title = "\xBB\xF5 Walk";
    save.DefaultExt = "Wlk";
    save.Options |= ofNoChangeDir;
    answers = {folder.File("Cmd/route")};
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName, "Cmd\\route.Wlk");
    EXPECT_EQ(asked, (std::vector<std::string>{"save|\xBB\xF5 Walk||"}));
    EXPECT_EQ(levels, (std::vector<int>{1}));
    EXPECT_EQ(ModalDialogLevel(), 0);
    answers = {};
    EXPECT_FALSE(save.Execute());  // Cancel keeps the name
    EXPECT_EQ(save.FileName, "Cmd\\route.Wlk");
}

TEST_F(DialogsTest, OverwriteAndCreatePromptsAskTheBox)
{
    TempFolder::Write(folder.File("old.Cmd"), "x");
    TSaveDialog save(nullptr);
    save.Options = ofOverwritePrompt | ofNoChangeDir;
    answers = {folder.File("old.Cmd")};
    boxAnswer = IDNO;
    EXPECT_FALSE(save.Execute());
    TOpenDialog open(nullptr);
    open.Options = ofCreatePrompt | ofNoChangeDir;
    answers = {folder.File("new.Wlk")};
    boxAnswer = IDYES;
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, "new.Wlk");
    EXPECT_EQ(boxes.size(), 2u);
}

// "No" at a question about the chosen file goes back to the dialog at that file, and the
// question names the file as the system does (UTF-8, slashes), not as the program stores it.
struct TPromptRow {
    const char* Name;
    TOpenOptions Options;
    bool Exists;
    const char* Question;
};
class RegressionNoAtAFileQuestion : public DialogsTest, public ::testing::WithParamInterface<TPromptRow> {};

TEST_P(RegressionNoAtAFileQuestion, ReturnsToTheDialogAtThatFile)
{
    const std::string file = folder.File("Cmd/\xED\x95\x9C.Cmd");  // 한.Cmd
    std::filesystem::create_directories(folder.File("Cmd"));
    if (GetParam().Exists)
        TempFolder::Write(file, "x");
    TSaveDialog save(nullptr);
    save.Title = "t";
    save.InitialDir = "Cmd";
    save.Options = GetParam().Options;
    answers = {file, file};
    boxAnswers = {IDNO, IDYES};
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName, "Cmd\\\xC7\xD1.Cmd");
    EXPECT_EQ(asked, (std::vector<std::string>{"save|t||", "save|t||Cmd\\\xC7\xD1.Cmd"}));
    EXPECT_EQ(startFolders, (std::vector<std::string>{"Cmd", "Cmd"}));
    const std::string question = "/Cmd/\xC7\xD1.Cmd" + std::string(GetParam().Question);
    EXPECT_EQ(boxTexts, (std::vector<std::string>{folder.Path() + question, folder.Path() + question}));
}

// Asked in Korean, as everything else the player reads.
const TPromptRow kPromptRows[] = {
    // "파일이 없습니다." "만드시겠습니까?"
    {"CreatePrompt", ofCreatePrompt | ofNoChangeDir, false,
     "\n\xC6\xC4\xC0\xCF\xC0\xCC "
     "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.\n\xB8\xB8\xB5\xE5\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?"},
    // "파일이 이미 있습니다." "바꾸시겠습니까?"
    {"OverwritePrompt", ofOverwritePrompt | ofNoChangeDir, true,
     " \xC6\xC4\xC0\xCF\xC0\xCC \xC0\xCC\xB9\xCC "
     "\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.\n\xB9\xD9\xB2\xD9\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?"},
};
INSTANTIATE_TEST_SUITE_P(Questions, RegressionNoAtAFileQuestion, ::testing::ValuesIn(kPromptRows),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST_F(DialogsTest, MultiSelectFillsFiles)
{
    TOpenDialog open(nullptr);
    open.Options |= ofAllowMultiSelect | ofNoChangeDir;
    answers = {folder.File("a.txt") + "\n" + folder.File("b c.txt")};
    ASSERT_TRUE(open.Execute());
    ASSERT_EQ(open.Files()->Count(), 2);
    EXPECT_EQ(open.Files()->Strings(1), "b c.txt");
    EXPECT_EQ(open.FileName, "a.txt");
}

TEST_F(DialogsTest, InputColourFontAndFolderAnswers)
{
    AnsiString value = "1";
    answers = {"\xC7\xD1"};
    EXPECT_TRUE(InputQuery("Walk", "\xC0\xCC\xB5\xBF", value));
    EXPECT_EQ(value, "\xC7\xD1");
    EXPECT_EQ(InputBox("c", "p", "keep"), "keep");  // cancelled
    TColorDialog color(nullptr);
    answers = {"clRed"};
    ASSERT_TRUE(color.Execute());
    EXPECT_EQ(color.Color, clRed);
    TFontDialog font(nullptr);
    answers = {"DejaVu Sans Mono,12"};
    ASSERT_TRUE(font.Execute());
    EXPECT_EQ(font.Font()->Name(), "DejaVu Sans Mono");
    EXPECT_EQ(font.Font()->Size(), 12);
    AnsiString dir;
    answers = {folder.File("made/here")};
    EXPECT_TRUE(SelectDirectory(dir, sdAllowCreate | sdPerformCreate, 0));
    EXPECT_EQ(dir, "made\\here");
    EXPECT_TRUE(DirectoryExists(dir));
    answers = {folder.File("refused")};
    EXPECT_FALSE(SelectDirectory(dir, 0, 0));  // a missing folder needs sdAllowCreate
    EXPECT_EQ(asked[0], "input|Walk|\xC0\xCC\xB5\xBF|1");
    EXPECT_EQ(asked[2], "color|||clBlack");
}

TEST_F(DialogsTest, MessageDlgCaptionsByTypeAndAnswersAsModalResults)
{
    boxAnswer = IDNO;
    EXPECT_EQ(MessageDlg("?", mtConfirmation, mbYes | mbNo, 0), mrNo);
    EXPECT_EQ(MessageDlg("!", mtError, mbOK, 0), mrNo);
    EXPECT_EQ(boxes,
              (std::vector<std::string>{"Confirm:" + std::to_string(MB_YESNO | MB_ICONQUESTION),
                                        "Error:" + std::to_string(MB_OK | MB_ICONERROR)}));
}
