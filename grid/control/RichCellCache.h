#pragma once
// Rich-text cells as they are painted: each cell text is read into a rich document once and
// kept, so a repaint of a cell whose text has not changed neither reads it nor lays it out again
// (a document keeps its text laid out at the last few widths it was formatted at, so one text in
// columns of different widths is laid out once for each). A selected cell shows its first
// characters in the selection's text colour; that look is kept as a document of its own. What is
// kept is bounded: at most kMaxEntries documents, taking at most the bytes given, the one painted
// longest ago going first; the newest is kept whatever it takes. What a document takes is read
// from the heap, not reckoned from its text: each is charged what the process's heap grew by
// while the cache read its text and while it was laid out and painted (its formats and layouts,
// and the fonts and glyphs first made for it), whatever its runs hold.

#include <cstddef>
#include <list>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "platform/core/AnsiString.h"
#include "platform/core/Colors.h"
#include "platform/core/HeapInUse.h"
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
    // Gives Use the document of a cell text to lay out (to paint or measure it), charges the
    // document what the heap grew by meanwhile and lets the oldest go past the bounds; Use asks
    // the cache for no other text.
    template <class TUse>
    decltype(auto) UseLaidOut(const AnsiString& Text, std::optional<TColor> Selected, TUse&& Use)
    {
        TRichDocument& document = Get(Text, Selected);
        const TCharge charge{*this};
        return Use(document);
    }

    // Cell texts read into documents since the cache was made.
    int Reads() const { return FReads; }
    size_t Count() const { return FEntries.size(); }
    // The heap the kept documents took, as charged to them.
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
        size_t Bytes = 0;  // charged so far
    };
    // Charges the newest entry the heap's growth from its making to its end.
    struct TCharge {
        TRichCellCache& Cache;
        size_t HeapBefore = HeapBytesInUse();
        ~TCharge() { Cache.ChargeNewest(HeapBefore); }
    };
    // Charges the newest entry what the heap grew (or shrank) by since it held HeapBefore bytes,
    // then lets the oldest go past the bounds.
    void ChargeNewest(size_t HeapBefore);

    // Newest first.
    std::list<TEntry> FEntries;
    std::unordered_map<TKey, std::list<TEntry>::iterator, TKeyHash> FIndex;
    size_t FMaxBytes;
    size_t FBytes = 0;
    int FReads = 0;
};
