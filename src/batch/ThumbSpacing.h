#pragma once

#include <QString>
#include <cstdint>

class TBatchItem;

// How the thumbnails of one video are spread: a relative seek of StepMs between two of them.
struct TThumbSpacing {
    int64_t StepMs = 0;
    int32_t TotalThumbs = 1;
    // Thumb-count mode asked for fewer than two: one thumbnail at the front-skip position.
    bool SingleThumb = false;

    bool operator==(const TThumbSpacing&) const = default;
};

TThumbSpacing ComputeThumbSpacing(const TBatchItem& item);

// The file of thumbnail `number` of `totalThumbs`: folder, output name, zero-padded number, ".jpg".
// A single planned thumbnail carries no number. An empty folder means the current folder.
QString ThumbFileName(const TBatchItem& item, int32_t number, int32_t totalThumbs);
