#include "grid/control/CellGrid.h"

#include "grid/control/CgInplaceEdit.h"
#include "grid/control/CgRichEdit.h"
#include "grid/control/RichCellCache.h"
#include "platform/gui/DrawTextLayout.h"
#include "platform/gui/Forms.h"
#include "platform/gui/HintWindow.h"
#include "platform/gui/Messages.h"
#include "platform/gui/ResizeWatch.h"
#include "platform/gui/SystemMetrics.h"
#include "platform/gui/WindowTimer.h"

namespace {

// The window timer that drives hovering and blinking text.
constexpr uintptr_t kHoverTimer = 111;
constexpr uint32_t kHoverPeriodMs = 500;

}  // namespace

TCellGrid::TCellGrid(TComponent* AOwner)
    : TStringGrid(AOwner), FWheelMessage(WM_MOUSEWHEEL), FPrintSettings(std::make_unique<TPrintsettings>()),
      FCellNode(std::make_unique<TCellNode>(this)), FFixedFont(std::make_unique<TFont>()),
      FRowIndicator(std::make_unique<TBitmap>()), FSortUpGlyph(std::make_unique<TBitmap>()),
      FSortDownGlyph(std::make_unique<TBitmap>()), FBackGround(std::make_unique<TBackGround>(this))
{
    FFixedFont->OnChange = [this](TObject*) { InvalidateGrid(); };
    SetAutoSize(false);
    RegisterGridCursors();
    RegisterInputHandlers();
    RegisterSizingHandlers();
    RegisterPaintHandlers();
    FScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    if (!Designing())
        CreateEditControls();
    if (auto* form = dynamic_cast<TCustomForm*>(AOwner)) {
        FFormWidth = form->Width();
        FFormHeight = form->Height();
    }
}

TCellGrid::~TCellGrid()
{
    FFormWatch.reset();
    FFixedFont->OnChange = nullptr;
    SaveColSizesOnDestroy();
    Clear();
    SetCursor(FSavedCursor);
}

void TCellGrid::Loaded()
{
    TStringGrid::Loaded();
    FLinkCursor = crHandPoint;
    FSavedCursor = Cursor();
    ShowColumnHeaders();
    ShowRowHeaders();
}

void TCellGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent == FGridImages)
        FGridImages = nullptr;
    TStringGrid::Notification(AComponent, Operation);
}

void TCellGrid::CreateWnd()
{
    TStringGrid::CreateWnd();
    if (ColumnSize()->Save)
        LoadColSizes();
    SetTimer(this, kHoverTimer, kHoverPeriodMs);
    // The owner form's resizes reach GridResize through a watcher of this grid's own.
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    if (form && !FFormWatch && !Designing())
        FFormWatch = std::make_unique<TResizeWatch>(form, [this, form] { GridResize(form); });
}

// --- Setters ---------------------------------------------------------------------------------

void TCellGrid::SetFixedColWidth(int Value)
{
    for (int c = 0; c < FixedCols() && c < ColCount(); ++c)
        SetColWidths(c, Value);
}

void TCellGrid::SetFixedRowHeight(int Value)
{
    for (int r = 0; r < FixedRows() && r < RowCount(); ++r)
        SetRowHeights(r, Value);
}

void TCellGrid::SetVAlignment(TVAlignment Value)
{
    FVAlignment = Value;
    FVAlignFlag = Value == vtaBottom ? DT_BOTTOM : Value == vtaCenter ? DT_VCENTER : DT_TOP;
    InvalidateGrid();
}

void TCellGrid::SetWordWrap(bool Value)
{
    StoreAndRepaint(*this, FWordWrap, Value);
    if (auto* e = dynamic_cast<TCgInplaceEdit*>(InplaceEditor()))
        e->TakeGridWrap();
}

void TCellGrid::SetMaxEditLength(int Value)
{
    FMaxEditLength = Value;
    if (auto* e = dynamic_cast<TCgInplaceEdit*>(InplaceEditor()))
        e->SetLengthLimit(Value);
}

void TCellGrid::SetFlat(bool Value) { StoreAndRepaint(*this, FFlat, Value, !InState(csLoading)); }

void TCellGrid::SetSelectionColor(TColor Value) { StoreAndRepaint(*this, FSelectionColor, Value); }

void TCellGrid::SetSelectionTextColor(TColor Value) { StoreAndRepaint(*this, FSelectionTextColor, Value); }

void TCellGrid::SetSelectionRectangle(bool Value) { StoreAndRepaint(*this, FSelectionRectangle, Value); }

void TCellGrid::SetShowSelection(bool Value) { StoreAndRepaint(*this, FShowSelection, Value, Value != FShowSelection); }

void TCellGrid::SetHovering(bool Value)
{
    if (Value != FHovering)
        FHovering = Value;
}

void TCellGrid::SetRowIndicator(TBitmap* Value)
{
    FRowIndicator->Assign(Value);
    InvalidateCell(0, Row());
}

void TCellGrid::SetImages(TImageList* Value)
{
    if (FGridImages)
        FGridImages->RemoveFreeNotification(this);
    FGridImages = Value;
    if (FGridImages)
        FGridImages->FreeNotification(this);
}

void TCellGrid::SetURLShow(bool Value) { StoreAndRepaint(*this, FURLShow, Value); }

void TCellGrid::SetURLColor(TColor Value) { StoreAndRepaint(*this, FURLColor, Value, FURLShow); }
void TCellGrid::SetURLFull(bool Value) { StoreAndRepaint(*this, FURLFull, Value, FURLShow); }

void TCellGrid::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    if (Value)
        AutoSizeColumns(false, 10);
}

int GetDllVersion(const AnsiString& FileName)
{
    const AnsiString name =
        FileName.substr(FileName.find_last_of("\\/") == AnsiString::npos ? 0 : FileName.find_last_of("\\/") + 1);
    return SameText(name, "comctl32.dll") ? 0x00060000 : -1;
}
