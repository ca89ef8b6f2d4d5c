#include "terminal/draw/qt/QtTextRaster.h"

#include "platform/gui/Graphics.h"

TQtTextRaster::TQtTextRaster() { SetFont("\xB1\xBC\xB8\xB2\xC3\xBC", 12); }  // 굴림체

void TQtTextRaster::SetFont(const AnsiString& name, int size)
{
    TFont font;
    font.SetName(name);
    font.SetSize(size);
    FPlain.SetFont(font);
    font.SetStyle(TFontStyles() << fsUnderline);
    FUnderlined.SetFont(font);
}

// The width of "x", which is what the system reports as the average width of such fonts.
int TQtTextRaster::CharWidth() const { return FPlain.TextWidth("x"); }

int TQtTextRaster::CharHeight() const { return FPlain.TextHeight(); }

void TQtTextRaster::TextOut(TFrameBuffer& fb, int x, int y, std::string_view text, uint8_t fg, int bg, bool underline)
{
    (underline ? FUnderlined : FPlain).TextOut(fb, x, y, text, fg, bg);
}
