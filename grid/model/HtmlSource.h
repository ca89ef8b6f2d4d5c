#pragma once
// The text the HTML engine lays out, taken from the front a word or a tag at a time. After every
// word the engine unwraps the first "<#" of what is left (UnwrapHashTag); the bytes that removes
// are skipped rather than erased, so a text of any length costs time linear in its length.

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"

class THtmlSource {
public:
    explicit THtmlSource(std::string_view Text);

    bool Empty() const { return FFront >= FText.size(); }
    // Where the front is: it only moves forward.
    size_t Position() const { return FFront; }
    // The next word: the text before the first "<" when no blank comes first, else up to and
    // including the first blank, else the whole text. End is where the word ends.
    AnsiString PeekWord(size_t& End) const;
    // Whether what is left starts with "<".
    bool AtTag() const { return !Empty() && FText[FFront] == '<'; }
    // The tag at the front through its first ">" (Closed), or the whole rest without one.
    AnsiString PeekTag(size_t& End, bool& Closed) const;
    // Takes everything before End (from PeekWord or PeekTag) off the front.
    void Consume(size_t End) { FFront = NextAlive(End); }
    // Drops the rest.
    void Clear() { FFront = FText.size(); }
    // The first "<#" of what is left loses its "<", and the first ">" after it goes.
    void UnwrapHashTag();
    // What is left, as text.
    AnsiString Rest() const;

private:
    // The first byte at or after i that has not been removed (the size when none).
    size_t NextAlive(size_t i) const;
    // The last byte before i that has not been removed, or npos.
    size_t PrevAlive(size_t i) const;
    size_t FirstGreaterFrom(size_t i);
    void Remove(size_t i);

    AnsiString FText;
    size_t FFront = 0;
    size_t FHashFrom = 0;  // no "<#" of what is left starts before this
    // The last answer of FirstGreaterFrom: the first ">" at or after FGtFrom is FGtAt.
    size_t FGtFrom = 0, FGtAt = std::string_view::npos;
    bool FGtKnown = false;
    // Removed bytes, as disjoint sets pointing past them; empty until the first removal.
    mutable std::vector<uint32_t> FNext, FPrev;
};
