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
// settings), CellGridKeys.cpp (the update lock, keys, focus, Enter advance and the moved-row
// and moved-column notifications), CellGridMouse.cpp (presses, releases, double clicks, moves,
// size grips, cursors), CellGridHints.cpp (cell hints and the 500 ms timer), CellGridWndProc.cpp
// (wheel, zoom, panning, resizing with the form, the accessors by real row, version),
// CellGridSelect.cpp (the selected text and the repaint helpers), CellGridCursors.cpp (the
// grid's cursor and panning pictures), CellGridFiles.cpp (the file formats),
// CellGridAutomation.cpp (spreadsheets and documents), CellGridClipboard.cpp (the clipboard),
// CellGridDragDrop.cpp (drag and drop), CellGridSort.cpp (the header click and what sorting
// asks of the display), CellGridEdit.cpp (editing in place: which editor, showing and hiding
// it, validation), CellGridPrint*.cpp and CellGridPreview.cpp (printing),
// CellGridLayouts.cpp (stored column widths and print settings).

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "platform/gui/HintShow.h"

#include "grid/control/CellGridObjects.h"
#include "grid/control/FilePicture.h"
#include "grid/model/CellEditRules.h"
#include "grid/model/CellModel.h"
#include "grid/model/GridFiles.h"
#include "grid/model/MeasuredWidths.h"
#include "grid/model/PrintPages.h"
#include "grid/model/RadioLayout.h"
#include "platform/gui/DragDrop.h"
#include "platform/gui/Grids.h"
#include "platform/gui/Icon.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Picture.h"

class TEditLink;
class TGridCombo;
class TGridSpin;
class TGridDatePicker;
class TGridCheckBox;
class TGridEditBtn;
class TGridUnitEditBtn;
class TGridButton;
class TArrowWindow;
class THintWindow;
class TCgRichEdit;
class TRichDocument;
class TRichCellCache;
class TResizeWatch;
class TStream;

using TGridColorEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush, TFont* AFont)>;
using TGridBorderEvent = std::function<void(TObject* Sender, int ARow, int ACol, TPen* APen, TCellBorders& borders)>;
using TGetEditorPropEvent = std::function<void(TObject* Sender, int aCol, int aRow, TEditLink* aEditLink)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, AnsiString& Value)>;
using TGridPrintPageEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, int pagenr, int pagexsize, int pageysize)>;

class TCellGrid : public TStringGrid, public TCellModel {
    // The drop target pastes, fires the grid's events and keeps its liveness.
    friend class TGridDropTarget;

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
    // Reaches an open text editor too (as WordWrap does).
    void SetMaxEditLength(int Value);
    bool Lookup = false;
    bool LookupCaseSensitive = false;
    bool LookupHistory = false;
    bool EnhRowColMove = false;
    bool AutoNumAlign = false;

