#pragma once
// The speed bar: a tool-bar panel docked to one edge of its parent whose buttons belong to
// non-visual items (TSpeedItem) grouped in named sections (TSpeedbarSection). The bar places the
// buttons on a grid made from the button size, draws an optional wallpaper and engraved bound
// lines, and while a customise window is attached (editing mode) lets the user drag the bar to
// another edge, resize it by whole rows of buttons and drag buttons on and off it. Its layout
// can be kept in an INI file or the registry substitute.
//
// Files: SpeedBar.cpp (the bar: properties, sections and items, orientation, alignment, grid,
// painting), SpeedBarItems.cpp (sections, items, the bar's button, the floating picture),
// SpeedBarDrag.cpp (dragging and resizing the bar, dragging a button), SpeedBarLayout.cpp
// (stored layout and stream values). The arithmetic is controls/core/SpeedBarRules.h; the
// customise window is SbSetup.h.

#include <functional>
#include <memory>
#include <vector>

#include "controls/core/SpeedBarRules.h"
#include "controls/lib/ExButtonGlyph.h"
#include "controls/lib/ExSpeedButton.h"
#include "controls/lib/Placemnt.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Picture.h"

class TSpeedBar;
class TSpeedItem;
class TSpeedbarSection;
class TBtnControl;
class TStrings;
class TIniFile;
class TRegIniFile;

enum TBarOrientation { boHorizontal, boVertical };
enum TBarPosition { bpAuto, bpCustom };
enum TSpeedbarOption { sbAllowDrag, sbAllowResize, sbFlatBtns, sbGrayedBtns, sbTransparentBtns, sbStretchBitmap };
// A set of TSpeedbarOption: bit (1 << option).
using TSpeedbarOptions = unsigned;
enum TBoundLine { blTop, blBottom, blLeft, blRight };
// A set of TBoundLine: bit (1 << line).
using TBoundLines = unsigned;
constexpr unsigned OptionBit(TSpeedbarOption Option) { return 1u << Option; }
constexpr unsigned BoundLineBit(TBoundLine Line) { return 1u << Line; }

using TApplyAlignEvent = std::function<void(TObject* Sender, TAlign Align, bool& Apply)>;
using TForEachItem = std::function<void(TSpeedItem* Item, intptr_t Data)>;

class ESpeedbarError : public Exception {
    using Exception::Exception;
};

// The change message the bar sends its customise window: WParam a code, LParam the bar (the
// item for code 2).
constexpr unsigned CM_SPEEDBARCHANGED = 0xB050;
enum : unsigned {
    SBR_CHANGED = 0,        // the bar's contents changed
    SBR_DESTROYED = 1,      // the bar is being destroyed
    SBR_ITEMDROPPED = 2,    // an item was dropped on the bar
    SBR_BTNSIZECHANGED = 3  // button size or orientation changed
};

// A named category of items.
class TSpeedbarSection : public TComponent {
public:
    explicit TSpeedbarSection(TComponent* AOwner);
    ~TSpeedbarSection() override;

    const AnsiString& Caption() const { return FTitle; }
    // ESpeedbarError "String list does not allow duplicates" for a caption another section of
    // the bar has (not while loading).
    void SetCaption(const AnsiString& Value);
    // Position in the bar's list, -1 without a bar; setting clamps into the list and moves it.
    int Index() const;
    void SetIndex(int Value);
    int Count() const { return static_cast<int>(FList.size()); }
    TSpeedItem* Items(int Index) const;
    void SetItems(int Index, TSpeedItem* Item);
    // Frees the items.
    void Clear();
    // Takes the item's button off the bar and the item out of the section.
    void RemoveItem(TSpeedItem* Item);
    TSpeedBar* SpeedBar() const { return FSpeedbar; }
    // Leaves the old bar and joins the new one, at its former index when it had one.
    void SetSpeedbar(TSpeedBar* Value);

private:
    // The section's list changes only here, so each item knows the section holding it.
    void Append(TSpeedItem* Item);
    void Erase(TSpeedItem* Item);

    std::vector<TSpeedItem*> FList;
    AnsiString FTitle;
    TSpeedBar* FSpeedbar = nullptr;
    friend class TSpeedBar;
    friend class TSpeedItem;
};

