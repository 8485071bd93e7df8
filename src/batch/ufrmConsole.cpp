#include "batch/ufrmConsole.h"

#include "app/uLibPivex.h"
#include "batch/CreateThumbsThread.h"
#include "batch/TfrmMainParent.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int64_t MsPerDay = 24LL * 60 * 60 * 1000;

QProgressBar* MakeProgressBar(QWidget* parent, int top)
{
    auto* bar = new QProgressBar(parent);
    bar->setGeometry(8, top, 401, 16);
    bar->setTextVisible(false);
    return bar;
}

}  // namespace

QString FormatElapsedTime(int64_t milliseconds)
{
    const TSplitTime time = SplitMilliseconds(((milliseconds % MsPerDay) + MsPerDay) % MsPerDay);
    return QString::asprintf("%.2d:%.2d:%.2d", time.Hours, time.Minutes, time.Seconds);
}

TfrmConsole::TfrmConsole(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("Generating"));
    setFixedSize(417, 239);

    lblConsoleMessage = new QLabel(this);
    lblConsoleMessage->setGeometry(8, 8, 409, 41);
    lblConsoleMessage->setWordWrap(true);
    lblConsoleMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ProgressBarBatch = MakeProgressBar(this, 55);
    ProgressBarVideo = MakeProgressBar(this, 72);

    btnStop = new QPushButton(QStringLiteral("Stop"), this);
    btnStop->setGeometry(16, 93, 75, 25);
    btnStop->setAutoDefault(false);
    connect(btnStop, &QPushButton::clicked, this, &TfrmConsole::btnStopClick);

    lblTime = new QLabel(QStringLiteral("00:00:00"), this);
    lblTime->move(96, 92);

    txtError = new QPlainTextEdit(this);
    txtError->setGeometry(8, 122, 401, 113);
    txtError->setReadOnly(true);

    Timer1.setInterval(10);
    connect(&Timer1, &QTimer::timeout, this, &TfrmConsole::Timer1Timer);
}

TfrmConsole::~TfrmConsole()
{
    // The worker borrows this console and the items: let it finish its step and end first.
    if (ActiveWorker) {
        StopRequested = true;
        while (ActiveWorker)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void TfrmConsole::StartBatch(const QList<TBatchItem*>& items, TfrmMainParent* mainWindow)
{
    if (BeginBatch(items, mainWindow))
        exec();
}

bool TfrmConsole::BeginBatch(const QList<TBatchItem*>& items, TfrmMainParent* mainWindow)
{
    if (ActiveWorker)
        return false;
    txtError->clear();
    btnStop->setText(QStringLiteral("Stop"));
    MainWindow = mainWindow;
    ClosePending = false;
    // An empty queue still gets a bar that can fill, not Qt's busy indicator.
    ProgressBarBatch->setMaximum(std::max<qsizetype>(items.size(), 1));
    ProgressBarBatch->setValue(0);
    ProgressBarVideo->setValue(0);
    SetMessage(QStringLiteral("Starting..."));
    if (mainWindow)
        move(mainWindow->frameGeometry().center() - rect().center());
    new TCreateThumbsThread(this, items);
    return true;
}

void TfrmConsole::SetMessage(const QString& text)
{
    lblConsoleMessage->setText(text);
    EchoLine(text);
}

void TfrmConsole::AddLine(const QString& text)
{
    txtError->appendPlainText(text);
    EchoLine(text);
}

void TfrmConsole::EchoLine(const QString& text)
{
    if (!CommandLineMode)
        return;
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

void TfrmConsole::StartClock()
{
    Clock.start();
    Timer1.start();
}

void TfrmConsole::StopClock()
{
    Timer1.stop();
    Timer1Timer();  // the label keeps the final elapsed time
}

void TfrmConsole::Timer1Timer()
{
    if (Clock.isValid())
        lblTime->setText(FormatElapsedTime(Clock.elapsed()));
}

void TfrmConsole::RunEnded()
{
    btnStop->setText(QStringLiteral("Close"));
    if (CommandLineMode || ClosePending) {
        ClosePending = false;
        close();
    }
}

void TfrmConsole::Stop()
{
    AddLine(QStringLiteral("Processing finished."));
    StopRequested = true;
    btnStop->setText(QStringLiteral("Close"));
}

void TfrmConsole::btnStopClick()
{
    Stop();
    if (!ActiveWorker)
        close();
}

void TfrmConsole::done(int result)
{
    if (ActiveWorker) {
        if (!StopRequested)
            Stop();
        ClosePending = true;
        return;
    }
    QDialog::done(result);
    if (MainWindow)
        MainWindow->setEnabled(true);
}
