// The application object adopts the desktop's locale as Qt does, but keeps the C library's
// numbers in the C locale's form.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/CommaLocale.h"

namespace {

// What desktop_locale, built beside this test, prints when started under the locale named.
std::string StartedUnder(const std::string& locale)
{
    const auto helper = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "desktop_locale";
    const std::string command = "LC_ALL=" + locale + " QT_QPA_PLATFORM=offscreen '" + helper.string() + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return "<popen failed>";
    std::string out;
    char buffer[256];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    const int status = pclose(pipe);
    return status == 0 ? out : out + "<exit status " + std::to_string(status) + ">";
}

class ApplicationUnderACommaLocale : public CommaLocaleTest {};

}  // namespace

TEST_F(ApplicationUnderACommaLocale, KeepsNumbersInTheCFormAndTextsInTheDesktopsCharacterSet)
{
    EXPECT_EQ(StartedUnder("C.UTF-8"), "2.5 1.5 UTF-8\n");
    EXPECT_EQ(StartedUnder(kCommaLocale), "2.5 1.5 UTF-8\n");
}
