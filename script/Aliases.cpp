#include "script/Aliases.h"

#include "script/ScriptState.h"
#include "script/Words.h"

cAlias* FindAlias(const TAliasList& list, std::string_view name) { return list.FindByName(name, &cAlias::Name); }

int SplitAliasCall(TScriptState& state, std::string_view call)
{
    std::string_view rest;
    TakeFirstWord(call, rest);  // the alias name
    state.AliasWords.clear();
    if (rest.empty())
        return 0;
    state.AliasWords.emplace_back(rest);
    while (!rest.empty())
        state.AliasWords.push_back(TakeFirstWord(rest, rest));
    return static_cast<int>(state.AliasWords.size());
}

AnsiString ExpandAlias(TScriptState& state, const cAlias& alias, std::string_view call)
{
    const int count = SplitAliasCall(state, call);
    if (count == 0)
        return alias.Text;
    const AnsiString& text = alias.Text;
    AnsiString out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c != '%' && c != ';') || i + 1 >= text.size()) {
            // A marker at the very end stays as it is.
            out += c;
            continue;
        }
        const char next = text[++i];
        if (next == '%') {
            out += '%';
        } else if (next >= '0' && next <= '9') {
            const int n = next - '0';
            if (n < count)
                out += state.AliasWords[static_cast<size_t>(n)];
        } else {
            out += '%';
            out += next;
        }
    }
    return out;
}
