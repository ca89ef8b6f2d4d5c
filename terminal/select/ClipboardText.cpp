#include "terminal/select/ClipboardText.h"

#include <algorithm>

const char* const kCopyAllNotice =
    "\xC0\xFC\xC3\xBC \xB5\xA5\xC0\xCC\xC5\xB8\xB8\xA6 \xC5\xAC\xB8\xB3\xBA\xB8\xB5\xE5\xBF\xA1 "
    "\xBA\xB9\xBB\xE7\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9.";
const char* const kCopyScreenNotice =
    "\xC7\xD1 \xC8\xAD\xB8\xE9\xC0\xC7 \xB5\xA5\xC0\xCC\xC5\xB8\xB8\xA6 \xC5\xAC\xB8\xB3\xBA\xB8\xB5\xE5\xBF\xA1 "
    "\xBA\xB9\xBB\xE7\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9.";

namespace {
AnsiString Lines(const TDataList& data, int from, int to)
{
    from = std::max(from, 0);
    to = std::min(to, data.Count() - 1);
    size_t size = 0;
    for (int y = from; y <= to; ++y)
        size += data.Strings(y).size() + 2;
    AnsiString out;
    out.reserve(size);
    for (int y = from; y <= to; ++y) {
        out += data.Strings(y);
        out += "\r\n";
    }
    return out;
}
}  // namespace

AnsiString AllBufferText(const TDataList& data) { return Lines(data, 0, data.Count() - 1); }

AnsiString ScreenText(const TDataList& data, int linePos, int pageSize)
{
    return Lines(data, linePos, linePos + pageSize);
}
