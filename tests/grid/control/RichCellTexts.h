#pragma once
// Large rich cell texts, for the tests and the benchmark of the rich-text cache: each text its
// own by its tag, alike otherwise.

#include <string>

// About Bytes bytes of paragraph marks.
inline std::string ParagraphMarks(size_t bytes, int tag)
{
    std::string text = "{\\rtf1 " + std::to_string(1000 + tag);
    while (text.size() + 5 <= bytes)
        text += "\\par";
    return text + "}";
}

// About Bytes bytes of words whose runs change font, size and colour at every word, in the number
// of faces given (named fonts, installed or not: "Face<FirstFace>" on), 30 sizes and 64 colours.
inline std::string RunsOfManyFonts(size_t bytes, int faces, int tag, int firstFace = 0)
{
    std::string text = "{\\rtf1\\ansi{\\fonttbl";
    for (int f = 0; f < faces; ++f)
        text += "{\\f" + std::to_string(f) + " Face" + std::to_string(firstFace + f) + ";}";
    text += "}{\\colortbl;";
    for (int c = 0; c < 64; ++c)
        text += "\\red" + std::to_string(c * 4) + "\\green" + std::to_string(255 - c * 4) + "\\blue7;";
    text += "}" + std::to_string(tag);
    for (int i = tag; text.size() < bytes; ++i)
        text += "{\\f" + std::to_string(i * 7 % faces) + "\\fs" + std::to_string(8 + 2 * (i * 13 % 30)) + "\\cf" +
            std::to_string(1 + i * 5 % 64) + " word \\'b0\\'a1\\'b3\\'aa }";
    return text + "}";
}
