#include "grid/model/HtmlSource.h"

#include <limits>

namespace {

constexpr size_t npos = std::string_view::npos;

// The root of i in a disjoint-set forest, with the path to it shortened.
size_t Root(std::vector<uint32_t>& up, size_t i)
{
    size_t root = i;
    while (up[root] != root)
        root = up[root];
    while (up[i] != root) {
        const size_t next = up[i];
        up[i] = static_cast<uint32_t>(root);
        i = next;
    }
    return root;
}

}  // namespace

THtmlSource::THtmlSource(std::string_view Text) : FText(Text)
{
    // Positions are kept in 32 bits once bytes are removed.
    if (FText.size() >= std::numeric_limits<uint32_t>::max())
        FText.resize(std::numeric_limits<uint32_t>::max() - 1);
}

size_t THtmlSource::NextAlive(size_t i) const
{
    if (FNext.empty() || i >= FText.size())
        return std::min(i, FText.size());
    return Root(FNext, i);
}

size_t THtmlSource::PrevAlive(size_t i) const
{
    // FPrev is shifted by one: entry k stands for byte k - 1, entry 0 for "none".
    if (i == 0)
        return npos;
    if (FPrev.empty())
        return i - 1;
    const size_t root = Root(FPrev, i);
    return root == 0 ? npos : root - 1;
}

void THtmlSource::Remove(size_t i)
{
    if (FNext.empty()) {
        FNext.resize(FText.size() + 1);
        FPrev.resize(FText.size() + 1);
        for (size_t k = 0; k <= FText.size(); ++k)
            FNext[k] = FPrev[k] = static_cast<uint32_t>(k);
    }
    FNext[i] = static_cast<uint32_t>(i + 1);
    FPrev[i + 1] = static_cast<uint32_t>(i);
}

AnsiString THtmlSource::PeekWord(size_t& End) const
{
    AnsiString word;
    size_t i = FFront;
    for (; i < FText.size(); i = NextAlive(i + 1)) {
        const char c = FText[i];
        if (c == '<')
            break;
        word += c;
        if (c == ' ') {
            i = i + 1;
            break;
        }
    }
    End = i;
    return word;
}

AnsiString THtmlSource::PeekTag(size_t& End, bool& Closed) const
{
    AnsiString tag;
    Closed = false;
    size_t i = FFront;
    for (; i < FText.size(); i = NextAlive(i + 1)) {
        tag += FText[i];
        if (FText[i] == '>' && i != FFront) {
            Closed = true;
            ++i;
            break;
        }
    }
    End = i;
    return tag;
}

size_t THtmlSource::FirstGreaterFrom(size_t i)
{
    // The answers move forward with the front, so each byte is looked at about once.
    size_t from = i;
    if (FGtKnown && i >= FGtFrom) {
        if (FGtAt == npos)
            return npos;
        if (FGtAt >= i && NextAlive(FGtAt) == FGtAt)
            return FGtAt;
        from = std::max(i, FGtAt);
    }
    size_t k = NextAlive(from);
    while (k < FText.size() && FText[k] != '>')
        k = NextAlive(k + 1);
    FGtKnown = true;
    FGtFrom = i;
    FGtAt = k < FText.size() ? k : npos;
    return FGtAt;
}

void THtmlSource::UnwrapHashTag()
{
    size_t p = NextAlive(std::max(FHashFrom, FFront));
    while (p < FText.size()) {
        const size_t q = NextAlive(p + 1);
        if (q >= FText.size()) {
            p = FText.size();
            break;
        }
        if (FText[p] == '<' && FText[q] == '#')
            break;
        p = q;
    }
    FHashFrom = p;
    if (p >= FText.size())
        return;
    const size_t gt = FirstGreaterFrom(p + 1);
    Remove(p);
    if (gt != npos)
        Remove(gt);
    // A removal may join a "<" before it with a "#" after it.
    const size_t before = PrevAlive(p);
    FHashFrom = before == npos || before < FFront ? FFront : before;
    if (p == FFront)
        FFront = NextAlive(p);
}

AnsiString THtmlSource::Rest() const
{
    AnsiString rest;
    for (size_t i = FFront; i < FText.size(); i = NextAlive(i + 1))
        rest += FText[i];
    return rest;
}
