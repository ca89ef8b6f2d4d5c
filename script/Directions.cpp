// The movement words a character can type and the word for the opposite way.

#include "script/ScriptState.h"

namespace {

struct Direction {
    const char* Word;
    const char* Reverse;
};

// Korean compass words, up and down, the keypad digits and the English abbreviations.
constexpr Direction Directions[] = {
    {"\xBA\xCF", "\xB3\xB2"},  // north, south
    {"\xB3\xB2", "\xBA\xCF"},
    {"\xB5\xBF", "\xBC\xAD"},  // east, west
    {"\xBC\xAD", "\xB5\xBF"},
    {"\xBA\xCF\xB5\xBF", "\xB3\xB2\xBC\xAD"},  // north-east, south-west
    {"\xB3\xB2\xBC\xAD", "\xBA\xCF\xB5\xBF"},
    {"\xB3\xB2\xB5\xBF", "\xBA\xCF\xBC\xAD"},  // south-east, north-west
    {"\xBA\xCF\xBC\xAD", "\xB3\xB2\xB5\xBF"},
    {"\xB5\xBF\xBA\xCF", "\xBC\xAD\xB3\xB2"},  // east-north, west-south
    {"\xBC\xAD\xB3\xB2", "\xB5\xBF\xBA\xCF"},
    {"\xB5\xBF\xB3\xB2", "\xBC\xAD\xBA\xCF"},  // east-south, west-north
    {"\xBC\xAD\xBA\xCF", "\xB5\xBF\xB3\xB2"},
    {"\xC0\xA7", "\xB9\xD8"},  // up, down
    {"\xB9\xD8", "\xC0\xA7"},
    {"1", "9"},
    {"9", "1"},
    {"2", "8"},
    {"8", "2"},
    {"3", "7"},
    {"7", "3"},
    {"4", "6"},
    {"6", "4"},
    {"n", "s"},
    {"s", "n"},
    {"e", "w"},
    {"w", "e"},
    {"ne", "sw"},
    {"sw", "ne"},
    {"se", "nw"},
    {"nw", "se"},
    {"en", "ws"},
    {"ws", "en"},
    {"es", "wn"},
    {"wn", "es"},
    {"u", "d"},
    {"d", "u"},
};

}  // namespace

AnsiString TScriptState::ReverseDirection(std::string_view word) const
{
    // Lower-casing leaves two-byte characters alone; no blanks are trimmed.
    const AnsiString lower = LowerCase(word);
    for (const Direction& d : Directions)
        if (lower == d.Word)
            return d.Reverse;
    return {};
}
