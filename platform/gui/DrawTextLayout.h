#pragma once
// Line layout of the Win32 DrawText call, kept apart from painting so it can be tested with any
// text metrics. Text is cp949: no line break, cut or ellipsis ever separates a two-byte pair.

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/gui/GraphicsTypes.h"

// Win32 DrawText format flags.
enum : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_TABSTOP = 0x80,
    DT_NOCLIP = 0x100,
    DT_EXTERNALLEADING = 0x200,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_INTERNAL = 0x1000,
    DT_EDITCONTROL = 0x2000,
    DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000,
    DT_MODIFYSTRING = 0x10000,
    DT_RTLREADING = 0x20000,
    DT_WORD_ELLIPSIS = 0x40000,
    DT_NOFULLWIDTHCHARBREAK = 0x80000,
    DT_HIDEPREFIX = 0x100000,
    DT_PREFIXONLY = 0x200000,
};

// What the layout needs to know of a font.
class TTextMetrics {
public:
    virtual ~TTextMetrics() = default;
    // Advance width in pixels of a piece of cp949 text (no line breaks in it).
    virtual int TextWidth(std::string_view text) const = 0;
    virtual int LineHeight() const = 0;
    // The font's average character width; tab stops are eight of them apart.
    virtual int AveCharWidth() const = 0;
};

// A piece of a line drawn at X (tabs split a line into pieces).
struct TDrawTextRun {
    AnsiString Text;
    int X = 0;
};

struct TDrawTextLine {
    std::vector<TDrawTextRun> Runs;
    int Y = 0;
    int Left = 0, Width = 0;
    // The character after a "&" prefix, underlined: UnderlineWidth 0 when none.
    int UnderlineX = 0, UnderlineWidth = 0;
};

struct TDrawTextLayout {
    std::vector<TDrawTextLine> Lines;
    // The rectangle DT_CALCRECT reports: the given left and top, the widest line, every line.
    TRect Bounds;
    // What DrawText returns: the height of the text (for DT_VCENTER and DT_BOTTOM, from the
    // rectangle's top to the bottom of the text).
    int Height = 0;
};

// The part of one line that a room `room` pixels across can show, as the layout keeps it: every
// character is a pixel wide at least, so no more characters than the room has pixels (with slack
// for the narrowest). The line's start, its end with DT_RIGHT, its middle with DT_CENTER. Drawing
// a huge line then costs what the room shows, not what the line holds.
std::string_view ShownPartOfLine(std::string_view line, int64_t room, unsigned flags);

TDrawTextLayout LayoutDrawText(const TTextMetrics& metrics, std::string_view text, const TRect& rect, unsigned flags);
