#include "platform/gui/RichDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "platform/core/Cp949.h"
#include "platform/gui/FontAlias.h"
#include "platform/gui/MapMode.h"
#include "platform/gui/RtfCodec.h"

namespace {

// Calls change(cursor, format) for each run that overlaps [start, end), the cursor selecting
// the overlap. The runs are gathered first: a change may join or split them, which leaves no
// iterator over them standing.
void EachRun(QTextDocument& doc, int start, int end,
             const std::function<void(QTextCursor&, const QTextCharFormat&)>& change)
{
    struct TRun {
        int From, To;
        QTextCharFormat Format;
    };
    std::vector<TRun> runs;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int from = std::max(start, f.position()), to = std::min(end, f.position() + f.length());
            if (f.isValid() && from < to)
                runs.push_back({from, to, f.charFormat()});
        }
    // One edit of the document: a document laid out once lays out again once, not at each run.
    QTextCursor c(&doc);
    c.beginEditBlock();
    for (const TRun& run : runs) {
        c.setPosition(run.From);
        c.setPosition(run.To, QTextCursor::KeepAnchor);
        change(c, run.Format);
    }
    c.endEditBlock();
}

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

// The same over the document's lines: its paragraphs, cut where a line ends within one.
int LongestRunWithoutSpaceBreak(const QTextDocument& doc)
{
    int longest = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        for (const QStringView line : QStringView(text).split(QChar::LineSeparator))
            longest = std::max(longest, LongestRunWithoutSpaceBreak(line));
    }
    return longest;
}

// A copy whose sizes are pixels at the given resolution, laid out without a margin.
std::unique_ptr<QTextDocument> AtResolution(const QTextDocument& doc, int dpi, bool breakAnywhere)
{
    std::unique_ptr<QTextDocument> copy(doc.clone());
    copy->setUndoRedoEnabled(false);
    copy->setDocumentMargin(0);
    if (breakAnywhere) {
        QTextOption option = copy->defaultTextOption();
        option.setWrapMode(QTextOption::WrapAnywhere);
        copy->setDefaultTextOption(option);
    }
    const auto pixels = [dpi](qreal points) { return std::max(1, static_cast<int>(std::lround(points * dpi / 72.0))); };
    QFont base = copy->defaultFont();
    // Read before the pixel size replaces it: the font's point size reads -1 from then on.
    const qreal basePoints = base.pointSizeF() > 0 ? base.pointSizeF() : 8;
    base.setPixelSize(pixels(basePoints));
    base.setStyleStrategy(QFont::NoAntialias);
    copy->setDefaultFont(base);
    EachRun(*copy, 0, copy->characterCount(), [&](QTextCursor& c, const QTextCharFormat& f) {
        QTextCharFormat g = f;
        g.setProperty(QTextFormat::FontPixelSize,
                      pixels(f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : basePoints));
        g.clearProperty(QTextFormat::FontPointSize);
        g.setFontStyleStrategy(QFont::NoAntialias);
        c.setCharFormat(g);
    });
    return copy;
}

}  // namespace

TRichDocument::TRichDocument() : FDoc(std::make_unique<QTextDocument>())
{
    // Nothing is undone here; the undo record of a long text would only take memory.
    FDoc->setUndoRedoEnabled(false);
    // Whatever changes the text, here or through Document(), outdates the copy that is shown.
    QObject::connect(FDoc.get(), &QTextDocument::contentsChanged, [this] { ++FGeneration; });
    TFont font;
    SetDefaultFont(&font);
}

TRichDocument::~TRichDocument() { QObject::disconnect(FDoc.get(), nullptr, nullptr, nullptr); }

void TRichDocument::SetDefaultFont(TFont* Font)
{
    if (!Font)
        return;
    FDefaultFont = Font->Name();
    QFont f(QString::fromStdString(ResolveFontFamily(Font->Name())));
    f.setPointSize(std::max(1, Font->Size()));
    if (f == FDoc->defaultFont())
        return;
    FDoc->setDefaultFont(f);
    ++FGeneration;
}

bool TRichDocument::LoadFromBytes(std::string_view Bytes)
{
    FSelStart = FSelLength = 0;
    ++FGeneration;  // an empty text read leaves Qt nothing to signal
    if (ReadRtf(Bytes, *FDoc))
        return true;
    std::u16string text = Cp949ToUtf16(Bytes);
    std::u16string lines;
    lines.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        lines += text[i] == u'\r' ? u'\n' : text[i];
    }
    FDoc->setPlainText(QString::fromStdU16String(lines));
    return false;
}

std::string TRichDocument::SaveToBytes() const { return WriteRtf(*FDoc, FDefaultFont); }

void TRichDocument::Clear()
{
    FDoc->clear();
    FSelStart = FSelLength = 0;
    ++FGeneration;
}

