#pragma once
// The framework's picture: holds one graphic of whichever kind a file or a caller gives it.

#include <functional>
#include <memory>

#include "platform/gui/Bitmap.h"
#include "platform/gui/Icon.h"

class TPicture : public TPersistent {
public:
    // The largest side a picture file may have.
    static constexpr int kMaxSide = 16384;

    TPicture();
    ~TPicture() override;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    TGraphic* Graphic() const { return FGraphic.get(); }
    // Keeps a copy of the graphic (null empties the picture).
    void SetGraphic(TGraphic* graphic);
    // The graphic as a bitmap or an icon: a picture holding another kind is emptied into one.
    TBitmap* Bitmap();
    TIcon* Icon();
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }
    // The kind follows the extension: ".ico" an icon, ".bmp" and every other image format Qt
    // reads a bitmap. EInvalidGraphic("Unknown picture file extension (.xyz)") for an extension
    // it cannot read, EInvalidGraphic for a file that is not an image of its kind or has a side
    // over kMaxSide, EFOpenError for a file that cannot be opened.
    void LoadFromFile(const AnsiString& fileName);
    void SaveToFile(const AnsiString& fileName);
    void Assign(TPersistent* source) override;

    // A clipboard format a picture can be pasted from, with the graphic its bytes load into
    // (the icon routines register theirs). Pictures also take the clipboard's bitmap.
    static void RegisterClipboardFormat(unsigned Format, std::function<std::unique_ptr<TGraphic>()> Make);
    static bool SupportsClipboardFormat(unsigned Format);
    // The clipboard's picture: a registered format it holds (the first registered), else its
    // bitmap. EInvalidGraphic when it holds none or its bytes are bad; the picture then stays.
    void LoadFromClipboard();
    TNotifyEvent OnChange;

private:
    template <class T>
    T* As();
    void Changed();
    std::unique_ptr<TGraphic> FGraphic;
};
