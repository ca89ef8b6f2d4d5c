#pragma once
// The bottom layer of the control library: drawing bitmaps with a transparent colour, embossed
// "disabled" images, gradients and cell texts; window, cursor and message helpers; and the
// display-free routines of controls/core (command line, memory blocks, errors, system), which
// this header brings along. Handles of the original are the platform's objects here: a device
// context is a TCanvas, a bitmap a TBitmap, a window a TWinControl.

#include <cstdint>
#include <string_view>
#include <vector>

#include "controls/core/CtrlGeometry.h"
#include "controls/core/CtrlMemory.h"
#include "controls/core/CtrlStrings.h"
#include "controls/core/CtrlSystem.h"
#include "controls/lib/ExConst.h"
#include "controls/lib/ScreenCanvas.h"
#include "platform/core/Variant.h"
#include "platform/gui/Bitmap.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/CommonDialogs.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Foreground.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Icon.h"

class TImageList;

// --- Bitmaps ---------------------------------------------------------------------------------

// Cuts cell Index out of Source, an image of Cols x Rows equal cells (values below 1 and 0 are
// raised to them); Dest takes the cell's size and the source's transparent colour. A graphic
// other than a bitmap is drawn on silver, moved by the cell's origin.
void AssignBitmapCell(TGraphic* Source, TBitmap* Dest, int Cols, int Rows, int Index);
// Bitmaps and icons of the program's resources, by name or number. The module is ignored: the
// program has one. A missing bitmap raises EResNotFound; a missing icon gives null.
TBitmap* MakeModuleBitmap(void* Module, const TResID& ResID);
TBitmap* MakeBitmap(const TResID& ResID);
TBitmap* MakeBitmapID(int Id);
TIcon* MakeModuleIcon(void* Module, const TResID& ResID);
TIcon* MakeIcon(const TResID& ResID);
TIcon* MakeIconID(int Id);
// A new bitmap of the icon drawn on BackColor, transparent in that colour.
TBitmap* CreateBitmapFromIcon(TIcon* Icon, TColor BackColor);
// A new icon of the bitmap, see-through where it has the transparent colour (clDefault: the
// bitmap's own).
TIcon* CreateIconFromBitmap(TBitmap* Bitmap, TColor TransparentColor);
// Draw the bitmap, or its part SrcRect, at (X, Y) (stretched to W x H) leaving out the pixels of
// the transparent colour: clNone draws every pixel, clDefault takes the bitmap's lower-left pixel
// (white for a one-bit bitmap).
void DrawBitmapTransparent(TCanvas* Dest, int X, int Y, TBitmap* Bitmap, TColor TransparentColor);
void DrawBitmapRectTransparent(TCanvas* Dest, int X, int Y, const TRect& SrcRect, TBitmap* Bitmap,
                               TColor TransparentColor);
void StretchBitmapRectTransparent(TCanvas* Dest, int X, int Y, int W, int H, const TRect& SrcRect, TBitmap* Bitmap,
                                  TColor TransparentColor);
void DrawTransparentBitmap(TCanvas* DC, TBitmap* Bitmap, int X, int Y, TColor TransparentColor);
// The masking blit under the routines above, between two canvases.
void StretchBltTransparent(TCanvas* DstDC, int DstX, int DstY, int DstW, int DstH, TCanvas* SrcDC, int SrcX, int SrcY,
                           int SrcW, int SrcH, TColor TransparentColor);
// A new bitmap of the same size in which every pixel of Color is NewColor.
TBitmap* ChangeBitmapColor(TBitmap* Bitmap, TColor Color, TColor NewColor);
// A new embossed image of a glyph: the pixels of OutlineColor drawn in ShadowColor over
// BackColor, with a HighlightColor copy one pixel down and right when DrawHighlight.
TBitmap* CreateDisabledBitmapEx(TBitmap* Bitmap, TColor OutlineColor, TColor BackColor, TColor HighlightColor,
                                TColor ShadowColor, bool DrawHighlight);
