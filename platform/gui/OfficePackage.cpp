// Reading and writing the zip packages of workbooks and documents. Workbooks keep texts as
// inline strings when written and read shared strings, inline strings and formula results;
// documents hold tables whose cells carry a paragraph alignment.

#include "platform/gui/OfficePackage.h"

#include <zip.h>

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cmath>
#include <memory>

#include "platform/core/Cp949.h"
#include "platform/gui/OleAutomation.h"

namespace {

[[noreturn]] void Broken(const std::string& Why) { throw EOleException("The file is not a valid workbook: " + Why); }

QString Q(const AnsiString& Cp949) { return QString::fromStdString(Cp949ToUtf8(Cp949)); }
AnsiString A(QStringView Utf16) { return Utf8ToCp949(Utf16.toString().toStdString()); }

// --- Zip.

class TZipReader {
public:
    explicit TZipReader(const std::string& Bytes)
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_buffer_create(Bytes.data(), Bytes.size(), 0, &error);
        if (source)
            FZip = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (!FZip) {
            if (source)
                zip_source_free(source);
            const std::string why = zip_error_strerror(&error);
            zip_error_fini(&error);
            Broken(why);
        }
        zip_error_fini(&error);
    }
    ~TZipReader() { zip_discard(FZip); }
    TZipReader(const TZipReader&) = delete;
    TZipReader& operator=(const TZipReader&) = delete;

    bool Has(const std::string& Name) const { return zip_name_locate(FZip, Name.c_str(), 0) >= 0; }
    std::string Read(const std::string& Name) const
    {
        const zip_int64_t index = zip_name_locate(FZip, Name.c_str(), 0);
        if (index < 0)
            Broken("no " + Name);
        zip_file_t* file = zip_fopen_index(FZip, static_cast<zip_uint64_t>(index), 0);
        if (!file)
            Broken("cannot read " + Name);
        std::string bytes;
        char buffer[65536];
        zip_int64_t got;
        while ((got = zip_fread(file, buffer, sizeof buffer)) > 0) {
            bytes.append(buffer, static_cast<size_t>(got));
            if (bytes.size() > kMaxPackageEntryBytes) {
                zip_fclose(file);
                Broken(Name + " is too large");
            }
        }
        zip_fclose(file);
        if (got < 0)
            Broken("cannot read " + Name);
        return bytes;
    }

private:
    zip_t* FZip = nullptr;
};

// Entries in order, written into a zip in memory.
std::string ZipBytes(const std::vector<std::pair<std::string, std::string>>& Entries)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* zip = target ? zip_open_from_source(target, ZIP_TRUNCATE, &error) : nullptr;
    zip_error_fini(&error);
    if (!zip) {
        if (target)
            zip_source_free(target);
        throw EOleException("Cannot make the package");
    }
    zip_source_keep(target);
    for (const auto& [name, data] : Entries) {
        zip_source_t* source = zip_source_buffer(zip, data.data(), data.size(), 0);
        if (!source || zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(zip);
            zip_source_free(target);
            throw EOleException("Cannot make the package");
        }
    }
    std::string bytes;
    if (zip_close(zip) == 0 && zip_source_open(target) == 0) {
        zip_source_seek(target, 0, SEEK_END);
        bytes.resize(static_cast<size_t>(std::max<zip_int64_t>(zip_source_tell(target), 0)));
        zip_source_seek(target, 0, SEEK_SET);
        if (zip_source_read(target, bytes.data(), bytes.size()) != static_cast<zip_int64_t>(bytes.size()))
            bytes.clear();
        zip_source_close(target);
    } else {
        zip_discard(zip);
    }
    zip_source_free(target);
    if (bytes.empty())
        throw EOleException("Cannot make the package");
    return bytes;
}

// Spreadsheet texts write the control characters XML cannot hold as "_xHHHH_" (and a text
// that looks like one escapes its "_"), as office programs do; reading undoes it.
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

// --- XML helpers.

QXmlStreamReader Reader(const std::string& Bytes) { return QXmlStreamReader(QByteArray::fromStdString(Bytes)); }

QStringView Attr(const QXmlStreamReader& xml, const char* Name) { return xml.attributes().value(QLatin1String(Name)); }

void CheckXml(const QXmlStreamReader& xml, const std::string& Name)
{
    if (xml.hasError())
        Broken(Name + ": " + xml.errorString().toStdString());
}

// "A1" into (row, column); false when it is no cell reference inside the sheet.
bool CellReference(QStringView Text, int& Row, int& Col)
{
    qsizetype i = 0;
    while (i < Text.size() && Text[i].isLetter())
        ++i;
    Col = ColumnNumber(Text.left(i).toString().toUpper().toStdString());
    bool ok = false;
    Row = Text.mid(i).toInt(&ok);
    return ok && Col >= 1 && Row >= 1 && Row <= kMaxSheetRows;
}

