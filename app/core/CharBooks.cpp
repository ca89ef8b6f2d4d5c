#include "app/core/CharBooks.h"

#include <unistd.h>

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>

#include "platform/core/AtomicFile.h"
#include "platform/core/Cp949.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FilePaths.h"
#include "platform/core/ProgramFolder.h"
#include "platform/core/StoredPath.h"
#include "platform/core/Strings.h"
#include "script/Utility.h"

namespace fs = std::filesystem;

std::vector<std::shared_ptr<TCharBooks>> TCharBooks::CharBookList;
AnsiString TCharBooks::BookFileName;
TCharBooks::TLoadOutcome TCharBooks::LastLoad = TCharBooks::loRead;
std::function<void(const AnsiString&, const AnsiString&)> TCharBooks::ReportError;

namespace {

// Texts as cp949 bytes.
constexpr const char* kBookFile = "CharBooks\\CharBooks";
constexpr const char* kBackupFile = "CharBooks\\CharBooks.bak";
// "에러"
constexpr const char* kErrorCaption = "\xBF\xA1\xB7\xAF";
// "CharBooks 저장이 안됩니다"
constexpr const char* kSaveFailed = "CharBooks \xC0\xFA\xC0\xE5\xC0\xCC \xBE\xC8\xB5\xCB\xB4\xCF\xB4\xD9";
// "CharBooks 파일을 끝까지 읽지 못했습니다"
constexpr const char* kLoadStopped = "CharBooks \xC6\xC4\xC0\xCF\xC0\xBB \xB3\xA1\xB1\xEE\xC1\xF6 \xC0\xD0\xC1\xF6 "
                                     "\xB8\xF8\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9";
// Log lines: "System::Save File Open 에러", "System::Load File Open 에러",
// "FreadAccount:: Loading중 잘못된 단어 [%s]만났음".
constexpr const char* kSaveOpenLog = "System::Save File Open \xBF\xA1\xB7\xAF";
constexpr const char* kLoadOpenLog = "System::Load File Open \xBF\xA1\xB7\xAF";
constexpr const char* kBadWordLog =
    "FreadAccount:: Loading\xC1\xDF \xC0\xDF\xB8\xF8\xB5\xC8 \xB4\xDC\xBE\xEE [%s]\xB8\xB8\xB3\xB5\xC0\xBD";

// Set when a load stopped before the end of the book: the next save first keeps the file.
bool gKeepBackup = false;

void Report(const char* text)
{
    if (TCharBooks::ReportError)
        TCharBooks::ReportError(kErrorCaption, text);
}

bool Fail(const AnsiString& why)
{
    WriteLog("%s", why.c_str());
    Report(kSaveFailed);
    return false;
}

bool IsAbsolute(std::string_view path)
{
    return (!path.empty() && (path[0] == '\\' || path[0] == '/')) || (path.size() >= 2 && path[1] == ':');
}

// A command file's path as the book stores it: relative to the program folder, with "..\"
// steps where needed. A relative path is already that.
AnsiString StoredTriggerFile(const AnsiString& path)
{
    if (!IsAbsolute(path))
        return path;
    AnsiString relative = ExtractRelativePath(ProgramPath(), Utf8ToCp949(NativePath(path)));
    for (char& c : relative)
        if (c == '/')
            c = '\\';
    return relative;
}

// The value as bytes: a NUL read from a damaged book is written back, not the end of the value.
void Line(AnsiString& out, const char* key, const AnsiString& value)
{
    out += Format("%-12s", key);
    out += value;
    out += "~\r\r\n";
}

void Line(AnsiString& out, const char* key, int32_t value) { out += Format("%-12s%d\r\r\n", key, value); }

AnsiString BookText()
{
    AnsiString out;
    for (const auto& e : TCharBooks::CharBookList) {
        out += "#CHARACTER\r\r\n";
        Line(out, "HostName", e->HostName);
        Line(out, "CharName", e->CharName);
        Line(out, "Host", e->Host);
        if (!e->TriggerFile.empty())
            Line(out, "TriggerFile", StoredTriggerFile(e->TriggerFile));
        Line(out, "Port", e->Port);
        Line(out, "Status", static_cast<int32_t>(e->Status));
        Line(out, "HanFont", e->HanFont);
        Line(out, "EngFont", e->EngFont);
        Line(out, "SpcFont", e->SpcFont);
        Line(out, "KsgFont", e->KsgFont);
        Line(out, "FgColor", ColorToString(e->FgColor));
        Line(out, "BgColor", ColorToString(e->BgColor));
        out += "End\r\r\n";
    }
    out += "#END\r\r\n";
    return out;
}

// Why a value cannot be written so that the load reads it back, or null when every one can: a
// '~' would end the value there and the rest be read as keys, and the reader takes at most
// kMaxBookValue bytes of a value.
const char* UnwritableValue()
{
    for (const auto& e : TCharBooks::CharBookList) {
        const AnsiString triggerFile = StoredTriggerFile(e->TriggerFile);
        for (const AnsiString* v :
             std::initializer_list<const AnsiString*>{&e->HostName, &e->CharName, &e->Host, &triggerFile, &e->HanFont,
                                                      &e->EngFont, &e->SpcFont, &e->KsgFont}) {
            if (v->find('~') != AnsiString::npos)
                return "TCharBooks::Save: a value holds '~'";
            if (v->size() > TCharBooks::kMaxBookValue)
                return "TCharBooks::Save: a value is longer than the book can read back";
        }
    }
    return nullptr;
}

bool SameServer(const TCharBooks& a, const TCharBooks& b)
{
    return a.HostName == b.HostName && a.CharName == b.CharName && a.Host == b.Host && a.Port == b.Port;
}

// After a reload, each open window takes the first new entry of its server that has no window
// yet; a window without one keeps its old entry, outside the book.
void RelinkWindows(const std::vector<std::shared_ptr<TCharBooks>>& old)
{
    for (const auto& before : old) {
        ICharBookWindow* window = before->TermForm;
        if (!window)
            continue;
        for (const auto& now : TCharBooks::CharBookList) {
            if (now->TermForm || !SameServer(*before, *now))
                continue;
            now->TermForm = window;
            before->TermForm = nullptr;
            window->RelinkCharBook(now);
            break;
        }
    }
}

}  // namespace