TBitmap* CreateDisabledBitmap(TBitmap* Bitmap, TColor OutlineColor);
// Draws image Index of the list embossed: its opaque pixels in GrayColor, with a HighlightColor
// copy one pixel down and right when DrawHighlight.
void ImageListDrawDisabled(TImageList* Images, TCanvas* Canvas, int X, int Y, int Index, TColor HighlightColor,
                           TColor GrayColor, bool DrawHighlight);
// The number of entries of a palette: true-colour bitmaps have none here.
inline int PaletteEntries(const void*) { return 0; }
// A new 8 x 8 checkerboard: Color1, and Color2 where x and y have the same parity.
TBitmap* CreateTwoColorsBrushPattern(TColor Color1, TColor Color2);

// --- Painting --------------------------------------------------------------------------------

// Paints into Dest what lies under Control: its parent's background and picture and the parent's
// graphic controls listed before it, with the control's top-left corner at Dest's (0, 0).
void CopyParentImage(TControl* Control, TCanvas* Dest);
// A banded gradient from StartColor to EndColor.
void GradientFillRect(TCanvas* Canvas, const TRect& Rect, TColor StartColor, TColor EndColor, TFillDirection Direction,
                      int Colors);
// Darkens the rectangle with a pattern of diagonal lines.
void ShadeRect(TCanvas* DC, const TRect& Rect);
// Text clipped to Rect, from (DX, DY) within it.
void WriteText(TCanvas* Canvas, const TRect& Rect, int DX, int DY, std::string_view Text, TAlignment Alignment,
               bool WordWrap, bool RightToLeft = false);
// Text in a cell of a custom control, placed vertically by VertAlign.
void DrawCellTextEx(TCustomControl* Control, int ACol, int ARow, std::string_view S, const TRect& ARect,
                    TAlignment Align, TVertAlignment VertAlign, bool WordWrap, bool ARightToLeft);
void DrawCellTextEx(TCustomControl* Control, int ACol, int ARow, std::string_view S, const TRect& ARect,
                    TAlignment Align, TVertAlignment VertAlign, bool WordWrap);
void DrawCellText(TCustomControl* Control, int ACol, int ARow, std::string_view S, const TRect& ARect, TAlignment Align,
                  TVertAlignment VertAlign, bool ARightToLeft);
// Centred text wraps its words.
void DrawCellText(TCustomControl* Control, int ACol, int ARow, std::string_view S, const TRect& ARect, TAlignment Align,
                  TVertAlignment VertAlign);
void DrawCellBitmap(TCustomControl* Control, int ACol, int ARow, TBitmap* Graphic, const TRect& Rect);
// The text shortened with "..." until it fits MaxWidth on the canvas; whole characters only.
AnsiString MinimizeText(std::string_view Text, TCanvas* Canvas, int MaxWidth);
// The framework's new look of controls is on (new-style frames and embossed disabled texts).
constexpr bool NewStyleControls = true;
// The text-drawing flags of an alignment.
unsigned AlignmentTextFlags(TAlignment Alignment);
// The average width of the letters and the text height.
TPoint GetAveCharSize(TCanvas* Canvas);
// A new font like Font, its text turned by Angle degrees; the caller frees it.
TFont* CreateRotatedFont(TFont* Font, int Angle);
// The height of a digit in Font, as the edits and combo boxes size themselves by it.
int FontCharHeight(TFont* Font);
int DialogUnitsToPixelsX(int DlgUnits);
int DialogUnitsToPixelsY(int DlgUnits);
int PixelsToDialogUnitsX(int PixUnits);
int PixelsToDialogUnitsY(int PixUnits);

// --- Windows ---------------------------------------------------------------------------------

// Win32 show commands, for ShowWinNoAnimate.
enum : int {
    SW_HIDE = 0,
    SW_SHOWNORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_SHOWMAXIMIZED = 3,
    SW_SHOWNOACTIVATE = 4,
    SW_SHOW = 5,
    SW_MINIMIZE = 6,
    SW_SHOWMINNOACTIVE = 7,
    SW_SHOWNA = 8,
    SW_RESTORE = 9
};

