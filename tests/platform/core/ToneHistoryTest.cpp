#include "platform/core/ToneHistory.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

// Owners are letters; a piece of a tone is its owner's letter repeated, the bytes it writes.
const void* OwnerOf(char letter) { return reinterpret_cast<const void*>(static_cast<uintptr_t>(letter) * 16); }

struct TPiece {
    char Owner;
    bool StartsTone;
    size_t Size;
};

struct THistoryCase {
    const char* Name;
    size_t Keep;
    std::vector<TPiece> Written;
    char Stopped;
    // What Silence gives (silence as '.'), and what the history says afterwards.
    std::string Again;
    bool OnlyStoppedBefore;
    size_t UnheardBefore, UnheardAfter;
};

const THistoryCase kHistoryCases[] = {
    // The stopped owner's tone is the last: it alone is written again, as silence.
    {"LastToneSilenced", 100, {{'a', true, 6}, {'b', true, 4}}, 'b', "....", false, 2, 1},
    // Another owner's tone after it is written again as it was.
    {"ToneBetweenOthersSilenced", 100, {{'a', true, 3}, {'b', true, 2}, {'a', true, 3}}, 'b', "..aaa", false, 3, 2},
    // Two tones of the owner: from the first of them on.
    {"EveryToneOfTheOwnerSilenced",
     100,
     {{'b', true, 2}, {'a', true, 3}, {'b', true, 2}, {'c', true, 1}},
     'b',
     "..aaa..c",
     false,
     4,
     2},
    // Older bytes than it keeps are played or about to be: they are not written again, and the
    // tone rings no bell when its output fails.
    {"OnlyKeptBytesWrittenAgain", 5, {{'b', true, 4}, {'a', true, 3}}, 'b', "..aaa", false, 2, 1},
    {"ToneOlderThanTheKeptBytesSilencedUnwritten", 3, {{'b', true, 4}, {'a', true, 3}}, 'b', "", false, 2, 1},
    // A tone written in several pieces is one tone.
    {"PiecesOfOneTone", 100, {{'a', true, 2}, {'a', false, 2}, {'a', true, 1}}, 'z', "", false, 2, 2},
    // The output holds only the owner's sound: the player closes it instead.
    {"OnlyTheOwnersSound", 100, {{'b', true, 2}, {'b', true, 3}}, 'b', ".....", true, 2, 0},
};

void PrintTo(const THistoryCase& c, std::ostream* os) { *os << c.Name; }

}  // namespace

class ToneHistoryStop : public testing::TestWithParam<THistoryCase> {};

TEST_P(ToneHistoryStop, SilencesOnlyTheOwnersSound)
{
    const THistoryCase& c = GetParam();
    TToneHistory history(c.Keep);
    size_t written = 0;
    for (const TPiece& piece : c.Written) {
        const std::string bytes(piece.Size, piece.Owner);
        history.Add(OwnerOf(piece.Owner), piece.StartsTone, bytes.data(), bytes.size());
        written += piece.Size;
    }
    EXPECT_EQ(history.Written(), written);
    EXPECT_EQ(history.OnlyOf(OwnerOf(c.Stopped)), c.OnlyStoppedBefore);
    EXPECT_EQ(history.Unheard(), c.UnheardBefore);

    const std::vector<char> again = history.Silence(OwnerOf(c.Stopped));
    std::string shown(again.begin(), again.end());
    for (char& ch : shown)
        if (ch == 0)
            ch = '.';
    EXPECT_EQ(shown, c.Again);
    EXPECT_EQ(history.Unheard(), c.UnheardAfter);
    // The owner has no sound left in it: a second stop writes nothing.
    EXPECT_TRUE(history.Silence(OwnerOf(c.Stopped)).empty());
    EXPECT_FALSE(history.OnlyOf(OwnerOf(c.Stopped)));
}

INSTANTIATE_TEST_SUITE_P(Cases, ToneHistoryStop, testing::ValuesIn(kHistoryCases),
                         [](const testing::TestParamInfo<THistoryCase>& row) { return std::string(row.param.Name); });

