#pragma once

#include "app/uLibPivex.h"
#include "batch/MainThreadStepper.h"
#include "batch/ThumbSpacing.h"

#include <QList>
#include <QString>
#include <QThread>
#include <atomic>
#include <cstdint>
#include <functional>

class TBatchItem;
class TfrmConsole;
class TfrmMainParent;

// The batch worker: sequences the steps of a run and computes the spacing. Every step (each call
// into the main window, each change of the console) runs on the main thread while this thread
// waits. It points the message route at itself for the length of the run, so the main window's
// messages become counted error lines, and it deletes itself once its body has ended.
class TCreateThumbsThread : public QThread, public TMessageTarget {
    Q_OBJECT
public:
    // Main thread only. The items are borrowed and must outlive the worker.
    TCreateThumbsThread(TfrmConsole* console, const QList<TBatchItem*>& items);
    ~TCreateThumbsThread() override;

    // Either thread; the visible effect happens on the main thread.
    void ShowStatus(const QString& text);
    void ReportError(const QString& text);
    // Main thread only.
    virtual void UpdateProgress();

    void ShowMessageText(const QString& text) override { ReportError(text); }

protected:
    void run() override;  // the thread body (Execute)

private:
    // What the console shows; copied from the worker's fields at each step, so messages that reach
    // the main thread between steps never read fields the worker thread may be writing.
    struct TProgressView {
        int32_t ItemIndex = 0;
        int32_t CurrentThumb = 1;
        int32_t TotalThumbs = 0;
        QString VideoFile;
    };

    void RunStep(const std::function<void()>& step);
    void ProcessItem();
    void StartClock();
    void OpenStep();
    void ThumbStep();
    void SeekStep();
    void StopClock();
    void WorkerEnded();

    TfrmConsole* Console;
    TfrmMainParent* MainWindow() const;

    int32_t CurrentThumb = 1;
    int32_t TotalThumbs = 0;
    int64_t StepMs = 0;
    TBatchItem* Item = nullptr;
    QList<TBatchItem*> Items;
    int32_t ItemIndex = 0;
    bool VideoFailed = false;
    bool EndReached = false;
    bool VideoOpened = false;

    TProgressView Shown;  // main thread only
    TMainThreadStepper Stepper;
};

// Shared state of the batch: one run at a time.
extern TCreateThumbsThread* ActiveWorker;  // main thread only
extern std::atomic<bool> StopRequested;  // written on the main thread, read by the worker
extern int32_t ErrorCount;  // error lines of the current or last run; main thread only
extern bool CommandLineMode;  // the console closes itself at the end of a run
