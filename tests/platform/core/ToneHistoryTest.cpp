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
    size_t TonesBefore, TonesAfter;
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
    // Older bytes than it keeps have been played: they are not written again.
    {"OnlyKeptBytesWrittenAgain", 5, {{'b', true, 4}, {'a', true, 3}}, 'b', "..aaa", false, 2, 1},
    {"PlayedToneForgotten", 3, {{'b', true, 4}, {'a', true, 3}}, 'b', "", false, 1, 1},
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
    EXPECT_EQ(history.Tones(), c.TonesBefore);

    const std::vector<char> again = history.Silence(OwnerOf(c.Stopped));
    std::string shown(again.begin(), again.end());
    for (char& ch : shown)
        if (ch == 0)
            ch = '.';
    EXPECT_EQ(shown, c.Again);
    EXPECT_EQ(history.Tones(), c.TonesAfter);
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
    EXPECT_EQ(history.Tones(), 2u);
    const std::vector<char> again = history.Silence(OwnerOf('a'));
    EXPECT_EQ(std::string(again.begin(), again.end()), std::string("\0\0\0\0\0ccc", 8));
    EXPECT_TRUE(history.OnlyOf(OwnerOf('c')));
}
