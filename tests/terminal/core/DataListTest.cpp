#include <gtest/gtest.h>

#include <random>

#include "platform/core/Exceptions.h"
#include "terminal/core/DataList.h"

namespace {

// The buffer as a plain list of texts, scrolled the straightforward way.
struct NaiveBuffer {
    std::vector<std::string> lines = std::vector<std::string>(TDataList::kCount);
    void UpScroll(int y, int n)
    {
        for (int i = 0; i < n; ++i) {
            lines.erase(lines.begin() + y);
            lines.emplace_back();
        }
    }
    void DownScroll(int y, int n)
    {
        for (int i = 0; i < n; ++i) {
            lines.pop_back();
            lines.insert(lines.begin() + y, std::string());
        }
    }
};

TEST(DataList, HoldsExactlyTenThousandLinesAfterAnyScroll)
{
    TDataList d;
    for (int i = 0; i < 20000; ++i) {
        d.InsertString("line " + std::to_string(i), 0, 9999);
        d.UpScroll(0, 1);
    }
    EXPECT_EQ(d.Count(), 10000);
    EXPECT_EQ(d.Strings(9998), "line 19999");
    EXPECT_EQ(d.Strings(0), "line 10001");
    EXPECT_EQ(d.Strings(9999), "");
    EXPECT_THROW(d.Strings(10000), EListError);
    EXPECT_THROW(d.Strings(-1), EListError);
}

TEST(DataList, InsertStringPadsAndOverwrites)
{
    TDataList d;
    d.InsertString("text", 10, 3);
    EXPECT_EQ(d.Strings(3), std::string(10, ' ') + "text");
    d.InsertString("AB", 11, 3);
    EXPECT_EQ(d.Strings(3), std::string(10, ' ') + "tABt");
    d.InsertString("longer", 12, 3);
    EXPECT_EQ(d.Strings(3), std::string(10, ' ') + "tAlonger");
}

TEST(DataList, RunTextIsTheLineOverTheRunPaddedWithBlanks)
{
    TDataList d;
    d.InsertString("abc", 0, 0);
    EXPECT_EQ(d.RunText(0, TConfig{0, 0, 1, 5, 0}), "bc   ");
}

TEST(DataList, ScrollsGiveTheSameLinesAsTheStraightforwardList)
{
    std::mt19937 rng(7);
    TDataList d;
    NaiveBuffer n;
    for (int step = 0; step < 3000; ++step) {
        int y = static_cast<int>(rng() % 10000);
        if (rng() % 3 == 0) y = 9990 + static_cast<int>(rng() % 10);
        if (rng() % 4 == 0) y = static_cast<int>(rng() % 30);
        int k = static_cast<int>(rng() % 4);
        switch (rng() % 4) {
        case 0: {
            std::string s = "s" + std::to_string(step);
            d.InsertString(s, 0, y);
            n.lines[static_cast<size_t>(y)].replace(0, std::min(s.size(), n.lines[static_cast<size_t>(y)].size()), s);
            break;
        }
        case 1: d.UpScroll(y, k); n.UpScroll(y, k); break;
        case 2: d.DownScroll(y, k); n.DownScroll(y, k); break;
        case 3: d.UpScroll(0, k); n.UpScroll(0, k); break;
        }
    }
    for (int y = 0; y < 10000; ++y) ASSERT_EQ(d.Strings(y), n.lines[static_cast<size_t>(y)]) << y;
}

TEST(DataList, ScrollRangeTouchesOnlyItsLines)
{
    TDataList d;
    for (int y = 0; y < 6; ++y) d.InsertString(std::string(1, static_cast<char>('a' + y)), 0, y);
    d.ScrollRange(1, 4, 2);
    EXPECT_EQ(d.Strings(0), "a");
    EXPECT_EQ(d.Strings(1), "d");
    EXPECT_EQ(d.Strings(2), "e");
    EXPECT_EQ(d.Strings(3), "");
    EXPECT_EQ(d.Strings(4), "");
    EXPECT_EQ(d.Strings(5), "f");
    d.ScrollRange(0, 2, -1);
    EXPECT_EQ(d.Strings(0), "");
    EXPECT_EQ(d.Strings(1), "a");
    EXPECT_EQ(d.Strings(2), "d");
    EXPECT_EQ(d.Strings(3), "");
}

TEST(DataList, MoveLineShiftsTheLinesBetween)
{
    TDataList d;
    for (int y = 0; y < 4; ++y) d.InsertString(std::string(1, static_cast<char>('a' + y)), 0, y);
    d.MoveLine(2, 0);
    EXPECT_EQ(d.Strings(0) + d.Strings(1) + d.Strings(2) + d.Strings(3), "cabd");
    d.MoveLine(0, 3);
    EXPECT_EQ(d.Strings(0) + d.Strings(1) + d.Strings(2) + d.Strings(3), "abdc");
}

}  // namespace
