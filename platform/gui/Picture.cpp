#include "platform/gui/Picture.h"

#include <QImage>

#include "platform/core/FilePaths.h"
#include "platform/core/StoredPath.h"

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
    AnsiString ext = LowerCase(ExtractFileExt(fileName));
    if (ext == ".ico") {
        auto icon = std::make_unique<TIcon>();
        icon->LoadFromFile(fileName);
        SetGraphic(icon.get());
    } else if (ext == ".bmp") {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->TGraphic::LoadFromFile(fileName);
        SetGraphic(bitmap.get());
    } else if (ext == ".png" || ext == ".jpg" || ext == ".jpeg") {
        QImage image;
        if (!image.load(QString::fromStdString(NativePath(fileName))))
            throw EInvalidGraphic("Bitmap image is not valid");
        Bitmap()->SetImage(image);
    } else {
        throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
    }
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
