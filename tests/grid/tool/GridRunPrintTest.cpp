// gridrun prints to PDF files that poppler reads back: the printing directives, the print events
// and their answers, previews and draws into pictures, and golden pages of our own (PDF pages
// turned into PNG by pdftoppm) for a sliced print, the border kinds and cells of every kind.

#include <QImage>
#include <QTemporaryDir>

#include <fstream>
#include <iterator>

#include "tests/grid/tool/GridRunSupport.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

int PdfPages(const std::string& file)
{
    const std::string info = RunCommand("pdfinfo '" + file + "' 2>&1").Out;
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

bool HasInk(const QImage& picture)
{
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                return true;
    return false;
}

// Three columns of twelve rows whose print sizes do not depend on fonts: 12 rows to a page of
// the PDF printer would be far too few, so OnPrintNewPage cuts pages where a case says.
const char* kSmallGrid = "set ColCount 3\n"
                         "set RowCount 12\n"
                         "block 0 0 a\\tb\\tc\\nd\\te\\tf\n"
                         "set PrintSettings.UseFixedWidth 1\n"
                         "set PrintSettings.FixedWidth 300\n"
                         "set PrintSettings.UseFixedHeight 1\n"
                         "set PrintSettings.FixedHeight 50\n";

class GridRunPrint : public ::testing::Test {
protected:
    TRun Run(const std::string& directives)
    {
        return GridRun(ReplaceAll(std::string(kSmallGrid) + directives, "@DIR@", dir.path().toStdString()), true);
    }
    std::string File(const char* name) const { return dir.path().toStdString() + "/" + name; }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(GridRunPrint, EventsPrintAndAnswersCutPages)
{
    const TRun run = Run("? pages\n"
                         "events OnPrintStart,OnPrintPage,OnPrintNewPage\n"
                         "answer OnPrintNewPage 5 true\n"
                         "printer pdf @DIR@/e.pdf\n"
                         "call Print\n"
                         "events off\n"
                         "? pages\n");
    EXPECT_EQ(run.Status, 0) << run.Out;
    EXPECT_EQ(run.Out.rfind("pages = 0\n", 0), 0u) << run.Out;
    EXPECT_NE(run.Out.find("event OnPrintNewPage 5 false\n"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("event OnPrintStart 2 1 2\n"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("event OnPrintPage TPrinterCanvas 2 "), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("Print =\npages = 2\n"), std::string::npos) << run.Out;
    EXPECT_EQ(PdfPages(File("e.pdf")), 2);
}

TEST_F(GridRunPrint, OnPrintStartAnsweredWithPageZeroPrintsNothing)
{
    const TRun run = Run("answer OnPrintStart 0 -\n"
                         "printer pdf @DIR@/none.pdf\n"
                         "call Print\n");
    EXPECT_EQ(run.Status, 0) << run.Out;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(File("none.pdf"))));
}

TEST_F(GridRunPrint, APrintRectPrintsItsCellsOnly)
{
    const TRun run = Run("printer pdf @DIR@/r.pdf\n"
                         "call PrintRect 1,1,2,1\n");
    EXPECT_EQ(run.Status, 0) << run.Out;
    const std::string text = RunCommand("pdftotext '" + File("r.pdf") + "' - 2>&1").Out;
    EXPECT_NE(text.find('e'), std::string::npos) << text;
    EXPECT_EQ(text.find('a'), std::string::npos) << text;
}

TEST_F(GridRunPrint, PreviewAndDrawPaintPictures)
{
    // The PDF printer's page, not whatever default printer the machine has.
    const TRun run = Run("printer pdf @DIR@/unused.pdf\n"
                         "preview @DIR@/p1.png 210 297\n"
                         "? pages\n"
                         "call SetPreviewPage 2\n"
                         "preview @DIR@/p2.png 210 297\n"
                         "draw @DIR@/d.png 200 100\n");
    EXPECT_EQ(run.Status, 0) << run.Out;
    EXPECT_NE(run.Out.find("pages = 1\n"), std::string::npos) << run.Out;
    EXPECT_TRUE(HasInk(QImage(QString::fromStdString(File("p1.png")))));
    const QImage empty(QString::fromStdString(File("p2.png")));
    ASSERT_EQ(empty.size(), QSize(210, 297));
    EXPECT_FALSE(HasInk(empty)) << "a page past the count draws nothing";
    EXPECT_TRUE(HasInk(QImage(QString::fromStdString(File("d.png")))));
}

TEST_F(GridRunPrint, PrintSettingsGoThroughAnIniFile)
{
    const TRun run = Run("set PrintSettings.Borders pbAround\n"
                         "set PrintSettings.TitleLines a,b\n"
                         "call SavePrintSettings @DIR@/p.ini Print\n"
                         "new\n"
                         "call LoadPrintSettings @DIR@/p.ini Print\n"
                         "? PrintSettings.Borders\n"
                         "? PrintSettings.TitleLines\n"
                         "? PrintSettings.LeftSize\n");
    EXPECT_EQ(run.Status, 0) << run.Out;
    EXPECT_NE(run.Out.find("PrintSettings.Borders = pbAround\n"
                           "PrintSettings.TitleLines = a,b\n"
                           "PrintSettings.LeftSize = 0\n"),
              std::string::npos)
        << run.Out;
}

TEST_F(GridRunPrint, AQueueThatIsNotThereIsAnError)
{
    const TRun run = Run("printer queue no-such-queue\n");
    EXPECT_EQ(run.Status, 0) << run.Out;
    EXPECT_NE(run.Out.find("error: EPrinter: No print queue no-such-queue\n"), std::string::npos) << run.Out;
}

// --- Golden pages ------------------------------------------------------------------------------

namespace {

struct TGoldenPages {
    const char* name;
    // The PDF files the directives write (@DIR@/NAME.pdf), each page checked against
    // golden/GRID-FILE-PAGE.png, and how they are turned into pictures.
    std::vector<const char*> files;
    int pages;
    const char* pdftoppm;
};
void PrintTo(const TGoldenPages& c, std::ostream* os) { *os << c.name; }

class GridRunPrintGolden : public ::testing::TestWithParam<TGoldenPages> {};

}  // namespace

TEST_P(GridRunPrintGolden, PrintsAsItsPages)
{
    const TGoldenPages& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = "tests/grid/tool/golden";
    std::ifstream in(std::string(HM_SOURCE_DIR) + "/" + folder + "/" + c.name + ".grid", std::ios::binary);
    const std::string directives((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(directives.empty());
    const std::string path = dir.path().toStdString();
    const TRun run = GridRun(ReplaceAll(directives, "@DIR@", path), true);
    EXPECT_EQ(run.Status, 0) << run.Out;
    EXPECT_EQ(run.Out.find("error"), std::string::npos) << run.Out;
    for (const char* file : c.files) {
        const std::string pdf = path + "/" + file + ".pdf";
        ASSERT_EQ(PdfPages(pdf), c.pages) << file;
        for (int page = 1; page <= c.pages; ++page) {
            const std::string png = path + "/page";
            const std::string command = "pdftoppm " + std::string(c.pdftoppm) + " -png -singlefile -f " +
                std::to_string(page) + " -l " + std::to_string(page) + " '" + pdf + "' '" + png + "'";
            ASSERT_EQ(RunCommand(command).Status, 0) << command;
            const QImage picture(QString::fromStdString(png + ".png"));
            ASSERT_FALSE(picture.isNull()) << command;
            ExpectPicture(picture, folder, std::string(c.name) + "-" + file + "-" + std::to_string(page));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, GridRunPrintGolden,
                         ::testing::Values(TGoldenPages{"PrintSliced", {"out"}, 4, "-r 40"},
                                           TGoldenPages{"PrintCells", {"out"}, 1, "-r 80 -W 600 -H 300"},
                                           TGoldenPages{
                                               "PrintBorders",
                                               {"out0", "out1", "out2", "out3", "out4", "out5", "out6", "out7", "out8"},
                                               1,
                                               "-r 60 -W 300 -H 100"}),
                         [](const auto& row) { return std::string(row.param.name); });
