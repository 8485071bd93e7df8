#pragma once

#include "media/uMediaDetails.h"

#include <QString>
#include <ostream>

// Readable failure messages for texts and records; internal to each test file.
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
