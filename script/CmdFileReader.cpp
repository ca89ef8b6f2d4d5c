// Reading a command file. A malformed file ends its load with a message; what was read before
// the fault stays loaded.

#include <filesystem>
#include <memory>
#include <type_traits>

#include "platform/core/StoredPath.h"
#include "script/CmdFile.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"
#include "script/Utility.h"

namespace {

// What one key did.
enum class TKeyResult { Read, Unknown, BadValue };
// How a section ended: at its "End", at a key it does not know, or at a value it could not read.
enum class TSectionEnd { Closed, BadKey, BadValue };

class TCmdFileReader {
public:
    TCmdFileReader(TScriptState& state, TFreadStream& in, AnsiString fileName)
        : State(state), In(in), FileName(std::move(fileName))
    {}

    // Reads sections up to "#END". The result is that of the last section read: true when it
    // closed with "End"; false when there was none.
    bool Run();
    // Whether a fault was reported: then something of the file was not loaded.
    bool MetFault() const { return Faulted; }

private:
    template <class ReadKey>
    TSectionEnd ReadSection(const char* badKeyMessage, ReadKey readKey);
    template <class T, class ReadKey>
    TSectionEnd ReadRecord(TOwnedList<T>& list, const char* badKeyMessage, ReadKey readKey);

    TSectionEnd ReadConfig();
    TSectionEnd ReadButton();
    TSectionEnd ReadTimer();
    TSectionEnd ReadTriggers();
    TSectionEnd ReadVariable();
    TSectionEnd ReadAlias();
    TSectionEnd ReadKeyMacro();

    TKeyResult Number(int32_t& field)
    {
        const std::optional<int32_t> n = FreadNumber(In);
        if (!n)
            return TKeyResult::BadValue;
        field = *n;
        return TKeyResult::Read;
    }
    template <class Field>
    TKeyResult NumberInto(Field& field)
    {
        int32_t n = 0;
        const TKeyResult r = Number(n);
        if (r == TKeyResult::Read)
            field = static_cast<Field>(n);
        return r;
    }
    TKeyResult String(AnsiString& field)
    {
        std::optional<AnsiString> s = FreadLengthString(In);
        if (!s)
            return TKeyResult::BadValue;
        field = std::move(*s);
        return TKeyResult::Read;
    }

    void Error(const char* message)
    {
        Faulted = true;
        State.Host.ShowMessageBox(ScriptText::ErrorCaption, message);
    }