// The bar's button: a speed button that can be dragged in editing mode.
class TSpeedbarButton : public TExSpeedButton {
public:
    explicit TSpeedbarButton(TSpeedItem* AItem);
    ~TSpeedbarButton() override;
    TSpeedItem* Item() const { return FItem; }
    // On a horizontal bar the top stays at or below BtnOffsetVert; on a vertical bar the left
    // at or right of BtnOffsetHorz.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // The picture following the mouse while the button is dragged, or null.
    TBtnControl* DragPicture() const { return FDrag.get(); }

protected:
    void Paint() override;
    void PaintGlyph(TCanvas* Canvas, const TRect& ARect, TExButtonState AState, bool DrawMark) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void VisibleChanged() override;

private:
    bool Dragged() const;
    // Where the picture's top-left corner goes for a mouse point of the button, in the bar's
    // client coordinates.
    TPoint DropPoint(int X, int Y) const;

    TSpeedItem* FItem;
    std::unique_ptr<TBtnControl> FDrag;
};

// A non-visual item owning one button of the bar and passing its properties on.
class TSpeedItem : public TComponent {
public:
    explicit TSpeedItem(TComponent* AOwner);
    ~TSpeedItem() override;

    TSpeedbarButton* Button() const { return FButton.get(); }
    TSpeedBar* SpeedBar() const { return FSpeedbar; }

