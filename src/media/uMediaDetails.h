#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class MediaDetector;

// The media details of one file: one value per field for the whole file; with several streams a
// later stream overwrites what an earlier one wrote in the same field.
struct EnumVid {
    QString OtherMajorType;
    QString OtherSubType;
    QString VideoType;
    QString VideoSubType;
    int64_t Duration = 0;  // milliseconds
    QString VideoFourCC;
    int32_t Width = 0;
    int32_t Height = 0;  // negative for a top-down bitmap
    QString BitCount;
    QString CodecName;
    QString AudioType;
    QString AudioSubType;
    QString AudioFormat;
    QString SampleRate;
    QString SampleBitRate;
    QString Channels;
    QString Mpeg1Width;
    QString Mpeg1Height;
    QString Mpeg1BitCount;
    QString Mpeg1FourCC;
    QString Mpeg2Width;
    QString Mpeg2Height;
    QString Mpeg2BitCount;
    QString Mpeg2FourCC;
    QString OtherFormat;

    bool operator==(const EnumVid&) const = default;
};

// Creates a media detector; null when none can be created.
using MediaDetectorFactory = std::function<std::unique_ptr<MediaDetector>()>;

// Inspects a media file without playing it. Failures are reported in the record, never raised.
EnumVid GetMediaDetails(const QString& fileName);
// The same with another detector (tests describe streams without a file).
EnumVid GetMediaDetails(const QString& fileName, const MediaDetectorFactory& createDetector);

// Readable codec name of a FourCC text, any letter case; "Unknown Codec" when none is known.
QString GetCodecDescription(const QString& fourCC);
