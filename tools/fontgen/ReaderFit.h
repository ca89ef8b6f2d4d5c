#pragma once
// Reshapes the jamo glyphs of a fitted combination font for what a reader sees, where the
// combination scheme cannot draw every syllable as the source does: the objective is the number
// of syllables read as themselves (pixel for pixel and blurred), then how clearly, then the
// pixels that still differ. Every glyph keeps its letter's loops, gains no specks, and draws
// only near where its letter is drawn; no syllable becomes misshapen.

#include <optional>
#include <vector>

#include "tools/fontgen/Glyph16.h"
#include "tools/fontgen/JamoVariables.h"

struct TReaderFitProblem {
    const std::vector<jamo::TUse>& Uses;                 // every syllable
    const std::vector<std::optional<TGlyph16>>& Source;  // the source glyph of every syllable
    const std::vector<bool>& Read;                       // the syllables the reader reads
    const std::vector<TGlyph16>& Allowed;                // where each jamo glyph may draw
    const std::vector<std::vector<TGlyph16>>& Cuts;      // each jamo glyph's letter as syllables draw it
};

// Changes the glyphs (jamo variables) in place; deterministic.
void FitForReader(std::vector<TGlyph16>& glyphs, const TReaderFitProblem& problem);
