#include "ScriptTestFixture.h"

std::vector<AnsiString> ScriptTest::Sends() const
{
    std::vector<AnsiString> sends;
    for (const auto& e : host.Events)
        if (e.What == TScriptEvent::Send)
            sends.push_back(e.Text);
    return sends;
}

std::vector<AnsiString> ScriptTest::Lines() const
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

cAlias* ScriptTest::AddAlias(const AnsiString& name, const AnsiString& text)
{
    auto alias = std::make_unique<cAlias>();
    alias->Name = name;
    alias->Text = text;
    return state.AliasList.Add(std::move(alias));
}

cVariables* ScriptTest::AddVariable(const AnsiString& name, const AnsiString& value, char type)
{
    auto v = std::make_unique<cVariables>();
    v->Name = name;
    v->Value = value;
    v->Type = type;
    return state.VariableList.Add(std::move(v));
}
