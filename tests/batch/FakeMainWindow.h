#pragma once

#include "app/uLibPivex.h"
#include "batch/TfrmMainParent.h"

#include <QCoreApplication>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <functional>
#include <map>
#include <vector>

// A main window standing in for the real one: it keeps a playback position that moves and clamps
// like the real seeks, records every call, reports scripted failures through the message route,
// and notes whether any call arrived off the main thread.
class FakeMainWindow : public TfrmMainParent {
public:
    struct Saved {
        QString file;
        int64_t positionMs;
        bool operator==(const Saved&) const = default;
    };

    std::map<QString, int64_t> durations;  // videos that open, with their length
    QSet<int> failingSaves;  // 1-based numbers of SaveThumb calls that fail
    std::function<void(int saveNumber)> onSave;  // runs inside SaveThumb

    QStringList calls;
    std::vector<Saved> saved;
    bool calledOffMainThread = false;
    int64_t position = 0;

    bool OpenVideoFile(const QString& fileName) override
    {
        record(QStringLiteral("open ") + fileName);
        const auto found = durations.find(fileName);
        if (found == durations.end()) {
            RouteMessage(QStringLiteral("Unable to open the video."));
            return false;
        }
        duration = found->second;
        position = 0;
        return true;
    }

    int64_t GetDuration() override
    {
        record(QStringLiteral("duration"));
        return duration;
    }

    int SkipMilliseconds(int64_t distanceMs, int64_t endMarginMs) override
    {
        record(QStringLiteral("skip %1 %2").arg(distanceMs).arg(endMarginMs));
        const int64_t last = duration - std::max<int64_t>(endMarginMs, 100);
        const int64_t target = std::clamp<int64_t>(position + distanceMs, 0, last);
        if (target == position)
            return 2;
        const bool clamped = target != position + distanceMs;
        position = target;
        return clamped ? 1 : 0;
    }

    bool TakeSnapshot() override
    {
        record(QStringLiteral("snapshot"));
        snapshotPosition = position;
        return true;
    }

    bool SaveThumb(const QString& fileName) override
    {
        record(QStringLiteral("save ") + fileName);
        const int number = ++saveCount;
        if (onSave)
            onSave(number);
        if (failingSaves.contains(number)) {
            RouteMessage(QStringLiteral("Unable to save the thumbnail."));
            return false;
        }
        saved.push_back({fileName, snapshotPosition});
        return true;
    }

private:
    void record(const QString& call)
    {
        calledOffMainThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
        calls << call;
    }

    int64_t duration = 0;
    int64_t snapshotPosition = -1;
    int saveCount = 0;
};
