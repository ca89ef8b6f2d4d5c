#pragma once
// Showing and saving the indexed framebuffer through Qt.

#include <string>

#include "platform/core/Colors.h"
#include "platform/gui/FrameBuffer.h"

class QImage;

// An 8-bit indexed image of the buffer with the 16 colours of palette (TColor values) as its
// colour table; by default the terminal's palette.
QImage FrameBufferToImage(const TFrameBuffer& fb, const TColor palette[16] = kTerminalPalette.data());

// Writes the buffer as a PNG file (path in UTF-8); false when it cannot be written.
bool SaveFrameBufferPng(const std::string& path, const TFrameBuffer& fb,
                        const TColor palette[16] = kTerminalPalette.data());
