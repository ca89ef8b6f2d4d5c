#include "platform/gui/RichDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/core/Cp949.h"
#include "platform/gui/FontAlias.h"
#include "platform/gui/MapMode.h"
#include "platform/gui/RichDocumentCosts.h"
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

// A copy of the first Most characters whose sizes are pixels at the given resolution, laid out
// without a margin.
std::unique_ptr<QTextDocument> AtResolution(const QTextDocument& doc, int dpi, int most)
{
    std::unique_ptr<QTextDocument> copy(doc.clone());
    copy->setUndoRedoEnabled(false);
    copy->setDocumentMargin(0);
    if (copy->characterCount() - 1 > most) {
        if (most > 0 && copy->characterAt(most - 1).isHighSurrogate())
            --most;  // not between the halves of a character
        QTextCursor cut(copy.get());
        cut.setPosition(most);
        cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
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

// Lines break anywhere in the copy, or as they do in the text it was made from.
void BreakLinesAnywhere(QTextDocument& copy, const QTextDocument& doc, bool anywhere)
{
    QTextOption option = doc.defaultTextOption();
    if (anywhere)
        option.setWrapMode(QTextOption::WrapAnywhere);
    if (option.wrapMode() != copy.defaultTextOption().wrapMode())
        copy.setDefaultTextOption(option);
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
    if (!layout.Doc || layout.Dpi != Dpi) {
        // A line takes at most twice the largest font's size and its farthest offset.
        ShapeRuns();
        const double line = std::max(1.0, 2 * (FRunShape.LargestPoints + FRunShape.LargestOffsetPoints) * Dpi / 72.0);
        layout.Doc = AtResolution(*FDoc, Dpi, static_cast<int>(std::min<double>(INT_MAX, kTallestLayout / line)));
    }
    BreakLinesAnywhere(*layout.Doc, *FDoc, BreaksLinesAnywhere(Dpi, Width));
    layout.Dpi = Dpi;
    layout.Width = Width;
    layout.Doc->setTextWidth(Width);
    (void)layout.Doc->size();  // lays the whole text out, so that its lines are counted
    layout.Bytes = EstimatedBytes(*layout.Doc, true);
    ++FLayoutsMade;
    FShown.insert(FShown.begin(), std::move(layout));
    return *FShown.front().Doc;
}

size_t TRichDocument::HeldBytes() const
{
    if (FTextBytesGeneration != FGeneration) {
        FTextBytes = EstimatedBytes(*FDoc, false);
        FTextBytesGeneration = FGeneration;
    }
    size_t bytes = sizeof(*this) + FTextBytes;
    for (const TLayout& layout : FShown)
        bytes += layout.Bytes;
    return bytes;
}

void TRichDocument::ShapeRuns() const
{
    if (FRunShapeGeneration == FGeneration)
        return;
    FRunShape = RunShapeOf(*FDoc);
    FRunShapeGeneration = FGeneration;
}

bool TRichDocument::BreaksLinesAnywhere(int Dpi, int Width) const
{
    ShapeRuns();
    // A line holds at least one character of the largest font for each em of its width.
    const int64_t em = std::max<int64_t>(1, std::llround(FRunShape.LargestPoints * Dpi / 72.0));
    const int64_t perLine = std::max<int64_t>(1, Width / em);
    return FRunShape.LongestRun > std::min<int64_t>(kLongestUnbrokenRun, kMostLinesOfARun * perLine);
}

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
    // The characters whose lines end inside the rectangle: up to the first line that does not.
    int fitted = 0;
    bool past = false;
    for (QTextBlock block = doc.begin(); block.isValid() && !past; block = block.next()) {
        const QTextLayout* layout = block.layout();
        const qreal top = doc.documentLayout()->blockBoundingRect(block).top();
        for (int i = 0; layout && i < layout->lineCount() && !past; ++i) {
            const QTextLine line = layout->lineAt(i);
            past = top + line.y() + line.height() > r.Height() + 0.5;
            if (!past)
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
