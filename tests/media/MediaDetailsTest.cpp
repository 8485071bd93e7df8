// The media details' stream logic, on streams described without a file.
#include "MediaDetailsTestSupport.h"
#include "media/MediaDetector.h"
#include "media/uMediaDetails.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Identifiers spelt out here, independently of the program's own constants.
const QUuid MajorVideo("{73646976-0000-0010-8000-00AA00389B71}");
const QUuid MajorAudio("{73647561-0000-0010-8000-00AA00389B71}");
const QUuid MajorAnalogVideo("{0482DDE1-7817-11CF-8A03-00AA006ECB65}");
const QUuid MajorMidi("{7364696D-0000-0010-8000-00AA00389B71}");
const QUuid SubPCM("{00000001-0000-0010-8000-00AA00389B71}");
const QUuid SubIEEEFloat("{00000003-0000-0010-8000-00AA00389B71}");
const QUuid SubRGB24("{E436EB7D-524F-11CE-9F53-0020AF0BA770}");
const QUuid SubMP42("{3234504D-0000-0010-8000-00AA00389B71}");
const QUuid SubDvsdLower("{64737664-0000-0010-8000-00AA00389B71}");
const QUuid SubMpeg2Video("{E06D8026-DB46-11CF-B4D1-00805F6CBBEA}");
const QUuid SubMpeg1Payload("{E436EB81-524F-11CE-9F53-0020AF0BA770}");
const QUuid FormatVideoInfo("{05589F80-C356-11CE-BF01-00AA0055595A}");
const QUuid FormatWave("{05589F81-C356-11CE-BF01-00AA0055595A}");
const QUuid FormatMpeg1("{05589F82-C356-11CE-BF01-00AA0055595A}");
const QUuid FormatVideoInfo2("{F72A76A0-EB0A-11D0-ACE4-0000C0CC16BA}");
const QUuid FormatMpeg2("{E06D80E3-DB46-11CF-B4D1-00805F6CBBEA}");

template <typename T>
void put(QByteArray& block, int offset, T value)
{
    qToLittleEndian<T>(value, block.data() + offset);
}

uint32_t fourCC(const char* code)
{
    uint32_t value = 0;
    std::memcpy(&value, code, 4);
    return qFromLittleEndian(value);
}

// A video info block (bitmap header at 48 bytes, or at 72 for the second layout) of 88 or 112 bytes.
QByteArray bitmapBlock(int bitmapOffset, int32_t width, int32_t height, uint16_t bitCount, uint32_t compression)
{
    QByteArray block(bitmapOffset + 40, '\0');
    put<uint32_t>(block, bitmapOffset, 40);
    put<int32_t>(block, bitmapOffset + 4, width);
    put<int32_t>(block, bitmapOffset + 8, height);
    put<uint16_t>(block, bitmapOffset + 12, 1);
    put<uint16_t>(block, bitmapOffset + 14, bitCount);
    put<uint32_t>(block, bitmapOffset + 16, compression);
    return block;
}

QByteArray waveBlock(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits)
{
    QByteArray block(18, '\0');
    put<uint16_t>(block, 0, tag);
    put<uint16_t>(block, 2, channels);
    put<uint32_t>(block, 4, rate);
    put<uint32_t>(block, 8, rate * channels * bits / 8);
    put<uint16_t>(block, 12, uint16_t(channels * bits / 8));
    put<uint16_t>(block, 14, bits);
    return block;
}

struct FakeStream {
    std::optional<double> length;
    std::optional<DetectedMediaType> type;
    bool selectable = true;
};

FakeStream videoStream(double length, int32_t width, int32_t height, uint32_t compression, uint16_t bitCount = 24)
{
    return {length, DetectedMediaType{MajorVideo, QUuid(), FormatVideoInfo,
                                      bitmapBlock(48, width, height, bitCount, compression)}};
}

