// The command-line start: one batch over the video the arguments name, then the program ends.
#include "app/ufrmMain.h"

#include "app/ufrmMainApplication.h"
#include "batch/CommandLineOptions.h"
#include "batch/CreateThumbsThread.h"
#include "batch/uLibBatchMode.h"
#include "batch/ufrmConsole.h"

#include <QCoreApplication>
#include <QEvent>
#include <QShowEvent>
#include <cstdio>

namespace {

void PrintLine(FILE* stream, const QString& text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stream);
    std::fflush(stream);
}

}  // namespace

// Queued, so the run and the program's end happen in the message loop, not inside an event.
void TfrmMain::changeEvent(QEvent* event)
{
    TfrmMainParent::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QueueFormActivate();
}

// Showing counts as the first activation: on a display without a window manager none follows.
void TfrmMain::showEvent(QShowEvent* event)
{
    TfrmMainParent::showEvent(event);
    if (!event->spontaneous())
        QueueFormActivate();
}

void TfrmMain::QueueFormActivate()
{
    QMetaObject::invokeMethod(this, [this] { FormActivate(); }, Qt::QueuedConnection);
}

void TfrmMain::FormActivate()
{
    if (CommandLineStarted)
        return;  // the console's modal run re-activates this window on closing
    CommandLineMode = false;
    if (CommandLineArguments.isEmpty())
        return;
    CommandLineStarted = true;
    int status = 1;  // an error no step caught is shown, and the program still ends
    RunGuarded([this, &status] { status = RunCommandLine(CommandLineArguments); });
    QCoreApplication::exit(status);
}

int TfrmMain::RunCommandLine(const QStringList& args)
{
    CommandLineMode = true;
    TCommandLineRequest request = ParseCommandLine(args);
    std::unique_ptr<TBatchItem> item;
    if (request.Problem.isEmpty()) {
        item = TBatchItem::CreateFromFile(request.VideoFile);
        if (!item)
            request.Problem = QLatin1Char('"') + request.VideoFile + QStringLiteral("\" has no playable length");
    }
    if (!request.Problem.isEmpty()) {
        PrintLine(stderr, QStringLiteral("skorrel: no run: ") + request.Problem);
        return 2;
    }
    ApplyCommandLine(request, *item);
    ApplyDefaultInterval(*IniFile, *item);
    if (!frmConsole)
        frmConsole = new TfrmConsole(this);
    frmConsole->StartBatch({item.get()}, this);
    PrintLine(stdout, QStringLiteral("Duration: %1 ms").arg(item->Duration));
    return ErrorCount > 0 ? 1 : 0;
}
