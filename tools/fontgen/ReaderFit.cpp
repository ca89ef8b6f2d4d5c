#include "tools/fontgen/ReaderFit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>

#include "tools/fontgen/Legibility.h"

namespace {

using jamo::TUse;
using jamo::VariableCount;

// The box sums as 16-bit numbers, padded with zeros to a length the compiler's vector loops take
// whole.
constexpr size_t SumsLength = 336;
using TSums = std::array<int16_t, SumsLength>;

// The same sums as BoxSums, added up a row of three at a time.
TSums SumsOf(const TGlyph16& g)
{
    std::array<std::array<int16_t, 18>, 18> across{};  // padded grid: row r + 1, column c + 1
    for (size_t r = 0; r < 16; ++r) {
        const uint32_t row = static_cast<uint32_t>(g.Rows[r]) << 2;  // glyph column x at bit 17 - x
        for (size_t c = 0; c < 18; ++c)
            across[r + 1][c] = static_cast<int16_t>(__builtin_popcount(row >> (17 - c) & 7u));
    }
    TSums sums{};
    for (size_t r = 0; r < 18; ++r)
        for (size_t c = 0; c < 18; ++c)
            sums[r * 18 + c] =
                static_cast<int16_t>((r > 0 ? across[r - 1][c] : 0) + across[r][c] + (r < 17 ? across[r + 1][c] : 0));
    return sums;
}

int SquaredDistance(const TSums& a, const TSums& b)
{
    int sum = 0;
    for (size_t i = 0; i < SumsLength; ++i) {
        const int d = a[i] - b[i];
        sum += d * d;
    }
    return sum;
}

// The box sums added up along each row and each column: two glyphs' squared distance is at least
// the sum of their rows' squared differences over 18 (and the same for columns), a bound that
// rules most glyphs out at a tenth of the work.
using TProfile = std::array<int, 36>;

TProfile ProfileOf(const TSums& sums)
{
    TProfile profile{};
    for (size_t r = 0; r < 18; ++r)
        for (size_t c = 0; c < 18; ++c) {
            profile[r] += sums[r * 18 + c];
            profile[18 + c] += sums[r * 18 + c];
        }
    return profile;
}

// 18 times a lower bound of the squared distance.
int ProfileBound(const TProfile& a, const TProfile& b)
{
    int rows = 0, columns = 0;
    for (size_t i = 0; i < 18; ++i) {
        rows += (a[i] - b[i]) * (a[i] - b[i]);
        columns += (a[18 + i] - b[18 + i]) * (a[18 + i] - b[18 + i]);
    }
    return std::max(rows, columns);
}

using TBits = TPackedGlyph;

TBits BitsOf(const TGlyph16& g) { return PackedGlyph(g); }

int BitDistance(const TBits& a, const TBits& b) { return PixelDistance(a, b); }

// Beyond these margins a syllable reads no better: a pixel, and a pixel's worth of box sums (a
// pixel moved away changes nine of them by one). Below them, how far it is from being read as
// itself guides the search.
constexpr int RawCap = 1;
constexpr int BlurCap = 9;

// How clearly a drawn syllable reads as its own source glyph: the distance to the nearest other
// minus the distance to its own, up to the cap; above zero it is read as itself.
struct TReading {
    int Raw = 0, Blurred = 0;
};

// A reader of the source glyphs for many readings of glyphs that change little: a syllable keeps
// the source glyphs nearest to it as drawn (its rivals), and a trial shape is read against those
// alone; a change is kept only after an exact reading against all of them.
class TFastReader {
public:
    TFastReader(const std::vector<std::optional<TGlyph16>>& source, const std::vector<bool>& read)
        : FPlace(source.size(), -1)
    {
        for (size_t n = 0; n < source.size(); ++n) {
            if (!read[n] || !source[n])
                continue;
            FPlace[n] = static_cast<int>(FBits.size());
            FBits.push_back(BitsOf(*source[n]));
            FSums.push_back(SumsOf(*source[n]));
            FProfiles.push_back(ProfileOf(FSums.back()));
        }
    }

