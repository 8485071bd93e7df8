#pragma once

#include "media/uMediaDetails.h"

#include <QUuid>
#include <cstdint>

// The label a media type identifier gets and the record field that receives it.
struct MediaTypeLabel {
    const char* label;
    QString EnumVid::*field;
};

// Major type row; "Unknown" into OtherMajorType for any other.
MediaTypeLabel MajorTypeLabel(const QUuid& majorType);
// Subtype row; "UnKnown " into OtherSubType for any other.
MediaTypeLabel SubTypeLabel(const QUuid& subType);
// Label of a wave format tag; "Unknown" for any other.
QString AudioFormatLabel(uint16_t formatTag);
