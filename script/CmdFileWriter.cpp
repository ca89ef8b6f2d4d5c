// Writing a command file: the text, then one atomic write, so a failed save leaves the old file.

#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/core/AtomicFile.h"
#include "platform/core/StoredPath.h"
#include "script/CmdFile.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"
#include "script/Utility.h"
#include "script/Variables.h"

namespace {

constexpr const char* Header =
    "* MUD client command file\r\n\r\n"
    "* \xC0\xCC \xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xC7 \xBB\xF3\xBC\xBC\xC7\xD1 \xC1\xA4\xBA\xB8\xB4\xC2 "
    "\xB4\xD9\xC0\xBD \xBB\xE7\xC0\xCC\xC6\xAE\xBF\xA1 \xB0\xA1\xB8\xE9 \xBE\xF2\xC0\xBB \xBC\xF6 "
    "\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.\r\n"
    "*   http://hanmud.invalid/\r\n"
    "*   hanmud@hanmud.invalid\r\n"
    "* \xC0\xCC \xB5\xA5\xC0\xCC\xC5\xCD\xB4\xC2 \xB0\xA1\xB4\xC9\xC7\xD1 \xC1\xF7\xC1\xA2 "
    "\xBC\xF6\xC1\xA4\xC7\xCF\xC1\xF6 \xBE\xCA\xB4\xC2\xB0\xCD\xC0\xCC \xC1\xC1\xBD\xC0\xB4\xCF\xB4\xD9.\r\n"
    "* \xB5\xA5\xC0\xCC\xC5\xCD\xB8\xA6 \xC1\xF7\xC1\xA2 \xBC\xF6\xC1\xA4\xC7\xD8\xBC\xAD "
    "\xB9\xFA\xBE\xEE\xC1\xF6\xB4\xC2 \xC2\xFC\xBB\xE7\xB4\xC2 \xC3\xA5\xC0\xD3\xC1\xF6\xC1\xF6 "
    "\xBE\xCA\xBD\xC0\xB4\xCF\xB4\xD9.\r\n"
    "* \xB4\xD9\xB8\xA5\xB0\xCD\xB5\xE9\xB5\xB5 \xC3\xA5\xC0\xD3\xC1\xAE \xB5\xE5\xB8\xAE\xB4\xC2 "
    "\xB0\xCD\xC0\xBA \xBE\xC6\xB9\xAB\xB0\xCD\xB5\xB5 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.\r\n\r\n";

// Builds the lines of one file. Keys are given already padded to their columns.
class TCmdFileBuilder {
public:
    void Line(std::string_view text)
    {
        Out += text;
        Out += "\r\n";
    }
    void Number(std::string_view key, int64_t value) { Line(AnsiString(key) + IntToStr(value)); }
    // The length in bytes, one blank, the bytes: the reader takes exactly that many back, so
    // blanks, line ends and NULs survive.
    void String(std::string_view key, std::string_view value)
    {
        Out += key;
        Out += IntToStr(static_cast<int64_t>(value.size()));
        Out += ' ';
        Out += value;
        Out += "\r\n";
    }
    void StringIfAny(std::string_view key, std::string_view value)
    {
        if (!value.empty())
            String(key, value);
    }
    void End() { Out += "End\r\n\r\n"; }

