#include "platform/gui/DrawTextLayout.h"

#include <algorithm>
#include <cstdint>

namespace {

const char kEllipsis[] = "...";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A paragraph after "&" processing, with the byte of the underlined character (-1: none). The
// text is the paragraph itself when nothing is taken out of it.
struct TParagraph {
    std::string_view Text;
    AnsiString Own;
    int Underline = -1;
};

TParagraph StripPrefix(std::string_view s, unsigned flags)
{
    TParagraph p;
    if (flags & DT_NOPREFIX) {
        p.Text = s;
        return p;
    }
    for (size_t i = 0; i < s.size();) {
        if (s[i] == '&') {
            if (i + 1 < s.size() && s[i + 1] == '&') {
                p.Own += '&';
                i += 2;
                continue;
            }
            ++i;
            if (i >= s.size())
                break;  // a lone "&" at the end shows nothing
            p.Underline = static_cast<int>(p.Own.size());
        }
        const int n = CharLengthAt(s, i);
        p.Own.append(s.substr(i, n));
        i += n;
    }
    if (flags & DT_HIDEPREFIX)
        p.Underline = -1;
    p.Text = p.Own;
    return p;
}

// What a drawn text can show: characters across a line and lines down. Every character is a
// pixel wide at least, so a line shows no more characters than its room has pixels (with slack
// for the narrowest); the room is the rectangle when it clips, the largest screen coordinate
// when it does not. Measuring (DT_CALCRECT) lays out everything.
constexpr int kMaxShownPixels = 32767;
constexpr size_t kShownSlack = 256;

struct TShown {
    size_t Chars = SIZE_MAX;
    size_t Lines = SIZE_MAX;
};

size_t ShownChars(int64_t room)
{
    return static_cast<size_t>(std::clamp<int64_t>(room, 0, kMaxShownPixels)) + kShownSlack;
}

TShown ShownIn(const TRect& rect, unsigned flags, int lineHeight)
{
    TShown shown;
    if (flags & DT_CALCRECT)
        return shown;
    const bool clip = !(flags & DT_NOCLIP);
    const auto room = [clip](int64_t extent) {
        return static_cast<size_t>(clip ? std::clamp<int64_t>(extent, 0, kMaxShownPixels) : kMaxShownPixels);
    };
    shown.Chars = ShownChars(room(int64_t{rect.Right} - rect.Left));
    if (lineHeight > 0)
        shown.Lines = room(int64_t{rect.Bottom} - rect.Top) / static_cast<size_t>(lineHeight) + 2;
    return shown;
}

// The first n characters of s.
std::string_view FirstChars(std::string_view s, size_t n)
{
    size_t at = 0;
    for (; n > 0 && at < s.size(); --n)
        at += CharLengthAt(s, at);
    return s.substr(0, std::min(at, s.size()));
}

// The part of a line of more than n characters that can show: its start when it is left-aligned
// or shortened with an ellipsis, its end when right-aligned, its middle when centred (placed as
// the middle of the whole would be).
std::string_view ShownPart(std::string_view s, unsigned flags, size_t n)
{
    if (FirstChars(s, n).size() == s.size())
        return s;
    if ((flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)) || !(flags & (DT_RIGHT | DT_CENTER)))
        return FirstChars(s, n);
    size_t total = 0;
    for (size_t at = 0; at < s.size(); at += CharLengthAt(s, at))
        ++total;
    const size_t skip = flags & DT_RIGHT ? total - n : (total - n) / 2;
    const size_t from = FirstChars(s, skip).size();
    return FirstChars(s.substr(from), n);
}

}  // namespace

std::string_view ShownPartOfLine(std::string_view line, int64_t room, unsigned flags)
{
    return ShownPart(line, flags, ShownChars(room));
}

namespace {

class TMeasure {
public:
    TMeasure(const TTextMetrics& m, unsigned flags) : FMetrics(m), FExpand(flags & DT_EXPANDTABS)
    {
        FTab = std::max(1, 8 * m.AveCharWidth());
    }

    // Width of s drawn from the line start, tabs going to the next stop when expanded.
    int Width(std::string_view s) const
    {
        if (!FExpand)
            return FMetrics.TextWidth(s);
        int x = 0;
        size_t start = 0;
        for (;;) {
            const size_t tab = s.find('\t', start);
            x += FMetrics.TextWidth(s.substr(start, tab == std::string_view::npos ? s.npos : tab - start));
            if (tab == std::string_view::npos)
                return x;
            x = (x / FTab + 1) * FTab;
            start = tab + 1;
        }
    }

