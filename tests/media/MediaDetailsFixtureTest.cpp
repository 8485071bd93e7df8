// Media details of the shared test clips, as opening a video and queueing a batch read them.
#include "MediaDetailsTestSupport.h"
#include "media/uMediaDetails.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

struct FixtureCase {
    const char* name;
    const char* videoType;
    const char* fourCC;
    const char* codecName;
    int width;
    int height;
    int64_t durationMs;  // nominal; the container's own rounding may add a few milliseconds
    const char* audioFormat;
};

const FixtureCase Cases[] = {
    {"divx.avi", "Video", "DIVX", "DivX", 640, 480, 10000, "MPEGLAYER3"},
    {"xvid_bframes.avi", "Video", "XVID", "XVID MPEG-4", 640, 480, 10000, "MPEGLAYER3"},
    {"div3.avi", "Video", "DIV3", "DivX 3", 640, 480, 10000, ""},
    {"rgb.avi", "Video", "RGB", "Unknown Codec", 640, 480, 400, ""},
    {"letterbox.avi", "Video", "DIVX", "DivX", 640, 480, 2000, ""},
    {"wmv2.asf", "Video", "WMV2", "Windows Media Video 2", 640, 480, 10000, "Unknown"},
    {"h264_bframes.mkv", "Video", "H264", "Intel Conferencing", 640, 480, 10000, "Unknown"},
    {"h264.mp4", "Video", "avc1", "Unknown Codec", 640, 480, 10000, "Unknown"},
    // MPEG program streams describe their picture in the MPEG fields, not in Width and Height.
    {"mpeg1.mpg", "Video", "", "", 0, 0, 10000, "MPEG"},
    {"mpeg2.mpg", "Video", "", "", 0, 0, 10000, "MPEG"},
    {"audio.wav", "", "", "", 0, 0, 2000, "PCM"},
    {"audio.mp3", "", "", "", 0, 0, 2000, "MPEGLAYER3"},
};

TEST(MediaDetailsFixtureTest, SharedClipsGiveWhatOpeningAndBatchRead)
{
    for (const FixtureCase& c : Cases) {
        const EnumVid r = GetMediaDetails(testenv::fixture(c.name));
        EXPECT_EQ(r.VideoType, c.videoType) << c.name;
        EXPECT_EQ(r.VideoFourCC, c.fourCC) << c.name;
        EXPECT_EQ(r.CodecName, c.codecName) << c.name;
        EXPECT_EQ(r.Width, c.width) << c.name;
        EXPECT_EQ(r.Height, c.height) << c.name;
        EXPECT_NEAR(double(r.Duration), double(c.durationMs), 100.0) << c.name;
        EXPECT_EQ(r.AudioFormat, c.audioFormat) << c.name;
    }
}

TEST(MediaDetailsFixtureTest, MpegProgramStreamsFillTheirOwnFields)
{
    const EnumVid one = GetMediaDetails(testenv::fixture("mpeg1.mpg"));
    EXPECT_EQ(one.VideoSubType, "MPEG1Payload");
    EXPECT_EQ(one.AudioSubType, "MPEG1AudioPayload");
    EXPECT_EQ(one.Mpeg1Width, "640");
    EXPECT_EQ(one.Mpeg1Height, "480");
    EXPECT_EQ(one.Mpeg1FourCC, "mpg1");
    const EnumVid two = GetMediaDetails(testenv::fixture("mpeg2.mpg"));
    EXPECT_EQ(two.VideoSubType, "MPEG2_VIDEO");
    EXPECT_EQ(two.Mpeg1Width, "");
    EXPECT_EQ(two.Mpeg2Width, "640");
    EXPECT_EQ(two.Mpeg2Height, "480");
    EXPECT_EQ(two.Mpeg2FourCC, "mpg2");
}

TEST(MediaDetailsFixtureTest, BrokenClipsAreRefusedOrReadAsFarAsTheyGo)
{
    EnumVid error;
    error.VideoType = "ERROR";
    for (const char* name : {"empty.avi", "corrupt.avi", "truncated.mp4"})
        EXPECT_EQ(GetMediaDetails(testenv::fixture(name)), error) << name;

    // Half an AVI still has its headers: the streams are described and the length is what remains.
    const EnumVid half = GetMediaDetails(testenv::fixture("truncated.avi"));
    EXPECT_EQ(half.VideoFourCC, "DIVX");
    EXPECT_EQ(half.Width, 640);
    EXPECT_GT(half.Duration, 0);
    EXPECT_LT(half.Duration, 10000);
}

}  // namespace
