#include "controls/lib/ClipIcon.h"

#include <memory>

#include "platform/gui/Clipboard.h"
#include "platform/gui/IconDirectory.h"
#include "platform/gui/Picture.h"
#include "platform/gui/SystemMetrics.h"

namespace {

// The display shows true colour: its colour count reads as 0, as in an icon directory.
constexpr int kDisplayColors = 0;

}  // namespace

unsigned IconClipboardFormat()
{
    // Lower case: the X clipboard reports its types in lower case.
    static const unsigned format = RegisterClipboardFormat("icon");
    return format;
}

namespace {

// At start the format becomes the icons' for pictures too, so a picture pastes from it.
const bool kIconFormatForPictures = [] {
    TPicture::RegisterClipboardFormat(IconClipboardFormat(), [] { return std::make_unique<TIcon>(); });
    return true;
}();

}  // namespace

void CopyIconToClipboard(TIcon* Icon, TColor BackColor)
{
    if (!Icon || Icon->Empty())
        return;
    TBitmap picture;
    picture.SetSize(Icon->Width(), Icon->Height());
    picture.Canvas()->Brush()->SetColor(BackColor);
    picture.Canvas()->FillRect(Rect(0, 0, Icon->Width(), Icon->Height()));
    Icon->DrawInto(picture.Canvas(), Rect(0, 0, Icon->Width(), Icon->Height()));
    const std::string bytes = Icon->SaveToBytes();
    TClipboard* board = Clipboard();
    board->Open();
    board->Clear();
    board->Assign(&picture);
    board->SetBytes(IconClipboardFormat(), bytes);
    board->Close();
}

void AssignClipboardIcon(TIcon* Icon)
{
    if (!Icon || !Clipboard()->HasFormat(IconClipboardFormat()))
        return;
    const std::string bytes = Clipboard()->GetBytes(IconClipboardFormat());
    if (IconStreamType(bytes) != 1)
        return;
    try {
        // The icon checks the directory as a picture pasted from this format does, and decodes
        // only the image it shows; bad bytes leave it as it was.
        Icon->LoadFromBytes(bytes);
    } catch (const EInvalidGraphic&) {}
}

TIcon* CreateIconFromClipboard()
{
    if (!Clipboard()->HasFormat(IconClipboardFormat()))
        return nullptr;
    auto icon = std::make_unique<TIcon>();
    AssignClipboardIcon(icon.get());
    return icon->Empty() ? nullptr : icon.release();
}

void GetIconSize(TIcon* Icon, unsigned& W, unsigned& H)
{
    if (!Icon || Icon->Empty()) {
        W = static_cast<unsigned>(GetSystemMetrics(SM_CXICON));
        H = static_cast<unsigned>(GetSystemMetrics(SM_CYICON));
        return;
    }
    W = static_cast<unsigned>(Icon->Width());
    H = static_cast<unsigned>(Icon->Height());
}

TIcon* CreateRealSizeIcon(TIcon* Icon)
{
    if (!Icon || Icon->Empty())
        return nullptr;
    auto result = std::make_unique<TIcon>();
    const std::string bytes = Icon->SaveToBytes();
    if (IconStreamType(bytes) == 0) {
        LoadApplicationIcon(result.get());
        return result.release();
    }
    TIconDirectory directory;
    if (!ReadIconDirectory(bytes, directory) || directory.Type != 1) {
        result->Assign(Icon);
        return result.release();
    }
    const TIconDirEntry& entry = directory.Entries[ChooseIconImage(directory.Entries, kDisplayColors)];
    try {
        result->LoadFromBytes(ExtractIconImage(bytes, entry));
    } catch (const EInvalidGraphic&) {
        result->Assign(Icon);
    }
    return result.release();
}

void DrawRealSizeIcon(TCanvas* Canvas, TIcon* Icon, int X, int Y)
{
    std::unique_ptr<TIcon> real(CreateRealSizeIcon(Icon));
    if (Canvas && real)
        real->DrawInto(Canvas, Bounds(X, Y, real->Width(), real->Height()));
}
