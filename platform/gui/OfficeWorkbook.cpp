// Workbooks read from their packages and made new. Cells keep texts as inline strings when
// written; reading takes shared strings, inline strings and formula results.

#include "platform/gui/OfficeWorkbook.h"

#include <QDir>
#include <QHash>
#include <QXmlStreamWriter>
#include <cmath>
#include <map>

#include "platform/gui/Graphics.h"
#include "platform/gui/OfficePartEdits.h"
#include "platform/gui/OfficeXml.h"
#include "platform/gui/OfficeZip.h"

namespace {

constexpr const char* kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";


// The text of a run element (<si>, <is>): its <t> elements, phonetic guides left out.
QString RunText(TXmlScan& Xml)
{
    const int depth = Xml.Depth();
    QString text;
    while (Xml.NextInside(depth)) {
        if (Xml.IsStart(u"t"))
            text += Xml.Text();
        else if (Xml.IsStart(u"rPh"))
            Xml.Skip();
    }
    return text;
}

}  // namespace

// --- The package.

struct TXlsxPackage::TState {
    TState(std::string Bytes, const TWorkbookLimits& Limits)
        : Bytes(std::make_shared<const std::string>(std::move(Bytes))), Limits(Limits),
          Zip(this->Bytes, Limits.EntryBytes, Limits.TotalBytes)
    {}
    std::shared_ptr<const std::string> Bytes;
    TWorkbookLimits Limits;
    TZipReader Zip;
    TWorkbookParts Parts;
    std::vector<TListedSheet> Sheets;
    int Active = 0;
    std::vector<AnsiString> Shared;
    bool SharedRead = false;
    int64_t Cells = 0;     // read from every sheet so far
    size_t TextBytes = 0;  // held by their texts, a shared text counted at each use

    void CountCell()
    {
        if (++Cells > Limits.Cells)
            WorkbookTooLarge("its sheets hold more than " + std::to_string(Limits.Cells) + " cells");
    }
    // Every text a cell is given counts, a shared one at each use and before it is copied.
    void CountText(size_t Bytes)
    {
        TextBytes += Bytes;
        if (TextBytes > Limits.TextBytes)
            WorkbookTooLarge("the texts of its cells take more than " + std::to_string(Limits.TextBytes) + " bytes");
    }
    Variant Text(AnsiString Held)
    {
        CountText(Held.size());
        return Variant(std::move(Held));
    }
    void ReadShared();
    void ReadSheet(TXmlScan& Xml, TSheetData& Sheet);
};

void TXlsxPackage::TState::ReadShared()
{
    SharedRead = true;
    if (Parts.Shared.empty())
        return;
    TXmlScan xml(Zip.Open(Parts.Shared), Parts.Shared, Limits.Depth);
    while (xml.Next())
        if (xml.IsStart(u"si")) {
            if (static_cast<int64_t>(Shared.size()) >= Limits.Cells)
                WorkbookTooLarge("it shares more than " + std::to_string(Limits.Cells) + " texts");
            Shared.push_back(QStringToAnsi(UnescapeControls(RunText(xml))));
        }
}

