// termdump [--cols N] [--rows N] [--chunk K] [--runs] [--events] [--cursor]
//          [--png FILE [--winfont NAME]] [FILE]
//
// Reads bytes from FILE or standard input, feeds them to the terminal pieces the window decodes
// through (core, screen image and own sequences) of N columns by N rows (80 by 25 by default)
// with DecodeText, in pieces of K bytes with --chunk, and prints every buffer line from the first
// through the cursor's, in UTF-8, trailing blanks removed.
//   --runs    adds "  runs: start,length,fg,bg ..." under each line (colours as RRGGBB)
//   --events  ends with "events:" and every reported piece in hex
//   --cursor  ends with "cursor: X Y" (column and buffer line, from 0)
//   --png     also sizes the screen image, so the stream draws into it, and writes it as a PNG: Hangul mode with the generated fonts in Fonts/ beside the program, or the
//             system font NAME with --winfont

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>

#include "TermDumpPng.h"
#include "platform/core/Cp949.h"
#include "terminal/draw/TerminalPieces.h"

namespace {

int Usage()
{
    std::fprintf(stderr,
                 "usage: termdump [--cols N] [--rows N] [--chunk K] [--runs] [--events] [--cursor]\n"
                 "                [--png FILE [--winfont NAME]] [FILE]\n");
    return 2;
}

bool ReadNumber(const char* s, int low, int high, int& out)
{
    char* end = nullptr;
    long v = std::strtol(s, &end, 10);
    if (end == s || *end != '\0' || v < low || v > high)
        return false;
    out = static_cast<int>(v);
    return true;
}

std::string Hex6(TColor c)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return buf;
}

}  // namespace

int main(int argc, char** argv)
{
    int cols = 80, rows = 25, chunk = 0;
    bool runs = false, events = false, cursor = false;
    const char* file = nullptr;
    std::string png, winFont;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "--cols") && i + 1 < argc) {
            if (!ReadNumber(argv[++i], 2, TTerminalCore::kMaxColumns, cols))
                return Usage();
        } else if (!std::strcmp(a, "--rows") && i + 1 < argc) {
            if (!ReadNumber(argv[++i], 2, 1000, rows))
                return Usage();
        } else if (!std::strcmp(a, "--chunk") && i + 1 < argc) {
            if (!ReadNumber(argv[++i], 1, 1 << 30, chunk))
                return Usage();
        } else if (!std::strcmp(a, "--runs")) {
            runs = true;
        } else if (!std::strcmp(a, "--events")) {
            events = true;
        } else if (!std::strcmp(a, "--cursor")) {
            cursor = true;
        } else if (!std::strcmp(a, "--png") && i + 1 < argc) {
            png = argv[++i];
        } else if (!std::strcmp(a, "--winfont") && i + 1 < argc) {
            winFont = argv[++i];
        } else if (a[0] == '-' && a[1] != '\0') {
            return Usage();
        } else if (!file) {
            file = a;
        } else {
            return Usage();
        }
    }

    std::string input;
    if (file && std::strcmp(file, "-") != 0) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "termdump: cannot open %s\n", file);
            return 1;
        }
        input.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else {
        input.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    }

    TTerminalPieces pieces;
    TTerminalCore& t = pieces.Core;
    t.SetColumns(cols);
    t.SetRow(rows - 1);
    // The character window's colours: white on black.
    t.SetDefaultBackColor(clBlack);
    t.SetDefaultFontColor(clWhite);
    if (!winFont.empty() && png.empty())
        return Usage();
    std::unique_ptr<TTermDumpPicture> picture;
    if (!png.empty())
        picture = std::make_unique<TTermDumpPicture>(pieces, argc, argv, winFont);
    std::string hex;
    if (events) {
        t.OnAfterPut = [&hex](const AnsiString& s) {
            char buf[4];
            std::snprintf(buf, sizeof buf, " %02x", static_cast<unsigned char>(s[0]));
            hex += buf;
        };
    }
    const size_t step = chunk > 0 ? static_cast<size_t>(chunk) : (input.empty() ? 1 : input.size());
    for (size_t i = 0; i < input.size(); i += step)
        t.DecodeText(std::string_view(input).substr(i, step));

    std::string out;
    for (int y = 0; y <= t.CurY(); ++y) {
        std::string line = t.Data().Strings(y);
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out += Cp949ToUtf8(line);
        out += '\n';
        if (runs) {
            out += "  runs:";
            for (const TConfig& r : t.Data().Objects(y))
                out += " " + std::to_string(r.Start) + "," + std::to_string(r.Length) + "," + Hex6(r.FontColor) + "," +
                    Hex6(r.BackColor);
            out += '\n';
        }
    }
    if (events)
        out += "events:" + hex + "\n";
    if (cursor)
        out += "cursor: " + std::to_string(t.CurX()) + " " + std::to_string(t.CurY()) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (picture && !picture->Save(png))
        return 1;
    return 0;
}
