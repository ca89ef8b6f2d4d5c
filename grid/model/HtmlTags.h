#pragma once
// The text side of the HTML cell-text engine (grid/control/HtmlRender.h): colour names and
// "#RRGGBB" colours, case-insensitive searches, tag attributes, entities, "<#name>" unwrapping
// and tag stripping. Text is cp949: searches never match from a trail byte and case folds touch
// single-byte letters only. Every routine takes time linear in its text.

#include <string_view>

#include "platform/core/AnsiString.h"
#include "platform/core/Colors.h"

// The colour of a lower-case colour name ("clred", "clbtnface"); an unknown name gives black.
TColor ColorNameToColor(std::string_view Name);
// Two hexadecimal digits as a byte.
int HexPairToByte(char First, char Second);
// "#RRGGBB" as a colour. A text without "#" first or with fewer than six hexadecimal digits
// after it gives Unchanged.
TColor HexToColor(std::string_view Text, TColor Unchanged);
// 1-based position of Sub in Text ignoring the case of ASCII letters, 0 when absent.
int PosNoCase(std::string_view Sub, std::string_view Text);
// PosNoCase when the first occurrence lies beyond Mark, else 0.
int PosNoCaseBeyond(std::string_view Sub, std::string_view Text, int Mark);
// The decimal integer the text starts with (an optional sign, then digits; anything after them
// is ignored; 0 when there are none); saturates at the 32-bit range.
int TagIntValue(std::string_view Text);
// True and Value set when the whole text is a decimal integer.
bool TagCleanInt(std::string_view Text, int& Value);
// The first "<#" loses its "<" and the first ">" after it is removed: "<#b>" shows as "#b".
AnsiString UnwrapHashTag(std::string_view Text);
// When the first occurrence of Entity (case ignored) lies beyond Mark, replaces it by
// Replacement, sets Mark to its position plus the replacement's length and returns true.
bool ReplaceEntity(std::string_view Entity, std::string_view Replacement, AnsiString& Text, int& Mark);
// A word's entities decoded the engine's way: "&lt;", "&gt;", "&amp;", "&quot;" replaced one at a
// time from the left while each lies beyond the previous replacement, so "&amp;lt;" gives "&lt;"
// and "&lt;&gt;" gives "<&gt;".
AnsiString DecodeHtmlEntities(std::string_view Word);

// A tag's attribute text: from byte From (0-based) up to its first ">".
std::string_view TagAttributes(std::string_view Tag, size_t From);
// Whether the attribute name occurs in the attribute text.
bool HasAttribute(std::string_view Attributes, std::string_view Name, bool CaseSensitive = false);
// The text between the first two double quotes after the name; empty when the name or either
// quote is missing.
AnsiString AttributeValue(std::string_view Attributes, std::string_view Name, bool CaseSensitive = false);
// A colour value: "#RRGGBB" (HexToColor), else one holding "cl" names a colour; anything else
// leaves Current.
TColor AttributeColor(std::string_view Value, TColor Current);

// The text without tags: "<BR>" and "<HR>" (any case) become CR LF, every tag from "<" through
// the first ">" after it goes, and a "<" with no ">" after it ends the text. Entities stay.
AnsiString StripHtmlTags(std::string_view Text);
