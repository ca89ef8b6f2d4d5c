#pragma once
// Which entries of a stored list a section holds. A list is stored as a count and one key per
// entry, the key's prefix followed by the entry's index ("Item0", "Button3", "Item2_Label"). An
// edited file may lack keys or claim more than it holds: a missing key reads as empty, and the
// list is read up to the highest index the section holds, never past its count, so a count far
// beyond the keys costs nothing.

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
