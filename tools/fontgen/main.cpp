// fontgen: writes the program's bitmap font files from fonts installed on the system. The first
// form writes the four default files:
//   .han  Hangul combination font, fitted to GNU Unifont's syllables
//   .eng  Unifont's 8 x 16 ASCII glyphs
//   .spc  special characters: blank (only byte pairs that are not cp949 text reach them)
//   .ksg  KS X 1001 symbol rows 0xA1..0xAC from a 16-pixel KS X 1001 bitmap font (PCF)
// The second writes one more choice from a 16-pixel PCF face: a Hangul font fitted to the
// syllables of a KS X 1001 face (--han), or an English font from a fixed-width face (--eng).
// For a combination font it prints how many syllables it reproduces pixel for pixel and how
// legible its KS X 1001 syllables are as the terminal draws them.

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "terminal/fonts/JohabRules.h"
#include "tools/fontgen/HexFont.h"
#include "tools/fontgen/JamoFit.h"
#include "tools/fontgen/Legibility.h"
#include "tools/fontgen/PcfFaces.h"
#include "tools/fontgen/PcfFont.h"
#include "tools/fontgen/SyllableFrequency.h"

namespace {

void Usage()
{
    std::fprintf(stderr,
                 "usage: fontgen --unifont FILE.hex --symbols FILE.pcf[.gz] --frequency FILE.txt "
                 "--han OUT --eng OUT --spc OUT --ksg OUT\n"
                 "       fontgen --from FILE.pcf[.gz] (--han OUT | --eng OUT)\n");
}

void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes)
{
    const std::string temp = name + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out)
            throw std::runtime_error("cannot write " + temp);
    }
    if (std::rename(temp.c_str(), name.c_str()) != 0)
        throw std::runtime_error("cannot write " + name);
}

void PutGlyph(std::vector<uint8_t>& bytes, const TGlyph16& g)
{
    for (uint16_t row : g.Rows) {
        bytes.push_back(static_cast<uint8_t>(row >> 8));
        bytes.push_back(static_cast<uint8_t>(row));
    }
}

void ReportFit(const char* source, int exact, int of)
{
    std::printf("fontgen: %s: %d of %d Hangul syllables (%.1f%%) reproduced pixel for pixel\n", source, exact, of,
                100.0 * exact / of);
}

// A syllable as UTF-8, for the report.
std::string Utf8Of(int n)
{
    const char32_t c = johab::FirstSyllable + static_cast<char32_t>(n);
    return {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
            static_cast<char>(0x80 | (c & 0x3F))};
}

// Measures the written font as the terminal draws it, against the source's KS X 1001 syllables.
void ReportLegibility(const std::string& hanFile, const std::vector<std::optional<TGlyph16>>& source,
                      const std::vector<bool>& common = {})
{
    const TLegibility l = MeasureFontFile(hanFile, source, common);
    std::printf("fontgen: %s: %s\n", hanFile.c_str(), DescribeLegibility(l).c_str());
    if (l.Misread.empty())
        return;
    std::string misread;
    for (size_t i = 0; i < l.Misread.size() && i < 24; ++i)
        misread += " " + Utf8Of(l.Misread[i].first) + "->" + Utf8Of(l.Misread[i].second);
    std::printf("fontgen: read as another:%s%s\n", misread.c_str(), l.Misread.size() > 24 ? " ..." : "");
}

std::vector<std::optional<TGlyph16>> KsOnly(const std::vector<TGlyph16>& syllables)
{
    std::vector<std::optional<TGlyph16>> ks(syllables.size());
    for (size_t n = 0; n < syllables.size(); ++n)
        if (KsCode(static_cast<int>(n)))
            ks[n] = syllables[n];
    return ks;
}

