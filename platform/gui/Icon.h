#pragma once
// The framework's icon: the images of an icon file (.ico), one of which is shown. The file's
// bytes are kept as loaded, so an icon saved again is the same file; an icon made from an
// image is saved as a one-image 32-bit icon. Every count, offset, size and dimension of a file
// is checked before it is used (IconDirectory.h): bad data raises EInvalidGraphic and leaves the
// icon as it was. Only the image shown is decoded.

#include <QImage>
#include <string>
#include <vector>

#include "platform/gui/Bitmap.h"
#include "platform/gui/Graphic.h"

class TIcon : public TGraphic {
public:
    // The largest side an icon image may have.
    static constexpr int kMaxSide = 256;

    int Width() const override { return FShown.width(); }
    int Height() const override { return FShown.height(); }
    void DrawInto(TCanvas* canvas, const TRect& rect) override;
    void LoadFromBytes(std::string_view data) override;
    std::string SaveToBytes() override;
    void Assign(TPersistent* source) override;

    // The image shown: the first the directory says has 256 colours or more, else the one it
    // says has most.
    const QImage& Image() const { return FShown; }
    // The images the file's directory lists.
    int ImageCount() const { return FCount; }
    // Makes a one-image icon of the picture (alpha kept).
    void SetImage(const QImage& image);

private:
    std::string FData;
    int FCount = 0;
    QImage FShown;
};

// The window system's standard application icon (a plain program window) at the standard icon
// size.
void LoadApplicationIcon(TIcon* icon);

// A one-image 32-bit icon file of the image (at most kMaxSide on each side).
std::string EncodeIconFile(const QImage& image);
