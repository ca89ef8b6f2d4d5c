#include "platform/gui/Caret.h"

#include <QWidget>

#include "platform/core/TimerService.h"
#include "platform/gui/WinControl.h"

namespace {

struct TCaret {
    TWinControl* owner = nullptr;
    int width = 0, height = 0;
    TPoint pos;
    int hideCount = 1;
    bool blinkOn = true;
    int timer = 0;
    ITimerService* service = nullptr;
};
TCaret gCaret;

TRect CaretRect() { return Bounds(gCaret.pos.x, gCaret.pos.y, gCaret.width, gCaret.height); }

void Repaint()
{
    if (gCaret.owner)
        gCaret.owner->InvalidateRect(CaretRect());
}

void StopBlink()
{
    if (gCaret.timer)
        gCaret.service->StopTimer(gCaret.timer);
    gCaret.timer = 0;
}

// Shown: on now, then blinking; hidden: no timer.
void Restart()
{
    StopBlink();
    gCaret.blinkOn = true;
    if (gCaret.owner && gCaret.hideCount == 0) {
        gCaret.service = &TimerService();
        gCaret.timer = gCaret.service->StartTimer(GetCaretBlinkTime(), [] {
            gCaret.blinkOn = !gCaret.blinkOn;
            Repaint();
        });
    }
    Repaint();
}

}  // namespace

unsigned GetCaretBlinkTime() { return 530; }

bool CreateCaret(TWinControl* window, int width, int height)
{
    if (!window)
        return false;
    DestroyCaret();
    gCaret.owner = window;
    gCaret.width = width > 0 ? width : 1;
    gCaret.height = height > 0 ? height : 1;
    gCaret.pos = TPoint{};
    gCaret.hideCount = 1;
    return true;
}

bool DestroyCaret()
{
    if (!gCaret.owner)
        return false;
    StopBlink();
    Repaint();
    gCaret = TCaret{};
    return true;
}

bool ShowCaret(TWinControl* window)
{
    if (!gCaret.owner || (window && window != gCaret.owner))
        return false;
    if (gCaret.hideCount > 0 && --gCaret.hideCount == 0)
        Restart();
    return true;
}

bool HideCaret(TWinControl* window)
{
    if (!gCaret.owner || (window && window != gCaret.owner))
        return false;
    if (gCaret.hideCount++ == 0) {
        StopBlink();
        Repaint();
    }
    return true;
}

bool SetCaretPos(int x, int y)
{
    if (!gCaret.owner)
        return false;
    if (gCaret.pos == TPoint{x, y})
        return true;
    Repaint();
    gCaret.pos = TPoint{x, y};
    if (gCaret.hideCount == 0)
        Restart();
    return true;
}

bool GetCaretPos(TPoint& point)
{
    if (!gCaret.owner)
        return false;
    point = gCaret.pos;
    return true;
}

bool VisibleCaretRect(const TWinControl* window, TRect& rect)
{
    if (!window || window != gCaret.owner || gCaret.hideCount != 0 || !gCaret.blinkOn)
        return false;
    rect = CaretRect();
    return true;
}

void ForgetCaretOwner(const TWinControl* window)
{
    if (window && window == gCaret.owner) {
        StopBlink();
        gCaret = TCaret{};
    }
}
