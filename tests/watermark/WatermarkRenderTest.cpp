// The watermark drawn into an image view: placement, opacity, shadow, key colour, text lines and
// pictures, checked on the merged pixels.
#include "thumbs/ImageEnView.h"
#include "watermark/Watermark.h"

#include <QFontInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QColor kGrey(100, 100, 100);

// A view holding a plain grey picture.
struct Canvas {
    explicit Canvas(QSize size = QSize(250, 188))
    {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(kGrey);
        view.Assign(picture);
    }
    QColor at(int x, int y) const { return view.Bitmap().pixelColor(x, y); }
    // The smallest rectangle holding every pixel that is no longer the background.
    QRect changed() const
    {
        QRect box;
        for (int y = 0; y < view.Bitmap().height(); ++y)
            for (int x = 0; x < view.Bitmap().width(); ++x)
                if (at(x, y) != kGrey)
                    box |= QRect(x, y, 1, 1);
        return box;
    }
    TImageEnView view;
};

// A picture file of `size` filled with `colour` (its alpha included), saved as PNG in `dir`.
QString pictureFile(const QTemporaryDir& dir, QSize size, QColor colour, bool withAlpha)
{
    QImage picture(size, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    picture.fill(colour);
    const QString path = dir.filePath(QStringLiteral("mark%1.png").arg(withAlpha));
    EXPECT_TRUE(picture.save(path));
    return path;
}

// An opaque blue picture watermark of 100 x 30, anchored bottom right and reset 5 pixels inside.
struct PictureMark : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(mark.LoadImage(pictureFile(dir, QSize(100, 30), Qt::blue, false)));
        mark.WatermarkType = TWatermark::TypeImage;
        mark.ResetOffsets();
        mark.View = &canvas.view;
    }
    QTemporaryDir dir;
    Canvas canvas;
    TWatermark mark;
};

// A measured, opaque text watermark.
void setText(TWatermark& mark, const QStringList& lines, int points, QColor colour = Qt::black)
{
    mark.Lines = lines;
    mark.Font.setPointSize(points);
    mark.FontColor = colour;
    mark.Transparency = 0;
    mark.MeasureText();
}

}  // namespace

TEST_F(PictureMark, BottomRightBlockEndsFivePixelsInsideTheEdges)
{
    mark.Transparency = 0;
    mark.Render(true);
    EXPECT_EQ(canvas.changed(), QRect(145, 153, 100, 30));
    EXPECT_EQ(canvas.at(145, 153), QColor(Qt::blue));
    EXPECT_EQ(canvas.view.LayersCount(), 1);
    EXPECT_FALSE(canvas.view.HasAlphaChannel());
}

TEST(WatermarkPlacement, TextBlockOfOneHundredByThirtyAfterReset)
{
    TWatermark mark;
    mark.TextWidth = 100;
    mark.TextHeight = 30;
    mark.ResetOffsets();
    EXPECT_EQ(mark.OffsetX, -55);
    EXPECT_EQ(mark.OffsetY, -20);
    EXPECT_EQ(WatermarkPosition(250, mark.OffsetTypeX, 100, mark.OffsetX), 145);
    EXPECT_EQ(WatermarkPosition(188, mark.OffsetTypeY, 30, mark.OffsetY), 153);
}

TEST(WatermarkPlacement, NineAnchorsAfterResetStandFivePixelsInsideOrCentred)
{
    struct Case {
        uint8_t anchor;
        int expected;  // top-left of a 40-wide block in a 250-wide picture
    };
    for (const Case c : {Case{0, 205}, Case{1, 105}, Case{2, 5}, Case{7, 105}}) {
        SCOPED_TRACE(c.anchor);
        EXPECT_EQ(WatermarkPosition(250, c.anchor, 40, AnchorOffset(c.anchor, 40)), c.expected);
    }
    TWatermark none;
    none.WatermarkType = TWatermark::TypeNone;
    none.TextWidth = 40;
    none.OffsetX = 17;
    none.ResetOffsets();
    EXPECT_EQ(none.OffsetX, 17);  // no watermark: offsets stay
    EXPECT_EQ(WatermarkPosition(250, 0, 40, INT32_MAX), 1 << 24);  // far outside, no overflow
}

TEST_F(PictureMark, TransparencyCapsTheMergedOpacity)
{
    struct Case {
        int transparency;
        QColor expected;  // blue over grey (100, 100, 100)
    };
    for (const Case c : {Case{0, QColor(0, 0, 255)}, Case{255, kGrey}, Case{200, QColor(78, 78, 133)},
                         Case{-40, QColor(0, 0, 255)}, Case{400, kGrey}}) {
        SCOPED_TRACE(c.transparency);
        Canvas fresh;
        mark.View = &fresh.view;
        mark.Transparency = c.transparency;
        mark.Render(true);
        EXPECT_EQ(fresh.at(150, 160), c.expected);
        EXPECT_EQ(fresh.at(140, 160), kGrey);
    }
}

