#include "thumbs/JpegConv.h"

#include "platform/AppError.h"
#include "thumbs/ImageEnView.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace {

QImage grey(int w, int h) { QImage img(w, h, QImage::Format_BGR888); img.fill(QColor(128, 128, 128)); return img; }

QImage letterbox(int bandRows)
{
    QImage img = grey(640, 480);
    QPainter p(&img);
    p.fillRect(0, 0, 640, bandRows, Qt::black);
    p.fillRect(0, 480 - bandRows, 640, bandRows, Qt::black);
    return img;
}

QImage black(int w, int h) { QImage img(w, h, QImage::Format_BGR888); img.fill(Qt::black); return img; }

TRect bordersOf(const QImage& picture)
{
    TImageEnView view;
    view.Assign(picture);
    return FindBlackBorders(view);
}

TEST(Brightness, FortyIsTheLastDarkValue)
{
    EXPECT_EQ(RgbToHsvValue(104, 104, 104), 40);
    EXPECT_EQ(RgbToHsvValue(105, 0, 0), 41);
    EXPECT_EQ(RgbToHsvValue(0, 0, 255), 99);
    EXPECT_EQ(RgbToHsvValue(0, 0, 0), 0);
}

TEST(LineIsDark, AllowsFiveLitPixelsButNotSix)
{
    std::vector<unsigned char> line(100, 40);
    for (int i = 0; i < 5; ++i) line[size_t(i * 17)] = 41;
    EXPECT_TRUE(LineIsDark(line.data(), 100));
    line[99] = 99;
    EXPECT_FALSE(LineIsDark(line.data(), 100));
    EXPECT_TRUE(LineIsDark(line.data(), 0));
}

TEST(FindBlackBorders, KeepsTheExpectedRectangle)
{
    struct Case { const char* name; QImage picture; TRect expected; };
    QImage oneColumn = grey(640, 480);
    QPainter(&oneColumn).fillRect(0, 0, 1, 480, Qt::black);
    QImage fiveLit = black(640, 480);   // 5 lit pixels per row and column still count as dark
    QImage sixLit = black(640, 480);
    for (int i = 0; i < 6; ++i) {
        QPainter(&sixLit).fillRect(QRect(100 + i, 100 + i, 1, 1), QColor(105, 0, 0));
        if (i < 5) QPainter(&fiveLit).fillRect(QRect(100 + i, 100 + i, 1, 1), QColor(105, 0, 0));
    }
    const Case cases[] = {
        {"no borders", grey(640, 480), {0, 0, 639, 479}},
        {"letterbox of 60 rows", letterbox(60), {0, 61, 639, 418}},
        {"all black", black(640, 480), {162, 162, 477, 317}},
        {"one dark column", oneColumn, {2, 0, 639, 479}},
        {"five lit pixels", fiveLit, {162, 162, 477, 317}},
        {"(104,104,104) is dark", [] { QImage i = grey(640, 480); i.fill(QColor(104, 104, 104)); return i; }(), {162, 162, 477, 317}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bordersOf(c.picture), c.expected) << c.name;
    // With six lit pixels on the diagonal, row 100 is the first lit row from the top.
    EXPECT_EQ(bordersOf(sixLit).Top, 162) << "a lit row beyond q is never reached";
}

TEST(FindBlackBorders, StaysInsideFramesOfAnyShape)
{
    for (const QSize size : {QSize(2000, 100), QSize(4000, 10), QSize(1, 1), QSize(3, 2), QSize(7, 1), QSize(1, 9)}) {
        const TRect r = bordersOf(black(size.width(), size.height()));
        EXPECT_TRUE(r.Left >= 0 && r.Left <= r.Right && r.Right < size.width()) << size.width() << "x" << size.height();
        EXPECT_TRUE(r.Top >= 0 && r.Top <= r.Bottom && r.Bottom < size.height()) << size.width() << "x" << size.height();
    }
}

TEST(FindBlackBorders, RaisesForAPictureWithoutPixels)
{
    TImageEnView view;
    EXPECT_THROW(FindBlackBorders(view), AppError);
    EXPECT_THROW(TrimAndCrop(view, 250, 200, true, false), AppError);
}

TEST(CropToAspect, CentresAndRoundsHalvesToEven)
{
    TRect r{0, 0, 5, 10};
    CropToAspect(2, 1, r);  // 5 / 2 = 2.5 -> 2
    EXPECT_EQ(r, (TRect{0, 4, 5, 6}));
    TRect wide{0, 0, 640, 480};
    CropToAspect(250, 200, wide);  // 480 x 1.25 = 600
    EXPECT_EQ(wide, (TRect{20, 0, 620, 480}));
}

TEST(Shaping, ThumbnailSizes)
{
    struct Case { const char* name; QImage frame; bool trim, crop; QSize cropped, thumb; };
    const Case cases[] = {
        {"crop off", grey(640, 480), false, false, {640, 480}, {250, 188}},
        {"crop on", grey(640, 480), false, true, {601, 480}, {250, 200}},
        {"crop and trim on", grey(640, 480), true, true, {600, 480}, {250, 200}},
        {"letterbox trimmed", letterbox(60), true, false, {640, 358}, {250, 140}},
        {"all black trimmed", black(640, 480), true, false, {316, 156}, {250, 123}},
    };
    for (const Case& c : cases) {
        TImageEnView view;
        view.Assign(c.frame);
        TrimAndCrop(view, 250, 200, c.trim, c.crop);
        EXPECT_EQ(view.Bitmap().size(), c.cropped) << c.name;
        ResampleToFit(view.Bitmap(), 250, 200, rfLanczos3);
        EXPECT_EQ(view.Bitmap().size(), c.thumb) << c.name;
    }
}

TEST(ResampleToFit, EnlargesSmallFramesAndSwallowsErrors)
{
    QImage small = grey(64, 48);
    ResampleToFit(small, 250, 200, rfBicubic);
    EXPECT_EQ(small.size(), QSize(250, 188));

    QImage empty;
    EXPECT_NO_THROW(ResampleToFit(empty, 250, 200, rfLanczos3));
    EXPECT_TRUE(empty.isNull());

    QImage sliver = grey(10000, 1);  // would round to no rows at all
    ResampleToFit(sliver, 250, 200, rfLanczos3);
    EXPECT_EQ(sliver.size(), QSize(250, 1));
}

TEST(FitSizeToAspect, ChangesTheSideThatIsTooLong)
{
    int w = 400, h = 400;
    FitSizeToAspect(4, 3, w, h);
    EXPECT_EQ(QSize(w, h), QSize(400, 300));
    w = 800, h = 300;
    FitSizeToAspect(4, 3, w, h);
    EXPECT_EQ(QSize(w, h), QSize(400, 300));
}

}  // namespace
