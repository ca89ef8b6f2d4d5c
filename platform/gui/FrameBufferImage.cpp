#include "platform/gui/FrameBufferImage.h"

#include <cstring>

#include <QImage>
#include <QString>

QImage FrameBufferToImage(const TFrameBuffer& fb, const TColor palette[16])
{
    QImage img(fb.Width(), fb.Height(), QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 16; ++i) {
        const TColor c = palette[i];
        table.push_back(qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
    img.setColorTable(table);
    for (int y = 0; y < fb.Height(); ++y)
        if (const uint8_t* row = fb.Row(y))
            std::memcpy(img.scanLine(y), row, fb.Width());
    return img;
}

bool SaveFrameBufferPng(const std::string& path, const TFrameBuffer& fb, const TColor palette[16])
{
    if (fb.Width() == 0 || fb.Height() == 0)
        return false;
    return FrameBufferToImage(fb, palette).save(QString::fromStdString(path), "PNG");
}
