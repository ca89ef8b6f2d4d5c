#pragma once
// The zip side of office packages: entries read as they inflate, within a bound for each entry
// and one for all the entries a package reads together; packages made whole, or made again
// from one with some entries changed, where every other entry is copied as it was stored.

#include <QIODevice>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

typedef struct zip zip_t;

// The errors of reading a workbook (EOleException): a damaged file, and one past a limit.
[[noreturn]] void BrokenWorkbook(const std::string& Why);
[[noreturn]] void WorkbookTooLarge(const std::string& What);

class TZipReader {
public:
    // Raises BrokenWorkbook when the bytes are no zip. Readers may share the bytes; each has
    // its own count of what it inflated.
    TZipReader(std::shared_ptr<const std::string> Bytes, size_t EntryBytes, size_t TotalBytes);
    ~TZipReader();
    TZipReader(const TZipReader&) = delete;
    TZipReader& operator=(const TZipReader&) = delete;

    // The stored name of an entry, found without regard to case (zip names of a package's parts
    // are not case-sensitive); empty when there is none.
    std::string Find(const std::string& Name) const;
    // An entry that inflates as it is read. Reading fails (returns -1) past the bounds or at a
    // damaged entry; Why() of the device then says which, for the caller to raise.
    std::unique_ptr<QIODevice> Open(const std::string& Name);
    // The whole entry; raises what Why() would say.
    std::string Read(const std::string& Name);

private:
    // The entry's index by its name in lower case; the first of names equal but for case.
    int64_t Locate(const std::string& Name) const;
    std::shared_ptr<const std::string> FBytes;
    zip_t* FZip = nullptr;
    std::unordered_map<std::string, int64_t> FIndex;
    size_t FEntryBytes, FTotalBytes;
    size_t FTotal = 0;  // inflated by every entry read so far
    friend class TZipEntryDevice;
};

// Raises why a device from TZipReader::Open stopped reading; nothing while it has not.
void RaiseZipStop(const QIODevice& Device);

// Entries in order, written into a zip in memory.
std::string ZipBytes(const std::vector<std::pair<std::string, std::string>>& Entries);
// The package Original with the named entries replaced or added (a value) or removed
// (nullopt); every other entry keeps its stored bytes.
std::string PatchedZip(const std::string& Original, const std::map<std::string, std::optional<std::string>>& Changes);