TCharBooks::TCharBooks()
    : Status(0x6), TermForm(nullptr), Port(4002), HanFont(kDefaultHanFont),
      EngFont("Fonts\\\xBF\xB5\xB9\xAE\xC1\xA4\xC7\xFC\xC3\xBC.eng"), SpcFont("Fonts\\smooth.spc"),
      KsgFont("Fonts\\\xBB\xEA.ksg"), FontName("\xB1\xBC\xB8\xB2"), FgColor(clWhite), BgColor(clNavy)
{}

void TCharBooks::FreeAll() { CharBookList.clear(); }

AnsiString* TCharBooks::TextField(const AnsiString& key)
{
    return key == "HostName"   ? &HostName
        : key == "CharName"    ? &CharName
        : key == "Host"        ? &Host
        : key == "TriggerFile" ? &TriggerFile
        : key == "HanFont"     ? &HanFont
        : key == "EngFont"     ? &EngFont
        : key == "SpcFont"     ? &SpcFont
        : key == "KsgFont"     ? &KsgFont
                               : nullptr;
}

TColor* TCharBooks::ColorField(const AnsiString& key)
{
    return key == "FgColor" ? &FgColor : key == "BgColor" ? &BgColor : nullptr;
}

static_assert(TCharBooks::kMaxBookValue == FreadStringLimit - 1, "the value reader's limit includes the '~'");

