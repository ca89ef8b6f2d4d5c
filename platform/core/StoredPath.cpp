#include "platform/core/StoredPath.h"

#include <filesystem>

#include "platform/core/Cp949.h"
#include "platform/core/ProgramFolder.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned char kNameEscape = 0xFF;  // never a byte of cp949 text

// Native bytes that a program path would read as a separator, a drive or a wildcard.
bool ReadAsSomethingElse(char c) { return c == '\\' || c == ':' || c == '*' || c == '?' || c == '|'; }

// The byte an escape at text[i] stands for, or -1. A slash or a NUL is never made from an escape:
// neither can be part of a name.
int EscapedByte(std::string_view text, size_t i)
{
    if (static_cast<unsigned char>(text[i]) != kNameEscape || i + 2 >= text.size())
        return -1;
    const int high = HexDigitValue(text[i + 1]), low = HexDigitValue(text[i + 2]);
    const int byte = high < 0 || low < 0 ? -1 : high * 16 + low;
    return byte == 0 || byte == '/' ? -1 : byte;
}

// Program text to native bytes: cp949 runs converted with backslashes made slashes, escapes
// given back as the bytes they stand for.
std::string DecodeProgramText(std::string_view text)
{
    std::string out;
    size_t run = 0;
    const auto flush = [&](size_t end) {
        std::string part = Cp949ToUtf8(text.substr(run, end - run));
        for (char& c : part)
            if (c == '\\')
                c = '/';
        out += part;
    };
    for (size_t i = 0; i < text.size();) {
        const int byte = EscapedByte(text, i);
        if (byte < 0) {
            i += static_cast<size_t>(CharLengthAt(text, i));
            continue;
        }
        flush(i);
        out += static_cast<char>(byte);
        i += 3;
        run = i;
    }
    flush(text.size());
    return out;
}

void AppendEscapes(AnsiString& out, std::string_view bytes)
{
    static const char kHex[] = "0123456789ABCDEF";
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += static_cast<char>(kNameEscape);
        out += kHex[byte >> 4];
        out += kHex[byte & 0xF];
    }
}

}  // namespace

std::string NativePath(std::string_view programPath)
{
    if (programPath.empty())
        return std::string();
    if (programPath.size() >= 2 && programPath[1] == ':' &&
        ((programPath[0] >= 'A' && programPath[0] <= 'Z') || (programPath[0] >= 'a' && programPath[0] <= 'z')))
        programPath.remove_prefix(2);
    const std::string path = DecodeProgramText(programPath);
    if (path.empty())
        return ProgramFolder();
    fs::path native = path[0] == '/' ? fs::path(path) : fs::path(ProgramFolder()) / path;
    std::string result = native.lexically_normal().string();
    // Keep the caller's trailing separator meaning "a folder", drop the "/." that
    // normalising may leave.
    if (result.size() > 1 && result.back() == '/' && path.back() != '/')
        result.pop_back();
    return result;
}

std::string NativeName(std::string_view programName) { return DecodeProgramText(programName); }

AnsiString StoredName(std::string_view nativeName)
{
    AnsiString plain = Utf8ToCp949(nativeName);
    bool reserved = false;
    for (char c : nativeName)
        reserved = reserved || ReadAsSomethingElse(c);
    if (!reserved && Cp949ToUtf8(plain) == nativeName)
        return plain;
    // Character by character: those that convert back exactly stay text.
    AnsiString out;
    for (size_t i = 0; i < nativeName.size();) {
        const std::string_view one = nativeName.substr(i, Utf8CharLength(nativeName.substr(i)));
        const AnsiString text = Utf8ToCp949(one);
        if (one.size() == 1 && ReadAsSomethingElse(one[0]))
            AppendEscapes(out, one);
        else if (Cp949ToUtf8(text) == one)
            out += text;
        else
            AppendEscapes(out, one);
        i += one.size();
    }
    return out;
}

AnsiString StoredPath(std::string_view nativePath)
{
    if (nativePath.empty())
        return AnsiString();
    fs::path native = fs::path(std::string(nativePath)).lexically_normal();
    fs::path folder = fs::path(ProgramFolder()).lexically_normal();
    std::string text = native.string();
    fs::path relative = native.lexically_relative(folder);
    if (!relative.empty() && *relative.begin() != ".." && relative != ".")
        text = relative.string();
    AnsiString stored;
    for (size_t start = 0;;) {
        const size_t cut = text.find('/', start);
        stored += StoredName(std::string_view(text).substr(start, cut - start));
        if (cut == std::string::npos)
            return stored;
        stored += '\\';
        start = cut + 1;
    }
}

std::vector<std::string> ShippedPaths(std::string_view programPath)
{
    const std::string native = NativePath(programPath);
    std::vector<std::string> folders{native};
    const fs::path relative = fs::path(native).lexically_relative(fs::path(ProgramFolder()).lexically_normal());
    if (relative.empty() || *relative.begin() == "..")
        return folders;
    std::string beside = (fs::path(ExecutableFolder()) / relative).lexically_normal().string();
    if (beside.size() > 1 && beside.back() == '/')
        beside.pop_back();
    if (beside != native)
        folders.push_back(beside);
    return folders;
}

AnsiString ShownPath(std::string_view programPath) { return Utf8ToCp949(NativePath(programPath)); }

std::string ShippedFilePath(std::string_view programPath)
{
    const std::vector<std::string> copies = ShippedPaths(programPath);
    std::error_code error;
    for (const std::string& copy : copies)
        if (fs::exists(copy, error))
            return copy;
    return copies.front();
}
