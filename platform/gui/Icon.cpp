#include "platform/gui/Icon.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <vector>

#include "platform/gui/IconDirectory.h"
#include "platform/gui/SystemMetrics.h"

namespace {

[[noreturn]] void Bad() { throw EInvalidGraphic("Icon image is not valid"); }

uint32_t U16(std::string_view d, size_t at) { return uint8_t(d[at]) | (uint8_t(d[at + 1]) << 8); }
uint32_t U32(std::string_view d, size_t at) { return U16(d, at) | (U16(d, at + 2) << 16); }

// A 5-bit channel widened to 8 bits by repeating its high bits, so 31 becomes 255.
uint32_t Widen5(uint32_t c)
{
    c &= 0x1F;
    return (c << 3) | (c >> 2);
}

// The image of a directory entry, whose header the directory has checked: a PNG, or a bitmap
// header, palette, colour rows and mask rows.
QImage DecodeImage(std::string_view d, const TIconDirEntry& entry)
{
    if (entry.Png) {
        QByteArray bytes(d.data(), static_cast<qsizetype>(d.size()));
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "PNG");
        if (reader.size() != QSize(entry.Width, entry.Height))
            Bad();
        QImage image = reader.read();
        if (image.isNull())
            Bad();
        return image.convertToFormat(QImage::Format_ARGB32);
    }
    const int width = entry.Width, height = entry.Height;
    const uint32_t bits = static_cast<uint32_t>(entry.BitCount), colours = static_cast<uint32_t>(entry.PaletteColors);
    const size_t palette = U32(d, 0), rows = palette + 4 * colours;
    const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    const size_t maskStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
    const size_t mask = rows + stride * height;
    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        Bad();
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        size_t row = rows + stride * (height - 1 - y);  // bottom-up
        for (int x = 0; x < width; ++x) {
            uint32_t argb;
            if (bits == 32) {
                size_t p = row + 4 * x;
                argb = (uint8_t(d[p + 3]) << 24) | (uint8_t(d[p + 2]) << 16) | (uint8_t(d[p + 1]) << 8) | uint8_t(d[p]);
                anyAlpha |= (argb >> 24) != 0;
            } else if (bits == 16) {
                // 5-5-5: red in bits 14-10, green in 9-5, blue in 4-0; the top bit is unused.
                const uint32_t v = U16(d, row + 2 * x);
                argb = 0xFF000000u | (Widen5(v >> 10) << 16) | (Widen5(v >> 5) << 8) | Widen5(v);
            } else if (bits == 24) {
                size_t p = row + 3 * x;
                argb = 0xFF000000u | (uint8_t(d[p + 2]) << 16) | (uint8_t(d[p + 1]) << 8) | uint8_t(d[p]);
            } else {
                size_t bit = static_cast<size_t>(x) * bits;
                uint32_t index = (uint8_t(d[row + bit / 8]) >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (index >= colours)
                    index = 0;
                size_t p = palette + 4 * index;
                argb = 0xFF000000u | (uint8_t(d[p + 2]) << 16) | (uint8_t(d[p + 1]) << 8) | uint8_t(d[p]);
            }
            image.setPixel(x, y, argb);
        }
    }
    if (bits == 32 && anyAlpha)
        return image;
    for (int y = 0; entry.HasMask && y < height; ++y) {
        size_t row = mask + maskStride * (height - 1 - y);
        for (int x = 0; x < width; ++x)
            if ((uint8_t(d[row + x / 8]) >> (7 - x % 8)) & 1)
                image.setPixel(x, y, 0);  // see-through
    }
    return image;
}

// The file's directory, checked, and the one image a true-colour screen shows: the first that
// the directory says has 256 colours or more, else the one it says has most. Only that image is
// decoded, so a file whose entries all name one large image costs one image.
QImage DecodeShownImage(std::string_view data, int& count)
{
    TIconDirectory directory;
    if (!ReadIconDirectory(data, directory))
        Bad();
    std::vector<int> declared;
    declared.reserve(directory.Entries.size());
    for (const TIconDirEntry& entry : directory.Entries)
        declared.push_back(entry.DeclaredColors);
    const TIconDirEntry& shown = directory.Entries[ChooseIconImage(declared, 0)];
    QImage image = DecodeImage(data.substr(shown.Offset, shown.Size), shown);
    count = static_cast<int>(directory.Entries.size());
    return image;
}

}  // namespace

std::string EncodeIconFile(const QImage& source)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    int w = std::min(image.width(), TIcon::kMaxSide), h = std::min(image.height(), TIcon::kMaxSide);
    size_t maskStride = ((static_cast<size_t>(w) + 31) / 32) * 4;
    size_t bytes = 40 + 4 * static_cast<size_t>(w) * h + maskStride * h;
    std::string out;
    auto put16 = [&out](uint32_t v) { out += char(v & 0xFF), out += char((v >> 8) & 0xFF); };
    auto put32 = [&](uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
    put16(0), put16(1), put16(1);
    out += char(w == 256 ? 0 : w), out += char(h == 256 ? 0 : h), out += char(0), out += char(0);
    put16(1), put16(32), put32(static_cast<uint32_t>(bytes)), put32(22);
    put32(40), put32(w), put32(2 * h), put16(1), put16(32), put32(0), put32(0), put32(0), put32(0), put32(0), put32(0);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            QRgb p = image.pixel(x, y);
            out += char(qBlue(p)), out += char(qGreen(p)), out += char(qRed(p)), out += char(qAlpha(p));
        }
    for (int y = h - 1; y >= 0; --y) {
        std::string row(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(image.pixel(x, y)) == 0)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        out += row;
    }
    return out;
}

void TIcon::LoadFromBytes(std::string_view data)
{
    int count = 0;
    QImage shown = DecodeShownImage(data, count);
    FData.assign(data);
    FCount = count;
    FShown = std::move(shown);
    NotifyChange();
}

std::string TIcon::SaveToBytes() { return FData; }

void TIcon::SetImage(const QImage& image)
{
    std::string data = EncodeIconFile(image);
    LoadFromBytes(data);
}

void TIcon::Assign(TPersistent* source)
{
    if (auto* icon = dynamic_cast<TIcon*>(source)) {
        FData = icon->FData;
        FCount = icon->FCount;
        FShown = icon->FShown;
        NotifyChange();
        return;
    }
    TGraphic::Assign(source);
}

void TIcon::DrawInto(TCanvas* canvas, const TRect& rect)
{
    if (FShown.isNull())
        return;
    if (QPainter* painter = canvas->Painter())
        painter->drawImage(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), FShown);
}

void LoadApplicationIcon(TIcon* icon)
{
    const int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const QRect window(1, h / 8, w - 3, h - h / 4);
    painter.fillRect(window, Qt::white);
    painter.fillRect(QRect(window.left(), window.top(), window.width(), h / 6), QColor(0, 0, 128));
    painter.setPen(Qt::black);
    painter.drawRect(window);
    painter.end();
    icon->SetImage(image);
}
