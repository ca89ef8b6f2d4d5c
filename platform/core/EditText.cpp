#include "platform/core/EditText.h"

#include <algorithm>

AnsiString FitInsert(std::string_view text, size_t selStart, size_t selLen, std::string_view insert, int maxLength)
{
    if (maxLength <= 0)
        return AnsiString(insert);
    selStart = std::min(selStart, text.size());
    selLen = std::min(selLen, text.size() - selStart);
    const size_t kept = text.size() - selLen;
    const size_t limit = static_cast<size_t>(maxLength);
    if (kept >= limit)
        return AnsiString();
    const size_t room = limit - kept;
    size_t n = 0;
    while (n < insert.size()) {
        // A line break (CR LF) is one unit too.
        size_t len = insert.compare(n, 2, "\r\n") == 0 ? 2 : static_cast<size_t>(CharLengthAt(insert, n));
        if (n + len > room)
            break;
        n += len;
    }
    return AnsiString(insert.substr(0, n));
}

size_t SnapToChar(std::string_view text, size_t pos, bool forward)
{
    pos = std::min(pos, text.size());
    if (pos > 0 && pos < text.size() && IsTrailByteAt(text, pos))
        return forward ? pos + 1 : pos - 1;
    return pos;
}

AnsiString ApplyCharCase(std::string_view text, TEditCharCase charCase)
{
    switch (charCase) {
    case ecUpperCase: return UpperCase(text);
    case ecLowerCase: return LowerCase(text);
    default: return AnsiString(text);
    }
}

size_t CharIndexToByte(std::string_view text, size_t index)
{
    size_t pos = 0;
    for (; index > 0 && pos < text.size(); --index)
        pos += static_cast<size_t>(CharLengthAt(text, pos));
    return std::min(pos, text.size());
}

size_t ByteToCharIndex(std::string_view text, size_t pos)
{
    size_t chars = 0;
    for (size_t i = 0; i < pos && i < text.size(); i += static_cast<size_t>(CharLengthAt(text, i)))
        ++chars;
    return chars;
}
