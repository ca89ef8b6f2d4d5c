#pragma once
// The rich-text format as far as the program's rich texts use it, read into and written from a
// Qt text document: groups, the font and colour tables, bold, italic, underline, strike-out,
// font size, text and highlight colour, sub- and superscript and raised or lowered text,
// paragraph and line ends and tabs; text as cp949 bytes (\'hh) or UTF-16 units (\uN).
// Destinations the reader does not show (\* groups, document information, style sheets,
// pictures, headers and the like) are skipped.

#include <QTextFormat>
#include <string>
#include <string_view>

class QTextDocument;

// Properties the reader leaves on character formats for the writer: the font name as the file
// named it (its cp949 bytes as Latin-1 characters, one a byte), and a raised (> 0) or lowered
// (< 0) baseline in half-points. The name is text because Qt hashes a format's text properties by
// value but its list of font families by type alone: formats told apart by their families only
// would each be compared with every other when the document stores or lays out a run.
constexpr int kRtfFontNameProperty = QTextFormat::UserProperty + 1;
constexpr int kRtfOffsetProperty = QTextFormat::UserProperty + 2;

// Groups nested deeper than this make a text that is not read as rich text.
constexpr int kMaxRtfDepth = 100;

// Whether the bytes start as rich text does ("{\rtf").
bool LooksLikeRtf(std::string_view bytes);
// Replaces the document's content with the rich text. False, the document emptied, when the
// text is not rich text or is broken (a group left open, nesting beyond kMaxRtfDepth).
bool ReadRtf(std::string_view bytes, QTextDocument& document);
// The document as rich text; DefaultFont names the font of text that names none (cp949).
std::string WriteRtf(const QTextDocument& document, std::string_view DefaultFont);
