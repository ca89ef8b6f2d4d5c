#include "platform/gui/RichDocumentCosts.h"

#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cstdlib>

#include "platform/gui/RtfCodec.h"

namespace {

// White space a line may break after: any but the spaces that hold their neighbours together.
bool IsBreakingSpace(QChar c) { return c.isSpace() && c != u'\u00A0' && c != u'\u2007' && c != u'\u202F'; }

// What a line may break after at white space that follows it: a letter or digit, or the
// punctuation that ends a sentence or a clause.
bool EndsAWord(QChar c)
{
    return c.isLetterOrNumber() || c == u',' || c == u'.' || c == u'!' || c == u'?' || c == u':' || c == u';';
}

// The most characters a line holds between two places where it surely breaks at no more cost
// than the characters between them, its white space not counted: white space between a word's
// end (its marks aside) and a letter or digit, in any script. Other places to break do not count:
// Qt lays out a line of a run without white space to the run's end before it breaks it, whatever
// places to break the run has (between Hangul syllables, after the punctuation among them), and
// finding such places by the rules of each script costs more than the run's length in some
// (Thai words).
int LongestRunWithoutSpaceBreak(QStringView line)
{
    const int size = static_cast<int>(line.size());
    int longest = 0, from = 0;
    for (int i = 0; i < size;) {
        if (!IsBreakingSpace(line[i])) {
            ++i;
            continue;
        }
        const int space = i;
        while (i < size && IsBreakingSpace(line[i]))
            ++i;
        int base = space;  // after the word's last character and its marks
        while (base > from && line[base - 1].isMark())
            --base;
        if (base > from && EndsAWord(line[base - 1]) && i < size && line[i].isLetterOrNumber()) {
            longest = std::max(longest, space - from);
            from = i;
        }
    }
    int end = size;
    while (end > from && line[end - 1].isSpace())
        --end;
    return std::max(longest, end - from);
}

// What Qt keeps for a document, measured on this platform's allocator and rounded up: for the
// document, each block, character, run of one format, format
// (Qt keeps every format a document has held) and line laid out; and laid out and drawn, for each
// font shown (its metrics and the glyphs drawn, which Qt keeps for every face and size shown).
// Texts measured took from a third (short ones) and a half (long runs of Hangul) to 1.05 (runs in
// many formats) of what is reckoned for them.
struct TCosts {
    size_t Document, Block, Character, Run, Format, Line, Font;
};
constexpr TCosts kTextCosts{12288, 192, 4, 48, 1024, 0, 0}, kLaidOutCosts{28672, 704, 8, 128, 1024, 96, 12 << 10};

}  // namespace

TRichRunShape RunShapeOf(const QTextDocument& Doc)
{
    const qreal defaultPoints = Doc.defaultFont().pointSizeF() > 0 ? Doc.defaultFont().pointSizeF() : 8;
    TRichRunShape shape;
    shape.LargestPoints = defaultPoints;
    for (QTextBlock block = Doc.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        for (const QStringView line : QStringView(text).split(QChar::LineSeparator))
            shape.LongestRun = std::max(shape.LongestRun, LongestRunWithoutSpaceBreak(line));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.hasProperty(QTextFormat::FontPointSize))
                shape.LargestPoints = std::max(shape.LargestPoints, f.fontPointSize());
            if (f.hasProperty(kRtfOffsetProperty))
                shape.LargestOffsetPoints =
                    std::max<qreal>(shape.LargestOffsetPoints, std::abs(f.property(kRtfOffsetProperty).toInt()) / 2.0);
        }
    }
    return shape;
}

size_t EstimatedBytes(const QTextDocument& Doc, bool LaidOut)
{
    size_t blocks = 0, characters = 0, runs = 0, lines = 0;
    QSet<QString> fonts;
    for (QTextBlock block = Doc.begin(); block.isValid(); block = block.next()) {
        ++blocks;
        characters += static_cast<size_t>(std::max(0, block.length()));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            ++runs;
            if (LaidOut)
                fonts.insert(it.fragment().charFormat().font().key());
        }
        // A document not laid out keeps no layout objects, and asking for a block's would make one.
        if (const QTextLayout* layout = LaidOut ? block.layout() : nullptr)
            lines += static_cast<size_t>(std::max(0, layout->lineCount()));
    }
    const TCosts& c = LaidOut ? kLaidOutCosts : kTextCosts;
    return c.Document + c.Block * blocks + c.Character * characters + c.Run * runs +
        c.Format * static_cast<size_t>(Doc.allFormats().size()) + c.Line * lines +
        c.Font * static_cast<size_t>(fonts.size());
}
