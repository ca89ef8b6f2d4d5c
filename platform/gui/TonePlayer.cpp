#include "platform/gui/TonePlayer.h"

#include <pulse/context.h>
#include <pulse/stream.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <optional>
#include <vector>

#include "platform/core/ToneHistory.h"
#include "platform/core/ToneWave.h"
#include "platform/gui/PulseLoop.h"
#include "platform/gui/PulseRelease.h"

namespace {

// The server converts to its output's format; this one is the tones' own.
const TToneFormat kFormat{48000, 1, TToneFormat::kInt16};
// How much the server holds ahead of what it plays: enough that a program busy for a moment
// (a flood of text, a loaded machine) does not leave a gap in a tone. It asks for more each time
// part of it has been played, so a silent server is still noticed within kAnswerMs; a cut tone
// stops at once whatever it holds, as closing the output drops it; one among others' is silenced
// in place.
constexpr uint32_t kOutputBufferMs = 300;
// A tone is heard once the server has played this much of it (or all of a shorter one): a tone
// cut before that rings the bell when its output fails.
constexpr uint32_t kHeardMs = 20;
// How often the server is asked how far it has played, while an output is open.
constexpr int kPositionMs = 50;

struct TTone {
    uint32_t Frequency, DurationMs;
    const void* Owner;
};

}  // namespace

// All of it runs on the GUI thread: the client library's calls return at once (its events are
// the program's own, TPulseLoop) and it answers through the callbacks below. The tones that
// follow one another without a pause go through one output, which is drained and closed after
// the last; the connection to the server stays for the next tone. An answer is due from the
// server's last answer, or from when what was asked after it really left (the library's first
// turn with nothing left to send), and whatever the library still had to send and what the server
// sent are dealt with before the answer is judged late: a program busy for a while is not a
// silent server. Outputs and connections let go of are closed on the server (TPulseRelease), and
// the server is asked, while tones play, how far it has played: that, not what was written, says
// which tones a failing output leaves unheard.
struct TTonePlayer::TImpl {
    std::deque<TTone> Queue;
    std::function<void()> Bell;
    size_t Bells = 0;
    int AnswerMs = kAnswerMs;

    std::unique_ptr<TPulseLoop> Loop;
    pa_context* Context = nullptr;
    pa_stream* Stream = nullptr;
    // The tone being written into the output, and whose it is.
    std::optional<TToneWave> Wave;
    const void* FedOwner = nullptr;
    // Whose tones the output holds, for a stop of one owner's among others', and which of them
    // the server has played.
    TToneHistory History;
    bool Draining = false;
    size_t HeardTones = 0;
    // Asks the server how far it has played, one request at a time.
    std::unique_ptr<QTimer> Position;
    bool PositionAsked = false;
    // Closes on the server the outputs and connections let go of, and frees them.
    std::unique_ptr<TPulseRelease> Release;
    // Since the server last answered, or what was asked after it left (Left), while an answer
    // is due; checked by Watch.
    QElapsedTimer Heard;
    bool Left = false;
    std::unique_ptr<QTimer> Watch;
    std::function<void()> OnTurn;
    bool Started = false;

    size_t Pending() const { return Queue.size() + (Wave ? 1 : 0); }

    // Timers and the library's events belong to the running application; all goes with it.
    void Start()
    {
        if (Started)
            return;
        Started = true;
        Loop = std::make_unique<TPulseLoop>();
        Loop->SetOnTurn([this] { Turned(); });
        Watch = std::make_unique<QTimer>();
        QObject::connect(Watch.get(), &QTimer::timeout, [this] { Check(); });
        Position = std::make_unique<QTimer>();
        QObject::connect(Position.get(), &QTimer::timeout, [this] { AskPosition(); });
        Release = std::make_unique<TPulseRelease>([this] { Answered(); });
        qAddPostRoutine([] { TTonePlayer::Instance().F->Shutdown(); });
    }

    void Shutdown()
    {
        Queue.clear();
        CloseStream();
        Disconnect();
        Release.reset();  // before the events it frees go with the loop
        Watch.reset();
        Position.reset();
        Loop.reset();
        Started = false;
    }

    // An answer from the server is due to a request just made; the wait begins again once it left.
    void Expect()
    {
        Answered();
        if (!Watch->isActive())
            Watch->start(std::max(AnswerMs / 4, 10));
    }

    // The server answered: what is asked next is waited for from when it leaves.
    void Answered()
    {
        Heard.start();
        Left = false;
    }

    void Turned()
    {
        if (!Left && !Loop->Sending()) {
            Left = true;
            Heard.start();
        }
        if (OnTurn)
            OnTurn();
    }

    bool Expecting() const
    {
        return Stream || Release->Closing() > 0 || (Context && pa_context_get_state(Context) != PA_CONTEXT_READY);
    }
    bool Late() const { return Expecting() && Heard.elapsed() > AnswerMs; }

    void Check()
    {
        if (!Expecting()) {
            Watch->stop();
            return;
        }
        if (!Late())
            return;
        Loop->RunWaiting();
        if (Late())
            Fail();
    }