AnsiString TRichDocument::PlainText() const
{
    std::u16string out;
    for (QTextBlock block = FDoc->begin(); block.isValid(); block = block.next()) {
        if (block != FDoc->begin())
            out += u"\r\n";
        for (const QChar c : block.text())
            if (c == QChar::LineSeparator)
                out += u"\r\n";
            else
                out += c == QChar::Nbsp ? u' ' : static_cast<char16_t>(c.unicode());
    }
    return Utf16ToCp949(out);
}

int TRichDocument::Length() const { return std::max(0, FDoc->characterCount() - 1); }

void TRichDocument::SetSelection(int Start, int Length)
{
    FSelStart = std::clamp(Start, 0, this->Length());
    FSelLength = std::clamp(Length, 0, this->Length() - FSelStart);
}

void TRichDocument::SetSelColor(TColor Color)
{
    EachRun(*FDoc, FSelStart, FSelStart + FSelLength, [Color](QTextCursor& c, const QTextCharFormat&) {
        QTextCharFormat f;
        f.setForeground(ToQColor(Color));
        c.mergeCharFormat(f);
    });
}

void TRichDocument::SetSelOffset(int Twips)
{
    // Kept in half-points, as rich text writes it; shown as a share of each run's size.
    const int halfPoints = std::clamp(Twips / 10, -3276, 3276);
    EachRun(*FDoc, FSelStart, FSelStart + FSelLength, [&](QTextCursor& c, const QTextCharFormat& old) {
        QTextCharFormat f = old;
        if (halfPoints == 0) {
            f.clearProperty(kRtfOffsetProperty);
            f.clearProperty(QTextFormat::TextBaselineOffset);
        } else {
            const qreal points =
                old.hasProperty(QTextFormat::FontPointSize) ? old.fontPointSize() : FDoc->defaultFont().pointSizeF();
            f.setProperty(kRtfOffsetProperty, halfPoints);
            f.setBaselineOffset(100.0 * halfPoints / std::max<qreal>(1, points * 2));
        }
        c.setCharFormat(f);
    });
}

QTextDocument& TRichDocument::Shown(int Dpi, int Width) const
{
    if (FShownGeneration != FGeneration) {
        FShown.clear();
        FShownGeneration = FGeneration;
    }
    const auto same = [&](const TLayout& l) { return l.Dpi == Dpi && l.Width == Width; };
    if (const auto found = std::find_if(FShown.begin(), FShown.end(), same); found != FShown.end()) {
        std::rotate(FShown.begin(), found, found + 1);
        return *FShown.front().Doc;
    }
    // A new width takes a layout of its own, or the one used longest ago once there are enough:
    // Qt lays the whole text out again at every width a document is given.
    TLayout layout;
    if (FShown.size() >= kMaxLayouts) {
        layout = std::move(FShown.back());
        FShown.pop_back();
    }
    if (!layout.Doc || layout.Dpi != Dpi)
        layout.Doc = AtResolution(*FDoc, Dpi, BreaksLinesAnywhere());
    layout.Dpi = Dpi;
    layout.Width = Width;
    layout.Doc->setTextWidth(Width);
    (void)layout.Doc->size();  // lays the whole text out, before its lines are read
    ++FLayoutsMade;
    FShown.insert(FShown.begin(), std::move(layout));
    return *FShown.front().Doc;
}

bool TRichDocument::BreaksLinesAnywhere() const { return LongestRunWithoutSpaceBreak(*FDoc) > kLongestUnbrokenRun; }

int TRichDocument::RequestedHeight(TCanvas* Canvas, int Width) const
{
    const QTextDocument& doc = Shown(GetDeviceCaps(Canvas, LOGPIXELSY), std::max(1, Width));
    return static_cast<int>(std::ceil(doc.size().height()));
}

int TRichDocument::FormatRange(TCanvas* Canvas, const TRect& RectTwips) const
{
    const int dpiX = GetDeviceCaps(Canvas, LOGPIXELSX), dpiY = GetDeviceCaps(Canvas, LOGPIXELSY);
    const auto toPixels = [](int twips, int dpi) { return static_cast<int>(std::lround(twips * double(dpi) / 1440)); };
    const TRect r{toPixels(RectTwips.Left, dpiX), toPixels(RectTwips.Top, dpiY), toPixels(RectTwips.Right, dpiX),
                  toPixels(RectTwips.Bottom, dpiY)};
    if (r.Width() <= 0 || r.Height() <= 0)
        return 0;
    QTextDocument& doc = Shown(dpiY, r.Width());
    // The characters whose lines end inside the rectangle.
    int fitted = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        const qreal top = doc.documentLayout()->blockBoundingRect(block).top();
        for (int i = 0; layout && i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            if (top + line.y() + line.height() > r.Height() + 0.5)
                break;
            fitted = block.position() + line.textStart() + line.textLength();
        }
    }
    if (QPainter* p = Canvas ? Canvas->Painter() : nullptr) {
        p->save();
        p->translate(r.Left, r.Top);
        p->setClipRect(QRect(0, 0, r.Width(), r.Height()), p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        doc.drawContents(p, QRectF(0, 0, r.Width(), r.Height()));
        p->restore();
    }
    return std::min(fitted, Length());
}
