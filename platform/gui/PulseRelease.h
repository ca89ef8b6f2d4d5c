#pragma once
// Lets go of the sound library's streams and connections so that nothing is left on the server.
// A stream is closed on the server before it is freed, and the library refuses to close one the
// server has not yet answered for: such a stream is closed once the server answers, however soon
// it was let go. The objects are freed from the event loop: the library may be inside one of
// their callbacks.

#include <pulse/context.h>
#include <pulse/stream.h>

#include <QTimer>
#include <functional>
#include <vector>

class TPulseRelease {
public:
    // answered is told each time the server answers for a stream being closed.
    explicit TPulseRelease(std::function<void()> answered);
    // Frees at once what it still holds.
    ~TPulseRelease();
    TPulseRelease(const TPulseRelease&) = delete;
    TPulseRelease& operator=(const TPulseRelease&) = delete;

    // Takes the caller's reference: the stream is closed on the server as soon as it can be, then
    // freed. Its callbacks are the release's from now on.
    void CloseStream(pa_stream* stream);
    // Takes the caller's reference and closes the connection. The server drops every stream of a
    // connection that goes, so those still closing are freed with it.
    void CloseContext(pa_context* context);
    // Streams the server has not yet said are gone.
    size_t Closing() const { return FClosing.size(); }

private:
    static void ClosingState(pa_stream* stream, void* data);
    void End(pa_stream* stream);
    void Free(pa_stream* stream);
    // Hears nothing more of the stream and frees it at the next reaping.
    void Doom(pa_stream* stream);
    void Reap();

    std::function<void()> FAnswered;
    std::vector<pa_stream*> FClosing;
    std::vector<pa_stream*> FDoomedStreams;
    std::vector<pa_context*> FDoomedContexts;
    QTimer FReaper;
};
