// Rich-text cells whose text is not rich text, or is broken, as painted and measured: they show
// their bytes as plain text in the cell's font, exactly as rich text of those words would.

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <string>

#include <gtest/gtest.h>

#include "grid/control/CellGrid.h"
#include "platform/gui/Forms.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

struct TPlainRichCase {
    const char* name;
    const char* text;  // a cell text starting "{\" that is not read as rich text
};

// Rich text of the given bytes' words in the size of the grid's font, naming no font of its own.
std::string RichOfWords(const std::string& words, int points)
{
    std::string rtf = "{\\rtf1\\fs" + std::to_string(points * 2) + " ";
    for (const char c : words)
        rtf += c == '{' || c == '}' || c == '\\' ? std::string{'\\', c} : std::string(1, c);
    return rtf + "}";
}

class RichCellAsPlainText : public ::testing::TestWithParam<TPlainRichCase> {};

}  // namespace

// Runs without a size of their own were laid out at the size read back from the base font after
// its pixel size was set (-1 points): plain words in a rich cell painted a pixel high, and the
// cell asked for a pixel-high line.
TEST_P(RichCellAsPlainText, RegressionPaintsAndMeasuresInTheCellsFont)
{
    TestApplication();
    TForm form(nullptr);
    form.SetBounds(0, 0, 420, 200);
    auto* grid = new TCellGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 400, 180);
    grid->SetColWidths(1, 240);
    grid->SetRowHeights(1, 60);
    grid->Font()->SetSize(10);
    form.Show();
    const TRect cell = grid->CellRect(1, 1);
    const auto paint = [&](const std::string& text, int& requested) {
        grid->SetCells(1, 1, text);
        const QImage shot = grid->Handle()->grab().toImage();
        requested = grid->RequestedRect().Bottom;
        return shot.copy(cell.Left, cell.Top, cell.Width(), cell.Height());
    };
    int requested = 0, expected = 0;
    const QImage painted = paint(GetParam().text, requested);
    const QImage reference = paint(RichOfWords(GetParam().text, grid->Font()->Size()), expected);
    grid->Canvas()->Font()->Assign(grid->Font());
    EXPECT_GE(expected, grid->Canvas()->TextHeight("gh"));
    EXPECT_EQ(requested, expected);
    EXPECT_TRUE(painted == reference);
}

INSTANTIATE_TEST_SUITE_P(Texts, RichCellAsPlainText,
                         ::testing::Values(TPlainRichCase{"NotRichText", "{\\x plain words"},
                                           TPlainRichCase{"NeverCloses", "{\\rtf1 {\\b broken"}),
                         [](const auto& param) { return std::string(param.param.name); });
