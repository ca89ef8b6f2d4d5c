#include "platform/gui/TonePlayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QIODevice>
#include <QMediaDevices>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "platform/core/ToneWave.h"

namespace {

int gOpenOutputs = 0;

QAudioFormat::SampleFormat QtSample(TToneFormat::TSample sample)
{
    switch (sample) {
    case TToneFormat::kUInt8: return QAudioFormat::UInt8;
    case TToneFormat::kInt16: return QAudioFormat::Int16;
    case TToneFormat::kInt32: return QAudioFormat::Int32;
    case TToneFormat::kFloat: return QAudioFormat::Float;
    }
    return QAudioFormat::Int16;
}

// The output's own format where the tone can be written in it (no conversion on the way), else
// 16-bit samples at its rate.
TToneFormat ToneFormatFor(const QAudioDevice& device)
{
    const QAudioFormat preferred = device.preferredFormat();
    TToneFormat format;
    format.SampleRate = preferred.sampleRate() > 0 ? preferred.sampleRate() : 48000;
    format.Channels = preferred.channelCount() > 0 ? preferred.channelCount() : 1;
    switch (preferred.sampleFormat()) {
    case QAudioFormat::UInt8: format.Sample = TToneFormat::kUInt8; break;
    case QAudioFormat::Int32: format.Sample = TToneFormat::kInt32; break;
    case QAudioFormat::Float: format.Sample = TToneFormat::kFloat; break;
    default: format.Sample = TToneFormat::kInt16; break;
    }
    return format;
}

QAudioFormat QtFormat(const TToneFormat& format)
{
    QAudioFormat qt;
    qt.setSampleRate(format.SampleRate);
    qt.setChannelCount(format.Channels);
    qt.setSampleFormat(QtSample(format.Sample));
    return qt;
}

// How much an output holds ahead of what it plays: the timer below refills it long before it
// runs dry, even with the event loop busy for a while.
constexpr uint32_t kOutputBufferMs = 100;
constexpr int kFeedEveryMs = 10;
// Silence after the last tone, so that what the sound system holds beyond the output's buffer
// has been played when the output is stopped (stopping drops what is still held).
constexpr uint32_t kSilenceAfterMs = 50;
// An output that takes no sample for this long has stalled (a sound server that went): it is
// closed there. A server may hold a new stream's first samples for a couple of seconds.
constexpr qint64 kStalledMs = 5000;

struct TTone {
    uint32_t Frequency, DurationMs;
};

// The tones that follow one another without a pause, through one output: written as the output
// has room, from a timer of the event loop (never waiting on the output), then silence; closed
// once the output has played all of it. next() gives the tone after the one that ended, if any.
class TToneOutput : public QObject {
public:
    TToneOutput(const QAudioDevice& device, TTone first, std::function<std::optional<TTone>()> next,
                std::function<void()> closed, QObject* parent)
        : QObject(parent), FFormat(ToneFormatFor(device)), FTone(first.Frequency, first.DurationMs, FFormat),
          FSilence(0, kSilenceAfterMs, FFormat), FNext(std::move(next)), FClosed(std::move(closed))
    {
        ++gOpenOutputs;
        FSink = new QAudioSink(device, QtFormat(FFormat), this);
        FSink->setBufferSize(static_cast<qsizetype>(FFormat.BytesPerFrame()) * FFormat.SampleRate *
                             static_cast<qsizetype>(kOutputBufferMs) / 1000);
        FInto = FSink->start();
        FSinceTaken.start();
        QObject::connect(&FTimer, &QTimer::timeout, this, [this] { Feed(); });
        // The first samples go at the first tick: the caller of Play goes on at once.
        FTimer.start(kFeedEveryMs);
    }
    ~TToneOutput() override { --gOpenOutputs; }

private:
    // The next piece of sound into out: the tone, the tones after it, then the silence.
    size_t Make(char* out, size_t size)
    {
        size_t made = FTone.Read(out, size);
        while (made < size && FTone.AtEnd() && !FLastTone) {
            if (const std::optional<TTone> tone = FNext())
                FTone = TToneWave(tone->Frequency, tone->DurationMs, FFormat);
            else
                FLastTone = true;
            made += FTone.Read(out + made, size - made);
        }
        if (FLastTone)
            made += FSilence.Read(out + made, size - made);
        return made;
    }

