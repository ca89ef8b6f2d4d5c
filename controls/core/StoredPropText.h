#pragma once
// The text forms of simple properties in stored settings, by kind. Integers are decimal; a
// character is itself (a wide character as its cp949 text, so a Hangul syllable is its two
// bytes); a float carries "." whatever the locale and as many significant digits as its float
// type holds (single 7, double 15, extended and comp 18, currency 19), but never more than the
// value itself has: a value held as a double is written with the digits that read back as that
// double ("0.1", not "0.100000000000000006"), and more where fewer would round past the largest
// double; a value that is not finite is "INF", "-INF" or "NAN", and reads back as itself.
// Enumerations, sets, strings and variants are the property table's own text forms. Class
// properties are their storage's business (ExProps.h).

#include "platform/core/AnsiString.h"
#include "platform/core/TypInfo.h"

AnsiString StoredPropText(TObject* object, const TPropInfo& prop);

// Sets the property from its text. An integer text that is no number, or one the property's
// type cannot hold, loads 0 (never a wrapped value); an empty text leaves a character as it
// is. Any other text that is no value of the kind raises, leaving the property as it was.
void LoadStoredPropText(TObject* object, const TPropInfo& prop, const AnsiString& text);

// A float in the general format with `precision` significant digits at most, fewer where the
// value has fewer, and "." as its decimal point.
AnsiString StoredFloatText(double value, int precision);
