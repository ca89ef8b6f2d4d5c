#include "platform/gui/OfficePartEdits.h"

#include <QDir>
#include <QXmlStreamWriter>
#include <climits>
#include <map>
#include <optional>
#include <set>

#include "platform/gui/Graphics.h"
#include "platform/gui/OfficeFormula.h"
#include "platform/gui/OfficeXml.h"
#include "platform/gui/OfficeZip.h"
#include "platform/gui/OleAutomation.h"

std::string PartFolder(const std::string& Part)
{
    const size_t slash = Part.rfind('/');
    return slash == std::string::npos ? std::string() : Part.substr(0, slash + 1);
}

std::string ResolvedTarget(const std::string& Folder, QStringView Target)
{
    if (Target.startsWith(u'/'))
        return Target.mid(1).toString().toStdString();
    const QString path = QDir::cleanPath(QString::fromStdString(Folder) + Target.toString());
    return path.startsWith(u'/') ? path.mid(1).toStdString() : path.toStdString();
}

std::string RelationshipsPart(const std::string& Part)
{
    const std::string folder = PartFolder(Part);
    return folder + "_rels/" + Part.substr(folder.size()) + ".rels";
}

std::vector<TRelationship> ReadRelationships(TZipReader& Zip, const std::string& Part, const std::string& Of,
                                             int MaxDepth)
{
    std::vector<TRelationship> rels;
    TXmlScan xml(Zip.Open(Part), Part, MaxDepth);
    while (xml.Next())
        if (xml.IsStart(u"Relationship")) {
            TRelationship rel;
            rel.Id = xml.Attr("Id").toString();
            rel.Type = xml.Attr("Type").toString();
            rel.External = xml.Attr("TargetMode") == u"External";
            if (!rel.External)
                rel.Part = ResolvedTarget(PartFolder(Of), xml.Attr("Target"));
            rels.push_back(std::move(rel));
        }
    return rels;
}

bool CellReference(QStringView Text, int& Row, int& Col)
{
    qsizetype i = 0;
    while (i < Text.size() && i < 4 && Text[i].isLetter())
        ++i;
    Col = ColumnNumber(Text.left(i).toString().toUpper().toStdString());
    bool ok = false;
    Row = Text.mid(i).toInt(&ok);
    return ok && Col >= 1 && Row >= 1 && Row <= kMaxSheetRows;
}

const TRelationship* RelationshipOfType(const std::vector<TRelationship>& Rels, QStringView Kind)
{
    for (const TRelationship& rel : Rels)
        if (!rel.External && rel.Type.endsWith(u'/' + Kind.toString()))
            return &rel;
    return nullptr;
}

namespace {

// "x:" of "x:sheetData", "" of "sheetData".
QString PrefixOf(QStringView QualifiedName)
{
    const qsizetype colon = QualifiedName.indexOf(u':');
    return colon < 0 ? QString() : QualifiedName.left(colon + 1).toString();
}

// "A1:C5" or "A1" into a box; false when it is neither.
bool ParseBox(QStringView Text, TCellBox& Box)
{
    const qsizetype colon = Text.indexOf(u':');
    if (!CellReference(colon < 0 ? Text : Text.left(colon), Box.Top, Box.Left))
        return false;
    Box.Bottom = Box.Top;
    Box.Right = Box.Left;
    return colon < 0 || CellReference(Text.mid(colon + 1), Box.Bottom, Box.Right);
}

// --- A written sheet merged into its part.

// The part Part of the sheet Sheet, whose cells in the boxes Written replace the part's cells
// there; a replaced cell keeps its style, and an emptied one keeps a cell only for its style.
// Every other element of the part is copied. Formula cells written over set FormulaDropped;
// cells sharing the formula of a cell written over get that formula of their own, as it reads
// in their place.
class TSheetMerge {
public:
    TSheetMerge(const TSheetData& Sheet, const std::vector<TCellBox>& Written) : FWritten(Written)
    {
        for (const auto& [at, value] : Sheet.Cells) {
            if (IsWritten(at.first, at.second))
                FFresh.emplace_back(at, &value);
            FUsed = FAny ? TCellBox{std::min(FUsed.Top, at.first), std::min(FUsed.Left, at.second),
                                    std::max(FUsed.Bottom, at.first), std::max(FUsed.Right, at.second)}
                         : TCellBox{at.first, at.second, at.first, at.second};
            FAny = true;
        }
    }

