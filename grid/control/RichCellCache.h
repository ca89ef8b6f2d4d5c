#pragma once
// Rich-text cells as they are painted: each cell text is read into a rich document once and
// kept, so a repaint of a cell whose text has not changed neither reads it nor lays it out again
// (a document keeps its text laid out at the last few widths it was formatted at, so one text in
// columns of different widths is laid out once for each). A selected cell shows its first
// characters in the selection's text colour; that look is kept as a document of its own. What is
// kept is bounded: at most kMaxEntries documents, taking at most the bytes given, the one painted
// longest ago going first; the newest is kept whatever it takes. What a document takes is
// reckoned from every part Qt keeps for it, its layouts and each format and font its runs show in
// included (TRichDocument::HeldBytes), so the bound holds whatever its runs hold. The heap itself
// is not counted: a count walks every free block of the allocator, tens of milliseconds on a heap
// a long session left in pieces, and moves with other threads' allocations.

#include <cstddef>
#include <list>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "platform/core/AnsiString.h"
#include "platform/core/Colors.h"
#include "platform/gui/RichDocument.h"

class TRichCellCache {
public:
    static constexpr size_t kMaxEntries = 256;
    static constexpr size_t kMaxBytes = size_t{32} << 20;
    // Characters of a selected cell that take the selection's text colour.
    static constexpr int kSelectionColorChars = 255;

    explicit TRichCellCache(size_t MaxBytes = kMaxBytes) : FMaxBytes(MaxBytes) {}

    // The document of a cell text, shown selected in the colour given (none: as it is), for a
    // use that does not lay it out (its plain text).
    TRichDocument& Get(const AnsiString& Text, std::optional<TColor> Selected = std::nullopt);
    // Gives Use the document of a cell text to lay out (to paint or measure it), then counts what
    // the document takes again and lets the oldest go past the bounds; Use asks the cache for no
    // other text.
    template <class TUse>
    decltype(auto) UseLaidOut(const AnsiString& Text, std::optional<TColor> Selected, TUse&& Use)
    {
        TRichDocument& document = Get(Text, Selected);
        const TRecount recount{*this};
        return Use(document);
    }

    // Cell texts read into documents since the cache was made.
    int Reads() const { return FReads; }
    size_t Count() const { return FEntries.size(); }
    // The memory the kept documents take, as they reckon it, with their cell texts.
    size_t Bytes() const { return FBytes; }
    size_t MaxBytes() const { return FMaxBytes; }

private:
    struct TKey {
        std::string_view Text;  // the entry's own text
        std::optional<TColor> Selected;
        bool operator==(const TKey&) const = default;
    };
    struct TKeyHash {
        size_t operator()(const TKey& Key) const;
    };
    struct TEntry {
        AnsiString Text;
        std::optional<TColor> Selected;
        TRichDocument Document;
        size_t Bytes = 0;  // what Document took when last counted
    };
    struct TRecount {
        TRichCellCache& Cache;
        ~TRecount() { Cache.RecountNewest(); }
    };
    // Counts the newest entry's document again, then lets the oldest go past the bounds.
    void RecountNewest();

    // Newest first.
    std::list<TEntry> FEntries;
    std::unordered_map<TKey, std::list<TEntry>::iterator, TKeyHash> FIndex;
    size_t FMaxBytes;
    size_t FBytes = 0;
    int FReads = 0;
};
