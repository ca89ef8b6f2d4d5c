#pragma once
// The part of a text right of a right-to-left scan point, for expanding "%name(args)" calls.
// The bytes are kept reversed (the byte just right of the point last), each with what a call's
// scan needs: the nearest '(' to its right and, for a '(', where its matching ')' lies. Pushing
// or popping a byte costs the same whatever the text holds, so a whole expansion pass is linear
// in the text plus what the calls return, and a text of unmatched "%(" cannot make it quadratic.

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"

class TCallTail {
public:
    // The call just right of the point, as offsets from the point: the '(' that follows the
    // name and the ')' that matches it.
    struct TCall {
        size_t Open;
        size_t Close;
    };

    explicit TCallTail(size_t reserve = 0);
    // b becomes the byte just right of the point.
    void Push(char b);
    // Pushes text so that it reads in order right of the point.
    void PushText(std::string_view text);
    // Drops the n bytes right of the point.
    void Pop(size_t n);
    size_t Size() const { return FBytes.size(); }
    // The byte at offset i right of the point (0 is the nearest).
    char At(size_t i) const { return FBytes[FBytes.size() - 1 - i]; }
    // The bytes from offset from up to (not including) offset to, in reading order.
    AnsiString Text(size_t from, size_t to) const;
    // The first '(' right of the point and its matching ')', counting nested brackets; false
    // when there is no '(' or it is never closed.
    bool NextCall(TCall& call) const;
    // The whole tail in reading order.
    AnsiString Text() const { return Text(0, Size()); }

private:
    // Index of the last byte whose bracket balance is `balance`, kept for every balance value.
    int32_t& LastWithBalance(int32_t balance);

    std::vector<char> FBytes;
    std::vector<int32_t> FBalance;      // '(' minus ')' from the text's end through this byte
    std::vector<int32_t> FPrevSame;     // the index before this one with the same balance, or -2
    std::vector<int32_t> FNearestOpen;  // index of the nearest '(' at or right of this byte, or -1
    std::vector<int32_t> FClose;        // for a '(': index of its matching ')', or -1
    // Last index per balance value; -1 stands before the text's end (balance 0), -2 for none.
    std::vector<int32_t> FLastNonNegative{-1};
    std::vector<int32_t> FLastNegative;
};

// What one expansion pass still allows: the bytes the tail may grow to, the call text it may
// still hand to functions, and whether a call was left out for either.
struct TCallLimits {
    size_t Room;
    size_t Budget;
    bool Cut;
};