FakeStream audioStream(double length, uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits)
{
    return {length, DetectedMediaType{MajorAudio, SubPCM, FormatWave, waveBlock(tag, channels, rate, bits)}};
}

struct FakeScript {
    bool acceptsFile = true;
    bool countFails = false;
    std::optional<int> streamCount;  // defaults to the number of streams
    std::vector<FakeStream> streams;
    int created = 0;
};

class FakeDetector : public MediaDetector {
public:
    explicit FakeDetector(const FakeScript& script) : script_(script) {}
    bool setFileName(const QString&) override { return script_.acceptsFile; }
    std::optional<int> outputStreams() override
    {
        if (script_.countFails)
            return std::nullopt;
        return script_.streamCount ? script_.streamCount : std::optional<int>(int(script_.streams.size()));
    }
    bool setCurrentStream(int index) override
    {
        current_ = index < int(script_.streams.size()) && script_.streams[size_t(index)].selectable
            ? &script_.streams[size_t(index)] : nullptr;
        return current_ != nullptr;
    }
    std::optional<double> streamLength() override { return current_->length; }
    std::optional<DetectedMediaType> streamMediaType() override { return current_->type; }

private:
    const FakeScript& script_;
    const FakeStream* current_ = nullptr;
};

class MediaDetailsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        file = dir.filePath("clip.avi");
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    EnumVid details(const QString& path)
    {
        return GetMediaDetails(path, [this] {
            ++script.created;
            return std::make_unique<FakeDetector>(script);
        });
    }
    EnumVid details() { return details(file); }

    QTemporaryDir dir;
    QString file;
    FakeScript script;
};

TEST_F(MediaDetailsTest, VideoThenAudioFillsBothGroupsAndTheLaterStreamSetsTheDuration)
{
    script.streams = {videoStream(3.0, 320, 240, fourCC("XVID")), audioStream(2.5, 1, 2, 44100, 16)};
    EXPECT_EQ(details(), xvidThenStereoPcm("XVID", 320, 240, 2500));  // the later stream's length
}

TEST_F(MediaDetailsTest, ALaterStreamOverwritesTheSameFields)
{
    script.streams = {videoStream(1.0, 320, 240, fourCC("DIVX")), videoStream(4.0, 640, -480, fourCC("XviD"), 12)};
    const EnumVid r = details();
    EXPECT_EQ(r.Width, 640);
    EXPECT_EQ(r.Height, -480);
    EXPECT_EQ(r.BitCount, "12");
    EXPECT_EQ(r.VideoFourCC, "XviD");
    EXPECT_EQ(r.CodecName, "XVID MPEG-4");
    EXPECT_EQ(r.Duration, 4000);
}

TEST_F(MediaDetailsTest, AudioOnlyLeavesTheVideoFieldsEmpty)
{
    script.streams = {audioStream(1.0, 85, 1, 22050, 0)};
    EnumVid expected;
    expected.Duration = 1000;
    expected.AudioType = "Audio";
    expected.AudioSubType = "PCM";
    expected.AudioFormat = "MPEGLAYER3";
    expected.SampleRate = "22050";
    expected.SampleBitRate = "0";
    expected.Channels = "1";
    EXPECT_EQ(details(), expected);
}

TEST_F(MediaDetailsTest, CompressionValuesBecomeTextByTheFourCCRule)
{
    const struct {
        uint32_t compression;
        const char* text;
        const char* codec;
    } cases[] = {
        {0, "RGB", "Unknown Codec"},
        {1, "RLE8", "Run Length Encoded 8-bit"},
        {2, "RLE4", "Run Length Encoded 4-bit"},
        {3, "BITFIELDS", "Unknown Codec"},
        {fourCC("XviD"), "XviD", "XVID MPEG-4"},
        {fourCC("divx"), "divx", "DivX"},
        {fourCC("rle "), "rle ", "Run Length Encoded"},
        {0x00004241, "AB", "Unknown Codec"},  // ends at the first zero byte
        {0x43004241, "AB", "Unknown Codec"},
        {4, "\x04", "Unknown Codec"},
        {0x000000E9, "\u00E9", "Unknown Codec"},  // a byte is one 8-bit character
    };
    for (const auto& c : cases) {
        script.streams = {videoStream(1.0, 16, 16, c.compression)};
        const EnumVid r = details();
        EXPECT_EQ(r.VideoFourCC, QString::fromUtf8(c.text)) << c.compression;
        EXPECT_EQ(r.CodecName, c.codec) << c.compression;
    }
}