    // --- Scrolling and hints.
    // The look of the proportional scroll bars (CellGridScroll.cpp); it shows while
    // ScrollProportional is set.
    TScrollType ScrollType() const { return FScrollType; }
    void SetScrollType(TScrollType Value);
    TColor ScrollColor() const { return FScrollColor; }
    void SetScrollColor(TColor Value);
    int ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int Value);
    bool ScrollProportional() const { return FScrollProportional; }
    void SetScrollProportional(bool Value);
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
    // Registers the grid's window as a drop target, or stops it (CellGridDragDrop.cpp).
    void SetOleDropTarget(bool Value);
    bool OleDropSource = false;
    bool OleInsertRows = false;
    bool OleRemoveRows = false;
    bool OleEntireRows = false;
    bool OleDropRTF() const { return FOleDropRTF; }
    // Rich text travels in drags while set (for the whole program).
    void SetOleDropRTF(bool Value);
    bool OleAcceptFiles = true;
    bool OleAcceptText = true;
    // The colour of the arrows that mark where a moved or dropped column or row lands (lime):
    // read from the first of the grid's four arrow windows.
    TColor ArrowColor() const;
    void SetArrowColor(TColor Value);
    // Columns dragged from a grid may be dropped on the header (OnOleDropCol moves them).
    bool OleAcceptCols = false;
    // --- Drag and drop (CellGridDragDrop.cpp). The target's decisions, for tools and tests
    // that drive a drag without a window system; which arrow markers show (TArrowDirection).
    TDropTarget* OleDropTargetObject();
    bool OleArrowShown(int Direction) const;
    TPrintsettings* PrintSettings() const { return FPrintSettings.get(); }

    // --- Printing (CellGridPrint.cpp: the printer run and the page engine on a canvas;
    // CellGridPrintCell.cpp: one printed cell; CellGridPreview.cpp: previews and drawing on any
    // canvas). Ranges are display columns and rows, both ends included.
    void Print();
    // On the current printer (platform/gui/Printers.h); a failure aborts the job and raises.
    void PrintRect(const TGridRect& Range);
    // Lays out the stored range on Canvas; draws for prPrint and prPreview. PageTotal is the
    // count page numbers show (-1 when counting). Returns the number of pages.
    int BuildPages(TCanvas* Canvas, TPrintMethod Method, int PageTotal);
    // The page the next preview shows.
    void SetPreviewPage(int Page);
    // The printer's page scaled into R (device pixels); the caller paints the background.
    void PrintPreview(TCanvas* Canvas, const TRect& R);
    void PrintPreviewRect(TCanvas* Canvas, const TRect& R, const TGridRect& Range);
    // Page 1 of the layout on Canvas, whose clipping rectangle is the page.
    void PrintDraw(TCanvas* Canvas, const TRect& R);
    void PrintDrawRect(TCanvas* Canvas, const TRect& R, const TGridRect& Range);
    // The page window and page count of the last run, the range and page (0.1 mm) it laid out.
    const TPrintState& PrintState() const { return FPrintState; }

    // --- Stored layouts (CellGridLayouts.cpp): column widths in an INI file or the registry
    // substitute after ColumnSize, print settings in an INI file (Key names the file).
    void SaveColSizes();
    void LoadColSizes();
    void SavePrintSettings(const AnsiString& Key, const AnsiString& Section);
    void LoadPrintSettings(const AnsiString& Key, const AnsiString& Section);

    // The last search: its column and row (-1 before any).
    int FindCol() const { return FindState().Col; }
    int FindRow() const { return FindState().Row; }

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

    // Sorting (CellGridSort.cpp): the ssAnsi styles collate as the Korean locale does.
    int AnsiCompare(const AnsiString& S1, const AnsiString& S2, bool IgnoreCase) override;

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
    // --- Clipboard (CellGridClipboard.cpp): rectangles of cells as TAB and CR LF text, rich
    // text beside it, and the smart fill. Rectangles and cells are display columns.
    TPoint CopyOrigin() const { return FCopyOrigin; }
    TClipOperation LastClipOperation() const { return FLastClipOperation; }
    void CopyToClipBoard();
    void CopySelectionToClipboard();
    // The copied range only is cleared.
    void CutToClipboard();
    void CutSelectionToClipboard();
    void PasteFromClipboard();
    void PasteSelectionFromClipboard();
    void CopyFunc(const TGridRect& Rect);
    void CopyRTFFunc(int ACol, int ARow);
    int PasteFunc(int ACol, int ARow);
    // A pasted or dropped text ends at its first NUL, as a zero-terminated block does.
    int PasteText(int ACol, int ARow, const AnsiString& Text);
    TPoint PasteSize(const AnsiString& Text) const;
    static AnsiString BeforeNul(const AnsiString& Text) { return Text.substr(0, Text.find('\0')); }

    // Spreadsheets and documents through automation (CellGridAutomation.cpp).
    void LoadFromXLS(const AnsiString& FileName) { LoadXLS(FileName, ""); }
    void LoadFromXLSSheet(const AnsiString& FileName, const AnsiString& SheetName) { LoadXLS(FileName, SheetName); }
    void SaveToXLS(const AnsiString& FileName) { SaveXLS(FileName, ""); }
    void SaveTOXLSSheet(const AnsiString& FileName, const AnsiString& SheetName) { SaveXLS(FileName, SheetName); }
    void LoadXLS(const AnsiString& FileName, const AnsiString& SheetName);
    void SaveXLS(const AnsiString& FileName, const AnsiString& SheetName);
    void SaveToDOC(const AnsiString& FileName);

    // --- Sizing (CellGridSizing.cpp). Columns are display columns unless a name says real.
    // The text's room in the canvas's current font (real column): HTML as the HTML engine lays
    // it out unbounded, rich text as its plain text, other text line by line.
    void GetCellTextSize(int ACol, int ARow, TPoint& Size);
    // Left, or right for a number with AutoNumAlign; then GetCellAlign (real column).
    TAlignment GetCellAlignment(int ACol, int ARow);
    // The canvas takes the font a cell is measured in: the fixed or the normal font (with the
    // zoom level added when asked), then what OnGetCellColor makes of it.
    void SetMeasureFont(int ACol, int ARow, bool Zoomed);
    // The zoom level added to a font's size (never below 1), as cells are painted.
    void ZoomFont(TFont* Font) const;
    void SizeToWidth(int ACol, bool OnlyGrow);
    virtual void AutoSizeCol(int ACol) { SizeToWidth(ACol, false); }
    virtual void AutoSizeColumns(bool DoFixedCols, int Padding);
    void AutoSizeCells(bool NormalOnly, int ExtraX, int ExtraY);
    void AutoSizeRows(bool DoFixedRows, int Extra);
    void AutoSizeRow(int ARow);
    void SizeToLines(int ARow, int Lines, int Extra);
    void StretchRightColumn() override;
    // Within 3 pixels of a sizable border of a fixed cell (client coordinates).
    bool InSizeZone(int X, int Y);
    // The user's drag of a border (the mouse handling starts and ends it): the column or row
    // and its size before the drag; -1 when none.
    int SizingCol() const { return FSizingCol; }
    int SizingRow() const { return FSizingRow; }

    // --- Scrolling (CellGridScroll.cpp).
    // Brings the cell into view, centring it when it lies outside (display column).
    void ScrollInView(int ACol, int ARow);
    // The proportional bars: set up, their page brought in line with the counts.
    bool FlatInitialized() const { return FFlatInit; }
    void FlatUpdate();
    void UpdateVScrollBar();
    void UpdateHScrollBar();
    bool ScrollHintShowing() const { return FScrollHintShowing; }

    // --- Cell text metrics (CellGridMetrics.cpp).
    int MaxLinesInGrid();
    int MaxLinesInRow(int ARow);
    int MaxCharsInCol(int ACol);
    // The print font height (0.1 mm, negative: the character height) of a point size, and back.
    int MapFontHeight(int Size) const;
    int MapFontSize(int Height) const;
    // The print scale of a printed row (1.0 otherwise).
    double PrintScale = 1.0;
    // The start point of text S drawn at Angle degrees inside R, into R.Left and R.Top.
    void CalcTextPos(TRect& R, int Angle, const AnsiString& S, TAlignment Alignment);
    // The room a cell (display column already mapped to its real column) needs on a printer
    // canvas in MM_LOMETRIC, in 0.1 mm; PrintColWidth is the column's printed width.
    TPoint GetPrintTextSize(TCanvas* Canvas, int ACol, int ARow, int PrintColWidth);

    bool Designing() const override { return InState(csDesigning); }

    // --- Update lock, keys and focus (CellGridKeys.cpp). While LockFlag holds, nothing paints.
    bool LockFlag() const { return UpdateCount() != 0; }
    void SetLockFlag(bool Value);
    void ShowInplaceEdit() override;
    void HideInplaceEdit() override;
    // Set by the grid's editor controls while they move the focus: DoEnter and DoExit do nothing.
    bool SuppressEnterExit = false;
    // An editor was shown for the current cell (DoExit then validates it).
    bool EditShown() const { return FEditShown; }
    void SetEditShown(bool Value) { FEditShown = Value; }
    // Clipboard keys (Ctrl+C, Ctrl+X, Ctrl+V and the Insert forms); true when the key was one
    // (CellGridClipboard.cpp).
    virtual bool ClipboardKey(uint16_t Key, TShiftState Shift);

    // --- Mouse, cursors, hints and timer (CellGridMouse.cpp, CellGridHints.cpp).
    // 0 none, 1 column select, 2 row select, 3 select all: what a press on a fixed cell selects.
    int CursorKind() const { return FCursorKind; }
    bool BlinkPhase() const { return FBlinkOn; }
    // The hint cell (-1, -1 when none) and the link under the pointer at the last move.
    TGridCoord HintCell() const { return FHintCell; }
    const AnsiString& LastAnchor() const { return FLastAnchor; }
    void HandleRadioClick(int ACol, int ARow, int X, int Y);
    // Opens a clicked link (http, https, ftp or mailto only); tests and tools may replace it.
    std::function<void(const AnsiString& Url)> OpenLink;
    // The cursor over links, one for every grid: the program's own hand (8009) until a grid
    // finishes loading from a form, the framework's hand point (crHandPoint) from then on.
    static TCursor LinkCursor() { return FLinkCursor; }
    // The header click (CellGridSort.cpp): the left release at client X, Y over the cell
    // (ACol as shown, ARow) sorts by that column when it and the press lie in row 0.
    void ClickSort(int ACol, int ARow, int X, int Y);
    // One tick of the window timer: hovering and blinking text.
    void HoverTick();

    // --- Window procedure, zoom and accessors (CellGridWndProc.cpp).
    void WndProc(TMessage& Message) override;
    int ZoomLevel() const { return FZoom; }
    void Zoom(int x);
    bool Panning() const { return FPanning; }
    // The owner form resized: SizeWithForm follows its change; then the columns stretch.
    void GridResize(TObject* Sender);
    void InvalidateGridRect(const TGridRect& R);
    // Cells and objects by real row (a hidden row reads and writes its kept copy).
    AnsiString GetCellsEx(int ACol, int ARow) const;
    void SetCellsEx(int ACol, int ARow, const AnsiString& Value);
    TObject* GetObjectsEx(int ACol, int ARow) const;
    void SetObjectsEx(int ACol, int ARow, TObject* Value);
    AnsiString GetStrippedCell(int ACol, int ARow) const;
    void CellToRich(int ACol, int ARow, TRichDocument* RichEdit);
    void RichToCell(int ACol, int ARow, TRichDocument* RichEdit);
    // The text a cell is edited as, and the edited text written back (display column).
    AnsiString GetEditText(int ACol, int ARow) override;
    // The cell's edit mask for the text editor (display column): what OnGetEditMask answers,
    // none without it.
    virtual AnsiString GetEditMask(int ACol, int ARow);
    void SetEditText(int ACol, int ARow, const AnsiString& Value) override;
    AnsiString EllipsClick(AnsiString Value) override;
    int GetVersionNr() override { return 1; }
    AnsiString GetVersionString() override { return "1.0"; }

    // --- Selection text and repainting (CellGridSelect.cpp).
    AnsiString SelectedText();
    // Cells quoted as CSV when they hold more than one line.
    bool ClipboardCSVLines = false;
    void RepaintCell(int ACol, int ARow) { InvalidateCell(ACol, ARow); }
    void RepaintRow(int ARow) { InvalidateRow(ARow); }
    void RepaintCol(int ACol) { InvalidateCol(ACol); }
    // R in cells: the two corner cells' union when both are in view, else the whole grid.
    void RepaintRect(const TRect& R);

    // --- Painting (CellGridPaint.cpp: cells, borders, fixed edges, the sort indicator;
    // CellGridPaintExtras.cpp: the cell extras; CellGridRich.cpp: rich-text cells).
    // The cell grid's own fixed cells (footer rows, right fixed columns, GetCellFixed), by real
    // column; the fixed rows and columns of the base are fixed without it.
    bool IsFixed(int ACol, int ARow);
    bool IsPassword(int ACol, int ARow);
    // The sort mark centred at (X, Y) for the real column ACol.
    void DrawSortIndicator(TCanvas* Canvas, int ACol, int X, int Y);
    // Whether the header cell of the real column shows the sort mark.
    bool SortIndicatorShown(int ACol, int ARow);
    // A rich-text cell (real column) formatted into ARect of any canvas at its resolution.
    void RTFPaint(int ACol, int ARow, TCanvas* Canvas, TRect ARect);
    // The rich-edit document's resize request: the rectangle is kept.
    void RTFResizeRequest(TObject* Sender, TRect Rect) { FRequestedRect = Rect; }
    TRect RequestedRect() const { return FRequestedRect; }
    // The hidden rich-edit control that rich-text cells are measured with.
    TCgRichEdit* RichEdit();
    // The rich-text cells as painted: each text read once and kept while it is painted.
    TRichCellCache& RichCells();
    // What painting a cell decided, for tools and tests: when set, DrawCell records the colours
    // the cell body paints with and each text it draws.
    struct TPaintTrace {
        TColor Brush = clNone, FontColor = clNone;
        // "text", "html" or "rtf", the text as drawn (rich text as its plain text), and the
        // rectangle it was laid out in.
        struct TText {
            const char* Kind;
            AnsiString Text;
            TRect Rect;
        };
        std::vector<TText> Texts;
    };
    TPaintTrace* PaintTrace = nullptr;
    // True while the window paints itself (not while a single cell is painted on request).
    bool InPaint() const { return FInPaint; }
    // The mark of a pan's starting point (IntelliPan's picture at the anchor): shown with every
    // paint until erased.
    void DrawIntelliFocusPoint();
    void EraseIntelliFocusPoint();
    bool IntelliFocusPointShown() const { return FFocusPointShown; }

    // --- Editing in place (CellGridEdit.cpp; the editor controls are CellGridEditors.h, the
    // text editor CgInplaceEdit.h, custom editors EditLink.h).
    bool SelectCell(int ACol, int ARow) override;
    // Shows or hides the special editor control of the current editor type over a cell.
    void ShowEditControl(int ACol, int ARow);
    void HideEditControl(int ACol, int ARow);
    // Starts editing the current cell as F2 does (posted); ends a special editor's edit.
    void ShowCellEdit();
    void HideCellEdit() { HideEditControl(Col(), Row()); }
    // The text the current cell had when it was selected goes back into it.
    void RestoreCache() override;
    bool IsEditable(int ACol, int ARow) override;
    // goEditing as the application set it: a cell that may not be edited switches the option off
    // while it is current, which does not make the other cells read-only.
    bool EditingOn() const { return Options().Contains(goEditing) || FEditingSwitchedOff; }
    // The items of the one combo editor that every combo cell shares.
    void AddComboString(const AnsiString& S);
    bool RemoveComboString(const AnsiString& S);
    void ClearComboString();
    int GetComboCount();
    // The item a combo-list cell shows when its text is no item (-1: the first).
    void SetComboSelection(int Index) { FComboSelection = Index; }
    bool SetComboSelectionString(const AnsiString& S);
    int ComboSelection() const { return FComboSelection; }
    // Validation: InitValidate remembers a cell and its text; ValidateCell, armed when editing
    // became possible, asks OnCellValidate about a changed text. A refused value stays out of
    // the cell and the editor opens on it again (after the focus change when focus left).
    bool ValidateCell(const AnsiString& NewValue) override;
    void InitValidate(int ACol, int ARow) override;
    // The application's custom editor (not owned; set at the latest in OnGetEditorType).
    TEditLink* EditLink = nullptr;
    // The editor type asked for the cell being edited, and whether its special control shows.
    TEditorType CurrentEditorType() const { return FEditorType; }
    bool EditControlShown() const { return FEditorShown; }
    // The visible editor: the special control, a custom editor's control or the text editor.
    TWinControl* VisibleEditor() const;
    // A click opened the editor: it puts its caret under the mouse.
    bool MouseStarted() const { return FMouseStarted; }
    void SetMouseStarted(bool Value) { FMouseStarted = Value; }
    // An editor control ended its edit with a key.
    bool EditEndedByKey = false;
    // The editor controls (CellGridEditors.h), made with the grid.
    TGridCombo* Combo() const { return FCombo; }
    TGridSpin* Spin() const { return FSpin; }
    TGridDatePicker* DatePicker() const { return FDatePicker; }
    TGridCheckBox* CheckBoxEditor() const { return FCheckBox; }
    TGridEditBtn* EditBtn() const { return FEditBtn; }
    TGridUnitEditBtn* UnitEditBtn() const { return FUnitEditBtn; }
    TGridButton* ButtonEditor() const { return FButton; }
    // The grid's key handling, for an editor control that passes a navigation key on.
    void GridKeyDown(uint16_t& Key, TShiftState Shift) { KeyDown(Key, Shift); }
    void GridKeyPress(char& Key) { KeyPress(Key); }
    // Validates as the focus leaves: a refused value opens the editor again after the focus
    // change, from the event loop.
    bool ValidateOnFocusLoss(const AnsiString& Value);
    // The text editor's text changed size: SizeWhileTyping sizes the column and the row; a line
    // break typed with Ctrl+Enter sizes the row to the lines.
    void TypingSized();
    void TypingNewLine(const AnsiString& Text);
    // Where the last left press was (client coordinates).
    TPoint PressPoint() const { return FPressPoint; }
    // Whether the grid still lives, for callers whose call may free it.
    TAliveToken Liveness() const { return AliveToken(); }
    // The pending key: the character typed on the grid that started editing.
    const AnsiString& PendingKey() const { return FPendingKey.Key(); }

    TGridColorEvent OnGetCellColor, OnGetCellPrintColor;
    TGridBorderEvent OnGetCellBorder, OnGetCellPrintBorder;
    TGetEditorPropEvent OnGetEditorProp;
    // The framework string grid's event for the mask of the cell being edited.
    TGetEditEvent OnGetEditMask;
    TGridPrintPageEvent OnPrintPage;

