// Print settings the INI file cannot hold so that they read back are refused with the file's
// error, and the settings stored before stay readable.

#include <QTemporaryDir>

#include "tests/grid/tool/GridRunSupport.h"

namespace {

struct TRefusedSave {
    const char* name;
    const char* setting;  // a "set" directive's rest
    const char* section;
    const char* error;
};
void PrintTo(const TRefusedSave& c, std::ostream* os) { *os << c.name; }

class RegressionPrintSettingsWereSavedUnreadable : public ::testing::TestWithParam<TRefusedSave> {};

TEST_P(RegressionPrintSettingsWereSavedUnreadable, TheSaveIsRefusedAndTheStoredOnesLoad)
{
    const TRefusedSave& c = GetParam();
    QTemporaryDir dir;
    const std::string ini = dir.path().toStdString() + "/p.ini";
    const TRun run =
        GridRun("set PrintSettings.TitleText first\n"
                "call SavePrintSettings " +
                    ini + " Print\nset " + c.setting + "\ncall SavePrintSettings " + ini + " " + c.section +
                    "\nnew\ncall LoadPrintSettings " + ini + " Print\n? PrintSettings.TitleText\n",
                true);
    EXPECT_EQ(run.Status, 0) << run.Out;
    EXPECT_NE(run.Out.find(std::string("error: EIniFileException: ") + c.error), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("PrintSettings.TitleText = first\n"), std::string::npos) << run.Out;
}

const TRefusedSave kRefusedSaves[] = {
    {"TitleTextOfTwoLines", "PrintSettings.TitleText line1\\r\\nline2", "Print",
     "Cannot store the value of key \"TitleText\""},
    {"PageSuffixWithALineFeed", "PrintSettings.PageSuffix a\\nb", "Print",
     "Cannot store the value of key \"PageSuffix\""},
    {"SectionHoldingABracket", "PrintSettings.TitleText second", "S]x", "Cannot store section \"S]x\""},
};
INSTANTIATE_TEST_SUITE_P(Saves, RegressionPrintSettingsWereSavedUnreadable, ::testing::ValuesIn(kRefusedSaves),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
