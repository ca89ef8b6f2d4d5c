// What reading command files, start-up texts and walk files costs: the most memory an operation
// holds at once (counted by the new and delete of this program, CountedAllocation.h) and the bytes it
// reads, each bounded by what the files hold. Empty files are sparse, so they cost nothing to make.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "CountedAllocation.h"
#include "script/CmdFile.h"
#include "script/RecordingHost.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"
#include "script/Walk.h"
#include "tests/TempName.h"

namespace {

constexpr int64_t kMiB = int64_t{1} << 20;
const std::string kTwoMiB(size_t{2} << 20, 'x');

// Bytes this process has read from files so far.
uint64_t BytesRead()
{
    std::ifstream io("/proc/self/io");
    for (std::string line; std::getline(io, line);)
        if (line.rfind("rchar:", 0) == 0)
            return std::stoull(line.substr(6));
    ADD_FAILURE() << "no rchar in /proc/self/io";
    return 0;
}

// A window whose start-up command "reload" loads its command file again.
struct TCostWorld : TRecordingHost {
    TCostWorld()
    {
        Folder = Dir.Path();
        std::filesystem::create_directory(Dir.File("Cmd"));
    }
    void SendText(const AnsiString& text) override
    {
        if (text != "reload")
            return;
        ++Loads;
        State.LoadCmdFile(Path);
    }
    void File(const std::string& name, const std::string& bytes, uintmax_t size = 0)
    {
        Path = Dir.File(name);
        std::ofstream(Path, std::ios::binary) << bytes;
        if (size)
            std::filesystem::resize_file(Path, size);  // sparse
    }
    void SelfLoading(const std::string& startUp, const std::string& alias)
    {
        File("Self.Cmd",
             "#Config\r\nStartUpCmd " + std::to_string(startUp.size()) + " " + startUp +
                 "\r\nEnd\r\n#Alias\r\nName 1 a\r\nText " + std::to_string(alias.size()) + " " + alias +
                 "\r\nEnd\r\n#END\r\n");
    }

    TScratchFolder Dir{"script-cost"};
    TScriptState State{*this};
    std::string Path;
    int Loads = 0;
};

struct TCostRow {
    const char* Name;
    std::function<void(TCostWorld&)> Prepare, Run;  // Run is counted, and checks what it did
    int64_t MaxHeld;                                // above what was held before
    uint64_t MaxRead;
};

const TCostRow kCostRows[] = {
    // Each of the 64 levels kept its file, and its start-up text as a list of lines.
    {"RegressionAFileThatLoadsItselfKeptItsTextAtEveryLevel", [](TCostWorld& w) { w.SelfLoading("reload", kTwoMiB); },
     [](TCostWorld& w) {
         w.State.LoadCmdFile(w.Path);
         EXPECT_EQ(w.Loads, TScriptState::MaxNesting);
         EXPECT_EQ(w.State.AliasList[0]->Text, kTwoMiB);
     },
     3 * 2 * kMiB, ~uint64_t{0}},
    {"RegressionAFileThatLoadsItselfKeptItsStartUpTextAtEveryLevel",
     [](TCostWorld& w) { w.SelfLoading("reload\r\n" + std::string(2 << 20, '\n'), "x"); },
     [](TCostWorld& w) {
         w.State.LoadCmdFile(w.Path);
         EXPECT_EQ(w.Messages(), ScriptText::NestingTooDeep);
     },
     3 * 2 * kMiB, ~uint64_t{0}},
    // The text, a list of its lines and a copy of the list.
    {"RegressionAWalkOfLineEndsWasHeldTwiceAsLines", [](TCostWorld& w) { w.File("Cmd/W", std::string(1 << 20, '\n')); },
     [](TCostWorld& w) {
         OpenWalk(w.State, "W");
         EXPECT_EQ(w.State.WalkRec.Steps.size(), size_t{1} << 20);
     },
     (int64_t{1} << 20) * static_cast<int64_t>(sizeof(AnsiString)) + 3 * kMiB, ~uint64_t{0}},
    {"WalkFileLargerThanAWalkMayBeIsNotRead", [](TCostWorld& w) { w.File("Cmd/W", "n", MaxWalkFileBytes + 1); },
     [](TCostWorld& w) {
         OpenWalk(w.State, "W");
         EXPECT_EQ(w.State.WalkRec.State, 0);
     },
     kMiB, kMiB},
    // Read whole, a gigabyte, before its first byte was refused.
    {"RegressionACommandFileLargerThanAnyWasReadWhole", [](TCostWorld& w) { w.File("C", "#END", uintmax_t{1} << 30); },
     [](TCostWorld& w) {
         EXPECT_FALSE(w.State.LoadCmdFile(w.Path));
         EXPECT_FALSE(w.State.SaveCmdFile(w.Path));  // nor written over: it cannot be kept first
         EXPECT_EQ(std::filesystem::file_size(w.Path), uintmax_t{1} << 30);
         EXPECT_EQ(w.Count(TScriptEvent::MessageBox), 2);
     },
     kMiB, kMiB},
    {"CommandFileIsRefusedAtItsFirstWrongByte", [](TCostWorld& w) { w.File("C", "", MaxCmdFileBytes); },
     [](TCostWorld& w) {
         EXPECT_FALSE(w.State.LoadCmdFile(w.Path));
         EXPECT_EQ(w.State.TriggerFile, w.Path);  // read, and wrong from its first byte
     },
     kMiB, kMiB},
};

class TScriptFileCost : public ::testing::TestWithParam<TCostRow> {};

TEST_P(TScriptFileCost, HoldsAndReadsWithinItsBound)
{
    TCostWorld world;
    GetParam().Prepare(world);
    const uint64_t read = BytesRead();
    const int64_t held = HeldBytes();
    ResetPeakHeldBytes();
    GetParam().Run(world);
    EXPECT_LE(PeakHeldBytes() - held, GetParam().MaxHeld);
    EXPECT_LE(BytesRead() - read, GetParam().MaxRead);
}

INSTANTIATE_TEST_SUITE_P(Rows, TScriptFileCost, ::testing::ValuesIn(kCostRows),
                         [](const auto& row) { return std::string(row.param.Name); });

}  // namespace
