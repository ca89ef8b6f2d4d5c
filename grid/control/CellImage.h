#pragma once
// The images a cell extra holds (bitmaps, icons, pictures) as the model sees them: shared with
// whoever made them, so that a caller letting go of its copy never leaves the cell pointing at
// freed memory, and one image shown by many cells is freed once, with the last of them.

#include <memory>

#include "grid/model/CellGraphic.h"

template <class T>
class TCellImage : public TObject, public ICellImage {
public:
    explicit TCellImage(std::shared_ptr<T> Image) : FImage(std::move(Image)) {}
    T* Get() const { return FImage.get(); }
    int ImageWidth() const override { return FImage ? FImage->Width() : 0; }
    int ImageHeight() const override { return FImage ? FImage->Height() : 0; }
    const void* Identity() const override { return FImage.get(); }

private:
    std::shared_ptr<T> FImage;
};

// The image of kind T an extra's object slot holds, or null.
template <class T>
T* CellImageOf(const std::shared_ptr<TObject>& Slot)
{
    const auto* held = dynamic_cast<const TCellImage<T>*>(Slot.get());
    return held ? held->Get() : nullptr;
}
