#pragma once
// The names gridrun reads and prints for each enumeration of the grid and the framework.

#include <vector>

#include "grid/model/CellGridTypes.h"
#include "platform/core/Alignment.h"
#include "platform/core/GridData.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Printers.h"
#include "tools/gridrun/GridRunValues.h"

// One line an enumeration: its type and its names in order.
#define HM_GRIDRUN_ENUM(Type, ...)                                                                                     \
    template <>                                                                                                        \
    struct TEnumNames<Type> {                                                                                          \
        static const std::vector<const char*>& Get()                                                                   \
        {                                                                                                              \
            static const std::vector<const char*> names{__VA_ARGS__};                                                  \
            return names;                                                                                              \
        }                                                                                                              \
    };

HM_GRIDRUN_ENUM(TCellType, "ctBitmap", "ctIcon", "ctNone", "ctImageList", "ctCheckBox", "ctDataCheckBox", "ctRotated",
                "ctDataImage", "ctNode", "ctRadio", "ctEmpty", "ctImages", "ctPicture", "ctFilePicture", "ctValue",
                "ctProgress", "ctComment", "ctButton")
HM_GRIDRUN_ENUM(TCellHAlign, "haLeft", "haRight", "haCenter", "haBeforeText", "haAfterText", "haFull")
HM_GRIDRUN_ENUM(TCellVAlign, "vaTop", "vaBottom", "vaCenter", "vaUnderText", "vaAboveText", "vaFull")
HM_GRIDRUN_ENUM(TStretchMode, "noStretch", "Stretch", "StretchWithAspectRatio", "Shrink", "ShrinkWithAspectRatio")
HM_GRIDRUN_ENUM(TVAlignment, "vtaCenter", "vtaTop", "vtaBottom")
HM_GRIDRUN_ENUM(TEditorType, "edNormal", "edSpinEdit", "edComboEdit", "edComboList", "edEditBtn", "edCheckBox",
                "edDateEdit", "edDateEditUpDown", "edTimeEdit", "edButton", "edDataCheckBox", "edNumeric",
                "edPositiveNumeric", "edFloat", "edCapital", "edMixedCase", "edPassword", "edUnitEditBtn",
                "edLowerCase", "edUpperCase", "edFloatSpinEdit", "edTimeSpinEdit", "edDateSpinEdit", "edNumericEditBtn",
                "edFloatEditBtn", "edCustom")
HM_GRIDRUN_ENUM(TSortStyle, "ssAutomatic", "ssAlphabetic", "ssNumeric", "ssDate", "ssAlphaNoCase", "ssAlphaCase",
                "ssShortDateEU", "ssShortDateUS", "ssCustom", "ssFinancial", "ssAnsiAlphaCase", "ssAnsiAlphaNoCase",
                "ssRaw", "ssHTML", "ssImages")
HM_GRIDRUN_ENUM(TSortDirection, "sdAscending", "sdDescending")
HM_GRIDRUN_ENUM(TClipOperation, "coCut", "coCopy")
HM_GRIDRUN_ENUM(TCellBorder, "cbTop", "cbLeft", "cbRight", "cbBottom")
HM_GRIDRUN_ENUM(TFindParameters, "fnMatchCase", "fnMatchFull", "fnMatchRegular", "fnDirectionLeftRight", "fnMatchStart",
                "fnFindInCurrentRow", "fnFindInCurrentCol", "fnIncludeFixed", "fnAutoGoto", "fnIgnoreHTMLTags")
HM_GRIDRUN_ENUM(TScrollType, "ssNormal", "ssFlat", "ssEncarta")
HM_GRIDRUN_ENUM(TScrollHintType, "shNone", "shVertical", "shHorizontal", "shBoth")
HM_GRIDRUN_ENUM(TIntelliPan, "ipVertical", "ipHorizontal", "ipBoth", "ipNone")
HM_GRIDRUN_ENUM(TNodeType, "cnFlat", "cn3D", "cnGlyph")
HM_GRIDRUN_ENUM(TColumnSizeLocation, "clRegistry", "clInifile")
HM_GRIDRUN_ENUM(TAdvanceDirection, "adLeftRight", "adTopBottom")
HM_GRIDRUN_ENUM(TInsertPosition, "pInsertBefore", "pInsertAfter")
HM_GRIDRUN_ENUM(TPrintPosition, "ppNone", "ppTopLeft", "ppTopRight", "ppTopCenter", "ppBottomLeft", "ppBottomRight",
                "ppBottomCenter")
HM_GRIDRUN_ENUM(TPrintBorders, "pbNoborder", "pbSingle", "pbDouble", "pbVertical", "pbHorizontal", "pbAround",
                "pbAroundVertical", "pbAroundHorizontal", "pbCustom")
HM_GRIDRUN_ENUM(TFitToPage, "fpNever", "fpGrow", "fpShrink", "fpAlways", "fpCustom")
HM_GRIDRUN_ENUM(TBackGroundDisplay, "bdTile", "bdFixed")
HM_GRIDRUN_ENUM(TBackGroundCells, "bcNormal", "bcFixed")
HM_GRIDRUN_ENUM(TGridOption, "goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
                "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving", "goEditing",
                "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking")
HM_GRIDRUN_ENUM(TGridDrawStateFlag, "gdSelected", "gdFocused", "gdFixed")
HM_GRIDRUN_ENUM(TScrollStyle, "ssNone", "ssHorizontal", "ssVertical", "ssBoth")
HM_GRIDRUN_ENUM(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")
HM_GRIDRUN_ENUM(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame")
HM_GRIDRUN_ENUM(TPrinterOrientation, "poPortrait", "poLandscape")
HM_GRIDRUN_ENUM(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
#undef HM_GRIDRUN_ENUM