    int PlaceOf(int syllable) const { return FPlace[static_cast<size_t>(syllable)]; }

    // The exact reading, and the glyph's rivals: the places nearest to it either way.
    TReading Read(const TGlyph16& drawn, int place, std::vector<int>& rivals) const
    {
        const size_t p = static_cast<size_t>(place);
        const TBits bits = BitsOf(drawn);
        const TSums sums = SumsOf(drawn);
        const TProfile profile = ProfileOf(sums);
        std::vector<std::pair<int, int>> byRaw, byBlur;
        for (size_t q = 0; q < FBits.size(); ++q) {
            if (q == p)
                continue;
            byRaw.emplace_back(BitDistance(bits, FBits[q]), static_cast<int>(q));
            // The rivals' bound: a glyph whose profile is this far cannot be among the nearest.
            const int bound = byBlur.size() < Rivals ? std::numeric_limits<int>::max() / 32 : byBlur.back().first;
            if (ProfileBound(profile, FProfiles[q]) >= 18 * bound)
                continue;
            byBlur.emplace_back(SquaredDistance(sums, FSums[q]), static_cast<int>(q));
            std::sort(byBlur.begin(), byBlur.end());
            if (byBlur.size() > Rivals)
                byBlur.pop_back();
        }
        const size_t keep = std::min(Rivals, byRaw.size());
        std::partial_sort(byRaw.begin(), byRaw.begin() + static_cast<long>(keep), byRaw.end());
        rivals.clear();
        for (size_t i = 0; i < keep; ++i)
            rivals.push_back(byRaw[i].second);
        for (const auto& near : byBlur)
            rivals.push_back(near.second);
        std::sort(rivals.begin(), rivals.end());
        rivals.erase(std::unique(rivals.begin(), rivals.end()), rivals.end());
        return ReadAmong(drawn, place, rivals);
    }

    // The reading against the given rivals only.
    TReading ReadAmong(const TGlyph16& drawn, int place, const std::vector<int>& rivals) const
    {
        const size_t p = static_cast<size_t>(place);
        const TBits bits = BitsOf(drawn);
        const TSums sums = SumsOf(drawn);
        const int rawSelf = BitDistance(bits, FBits[p]);
        const int blurSelf = SquaredDistance(sums, FSums[p]);
        int rawBest = rawSelf + RawCap, blurBest = blurSelf + BlurCap;
        for (int q : rivals) {
            rawBest = std::min(rawBest, BitDistance(bits, FBits[static_cast<size_t>(q)]));
            blurBest = std::min(blurBest, SquaredDistance(sums, FSums[static_cast<size_t>(q)]));
        }
        return {rawBest - rawSelf, blurBest - blurSelf};
    }

private:
    static constexpr size_t Rivals = 12;
    std::vector<int> FPlace;
    std::vector<TBits> FBits;
    std::vector<TSums> FSums;
    std::vector<TProfile> FProfiles;
};

int WrongPixels(const TGlyph16& a, const TGlyph16& b) { return BitDistance(BitsOf(a), BitsOf(b)); }

// What a syllable is worth: read as itself (each way) far above anything else, a misshapen one
// never traded for legibility, then how near it is to being read, then drawn exactly as the
// source, then each pixel as the source draws it.
constexpr long ReadWorth = 100000;
constexpr long MisshapenCost = 100 * ReadWorth;
constexpr long MarginPixelWorth = 100;
constexpr long ExactWorth = 3000;
// Most syllables outside those read stay exactly as the source draws them.
constexpr int LeastExactPercent = 68;

struct TSyllableValue {
    long Value = 0;
    int Legible = 0;  // 0..2
};

TGlyph16 Shifted(const TGlyph16& g, int down, int right)
{
    TGlyph16 out;
    for (int r = 0; r < 16; ++r) {
        const int from = r - down;
        if (from < 0 || from > 15)
            continue;
        const uint16_t row = g.Rows[static_cast<size_t>(from)];
        out.Rows[static_cast<size_t>(r)] = static_cast<uint16_t>(right >= 0 ? row >> right : row << -right);
    }
    return out;
}

int Ink(const TGlyph16& g)
{
    int n = 0;
    for (uint16_t row : g.Rows)
        n += __builtin_popcount(row);
    return n;
}

TGlyph16 Or(const TGlyph16& a, const TGlyph16& b)
{
    TGlyph16 g;
    for (size_t r = 0; r < 16; ++r)
        g.Rows[r] = static_cast<uint16_t>(a.Rows[r] | b.Rows[r]);
    return g;
}

TGlyph16 Grown(const TGlyph16& g)
{
    TGlyph16 out = g;
    for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc)
            out = Or(out, Shifted(g, dr, dc));
    return out;
}

