#pragma once
// Where a button puts its glyph, caption and drop-down mark, and how a caption is shortened to
// the room it has: integer arithmetic over sizes the caller measures with its font, so that the
// speed buttons and every control drawn like them lay out alike and can be checked without a
// screen.

#include <cstddef>
#include <functional>
#include <string_view>

#include "platform/core/AnsiString.h"
#include "platform/gui/GraphicsTypes.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The longest caption a button draws or shortens, in bytes.
constexpr size_t kMaxButtonCaption = 255;
// Pixels the drop-down mark takes beside a caption, and beside a glyph.
constexpr int kMarkBesideText = 9;
constexpr int kMarkBesideGlyph = 6;

// What the layout asks of the caller's font. Width measures one line; Bounds measures the text
// in a rectangle MaxWidth wide (the caller's text flags, word breaks when wrapping), giving the
// size of what it takes.
struct TButtonTextMetrics {
    std::function<int(std::string_view)> Width;
    std::function<TSize(std::string_view Text, int MaxWidth)> Bounds;
};

// The caption cut to at most MaxLen bytes; without WordWrap each of its lines shortened with
// "..." to Width pixels, the lines joined again and trailing blanks dropped. No cut leaves half a
// two-byte character.
AnsiString MinimizeCaption(std::string_view Caption, bool WordWrap, int Width,
                           const std::function<int(std::string_view)>& TextWidth, size_t MaxLen = kMaxButtonCaption);

struct TButtonLayoutInput {
    TRect Client;
    TPoint Glyph;  // the glyph's size, (0, 0) without one
    TButtonLayout Layout = blGlyphTop;
    int Margin = -1;   // edge to glyph; -1 centres
    int Spacing = -1;  // glyph to caption; -1 spreads
    bool PopupMark = false;
    bool WordWrap = false;
};

struct TButtonLayoutResult {
    AnsiString Caption;  // the caption as it will be drawn (shortened)
    TPoint GlyphPos;
    TRect TextBounds;
};

TButtonLayoutResult CalcButtonLayout(const TButtonLayoutInput& In, std::string_view Caption,
                                     const TButtonTextMetrics& Metrics);
