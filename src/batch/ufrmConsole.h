#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <cstdint>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TBatchItem;
class TfrmMainParent;

// The progress console of a batch run ("Generating"): current action, a bar for the queue and one
// for the current video, elapsed time, the run's error lines and a Stop/Close button.
//
// Closing it by its frame (or Escape) while the worker runs acts like Stop and closes the console
// once the worker has ended, so the borrowed items outlive the worker.
class TfrmConsole : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConsole(QWidget* parent = nullptr);
    ~TfrmConsole() override;

    // Runs the items through `mainWindow` and shows the console modally until it is closed.
    // Nothing happens while another run is live.
    void StartBatch(const QList<TBatchItem*>& items, TfrmMainParent* mainWindow);
    // Starts the run without showing the console or waiting; false while another run is live.
    bool BeginBatch(const QList<TBatchItem*>& items, TfrmMainParent* mainWindow);

    QLabel* lblConsoleMessage;
    QProgressBar* ProgressBarBatch;
    QProgressBar* ProgressBarVideo;
    QPushButton* btnStop;
    QLabel* lblTime;
    QPlainTextEdit* txtError;
    QTimer Timer1;

    QPointer<TfrmMainParent> MainWindow;

    // Used by the worker's steps, on the main thread.
    void SetMessage(const QString& text);
    void AddLine(const QString& text);
    void StartClock();
    void StopClock();
    void RunEnded();

    void btnStopClick();
    void Timer1Timer();
    void done(int result) override;

private:
    void Stop();
    // In command-line mode every status and error line also goes to standard output.
    void EchoLine(const QString& text);

    QElapsedTimer Clock;
    bool ClosePending = false;
};

// Time of day of an elapsed time, "%.2d:%.2d:%.2d".
QString FormatElapsedTime(int64_t milliseconds);