// A form centred on the screen, any other control in its parent's client area; never above or
// left of the area.
void CenterControl(TControl* Control);
// The window centred on the screen and kept on it, moved without resizing or activating.
void CenterWindow(TWinControl* Wnd);
// Embeds a form in a control: borderless, its parent the control, aligned by Align (alNone:
// placed at the control's client origin), shown or hidden by Show.
void MergeForm(TWinControl* Control, TForm* Form, TAlign Align, bool Show);
// Client edges do not exist here: nothing to do.
inline void ShowMDIClientEdge(TWinControl*, bool) {}
// The window's class name.
AnsiString WindowClassName(TWinControl* Wnd);
// Shows, hides, minimises, maximises or restores by the show command (there is no animation to
// switch off).
void ShowWinNoAnimate(TWinControl* Wnd, int CmdShow);
// An enabled window brought to the front; with Restore a visible minimised window is restored;
// then it takes the focus.
void SwitchToWindow(TWinControl* Wnd, bool Restore);
// Shown and brought to the front.
void ActivateWindow(TWinControl* Wnd);
// Whether another running copy answers for the main form's class and/or title.
bool FindPrevInstance(const AnsiString& MainFormClass, const AnsiString& ATitle);
// Brings a running copy to the front and gives true; without one, this copy starts answering
// for the class and title (so the next copy finds it) and gives false.
bool ActivatePrevInstance(const AnsiString& MainFormClass, const AnsiString& ATitle);
// Removes one pending posted message Msg of Wnd from the queue.
void KillMessage(TWinControl* Wnd, unsigned Msg);
// Whether the mouse is over the control as its enter and leave events count it: the control is
// enabled, it is what lies under the pointer (disabled controls included) and the program is in
// the foreground.
bool MouseOverControl(TControl* Control);
// Points Field at Value, moving Self's free notification from the old component to the new one;
// false when Field already was Value.
template <class T>
bool LinkComponent(TComponent* Self, T*& Field, T* Value)
{
    if (Field == Value)
        return false;
    if (Field)
        Field->RemoveFreeNotification(Self);
    Field = Value;
    if (Value)
        Value->FreeNotification(Self);
    return true;
}
// Runs the event loop until the time has passed. It nests an event loop: engine code must not
// call it.
void Delay(int32_t MSecs);

// The desktop less its panels; the whole screen when the system cannot tell.
TRect ScreenWorkArea();

// --- Cursors and messages --------------------------------------------------------------------

// Loads a cursor resource into the first free slot of the screen's cursor table from 100 up and
// returns the slot. EResNotFound when there is no such cursor, EOutOfResources when no slot is
// free.
TCursor DefineCursor(void* Module, const TResID& ResID);
// The resource a cursor number was loaded from by the library; empty for any other number.
AnsiString DefinedCursorName(TCursor Cursor);
// Puts a cursor resource into the screen's table under the number.
void InstallCursor(TCursor Cursor, const AnsiString& ResName);
// Animated cursors do not exist here: null.
inline void* LoadAniCursor(void*, const TResID&) { return nullptr; }
// Default cursor, the box "Function not yet implemented", then the silent abort.
[[noreturn]] void NotImplemented();
// The framework's message dialog.
int MsgDlg(const AnsiString& Msg, TMsgDlgType AType, TMsgDlgButtons AButtons, int HelpCtx);
// A variant array of 2 values or more, the value itself for 1, empty for 0.
Variant MakeVariant(const Variant* Values, int Count);

// The cursor StartWait shows (the hour-glass at first).
extern TCursor WaitCursor;
// Nested: the first call shows the wait cursor, the StopWait that matches it restores the
// cursor the screen had; a StopWait without StartWait does nothing.
void StartWait();
void StopWait();
// The default system beep.
void Beep();
// The application's message box with these texts and flags; returns the box's result.
int MsgBox(const AnsiString& Caption, const AnsiString& Text, unsigned Flags);
