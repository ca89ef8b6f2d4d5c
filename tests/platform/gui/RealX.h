#pragma once
// Cases that need a real X display (and programs such as xdotool or xclip) run twice: skipped in
// the offscreen run, and for real in the X run of hm_xvfb_test, which sets HM_X_RUN. There every
// case must run, so a missing display or program fails the case instead of skipping it.
// Header-only, so that every test program can use it whatever support file it links.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QStandardPaths>
#include <QString>

#include <cstdlib>
#include <initializer_list>
#include <string>

// What a case needing a real X display and the named programs misses here; empty when nothing.
inline std::string MissingForRealX(std::initializer_list<const char*> programs = {})
{
    std::string missing;
    for (const char* program : programs)
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            missing += (missing.empty() ? " with " : " and ") + std::string(program);
    if (QGuiApplication::platformName() == QLatin1String("xcb") && missing.empty())
        return {};
    return "needs an X display" + missing + " (run under Xvfb)";
}

inline bool InXRun() { return std::getenv("HM_X_RUN") != nullptr; }

// REQUIRE_REAL_X() or REQUIRE_REAL_X("xdotool"): skips the case offscreen, fails it in the X run.
#define REQUIRE_REAL_X(...)                                                                                            \
    do {                                                                                                               \
        const std::string hmMissing = MissingForRealX({__VA_ARGS__});                                                  \
        if (!hmMissing.empty()) {                                                                                      \
            if (InXRun())                                                                                              \
                FAIL() << hmMissing;                                                                                   \
            GTEST_SKIP() << hmMissing;                                                                                 \
        }                                                                                                              \
    } while (0)