// Other shapes of one glyph: each pixel flipped (near its ink), the glyph moved or thickened by
// a pixel each way, each row and column of it moved, doubled or cleared, and its letter as the
// syllables draw it.
std::vector<TGlyph16> MovesOf(const TGlyph16& g, const TGlyph16& zone, const std::vector<TGlyph16>& cuts)
{
    std::vector<TGlyph16> moves;
    const TGlyph16 near = Grown(g);
    for (int p = 0; p < 256; ++p) {
        const size_t r = static_cast<size_t>(p / 16);
        const uint16_t bit = static_cast<uint16_t>(0x8000 >> (p % 16));
        if ((g.Rows[r] & bit) || (zone.Rows[r] & near.Rows[r] & bit)) {
            TGlyph16 t = g;
            t.Rows[r] ^= bit;
            moves.push_back(t);
        }
    }
    const int ink = Ink(g);
    for (const auto& [dr, dc] : {std::pair(-1, 0), std::pair(1, 0), std::pair(0, -1), std::pair(0, 1)}) {
        const TGlyph16 s = Shifted(g, dr, dc);
        if (Ink(s) == ink)
            moves.push_back(s);
        moves.push_back(Or(g, s));
    }
    for (size_t r = 0; r < 16; ++r) {
        if (!g.Rows[r])
            continue;
        TGlyph16 cleared = g;
        cleared.Rows[r] = 0;
        moves.push_back(cleared);
        for (size_t to : {r - 1, r + 1}) {
            if (to >= 16)
                continue;
            TGlyph16 doubled = g;
            doubled.Rows[to] |= g.Rows[r];
            moves.push_back(doubled);
            TGlyph16 moved = cleared;
            moved.Rows[to] |= g.Rows[r];
            moves.push_back(moved);
        }
    }
    for (int c = 0; c < 16; ++c) {
        const uint16_t bit = static_cast<uint16_t>(0x8000 >> c);
        TGlyph16 column, cleared = g;
        for (size_t r = 0; r < 16; ++r) {
            column.Rows[r] = g.Rows[r] & bit;
            cleared.Rows[r] &= static_cast<uint16_t>(~bit);
        }
        if (column == TGlyph16{})
            continue;
        moves.push_back(cleared);
        for (int dc : {-1, 1}) {
            if (c + dc < 0 || c + dc > 15)
                continue;
            const TGlyph16 there = Shifted(column, 0, dc);
            moves.push_back(Or(g, there));
            moves.push_back(Or(cleared, there));
        }
    }
    moves.insert(moves.end(), cuts.begin(), cuts.end());
    return moves;
}

// Syllables a player meets on every screen (the most frequent in Korean text, and the ones a
// combination scheme most easily draws as others): their reading counts ten times.
constexpr char32_t CommonSyllables[] = U"이다는의에고하을가지로를기서사한대자도아리어인수나시정보전일적부들상주게"
                                       U"국있해과그우제라만장학요니면것내없은며던습였와러원문분준운순윈퀀웬권뭔";