    const AnsiString& Caption() const { return FCaption; }
    // The hint follows the caption (HintForCaption) when it showed the caption before.
    void SetCaption(const AnsiString& Value);
    void SetName(const AnsiString& Value) override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool Stored() const { return FStored; }
    void SetStored(bool Value) { FStored = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool Editing() const { return FEditing; }
    void SetEditing(bool Value);
    // The index of the item's section in its bar, -1 without a bar; setting it acts only on an
    // item that has no bar.
    int Section() const;
    void SetSection(int Value);
    // The caption of its section, or the name read from a stream when it has none.
    AnsiString SectionName() const;
    void SetSectionName(const AnsiString& Value) { FSectionName = Value; }
    void InvalidateItem() { FSection = -1; }
    // Puts the item on a bar (the parent component): into the section named by the stored name,
    // else its section index.
    void SetParentComponent(TSpeedBar* Bar);
    // After the item was read from a stream onto a bar.
    void ReadState(TSpeedBar* Bar);

    // The button's properties: the item reads and writes them on its button, so that the item
    // alone is listed, stored and customised.
    TBasicAction* Action() const { return FButton->Action(); }
    void SetAction(TBasicAction* Value) { FButton->SetAction(Value); }
    bool AllowAllUp() const { return FButton->AllowAllUp(); }
    void SetAllowAllUp(bool Value) { FButton->SetAllowAllUp(Value); }
    bool AllowTimer() const { return FButton->AllowTimer(); }
    void SetAllowTimer(bool Value) { FButton->SetAllowTimer(Value); }
    const AnsiString& BtnCaption() const { return FButton->Caption(); }
    void SetBtnCaption(const AnsiString& Value) { FButton->SetCaption(Value); }
    int GroupIndex() const { return FButton->GroupIndex(); }
    void SetGroupIndex(int Value) { FButton->SetGroupIndex(Value); }
    bool Down() const { return FButton->Down(); }
    void SetDown(bool Value) { FButton->SetDown(Value); }
    TPopupMenu* DropDownMenu() const { return FButton->DropDownMenu(); }
    void SetDropDownMenu(TPopupMenu* Value) { FButton->SetDropDownMenu(Value); }
    TFont* Font() const { return FButton->Font(); }
    void SetFont(TFont* Value) { FButton->SetFont(Value); }
    TCursor Cursor() const { return FButton->Cursor(); }
    void SetCursor(TCursor Value) { FButton->SetCursor(Value); }
    TBitmap* Glyph() const { return FButton->Glyph(); }
    void SetGlyph(TBitmap* Value) { FButton->SetGlyph(Value); }
    const AnsiString& Hint() const { return FButton->Hint(); }
    void SetHint(const AnsiString& Value) { FButton->SetHint(Value); }
    TButtonLayout Layout() const { return FButton->Layout(); }
    void SetLayout(TButtonLayout Value) { FButton->SetLayout(Value); }
    int Margin() const { return FButton->Margin(); }
    void SetMargin(int Value) { FButton->SetMargin(Value); }
    bool MarkDropDown() const { return FButton->MarkDropDown(); }
    void SetMarkDropDown(bool Value) { FButton->SetMarkDropDown(Value); }
    int NumGlyphs() const { return FButton->NumGlyphs(); }
    void SetNumGlyphs(int Value) { FButton->SetNumGlyphs(Value); }
    bool ParentShowHint() const { return FButton->ParentShowHint(); }
    void SetParentShowHint(bool Value) { FButton->SetParentShowHint(Value); }
    bool ParentFont() const { return FButton->ParentFont(); }
    void SetParentFont(bool Value) { FButton->SetParentFont(Value); }
    bool ShowHint() const { return FButton->ShowHint(); }
    void SetShowHint(bool Value) { FButton->SetShowHint(Value); }
    int Spacing() const { return FButton->Spacing(); }
    void SetSpacing(int Value) { FButton->SetSpacing(Value); }
    // The item's tag, and the button's too.
    void SetTag(intptr_t Value);
    int Left() const { return FButton->Left(); }
    void SetLeft(int Value) { FButton->SetLeft(Value); }
    int Top() const { return FButton->Top(); }
    void SetTop(int Value) { FButton->SetTop(Value); }
    bool WordWrap() const { return FButton->WordWrap(); }
    void SetWordWrap(bool Value) { FButton->SetWordWrap(Value); }

    // The button's events (the sender is the button).
    TNotifyEvent OnClick() const { return FButton->OnClick; }
    void SetOnClick(TNotifyEvent Value) { FButton->OnClick = std::move(Value); }
    TNotifyEvent OnDblClick() const { return FButton->OnDblClick; }
    void SetOnDblClick(TNotifyEvent Value) { FButton->OnDblClick = std::move(Value); }
    TMouseEvent OnMouseDown() const { return FButton->OnMouseDown; }
    void SetOnMouseDown(TMouseEvent Value) { FButton->OnMouseDown = std::move(Value); }
    TMouseMoveEvent OnMouseMove() const { return FButton->OnMouseMove; }
    void SetOnMouseMove(TMouseMoveEvent Value) { FButton->OnMouseMove = std::move(Value); }
    TMouseEvent OnMouseUp() const { return FButton->OnMouseUp; }
    void SetOnMouseUp(TMouseEvent Value) { FButton->OnMouseUp = std::move(Value); }
    TNotifyEvent OnMouseEnter() const { return FButton->OnMouseEnter; }
    void SetOnMouseEnter(TNotifyEvent Value) { FButton->OnMouseEnter = std::move(Value); }
    TNotifyEvent OnMouseLeave() const { return FButton->OnMouseLeave; }
    void SetOnMouseLeave(TNotifyEvent Value) { FButton->OnMouseLeave = std::move(Value); }

    void Click() { FButton->Click(); }
    void ButtonClick() { FButton->ButtonClick(); }
    bool CheckBtnMenuDropDown() { return FButton->CheckBtnMenuDropDown(); }

private:
    AnsiString FCaption;
    bool FEditing = false;
    bool FEnabled = true;
    std::unique_ptr<TSpeedbarButton> FButton;
    bool FVisible = false;
    bool FStored = true;
    TSpeedBar* FSpeedbar = nullptr;
    int FSection = -1;
    AnsiString FSectionName;
    int FImageIndex = -1;
    TSpeedbarSection* FHolder = nullptr;  // the section whose list holds the item
    friend class TSpeedBar;
    friend class TSpeedbarSection;
};

// The picture of a button that follows the mouse while it is dragged.
class TBtnControl : public TCustomControl {
public:
    explicit TBtnControl(TComponent* AOwner);
    ~TBtnControl() override;
    // Takes the item's look and the bar's button size.
    void AssignSpeedItem(TSpeedItem* Item);
    // Shown top-most at Rect's top-left (taking Rect first when it has no size yet).
    void Activate(const TRect& Rect);
    void ReleaseHandle();
    TButtonImage* Image() const { return FImage.get(); }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;

private:
    std::unique_ptr<TButtonImage> FImage;
    int FSpacing = 1;
    int FMargin = -1;
    TButtonLayout FLayout = blGlyphTop;
    int FImageIndex = -1;
    TImageList* FImages = nullptr;
};

class TSpeedBar : public TCustomPanel {
public:
    explicit TSpeedBar(TComponent* AOwner);
    ~TSpeedBar() override;

