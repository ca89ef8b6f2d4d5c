#pragma once
// Test files under the run's temporary folder ($TMPDIR, else /tmp), each test's in a folder of its
// own, so that runs beside each other, and other users' runs, never meet in one file.

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

// "$TMPDIR/STEM-XXXXXX", for mkdtemp or mkstemp to fill in.
inline std::string TempPattern(const std::string& stem)
{
    return (std::filesystem::temp_directory_path() / (stem + "-XXXXXX")).string();
}

// A new empty file "$TMPDIR/STEM-XXXXXX.SUFFIX", left for a person to look at after the test (the
// picture a failed comparison drew): its name, or "" when it could not be made.
inline std::string KeptTempFile(const std::string& stem, const std::string& suffix)
{
    std::string name = TempPattern(stem) + "." + suffix;
    const int fd = mkstemps(name.data(), static_cast<int>(suffix.size() + 1));
    if (fd < 0)
        return "";
    close(fd);
    return name;
}

// A fresh folder under $TMPDIR, removed with all it holds when it goes; its path is empty when
// it could not be made.
class TScratchFolder {
public:
    explicit TScratchFolder(const std::string& stem = "hm") : path_(TempPattern(stem))
    {
        if (!mkdtemp(path_.data()))
            path_.clear();
    }
    ~TScratchFolder()
    {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};