class TSearch {
public:
    TSearch(std::vector<TGlyph16>& glyphs, const TReaderFitProblem& problem)
        : FGlyphs(glyphs), FProblem(problem), FReader(problem.Source, problem.Read), FUsers(VariableCount),
          FDrawn(problem.Uses.size()), FValue(problem.Uses.size()), FRivals(problem.Uses.size())
    {
        for (size_t n = 0; n < problem.Uses.size(); ++n)
            if (FReader.PlaceOf(static_cast<int>(n)) >= 0) {
                const TGlyph16& source = *problem.Source[n];
                FSourceShape.emplace_back(CountLoops(source), CountSpecks(source));
                const char32_t c = johab::FirstSyllable + static_cast<char32_t>(n);
                FWorth.push_back(std::u32string_view(CommonSyllables).find(c) != std::u32string_view::npos ? 10 : 1);
            }
        for (size_t n = 0; n < problem.Uses.size(); ++n) {
            if (!problem.Source[n])
                continue;
            const TUse& u = problem.Uses[n];
            for (int k = 0; k < u.Count; ++k)
                FUsers[static_cast<size_t>(u.Var[k])].push_back(static_cast<int>(n));
            Redraw(static_cast<int>(n));
        }
        int known = 0;
        for (size_t n = 0; n < problem.Uses.size(); ++n)
            if (problem.Source[n]) {
                ++known;
                FExact += FDrawn[n] == *problem.Source[n];
            }
        FLeastExact = std::min(FExact, known * LeastExactPercent / 100);
        for (int v = 0; v < VariableCount; ++v) {
            const TGlyph16& g = glyphs[static_cast<size_t>(v)];
            FSpecks.push_back(CountSpecks(g));
            FZone.push_back(Or(Grown(problem.Allowed[static_cast<size_t>(v)]), g));
        }
    }

    void Run()
    {
        for (int round = 0; round < 12; ++round) {
            int gained = 0;
            for (int v : WeakGlyphs())
                gained += ImproveGlyph(v);
            if (gained == 0)
                break;
        }
    }

private:
    void Redraw(int n)
    {
        const size_t at = static_cast<size_t>(n);
        FDrawn[at] = jamo::Drawn(FGlyphs, FProblem.Uses[at]);
        FValue[at] = ValueOf(n, FDrawn[at], &FRivals[at]);
    }

    // The syllable's worth drawn so: read exactly when `rivals` is given (and they are found
    // anew), else against its present rivals.
    TSyllableValue ValueOf(int n, const TGlyph16& drawn, std::vector<int>* rivals) const
    {
        const TGlyph16& source = *FProblem.Source[static_cast<size_t>(n)];
        TSyllableValue value;
        const int wrong = WrongPixels(drawn, source);
        value.Value = -wrong - ExactWorth * (wrong > 0);
        const int place = FReader.PlaceOf(n);
        if (place < 0)
            return value;
        const TReading reading = rivals ? FReader.Read(drawn, place, *rivals)
                                        : FReader.ReadAmong(drawn, place, FRivals[static_cast<size_t>(n)]);
        value.Legible = (reading.Raw > 0) + (reading.Blurred > 0);
        const auto& [loops, specks] = FSourceShape[static_cast<size_t>(place)];
        const bool misshapen = CountLoops(drawn) != loops || CountSpecks(drawn) > specks;
        value.Value += FWorth[static_cast<size_t>(place)] *
                (ReadWorth * value.Legible + MarginPixelWorth * reading.Raw + MarginPixelWorth * reading.Blurred / 9) -
            MisshapenCost * misshapen;
        return value;
    }

