#include "platform/gui/Picture.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <utility>
#include <vector>

#include "platform/core/FilePaths.h"
#include "platform/gui/Clipboard.h"

namespace {

using TGraphicMaker = std::function<std::unique_ptr<TGraphic>()>;

std::vector<std::pair<unsigned, TGraphicMaker>>& ClipboardFormats()
{
    static std::vector<std::pair<unsigned, TGraphicMaker>> formats;
    return formats;
}

}  // namespace

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Changed()
{
    if (OnChange)
        OnChange(this);
}

template <class T>
T* TPicture::As()
{
    auto* graphic = dynamic_cast<T*>(FGraphic.get());
    if (!graphic) {
        auto made = std::make_unique<T>();
        graphic = made.get();
        FGraphic = std::move(made);
        graphic->OnChange = [this](TObject*) { Changed(); };
        Changed();
    }
    return graphic;
}

TBitmap* TPicture::Bitmap() { return As<TBitmap>(); }

TIcon* TPicture::Icon() { return As<TIcon>(); }

void TPicture::SetGraphic(TGraphic* graphic)
{
    if (!graphic) {
        FGraphic.reset();
        Changed();
    } else if (dynamic_cast<TIcon*>(graphic)) {
        Icon()->Assign(graphic);
    } else {
        Bitmap()->Assign(graphic);
    }
}

void TPicture::LoadFromFile(const AnsiString& fileName)
{
    const AnsiString ext = LowerCase(ExtractFileExt(fileName));
    if (ext == ".ico") {
        auto icon = std::make_unique<TIcon>();
        icon->LoadFromFile(fileName);
        SetGraphic(icon.get());
        return;
    }
    if (ext == ".bmp") {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->TGraphic::LoadFromFile(fileName);
        SetGraphic(bitmap.get());
        return;
    }
    if (ext.size() < 2 || !QImageReader::supportedImageFormats().contains(QByteArray(ext.c_str() + 1)))
        throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
    // Any other kind Qt reads, recognised by its content; its size is checked before decoding.
    const std::string data = ReadGraphicFile(fileName);
    QByteArray bytes = QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxSide || size.height() > kMaxSide)
        throw EInvalidGraphic("Bitmap image is not valid");
    const QImage image = reader.read();
    if (image.isNull())
        throw EInvalidGraphic("Bitmap image is not valid");
    Bitmap()->SetImage(image);
}

void TPicture::SaveToFile(const AnsiString& fileName)
{
    if (FGraphic)
        FGraphic->TGraphic::SaveToFile(fileName);  // program paths, whatever the kind
}

void TPicture::Assign(TPersistent* source)
{
    if (!source) {
        SetGraphic(nullptr);
    } else if (auto* picture = dynamic_cast<TPicture*>(source)) {
        SetGraphic(picture->Graphic());
    } else if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
        SetGraphic(graphic);
    } else {
        TPersistent::Assign(source);
    }
}

void TPicture::RegisterClipboardFormat(unsigned Format, std::function<std::unique_ptr<TGraphic>()> Make)
{
    if (!SupportsClipboardFormat(Format))
        ClipboardFormats().emplace_back(Format, std::move(Make));
}

bool TPicture::SupportsClipboardFormat(unsigned Format)
{
    if (Format == CF_BITMAP)
        return true;
    for (const auto& [format, make] : ClipboardFormats())
        if (format == Format)
            return true;
    return false;
}

void TPicture::LoadFromClipboard()
{
    TClipboard* board = Clipboard();
    for (const auto& [format, make] : ClipboardFormats())
        if (board->HasFormat(format)) {
            std::unique_ptr<TGraphic> graphic = make();
            graphic->LoadFromBytes(board->GetBytes(format));
            SetGraphic(graphic.get());
            return;
        }
    TBitmap bitmap;
    if (!board->GetBitmap(&bitmap))
        throw EInvalidGraphic("Unsupported clipboard format");
    SetGraphic(&bitmap);
}
