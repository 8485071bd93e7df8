#include "app/ufrmMain.h"
#include "app/ufrmMainApplication.h"

// Without a display the program still runs, on Qt's offscreen platform.
static void chooseOffscreenWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

int main(int argc, char** argv)
{
    chooseOffscreenWithoutDisplay();
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skorrel! Video Screen Capture"));
    TfrmMain frmMain;
    frmMain.show();
    return app.exec();
}
