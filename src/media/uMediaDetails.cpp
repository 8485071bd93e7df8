#include "media/uMediaDetails.h"

#include "media/FormatBlockLayout.h"
#include "media/MediaDetailsTables.h"
#include "media/MediaDetector.h"
#include "media/MediaDetectorFFmpeg.h"
#include "media/MediaTypeGuids.h"

#include <QFileInfo>
#include <QtEndian>
#include <cmath>

namespace {

template <typename T>
T readLE(const QByteArray& block, int offset)
{
    return qFromLittleEndian<T>(block.constData() + offset);
}

QString fourCCText(uint32_t compression)
{
    switch (compression) {
    case 0: return QStringLiteral("RGB");
    case 1: return QStringLiteral("RLE8");
    case 2: return QStringLiteral("RLE4");
    case 3: return QStringLiteral("BITFIELDS");
    }
    QString text;
    for (; compression != 0 && (compression & 0xFF) != 0; compression >>= 8)
        text += QChar(char16_t(compression & 0xFF));
    return text;
}

struct BitmapHeader {
    int32_t width;
    int32_t height;
    uint16_t bitCount;
    QString fourCC;
};

// A block too short for the header counts as absent rather than being read past its end.
std::optional<BitmapHeader> bitmapAt(const QByteArray& block, int offset)
{
    using namespace formatblock;
    if (block.size() < offset + BitmapFieldsRead)
        return std::nullopt;
    return BitmapHeader{readLE<int32_t>(block, offset + BitmapWidth),
                        readLE<int32_t>(block, offset + BitmapHeight),
                        readLE<uint16_t>(block, offset + BitmapBitCount),
                        fourCCText(readLE<uint32_t>(block, offset + BitmapCompression))};
}

void writeVideoInfo(EnumVid& record, const QByteArray& block, int offset)
{
    const auto bitmap = bitmapAt(block, offset);
    if (!bitmap)
        return;
    record.Width = bitmap->width;
    record.Height = bitmap->height;
    record.BitCount = QString::number(bitmap->bitCount);
    record.VideoFourCC = bitmap->fourCC;
    record.CodecName = GetCodecDescription(record.VideoFourCC);
}

void writeMpegVideo(const QByteArray& block, int offset, QString& width, QString& height, QString& bitCount,
                    QString& fourCC)
{
    const auto bitmap = bitmapAt(block, offset);
    if (!bitmap)
        return;
    width = QString::number(bitmap->width);
    height = QString::number(bitmap->height);
    bitCount = QString::number(bitmap->bitCount);
    fourCC = bitmap->fourCC;
}

void writeWaveFormat(EnumVid& record, const QByteArray& block)
{
    using namespace formatblock;
    if (block.size() < WaveFieldsRead)
        return;
    const uint32_t samplesPerSec = readLE<uint32_t>(block, WaveSamplesPerSec);
    const uint32_t bitsPerSample = readLE<uint16_t>(block, WaveBitsPerSample);
    record.AudioFormat = AudioFormatLabel(readLE<uint16_t>(block, WaveTag));
    record.SampleRate = QString::number(samplesPerSec);
    record.SampleBitRate = QString::number(uint32_t(bitsPerSample * samplesPerSec));
    record.Channels = QString::number(readLE<uint16_t>(block, WaveChannels));
}

QString otherFormatLabel(const QUuid& formatType)
{
    using namespace mediaguid;
    if (formatType == FormatDvInfo)
        return QStringLiteral("DvInfo");
    if (formatType == FormatMPEGStreams)
        return QStringLiteral("MPEGStreams");
    if (formatType == FormatDolbyAC3)
        return QStringLiteral("DolbyAC3");
    if (formatType == FormatMPEG2Audio)
        return QStringLiteral("MPEG2Audio");
    if (formatType == FormatDVDLPCMAudio)
        return QStringLiteral("DVD_LPCMAudio");
    return QStringLiteral("Unknown");
}

bool isKnownBlockFormat(const QUuid& formatType)
{
    using namespace mediaguid;
    return formatType == FormatVideoInfo || formatType == FormatVideoInfo2 || formatType == FormatWaveFormatEx
        || formatType == FormatMPEGVideo || formatType == FormatMPEG2Video;
}

void writeFormat(EnumVid& record, const DetectedMediaType& type)
{
    using namespace mediaguid;
    using namespace formatblock;
    if (!isKnownBlockFormat(type.formatType)) {
        record.OtherFormat = otherFormatLabel(type.formatType);
        return;
    }
    const QByteArray& block = type.format;
    if (block.isEmpty())
        return;
    if (type.formatType == FormatVideoInfo)
        writeVideoInfo(record, block, VideoInfoBitmap);
    else if (type.formatType == FormatVideoInfo2)
        writeVideoInfo(record, block, VideoInfo2Bitmap);
    else if (type.formatType == FormatWaveFormatEx)
        writeWaveFormat(record, block);
    else if (type.formatType == FormatMPEGVideo)
        writeMpegVideo(block, VideoInfoBitmap, record.Mpeg1Width, record.Mpeg1Height, record.Mpeg1BitCount,
                       record.Mpeg1FourCC);
    else
        writeMpegVideo(block, VideoInfo2Bitmap, record.Mpeg2Width, record.Mpeg2Height, record.Mpeg2BitCount,
                       record.Mpeg2FourCC);
}

// Milliseconds, an exact half going to the even neighbour; nothing for a length no count can hold.
std::optional<int64_t> lengthMilliseconds(double seconds)
{
    const double ms = std::nearbyint(seconds * 1000.0);  // the default rounding mode: ties to even
    constexpr double limit = 9.2e18;                     // just under 2^63
    if (!std::isfinite(ms) || std::fabs(ms) > limit)
        return std::nullopt;
    return int64_t(ms);
}

void examineStream(EnumVid& record, MediaDetector& detector, int index)
{
    if (!detector.setCurrentStream(index))
        return;
    if (const auto seconds = detector.streamLength()) {
        if (const auto ms = lengthMilliseconds(*seconds))
            record.Duration = *ms;
    }
    const auto type = detector.streamMediaType();
    if (!type)
        return;
    const MediaTypeLabel major = MajorTypeLabel(type->majorType);
    record.*major.field = QString::fromLatin1(major.label);
    const MediaTypeLabel sub = SubTypeLabel(type->subType);
    record.*sub.field = QString::fromLatin1(sub.label);
    writeFormat(record, *type);
}

}  // namespace

EnumVid GetMediaDetails(const QString& fileName, const MediaDetectorFactory& createDetector)
{
    EnumVid record;
    if (!QFileInfo(fileName).isFile()) {
        record.VideoType = QStringLiteral("FILE NOT FOUND");
        return record;
    }
    const std::unique_ptr<MediaDetector> detector = createDetector ? createDetector() : nullptr;
    if (!detector)
        return record;
    if (!detector->setFileName(fileName)) {
        record.VideoType = QStringLiteral("ERROR");
        return record;
    }
    const std::optional<int> streams = detector->outputStreams();
    if (!streams || *streams <= 0)
        return record;
    for (int index = 0; index < *streams; ++index)
        examineStream(record, *detector, index);
    return record;
}

EnumVid GetMediaDetails(const QString& fileName)
{
    return GetMediaDetails(fileName, CreateFFmpegMediaDetector);
}
