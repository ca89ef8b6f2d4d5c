#pragma once
// The terminal's own sequences: in-band one-bit pictures, pixels, lines, rectangles and ellipses
// in screen pixels, lines and boxes through cell centres, and the foreground and background
// chosen from the 16 colours. They draw straight into the screen image and store nothing in the
// line buffer, so a repaint from the buffer removes them. Every primitive is clipped.
//
//     TOwnSequences own{core, painter};  // becomes the core's extension; detaches when destroyed

#include "terminal/core/TerminalCore.h"
#include "terminal/draw/InBandPicture.h"
#include "terminal/draw/ScreenPainter.h"

class TOwnSequences : public ITerminalExtension {
public:
    static constexpr int kHomeX = 320, kHomeY = 224;

    TOwnSequences(TTerminalCore& core, TScreenPainter& painter);
    ~TOwnSequences() override;
    TOwnSequences(const TOwnSequences&) = delete;
    TOwnSequences& operator=(const TOwnSequences&) = delete;

    bool DataByte(TTerminalCore& terminal, unsigned char ch) override;
    void Sequence(TTerminalCore& terminal, unsigned char final) override;

    int DrawX() const { return FDrawX; }
    int DrawY() const { return FDrawY; }
    // The pen keeps its colour between sequences (a line in an unknown sub-mode uses it).
    TColor PenColor() const { return FPenColor; }
    const TInBandPicture& Picture() const { return FPicture; }

private:
    struct TArgs;
    void Pixel(const TArgs& a, TSubAnsiMode subMode);
    void LineTo(const TArgs& a, TSubAnsiMode subMode);
    void Shape(const TArgs& a, TSubAnsiMode subMode, bool ellipse);
    void CellLine(const TArgs& a);
    void CellBox(const TArgs& a);
    void BlitRow(int col, int y, const uint8_t* row, int bytes);
    int CentreX(int col) const;
    int CentreY(int row) const;

    TTerminalCore& FCore;
    TScreenPainter& FPainter;
    TInBandPicture FPicture;
    TInBandPicture::TRowSink FSink;
    int FDrawX = kHomeX, FDrawY = kHomeY;
    TColor FPenColor = clBlack;
};
