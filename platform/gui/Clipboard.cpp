#include "platform/gui/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <cctype>

#include <QImage>
#include <map>

#include "platform/gui/Bitmap.h"
#include "platform/gui/Graphics.h"

namespace {

QClipboard* Board() { return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr; }

std::map<AnsiString, unsigned>& Registered()
{
    static std::map<AnsiString, unsigned> formats;
    return formats;
}

}  // namespace

unsigned RegisterClipboardFormat(const AnsiString& name)
{
    if (name.empty())
        return 0;
    auto& formats = Registered();
    auto it = formats.find(name);
    if (it != formats.end())
        return it->second;
    unsigned number = 0xC000 + static_cast<unsigned>(formats.size());
    formats[name] = number;
    return number;
}

std::string ClipboardFormatMime(unsigned format)
{
    switch (format) {
    case CF_TEXT:
    case CF_UNICODETEXT: return "text/plain";
    case CF_BITMAP: return "image/png";
    case CF_HDROP: return "text/uri-list";
    default: break;
    }
    for (const auto& [name, number] : Registered())
        if (number == format) {
            if (name == "Rich Text Format")
                return "text/rtf";
            // Private names in the type stay readable: letters, digits and "-" only.
            std::string mime = "application/x-hanmud-";
            for (unsigned char c : name)
                mime += std::isalnum(c) ? static_cast<char>(std::tolower(c)) : '-';
            return mime;
        }
    return std::string();
}

TClipboard::TClipboard() = default;

TClipboard::~TClipboard() = default;

void TClipboard::Open()
{
    if (FOpenCount++ == 0)
        FPending = std::make_unique<QMimeData>();
}

void TClipboard::Close()
{
    if (FOpenCount == 0 || --FOpenCount > 0)
        return;
    QClipboard* b = Board();
    if (b && FPending && !FPending->formats().isEmpty())
        b->setMimeData(FPending.release());
    FPending.reset();
}

void TClipboard::Put(const std::function<void(QMimeData*)>& fill)
{
    if (FOpenCount > 0) {
        fill(FPending.get());
        return;
    }
    if (QClipboard* b = Board()) {
        auto* data = new QMimeData;
        fill(data);
        b->setMimeData(data);
    }
}

void TClipboard::Put(const std::string& mime, const QByteArray& bytes)
{
    Put([&](QMimeData* data) { data->setData(QString::fromStdString(mime), bytes); });
}

bool TClipboard::HasFormat(unsigned format) const
{
    if (format == CF_TEXT || format == CF_UNICODETEXT)
        return HasText();
    QClipboard* b = Board();
    const QMimeData* data = b ? b->mimeData() : nullptr;
    if (!data)
        return false;
    if (format == CF_BITMAP)
        return data->hasImage();
    std::string mime = ClipboardFormatMime(format);
    return !mime.empty() && data->hasFormat(QString::fromStdString(mime));
}

std::string TClipboard::GetBytes(unsigned format) const
{
    if (format == CF_TEXT)
        return AsText();
    QClipboard* b = Board();
    const QMimeData* data = b ? b->mimeData() : nullptr;
    std::string mime = ClipboardFormatMime(format);
    if (!data || mime.empty())
        return std::string();
    QByteArray bytes = data->data(QString::fromStdString(mime));
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void TClipboard::SetBytes(unsigned format, std::string_view data)
{
    if (format == CF_TEXT) {
        Put("text/plain", AnsiToQString(data).toUtf8());
        return;
    }
    std::string mime = ClipboardFormatMime(format);
    if (!mime.empty())
        Put(mime, QByteArray(data.data(), static_cast<qsizetype>(data.size())));
}

void TClipboard::Assign(TGraphic* graphic)
{
    if (!graphic || graphic->Empty())
        return;
    TBitmap picture;
    picture.SetSize(graphic->Width(), graphic->Height());
    graphic->DrawInto(picture.Canvas(), Rect(0, 0, graphic->Width(), graphic->Height()));
    // Qt offers the image to other programs as image/png (and its other image types).
    QImage image = picture.Image();
    Put([&](QMimeData* data) { data->setImageData(image); });
}

bool TClipboard::GetBitmap(TBitmap* bitmap) const
{
    QClipboard* b = Board();
    const QMimeData* data = b ? b->mimeData() : nullptr;
    if (!data)
        return false;
    QImage image;
    if (data->hasImage())
        image = qvariant_cast<QImage>(data->imageData());
    else if (data->hasFormat(QStringLiteral("image/png")))
        image.loadFromData(data->data(QStringLiteral("image/png")), "PNG");
    if (image.isNull())
        return false;
    bitmap->SetImage(image);
    return true;
}

AnsiString TClipboard::AsText() const
{
    QClipboard* b = Board();
    return b ? QStringToAnsi(b->text()) : AnsiString();
}

void TClipboard::SetAsText(const AnsiString& text) { SetBytes(CF_TEXT, text); }

bool TClipboard::HasText() const
{
    QClipboard* b = Board();
    const QMimeData* data = b ? b->mimeData() : nullptr;
    return data && data->hasText();
}

void TClipboard::Clear()
{
    if (QClipboard* b = Board())
        b->clear();
}

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}
