// Cell extras that show display objects: bitmaps, icons, pictures and file pictures. Each is
// held through TCellImage, shared with whoever else holds it. Also what the model's extras ask
// of the display: the image list's size, text measured in the canvas font, an immediate paint.

#include "grid/control/CellGrid.h"
#include "grid/control/CellImage.h"

namespace {

template <class T>
std::shared_ptr<TObject> Hold(std::shared_ptr<T> Image)
{
    return std::make_shared<TCellImage<T>>(std::move(Image));
}

// The object of kind T an extra holds (a file picture is held as itself), or null.
template <class T>
T* HeldBy(const TCellGraphic* Extra)
{
    if (!Extra)
        return nullptr;
    if constexpr (std::is_base_of_v<ICellImage, T>)
        return dynamic_cast<T*>(Extra->CellBitmap.get());
    else
        return CellImageOf<T>(Extra->CellBitmap);
}

// A picture extra of either kind, holding the picture.
void PutPicture(TCellGrid& Grid, int ACol, int ARow, TCellType Kind, std::shared_ptr<TObject> Picture, bool Transparent,
                TStretchMode StretchMode, int Margin, TCellHAlign HAlign, TCellVAlign VAlign)
{
    TCellGraphic* extra = Grid.CreateCellGraphic(ACol, ARow);
    extra->SetPicture(std::move(Picture), Transparent, StretchMode, Margin, HAlign, VAlign);
    extra->CellType = Kind;
    Grid.InvalidateCell(Grid.RemapColInv(ACol), ARow);
}

// A new object of kind T handed to Add, then marked as the cell's own.
template <class T, class Add>
T* MakeOwn(const TCellModel& Grid, int ACol, int ARow, Add add)
{
    auto made = std::make_shared<T>();
    T* image = made.get();
    add(std::move(made));
    AsCellGraphic(Grid.Objects(ACol, ARow))->CellCreated = true;
    return image;
}

}  // namespace

void TCellGrid::AddBitmap(int ACol, int ARow, std::shared_ptr<TBitmap> Bitmap, bool Transparent, TCellHAlign HAlign,
                          TCellVAlign VAlign)
{
    CreateCellGraphic(ACol, ARow)->SetBitmap(Hold(std::move(Bitmap)), Transparent, HAlign, VAlign);
    InvalidateCell(RemapColInv(ACol), ARow);
}

TBitmap* TCellGrid::CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign)
{
    return MakeOwn<TBitmap>(*this, ACol, ARow,
                            [&](auto made) { AddBitmap(ACol, ARow, std::move(made), Transparent, HAlign, VAlign); });
}

TBitmap* TCellGrid::GetBitmap(int ACol, int ARow) const { return HeldBy<TBitmap>(ExtraOf(ACol, ARow, ctBitmap)); }

void TCellGrid::AddIcon(int ACol, int ARow, std::shared_ptr<TIcon> Icon, TCellHAlign HAlign, TCellVAlign VAlign)
{
    CreateCellGraphic(ACol, ARow)->SetIcon(Hold(std::move(Icon)), HAlign, VAlign);
    InvalidateCell(RemapColInv(ACol), ARow);
}

TIcon* TCellGrid::CreateIcon(int ACol, int ARow, TCellHAlign HAlign, TCellVAlign VAlign)
{
    return MakeOwn<TIcon>(*this, ACol, ARow, [&](auto made) { AddIcon(ACol, ARow, std::move(made), HAlign, VAlign); });
}

void TCellGrid::AddPicture(int ACol, int ARow, std::shared_ptr<TPicture> Picture, bool Transparent,
                           TStretchMode StretchMode, int Margin, TCellHAlign HAlign, TCellVAlign VAlign)
{
    PutPicture(*this, ACol, ARow, ctPicture, Hold(std::move(Picture)), Transparent, StretchMode, Margin, HAlign,
               VAlign);
}

TPicture* TCellGrid::CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Margin,
                                   TCellHAlign HAlign, TCellVAlign VAlign)
{
    return MakeOwn<TPicture>(*this, ACol, ARow, [&](auto made) {
        AddPicture(ACol, ARow, std::move(made), Transparent, StretchMode, Margin, HAlign, VAlign);
    });
}

TPicture* TCellGrid::GetPicture(int ACol, int ARow) const { return HeldBy<TPicture>(ExtraOf(ACol, ARow, ctPicture)); }

void TCellGrid::AddFilePicture(int ACol, int ARow, std::shared_ptr<TFilePicture> Picture, bool Transparent,
                               TStretchMode StretchMode, int Margin, TCellHAlign HAlign, TCellVAlign VAlign)
{
    PutPicture(*this, ACol, ARow, ctFilePicture, std::move(Picture), Transparent, StretchMode, Margin, HAlign, VAlign);
}

TFilePicture* TCellGrid::CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Margin,
                                           TCellHAlign HAlign, TCellVAlign VAlign)
{
    return MakeOwn<TFilePicture>(*this, ACol, ARow, [&](auto made) {
        AddFilePicture(ACol, ARow, std::move(made), Transparent, StretchMode, Margin, HAlign, VAlign);
    });
}

TFilePicture* TCellGrid::GetFilePicture(int ACol, int ARow) const
{
    return HeldBy<TFilePicture>(ExtraOf(ACol, ARow, ctFilePicture));
}

TSize TCellGrid::GridImageSize() const
{
    return FGridImages ? TSize{FGridImages->Width(), FGridImages->Height()} : TSize{};
}

TSize TCellGrid::ExtraTextExtent(std::string_view Text)
{
    Canvas()->SetFont(Font());
    return Canvas()->TextExtent(Text);
}

void TCellGrid::PaintCellNow(int DisplayCol, int ARow)
{
    InvalidateCell(DisplayCol, ARow);
    if (HandleAllocated())
        Update();
}
