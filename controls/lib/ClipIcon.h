#pragma once
// Icons on the clipboard and icons drawn at their own size. On the clipboard an icon goes twice:
// as a picture for other programs (image/png) and as its icon-file bytes under the library's
// own format. Bytes read back (any program may have put them) are checked before use.

#include "platform/gui/Canvas.h"
#include "platform/gui/Icon.h"

// The library's clipboard format for icon files; pictures paste from it too (as an icon).
unsigned IconClipboardFormat();

// The icon on the clipboard, drawn over BackColor as a picture and as its file bytes.
void CopyIconToClipboard(TIcon* Icon, TColor BackColor);
// Loads the clipboard's icon into Icon; without one, or with bad bytes, Icon stays as it was.
void AssignClipboardIcon(TIcon* Icon);
// A new icon from the clipboard (the caller owns it); null without a good one.
TIcon* CreateIconFromClipboard();
// The icon's size; for an empty icon the system's standard icon size.
void GetIconSize(TIcon* Icon, unsigned& W, unsigned& H);
// A new icon of the one image of Icon that suits the display (see ChooseIconImage); the
// system's application icon for a stream of type 0; a copy of Icon for any other stream that is
// no icon file of images. Null for an empty icon. The caller frees it.
TIcon* CreateRealSizeIcon(TIcon* Icon);
// Draws that image at (X, Y) at its own size.
void DrawRealSizeIcon(TCanvas* Canvas, TIcon* Icon, int X, int Y);
