#pragma once
// What the tries of one pattern on a line that is still arriving have found out, so that each
// try goes on where the last one stopped instead of searching the whole line again.
//
// A memo serves only the same line grown longer: the bytes it has seen, and which of them begin
// a character, stay as they were. As the line grows, every piece of a pattern is placed at the
// same place or further right, so each search only ever resumes forwards and looks at each byte
// of the line about once over all the tries of that line. A search that starts further left than
// its memo knows (which placing never asks for) simply starts afresh.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// [From, Upto) has been searched: no match begins there (for a run of digits: all are digits).
struct TSpanMemo {
    size_t From = std::string_view::npos;
    size_t Upto = 0;
};

// The last word-ending byte before End, or npos; the bytes before End have been looked at.
struct TEnderMemo {
    size_t End = 0;
    size_t Last = std::string_view::npos;
};

struct TPieceMemo {
    TSpanMemo Search;   // the piece's own search: its literal, its first digit, its word's end
    TSpanMemo Run;      // the run of digits of a "%d"
    TEnderMemo Start;   // where a "%s" word starts
    TEnderMemo Inside;  // whether a "%s" capture holds a word-ending byte
};

struct TMatchMemo {
    size_t Length = 0;  // the longest line tried
    TSpanMemo Key;      // the search for the literal every match needs
    std::vector<TPieceMemo> Pieces;
    // Bytes looked at by the searches, so that a test can bound the work of a line.
    uint64_t Steps = 0;

    // Forgets what was found (a new line, another pattern); the count of steps stays.
    void Reset(size_t pieces)
    {
        Length = 0;
        Key = {};
        Pieces.assign(pieces, TPieceMemo{});
    }
};
