#include "HashCommandTest.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/core/Cp949.h"

void THashTestHost::ClickButton(cButton& button)
{
    TRecordingHost::ClickButton(button);
    button.Status ^= 1;
    State->ExecuteCommand((button.Status & 1) ? button.OnBuff : button.OffBuff);
}

HashCommandTest::HashCommandTest()
{
    host.State = &state;
    char name[] = "/tmp/hashcommand-test-XXXXXX";
    if (mkdtemp(name))
        Folder = name;
    host.Folder = Folder;
}

HashCommandTest::~HashCommandTest()
{
    std::error_code ignored;
    if (!Folder.empty())
        std::filesystem::remove_all(Folder, ignored);
}

void HashCommandTest::Receive(std::string_view text)
{
    for (char c : text)
        state.ScanReceivedText(AnsiString(1, c));
}

std::vector<AnsiString> HashCommandTest::Lines() const
{
    std::vector<AnsiString> lines;
    const AnsiString all = host.Sent();
    size_t start = 0;
    for (size_t at; (at = all.find("\r\n", start)) != AnsiString::npos; start = at + 2)
        lines.push_back(all.substr(start, at - start));
    if (start < all.size())
        lines.push_back(all.substr(start));
    return lines;
}

cTriggers* HashCommandTest::AddTrigger(const AnsiString& nick, const AnsiString& from, const AnsiString& to,
                                       const AnsiString& group)
{
    auto t = std::make_unique<cTriggers>();
    t->NickName = nick;
    t->From = from;
    t->To = to;
    t->Group = group;
    cTriggers* added = state.TriggerList.Add(std::move(t));
    state.TriggersChanged();
    return added;
}

cTimer* HashCommandTest::AddTimer(const AnsiString& name, int32_t ticker, int32_t status, const AnsiString& command)
{
    auto timer = std::make_unique<cTimer>();
    timer->Name = name;
    timer->Ticker = ticker;
    timer->Status = status;
    timer->OnBuff = command;
    return state.AddUserTimer(std::move(timer));
}

std::string HashCommandTest::WriteFile(const std::string& name, const std::string& bytes) const
{
    const std::string path = Folder + "/" + name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string HashCommandTest::ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

AnsiString Ks(const char* utf8) { return Utf8ToCp949(utf8); }
