#include "tools/fontgen/CleanFit.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>

#include "tools/fontgen/GlyphOps.h"
#include "tools/fontgen/GlyphShape.h"
#include "tools/fontgen/Legibility.h"
#include "tools/fontgen/RivalReader.h"
#include "tools/fontgen/SyllableFrequency.h"

namespace {

using jamo::TUse;
using jamo::VariableCount;

int WrongPixels(const TGlyph16& a, const TGlyph16& b) { return PixelDistance(PackedGlyph(a), PackedGlyph(b)); }

// The shortest a stroke is cut to: a leg of ㄱ or a stem of ㅜ shorter than this no longer reads
// as one.
constexpr int ShortestStroke = 3;

// Edits that keep a letter's strokes whole and one pixel wide: each separate part of it (ㅏ of
// ㅘ) moved by a pixel, and a stroke made a pixel longer or shorter at its free end.
std::vector<TGlyph16> LetterEdits(const TGlyph16& g)
{
    std::vector<TGlyph16> edits;
    const std::vector<TGlyph16> pieces = PiecesOf(g);
    for (size_t i = 0; pieces.size() > 1 && i < pieces.size(); ++i) {
        TGlyph16 rest;
        for (size_t r = 0; r < 16; ++r)
            rest.Rows[r] = static_cast<uint16_t>(g.Rows[r] & ~pieces[i].Rows[r]);
        for (const auto& [dr, dc] : {std::pair(-1, 0), std::pair(1, 0), std::pair(0, -1), std::pair(0, 1)}) {
            const TGlyph16 moved = Shifted(pieces[i], dr, dc);
            if (Ink(moved) == Ink(pieces[i]))
                edits.push_back(Or(rest, moved));
        }
    }
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c) {
            if (!Ink(g, r, c))
                continue;
            // A free end has one neighbour, which gives the stroke's direction.
            int neighbours = 0, nr = 0, nc = 0;
            for (int dr = -1; dr <= 1; ++dr)
                for (int dc = -1; dc <= 1; ++dc)
                    if ((dr || dc) && Ink(g, r + dr, c + dc)) {
                        ++neighbours;
                        nr = r + dr;
                        nc = c + dc;
                    }
            if (neighbours != 1)
                continue;
            // A stroke is shortened only while it stays a stroke: never below ShortestStroke.
            int length = 1;
            while (Ink(g, r + length * (nr - r), c + length * (nc - c)))
                ++length;
            if (length > ShortestStroke) {
                TGlyph16 shorter = g;
                Put(shorter, r, c, false);
                edits.push_back(shorter);
            }
            const int er = 2 * r - nr, ec = 2 * c - nc;
            if (er >= 0 && er < 16 && ec >= 0 && ec < 16) {
                TGlyph16 longer = g;
                Put(longer, er, ec, true);
                edits.push_back(longer);
            }
        }
    return edits;
}

int BlockCount(const TGlyphShape& s)
{
    int n = 0;
    for (uint16_t row : s.Blocks)
        n += __builtin_popcount(row);
    return n;
}

// What a syllable is worth as drawn. A fault its source lacks costs a common syllable more than
// anything can buy back, and any other the worth of three readings; then each reading as itself
// (pixel for pixel, blurred), weighted by how often the syllable is met; then how clearly it
// reads; then the pixels drawn as the source draws them. Syllables nobody reads count little.
constexpr long CommonFaultCost = 1000000000L;
constexpr long FaultCost = 300000L;
constexpr long ReadingWorth = 100000L;
constexpr long RawMarginWorth = 500L, BlurMarginWorth = 100L;
constexpr long NotExactCost = 30;
constexpr long UnreadFaultCost = 3000;
// Edits a glyph may take beyond one of its letter's whole shapes.
constexpr int MostEdits = 3;

long Weight(int rank) { return rank >= 0 && rank < CommonSyllableCount ? 10 : rank >= 0 && rank < 600 ? 3 : 1; }

class TSearch {
public:
    TSearch(const TCleanFitProblem& problem)
        : FProblem(problem), FSource(problem.Source.begin(), problem.Source.end()), FReader(FSource, problem.Read),
          FUsers(VariableCount), FCandidates(VariableCount), FGlyphs(VariableCount), FValue(problem.Uses.size()),
          FLegible(problem.Uses.size()), FFaulty(problem.Uses.size()), FEdits(VariableCount)
    {
        for (size_t n = 0; n < problem.Uses.size(); ++n) {
            FSourceShape.push_back(ShapeOf(problem.Source[n]));
            const TUse& u = problem.Uses[n];
            for (int k = 0; k < u.Count; ++k)
                FUsers[static_cast<size_t>(u.Var[k])].push_back(static_cast<int>(n));
        }
        ChooseCandidates();
        for (int v = 0; v < VariableCount; ++v)
            FShape.push_back(ShapeOf(FGlyphs[static_cast<size_t>(v)]));
        for (size_t n = 0; n < problem.Uses.size(); ++n)
            Redraw(static_cast<int>(n));
    }