    TScriptState& State;
    TFreadStream& In;
    const AnsiString FileName;
    bool Result = false;
    bool Faulted = false;
};

bool TCmdFileReader::Run()
{
    for (;;) {
        const int c = FreadLetter(In);
        if (c == '*') {
            FreadToEol(In);
            continue;
        }
        if (c != '#') {
            Error(CmdFileMessages::BadFormat);
            return Result;
        }
        const std::optional<AnsiString> word = FreadWord(In);
        TSectionEnd end;
        if (StrEqual(word, "Config")) {
            end = ReadConfig();
        } else if (StrEqual(word, "Button")) {
            end = ReadButton();
        } else if (StrEqual(word, "Timer")) {
            end = ReadTimer();
        } else if (StrEqual(word, "Triggers")) {
            end = ReadTriggers();
        } else if (StrEqual(word, "Variables")) {
            end = ReadVariable();
        } else if (StrEqual(word, "Alias")) {
            end = ReadAlias();
        } else if (StrEqual(word, "KeyMacro")) {
            end = ReadKeyMacro();
        } else if (StrEqual(word, "END")) {
            return Result;
        } else {
            Error(CmdFileMessages::BadSection);
            return Result;
        }
        Result = end == TSectionEnd::Closed;
        if (end == TSectionEnd::BadValue) {
            // A number that is not one, or a text longer than the file: nothing after it can be
            // trusted.
            Error(CmdFileMessages::BadFormat);
            return Result;
        }
    }
}

template <class ReadKey>
TSectionEnd TCmdFileReader::ReadSection(const char* badKeyMessage, ReadKey readKey)
{
    for (;;) {
        // A section that has run into the end of the file closes as if "End" stood there.
        const std::optional<AnsiString> key = In.Eof() ? std::optional<AnsiString>("End") : FreadWord(In);
        if (key && !key->empty() && (*key)[0] == '*') {
            FreadToEol(In);
            continue;
        }
        if (StrEqual(key, "End"))
            return TSectionEnd::Closed;
        const TKeyResult r = key ? readKey(*key) : TKeyResult::Unknown;
        if (r == TKeyResult::BadValue)
            return TSectionEnd::BadValue;
        if (r == TKeyResult::Unknown) {
            Error(badKeyMessage);
            return TSectionEnd::BadKey;
        }
    }
}

template <class T, class ReadKey>
TSectionEnd TCmdFileReader::ReadRecord(TOwnedList<T>& list, const char* badKeyMessage, ReadKey readKey)
{
    // A record whose section fails is dropped, so none of its fields reach the next record.
    auto record = std::make_unique<T>();
    const TSectionEnd end = ReadSection(badKeyMessage, [&](const AnsiString& key) { return readKey(*record, key); });
    if (end == TSectionEnd::Closed) {
        if constexpr (requires { record->FileName; })
            record->FileName = FileName;
        if constexpr (std::is_same_v<T, cTimer>)
            State.AddUserTimer(std::move(record));  // gets its event; its settings are applied
        else
            list.Add(std::move(record));
    }
    return end;
}

TSectionEnd TCmdFileReader::ReadConfig()
{
    // Settings go straight into the window's record, so those read before a fault stay.
    cConfig& c = State.CmdConfig;
    const TSectionEnd end = ReadSection(CmdFileMessages::BadConfigKey, [&](const AnsiString& key) {
        if (key == "StatusLine")
            return String(c.StatusLine);
        if (key == "TrigMode")
            return NumberInto(c.TrigMode);
        if (key == "ActivePage")
            return Number(c.ActivePage);
        if (key == "TimerActivee")
            return Number(c.TimerActivee);
        if (key == "ToolView")
            return Number(c.ToolView);
        if (key == "StartUpCmd")
            return String(c.StartUpCmd);
        if (key == "WFCFCmd")
            return String(c.WFCFCmd);
        if (key == "WFCSCmd")
            return String(c.WFCSCmd);
        return TKeyResult::Unknown;
    });
    if (end == TSectionEnd::Closed)
        State.SetUserTimersActive(c.TimerActivee != 0);
    return end;
}

TSectionEnd TCmdFileReader::ReadButton()
{
    return ReadRecord(State.ButtonList, CmdFileMessages::BadButtonKey, [&](cButton& r, const AnsiString& key) {
        if (key == "Action")
            return Number(r.Action);
        if (key == "Status")
            return Number(r.Status);
        if (key == "Name")
            return String(r.Name);
        if (key == "OnBuff")
            return String(r.OnBuff);
        if (key == "OffBuff")
            return String(r.OffBuff);
        return TKeyResult::Unknown;
    });
}

TSectionEnd TCmdFileReader::ReadTimer()
{
    return ReadRecord(State.TimerRecList, CmdFileMessages::BadTimerKey, [&](cTimer& r, const AnsiString& key) {
        if (key == "Action")
            return Number(r.Action);
        if (key == "Status")
            return Number(r.Status);
        if (key == "Ticker")
            return Number(r.Ticker);
        if (key == "Repeat")
            return Number(r.Repeat);
        if (key == "Name")
            return String(r.Name);
        if (key == "OnBuff")
            return String(r.OnBuff);
        return TKeyResult::Unknown;
    });
}

TSectionEnd TCmdFileReader::ReadTriggers()
{
    return ReadRecord(State.TriggerList, CmdFileMessages::BadTriggerKey, [&](cTriggers& r, const AnsiString& key) {
        if (key == "Parent")
            return Number(r.Parent);
        if (key == "Status")
            return NumberInto(r.Status);
        if (key == "Action")
            return Number(r.Action);
        if (key == "NickName")
            return String(r.NickName);
        if (key == "Group")
            return String(r.Group);
        if (key == "From")
            return String(r.From);
        if (key == "To")
            return String(r.To);
        return TKeyResult::Unknown;
    });
}

TSectionEnd TCmdFileReader::ReadVariable()
{
    return ReadRecord(State.VariableList, CmdFileMessages::BadVariableKey, [&](cVariables& r, const AnsiString& key) {
        if (key == "Action")
            return Number(r.Action);
        if (key == "Name")
            return String(r.Name);
        if (key == "Type") {
            // At the end of the file the section closes and the type stays as it was.
            const int c = FreadLetter(In);
            if (c != TFreadStream::EndOfFile)
                r.Type = static_cast<char>(c);
            return TKeyResult::Read;
        }
        if (key == "Value")
            return String(r.Value);
        if (key == "Dvalue")
            return String(r.Dvalue);
        return TKeyResult::Unknown;
    });
}

TSectionEnd TCmdFileReader::ReadAlias()
{
    return ReadRecord(State.AliasList, CmdFileMessages::BadAliasKey, [&](cAlias& r, const AnsiString& key) {
        if (key == "Action")
            return Number(r.Action);
        if (key == "Name")
            return String(r.Name);
        if (key == "Text")
            return String(r.Text);
        return TKeyResult::Unknown;
    });
}

TSectionEnd TCmdFileReader::ReadKeyMacro()
{
    return ReadRecord(State.KeyMacroList, CmdFileMessages::BadKeyMacroKey, [&](cKeyMacro& r, const AnsiString& key) {
        if (key == "Action")
            return Number(r.Action);
        if (key == "ShortCut")
            return NumberInto(r.ShortCut);  // the low 16 bits
        if (key == "Name")
            return String(r.Name);
        if (key == "ToBuff")
            return String(r.ToBuff);
        return TKeyResult::Unknown;
    });
}

}  // namespace

