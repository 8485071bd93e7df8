// The exact-frame promise: after a seek the frame on screen and in the grabber is the one whose
// presentation interval contains the target, and the position reads back exactly the target.
#include "Player.h"

#include <gtest/gtest.h>

using namespace mediatest;

namespace {

class ExactSeek : public ::testing::TestWithParam<const char*> {};

TEST_P(ExactSeek, SkipsLandOnTheFrameOnScreenAtTheTarget)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open(GetParam()));
    EXPECT_EQ(player.position(), 0);
    EXPECT_EQ(player.frameOnScreen(), 0) << "position 0 shows the first frame";

    // Forward, backward, a frame boundary and the last frame.
    const media::MediaTime targets[] = {500 * kMs, 3500 * kMs, 6500 * kMs, 3500 * kMs, 500 * kMs,
                                        520 * kMs, 519 * kMs, 6500 * kMs + 35 * kMs, 0, 9980 * kMs};
    for (media::MediaTime target : targets) {
        SCOPED_TRACE(testing::Message() << "target " << target / kMs << " ms");
        ASSERT_NO_FATAL_FAILURE(player.seek(target));
        const int expected = static_cast<int>(target / kFrame);
        EXPECT_EQ(player.position(), target);
        EXPECT_EQ(player.frameOnScreen(), expected);
        EXPECT_EQ(player.frameInGrabber(), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Clips, ExactSeek,
                         ::testing::Values("xvid_bframes.avi", "h264_bframes.mkv", "mpeg2.mpg", "wmv2.asf",
                                           "divx.avi", "div3.avi", "mpeg1.mpg", "h264.mp4"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(ExactSeekStrategy, StepsForwardInsideTheGroupOfPicturesDecodeOnWithoutSeeking)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("h264_bframes.mkv"));  // keyframes every 2 s
    ASSERT_NO_FATAL_FAILURE(player.seek(2100 * kMs));
    const int seeksBefore = player.graph.demuxerSeekCount();
    for (media::MediaTime target = 2135 * kMs; target < 3900 * kMs; target += 35 * kMs) {
        ASSERT_NO_FATAL_FAILURE(player.seek(target));
        ASSERT_EQ(player.frameOnScreen(), target / kFrame);
    }
    EXPECT_EQ(player.graph.demuxerSeekCount(), seeksBefore);
    // Short steps back are served from the frames decoded last.
    ASSERT_NO_FATAL_FAILURE(player.seek(3800 * kMs));
    EXPECT_EQ(player.frameOnScreen(), 3800 / 40);
    EXPECT_EQ(player.graph.demuxerSeekCount(), seeksBefore);
    // A jump past the next keyframe and a long step back do seek.
    ASSERT_NO_FATAL_FAILURE(player.seek(8000 * kMs));
    ASSERT_NO_FATAL_FAILURE(player.seek(1000 * kMs));
    EXPECT_EQ(player.frameOnScreen(), 25);
    EXPECT_GT(player.graph.demuxerSeekCount(), seeksBefore);
}

TEST(ExactSeekStrategy, ProgramStreamsMeasurePositionsFromTheirStart)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("mpeg2.mpg"));  // timestamps start near 0.54 s
    EXPECT_NEAR(static_cast<double>(player.duration()), 10'000.0 * kMs, 50.0 * kMs);
    // Backward seeks in a stream without an index can land late; the frame must not.
    for (media::MediaTime target : {9000 * kMs, 1500 * kMs, 9000 * kMs, 40 * kMs}) {
        ASSERT_NO_FATAL_FAILURE(player.seek(target));
        EXPECT_EQ(player.frameOnScreen(), target / kFrame) << target / kMs << " ms";
    }
}

TEST(ExactSeekStrategy, PositionsBeyondTheEndShowTheLastFrame)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("divx.avi"));
    ASSERT_NO_FATAL_FAILURE(player.seek(player.duration() + 5000 * kMs));
    EXPECT_EQ(player.position(), player.duration());
    EXPECT_EQ(player.frameOnScreen(), 249);
}

}  // namespace
