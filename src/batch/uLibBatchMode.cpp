#include "batch/uLibBatchMode.h"

#include "app/uLibPivex.h"
#include "media/uMediaDetails.h"

namespace {

// Everything up to and including the last separator; empty for a bare name.
QString FolderPart(const QString& fileName)
{
    return fileName.left(fileName.lastIndexOf(QLatin1Char('/')) + 1);
}

}  // namespace

std::unique_ptr<TBatchItem> TBatchItem::CreateFromFile(const QString& fileName)
{
    const int64_t duration = GetMediaDetails(fileName).Duration;
    if (duration <= 0)
        return nullptr;
    auto item = std::make_unique<TBatchItem>();
    item->VideoFile = fileName;
    item->Destination = FolderPart(fileName);
    item->Duration = duration;
    item->SetOutputName(GetFileNameNoExt(fileName));
    return item;
}

void TBatchItem::Assign(const TBatchItem& source)
{
    *this = source;
}

QString TBatchItem::IntervalText() const
{
    if (Milliseconds >= 1)
        return QString::number(Milliseconds) + QStringLiteral("ms");
    return QString::number(ThumbCount) + QStringLiteral(" thumbs");
}

void TBatchItem::SetOutputName(const QString& nameTemplate)
{
    OutputName = ExpandOutputName(nameTemplate, VideoFile);
}

QString ExpandOutputName(const QString& nameTemplate, const QString& videoFile)
{
    // QString::replace scans left to right and does not rescan inserted text.
    QString name = nameTemplate;
    return name.replace(QLatin1Char('*'), GetFileNameNoExt(videoFile));
}
