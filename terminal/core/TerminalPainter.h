#pragma once
// How the terminal core tells the drawing side what changed. The calls describe the live screen
// (screen row 0 is buffer line MaxLinePos); replaying them keeps a picture of the screen equal to
// the buffer. Every call has a no-op default, so a headless core needs no painter at all.

#include <string_view>

#include "terminal/core/TerminalColors.h"

class ITerminalPainter {
public:
    virtual ~ITerminalPainter() = default;
    // Text of one run at a screen cell, in its colours.
    virtual void TextOut(int col, int row, std::string_view text, TColor fg, TColor bg, bool underline) {}
    // count cells of a row from col (count < 0: to the right edge) filled with bg.
    virtual void FillCells(int col, int row, int count, TColor bg) {}
    // count rows from row (count < 0: to the bottom) filled with bg.
    virtual void FillRows(int row, int count, TColor bg) {}
    // Screen rows top..bottom move up by n (n < 0: down by -n); the rows freed at the other
    // edge are filled with bg.
    virtual void ScrollRows(int top, int bottom, int n, TColor bg) {}
    // The cells of a row from col on move right by n (n < 0: left by -n); freed cells get bg.
    virtual void ShiftCells(int row, int col, int n, TColor bg) {}
    // The shown part of the buffer moved (the user scrolled back or returned); repaint it.
    virtual void ViewChanged(int prevLinePos, int linePos) {}
    // The live screen's first line moved down (scroll bar range).
    virtual void MaxLinePosChanged(int maxLinePos) {}
    // A line feed on the bottom row: the remembered selection rectangle is void.
    virtual void ResetSelectionRect() {}
    // End of a decoded chunk (a multi-selection is cancelled).
    virtual void ChunkDecoded() {}
    virtual void Invalidate() {}
    virtual void Beep() {}
};

class TTerminalCore;

// The terminal's own sequences (pictures and drawing) plug in here; the core handles the
// standard language and hands over what belongs to them.
class ITerminalExtension {
public:
    virtual ~ITerminalExtension() = default;
    // A byte in the ground state, before its ordinary meaning; true when it was taken as data.
    virtual bool DataByte(TTerminalCore& terminal, unsigned char ch) { return false; }
    // A control sequence ended by ',' or by one of the own final bytes
    // (F G O b c d g i p %); the parameters are still readable from the core.
    virtual void Sequence(TTerminalCore& terminal, unsigned char final) {}
};
