#pragma once
// Draws text in a system font into the terminal's indexed framebuffer without smoothing: each
// pixel is either the text index or left as it was (or the background index), never a blend.

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/gui/FrameBuffer.h"
#include "platform/gui/Graphics.h"

class QImage;
class QFont;

class TTextRasterizer {
public:
    TTextRasterizer();
    ~TTextRasterizer();
    TTextRasterizer(const TTextRasterizer&) = delete;
    TTextRasterizer& operator=(const TTextRasterizer&) = delete;

    // Takes the font's name (through the alias table), height and style; its colour is unused.
    void SetFont(const TFont& font);
    int TextWidth(std::string_view text) const;  // cp949
    int TextHeight() const;
    int Ascent() const;

    // Draws cp949 text with its cell's top-left corner at (x, y): ink pixels become `fg`; the
    // text's cell (its width by TextHeight) becomes `bg` first unless bg is negative. Clipped
    // by the buffer and its clip. Returns the text's width.
    int TextOut(TFrameBuffer& fb, int x, int y, std::string_view text, uint8_t fg, int bg);

private:
    // The Qt font, made on first use (a font needs the Qt application to exist).
    const QFont& Font() const;

    TFont FSource;
    mutable std::unique_ptr<QFont> FFont;
    std::unique_ptr<QImage> FScratch;
};