TEST_F(PictureMark, RadiusZeroMeansNoShadowWhateverTheOffsets)
{
    mark.Transparency = 0;
    for (const QPoint offset : {QPoint(0, 0), QPoint(3, 3), QPoint(-10, 20), QPoint(40, -40)}) {
        SCOPED_TRACE(offset.x());
        Canvas fresh;
        mark.View = &fresh.view;
        mark.ShadowRadius = 0;
        mark.ShadowOffsetX = offset.x();
        mark.ShadowOffsetY = offset.y();
        mark.Render(true);
        EXPECT_EQ(fresh.changed(), QRect(145, 153, 100, 30));
    }
}

TEST_F(PictureMark, ShadowDarkensBesideTheBlockAndIsCutAtTheEdges)
{
    mark.Transparency = 0;
    mark.ShadowRadius = 3;
    mark.ShadowOffsetX = -6;
    mark.ShadowOffsetY = -6;
    mark.Render(true);
    EXPECT_LT(canvas.at(142, 160).red(), kGrey.red());  // left of the block: shadow
    EXPECT_EQ(canvas.at(150, 160), QColor(Qt::blue));   // the block stays on top
    EXPECT_EQ(canvas.at(20, 20), kGrey);
}

TEST(WatermarkText, KeyColouredTextVanishesAndANeighbouringColourShows)
{
    struct Case {
        QColor colour;
        bool visible;
    };
    for (const Case c : {Case{QColor(252, 0, 252), false}, Case{QColor(251, 0, 252), true}}) {
        SCOPED_TRACE(c.colour.name().toStdString());
        Canvas canvas;
        TWatermark mark;
    setText(mark, {QStringLiteral("Skorrel")}, 24, c.colour);
        mark.View = &canvas.view;
        mark.ShadowRadius = 0;
        mark.Render(true);
        EXPECT_EQ(canvas.changed().isEmpty(), !c.visible);
    }
}

TEST(WatermarkText, SmoothedEdgesCarryNoKeyColour)
{
    Canvas canvas;
    TWatermark mark;
    setText(mark, {QStringLiteral("Wave")}, 24, Qt::black);
    mark.View = &canvas.view;
    mark.Render(true);
    ASSERT_FALSE(canvas.changed().isEmpty());
    // Black over grey only ever darkens evenly: no pixel leans towards magenta.
    for (int y = 0; y < 188; ++y)
        for (int x = 0; x < 250; ++x) {
            const QColor c = canvas.at(x, y);
            ASSERT_EQ(c.red(), c.green()) << x << "," << y;
            ASSERT_EQ(c.blue(), c.green()) << x << "," << y;
        }
}

TEST(WatermarkText, LinesAreStackedAtTheSameXOneTextHeightApart)
{
    Canvas canvas;
    TWatermark mark;
    setText(mark, {QStringLiteral("Wg"), QStringLiteral("Wg"), QStringLiteral("Wg")}, 14);
    mark.OffsetTypeX = TWatermark::AnchorNear;
    mark.OffsetTypeY = TWatermark::AnchorNear;
    mark.ResetOffsets();
    mark.View = &canvas.view;
    mark.Render(true);
    const int lineHeight = mark.TextHeight / 3;
    ASSERT_EQ(canvas.changed().top() < 5 + lineHeight, true);
    for (int y = 5; y < 5 + lineHeight; ++y)
        for (int x = 0; x < 250; ++x) {
            ASSERT_EQ(canvas.at(x, y), canvas.at(x, y + lineHeight)) << x << "," << y;
            ASSERT_EQ(canvas.at(x, y), canvas.at(x, y + 2 * lineHeight)) << x << "," << y;
        }
}

TEST(WatermarkText, LargerFontKeepsTheBlockCentredOnTheSamePoint)
{
    TWatermark mark;
    setText(mark, {QStringLiteral("HHHH")}, 12);
    mark.OffsetX = -100;  // the centre at (150, 128)
    mark.OffsetY = -60;
    Canvas small;
    mark.View = &small.view;
    mark.Render(true);
    mark.Font.setPointSize(30);
    mark.MeasureText();
    Canvas large;
    mark.View = &large.view;
    mark.Render(true);
    const QRect before = small.changed();
    const QRect after = large.changed();
    ASSERT_GT(after.width(), 2 * before.width());
    EXPECT_NEAR(after.center().x(), before.center().x(), 2);
    EXPECT_NEAR(after.center().y(), before.center().y(), 3);
}

