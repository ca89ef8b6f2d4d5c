// Hostile files through gridrun, as a user's load, append, export or stored layout meets them:
// files it cannot read, past the readers' bound or past the grid's cells, far-apart cells, XML
// tags and bytes XML forbids, and stored numbers past any page or screen. Memory is gridrun's
// peak resident size with generous bounds; nothing is timed. The sanitizer build runs these too:
// an overflow anywhere on the way stops gridrun.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <filesystem>

#include "tests/grid/tool/GridRunSupport.h"
#include "tests/platform/core/Unprivileged.h"

namespace {

// gridrun on the directives in a child process, without root's right to read every file when
// asked: what it printed and its peak resident size in kB.
std::pair<std::string, long> MeasuredGridRun(const std::string& folder, const std::string& directives,
                                             bool unprivileged)
{
    std::ofstream(folder + "/run.grid", std::ios::binary) << directives;
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open((folder + "/run.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        dup2(out, 1);
        dup2(out, 2);
        if (unprivileged && !GiveUpReadingEveryFile())
            _exit(3);
        unsetenv("QT_QPA_PLATFORM");
        setenv("HOME", folder.c_str(), 1);
        const std::string gridrun = std::string(HM_BIN_DIR) + "/gridrun";
        execl(gridrun.c_str(), gridrun.c_str(), (folder + "/run.grid").c_str(), static_cast<char*>(nullptr));
        _exit(4);
    }
    int status = 0;
    rusage usage{};
    EXPECT_EQ(wait4(pid, &status, 0, &usage), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    std::ifstream in(folder + "/run.out", std::ios::binary);
    return {std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), usage.ru_maxrss};
}

// What a case makes in the folder, the directives and a line gridrun prints ($D: the folder).
struct THostileCase {
    const char* name;
    std::function<void(const std::string& folder)> make;
    std::string directives, printed;
    bool unprivileged = false;
    long peakMb = 512;
};
void PrintTo(const THostileCase& c, std::ostream* os) { *os << c.name; }

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// Print settings with every length and font size stored as Value.
std::string EveryNumber(const std::string& Value)
{
    std::string ini = "[Print]\nDate=1\nPageNr=6\nTitle=2\nTitleText=t\nFitToPage=3\n";
    for (const char* key : {"ColumnSpacing", "RowSpacing", "TitleSpacing", "FixedHeight", "FixedWidth", "FooterSize",
                            "HeaderSize", "LeftSize", "RightSize", "FontSize", "HeaderFontSize", "FooterFontSize"})
        ini += std::string(key) + "=" + Value + "\n";
    return ini;
}

// A stored INI file loaded as print settings and column widths, then a paint, a print, a preview
// and a draw; the property asked shows what was kept.
THostileCase Stored(const char* name, const std::string& ini, const std::string& asked, const std::string& shows)
{
    return {name, [ini](const std::string& d) { Write(d + "/s.ini", ini); },
            "set ColCount 4\nset RowCount 6\nblock 0 0 a\\tb\\tc\\nd\\tee\\tf\nset Multilinecells true\n"
            "cell 2 2 one\\r\\ntwo\ncall LoadPrintSettings $D/s.ini Print\nset ColumnSize.Location clInifile\n"
            "set ColumnSize.Key $D/s.ini\nset ColumnSize.Section Cols\ncall LoadColSizes\n? " +
                asked +
                "\npng $D/g.png\nprinter pdf $D/g.pdf\ncall Print\npreview $D/p.png 210 297\ndraw $D/d.png 300 200\n",
            asked + " = " + shows + "\n"};
}

THostileCase XmlRefused(const char* name, const std::string& tags, const std::string& tag)
{
    return {name, nullptr, "call SaveToXML $D/a.xml " + tags + "\n",
            "error: ECellGridError: Invalid XML tag name \"" + tag + "\"\n"};
}

class GridRunHostile : public ::testing::TestWithParam<THostileCase> {};

}  // namespace

// Faults: an append replaced a file it could not read (a pipe, a folder, no permission) by the
// new rows alone; readers read any size (an 8 GB sparse file until bad_alloc); a 100 MB CSV took
// 4.4 GB before the cell limit refused it; a 100 KB grid file of far-apart cells took 2.38 GB;
// the XML export wrote tags that are no XML names; stored numbers overflowed the page layout,
// the fonts and the column geometry. Each is now refused or cut, in bounded memory.
TEST_P(GridRunHostile, RegressionIsRefusedOrCutInBoundedMemory)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    if (GetParam().make)
        GetParam().make(folder);
    const auto [out, peakKb] =
        MeasuredGridRun(folder, ReplaceAll(GetParam().directives, "$D", folder), GetParam().unprivileged);
    const std::string printed = ReplaceAll(GetParam().printed, "$D", folder);
    EXPECT_NE(out.find(printed), std::string::npos) << out;
    EXPECT_TRUE(printed.rfind("error:", 0) == 0 || out.find("error:") == std::string::npos) << out;
    EXPECT_LT(peakKb, GetParam().peakMb * 1024) << "kB";
}

