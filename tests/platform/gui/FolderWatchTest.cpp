// The watch of the font folders: one not made yet is waited for from its parent, where only its
// coming into being counts, then watched itself; one that goes is waited for again. Each step is
// done to real folders and counts once or not at all. After a step that does not count, a folder
// made in the probe (a second folder of the list) counts: the window system reports events in
// order, so a step that wrongly counted shows as one change too many when the probe's is seen.

#include "platform/gui/FolderWatch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "GuiTestSupport.h"
#include "tests/TempName.h"

namespace {

namespace fs = std::filesystem;

// The scratch folder: share/ (whose fonts/ is watched; neither is made yet), stage/ and probe/.
struct TWatchFolders {
    fs::path share, stage, probe;
};

// A file written beside its name and renamed over it, as programs save their files.
void Rewrite(const fs::path& file, const std::string& text)
{
    const fs::path staged = file.parent_path() / (file.filename().string() + ".tmp");
    std::ofstream(staged) << text;
    fs::rename(staged, file);
}

// A font written elsewhere and renamed into the folder, as font installers do: one event there.
void Install(const TWatchFolders& f, const std::string& name)
{
    std::ofstream(f.stage / name) << "font";
    fs::rename(f.stage / name, f.share / "fonts" / name);
}

struct TWatchStep {
    const char* name;
    std::function<void(const TWatchFolders&)> act;
    bool counts;
};

const TWatchStep kSteps[] = {
    {"ThePathDownToItIsMade", [](const TWatchFolders& f) { fs::create_directory(f.share); }, false},
    {"AnotherProgramRewritesAFileInTheParent",
     [](const TWatchFolders& f) { Rewrite(f.share / "recently-used.xbel", "<xbel/>"); }, false},
    {"AnotherFolderIsMadeInTheParent", [](const TWatchFolders& f) { fs::create_directory(f.share / "applications"); },
     false},
    {"TheFontFolderIsMade", [](const TWatchFolders& f) { fs::create_directory(f.share / "fonts"); }, true},
    {"AFontIsInstalledInIt", [](const TWatchFolders& f) { Install(f, "a.ttf"); }, true},
    {"TheFontIsRemoved", [](const TWatchFolders& f) { fs::remove(f.share / "fonts" / "a.ttf"); }, true},
    {"TheEmptyFontFolderIsRemoved", [](const TWatchFolders& f) { fs::remove(f.share / "fonts"); }, true},
    {"TheParentChangesWhileItIsWaitedForAgain",
     [](const TWatchFolders& f) { Rewrite(f.share / "recently-used.xbel", "<y/>"); }, false},
    {"ItIsMadeAgain", [](const TWatchFolders& f) { fs::create_directory(f.share / "fonts"); }, true},
    {"AFontIsInstalledInItAgain", [](const TWatchFolders& f) { Install(f, "b.ttf"); }, true},
};

TEST(FolderWatch, RegressionEveryChangeInTheParentOfAMissingFolderCounted)
{
    TestApplication();
    TScratchFolder scratch("folder-watch");
    ASSERT_FALSE(scratch.Path().empty());
    const fs::path root = scratch.Path();
    const TWatchFolders f{root / "share", root / "stage", root / "probe"};
    for (const fs::path& folder : {f.stage, f.probe})
        fs::create_directory(folder);
    const QString fonts = QString::fromStdString((f.share / "fonts").string());
    const QString probe = QString::fromStdString(f.probe.string());
    int changes = 0;
    TFolderWatch watch([&changes] { ++changes; });
    watch.SetFolders({fonts, probe});
    EXPECT_TRUE(watch.Watched().contains(QString::fromStdString(root.string())));

    int expected = 0, probes = 0;
    for (const TWatchStep& step : kSteps) {
        SCOPED_TRACE(step.name);
        step.act(f);
        if (!step.counts)
            fs::create_directory(f.probe / std::to_string(++probes));
        ++expected;
        ASSERT_TRUE(WaitUntil([&] { return changes >= expected; }, "the change"));
        EXPECT_EQ(changes, expected);
        expected = changes;
    }
    EXPECT_TRUE(watch.Watched().contains(fonts));
    EXPECT_FALSE(watch.Watched().contains(QString::fromStdString(f.share.string())));
}

}  // namespace
