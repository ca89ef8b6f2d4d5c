// The XML export through gridrun, read back by Qt's XML parser: texts holding control bytes give
// a document the parser accepts, and a tag that is no XML name is refused, nothing written.

#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "tests/grid/tool/GridRunSupport.h"

namespace {

// The element names and texts of a document, "name=text;" each, or the parser's error.
std::string Parsed(const std::string& file)
{
    QFile in(QString::fromStdString(file));
    if (!in.open(QIODevice::ReadOnly))
        return "no file";
    QXmlStreamReader xml(&in);
    std::string out;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() != u"list" && xml.name() != u"rec") {
            const std::string name = xml.name().toString().toStdString();
            out += name + "=" + xml.readElementText().toStdString() + ";";
        }
    }
    return xml.hasError() ? "error: " + xml.errorString().toStdString() : out;
}

struct TXmlCase {
    const char* name;
    const char* directives;  // @F@ names the file
    const char* parsed;      // what the parser reads, or "no file"
    const char* printed;     // a line gridrun prints, or ""
};
void PrintTo(const TXmlCase& c, std::ostream* os) { *os << c.name; }

class GridRunXml : public ::testing::TestWithParam<TXmlCase> {};

}  // namespace

// Fault: control bytes were written raw (a\x01b) and a caller's tag unchecked ("list x" became
// <list x>): no XML parser read the file.
TEST_P(GridRunXml, RegressionTheExportIsAcceptedOrRefused)
{
    QTemporaryDir dir;
    const std::string file = dir.path().toStdString() + "/a.xml";
    std::string directives = "set SaveIncludesFixed true\nset ColCount 2\nset RowCount 1\n";
    directives += GetParam().directives;
    directives.replace(directives.find("@F@"), 3, file);
    const TRun run = GridRun(directives, true);
    EXPECT_EQ(run.Status, 0) << run.Out;
    EXPECT_EQ(Parsed(file), GetParam().parsed);
    EXPECT_NE(run.Out.find(GetParam().printed), std::string::npos) << run.Out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GridRunXml,
    ::testing::Values(
        TXmlCase{"ControlBytesBecomeReplacementCharacters",
                 "cell 0 0 a\\x01b\\x0B\\x1F<&>\ncell 1 0 tab\\tand\\r\\nline\ncall SaveToXML @F@ list rec x,y\n",
                 "x=a\xEF\xBF\xBD"
                 "b\xEF\xBF\xBD\xEF\xBF\xBD<&>;y=tab\tand\nline;",
                 ""},
        TXmlCase{"HangulTagsAndTexts", "cell 0 0 값\ncall SaveToXML @F@ list rec 이름,_a-b.9\n", "이름=값;_a-b.9=;",
                 ""},
        TXmlCase{"ABlankInTheListTagIsRefused", "call SaveToXML @F@ \"list x\" rec x\n", "no file",
                 "error: ECellGridError: Invalid XML tag name \"list x\"\n"},
        TXmlCase{"AFieldTagStartingWithADigitIsRefused", "call SaveToXML @F@ list rec 1st\n", "no file",
                 "error: ECellGridError: Invalid XML tag name \"1st\"\n"},
        TXmlCase{"AColonIsRefused", "call SaveToXML @F@ list a:b x\n", "no file",
                 "error: ECellGridError: Invalid XML tag name \"a:b\"\n"},
        TXmlCase{"AnEmptyRecordTagIsRefused", "call SaveToXML @F@ list \"\" x\n", "no file",
                 "error: ECellGridError: Invalid XML tag name \"\"\n"}),
    [](const auto& row) { return std::string(row.param.name); });