    // The glyphs some syllable not read as itself uses, in order.
    std::vector<int> WeakGlyphs() const
    {
        std::vector<bool> weak(VariableCount);
        for (size_t n = 0; n < FValue.size(); ++n) {
            if (!FProblem.Source[n] || FReader.PlaceOf(static_cast<int>(n)) < 0 || FValue[n].Legible == 2)
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

    bool Acceptable(int v, const TGlyph16& trial) const
    {
        const TGlyph16& zone = FZone[static_cast<size_t>(v)];
        for (size_t r = 0; r < 16; ++r)
            if (trial.Rows[r] & ~zone.Rows[r])
                return false;
        if (trial == TGlyph16{} && !(FGlyphs[static_cast<size_t>(v)] == TGlyph16{}))
            return false;
        return LetterHasLoops(jamo::PartOf(v), jamo::GlyphNumberOf(v), CountLoops(trial)) &&
            CountSpecks(trial) <= FSpecks[static_cast<size_t>(v)];
    }

    // The worth of the glyph's syllables with the glyph drawn as `trial`; none when it would leave
    // too few syllables drawn exactly as the source.
    long ValueWith(int v, const TGlyph16& trial, bool exact) const
    {
        long value = 0;
        int exactNow = FExact;
        std::vector<int> rivals;
        for (int n : FUsers[static_cast<size_t>(v)]) {
            const size_t at = static_cast<size_t>(n);
            const TGlyph16 drawn = jamo::Drawn(FGlyphs, FProblem.Uses[at], v, &trial);
            if (drawn == FDrawn[at]) {
                value += FValue[at].Value;
                continue;
            }
            exactNow += (drawn == *FProblem.Source[at]) - (FDrawn[at] == *FProblem.Source[at]);
            value += ValueOf(n, drawn, exact ? &rivals : nullptr).Value;
        }
        return exactNow < FLeastExact ? std::numeric_limits<long>::min() : value;
    }

    // Takes the best of the glyph's moves that, read exactly, makes its syllables worth more.
    bool ImproveGlyph(int v)
    {
        long now = 0;
        for (int n : FUsers[static_cast<size_t>(v)])
            now += FValue[static_cast<size_t>(n)].Value;
        const TGlyph16 glyph = FGlyphs[static_cast<size_t>(v)];
        std::vector<std::pair<long, size_t>> better;
        const std::vector<TGlyph16> moves =
            MovesOf(glyph, FZone[static_cast<size_t>(v)], FProblem.Cuts[static_cast<size_t>(v)]);
        for (size_t i = 0; i < moves.size(); ++i) {
            if (moves[i] == glyph || !Acceptable(v, moves[i]))
                continue;
            const long value = ValueWith(v, moves[i], false);
            if (value > now)
                better.emplace_back(-value, i);
        }
        std::sort(better.begin(), better.end());
        for (size_t k = 0; k < better.size() && k < 3; ++k) {
            const TGlyph16& trial = moves[better[k].second];
            if (ValueWith(v, trial, true) <= now)
                continue;
            FGlyphs[static_cast<size_t>(v)] = trial;
            for (int n : FUsers[static_cast<size_t>(v)]) {
                const size_t at = static_cast<size_t>(n);
                FExact -= FDrawn[at] == *FProblem.Source[at];
                Redraw(n);
                FExact += FDrawn[at] == *FProblem.Source[at];
            }
            return true;
        }
        return false;
    }

    std::vector<TGlyph16>& FGlyphs;
    const TReaderFitProblem& FProblem;
    const TFastReader FReader;
    std::vector<std::vector<int>> FUsers;  // the syllables the source draws that use each glyph
    std::vector<TGlyph16> FDrawn;          // each syllable as the glyphs draw it now
    std::vector<TSyllableValue> FValue;    // and its worth, read exactly
    std::vector<std::vector<int>> FRivals;
    int FExact = 0;                                 // syllables drawn exactly as the source
    int FLeastExact = 0;                            // and how many must stay so
    std::vector<std::pair<int, int>> FSourceShape;  // by place: the source glyph's loops and specks
    std::vector<long> FWorth;                       // by place: how much its reading counts
    std::vector<int> FSpecks;                       // each glyph's specks when the search began
    std::vector<TGlyph16> FZone;                    // where each glyph may draw: near its letter
};

}  // namespace

void FitForReader(std::vector<TGlyph16>& glyphs, const TReaderFitProblem& problem) { TSearch(glyphs, problem).Run(); }
