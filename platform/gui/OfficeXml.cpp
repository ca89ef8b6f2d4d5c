#include "platform/gui/OfficeXml.h"

#include <QRegularExpression>

#include "platform/gui/OfficeZip.h"

TXmlScan::TXmlScan(std::unique_ptr<QIODevice> Part, std::string Name, int MaxDepth)
    : FPart(std::move(Part)), FXml(FPart.get()), FName(std::move(Name)), FMaxDepth(MaxDepth)
{}

bool TXmlScan::Next()
{
    if (FEnded)
        return false;
    if (FXml.isEndElement())
        --FDepth;
    FXml.readNext();
    if (FXml.hasError()) {
        // A part that stopped inflating says why; the parser only sees its end.
        RaiseZipStop(*FPart);
        BrokenWorkbook(FName + ": " + FXml.errorString().toStdString());
    }
    if (FXml.isStartElement() && ++FDepth > FMaxDepth)
        WorkbookTooLarge(FName + " nests elements deeper than " + std::to_string(FMaxDepth));
    FEnded = FXml.isEndDocument() || FXml.tokenType() == QXmlStreamReader::Invalid;
    return FXml.tokenType() != QXmlStreamReader::Invalid;
}

QString TXmlScan::Text()
{
    const int depth = FDepth;
    QString text;
    while (NextInside(depth))
        if (FXml.isCharacters())
            text += FXml.text();
    return text;
}

void TXmlScan::Skip()
{
    const int depth = FDepth;
    while (NextInside(depth)) {}
}

void TXmlScan::Copy(QXmlStreamWriter& Out, const std::map<QString, std::optional<QString>>& Changed) const
{
    switch (FXml.tokenType()) {
    case QXmlStreamReader::StartDocument:
        // A part without a declaration gets none.
        if (FXml.documentVersion().isEmpty())
            break;
        if (FXml.isStandaloneDocument())
            Out.writeStartDocument(FXml.documentVersion().toString(), true);
        else
            Out.writeStartDocument(FXml.documentVersion().toString());
        break;
    case QXmlStreamReader::EndDocument: Out.writeEndDocument(); break;
    case QXmlStreamReader::StartElement:
        Out.writeStartElement(FXml.qualifiedName().toString());
        for (const QXmlStreamNamespaceDeclaration& d : FXml.namespaceDeclarations())
            Out.writeAttribute(d.prefix().isEmpty() ? QStringLiteral("xmlns")
                                                    : QStringLiteral("xmlns:") + d.prefix().toString(),
                               d.namespaceUri().toString());
        for (const QXmlStreamAttribute& a : FXml.attributes()) {
            const QString name = a.qualifiedName().toString();
            const auto changed = Changed.find(name);
            if (changed == Changed.end() && !a.isDefault())
                Out.writeAttribute(name, a.value().toString());
            else if (changed != Changed.end() && changed->second)
                Out.writeAttribute(name, *changed->second);
        }
        break;
    case QXmlStreamReader::EndElement: Out.writeEndElement(); break;
    case QXmlStreamReader::Characters:
        if (FXml.isCDATA())
            Out.writeCDATA(FXml.text().toString());
        else
            Out.writeCharacters(FXml.text().toString());
        break;
    case QXmlStreamReader::Comment: Out.writeComment(FXml.text().toString()); break;
    case QXmlStreamReader::ProcessingInstruction:
        Out.writeProcessingInstruction(FXml.processingInstructionTarget().toString(),
                                       FXml.processingInstructionData().toString());
        break;
    case QXmlStreamReader::DTD: Out.writeDTD(FXml.text().toString()); break;
    case QXmlStreamReader::EntityReference: Out.writeEntityReference(FXml.name().toString()); break;
    default: break;
    }
}

QString EscapeControls(const QString& Text)
{
    static const QRegularExpression looksEscaped(QStringLiteral("_x[0-9A-Fa-f]{4}_"));
    QString out;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            out += QStringLiteral("_x") + QString::number(c.unicode(), 16).rightJustified(4, u'0').toUpper() + u'_';
        else if (c == u'_' &&
                 looksEscaped
                     .match(Text, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption)
                     .hasMatch())
            out += QStringLiteral("_x005F_");
        else
            out += c;
    }
    return out;
}

QString UnescapeControls(const QString& Text)
{
    static const QRegularExpression escaped(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    if (!Text.contains(u"_x"))
        return Text;
    QString out;
    qsizetype at = 0;
    for (QRegularExpressionMatchIterator it = escaped.globalMatch(Text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += Text.mid(at, m.capturedStart() - at);
        out += QChar(static_cast<char16_t>(m.captured(1).toUShort(nullptr, 16)));
        at = m.capturedEnd();
    }
    return out + Text.mid(at);
}

QString XmlSafe(QString Text)
{
    Text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r'; });
    return Text;
}

std::string RootRels(const char* Target)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                          "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                          "relationships/officeDocument\" Target=\"%1\"/></Relationships>")
        .arg(QLatin1String(Target))
        .toStdString();
}
