#pragma once
// ITextRaster on the GUI layer's aliased text rasteriser. Needs the Qt application to exist
// before the first text is measured or drawn.

#include "platform/gui/TextRaster.h"
#include "terminal/draw/TextRaster.h"

class TQtTextRaster : public ITextRaster {
public:
    TQtTextRaster();
    void SetFont(const AnsiString& name, int size) override;
    int CharWidth() const override;
    int CharHeight() const override;
    void TextOut(TFrameBuffer& fb, int x, int y, std::string_view text, uint8_t fg, int bg, bool underline) override;

private:
    TTextRasterizer FPlain;
    TTextRasterizer FUnderlined;
};
