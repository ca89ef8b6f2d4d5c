#include "platform/gui/Queue.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <deque>

#include "platform/gui/Application.h"
#include "platform/gui/Controls.h"

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

namespace {

struct TPosted {
    uint64_t Serial;
    TControl* Target;
    TMsg Msg;
};
std::deque<TPosted> gPosted;
uint64_t gNextSerial = 0;

}  // namespace

void PostMessage(TControl* control, unsigned Msg, WPARAM WParam, LPARAM LParam)
{
    if (!control)
        return;
    const uint64_t serial = ++gNextSerial;
    gPosted.push_back({serial, control, TMsg{dynamic_cast<TWinControl*>(control), Msg, WParam, LParam}});
    QueueCall([serial] {
        auto it =
            std::find_if(gPosted.begin(), gPosted.end(), [serial](const TPosted& p) { return p.Serial == serial; });
        if (it == gPosted.end())
            return;  // removed, or its control was freed
        TPosted posted = *it;
        gPosted.erase(it);
        if (Application && Application->HookMessage(posted.Msg))
            return;
        posted.Target->Perform(posted.Msg.message, posted.Msg.wParam, posted.Msg.lParam);
    });
}

bool RemovePostedMessage(TControl* control, unsigned Msg, TMsg* removed)
{
    auto it = std::find_if(gPosted.begin(), gPosted.end(),
                           [&](const TPosted& p) { return p.Target == control && p.Msg.message == Msg; });
    if (it == gPosted.end())
        return false;
    if (removed)
        *removed = it->Msg;
    gPosted.erase(it);
    return true;
}

void ForgetPostedMessages(TControl* control)
{
    std::erase_if(gPosted, [control](const TPosted& p) { return p.Target == control; });
}