    std::string Merged(TXmlScan& Xml, bool& FormulaDropped)
    {
        QByteArray bytes;
        QXmlStreamWriter out(&bytes);
        int sheetData = 0;  // its depth while inside it
        int row = 0, lastRow = 0, lastCol = 0;
        while (Xml.Next()) {
            const QXmlStreamReader& x = Xml.Xml();
            if (!sheetData && Xml.IsStart(u"dimension")) {
                TCellBox box;
                if (FAny && ParseBox(Xml.Attr("ref"), box))
                    box = {std::min(box.Top, FUsed.Top), std::min(box.Left, FUsed.Left),
                           std::max(box.Bottom, FUsed.Bottom), std::max(box.Right, FUsed.Right)};
                else
                    box = FUsed;
                const QString ref = QString::fromStdString(BoxReference(box, false));
                Xml.Copy(out,
                         FAny ? std::map<QString, std::optional<QString>>{{QStringLiteral("ref"), ref}}
                              : std::map<QString, std::optional<QString>>{});
            } else if (!sheetData && x.isEndElement() && Xml.Depth() == 1 && FNext < FFresh.size()) {
                // A sheet without its cell table gets one, so that nothing written is lost.
                FPrefix = PrefixOf(x.qualifiedName());
                out.writeStartElement(FPrefix + QStringLiteral("sheetData"));
                FreshRowsBefore(out, INT_MAX);
                out.writeEndElement();
                Xml.Copy(out);
            } else if (!sheetData && Xml.IsStart(u"sheetData")) {
                FPrefix = PrefixOf(x.qualifiedName());
                sheetData = Xml.Depth();
                Xml.Copy(out);
            } else if (sheetData && x.isEndElement() && Xml.Depth() == sheetData) {
                FreshRowsBefore(out, INT_MAX);
                sheetData = 0;
                Xml.Copy(out);
            } else if (sheetData && Xml.IsStart(u"row") && Xml.Depth() == sheetData + 1) {
                bool ok = false;
                const int r = Xml.Attr("r").toInt(&ok);
                row = lastRow = ok ? r : lastRow + 1;
                lastCol = 0;
                FreshRowsBefore(out, row);
                // Its span of columns may change: it is only a hint, so a row written into has none.
                Xml.Copy(out,
                         RowWritten(row)
                             ? std::map<QString, std::optional<QString>>{{QStringLiteral("spans"), std::nullopt}}
                             : std::map<QString, std::optional<QString>>{});
            } else if (row && x.isEndElement() && Xml.Depth() == sheetData + 1) {
                FreshCellsBefore(out, row, INT_MAX);
                row = 0;
                Xml.Copy(out);
            } else if (row && Xml.IsStart(u"c") && Xml.Depth() == sheetData + 2) {
                int r = row, c = lastCol + 1;
                if (!Xml.Attr("r").isEmpty() && !CellReference(Xml.Attr("r"), r, c))
                    c = lastCol + 1;
                lastCol = c;
                FreshCellsBefore(out, row, c);
                if (IsWritten(row, c))
                    WriteOver(Xml, out, row, c, FormulaDropped);
                else
                    CopyCell(Xml, out, row, c);
            } else {
                Xml.Copy(out);
            }
        }
        return bytes.toStdString();
    }

private:
    bool IsWritten(int Row, int Col) const
    {
        for (const TCellBox& box : FWritten)
            if (box.Holds(Row, Col))
                return true;
        return false;
    }
    bool RowWritten(int Row) const
    {
        for (const TCellBox& box : FWritten)
            if (Row >= box.Top && Row <= box.Bottom)
                return true;
        return false;
    }
    // New rows for the written cells of rows before Row that the part has no row for.
    void FreshRowsBefore(QXmlStreamWriter& Out, int Row)
    {
        while (FNext < FFresh.size() && FFresh[FNext].first.first < Row) {
            const int r = FFresh[FNext].first.first;
            Out.writeStartElement(FPrefix + QStringLiteral("row"));
            Out.writeAttribute(QStringLiteral("r"), QString::number(r));
            FreshCellsBefore(Out, r, INT_MAX);
            Out.writeEndElement();
        }
    }
    void FreshCellsBefore(QXmlStreamWriter& Out, int Row, int Col)
    {
        for (; FNext < FFresh.size() && FFresh[FNext].first.first == Row && FFresh[FNext].first.second < Col; ++FNext)
            WriteCell(Out, FPrefix, Row, FFresh[FNext].first.second, *FFresh[FNext].second, QString());
    }
    // A cell of the part that was written over: its style goes to what replaces it.
    void WriteOver(TXmlScan& Xml, QXmlStreamWriter& Out, int Row, int Col, bool& FormulaDropped)
    {
        const QString style = Xml.Attr("s").toString();
        const int depth = Xml.Depth();
        while (Xml.NextInside(depth))
            if (Xml.IsStart(u"f")) {
                FormulaDropped = true;
                if (Xml.Attr("t") == u"shared" && !Xml.Attr("ref").isEmpty()) {
                    const QString shared = Xml.Attr("si").toString();
                    FOrphaned[shared] = {Xml.Text(), Row, Col};
                }
            }
        if (FNext < FFresh.size() && FFresh[FNext].first == std::make_pair(Row, Col))
            WriteCell(Out, FPrefix, Row, Col, *FFresh[FNext++].second, style);
        else if (!style.isEmpty())
            WriteCell(Out, FPrefix, Row, Col, Variant(), style);
    }
    // A cell of the part kept as it is, but for a shared formula whose first cell is gone: the
    // cell gets the formula in full.
    void CopyCell(TXmlScan& Xml, QXmlStreamWriter& Out, int Row, int Col)
    {
        const int depth = Xml.Depth();
        Xml.Copy(Out);
        while (Xml.Next()) {
            const auto orphaned = Xml.IsStart(u"f") && Xml.Attr("t") == u"shared" && Xml.Attr("ref").isEmpty()
                ? FOrphaned.find(Xml.Attr("si").toString())
                : FOrphaned.end();
            if (orphaned != FOrphaned.end() && orphaned->second.Text.isEmpty()) {
                Xml.Skip();
                continue;
            }
            if (orphaned != FOrphaned.end()) {
                const TSharedFormula& shared = orphaned->second;
                Xml.Copy(Out, {{QStringLiteral("t"), std::nullopt}, {QStringLiteral("si"), std::nullopt}});
                Out.writeCharacters(MovedFormula(shared.Text, Row - shared.Row, Col - shared.Col));
                Xml.Skip();
                Out.writeEndElement();
                continue;
            }
            Xml.Copy(Out);
            if (Xml.Xml().isEndElement() && Xml.Depth() == depth)
                break;
        }
    }
    const std::vector<TCellBox>& FWritten;
    std::vector<std::pair<std::pair<int, int>, const Variant*>> FFresh;  // the written cells, in order
    size_t FNext = 0;                                                    // the first not yet in the part
    TCellBox FUsed;
    bool FAny = false;
    QString FPrefix;
    struct TSharedFormula {
        QString Text;
        int Row = 0, Col = 0;  // the cell it was written for
    };
    std::map<QString, TSharedFormula> FOrphaned;  // shared formulas whose first cell was written over
};

// --- The sheet list.

struct TNewSheet {
    size_t Place;
    std::string Part;
    QString Id, Target;
};

QStringList ListedNames(const std::vector<TListedSheet>& Listed)
{
    QStringList names;
    for (const TListedSheet& sheet : Listed)
        names << XmlSafe(AnsiToQString(sheet.Name));
    return names;
}

// The workbook part with its sheets in Book's order, named Names; the indexes of sheets kept by
// its views and defined names follow them.
std::string EditedWorkbook(TXmlScan& Xml, const std::vector<TSheetWrite>& Book, const QStringList& Names,
                           const std::vector<int>& PlaceOf, const std::vector<TNewSheet>& Added)
{
    const auto moved = [&](QStringView index) -> std::optional<QString> {
        bool ok = false;
        const int old = index.toInt(&ok);
        if (!ok || old < 0 || old >= static_cast<int>(PlaceOf.size()))
            return index.toString();
        return QString::number(PlaceOf[static_cast<size_t>(old)]);
    };
    QByteArray bytes;
    QXmlStreamWriter out(&bytes);
    while (Xml.Next()) {
        if (Xml.IsStart(u"workbookView")) {
            std::map<QString, std::optional<QString>> changed;
            for (const char* name : {"activeTab", "firstSheet"})
                if (!Xml.Attr(name).isEmpty())
                    changed[QLatin1String(name)] = moved(Xml.Attr(name));
            Xml.Copy(out, changed);
        } else if (Xml.IsStart(u"definedName") && !Xml.Attr("localSheetId").isEmpty()) {
            Xml.Copy(out, {{QStringLiteral("localSheetId"), moved(Xml.Attr("localSheetId"))}});
        } else if (Xml.IsStart(u"sheets")) {
            const QString prefix = PrefixOf(Xml.Xml().qualifiedName());
            Xml.Copy(out);
            // The listed sheets' elements as they are, in the list's order.
            std::vector<QXmlStreamAttributes> listed;
            QString idName = QStringLiteral("r:id");
            int lastId = 0;
            const int depth = Xml.Depth();
            while (Xml.NextInside(depth))
                if (Xml.IsStart(u"sheet")) {
                    listed.push_back(Xml.Xml().attributes());
                    for (const QXmlStreamAttribute& a : listed.back())
                        if (a.name() == u"id")
                            idName = a.qualifiedName().toString();
                    lastId = std::max(lastId, Xml.Attr("sheetId").toInt());
                }
            size_t added = 0;
            for (size_t place = 0; place < Book.size(); ++place) {
                out.writeEmptyElement(prefix + QStringLiteral("sheet"));
                const QString& name = Names[static_cast<qsizetype>(place)];
                if (Book[place].Listed >= static_cast<int>(listed.size()) ||
                    (Book[place].Listed < 0 && added >= Added.size()))
                    throw EOleException("Cannot make the package");
                if (Book[place].Listed < 0) {
                    out.writeAttribute(QStringLiteral("name"), name);
                    out.writeAttribute(QStringLiteral("sheetId"), QString::number(++lastId));
                    out.writeAttribute(idName, Added[added++].Id);
                    continue;
                }
                for (const QXmlStreamAttribute& a : listed[static_cast<size_t>(Book[place].Listed)])
                    if (!a.isDefault())
                        out.writeAttribute(a.qualifiedName().toString(),
                                           a.name() == u"name" ? name : a.value().toString());
            }
            Xml.Copy(out);
        } else {
            Xml.Copy(out);
        }
    }
    return bytes.toStdString();
}

// A part whose root holds a list (relationships, content types): the items Drop says to drop
// are left out, and Add writes new ones at the end, with the root's prefix.
template <class Drop, class Add>
std::string EditedList(TXmlScan& Xml, Drop drop, Add add)
{
    QByteArray bytes;
    QXmlStreamWriter out(&bytes);
    QString prefix;
    while (Xml.Next()) {
        if (Xml.Xml().isStartElement() && Xml.Depth() == 1)
            prefix = PrefixOf(Xml.Xml().qualifiedName());
        if (Xml.Xml().isStartElement() && Xml.Depth() == 2 && drop(Xml)) {
            Xml.Skip();
            continue;
        }
        if (Xml.Xml().isEndElement() && Xml.Depth() == 1)
            add(out, prefix);
        Xml.Copy(out);
    }
    return bytes.toStdString();
}

// The document properties with the workbook's sheet titles and their count following Book,
// or nullopt when they list no sheets this way.
std::optional<std::string> EditedProperties(TZipReader& Zip, const std::string& Part, int MaxDepth,
                                            const QStringList& Before, const QStringList& After)
{
    // Which heading counts the sheets: the one whose titles are the sheets' names in order.
    std::vector<qint64> counts;
    QStringList titles;
    {
        TXmlScan xml(Zip.Open(Part), Part, MaxDepth);
        int in = 0;  // 1 in the headings, 2 in the titles
        while (xml.Next()) {
            if (xml.IsStart(u"HeadingPairs") || xml.IsStart(u"TitlesOfParts"))
                in = xml.IsStart(u"HeadingPairs") ? 1 : 2;
            else if (xml.IsEnd(u"HeadingPairs") || xml.IsEnd(u"TitlesOfParts"))
                in = 0;
            else if (in == 1 && xml.IsStart(u"i4"))
                counts.push_back(xml.Text().toInt());  // 0 when it is no 32-bit number
            else if (in == 2 && xml.IsStart(u"lpstr"))
                titles << xml.Text();
        }
    }
    // The stored counts are the file's: summed wide, and no heading is taken past the titles.
    int heading = -1;
    qsizetype first = 0;
    qint64 offset = 0;
    for (size_t i = 0; i < counts.size() && heading < 0 && offset >= 0 && offset <= titles.size();
         offset += counts[i++])
        if (counts[i] == Before.size() && titles.mid(static_cast<qsizetype>(offset), Before.size()) == Before) {
            heading = static_cast<int>(i);
            first = static_cast<qsizetype>(offset);
        }
    if (heading < 0)
        return std::nullopt;
    TXmlScan xml(Zip.Open(Part), Part, MaxDepth);
    QByteArray bytes;
    QXmlStreamWriter out(&bytes);
    int in = 0, count = 0, title = 0;
    while (xml.Next()) {
        if (xml.IsStart(u"HeadingPairs") || xml.IsStart(u"TitlesOfParts"))
            in = xml.IsStart(u"HeadingPairs") ? 1 : 2;
        else if (xml.IsEnd(u"HeadingPairs") || xml.IsEnd(u"TitlesOfParts"))
            in = 0;
        if (in == 1 && xml.IsStart(u"i4") && count++ == heading) {
            xml.Copy(out);
            xml.Skip();
            out.writeCharacters(QString::number(After.size()));
        } else if (in == 2 && xml.IsStart(u"vector")) {
            xml.Copy(out, {{QStringLiteral("size"), QString::number(titles.size() - Before.size() + After.size())}});
            continue;
        } else if (in == 2 && xml.IsStart(u"lpstr")) {
            const int at = title++;
            if (at < first || at >= first + Before.size()) {
                xml.Copy(out);
                continue;
            }
            const QString name = xml.Xml().qualifiedName().toString();
            xml.Skip();
            if (at == first)
                for (const QString& sheet : After)
                    out.writeTextElement(name, sheet);
            continue;
        }
        xml.Copy(out);
    }
    return bytes.toStdString();
}

}  // namespace

