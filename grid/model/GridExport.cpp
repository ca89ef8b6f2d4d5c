// The HTML table export (cell texts as mark-up, cp949, with the cells' alignment, colours and
// font styles as the grid paints them) and the flat XML export (texts only, UTF-8, escaped).

#include <algorithm>

#include "grid/model/Cgutil.h"
#include "grid/model/GridFiles.h"
#include "platform/core/Cp949.h"

namespace {

// A link's label is cut to this many bytes, on a character boundary.
constexpr size_t kMaxLinkLabel = 255;

AnsiString CutOnCharacter(std::string_view s, size_t Max)
{
    size_t end = 0;
    while (end < s.size()) {
        const size_t next = end + static_cast<size_t>(CharLengthAt(s, end));
        if (next > Max)
            break;
        end = next;
    }
    return AnsiString(s.substr(0, end));
}

AnsiString Quoted(const AnsiString& Value) { return "\"" + Value + "\""; }

AnsiString AlignAttribute(TAlignment Alignment)
{
    switch (Alignment) {
    case taRightJustify: return " align=\"right\"";
    case taCenter: return " align=\"center\"";
    default: return "";
    }
}

AnsiString BackAttribute(int32_t Rgb) { return " BGCOLOR=\"#" + HTMLColor(Rgb) + "\""; }

// UTF-8 text as XML character data: "&", "<" and ">" escaped, and the control characters XML 1.0
// forbids (all below 0x20 but TAB, LF and CR) written as U+FFFD, as the text's bytes that are no
// cp949 character already are.
AnsiString XMLEscaped(std::string_view Text)
{
    AnsiString out;
    out.reserve(Text.size());
    for (const char c : Text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '\t':
        case '\n':
        case '\r': out += c; break;
        default:
            out += static_cast<unsigned char>(c) < 0x20 ? std::string_view("\xEF\xBF\xBD") : std::string_view(&c, 1);
        }
    }
    return out;
}

// Whether a UTF-16 unit may start an XML name, or stand in one (XML 1.0, fifth edition; no
// colon, which would need a declared namespace).
bool NameStartUnit(char16_t u)
{
    return (u >= 'A' && u <= 'Z') || u == '_' || (u >= 'a' && u <= 'z') || (u >= 0xC0 && u <= 0xD6) ||
        (u >= 0xD8 && u <= 0xF6) || (u >= 0xF8 && u <= 0x2FF) || (u >= 0x370 && u <= 0x37D) ||
        (u >= 0x37F && u <= 0x1FFF) || (u >= 0x200C && u <= 0x200D) || (u >= 0x2070 && u <= 0x218F) ||
        (u >= 0x2C00 && u <= 0x2FEF) || (u >= 0x3001 && u <= 0xD7FF) || (u >= 0xF900 && u <= 0xFDCF) ||
        (u >= 0xFDF0 && u <= 0xFFFD);
}

bool NameUnit(char16_t u)
{
    return NameStartUnit(u) || u == '-' || u == '.' || (u >= '0' && u <= '9') || u == 0xB7 ||
        (u >= 0x300 && u <= 0x36F) || (u >= 0x203F && u <= 0x2040);
}

// A caller's element name as UTF-8; a text that is no XML name raises before anything is written.
AnsiString XMLName(std::string_view Tag)
{
    const std::u16string units = Cp949ToUtf16(Tag);
    if (units.empty() || !NameStartUnit(units[0]) || !std::all_of(units.begin(), units.end(), NameUnit))
        throw ECellGridError("Invalid XML tag name \"" + AnsiString(Tag) + "\"");
    return Cp949ToUtf8(Tag);
}

void AddLine(AnsiString& Out, std::string_view Line)
{
    Out += Line;
    Out += "\r\n";
}

}  // namespace

AnsiString HTMLCellText(std::string_view Text, bool URLShow, bool URLFull)
{
    const AnsiString text = HTMLLineBreaks(Text);
    if (!URLShow || AnsiPos("</", text) != 0)
        return text;
    // A mail address wins over "://" when a text holds both.
    for (const std::string_view protocol : {std::string_view("mailto:"), std::string_view("://")}) {
        const int at = AnsiPos(protocol, text);
        if (at == 0)
            continue;
        const AnsiString label =
            URLFull ? text : CutOnCharacter(std::string_view(text).substr(at - 1 + protocol.size()), kMaxLinkLabel);
        return "<A HREF=" + text + ">" + label + "</A>";
    }
    return text;
}

