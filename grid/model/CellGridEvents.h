#pragma once
// The cell grid's events whose parameters need no display. Several pass the row before the
// column, others the column before the row: the order is part of each event.

#include <cstdint>
#include <functional>

#include "grid/model/CellGridTypes.h"
#include "platform/core/Alignment.h"
#include "platform/core/AnsiString.h"
#include "platform/core/DateTime.h"
#include "platform/core/Object.h"

using TGridAlignEvent = std::function<void(TObject* Sender, int ARow, int ACol, TAlignment& AAlignment)>;
using TGridFormatEvent =
    std::function<void(TObject* Sender, int ACol, TSortStyle& AStyle, AnsiString& aPrefix, AnsiString& aSuffix)>;
using TGetEditorTypeEvent = std::function<void(TObject* Sender, int aCol, int aRow, TEditorType& aEditor)>;
using TIsFixedCellEvent = std::function<void(TObject* Sender, int aRow, int aCol, bool& IsFixed)>;
using TIsPasswordCellEvent = std::function<void(TObject* Sender, int aRow, int aCol, bool& IsPassword)>;
using TCanEditCellEvent = std::function<void(TObject* Sender, int aRow, int aCol, bool& CanEdit)>;
using TGridHintEvent = std::function<void(TObject* Sender, int Arow, int Acol, AnsiString& hintstr)>;
using TScrollHintEvent = std::function<void(TObject* Sender, int Arow, AnsiString& hintstr)>;
using TRowChangingEvent = std::function<void(TObject* Sender, int OldRow, int NewRow, bool& Allow)>;
using TColChangingEvent = std::function<void(TObject* Sender, int OldCol, int NewCol, bool& Allow)>;
using TCellChangingEvent =
    std::function<void(TObject* Sender, int OldRow, int OldCol, int NewRow, int NewCol, bool& Allow)>;
using TCellValidateEvent = std::function<void(TObject* Sender, int Col, int Row, AnsiString& Value, bool& Valid)>;
using TClickCellEvent = std::function<void(TObject* Sender, int arow, int acol)>;
using TDblClickCellEvent = std::function<void(TObject* Sender, int aRow, int aCol)>;
using TClickSortEvent = std::function<void(TObject* Sender, int aCol)>;
using TCanSortEvent = std::function<void(TObject* Sender, int aCol, bool& dosort)>;
using TCustomCompareEvent = std::function<void(TObject* Sender, AnsiString str1, AnsiString str2, int& res)>;
using TRawCompareEvent = std::function<void(TObject* Sender, int col, int row1, int row2, int& res)>;
using TNodeClickEvent = std::function<void(TObject* Sender, int arow, int arowreal)>;
using TCanAddRowEvent = std::function<void(TObject* Sender, bool& CanAdd)>;
using TAutoAddRowEvent = std::function<void(TObject* Sender, int ARow)>;
using TCanInsertRowEvent = std::function<void(TObject* Sender, int ARow, bool& CanInsert)>;
using TAutoInsertRowEvent = std::function<void(TObject* Sender, int ARow)>;
using TAutoInsertColEvent = std::function<void(TObject* Sender, int ACol)>;
using TCanDeleteRowEvent = std::function<void(TObject* Sender, int ARow, bool& CanDelete)>;
using TAutoDeleteRowEvent = std::function<void(TObject* Sender, int aRow)>;
using TAnchorClickEvent = std::function<void(TObject* Sender, int aRow, int aCol, AnsiString anchor, bool& AutoHandle)>;
using TAnchorEvent = std::function<void(TObject* Sender, int aRow, int aCol, AnsiString anchor)>;
using TClipboardEvent = std::function<void(TObject* Sender, bool& allow)>;
using TGridProgressEvent = std::function<void(TObject* Sender, int16_t progress)>;
using TEllipsClickEvent = std::function<void(TObject* Sender, int aCol, int aRow, AnsiString& S)>;
using TButtonClickEvent = std::function<void(TObject* Sender, int aCol, int aRow)>;
using TCheckBoxClickEvent = std::function<void(TObject* Sender, int aCol, int aRow, bool state)>;
using TRadioClickEvent = std::function<void(TObject* Sender, int aCol, int aRow, int aIdx)>;
using TComboChangeEvent =
    std::function<void(TObject* Sender, int aCol, int aRow, int aItemIndex, AnsiString aSelection)>;
using TSpinClickEvent = std::function<void(TObject* Sender, int aCol, int aRow, int aValue, bool updown)>;
using TFloatSpinClickEvent = std::function<void(TObject* Sender, int aCol, int aRow, double aValue, bool updown)>;
using TDateTimeSpinClickEvent = std::function<void(TObject* Sender, int aCol, int aRow, TDateTime aValue, bool updown)>;
using TColumnSizeEvent = std::function<void(TObject* Sender, int aCol, bool& allow)>;
using TRowSizeEvent = std::function<void(TObject* Sender, int aRow, bool& allow)>;
using TEndColumnSizeEvent = std::function<void(TObject* Sender, int aCol)>;
using TEndRowSizeEvent = std::function<void(TObject* Sender, int aRow)>;
using TOleDragDropEvent = std::function<void(TObject* Sender, int Arow, int Acol, AnsiString data, bool& allow)>;
using TOleDragOverEvent = std::function<void(TObject* Sender, int Arow, int Acol, bool& allow)>;
using TOleDragStartEvent = std::function<void(TObject* Sender, int Arow, int Acol)>;
using TOleDragStopEvent = std::function<void(TObject* Sender, int OLEEffect)>;
using TOleDropColEvent = std::function<void(TObject* Sender, int Arow, int Acol, int DropCol)>;
using TGridPrintStartEvent = std::function<void(TObject* Sender, int NrOfPages, int& FromPage, int& ToPage)>;
using TGridPrintNewPageEvent = std::function<void(TObject* Sender, int aRow, bool& newpage)>;
using TGridPrintColumnWidthEvent = std::function<void(TObject* Sender, int aCol, int& width)>;
using TGridPrintRowHeightEvent = std::function<void(TObject* Sender, int aRow, int& height)>;
using TDoFitToPageEvent = std::function<void(TObject* Sender, double& scalefactor, bool& allow)>;
