#pragma once
// Icon files with PNG images, made with Qt for the tests.

#include <QBuffer>
#include <QImage>
#include <string>
#include <vector>

#include "tests/controls/core/IconBytes.h"

// An icon file of `entries` directory entries that all name one PNG of side x side pixels: a
// file of 16 bytes an entry, each entry claiming a whole decoded image.
inline std::string IconOfSharedPng(int entries, int side)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(qRgba(40, 90, 160, 255));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    std::string file;
    iconbytes::Put16(file, 0);
    iconbytes::Put16(file, 1);
    iconbytes::Put16(file, static_cast<uint32_t>(entries));
    const uint32_t offset = 6 + 16 * static_cast<uint32_t>(entries);
    for (int i = 0; i < entries; ++i) {
        file += std::string(1, static_cast<char>(side & 0xFF)) + static_cast<char>(side & 0xFF);
        file.append(2, '\0');  // colours (0: many), reserved
        iconbytes::Put16(file, 1);
        iconbytes::Put16(file, 32);
        iconbytes::Put32(file, static_cast<uint32_t>(png.size()));
        iconbytes::Put32(file, offset);
    }
    file.append(png.constData(), static_cast<size_t>(png.size()));
    return file;
}
