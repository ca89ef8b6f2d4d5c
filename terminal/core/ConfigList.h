#pragma once
// The colour runs of one line. A run covers the cells start .. start + length - 1 and paints the
// line's text over them (blanks past the text's end) in its colours. Runs are kept disjoint and
// sorted by start column: adding a run cuts what it covers out of the older ones, which is what
// painting "later runs over earlier ones" shows, and keeps a line that is rewritten in place from
// collecting runs without bound. Adjacent runs of the same attributes merge.

#include <cstdint>
#include <vector>

#include "terminal/core/TerminalColors.h"

struct TConfig {
    // Runs end before this cell: the fields below hold no more, and no line reaches it (a line is
    // at most a few screen widths).
    static constexpr int kCellLimit = 0x3FFF;

    TColor FontColor = 0;
    TColor BackColor = 0;
    // Twelve bytes a run: the scroll-back holds ten thousand lines of them.
    int32_t Start : 16 = 0;   // 0-based column
    int32_t Length : 15 = 0;  // cells covered
    uint8_t Flag : 1 = 0;     // 1 = underlined

    int32_t End() const { return Start + Length; }  // one past the last cell
    bool SameLook(const TConfig& o) const
    {
        return FontColor == o.FontColor && BackColor == o.BackColor && Flag == o.Flag;
    }
    bool operator==(const TConfig&) const = default;
};

static_assert(sizeof(TConfig) == 12);

class TConfigList {
public:
    int Count() const { return static_cast<int>(FRuns.size()); }
    const TConfig& operator[](int i) const { return FRuns[static_cast<size_t>(i)]; }
    std::vector<TConfig>::const_iterator begin() const { return FRuns.begin(); }
    std::vector<TConfig>::const_iterator end() const { return FRuns.end(); }
    bool Empty() const { return FRuns.empty(); }

    void Clear();
    // Empties the list but keeps its memory.
    void Reset() { FRuns.clear(); }
    // Paints cells x .. x + len - 1 with the given look (DataAdd); cells from
    // TConfig::kCellLimit on are left out.
    void Add(int x, int len, TColor fg, TColor bg, uint8_t flag);
    // Inserts n blank cells at x: cells from x on move right by n and the new cells get the
    // given look (AlphaProcessConfigAdd); cells pushed to TConfig::kCellLimit or past it are lost.
    void InsertCells(int x, int n, TColor fg, TColor bg, uint8_t flag);
    // Deletes cells x .. x + n - 1; cells right of them move left by n (PProcessConfigAdd).
    void DeleteCells(int x, int n);
    // Drops every cell from column width on.
    void Truncate(int width);

    void ReplaceFontColor(TColor from, TColor to);
    void ReplaceBackColor(TColor from, TColor to);
    void SetAllColors(TColor fg, TColor bg);

    void ShrinkToFit()
    {
        if (FRuns.capacity() > FRuns.size())
            FRuns.shrink_to_fit();
    }
    size_t HeapBytes() const { return FRuns.capacity() * sizeof(TConfig); }
    // The runs' heap block, null when they hold none.
    const void* Data() const { return FRuns.capacity() ? FRuns.data() : nullptr; }

private:
    void MergeAround(size_t i);
    std::vector<TConfig> FRuns;
};
