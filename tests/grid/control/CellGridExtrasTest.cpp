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

// An extra added to cell (1, 1) of a cell 50 pixels high: its kind, and the room it takes.
struct TDisplayExtraCase {
    const char* name;
    int cellWidth;
    std::function<void(TCellGrid&)> add;
    TCellType kind;
    TPoint size;
};
void PrintTo(const TDisplayExtraCase& c, std::ostream* os) { *os << c.name; }

// The red picture in a cell without text, margin 4.
std::function<void(TCellGrid&)> Picture(TStretchMode mode, const char* text = "")
{
    return [mode, text](TCellGrid& g) {
        g.SetCells(1, 1, text);
        g.CreatePicture(1, 1, false, mode, 4, haLeft, vaTop)->LoadFromFile(RedPng());
    };
}

}  // namespace

class DisplayExtra : public ::testing::TestWithParam<TDisplayExtraCase> {};

TEST_P(DisplayExtra, IsAddedReadSizedAndRemoved)
{
    TestApplication();
    TCellGrid g(nullptr);
    g.SetColWidths(1, GetParam().cellWidth);
    g.SetRowHeights(1, 50);
    GetParam().add(g);
    TPoint size{-1, -1};
    g.GetCellGraphicSize(1, 1, size);
    EXPECT_EQ(size, (TPoint{0, 0}));
    EXPECT_EQ(g.GetBitmap(1, 1) || g.GetPicture(1, 1) || g.GetFilePicture(1, 1), false);
    g.EnableGraphics = true;
    EXPECT_EQ(g.GetCellType(1, 1), GetParam().kind);
    EXPECT_EQ(g.GetBitmap(1, 1) || g.GetPicture(1, 1) || g.GetFilePicture(1, 1), true);
    g.GetCellGraphicSize(1, 1, size);
    EXPECT_EQ(size, GetParam().size);
    g.RemoveBitmap(1, 1);
    g.RemovePicture(1, 1);
    g.RemoveFilePicture(1, 1);
    EXPECT_EQ(g.Objects(1, 1), nullptr);
}

// The picture is 40 x 20; the room is the cell less the margin: 96 x 46, or 26 x 46 in the
// narrow cell.
const TDisplayExtraCase kDisplayExtras[] = {
    {"RegressionBitmapOutlivesTheCallersCopy",
     100,
     [](TCellGrid& g) {
         auto bitmap = std::make_shared<TBitmap>();
         bitmap->SetSize(10, 8);
         g.SetCells(1, 1, "text");
         g.AddBitmap(1, 1, bitmap, false, haBeforeText, vaTop);
     },
     ctBitmap,
     {10, 8}},
    {"FilePictureStretched",
     100,
     [](TCellGrid& g) { g.CreateFilePicture(1, 1, false, Stretch, 4, haLeft, vaTop)->SetFileName(RedPng()); },
     ctFilePicture,
     {96, 46}},
    {"NoStretchLeftOfTextTakesNoWidth", 100, Picture(noStretch, "t"), ctPicture, {0, 20}},
    {"StretchFillsTheRoom", 100, Picture(Stretch, "t"), ctPicture, {96, 46}},
    {"ShrinkFillsTheRoomWhenTooWide", 30, Picture(Shrink), ctPicture, {26, 46}},
    {"AspectRatioFillsTheRoomsHeight", 100, Picture(StretchWithAspectRatio), ctPicture, {92, 46}},
    {"ShrinkWithAspectRatioFillsTheRoomsWidth", 30, Picture(ShrinkWithAspectRatio), ctPicture, {26, 13}},
};
INSTANTIATE_TEST_SUITE_P(Kinds, DisplayExtra, ::testing::ValuesIn(kDisplayExtras),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CellGridExtras, FilePictureRefusesAFileThatIsNoPicture)
{
    TestApplication();
    std::ofstream(PictureFolder() + "/text.png") << "no picture here";
    std::ofstream(PictureFolder() + "/red.xyz") << "\x89PNG";
    TFilePicture picture;
    EXPECT_THROW(picture.SetFileName(PictureFolder() + "/missing.png"), EFOpenError);
    EXPECT_THROW(picture.SetFileName(PictureFolder() + "/text.png"), EInvalidGraphic);
    EXPECT_THROW(picture.SetFileName(PictureFolder() + "/red.xyz"), EInvalidGraphic);
}

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
    form.Show();
    EXPECT_EQ(button->Handle()->geometry().topLeft(), QPoint(200, 150));  // on the screen, not in the form
    EXPECT_EQ(button->ClientRect(), Rect(1, 1, 59, 19));
    EXPECT_TRUE(button->Handle()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}
