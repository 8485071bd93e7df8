#include "app/ufrmMain.h"
#include "app/ufrmMainApplication.h"
#include "batch/CommandLineOptions.h"
#include "batch/ufrmConsole.h"

#include <cstdio>

// Without a display the program still runs, on Qt's offscreen platform.
static void chooseOffscreenWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

static QStringList argumentsOf(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

int main(int argc, char** argv)
{
    if (IsHelpRequest(argumentsOf(argc, argv))) {
        std::fputs(qPrintable(CommandLineUsage()), stdout);
        return 0;
    }
    chooseOffscreenWithoutDisplay();
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skorrel! Video Screen Capture"));
    TfrmMain frmMain;
    TfrmConsole frmConsole(&frmMain);
    frmMain.frmConsole = &frmConsole;
    frmMain.CommandLineArguments = QCoreApplication::arguments().mid(1);
    frmMain.show();
    return app.exec();
}
