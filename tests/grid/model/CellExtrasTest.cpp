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
    std::function<void(TCellModel&)> add;
    // What the kind's reader gives for cell (1, 1), "none" when it sees no extra of the kind.
    std::function<std::string(TCellModel&)> read;
    std::string want;
    TPoint size;
    std::function<void(TCellModel&)> remove;
};
void PrintTo(const TExtraCase& c, std::ostream* os) { *os << c.name; }

// The value read, or "none" when nothing was found (read the value after the call).
std::string Bool(bool found, const std::string& value) { return found ? value : "none"; }

}  // namespace

class Extra : public ::testing::TestWithParam<TExtraCase> {};

TEST_P(Extra, IsAddedReadSizedAndRemoved)
{
    TMeasuredModel g;
    GetParam().add(g);
    TPoint size{-1, -1};
    g.GetCellGraphicSize(1, 1, size);
    EXPECT_EQ(GetParam().read(g), "none");
    EXPECT_EQ(size, (TPoint{0, 0}));
    g.EnableGraphics = true;
    EXPECT_EQ(GetParam().read(g), GetParam().want);
    g.GetCellGraphicSize(1, 1, size);
    EXPECT_EQ(size, GetParam().size);
    GetParam().remove(g);
    EXPECT_EQ(g.Objects(1, 1), nullptr);
    EXPECT_TRUE(g.CheckConsistency());
}

