// The cell extras that need no display object: check boxes, radio groups, image-list images,
// progress bars, comments, buttons and rotated text, and the room an extra takes in its cell.

#include <algorithm>
#include <cmath>

#include "grid/model/CellModel.h"

namespace {

// The room of one image of a list, the list showing Count of them.
TPoint ImagesRoom(TSize Image, int Count, bool SideBySide)
{
    return SideBySide ? TPoint{Count * Image.cx, Image.cy} : TPoint{Image.cx, Count * Image.cy};
}

bool IsCheckBox(const TCellGraphic* Extra)
{
    return Extra && (Extra->CellType == ctCheckBox || Extra->CellType == ctDataCheckBox);
}

}  // namespace

TCellGraphic* TCellModel::ReplaceExtra(int ACol, int ARow)
{
    TObject* held = Objects(ACol, ARow);
    if (held && !AsCellGraphic(held))
        return nullptr;
    return CreateCellGraphic(ACol, ARow);
}

TCellGraphic* TCellModel::ExtraOf(int ACol, int ARow, TCellType Kind) const
{
    TCellGraphic* extra = GetCellGraphic(ACol, ARow);
    return extra && extra->CellType == Kind ? extra : nullptr;
}

// --- Check boxes -----------------------------------------------------------------------------

void TCellModel::AddCheckBox(int ACol, int ARow, bool State, bool Data)
{
    const TCellVAlign place = FVAlignment == vtaCenter ? vaCenter : FVAlignment == vtaBottom ? vaBottom : vaTop;
    CreateCellGraphic(ACol, ARow)->SetCheckBox(State, Data, haBeforeText, place);
    InvalidateCell(RemapColInv(ACol), ARow);
}

void TCellModel::RemoveCheckBox(int ACol, int ARow)
{
    if (IsCheckBox(AsCellGraphic(Objects(ACol, ARow))))
        FreeCellGraphic(ACol, ARow);
}

bool TCellModel::HasCheckBox(int ACol, int ARow) const { return IsCheckBox(GetCellGraphic(ACol, ARow)); }

bool TCellModel::HasStaticEdit(int ACol, int ARow) const { return HasCheckBox(ACol, ARow) || IsRadio(ACol, ARow); }

bool TCellModel::GetCheckBoxState(int ACol, int ARow, bool& State) const
{
    const TCellGraphic* extra = GetCellGraphic(ACol, ARow);
    if (!IsCheckBox(extra))
        return false;
    State = extra->CellType == ctCheckBox ? extra->CellBoolean : Cells(ACol, ARow) == CheckTrue;
    return true;
}

bool TCellModel::SetCheckBoxState(int ACol, int ARow, bool State)
{
    TCellGraphic* extra = GetCellGraphic(ACol, ARow);
    if (!IsCheckBox(extra))
        return false;
    if (extra->CellType == ctDataCheckBox) {
        SetCells(ACol, ARow, State ? CheckTrue : CheckFalse);
    } else {
        extra->CellBoolean = State;
        InvalidateCell(RemapColInv(ACol), ARow);
    }
    return true;
}

bool TCellModel::ToggleCheck(int ACol, int ARow, bool Ask)
{
    if (!HasCheckBox(ACol, ARow))
        return false;
    if (Ask) {
        bool canEdit = true;
        GetCellReadOnly(ACol, ARow, canEdit);
        // The handler may have changed or freed the extra: it is looked up again.
        if (!canEdit || !HasCheckBox(ACol, ARow))
            return false;
    }
    TCellGraphic* extra = GetCellGraphic(ACol, ARow);
    if (extra->CellType == ctDataCheckBox)
        SetCells(ACol, ARow, Cells(ACol, ARow) == CheckTrue ? CheckFalse : CheckTrue);
    else
        extra->CellBoolean = !extra->CellBoolean;
    PaintCellNow(RemapColInv(ACol), ARow);
    return true;
}

// --- Radio groups ----------------------------------------------------------------------------

void TCellModel::AddRadio(int ACol, int ARow, int Direction, int Index, std::shared_ptr<TStrings> Choices)
{
    TCellGraphic* extra = CreateCellGraphic(ACol, ARow);
    extra->CellType = ctRadio;
    extra->CellAngle = static_cast<int16_t>(Choices ? std::min(Choices->Count(), 0x7FFF) : 0);
    extra->CellBitmap = std::move(Choices);
    extra->CellIndex = Index;
    extra->CellBoolean = Direction != 0;
    InvalidateCell(RemapColInv(ACol), ARow);
}

bool TCellModel::GetRadioIdx(int ACol, int ARow, int& Index) const
{
    const TCellGraphic* extra = ExtraOf(ACol, ARow, ctRadio);
    if (extra)
        Index = extra->CellIndex;
    return extra != nullptr;
}

