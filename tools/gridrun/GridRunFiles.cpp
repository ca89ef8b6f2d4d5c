#include "tools/gridrun/GridRunFiles.h"

#include <ostream>

#include "platform/core/Streams.h"

void ShowFile(std::ostream& Out, const AnsiString& FileName)
{
    static const char* const kHex = "0123456789ABCDEF";
    const std::string bytes = ReadWholeFile(FileName);
    std::string line;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\': line += "\\\\"; continue;
        case '\t': line += "\\t"; continue;
        case '\r': line += "\\r"; continue;
        case '\b': line += "\\b"; continue;
        case '\n':
            Out << line << "\\n\n";
            line.clear();
            continue;
        default: break;
        }
        if (byte < 0x20 || byte >= 0x7F) {
            line += "\\x";
            line += kHex[byte >> 4];
            line += kHex[byte & 15];
        } else {
            line += c;
        }
    }
    if (!line.empty())
        Out << line << '\n';
}
