#pragma once
// The cell grid's sub-objects that hold settings only: banded rows, sizing while typing, mouse
// actions, saved column sizes, keyboard navigation, HTML export, and the row filter's
// conditions. The grid makes, owns and frees each. A field whose change needs nothing more is a
// plain member; the others have setters.

#include <cstdint>

#include "grid/model/CellGridTypes.h"
#include "platform/core/Collection.h"
#include "platform/core/Colors.h"
#include "platform/core/Object.h"

class TCustomGridData;
class TCellModel;

// Alternating row colours.
class TBands : public TPersistent {
public:
    explicit TBands(TCustomGridData* Grid) : FGrid(Grid) {}

    bool Print = false;
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    // PrimaryLength + SecondaryLength.
    int Period() const { return FPrimaryLength + FSecondaryLength; }
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int Value);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int Value);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor Value);
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor Value);

    // The band colour of a row counted from the first normal row (0 on); clNone with a period
    // of 0 or less.
    TColor ColorOf(int RowFromFirst) const;

private:
    TCustomGridData* FGrid;
    bool FActive = false;
    int FSecondaryLength = 1;
    int FPrimaryLength = 1;
    TColor FSecondaryColor = clWindow;
    TColor FPrimaryColor = clInfoBk;
};

class TSizeWhileTyping : public TPersistent {
public:
    bool Height = false;
    bool Width = false;
};

class TMouseActions : public TPersistent {
public:
    bool ColSelect = false;
    bool RowSelect = false;
    bool AllSelect = false;
    bool DirectEdit = false;
    bool DirectComboDrop = false;
    bool DisjunctRowSelect = false;
    bool AllColumnSize = false;
    bool AllRowSize = false;
    bool CaretPositioning = false;
};

// Column widths kept between runs.
class TColumnSize : public TPersistent {
public:
    explicit TColumnSize(TCellModel* Grid) : FGrid(Grid) {}

    bool Save = false;
    AnsiString Key;
    AnsiString Section;
    bool Stretch() const { return FStretch; }
    // Stores the value and stretches the grid's right column.
    void SetStretch(bool Value);
    TColumnSizeLocation Location = clRegistry;

private:
    TCellModel* FGrid;
    bool FStretch = false;
};

class TNavigation : public TPersistent {
public:
    bool AllowInsertRow = false;
    bool AllowDeleteRow = false;
    bool AdvanceOnEnter = false;
    bool AdvanceInsert = false;
    bool AutoGotoWhenSorted = false;
    bool AutoGotoIncremental = false;
    bool AutoComboDropSize = false;
    bool AllowClipboardShortCuts = false;
    bool AllowRTFClipboard = false;
    bool AllowSmartClipboard = false;
    bool AllowClipboardAlways = false;
    bool AllowClipboardColGrow = true;
    bool AllowClipboardRowGrow = true;
    bool CopyHTMLTagsToClipboard = true;
    TAdvanceDirection AdvanceDirection = adLeftRight;
    bool AdvanceAuto = false;
    bool CursorWalkEditor = false;
    bool MoveRowOnSort = false;
    bool ImproveMaskSel = false;
    bool AlwaysEdit = false;
    TInsertPosition InsertPosition = pInsertBefore;
    bool LineFeedOnEnter = false;
};

class THTMLSettings : public TPersistent {
public:
    bool SaveColor = true;
    bool SaveFonts = true;
    AnsiString FooterFile;
    AnsiString HeaderFile;
    int BorderSize = 1;
    int CellSpacing = 0;
    int CellPadding = 0;
    AnsiString TableStyle;
    AnsiString PrefixTag;
    AnsiString SuffixTag;
    int Width = 100;
};

// One condition of the row filter: the cells of a column must match a pattern.
class TFilterData : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    int16_t Column = 0;
    AnsiString Condition;
    void Assign(TPersistent* Source) override;
};

// The row filter's conditions, in order.
class TFilter : public TCollection {
public:
    explicit TFilter(TCellModel* Grid) : TCollection(ItemClassOf<TFilterData>()), FGrid(Grid) {}

    TFilterData* Add() { return static_cast<TFilterData*>(TCollection::Add()); }
    TFilterData* Insert(int Index) { return static_cast<TFilterData*>(TCollection::Insert(Index)); }
    // Raises EListError for an index out of range.
    TFilterData* Items(int Index) const { return static_cast<TFilterData*>(TCollection::Items(Index)); }
    void SetItems(int Index, TFilterData* Value) { Items(Index)->Assign(Value); }
    // The grid control, when the filter belongs to one.
    TPersistent* GetOwner() const override;
    TCellModel* Grid() const { return FGrid; }

private:
    TCellModel* FGrid;
};
