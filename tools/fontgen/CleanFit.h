#pragma once
// Fits the jamo glyphs of a combination font to a face drawn from letters (Unifont) where the
// combination scheme cannot draw every syllable as the face does: every glyph is one of its
// letter's whole shapes as the face's syllables draw it, or such a shape moved by a pixel, with
// at most a few of its strokes made a pixel longer or shorter or its separate parts moved by a
// pixel. Nothing is thickened or averaged. Of those shapes the search takes the ones that leave
// the syllables read as themselves (pixel for pixel and blurred, the frequent ones weighing
// most) while keeping them free of the faults their source glyphs lack (GlyphShape.h): never in
// a common syllable, and elsewhere only where one fault buys several readings.

#include <vector>

#include "tools/fontgen/Glyph16.h"
#include "tools/fontgen/JamoVariables.h"
#include "tools/fontgen/LetterCut.h"

struct TCleanFitProblem {
    const std::vector<jamo::TUse>& Uses;   // every syllable
    const std::vector<TGlyph16>& Source;   // the source glyph of every syllable
    const std::vector<TLetters>& Letters;  // and its letters (CutLetters)
    const std::vector<bool>& Read;         // the syllables a reader reads (KS X 1001)
    const std::vector<int>& Ranks;         // their frequency ranks, -1 where unranked
};

// The glyphs (jamo variables); deterministic.
std::vector<TGlyph16> FitCleanLetters(const TCleanFitProblem& problem);
