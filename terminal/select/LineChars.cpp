#include "terminal/select/LineChars.h"

TLineChars::TLineChars(std::string_view line) : FLine(line), FKinds(line.size(), kSingle)
{
    for (size_t i = 0; i < line.size();) {
        if (CharLengthAt(line, i) == 2) {
            FKinds[i] = kLead;
            FKinds[i + 1] = kTrail;
            i += 2;
        } else {
            ++i;
        }
    }
}

unsigned char TLineChars::Byte(int i) const
{
    return i >= 0 && i < Size() ? static_cast<unsigned char>(FLine[static_cast<size_t>(i)]) : 0;
}

bool TLineChars::IsDigit(int i) const { return IsSingle(i) && Byte(i) >= '0' && Byte(i) <= '9'; }

bool TLineChars::IsUpper(int i) const { return IsSingle(i) && Byte(i) >= 'A' && Byte(i) <= 'Z'; }

bool TLineChars::IsLetter(int i) const
{
    const unsigned char c = Byte(i);
    return IsSingle(i) && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'));
}

int TLineChars::Find(std::string_view s, int from) const
{
    if (s.empty() || from < 0)
        return -1;
    for (int i = from; i + static_cast<int>(s.size()) <= Size(); ++i) {
        if (IsTrail(i))
            continue;
        if (FLine.compare(static_cast<size_t>(i), s.size(), s) == 0)
            return i;
    }
    return -1;
}

int TLineChars::TrimEnd(int from, int end) const
{
    while (end > from && Byte(end - 1) == ' ')
        --end;
    return end;
}
