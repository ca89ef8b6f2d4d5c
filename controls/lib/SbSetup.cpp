// The speed bar's customise window.

#include "controls/lib/SbSetup.h"

#include <algorithm>

#include "controls/lib/CtrlUtils.h"
#include "controls/lib/ExConst.h"
#include "platform/gui/Application.h"

namespace {

template <class T>
T* Place(TForm* Form, const char* Name, int L, int T_, int W, int H)
{
    auto* c = new T(Form);
    c->SetName(Name);
    c->SetBounds(L, T_, W, H);
    c->SetParent(Form);
    return c;
}

// A selected row's text in the highlight text colour (the grid fills it in the highlight).
void SelectedColors(TDrawGrid* Grid, TGridDrawState State)
{
    Grid->Canvas()->Font()->SetColor(State.Contains(gdSelected) ? clHighlightText : Grid->Font()->Color());
}

void SetUpList(TDrawGrid* Grid, int ColWidth, int RowHeight, int TabOrder)
{
    Grid->SetColCount(1);
    Grid->SetFixedCols(0);
    Grid->SetFixedRows(0);
    Grid->SetDefaultColWidth(ColWidth);
    Grid->SetDefaultRowHeight(RowHeight);
    Grid->SetOptions(TGridOptions{goRowSelect, goDrawFocusSelected});
    Grid->SetTabOrder(TabOrder);
    Grid->SetRowCount(1);
}

}  // namespace

TSpeedbarSetupWindow::TSpeedbarSetupWindow(TComponent* AOwner) : TForm(AOwner), FImage(std::make_unique<TButtonImage>())
{
    SetBorderStyle(bsDialog);
    SetBorderIcons(0);
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetClientWidth(421);
    SetClientHeight(262);
    Font()->SetName("MS Sans Serif");
    Font()->SetHeight(-11);
    // The new look drops the bold style.
    Font()->SetStyle(TFontStyles());
    Bevel1 = Place<TBevel>(this, "Bevel1", 4, 4, 328, 221);
    Bevel1->SetShape(bsFrame);
    CategoriesLabel = Place<TLabel>(this, "CategoriesLabel", 12, 11, 81, 13);
    ButtonsLabel = Place<TLabel>(this, "ButtonsLabel", 146, 11, 119, 13);
    SectionList = Place<TDrawGrid>(this, "SectionList", 12, 30, 129, 188);
    SetUpList(SectionList, 127, 15, 0);
    ButtonsList = Place<TDrawGrid>(this, "ButtonsList", 146, 30, 179, 188);
    SetUpList(ButtonsList, 169, 26, 1);
    ButtonsLabel->SetFocusControl(ButtonsList);
    HintLabel = Place<TLabel>(this, "HintLabel", 8, 231, 407, 29);
    HintLabel->SetAutoSize(false);
    HintLabel->SetWordWrap(true);
    for (TLabel* label : {CategoriesLabel, ButtonsLabel, HintLabel})
        label->SetParentColor(true);
    CloseBtn = Place<TButton>(this, "CloseBtn", 339, 12, 77, 25);
    CloseBtn->SetCancel(true);
    CloseBtn->SetModalResult(mrOk);
    CloseBtn->SetTabOrder(2);
    HelpBtn = Place<TButton>(this, "HelpBtn", 339, 44, 77, 25);
    HelpBtn->SetTabOrder(3);
    SetActiveControl(SectionList);

    SetCaption(ResStr(SCustomizeSpeedbar));
    CategoriesLabel->SetCaption(ResStr(SCategoriesLabel));
    ButtonsLabel->SetCaption(ResStr(SAvailableButtonsLabel));
    HintLabel->SetCaption(ResStr(SCustomizeSpeedbarHint));
    CloseBtn->SetCaption("OK");
    HelpBtn->SetCaption("&Help");

    CloseBtn->OnClick = [this](TObject*) { Close(); };
    SectionList->OnDrawCell = [this](TObject*, int, int ARow, TRect Rect, TGridDrawState State) {
        SelectedColors(SectionList, State);
        DrawSection(ARow, Rect);
    };
    SectionList->OnSelectCell = [this](TObject*, int, int ARow, bool& CanSelect) {
        CanSelect = true;
        if (FBar && ARow >= 0 && ARow < FBar->SectionCount())
            SetSection(ARow);
    };
    ButtonsList->OnDrawCell = [this](TObject*, int, int ARow, TRect Rect, TGridDrawState State) {
        SelectedColors(ButtonsList, State);
        if (TSpeedItem* item = ItemAt(ARow))
            DrawCellButton(ButtonsList, Rect, item, FImage.get(), false);
    };
    ButtonsList->OnSelectCell = [this](TObject*, int, int ARow, bool& CanSelect) {
        CanSelect = !FDragging;
        TSpeedItem* item = CanSelect ? ItemAt(ARow) : nullptr;
        SetHint(item ? item->Hint() : AnsiString());
    };
    ButtonsList->OnMouseDown = [this](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
        ButtonsMouseDown(Button, X, Y);
    };
    ButtonsList->OnMouseMove = [this](TObject*, TShiftState, int X, int Y) { ButtonsMouseMove(X, Y); };
    ButtonsList->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
        ButtonsMouseUp(Button, X, Y);
    };
    RegisterHandler(CM_SPEEDBARCHANGED, [this](TMessage& m) { BarChanged(m); });
}

