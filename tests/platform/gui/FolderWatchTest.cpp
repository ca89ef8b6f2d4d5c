// The watch of the font folders: a folder that does not exist yet is waited for from its parent,
// where only its coming into being counts, then watched itself; a folder of the list that goes is
// waited for again. Each step of a table is done to real folders and must count exactly once or
// not at all. A second folder of the list, the probe, gets a folder made in it after each step
// that does not count, and that counts: the window system reports a watch's events in order and
// one report a batch per folder, so a step that wrongly counted shows as one change too many by
// the time the probe's is seen. Every step that counts makes one event only.

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

// The scratch folder: share/ (whose fonts/ is watched), stage/ and probe/.
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
    {"AnotherProgramRewritesAFileInTheParent",
     [](const TWatchFolders& f) { Rewrite(f.share / "recently-used.xbel", "<xbel/>"); }, false},
    {"AnotherFolderIsMadeInTheParent", [](const TWatchFolders& f) { fs::create_directory(f.share / "applications"); },
     false},
    {"TheFontFolderIsMade", [](const TWatchFolders& f) { fs::create_directory(f.share / "fonts"); }, true},
    {"TheParentChangesAgain", [](const TWatchFolders& f) { Rewrite(f.share / "recently-used.xbel", "<x/>"); }, false},
    {"AFontIsInstalledInIt", [](const TWatchFolders& f) { Install(f, "a.ttf"); }, true},
    {"AFileIsMadeInAnotherFolderOfTheParent",
     [](const TWatchFolders& f) { Rewrite(f.share / "applications" / "x.desktop", "x"); }, false},
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
    for (const fs::path& folder : {f.share, f.stage, f.probe})
        fs::create_directory(folder);
    const QString fonts = QString::fromStdString((f.share / "fonts").string());
    const QString probe = QString::fromStdString(f.probe.string());
    int changes = 0;
    TFolderWatch watch([&changes] { ++changes; });
    watch.SetFolders({fonts, probe});
    EXPECT_EQ(watch.Watched().size(), 2);
    EXPECT_TRUE(watch.Watched().contains(QString::fromStdString(f.share.string())));

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

// A font folder two levels below what exists: the watch goes down as the way is made, and only
// the font folder's coming counts.
TEST(FolderWatch, FollowsTheWayDownToAFolderNotMadeYet)
{
    TestApplication();
    TScratchFolder scratch("folder-watch");
    ASSERT_FALSE(scratch.Path().empty());
    const fs::path home = scratch.Path();
    const fs::path fonts = home / "local" / "share" / "fonts";
    int changes = 0;
    TFolderWatch watch([&changes] { ++changes; });
    watch.SetFolders({QString::fromStdString(fonts.string())});
    ASSERT_EQ(watch.Watched(), QStringList{QString::fromStdString(home.string())});

    fs::create_directory(home / "local");
    const QString local = QString::fromStdString((home / "local").string());
    ASSERT_TRUE(WaitUntil([&] { return watch.Watched() == QStringList{local}; }, "the watch one level down"));
    EXPECT_EQ(changes, 0);
    fs::create_directories(fonts);
    ASSERT_TRUE(WaitUntil([&] { return changes >= 1; }, "the font folder's coming"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(watch.Watched(), QStringList{QString::fromStdString(fonts.string())});
}

}  // namespace
