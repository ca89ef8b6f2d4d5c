// One rich cell of a long text in each script: without white space, and the same characters with
// every eighth one a space, at the same lengths (20,000 characters and on, doubling). The figure
// is the cell's first paint (its text read and laid out) in milliseconds, the fastest of three;
// one that doubles with the length grows linearly with the text. Hangul syllables, Hangul with
// punctuation between them, Thai, Han, one letter repeated and the scripts mixed.

#include <string>
#include <string_view>

#include "bench/rich/RichBenchMeasure.h"
#include "bench/rich/RichBenchParts.h"

namespace {

constexpr int kTimes = 3;

struct TScript {
    const char* Name;
    std::u16string_view Unit;  // repeated
};

const TScript kScripts[] = {
    {"hangul", u"한글줄바꿈없는글"},
    {"hangul_punctuated", u"가나,다라.마바"},
    {"thai", u"ภาษาไทย"},
    {"han", u"漢字文章"},
    {"one_letter", u"a"},
    {"mixed", u"a가漢ก1-"},
};

// The rich text of Length characters of the script, every eighth a space when Spaced, then Tag.
std::string LongRun(const TScript& script, int length, bool spaced, int tag)
{
    std::string rtf = "{\\rtf1 ";
    rtf.reserve(static_cast<size_t>(length) * 8);
    for (int i = 0; i < length; ++i)
        rtf += spaced && i % 8 == 7
            ? std::string(" ")
            : "\\u" + std::to_string(script.Unit[static_cast<size_t>(i) % script.Unit.size()]) + "?";
    return rtf + std::to_string(tag) + "}";
}

}  // namespace

void MeasureLongRuns(int Most)
{
    TRichGridForm g(300, 160, 2);
    g.Grid->SetRowHeights(1, 100);
    g.Show();
    for (const TScript& script : kScripts)
        for (int length = 20000; length <= Most; length *= 2)
            for (const bool spaced : {false, true}) {
                const double ms = FastestMs(kTimes, [&](int i) {
                    g.Grid->SetCells(1, 1, LongRun(script, length, spaced, i));
                    g.Paint();
                });
                Metric(std::string("rich_long_run_first_paint_ms_") + script.Name +
                           (spaced ? "_spaced_" : "_unspaced_") + std::to_string(length),
                       ms);
            }
}
