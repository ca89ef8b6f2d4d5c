// The HTML table export (cell texts as mark-up, cp949, with the cells' alignment, colours and
// font styles as the grid paints them) and the flat XML export (texts only, UTF-8, escaped).

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

AnsiString XMLEscaped(std::string_view Text)
{
    AnsiString out;
    out.reserve(Text.size());
    for (const char c : Text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
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
    const AnsiString list = Cp949ToUtf8(ListTag), record = Cp949ToUtf8(RecordTag);
    AnsiString out;
    AddLine(out, "<?xml version=\"1.0\"?>");
    AddLine(out, "<" + list + ">");
    for (int r = Grid.GetSaveStartRow(); r <= Grid.GetSaveEndRow(); ++r) {
        AddLine(out, "<" + record + ">");
        for (int c = Grid.GetSaveStartCol(); c <= Grid.GetSaveEndCol(); ++c) {
            const size_t i = static_cast<size_t>(c - Grid.GetSaveStartCol());
            const AnsiString tag = i < FieldTags.size() ? Cp949ToUtf8(FieldTags[i]) : "FIELD" + std::to_string(i);
            AddLine(out, "<" + tag + ">" + XMLEscaped(Cp949ToUtf8(Grid.Cells(c, r))) + "</" + tag + ">");
        }
        AddLine(out, "</" + record + ">");
    }
    AddLine(out, "</" + list + ">");
    return out;
}
