#include "batch/ThumbSpacing.h"

#include "batch/uLibBatchMode.h"

#include <algorithm>
#include <limits>

TThumbSpacing ComputeThumbSpacing(const TBatchItem& item)
{
    const int64_t span = item.Duration - (item.SkipFront + item.SkipBack);
    TThumbSpacing spacing;
    if (item.Milliseconds >= 1) {
        spacing.StepMs = item.Milliseconds;
        // Clamped rather than wrapped, so an absurdly long span cannot turn into a short run.
        const int64_t total = std::min<int64_t>(span / item.Milliseconds + 1, std::numeric_limits<int32_t>::max());
        spacing.TotalThumbs = static_cast<int32_t>(std::max<int64_t>(total, 2));
    } else if (item.ThumbCount >= 2) {
        spacing.StepMs = span / (item.ThumbCount - 1);
        spacing.TotalThumbs = item.ThumbCount;
    } else {
        spacing.SingleThumb = true;
    }
    return spacing;
}

QString ThumbFileName(const TBatchItem& item, int32_t number, int32_t totalThumbs)
{
    QString name = item.Destination;
    if (!name.isEmpty() && !name.endsWith(QLatin1Char('/')))
        name += QLatin1Char('/');
    name += item.OutputName;
    // Only a single planned thumbnail goes without a number; numbering by the planned total
    // (not by a stale ThumbCount of 1 in interval mode) keeps every file of a run distinct.
    if (totalThumbs != 1) {
        const int digits = static_cast<int>(QString::number(totalThumbs).size());
        name += QStringLiteral("%1").arg(number, digits, 10, QLatin1Char('0'));
    }
    return name + QStringLiteral(".jpg");
}
