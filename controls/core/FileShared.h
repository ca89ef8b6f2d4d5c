#pragma once
// Pieces shared by the file utilities' sources (not part of the library's interface).

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

#include "platform/core/Object.h"

// Called again and again while long work goes on (each entry, each block copied); false asks the
// work to stop.
using TWorkTick = std::function<bool()>;

// One regular file copied on native paths, for CopyFileEx and the trees.
struct TFileCopy {
    std::string From, To;
    AnsiString FromName, ToName;  // the program's spellings, for messages; empty: the stored paths
    bool OverwriteReadOnly = false;
    bool FollowLink = true;   // false: a link at From is refused, never read through
    bool MustBeNew = false;   // an existing To is refused instead of replaced
    bool MakeFolder = false;  // To's folder is made when missing
    TObject* Progress = nullptr;
    const TWorkTick* Tick = nullptr;  // asked before each block; false raises EAbort
};
// Copies in blocks through the atomic writer; only a regular file is read: a FIFO, a device or a
// socket is refused with the reason, never waited on. The copy has the source's permission bits
// and modification time. Raises EFOpenError, EFCreateError, EReadError, EWriteError or EAbort.
void CopyNative(const TFileCopy& copy);

// Why a node that is not a regular file is not copied, as a sentence ("It is a named pipe.").
const char* NotARegularFile(mode_t mode);

// The system's text for an errno value, for the user.
AnsiString SystemReason(int error);

// An XDG base folder: the variable when it holds an absolute path, else HOME + fallback.
std::string XdgFolder(const char* variable, const char* fallback);

// A native path with every byte but unreserved characters and "/" percent-encoded.
std::string PercentEncodePath(const std::string& path);