void TXlsxPackage::TState::ReadSheet(TXmlScan& Xml, TSheetData& Sheet)
{
    int row = 0, nextCol = 1;
    while (Xml.Next()) {
        if (Xml.IsStart(u"row")) {
            bool ok = false;
            const int r = Xml.Attr("r").toInt(&ok);
            row = ok ? r : row + 1;
            nextCol = 1;
            continue;
        }
        if (!Xml.IsStart(u"c"))
            continue;
        int r = row, c = nextCol;
        const QStringView reference = Xml.Attr("r");
        if (!reference.isEmpty() && !CellReference(reference, r, c))
            r = c = 0;
        nextCol = c + 1;
        const QString type = Xml.Attr("t").toString();
        const int depth = Xml.Depth();
        QString value;
        bool hasValue = false;
        while (Xml.NextInside(depth)) {
            if (Xml.IsStart(u"v")) {
                value = Xml.Text();
                hasValue = true;
            } else if (Xml.IsStart(u"is")) {
                value = RunText(Xml);
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
                BrokenWorkbook("a shared string that is not there");
            const AnsiString& shared = Shared[static_cast<size_t>(index)];
            CountText(shared.size());
            cell = shared;
        } else if (type.isEmpty() || type == u"n") {
            bool ok = false;
            const double number = value.toDouble(&ok);
            cell = ok && std::isfinite(number) ? Variant(number) : Text(QStringToAnsi(value));
        } else if (type == u"b") {
            cell = Variant(value.trimmed() == u"1");
        } else {
            cell = Text(QStringToAnsi(UnescapeControls(value)));
        }
        const auto [at, added] = Sheet.Cells.insert_or_assign({r, c}, std::move(cell));
        if (added)
            CountCell();
    }
}

TXlsxPackage::TXlsxPackage(std::string Bytes, const TWorkbookLimits& Limits)
    : F(std::make_unique<TState>(std::move(Bytes), Limits))
{
    TZipReader& zip = F->Zip;
    TWorkbookParts& parts = F->Parts;
    // The workbook part is the package's office document; packages without the root
    // relationships have it in its usual place.
    parts.Workbook = "xl/workbook.xml";
    if (const std::string root = zip.Find("_rels/.rels"); !root.empty()) {
        parts.Root = ReadRelationships(zip, root, "", Limits.Depth);
        if (const TRelationship* office = RelationshipOfType(parts.Root, u"officeDocument"))
            parts.Workbook = office->Part;
    }
    if (const std::string stored = zip.Find(parts.Workbook); !stored.empty())
        parts.Workbook = stored;
    parts.Rels = RelationshipsPart(parts.Workbook);
    if (const std::string stored = zip.Find(parts.Rels); !stored.empty())
        parts.Rels = stored;
    parts.WorkbookRels = ReadRelationships(zip, parts.Rels, parts.Workbook, Limits.Depth);
    const TRelationship* shared = RelationshipOfType(parts.WorkbookRels, u"sharedStrings");
    parts.Shared = zip.Find(shared ? shared->Part : PartFolder(parts.Workbook) + "sharedStrings.xml");

    // A sheet names its part by relationship id; of ids given twice, the last one counts.
    QHash<QStringView, const TRelationship*> relOfId;
    relOfId.reserve(static_cast<qsizetype>(parts.WorkbookRels.size()));
    for (const TRelationship& rel : parts.WorkbookRels)
        if (!rel.External)
            relOfId.insert(rel.Id, &rel);

    TXmlScan xml(zip.Open(parts.Workbook), parts.Workbook, Limits.Depth);
    bool viewSeen = false;
    while (xml.Next()) {
        if (xml.IsStart(u"workbook"))
            parts.Ns = xml.Xml().namespaceUri().toString();
        if (xml.IsStart(u"workbookView") && !viewSeen) {
            viewSeen = true;
            F->Active = std::max(xml.Attr("activeTab").toInt(), 0);
        } else if (xml.IsStart(u"sheet")) {
            const QXmlStreamAttributes attributes = xml.Xml().attributes();
            const TRelationship* rel = nullptr;
            for (const QXmlStreamAttribute& a : attributes) {
                const auto found = a.name() == u"id" ? relOfId.constFind(a.value()) : relOfId.cend();
                if (found != relOfId.cend())
                    rel = *found;
            }
            if (!rel)
                BrokenWorkbook("a sheet without its part");
            const std::string stored = zip.Find(rel->Part);
            F->Sheets.push_back({QStringToAnsi(xml.Attr("name").toString()), stored.empty() ? rel->Part : stored,
                                 rel->Type.isEmpty() || rel->Type.endsWith(u"/worksheet")});
        }
    }
    if (F->Sheets.empty())
        BrokenWorkbook("no sheets");
    if (F->Active >= static_cast<int>(F->Sheets.size()))
        F->Active = 0;
}

TXlsxPackage::~TXlsxPackage() = default;

const std::vector<TListedSheet>& TXlsxPackage::Sheets() const { return F->Sheets; }
int TXlsxPackage::Active() const { return F->Active; }

void TXlsxPackage::ReadCells(size_t Index, TSheetData& Sheet)
{
    const TListedSheet& listed = F->Sheets.at(Index);
    if (!listed.Worksheet)
        return;
    if (!F->SharedRead)
        F->ReadShared();
    TXmlScan xml(F->Zip.Open(listed.Part), listed.Part, F->Limits.Depth);
    F->ReadSheet(xml, Sheet);
}

std::string TXlsxPackage::Written(const std::vector<TSheetWrite>& Book) const
{
    // A reader of its own: writing is bounded as reading is, whatever was read before.
    TZipReader zip(F->Bytes, F->Limits.EntryBytes, F->Limits.TotalBytes);
    return PatchedWorkbook(zip, *F->Bytes, F->Parts, F->Sheets, F->Limits.Depth, Book);
}

// --- Writing new cells and sheets.

void WriteCell(QXmlStreamWriter& Xml, const QString& Prefix, int Row, int Col, const Variant& Value,
               const QString& Style)
{
    Xml.writeStartElement(Prefix + u'c');
    Xml.writeAttribute(QStringLiteral("r"), QString::fromStdString(ColumnLetters(Col)) + QString::number(Row));
    if (!Style.isEmpty())
        Xml.writeAttribute(QStringLiteral("s"), Style);
    const TVarType type = Value.VarType();
    if (type == varDouble || type == varInteger || type == varInt64) {
        Xml.writeTextElement(Prefix + u'v', QString::number(Value.AsDouble(), 'g', 17));
    } else if (type == varBoolean) {
        Xml.writeAttribute(QStringLiteral("t"), QStringLiteral("b"));
        Xml.writeTextElement(Prefix + u'v', Value.AsBoolean() ? QStringLiteral("1") : QStringLiteral("0"));
    } else if (type != varEmpty) {
        Xml.writeAttribute(QStringLiteral("t"), QStringLiteral("inlineStr"));
        Xml.writeStartElement(Prefix + QStringLiteral("is"));
        Xml.writeStartElement(Prefix + u't');
        Xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        Xml.writeCharacters(EscapeControls(AnsiToQString(VarToStr(Value))));
        Xml.writeEndElement();
        Xml.writeEndElement();
    }
    Xml.writeEndElement();
}

std::string SheetXml(const TSheetData& Sheet, const QString& Ns)
{
    return XmlDocument([&](QXmlStreamWriter& xml) {
        xml.writeStartElement(QStringLiteral("worksheet"));
        xml.writeAttribute(QStringLiteral("xmlns"), Ns);
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
            WriteCell(xml, QString(), at.first, at.second, value, QString());
        }
        if (row)
            xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
    });
}

