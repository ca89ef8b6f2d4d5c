// A font box shown while a font is installed and removed again lists the font and drops it, as
// the system's word that the fonts changed makes it read them anew. The case runs in a program
// of its own (this one, started again) whose fontconfig reads only a folder the case owns:
// fontconfig takes its settings once, when a process first uses it.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "controls/lib/ExCombos.h"
#include "tests/TempName.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A font of fonts-dejavu-core; the folder's settings give its copy named installed.ttf a family
// name no installed font has.
const char* const kSourceFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kInstalledFamily = "HanmudInstalledFace";
const char* const kFolderVariable = "HM_FONT_INSTALL_FOLDER";

std::string Settings(const std::string& folder)
{
    return "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n<dir>" + folder +
        "/fonts</dir>\n<cachedir>" + folder +
        "/cache</cachedir>\n<match target=\"scan\"><test name=\"file\" compare=\"contains\"><string>/installed.ttf</"
        "string></test><edit name=\"family\" mode=\"assign\" binding=\"same\"><string>" +
        kInstalledFamily + "</string></edit></match>\n</fontconfig>\n";
}

// Installs the font as a package manager does: written beside the folder, then renamed into it.
void Install(const std::string& folder)
{
    const fs::path staged = fs::path(folder) / "staging" / "installed.ttf";
    fs::copy_file(kSourceFont, staged, fs::copy_options::overwrite_existing);
    fs::rename(staged, fs::path(folder) / "fonts" / "installed.ttf");
}

// The case itself, in the started program.
void ListsAndDropsTheInstalledFont(const std::string& folder)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 100);
    auto* box = Place<TFontComboBox>(form, 10, 10, 200, 21);
    int changes = 0;
    box->OnChange = [&changes](TObject*) { ++changes; };
    form.Show();
    box->SetFontName("DejaVu Sans");
    ASSERT_EQ(box->GetFontName(), "DejaVu Sans");
    ASSERT_LT(box->Items()->IndexOf(kInstalledFamily), 0);
    changes = 0;

    Install(folder);
    ASSERT_TRUE(WaitUntil([&] { return box->Items()->IndexOf(kInstalledFamily) >= 0; }, "the installed font listed"));
    // The font shown stays chosen, so nothing changed for the box's user.
    EXPECT_EQ(box->GetFontName(), "DejaVu Sans");
    EXPECT_EQ(changes, 0);

    box->SetFontName(kInstalledFamily);
    ASSERT_EQ(box->GetFontName(), kInstalledFamily);
    changes = 0;
    fs::remove(fs::path(folder) / "fonts" / "installed.ttf");
    ASSERT_TRUE(WaitUntil([&] { return box->Items()->IndexOf(kInstalledFamily) < 0; }, "the removed font dropped"));
    // The chosen font is gone: the box has none chosen now, and says so once.
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(changes, 1);
}

// Runs this program again on this case alone with fontconfig reading the folder's settings;
// its exit status, its output in `output`.
int RunAgain(const std::string& folder, const std::string& output)
{
    std::vector<std::string> vars;
    for (char** e = environ; *e; ++e) {
        const std::string var = *e;
        if (var.rfind("FONTCONFIG_", 0) != 0 && var.rfind(kFolderVariable, 0) != 0)
            vars.push_back(var);
    }
    vars.push_back("FONTCONFIG_FILE=" + folder + "/fonts.conf");
    vars.push_back(std::string(kFolderVariable) + "=" + folder);
    std::vector<char*> envp;
    for (std::string& v : vars)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    const ::testing::TestInfo* self = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string filter = std::string("--gtest_filter=") + self->test_suite_name() + "." + self->name();
    std::string program = "/proc/self/exe";
    char* argv[] = {program.data(), filter.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

TEST(FontInstall, AFontInstalledWhileTheBoxIsShownIsListedAndDroppedWhenRemoved)
{
    if (const char* folder = std::getenv(kFolderVariable)) {
        ListsAndDropsTheInstalledFont(folder);
        return;
    }
    ASSERT_TRUE(fs::exists(kSourceFont)) << kSourceFont << " is missing: scripts/setup.sh installs it";
    TScratchFolder scratch("font-install");
    ASSERT_FALSE(scratch.Path().empty());
    for (const char* sub : {"fonts", "cache", "staging"})
        fs::create_directory(fs::path(scratch.Path()) / sub);
    // One font from the start, under its own name.
    fs::copy_file(kSourceFont, fs::path(scratch.Path()) / "fonts" / "before.ttf");
    std::ofstream(scratch.File("fonts.conf")) << Settings(scratch.Path());
    const std::string output = scratch.File("output.txt");
    const int status = RunAgain(scratch.Path(), output);
    std::ifstream in(output);
    const std::string said((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(status, 0) << said;
}

}  // namespace