    // Tones go on: through the open output, else one opened for them, else a connection made.
    void Pump()
    {
        if (Queue.empty() || Stream || !Started)
            return;
        if (!Context)
            Connect();
        else if (pa_context_get_state(Context) == PA_CONTEXT_READY)
            Open();
    }

    void Connect()
    {
        const QByteArray name = QCoreApplication::applicationName().toUtf8();
        pa_context* context = pa_context_new(Loop->Api(), name.isEmpty() ? "beep" : name.constData());
        if (!context) {
            Fail();
            return;
        }
        Context = context;
        pa_context_set_state_callback(context, ContextState, this);
        Expect();
        // Never starts a server of its own: that would wait on it.
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 && Context == context)
            Fail();
    }

    static void ContextState(pa_context* context, void* data)
    {
        auto* self = static_cast<TImpl*>(data);
        if (context != self->Context)
            return;
        self->Answered();
        switch (pa_context_get_state(context)) {
        case PA_CONTEXT_READY: self->Pump(); break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED: self->Fail(); break;
        default: break;
        }
    }

    void Open()
    {
        const pa_sample_spec spec{PA_SAMPLE_S16NE, static_cast<uint32_t>(kFormat.SampleRate),
                                  static_cast<uint8_t>(kFormat.Channels)};
        pa_stream* stream = pa_stream_new(Context, "beep", &spec, nullptr);
        if (!stream) {
            Fail();
            return;
        }
        Stream = stream;
        Draining = false;
        History.Reset(2 * Bytes(kOutputBufferMs));
        pa_stream_set_state_callback(stream, StreamState, this);
        pa_stream_set_write_callback(stream, StreamWrite, this);
        const pa_buffer_attr attr{static_cast<uint32_t>(-1), Bytes(kOutputBufferMs), static_cast<uint32_t>(-1),
                                  static_cast<uint32_t>(-1), static_cast<uint32_t>(-1)};
        Expect();
        if (pa_stream_connect_playback(stream, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0 &&
            Stream == stream)
            Fail();
    }

    static uint32_t Bytes(uint32_t ms)
    {
        return static_cast<uint32_t>(kFormat.BytesPerFrame() * kFormat.SampleRate) / 1000 * ms;
    }

    static void StreamState(pa_stream* stream, void* data)
    {
        auto* self = static_cast<TImpl*>(data);
        if (stream != self->Stream)
            return;
        self->Answered();
        const pa_stream_state_t state = pa_stream_get_state(stream);
        if (state == PA_STREAM_READY) {
            // Twice what the server holds ahead, which may be more than was asked for.
            if (const pa_buffer_attr* attr = pa_stream_get_buffer_attr(stream))
                self->History.Reset(2 * std::max(Bytes(kOutputBufferMs), attr->tlength));
            self->Position->start(kPositionMs);
        } else if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED) {
            self->Fail();
        }
    }

    void AskPosition()
    {
        if (!Stream || PositionAsked || pa_stream_get_state(Stream) != PA_STREAM_READY)
            return;
        if (pa_operation* ask = pa_stream_update_timing_info(Stream, PositionKnown, this)) {
            PositionAsked = true;
            pa_operation_unref(ask);
        }
    }

    // The server played what it read from the output but for what its device still holds: a
    // tone counts as heard from that alone, never from what was written. Only progress is an
    // answer: an output that the server holds but no longer plays (its device suspended) is not.
    static void PositionKnown(pa_stream* stream, int success, void* data)
    {
        auto* self = static_cast<TImpl*>(data);
        if (stream != self->Stream)
            return;
        self->PositionAsked = false;
        const pa_timing_info* timing = success ? pa_stream_get_timing_info(stream) : nullptr;
        if (!timing || timing->read_index_corrupt || timing->read_index <= 0)
            return;
        const uint64_t frame = kFormat.BytesPerFrame();
        const uint64_t held = (timing->sink_usec * kFormat.SampleRate + 999999) / 1000000 * frame;
        const auto read = static_cast<uint64_t>(timing->read_index);
        self->Played(read > held ? read - held : 0);
    }

    void Played(uint64_t position)
    {
        if (position <= History.PlayedTo())
            return;
        Answered();
        HeardTones += History.Played(position, Bytes(kHeardMs));
    }

    static void StreamWrite(pa_stream* stream, size_t bytes, void* data)
    {
        auto* self = static_cast<TImpl*>(data);
        if (stream != self->Stream)
            return;
        self->Answered();
        self->Feed(bytes);
    }

    // The next piece of sound into out: the tone, then the tones after it.
    size_t Make(char* out, size_t size)
    {
        size_t made = 0;
        while (made < size) {
            bool starts = false;
            if (!Wave) {
                if (Queue.empty())
                    break;
                const TTone tone = Queue.front();
                Queue.pop_front();
                Wave.emplace(tone.Frequency, tone.DurationMs, kFormat);
                FedOwner = tone.Owner;
                starts = true;
            }
            const size_t read = Wave->Read(out + made, size - made);
            History.Add(FedOwner, starts, out + made, read);
            made += read;
            if (Wave->AtEnd())
                Wave.reset();
            else if (read == 0)
                break;  // no room for a whole frame
        }
        return made;
    }

    void Feed(size_t bytes)
    {
        if (Draining)
            return;
        void* data = nullptr;
        size_t size = bytes;
        if (pa_stream_begin_write(Stream, &data, &size) < 0 || !data) {
            Fail();
            return;
        }
        const size_t made = Make(static_cast<char*>(data), size);
        if (made > 0)
            pa_stream_write(Stream, data, made, nullptr, 0, PA_SEEK_RELATIVE);
        else
            pa_stream_cancel_write(Stream);
        Finish();
    }

    // All written: the output is closed once the server has played what it holds.
    void Finish()
    {
        if (!Stream || Draining || Wave || !Queue.empty())
            return;
        if (pa_stream_get_state(Stream) != PA_STREAM_READY) {
            CloseStream();  // nothing was written
            return;
        }
        Draining = true;
        if (pa_operation* drain = pa_stream_drain(Stream, Drained, this))
            pa_operation_unref(drain);
        else
            Fail();
    }

    // The server has played all the output held.
    static void Drained(pa_stream* stream, int success, void* data)
    {
        auto* self = static_cast<TImpl*>(data);
        if (stream != self->Stream)
            return;
        if (!success) {
            self->Fail();
            return;
        }
        self->Played(self->History.Written());
        self->CloseStream();
        self->Pump();
    }

    // Stops the output at once, with what it still holds; an answer is due that it is gone.
    void CloseStream()
    {
        if (!Stream)
            return;
        pa_stream* stream = std::exchange(Stream, nullptr);
        Wave.reset();
        Draining = false;
        PositionAsked = false;
        Position->stop();
        History.Reset(0);
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        Expect();
        Release->CloseStream(stream);
    }

    void Disconnect()
    {
        if (Context)
            Release->CloseContext(std::exchange(Context, nullptr));
    }

    // The server is not there, went, or did not answer in time: the tones it would have played
    // ring the bell, and the next tone asks it again. So do those the output took but the server
    // never said it played enough of (its sound device suspended, or the server gone, mid-tone).
    void Fail()
    {
        const size_t unplayed = Stream ? History.Unheard() : 0;
        CloseStream();
        Disconnect();
        const size_t missed = std::exchange(Queue, {}).size() + unplayed;
        Bells += missed;
        for (size_t i = 0; i < missed; ++i)
            if (Bell)
                Bell();
    }

    // The owner's waiting tones are dropped and what the output holds of its sound ends at once:
    // the output is closed when it holds nobody else's, else the owner's part is silenced in
    // place and the others' plays on.
    void Stop(const void* owner)
    {
        std::erase_if(Queue, [owner](const TTone& tone) { return tone.Owner == owner; });
        if (!Stream)
            return;
        if (Wave && FedOwner == owner)
            Wave.reset();
        if (History.OnlyOf(owner)) {
            CloseStream();
            Pump();
            return;
        }
        const std::vector<char> again = History.Silence(owner);
        if (!again.empty() &&
            pa_stream_write(Stream, again.data(), again.size(), nullptr, -static_cast<int64_t>(again.size()),
                            PA_SEEK_RELATIVE) < 0) {
            Fail();
            return;
        }
        Finish();
    }
};

