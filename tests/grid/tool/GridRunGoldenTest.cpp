// What gridrun paints, offscreen, against golden pictures of ours: a grid like the script
// editor's trigger page, and an HTML sampler in both blink phases. The directives stand in
// golden/NAME.grid; the pictures its images name are made here.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <iterator>

#include "tests/grid/tool/GridRunSupport.h"
#include "tests/platform/gui/GuiTestSupport.h"

namespace {

struct TGoldenCase {
    const char* name;
    int width, height;
    // The pictures the directives write (@OUT@, @OUT2@), each checked against golden/NAME.png.
    std::vector<const char*> pictures;
};
void PrintTo(const TGoldenCase& c, std::ostream* os) { *os << c.name; }

// The pictures the sampler shows: a strip of two 16 x 16 images for the image list, and a
// picture file of 24 x 12.
void MakePictures(const QString& dir)
{
    QImage strip(32, 16, QImage::Format_RGB32);
    strip.fill(Qt::white);
    QPainter p(&strip);
    p.fillRect(2, 2, 12, 12, QColor(200, 0, 0));
    p.setBrush(QColor(0, 0, 200));
    p.setPen(Qt::NoPen);
    p.drawEllipse(18, 2, 12, 12);
    p.end();
    strip.save(dir + "/strip.bmp");
    QImage picture(24, 12, QImage::Format_RGB32);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 24; ++x)
            picture.setPixel(x, y, qRgb(x * 10, 120, y * 20));
    picture.save(dir + "/picture.bmp");
}

class GridRunGolden : public ::testing::TestWithParam<TGoldenCase> {};

}  // namespace

TEST_P(GridRunGolden, PaintsAsItsPicture)
{
    const TGoldenCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    MakePictures(dir.path());
    const std::string folder = "tests/grid/tool/golden";
    std::ifstream in(std::string(HM_SOURCE_DIR) + "/" + folder + "/" + c.name + ".grid", std::ios::binary);
    std::string directives((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(directives.empty());
    const std::string path = dir.path().toStdString();
    directives = ReplaceAll(directives, "@DIR@", path);
    directives = ReplaceAll(directives, "@OUT@", path + "/out1.png");
    directives = ReplaceAll(directives, "@OUT2@", path + "/out2.png");
    const TRun run =
        GridRun(directives, true, "--width " + std::to_string(c.width) + " --height " + std::to_string(c.height));
    EXPECT_EQ(run.Status, 0) << run.Out;
    for (size_t i = 0; i < c.pictures.size(); ++i) {
        const QImage shot(QString::fromStdString(path + "/out" + std::to_string(i + 1) + ".png"));
        ASSERT_FALSE(shot.isNull()) << c.pictures[i];
        ExpectPicture(shot, folder, c.pictures[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, GridRunGolden,
                         ::testing::Values(TGoldenCase{"TriggerPage", 720, 300, {"TriggerPage"}},
                                           TGoldenCase{"HtmlSampler", 600, 320, {"HtmlSampler", "HtmlSamplerBlink"}}),
                         [](const auto& row) { return std::string(row.param.name); });