    // --- Sections and items.
    int SectionCount() const { return static_cast<int>(FSections.size()); }
    TSpeedbarSection* Sections(int Index) const;
    int ItemsCount(int Section) const;
    TSpeedItem* Items(int Section, int Index) const;
    int AddSection(const AnsiString& Title);
    virtual int AppendSection(TSpeedbarSection* Section);
    void RemoveSection(int Index);
    void DeleteSection(int Index);
    void ClearSections();
    int SearchSection(const AnsiString& Title) const;
    TSpeedItem* NewItem(TComponent* AOwner, int Section, const AnsiString& AName);
    void AddItem(int Section, TSpeedItem* Item);
    void RemoveItem(TSpeedItem* Item);
    bool FindItem(TSpeedItem* Item, int& Section, int& Index) const;
    TSpeedItem* SearchItem(const AnsiString& ItemName) const;
    virtual void ForEachItem(const TForEachItem& Proc, intptr_t Data);
    void SetItemParams(TSpeedItem* Item, bool InitBounds);
    // Called before an item is added; may change its section. Nothing in the library sets it.
    std::function<void(TSpeedItem* Item)> OnAddItem;

    // --- Editing (a customise window attached).
    void Customize(int HelpCtx);
    bool Editing() const { return FEditWin != nullptr; }
    TWinControl* EditWindow() const { return FEditWin; }
    void SetEditing(TWinControl* Win);
    // Tells the customise window, when one is attached.
    void NotifyEditWindow(unsigned Code, LPARAM LParam = 0);

    // --- Look and placement.
    TBarOrientation Orientation() const;
    // ESpeedbarError with bpAuto.
    void SetOrientation(TBarOrientation Value);
    TBarPosition Position() const { return FPosition; }
    void SetPosition(TBarPosition Value);
    void SetAlign(TAlign Value) override;
    TSpeedbarOptions Options() const { return FOptions; }
    void SetOptions(TSpeedbarOptions Value);
    bool HasOption(TSpeedbarOption Option) const { return (FOptions & OptionBit(Option)) != 0; }
    TBoundLines BoundLines() const { return FBoundLines; }
    void SetBoundLines(TBoundLines Value);
    int BtnOffsetHorz() const { return FOffset.x; }
    void SetBtnOffsetHorz(int Value) { SetButtonsOffset(0, Value); }
    int BtnOffsetVert() const { return FOffset.y; }
    void SetBtnOffsetVert(int Value) { SetButtonsOffset(1, Value); }
    int BtnWidth() const { return FButtonSize.x; }
    void SetBtnWidth(int Value) { SetButtonSize(0, Value); }
    int BtnHeight() const { return FButtonSize.y; }
    void SetBtnHeight(int Value) { SetButtonSize(1, Value); }
    TPoint GridSize() const { return FGridSize; }
    int Version() const { return FVersion; }
    void SetVersion(int Value) { FVersion = Value; }
    TPicture* Wallpaper() const { return FWallpaper.get(); }
    void SetWallpaper(TPicture* Value) { FWallpaper->Assign(Value); }
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* Value);
    int MinButtonsOffset() const;
    void AlignItemsToGrid();
    void ApplyButtonSize();
    // Moves the item's button to the point snapped to the grid; true when it lies inside the
    // bar (the item is then shown, else hidden). Only for an item of this bar.
    bool AcceptDropItem(TSpeedItem* Item, int X, int Y);
    // Scales the button size and margins by M / D.
    void ChangeScale(int M, int D);
    virtual void SetFontDefault();

