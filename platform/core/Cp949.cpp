#include "platform/core/Cp949.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <stdexcept>

namespace {

const char kReplacementUtf8[] = "\xEF\xBF\xBD";

// One iconv descriptor per direction, opened on first use and kept: the program converts on
// one thread, and each call starts from the initial shift state.
class TConverter {
public:
    TConverter(const char* to, const char* from)
    {
        cd_ = iconv_open(to, from);
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    ~TConverter() { iconv_close(cd_); }
    TConverter(const TConverter&) = delete;
    TConverter& operator=(const TConverter&) = delete;

    // Converts text. iconv may swallow a refused character before reporting it (glibc's CP949
    // does so for an unmapped pair), so once it refuses anything the text is converted again one
    // character at a time: `charLength` tells how long the next character is, and `onError`
    // appends a stand-in for a refused one and returns how many bytes to step over.
    template <typename CharLength, typename OnError>
    std::string Run(std::string_view text, CharLength charLength, OnError onError)
    {
        std::string out;
        if (Convert(text, out))
            return out;
        out.clear();
        size_t i = 0;
        std::string piece;
        while (i < text.size()) {
            std::string_view rest = text.substr(i);
            size_t n = std::clamp<size_t>(charLength(rest), 1, rest.size());
            if (Convert(rest.substr(0, n), piece)) {
                out += piece;
                i += n;
            } else {
                i += std::clamp<size_t>(onError(out, rest, n), 1, rest.size());
            }
        }
        return out;
    }

    // The whole text at once; false when iconv refused any of it.
    bool Convert(std::string_view text, std::string& out)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.resize(text.size() * 2 + 16);
        char* in = const_cast<char*>(text.data());
        size_t inLeft = text.size();
        size_t used = 0;
        for (;;) {
            char* dst = out.data() + used;
            size_t dstLeft = out.size() - used;
            size_t r = iconv(cd_, &in, &inLeft, &dst, &dstLeft);
            used = out.size() - dstLeft;
            if (r != static_cast<size_t>(-1)) {
                out.resize(used);
                return true;
            }
            if (errno != E2BIG)
                return false;
            out.resize(out.size() * 2);
        }
    }

private:
    iconv_t cd_;
};

TConverter& FromCp949()
{
    static thread_local TConverter c("UTF-8", "CP949");
    return c;
}

TConverter& ToCp949()
{
    static thread_local TConverter c("CP949", "UTF-8");
    return c;
}

// Length of the UTF-8 sequence that starts with byte c (1 for a stray byte).
size_t Utf8Length(unsigned char c)
{
    if (c >= 0xF0 && c <= 0xF4)
        return 4;
    if (c >= 0xE0)
        return c <= 0xEF ? 3 : 1;
    if (c >= 0xC2)
        return 2;
    return 1;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string Cp949ToUtf8(std::string_view text)
{
    return FromCp949().Run(
        text, [](std::string_view rest) { return static_cast<size_t>(CharLengthAt(rest, 0)); },
        [](std::string& out, std::string_view rest, size_t n) {
            out += kReplacementUtf8;
            // An unmapped pair is one bad character; a lead byte without a valid trail byte is
            // one bad byte, and the byte after it is read again.
            auto trail = n == 2 ? static_cast<unsigned char>(rest[1]) : 0;
            bool pair = n == 2 && trail >= 0x41 && trail != 0xFF && !(trail > 0x5A && trail < 0x61) &&
                !(trail > 0x7A && trail < 0x81);
            return pair ? size_t{2} : size_t{1};
        });
}

size_t Utf8CharLength(std::string_view rest)
{
    size_t n = Utf8Length(static_cast<unsigned char>(rest[0]));
    for (size_t i = 1; i < n; ++i)
        if (i >= rest.size() || (static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80)
            return i;
    return n;
}

namespace {

size_t QuestionMark(std::string& out, std::string_view, size_t n)
{
    out += '?';
    return n;
}

// The character set of the locale the environment names for LC_CTYPE, read without touching the
// process's own locale; the C locale's when the environment names none that is installed.
std::string LocaleCodeset()
{
    locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (!locale)
        return "ANSI_X3.4-1968";
    std::string codeset = nl_langinfo_l(CODESET, locale);
    freelocale(locale);
    return codeset;
}

}  // namespace

AnsiString Utf8ToCp949(std::string_view text) { return ToCp949().Run(text, Utf8CharLength, QuestionMark); }

std::string Cp949ToLocale(std::string_view text)
{
    const std::string codeset = LocaleCodeset();
    const std::string utf8 = Cp949ToUtf8(text);
    if (codeset == "UTF-8")
        return utf8;
    static thread_local std::string openFor;
    static thread_local std::unique_ptr<TConverter> converter;
    if (codeset != openFor) {
        openFor = codeset;
        try {
            converter = std::make_unique<TConverter>(codeset.c_str(), "UTF-8");
        } catch (const std::runtime_error&) {
            converter = std::make_unique<TConverter>("ANSI_X3.4-1968", "UTF-8");  // a set iconv lacks
        }
    }
    return converter->Run(utf8, Utf8CharLength, QuestionMark);
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        size_t n = Utf8Length(c);
        char32_t cp = n == 1 ? c : (n == 2 ? c & 0x1F : (n == 3 ? c & 0x0F : c & 0x07));
        bool ok = n > 1 || c < 0x80;
        for (size_t k = 1; ok && k < n; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                ok = false;
                n = k;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are ill-formed too.
        if (ok &&
            ((n == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF))))
            ok = false;
        if (!ok)
            cp = 0xFFFD;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += n;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;  // a lone surrogate
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::u16string Cp949ToUtf16(std::string_view text) { return Utf8ToUtf16(Cp949ToUtf8(text)); }
AnsiString Utf16ToCp949(std::u16string_view text) { return Utf8ToCp949(Utf16ToUtf8(text)); }

std::string TCp949Decoder::Take(std::string_view piece)
{
    std::string data = pending_;
    data.append(piece);
    pending_.clear();
    // Walk the characters: a lead byte left alone at the end waits for its trail byte.
    size_t i = 0;
    while (i < data.size()) {
        if (i + 1 == data.size() && IsLeadByte(static_cast<unsigned char>(data[i]))) {
            pending_ = data.substr(i);
            data.resize(i);
            break;
        }
        i += static_cast<size_t>(CharLengthAt(data, i));
    }
    return data;
}

std::string TCp949Decoder::Decode(std::string_view piece) { return Cp949ToUtf8(Take(piece)); }
std::u16string TCp949Decoder::DecodeUtf16(std::string_view piece) { return Cp949ToUtf16(Take(piece)); }

std::string TCp949Decoder::Flush()
{
    std::string out = pending_.empty() ? std::string() : Cp949ToUtf8(pending_);
    pending_.clear();
    return out;
}
