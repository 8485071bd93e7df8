#include "batch/CreateThumbsThread.h"

#include "batch/TfrmMainParent.h"
#include "batch/uLibBatchMode.h"
#include "batch/ufrmConsole.h"

#include <QProgressBar>

#include <algorithm>

TCreateThumbsThread* ActiveWorker = nullptr;
std::atomic<bool> StopRequested{false};
int32_t ErrorCount = 0;
bool CommandLineMode = false;

namespace {

const QString SeekFailedText = QStringLiteral("Unable to seek in file. Make sure video file is seekable.");

}  // namespace

TCreateThumbsThread::TCreateThumbsThread(TfrmConsole* console, const QList<TBatchItem*>& items)
    : Console(console), Items(items)
{
    SetMessageRoute(this);
    connect(this, &QThread::finished, this, &TCreateThumbsThread::WorkerEnded);
    StopRequested = false;
    ErrorCount = 0;  // reset before the thread exists, so only the main thread ever touches it
    ActiveWorker = this;
    start();
}

TCreateThumbsThread::~TCreateThumbsThread()
{
    wait();  // already ended when deleted through WorkerEnded; a no-op then
}

TfrmMainParent* TCreateThumbsThread::MainWindow() const
{
    return Console->MainWindow;
}

void TCreateThumbsThread::RunStep(const std::function<void()>& step)
{
    if (QThread::currentThread() == Stepper.thread()) {
        step();
        return;
    }
    const bool ran = Stepper.Run([this, &step] {
        Shown = {ItemIndex, CurrentThumb, TotalThumbs, Item ? Item->VideoFile : QString()};
        step();
    });
    if (!ran)
        StopRequested = true;  // the application is going away: start nothing more
}

void TCreateThumbsThread::ShowStatus(const QString& text)
{
    RunStep([this, &text] {
        Console->SetMessage(text);
        UpdateProgress();
    });
}

void TCreateThumbsThread::ReportError(const QString& text)
{
    RunStep([this, &text] {
        ++ErrorCount;
        Console->AddLine(Shown.VideoFile.isEmpty() ? text : Shown.VideoFile + QStringLiteral(": ") + text);
        UpdateProgress();
    });
}

void TCreateThumbsThread::UpdateProgress()
{
    QProgressBar* batch = Console->ProgressBarBatch;
    QProgressBar* video = Console->ProgressBarVideo;
    batch->setValue(std::clamp(Shown.ItemIndex, 0, batch->maximum()));
    video->setMaximum(std::max(Shown.TotalThumbs, 1));
    video->setValue(std::clamp(Shown.CurrentThumb, 0, video->maximum()));
    video->repaint();
    if (video->value() == video->maximum())
        batch->setValue(std::min(batch->value() + 1, batch->maximum()));
    batch->repaint();
}

void TCreateThumbsThread::run()
{
    RunStep([this] { StartClock(); });
    for (ItemIndex = 0; ItemIndex < Items.size(); ++ItemIndex) {
        Item = Items[ItemIndex];
        ProcessItem();
        if (StopRequested)
            break;
    }
    RunStep([this] { StopClock(); });
}

void TCreateThumbsThread::ProcessItem()
{
    CurrentThumb = 1;
    VideoFailed = false;
    EndReached = false;
    RunStep([this] { OpenStep(); });
    if (!VideoOpened)
        return;  // the main window has reported why; the run goes on
    const TThumbSpacing spacing = ComputeThumbSpacing(*Item);
    if (spacing.SingleThumb)
        Item->ThumbCount = 1;
    StepMs = spacing.StepMs;
    TotalThumbs = spacing.TotalThumbs;
    RunStep([this] { UpdateProgress(); });
    while (CurrentThumb <= TotalThumbs && !StopRequested && !VideoFailed) {
        RunStep([this] { ThumbStep(); });
        if (EndReached)
            break;
        if (CurrentThumb < TotalThumbs)
            RunStep([this] { SeekStep(); });
        ++CurrentThumb;
    }
}

void TCreateThumbsThread::StartClock()
{
    Console->StartClock();
}

void TCreateThumbsThread::OpenStep()
{
    TfrmMainParent* mainWindow = MainWindow();
    VideoOpened = mainWindow && mainWindow->OpenVideoFile(Item->VideoFile);
    if (!VideoOpened)
        return;
    Item->Duration = mainWindow->GetDuration();
    if (Item->SkipFront > 0)
        mainWindow->SkipMilliseconds(Item->SkipFront, 0);  // a failed front skip is not a failed video
}

void TCreateThumbsThread::ThumbStep()
{
    const QString fileName = ThumbFileName(*Item, CurrentThumb, TotalThumbs);
    ShowStatus(QStringLiteral("Creating Thumbnail: ") + fileName);
    TfrmMainParent* mainWindow = MainWindow();
    VideoFailed = !mainWindow || !mainWindow->TakeSnapshot() || !mainWindow->SaveThumb(fileName);
}

void TCreateThumbsThread::SeekStep()
{
    TfrmMainParent* mainWindow = MainWindow();
    const int code = mainWindow ? mainWindow->SkipMilliseconds(StepMs, 0) : 2;
    if (code == 2) {
        ReportError(SeekFailedText);
        VideoFailed = true;
    } else if (code == 1) {
        EndReached = true;
    }
}

void TCreateThumbsThread::StopClock()
{
    Console->StopClock();
}

void TCreateThumbsThread::WorkerEnded()
{
    StopRequested = true;
    ShowStatus(QStringLiteral("done"));
    ActiveWorker = nullptr;
    if (CurrentMessageRoute() == this)
        ClearMessageRoute();
    Console->RunEnded();
    deleteLater();
}
