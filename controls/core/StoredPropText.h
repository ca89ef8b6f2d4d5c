#pragma once
// The text forms of simple properties in stored settings, by kind. Integers are decimal; a
// character is itself (a wide character as its cp949 text, so a Hangul syllable is its two
// bytes); a float carries "." whatever the locale and as many significant digits as its float
// type holds (single 7, double 15, extended and comp 18, currency 19), but never more than the
// value itself has: where the fewest digits that read back as the double fit the precision,
// those digits ("0.1", not "0.100000000000000006"), so an extended property reads back as
// itself; more where fewer would round past the largest double; a value that is not finite is
// "INF", "-INF" or "NAN", and reads back as itself.
// Enumerations, sets, strings and variants are the property table's own text forms. Class
// properties are their storage's business (ExProps.h).

#include "platform/core/AnsiString.h"
#include "platform/core/TypInfo.h"

AnsiString StoredPropText(TObject* object, const TPropInfo& prop);

// Sets the property from its text. An integer text that is no number, or one the property's
// type cannot hold, loads 0 (never a wrapped value); an empty text leaves a character as it
// is. Any other text that is no value of the kind raises, leaving the property as it was.
void LoadStoredPropText(TObject* object, const TPropInfo& prop, const AnsiString& text);

// A float in the general format with `precision` significant digits at most, the fewest that
// read back where they fit, and "." as its decimal point.
AnsiString StoredFloatText(double value, int precision);
