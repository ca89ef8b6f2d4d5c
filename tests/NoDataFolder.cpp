// Linked into every test program: the player's data folder lies below a file, where no one can
// make it, so a test that forgets to give itself a program folder (SetProgramFolder) fails
// instead of writing into the home folder of whoever runs it. Programs the test starts inherit it.

#include <cstdlib>

namespace {

[[maybe_unused]] const bool kNoDataFolder = setenv("XDG_DATA_HOME", "/proc/self/exe/no-data-folder", 1) == 0;

}  // namespace