    // --- Stored layout (SpeedBarLayout.cpp) in the bar's default section of an INI file or of the
    // registry substitute, or with the form's placement (IniStorage; only for a named bar).
    void SaveLayout(TIniFile* IniFile);
    void RestoreLayout(TIniFile* IniFile);
    void SaveLayoutReg(TRegIniFile* IniFile);
    void RestoreLayoutReg(TRegIniFile* IniFile);
    TFormPlacement* IniStorage() const { return FIniLink.Storage(); }
    void SetIniStorage(TFormPlacement* Value) { FIniLink.SetStorage(Value); }
    // In a named section (any object other than an INI file or the registry substitute reads
    // defaults and writes nothing).
    void InternalSaveLayout(TObject* IniObject, const AnsiString& Section);
    void InternalRestoreLayout(TObject* IniObject, const AnsiString& Section);
    // Stream values: "Sections", "NewStyle" and "AllowDrag" are read from older streams only;
    // "InternalVer" is written as 1.
    void ReadSections(const TStrings& Titles);
    void ReadAllowDrag(bool Value);
    void ReadNewStyle(bool) {}
    int InternalVer() const { return FInternalVer; }
    void SetInternalVer(int Value) { FInternalVer = Value; }

    TApplyAlignEvent OnApplyAlign;
    TNotifyEvent OnCustomize;
    TNotifyEvent OnPosChanged;
    TNotifyEvent OnVisibleChanged;

    // --- Drag state, for the customise window and tests.
    bool Dragging() const { return FDrag.Dragging; }
    bool Resizing() const { return FDrag.Resizing; }
    TRect DragFrameRect() const { return FDrag.Frame; }

protected:
    virtual void PosChanged();
    virtual void AfterCustomize();
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void VisibleChanged() override;
    void SetEnabled(bool Value) override;

private:
    void SetButtonsOffset(int Index, int Value);
    void SetButtonSize(int Index, int Value);
    void UpdateGridSize();
    void ApplyOrientation(TBarOrientation Value);
    void OffsetItem(TSpeedItem* Item, int DX, int DY);
    void AlignItemToGrid(TSpeedItem* Item);
    TPoint SnapPoint(int X, int Y) const;
    void ImagesChanged();
    // Drag and resize (SpeedBarDrag.cpp).
    bool CheckResize(int X, int Y);
    void StartDragFrame();
    void DragFrame(TPoint ScreenPoint);
    void StopDragFrame(TPoint ScreenPoint);
    TAlign GetFramePos(TPoint ScreenPoint, bool& Apply);
    TRect GetFrameRect(TAlign Edge) const;
    void ResizeTo(TPoint BarPoint);

    std::vector<TSpeedbarSection*> FSections;
    TBarOrientation FOrientation = boHorizontal;
    TBarPosition FPosition = bpAuto;
    TAlign FPrevAlign = alTop;
    TSpeedbarOptions FOptions = OptionBit(sbAllowDrag) | OptionBit(sbGrayedBtns);
    TBoundLines FBoundLines = 0;
    TPoint FOffset{0, 0};
    TPoint FButtonSize{24, 23};
    TPoint FGridSize{8, 23};
    TButtonStyle FButtonStyle = bsNew;
    int FVersion = 0;
    TWinControl* FEditWin = nullptr;
    std::unique_ptr<TPicture> FWallpaper;
    TImageList* FImages = nullptr;
    TChangeLink FImageChangeLink;
    TIniLink FIniLink;
    bool FLockPaint = false;
    // Which of BtnWidth, BtnHeight, BtnOffsetHorz, BtnOffsetVert were set while loading.
    unsigned FScaleFlags = 0;
    int FInternalVer = 0;
    bool FLoadedNone = false;
    struct TDragState {
        bool Dragging = false;
        bool Resizing = false;
        bool Tracking = false;  // mouse captured for a possible bar drag
        bool FrameShown = false;
        bool ResizeCursor = false;  // the bar shows the resize cursor
        TPoint Start;
        TRect Frame;
        TAlign Edge = alNone;
    } FDrag;
    friend class TSpeedItem;
    friend class TSpeedbarSection;
    friend class TSpeedbarButton;
};

// The same as the bar's AddSection and NewItem.
int NewSpeedSection(TSpeedBar* ASpeedbar, const AnsiString& ACaption);
TSpeedItem* NewSpeedItem(TComponent* AOwner, TSpeedBar* ASpeedbar, int Section, const AnsiString& AName);
// The speed bar under a screen point (the control there or its nearest windowed ancestor that
// is one), or null.
TSpeedBar* FindSpeedBar(TPoint Pos);
// Draws the item's button and then its caption into a grid cell (the customise window's list).
void DrawCellButton(TCustomControl* Grid, TRect Rect, TSpeedItem* Item, TButtonImage* Image, bool RightToLeft);

void RegisterSpeedBarClasses();