TEST_F(MediaDetailsTest, LengthIsRoundedToMillisecondsHalvesToEven)
{
    const struct {
        double seconds;
        int64_t ms;
    } cases[] = {{2.0625, 2062}, {2.1875, 2188}, {2.0626, 2063}, {0.0005, 0}, {0.0015, 2}, {5400.0, 5400000},
                 {-1.25, -1250}};
    for (const auto& c : cases) {
        script.streams = {{c.seconds, std::nullopt}};
        EXPECT_EQ(details().Duration, c.ms) << c.seconds;
    }
}

TEST_F(MediaDetailsTest, ALengthNoCountCanHoldLeavesTheDurationAlone)
{
    for (double seconds : {std::numeric_limits<double>::infinity(), std::nan(""), 1e300}) {
        script.streams = {{1.5, std::nullopt}, {seconds, std::nullopt}};
        EXPECT_EQ(details().Duration, 1500) << seconds;
    }
}

TEST_F(MediaDetailsTest, UnknownSubtypeAndUnknownMajorTypeAreSpeltDifferently)
{
    script.streams = {{1.0, DetectedMediaType{QUuid("{11111111-2222-3333-4444-555555555555}"),
                                              QUuid("{66666666-2222-3333-4444-555555555555}"), QUuid(), {}}}};
    const EnumVid r = details();
    EXPECT_EQ(r.OtherMajorType, "Unknown");
    EXPECT_EQ(r.OtherSubType, "UnKnown ");
    EXPECT_EQ(r.OtherFormat, "Unknown");
}

TEST_F(MediaDetailsTest, LabelsGoToTheFieldOfTheirGroup)
{
    const struct {
        QUuid major;
        QUuid sub;
        QString EnumVid::*majorField;
        const char* majorLabel;
        QString EnumVid::*subField;
        const char* subLabel;
    } cases[] = {
        {MajorVideo, SubRGB24, &EnumVid::VideoType, "Video", &EnumVid::VideoSubType, "RGB24"},
        {MajorVideo, SubMP42, &EnumVid::VideoType, "Video", &EnumVid::VideoSubType, "MS-MPEG4"},
        {MajorVideo, SubDvsdLower, &EnumVid::VideoType, "Video", &EnumVid::VideoSubType, "dvsd_"},
        {MajorVideo, SubMpeg2Video, &EnumVid::VideoType, "Video", &EnumVid::VideoSubType, "MPEG2_VIDEO"},
        {MajorAnalogVideo, SubMpeg1Payload, &EnumVid::AudioType, "Analogvideo", &EnumVid::VideoSubType, "MPEG1Payload"},
        {MajorAudio, SubIEEEFloat, &EnumVid::AudioType, "Audio", &EnumVid::OtherSubType, "IEEE_FLOAT"},
        {MajorMidi, SubPCM, &EnumVid::OtherMajorType, "Midi", &EnumVid::AudioSubType, "PCM"},
    };
    for (const auto& c : cases) {
        script.streams = {{1.0, DetectedMediaType{c.major, c.sub, QUuid(), {}}}};
        const EnumVid r = details();
        EXPECT_EQ(r.*c.majorField, c.majorLabel) << c.majorLabel;
        EXPECT_EQ(r.*c.subField, c.subLabel) << c.subLabel;
    }
}

