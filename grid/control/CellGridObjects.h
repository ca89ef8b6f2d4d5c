#pragma once
// The cell grid's sub-objects that hold display objects: the look of tree nodes, the
// background picture, and the print settings. The grid makes, owns and frees each.

#include <memory>

#include "grid/model/CellGridTypes.h"
#include "platform/core/StringList.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Printers.h"

class TCustomGridData;

class TCellNode : public TPersistent {
public:
    explicit TCellNode(TCustomGridData* Grid) : FGrid(Grid) {}

    TColor Color = clSilver;
    TNodeType NodeType() const { return FNodeType; }
    // A different type repaints the grid.
    void SetNodeType(TNodeType Value);
    TColor NodeColor = clBlack;
    TBitmap* ExpandGlyph() const { return FExpandGlyph.get(); }
    void SetExpandGlyph(TBitmap* Value) { FExpandGlyph->Assign(Value); }
    TBitmap* ContractGlyph() const { return FContractGlyph.get(); }
    void SetContractGlyph(TBitmap* Value) { FContractGlyph->Assign(Value); }

private:
    TCustomGridData* FGrid;
    TNodeType FNodeType = cnFlat;
    std::unique_ptr<TBitmap> FExpandGlyph = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> FContractGlyph = std::make_unique<TBitmap>();
};

// The picture behind the cells; every setter repaints the grid.
class TBackGround : public TPersistent {
public:
    explicit TBackGround(TCustomGridData* Grid) : FGrid(Grid) {}

    int Top() const { return FTop; }
    void SetTop(int Value);
    int Left() const { return FLeft; }
    void SetLeft(int Value);
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay Value);
    TBackGroundCells Cells() const { return FCells; }
    void SetCells(TBackGroundCells Value);
    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap* Value);
    void Assign(TPersistent* Source) override;

private:
    void Changed();

    TCustomGridData* FGrid;
    int FTop = 0;
    int FLeft = 0;
    TBackGroundDisplay FDisplay = bdTile;
    TBackGroundCells FCells = bcNormal;
    std::unique_ptr<TBitmap> FBitmap = std::make_unique<TBitmap>();
};

class TPrintsettings : public TPersistent {
public:
    TPrintPosition Time = ppNone;
    TPrintPosition Date = ppNone;
    TPrintPosition PageNr = ppNone;
    AnsiString PageNumSep = "/";
    AnsiString DateFormat = "dd/mm/yyyy";
    TPrintPosition Title = ppNone;
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(TFont* Value) { FHeaderFont->Assign(Value); }
    TFont* FooterFont() const { return FFooterFont.get(); }
    void SetFooterFont(TFont* Value) { FFooterFont->Assign(Value); }
    TPrintBorders Borders = pbNoborder;
    TPenStyle BorderStyle = psSolid;
    AnsiString TitleText;
    TStringList* TitleLines() const { return FTitleLines.get(); }
    void SetTitleLines(TStrings* Value) { FTitleLines->Assign(Value); }
    bool Centered = false;
    bool RepeatFixedRows = false;
    bool RepeatFixedCols = false;
    int FooterSize = 0;
    int HeaderSize = 0;
    int LeftSize = 0;
    int RightSize = 0;
    int ColumnSpacing = 0;
    int RowSpacing = 0;
    int TitleSpacing = 0;
    TPrinterOrientation Orientation = poPortrait;
    AnsiString PagePrefix;
    AnsiString PageSuffix;
    int FixedHeight = 0;
    bool UseFixedHeight = false;
    int FixedWidth = 0;
    bool UseFixedWidth = false;
    TFitToPage FitToPage = fpNever;
    bool NoAutoSize = false;
    bool PrintGraphics = false;
    AnsiString JobName;

private:
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
    std::unique_ptr<TFont> FHeaderFont = std::make_unique<TFont>();
    std::unique_ptr<TFont> FFooterFont = std::make_unique<TFont>();
    std::unique_ptr<TStringList> FTitleLines = std::make_unique<TStringList>();
};