protected:
    // Keys, focus, clicks and moves (CellGridKeys.cpp).
    void KeyDown(uint16_t& Key, TShiftState Shift) override;
    void KeyUp(uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DoEnter() override;
    void DoExit() override;
    void Click() override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    // Mouse (CellGridMouse.cpp).
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs) override;
    // Window (CellGridWndProc.cpp).
    void TopLeftChanged() override;
    // Editing (CellGridEdit.cpp).
    TInplaceEdit* CreateEditor() override;
    bool CanEditShow() override;
    void CurrentMoved(TGridCoord Old) override;

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateWnd() override;
    void PaintCellNow(int DisplayCol, int ARow) override;
    // Sizing and scrolling (CellGridSizing.cpp, CellGridScroll.cpp).
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    // The window's size changed: the base has set the view and the bars by then.
    void BoundsChanged(const TRect& OldBounds, bool SizeChanged) override;
    void WMVScroll(TMessage& Msg) override;
    void WMHScroll(TMessage& Msg) override;
    // Painting (CellGridPaint.cpp).
    void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
    void Paint() override;
    bool ShowFocusRect() const override { return !HideFocusRect; }
    // After a sort: the current row follows its data without validating an open editor.
    void FollowSortRow(int ARow) override;
    // The drag source's part of a press, a move and a release (CellGridDragDrop.cpp): a press
    // on the selection or a header is held back (true), a move past the start distance starts
    // the drag (true while the press is held), a release makes the held-back selection.
    bool OleDragPress(int ACol, int ARow, int X);
    bool OleDragMove(TShiftState Shift, int X, int Y);
    void OleDragRelease(TShiftState Shift, int X, int Y);
    // The drag button with a caption, drawn as the drag's picture.
    void DragPicture(const AnsiString& Caption, int Width, int Height, TBitmap& Picture);
    // What the file formats read of the grid (CellGridFiles.cpp).
    TGridFileSettings FileSettings() const;
    TFileProgress FileProgress();

