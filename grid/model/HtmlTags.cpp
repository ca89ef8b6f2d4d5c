#include "grid/model/HtmlTags.h"

#include <algorithm>
#include <array>
#include <climits>
#include <utility>

namespace {

constexpr std::array<std::pair<std::string_view, TColor>, 40> kColorNames = {{
    {"clred", clRed},
    {"clblack", clBlack},
    {"clblue", clBlue},
    {"clgreen", clGreen},
    {"claqua", clAqua},
    {"clyellow", clYellow},
    {"clfuchsia", clFuchsia},
    {"clwhite", clWhite},
    {"cllime", clLime},
    {"clsilver", clSilver},
    {"clgray", clGray},
    {"clolive", clOlive},
    {"clnavy", clNavy},
    {"clpurple", clPurple},
    {"clteal", clTeal},
    {"clmaroon", clMaroon},
    {"clbackground", clBackground},
    {"clactivecaption", clActiveCaption},
    {"clinactivecaption", clInactiveCaption},
    {"clmenu", clMenu},
    {"clwindow", clWindow},
    {"clwindowframe", clWindowFrame},
    {"clmenutext", clMenuText},
    {"clwindowtext", clWindowText},
    {"clcaptiontext", clCaptionText},
    {"clactiveborder", clActiveBorder},
    {"clinactiveborder", clInactiveBorder},
    {"clappworkspace", clAppWorkSpace},
    {"clhighlight", clHighlight},
    {"clhighlighttext", clHighlightText},
    {"clbtnface", clBtnFace},
    {"clbtnshadow", clBtnShadow},
    {"clgraytext", clGrayText},
    {"clbtntext", clBtnText},
    {"clinactivecaptiontext", clInactiveCaptionText},
    {"clbtnhighlight", clBtnHighlight},
    {"cl3ddkshadow", cl3DDkShadow},
    {"cl3dlight", cl3DLight},
    {"clinfotext", clInfoText},
    {"clinfobk", clInfoBk},
}};

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether Text holds Sub at byte i, ASCII letters compared without case.
bool MatchAt(std::string_view Text, size_t i, std::string_view Sub)
{
    if (i + Sub.size() > Text.size())
        return false;
    for (size_t k = 0; k < Sub.size(); ++k)
        if (UpperAscii(Text[i + k]) != UpperAscii(Sub[k]))
            return false;
    return true;
}

struct TEntity {
    std::string_view Name, Text;
};
constexpr std::array<TEntity, 4> kEntities = {{{"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}, {"&quot;", "\""}}};

}  // namespace

TColor ColorNameToColor(std::string_view Name)
{
    for (const auto& [name, color] : kColorNames)
        if (name == Name)
            return color;
    return clBlack;
}

int HexPairToByte(char First, char Second)
{
    const auto digit = [](char c) {
        int v = static_cast<unsigned char>(c) - '0';
        return v > 10 ? v - 7 : v;
    };
    return digit(First) * 16 + digit(Second);
}

TColor HexToColor(std::string_view Text, TColor Unchanged)
{
    if (Text.size() < 7 || Text[0] != '#')
        return Unchanged;
    for (size_t i = 1; i < 7; ++i)
        if (HexDigitValue(Text[i]) < 0)
            return Unchanged;
    const int r = HexPairToByte(UpperAscii(Text[1]), UpperAscii(Text[2]));
    const int g = HexPairToByte(UpperAscii(Text[3]), UpperAscii(Text[4]));
    const int b = HexPairToByte(UpperAscii(Text[5]), UpperAscii(Text[6]));
    return (b << 16) + (g << 8) + r;
}

int PosNoCase(std::string_view Sub, std::string_view Text)
{
    if (Sub.empty() || Sub.size() > Text.size())
        return 0;
    for (size_t i = 0; i + Sub.size() <= Text.size(); i += static_cast<size_t>(CharLengthAt(Text, i)))
        if (MatchAt(Text, i, Sub))
            return static_cast<int>(i) + 1;
    return 0;
}

int PosNoCaseBeyond(std::string_view Sub, std::string_view Text, int Mark)
{
    const int p = PosNoCase(Sub, Text);
    return p > Mark ? p : 0;
}

