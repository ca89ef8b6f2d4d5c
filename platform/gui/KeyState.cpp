#include "platform/gui/KeyState.h"

#include <QGuiApplication>

#include "platform/core/VirtualKeys.h"
#include "platform/gui/KeyBridge.h"

int16_t GetKeyState(int VirtKey)
{
    constexpr int16_t kDown = static_cast<int16_t>(0x8000);
    TShiftState shift = CurrentKeyShift();
    if (QGuiApplication::instance()) {
        const TShiftState now = ModifiersToShiftState(QGuiApplication::queryKeyboardModifiers());
        for (TShiftStateFlag f : {ssShift, ssCtrl, ssAlt})
            if (now.Contains(f))
                shift << f;
    }
    const Qt::MouseButtons buttons = QGuiApplication::instance() ? QGuiApplication::mouseButtons() : Qt::NoButton;
    switch (VirtKey) {
    case VK_SHIFT: return shift.Contains(ssShift) ? kDown : 0;
    case VK_CONTROL: return shift.Contains(ssCtrl) ? kDown : 0;
    case VK_MENU: return shift.Contains(ssAlt) ? kDown : 0;
    case VK_LBUTTON: return (buttons & Qt::LeftButton) ? kDown : 0;
    case VK_RBUTTON: return (buttons & Qt::RightButton) ? kDown : 0;
    case VK_MBUTTON: return (buttons & Qt::MiddleButton) ? kDown : 0;
    default: return NotedKeyState(VirtKey);
    }
}