bool FreadAccount(TCharBooks& entry, TFreadStream& file)
{
    for (;;) {
        std::optional<AnsiString> word = file.Eof() ? std::optional<AnsiString>("End") : FreadWord(file);
        if (word && word->empty() && file.Eof())
            word = "End";  // the record ran into the end of the file
        if (!word)
            return false;  // too long for a word; logged by the reader
        const AnsiString& key = *word;
        if (key[0] == '*') {
            FreadToEol(file);
            continue;
        }
        if (key == "End")
            return true;
        AnsiString* text = entry.TextField(key);
        TColor* color = entry.ColorField(key);
        if (text || color) {
            const std::optional<AnsiString> value = FreadString(file, FreadStringLimit);
            if (!value)
                return false;  // no '~' before the end of the file
            if (text) {
                *text = *value;
                continue;
            }
            try {
                *color = StringToColor(*value);
                continue;
            } catch (const EConvertError&) {
                WriteLog(kBadWordLog, value->c_str());
                return false;
            }
        }
        if (key == "Port" || key == "Status") {
            const std::optional<int32_t> number = FreadNumber(file);
            if (!number)
                return false;
            if (key == "Port")
                entry.Port = *number;
            else
                entry.Status = static_cast<uint32_t>(*number);
            continue;
        }
        WriteLog(kBadWordLog, key.c_str());
        return false;
    }
}

bool TCharBooks::Load()
{
    if (BookFileName.empty())
        BookFileName = ProgramPath() + kBookFile;
    const std::string path = NativePath(BookFileName);
    std::optional<TFreadStream> file = TFreadStream::Open(path);
    if (!file) {
        WriteLog("%s", kLoadOpenLog);
        LastLoad = loNotOpened;
        // A book that is there but cannot be read (no permission, a folder in its place) is
        // reported, and the next save keeps it before writing.
        std::error_code error;
        if (fs::exists(path, error) || error) {
            gKeepBackup = true;
            Report(kLoadStopped);
        }
        return false;
    }
    std::vector<std::shared_ptr<TCharBooks>> old;
    old.swap(CharBookList);

    bool result = false;
    bool stoppedEarly = false;
    std::shared_ptr<TCharBooks> pending;
    for (;;) {
        const int c = FreadLetter(*file);
        if (c == '*') {
            FreadToEol(*file);
            continue;
        }
        if (c != '#') {
            // Only "#END" ends the book: a file that ends before it was cut short, and any other
            // byte starts nothing.
            stoppedEarly = true;
            break;
        }
        const std::optional<AnsiString> word = FreadWord(*file);
        if (StrEqual(word, "END"))
            break;
        if (!StrEqual(word, "CHARACTER")) {
            WriteLog("TCharBooks::Load: bad section.");
            stoppedEarly = true;
            break;
        }
        if (!pending)
            pending = std::make_shared<TCharBooks>();
        result = FreadAccount(*pending, *file);
        if (result)
            CharBookList.push_back(std::move(pending));
        else
            stoppedEarly = true;  // the record stays pending for the next one, as it always has
    }
    RelinkWindows(old);
    LastLoad = stoppedEarly ? loStopped : loRead;
    if (stoppedEarly) {
        gKeepBackup = true;
        Report(kLoadStopped);
    }
    return result;
}

bool TCharBooks::Save()
{
    const AnsiString folder = ProgramPath();
    if (BookFileName.empty())
        BookFileName = folder + kBookFile;
    // Relative paths elsewhere (command files, walks) are taken from the program folder. Nothing
    // here depends on it: every path below is made absolute first.
    [[maybe_unused]] const int moved = chdir(ProgramFolder().c_str());
    BookFileName = ExtractRelativePath(folder, BookFileName);
    if (const char* why = UnwritableValue())
        return Fail(why);

    const std::string path = NativePath(BookFileName);
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
    if (gKeepBackup) {
        // Keep the book whose load stopped early, entries the list could not hold included. A
        // book that is there but cannot be read is not written over.
        if (fs::exists(path, error) || error) {
            std::optional<TFreadStream> old = TFreadStream::Open(path);
            if (!old)
                return Fail("TCharBooks::Save: the old book cannot be read to keep it");
            const TWriteResult copied = AtomicWriteFile(NativePath(kBackupFile), old->Take(old->Remaining()));
            if (!copied)
                return Fail(copied.Message);
        }
        gKeepBackup = false;
    }
    const TWriteResult written = AtomicWriteFile(path, BookText());
    if (!written) {
        WriteLog("%s", kSaveOpenLog);
        return Fail(written.Message);
    }
    return true;
}
