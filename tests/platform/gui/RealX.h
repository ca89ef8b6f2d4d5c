#pragma once
// Cases that need a real X display (and programs such as xdotool or xclip) run twice: skipped in
// the offscreen run, and for real in the X run of hm_xvfb_test, which sets HM_X_RUN. There every
// case must run, so a missing display or program fails the case instead of skipping it; and a
// case that no X run of its program takes fails in the offscreen run, so none can only skip.
// Header-only, so that every test program can use it whatever support file it links.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <system_error>

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

// Whether an X run of this program takes the running case: the filters of its X runs stand one a
// line in PROGRAM.x-runs beside it (cmake/Project.cmake writes them).
inline bool TakenByAnXRun()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::error_code error;
    std::ifstream runs(std::filesystem::read_symlink("/proc/self/exe", error).string() + ".x-runs");
    if (!info || error || !runs)
        return false;
    const QString name = QString::fromStdString(std::string(info->test_suite_name()) + "." + info->name());
    // GoogleTest's filter patterns: '*' and '?' match any characters, '/' included.
    for (std::string filter; std::getline(runs, filter);)
        for (const QString& pattern : QString::fromStdString(filter).split(u':', Qt::SkipEmptyParts)) {
            QString expression = QRegularExpression::escape(pattern);
            expression.replace(QStringLiteral("\\*"), QStringLiteral(".*"))
                .replace(QStringLiteral("\\?"), QStringLiteral("."));
            if (QRegularExpression(QRegularExpression::anchoredPattern(expression)).match(name).hasMatch())
                return true;
        }
    return false;
}

// REQUIRE_REAL_X() or REQUIRE_REAL_X("xdotool"): skips the case offscreen, fails it in the X run,
// and fails it offscreen too when no X run would take it.
#define REQUIRE_REAL_X(...)                                                                                            \
    do {                                                                                                               \
        const std::string hmMissing = MissingForRealX({__VA_ARGS__});                                                  \
        if (!hmMissing.empty()) {                                                                                      \
            if (InXRun())                                                                                              \
                FAIL() << hmMissing;                                                                                   \
            if (!TakenByAnXRun())                                                                                      \
                FAIL() << hmMissing << ", and no X run of this program takes it (hm_xvfb_test)";                       \
            GTEST_SKIP() << hmMissing;                                                                                 \
        }                                                                                                              \
    } while (0)
