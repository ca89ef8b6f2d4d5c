// Writing a Qt text document as rich text: a font and a colour table, then every run in a group
// of its own with all its attributes, so the reader gets each run back as it was. The tables are
// indexed by hash, so a text of many fonts or colours costs no more a run than one of a few.

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "platform/core/Cp949.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/RtfCodec.h"

namespace {

// The font name a run is written with (cp949).
std::string FontName(const QTextCharFormat& f, std::string_view fallback)
{
    const QVariant kept = f.property(kRtfFontNameProperty);
    if (kept.isValid())
        return kept.toString().toLatin1().toStdString();
    const QStringList families = f.fontFamilies().toStringList();
    return families.isEmpty() ? std::string(fallback) : QStringToAnsi(families.first());
}

// A table of the file: each item once, numbered in the order first met.
template <class T>
class TTable {
public:
    int IndexOf(const T& item)
    {
        const auto [it, added] = FIndex.try_emplace(item, static_cast<int>(FItems.size()));
        if (added)
            FItems.push_back(item);
        return it->second;
    }
    const std::vector<T>& Items() const { return FItems; }

private:
    std::vector<T> FItems;
    std::unordered_map<T, int> FIndex;
};

std::string Hex(unsigned char b)
{
    static const char digits[] = "0123456789abcdef";
    return std::string("\\'") + digits[b >> 4] + digits[b & 15];
}

// One character of text, escaped; a character cp949 lacks goes as \uN with "?" for readers that
// do not know it.
void PutChar(std::string& out, char32_t c)
{
    if (c == '\\' || c == '{' || c == '}') {
        out += '\\';
        out += static_cast<char>(c);
    } else if (c == '\t') {
        out += "\\tab ";
    } else if (c == 0x2028) {
        out += "\\line ";
    } else if (c >= 0x20 && c < 0x7F) {
        out += static_cast<char>(c);
    } else if (c < 0x20) {
        out += Hex(static_cast<unsigned char>(c));
    } else {
        std::u16string unit;
        if (c > 0xFFFF) {
            unit += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            unit += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit += static_cast<char16_t>(c);
        }
        const AnsiString bytes = Utf16ToCp949(unit);
        if (bytes == "?") {
            for (const char16_t u : unit)
                out += "\\u" + std::to_string(static_cast<int16_t>(u)) + "?";
        } else {
            for (const char b : bytes)
                out += Hex(static_cast<unsigned char>(b));
        }
    }
}

}  // namespace

std::string WriteRtf(const QTextDocument& document, std::string_view DefaultFont)
{
    TTable<std::string> fonts;
    fonts.IndexOf(std::string(DefaultFont));
    TTable<QRgb> colors;
    std::string body;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            body += "\\par\n";
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat f = fragment.charFormat();
            body += "{\\f" + std::to_string(fonts.IndexOf(FontName(f, DefaultFont)));
            // A run that names no size (plain text loaded) has the document's.
            const qreal points =
                f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : document.defaultFont().pointSizeF();
            body += "\\fs" + std::to_string(std::clamp(static_cast<int>(points * 2 + 0.5), 2, 3276));
            if (f.fontWeight() >= QFont::Bold)
                body += "\\b";
            if (f.fontItalic())
                body += "\\i";
            if (f.fontUnderline())
                body += "\\ul";
            if (f.fontStrikeOut())
                body += "\\strike";
            if (f.hasProperty(QTextFormat::ForegroundBrush))
                body += "\\cf" + std::to_string(colors.IndexOf(f.foreground().color().rgb()) + 1);
            if (f.hasProperty(QTextFormat::BackgroundBrush))
                body += "\\highlight" + std::to_string(colors.IndexOf(f.background().color().rgb()) + 1);
            const int offset = f.property(kRtfOffsetProperty).toInt();
            if (offset != 0)
                body += (offset > 0 ? "\\up" : "\\dn") + std::to_string(std::abs(offset));
            else if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
                body += "\\super";
            else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
                body += "\\sub";
            body += ' ';
            const QString text = fragment.text();
            for (const char32_t c : text.toUcs4())
                PutChar(body, c);
            body += '}';
        }
    }
    std::string out = "{\\rtf1\\ansi\\ansicpg949\\deff0\\uc1{\\fonttbl";
    for (size_t i = 0; i < fonts.Items().size(); ++i) {
        out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset129 ";
        // The name's bytes as they are; ";" ends a name, so it goes as a byte escape.
        for (const char b : fonts.Items()[i]) {
            const auto u = static_cast<unsigned char>(b);
            if (u >= 0x80 || u < 0x20 || b == ';')
                out += Hex(u);
            else
                PutChar(out, u);
        }
        out += ";}";
    }
    out += "}{\\colortbl ;";
    for (const QRgb c : colors.Items())
        out += "\\red" + std::to_string(qRed(c)) + "\\green" + std::to_string(qGreen(c)) + "\\blue" +
            std::to_string(qBlue(c)) + ";";
    out += "}\n" + body + "}";
    return out;
}
