#include "platform/gui/Bitmap.h"

#include <cstring>

#include <QFile>
#include <QImage>

#include "platform/core/AtomicFile.h"
#include "platform/core/Cp949.h"

// Windows BMP files: Qt reads every depth; writing is ours, so each format keeps its depth.

void TBitmap::LoadFromFile(const AnsiString& fileName)
{
    const QString path = QString::fromStdString(Cp949ToUtf8(fileName));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + file.errorString().toStdString());
    const QByteArray data = file.readAll();
    LoadFromBytes(std::string_view(data.constData(), static_cast<size_t>(data.size())));
}

void TBitmap::LoadFromBytes(std::string_view bytes)
{
    const QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QImage img;
    if (data.size() < 30 || !data.startsWith("BM") || !img.loadFromData(data, "BMP"))
        throw EInvalidGraphic("Bitmap image is not valid");
    const int bits = static_cast<unsigned char>(data[28]) | (static_cast<unsigned char>(data[29]) << 8);
    SetImage(img);
    if (bits == 4 && FFormat == pf8bit)
        FFormat = pf4bit;
    if (bits == 24) {
        *FImage = FImage->convertToFormat(QImage::Format_BGR888);
        FFormat = pf24bit;
    }
    if (bits == 32) {
        *FImage = FImage->convertToFormat(QImage::Format_RGB32);
        FFormat = pf32bit;
    }
    if (bits == 16) {
        *FImage = FImage->convertToFormat(QImage::Format_RGB16);
        FFormat = pf16bit;
    }
}

namespace {

void Put16(QByteArray& b, int v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

void Put32(QByteArray& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

// A Windows BMP of the bitmap in its own depth (1, 4, 8, 24 or 32 bits; 15/16-bit and device
// bitmaps as 24), rows bottom-up, each padded to four bytes.
QByteArray EncodeBmp(const QImage& img, TPixelFormat f)
{
    int bits = 24;
    if (f == pf1bit)
        bits = 1;
    else if (f == pf4bit)
        bits = 4;
    else if (f == pf8bit)
        bits = 8;
    else if (f == pf32bit)
        bits = 32;
    const int w = img.width(), h = img.height();
    const int colors = bits <= 8 ? (1 << bits) : 0;
    const int stride = ((w * bits + 31) / 32) * 4;
    const uint32_t offset = 14 + 40 + 4 * colors;
    QByteArray b;
    b.append("BM");
    Put32(b, offset + uint32_t(stride) * h);
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, uint32_t(w));
    Put32(b, uint32_t(h));
    Put16(b, 1);
    Put16(b, bits);
    Put32(b, 0);  // BI_RGB
    Put32(b, uint32_t(stride) * h);
    Put32(b, 3780);  // 96 dpi
    Put32(b, 3780);
    Put32(b, uint32_t(colors));
    Put32(b, 0);
    const QList<QRgb> table = img.colorTable();
    for (int i = 0; i < colors; ++i) {
        const QRgb c = i < table.size() ? table[i] : 0;
        b.append(char(qBlue(c)));
        b.append(char(qGreen(c)));
        b.append(char(qRed(c)));
        b.append(char(0));
    }
    const QImage rgb = bits >= 24 ? img.convertToFormat(QImage::Format_RGB32) : QImage();
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(stride, 0);
        auto* out = reinterpret_cast<uint8_t*>(row.data());
        if (bits == 1) {
            std::memcpy(out, img.constScanLine(y), (w + 7) / 8);
        } else if (bits == 4) {
            for (int x = 0; x < w; ++x)
                out[x / 2] |= uint8_t((img.pixelIndex(x, y) & 0x0F) << ((x & 1) ? 0 : 4));
        } else if (bits == 8) {
            std::memcpy(out, img.constScanLine(y), w);
        } else {
            const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            const int bpp = bits / 8;
            for (int x = 0; x < w; ++x) {
                out[x * bpp] = uint8_t(qBlue(src[x]));
                out[x * bpp + 1] = uint8_t(qGreen(src[x]));
                out[x * bpp + 2] = uint8_t(qRed(src[x]));
            }
        }
        b.append(row);
    }
    return b;
}

}  // namespace

std::string TBitmap::SaveToBytes()
{
    Flush();
    const QByteArray data = EncodeBmp(*FImage, FFormat);
    return std::string(data.constData(), static_cast<size_t>(data.size()));
}

void TBitmap::SaveToFile(const AnsiString& fileName)
{
    // Written whole or not at all: a failed save leaves the old file.
    TWriteResult result = AtomicWriteFile(Cp949ToUtf8(fileName), SaveToBytes());
    if (!result)
        throw EFCreateError("Cannot create file \"" + fileName + "\". " + result.Message);
}