TEST_F(MediaDetailsTest, SecondVideoInfoLayoutAndMpegBlocksReadTheirBitmapHeader)
{
    script.streams = {
        {1.0, DetectedMediaType{MajorVideo, QUuid(), FormatVideoInfo2, bitmapBlock(72, 720, 576, 16, fourCC("YUY2"))}},
        {1.0, DetectedMediaType{MajorVideo, QUuid(), FormatMpeg1, bitmapBlock(48, 352, 288, 0, 0) + QByteArray(12, 'x')}},
        {1.0, DetectedMediaType{MajorVideo, QUuid(), FormatMpeg2, bitmapBlock(72, 720, 480, 24, fourCC("mpg2"))}},
    };
    const EnumVid r = details();
    EXPECT_EQ(r.Width, 720);
    EXPECT_EQ(r.Height, 576);
    EXPECT_EQ(r.BitCount, "16");
    EXPECT_EQ(r.VideoFourCC, "YUY2");
    EXPECT_EQ(r.CodecName, "RAW YUV 4:2:2");
    EXPECT_EQ(r.Mpeg1Width, "352");
    EXPECT_EQ(r.Mpeg1Height, "288");
    EXPECT_EQ(r.Mpeg1BitCount, "0");
    EXPECT_EQ(r.Mpeg1FourCC, "RGB");
    EXPECT_EQ(r.Mpeg2Width, "720");
    EXPECT_EQ(r.Mpeg2Height, "480");
    EXPECT_EQ(r.Mpeg2BitCount, "24");
    EXPECT_EQ(r.Mpeg2FourCC, "mpg2");
}

TEST_F(MediaDetailsTest, OtherFormatTypesAreLabelledWithOrWithoutABlock)
{
    const struct {
        const char* format;
        const char* label;
    } cases[] = {
        {"{05589F84-C356-11CE-BF01-00AA0055595A}", "DvInfo"},
        {"{05589F83-C356-11CE-BF01-00AA0055595A}", "MPEGStreams"},
        {"{E06D80E4-DB46-11CF-B4D1-00805F6CBBEA}", "DolbyAC3"},
        {"{E06D80E5-DB46-11CF-B4D1-00805F6CBBEA}", "MPEG2Audio"},
        {"{E06D80E6-DB46-11CF-B4D1-00805F6CBBEA}", "DVD_LPCMAudio"},
        {"{0F6417D6-C318-11D0-A43F-00A0C9223196}", "Unknown"},
    };
    for (const auto& c : cases) {
        for (const QByteArray& block : {QByteArray(), QByteArray(20, '\1')}) {
            script.streams = {{1.0, DetectedMediaType{MajorAudio, SubPCM, QUuid(c.format), block}}};
            EXPECT_EQ(details().OtherFormat, c.label) << c.label;
        }
    }
}

TEST_F(MediaDetailsTest, AbsentOrShortFormatBlockWritesNoFormatFieldsButStillTheLabels)
{
    const std::pair<QUuid, QByteArray> cases[] = {
        {FormatVideoInfo, QByteArray()},
        {FormatVideoInfo, bitmapBlock(48, 320, 240, 24, fourCC("XVID")).left(67)},
        {FormatVideoInfo2, bitmapBlock(48, 320, 240, 24, fourCC("XVID"))},  // too short for this layout
        {FormatWave, waveBlock(1, 2, 44100, 16).left(15)},
        {FormatMpeg1, QByteArray(50, '\1')},
        {FormatMpeg2, QByteArray()},
    };
    for (const auto& [format, block] : cases) {
        script.streams = {{1.0, DetectedMediaType{MajorVideo, SubRGB24, format, block}}};
        EnumVid expected;
        expected.VideoType = "Video";
        expected.VideoSubType = "RGB24";
        expected.Duration = 1000;
        EXPECT_EQ(details(), expected) << format.toString().toStdString() << " " << block.size();
    }
}