std::vector<TGlyph16> UnifontSyllables(const THexFont& unifont)
{
    std::vector<TGlyph16> syllables;
    for (int n = 0; n < johab::SyllableCount; ++n) {
        int width = 0;
        const auto g = unifont.Glyph(johab::FirstSyllable + static_cast<char32_t>(n), &width);
        if (!g || width != 16)
            throw std::runtime_error("the Unifont file lacks 16 x 16 Hangul syllables");
        syllables.push_back(*g);
    }
    return syllables;
}

// One font from one face: the second form of the command line.
void MakeFromFace(std::map<std::string, std::string>& args)
{
    const TPcfFont face(args["from"]);
    if (args.count("eng")) {
        WriteFile(args["eng"], EnglishFontBytes(face));
        return;
    }
    const std::vector<std::optional<TGlyph16>> syllables = KsSyllables(face);
    int known = 0;
    for (const auto& g : syllables)
        known += g.has_value();
    if (known == 0)
        throw std::runtime_error(args["from"] + " has no KS X 1001 Hangul syllables");
    const TJamoFont font = FitJamo(syllables);
    WriteFile(args["han"], font.FileBytes());
    ReportFit(args["from"].c_str(), CountExact(font, syllables), known);
    ReportLegibility(args["han"], syllables);
}

std::vector<uint8_t> MakeEng(const THexFont& unifont)
{
    std::vector<uint8_t> bytes(256 * 16, 0);
    for (char32_t c = 0x20; c < 0x7F; ++c) {
        int width = 0;
        const auto g = unifont.Glyph(c, &width);
        if (!g || width != 8)
            continue;
        for (size_t r = 0; r < 16; ++r)
            bytes[c * 16 + r] = static_cast<uint8_t>(g->Rows[r] >> 8);
    }
    return bytes;
}

// Glyph i of the symbol font is KS X 1001 row 0xA1 + i / 94, cell 0xA1 + i % 94; the PCF font
// encodes KS X 1001 with both bytes in 0x21..0x7E.
std::vector<uint8_t> MakeKsg(const TPcfFont& symbols, int& found)
{
    std::vector<uint8_t> bytes;
    found = 0;
    for (int i = 0; i < 1128; ++i) {
        const uint16_t encoding = static_cast<uint16_t>((0x21 + i / 94) << 8 | (0x21 + i % 94));
        const auto g = symbols.Glyph(encoding);
        found += g.has_value();
        PutGlyph(bytes, g.value_or(TGlyph16{}));
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv)
{
    std::map<std::string, std::string> args;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strncmp(argv[i], "--", 2) != 0) {
            Usage();
            return 2;
        }
        args[argv[i] + 2] = argv[i + 1];
    }
    const bool oneFace = args.count("from") != 0;
    bool wellFormed = argc % 2 == 1 && args.size() == (oneFace ? 2u : 7u);
    if (oneFace)
        wellFormed = wellFormed && (args.count("han") || args.count("eng"));
    else
        for (const char* key : {"unifont", "symbols", "frequency", "han", "eng", "spc", "ksg"})
            wellFormed = wellFormed && args.count(key);
    if (!wellFormed) {
        Usage();
        return 2;
    }
    try {
        if (oneFace) {
            MakeFromFace(args);
            return 0;
        }
        const THexFont unifont(args["unifont"]);
        const TPcfFont symbols(args["symbols"]);

        const std::vector<TGlyph16> syllables = UnifontSyllables(unifont);
        const std::vector<int> ranks = ReadSyllableRanks(args["frequency"]);
        const TJamoFont font = FitJamo(syllables, ranks);
        WriteFile(args["han"], font.FileBytes());
        WriteFile(args["eng"], MakeEng(unifont));
        WriteFile(args["spc"], std::vector<uint8_t>(128 * 32, 0));
        int found = 0;
        WriteFile(args["ksg"], MakeKsg(symbols, found));

        ReportFit(args["unifont"].c_str(), CountExact(font, syllables), johab::SyllableCount);
        ReportLegibility(args["han"], KsOnly(syllables), CommonSyllables(ranks));
        std::printf("fontgen: %d of 1128 symbol cells have a glyph\n", found);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "fontgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
