// Media details of real files, read by the libavformat detector. The clips are made here with the
// ffmpeg command-line tool: each case needs its own container, tag or layout.
#include "MediaDetailsPrint.h"
#include "media/uMediaDetails.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const QStringList VideoSource = {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=25:duration=1"};
const QStringList StereoSource = {"-f", "lavfi", "-i",
                                  "sine=frequency=440:sample_rate=44100:duration=1,aformat=channel_layouts=stereo"};

struct Clip {
    const char* name;
    QStringList arguments;  // between the common options and the output name
};

const Clip Clips[] = {
    {"xvid_pcm.avi", VideoSource + StereoSource + QStringList{"-c:v", "mpeg4", "-vtag", "XviD", "-c:a", "pcm_s16le"}},
    {"rgb_topdown.avi", VideoSource + QStringList{"-c:v", "rawvideo", "-pix_fmt", "bgr24"}},
    {"rgb_bottomup.avi",
     VideoSource + QStringList{"-vf", "vflip", "-c:v", "rawvideo", "-pix_fmt", "bgr24", "-flipped_raw_rgb", "1"}},
    {"mpeg1.mpg", VideoSource + StereoSource + QStringList{"-c:v", "mpeg1video", "-c:a", "mp2", "-f", "mpeg"}},
    {"mpeg2.vob", VideoSource + StereoSource + QStringList{"-c:v", "mpeg2video", "-c:a", "mp2", "-f", "vob"}},
    {"h264.mkv", VideoSource + QStringList{"-c:v", "libx264", "-pix_fmt", "yuv420p"}},
    {"wide.mkv", VideoSource + QStringList{"-vf", "setsar=16/11", "-c:v", "mpeg4"}},
    {"tone.wav", StereoSource + QStringList{"-c:a", "pcm_s16le"}},
    {"cover.mp3",
     StereoSource + QStringList{"-f", "lavfi", "-i", "color=size=32x32:duration=0.1", "-frames:v", "1", "-map", "0",
                                "-map", "1", "-c:a", "libmp3lame", "-c:v", "png", "-disposition:v", "attached_pic"}},
};

class MediaDetailsFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        ASSERT_TRUE(dir->isValid());
        for (const Clip& clip : Clips) {
            QProcess ffmpeg;
            ffmpeg.start("ffmpeg", QStringList{"-v", "error", "-nostdin", "-y"} + clip.arguments
                                       + QStringList{path(clip.name)});
            ASSERT_TRUE(ffmpeg.waitForFinished(120'000)) << clip.name;
            ASSERT_EQ(ffmpeg.exitCode(), 0) << clip.name << ffmpeg.readAllStandardError().toStdString();
        }
    }
    static void TearDownTestSuite() { delete dir; }

    static QString path(const QString& name) { return dir->filePath(name); }

    static QString writeFile(const QString& name, const QByteArray& content)
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    }

    static QByteArray contentOf(const QString& name)
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    static inline QTemporaryDir* dir = nullptr;
};

TEST_F(MediaDetailsFileTest, AviWithXvidVideoThenPcmAudio)
{
    const EnumVid r = GetMediaDetails(path("xvid_pcm.avi"));
    EXPECT_EQ(r.VideoType, "Video");
    EXPECT_EQ(r.VideoFourCC, "XviD");
    EXPECT_EQ(r.CodecName, "XVID MPEG-4");
    EXPECT_EQ(r.Width, 64);
    EXPECT_EQ(r.Height, 48);
    EXPECT_EQ(r.OtherSubType, "UnKnown ");  // no subtype row for XviD
    EXPECT_EQ(r.AudioType, "Audio");
    EXPECT_EQ(r.AudioSubType, "PCM");
    EXPECT_EQ(r.AudioFormat, "PCM");
    EXPECT_EQ(r.SampleRate, "44100");
    EXPECT_EQ(r.SampleBitRate, "705600");
    EXPECT_EQ(r.Channels, "2");
    EXPECT_EQ(r.Duration, 1000);
    EXPECT_EQ(r.OtherMajorType, "");
    EXPECT_EQ(r.OtherFormat, "");
}

TEST_F(MediaDetailsFileTest, UncompressedRgbKeepsTheBitmapOrientation)
{
    const struct {
        const char* name;
        int height;
    } cases[] = {{"rgb_topdown.avi", -48}, {"rgb_bottomup.avi", 48}};
    for (const auto& c : cases) {
        const EnumVid r = GetMediaDetails(path(c.name));
        EXPECT_EQ(r.VideoFourCC, "RGB") << c.name;
        EXPECT_EQ(r.CodecName, "Unknown Codec") << c.name;
        EXPECT_EQ(r.VideoSubType, "RGB24") << c.name;
        EXPECT_EQ(r.BitCount, "24") << c.name;
        EXPECT_EQ(r.Width, 64) << c.name;
        EXPECT_EQ(r.Height, c.height) << c.name;
        EXPECT_EQ(r.Duration, 1000) << c.name;
    }
}

