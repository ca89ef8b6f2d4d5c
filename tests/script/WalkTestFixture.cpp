#include "WalkTest.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/core/Cp949.h"

void WalkTest::SetUp()
{
    char name[] = "/tmp/walk-test-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    Folder = name;
    host.Folder = Folder;
}

void WalkTest::TearDown()
{
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
}

void WalkTest::WriteWalk(const std::string& name, const std::string& bytes) const
{
    const std::filesystem::path path = CmdPath(name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string WalkTest::ReadWalk(const std::string& name) const
{
    std::ifstream in(CmdPath(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WalkTest::OpenLines(const std::vector<AnsiString>& lines)
{
    std::string bytes;
    for (const auto& line : lines)
        bytes += line + "\r\n";
    WriteWalk("Route.Wlk", bytes);
    OpenWalk(state, "Route.Wlk");
    ASSERT_EQ(state.WalkRec.State, 2);
}

std::vector<AnsiString> WalkTest::TakeLines()
{
    std::vector<AnsiString> lines = Lines();
    std::vector<TScriptEvent> kept;
    for (const auto& e : host.Events)
        if (e.What != TScriptEvent::Send)
            kept.push_back(e);
    host.Events = kept;
    return lines;
}

std::vector<AnsiString> WalkTest::Boxes() const
{
    std::vector<AnsiString> boxes;
    for (const auto& e : host.Events)
        if (e.What == TScriptEvent::MessageBox)
            boxes.push_back(e.Name);
    return boxes;
}

std::vector<AnsiString> WalkTest::Lines() const
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

cVariables* WalkTest::AddVariable(const AnsiString& name, const AnsiString& value, char type)
{
    auto v = std::make_unique<cVariables>();
    v->Name = name;
    v->Value = value;
    v->Type = type;
    return state.VariableList.Add(std::move(v));
}

AnsiString Kr(const char* utf8) { return Utf8ToCp949(utf8); }