TSpeedbarSetupWindow::~TSpeedbarSetupWindow()
{
    FDrag.reset();
    if (TSpeedBar* bar = std::exchange(FBar, nullptr))
        bar->SetEditing(nullptr);
}

bool TSpeedbarSetupWindow::UsableBar() const { return FBar && FBar->Owner() && FBar->Parent(); }

void TSpeedbarSetupWindow::SetSpeedBar(TSpeedBar* Value)
{
    if (Value == FBar)
        return;
    if (TSpeedBar* old = std::exchange(FBar, nullptr))
        old->SetEditing(nullptr);
    FBar = Value;
    if (FBar) {
        FBar->SetEditing(this);
        UpdateListHeight();
    }
    UpdateData(-1);
}

int TSpeedbarSetupWindow::CurrentSection() const
{
    return UsableBar() && FBar->SectionCount() > 0 ? SectionList->Row() : -1;
}

TSpeedItem* TSpeedbarSetupWindow::ItemAt(int Row) const
{
    return UsableBar() ? FBar->Items(CurrentSection(), Row) : nullptr;
}

void TSpeedbarSetupWindow::UpdateData(int Index)
{
    if (UsableBar()) {
        SectionList->SetRowCount(std::max(FBar->SectionCount(), 1));
        if (Index >= 0 && Index < FBar->SectionCount())
            SectionList->SetRow(Index);
        SetSection(CurrentSection());
    } else {
        SectionList->SetRowCount(1);
        ButtonsList->SetRowCount(1);
        SetSection(-1);
    }
    SectionList->InvalidateGrid();
    ButtonsList->InvalidateGrid();
}

void TSpeedbarSetupWindow::SetSection(int Section)
{
    const int count = UsableBar() ? FBar->ItemsCount(Section) : 0;
    ButtonsList->SetRowCount(std::max(count, 1));
    UpdateColumnWidths();
    TSpeedItem* item = ItemAt(ButtonsList->Row());
    SetHint(item ? item->Hint() : AnsiString());
    ButtonsList->InvalidateGrid();
}

void TSpeedbarSetupWindow::UpdateColumnWidths()
{
    SectionList->SetColWidths(0, SectionList->ClientWidth());
    ButtonsList->SetColWidths(0, ButtonsList->ClientWidth());
}

void TSpeedbarSetupWindow::UpdateListHeight()
{
    if (!FBar)
        return;
    Canvas()->SetFont(Font());
    const TSetupListHeights h =
        SetupListHeights(FBar->BtnHeight(), ButtonsList->ClientHeight(), Screen->PixelsPerInch());
    ButtonsList->SetDefaultRowHeight(h.ButtonRowHeight);
    ButtonsList->SetClientHeight(h.ClientHeight);
    SectionList->SetClientHeight(h.ClientHeight);
    SectionList->SetDefaultRowHeight(Canvas()->TextHeight("Wg") + 2);
}

void TSpeedbarSetupWindow::DoShow()
{
    if (FBar)
        UpdateListHeight();
    UpdateColumnWidths();
    TForm::DoShow();
}

void TSpeedbarSetupWindow::DoClose(TCloseAction& Action)
{
    TForm::DoClose(Action);
    Action = caFree;
    FDrag.reset();
    if (TSpeedBar* bar = std::exchange(FBar, nullptr))
        bar->SetEditing(nullptr);
}

void TSpeedbarSetupWindow::BarChanged(TMessage& Message)
{
    if (!FBar || Message.LParam != reinterpret_cast<LPARAM>(FBar))
        return;
    switch (Message.WParam) {
    case SBR_CHANGED: UpdateData(CurrentSection()); break;
    case SBR_DESTROYED:
        // The bar is going: forget it first, so that closing never calls back into it.
        FBar = nullptr;
        FDragItem = nullptr;
        FDrag.reset();
        Close();
        break;
    case SBR_BTNSIZECHANGED: UpdateListHeight(); break;
    default: break;
    }
}

void TSpeedbarSetupWindow::DrawSection(int ARow, TRect Rect)
{
    if (UsableBar() && ARow < FBar->SectionCount())
        DrawCellText(SectionList, 0, ARow, FBar->Sections(ARow)->Caption(), Rect, taLeftJustify, vaCenter);
}