private:
    // Printing: the state between runs; the column widths saved on destruction, a failure told
    // on the standard error stream.
    TPrintState FPrintState;
    void SaveColSizesOnDestroy();
    void RegisterInputHandlers();
    void LeftDoubleClick(TMessage& Message);
    void RightPress(TMessage& Message);
    void SetFocusMessage(TMessage& Message);
    bool ShowCellHint(THintInfo& Info);
    bool LeftPressSteps(TShiftState Shift, int X, int Y);
    void EnhancedMove(int X, int Y);
    void HideMoveMarks();
    // The combo editor's change notification (CBN_SELCHANGE, CBN_EDITCHANGE): OnComboChange.
    void ComboNotify(unsigned Code);
    void PanStart(int X, int Y);
    void PanStep();
    void PanEnd();
    void WheelNotch(int Notches, TShiftState Shift);
    // Editing state (CellGridEdit.cpp).
    void CreateEditControls();
    void PostPendingKey(TWinControl* Editor);
    void ReopenEditor();
    TEditorType FEditorType = edNormal;
    bool FEditorShown = false;
    TPendingKey FPendingKey;
    AnsiString FEntryText;
    int FComboSelection = -1;
    bool FValidatePending = false, FValidating = false, FExiting = false;
    int FValidateCol = -1, FValidateRow = -1;
    AnsiString FValidateText;
    bool FMouseStarted = false;
    static inline TCursor FLinkCursor = 8009;
    // goEditing was switched off for a cell that may not be edited (the next cell asks again).
    bool FEditingSwitchedOff = false;
    bool FHidingControl = false;
    // The widths of the edited column's texts, kept while typing sizes the column.
    TMeasuredWidths FTypingWidths;
    TGridCombo* FCombo = nullptr;
    TGridSpin* FSpin = nullptr;
    TGridDatePicker* FDatePicker = nullptr;
    TGridCheckBox* FCheckBox = nullptr;
    TGridEditBtn* FEditBtn = nullptr;
    TGridUnitEditBtn* FUnitEditBtn = nullptr;
    TGridButton* FButton = nullptr;
    // Keys, focus and mouse state.
    bool FEditShown = false;
    TGridRect FSavedSelection{};
    TGridCoord FPushedButton{-1, -1};
    TPoint FPressPoint{};
    bool FMoveMark = false, FSizeMark = false, FBorderDblClick = false;
    int FMoveOrigin = -1;
    int FUnselectRow = -1;
    int FCursorKind = 0;
    // Drag and drop: the drop target, and a press held back for a drag.
    struct TOleDropHolder {
        std::unique_ptr<TDropTarget> Target;
        bool Pending = false;
        TGridCoord PressCell{-1, -1};
    } FDrop;
    // The clipboard's last copy.
    TPoint FCopyOrigin{-1, -1};
    TClipOperation FLastClipOperation = coCut;
    TGridCoord FHintCell{-1, -1};
    AnsiString FLastAnchor;
    bool FBlinkOn = false;
    TPoint FLastMovePoint{-1, -1};
    int FMoveTarget = -1;
    std::unique_ptr<THintWindow> FFloatHeader;
    std::array<TArrowWindow*, 4> FArrows{};
    TColor FArrowColor = clLime;
    // Wheel, zoom and panning.
    TWheelNotches FWheel;
    int FZoom = 0;
    bool FPanning = false;
    TPoint FPanAnchor{};
    TCursor FPanSavedCursor = crDefault;
    std::unique_ptr<TResizeWatch> FFormWatch;
    int FFormWidth = 0, FFormHeight = 0;

    // Painting: one cell's body, its extra and its fixed look.
    // How a cell's extra sits in it: the room the text keeps free for it, and whether the cell's
    // own text shows (otherwise the extra draws it, or nothing does).
    struct TExtraLayout {
        TCellGraphic* Extra = nullptr;
        int Width = 0, Height = 0;
        bool DrawsText = true;
    };
    TExtraLayout LayoutExtra(int Col, int ARow);
    // True when the cell shows the selection's colours.
    bool DrawCellBody(int ACol, int Col, int ARow, TRect R, TGridDrawState State, const TExtraLayout& Extra);
    void DrawPlainText(int Col, int ARow, TRect R, AnsiString Text, const TExtraLayout& Extra, bool Sorted);
    void DrawCellBackground(int ACol, int ARow, const TRect& R);
    void DrawCellBorders(int Col, int ARow, const TRect& R);
    void DrawFixedEdges(const TRect& R, bool Pressed);
    void PaintOwnFixedLines();
    void PaintIntelliFocusPoint();
    // A fixed cell held down by the left button looks pressed (FixedAsButtons) until the release.
    void RegisterPaintHandlers();
    void PressFixedCell(int X, int Y);
    void ReleaseFixedCell();
    TGridCoord FPressedFixed{-1, -1};
    bool FFocusPointShown = false;
    void DrawCellExtra(int Col, int ARow, const TRect& R, bool Selected, const TExtraLayout& Extra);
    void DrawRadioGroup(const TCellGraphic& Extra, int Col, int ARow, const TRect& R);
    // Where a radio group's choices stand in R, measured in the canvas's font; painting and
    // clicks both go by it.
    std::vector<TRadioChoicePlace> RadioPlaces(const TCellGraphic& Extra, const TRect& R);
    void DrawProgress(const TCellGraphic& Extra, int Col, int ARow, const TRect& R);
    void DrawNode(const TCellGraphic& Extra, const TRect& R);
    void DrawCellButton(TCellGraphic& Extra, TPoint At);
    std::unique_ptr<TCgRichEdit> FRichEdit;
    std::unique_ptr<TRichCellCache> FRichCells;
    TRect FRequestedRect{};
    bool FInPaint = false;
    // Sizing: the user's border drag, and the guard that keeps a stretch from stretching again.
    void RegisterSizingHandlers();
    void SizesChanged(bool Cols);
    int FSizingCol = -1, FSizingRow = -1;
    int FSizingColWidth = 0, FSizingRowHeight = 0;
    bool FUserColSizing = false, FUserRowSizing = false;
    bool FStretchGuard = true;
    // Scrolling: the proportional bars and the thumb hint.
    void ScrollMessage(TMessage& Msg, bool Vertical);
    void UpdateProportionalBar(int Bar);
    void UpdateBarLook();
    TScrollType FScrollType = ssNormal;
    TColor FScrollColor = clNone;
    int FScrollWidth = 0;
    bool FScrollProportional = false;
    bool FFlatInit = false;
    bool FScrollHintShowing = false;
    std::unique_ptr<THintWindow> FScrollHint;

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

// The grid's cursors (8000 to 8012) and panning pictures, registered once before the first grid.
void RegisterGridCursors();

// The version word of a system library (major in the high, minor in the low 16 bits), or -1.
// Only the common-controls library has one here: its editors (date pickers) are always there.
int GetDllVersion(const AnsiString& FileName);
