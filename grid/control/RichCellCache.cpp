#include "grid/control/RichCellCache.h"

#include <algorithm>
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
    const size_t heapBefore = HeapBytesInUse();
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
    ChargeNewest(heapBefore);
    return entry.Document;
}

void TRichCellCache::ChargeNewest(size_t HeapBefore)
{
    if (FEntries.empty())
        return;
    TEntry& newest = FEntries.front();
    const size_t heap = HeapBytesInUse();
    // What was given back is taken off, down to nothing: the heap may also shrink by what is not
    // the document's.
    const size_t charged = heap >= HeapBefore ? newest.Bytes + (heap - HeapBefore)
                                              : newest.Bytes - std::min(newest.Bytes, HeapBefore - heap);
    FBytes = FBytes - newest.Bytes + charged;
    newest.Bytes = charged;
    while (FEntries.size() > 1 && (FEntries.size() > kMaxEntries || FBytes > FMaxBytes)) {
        const TEntry& oldest = FEntries.back();
        FIndex.erase(TKey{oldest.Text, oldest.Selected});
        FBytes -= oldest.Bytes;
        FEntries.pop_back();
    }
}