    // The pieces of a line as they are drawn.
    std::vector<TDrawTextRun> Runs(std::string_view s, int x0) const
    {
        std::vector<TDrawTextRun> runs;
        if (!FExpand) {
            if (!s.empty())
                runs.push_back({AnsiString(s), x0});
            return runs;
        }
        int x = 0;
        size_t start = 0;
        for (;;) {
            const size_t tab = s.find('\t', start);
            const std::string_view piece = s.substr(start, tab == std::string_view::npos ? s.npos : tab - start);
            if (!piece.empty())
                runs.push_back({AnsiString(piece), x0 + x});
            x += FMetrics.TextWidth(piece);
            if (tab == std::string_view::npos)
                return runs;
            x = (x / FTab + 1) * FTab;
            start = tab + 1;
        }
    }

    int CharWidth(std::string_view s, size_t i) const { return FMetrics.TextWidth(s.substr(i, CharLengthAt(s, i))); }

private:
    const TTextMetrics& FMetrics;
    bool FExpand;
    int FTab = 8;
};

// Byte offsets of the character starts of s, and its length at the end.
std::vector<size_t> CharStarts(std::string_view s)
{
    std::vector<size_t> v;
    for (size_t i = 0; i < s.size(); i += CharLengthAt(s, i))
        v.push_back(i);
    v.push_back(s.size());
    return v;
}

// The longest character-aligned prefix of s whose width with `tail` after it is within max,
// looked for among the first `shown` characters (no more can fit).
size_t FitPrefix(const TMeasure& m, std::string_view s, std::string_view tail, int max, size_t shown)
{
    const std::vector<size_t> starts = CharStarts(FirstChars(s, shown));
    size_t best = 0;
    // Widths grow with the prefix, so a binary search over the character starts is exact.
    size_t lo = 0, hi = starts.size() - 1;
    while (lo <= hi) {
        const size_t mid = (lo + hi) / 2;
        AnsiString t(s.substr(0, starts[mid]));
        t += tail;
        if (m.Width(t) <= max) {
            best = starts[mid];
            lo = mid + 1;
        } else {
            if (mid == 0)
                break;
            hi = mid - 1;
        }
    }
    return best;
}

struct TPiece {
    AnsiString Text;
    int Underline = -1;
};

// Shortens a line wider than max with "..." (at the end, or before the last "\" for paths).
void Ellipsize(const TMeasure& m, TPiece& line, int max, unsigned flags, size_t shown)
{
    if (m.Width(line.Text) <= max)
        return;
    std::string_view s = line.Text;
    if (flags & DT_PATH_ELLIPSIS) {
        // The last backslash that is a character of its own (0x5C is also a trail byte).
        size_t slash = s.rfind('\\');
        while (slash != std::string_view::npos && slash > 0 && IsTrailByteAt(s, slash))
            slash = s.rfind('\\', slash - 1);
        if (slash != std::string_view::npos && slash > 0) {
            const AnsiString tail = kEllipsis + AnsiString(s.substr(slash));
            if (m.Width(tail) <= max) {
                const size_t keep = FitPrefix(m, s.substr(0, slash), tail, max, shown);
                if (line.Underline >= static_cast<int>(keep) && line.Underline < static_cast<int>(slash))
                    line.Underline = -1;
                else if (line.Underline >= static_cast<int>(slash))
                    line.Underline -= static_cast<int>(slash - keep) - 3;
                line.Text = AnsiString(s.substr(0, keep)) + tail;
                return;
            }
        }
    }
    const size_t keep = FitPrefix(m, s, kEllipsis, max, shown);
    if (line.Underline >= static_cast<int>(keep))
        line.Underline = -1;
    line.Text = AnsiString(s.substr(0, keep)) + kEllipsis;
}

// Whether s fits in max pixels; a text of more characters than can show never does, and is not
// measured.
bool Fits(const TMeasure& m, std::string_view s, int max, size_t shown)
{
    return FirstChars(s, shown).size() == s.size() && m.Width(s) <= max;
}

// Breaks a paragraph into lines at blanks, at most `lines` of them; a word wider than the line
// stays whole (only its shown part kept) unless the edit-control rule asks for a break between
// its characters.
std::vector<TPiece> WrapParagraph(const TMeasure& m, const TParagraph& p, int max, unsigned flags, TShown shown)
{
    std::vector<TPiece> lines;
    const std::string_view s = p.Text;
    auto addLine = [&](size_t from, size_t to) {
        const std::string_view part = ShownPart(s.substr(from, to - from), flags, shown.Chars);
        const size_t at = static_cast<size_t>(part.data() - s.data());
        TPiece piece{AnsiString(part), -1};
        if (p.Underline >= static_cast<int>(at) && p.Underline < static_cast<int>(at + part.size()))
            piece.Underline = p.Underline - static_cast<int>(at);
        lines.push_back(std::move(piece));
    };
    if (s.empty()) {
        addLine(0, 0);
        return lines;
    }
    size_t start = 0;
    for (bool firstLine = true; lines.size() < shown.Lines; firstLine = false) {
        if (!firstLine)
            while (start < s.size() && IsBlank(s[start]))
                ++start;  // blanks at a break vanish
        if (start >= s.size())
            break;
        size_t end = start, i = start;
        bool any = false;
        for (;;) {
            size_t j = i;
            while (j < s.size() && IsBlank(s[j]))
                ++j;
            if (j >= s.size()) {
                end = s.size();
                break;
            }
            size_t k = j;
            while (k < s.size() && !IsBlank(s[k]))
                k += CharLengthAt(s, k);
            if (Fits(m, s.substr(start, k - start), max, shown.Chars)) {
                end = i = k;
                any = true;
                continue;
            }
            if (any)
                break;  // the word goes to the next line
            // The first word alone is too wide: it stays whole, or with the edit-control rule
            // is cut between characters (one at least, so the layout always advances).
            end = k;
            if (flags & DT_EDITCONTROL) {
                const int room = max - m.Width(s.substr(start, j - start));
                size_t cut = j + FitPrefix(m, s.substr(j, k - j), "", room, shown.Chars);
                if (cut == j)
                    cut = j + CharLengthAt(s, j);
                end = cut;
            }
            break;
        }
        size_t visible = end;
        while (visible > start && IsBlank(s[visible - 1]))
            --visible;
        addLine(start, visible);
        start = end;
    }
    return lines;
}

}  // namespace

