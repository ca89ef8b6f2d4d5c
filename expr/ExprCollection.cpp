// The word dictionary and the word sequence of an expression being compiled.
#include <vector>

#include "expr/Parseclass.h"

int TExpressList::Compare(const void* key1, const void* key2) const
{
    return static_cast<const AnsiString*>(key1)->compare(*static_cast<const AnsiString*>(key2));
}

const void* TExpressList::KeyOf(void* item) const
{
    return &static_cast<TExprWord*>(static_cast<TObject*>(item))->Name;
}

TExprWord* TExpressList::Find(const AnsiString& name) const
{
    int index;
    return Search(&name, index) ? Words(index) : nullptr;
}

bool TExpressList::AddWord(TExprWord* word) { return word && Add(static_cast<TObject*>(word)) >= 0; }

void TExprCollection::Check() const
{
    // A right bracket before its left one is as unequal as a missing one.
    int depth = 0;
    for (int i = 0; i < Count(); ++i) {
        uint8_t type = Words(i)->GetVarType();
        if (type == vtLeftBracket)
            ++depth;
        else if (type == vtRightBracket && --depth < 0)
            break;
    }
    if (depth != 0)
        throw EParserException("Unequal brackets");
}

void TExprCollection::EraseExtraBrackets()
{
    int n = Count();
    if (n < 2)
        return;
    // The matching bracket of every left bracket, found once, so that peeling many layers stays
    // linear in the length.
    std::vector<int> match(n, -1);
    std::vector<int> open;
    for (int i = 0; i < n; ++i) {
        uint8_t type = Words(i)->GetVarType();
        if (type == vtLeftBracket) {
            open.push_back(i);
        } else if (type == vtRightBracket && !open.empty()) {
            match[open.back()] = i;
            open.pop_back();
        }
    }
    int layers = 0;
    while (2 * (layers + 1) <= n && Words(layers)->GetVarType() == vtLeftBracket && match[layers] == n - 1 - layers)
        ++layers;
    if (layers == 0)
        return;
    std::vector<void*> inner;
    for (int i = layers; i < n - layers; ++i)
        inner.push_back(Items(i));
    Clear();
    for (void* item : inner)
        TList::Add(item);
}

int TExprCollection::NextOper(int start) const
{
    int depth = 0;
    for (int i = start < 0 ? 0 : start; i < Count(); ++i) {
        TExprWord* word = Words(i);
        uint8_t type = word->GetVarType();
        if (type == vtLeftBracket)
            ++depth;
        else if (type == vtRightBracket)
            --depth;
        else if (depth == 0 && word->GetNFunctionArg() > 0)
            return i;
    }
    return Count();
}
