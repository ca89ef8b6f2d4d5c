// Every file format through gridrun against golden outputs: tests/grid/tool/files/NAME.grid
// runs with $DIR naming a fresh temporary folder and $SRC the files folder, and must print
// NAME.out ($DIR put back in place of the folder). HM_UPDATE_GOLDEN=1 rewrites the outputs.

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <vector>

#include "tests/TempName.h"
#include "tests/grid/tool/GridRunSupport.h"

namespace {

const std::string kFiles = std::string(HM_SOURCE_DIR) + "/tests/grid/tool/files";

std::vector<std::string> GoldenNames()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kFiles))
        if (entry.path().extension() == ".grid")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

class GridRunFiles : public ::testing::TestWithParam<std::string> {};

TEST_P(GridRunFiles, PrintTheGoldenOutput)
{
    std::string pattern = TempPattern("gridrun-files");
    const std::string folder = mkdtemp(pattern.data());
    const std::string directives =
        ReplaceAll(ReplaceAll(ReadAll(kFiles + "/" + GetParam() + ".grid"), "$DIR", folder), "$SRC", kFiles);
    const TRun run = GridRun(directives, true);
    std::filesystem::remove_all(folder);
    const std::string out = ReplaceAll(ReplaceAll(run.Out, folder, "$DIR"), kFiles, "$SRC");
    const std::string golden = kFiles + "/" + GetParam() + ".out";
    if (getenv("HM_UPDATE_GOLDEN"))
        std::ofstream(golden, std::ios::binary) << out;
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(out, ReadAll(golden));
}

INSTANTIATE_TEST_SUITE_P(Formats, GridRunFiles, ::testing::ValuesIn(GoldenNames()),
                         [](const ::testing::TestParamInfo<std::string>& param) { return param.param; });
