#pragma once
// Golden pictures of the control library's drawing, kept as PNG files in data/. When drawing
// changes on purpose, regenerate them with
//     HM_UPDATE_GOLDEN=1 BUILD/bin/controls_lib_tests
// and look at the new pictures before committing them.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <string>

#include "platform/gui/Bitmap.h"
#include "tests/TempName.h"

namespace golden {

inline std::string Path(const std::string& name)
{
    return std::string(HM_SOURCE_DIR) + "/tests/controls/lib/data/" + name + ".png";
}

inline void Expect(TBitmap& bitmap, const std::string& name)
{
    const QImage drawn = bitmap.Image().convertToFormat(QImage::Format_RGB32);
    if (std::getenv("HM_UPDATE_GOLDEN")) {
        drawn.save(QString::fromStdString(Path(name)), "PNG");
        return;
    }
    QImage expected(QString::fromStdString(Path(name)));
    ASSERT_FALSE(expected.isNull()) << "no golden picture " << Path(name) << " (HM_UPDATE_GOLDEN=1 writes it)";
    expected = expected.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(expected.size(), drawn.size()) << name;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (expected.pixel(x, y) != drawn.pixel(x, y)) {
                const std::string actual = KeptTempFile(name + "-actual", "png");
                drawn.save(QString::fromStdString(actual), "PNG");
                FAIL() << name << " differs first at (" << x << ", " << y << "); drawn picture in " << actual;
            }
}

}  // namespace golden
