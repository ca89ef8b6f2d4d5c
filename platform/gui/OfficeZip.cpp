#include "platform/gui/OfficeZip.h"

#include <zip.h>

#include <cstdlib>
#include <cstring>

#include "platform/gui/OleAutomation.h"

void BrokenWorkbook(const std::string& Why) { throw EOleException("The file is not a valid workbook: " + Why); }
void WorkbookTooLarge(const std::string& What) { throw EOleException("The workbook is too large: " + What); }

namespace {

// Entry names are UTF-8 and compared as libzip compares them without regard to case: ASCII
// letters folded, every other byte as it is.
std::string FoldedName(std::string Name)
{
    for (char& c : Name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return Name;
}

}  // namespace

// One entry inflating as it is read, counting against its reader's bounds.
class TZipEntryDevice : public QIODevice {
public:
    TZipEntryDevice(TZipReader& Reader, zip_file_t* File, std::string Name)
        : FReader(Reader), FFile(File), FName(std::move(Name))
    {
        open(QIODevice::ReadOnly);
    }
    ~TZipEntryDevice() override { zip_fclose(FFile); }
    bool isSequential() const override { return true; }
    void Raise() const
    {
        if (FTooLarge)
            WorkbookTooLarge(FWhy);
        if (!FWhy.empty())
            BrokenWorkbook(FWhy);
    }

protected:
    qint64 readData(char* Data, qint64 MaxSize) override
    {
        if (!FWhy.empty())
            return -1;
        const zip_int64_t got = zip_fread(FFile, Data, static_cast<zip_uint64_t>(MaxSize));
        if (got < 0)
            return Stop("cannot read " + FName, false);
        FRead += static_cast<size_t>(got);
        FReader.FTotal += static_cast<size_t>(got);
        if (FRead > FReader.FEntryBytes)
            return Stop(FName + " inflates past " + std::to_string(FReader.FEntryBytes) + " bytes", true);
        if (FReader.FTotal > FReader.FTotalBytes)
            return Stop("its parts inflate past " + std::to_string(FReader.FTotalBytes) + " bytes together", true);
        return got;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    qint64 Stop(std::string Why, bool TooLarge)
    {
        FWhy = std::move(Why);
        FTooLarge = TooLarge;
        return -1;
    }
    TZipReader& FReader;
    zip_file_t* FFile;
    std::string FName;
    size_t FRead = 0;
    std::string FWhy;
    bool FTooLarge = false;
};

void RaiseZipStop(const QIODevice& Device)
{
    if (const auto* entry = dynamic_cast<const TZipEntryDevice*>(&Device))
        entry->Raise();
}

TZipReader::TZipReader(std::shared_ptr<const std::string> Bytes, size_t EntryBytes, size_t TotalBytes)
    : FBytes(std::move(Bytes)), FEntryBytes(EntryBytes), FTotalBytes(TotalBytes)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(FBytes->data(), FBytes->size(), 0, &error);
    if (source)
        FZip = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!FZip) {
        if (source)
            zip_source_free(source);
        const std::string why = zip_error_strerror(&error);
        zip_error_fini(&error);
        BrokenWorkbook(why);
    }
    zip_error_fini(&error);
    // Parts are looked up by name for every sheet: one pass here keeps each look-up constant.
    const zip_int64_t count = zip_get_num_entries(FZip, 0);
    FIndex.reserve(static_cast<size_t>(std::max<zip_int64_t>(count, 0)));
    for (zip_int64_t i = 0; i < count; ++i)
        if (const char* name = zip_get_name(FZip, static_cast<zip_uint64_t>(i), 0))
            FIndex.emplace(FoldedName(name), i);
}

TZipReader::~TZipReader() { zip_discard(FZip); }

int64_t TZipReader::Locate(const std::string& Name) const
{
    const auto found = FIndex.find(FoldedName(Name));
    return found == FIndex.end() ? -1 : found->second;
}

std::string TZipReader::Find(const std::string& Name) const
{
    const zip_int64_t index = Locate(Name);
    const char* stored = index < 0 ? nullptr : zip_get_name(FZip, static_cast<zip_uint64_t>(index), ZIP_FL_ENC_RAW);
    return stored ? stored : "";
}

