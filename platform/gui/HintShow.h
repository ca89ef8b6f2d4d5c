#pragma once
// The application's hint for a control under the pointer. When the pointer rests on a control
// that shows hints, the control is asked with CM_HINTSHOW (LParam: a THintInfo) what to show
// there: it may change the text, the place and the colour per position, take the hint over
// (Own) or refuse it (a non-zero result). A hint a control took over shows in the application's
// hint window until CancelHint, the pointer leaving the control, or another hint.

#include "platform/core/Colors.h"
#include "platform/core/Geometry.h"
#include "platform/gui/Messages.h"

class TControl;

enum : unsigned { CM_HINTSHOW = CM_BASE + 48 };

struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint CursorPos;    // client coordinates of the pointer
    AnsiString HintStr;  // preset to the control's short hint
    TPoint HintPos;      // screen coordinates of the hint's top-left corner
    TColor HintColor = clInfoBk;
    bool Own = false;  // set by a control that answers per position
};

// Shows the text at the info's place in its colour (an empty text hides the hint).
void ShowHintInfo(const THintInfo& Info);
// Hides the hint shown; the next rest of the pointer asks again.
void CancelHint();
// What the hint window shows now: its text (empty when hidden) and its screen rectangle.
AnsiString ShownHint();
TRect ShownHintRect();
// The control the shown hint belongs to (null when none).
TControl* ShownHintControl();
