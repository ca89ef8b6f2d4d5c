#include "platform/gui/PendingEvents.h"

#include <QCoreApplication>

void ProcessPendingEventsWithoutInput()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