TEST_F(MediaDetailsTest, SampleBitRateIsAnUnsignedThirtyTwoBitProduct)
{
    const struct {
        uint32_t rate;
        uint16_t bits;
        const char* sampleRate;
        const char* bitRate;
    } cases[] = {
        {44100, 16, "44100", "705600"},
        {48000, 24, "48000", "1152000"},
        {4294967295u, 2, "4294967295", "4294967294"},
        {65536, 65535, "65536", "4294901760"},
        {65538, 65535, "65538", "65534"},  // wraps past 2^32
    };
    for (const auto& c : cases) {
        script.streams = {audioStream(1.0, 1, 6, c.rate, c.bits)};
        const EnumVid r = details();
        EXPECT_EQ(r.SampleRate, c.sampleRate);
        EXPECT_EQ(r.SampleBitRate, c.bitRate) << c.rate << " x " << c.bits;
        EXPECT_EQ(r.Channels, "6");
    }
}

TEST_F(MediaDetailsTest, AudioFormatTagsHaveTheirLabels)
{
    const std::pair<uint16_t, const char*> cases[] = {
        {1, "PCM"}, {3, "IEEE_FLOAT"}, {80, "MPEG"}, {98, "VOXWARE"}, {117, "VOXWARE"}, {5120, "NORRIS"},
        {4352, "LH_CODEC"}, {0, "Unknown"}, {0x00FF, "Unknown"}, {0xFFFE, "Unknown"},
    };
    for (const auto& [tag, label] : cases) {
        script.streams = {audioStream(1.0, tag, 2, 8000, 8)};
        EXPECT_EQ(details().AudioFormat, label) << tag;
    }
}

TEST_F(MediaDetailsTest, AStreamThatCannotBeSelectedOrTypedIsSkipped)
{
    FakeStream unselectable = videoStream(9.0, 999, 999, fourCC("DIVX"));
    unselectable.selectable = false;
    script.streams = {videoStream(1.0, 320, 240, fourCC("XVID")), unselectable, {2.0625, std::nullopt}};
    const EnumVid r = details();
    EXPECT_EQ(r.Width, 320);
    EXPECT_EQ(r.VideoFourCC, "XVID");
    EXPECT_EQ(r.Duration, 2062);  // the untyped stream's length still counts
}

TEST_F(MediaDetailsTest, AStreamWithoutALengthKeepsTheEarlierDuration)
{
    script.streams = {videoStream(1.5, 320, 240, 0), audioStream(0, 1, 2, 44100, 16)};
    script.streams[1].length.reset();
    EXPECT_EQ(details().Duration, 1500);
}

TEST_F(MediaDetailsTest, MissingFileOrFolderIsNotFoundWithoutADetector)
{
    for (const QString& path : {dir.filePath("missing.avi"), dir.path(), QString()}) {
        EnumVid expected;
        expected.VideoType = "FILE NOT FOUND";
        EXPECT_EQ(details(path), expected) << path.toStdString();
    }
    EXPECT_EQ(script.created, 0);
}

TEST_F(MediaDetailsTest, EarlyFailuresGiveTheRecordTheyName)
{
    EnumVid error;
    error.VideoType = "ERROR";

    script.acceptsFile = false;
    script.streams = {videoStream(1.0, 320, 240, 0)};
    EXPECT_EQ(details(), error);

    script.acceptsFile = true;
    script.countFails = true;
    EXPECT_EQ(details(), EnumVid());
    script.countFails = false;
    for (int count : {0, -1}) {
        script.streamCount = count;
        EXPECT_EQ(details(), EnumVid()) << count;
    }

    EXPECT_EQ(GetMediaDetails(file, [] { return std::unique_ptr<MediaDetector>(); }), EnumVid());
    EXPECT_EQ(GetMediaDetails(file, MediaDetectorFactory()), EnumVid());
}

}  // namespace