    std::vector<TGlyph16> Run()
    {
        // First the whole shapes, every glyph in turn until none changes; then the edits, for
        // the glyphs of syllables still misread or misshapen.
        for (int sweep = 0; sweep < 10; ++sweep) {
            int changed = 0;
            for (int v = 0; v < VariableCount; ++v)
                if (FCandidates[static_cast<size_t>(v)].size() > 1)
                    changed +=
                        Improve(v, FCandidates[static_cast<size_t>(v)], FCandidates[static_cast<size_t>(v)].size());
            if (changed == 0)
                break;
        }
        for (int round = 0; round < 8; ++round) {
            int changed = 0;
            for (int v : WeakGlyphs()) {
                std::vector<TGlyph16> moves = FCandidates[static_cast<size_t>(v)];
                const size_t wholes = moves.size();
                if (FEdits[static_cast<size_t>(v)] < MostEdits)
                    for (const TGlyph16& edit : LetterEdits(FGlyphs[static_cast<size_t>(v)]))
                        if (KeepsLetter(v, edit))
                            moves.push_back(edit);
                changed += Improve(v, moves, wholes);
            }
            if (changed == 0)
                break;
        }
        return FGlyphs;
    }

private:
    // Each glyph's whole shapes: its letter as any syllable draws it, and each such shape moved
    // by a pixel. It starts as the shape most of its own syllables draw.
    void ChooseCandidates()
    {
        std::map<int, std::map<std::array<uint16_t, 16>, int>> shapes;  // by letter: part * 32 + glyph
        for (int v = 0; v < VariableCount; ++v)
            for (int n : FUsers[static_cast<size_t>(v)]) {
                const TGlyph16& cut = FProblem.Letters[static_cast<size_t>(n)].Part[jamo::PartOf(v)];
                if (IsWholeLetter(jamo::PartOf(v), jamo::GlyphNumberOf(v), cut))
                    ++shapes[jamo::LetterOf(v)][cut.Rows];
            }
        for (int v = 0; v < VariableCount; ++v) {
            const auto& users = FUsers[static_cast<size_t>(v)];
            const auto& letter = shapes[jamo::LetterOf(v)];
            if (users.empty() || letter.empty())
                continue;
            std::map<std::array<uint16_t, 16>, int> own;
            for (int n : users) {
                const TGlyph16& cut = FProblem.Letters[static_cast<size_t>(n)].Part[jamo::PartOf(v)];
                if (letter.count(cut.Rows))
                    ++own[cut.Rows];
            }
            // Where none of its own syllables draws the letter whole, the letter's commonest shape.
            const auto& from = own.empty() ? letter : own;
            const auto start = std::max_element(from.begin(), from.end(),
                                                [](const auto& a, const auto& b) { return a.second < b.second; });
            auto& candidates = FCandidates[static_cast<size_t>(v)];
            auto add = [&](const TGlyph16& g) {
                if (std::find(candidates.begin(), candidates.end(), g) == candidates.end())
                    candidates.push_back(g);
            };
            TGlyph16 first;
            first.Rows = start->first;
            add(first);
            for (const auto& [rows, count] : letter) {
                TGlyph16 shape;
                shape.Rows = rows;
                add(shape);
                for (const auto& [dr, dc] : {std::pair(-1, 0), std::pair(1, 0), std::pair(0, -1), std::pair(0, 1)}) {
                    const TGlyph16 moved = Shifted(shape, dr, dc);
                    if (Ink(moved) == Ink(shape))
                        add(moved);
                }
            }
            FGlyphs[static_cast<size_t>(v)] = first;
        }
    }

    // An edit keeps the letter: its loops, its pieces, no specks or blocks it lacked.
    bool KeepsLetter(int v, const TGlyph16& g) const
    {
        const TGlyphShape s = ShapeOf(g), &letter = FShape[static_cast<size_t>(v)];
        return s.Loops == letter.Loops && s.Pieces == letter.Pieces && s.Specks <= letter.Specks &&
            BlockCount(s) <= BlockCount(letter);
    }

