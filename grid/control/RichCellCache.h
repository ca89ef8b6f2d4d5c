#pragma once
// Rich-text cells as they are painted: each cell text is read into a rich document once and
// kept, so a repaint of a cell whose text has not changed neither reads it nor lays it out again
// (a document keeps its text laid out for the canvas it was last formatted on). A selected cell
// shows its first characters in the selection's text colour; that look is kept as a document of
// its own. What is kept is bounded: at most kMaxEntries documents, made from at most kMaxBytes
// of cell text, the one painted longest ago going first; the newest is kept whatever its size.

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
    static constexpr size_t kMaxBytes = 1 << 20;
    // Characters of a selected cell that take the selection's text colour.
    static constexpr int kSelectionColorChars = 255;

    // The document of a cell text, shown selected in the colour given (none: as it is).
    TRichDocument& Get(const AnsiString& Text, std::optional<TColor> Selected = std::nullopt);
    // Cell texts read into documents since the cache was made.
    int Reads() const { return FReads; }
    size_t Count() const { return FEntries.size(); }
    // The cell text the kept documents were made from.
    size_t Bytes() const { return FBytes; }

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
    };
    // Newest first.
    std::list<TEntry> FEntries;
    std::unordered_map<TKey, std::list<TEntry>::iterator, TKeyHash> FIndex;
    size_t FBytes = 0;
    int FReads = 0;
};
