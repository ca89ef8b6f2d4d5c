// Documents, whose tables' cells carry a paragraph alignment, and the cell letters of sheets.

#include "platform/gui/OfficePackage.h"

#include <QString>
#include <QStringList>
#include <QXmlStreamWriter>

#include "platform/gui/Graphics.h"
#include "platform/gui/OfficeXml.h"
#include "platform/gui/OfficeZip.h"

namespace {

constexpr const char* kWordNs = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

}  // namespace

std::string ColumnLetters(int Col)
{
    std::string letters;
    for (; Col > 0; Col = (Col - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (Col - 1) % 26));
    return letters;
}

int ColumnNumber(std::string_view Letters)
{
    if (Letters.empty())
        return 0;
    int64_t value = 0;
    for (const char c : Letters) {
        if (c < 'A' || c > 'Z')
            return 0;
        value = value * 26 + (c - 'A' + 1);
        if (value > kMaxSheetCols)
            return 0;
    }
    return static_cast<int>(value);
}

std::string BoxReference(const TCellBox& Box, bool Absolute)
{
    const std::string mark = Absolute ? "$" : "";
    const auto corner = [&](int row, int col) { return mark + ColumnLetters(col) + mark + std::to_string(row); };
    if (Box.Top == Box.Bottom && Box.Left == Box.Right)
        return corner(Box.Top, Box.Left);
    return corner(Box.Top, Box.Left) + ":" + corner(Box.Bottom, Box.Right);
}

std::string DocxBytes(const TDocumentData& Document)
{
    std::vector<std::pair<std::string, std::string>> entries;
    entries.emplace_back("[Content_Types].xml",
                         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                         "<Default Extension=\"rels\" "
                         "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                         "<Override PartName=\"/word/document.xml\" "
                         "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document."
                         "main+xml\"/></Types>");
    entries.emplace_back("_rels/.rels", RootRels("word/document.xml"));
    entries.emplace_back(
        "word/document.xml", XmlDocument([&](QXmlStreamWriter& xml) {
            const QString w = QString::fromLatin1(kWordNs);
            xml.writeNamespace(w, QStringLiteral("w"));
            xml.writeStartElement(w, QStringLiteral("document"));
            xml.writeStartElement(w, QStringLiteral("body"));
            for (const TDocTable& table : Document.Tables) {
                xml.writeStartElement(w, QStringLiteral("tbl"));
                xml.writeStartElement(w, QStringLiteral("tblPr"));
                xml.writeEmptyElement(w, QStringLiteral("tblStyle"));
                xml.writeAttribute(w, QStringLiteral("val"), QStringLiteral("TableGrid"));
                xml.writeEndElement();
                for (int r = 0; r < table.Rows; ++r) {
                    xml.writeStartElement(w, QStringLiteral("tr"));
                    for (int c = 0; c < table.Cols; ++c) {
                        const TDocCell& cell = table.Cells[static_cast<size_t>(r) * static_cast<size_t>(table.Cols) +
                                                           static_cast<size_t>(c)];
                        xml.writeStartElement(w, QStringLiteral("tc"));
                        xml.writeStartElement(w, QStringLiteral("p"));
                        if (cell.Alignment != daLeft) {
                            xml.writeStartElement(w, QStringLiteral("pPr"));
                            xml.writeEmptyElement(w, QStringLiteral("jc"));
                            xml.writeAttribute(w, QStringLiteral("val"),
                                               cell.Alignment == daRight ? QStringLiteral("right")
                                                                         : QStringLiteral("center"));
                            xml.writeEndElement();
                        }
                        // Line breaks inside a cell stay breaks of its paragraph.
                        QString text = XmlSafe(AnsiToQString(cell.Text));
                        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
                        text.replace(QChar(u'\r'), QChar(u'\n'));
                        const QStringList lines = text.split(QChar(u'\n'));
                        xml.writeStartElement(w, QStringLiteral("r"));
                        for (qsizetype i = 0; i < lines.size(); ++i) {
                            if (i > 0)
                                xml.writeEmptyElement(w, QStringLiteral("br"));
                            xml.writeStartElement(w, QStringLiteral("t"));
                            xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
                            xml.writeCharacters(lines[i]);
                            xml.writeEndElement();
                        }
                        xml.writeEndElement();
                        xml.writeEndElement();
                        xml.writeEndElement();
                    }
                    xml.writeEndElement();
                }
                xml.writeEndElement();
                // A table cannot end the body: a paragraph follows it.
                xml.writeEmptyElement(w, QStringLiteral("p"));
            }
            xml.writeEndElement();
            xml.writeEndElement();
        }));
    return ZipBytes(entries);
}
