#include "platform/gui/Foreground.h"

#include <QApplication>

namespace {

std::function<bool()> gHook;

}  // namespace

bool IsForegroundTask()
{
    if (gHook)
        return gHook();
    return QApplication::instance() && QApplication::activeWindow() != nullptr;
}

std::function<bool()> SetForegroundTaskHook(std::function<bool()> hook)
{
    std::function<bool()> old = std::move(gHook);
    gHook = std::move(hook);
    return old;
}
