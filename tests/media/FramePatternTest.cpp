// The fixtures' frame numbers survive what later stages do to a frame: 250 x 188 and JPEG.
#include "Player.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace mediatest;

namespace {

TEST(FramePattern, ReadsBackAfterScalingAndJpeg)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("h264_bframes.mkv"));
    for (int frame : {0, 1, 87, 162, 249}) {
        ASSERT_NO_FATAL_FAILURE(player.seek(frame * kFrame));
        const QImage small = player.grabber.lastSample().scaled(250, 188, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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