// Silenced bytes stay silent when a later stop writes them again, and a tone that goes on after
// another's was silenced is still one tone.
TEST(ToneHistory, SilenceKeptAcrossStops)
{
    TToneHistory history(100);
    history.Add(OwnerOf('a'), true, "aaa", 3);
    history.Add(OwnerOf('b'), true, "bb", 2);
    history.Add(OwnerOf('c'), true, "cc", 2);
    EXPECT_EQ(std::string(history.Silence(OwnerOf('b')).data(), 4), std::string("\0\0cc", 4));
    history.Add(OwnerOf('c'), false, "c", 1);
    EXPECT_EQ(history.Unheard(), 2u);
    const std::vector<char> again = history.Silence(OwnerOf('a'));
    EXPECT_EQ(std::string(again.begin(), again.end()), std::string("\0\0\0\0\0ccc", 8));
    EXPECT_TRUE(history.OnlyOf(OwnerOf('c')));
}

namespace {

// A step: owner's tone written (a new one), or the server saying how far it has played.
struct TPlayStep {
    char Owner;  // 0: played
    uint64_t Size;
    size_t NewlyHeard = 0;  // what Played returns
};
TPlayStep Write(char owner, uint64_t size) { return {owner, size}; }
TPlayStep Play(uint64_t position, size_t newlyHeard) { return {0, position, newlyHeard}; }

struct TPlayedCase {
    const char* Name;
    size_t Keep;
    uint64_t Enough;
    std::vector<TPlayStep> Steps;
    size_t Unheard;
    uint64_t PlayedTo;
};

const TPlayedCase kPlayedCases[] = {
    // A tone is heard once enough of it was played, not when it began.
    {"HeardOnceEnoughPlayed",
     100,
     3,
     {Write('a', 6), Write('b', 6), Play(2, 0), Play(3, 1), Play(8, 0), Play(9, 1)},
     0,
     9},
    // A tone shorter than enough is heard once all of it was played.
    {"ShortToneHeardWhole", 100, 3, {Write('a', 2), Write('b', 6), Play(1, 0), Play(2, 1)}, 1, 2},
    // One answer may make several tones heard at once, and a later, older one changes nothing.
    {"SeveralHeardAtOnce", 100, 1, {Write('a', 2), Write('b', 2), Write('c', 2), Play(5, 3), Play(1, 0)}, 0, 5},
    // Past what was written (the output ran dry): all of it, no more.
    {"PositionPastTheEnd", 100, 4, {Write('a', 2), Write('b', 3), Play(50, 2)}, 0, 5},
    // A tone the server never played rings the bell even when its bytes are older than those
    // kept for silencing: what was written says nothing of what was played.
    {"UnplayedToneKeptPastTheKeptBytes", 3, 1, {Write('a', 4), Write('b', 3), Write('c', 3)}, 3, 0},
    // A heard tone is forgotten once older than the kept bytes; the rest still count.
    {"HeardToneForgotten", 3, 1, {Write('a', 4), Play(4, 1), Write('b', 3), Write('c', 3), Play(7, 1)}, 1, 7},
};

void PrintTo(const TPlayedCase& c, std::ostream* os) { *os << c.Name; }

}  // namespace

class ToneHistoryPlayed : public testing::TestWithParam<TPlayedCase> {};

TEST_P(ToneHistoryPlayed, CountsWhatTheServerPlayed)
{
    const TPlayedCase& c = GetParam();
    TToneHistory history(c.Keep);
    for (size_t i = 0; i < c.Steps.size(); ++i) {
        const TPlayStep& step = c.Steps[i];
        if (step.Owner == 0) {
            EXPECT_EQ(history.Played(step.Size, c.Enough), step.NewlyHeard) << "step " << i;
        } else {
            const std::string bytes(step.Size, step.Owner);
            history.Add(OwnerOf(step.Owner), true, bytes.data(), bytes.size());
        }
    }
    EXPECT_EQ(history.Unheard(), c.Unheard);
    EXPECT_EQ(history.PlayedTo(), c.PlayedTo);
}

INSTANTIATE_TEST_SUITE_P(Cases, ToneHistoryPlayed, testing::ValuesIn(kPlayedCases),
                         [](const testing::TestParamInfo<TPlayedCase>& row) { return std::string(row.param.Name); });

// A stopped owner's tone rings no bell, however little of it was heard; another's still does.
TEST(ToneHistory, StoppedToneNeverUnheard)
{
    TToneHistory history(100);
    history.Add(OwnerOf('a'), true, "aaaa", 4);
    history.Add(OwnerOf('b'), true, "bbbb", 4);
    EXPECT_EQ(history.Played(2, 4), 0u);
    history.Silence(OwnerOf('a'));
    EXPECT_EQ(history.Unheard(), 1u);
    EXPECT_EQ(history.Played(8, 4), 1u);
    EXPECT_EQ(history.Unheard(), 0u);
}
