// Extras that show display objects (bitmaps, icons, pictures, file pictures), picture sizes in
// every stretch mode on a picture file, the arrow and button popup windows.

#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <fstream>

#include <gtest/gtest.h>

#include "grid/control/ArrowWindow.h"
#include "grid/control/CellGrid.h"
#include "grid/control/PopupButton.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WindowShape.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

// A folder holding red.png, a red picture of 40 x 20, for as long as the test program runs.
const AnsiString& PictureFolder()
{
    static QTemporaryDir dir;
    static const AnsiString path = [] {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.save(dir.filePath("red.png"));
        return AnsiString(dir.path().toStdString());
    }();
    return path;
}
AnsiString RedPng() { return PictureFolder() + "/red.png"; }

struct TDisplayExtraCase {
    const char* name;
    std::function<void(TCellGrid&)> add;
    // The kind seen in cell (1, 1), "none" without an extra.
    std::function<std::string(TCellGrid&)> read;
    TPoint size;
    std::function<void(TCellGrid&)> remove;
};
void PrintTo(const TDisplayExtraCase& c, std::ostream* os) { *os << c.name; }

std::string Seen(const void* object, const char* kind) { return object ? kind : "none"; }

}  // namespace

class DisplayExtra : public ::testing::TestWithParam<TDisplayExtraCase> {};

TEST_P(DisplayExtra, IsAddedReadSizedAndRemoved)
{
    TestApplication();
    TCellGrid g(nullptr);
    g.SetColWidths(1, 100);
    g.SetRowHeights(1, 50);
    GetParam().add(g);
    TPoint size{-1, -1};
    g.GetCellGraphicSize(1, 1, size);
    EXPECT_EQ(size, (TPoint{0, 0}));
    EXPECT_EQ(GetParam().read(g), "none");
    g.EnableGraphics = true;
    EXPECT_NE(GetParam().read(g), "none");
    g.GetCellGraphicSize(1, 1, size);
    EXPECT_EQ(size, GetParam().size);
    GetParam().remove(g);
    EXPECT_EQ(g.Objects(1, 1), nullptr);
}

const TDisplayExtraCase kDisplayExtras[] = {
    {"BitmapBeforeText",
     [](TCellGrid& g) {
         auto bitmap = std::make_shared<TBitmap>();
         bitmap->SetSize(10, 8);
         g.SetCells(1, 1, "text");
         g.AddBitmap(1, 1, bitmap, false, haBeforeText, vaTop);
     },
     [](TCellGrid& g) { return Seen(g.GetBitmap(1, 1), "bitmap"); },
     {10, 8},
     [](TCellGrid& g) { g.RemoveBitmap(1, 1); }},
    {"BitmapLeftOfTextTakesNoWidth",
     [](TCellGrid& g) {
         g.SetCells(1, 1, "text");
         g.CreateBitmap(1, 1, true, haLeft, vaTop)->SetSize(10, 8);
     },
     [](TCellGrid& g) { return Seen(g.GetBitmap(1, 1), "bitmap"); },
     {0, 8},
     [](TCellGrid& g) { g.RemoveBitmap(1, 1); }},
    {"Icon",
     [](TCellGrid& g) {
         QImage image(12, 14, QImage::Format_ARGB32);
         image.fill(Qt::blue);
         g.CreateIcon(1, 1, haLeft, vaTop)->SetImage(image);
     },
     [](TCellGrid& g) { return g.GetCellType(1, 1) == ctIcon ? "icon" : "none"; },
     {12, 14},
     [](TCellGrid& g) { g.RemoveIcon(1, 1); }},
    {"PictureFromAFile",
     [](TCellGrid& g) { g.CreatePicture(1, 1, false, noStretch, 0, haLeft, vaTop)->LoadFromFile(RedPng()); },
     [](TCellGrid& g) { return Seen(g.GetPicture(1, 1), "picture"); },
     {40, 20},
     [](TCellGrid& g) { g.RemovePicture(1, 1); }},
    {"FilePictureStretched",
     [](TCellGrid& g) { g.CreateFilePicture(1, 1, false, Stretch, 4, haLeft, vaTop)->SetFileName(RedPng()); },
     [](TCellGrid& g) { return Seen(g.GetFilePicture(1, 1), "file picture"); },
     {96, 46},
     [](TCellGrid& g) { g.RemoveFilePicture(1, 1); }},
};
INSTANTIATE_TEST_SUITE_P(Kinds, DisplayExtra, ::testing::ValuesIn(kDisplayExtras),
                         [](const auto& row) { return std::string(row.param.name); });

