#pragma once

#include "media/uMediaDetails.h"

#include <QString>
#include <ostream>

// Readable failure messages for texts and records, and records several tests expect; internal to each
// test file.
static inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

static inline void PrintTo(const EnumVid& r, std::ostream* out)
{
    *out << "{VideoType " << r.VideoType.toStdString() << ", Duration " << r.Duration << ", "
         << r.Width << "x" << r.Height << ", FourCC " << r.VideoFourCC.toStdString() << ", Audio "
         << r.AudioType.toStdString() << "/" << r.AudioFormat.toStdString() << ", OtherFormat "
         << r.OtherFormat.toStdString() << "}";
}

// An XVID video stream (its subtype in no row) and then 16-bit stereo PCM at 44100 Hz.
static inline EnumVid xvidThenStereoPcm(const QString& fourCC, int32_t width, int32_t height, int64_t durationMs)
{
    EnumVid r;
    r.OtherSubType = "UnKnown ";
    r.VideoType = "Video";
    r.Duration = durationMs;
    r.VideoFourCC = fourCC;
    r.Width = width;
    r.Height = height;
    r.BitCount = "24";
    r.CodecName = "XVID MPEG-4";
    r.AudioType = "Audio";
    r.AudioSubType = "PCM";
    r.AudioFormat = "PCM";
    r.SampleRate = "44100";
    r.SampleBitRate = "705600";
    r.Channels = "2";
    return r;
}