TDrawTextLayout LayoutDrawText(const TTextMetrics& metrics, std::string_view text, const TRect& rect, unsigned flags)
{
    TDrawTextLayout out;
    const TMeasure m(metrics, flags);
    const int lineHeight = metrics.LineHeight();
    const int maxWidth = rect.Width();
    const bool single = flags & DT_SINGLELINE;
    const bool wrap = (flags & DT_WORDBREAK) && !single;
    const bool ellipsis = flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS);

    const TShown shown = ShownIn(rect, flags, lineHeight);
    std::vector<TPiece> lines;
    const auto add = [&](std::string_view para) {
        if (wrap) {
            TShown left = shown;
            left.Lines -= std::min(left.Lines, lines.size());
            for (TPiece& l : WrapParagraph(m, StripPrefix(para, flags), maxWidth, flags, left))
                lines.push_back(std::move(l));
        } else {
            const TParagraph p = StripPrefix(ShownPart(para, flags, shown.Chars), flags);
            lines.push_back({AnsiString(p.Text), p.Underline});
        }
    };
    if (!text.empty()) {
        if (single) {
            add(text);
        } else {
            size_t start = 0;
            for (size_t i = 0; i < text.size() && lines.size() < shown.Lines;) {
                if (text[i] == '\r' || text[i] == '\n') {
                    add(text.substr(start, i - start));
                    i += (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
                    start = i;
                } else {
                    i += CharLengthAt(text, i);
                }
            }
            if (start < text.size() && lines.size() < shown.Lines)
                add(text.substr(start));
        }
    }
    if (ellipsis)
        for (TPiece& l : lines)
            Ellipsize(m, l, maxWidth, flags, shown.Chars);
    // An edit control shows no partly visible last line (the first line always shows).
    if ((flags & DT_EDITCONTROL) && !(flags & DT_CALCRECT) && !single && lineHeight > 0) {
        const size_t fit = static_cast<size_t>(std::max(1, rect.Height() / lineHeight));
        if (lines.size() > fit)
            lines.resize(fit);
    }

    const int total = lineHeight * static_cast<int>(lines.size());
    int y = rect.Top;
    if (single && !(flags & DT_CALCRECT)) {
        if (flags & DT_VCENTER)
            y = rect.Top + (rect.Height() - lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            y = rect.Bottom - lineHeight;
    }
    int widest = 0;
    for (const TPiece& l : lines) {
        TDrawTextLine line;
        line.Width = m.Width(l.Text);
        widest = std::max(widest, line.Width);
        if (flags & DT_CALCRECT)
            line.Left = rect.Left;
        else if (flags & DT_CENTER)
            line.Left = rect.Left + (maxWidth - line.Width) / 2;
        else if (flags & DT_RIGHT)
            line.Left = rect.Right - line.Width;
        else
            line.Left = rect.Left;
        line.Y = y;
        line.Runs = m.Runs(l.Text, line.Left);
        if (l.Underline >= 0 && l.Underline < static_cast<int>(l.Text.size())) {
            line.UnderlineX = line.Left + m.Width(std::string_view(l.Text).substr(0, l.Underline));
            line.UnderlineWidth = m.CharWidth(l.Text, l.Underline);
        }
        out.Lines.push_back(std::move(line));
        y += lineHeight;
    }
    out.Bounds = TRect{rect.Left, rect.Top, rect.Left + widest, rect.Top + total};
    out.Height = total;
    if (single && !(flags & DT_CALCRECT) && (flags & (DT_VCENTER | DT_BOTTOM)) && !lines.empty())
        out.Height = out.Lines.front().Y + lineHeight - rect.Top;
    return out;
}
