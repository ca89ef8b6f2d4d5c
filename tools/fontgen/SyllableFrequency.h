#pragma once
// How often Korean text uses each syllable: a list of the most frequent syllables, most frequent
// first, one a line as "rank<TAB>syllable<TAB>count" (the syllable in UTF-8), "#" lines
// being comments. The fit weighs what a reader meets most, and the measure holds the most
// frequent to the strictest rule.

#include <string>
#include <vector>

// The syllables a reader meets on every screen: the first entries of the list.
constexpr int CommonSyllableCount = 300;

// Each syllable's place in the list (0 the most frequent, syllable-block order), or -1 for one
// the list lacks. Throws std::runtime_error for a file that cannot be read or a line that names
// no syllable.
std::vector<int> ReadSyllableRanks(const std::string& fileName);

// Whether each syllable is among the common ones.
std::vector<bool> CommonSyllables(const std::vector<int>& ranks);