TTonePlayer& TTonePlayer::Instance()
{
    static TTonePlayer player;
    return player;
}

TTonePlayer::TTonePlayer() : F(std::make_unique<TImpl>()) {}

TTonePlayer::~TTonePlayer()
{
    if (F->Started)
        F->Shutdown();
}

TTonePlayer::TResult TTonePlayer::Play(uint32_t frequency, uint32_t durationMs, const void* owner)
{
    if (!QCoreApplication::instance())
        return kNoOutput;
    if (F->Pending() > kMaxWaiting)
        return kQueueFull;
    F->Start();
    F->Queue.push_back({frequency, durationMs, owner});
    F->Pump();
    return kQueued;
}

void TTonePlayer::Stop(const void* owner) { F->Stop(owner); }

bool TTonePlayer::Playing() const { return F->Pending() > 0 || F->Stream; }

size_t TTonePlayer::Heard() const { return F->HeardTones; }

size_t TTonePlayer::Waiting() const { return F->Pending() > 0 ? F->Pending() - 1 : 0; }

size_t TTonePlayer::Bells() const { return F->Bells; }

void TTonePlayer::SetBell(std::function<void()> bell) { F->Bell = std::move(bell); }

void TTonePlayer::SetAnswerMs(int ms) { F->AnswerMs = std::max(ms, 1); }

void TTonePlayer::SetOnTurn(std::function<void()> turned) { F->OnTurn = std::move(turned); }

int TTonePlayer::OpenOutputs()
{
    const TImpl& f = *Instance().F;
    return static_cast<int>(f.Release ? f.Release->Closing() : 0) + (f.Stream ? 1 : 0);
}