std::unique_ptr<QIODevice> TZipReader::Open(const std::string& Name)
{
    const zip_int64_t index = Locate(Name);
    if (index < 0)
        BrokenWorkbook("no " + Name);
    zip_file_t* file = zip_fopen_index(FZip, static_cast<zip_uint64_t>(index), 0);
    if (!file)
        BrokenWorkbook("cannot read " + Name);
    return std::make_unique<TZipEntryDevice>(*this, file, Name);
}

std::string TZipReader::Read(const std::string& Name)
{
    const std::unique_ptr<QIODevice> entry = Open(Name);
    std::string bytes;
    char buffer[65536];
    qint64 got;
    while ((got = entry->read(buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<size_t>(got));
    RaiseZipStop(*entry);
    return bytes;
}

namespace {

[[noreturn]] void CannotMake() { throw EOleException("Cannot make the package"); }

// What a buffer source written by a zip holds; empty when it cannot be read.
std::string SourceBytes(zip_source_t* Source)
{
    std::string bytes;
    if (zip_source_open(Source) != 0)
        return bytes;
    zip_source_seek(Source, 0, SEEK_END);
    bytes.resize(static_cast<size_t>(std::max<zip_int64_t>(zip_source_tell(Source), 0)));
    zip_source_seek(Source, 0, SEEK_SET);
    if (zip_source_read(Source, bytes.data(), bytes.size()) != static_cast<zip_int64_t>(bytes.size()))
        bytes.clear();
    zip_source_close(Source);
    return bytes;
}

// Opens a zip over a buffer source that keeps what the zip writes when it closes.
zip_t* OpenBuffer(const std::string* Original, zip_source_t*& Target)
{
    zip_error_t error;
    zip_error_init(&error);
    // A source written to lets go of what it held: it gets a copy of its own to free.
    void* copy = Original ? malloc(std::max<size_t>(Original->size(), 1)) : nullptr;
    if (copy)
        memcpy(copy, Original->data(), Original->size());
    Target = copy ? zip_source_buffer_create(copy, Original->size(), 1, &error)
                  : zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!Target)
        free(copy);
    zip_t* zip = Target ? zip_open_from_source(Target, Original ? 0 : ZIP_TRUNCATE, &error) : nullptr;
    zip_error_fini(&error);
    if (!zip) {
        if (Target)
            zip_source_free(Target);
        CannotMake();
    }
    zip_source_keep(Target);
    return zip;
}

// Closes the zip and gives what it wrote.
std::string Close(zip_t* Zip, zip_source_t* Target)
{
    std::string bytes;
    if (zip_close(Zip) == 0)
        bytes = SourceBytes(Target);
    else
        zip_discard(Zip);
    zip_source_free(Target);
    if (bytes.empty())
        CannotMake();
    return bytes;
}

void Put(zip_t* Zip, zip_source_t* Target, const std::string& Name, const std::string& Data)
{
    zip_source_t* source = zip_source_buffer(Zip, Data.data(), Data.size(), 0);
    const zip_int64_t index = zip_name_locate(Zip, Name.c_str(), 0);
    const bool done = source &&
        (index >= 0 ? zip_file_replace(Zip, static_cast<zip_uint64_t>(index), source, 0) == 0
                    : zip_file_add(Zip, Name.c_str(), source, ZIP_FL_ENC_UTF_8) >= 0);
    if (!done) {
        zip_source_free(source);
        zip_discard(Zip);
        zip_source_free(Target);
        CannotMake();
    }
}

}  // namespace

std::string ZipBytes(const std::vector<std::pair<std::string, std::string>>& Entries)
{
    zip_source_t* target = nullptr;
    zip_t* zip = OpenBuffer(nullptr, target);
    for (const auto& [name, data] : Entries)
        Put(zip, target, name, data);
    return Close(zip, target);
}

std::string PatchedZip(const std::string& Original, const std::map<std::string, std::optional<std::string>>& Changes)
{
    zip_source_t* target = nullptr;
    zip_t* zip = OpenBuffer(&Original, target);
    for (const auto& [name, data] : Changes) {
        if (data) {
            Put(zip, target, name, *data);
            continue;
        }
        const zip_int64_t index = zip_name_locate(zip, name.c_str(), 0);
        if (index >= 0 && zip_delete(zip, static_cast<zip_uint64_t>(index)) != 0) {
            zip_discard(zip);
            zip_source_free(target);
            CannotMake();
        }
    }
    return Close(zip, target);
}
