// Cell extras of the model: each kind added, read, sized and removed, hidden from readers while
// EnableGraphics is off; check-box toggling, radio indexes, angles, and the integer lists.

#include <memory>

#include "tests/grid/model/GridModelSupport.h"

namespace {

// A model with an image list of 16 x 16 images and a font 7 pixels a byte wide, 13 high.
class TMeasuredModel : public TCellModel {
public:
    bool HasGridImages() const override { return true; }
    TSize GridImageSize() const override { return {16, 16}; }
    TSize ExtraTextExtent(std::string_view Text) override { return {7 * static_cast<int>(Text.size()), 13}; }
};

std::shared_ptr<TStrings> Choices(std::initializer_list<const char*> texts)
{
    auto list = std::make_shared<TStringList>();
    for (const char* t : texts)
        list->Add(t);
    return list;
}

struct TExtraCase {
    const char* name;
    std::function<void(TCellModel&)> add;  // to cell (1, 1)
    TCellType kind;
    TPoint size;
    std::function<void(TCellModel&)> remove;
};
void PrintTo(const TExtraCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

class Extra : public ::testing::TestWithParam<TExtraCase> {};

TEST_P(Extra, IsAddedReadSizedAndRemoved)
{
    TMeasuredModel g;
    GetParam().add(g);
    TPoint size{-1, -1};
    g.GetCellGraphicSize(1, 1, size);
    EXPECT_EQ(g.GetCellType(1, 1), ctEmpty);
    EXPECT_EQ(size, (TPoint{0, 0}));
    g.EnableGraphics = true;
    EXPECT_EQ(g.GetCellType(1, 1), GetParam().kind);
    g.GetCellGraphicSize(1, 1, size);
    EXPECT_EQ(size, GetParam().size);
    GetParam().remove(g);
    EXPECT_EQ(g.Objects(1, 1), nullptr);
    EXPECT_TRUE(g.CheckConsistency());
}

using G = TCellModel;
const TExtraCase kExtras[] = {
    {"CheckBox",
     [](G& g) { g.AddCheckBox(1, 1, true, false); },
     ctCheckBox,
     {15, 15},
     [](G& g) { g.RemoveCheckBox(1, 1); }},
    {"RadioSideBySide",
     [](G& g) {
         g.AddRadio(1, 1, 1, 0, Choices({"ab", "cde"}));
     },
     ctRadio,
     {(14 + 12) + (21 + 12), 13},
     [](G& g) { g.RemoveRadio(1, 1); }},
    {"RadioOneAboveTheOther",
     [](G& g) {
         g.AddRadio(1, 1, 0, 0, Choices({"ab", "cde"}));
     },
     ctRadio,
     {21 + 12, 2 * 13},
     [](G& g) { g.RemoveRadio(1, 1); }},
    {"ImageIdxInAnEmptyCell",
     [](G& g) { g.AddImageIdx(1, 1, 2, haLeft, vaTop); },
     ctImageList,
     {16, 16},
     [](G& g) { g.RemoveImageIdx(1, 1); }},
    {"ImageIdxLeftOfTextTakesNoWidth",
     [](G& g) {
         g.SetCells(1, 1, "text");
         g.AddImageIdx(1, 1, 0, haLeft, vaTop);
     },
     ctImageList,
     {0, 16},
     [](G& g) { g.RemoveImageIdx(1, 1); }},
    {"DataImage",
     [](G& g) { g.AddDataImage(1, 1, 3, haLeft, vaTop); },
     ctDataImage,
     {0, 0},
     [](G& g) { g.RemoveDataImage(1, 1); }},
    {"ImagesSideBySide",
     [](G& g) {
         g.AddMultiImage(1, 1, 0, haLeft, vaTop);
         g.EnableGraphics = true;
         g.GetCellImages(1, 1)->Add(4);
         g.GetCellImages(1, 1)->Add(5);
         g.EnableGraphics = false;
     },
     ctImages,
     {32, 16},
     [](G& g) { g.RemoveMultiImage(1, 1); }},
    {"Progress",
     [](G& g) { g.AddProgress(1, 1, clRed, clWhite); },
     ctProgress,
     {0, 0},
     [](G& g) { g.RemoveProgress(1, 1); }},
    {"Comment", [](G& g) { g.AddComment(1, 1, "note"); }, ctComment, {0, 0}, [](G& g) { g.RemoveComment(1, 1); }},
    {"Button",
     [](G& g) { g.AddButton(1, 1, 40, 20, "Go", haRight, vaCenter); },
     ctButton,
     {40, 20},
     [](G& g) { g.RemoveButton(1, 1); }},
};
INSTANTIATE_TEST_SUITE_P(Kinds, Extra, ::testing::ValuesIn(kExtras),
                         [](const auto& row) { return std::string(row.param.name); });

struct TToggleCase {
    const char* name;
    bool data;
    // No handler, or the can-edit answer it gives.
    const char* canEdit;
    bool toggled;
    const char* text;  // the cell text after the toggle
    bool state;
};
void PrintTo(const TToggleCase& c, std::ostream* os) { *os << c.name; }

class Toggle : public ::testing::TestWithParam<TToggleCase> {};

TEST_P(Toggle, FollowsTheCanEditAnswer)
{
    const TToggleCase& c = GetParam();
    TCellModel g;
    g.EnableGraphics = true;
    g.SetCells(1, 1, c.data ? "y" : "x");  // a lower-case y is not CheckTrue
    g.AddCheckBox(1, 1, false, c.data);
    if (std::string(c.canEdit) != "none")
        g.OnCanEditCell = [&](TObject*, int, int, bool& canEdit) { canEdit = std::string(c.canEdit) == "yes"; };
    EXPECT_EQ(g.ToggleCheck(1, 1, true), c.toggled);
    bool state = !c.state;
    EXPECT_TRUE(g.GetCheckBoxState(1, 1, state));
    EXPECT_EQ(state, c.state);
    EXPECT_EQ(g.Cells(1, 1), c.text);
}

const TToggleCase kToggles[] = {
    {"PlainWithoutHandler", false, "none", true, "x", true},
    {"PlainRefused", false, "no", false, "x", false},
    {"DataAllowedWritesCheckTrue", true, "yes", true, "Y", true},
    {"DataRefused", true, "no", false, "y", false},
};
INSTANTIATE_TEST_SUITE_P(CheckBoxes, Toggle, ::testing::ValuesIn(kToggles),
                         [](const auto& row) { return std::string(row.param.name); });

struct TAngleCase {
    const char* name;
    int16_t given;
    int stored;
};
void PrintTo(const TAngleCase& c, std::ostream* os) { *os << c.name; }

class RotatedAngle : public ::testing::TestWithParam<TAngleCase> {};

TEST_P(RotatedAngle, IsBroughtIntoOneTurn)
{
    TCellModel g;
    g.EnableGraphics = true;
    g.AddRotated(1, 1, GetParam().given, "text");
    int angle = -1;
    EXPECT_TRUE(g.IsRotated(1, 1, angle));
    EXPECT_EQ(angle, GetParam().stored);
    EXPECT_EQ(g.Cells(1, 1), "text");
}

const TAngleCase kAngles[] = {
    {"QuarterBack", -90, 270}, {"TwoTurnsStayAtOneFullTurn", 720, 360}, {"PastOneTurn", 361, 1}};
INSTANTIATE_TEST_SUITE_P(Extras, RotatedAngle, ::testing::ValuesIn(kAngles),
                         [](const auto& row) { return std::string(row.param.name); });

struct TExtraScenario {
    const char* name;
    std::function<void(TCellModel&)> run;  // on a model with EnableGraphics on
};
void PrintTo(const TExtraScenario& c, std::ostream* os) { *os << c.name; }

class ExtraScenario : public ::testing::TestWithParam<TExtraScenario> {};

TEST_P(ExtraScenario, Holds)
{
    TCellModel g;
    g.EnableGraphics = true;
    GetParam().run(g);
    EXPECT_TRUE(g.CheckConsistency());
}

const TExtraScenario kExtraScenarios[] = {
    {"ToggleCheckSurvivesAHandlerThatRemovesTheBox",
     [](G& g) {
         g.AddCheckBox(1, 1, true, false);
         g.OnCanEditCell = [&g](TObject*, int, int, bool&) { g.RemoveCheckBox(1, 1); };
         EXPECT_FALSE(g.ToggleCheck(1, 1, true));
     }},
    {"RadioIndexIsSetOnRadioGroupsOnly",
     [](G& g) {
         g.AddCheckBox(1, 1, true, false);
         EXPECT_FALSE(g.SetRadioIdx(1, 1, 3));
         bool state = false;
         EXPECT_TRUE(g.GetCheckBoxState(1, 1, state) && state);
         g.AddRadio(2, 1, 0, 0, Choices({"a", "b"}));
         EXPECT_TRUE(g.SetRadioIdx(2, 1, 1));
         int index = -1;
         EXPECT_TRUE(g.GetRadioIdx(2, 1, index) && index == 1);
     }},
    {"CommentReadsBackAsGiven",
     [](G& g) {
         AnsiString text = "?";
         for (const char* comment : {"two\r\nlines", ""}) {
             g.AddComment(1, 1, comment);
             EXPECT_TRUE(g.IsComment(1, 1, text));
             EXPECT_EQ(text, comment);
         }
     }},
    {"RegressionReplacedCommentFreesItsLines",
     [](G& g) {
         g.AddComment(1, 1, "note");
         const std::weak_ptr<TObject> lines = g.GetCellGraphic(1, 1)->CellBitmap;
         g.AddCheckBox(1, 1, true, false);
         EXPECT_TRUE(lines.expired());
     }},
    {"RegressionRadioChoicesOutliveTheCallersCopy",
     [](G& g) {
         auto choices = Choices({"a", "b", "c"});
         g.AddRadio(1, 1, 0, 0, choices);
         choices.reset();
         const auto* held = dynamic_cast<const TStrings*>(g.GetCellGraphic(1, 1)->CellBitmap.get());
         EXPECT_TRUE(held && held->Strings(2) == "c");
     }},
    {"ExtrasOutsideTheCellsAreRefused",
     [](G& g) {
         EXPECT_THROW(g.AddCheckBox(1, 99, true, false), EInvalidGridOperation);
         EXPECT_THROW(g.AddComment(-1, 1, "x"), EInvalidGridOperation);
         TPoint size{1, 1};
         g.GetCellGraphicSize(1, 99, size);
         EXPECT_EQ(size, (TPoint{0, 0}));
     }},
};
INSTANTIATE_TEST_SUITE_P(Extras, ExtraScenario, ::testing::ValuesIn(kExtraScenarios),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(IntLists, ImageListTellsItsCellOfEveryChange)
{
    TIntList list(3, 7);
    std::vector<std::string> seen;
    list.OnChange = [&](TObject*, int col, int row) {
        seen.push_back(std::to_string(col) + "," + std::to_string(row) + ":" + std::to_string(list.Count()));
    };
    list.Add(5);
    list.SetInteger(0, -9);
    list.Delete(0);
    EXPECT_EQ(seen, (std::vector<std::string>{"3,7:1", "3,7:1", "3,7:0"}));
}

TEST(IntLists, SortIndexListKeepsTheDirectionInTheTopBit)
{
    TSortIndexList list;
    list.AddIndex(1, true);
    list.AddIndex(3, false);
    EXPECT_EQ(static_cast<uint32_t>(list.GetInteger(1)), 0x80000003u);
    EXPECT_EQ(list.FindIndex(3), 1);
    list.ToggleIndex(3);
    EXPECT_EQ(list.GetInteger(1), 3);
    EXPECT_EQ(list.FindIndex(4), -1);
    list.ToggleIndex(4);
    EXPECT_EQ(list.Count(), 2);
}
