#pragma once
// Beeps and sound files. Nothing here waits for the sound: the GUI thread never blocks. A hook
// lets tests see what would have sounded.

#include <cstdint>
#include <functional>

#include "platform/core/AnsiString.h"

// Sounds a tone of frequency hertz for durationMs milliseconds through the desktop's sound
// output, after the beeps before it; where there is no sound output, none that answers within a
// moment, or one that never plays it, the display's bell rings instead. As the system's beep: a
// length of 0 sounds nothing, and a pitch outside 37 to 32767 Hz sounds nothing and returns
// false; so does a beep while too many wait (TTonePlayer). owner is whoever asked: StopBeeps ends
// its tones and only its.
bool Beep(uint32_t frequency, uint32_t durationMs, const void* owner = nullptr);
// Cuts short the owner's tone and drops its waiting ones (a window that closes); another owner's
// tone, even one the output holds before it, is heard whole.
void StopBeeps(const void* owner);
bool MessageBeep(unsigned type);

enum : unsigned { SND_SYNC = 0x0000, SND_ASYNC = 0x0001, SND_NODEFAULT = 0x0002, SND_LOOP = 0x0008 };
// Plays a sound file (a stored path, cp949) in the background with the system's player; false
// when the file does not exist or no player is found. SND_SYNC is played in the background too.
bool sndPlaySound(const AnsiString& fileName, unsigned flags);

struct TSoundRequest {
    enum TKind { kBeep, kMessageBeep, kPlay, kStopBeeps } Kind;
    uint32_t Frequency = 0, Duration = 0;
    unsigned Type = 0;
    AnsiString FileName;
    const void* Owner = nullptr;
};
using TSoundHook = std::function<bool(const TSoundRequest& request)>;
// Replaces every sound by a call of the hook (null restores the sound); returns the old hook.
TSoundHook SetSoundHook(TSoundHook hook);