std::string PatchedWorkbook(TZipReader& Zip, const std::string& Original, const TWorkbookParts& Parts,
                            const std::vector<TListedSheet>& Listed, int MaxDepth, const std::vector<TSheetWrite>& Book)
{
    // Every listed sheet once: sheets are never removed.
    std::vector<int> placeOf(Listed.size(), -1);
    bool listChanged = Book.size() != Listed.size();
    for (size_t place = 0; place < Book.size(); ++place) {
        const int listed = Book[place].Listed;
        if (listed >= static_cast<int>(Listed.size()) || (listed >= 0 && placeOf[static_cast<size_t>(listed)] >= 0))
            throw EOleException("Cannot make the package");
        if (listed >= 0)
            placeOf[static_cast<size_t>(listed)] = static_cast<int>(place);
        listChanged = listChanged || listed != static_cast<int>(place) || Book[place].Data->Name != Listed[place].Name;
    }
    if (std::count(placeOf.begin(), placeOf.end(), -1) > 0)
        throw EOleException("Cannot make the package");

    std::map<std::string, std::optional<std::string>> changes;
    bool formulaDropped = false;
    std::vector<TNewSheet> added;
    std::set<QString> ids;
    for (const TRelationship& rel : Parts.WorkbookRels)
        ids.insert(rel.Id);
    const TRelationship* worksheet = RelationshipOfType(Parts.WorkbookRels, u"worksheet");
    const QString relType = worksheet ? worksheet->Type : QString::fromLatin1(kWorksheetRelType);
    const QString ns = Parts.Ns.isEmpty() ? QString::fromLatin1(kSheetMainNs) : Parts.Ns;
    const std::string folder = PartFolder(Parts.Workbook);
    for (size_t place = 0, number = 1, id = 1; place < Book.size(); ++place) {
        const TSheetWrite& sheet = Book[place];
        if (sheet.Listed >= 0) {
            const TListedSheet& listed = Listed[static_cast<size_t>(sheet.Listed)];
            if (!sheet.Written.empty() && listed.Worksheet) {
                TXmlScan xml(Zip.Open(listed.Part), listed.Part, MaxDepth);
                changes[listed.Part] = TSheetMerge(*sheet.Data, sheet.Written).Merged(xml, formulaDropped);
            }
            continue;
        }
        TNewSheet add{place, {}, {}, {}};
        for (;; ++number) {
            add.Target = QStringLiteral("worksheets/sheet%1.xml").arg(number);
            add.Part = folder + add.Target.toStdString();
            if (Zip.Find(add.Part).empty() && !changes.count(add.Part))
                break;
        }
        while (ids.count(QStringLiteral("rId%1").arg(id)))
            ++id;
        add.Id = QStringLiteral("rId%1").arg(id);
        ids.insert(add.Id);
        changes[add.Part] = SheetXml(*sheet.Data, ns);
        added.push_back(add);
    }

    // The calculation chain lists formula cells: one that lost its formula would make office
    // programs report the file damaged. It is only a cache, so it goes.
    const TRelationship* chain = formulaDropped ? RelationshipOfType(Parts.WorkbookRels, u"calcChain") : nullptr;
    const std::string chainPart = chain ? Zip.Find(chain->Part) : std::string();
    if (!chainPart.empty())
        changes[chainPart] = std::nullopt;
    if (!chainPart.empty() || !added.empty()) {
        TXmlScan xml(Zip.Open(Parts.Rels), Parts.Rels, MaxDepth);
        changes[Parts.Rels] = EditedList(
            xml, [&](const TXmlScan& x) { return chain && x.Attr("Id") == chain->Id; },
            [&](QXmlStreamWriter& out, const QString& prefix) {
                for (const TNewSheet& add : added) {
                    out.writeEmptyElement(prefix + QStringLiteral("Relationship"));
                    out.writeAttribute(QStringLiteral("Id"), add.Id);
                    out.writeAttribute(QStringLiteral("Type"), relType);
                    out.writeAttribute(QStringLiteral("Target"), add.Target);
                }
            });
    }
    if (const std::string types = Zip.Find("[Content_Types].xml");
        !types.empty() && (!chainPart.empty() || !added.empty())) {
        TXmlScan xml(Zip.Open(types), types, MaxDepth);
        changes[types] = EditedList(
            xml,
            [&](const TXmlScan& x) {
                return !chainPart.empty() && x.IsStart(u"Override") &&
                    x.Attr("PartName").compare(QString::fromStdString("/" + chainPart), Qt::CaseInsensitive) == 0;
            },
            [&](QXmlStreamWriter& out, const QString& prefix) {
                for (const TNewSheet& add : added) {
                    out.writeEmptyElement(prefix + QStringLiteral("Override"));
                    out.writeAttribute(QStringLiteral("PartName"), QString::fromStdString("/" + add.Part));
                    out.writeAttribute(QStringLiteral("ContentType"), QLatin1String(kWorksheetContentType));
                }
            });
    }
    if (!listChanged)
        return PatchedZip(Original, changes);
    QStringList names;
    for (const TSheetWrite& sheet : Book)
        names << XmlSafe(AnsiToQString(sheet.Data->Name));
    {
        TXmlScan xml(Zip.Open(Parts.Workbook), Parts.Workbook, MaxDepth);
        changes[Parts.Workbook] = EditedWorkbook(xml, Book, names, placeOf, added);
    }
    const TRelationship* properties = RelationshipOfType(Parts.Root, u"extended-properties");
    if (const std::string part = properties ? Zip.Find(properties->Part) : std::string(); !part.empty()) {
        if (std::optional<std::string> edited = EditedProperties(Zip, part, MaxDepth, ListedNames(Listed), names))
            changes[part] = std::move(*edited);
    }
    return PatchedZip(Original, changes);
}
