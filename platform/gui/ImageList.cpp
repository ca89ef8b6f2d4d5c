#include "platform/gui/ImageList.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "platform/gui/Icon.h"

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), FWidth(std::max(width, 1)), FHeight(std::max(height, 1))
{}

TImageList::~TImageList()
{
    for (TChangeLink* link : FLinks)
        link->FSender = nullptr;
}

void TImageList::Changed()
{
    if (OnChange)
        OnChange(this);
    // A listener may unregister itself or another while it hears the change.
    const std::vector<TChangeLink*> links = FLinks;
    for (TChangeLink* link : links)
        if (std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end())
            link->Change();
}

void TImageList::RegisterChanges(TChangeLink* Value)
{
    if (!Value || std::find(FLinks.begin(), FLinks.end(), Value) != FLinks.end())
        return;
    if (Value->FSender)
        Value->FSender->UnRegisterChanges(Value);
    Value->FSender = this;
    FLinks.push_back(Value);
}

void TImageList::UnRegisterChanges(TChangeLink* Value)
{
    auto it = std::find(FLinks.begin(), FLinks.end(), Value);
    if (it == FLinks.end())
        return;
    FLinks.erase(it);
    Value->FSender = nullptr;
}

TChangeLink::~TChangeLink()
{
    if (FSender)
        FSender->UnRegisterChanges(this);
}

void TChangeLink::Change()
{
    if (OnChange)
        OnChange(FSender);
}

void TImageList::SetSize(int w, int h)
{
    w = std::max(w, 1);
    h = std::max(h, 1);
    if (w == FWidth && h == FHeight)
        return;
    FWidth = w;
    FHeight = h;
    FImages.clear();
    Changed();
}

std::vector<QImage> TImageList::Split(TBitmap* image, TBitmap* mask, bool byColor, TColor maskColor)
{
    std::vector<QImage> out;
    if (!image || image->Empty())
        return out;
    const QImage src = image->Snapshot().convertToFormat(QImage::Format_ARGB32);
    QImage m;
    if (mask && !mask->Empty())
        m = mask->Snapshot().convertToFormat(QImage::Format_RGB32);
    if (byColor && maskColor == clDefault)
        maskColor = image->PixelColor(0, image->Height() - 1);
    const QRgb key = ToQColor(maskColor).rgb() & 0xFFFFFF;
    const int n = std::max(1, src.width() / FWidth);
    for (int i = 0; i < n; ++i) {
        QImage piece(FWidth, FHeight, QImage::Format_ARGB32);
        piece.fill(Qt::transparent);
        for (int y = 0; y < std::min(FHeight, src.height()); ++y)
            for (int x = 0; x < FWidth; ++x) {
                const int sx = i * FWidth + x;
                if (sx >= src.width())
                    break;
                const QRgb c = src.pixel(sx, y) | 0xFF000000;
                bool clear = false;
                if (byColor)
                    clear = (c & 0xFFFFFF) == key;
                else if (!m.isNull() && sx < m.width() && y < m.height())
                    clear = (m.pixel(sx, y) & 0xFFFFFF) == 0xFFFFFF;
                piece.setPixel(x, y, clear ? 0u : c);
            }
        out.push_back(std::move(piece));
    }
    return out;
}

int TImageList::Add(TBitmap* image, TBitmap* mask)
{
    std::vector<QImage> pieces = Split(image, mask, false, clNone);
    if (pieces.empty())
        return -1;
    const int first = Count();
    for (QImage& p : pieces)
        FImages.push_back(std::move(p));
    Changed();
    return first;
}

int TImageList::AddMasked(TBitmap* image, TColor maskColor)
{
    std::vector<QImage> pieces = Split(image, nullptr, true, maskColor);
    if (pieces.empty())
        return -1;
    const int first = Count();
    for (QImage& p : pieces)
        FImages.push_back(std::move(p));
    Changed();
    return first;
}

void TImageList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EInvalidOperation("Invalid ImageList Index");
}

void TImageList::Replace(int index, TBitmap* image, TBitmap* mask)
{
    CheckIndex(index);
    std::vector<QImage> pieces = Split(image, mask, false, clNone);
    if (pieces.empty())
        return;
    FImages[index] = std::move(pieces.front());
    Changed();
}

void TImageList::ReplaceMasked(int index, TBitmap* image, TColor maskColor)
{
    CheckIndex(index);
    std::vector<QImage> pieces = Split(image, nullptr, true, maskColor);
    if (pieces.empty())
        return;
    FImages[index] = std::move(pieces.front());
    Changed();
}

void TImageList::Delete(int index)
{
    CheckIndex(index);
    FImages.erase(FImages.begin() + index);
    Changed();
}

void TImageList::Clear()
{
    if (FImages.empty())
        return;
    FImages.clear();
    Changed();
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled)
{
    if (!canvas || index < 0 || index >= Count())
        return;
    QPainter* p = canvas->Painter();
    if (!p)
        return;
    QImage img = FImages[index];
    if (!enabled) {
        for (int py = 0; py < img.height(); ++py)
            for (int px = 0; px < img.width(); ++px) {
                const QRgb c = img.pixel(px, py);
                if (qAlpha(c) == 0)
                    continue;
                const int g = (qRed(c) * 77 + qGreen(c) * 150 + qBlue(c) * 29) >> 8;
                img.setPixel(px, py, qRgb(g, g, g));
            }
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(QPoint(x, y), img);
}

void TImageList::GetIcon(int index, TIcon* icon)
{
    CheckIndex(index);
    if (icon)
        icon->SetImage(FImages[index]);
}

int TImageList::Count() const { return static_cast<int>(FImages.size()); }

void TImageList::DrawMask(TCanvas* canvas, int x, int y, int index)
{
    if (!canvas || index < 0 || index >= Count())
        return;
    QPainter* p = canvas->Painter();
    if (!p)
        return;
    QImage m(FWidth, FHeight, QImage::Format_RGB32);
    const QImage& img = FImages[index];
    for (int py = 0; py < FHeight; ++py)
        for (int px = 0; px < FWidth; ++px)
            m.setPixel(px, py, qAlpha(img.pixel(px, py)) == 0 ? 0xFFFFFFFF : 0xFF000000);
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->drawImage(QPoint(x, y), m);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TImageList::GetBitmap(int index, TBitmap* image)
{
    if (!image || index < 0 || index >= Count())
        return;
    image->SetSize(FWidth, FHeight);
    Draw(image->Canvas(), 0, 0, index);
}
