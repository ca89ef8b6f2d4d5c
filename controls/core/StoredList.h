#pragma once
// Which entries of a stored list a section holds. A list is stored as a count and one key per
// entry, the key's prefix followed by the entry's index ("Item0", "Button3", "Item2_Label"). An
// edited file may lack keys or claim more than it holds: a missing key reads as empty, and the
// list is read up to the highest index the section holds, never past its count, so a count far
// beyond the keys costs nothing. Where the store cannot list a section's keys, the list is read
// key by key and the missing entries are counted while reading, under the same bound. A list
// that makes one entry per stored count whatever keys it holds (a collection's items) is
// refused when too many of those entries would have no key.

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"

class TStrings;

// The indices, ascending and each once, that the key names give for the prefix (ignoring
// case): the prefix, the index as a writer formats it ("7", not "07" or "+7"), then nothing,
// or `tail` and more when a tail is given.
std::vector<int> StoredListIndices(const TStrings& keys, std::string_view prefix, std::string_view tail = {});

// The number of entries, from index 0, read of a list stored with `count`: one past the highest
// index present, never more than the count; 0 for a list without entries.
int StoredListLength(const std::vector<int>& indices, int count);

// Entries a list may gain from missing keys: each costs memory a file line does not pay for.
constexpr int kMaxMissingListEntries = 65536;
// The length of a list whose missing entries each make an entry of their own (a line, an item);
// raises EReadError when more than kMaxMissingListEntries of them are missing.
int DenseStoredListLength(const std::vector<int>& indices, int count);

// The entries of a list stored with `count`, read key by key from a store that cannot list its
// keys: `read` gives entry i's text, or nothing when its key is missing. Reading stops at the
// count, or once more than kMaxMissingListEntries entries have read as missing or empty (an
// empty text counts too, for a store that answers a missing key with one). The list ends after
// the last entry present, as one read up to the highest index a section holds does; when the
// reading stopped early and no key ever read as missing, an empty text tells nothing, and the
// list ends after the last entry with text. Empty when no entry is present.
std::vector<AnsiString> ReadStoredList(int count, const std::function<std::optional<AnsiString>(int index)>& read);

// The length of a list that makes one entry per stored count whatever keys it holds (a
// collection's items): the count, 0 when below. EReadError when more than
// kMaxMissingListEntries of those entries have no key: counted from the section's indices, or,
// from a store that cannot list its keys, while asking `hasKeys` for each entry in turn, so a
// refused count costs no more questions than the bound.
int CountedStoredListLength(const std::vector<int>& indices, int count);
int CountedStoredListLength(int count, const std::function<bool(int index)>& hasKeys);
