#include "controls/core/StrUtils.h"

namespace {

constexpr size_t kShortStringMax = 255;

char KeyByte(std::string_view key, size_t i) { return key.empty() ? '\0' : key[i % key.size()]; }

int HexDigit(char c) { return HexDigitValue(c); }

}  // namespace

AnsiString XorString(std::string_view key, std::string_view source)
{
    AnsiString out(source.substr(0, kShortStringMax));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char>(out[i] ^ KeyByte(key, i));
    return out;
}

AnsiString XorEncode(std::string_view key, std::string_view source)
{
    static const char kDigits[] = "0123456789ABCDEF";
    AnsiString out;
    out.reserve(source.size() * 2);
    for (size_t i = 0; i < source.size(); ++i) {
        auto b = static_cast<unsigned char>(source[i] ^ KeyByte(key, i));
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
    }
    return out;
}

AnsiString XorDecode(std::string_view key, std::string_view source)
{
    AnsiString out;
    out.reserve(source.size() / 2);
    for (size_t pair = 0; pair * 2 + 1 < source.size(); ++pair) {
        int high = HexDigit(source[pair * 2]), low = HexDigit(source[pair * 2 + 1]);
        int b = (high < 0 || low < 0) ? ' ' : high * 16 + low;
        out += static_cast<char>(b ^ KeyByte(key, pair));
    }
    return out;
}
