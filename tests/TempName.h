#pragma once
// Names for mkdtemp and mkstemp under the run's temporary folder ($TMPDIR, else /tmp), so that
// runs beside each other, and other users' runs, never meet in one file.

#include <filesystem>
#include <string>

// "$TMPDIR/STEM-XXXXXX", for mkdtemp or mkstemp to fill in.
inline std::string TempPattern(const std::string& stem)
{
    return (std::filesystem::temp_directory_path() / (stem + "-XXXXXX")).string();
}