int TagIntValue(std::string_view Text)
{
    size_t i = 0;
    bool negative = false;
    if (i < Text.size() && (Text[i] == '-' || Text[i] == '+'))
        negative = Text[i++] == '-';
    long long v = 0;
    for (; i < Text.size() && Text[i] >= '0' && Text[i] <= '9'; ++i)
        v = std::min<long long>(v * 10 + (Text[i] - '0'), 1LL << 32);
    v = negative ? -v : v;
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

bool TagCleanInt(std::string_view Text, int& Value)
{
    return TryStrToInt(Text, Value) && Text.find_first_of("$xX") == std::string_view::npos;
}

AnsiString UnwrapHashTag(std::string_view Text)
{
    AnsiString s(Text);
    const size_t open = s.find("<#");
    if (open == AnsiString::npos)
        return s;
    s.erase(open, 1);
    const size_t close = s.find('>', open);
    if (close != AnsiString::npos)
        s.erase(close, 1);
    return s;
}

bool ReplaceEntity(std::string_view Entity, std::string_view Replacement, AnsiString& Text, int& Mark)
{
    const int p = PosNoCase(Entity, Text);
    if (p <= Mark)
        return false;
    Text.replace(static_cast<size_t>(p - 1), Entity.size(), Replacement);
    Mark = p + static_cast<int>(Replacement.size());
    return true;
}

AnsiString DecodeHtmlEntities(std::string_view Word)
{
    // ReplaceEntity in a loop, in one pass: a replacement that lets the loop go on is always at
    // the first "&" left, so the output before it is final and each entity's next occurrence
    // only moves forward.
    constexpr size_t kUnknown = std::string_view::npos - 1;
    AnsiString out;
    size_t i = 0;  // the first byte of Word not yet copied
    std::array<size_t, kEntities.size()> next;
    next.fill(kUnknown);
    const auto find = [&](size_t e) {
        if (next[e] == kUnknown || (next[e] != std::string_view::npos && next[e] < i)) {
            size_t j = i;
            while ((j = Word.find('&', j)) != std::string_view::npos && !MatchAt(Word, j, kEntities[e].Name))
                ++j;
            next[e] = j;
        }
        return next[e];
    };
    for (bool replaced = false;;) {
        const size_t amp = Word.find('&', i);
        // The next "&" must lie beyond the last replacement, not right after it.
        if (amp == std::string_view::npos || (replaced && amp == i))
            break;
        size_t e = 0, at = std::string_view::npos;
        for (; e < kEntities.size(); ++e)
            if ((at = find(e)) != std::string_view::npos)
                break;
        if (at == std::string_view::npos)
            break;
        out.append(Word.substr(i, at - i));
        out.append(kEntities[e].Text);
        i = at + kEntities[e].Name.size();
        replaced = true;
        // A replacement behind the first "&", or one that leaves an "&" at its place, ends it.
        if (at != amp || kEntities[e].Text == "&")
            break;
    }
    out.append(Word.substr(i));
    return out;
}

std::string_view TagAttributes(std::string_view Tag, size_t From)
{
    const size_t close = Tag.find('>');
    const size_t end = close == std::string_view::npos ? Tag.size() : close;
    return From < end ? Tag.substr(From, end - From) : std::string_view();
}

bool HasAttribute(std::string_view Attributes, std::string_view Name, bool CaseSensitive)
{
    return CaseSensitive ? AnsiPos(Name, Attributes) > 0 : PosNoCase(Name, Attributes) > 0;
}

AnsiString AttributeValue(std::string_view Attributes, std::string_view Name, bool CaseSensitive)
{
    const int p = CaseSensitive ? AnsiPos(Name, Attributes) : PosNoCase(Name, Attributes);
    if (p == 0)
        return {};
    const size_t open = Attributes.find('"', static_cast<size_t>(p - 1) + Name.size());
    if (open == std::string_view::npos)
        return {};
    const size_t close = Attributes.find('"', open + 1);
    if (close == std::string_view::npos)
        return {};
    return AnsiString(Attributes.substr(open + 1, close - open - 1));
}

TColor AttributeColor(std::string_view Value, TColor Current)
{
    if (Value.find('#') != std::string_view::npos)
        return HexToColor(Value, Current);
    if (AnsiPos("cl", Value) > 0)
        return ColorNameToColor(LowerCase(Value));
    return Current;
}

AnsiString StripHtmlTags(std::string_view Text)
{
    AnsiString breaks;
    breaks.reserve(Text.size());
    for (size_t i = 0; i < Text.size();) {
        if (Text[i] == '<' && (MatchAt(Text, i, "<BR>") || MatchAt(Text, i, "<HR>"))) {
            breaks += "\r\n";
            i += 4;
        } else {
            breaks += Text[i++];
        }
    }
    AnsiString out;
    out.reserve(breaks.size());
    for (size_t i = 0; i < breaks.size();) {
        if (breaks[i] != '<') {
            out += breaks[i++];
            continue;
        }
        const size_t close = breaks.find('>', i);
        if (close == AnsiString::npos)
            break;
        i = close + 1;
    }
    return out;
}