// The text of an element with runs (<si>, <is>): every <t> inside it, up to its end.
QString RunText(QXmlStreamReader& xml)
{
    const QString end = xml.name().toString();
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"t")
            text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
        else if (xml.isEndElement() && xml.name() == end)
            break;
    }
    return text;
}

std::vector<QString> SharedStrings(const std::string& Bytes)
{
    std::vector<QString> strings;
    QXmlStreamReader xml = Reader(Bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"si")
            strings.push_back(RunText(xml));
    }
    CheckXml(xml, "shared strings");
    return strings;
}

void ReadSheet(const std::string& Bytes, const std::vector<QString>& Shared, TSheetData& Sheet)
{
    QXmlStreamReader xml = Reader(Bytes);
    int row = 0, nextCol = 1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"row") {
            bool ok = false;
            const int r = Attr(xml, "r").toInt(&ok);
            row = ok ? r : row + 1;
            nextCol = 1;
            continue;
        }
        if (xml.name() != u"c")
            continue;
        int r = row, c = nextCol;
        const QStringView reference = Attr(xml, "r");
        if (!reference.isEmpty() && !CellReference(reference, r, c))
            r = c = 0;
        nextCol = c + 1;
        const QString type = Attr(xml, "t").toString();
        QString value;
        bool hasValue = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement() && xml.name() == u"c")
                break;
            if (!xml.isStartElement())
                continue;
            if (xml.name() == u"v") {
                value = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                hasValue = true;
            } else if (xml.name() == u"is") {
                value = RunText(xml);
                hasValue = true;
            }
        }
        if (!hasValue || r < 1 || c < 1 || r > kMaxSheetRows || c > kMaxSheetCols)
            continue;
        Variant cell;
        if (type == u"s") {
            bool ok = false;
            const long long index = value.toLongLong(&ok);
            if (!ok || index < 0 || static_cast<size_t>(index) >= Shared.size())
                Broken("a shared string that is not there");
            cell = A(UnescapeControls(Shared[static_cast<size_t>(index)]));
        } else if (type.isEmpty() || type == u"n") {
            bool ok = false;
            const double number = value.toDouble(&ok);
            cell = ok && std::isfinite(number) ? Variant(number) : Variant(A(value));
        } else if (type == u"b") {
            cell = Variant(value.trimmed() == u"1");
        } else {
            cell = A(UnescapeControls(value));
        }
        Sheet.Cells[{r, c}] = cell;
    }
    CheckXml(xml, Sheet.Name.empty() ? "a sheet" : std::string(Sheet.Name));
}

// The targets of a relationships part by their ids.
std::map<QString, QString> Relationships(const std::string& Bytes)
{
    std::map<QString, QString> targets;
    QXmlStreamReader xml = Reader(Bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"Relationship")
            targets[Attr(xml, "Id").toString()] = Attr(xml, "Target").toString();
    }
    CheckXml(xml, "relationships");
    return targets;
}

// --- Writing.

constexpr const char* kRelsRoot =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "officeDocument\" Target=\"%1\"/></Relationships>";
constexpr const char* kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kWordNs = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

std::string RootRels(const char* Target) { return QString::fromLatin1(kRelsRoot).arg(Target).toStdString(); }

template <class Write>
std::string Xml(Write write)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    write(xml);
    xml.writeEndDocument();
    return bytes.toStdString();
}

std::string SheetXml(const TSheetData& Sheet)
{
    return Xml([&](QXmlStreamWriter& xml) {
        xml.writeStartElement(QStringLiteral("worksheet"));
        xml.writeDefaultNamespace(QString::fromLatin1(kMainNs));
        xml.writeStartElement(QStringLiteral("sheetData"));
        int row = 0;
        for (const auto& [at, value] : Sheet.Cells) {
            if (at.first != row) {
                if (row)
                    xml.writeEndElement();
                row = at.first;
                xml.writeStartElement(QStringLiteral("row"));
                xml.writeAttribute(QStringLiteral("r"), QString::number(row));
            }
            xml.writeStartElement(QStringLiteral("c"));
            xml.writeAttribute(QStringLiteral("r"),
                               QString::fromStdString(ColumnLetters(at.second)) + QString::number(at.first));
            const TVarType type = value.VarType();
            if (type == varDouble || type == varInteger || type == varInt64) {
                xml.writeTextElement(QStringLiteral("v"), QString::number(value.AsDouble(), 'g', 17));
            } else if (type == varBoolean) {
                xml.writeAttribute(QStringLiteral("t"), QStringLiteral("b"));
                xml.writeTextElement(QStringLiteral("v"),
                                     value.AsBoolean() ? QStringLiteral("1") : QStringLiteral("0"));
            } else {
                xml.writeAttribute(QStringLiteral("t"), QStringLiteral("inlineStr"));
                xml.writeStartElement(QStringLiteral("is"));
                xml.writeStartElement(QStringLiteral("t"));
                xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
                xml.writeCharacters(EscapeControls(Q(VarToStr(value))));
                xml.writeEndElement();
                xml.writeEndElement();
            }
            xml.writeEndElement();
        }
        if (row)
            xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
    });
}

