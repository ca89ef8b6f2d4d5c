#pragma once
// A reader of a face's glyphs for many readings of drawn syllables that change little. Reading a
// glyph against all 2350 source glyphs for every trial shape would cost too much; a syllable
// keeps its rivals instead, the source glyphs nearest to its own and to it as drawn, and a trial
// is read against those alone. Whoever keeps a change reads it again in full (Read), which
// finds its rivals anew.

#include <optional>
#include <vector>

#include "tools/fontgen/Glyph16.h"

// How clearly a drawn syllable reads as its own source glyph: the distance to the nearest rival
// minus the distance to its own (pixels; squared blurred sums), capped; above zero it is read as
// itself.
struct TReading {
    int Raw = 0, Blurred = 0;
};

class TRivalReader {
public:
    static constexpr int RawCap = 2, BlurCap = 18;

    // `read` marks the syllables read (those the source draws); the others are never rivals.
    TRivalReader(const std::vector<std::optional<TGlyph16>>& source, const std::vector<bool>& read);
    ~TRivalReader();
    TRivalReader(const TRivalReader&) = delete;
    TRivalReader& operator=(const TRivalReader&) = delete;

    bool Reads(int syllable) const;
    // Reads the glyph drawn for the syllable against every source glyph, keeping its nearest as
    // the syllable's rivals.
    TReading Read(const TGlyph16& drawn, int syllable);
    // Reads it against the syllable's rivals alone.
    TReading ReadAmongRivals(const TGlyph16& drawn, int syllable) const;

private:
    struct TData;
    TData* FData;
};