bool TScriptState::LoadCmdFile(const AnsiString& path)
{
    const std::string native = NativePath(path);
    std::error_code error;
    if (std::filesystem::is_regular_file(native, error) &&
        std::filesystem::file_size(native, error) > MaxCmdFileBytes && !error) {
        // No command file is this large: refused at once, and nothing changes. Like a file that
        // cannot be read, it is not written over blindly either.
        WriteLog("%s: larger than the %llu bytes a command file may hold.", native.c_str(),
                 static_cast<unsigned long long>(MaxCmdFileBytes));
        Host.ShowMessageBox(ScriptText::ErrorCaption, CmdFileMessages::BadFormat);
        CmdFileToKeep = native;
        return false;
    }
    std::optional<TFreadStream> in = TFreadStream::Open(native, MaxCmdFileBytes);
    if (!in) {
        // A file that is there but cannot be read (no permission) is not written over blindly.
        if (std::filesystem::is_regular_file(native, error))
            CmdFileToKeep = native;
        return false;
    }
    ClearCmdData();
    TCmdFileReader reader(*this, *in, CmdFileName(path));
    const bool result = reader.Run();
    // The file is let go before the start-up commands run: they may load files again, up to the
    // nesting limit, and no level keeps the file it read.
    in.reset();
    // What the load skipped would be lost when the lists are saved over the file.
    CmdFileToKeep = reader.MetFault() ? native : std::string();
    TriggersChanged();
    Host.ButtonListChanged();
    // These run after every load of a file that opened, whatever its faults.
    TriggerFile = path;
    Host.SaveCharBook();
    RunStartUpCmd();
    return result;
}
