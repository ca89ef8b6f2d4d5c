#include "platform/gui/FrameBufferImage.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <QDir>
#include <QImage>

#include "tests/platform/gui/CanvasTestApp.h"

TEST(FrameBufferImage, IndexesMapThroughThePalette)
{
    TFrameBuffer fb(5, 3, 0);
    fb.SetPixel(1, 1, 12);
    fb.FillRect(TRectI{0, 2, 5, 3}, 15);
    fb.RotateRows(TRectI{0, 0, 5, 3}, 1);  // rows in a rotated order are shown in screen order
    const QImage img = FrameBufferToImage(fb);
    ASSERT_EQ(img.format(), QImage::Format_Indexed8);
    EXPECT_EQ(img.colorCount(), 16);
    EXPECT_EQ(img.pixelIndex(1, 0), 12);
    EXPECT_EQ(img.pixel(1, 0), qRgb(0xFF, 0, 0));        // red
    EXPECT_EQ(img.pixel(0, 1), qRgb(0xFF, 0xFF, 0xFF));  // white
    EXPECT_EQ(img.pixel(0, 2), qRgb(0, 0, 0));
    EXPECT_EQ(img.color(1), qRgb(0, 0, 0x80));  // navy
    EXPECT_EQ(img.color(4), qRgb(0x80, 0, 0));  // maroon
}

TEST(FrameBufferImage, PngHoldsThePaletteColours)
{
    EnsureGuiApp();
    TFrameBuffer fb(4, 2, 1);
    fb.SetPixel(3, 1, 14);
    const std::string path = (QDir::tempPath() + "/hm_fb_" + QString::number(::getpid()) + ".png").toStdString();
    ASSERT_TRUE(SaveFrameBufferPng(path, fb));
    QImage back(QString::fromStdString(path));
    std::remove(path.c_str());
    ASSERT_EQ(back.size(), QSize(4, 2));
    EXPECT_EQ(back.pixel(0, 0) & 0xFFFFFF, 0x000080u);
    EXPECT_EQ(back.pixel(3, 1) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_FALSE(SaveFrameBufferPng("/nonexistent-dir/x.png", fb));
}