void TSpeedbarSetupWindow::ButtonsMouseDown(TMouseButton Button, int X, int Y)
{
    if (Button != mbLeft || !FBar)
        return;
    const TGridCoord cell = ButtonsList->MouseToCell(X, Y);
    TSpeedItem* item = ItemAt(cell.Y);
    if (!item || X >= FBar->BtnWidth() + 2)
        return;
    FDragging = true;
    if (item->Visible())
        return;  // already on the bar
    FDragItem = item;
    if (!FDrag) {
        FDrag = std::make_unique<TBtnControl>(nullptr);
        FDrag->SetParent(this);
        FDrag->AssignSpeedItem(item);
    }
}

void TSpeedbarSetupWindow::ButtonsMouseMove(int X, int Y)
{
    if (!FDragging || !FBar)
        return;
    if (!FDragItem || !FDrag) {
        ButtonsList->SetCursor(crNoDrop);
        return;
    }
    const TPoint screen = ButtonsList->ClientToScreen(TPoint{X, Y});
    const TPoint p{screen.x - FDrag->Width(), screen.y - FDrag->Height()};
    FDrag->Activate(TRect{p.x, p.y, p.x + FBar->BtnWidth(), p.y + FBar->BtnHeight()});
}

void TSpeedbarSetupWindow::ButtonsMouseUp(TMouseButton Button, int X, int Y)
{
    if (Button != mbLeft || !FDragging)
        return;
    if (!FDragItem || !FDrag || !FBar) {
        ButtonsList->SetCursor(crDefault);
        EndDrag();
        return;
    }
    const TPoint screen = ButtonsList->ClientToScreen(TPoint{X, Y});
    const TPoint drop{screen.x - FDrag->Width(), screen.y - FDrag->Height()};
    TSpeedItem* item = FDragItem;
    EndDrag();
    if (FindSpeedBar(drop) == FBar) {
        const TPoint p = FBar->ScreenToClient(drop);
        if (FBar->AcceptDropItem(item, p.x, p.y))
            UpdateData(CurrentSection());
    }
}

void TSpeedbarSetupWindow::EndDrag()
{
    FDrag.reset();
    Screen->SetCursor(crDefault);
    FDragging = false;
    FDragItem = nullptr;
}

TSpeedbarSetupWindow* FindSpeedbarSetupWindow(TSpeedBar* Speedbar)
{
    for (int i = 0; Speedbar && i < Screen->FormCount(); ++i)
        if (auto* w = dynamic_cast<TSpeedbarSetupWindow*>(Screen->Forms(i)); w && w->SpeedBar() == Speedbar)
            return w;
    return nullptr;
}

void ShowSpeedbarSetupWindow(TSpeedBar* Speedbar, int HelpCtx)
{
    if (!Speedbar)
        return;
    TSpeedbarSetupWindow* w = FindSpeedbarSetupWindow(Speedbar);
    const bool made = !w;
    if (made)
        w = new TSpeedbarSetupWindow(Application);
    try {
        if (made)
            w->SetSpeedBar(Speedbar);
        w->SetBorderIcons(biSystemMenu);
        w->HelpBtn->SetVisible(HelpCtx > 0);
        w->HelpBtn->OnClick = [HelpCtx](TObject*) { Application->HelpContext(HelpCtx); };
        w->Show();
        if (w->WindowState() == wsMinimized)
            w->SetWindowState(wsNormal);
    } catch (...) {
        if (made)
            delete w;
        throw;
    }
}

// --- The list cell of an item

void DrawCellButton(TCustomControl* Grid, TRect Rect, TSpeedItem* Item, TButtonImage* Image, bool RightToLeft)
{
    TSpeedBar* bar = Item->SpeedBar();
    if (!bar)
        return;
    TSpeedbarButton* b = Item->Button();
    const bool useImage = bar->Images() && Item->ImageIndex() >= 0;
    Image->SetGlyph(useImage ? nullptr : b->Glyph());
    Image->SetAlignment(b->Alignment());
    Image->SetNumGlyphs(b->NumGlyphs());
    Image->SetCaption(b->Caption());
    Image->SetWordWrap(b->WordWrap());
    Image->SetButtonSize(TPoint{bar->BtnWidth(), bar->BtnHeight()});
    Image->DrawEx(Grid->Canvas(), Rect.Left + 1, Rect.Top + 1, b->Margin(), b->Spacing(), b->Layout(), bar->Font(),
                  bar->Images(), Item->ImageIndex(), AlignmentTextFlags(b->Alignment()));
    TRect text = Rect;
    text.Left = Rect.Left + 1 + bar->BtnWidth() + 3;
    DrawCellText(Grid, 0, 0, Item->Caption(), text, taLeftJustify, vaCenter, RightToLeft);
}