TEST_F(MediaDetailsFileTest, MpegProgramStreamsFillTheMpegFields)
{
    const EnumVid one = GetMediaDetails(path("mpeg1.mpg"));
    EXPECT_EQ(one.VideoType, "Video");
    EXPECT_EQ(one.VideoSubType, "MPEG1Payload");
    EXPECT_EQ(one.Mpeg1Width, "64");
    EXPECT_EQ(one.Mpeg1Height, "48");
    EXPECT_EQ(one.Mpeg1FourCC, "mpg1");
    EXPECT_EQ(one.Width, 0);
    EXPECT_EQ(one.AudioSubType, "MPEG1AudioPayload");
    EXPECT_EQ(one.AudioFormat, "MPEG");
    EXPECT_EQ(one.SampleRate, "44100");
    EXPECT_EQ(one.Channels, "2");
    EXPECT_NEAR(double(one.Duration), 1000.0, 100.0);

    const EnumVid two = GetMediaDetails(path("mpeg2.vob"));
    EXPECT_EQ(two.VideoSubType, "MPEG2_VIDEO");
    EXPECT_EQ(two.Mpeg2Width, "64");
    EXPECT_EQ(two.Mpeg2Height, "48");
    EXPECT_EQ(two.Mpeg2FourCC, "mpg2");
    EXPECT_EQ(two.Mpeg1Width, "");
    EXPECT_EQ(two.Width, 0);
}

TEST_F(MediaDetailsFileTest, ContainersWithoutACodecTagTakeTheRiffFourCC)
{
    const EnumVid r = GetMediaDetails(path("h264.mkv"));
    EXPECT_EQ(r.VideoType, "Video");
    EXPECT_EQ(r.VideoFourCC, "H264");
    EXPECT_EQ(r.CodecName, "Intel Conferencing");
    EXPECT_EQ(r.Width, 64);
    EXPECT_EQ(r.Height, 48);
    EXPECT_EQ(r.Duration, 1000);
}

TEST_F(MediaDetailsFileTest, NonSquarePixelsUseTheSecondVideoInfoLayout)
{
    const EnumVid r = GetMediaDetails(path("wide.mkv"));
    EXPECT_EQ(r.VideoFourCC, "FMP4");
    EXPECT_EQ(r.Width, 64);
    EXPECT_EQ(r.Height, 48);
}

TEST_F(MediaDetailsFileTest, AudioOnlyFilesHaveNoVideo)
{
    for (const char* name : {"tone.wav", "cover.mp3"}) {
        const EnumVid r = GetMediaDetails(path(name));
        EXPECT_EQ(r.VideoType, "") << name;
        EXPECT_EQ(r.VideoFourCC, "") << name;
        EXPECT_EQ(r.CodecName, "") << name;
        EXPECT_EQ(r.Width, 0) << name;
        EXPECT_EQ(r.Height, 0) << name;
        EXPECT_EQ(r.AudioType, "Audio") << name;
        EXPECT_EQ(r.SampleRate, "44100") << name;
        EXPECT_EQ(r.Channels, "2") << name;
        EXPECT_NEAR(double(r.Duration), 1000.0, 60.0) << name;
    }
    EXPECT_EQ(GetMediaDetails(path("tone.wav")).SampleBitRate, "705600");
    EXPECT_EQ(GetMediaDetails(path("cover.mp3")).AudioFormat, "MPEGLAYER3");
}

TEST_F(MediaDetailsFileTest, DamagedFilesAreRefusedOrReadWithoutHarm)
{
    EnumVid error;
    error.VideoType = "ERROR";
    EXPECT_EQ(GetMediaDetails(writeFile("empty.avi", {})), error);
    QByteArray noise(64 * 1024, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + (i >> 5) * 31) & 0xFF);
    EXPECT_EQ(GetMediaDetails(writeFile("noise.avi", noise)), error);
    const QByteArray whole = contentOf("xvid_pcm.avi");
    for (int size : {12, 4 * 1024, 8 * 1024})  // cut inside the headers
        EXPECT_EQ(GetMediaDetails(writeFile("header_cut.avi", whole.left(size))), error) << size;

    // Cut inside the first frames: the headers still describe the streams.
    const EnumVid cut = GetMediaDetails(writeFile("cut.avi", whole.left(20 * 1024)));
    EXPECT_EQ(cut.VideoFourCC, "XviD");
    EXPECT_EQ(cut.Width, 64);
    EXPECT_EQ(cut.SampleRate, "44100");
}

TEST_F(MediaDetailsFileTest, WhatIsNotARegularFileIsNotFound)
{
    EnumVid notFound;
    notFound.VideoType = "FILE NOT FOUND";
    const QString fifo = path("pipe.avi");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& name : {path("missing.avi"), dir->path(), fifo})
        EXPECT_EQ(GetMediaDetails(name), notFound) << name.toStdString();
}

TEST_F(MediaDetailsFileTest, TheFileNameIsNeverReadAsAProtocol)
{
    const QString odd = path("concat:xvid_pcm.avi");
    ASSERT_TRUE(QFile::copy(path("xvid_pcm.avi"), odd));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir->path());
    const EnumVid r = GetMediaDetails("concat:xvid_pcm.avi");
    QDir::setCurrent(previous);
    EXPECT_EQ(r.VideoFourCC, "XviD");
    EXPECT_EQ(r.Duration, 1000);
}

TEST_F(MediaDetailsFileTest, APlaylistCannotReachTheNetwork)
{
    const QString list = writeFile("list.m3u8", "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\n"
                                                "http://127.0.0.1:9/segment.ts\n#EXT-X-ENDLIST\n");
    const EnumVid r = GetMediaDetails(list);
    EXPECT_EQ(r.VideoType, "ERROR");
}

}  // namespace