const TExtraCase kExtras[] = {
    {"CheckBox",
     [](TCellModel& g) { g.AddCheckBox(1, 1, true, false); },
     [](TCellModel& g) {
         bool state = false;
         const bool found = g.GetCheckBoxState(1, 1, state);

         return Bool(found, state ? "checked" : "clear");
     },
     "checked",
     {15, 15},
     [](TCellModel& g) { g.RemoveCheckBox(1, 1); }},
    {"DataCheckBoxReadsItsText",
     [](TCellModel& g) {
         g.SetCells(1, 1, "Y");
         g.AddCheckBox(1, 1, false, true);
     },
     [](TCellModel& g) {
         bool state = false;
         const bool found = g.GetCheckBoxState(1, 1, state);

         return Bool(found, state ? "checked" : "clear");
     },
     "checked",
     {15, 15},
     [](TCellModel& g) { g.RemoveCheckBox(1, 1); }},
    {"RadioSideBySide",
     [](TCellModel& g) {
         g.AddRadio(1, 1, 1, 1, Choices({"ab", "cde"}));
     },
     [](TCellModel& g) {
         int index = -1;
         const bool found = g.GetRadioIdx(1, 1, index);

         return Bool(found, std::to_string(index));
     },
     "1",
     {(14 + 12) + (21 + 12), 13},
     [](TCellModel& g) { g.RemoveRadio(1, 1); }},
    {"RadioOneAboveTheOther",
     [](TCellModel& g) {
         g.AddRadio(1, 1, 0, -1, Choices({"ab", "cde"}));
     },
     [](TCellModel& g) { return Bool(g.IsRadio(1, 1), "radio"); },
     "radio",
     {21 + 12, 2 * 13},
     [](TCellModel& g) { g.RemoveRadio(1, 1); }},
    {"ImageIdxBesideNoText",
     [](TCellModel& g) { g.AddImageIdx(1, 1, 2, haLeft, vaTop); },
     [](TCellModel& g) {
         int index = -1;
         const bool found = g.GetImageIdx(1, 1, index);

         return Bool(found, std::to_string(index));
     },
     "2",
     {16, 16},
     [](TCellModel& g) { g.RemoveImageIdx(1, 1); }},
    {"ImageIdxLeftOfTextTakesNoWidth",
     [](TCellModel& g) {
         g.SetCells(1, 1, "text");
         g.AddImageIdx(1, 1, 0, haLeft, vaTop);
     },
     [](TCellModel& g) { return Bool(g.GetCellType(1, 1) == ctImageList, "image"); },
     "image",
     {0, 16},
     [](TCellModel& g) { g.RemoveDataImage(1, 1); }},
    {"DataImage",
     [](TCellModel& g) { g.AddDataImage(1, 1, 3, haLeft, vaTop); },
     [](TCellModel& g) { return Bool(g.GetCellType(1, 1) == ctDataImage, "data image"); },
     "data image",
     {0, 0},
     [](TCellModel& g) { g.RemoveDataImage(1, 1); }},
    {"ImagesSideBySide",
     [](TCellModel& g) {
         g.AddMultiImage(1, 1, 0, haLeft, vaTop);
         g.EnableGraphics = true;
         g.GetCellImages(1, 1)->Add(4);
         g.GetCellImages(1, 1)->Add(5);
         g.EnableGraphics = false;
     },
     [](TCellModel& g) {
         const TIntList* list = g.GetCellImages(1, 1);
         return Bool(list, list ? std::to_string(list->GetInteger(1)) : "");
     },
     "5",
     {32, 16},
     [](TCellModel& g) { g.RemoveMultiImage(1, 1); }},
    {"Progress",
     [](TCellModel& g) { g.AddProgress(1, 1, clRed, clWhite); },
     [](TCellModel& g) { return Bool(g.GetCellType(1, 1) == ctProgress, "progress"); },
     "progress",
     {0, 0},
     [](TCellModel& g) { g.RemoveProgress(1, 1); }},
    {"CommentReadsBackWithoutTheListsLineBreak",
     [](TCellModel& g) { g.AddComment(1, 1, "two\r\nlines"); },
     [](TCellModel& g) {
         AnsiString text;
         const bool found = g.IsComment(1, 1, text);

         return Bool(found, text);
     },
     "two\r\nlines",
     {0, 0},
     [](TCellModel& g) { g.RemoveComment(1, 1); }},
    {"RegressionEmptyCommentReadsEmpty",
     [](TCellModel& g) { g.AddComment(1, 1, ""); },
     [](TCellModel& g) {
         AnsiString text = "?";
         const bool found = g.IsComment(1, 1, text);

         return Bool(found, "[" + text + "]");
     },
     "[]",
     {0, 0},
     [](TCellModel& g) { g.RemoveComment(1, 1); }},
    {"Button",
     [](TCellModel& g) { g.AddButton(1, 1, 40, 20, "Go", haRight, vaCenter); },
     [](TCellModel& g) {
         TRect r{-1, -1, -1, -1};
         g.ButtonRect(1, 1, r);
         const bool found = g.HasButton(1, 1);

         return Bool(found, std::to_string(r.Right) + "x" + std::to_string(r.Bottom));
     },
     "40x20",
     {40, 20},
     [](TCellModel& g) { g.RemoveButton(1, 1); }},
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
    {"DataWithoutHandlerWritesCheckTrue", true, "none", true, "Y", true},
    {"DataAllowed", true, "yes", true, "Y", true},
    {"DataRefused", true, "no", false, "y", false},
};
INSTANTIATE_TEST_SUITE_P(CheckBoxes, Toggle, ::testing::ValuesIn(kToggles),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CellExtras, ToggleCheckSurvivesAHandlerThatRemovesTheBox)
{
    TCellModel g;
    g.EnableGraphics = true;
    g.AddCheckBox(1, 1, true, false);
    g.OnCanEditCell = [&](TObject*, int, int, bool&) { g.RemoveCheckBox(1, 1); };
    EXPECT_FALSE(g.ToggleCheck(1, 1, true));
    EXPECT_TRUE(g.CheckConsistency());
}

TEST(CellExtras, DataCheckBoxTogglesBetweenTheTwoTexts)
{
    TCellModel g;
    g.EnableGraphics = true;
    g.SetCells(1, 1, "Y");
    g.AddCheckBox(1, 1, false, true);
    g.ToggleCheckBox(1, 1);
    EXPECT_EQ(g.Cells(1, 1), "N");
    g.ToggleCheckBox(1, 1);
    EXPECT_EQ(g.Cells(1, 1), "Y");
}

