#pragma once
// The rich-edit control's document without a window, for code that formats rich text onto a
// canvas (grid cells on the screen and on paper): its content is loaded from and saved as
// rich-text bytes, a selection's colour and vertical offset change, and the whole text is laid
// out into a rectangle of any canvas at that canvas's resolution. Text that is not rich text,
// or rich text that is broken or nested too deep, is taken as plain cp949 text. Positions count
// characters (a Hangul syllable is one). The text laid out at a resolution and width is kept,
// for the last few of them, until the text or its default font changes, so formatting an
// unchanged text again at one of those widths only draws it (the same text shown in two columns
// is laid out once for each). A text holding a run too long to lay out line by line (more than
// kLongestUnbrokenRun characters without white space between words to break at, in any script,
// or more than kMostLinesOfARun lines of it at the width laid out) breaks all its lines anywhere
// at that width, so laying out any text costs time in proportion to its length; a text that could
// lay out taller than kTallestLayout pixels is laid out only so far. What the document takes in
// memory is reckoned from its parts.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/Colors.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/RichDocumentCosts.h"

class QTextDocument;

class TRichDocument {
public:
    // Layouts kept, each at a resolution and width of its own; the one used longest ago goes.
    static constexpr size_t kMaxLayouts = 4;
    // Characters without white space between words beyond which the text breaks its lines
    // anywhere (its white space not counted): each line of such a run costs the run's length to
    // lay out.
    static constexpr int kLongestUnbrokenRun = 512;
    // Lines of a run without white space beyond which its text breaks its lines anywhere: a run
    // of N lines costs N times its length, and a narrow column holds few characters a line.
    static constexpr int kMostLinesOfARun = 16;
    // The tallest a text is laid out, in pixels. Qt's layout of a document does not end once it
    // passes about 8.4 million pixels (2^23) from its top; no cell shows so much, so the text is
    // laid out no further than the characters that could take this many pixels, a line each.
    static constexpr int kTallestLayout = 1 << 22;

    TRichDocument();
    ~TRichDocument();
    TRichDocument(const TRichDocument&) = delete;
    TRichDocument& operator=(const TRichDocument&) = delete;

    // Replaces the content; true when the bytes were read as rich text. Plain text ends its
    // lines with CR LF, CR or LF.
    bool LoadFromBytes(std::string_view Bytes);
    // The content as rich text.
    std::string SaveToBytes() const;
    void Clear();
    // The text without formatting, its lines joined by CR LF.
    AnsiString PlainText() const;
    // Characters in the text (line ends count one).
    int Length() const;

    // The font of text that names none (a new document's is the framework's default font).
    void SetDefaultFont(TFont* Font);

    // The selection, clamped to the text.
    void SetSelection(int Start, int Length);
    int SelStart() const { return FSelStart; }
    int SelLength() const { return FSelLength; }
    // The selection's text colour.
    void SetSelColor(TColor Color);
    // The selection's baseline moved up (> 0) or down, in twips; 0 puts it back.
    void SetSelOffset(int Twips);

    // The height in pixels the whole text needs laid out Width pixels wide on the canvas.
    int RequestedHeight(TCanvas* Canvas, int Width) const;
    // Lays the whole text out into Rect, in twips of the canvas (1440 to an inch at its
    // resolution), and draws it there clipped to the rectangle; returns the number of characters
    // that fit.
    int FormatRange(TCanvas* Canvas, const TRect& RectTwips) const;

    // Whether the text laid out Width pixels wide at Dpi breaks its lines anywhere: it holds a
    // run longer than kLongestUnbrokenRun, or than kMostLinesOfARun lines of its largest font
    // (an em a character).
    bool BreaksLinesAnywhere(int Dpi, int Width) const;
    // The memory the document takes, in bytes, reckoned from the parts of its text and of each
    // layout it keeps (blocks, characters, runs, formats, lines and fonts shown) with what Qt
    // keeps for each.
    size_t HeldBytes() const;
    // The layouts made since the document was (each a whole text laid out at a width).
    int LayoutsMade() const { return FLayoutsMade; }

    QTextDocument* Document() const { return FDoc.get(); }

private:
    // The text with its sizes in pixels at a resolution, laid out at a width.
    struct TLayout {
        std::unique_ptr<QTextDocument> Doc;
        int Dpi = 0, Width = 0;
        size_t Bytes = 0;  // what it takes, reckoned once laid out
    };
    // The text laid out Width pixels wide with its sizes in pixels at Dpi.
    QTextDocument& Shown(int Dpi, int Width) const;

    std::unique_ptr<QTextDocument> FDoc;
    uint64_t FGeneration = 0;  // counts the changes of the text and its default font
    // What FDoc takes, reckoned at the change counted by FTextBytesGeneration.
    mutable size_t FTextBytes = 0;
    mutable uint64_t FTextBytesGeneration = UINT64_MAX;
    // The text's runs as found at the change counted by FRunShapeGeneration.
    mutable TRichRunShape FRunShape;
    mutable uint64_t FRunShapeGeneration = UINT64_MAX;
    // Finds them again if the text changed since.
    void ShapeRuns() const;
    // Used most recently first; all made from the text at the change counted by FShownGeneration.
    mutable std::vector<TLayout> FShown;
    mutable uint64_t FShownGeneration = 0;
    mutable int FLayoutsMade = 0;
    AnsiString FDefaultFont = "MS Sans Serif";
    int FSelStart = 0, FSelLength = 0;
};
