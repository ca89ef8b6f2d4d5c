#pragma once
// Text in a system ("Windows") font drawn into the screen image: the terminal's text when the
// Hangul mode is off, and Hanja in Hangul mode (the bitmap fonts have none). The drawing library
// has no display; a GUI adapter (terminal/draw/qt) fills this in.

#include <cstdint>
#include <string_view>

#include "platform/core/AnsiString.h"
#include "platform/gui/FrameBuffer.h"

class ITextRaster {
public:
    virtual ~ITextRaster() = default;
    // Face name (cp949, a Windows name such as "굴림체") and size in points.
    virtual void SetFont(const AnsiString& name, int size) = 0;
    // The cell of the font: its average character width and its text height, in pixels.
    virtual int CharWidth() const = 0;
    virtual int CharHeight() const = 0;
    // cp949 text with its cell's top-left corner at (x, y), aliased: ink pixels get palette
    // index fg; the text's cell gets bg first unless bg is negative. Clipped to the buffer.
    virtual void TextOut(TFrameBuffer& fb, int x, int y, std::string_view text, uint8_t fg, int bg, bool underline) = 0;
};
