// Media details of real files, read by the libavformat detector. The clips are made here with the
// ffmpeg command-line tool: each case needs its own container, tag or layout.
#include "MediaDetailsTestSupport.h"
#include "media/MediaDetectorFFmpeg.h"
#include "media/uMediaDetails.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <algorithm>
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
    {"h264.mkv", VideoSource + QStringList{"-c:v", "libx264", "-pix_fmt", "yuv420p"}},
    {"hevc.mkv", VideoSource + QStringList{"-c:v", "libx265", "-x265-params", "log-level=error"}},
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
    }
    static void TearDownTestSuite() { delete dir; }

    // The clip of that name, made on first use so that each test pays only for its own clips.
    static QString clip(const char* name)
    {
        const QString file = path(name);
        if (QFile::exists(file))
            return file;
        const auto made = std::find_if(std::begin(Clips), std::end(Clips),
                                       [&](const Clip& c) { return qstrcmp(c.name, name) == 0; });
        if (made == std::end(Clips)) {
            ADD_FAILURE() << "no clip " << name;
            return file;
        }
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg", QStringList{"-v", "error", "-nostdin", "-y"} + made->arguments + QStringList{file});
        EXPECT_TRUE(ffmpeg.waitForFinished(120'000)) << name;
        EXPECT_EQ(ffmpeg.exitCode(), 0) << name << ffmpeg.readAllStandardError().toStdString();
        return file;
    }

    static QString path(const QString& name) { return dir->filePath(name); }

    static QString writeFile(const QString& name, const QByteArray& content)
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    }

    static QByteArray contentOf(const char* name)
    {
        QFile file(clip(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    static inline QTemporaryDir* dir = nullptr;
};

TEST_F(MediaDetailsFileTest, AviWithXvidVideoThenPcmAudio)
{
    EXPECT_EQ(GetMediaDetails(clip("xvid_pcm.avi")), xvidThenStereoPcm("XviD", 64, 48, 1000));
}

TEST_F(MediaDetailsFileTest, UncompressedRgbKeepsTheBitmapOrientation)
{
    const struct {
        const char* name;
        int height;
    } cases[] = {{"rgb_topdown.avi", -48}, {"rgb_bottomup.avi", 48}};
    for (const auto& c : cases) {
        const EnumVid r = GetMediaDetails(clip(c.name));
        EXPECT_EQ(r.VideoFourCC, "RGB") << c.name;
        EXPECT_EQ(r.CodecName, "Unknown Codec") << c.name;
        EXPECT_EQ(r.VideoSubType, "RGB24") << c.name;
        EXPECT_EQ(r.BitCount, "24") << c.name;
        EXPECT_EQ(r.Width, 64) << c.name;
        EXPECT_EQ(r.Height, c.height) << c.name;
        EXPECT_EQ(r.Duration, 1000) << c.name;
    }
}

TEST_F(MediaDetailsFileTest, ContainersWithoutACodecTagTakeTheRiffFourCC)
{
    EnumVid expected;
    expected.OtherSubType = "UnKnown ";
    expected.VideoType = "Video";
    expected.Duration = 1000;
    expected.VideoFourCC = "H264";
    expected.Width = 64;
    expected.Height = 48;
    expected.BitCount = "12";
    expected.CodecName = "Intel Conferencing";
    EXPECT_EQ(GetMediaDetails(clip("h264.mkv")), expected);
}

TEST_F(MediaDetailsFileTest, ACodecWithoutARiffTagIsNotTakenForUncompressed)
{
    const EnumVid r = GetMediaDetails(clip("hevc.mkv"));
    EXPECT_EQ(r.VideoFourCC, "hev1");
    EXPECT_EQ(r.VideoSubType, "");
    EXPECT_EQ(r.OtherSubType, "UnKnown ");
    EXPECT_EQ(r.Width, 64);
}

TEST_F(MediaDetailsFileTest, NonSquarePixelsUseTheSecondVideoInfoLayout)
{
    const EnumVid r = GetMediaDetails(clip("wide.mkv"));
    EXPECT_EQ(r.VideoFourCC, "FMP4");
    EXPECT_EQ(r.Width, 64);
    EXPECT_EQ(r.Height, 48);
}

template <typename T>
T field(const QByteArray& block, int offset)
{
    return qFromLittleEndian<T>(block.constData() + offset);
}

std::vector<DetectedMediaType> detectedStreams(const QString& fileName)
{
    const std::unique_ptr<MediaDetector> detector = CreateFFmpegMediaDetector();
    std::vector<DetectedMediaType> types;
    if (!detector->setFileName(fileName))
        return types;
    for (int i = 0; i < detector->outputStreams().value_or(0); ++i) {
        EXPECT_TRUE(detector->setCurrentStream(i));
        types.push_back(detector->streamMediaType().value_or(DetectedMediaType{}));
    }
    return types;
}

TEST_F(MediaDetailsFileTest, DetectorLaysOutBlocksAsThePlatformStructures)
{
    const QUuid videoInfo("{05589F80-C356-11CE-BF01-00AA0055595A}");
    const QUuid videoInfo2("{F72A76A0-EB0A-11D0-ACE4-0000C0CC16BA}");
    const QUuid wave("{05589F81-C356-11CE-BF01-00AA0055595A}");
    const QUuid mpeg1("{05589F82-C356-11CE-BF01-00AA0055595A}");

    const auto avi = detectedStreams(clip("xvid_pcm.avi"));
    ASSERT_EQ(avi.size(), 2u);
    EXPECT_EQ(avi[0].subType, QUuid("{44697658-0000-0010-8000-00AA00389B71}"));  // "XviD"
    ASSERT_EQ(avi[0].formatType, videoInfo);
    ASSERT_EQ(avi[0].format.size(), 88);
    EXPECT_EQ(field<int64_t>(avi[0].format, 40), 400000);  // 25 frames a second in 100 ns
    EXPECT_EQ(field<uint32_t>(avi[0].format, 48), 40u);
    EXPECT_EQ(field<int32_t>(avi[0].format, 52), 64);
    ASSERT_EQ(avi[1].formatType, wave);
    ASSERT_GE(avi[1].format.size(), 18);
    EXPECT_EQ(field<uint16_t>(avi[1].format, 0), 1);
    EXPECT_EQ(field<uint32_t>(avi[1].format, 8), 176400u);
    EXPECT_EQ(field<uint16_t>(avi[1].format, 12), 4);

    const auto wide = detectedStreams(clip("wide.mkv"));
    ASSERT_EQ(wide.size(), 1u);
    ASSERT_EQ(wide[0].formatType, videoInfo2);
    ASSERT_EQ(wide[0].format.size(), 112);
    EXPECT_EQ(field<uint32_t>(wide[0].format, 56), 64u);  // picture aspect 64 x 16/11 : 48
    EXPECT_EQ(field<uint32_t>(wide[0].format, 60), 33u);
    EXPECT_EQ(field<int32_t>(wide[0].format, 72 + 4), 64);
    EXPECT_EQ(field<int32_t>(wide[0].format, 72 + 8), 48);

    const auto mpg = detectedStreams(clip("mpeg1.mpg"));
    ASSERT_EQ(mpg.size(), 2u);
    ASSERT_EQ(mpg[0].formatType, mpeg1);
    ASSERT_GE(mpg[0].format.size(), 96);
    const uint32_t sequenceHeader = field<uint32_t>(mpg[0].format, 92);
    EXPECT_GT(sequenceHeader, 0u);
    EXPECT_EQ(uint32_t(mpg[0].format.size()), 96 + sequenceHeader);
    EXPECT_EQ(mpg[0].format.mid(96, 4), QByteArray("\x00\x00\x01\xB3", 4));  // sequence start code
}

TEST_F(MediaDetailsFileTest, AudioOnlyFilesHaveNoVideo)
{
    for (const char* name : {"tone.wav", "cover.mp3"}) {
        const EnumVid r = GetMediaDetails(clip(name));
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
    EXPECT_EQ(GetMediaDetails(clip("tone.wav")).SampleBitRate, "705600");
    EXPECT_EQ(GetMediaDetails(clip("cover.mp3")).AudioFormat, "MPEGLAYER3");
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
    ASSERT_TRUE(QFile::copy(clip("xvid_pcm.avi"), odd));
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
