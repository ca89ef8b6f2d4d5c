#include "platform/gui/PulseRelease.h"

#include <algorithm>
#include <utility>

TPulseRelease::TPulseRelease(std::function<void()> answered) : FAnswered(std::move(answered))
{
    FReaper.setSingleShot(true);
    QObject::connect(&FReaper, &QTimer::timeout, [this] { Reap(); });
}

TPulseRelease::~TPulseRelease()
{
    for (pa_stream* stream : std::exchange(FClosing, {}))
        Doom(stream);
    Reap();
}

void TPulseRelease::CloseStream(pa_stream* stream)
{
    pa_stream_set_write_callback(stream, nullptr, nullptr);
    pa_stream_set_state_callback(stream, ClosingState, this);
    FClosing.push_back(stream);
    End(stream);
}

void TPulseRelease::ClosingState(pa_stream* stream, void* data)
{
    auto* self = static_cast<TPulseRelease*>(data);
    if (self->FAnswered)
        self->FAnswered();
    self->End(stream);
}

void TPulseRelease::End(pa_stream* stream)
{
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_CREATING: return;  // closed when the server has answered for it
    case PA_STREAM_READY:
        if (pa_stream_disconnect(stream) == 0)
            return;  // gone when the server says so
        break;
    default: break;  // never made, failed or gone
    }
    Free(stream);
}

void TPulseRelease::Free(pa_stream* stream)
{
    const auto at = std::find(FClosing.begin(), FClosing.end(), stream);
    if (at == FClosing.end())
        return;
    FClosing.erase(at);
    Doom(stream);
    FReaper.start(0);
}

void TPulseRelease::Doom(pa_stream* stream)
{
    pa_stream_set_state_callback(stream, nullptr, nullptr);
    FDoomedStreams.push_back(stream);
}

void TPulseRelease::CloseContext(pa_context* context)
{
    for (pa_stream* stream : std::exchange(FClosing, {}))
        Doom(stream);
    pa_context_set_state_callback(context, nullptr, nullptr);
    pa_context_disconnect(context);
    FDoomedContexts.push_back(context);
    FReaper.start(0);
}

void TPulseRelease::Reap()
{
    for (pa_stream* stream : std::exchange(FDoomedStreams, {}))
        pa_stream_unref(stream);
    for (pa_context* context : std::exchange(FDoomedContexts, {}))
        pa_context_unref(context);
}
