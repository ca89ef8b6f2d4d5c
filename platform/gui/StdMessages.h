#pragma once
// Messages and records of the standard controls (edits, list boxes, combo boxes, buttons, scroll
// bars, owner drawing), with the Windows values, so that a control derived from one of them can
// intercept any operation in WndProc. Texts travel as NUL-terminated cp949 (char*) in LParam.

#include "platform/core/ScrollBarModel.h"
#include "platform/gui/GraphicsTypes.h"
#include "platform/gui/Messages.h"

class TCanvas;

enum : unsigned {
    EM_GETSEL = 0x00B0,
    EM_SETSEL = 0x00B1,
    EM_GETMODIFY = 0x00B8,
    EM_SETMODIFY = 0x00B9,
    EM_LIMITTEXT = 0x00C5,
    EM_SETREADONLY = 0x00CF,
    EM_SETMARGINS = 0x00D3,
    EM_REPLACESEL = 0x00C2,
    EM_UNDO = 0x00C7,

    BM_GETCHECK = 0x00F0,
    BM_SETCHECK = 0x00F1,
    BM_CLICK = 0x00F5,

    LB_ADDSTRING = 0x0180,
    LB_INSERTSTRING = 0x0181,
    LB_DELETESTRING = 0x0182,
    LB_RESETCONTENT = 0x0184,
    LB_SETSEL = 0x0185,
    LB_SETCURSEL = 0x0186,
    LB_GETSEL = 0x0187,
    LB_GETCURSEL = 0x0188,
    LB_GETTEXT = 0x0189,
    LB_GETTEXTLEN = 0x018A,
    LB_GETCOUNT = 0x018B,
    LB_GETTOPINDEX = 0x018E,
    LB_FINDSTRING = 0x018F,
    LB_GETSELCOUNT = 0x0190,
    LB_SETTABSTOPS = 0x0192,
    LB_GETHORIZONTALEXTENT = 0x0193,
    LB_SETHORIZONTALEXTENT = 0x0194,
    LB_SETCOLUMNWIDTH = 0x0195,
    LB_SETTOPINDEX = 0x0197,
    LB_GETITEMRECT = 0x0198,
    LB_GETITEMDATA = 0x0199,
    LB_SETITEMDATA = 0x019A,
    LB_SETITEMHEIGHT = 0x01A0,
    LB_GETITEMHEIGHT = 0x01A1,

    CB_GETEDITSEL = 0x0140,
    CB_LIMITTEXT = 0x0141,
    CB_SETEDITSEL = 0x0142,
    CB_ADDSTRING = 0x0143,
    CB_DELETESTRING = 0x0144,
    CB_GETCOUNT = 0x0146,
    CB_GETCURSEL = 0x0147,
    CB_GETLBTEXT = 0x0148,
    CB_GETLBTEXTLEN = 0x0149,
    CB_INSERTSTRING = 0x014A,
    CB_RESETCONTENT = 0x014B,
    CB_FINDSTRING = 0x014C,
    CB_SETCURSEL = 0x014E,
    CB_SHOWDROPDOWN = 0x014F,
    CB_GETITEMDATA = 0x0150,
    CB_SETITEMDATA = 0x0151,
    CB_SETITEMHEIGHT = 0x0153,
    CB_GETITEMHEIGHT = 0x0154,
    CB_GETDROPPEDSTATE = 0x0157,
};

constexpr LRESULT LB_ERR = -1;
constexpr LRESULT CB_ERR = -1;

// Notification codes in the high word of CN_COMMAND's WParam.
enum : unsigned {
    EN_CHANGE = 0x0300,
    LBN_SELCHANGE = 1,
    LBN_DBLCLK = 2,
    CBN_SELCHANGE = 1,
    CBN_DBLCLK = 2,
    CBN_EDITCHANGE = 5,
    CBN_DROPDOWN = 7,
    CBN_CLOSEUP = 8,
    BN_CLICKED = 0,
};

enum : unsigned { BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2 };

// Owner drawing: CN_DRAWITEM and CN_MEASUREITEM carry a pointer to one of these in LParam.
enum TOwnerDrawStateFlag : unsigned {
    odSelected = 1u << 0,
    odGrayed = 1u << 1,
    odDisabled = 1u << 2,
    odChecked = 1u << 3,
    odFocused = 1u << 4,
    odDefault = 1u << 5,
    odComboBoxEdit = 1u << 12,
};
using TOwnerDrawState = unsigned;

struct TDrawItemStruct {
    int ItemID = -1;
    TOwnerDrawState ItemState = 0;
    TCanvas* Canvas = nullptr;  // the canvas to draw on, in control coordinates
    TRect Rect;
    intptr_t ItemData = 0;
};
struct TMeasureItemStruct {
    int ItemID = -1;
    int ItemWidth = 0;
    int ItemHeight = 0;
};

// Window scroll bars.
enum : int { SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3 };
enum : unsigned { SIF_RANGE = 1, SIF_PAGE = 2, SIF_POS = 4, SIF_DISABLENOSCROLL = 8, SIF_TRACKPOS = 16, SIF_ALL = 23 };
struct TScrollInfo {
    unsigned fMask = SIF_ALL;
    int nMin = 0;
    int nMax = 0;
    unsigned nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};
