#pragma once
// Tables of checks: each row pairs what a call gave with what it should give, and a failure
// names its row by the call as written.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/StringList.h"

// One row of a table of checks; CHECK_ROW(call, expected) labels the row with the call's text.
template <class T>
struct TCheckRow {
    const char* Label;
    T Actual;
    T Expected;
};
#define CHECK_ROW(actual, ...)                                                                                         \
    {                                                                                                                  \
#actual, actual, __VA_ARGS__                                                                                   \
    }

template <class T>
void Each(const std::vector<TCheckRow<T>>& rows)
{
    for (const TCheckRow<T>& row : rows)
        EXPECT_EQ(row.Actual, row.Expected) << row.Label;
}
using TextChecks = std::vector<TCheckRow<std::string>>;
using NumberChecks = std::vector<TCheckRow<int64_t>>;

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
