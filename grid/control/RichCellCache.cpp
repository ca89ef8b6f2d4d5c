#include "grid/control/RichCellCache.h"

#include <functional>

size_t TRichCellCache::TKeyHash::operator()(const TKey& Key) const
{
    const size_t text = std::hash<std::string_view>{}(Key.Text);
    return Key.Selected ? text ^ (std::hash<TColor>{}(*Key.Selected) * 0x9E3779B97F4A7C15ull + 1) : text;
}

TRichDocument& TRichCellCache::Get(const AnsiString& Text, std::optional<TColor> Selected)
{
    if (const auto found = FIndex.find(TKey{Text, Selected}); found != FIndex.end()) {
        FEntries.splice(FEntries.begin(), FEntries, found->second);
        return found->second->Document;
    }
    TEntry& entry = FEntries.emplace_front();
    entry.Text = Text;
    entry.Selected = Selected;
    try {
        entry.Document.LoadFromBytes(Text);
        if (Selected) {
            entry.Document.SetSelection(0, kSelectionColorChars);
            entry.Document.SetSelColor(*Selected);
        }
    } catch (...) {
        FEntries.pop_front();
        throw;
    }
    ++FReads;
    FIndex.emplace(TKey{entry.Text, Selected}, FEntries.begin());
    RecountNewest();
    return entry.Document;
}

void TRichCellCache::RecountNewest()
{
    if (FEntries.empty())
        return;
    TEntry& newest = FEntries.front();
    FBytes -= newest.Bytes;
    newest.Bytes = newest.Document.HeldBytes() + sizeof(TEntry) + newest.Text.capacity();
    FBytes += newest.Bytes;
    while (FEntries.size() > 1 && (FEntries.size() > kMaxEntries || FBytes > FMaxBytes)) {
        const TEntry& oldest = FEntries.back();
        FIndex.erase(TKey{oldest.Text, oldest.Selected});
        FBytes -= oldest.Bytes;
        FEntries.pop_back();
    }
}
