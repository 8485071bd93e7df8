#pragma once

#include <QString>
#include <cstdint>
#include <memory>

// One queued video and everything a batch run needs to turn it into numbered thumbnails.
class TBatchItem {
public:
    QString VideoFile;
    QString Destination;  // may lack its trailing separator when typed by the user
    int32_t Milliseconds = 0;  // 1 or more selects interval mode
    int32_t ThumbCount = 0;  // used only when Milliseconds is 0 or less
    int64_t Duration = 0;  // milliseconds
    int64_t SkipFront = 0;
    int64_t SkipBack = 0;
    QString OutputName;  // base name of the thumbnails, every "*" already replaced

    // None when the media details report no positive duration (missing or unplayable file).
    static std::unique_ptr<TBatchItem> CreateFromFile(const QString& fileName);

    void Assign(const TBatchItem& source);
    QString IntervalText() const;
    void SetOutputName(const QString& nameTemplate);
};

// `nameTemplate` with every "*" replaced by the base name of `videoFile`.
QString ExpandOutputName(const QString& nameTemplate, const QString& videoFile);
