#pragma once
// The program's string grid: the framework's string grid on a window together with the cell
// grid's model (grid/model/CellModel.h), which holds everything that needs no display. This
// class adds the look, scrolling, hint and drag-and-drop settings, the sub-objects that hold
// display objects, the colour and border queries that painting and printing ask for each cell,
// and the life cycle (creation, loading from a form, the window, destruction).
//
// Files: CellGrid.cpp (life cycle and setters), CellGridColors.cpp (the per-cell colour and
// border queries), CellGridExtras.cpp (bitmaps, icons, pictures and file pictures in cells, and
// what the model's extras ask of the display), CellGridObjects.* (node look, background, print
// settings), CellGridFiles.cpp (the file formats).

#include <memory>

#include "grid/control/CellGridObjects.h"
#include "grid/control/FilePicture.h"
#include "grid/model/CellModel.h"
#include "grid/model/GridFiles.h"
#include "platform/gui/Grids.h"
#include "platform/gui/Icon.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Picture.h"

class TEditLink;
class TStream;

using TGridColorEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush, TFont* AFont)>;
using TGridBorderEvent = std::function<void(TObject* Sender, int ARow, int ACol, TPen* APen, TCellBorders& borders)>;
using TGetEditorPropEvent = std::function<void(TObject* Sender, int aCol, int aRow, TEditLink* aEditLink)>;
using TGridPrintPageEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, int pagenr, int pagexsize, int pageysize)>;

class TCellGrid : public TStringGrid, public TCellModel {
public:
    explicit TCellGrid(TComponent* AOwner);
    ~TCellGrid() override;

    // --- Counts.
    int FixedColWidth() const { return ColWidths(0); }
    void SetFixedColWidth(int Value);
    int FixedRowHeight() const { return RowHeights(0); }
    void SetFixedRowHeight(int Value);
    bool FixedAsButtons = false;
    TFont* FixedFont() const { return FFixedFont.get(); }
    void SetFixedFont(TFont* Value) { FFixedFont->Assign(Value); }

