#pragma once
// What a case asks of a save made in a child process, where a failed expectation would be lost:
// whether it failed saying what it should, or succeeded, told on the error stream where not.

#include <cstdio>
#include <string>

#include "platform/core/AtomicFile.h"
#include "platform/core/Exceptions.h"
#include "platform/core/IniFile.h"

// What a save refused while another program holds the file's lock says.
inline const char* const kBusy = "is being saved by another program";

// Whether a step failed saying what it should (any failure where reason is null).
inline bool Says(const std::string& failure, const char* reason)
{
    if (!failure.empty() && (!reason || failure.find(reason) != std::string::npos))
        return true;
    std::fprintf(stderr, "expected a failure saying \"%s\", got \"%s\"\n", reason ? reason : "", failure.c_str());
    return false;
}

// Whether a step succeeded.
inline bool Succeeds(const std::string& failure)
{
    if (failure.empty())
        return true;
    std::fprintf(stderr, "expected success, got \"%s\"\n", failure.c_str());
    return false;
}

// Locks the file; why the caller may not save, empty when it may.
inline std::string Lock(const std::string& path)
{
    const TFileUpdateLock lock(path);
    return lock.MaySave() ? "" : lock.Message();
}

// Saves a key into the settings file; why not, empty when saved.
inline std::string SaveIni(const std::string& path)
{
    TIniFile ini(path);
    try {
        ini.WriteString("Main", "Key", "new");
        ini.UpdateFile();
    } catch (const EIniFileException& e) {
        return e.Message;
    }
    return "";
}

inline bool IniHoldsNewKey(const std::string& path) { return TIniFile(path).ReadString("Main", "Key", "") == "new"; }