    AnsiString Out;
};

void WriteConfig(TCmdFileBuilder& b, const cConfig& config)
{
    b.Line("#Config");
    b.StringIfAny("StatusLine      ", config.StatusLine);
    b.Number("TrigMode        ", static_cast<int8_t>(config.TrigMode));
    b.Number("ActivePage      ", config.ActivePage);
    b.Number("ToolView        ", config.ToolView);
    b.StringIfAny("StartUpCmd      ", config.StartUpCmd);
    b.StringIfAny("WFCSCmd      ", config.WFCSCmd);
    b.StringIfAny("WFCFCmd      ", config.WFCFCmd);
    b.End();
}

void WriteButton(TCmdFileBuilder& b, const cButton& r)
{
    b.Line("#Button");
    b.Number("Action      ", r.Action);
    b.Number("Status      ", r.Status);
    b.String("Name        ", r.Name);
    b.String("OnBuff      ", r.OnBuff);
    b.StringIfAny("OffBuff     ", r.OffBuff);
    b.End();
}

void WriteTimer(TCmdFileBuilder& b, const cTimer& r)
{
    b.Line("#Timer");
    b.Number("Action      ", r.Action);
    b.Number("Status      ", r.Status);
    b.Number("Ticker      ", r.Ticker);
    b.Number("Repeat      ", r.Repeat);
    b.String("Name        ", r.Name);
    b.String("OnBuff      ", r.OnBuff);
    b.End();
}

void WriteTrigger(TCmdFileBuilder& b, const cTriggers& r)
{
    b.Line("#Triggers");
    // A trigger read from a file has its parent's number but no link; keep that number rather
    // than lose it on the next save.
    b.Number("Parent      ", r.ParentRec ? r.ParentRec->Number : r.Parent);
    b.Number("Status      ", static_cast<int32_t>(r.Status));
    b.Number("Action      ", r.Action);
    b.String("NickName    ", r.NickName);
    b.String("Group       ", r.Group);
    b.String("From        ", r.From);
    b.String("To          ", r.To);
    b.End();
}

void WriteVariable(TCmdFileBuilder& b, const cVariables& r)
{
    b.Line("#Variables");
    b.Number("Action      ", r.Action);
    b.String("Name        ", r.Name);
    // The reader takes the first byte after blanks as the type: a blank one ("#vs" takes the
    // blank of ", S") would take the next key's first letter and fail the rest of the load. It
    // is written as the type the value gives, as for a new variable.
    char type = r.Type;
    if (IsFreadBlank(static_cast<unsigned char>(type)))
        type = TypeOfValue(r.Value);
    b.Line(AnsiString("Type        ") + type);
    b.String("Value       ", r.Value);
    b.End();
}

void WriteAlias(TCmdFileBuilder& b, const cAlias& r)
{
    b.Line("#Alias");
    b.Number("Action      ", r.Action);
    b.String("Name        ", r.Name);
    b.String("Text        ", r.Text);
    b.End();
}

void WriteKeyMacro(TCmdFileBuilder& b, const cKeyMacro& r)
{
    b.Line("#KeyMacro");
    b.Number("Action      ", r.Action);
    b.Number("ShortCut    ", r.ShortCut);
    b.String("Name        ", r.Name);
    b.String("ToBuff      ", r.ToBuff);
    b.End();
}

// Before the first save over a file whose load met a fault, the file as it was is kept beside
// it as ".bak", so the records the load could not read survive. Not kept, nothing is written.
TWriteResult KeepFaultedFile(std::string& toKeep, const std::string& native)
{
    TWriteResult result;
    std::error_code error;
    // The same file, however its path is spelt or reached (the book's path, the dialog's).
    if (toKeep.empty() || (toKeep != native && !std::filesystem::equivalent(toKeep, native, error)))
        return result;
    std::optional<TFreadStream> old = TFreadStream::Open(native, MaxCmdFileBytes);
    if (old)
        result = AtomicWriteFile(native + ".bak", old->Take(old->Remaining()));
    else if (std::filesystem::exists(native, error) || error)
        result = {false, "The command file whose load met a fault cannot be read to keep it."};
    if (result)
        toKeep.clear();
    return result;
}

template <class List>
void SetFileNames(const List& list, const AnsiString& name)
{
    for (const auto& record : list)
        record->FileName = name;
}

}  // namespace

AnsiString CmdFileText(const TScriptState& state)
{
    TCmdFileBuilder b;
    b.Out = Header;
    WriteConfig(b, state.CmdConfig);
    for (const auto& r : state.ButtonList)
        WriteButton(b, *r);
    for (const auto& r : state.TimerRecList)
        WriteTimer(b, *r);
    for (const auto& r : state.TriggerList)
        WriteTrigger(b, *r);
    for (const auto& r : state.VariableList)
        WriteVariable(b, *r);
    for (const auto& r : state.AliasList)
        WriteAlias(b, *r);
    for (const auto& r : state.KeyMacroList)
        WriteKeyMacro(b, *r);
    b.Out += "#END\r\n";
    return b.Out;
}

bool TScriptState::SaveCmdFile(const AnsiString& path)
{
    const std::string native = NativePath(path);
    TWriteResult result;
    if (native.empty()) {
        result.Ok = false;
        result.Message = "No command file name.";
    } else {
        // The folder ("Cmd" beside the program, usually) is made when it is missing.
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(native).parent_path(), ignored);
        const AnsiString text = CmdFileText(*this);
        // What the reader would refuse is not written.
        if (text.size() > MaxCmdFileBytes)
            result = {false, "The script is larger than the bytes a command file may hold."};
        if (result)
            result = KeepFaultedFile(CmdFileToKeep, native);
        if (result)
            result = AtomicWriteFile(native, text);
    }
    if (!result) {
        WriteLog("%s", result.Message.c_str());
        Host.ShowMessageBox(ScriptText::ErrorCaption, CmdFileMessages::SaveFailed);
        return false;
    }
    const AnsiString name = CmdFileName(path);
    SetFileNames(ButtonList, name);
    SetFileNames(TriggerList, name);
    SetFileNames(VariableList, name);
    SetFileNames(AliasList, name);
    SetFileNames(KeyMacroList, name);
    TriggerFile = path;
    Host.SaveCharBook();
    return true;
}
