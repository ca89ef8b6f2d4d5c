// Linked into every test program: the player's data folder lies below a file, where no one can
// make it, so a test that forgets to give itself a program folder (SetProgramFolder) fails
// instead of writing into the home folder of whoever runs it. The settings the toolkit keeps for
// itself (a file dialog's columns and places) go to a folder under the run's temporary folder for
// the same reason. Programs the test starts inherit both.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

[[maybe_unused]] const bool kNoDataFolder = setenv("XDG_DATA_HOME", "/proc/self/exe/no-data-folder", 1) == 0;

bool UseTestConfigFolder()
{
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    const std::string folder =
        (error ? std::filesystem::path("/tmp") : base) / ("hanmud-test-config-" + std::to_string(getuid()));
    return setenv("XDG_CONFIG_HOME", folder.c_str(), 1) == 0;
}

[[maybe_unused]] const bool kTestConfigFolder = UseTestConfigFolder();

}  // namespace