// XML 1.0 has no place for most control characters: documents leave them out.
QString XmlSafe(QString Text)
{
    Text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r'; });
    return Text;
}

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

TWorkbookData ReadXlsx(const std::string& Bytes)
{
    const TZipReader zip(Bytes);
    TWorkbookData book;
    const std::map<QString, QString> targets = Relationships(zip.Read("xl/_rels/workbook.xml.rels"));
    std::vector<std::pair<AnsiString, QString>> sheets;
    QXmlStreamReader xml = Reader(zip.Read("xl/workbook.xml"));
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"workbookView") {
            book.Active = std::max(Attr(xml, "activeTab").toInt(), 0);
        } else if (xml.name() == u"sheet") {
            QString id;
            for (const QXmlStreamAttribute& a : xml.attributes())
                if (a.name() == u"id")
                    id = a.value().toString();
            const auto target = targets.find(id);
            if (target == targets.end())
                Broken("a sheet without its part");
            sheets.emplace_back(A(Attr(xml, "name")), target->second);
        }
    }
    CheckXml(xml, "workbook");
    if (sheets.empty())
        Broken("no sheets");
    const std::vector<QString> shared =
        zip.Has("xl/sharedStrings.xml") ? SharedStrings(zip.Read("xl/sharedStrings.xml")) : std::vector<QString>();
    for (const auto& [name, target] : sheets) {
        TSheetData sheet;
        sheet.Name = name;
        const QString path = target.startsWith(u'/') ? target.mid(1) : QStringLiteral("xl/") + target;
        ReadSheet(zip.Read(path.toStdString()), shared, sheet);
        book.Sheets.push_back(std::move(sheet));
    }
    if (book.Active >= static_cast<int>(book.Sheets.size()))
        book.Active = 0;
    return book;
}

std::string XlsxBytes(const TWorkbookData& Workbook)
{
    std::vector<std::pair<std::string, std::string>> entries;
    QString types = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>");
    for (size_t i = 1; i <= Workbook.Sheets.size(); ++i)
        types += QStringLiteral("<Override PartName=\"/xl/worksheets/sheet%1.xml\" "
                                "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml."
                                "worksheet+xml\"/>")
                     .arg(i);
    types += QStringLiteral("</Types>");
    entries.emplace_back("[Content_Types].xml", types.toStdString());
    entries.emplace_back("_rels/.rels", RootRels("xl/workbook.xml"));
    entries.emplace_back("xl/workbook.xml", Xml([&](QXmlStreamWriter& xml) {
                             xml.writeStartElement(QStringLiteral("workbook"));
                             xml.writeDefaultNamespace(QString::fromLatin1(kMainNs));
                             xml.writeNamespace(QString::fromLatin1(kRelNs), QStringLiteral("r"));
                             xml.writeStartElement(QStringLiteral("bookViews"));
                             xml.writeEmptyElement(QStringLiteral("workbookView"));
                             xml.writeAttribute(QStringLiteral("activeTab"), QString::number(Workbook.Active));
                             xml.writeEndElement();
                             xml.writeStartElement(QStringLiteral("sheets"));
                             for (size_t i = 0; i < Workbook.Sheets.size(); ++i) {
                                 xml.writeEmptyElement(QStringLiteral("sheet"));
                                 xml.writeAttribute(QStringLiteral("name"), XmlSafe(Q(Workbook.Sheets[i].Name)));
                                 xml.writeAttribute(QStringLiteral("sheetId"), QString::number(i + 1));
                                 xml.writeAttribute(QString::fromLatin1(kRelNs), QStringLiteral("id"),
                                                    QStringLiteral("rId%1").arg(i + 1));
                             }
                             xml.writeEndElement();
                             xml.writeEndElement();
                         }));
    QString rels = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                                  "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                                  "relationships\">");
    for (size_t i = 1; i <= Workbook.Sheets.size(); ++i)
        rels += QStringLiteral("<Relationship Id=\"rId%1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
                               "2006/relationships/worksheet\" Target=\"worksheets/sheet%1.xml\"/>")
                    .arg(i);
    rels += QStringLiteral("</Relationships>");
    entries.emplace_back("xl/_rels/workbook.xml.rels", rels.toStdString());
    for (size_t i = 0; i < Workbook.Sheets.size(); ++i)
        entries.emplace_back("xl/worksheets/sheet" + std::to_string(i + 1) + ".xml", SheetXml(Workbook.Sheets[i]));
    return ZipBytes(entries);
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
        "word/document.xml", Xml([&](QXmlStreamWriter& xml) {
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
                        QString text = XmlSafe(Q(cell.Text));
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