struct TStretchCase {
    const char* name;
    TStretchMode mode;
    const char* text;
    int cellWidth, cellHeight;
    TPoint size;  // of the 40 x 20 picture, margin 4
};
void PrintTo(const TStretchCase& c, std::ostream* os) { *os << c.name; }

class PictureSize : public ::testing::TestWithParam<TStretchCase> {};

TEST_P(PictureSize, FollowsTheStretchMode)
{
    TestApplication();
    const TStretchCase& c = GetParam();
    TCellGrid g(nullptr);
    g.EnableGraphics = true;
    g.SetColWidths(1, c.cellWidth);
    g.SetRowHeights(1, c.cellHeight);
    g.SetCells(1, 1, c.text);
    g.CreatePicture(1, 1, false, c.mode, 4, haLeft, vaTop)->LoadFromFile(RedPng());
    TPoint size;
    g.GetCellGraphicSize(1, 1, size);
    EXPECT_EQ(size, c.size);
}

// The room is the cell less the margin: 96 x 46, or 26 x 46 in the narrow cell.
const TStretchCase kStretches[] = {
    {"NoStretchOwnSize", noStretch, "", 100, 50, {40, 20}},
    {"NoStretchLeftOfTextTakesNoWidth", noStretch, "t", 100, 50, {0, 20}},
    {"StretchFillsTheRoom", Stretch, "t", 100, 50, {96, 46}},
    {"ShrinkKeepsAPictureThatFits", Shrink, "", 100, 50, {40, 20}},
    {"ShrinkFillsTheRoomWhenTooWide", Shrink, "", 30, 50, {26, 46}},
    {"AspectRatioFillsTheRoomsHeight", StretchWithAspectRatio, "", 100, 50, {92, 46}},
    {"ShrinkWithAspectRatioKeepsAPictureThatFits", ShrinkWithAspectRatio, "", 100, 50, {40, 20}},
    {"ShrinkWithAspectRatioFillsTheRoomsWidth", ShrinkWithAspectRatio, "", 30, 50, {26, 13}},
};
INSTANTIATE_TEST_SUITE_P(Pictures, PictureSize, ::testing::ValuesIn(kStretches),
                         [](const auto& row) { return std::string(row.param.name); });

struct TBadFileCase {
    const char* name;
    const char* file;
    const char* content;  // null: no such file
    bool openError;       // EFOpenError, else EInvalidGraphic
};
void PrintTo(const TBadFileCase& c, std::ostream* os) { *os << c.name; }

class FilePictureFile : public ::testing::TestWithParam<TBadFileCase> {};

TEST_P(FilePictureFile, IsRefusedWhenSet)
{
    TestApplication();
    const TBadFileCase& c = GetParam();
    const AnsiString path = PictureFolder() + "/" + c.file;
    if (c.content)
        std::ofstream(path, std::ios::binary) << c.content;
    TFilePicture picture;
    if (c.openError)
        EXPECT_THROW(picture.SetFileName(path), EFOpenError);
    else
        EXPECT_THROW(picture.SetFileName(path), EInvalidGraphic);
}