AnsiString HTMLTable(const TCellModel& Grid, const THtmlExport& Export)
{
    const THTMLSettings& settings = *Export.Settings;
    const int fc = Grid.SaveIncludesFixed ? 0 : Grid.FixedCols();
    int fr = Grid.SaveIncludesFixed ? 0 : Grid.FixedRows();
    const AnsiString nowrap = Export.WordWrap ? "" : " nowrap";
    const auto cellText = [&](int c, int r) {
        return HTMLCellText(Grid.Cells(Grid.RemapCol(c), r), Export.URLShow, Export.URLFull);
    };
    const auto alignment = [&](int c, int r) { return Export.Alignment ? Export.Alignment(c, r) : taLeftJustify; };
    AnsiString out;
    if (!settings.PrefixTag.empty())
        AddLine(out, settings.PrefixTag);
    // The style text is an attribute of its own after cellpadding's value.
    AddLine(out,
            "<table border=" + Quoted(IntToStr(settings.BorderSize)) + " cellspacing=" +
                Quoted(IntToStr(settings.CellSpacing)) + " cellpadding=" + Quoted(IntToStr(settings.CellPadding)) +
                (settings.TableStyle.empty() ? AnsiString() : " " + settings.TableStyle) +
                " width=" + Quoted(IntToStr(settings.Width) + "%") + ">");
    if (Grid.FixedRows() > 0 && Grid.SaveIncludesFixed) {
        AddLine(out, "<tr>");
        for (int c = fc; c < Grid.ColCount(); ++c) {
            AnsiString text = cellText(c, 0);
            if (text.empty())
                text = "<br>";
            AddLine(out,
                    "<td" + nowrap + AlignAttribute(alignment(c, 0)) + BackAttribute(Export.FixedBack) + "><B>" + text +
                        "</B></td>");
        }
        AddLine(out, "</tr>");
        fr = 1;
    }
    for (int r = fr; r < Grid.RowCount(); ++r) {
        AddLine(out, "<tr>");
        for (int c = fc; c < Grid.ColCount(); ++c) {
            AnsiString text = cellText(c, r);
            const AnsiString align = text.empty() ? AnsiString() : AlignAttribute(alignment(c, r));
            AnsiString back;
            if (r < Grid.FixedRows() || c < Grid.FixedCols())
                back = BackAttribute(Export.FixedBack);
            // Every cell, fixed ones too, starts from unset colours.
            const THtmlCellLook look = Export.Look ? Export.Look(c, r) : THtmlCellLook{};
            AnsiString fontOpen, fontClose, styleOpen, styleClose;
            if (look.Back != THtmlCellLook::kUnsetColor && settings.SaveColor)
                back = BackAttribute(look.Back);
            if (look.Text != THtmlCellLook::kUnsetColor && settings.SaveColor) {
                fontOpen = "<font color=\"#" + HTMLColor(look.Text) + "\">";
                fontClose = "</font>";
            }
            if (settings.SaveFonts) {
                if (look.Bold) {
                    styleOpen += "<B>";
                    styleClose.insert(0, "</B>");
                }
                if (look.Italic) {
                    styleOpen += "<I>";
                    styleClose.insert(0, "</I>");
                }
                if (look.Underline) {
                    styleOpen += "<U>";
                    styleClose.insert(0, "</U>");
                }
            }
            if (text.empty())
                text = "<br>";
            AddLine(out,
                    "<td" + nowrap + align + back + ">" + fontOpen + styleOpen + text + styleClose + fontClose +
                        "</td>");
        }
        AddLine(out, "</tr>");
    }
    AddLine(out, "</table><p>");
    if (!settings.SuffixTag.empty())
        AddLine(out, settings.SuffixTag);
    return out;
}

AnsiString XMLText(const TCellModel& Grid, std::string_view ListTag, std::string_view RecordTag,
                   const std::vector<AnsiString>& FieldTags)
{
    const AnsiString list = XMLName(ListTag), record = XMLName(RecordTag);
    std::vector<AnsiString> fields;
    for (int c = Grid.GetSaveStartCol(); c <= Grid.GetSaveEndCol(); ++c) {
        const size_t i = static_cast<size_t>(c - Grid.GetSaveStartCol());
        fields.push_back(i < FieldTags.size() ? XMLName(FieldTags[i]) : "FIELD" + std::to_string(i));
    }
    AnsiString out;
    AddLine(out, "<?xml version=\"1.0\"?>");
    AddLine(out, "<" + list + ">");
    for (int r = Grid.GetSaveStartRow(); r <= Grid.GetSaveEndRow(); ++r) {
        AddLine(out, "<" + record + ">");
        for (int c = Grid.GetSaveStartCol(); c <= Grid.GetSaveEndCol(); ++c) {
            const AnsiString& tag = fields[static_cast<size_t>(c - Grid.GetSaveStartCol())];
            AddLine(out, "<" + tag + ">" + XMLEscaped(Cp949ToUtf8(Grid.Cells(c, r))) + "</" + tag + ">");
        }
        AddLine(out, "</" + record + ">");
    }
    AddLine(out, "</" + list + ">");
    return out;
}
