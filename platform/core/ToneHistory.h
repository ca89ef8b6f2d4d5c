#pragma once
// What a sound output was lately given: whose tone each stretch of it is, the bytes themselves,
// and how far the server says it has played. An output plays what it holds in order, so one
// owner's part of it is silenced in place by writing the stretch again: the owner's bytes as
// silence, everyone else's as they were. A tone counts as heard once the server has played
// enough of it; the others are what a failing output leaves unheard.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

class TToneHistory {
public:
    // Keeps the latest keepBytes at least: more than the output may hold unplayed.
    explicit TToneHistory(size_t keepBytes = 0) : FKeep(keepBytes) {}
    // Forgets all, for a new output.
    void Reset(size_t keepBytes);

    // size bytes written after the others, of owner's tone: a new tone when startsTone, else the
    // one before it continued.
    void Add(const void* owner, bool startsTone, const char* data, size_t size);
    // Bytes written since the reset.
    uint64_t Written() const { return FWritten; }
    // The server has played the first `position` bytes written: a tone of which it played
    // enoughBytes (or all, when it is shorter) is heard. Returns how many tones this made heard.
    size_t Played(uint64_t position, uint64_t enoughBytes);
    // How far the server has played, as it last said.
    uint64_t PlayedTo() const { return FPlayed; }
    // Tones written but not heard, but for those silenced: what a failing output leaves unheard.
    size_t Unheard() const;
    // The kept bytes hold some of owner's sound and nobody else's.
    bool OnlyOf(const void* owner) const;
    // The kept bytes from the first of owner's sound to the end, owner's turned to silence (zero
    // bytes); empty when none of owner's is kept. They are kept so: owner has no sound here any
    // more.
    std::vector<char> Silence(const void* owner);

private:
    struct TStretch {
        const void* Owner;
        uint64_t Start, End;
        bool Silent;
        bool Heard;
    };
    uint64_t KeptFrom() const { return FWritten - FBytes.size(); }

    size_t FKeep;
    uint64_t FWritten = 0;
    uint64_t FPlayed = 0;
    std::deque<char> FBytes;  // the last bytes written, up to FWritten
    // From the first tone not yet heard or not yet older than the kept bytes.
    std::deque<TStretch> FStretches;
};