    void Feed()
    {
        if (!FInto || FSink->error() != QAudio::NoError || FSinceTaken.elapsed() > kStalledMs) {
            Close();
            return;
        }
        const qsizetype free = FSink->bytesFree();
        if (free != FFree) {
            FFree = free;
            FSinceTaken.start();
        }
        const auto frameBytes = static_cast<qsizetype>(FFormat.BytesPerFrame());
        for (qsizetype room = free / frameBytes * frameBytes; room > 0 && !FSilence.AtEnd();) {
            FPiece.resize(static_cast<size_t>(std::min<qsizetype>(room, 16384)));
            const size_t made = Make(FPiece.data(), FPiece.size());
            const qint64 written = FInto->write(FPiece.data(), static_cast<qint64>(made));
            if (written < static_cast<qint64>(made))
                break;  // the output took less than it said it had room for: Close drops it
            room -= written;
        }
        // All written, and the output's buffer empty again: it has all been played.
        if (FSilence.AtEnd() && FSink->bytesFree() >= FSink->bufferSize())
            Close();
    }

    void Close()
    {
        FTimer.stop();
        FSink->stop();
        deleteLater();
        if (auto closed = std::exchange(FClosed, nullptr))
            closed();
    }

    TToneFormat FFormat;
    TToneWave FTone, FSilence;
    bool FLastTone = false;
    std::function<std::optional<TTone>()> FNext;
    std::function<void()> FClosed;
    QAudioSink* FSink = nullptr;
    QIODevice* FInto = nullptr;
    QTimer FTimer;
    std::vector<char> FPiece;
    // The output's free room when it last changed, and since when it has not.
    qsizetype FFree = -1;
    QElapsedTimer FSinceTaken;
};

}  // namespace

struct TTonePlayer::TImpl {
    std::deque<TTone> Queue;
    // The output belongs to a holder that the application owns, so tones still playing when
    // the application goes are freed with it, before the sound system's own objects.
    QPointer<QObject> Holder;
    QPointer<TToneOutput> Output;

    std::optional<TTone> Next()
    {
        if (Queue.empty())
            return std::nullopt;
        const TTone tone = Queue.front();
        Queue.pop_front();
        return tone;
    }

    void Open()
    {
        if (Output || Queue.empty())
            return;
        if (!Holder)
            Holder = new QObject(QCoreApplication::instance());
        const TTone first = *Next();
        // Tones asked for once the last one's silence has begun get an output of their own,
        // opened from the event loop once this one has closed.
        Output = new TToneOutput(
            QMediaDevices::defaultAudioOutput(), first, [this] { return Next(); },
            [this] {
                Output = nullptr;
                QTimer::singleShot(0, Holder, [this] { Open(); });
            },
            Holder);
    }
};

TTonePlayer& TTonePlayer::Instance()
{
    static TTonePlayer player;
    return player;
}

TTonePlayer::TTonePlayer() : F(std::make_unique<TImpl>()) {}

TTonePlayer::~TTonePlayer() = default;

TTonePlayer::TResult TTonePlayer::Play(uint32_t frequency, uint32_t durationMs)
{
    if (!QCoreApplication::instance() || QMediaDevices::defaultAudioOutput().isNull())
        return kNoOutput;
    if (F->Queue.size() >= kMaxWaiting)
        return kQueueFull;
    F->Queue.push_back({frequency, durationMs});
    F->Open();
    return kQueued;
}

bool TTonePlayer::Playing() const { return !F->Output.isNull(); }

size_t TTonePlayer::Waiting() const { return F->Queue.size(); }

int TTonePlayer::OpenOutputs() { return gOpenOutputs; }