bool TCellModel::SetRadioIdx(int ACol, int ARow, int Index)
{
    TCellGraphic* extra = ExtraOf(ACol, ARow, ctRadio);
    if (!extra)
        return false;
    extra->CellIndex = Index;
    InvalidateCell(RemapColInv(ACol), ARow);
    return true;
}

bool TCellModel::IsRadio(int ACol, int ARow) const { return ExtraOf(ACol, ARow, ctRadio) != nullptr; }

void TCellModel::RemoveRadio(int ACol, int ARow) { RemoveCellGraphic(ACol, ARow, ctRadio); }

// --- Image-list images -----------------------------------------------------------------------

void TCellModel::AddImageExtra(int ACol, int ARow, const std::function<void(TCellGraphic&)>& Set)
{
    if (!HasGridImages())
        return;
    if (TCellGraphic* extra = ReplaceExtra(ACol, ARow)) {
        Set(*extra);
        InvalidateCell(RemapColInv(ACol), ARow);
    }
}

void TCellModel::AddImageIdx(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign)
{
    AddImageExtra(ACol, ARow, [&](TCellGraphic& extra) { extra.SetImageIdx(Index, HAlign, VAlign); });
}

bool TCellModel::GetImageIdx(int ACol, int ARow, int& Index) const
{
    const TCellGraphic* extra = HasGridImages() ? ExtraOf(ACol, ARow, ctImageList) : nullptr;
    if (extra)
        Index = extra->CellIndex;
    return extra != nullptr;
}

void TCellModel::AddDataImage(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign)
{
    AddImageExtra(ACol, ARow, [&](TCellGraphic& extra) { extra.SetDataImage(Index, HAlign, VAlign); });
}

void TCellModel::AddMultiImage(int ACol, int ARow, int Direction, TCellHAlign HAlign, TCellVAlign VAlign)
{
    AddImageExtra(ACol, ARow, [&](TCellGraphic& extra) {
        auto list = std::make_shared<TIntList>(ACol, ARow);
        list->OnChange = [this](TObject* Sender, int Col, int Row) { MultiImageChanged(Sender, Col, Row); };
        extra.SetMultiImage(std::move(list), Direction, HAlign, VAlign);
    });
}

TIntList* TCellModel::GetCellImages(int ACol, int ARow) const
{
    const TCellGraphic* extra = ExtraOf(ACol, ARow, ctImages);
    return extra ? dynamic_cast<TIntList*>(extra->CellBitmap.get()) : nullptr;
}

void TCellModel::MultiImageChanged(TObject*, int ACol, int ARow)
{
    // The list keeps the cell it was made for; rows may have moved since, so the place is
    // only repainted, and only while it lies in the grid.
    if (ARow >= 0 && ARow < RowCount() && ACol >= 0 && ACol < AllCols())
        InvalidateCell(RemapColInv(ACol), ARow);
}

intptr_t TCellModel::GetCellImageIdx(int ACol, int ARow) const
{
    const TCellGraphic* extra = GetCellGraphic(ACol, ARow);
    if (!extra)
        return -1;
    if (extra->CellType == ctImages)
        return extra->CellIndex;
    if (extra->CellType != ctBitmap && extra->CellType != ctIcon)
        return -1;
    const ICellImage* image = extra->Image();
    return image ? reinterpret_cast<intptr_t>(image->Identity()) : -1;
}

// --- Progress bars, comments, buttons, rotated text -----------------------------------------

void TCellModel::AddProgress(int ACol, int ARow, TColor Color1, TColor Color2)
{
    TCellGraphic* extra = CreateCellGraphic(ACol, ARow);
    extra->CellType = ctProgress;
    extra->ProgressColor = Color1;
    extra->ProgressBackColor = Color2;
    extra->CellHAlign = haLeft;
    extra->CellVAlign = vaTop;
    InvalidateCell(RemapColInv(ACol), ARow);
}

void TCellModel::RemoveProgress(int ACol, int ARow) { RemoveCellGraphic(ACol, ARow, ctProgress); }

void TCellModel::AddComment(int ACol, int ARow, const AnsiString& Comment)
{
    TCellGraphic* extra = CreateCellGraphic(ACol, ARow);
    extra->CellType = ctComment;
    auto lines = std::make_shared<TStringList>();
    lines->SetText(Comment);
    extra->CellBitmap = std::move(lines);
    extra->CellCreated = true;
    InvalidateCell(RemapColInv(ACol), ARow);
}

bool TCellModel::IsComment(int ACol, int ARow, AnsiString& Comment) const
{
    const TCellGraphic* extra = ExtraOf(ACol, ARow, ctComment);
    if (!extra)
        return false;
    // The list ends every line with a line break; an empty comment has none to take off.
    Comment = extra->Lines() ? extra->Lines()->Text() : AnsiString();
    if (Comment.size() >= 2 && Comment.compare(Comment.size() - 2, 2, "\r\n") == 0)
        Comment.resize(Comment.size() - 2);
    return true;
}

void TCellModel::RemoveComment(int ACol, int ARow) { RemoveCellGraphic(ACol, ARow, ctComment); }

