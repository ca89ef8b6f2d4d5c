// The folder browser on Qt's directory dialog, moved through folders by a driver as a person
// would (the dialog's own parent-folder button, a folder gone to) and closed: the order of its
// events, what they see, and what it gives back. A computer is browsed for in an input box.

#include "controls/lib/BrowseFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLayout>

#include <filesystem>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "platform/core/StoredPath.h"
#include "platform/gui/Application.h"
#include "platform/gui/CommonDialogs.h"
#include "platform/gui/FolderBrowser.h"

namespace {

// A step of the driver: "up" the parent-folder button, "ok" / "cancel" closes, anything else a
// folder under the test's root (or a computer's name) to go to.
using TSteps = std::vector<std::string>;

class BrowseFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        root = std::filesystem::temp_directory_path() / ("hm-browse-" + std::to_string(getpid()));
        std::filesystem::create_directories(root / "a" / "b");
        browse.OnInitialized = [this](TObject*) { Log("init", browse.Handle() != nullptr); };
        browse.OnSelChanged = [this](TObject*) {
            Log("sel " + Short(browse.CurrentSelection()), browse.Handle() != nullptr);
        };
    }
    void TearDown() override
    {
        SetFolderBrowserDriver(nullptr);
        std::filesystem::remove_all(root);
    }
    // The folder as a program path.
    AnsiString Stored(const std::string& under) { return StoredPath((root / under).lexically_normal().string()); }
    // A program path shortened to its part under the root ("." for the root).
    std::string Short(const AnsiString& path)
    {
        const AnsiString base = StoredPath(root.string());
        if (path == base)
            return ".";
        if (path.rfind(base + "\\", 0) == 0)
            return path.substr(base.size() + 1);
        return path;
    }
    void Log(const std::string& what, bool windowShown) { log += what + (windowShown ? "" : "(no window)") + "; "; }
    void Drive(const TSteps& steps)
    {
        SetFolderBrowserDriver([this, steps](TFolderBrowser& b) {
            for (const std::string& step : steps) {
                if (step == "up")
                    b.GoToParent();
                else if (step == "ok" || step == "cancel")
                    b.Close(step == "ok");
                else
                    b.SetSelection(browse.BrowseKind == bfComputers ? AnsiString(step) : Stored(step));
                QCoreApplication::processEvents();
            }
        });
    }

    std::filesystem::path root;
    TBrowseFolderDlg browse{nullptr};
    std::string log;
};

struct TBrowseCase {
    const char* name;
    TBrowseKind kind;
    const char* start;  // under the root; a computer's name for computers
    TSteps steps;
    bool result;
    const char* log;
    const char* chosen;  // FolderName afterwards, shortened
};
class BrowseMoves : public BrowseFolderTest, public ::testing::WithParamInterface<TBrowseCase> {};

TEST_P(BrowseMoves, ReportEachChoiceInOrder)
{
    const TBrowseCase& c = GetParam();
    browse.BrowseKind = c.kind;
    browse.FolderName = c.kind == bfComputers ? AnsiString(c.start) : Stored(c.start);
    Drive(c.steps);
    EXPECT_EQ(browse.Execute(), c.result);
    EXPECT_EQ(log, c.log);
    EXPECT_EQ(Short(browse.FolderName), c.chosen);
    EXPECT_EQ(browse.Handle(), nullptr);
}

const TBrowseCase kMoves[] = {
    {"UpTwiceThenIntoAFolder",
     bfFolders,
     "a/b",
     {"up", "up", "a", "ok"},
     true,
     "sel a\\b; init; sel a; sel .; sel a; ",
     "a"},
    {"CancelKeepsTheFolder", bfFolders, "a", {"a/b", "cancel"}, false, "sel a; init; sel a\\b; ", "a"},
    {"GoingWhereItIsReportsNothing", bfFolders, "a", {"a", "ok"}, true, "sel a; init; ", "a"},
    {"ComputerNameAsTyped",
     bfComputers,
     "old",
     {"mud.example.org", "ok"},
     true,
     "sel old; init; sel mud.example.org; ",
     "mud.example.org"},
};
INSTANTIATE_TEST_SUITE_P(Rows, BrowseMoves, ::testing::ValuesIn(kMoves),
                         [](const auto& row) { return std::string(row.param.name); });

struct THelpCase {
    const char* name;
    TBrowseKind kind;
    int context;
};
class BrowseHelp : public BrowseFolderTest, public ::testing::WithParamInterface<THelpCase> {};

// With a help context the dialog has a Help button among its others, clear of them; pressing it
// asks the application for that context and leaves the dialog open. Without one there is none.
TEST_P(BrowseHelp, RegressionHelpButtonAsksTheApplicationForTheContext)
{
    const THelpCase& c = GetParam();
    std::vector<int> asked;
    Application->OnHelp = [&asked](int context) { asked.push_back(context); };
    browse.BrowseKind = c.kind;
    browse.HelpContext = c.context;
    browse.FolderName = c.kind == bfComputers ? AnsiString("host") : Stored("a");
    bool clicked = false, openAfterHelp = false, helpShown = false;
    SetFolderBrowserDriver([&](TFolderBrowser& b) {
        clicked = b.ClickHelp();
        QCoreApplication::processEvents();
        if (auto* box = b.Window()->findChild<QDialogButtonBox*>()) {
            box->layout()->activate();
            QAbstractButton* help = nullptr;
            for (QAbstractButton* button : box->buttons())
                if (box->buttonRole(button) == QDialogButtonBox::HelpRole)
                    help = button;
            helpShown = help && help->isVisible() && help->text() == "&Help";
            for (QAbstractButton* button : box->buttons())
                helpShown = helpShown && (button == help || !button->geometry().intersects(help->geometry()));
        }
        openAfterHelp = b.Close(false);
    });
    EXPECT_FALSE(browse.Execute());
    Application->OnHelp = nullptr;
    const bool shown = c.context != 0;
    EXPECT_EQ(clicked, shown);
    EXPECT_EQ(helpShown, shown);
    EXPECT_TRUE(openAfterHelp);
    EXPECT_EQ(asked, shown ? std::vector<int>{c.context} : std::vector<int>{});
}

const THelpCase kHelp[] = {
    {"FolderWithAContext", bfFolders, 42}, {"FolderWithout", bfFolders, 0}, {"ComputerWithAContext", bfComputers, 7}};
INSTANTIATE_TEST_SUITE_P(Rows, BrowseHelp, ::testing::ValuesIn(kHelp),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(BrowseFolderTest, AFolderThatIsNotThereOpensAtTheRoot)
{
    browse.DesktopRoot = false;
    browse.FolderName = Stored("missing");
    Drive({"cancel"});
    EXPECT_FALSE(browse.Execute());
    EXPECT_EQ(log, "sel \\; init; ");
}

TEST_F(BrowseFolderTest, AnsweredByTheHookItReportsTheStartAndTheAnswerWithoutAWindow)
{
    const TDialogHook old = SetDialogHook([this](const TDialogRequest&) -> std::optional<std::string> {
        log += "hook; ";
        return (root / "a" / "b").string() + "/";
    });
    browse.FolderName = Stored("a");
    EXPECT_TRUE(browse.Execute());
    SetDialogHook(old);
    EXPECT_EQ(log, "sel a(no window); init(no window); hook; sel a\\b(no window); ");
    EXPECT_EQ(Short(browse.FolderName), "a\\b");
    EXPECT_GE(browse.SelectedImage(), 0);
}

}  // namespace
