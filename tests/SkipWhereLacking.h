#pragma once
// A case that needs what only some machines grant (root's rights, making a device node, a kernel
// feature) skips with its reason where that is lacking, so that the suite passes for anyone. CI
// sets HM_REQUIRE_ALL on a run that grants all of it: there the same lack fails the case, so that
// a case that always skipped would not pass unnoticed.

#include <gtest/gtest.h>

#include <cstdlib>

#define HM_SKIP_WHERE_LACKING(why)                                                                                     \
    do {                                                                                                               \
        if (std::getenv("HM_REQUIRE_ALL")) {                                                                           \
            FAIL() << "lacking on a run that must grant it: " << why;                                                  \
        } else {                                                                                                       \
            GTEST_SKIP() << why;                                                                                       \
        }                                                                                                              \
    } while (false)
