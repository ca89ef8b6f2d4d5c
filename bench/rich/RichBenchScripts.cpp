// One rich cell of a long text in each script, as written (without white space, or broken by what
// the script's name says) and the same characters with every eighth one a space, at the same
// lengths (16,000 characters and on, doubling, below the 131,072 characters of 12-point text a
// cell lays out at most), in a column 300 pixels wide and in one two letters wide. The figures
// are the cell's first paint (its text read and laid out) and a repaint of it, in milliseconds,
// the fastest of three; one that doubles with the length grows linearly with the text. Then a
// cell of 40,000 letters in words of eight, in 12-point type and in the largest (1,638 points),
// whose layout would pass where Qt's stops.

#include <string>
#include <string_view>

#include "bench/rich/RichBenchMeasure.h"
#include "bench/rich/RichBenchParts.h"
#include "platform/core/Cp949.h"

namespace {

constexpr int kTimes = 3;

struct TScript {
    const char* Name;
    std::u16string Unit;  // repeated
    // The text is not rich text: its lines end in CR LF (the cell shows it as plain text).
    bool Plain = false;
};

const TScript kScripts[] = {
    {"hangul", u"한글줄바꿈없는글"},
    {"hangul_punctuated", u"가나,다라.마바"},
    {"hangul_spaced_before_punctuation", u"가나다 ,라마 ."},
    {"hangul_ideographic_spaced", u"가나다라마바사\u3000"},
    {"hangul_zero_width_spaced", u"가나다\u200B라마바"},
    {"hangul_tabbed", u"가나다라마바사\t"},
    {"hangul_crlf_lines", u"가나다라마바사\n", true},
    {"thai", u"ภาษาไทย"},
    {"han", u"漢字文章"},
    {"arabic", u"\u0627\u0644\u0639\u0631\u0628\u064A\u0629"},
    {"digits", u"0123456789"},
    {"combining_marks", u"cafe\u0301"},
    {"one_letter", u"a"},
    {"words_of_512_letters", std::u16string(512, u'a') + u" "},
    {"mixed", u"a가漢ก1-"},
};

// The cell text of Length characters of the script, every eighth a space when Spaced, then Tag.
std::string LongRun(const TScript& script, int length, bool spaced, int tag)
{
    std::u16string text;
    text.reserve(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
        text += spaced && i % 8 == 7 ? u' ' : script.Unit[static_cast<size_t>(i) % script.Unit.size()];
    text += u"\n" + std::u16string(1, static_cast<char16_t>(u'0' + tag % 10));
    if (script.Plain) {
        std::u16string lines;
        for (const char16_t c : text)
            lines += c == u'\n' ? std::u16string(u"\r\n") : std::u16string(1, c);
        return "{\\x " + Utf16ToCp949(lines);  // starts as rich text does, but is not
    }
    std::string rtf = "{\\rtf1 ";
    rtf.reserve(static_cast<size_t>(length) * 8);
    for (const char16_t c : text)
        rtf += c == u'\t' ? std::string("\\tab ")
            : c == u'\n'  ? std::string("\\par ")
            : c < 0x80    ? std::string(1, static_cast<char>(c))
                          : "\\u" + std::to_string(static_cast<int16_t>(c)) + "?";
    return rtf + "}";
}

}  // namespace

void MeasureLongRuns(int Most)
{
    TRichGridForm g(300, 160, 2);
    g.Grid->SetRowHeights(1, 100);
    g.Show();
    for (const int width : {300, 16}) {
        g.Grid->SetColWidths(1, width);
        for (const TScript& script : kScripts)
            for (int length = 16000; length <= Most; length *= 2)
                for (const bool spaced : {false, true}) {
                    const double first = FastestMs(kTimes, [&](int i) {
                        g.Grid->SetCells(1, 1, LongRun(script, length, spaced, i));
                        g.Paint();
                    });
                    const double again = FastestMs(kTimes, [&](int) { g.Paint(); });
                    const std::string name = std::string(script.Name) + (spaced ? "_spaced_" : "_written_") +
                        std::to_string(width) + "px_" + std::to_string(length);
                    Metric("rich_long_run_first_paint_ms_" + name, first);
                    Metric("rich_long_run_repaint_ms_" + name, again);
                }
    }
    g.Grid->SetColWidths(1, 300);
    for (const int halfPoints : {24, 3276}) {
        std::string words = "{\\rtf1\\fs" + std::to_string(halfPoints) + " ";
        for (int i = 0; i < 40000; ++i)
            words += i % 8 == 7 ? ' ' : 'a';
        const double first = FastestMs(kTimes, [&](int i) {
            g.Grid->SetCells(1, 1, words + std::to_string(i) + "}");
            g.Paint();
        });
        Metric("rich_tall_text_first_paint_ms_40000_letters_of_" + std::to_string(halfPoints / 2) + "_points", first);
    }
}
