// What reading command files, start-up texts and walk files costs: the most memory an operation
// holds at once (counted by the replaced new and delete of this program), and the bytes it reads,
// each bounded by what the files hold. Files with nothing in them are sparse, so they cost the
// test nothing to make.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <string>

#include "script/CmdFile.h"
#include "script/RecordingHost.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"
#include "script/Walk.h"
#include "tests/TempName.h"
#include "tests/script/CountingAllocator.h"

namespace {

constexpr int64_t kMiB = int64_t{1} << 20;
constexpr uint64_t kAnyRead = ~uint64_t{0};

// Bytes this process has read from files so far ("rchar" of /proc/self/io).
uint64_t BytesRead()
{
    std::ifstream io("/proc/self/io");
    for (std::string line; std::getline(io, line);)
        if (line.rfind("rchar:", 0) == 0)
            return std::stoull(line.substr(6));
    ADD_FAILURE() << "no rchar in /proc/self/io";
    return 0;
}

// Sends "reload" by loading the file again, as a start-up command that loads its own file does.
class TCostHost : public TRecordingHost {
public:
    void SendText(const AnsiString& text) override
    {
        TRecordingHost::SendText(text);
        if (text == "reload" && State) {
            ++Loads;
            State->LoadCmdFile(ReloadPath);
        }
    }
    TScriptState* State = nullptr;
    AnsiString ReloadPath;
    int Loads = 0;
};

struct TCostWorld {
    TCostWorld()
    {
        host.State = &state;
        host.Folder = Folder.Path();
        std::filesystem::create_directory(Folder.File("Cmd"));
    }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = Folder.File(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string Sparse(const std::string& name, off_t size)
    {
        const std::string path = Folder.File(name);
        const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(ftruncate(fd, size), 0);
        close(fd);
        return path;
    }
    void AddAlias(const char* name)
    {
        auto a = std::make_unique<cAlias>();
        a->Name = name;
        state.AliasList.Add(std::move(a));
    }
    // A command file whose start-up commands load it again, and besides holds extra.
    std::string SelfLoading(const std::string& startUp, const std::string& alias)
    {
        const std::string path = Write("Self.Cmd",
                                       "#Config\r\nStartUpCmd " + std::to_string(startUp.size()) + " " + startUp +
                                           "\r\nEnd\r\n#Alias\r\nName 1 a\r\nText " + std::to_string(alias.size()) +
                                           " " + alias + "\r\nEnd\r\n#END\r\n");
        host.ReloadPath = path;
        return path;
    }

    TScratchFolder Folder{"script-cost"};
    TCostHost host;
    TScriptState state{host};
    std::string Path;  // the file a row prepared
};

struct TCostRow {
    const char* Name;
    std::function<void(TCostWorld&)> Prepare;  // not counted
    std::function<void(TCostWorld&)> Run;      // counted; checks what it did
    int64_t MaxHeld;                           // bytes held at the peak, above what was held before
    uint64_t MaxRead;                          // bytes read from files
};

const std::string kTwoMiB(size_t{2} << 20, 'x');

// "#rem" lines of 1 KiB, 2 MiB of them.
std::string RemarkLines()
{
    std::string text;
    while (text.size() < kTwoMiB.size())
        text += "#rem " + std::string(1017, 'r') + "\r\n";
    return text;
}

const TCostRow kCostRows[] = {
    // Each of the 64 levels kept its file: 64 times the file.
    {"RegressionAFileThatLoadsItselfKeptItsTextAtEveryLevel",
     [](TCostWorld& w) { w.Path = w.SelfLoading("reload\r\nnext", kTwoMiB); },
     [](TCostWorld& w) {
         w.state.LoadCmdFile(w.Path);
         EXPECT_EQ(w.host.Loads, TScriptState::MaxNesting);
         ASSERT_EQ(w.state.AliasList.Count(), 1);
         EXPECT_EQ(w.state.AliasList[0]->Text.size(), kTwoMiB.size());
     },
     4 * 2 * kMiB, kAnyRead},
    {"RegressionAFileThatLoadsItselfKeptItsStartUpTextAtEveryLevel",
     [](TCostWorld& w) { w.Path = w.SelfLoading("reload\r\n" + RemarkLines(), "b"); },
     [](TCostWorld& w) {
         w.state.LoadCmdFile(w.Path);
         EXPECT_EQ(w.host.Loads, TScriptState::MaxNesting);
         EXPECT_EQ(w.host.Messages(), ScriptText::NestingTooDeep);
     },
     4 * 2 * kMiB, kAnyRead},
    // A list of a million empty lines: some 40 MiB.
    {"RegressionStartUpTextOfLineEndsWasHeldAsAListOfLines",
     [](TCostWorld& w) { w.state.CmdConfig.StartUpCmd = AnsiString(size_t{1} << 20, '\n'); },
     [](TCostWorld& w) { w.state.RunStartUpCmd(); }, 2 * kMiB, kAnyRead},
    // Two lists of every line and the text: 70 MiB and more.
    {"RegressionAWalkOfLineEndsWasHeldTwiceAsLines",
     [](TCostWorld& w) { w.Write("Cmd/Bare.Wlk", std::string(size_t{1} << 20, '\n')); },
     [](TCostWorld& w) {
         OpenWalk(w.state, "Bare.Wlk");
         EXPECT_EQ(w.state.WalkRec.State, 2);
         EXPECT_EQ(w.state.WalkRec.Steps.size(), size_t{1} << 20);
     },
     (int64_t{1} << 20) * static_cast<int64_t>(sizeof(AnsiString)) + 3 * kMiB, kAnyRead},
    {"WalkFileLargerThanAWalkMayBeIsNotRead",
     [](TCostWorld& w) { w.Sparse("Cmd/Huge.Wlk", static_cast<off_t>(MaxWalkFileBytes) + 1); },
     [](TCostWorld& w) {
         OpenWalk(w.state, "Huge.Wlk");
         EXPECT_EQ(w.state.WalkRec.State, 0);
         EXPECT_TRUE(w.state.WalkRec.Steps.empty());
         EXPECT_EQ(w.state.WalkRec.FileName, "Huge.Wlk");
     },
     kMiB, kMiB},
    {"WalkFileOfMoreStepsThanAWalkMayHaveIsRefused",
     [](TCostWorld& w) { w.Write("Cmd/Long.Wlk", std::string(MaxWalkSteps + 1, '\n')); },
     [](TCostWorld& w) {
         OpenWalk(w.state, "Long.Wlk");
         EXPECT_EQ(w.state.WalkRec.State, 0);
         EXPECT_TRUE(w.state.WalkRec.Steps.empty());
     },
     static_cast<int64_t>(MaxWalkSteps) + 2 * kMiB, uint64_t{MaxWalkSteps} + kMiB},
    // Read whole, a gigabyte, before its first byte was refused.
    {"RegressionACommandFileLargerThanAnyWasReadWhole",
     [](TCostWorld& w) {
         w.Path = w.Sparse("Huge.Cmd", off_t{1} << 30);
         w.AddAlias("mine");
     },
     [](TCostWorld& w) {
         EXPECT_FALSE(w.state.LoadCmdFile(w.Path));
         ASSERT_EQ(w.state.AliasList.Count(), 1);  // refused before anything changed
         EXPECT_EQ(w.host.Count(TScriptEvent::MessageBox), 1);
         EXPECT_EQ(w.host.Count(TScriptEvent::SaveBook), 0);
     },
     kMiB, kMiB},
    {"CommandFileIsRefusedAtItsFirstWrongByte",
     [](TCostWorld& w) {
         w.Path = w.Sparse("Zeros.Cmd", static_cast<off_t>(MaxCmdFileBytes));
         w.AddAlias("mine");
     },
     [](TCostWorld& w) {
         EXPECT_FALSE(w.state.LoadCmdFile(w.Path));
         EXPECT_EQ(w.state.AliasList.Count(), 0);  // read, and wrong from its first byte
         EXPECT_EQ(w.host.Count(TScriptEvent::MessageBox), 1);
         EXPECT_EQ(w.state.TriggerFile, w.Path);
     },
     kMiB, kMiB},
};

class TScriptFileCost : public ::testing::TestWithParam<TCostRow> {};

TEST_P(TScriptFileCost, HoldsAndReadsWithinItsBound)
{
    const TCostRow& row = GetParam();
    TCostWorld world;
    row.Prepare(world);
    const uint64_t readBefore = BytesRead();
    const int64_t heldBefore = LiveBytes();
    ResetPeak();
    row.Run(world);
    const int64_t held = PeakBytes() - heldBefore;
    const uint64_t read = BytesRead() - readBefore;
    EXPECT_LE(held, row.MaxHeld) << row.Name;
    if (row.MaxRead != kAnyRead) {
        EXPECT_LE(read, row.MaxRead) << row.Name;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, TScriptFileCost, ::testing::ValuesIn(kCostRows),
                         [](const auto& row) { return std::string(row.param.Name); });

}  // namespace
