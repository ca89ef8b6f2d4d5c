#include "script/CallTail.h"

// Indexes count from the text's end: index 0 is its last byte. Read from a '(' leftwards in the
// stored order (towards the text's end), the depth after a byte is the '(' balance at the '('
// minus the balance just before that byte, so the matching ')' follows the last earlier index
// with the same balance as the '('.

TCallTail::TCallTail(size_t reserve)
{
    FBytes.reserve(reserve);
    FBalance.reserve(reserve);
    FPrevSame.reserve(reserve);
    FNearestOpen.reserve(reserve);
    FClose.reserve(reserve);
}

int32_t& TCallTail::LastWithBalance(int32_t balance)
{
    std::vector<int32_t>& side = balance >= 0 ? FLastNonNegative : FLastNegative;
    const size_t slot = balance >= 0 ? static_cast<size_t>(balance) : static_cast<size_t>(-(balance + 1));
    if (slot >= side.size())
        side.resize(slot + 1, -2);
    return side[slot];
}

void TCallTail::Push(char b)
{
    const auto k = static_cast<int32_t>(FBytes.size());
    const int32_t below = k > 0 ? FBalance.back() : 0;
    const int32_t balance = below + (b == '(') - (b == ')');
    int32_t& last = LastWithBalance(balance);
    FBytes.push_back(b);
    FBalance.push_back(balance);
    FClose.push_back(b == '(' && last != -2 ? last + 1 : -1);
    FNearestOpen.push_back(b == '(' ? k : (k > 0 ? FNearestOpen.back() : -1));
    FPrevSame.push_back(last);
    last = k;
}

void TCallTail::PushText(std::string_view text)
{
    for (size_t i = text.size(); i-- > 0;)
        Push(text[i]);
}

void TCallTail::Pop(size_t n)
{
    for (; n > 0 && !FBytes.empty(); --n) {
        LastWithBalance(FBalance.back()) = FPrevSame.back();
        FBytes.pop_back();
        FBalance.pop_back();
        FPrevSame.pop_back();
        FNearestOpen.pop_back();
        FClose.pop_back();
    }
}

AnsiString TCallTail::Text(size_t from, size_t to) const
{
    AnsiString out;
    if (to > Size())
        to = Size();
    if (from >= to)
        return out;
    out.assign(FBytes.rbegin() + static_cast<std::ptrdiff_t>(from), FBytes.rbegin() + static_cast<std::ptrdiff_t>(to));
    return out;
}

bool TCallTail::NextCall(TCall& call) const
{
    if (FBytes.empty())
        return false;
    const auto top = static_cast<int32_t>(FBytes.size()) - 1;
    const int32_t open = FNearestOpen.back();
    if (open < 0 || FClose[static_cast<size_t>(open)] < 0)
        return false;
    call.Open = static_cast<size_t>(top - open);
    call.Close = static_cast<size_t>(top - FClose[static_cast<size_t>(open)]);
    return true;
}
