// The fixtures' frame numbers survive what later stages do to a frame: 250 x 188 and JPEG.
#include "Player.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace mediatest;

namespace {

// Area-average reduction, as a thumbnail's resampling does (and single-threaded, unlike Qt's).
QImage reduce(const QImage& source, int width, int height)
{
    QImage target(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRect area(x * source.width() / width, y * source.height() / height,
                             std::max(1, source.width() / width), std::max(1, source.height() / height));
            long sum = 0;
            for (int sy = area.top(); sy <= area.bottom(); ++sy)
                for (int sx = area.left(); sx <= area.right(); ++sx)
                    sum += qGray(source.pixel(sx, sy));
            const int grey = static_cast<int>(sum / (area.width() * area.height()));
            target.setPixel(x, y, qRgb(grey, grey, grey));
        }
    }
    return target;
}

TEST(FramePattern, ReadsBackAfterScalingAndJpeg)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("h264_bframes.mkv"));
    for (int frame : {0, 1, 87, 162, 249}) {
        ASSERT_NO_FATAL_FAILURE(player.seek(frame * kFrame));
        const QImage small = reduce(player.grabber.lastSample(), 250, 188);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        ASSERT_TRUE(small.save(&buffer, "JPEG", 75));
        EXPECT_EQ(framepattern::readFrameNumber(QImage::fromData(jpeg, "JPEG")), frame);
    }
}

TEST(FramePattern, TheRawRgbAndLetterboxClipsCarryItToo)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("rgb.avi"));
    EXPECT_EQ(player.graph.videoSize(), QSize(640, 480));
    ASSERT_NO_FATAL_FAILURE(player.seek(200 * kMs));
    EXPECT_EQ(player.frameOnScreen(), 5) << "stored bottom-up, shown upright";

    ASSERT_NO_FATAL_FAILURE(player.open("letterbox.avi"));
    ASSERT_NO_FATAL_FAILURE(player.seek(1000 * kMs));
    const QImage frame = player.grabber.lastSample();
    EXPECT_EQ(qGray(frame.pixel(320, 20)), 0) << "black bar";
    EXPECT_EQ(framepattern::readFrameNumber(frame, QRect(0, 60, 640, 360)), 25);
    EXPECT_EQ(framepattern::readFrameNumber(frame), -1) << "the bars break the full-frame grid";
}

}  // namespace
