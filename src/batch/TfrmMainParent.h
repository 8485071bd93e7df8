#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>

// The contract through which the batch worker drives the main window. The main window derives from
// it and overrides all seven operations; these base versions do nothing.
class TfrmMainParent : public QMainWindow {
    Q_OBJECT
public:
    using QMainWindow::QMainWindow;

    virtual bool TakeSnapshot() { return false; }
    virtual bool SaveThumb(const QString& fileName) { Q_UNUSED(fileName); return false; }
    // Codes: 0 moved, 1 stopped at a limit, 2 position not set or unchanged.
    virtual int SkipMilliseconds(int64_t distanceMs, int64_t endMarginMs)
    {
        Q_UNUSED(distanceMs); Q_UNUSED(endMarginMs); return 2;
    }
    virtual void SkipFrames(int32_t frames) { Q_UNUSED(frames); }
    virtual int64_t GetDuration() { return 0; }
    virtual bool OpenVideoFile(const QString& fileName) { Q_UNUSED(fileName); return false; }
    virtual void PreviousChapter() {}
};