TEST(CellExtras, RadioIndexIsSetOnRadioGroupsOnly)
{
    TCellModel g;
    g.EnableGraphics = true;
    g.AddCheckBox(1, 1, true, false);
    EXPECT_FALSE(g.SetRadioIdx(1, 1, 3));
    bool state = false;
    EXPECT_TRUE(g.GetCheckBoxState(1, 1, state) && state);
    g.AddRadio(2, 1, 0, 0, Choices({"a", "b"}));
    EXPECT_TRUE(g.SetRadioIdx(2, 1, 1));
    int index = -1;
    EXPECT_TRUE(g.GetRadioIdx(2, 1, index));
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(g.HasStaticEdit(2, 1));
}

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
    {"QuarterBack", -90, 270}, {"TwoTurnsStayAtOneFullTurn", 720, 360},
    {"FullTurn", 360, 360},    {"MoreThanATurnBack", -450, 270},
    {"PastOneTurn", 361, 1},
};
INSTANTIATE_TEST_SUITE_P(Extras, RotatedAngle, ::testing::ValuesIn(kAngles),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CellExtras, RotatedTextNeedsGraphicsAndLeavesForeignObjects)
{
    TCellModel g;
    g.AddRotated(1, 1, 90, "text");
    EXPECT_EQ(g.Cells(1, 1), "");
    g.EnableGraphics = true;
    TStringList foreign;
    g.SetObjects(1, 1, &foreign);
    g.AddRotated(1, 1, 90, "text");
    EXPECT_EQ(g.Objects(1, 1), &foreign);
    g.SetObjects(1, 1, nullptr);
}

TEST(CellExtras, ImageListKindsNeedAnImageList)
{
    TCellModel g;
    g.EnableGraphics = true;
    g.AddImageIdx(1, 1, 0, haLeft, vaTop);
    EXPECT_EQ(g.GetCellType(1, 1), ctEmpty);
    g.AddCheckBox(1, 1, true, false);
    g.RemoveImageIdx(1, 1);  // whatever the extra is
    EXPECT_EQ(g.GetCellType(1, 1), ctEmpty);
}

TEST(CellExtras, RegressionReplacedCommentFreesItsLines)
{
    TCellModel g;
    g.EnableGraphics = true;
    g.AddComment(1, 1, "note");
    const std::weak_ptr<TObject> lines = g.GetCellGraphic(1, 1)->CellBitmap;
    g.AddCheckBox(1, 1, true, false);
    EXPECT_TRUE(lines.expired());
}

TEST(CellExtras, RegressionRadioChoicesOutliveTheCallersCopy)
{
    TCellModel g;
    g.EnableGraphics = true;
    auto choices = Choices({"a", "b", "c"});
    g.AddRadio(1, 1, 0, 0, choices);
    choices.reset();
    const auto* held = dynamic_cast<const TStrings*>(g.GetCellGraphic(1, 1)->CellBitmap.get());
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->Strings(2), "c");
}

TEST(CellExtras, ExtrasOutsideTheCellsAreRefused)
{
    TCellModel g;
    EXPECT_THROW(g.AddCheckBox(1, 99, true, false), EInvalidGridOperation);
    EXPECT_THROW(g.AddComment(-1, 1, "x"), EInvalidGridOperation);
    TPoint size{1, 1};
    g.GetCellGraphicSize(1, 99, size);
    EXPECT_EQ(size, (TPoint{0, 0}));
}

TEST(IntLists, ImageListTellsItsCellOfEveryChange)
{
    TIntList list(3, 7);
    std::vector<std::string> seen;
    list.OnChange = [&](TObject* sender, int col, int row) {
        EXPECT_EQ(sender, &list);
        seen.push_back(std::to_string(col) + "," + std::to_string(row) + ":" + std::to_string(list.Count()));
    };
    list.Add(5);
    list.Add(-2);
    list.SetInteger(0, 9);
    list.Delete(1);
    EXPECT_EQ(seen, (std::vector<std::string>{"3,7:1", "3,7:2", "3,7:2", "3,7:1"}));
    EXPECT_EQ(list.GetInteger(0), 9);
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