TWorkbookData ReadXlsx(const std::string& Bytes, const TWorkbookLimits& Limits)
{
    TXlsxPackage package(Bytes, Limits);
    TWorkbookData book;
    for (size_t i = 0; i < package.Sheets().size(); ++i) {
        TSheetData sheet;
        sheet.Name = package.Sheets()[i].Name;
        package.ReadCells(i, sheet);
        book.Sheets.push_back(std::move(sheet));
    }
    book.Active = package.Active();
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
        types += QStringLiteral("<Override PartName=\"/xl/worksheets/sheet%1.xml\" ContentType=\"%2\"/>")
                     .arg(i)
                     .arg(QLatin1String(kWorksheetContentType));
    types += QStringLiteral("</Types>");
    entries.emplace_back("[Content_Types].xml", types.toStdString());
    entries.emplace_back("_rels/.rels", RootRels("xl/workbook.xml"));
    entries.emplace_back("xl/workbook.xml", XmlDocument([&](QXmlStreamWriter& xml) {
                             xml.writeStartElement(QStringLiteral("workbook"));
                             xml.writeDefaultNamespace(QString::fromLatin1(kSheetMainNs));
                             xml.writeNamespace(QString::fromLatin1(kRelNs), QStringLiteral("r"));
                             xml.writeStartElement(QStringLiteral("bookViews"));
                             xml.writeEmptyElement(QStringLiteral("workbookView"));
                             xml.writeAttribute(QStringLiteral("activeTab"), QString::number(Workbook.Active));
                             xml.writeEndElement();
                             xml.writeStartElement(QStringLiteral("sheets"));
                             for (size_t i = 0; i < Workbook.Sheets.size(); ++i) {
                                 xml.writeEmptyElement(QStringLiteral("sheet"));
                                 xml.writeAttribute(QStringLiteral("name"),
                                                    XmlSafe(AnsiToQString(Workbook.Sheets[i].Name)));
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
        rels += QStringLiteral("<Relationship Id=\"rId%1\" Type=\"%2\" Target=\"worksheets/sheet%1.xml\"/>")
                    .arg(i)
                    .arg(QLatin1String(kWorksheetRelType));
    rels += QStringLiteral("</Relationships>");
    entries.emplace_back("xl/_rels/workbook.xml.rels", rels.toStdString());
    for (size_t i = 0; i < Workbook.Sheets.size(); ++i)
        entries.emplace_back("xl/worksheets/sheet" + std::to_string(i + 1) + ".xml",
                             SheetXml(Workbook.Sheets[i], QString::fromLatin1(kSheetMainNs)));
    return ZipBytes(entries);
}
