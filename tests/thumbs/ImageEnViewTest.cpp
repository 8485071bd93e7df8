#include "thumbs/ImageEnView.h"

#include "platform/AppError.h"
#include "thumbs/JpegIO.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cmath>

namespace {

QImage filled(int w, int h, const QColor& colour)
{
    QImage img(w, h, QImage::Format_BGR888);
    img.fill(colour);
    return img;
}

TEST(ImageEnView, StartsEmptyWithOneLayer)
{
    TImageEnView view;
    EXPECT_EQ(view.Bitmap().size(), QSize(0, 0));
    EXPECT_EQ(view.LayersCount(), 1);
    EXPECT_FALSE(view.HasAlphaChannel());
}

TEST(ImageEnView, SelectionIncludesBothCornersAndIsClipped)
{
    struct Case { int x1, y1, x2, y2; QRect expected; };
    const Case cases[] = {
        {10, 20, 30, 40, QRect(QPoint(10, 20), QPoint(30, 40))},
        {30, 40, 10, 20, QRect(QPoint(10, 20), QPoint(30, 40))},
        {-5, -5, 200, 200, QRect(0, 0, 100, 50)},
        {0, 0, 100, 50, QRect(0, 0, 100, 50)},  // right and bottom one past the picture
        {10, 10, 10, 40, QRect()},
        {10, 10, 40, 10, QRect()},
        {150, 10, 160, 40, QRect()},            // wholly outside
    };
    TImageEnView view;
    view.Assign(filled(100, 50, Qt::red));
    view.SetSelectionBase(iesbBitmap);
    for (const Case& c : cases) {
        view.Select(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(view.Selection(), c.expected) << c.x1 << "," << c.y1 << "," << c.x2 << "," << c.y2;
        EXPECT_EQ(view.Selected(), !c.expected.isNull());
    }
}

TEST(ImageEnView, CropCutsToTheSelectionAndDoesNothingWithoutOne)
{
    TImageEnView view;
    QImage picture = filled(100, 50, Qt::red);
    picture.setPixelColor(10, 20, Qt::blue);
    view.Assign(picture);
    view.CropSel();
    EXPECT_EQ(view.Bitmap().size(), QSize(100, 50));
    view.SetSelectionBase(iesbBitmap);
    view.Select(10, 20, 30, 40);
    view.CropSel();
    EXPECT_EQ(view.Bitmap().size(), QSize(21, 21));
    EXPECT_EQ(view.Bitmap().pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_FALSE(view.Selected());
}

TEST(ImageEnView, MergeUsesTheSmallerOfAlphaAndCap)
{
    TImageEnView view;
    view.Assign(filled(4, 1, QColor(10, 20, 30)));
    EXPECT_EQ(view.LayersAdd(), 1);
    EXPECT_EQ(view.LayersCurrent(), 1);
    EXPECT_EQ(view.Bitmap().size(), QSize(4, 1));
    view.Bitmap().fill(QColor(250, 250, 250));
    view.EnableAlphaChannel();
    const uchar alpha[4] = {0, 30, 200, 255};
    std::copy(alpha, alpha + 4, view.AlphaChannel().scanLine(0));
    view.SetLayerOpacity(1, 55);
    view.LayersMerge();
    ASSERT_EQ(view.LayersCount(), 1);
    const auto blend = [](int top, int bottom, int a) { return int(std::lround((a * top + (255 - a) * bottom) / 255.0)); };
    const int expectedAlpha[4] = {0, 30, 55, 55};
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(view.Bitmap().pixelColor(x, 0), QColor(blend(250, 10, expectedAlpha[x]), blend(250, 20, expectedAlpha[x]), blend(250, 30, expectedAlpha[x])))
            << "pixel " << x;
}

TEST(ImageEnView, TransparentColourRangeAndRemovingALayer)
{
    TImageEnView view;
    view.Assign(filled(3, 1, Qt::white));
    view.LayersAdd();
    view.Bitmap().fill(QColor(252, 0, 252));
    view.Bitmap().setPixelColor(1, 0, QColor(252, 0, 251));
    view.SetTransparentColors(QColor(252, 0, 252), QColor(252, 0, 252), 0);
    EXPECT_EQ(view.AlphaChannel().constScanLine(0)[0], 0);
    EXPECT_EQ(view.AlphaChannel().constScanLine(0)[1], 255);
    EXPECT_EQ(view.Composed().pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(view.Composed().pixelColor(1, 0), QColor(252, 0, 251));
    view.LayersRemove(1);
    EXPECT_EQ(view.LayersCount(), 1);
    EXPECT_EQ(view.LayersCurrent(), 0);
    EXPECT_EQ(view.Composed().pixelColor(1, 0), QColor(Qt::white));
}

TEST(ImageEnView, SoftShadowIsBlackBlurredShiftedAndCutAtTheEdges)
{
    TImageEnView view;
    view.Assign(filled(40, 30, Qt::white));
    view.LayersAdd();
    view.Bitmap().fill(Qt::red);
    view.EnableAlphaChannel();
    view.AlphaChannel().fill(0);
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 20; ++x)
            view.AlphaChannel().scanLine(y)[x] = 255;
    view.AddSoftShadow(3, 4, 4);
    EXPECT_EQ(view.Bitmap().size(), QSize(40, 30));
    EXPECT_EQ(view.AlphaChannel().constScanLine(15)[15], 255);            // the picture itself
    EXPECT_EQ(view.Bitmap().pixelColor(15, 15), QColor(Qt::red));
    EXPECT_GT(view.AlphaChannel().constScanLine(22)[22], 100);            // shadow below right
    EXPECT_EQ(view.Bitmap().pixelColor(22, 22), QColor(Qt::black));
    EXPECT_EQ(view.AlphaChannel().constScanLine(5)[5], 0);                // nothing above left
    EXPECT_EQ(view.AlphaChannel().constScanLine(2)[35], 0);
}

TEST(ImageEnView, DrawWithAlphaBlendsAndClips)
{
    TImageEnView picture;
    QImage argb(2, 2, QImage::Format_ARGB32);
    argb.fill(QColor(0, 0, 255, 0));
    argb.setPixelColor(1, 1, QColor(0, 0, 255, 255));
    picture.Assign(argb);
    ASSERT_TRUE(picture.HasAlphaChannel());
    QImage target = filled(3, 3, Qt::white);
    picture.DrawWithAlpha(target, 1, 1);
    EXPECT_EQ(target.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(target.pixelColor(2, 2), QColor(Qt::blue));
    EXPECT_NO_FATAL_FAILURE(picture.DrawWithAlpha(target, -1, 2));
    EXPECT_NO_FATAL_FAILURE(picture.DrawWithAlpha(target, 50, 50));
}

TEST(ImageEnView, RemovingAlphaWithMergeFlattensOntoTheBackground)
{
    TImageEnView view;
    view.SetBackground(Qt::black);
    QImage argb(1, 1, QImage::Format_ARGB32);
    argb.fill(QColor(200, 100, 50, 51));
    view.Assign(argb);
    view.RemoveAlphaChannel(true);
    EXPECT_FALSE(view.HasAlphaChannel());
    EXPECT_EQ(view.Bitmap().pixelColor(0, 0), QColor(40, 20, 10));
}

TEST(ImageEnView, AssignFromAViewCopiesLayersAndQuality)
{
    TImageEnView a, b;
    a.Assign(filled(8, 6, Qt::green));
    a.SetJpegQuality(33);
    a.LayersAdd();
    b.Assign(a);
    EXPECT_EQ(b.LayersCount(), 2);
    EXPECT_EQ(b.JpegQuality(), 33);
    b.Clear();
    EXPECT_EQ(b.LayersCount(), 1);
    EXPECT_EQ(b.Bitmap().size(), QSize(8, 6));
    EXPECT_EQ(b.Bitmap().pixelColor(3, 3), b.Background());
    EXPECT_EQ(a.LayersCount(), 2);
}

TEST(ImageEnView, IdealSizeShowsThePictureWithItsFrame)
{
    TImageEnView view;
    view.Assign(filled(250, 188, Qt::gray));
    EXPECT_EQ(view.IdealComponentWidth(), 254);
    EXPECT_EQ(view.IdealComponentHeight(), 192);
}

TEST(ImageEnView, SaveAndLoadJpegRoundTrip)
{
    QTemporaryDir dir;
    TImageEnView view;
    view.Assign(filled(250, 188, QColor(30, 140, 220)));
    view.SetJpegQuality(95);
    view.SaveToFileJpeg(dir.filePath("t.jpg"));
    TImageEnView back;
    back.LoadFromFile(dir.filePath("t.jpg"));
    EXPECT_EQ(back.Bitmap().size(), QSize(250, 188));
    EXPECT_FALSE(back.HasAlphaChannel());
    EXPECT_THROW(back.LoadFromFile(dir.filePath("none.jpg")), AppError);
    EXPECT_EQ(back.Bitmap().size(), QSize(250, 188)) << "a failed load keeps the picture";
}

TEST(ImageEnView, ResampleReplacesThePictureAndItsAlpha)
{
    TImageEnView view;
    QImage argb(100, 50, QImage::Format_ARGB32);
    argb.fill(QColor(10, 20, 30, 77));
    view.Assign(argb);
    view.Resample(30, 15, rfLanczos3);
    EXPECT_EQ(view.Bitmap().size(), QSize(30, 15));
    EXPECT_EQ(view.AlphaChannel().size(), QSize(30, 15));
    EXPECT_EQ(view.AlphaChannel().constScanLine(7)[7], 77);
}

TEST(ImageEnView, RepaintsOnceWhenResumed)
{
    class Counting : public TImageEnView {
    public:
        int paints = 0;
    protected:
        void paintEvent(QPaintEvent* e) override { ++paints; TImageEnView::paintEvent(e); }
    } view;
    view.resize(50, 50);
    view.show();
    QCoreApplication::processEvents();
    view.Assign(filled(10, 10, Qt::red));
    QCoreApplication::processEvents();
    const int before = view.paints;
    view.LockUpdate();
    view.LockUpdate();
    view.SetLayerOpacity(0, 100);
    view.Update();
    QCoreApplication::processEvents();
    view.UnlockUpdate();
    QCoreApplication::processEvents();
    EXPECT_EQ(view.paints, before);
    view.UnlockUpdate();
    QCoreApplication::processEvents();
    EXPECT_EQ(view.paints, before + 1);
}

}  // namespace