TEST(WatermarkText, MeasuresTheWidestLineAndTheSumOfTheHeights)
{
    TWatermark empty;
    empty.TextWidth = 7;
    empty.MeasureText();
    EXPECT_EQ(QSize(empty.TextWidth, empty.TextHeight), QSize(0, 0));

    TWatermark one;
    setText(one, {QStringLiteral("Long line here")}, 24);
    TWatermark two;
    setText(two, {QStringLiteral("short"), QStringLiteral("Long line here")}, 24);
    EXPECT_EQ(two.TextWidth, one.TextWidth);
    EXPECT_EQ(two.TextHeight, 2 * one.TextHeight);
    // 24 points at 96 dots per inch: 32 pixels of em, so a line is somewhat taller.
    EXPECT_GE(one.TextHeight, 32);
    EXPECT_LE(one.TextHeight, 48);
}

TEST(WatermarkPicture, AlphaOfThePictureBlendsWithoutKeyColour)
{
    QTemporaryDir dir;
    QImage picture(20, 10, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (int y = 0; y < 10; ++y)
        for (int x = 10; x < 20; ++x)
            picture.setPixelColor(x, y, QColor(0, 255, 0, 128));
    const QString path = dir.filePath(QStringLiteral("half.png"));
    ASSERT_TRUE(picture.save(path));

    Canvas canvas;
    TWatermark mark;
    ASSERT_TRUE(mark.LoadImage(path));
    mark.WatermarkType = TWatermark::TypeImage;
    mark.OffsetTypeX = TWatermark::AnchorNear;
    mark.OffsetTypeY = TWatermark::AnchorNear;
    mark.ResetOffsets();
    mark.Transparency = 0;
    mark.View = &canvas.view;
    mark.Render(true);
    EXPECT_EQ(canvas.at(5, 5), kGrey);                 // alpha 0: untouched
    EXPECT_EQ(canvas.at(15, 5), QColor(50, 178, 50));  // alpha 128: half green, half grey
    EXPECT_EQ(canvas.changed(), QRect(15, 5, 10, 10));
}

TEST(WatermarkPicture, KeyColouredPixelsOfAPictureAreNotDrawn)
{
    QTemporaryDir dir;
    Canvas canvas;
    TWatermark mark;
    ASSERT_TRUE(mark.LoadImage(pictureFile(dir, QSize(30, 30), QColor(252, 0, 252), false)));
    mark.WatermarkType = TWatermark::TypeImage;
    mark.Transparency = 0;
    mark.View = &canvas.view;
    mark.Render(true);
    EXPECT_TRUE(canvas.changed().isEmpty());
}

TEST(WatermarkPicture, ImageTypeWithoutPictureDrawsNothing)
{
    Canvas canvas;
    TWatermark mark;
    mark.WatermarkType = TWatermark::TypeImage;
    mark.Transparency = 0;
    mark.ShadowRadius = 4;
    mark.View = &canvas.view;
    mark.Render(true);
    EXPECT_TRUE(canvas.changed().isEmpty());
}

TEST_F(PictureMark, LiveLayerIsReplacedByEachRenderAndRemovedByTypeNone)
{
    mark.Transparency = 0;
    mark.Render(false);
    mark.Render(false);
    EXPECT_EQ(canvas.view.LayersCount(), 2);
    EXPECT_EQ(canvas.view.Composed().pixelColor(150, 160), QColor(Qt::blue));
    canvas.view.SetLayersCurrent(0);
    EXPECT_EQ(canvas.at(150, 160), kGrey);  // layer 0 keeps the picture

    mark.WatermarkType = TWatermark::TypeNone;
    mark.Render(false);
    EXPECT_EQ(canvas.view.LayersCount(), 1);
    EXPECT_EQ(canvas.view.Composed().pixelColor(150, 160), kGrey);
}

TEST(WatermarkRender, WithoutViewOrPictureNothingHappens)
{
    TWatermark mark;
    mark.Lines = QStringList{QStringLiteral("text")};
    mark.MeasureText();
    EXPECT_NO_THROW(mark.Render(true));
    TImageEnView empty;
    mark.View = &empty;
    mark.Render(false);
    EXPECT_EQ(empty.LayersCount(), 1);
}

TEST(WatermarkText, WindowsFaceFallsBackToTheSystemSansAndDraws)
{
    TWatermark mark;
    mark.Font.setFamily(QStringLiteral("MS Sans Serif"));
    setText(mark, {QStringLiteral("Sample Text")}, 24, Qt::red);
    EXPECT_NE(QFontInfo(mark.DrawingFont()).family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(QFontInfo(mark.DrawingFont()).pixelSize(), 32);  // 24 points at 96 dots per inch
    mark.OffsetTypeX = TWatermark::AnchorCentre;
    mark.OffsetTypeY = TWatermark::AnchorCentre;
    Canvas canvas;
    mark.View = &canvas.view;
    mark.Render(true);
    EXPECT_GT(canvas.changed().width(), mark.TextWidth * 9 / 10);
    EXPECT_LE(canvas.changed().width(), mark.TextWidth);
}
