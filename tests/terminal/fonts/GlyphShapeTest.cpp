// What a reader takes in of a glyph at a glance, and the faults a drawn syllable has that its
// source lacks.
#include <gtest/gtest.h>

#include <string>

#include "tests/terminal/fonts/DrawnGlyph.h"
#include "tools/fontgen/GlyphShape.h"

namespace {

struct TShapeRow {
    const char* Name;
    TGlyph16 Glyph;
    int Loops, Specks, Pieces;
};

class Shapes : public ::testing::TestWithParam<TShapeRow> {};

TEST_P(Shapes, CountsLoopsSpecksAndPieces)
{
    const TGlyphShape shape = ShapeOf(GetParam().Glyph);
    EXPECT_EQ(std::tuple(shape.Loops, shape.Specks, shape.Pieces),
              std::tuple(GetParam().Loops, GetParam().Specks, GetParam().Pieces));
}

const TShapeRow kShapes[] = {
    {"Blank", TGlyph16{}, 0, 0, 0},
    {"RingWithDiagonalCorners", Drawn({".###.", "#...#", "#...#", ".###."}, 2, 2), 1, 0, 1},
    {"RingOpenAtTheTop", Drawn({"#.#", "#.#", "###"}, 2, 2), 0, 0, 1},
    {"TwoBoxes", Drawn({"#######", "#..#..#", "#######"}), 2, 0, 1},
    {"RingTouchingTheCellEdge", Drawn({"################", "#..............#", "################"}), 1, 0, 1},
    {"DiagonalStepsCloseAPinhole", Drawn({".#.", "#.#", ".#."}, 3, 3), 1, 0, 1},
    {"UpToThreePixelsAreASpeck", Drawn({"#.......", "........", "...###..", "........", "####...."}), 0, 2, 3},
};
INSTANTIATE_TEST_SUITE_P(Glyphs, Shapes, ::testing::ValuesIn(kShapes),
                         [](const auto& row) { return std::string(row.param.Name); });

struct TFaultRow {
    const char* Name;
    TGlyph16 Source, Drawn;
    int Faults;
};

class Faults : public ::testing::TestWithParam<TFaultRow> {};

TEST_P(Faults, AreThoseTheSourceLacks)
{
    EXPECT_EQ(ShapeFaults(ShapeOf(GetParam().Drawn), ShapeOf(GetParam().Source)), GetParam().Faults);
}

const TGlyph16 kBars = Drawn({"#########", "", "", "#########"}, 4, 2);
// ㅝ's turn makes a block of its own.
const TGlyph16 kTurn = Drawn({"##########.#", ".....#..####", ".....#.....#"}, 6, 1);

const TFaultRow kFaults[] = {
    {"SameGlyph", kBars, kBars, 0},
    {"ABarDrawnThick", kBars, Drawn({"#########", "#########", "", "#########"}, 4, 2), sfBlock},
    {"ItsOwnTurnAPixelOffIsNoSmear", kTurn, Drawn({"##########.#", ".....#..####", ".....#.....#"}, 5, 1), 0},
    {"ATurnWhereTheSourceHasNone", kBars, Drawn({"#########", "........#", "........#", "#########"}, 4, 2),
     sfTouching},
    {"BarsJoinedAndThickened", kBars, Drawn({"#########", "########", "#", "#########"}, 4, 2), sfBlock | sfTouching},
    {"ARingOpened", Drawn({".###.", "#...#", ".###."}, 2, 2), Drawn({".###.", "#...#", ".#.#."}, 2, 2), sfLoops},
    {"AStraySpeck", kBars, Drawn({"#########", "", "", "#########", "", "", "#"}, 4, 2), sfSpecks},
};
INSTANTIATE_TEST_SUITE_P(Syllables, Faults, ::testing::ValuesIn(kFaults),
                         [](const auto& row) { return std::string(row.param.Name); });

}  // namespace
