#include "platform/gui/Resources.h"

#include <QFile>
#include <QPixmap>
#include <algorithm>
#include <map>
#include <utility>

#include "platform/gui/Bitmap.h"
#include "platform/gui/Icon.h"

namespace {

std::map<std::pair<TResourceType, AnsiString>, TPictureResource>& Pictures()
{
    static std::map<std::pair<TResourceType, AnsiString>, TPictureResource> pictures;
    return pictures;
}

std::map<int, AnsiString>& Strings()
{
    static std::map<int, AnsiString> strings;
    return strings;
}

// The picture of a resource: ours first, then a shipped Qt resource; null when neither exists.
QImage Picture(TResourceType type, const AnsiString& name, QPoint* hotSpot)
{
    auto it = Pictures().find({type, UpperCase(name)});
    if (it != Pictures().end() && it->second.Make) {
        if (hotSpot)
            *hotSpot = it->second.HotSpot;
        return it->second.Make();
    }
    QString path = QStringLiteral(":/hanmud/") + QString::fromLatin1(name.c_str()) + QStringLiteral(".png");
    QImage image;
    if (QFile::exists(path))
        image.load(path);
    return image;
}

[[noreturn]] void ResourceNotFound(const AnsiString& name)
{
    throw EResNotFound(Format("Resource %s not found", name.c_str()));
}
}  // namespace

void RegisterPictureResource(TResourceType type, const AnsiString& name, TPictureResource resource)
{
    Pictures()[{type, UpperCase(name)}] = std::move(resource);
}

void RegisterBitmapResource(const AnsiString& name, std::function<void(TBitmap*)> draw)
{
    RegisterPictureResource(rtBitmap, name,
                            {[draw = std::move(draw)] {
                                 TBitmap bitmap;
                                 draw(&bitmap);
                                 return bitmap.Image().copy();
                             },
                             {}});
}

void RegisterRowsPicture(TResourceType type, const AnsiString& name, std::vector<std::string> rows, QPoint hotSpot)
{
    auto make = [rows] {
        int width = 0;
        for (const std::string& row : rows)
            width = std::max(width, static_cast<int>(row.size()));
        QImage image(width, static_cast<int>(rows.size()), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < static_cast<int>(rows[y].size()); ++x)
                if (rows[y][x] == '#' || rows[y][x] == '.')
                    image.setPixel(x, y, rows[y][x] == '#' ? 0xFF000000 : 0xFFFFFFFF);
        return image;
    };
    RegisterPictureResource(type, name, TPictureResource{make, hotSpot});
}

AnsiString ResourceIdName(int id) { return IntToStr(id); }


bool FindResource(TResourceType type, const AnsiString& name) { return !Picture(type, name, nullptr).isNull(); }

void LoadBitmapResource(TBitmap* bitmap, const AnsiString& name)
{
    QImage image = Picture(rtBitmap, name, nullptr);
    if (image.isNull())
        ResourceNotFound(name);
    bitmap->SetImage(image);
}

void LoadIconResource(TIcon* icon, const AnsiString& name)
{
    QImage image = Picture(rtIcon, name, nullptr);
    if (image.isNull())
        ResourceNotFound(name);
    icon->SetImage(image);
}

QCursor LoadCursorResource(const AnsiString& name)
{
    QPoint hot;
    QImage image = Picture(rtCursor, name, &hot);
    if (image.isNull())
        ResourceNotFound(name);
    return QCursor(QPixmap::fromImage(image), hot.x(), hot.y());
}

void RegisterResourceString(int ident, const AnsiString& text) { Strings()[ident] = text; }

AnsiString LoadStr(int ident)
{
    auto it = Strings().find(ident);
    return it == Strings().end() ? AnsiString() : it->second;
}
