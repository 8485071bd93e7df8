#pragma once

#include <QByteArray>
#include <QString>
#include <QUuid>
#include <optional>

// One stream's media type as the platform's media detector describes it: major type, subtype, format
// type and a format block laid out as the platform's structures (VIDEOINFOHEADER, VIDEOINFOHEADER2,
// WAVEFORMATEX, MPEG1VIDEOINFO, MPEG2VIDEOINFO).
struct DetectedMediaType {
    QUuid majorType;
    QUuid subType;
    QUuid formatType;
    QByteArray format;  // empty: no format block
};

// The media detector's calls that the media details read; each answers nothing when it fails.
class MediaDetector {
public:
    virtual ~MediaDetector() = default;
    virtual bool setFileName(const QString& fileName) = 0;
    virtual std::optional<int> outputStreams() = 0;
    virtual bool setCurrentStream(int index) = 0;
    virtual std::optional<double> streamLength() = 0;  // seconds
    virtual std::optional<DetectedMediaType> streamMediaType() = 0;
};