void TCellModel::AddButton(int ACol, int ARow, int Width, int Height, const AnsiString& Caption, TCellHAlign HAlign,
                           TCellVAlign VAlign)
{
    CreateCellGraphic(ACol, ARow)->SetButton(Width, Height, Caption, HAlign, VAlign);
    InvalidateCell(RemapColInv(ACol), ARow);
}

void TCellModel::RemoveButton(int ACol, int ARow) { RemoveCellGraphic(ACol, ARow, ctButton); }

bool TCellModel::HasButton(int ACol, int ARow) const { return ExtraOf(ACol, ARow, ctButton) != nullptr; }

void TCellModel::PushButton(int ACol, int ARow, bool Pushed)
{
    // Only a button is pushed: the flag means a check box's state in other kinds.
    if (TCellGraphic* extra = ExtraOf(ACol, ARow, ctButton)) {
        extra->CellBoolean = Pushed;
        InvalidateCell(RemapColInv(ACol), ARow);
    }
}

void TCellModel::ButtonRect(int ACol, int ARow, TRect& Rect) const
{
    const TCellGraphic* extra = ExtraOf(ACol, ARow, ctButton);
    if (!extra)
        return;
    const double place =
        std::isfinite(extra->CellFloat) ? std::clamp(extra->CellFloat, -2147483648.0, 2147483647.0) : 0;
    const auto packed = static_cast<uint32_t>(static_cast<int32_t>(std::lround(place)));
    const auto size = static_cast<uint32_t>(extra->CellIndex);
    Rect.Left = static_cast<int>(packed & 0xFFFF);
    Rect.Top = static_cast<int>(packed >> 16);
    Rect.Right = Rect.Left + static_cast<int>(size & 0xFFFF);
    Rect.Bottom = Rect.Top + static_cast<int>(size >> 16);
}

void TCellModel::AddRotated(int ACol, int ARow, int16_t Angle, const AnsiString& Text)
{
    if (!EnableGraphics)
        return;
    TCellGraphic* extra = ReplaceExtra(ACol, ARow);
    if (!extra)
        return;
    extra->SetAngle(Angle);
    SetCells(ACol, ARow, Text);
}

bool TCellModel::IsRotated(int ACol, int ARow, int& Angle) const
{
    const TCellGraphic* extra = ExtraOf(ACol, ARow, ctRotated);
    if (extra)
        Angle = extra->CellAngle;
    return extra != nullptr;
}

void TCellModel::RemoveRotated(int ACol, int ARow)
{
    if (EnableGraphics)
        FreeCellGraphic(ACol, ARow);
}

// --- Sizes -----------------------------------------------------------------------------------

void TCellModel::GetCellGraphicSize(int ACol, int ARow, TPoint& Size)
{
    Size = {0, 0};
    const TCellGraphic* extra = GetCellGraphic(ACol, ARow);
    if (!extra)
        return;
    const bool hasText = !Cells(ACol, ARow).empty();
    const bool besideText = extra->CellHAlign == haBeforeText || extra->CellHAlign == haAfterText;
    switch (extra->CellType) {
    case ctBitmap:
    case ctIcon:
        if (const ICellImage* image = extra->Image())
            Size = {besideText || !hasText ? image->ImageWidth() : 0, image->ImageHeight()};
        break;
    case ctImageList:
        if (HasGridImages())
            Size = {besideText || !hasText ? GridImageSize().cx : 0, GridImageSize().cy};
        break;
    case ctCheckBox:
    case ctDataCheckBox: Size = {15, 15}; break;
    case ctRadio: {
        const auto* choices = dynamic_cast<const TStrings*>(extra->CellBitmap.get());
        const int count = choices ? choices->Count() : 0;
        const int lineHeight = ExtraTextExtent("gh").cy;
        if (extra->CellBoolean) {
            for (int i = 0; i < count; ++i)
                Size.x += ExtraTextExtent(choices->Strings(i)).cx + 12;
            Size.y = lineHeight;
        } else {
            Size.x = 12;
            for (int i = 0; i < count; ++i)
                Size.x = std::max(Size.x, ExtraTextExtent(choices->Strings(i)).cx + 12);
            Size.y = lineHeight * count;
        }
        break;
    }
    case ctImages:
        if (const TIntList* list = dynamic_cast<const TIntList*>(extra->CellBitmap.get()); list && HasGridImages())
            Size = ImagesRoom(GridImageSize(), list->Count(), extra->CellBoolean);
        break;
    case ctPicture:
    case ctFilePicture: extra->GetPictureSize(ColWidths(RemapColInv(ACol)), RowHeights(ARow), Size, hasText); break;
    case ctButton:
        Size = {static_cast<int>(static_cast<uint32_t>(extra->CellIndex) & 0xFFFF),
                static_cast<int>(static_cast<uint32_t>(extra->CellIndex) >> 16)};
        break;
    default: break;
    }
}
