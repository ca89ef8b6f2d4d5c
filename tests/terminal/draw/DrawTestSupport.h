#pragma once
// A terminal core with its screen image and own sequences, set up like the character window's
// terminal (white on black, Hangul mode) on a small screen, with the generated bitmap fonts.

#include <memory>
#include <string>
#include <vector>

#include "terminal/core/TerminalCore.h"
#include "terminal/draw/OwnSequences.h"
#include "terminal/draw/ScreenPainter.h"
#include "terminal/fonts/GlyphTables.h"

inline void LoadGeneratedFonts()
{
    static const bool loaded = [] {
        const std::string dir = HM_FONTS_DIR;
        LoadHanFont(dir + "/뻗음꼴.han");
        LoadEngFont(dir + "/영문정형체.eng");
        LoadSpcFont(dir + "/smooth.spc");
        LoadKsgFont(dir + "/산.ksg");
        return true;
    }();
    (void)loaded;
}

struct DrawnTerminal {
    TTerminalCore core;
    TScreenPainter painter{core};
    TOwnSequences own{core, painter};

    explicit DrawnTerminal(int cols = 20, int rows = 6, ITextRaster* raster = nullptr, bool hanMode = true)
    {
        LoadGeneratedFonts();
        core.SetColumns(cols);
        core.SetDefaultBackColor(clBlack);
        core.SetDefaultFontColor(clWhite);
        painter.SetBackColor(clBlack);
        painter.SetFontColor(clWhite);
        painter.SetRasterizer(raster);
        if (hanMode)
            painter.SetHanMode(true);
        else
            painter.SetWinFont("\xB1\xBC\xB8\xB2\xC3\xBC", 12);  // 굴림체
        SetRows(rows);
    }
    void SetRows(int rows)
    {
        painter.Resize(core.Columns() * painter.CellWidth(), rows * painter.CellHeight());
        core.SetRow(rows - 1);
        painter.Redraw();
    }
    void Feed(std::string_view s) { core.DecodeText(s); }
    const TFrameBuffer& Screen() const { return painter.Screen(); }
    uint8_t Px(int x, int y) const { return painter.Screen().Pixel(x, y); }
    // The image as a full repaint from the buffer would make it.
    TFrameBuffer Repainted()
    {
        TFrameBuffer keep = painter.Screen();
        painter.Redraw();
        TFrameBuffer fresh = painter.Screen();
        painter.Screen() = keep;
        return fresh;
    }
};

inline bool SamePixels(const TFrameBuffer& a, const TFrameBuffer& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return false;
    return true;
}

// Pixels of index v inside a rectangle.
inline int CountIndex(const TFrameBuffer& fb, uint8_t v, TRectI r = {0, 0, 1 << 20, 1 << 20})
{
    int n = 0;
    for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, fb.Height()); ++y)
        for (int x = std::max(r.Left, 0); x < std::min(r.Right, fb.Width()); ++x)
            n += fb.Pixel(x, y) == v;
    return n;
}
