#include "platform/gui/Icon.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <cstring>

#include "platform/gui/SystemMetrics.h"

namespace {

[[noreturn]] void Bad() { throw EInvalidGraphic("Icon image is not valid"); }

uint32_t U16(std::string_view d, size_t at) { return uint8_t(d[at]) | (uint8_t(d[at + 1]) << 8); }
uint32_t U32(std::string_view d, size_t at) { return U16(d, at) | (U16(d, at + 2) << 16); }
int32_t S32(std::string_view d, size_t at) { return static_cast<int32_t>(U32(d, at)); }

// One image of the file: a PNG, or a bitmap header, palette, colour rows and mask rows.
QImage DecodeImage(std::string_view d)
{
    if (d.size() >= 8 && d.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) {
        QByteArray bytes(d.data(), static_cast<qsizetype>(d.size()));
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "PNG");
        QSize size = reader.size();
        if (!size.isValid() || size.width() > TIcon::kMaxSide || size.height() > TIcon::kMaxSide)
            Bad();
        QImage image = reader.read();
        if (image.isNull())
            Bad();
        return image.convertToFormat(QImage::Format_ARGB32);
    }
    if (d.size() < 40)
        Bad();
    uint32_t headerSize = U32(d, 0);
    int32_t width = S32(d, 4), doubleHeight = S32(d, 8);
    uint32_t bits = U16(d, 14), compression = U32(d, 16), used = U32(d, 32);
    if (headerSize < 40 || headerSize > d.size() || width <= 0 || width > TIcon::kMaxSide || doubleHeight <= 0 ||
        doubleHeight > 2 * TIcon::kMaxSide || compression != 0)
        Bad();
    int height = doubleHeight / 2;
    if (height == 0 || (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32))
        Bad();
    uint32_t colours = bits <= 8 ? (used ? used : 1u << bits) : 0;
    if (colours > 256)
        Bad();
    size_t palette = headerSize, rows = palette + 4 * colours;
    size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    size_t maskStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
    size_t mask = rows + stride * height;
    bool hasMask = mask + maskStride * height <= d.size();
    if (mask > d.size() || (!hasMask && bits != 32))
        Bad();
    QImage image(width, height, QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        size_t row = rows + stride * (height - 1 - y);  // bottom-up
        for (int x = 0; x < width; ++x) {
            uint32_t argb;
            if (bits == 32) {
                size_t p = row + 4 * x;
                argb = (uint8_t(d[p + 3]) << 24) | (uint8_t(d[p + 2]) << 16) | (uint8_t(d[p + 1]) << 8) | uint8_t(d[p]);
                anyAlpha |= (argb >> 24) != 0;
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
    for (int y = 0; hasMask && y < height; ++y) {
        size_t row = mask + maskStride * (height - 1 - y);
        for (int x = 0; x < width; ++x)
            if ((uint8_t(d[row + x / 8]) >> (7 - x % 8)) & 1)
                image.setPixel(x, y, 0);  // see-through
    }
    return image;
}

}  // namespace

std::vector<QImage> DecodeIconFile(std::string_view d, int* shownIndex)
{
    if (d.size() < 6 || U16(d, 0) != 0 || (U16(d, 2) != 1 && U16(d, 2) != 2))
        Bad();
    size_t count = U16(d, 4);
    if (count == 0 || 6 + 16 * count > d.size())
        Bad();
    std::vector<QImage> images;
    std::vector<int> colours;
    for (size_t i = 0; i < count; ++i) {
        size_t entry = 6 + 16 * i;
        uint32_t size = U32(d, entry + 8), offset = U32(d, entry + 12);
        if (size == 0 || offset > d.size() || size > d.size() - offset)
            Bad();
        images.push_back(DecodeImage(d.substr(offset, size)));
        colours.push_back(uint8_t(d[entry + 2]));  // 0: 256 colours or more
    }
    // A true-colour screen shows the first image of 256 colours or more; else the richest.
    int shown = 0;
    for (size_t i = 0; i < colours.size(); ++i)
        if (colours[i] == 0 || colours[i] > colours[static_cast<size_t>(shown)]) {
            shown = static_cast<int>(i);
            if (colours[i] == 0)
                break;
        }
    if (shownIndex)
        *shownIndex = shown;
    return images;
}

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
    int shown = 0;
    std::vector<QImage> images = DecodeIconFile(data, &shown);
    FData.assign(data);
    FImages = std::move(images);
    FShown = FImages[static_cast<size_t>(shown)];
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
        FImages = icon->FImages;
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