    // --- Look.
    void SetVAlignment(TVAlignment Value);
    // The vertical layout flag (DT_TOP, DT_VCENTER, DT_BOTTOM) cell text is drawn with.
    unsigned VAlignFlag() const { return FVAlignFlag; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool Multilinecells = false;
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor Value);
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor Value);
    bool SelectionRectangle() const { return FSelectionRectangle; }
    void SetSelectionRectangle(bool Value);
    bool SelectionRTFKeep = false;
    bool ShowSelection() const { return FShowSelection; }
    void SetShowSelection(bool Value);
    bool HideFocusRect = false;
    bool Hovering() const { return FHovering; }
    void SetHovering(bool Value);
    TBitmap* RowIndicator() const { return FRowIndicator.get(); }
    void SetRowIndicator(TBitmap* Value);
    TBitmap* SortUpGlyph() const { return FSortUpGlyph.get(); }
    void SetUpGlyph(TBitmap* Value) { FSortUpGlyph->Assign(Value); }
    TBitmap* SortDownGlyph() const { return FSortDownGlyph.get(); }
    void SetDownGlyph(TBitmap* Value) { FSortDownGlyph->Assign(Value); }
    TImageList* GridImages() const { return FGridImages; }
    void SetImages(TImageList* Value);
    TCellNode* CellNode() const { return FCellNode.get(); }
    bool URLShow() const { return FURLShow; }
    void SetURLShow(bool Value);
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor Value);
    bool URLFull() const { return FURLFull; }
    void SetURLFull(bool Value);
    bool URLEdit = false;
    bool OemConvert = false;
    TBackGround* BackGround() const { return FBackGround.get(); }
    void SetBackground(TBackGround* Value) { FBackGround->Assign(Value); }

    // --- Sizing.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool EnhTextSize = false;
    bool SizeWithForm = false;

    // --- Editing and navigation.
    int MaxEditLength() const { return FMaxEditLength; }
    void SetMaxEditLength(int Value) { FMaxEditLength = Value; }
    bool Lookup = false;
    bool LookupCaseSensitive = false;
    bool LookupHistory = false;
    bool EnhRowColMove = false;
    bool AutoNumAlign = false;

    // --- Scrolling and hints.
    TScrollType ScrollType = ssNormal;
    TColor ScrollColor = clNone;
    int ScrollWidth;
    bool ScrollProportional = false;
    bool ScrollSynch = false;
    TScrollHintType ScrollHints = shNone;
    bool EnableWheel = true;
    TIntelliPan IntelliPan = ipVertical;
    bool IntelliZoom = true;
    TColor HintColor = clYellow;
    bool HintShowCells = false;
    bool HintShowLargeText = false;
    // Lines per wheel notch and the wheel message (the standard one).
    int WheelScrollLines() const { return FWheelScrollLines; }
    unsigned WheelMessage() const { return FWheelMessage; }

    // --- Drag and drop, files and printing.
    bool OleDropTarget() const { return FOleDropTarget; }
    void SetOleDropTarget(bool Value) { FOleDropTarget = Value; }
    bool OleDropSource = false;
    bool OleInsertRows = false;
    bool OleRemoveRows = false;
    bool OleEntireRows = false;
    bool OleDropRTF() const { return FOleDropRTF; }
    void SetOleDropRTF(bool Value) { FOleDropRTF = Value; }
    bool OleAcceptFiles = true;
    bool OleAcceptText = true;
    TPrintsettings* PrintSettings() const { return FPrintSettings.get(); }

    // The last search: its column and row (-1 before any).
    int FindCol() const { return FFindCol; }
    int FindRow() const { return FFindRow; }

    // --- Per-cell colour and border queries (painting and printing).
    virtual void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    virtual void GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    virtual void GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
    virtual void GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);

    // --- Cell extras that show display objects (column as stored, display row). Objects the
    // caller passes are shared with it; those the grid makes are the cell's. Add and Create
    // replace the cell's extra; Get sees none while EnableGraphics is off.
    void AddBitmap(int ACol, int ARow, std::shared_ptr<TBitmap> Bitmap, bool Transparent, TCellHAlign HAlign,
                   TCellVAlign VAlign);
    // A new empty bitmap for the caller to draw on.
    TBitmap* CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign);
    TBitmap* GetBitmap(int ACol, int ARow) const;
    void RemoveBitmap(int ACol, int ARow) { RemoveCellGraphic(ACol, ARow, ctBitmap); }
    void AddIcon(int ACol, int ARow, std::shared_ptr<TIcon> Icon, TCellHAlign HAlign, TCellVAlign VAlign);
    TIcon* CreateIcon(int ACol, int ARow, TCellHAlign HAlign, TCellVAlign VAlign);
    void RemoveIcon(int ACol, int ARow) { RemoveCellGraphic(ACol, ARow, ctIcon); }
    void AddPicture(int ACol, int ARow, std::shared_ptr<TPicture> Picture, bool Transparent, TStretchMode StretchMode,
                    int Margin, TCellHAlign HAlign, TCellVAlign VAlign);
    TPicture* CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Margin,
                            TCellHAlign HAlign, TCellVAlign VAlign);
    TPicture* GetPicture(int ACol, int ARow) const;
    void RemovePicture(int ACol, int ARow) { RemoveCellGraphic(ACol, ARow, ctPicture); }
    void AddFilePicture(int ACol, int ARow, std::shared_ptr<TFilePicture> Picture, bool Transparent,
                        TStretchMode StretchMode, int Margin, TCellHAlign HAlign, TCellVAlign VAlign);
    TFilePicture* CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Margin,
                                    TCellHAlign HAlign, TCellVAlign VAlign);
    TFilePicture* GetFilePicture(int ACol, int ARow) const;
    void RemoveFilePicture(int ACol, int ARow) { RemoveCellGraphic(ACol, ARow, ctFilePicture); }

    // What the model's extras ask of the display.
    bool HasGridImages() const override { return FGridImages != nullptr; }
    TSize GridImageSize() const override;
    // Measured in the canvas font.
    TSize ExtraTextExtent(std::string_view Text) override;

    // --- Files (CellGridFiles.cpp): the grid's own file and stream, CSV, fixed width,
    // aligned text, HTML and XML. File names are program paths.
    bool SaveIncludesHidden = false;
    // '\0': detect on loading, "," on saving.
    char CSVDelimiter = '\0';
    bool CSVJavaStyle = false;
    void SaveToFile(const AnsiString& FileName);
    void LoadFromFile(const AnsiString& FileName);
    void SaveToStream(TStream* Stream);
    void LoadFromStream(TStream* Stream);
    void SaveToCSV(const AnsiString& FileName) { OutputToCSV(FileName, false); }
    void AppendToCSV(const AnsiString& FileName) { OutputToCSV(FileName, true); }
    void LoadFromCSV(const AnsiString& FileName) { InputFromCSV(FileName, false); }
    void InsertFromCSV(const AnsiString& FileName) { InputFromCSV(FileName, true); }
    void OutputToCSV(const AnsiString& FileName, bool Append);
    void InputFromCSV(const AnsiString& FileName, bool Insert);
    // Widths grows by the widths measured for the columns it lacks.
    void SaveToFixed(const AnsiString& FileName, TIntList* Widths);
    void LoadFromFixed(const AnsiString& FileName, TIntList* Positions);
    void SaveToASCII(const AnsiString& FileName);
    void SaveToHTML(const AnsiString& FileName) { OutputToHTML(FileName, false); }
    void AppendToHTML(const AnsiString& FileName) { OutputToHTML(FileName, true); }
    void OutputToHTML(const AnsiString& FileName, bool Append);
    void SaveToXML(const AnsiString& FileName, const AnsiString& ListTag, const AnsiString& RecordTag,
                   TStrings* FieldTags);

    // Sizes the columns to their texts; done by the sizing part of the grid.
    virtual void AutoSizeColumns(bool DoFixedCols, int Padding) {}

    bool Designing() const override { return InState(csDesigning); }

    TGridColorEvent OnGetCellColor, OnGetCellPrintColor;
    TGridBorderEvent OnGetCellBorder, OnGetCellPrintBorder;
    TGetEditorPropEvent OnGetEditorProp;
    TGridPrintPageEvent OnPrintPage;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateWnd() override;
    void PaintCellNow(int DisplayCol, int ARow) override;
    // What the file formats read of the grid (CellGridFiles.cpp).
    TGridFileSettings FileSettings() const;
    TFileProgress FileProgress();
    TAlignment FileCellAlignment(int ACol, int ARow);

