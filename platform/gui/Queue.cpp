#include "platform/gui/Queue.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <deque>

#include "platform/gui/Application.h"

namespace {

std::deque<std::function<void()>> gQueue;
bool gScheduled = false;

void RunOne()
{
    std::function<void()> call = std::move(gQueue.front());
    gQueue.pop_front();
    try {
        if (call)
            call();
    } catch (...) {
        if (Application)
            Application->HandleException(nullptr);
        else
            throw;
    }
}

void Schedule()
{
    if (gScheduled || gQueue.empty() || !QCoreApplication::instance())
        return;
    gScheduled = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [] {
        gScheduled = false;
        // Only what was queued before this turn; later calls wait for the next turn.
        size_t n = gQueue.size();
        while (n-- > 0 && !gQueue.empty())
            RunOne();
        Schedule();
    });
}

}  // namespace

void QueueCall(std::function<void()> call)
{
    gQueue.push_back(std::move(call));
    Schedule();
}

void RunQueuedCalls()
{
    while (!gQueue.empty())
        RunOne();
}

bool PostToMainThread(std::function<void()> call)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    return QMetaObject::invokeMethod(
        app,
        [call = std::move(call)] {
            try {
                call();
            } catch (...) {
                if (Application)
                    Application->HandleException(nullptr);
            }
        },
        Qt::QueuedConnection);
}

bool IsMainThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}
