#pragma once
// The framework's image list: images of one size, each with a mask (see-through pixels), drawn
// by index. A bitmap wider than the list's width adds one image per width.

#include <memory>
#include <vector>

#include "platform/core/Colors.h"
#include "platform/core/Component.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Canvas.h"

class QImage;
class TIcon;
class TImageList;

// A listener of an image list's changes: several links may listen to one list. A link leaves
// its list when it is destroyed; a list that goes first leaves its links without a sender.
class TChangeLink {
public:
    TChangeLink() = default;
    ~TChangeLink();
    TChangeLink(const TChangeLink&) = delete;
    TChangeLink& operator=(const TChangeLink&) = delete;
    TImageList* Sender() const { return FSender; }
    // Runs OnChange.
    void Change();
    // Every registered link hears each change after OnChange; registering again does nothing.
    void RegisterChanges(TChangeLink* Value);
    void UnRegisterChanges(TChangeLink* Value);

    TNotifyEvent OnChange;

private:
    TImageList* FSender = nullptr;
    friend class TImageList;
};

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner, int width = 16, int height = 16);
    ~TImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A new size empties the list.
    void SetWidth(int w) { SetSize(w, FHeight); }
    void SetHeight(int h) { SetSize(FWidth, h); }
    void SetSize(int w, int h);
    int Count() const;

    // Adds the image(s) of `image`; a set (white) pixel of the one-bit `mask` is see-through;
    // no mask: opaque. Returns the index of the first image added, -1 when none.
    int Add(TBitmap* image, TBitmap* mask);
    // Pixels of maskColor are see-through (clDefault: the colour of the lower-left pixel).
    int AddMasked(TBitmap* image, TColor maskColor);
    // Replaces image index; EInvalidOperation for an index out of range.
    void Replace(int index, TBitmap* image, TBitmap* mask);
    void ReplaceMasked(int index, TBitmap* image, TColor maskColor);
    void Delete(int index);
    void Clear();

    // Draws image index at (x, y), its see-through pixels leaving the canvas as it was; a
    // disabled image is drawn greyed. An index out of range draws nothing.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    // Draws the mask: black where the image is opaque, white where it is see-through.
    void DrawMask(TCanvas* canvas, int x, int y, int index);
    // The image on the bitmap, sized to the list (see-through pixels take the bitmap's
    // current pixels).
    void GetBitmap(int index, TBitmap* image);
    // The image as a one-image icon, its see-through pixels transparent.
    void GetIcon(int index, TIcon* icon);

    // Every registered link hears each change after OnChange; registering again does nothing.
    void RegisterChanges(TChangeLink* Value);
    void UnRegisterChanges(TChangeLink* Value);

    TNotifyEvent OnChange;

private:
    std::vector<QImage> Split(TBitmap* image, TBitmap* mask, bool byColor, TColor maskColor);
    void CheckIndex(int index) const;
    void Changed();

    int FWidth, FHeight;
    std::vector<QImage> FImages;  // ARGB, alpha 0 where see-through
    std::vector<TChangeLink*> FLinks;
};
