#include "grid/model/CellGraphic.h"

void TCellGraphic::Place(TCellType Type, TCellHAlign HAlign, TCellVAlign VAlign)
{
    CellType = Type;
    CellHAlign = HAlign;
    CellVAlign = VAlign;
}

void TCellGraphic::SetBitmap(std::shared_ptr<TObject> ABitmap, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign)
{
    Place(ctBitmap, HAlign, VAlign);
    CellBitmap = std::move(ABitmap);
    CellTransparent = Transparent;
}

void TCellGraphic::SetIcon(std::shared_ptr<TObject> AIcon, TCellHAlign HAlign, TCellVAlign VAlign)
{
    Place(ctIcon, HAlign, VAlign);
    CellIcon = std::move(AIcon);
}

void TCellGraphic::SetPicture(std::shared_ptr<TObject> APicture, bool Transparent, TStretchMode StretchMode, int Margin,
                              TCellHAlign HAlign, TCellVAlign VAlign)
{
    Place(ctPicture, HAlign, VAlign);
    CellBitmap = std::move(APicture);
    CellTransparent = Transparent;
    CellAngle = static_cast<int16_t>(StretchMode);
    CellIndex = Margin;
}

void TCellGraphic::SetFilePicture(std::shared_ptr<TObject> APicture, bool Transparent, TStretchMode StretchMode,
                                  int Margin, TCellHAlign HAlign, TCellVAlign VAlign)
{
    SetPicture(std::move(APicture), Transparent, StretchMode, Margin, HAlign, VAlign);
    CellType = ctFilePicture;
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, TCellHAlign HAlign, TCellVAlign VAlign)
{
    Place(Data ? ctDataCheckBox : ctCheckBox, HAlign, VAlign);
    CellBoolean = Value;
}

void TCellGraphic::SetDataImage(int Index, TCellHAlign HAlign, TCellVAlign VAlign)
{
    Place(ctDataImage, HAlign, VAlign);
    CellIndex = Index;
}

void TCellGraphic::SetImageIdx(int Index, TCellHAlign HAlign, TCellVAlign VAlign)
{
    Place(ctImageList, HAlign, VAlign);
    CellIndex = Index;
}

void TCellGraphic::SetMultiImage(std::shared_ptr<TObject> List, int Direction, TCellHAlign HAlign, TCellVAlign VAlign)
{
    Place(ctImages, HAlign, VAlign);
    CellBitmap = std::move(List);
    CellBoolean = Direction == 0;
}

void TCellGraphic::SetButton(int Width, int Height, const AnsiString& Caption, TCellHAlign HAlign, TCellVAlign VAlign)
{
    Place(ctButton, HAlign, VAlign);
    auto caption = std::make_shared<TStringList>();
    caption->SetText(Caption);
    CellBitmap = std::move(caption);
    CellIndex = static_cast<int32_t>((static_cast<uint32_t>(Height) << 16) | (static_cast<uint32_t>(Width) & 0xFFFF));
    CellBoolean = false;
    CellCreated = true;
}

void TCellGraphic::SetAngle(int16_t Angle)
{
    CellType = ctRotated;
    int a = Angle;
    while (a < 0)
        a += 360;
    while (a > 360)
        a -= 360;
    CellAngle = static_cast<int16_t>(a);
}

TStringList* TCellGraphic::Lines() const
{
    if (CellType != ctComment && CellType != ctButton)
        return nullptr;
    return dynamic_cast<TStringList*>(CellBitmap.get());
}
