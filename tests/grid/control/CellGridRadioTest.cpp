// Radio groups in cells on an offscreen form: a click on a painted radio or on its painted
// caption picks that choice. The radios and captions are found in the painted picture (a radio's
// dot shows where the checked one stands; the captions are the only red pixels), so painting
// and the click are checked against each other, not against the layout they share.

#include <QImage>
#include <QWidget>
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "grid/control/CellGrid.h"
#include "platform/core/Cp949.h"
#include "platform/core/StringList.h"
#include "platform/gui/Forms.h"
#include "platform/gui/SyntheticInput.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

struct TRadioGroupCase {
    const char* name;
    std::vector<const char*> choices;  // UTF-8
    bool sideBySide;
    int zoom;
};
void PrintTo(const TRadioGroupCase& c, std::ostream* os) { *os << c.name; }

// A run of painted pixels along the group: [from, to).
struct TRun {
    int from, to;
    int Middle() const { return (from + to) / 2; }
};

class CellGridRadio : public ::testing::TestWithParam<TRadioGroupCase> {
protected:
    void SetUp() override
    {
        TestApplication();
        form.SetBounds(0, 0, 520, 300);
        grid = new TCellGrid(&form);
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 500, 280);
        grid->EnableGraphics = true;
        grid->SetColWidths(1, 400);
        grid->SetRowHeights(1, 120);
        grid->Font()->SetColor(clRed);
        form.Show();
        Settle(1);
    }
    QImage Cell()
    {
        grid->Invalidate();
        Settle(1);
        const TRect r = grid->CellRect(1, 1);
        return grid->Handle()->grab().toImage().copy(r.Left, r.Top, r.Width(), r.Height());
    }
    // Where the painted pictures a and b differ, as a rectangle of the cell.
    static TRect Difference(const QImage& a, const QImage& b)
    {
        TRect d{a.width(), a.height(), -1, -1};
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y))
                    d = TRect{std::min(d.Left, x), std::min(d.Top, y), std::max(d.Right, x + 1),
                              std::max(d.Bottom, y + 1)};
        return d;
    }
    // The runs of red (caption) pixels along the group's axis.
    static std::vector<TRun> Captions(const QImage& cell, bool sideBySide)
    {
        const int length = sideBySide ? cell.width() : cell.height();
        const int across = sideBySide ? cell.height() : cell.width();
        std::vector<bool> red(static_cast<size_t>(length));
        for (int at = 0; at < length; ++at)
            for (int k = 0; k < across && !red[static_cast<size_t>(at)]; ++k) {
                const QColor c = sideBySide ? cell.pixelColor(at, k) : cell.pixelColor(k, at);
                red[static_cast<size_t>(at)] = c.red() - std::max(c.green(), c.blue()) > 80;
            }
        // Letters of one caption stand a few pixels apart at most and captions a radio apart;
        // one above the other, the lines of letters without ascenders stand apart.
        const int gap = sideBySide ? 5 : 2;
        std::vector<TRun> runs;
        for (int at = 0; at < length; ++at)
            if (red[static_cast<size_t>(at)]) {
                if (!runs.empty() && at - runs.back().to < gap)
                    runs.back().to = at + 1;
                else
                    runs.push_back({at, at + 1});
            }
        return runs;
    }
    // Presses the cell at a point of it; the choice OnRadioClick reports (-1 without one).
    int ClickAt(int x, int y)
    {
        int picked = -1;
        grid->OnRadioClick = [&](TObject*, int, int, int index) { picked = index; };
        const TRect r = grid->CellRect(1, 1);
        SendMouseInput(grid, maDown, mbLeft, r.Left + x, r.Top + y, {});
        SendMouseInput(grid, maUp, mbLeft, r.Left + x, r.Top + y, {});
        grid->OnRadioClick = nullptr;
        return picked;
    }

    TForm form{nullptr};
    TCellGrid* grid = nullptr;
};

}  // namespace

// The painter stepped a caption's width plus 22 and put a caption 12 pixels after its radio,
// while clicks stepped the width plus 12: with aaa, bbb, ccc a click on the painted "bbb" chose
// "ccc" and one on the painted "ccc" chose nothing.
TEST_P(CellGridRadio, RegressionAClickOnAPaintedChoicePickedAnother)
{
    const TRadioGroupCase& c = GetParam();
    auto choices = std::make_shared<TStringList>();
    for (const char* choice : c.choices)
        choices->Add(Utf8ToCp949(choice));
    if (c.zoom != 0)
        grid->Zoom(c.zoom);
    // Nothing checked: a data group whose text is no choice.
    grid->AddRadio(1, 1, c.sideBySide ? 1 : 0, -1, choices);
    const QImage unchecked = Cell();
    const std::vector<TRun> captions = Captions(unchecked, c.sideBySide);
    ASSERT_EQ(captions.size(), c.choices.size());
    for (int i = 0; i < static_cast<int>(c.choices.size()); ++i) {
        SCOPED_TRACE(c.choices[static_cast<size_t>(i)]);
        grid->SetRadioIdx(1, 1, i);
        const TRect dot = Difference(unchecked, Cell());
        ASSERT_LT(dot.Left, dot.Right) << "no radio checked";
        const int across = c.sideBySide ? (dot.Top + dot.Bottom) / 2 : (dot.Left + dot.Right) / 2;
        const TRun& caption = captions[static_cast<size_t>(i)];
        EXPECT_EQ(ClickAt((dot.Left + dot.Right) / 2, (dot.Top + dot.Bottom) / 2), i) << "on the radio";
        if (c.sideBySide)
            EXPECT_EQ(ClickAt(caption.Middle(), across), i) << "on the caption";
        else
            EXPECT_EQ(ClickAt(across + 20, caption.Middle()), i) << "on the caption";
        grid->SetRadioIdx(1, 1, -1);
    }
}

const TRadioGroupCase kRadioGroups[] = {
    {"SideBySide", {"aaa", "bbb", "ccc"}, true, 0},
    {"SideBySideOfUnequalWidths", {"i", "WWWWWW", "mm", "x"}, true, 0},
    {"SideBySideInHangul", {"사과", "복숭아", "배"}, true, 0},
    {"SideBySideZoomed", {"aaa", "bbb", "ccc"}, true, 4},
    {"OneAboveTheOther", {"aaa", "ccc", "eee", "ooo"}, false, 0},
    {"OneAboveTheOtherZoomed", {"aaa", "sss", "uuu"}, false, 3},
};
INSTANTIATE_TEST_SUITE_P(Grid, CellGridRadio, ::testing::ValuesIn(kRadioGroups),
                         [](const auto& row) { return std::string(row.param.name); });
