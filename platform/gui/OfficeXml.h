#pragma once
// The XML side of office packages: parts read as they inflate, to a bounded nesting depth, with
// the workbook's errors raised for a damaged part; tokens copied to a writer as they stand, so a
// part can be written again with a few elements changed.

#include <QIODevice>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <map>
#include <memory>
#include <optional>
#include <string>

class TXmlScan {
public:
    TXmlScan(std::unique_ptr<QIODevice> Part, std::string Name, int MaxDepth);
    // The next token; false at the end of the part. Raises for a damaged part or one nested
    // deeper than MaxDepth.
    bool Next();
    const QXmlStreamReader& Xml() const { return FXml; }
    bool IsStart(QStringView Name) const { return FXml.isStartElement() && FXml.name() == Name; }
    bool IsEnd(QStringView Name) const { return FXml.isEndElement() && FXml.name() == Name; }
    QStringView Attr(const char* Name) const { return FXml.attributes().value(QLatin1String(Name)); }
    // Elements open around the current token (a start element counts itself).
    int Depth() const { return FDepth; }
    // Next() inside the element that starts at Depth; false at its end.
    bool NextInside(int Depth) { return Next() && !(FXml.isEndElement() && FDepth == Depth); }
    // At a start element: the text of everything in it, read to its end.
    QString Text();
    // At a start element: reads to its end.
    void Skip();
    // The current token written to Out as it stands, prefixes and namespace declarations kept;
    // a start element's attributes named in Changed (qualified names) take the value given, or
    // are left out for nullopt.
    void Copy(QXmlStreamWriter& Out, const std::map<QString, std::optional<QString>>& Changed = {}) const;

private:
    std::unique_ptr<QIODevice> FPart;
    QXmlStreamReader FXml;
    std::string FName;
    int FMaxDepth;
    int FDepth = 0;
    bool FEnded = false;
};

// A document made by Write(QXmlStreamWriter&), with the declaration.
template <class Write>
std::string XmlDocument(Write write)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    write(xml);
    xml.writeEndDocument();
    return bytes.toStdString();
}

// Texts in spreadsheets keep the control characters XML cannot hold as "_xHHHH_" (a text that
// looks like one escapes its "_"), as office programs do; reading undoes it.
QString EscapeControls(const QString& Text);
QString UnescapeControls(const QString& Text);

// XML 1.0 has no place for most control characters: names and documents leave them out.
QString XmlSafe(QString Text);
// A package's root relationships naming its office document Target.
std::string RootRels(const char* Target);
