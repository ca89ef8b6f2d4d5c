#include "controls/core/StoredList.h"

#include <algorithm>
#include <charconv>

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"

namespace {

// The index a key names after its prefix, or -1: digits as IntToStr makes them, then the end
// of the key or the tail.
int IndexAfterPrefix(std::string_view rest, std::string_view tail)
{
    size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9')
        ++digits;
    if (digits == 0 || (digits > 1 && rest[0] == '0'))
        return -1;
    const std::string_view after = rest.substr(digits);
    if (tail.empty() ? !after.empty() : !after.starts_with(tail))
        return -1;
    int index = -1;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + digits, index);
    return error == std::errc() && end == rest.data() + digits ? index : -1;
}

}  // namespace

std::vector<int> StoredListIndices(const TStrings& keys, std::string_view prefix, std::string_view tail)
{
    std::vector<int> indices;
    for (int i = 0; i < keys.Count(); ++i) {
        const AnsiString key = keys.Strings(i);
        if (key.size() <= prefix.size() || !SameText(std::string_view(key).substr(0, prefix.size()), prefix))
            continue;
        if (const int index = IndexAfterPrefix(std::string_view(key).substr(prefix.size()), tail); index >= 0)
            indices.push_back(index);
    }
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

int StoredListLength(const std::vector<int>& indices, int count)
{
    if (indices.empty() || count <= 0)
        return 0;
    return indices.back() < count ? indices.back() + 1 : count;
}

int DenseStoredListLength(const std::vector<int>& indices, int count)
{
    const int length = StoredListLength(indices, count);
    const auto present = std::lower_bound(indices.begin(), indices.end(), length) - indices.begin();
    if (length - present > kMaxMissingListEntries)
        throw EReadError("Stored list of " + IntToStr(length) + " entries holds only " +
                         IntToStr(static_cast<int>(present)));
    return length;
}

std::vector<AnsiString> ReadStoredList(int count, const std::function<std::optional<AnsiString>(int index)>& read)
{
    std::vector<AnsiString> entries;
    int missing = 0, present = 0, filled = 0;
    bool sawMissing = false, stopped = false;
    for (int i = 0; i < count && !stopped; ++i) {
        std::optional<AnsiString> text = read(i);
        const bool empty = !text || text->empty();
        if (!text)
            sawMissing = true;
        else
            present = i + 1;
        if (!empty)
            filled = i + 1;
        entries.push_back(text ? std::move(*text) : AnsiString());
        stopped = empty && ++missing > kMaxMissingListEntries;
    }
    entries.resize(static_cast<size_t>(stopped && !sawMissing ? filled : present));
    return entries;
}

int CountedStoredListLength(const std::vector<int>& indices, int count)
{
    if (count <= 0)
        return 0;
    const auto present = std::lower_bound(indices.begin(), indices.end(), count) - indices.begin();
    if (count - present > kMaxMissingListEntries)
        throw EReadError("Stored list of " + IntToStr(count) + " entries holds only " +
                         IntToStr(static_cast<int>(present)));
    return count;
}

int CountedStoredListLength(int count, const std::function<bool(int index)>& hasKeys)
{
    int missing = 0;
    for (int i = 0; i < count; ++i)
        if (!hasKeys(i) && ++missing > kMaxMissingListEntries)
            throw EReadError("Stored list of " + IntToStr(count) + " entries lacks more than " +
                             IntToStr(kMaxMissingListEntries) + " of them");
    return std::max(count, 0);
}
