#pragma once
// A manual clock installed for the timer-list tests, and a log of who fired when.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "controls/core/TimerList.h"
#include "platform/core/TimerService.h"

class TimerListTest : public ::testing::Test {
protected:
    void SetUp() override { SetTimerService(&clock); }
    void TearDown() override { SetTimerService(nullptr); }

    // A handler that logs "name@ms" at every firing.
    TNotifyEvent Logger(std::string name)
    {
        return [this, name](TObject*) { log.push_back(name + "@" + std::to_string(clock.Now())); };
    }
    // The log so far, emptied.
    std::vector<std::string> Take() { return std::exchange(log, {}); }

    // Declared first: it outlives every list a test makes.
    TManualTimerService clock;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;