private:
    unsigned FVAlignFlag = 0;
    bool FWordWrap = false;
    bool FFlat = false;
    TColor FSelectionColor = clHighlight;
    TColor FSelectionTextColor = clHighlightText;
    bool FSelectionRectangle = false;
    bool FShowSelection = true;
    bool FHovering = false;
    bool FURLShow = false;
    TColor FURLColor = clBlue;
    bool FURLFull = false;
    bool FAutoSize = false;
    int FMaxEditLength = 0;
    bool FOleDropTarget = false;
    bool FOleDropRTF = false;
    int FFindCol = -1;
    int FFindRow = -1;
    int FWheelScrollLines = 3;
    unsigned FWheelMessage = 0;
    TCursor FSavedCursor = crDefault;
    TImageList* FGridImages = nullptr;
    std::unique_ptr<TPrintsettings> FPrintSettings;
    std::unique_ptr<TCellNode> FCellNode;
    std::unique_ptr<TFont> FFixedFont;
    std::unique_ptr<TBitmap> FRowIndicator;
    std::unique_ptr<TBitmap> FSortUpGlyph;
    std::unique_ptr<TBitmap> FSortDownGlyph;
    std::unique_ptr<TBackGround> FBackGround;
};

// The version word of a system library (major in the high, minor in the low 16 bits), or -1.
// Only the common-controls library has one here: its editors (date pickers) are always there.
int GetDllVersion(const AnsiString& FileName);
