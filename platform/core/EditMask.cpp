#include "platform/core/EditMask.h"

#include <cctype>

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

TEditMask::TEditMask(std::string_view mask, char timeSeparator, char dateSeparator)
{
    // The fields after the picture: the last ";" holds the blank, the one before it the literal flag.
    std::string_view picture = mask;
    size_t last = mask.rfind(';');
    if (last != std::string_view::npos && (last == 0 || mask[last - 1] != '\\')) {
        size_t before = mask.rfind(';', last - (last > 0 ? 1 : 0));
        if (last > 0 && before != std::string_view::npos && before < last &&
            (before == 0 || mask[before - 1] != '\\')) {
            picture = mask.substr(0, before);
            std::string_view flag = mask.substr(before + 1, last - before - 1);
            FSaveLiterals = flag != "0";
            if (last + 1 < mask.size())
                FBlank = mask[last + 1];
        } else {
            picture = mask.substr(0, last);
            FSaveLiterals = mask.substr(last + 1) != "0";
        }
    }
    if (static_cast<unsigned char>(FBlank) < 0x20)
        FBlank = ' ';
    TCase mode = cNone;
    for (size_t i = 0; i < picture.size(); ++i) {
        char c = picture[i];
        TCell cell;
        switch (c) {
        case '!': FLeadingBlanks = true; continue;
        case '>':
            if (i + 1 < picture.size() && picture[i + 1] == '<') {
                mode = cNone;
                ++i;
            } else {
                mode = cUpper;
            }
            continue;
        case '<': mode = cLower; continue;
        case '\\':
            if (++i >= picture.size())
                continue;
            cell.Literal = true;
            cell.Ch = picture[i];
            break;
        case 'L':
        case 'A':
        case 'C':
        case '0':
            cell.Ch = c;
            cell.Required = true;
            break;
        case 'l':
        case 'a':
        case 'c':
        case '9':
        case '#': cell.Ch = c; break;
        case ':':
            cell.Literal = true;
            cell.Ch = timeSeparator;
            break;
        case '/':
            cell.Literal = true;
            cell.Ch = dateSeparator;
            break;
        case '_':
            cell.Literal = true;
            cell.Ch = ' ';
            break;
        default:
            cell.Literal = true;
            cell.Ch = c;
            break;
        }
        cell.Case = mode;
        FCells.push_back(cell);
    }
}

bool TEditMask::Accepts(const TCell& cell, char c, char& out) const
{
    if (IsLeadByte(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) < 0x20)
        return false;
    bool ok = false;
    switch (cell.Ch) {
    case 'L':
    case 'l': ok = IsAsciiLetter(c); break;
    case 'A':
    case 'a': ok = IsAsciiLetter(c) || IsDigit(c); break;
    case 'C':
    case 'c': ok = true; break;
    case '0':
    case '9': ok = IsDigit(c); break;
    case '#': ok = IsDigit(c) || c == '+' || c == '-'; break;
    default: break;
    }
    if (!ok)
        return false;
    out = c;
    if (cell.Case == cUpper && c >= 'a' && c <= 'z')
        out = static_cast<char>(c - 'a' + 'A');
    else if (cell.Case == cLower && c >= 'A' && c <= 'Z')
        out = static_cast<char>(c - 'A' + 'a');
    return true;
}

AnsiString TEditMask::Format(std::string_view value) const
{
    AnsiString shown;
    size_t v = 0;
    for (const TCell& cell : FCells) {
        if (cell.Literal) {
            shown += cell.Ch;
            if (FSaveLiterals && v < value.size())
                ++v;
            continue;
        }
        char out = FBlank;
        if (v < value.size()) {
            char c = value[v++];
            if (c != ' ' && c != FBlank && !Accepts(cell, c, out))
                out = FBlank;
            if (c == ' ')
                out = FBlank;
        }
        shown += out;
    }
    return shown;
}

AnsiString TEditMask::Value(std::string_view shown) const
{
    AnsiString value;
    for (size_t i = 0; i < FCells.size(); ++i) {
        char c = i < shown.size() ? shown[i] : FBlank;
        if (FCells[i].Literal) {
            if (FSaveLiterals)
                value += FCells[i].Ch;
        } else {
            value += c == FBlank ? ' ' : c;
        }
    }
    if (!FSaveLiterals) {
        // Without literals the value is its characters: empty positions only pad, so they go.
        size_t end = value.find_last_not_of(' ');
        value.erase(end == AnsiString::npos ? 0 : end + 1);
        if (FLeadingBlanks)
            value.erase(0,
                        value.find_first_not_of(' ') == AnsiString::npos ? value.size() : value.find_first_not_of(' '));
    }
    return value;
}

int TEditMask::FirstMissing(std::string_view shown) const
{
    for (size_t i = 0; i < FCells.size(); ++i)
        if (!FCells[i].Literal && FCells[i].Required && (i >= shown.size() || shown[i] == FBlank))
            return static_cast<int>(i);
    return -1;
}

size_t TEditMask::NextEditPos(size_t pos) const
{
    while (pos < FCells.size() && FCells[pos].Literal)
        ++pos;
    return pos;
}

int TEditMask::PrevEditPos(size_t pos) const
{
    int p = static_cast<int>(std::min(pos, FCells.size() - (FCells.empty() ? 0 : 1)));
    if (FCells.empty())
        return -1;
    while (p >= 0 && FCells[static_cast<size_t>(p)].Literal)
        --p;
    return p;
}

int TEditMask::Type(AnsiString& shown, size_t pos, char c) const
{
    if (shown.size() != FCells.size())
        shown = Format(Value(shown));
    if (pos < FCells.size() && FCells[pos].Literal && FCells[pos].Ch == c)
        return static_cast<int>(pos + 1);
    size_t at = NextEditPos(pos);
    char out = 0;
    if (at >= FCells.size() || !Accepts(FCells[at], c, out)) {
        // A typed separator leaves the field: past the next literal that is that character.
        for (size_t i = pos; i < FCells.size(); ++i)
            if (FCells[i].Literal && FCells[i].Ch == c)
                return static_cast<int>(i + 1);
        return -1;
    }
    shown[at] = out;
    return static_cast<int>(NextEditPos(at + 1) < FCells.size() ? NextEditPos(at + 1) : at + 1);
}

void TEditMask::Clear(AnsiString& shown, size_t from, size_t to) const
{
    if (shown.size() != FCells.size())
        shown = Format(Value(shown));
    for (size_t i = from; i < to && i < FCells.size(); ++i)
        if (!FCells[i].Literal)
            shown[i] = FBlank;
}