    long ValueOf(int n, const TGlyph16& drawn, bool readAnew, int* legible = nullptr, bool* faulty = nullptr)
    {
        const size_t at = static_cast<size_t>(n);
        const TGlyph16& source = FProblem.Source[at];
        const int wrong = WrongPixels(drawn, source);
        const bool fault = ShapeFaults(ShapeOf(drawn), FSourceShape[at]) != 0;
        long value = -wrong - (wrong ? NotExactCost : 0);
        if (faulty)
            *faulty = fault;
        if (!FReader.Reads(n))
            return value / 10 - (fault ? UnreadFaultCost : 0);
        const int rank = FProblem.Ranks[at];
        if (fault)
            value -= rank >= 0 && rank < CommonSyllableCount ? CommonFaultCost : FaultCost;
        const TReading reading = readAnew ? FReader.Read(drawn, n) : FReader.ReadAmongRivals(drawn, n);
        const int read = (reading.Raw > 0) + (reading.Blurred > 0);
        if (legible)
            *legible = read;
        return value +
            Weight(rank) * (ReadingWorth * read + RawMarginWorth * reading.Raw + BlurMarginWorth * reading.Blurred / 9);
    }

    void Redraw(int n)
    {
        const size_t at = static_cast<size_t>(n);
        int legible = 2;
        bool faulty = false;
        FValue[at] = ValueOf(n, jamo::Drawn(FGlyphs, FProblem.Uses[at]), true, &legible, &faulty);
        FLegible[at] = static_cast<uint8_t>(legible);
        FFaulty[at] = faulty;
    }

    // The glyphs some read syllable uses that is not read as itself both ways, or misshapen.
    std::vector<int> WeakGlyphs() const
    {
        std::vector<bool> weak(VariableCount);
        for (size_t n = 0; n < FValue.size(); ++n) {
            if (!FReader.Reads(static_cast<int>(n)) || (FLegible[n] == 2 && !FFaulty[n]))
                continue;
            const TUse& u = FProblem.Uses[n];
            for (int k = 0; k < u.Count; ++k)
                weak[static_cast<size_t>(u.Var[k])] = true;
        }
        std::vector<int> vars;
        for (int v = 0; v < VariableCount; ++v)
            if (weak[static_cast<size_t>(v)])
                vars.push_back(v);
        return vars;
    }

    // Takes the move that makes the glyph's syllables worth most, read against their rivals, if
    // reading them anew confirms it. Moves from `wholes` on are edits of the present glyph.
    bool Improve(int v, const std::vector<TGlyph16>& moves, size_t wholes)
    {
        const auto& users = FUsers[static_cast<size_t>(v)];
        long now = 0;
        for (int n : users)
            now += FValue[static_cast<size_t>(n)];
        TGlyph16& glyph = FGlyphs[static_cast<size_t>(v)];
        long best = now;
        size_t chosen = moves.size();
        for (size_t i = 0; i < moves.size(); ++i) {
            if (moves[i] == glyph)
                continue;
            long value = 0;
            for (int n : users) {
                value += ValueOf(n, jamo::Drawn(FGlyphs, FProblem.Uses[static_cast<size_t>(n)], v, &moves[i]), false);
                if (value < best - CommonFaultCost)
                    break;
            }
            if (value > best) {
                best = value;
                chosen = i;
            }
        }
        if (chosen == moves.size())
            return false;
        const TGlyph16 kept = glyph;
        glyph = moves[chosen];
        long after = 0;
        for (int n : users) {
            Redraw(n);
            after += FValue[static_cast<size_t>(n)];
        }
        if (after <= now) {
            glyph = kept;
            for (int n : users)
                Redraw(n);
            return false;
        }
        const bool whole = chosen < wholes;
        FEdits[static_cast<size_t>(v)] = whole ? 0 : FEdits[static_cast<size_t>(v)] + 1;
        if (whole)
            FShape[static_cast<size_t>(v)] = ShapeOf(glyph);
        return true;
    }

    const TCleanFitProblem& FProblem;
    const std::vector<std::optional<TGlyph16>> FSource;
    TRivalReader FReader;
    std::vector<std::vector<int>> FUsers;            // the syllables that use each glyph
    std::vector<std::vector<TGlyph16>> FCandidates;  // each glyph's whole shapes
    std::vector<TGlyph16> FGlyphs;
    std::vector<TGlyphShape> FShape;  // the whole shape each glyph was last given, for its edits
    std::vector<TGlyphShape> FSourceShape;
    std::vector<long> FValue;  // each syllable's worth as drawn, read in full
    std::vector<uint8_t> FLegible;
    std::vector<bool> FFaulty;
    std::vector<int> FEdits;  // edits each glyph has taken since its last whole shape
};

}  // namespace

std::vector<TGlyph16> FitCleanLetters(const TCleanFitProblem& problem) { return TSearch(problem).Run(); }
