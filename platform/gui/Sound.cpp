#include "platform/gui/Sound.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "platform/core/StoredPath.h"
#include "platform/core/ToneWave.h"
#include "platform/gui/TonePlayer.h"

namespace {

TSoundHook gHook;

void Bell()
{
    if (QApplication::instance())
        QApplication::beep();
}

}  // namespace

TSoundHook SetSoundHook(TSoundHook hook)
{
    TSoundHook old = std::move(gHook);
    gHook = std::move(hook);
    return old;
}

bool Beep(uint32_t frequency, uint32_t durationMs, const void* owner)
{
    if (gHook)
        return gHook(TSoundRequest{TSoundRequest::kBeep, frequency, durationMs, 0, {}, owner});
    // As the system's beep: a pitch it does not take fails, a length of 0 sounds nothing.
    if (!BeepPitchAccepted(frequency))
        return false;
    if (durationMs == 0)
        return true;
    TTonePlayer& player = TTonePlayer::Instance();
    player.SetBell(Bell);
    switch (player.Play(frequency, durationMs, owner)) {
    case TTonePlayer::kQueued: return true;
    case TTonePlayer::kQueueFull: return false;
    case TTonePlayer::kNoOutput: break;
    }
    Bell();
    return true;
}

void StopBeeps(const void* owner)
{
    if (gHook)
        gHook(TSoundRequest{TSoundRequest::kStopBeeps, 0, 0, 0, {}, owner});
    else
        TTonePlayer::Instance().Stop(owner);
}

bool MessageBeep(unsigned type)
{
    if (gHook)
        return gHook(TSoundRequest{TSoundRequest::kMessageBeep, 0, 0, type, {}});
    Bell();
    return true;
}

bool sndPlaySound(const AnsiString& fileName, unsigned flags)
{
    if (gHook)
        return gHook(TSoundRequest{TSoundRequest::kPlay, 0, 0, flags, fileName});
    QString path = QString::fromStdString(NativePath(fileName));
    if (!QFileInfo::exists(path))
        return false;
    for (const char* player : {"paplay", "aplay"}) {
        QString exe = QStandardPaths::findExecutable(QString::fromLatin1(player));
        if (exe.isEmpty())
            continue;
        QStringList args;
        if (QLatin1String(player) == QLatin1String("aplay"))
            args << QStringLiteral("-q");
        args << path;
        return QProcess::startDetached(exe, args);
    }
    return false;
}
