// The CPU meter on counter files written by the tests.

#include "app/core/CpuUsage.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/core/Exceptions.h"
#include "tests/platform/core/TempFolder.h"

namespace {

// Two processors; cpu0 has been busy 200 of 1000 ticks, idle 700 and waiting 100.
const char* kFirst = "cpu  300 0 300 1400 200 0 0 0 0 0\n"
                     "cpu0 100 0 100 700 100 0 0 0 0 0\n"
                     "cpu1 200 0 100 600 100 0 0 0 0 0\n"
                     "intr 12345\n";

struct TReadingCase {
    const char* name;
    const char* second;  // null: one reading only
    int index;
    double usage;
};

const TReadingCase kReadings[] = {
    {"FirstReadingComparesWithZeros", nullptr, 0, 0.2},
    {"SecondProcessorHasItsOwnLine", nullptr, 1, 0.3},
    {"EqualReadingsGiveZero", "cpu0 100 0 100 700 100 0 0 0 0 0\ncpu1 200 0 100 600 100 0 0 0 0 0\n", 0, 0.0},
    // 100 more ticks: 50 user, 50 waiting for the disk, which counts as idle.
    {"IowaitCountsAsIdle", "cpu0 150 0 100 700 150 0 0 0 0 0\ncpu1 0 0 0 0 0 0 0 0 0 0\n", 0, 0.5},
    // irq, softirq and steal count as time; guest time is already inside user time.
    {"StealCountsGuestDoesNot", "cpu0 100 0 100 725 100 25 25 25 99 99\ncpu1 0 0 0 0 0 0 0 0 0 0\n", 0, 0.75},
};

class CpuReading : public ::testing::TestWithParam<TReadingCase> {};

TEST_P(CpuReading, GivesTheBusyShare)
{
    TempFolder folder;
    const std::string stat = folder.File("stat");
    TempFolder::Write(stat, kFirst);
    TCpuUsage meter(stat);
    meter.CollectCPUData();
    if (GetParam().second) {
        TempFolder::Write(stat, GetParam().second);
        meter.CollectCPUData();
    }
    EXPECT_DOUBLE_EQ(meter.GetCPUUsage(GetParam().index), GetParam().usage);
}

INSTANTIATE_TEST_SUITE_P(Readings, CpuReading, ::testing::ValuesIn(kReadings),
                         [](const auto& param) { return std::string(param.param.name); });

struct TFailureCase {
    const char* name;
    const char* file;  // null: no file
    int index;
    const char* message;
};

const TFailureCase kFailures[] = {
    {"IndexOutOfRange", kFirst, 2, "CPU index out of bounds"},
    {"UnreadableFile", nullptr, 0, "Unable to read performance data"},
    {"NoProcessorLines", "cpu  1 2 3 4 5 6 7 8\nintr 1\n", 0, "Unable to locate the \"Processor\" performance object"},
    {"TooFewCounters", "cpu0 1 2 3\n", 0, "Unable to locate the \"% of CPU usage\" performance counter"},
};

class CpuFailure : public ::testing::TestWithParam<TFailureCase> {};

TEST_P(CpuFailure, RaisesTheMessage)
{
    TempFolder folder;
    const std::string stat = folder.File("stat");
    if (GetParam().file)
        TempFolder::Write(stat, GetParam().file);
    TCpuUsage meter(stat);
    try {
        meter.GetCPUUsage(GetParam().index);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(Failures, CpuFailure, ::testing::ValuesIn(kFailures),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(CpuUsage, EachMeterKeepsItsOwnPreviousReading)
{
    TempFolder folder;
    const std::string stat = folder.File("stat");
    TempFolder::Write(stat, kFirst);
    TCpuUsage first(stat), second(stat);
    EXPECT_EQ(first.GetCPUCount(), 2);
    second.CollectCPUData();
    TempFolder::Write(stat, "cpu0 200 0 100 700 100 0 0 0 0 0\ncpu1 0 0 0 0 0 0 0 0 0 0\n");
    second.CollectCPUData();
    first.CollectCPUData();
    // Both compare with the reading they took themselves, whoever read last.
    EXPECT_DOUBLE_EQ(first.GetCPUUsage(0), 1.0);
    EXPECT_DOUBLE_EQ(second.GetCPUUsage(0), 1.0);
}

}  // namespace