const std::string kAppend = "cell 1 1 new\ncall AppendToCSV $D/t\ncall AppendToHTML $D/t\n";
const std::string kCannotOpen = "error: ECellGridError: Cannot open file $D/t\n";

INSTANTIATE_TEST_SUITE_P(
    Files, GridRunHostile,
    ::testing::Values(
        THostileCase{"AppendToAFileItCannotRead",
                     [](const std::string& d) {
                         Write(d + "/t", "secret\r\n");
                         chmod((d + "/t").c_str(), 0222);
                     },
                     kAppend, kCannotOpen, true},
        THostileCase{"AppendToAPipe", [](const std::string& d) { mkfifo((d + "/t").c_str(), 0666); }, kAppend,
                     kCannotOpen},
        THostileCase{"AppendToAFolder", [](const std::string& d) { mkdir((d + "/t").c_str(), 0777); }, kAppend,
                     kCannotOpen},
        THostileCase{"AnEightGigabyteFile",
                     [](const std::string& d) {
                         Write(d + "/big.csv", "a,b\r\n");
                         std::filesystem::resize_file(d + "/big.csv", std::uintmax_t{8} << 30);
                     },
                     "call LoadFromFile $D/big.csv\ncall LoadFromCSV $D/big.csv\n",
                     "error: ECellGridError: File too large $D/big.csv\nerror: ECellGridError: File too large "
                     "$D/big.csv\n"},
        THostileCase{"ACsvPastTheCellLimit",
                     [](const std::string& d) {
                         std::ofstream out(d + "/wide.csv", std::ios::binary);
                         for (int i = 0; i < 100000; ++i)
                             out << std::string(1000, ',') << "\r\n";
                     },
                     "call LoadFromCSV $D/wide.csv\n? RowCount\n",
                     "error: ECellGridError: File contains no data or corrupt file $D/wide.csv\nRowCount = 5\n", false,
                     1024},
        THostileCase{"AGridFileOfFarApartCells",
                     [](const std::string& d) {
                         std::ofstream out(d + "/far.grd", std::ios::binary);
                         out << "8000,8000\r\n";
                         for (int r = 0; r < 8000; ++r)
                             out << "7999," << r << ",x\r\n";
                     },
                     "set SaveIncludesFixed true\ncall LoadFromFile $D/far.grd\n? Cells 7999 7998\n? Cells 7998 7998\n",
                     "Cells 7999 7998 = x\nCells 7998 7998 = \n"},
        XmlRefused("XmlListTagWithABlank", "\"list x\" rec f", "list x"),
        XmlRefused("XmlFieldTagStartingWithADigit", "list rec a,1st", "1st"),
        XmlRefused("XmlRecordTagWithAColon", "list a:b f", "a:b"),
        Stored("EveryPrintNumberIntMax", EveryNumber("2147483647"), "PrintSettings.Font.Size", "1638"),
        Stored("EveryPrintNumberIntMinWithFixedSizes",
               EveryNumber("-2147483648") + "UseFixedWidth=Y\nUseFixedHeight=Y\nCentered=N", "PrintSettings.LeftSize",
               "-100000"),
        Stored("ColumnWidthIntMax", "[Cols]\ncol1=2147483647", "ColWidths 1", "65535"),
        Stored("ColumnWidthIntMinKeepsTheWidth", "[Cols]\ncol1=-2147483648", "ColWidths 1", "64")),
    [](const auto& row) { return std::string(row.param.name); });

// Fault: control bytes went into the XML export raw (a\x01b): no parser read the file. Qt's parser
// reads it now, those bytes as U+FFFD and line breaks as XML gives them.
TEST(GridRunXml, RegressionAnExportWithControlBytesParses)
{
    QTemporaryDir dir;
    const std::string file = dir.path().toStdString() + "/a.xml";
    const TRun run = GridRun("set SaveIncludesFixed true\nset ColCount 2\nset RowCount 1\ncell 0 0 a\\x01b\\x0B<&>\n"
                             "cell 1 0 \xEA\xB0\x92\\tand\\r\\nline\ncall SaveToXML " +
                             file + " list rec x,\xEC\x9D\xB4\n");
    ASSERT_EQ(run.Status, 0) << run.Out;
    QFile in(QString::fromStdString(file));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&in);
    std::string texts;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() != u"list" && xml.name() != u"rec")
            texts += xml.name().toString().toStdString() + "=" + xml.readElementText().toStdString() + ";";
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(texts,
              "x=a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD<&>;\xEC\x9D\xB4=\xEA\xB0\x92\tand\nline;");
}
