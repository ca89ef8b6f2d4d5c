#pragma once
// Tables of checks: each case pairs what a call gave with what it should give, and a failure
// names its case number.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/StringList.h"

template <class T>
void Each(const std::vector<std::pair<T, T>>& cases)
{
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
}
using S = std::vector<std::pair<std::string, std::string>>;
using I = std::vector<std::pair<int64_t, int64_t>>;

// Runs `call`, which must raise E with exactly this message.
template <class E, class F>
void ExpectRaises(F&& call, const std::string& message)
{
    try {
        call();
        ADD_FAILURE() << "no exception";
    } catch (const E& e) {
        EXPECT_EQ(e.Message, message);
        EXPECT_STREQ(e.what(), message.c_str());
    }
}

// The lines of a list, for comparing with a literal list.
using V = std::vector<std::string>;
inline V Lines(const TStrings& list)
{
    V lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list.Strings(i));
    return lines;
}