const TBadFileCase kBadFiles[] = {
    {"Missing", "missing.png", nullptr, true},
    {"TextNamedPng", "text.png", "no picture here", false},
    {"UnknownExtension", "red.xyz", "\x89PNG", false},
};
INSTANTIATE_TEST_SUITE_P(Pictures, FilePictureFile, ::testing::ValuesIn(kBadFiles),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CellGridExtras, RegressionFilePictureDrawsNothingOnceItsFileIsGone)
{
    TestApplication();
    const AnsiString path = PictureFolder() + "/going.png";
    QFile::copy(QString::fromStdString(RedPng()), QString::fromStdString(path));
    TFilePicture picture;
    picture.SetFileName(path);
    EXPECT_EQ(picture.PicWidth(), 40);
    TBitmap target;
    target.SetSize(8, 8);
    picture.DrawPicture(target.Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(target.PixelColor(1, 1), clRed);
    QFile::remove(QString::fromStdString(path));
    EXPECT_NO_THROW(picture.DrawPicture(target.Canvas(), Rect(4, 4, 8, 8)));
    EXPECT_EQ(target.PixelColor(5, 5), clWhite);
}

TEST(CellGridExtras, RegressionCallersBitmapOutlivesTheCallersCopy)
{
    TestApplication();
    TCellGrid g(nullptr);
    g.EnableGraphics = true;
    auto bitmap = std::make_shared<TBitmap>();
    bitmap->SetSize(10, 8);
    g.AddBitmap(1, 1, bitmap, false, haLeft, vaTop);
    g.AddBitmap(2, 1, bitmap, false, haLeft, vaTop);
    bitmap.reset();
    g.RemoveBitmap(1, 1);
    ASSERT_NE(g.GetBitmap(2, 1), nullptr);
    EXPECT_EQ(g.GetBitmap(2, 1)->Width(), 10);
    EXPECT_EQ(g.GetCellImageIdx(2, 1), reinterpret_cast<intptr_t>(g.GetBitmap(2, 1)));
}

struct TArrowCase {
    const char* name;
    TArrowDirection direction;
    std::vector<TPoint> inside, outside;
};
void PrintTo(const TArrowCase& c, std::ostream* os) { *os << c.name; }

class ArrowShape : public ::testing::TestWithParam<TArrowCase> {};

TEST_P(ArrowShape, ShowsOnlyItsOutline)
{
    TestApplication();
    TForm form(nullptr);
    auto* arrow = new TArrowWindow(&form, GetParam().direction);
    arrow->SetParent(&form);
    arrow->SetBounds(100, 100, 11, 11);
    form.Show();
    EXPECT_TRUE(arrow->IsPopupWindow());
    EXPECT_EQ(arrow->Color(), clLime);
    const TRegion shape = GetWindowRgn(arrow);
    for (const TPoint& p : GetParam().inside)
        EXPECT_TRUE(PtInRegion(shape, p.x, p.y)) << p.x << "," << p.y;
    for (const TPoint& p : GetParam().outside)
        EXPECT_FALSE(PtInRegion(shape, p.x, p.y)) << p.x << "," << p.y;
}

// A pixel belongs to the shape when its centre lies inside the outline: the shaft, and the
// head near its tip, are in; the corners beside the shaft and the head are out.
const TArrowCase kArrows[] = {
    {"UpPointsUp", arrUp, {{5, 7}, {5, 1}}, {{1, 7}, {9, 1}, {7, 9}}},
    {"DownPointsDown", arrDown, {{5, 1}, {5, 6}}, {{1, 1}, {8, 7}, {7, 2}}},
    {"LeftPointsRight", arrLeft, {{1, 5}, {6, 5}}, {{1, 1}, {7, 1}, {2, 8}}},
    {"RightPointsLeft", arrRight, {{6, 5}, {2, 5}}, {{7, 1}, {1, 1}, {8, 5}}},
};
INSTANTIATE_TEST_SUITE_P(Windows, ArrowShape, ::testing::ValuesIn(kArrows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CellGridExtras, PopupButtonIsAFramedWindowOnTopOfTheOthers)
{
    TestApplication();
    TForm form(nullptr);
    form.SetBounds(20, 30, 300, 200);
    auto* button = new TPopupButton(&form);
    button->SetParent(&form);
    button->SetBounds(200, 150, 60, 20);
    button->SetCaption("Column");
    form.Show();
    EXPECT_TRUE(button->Showing());
    EXPECT_EQ(button->Handle()->geometry().topLeft(), QPoint(200, 150));  // on the screen, not in the form
    EXPECT_EQ(button->ClientRect(), Rect(1, 1, 59, 19));
    EXPECT_TRUE(button->Handle()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(button->Color(), clBtnFace);
}
