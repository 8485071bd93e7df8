// Test entry: a real QApplication on the offscreen platform, and a settings file of the test's
// own so no test reads or changes the user's settings.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skorrel! Video Screen Capture"));
    QTemporaryDir settingsDir;
    qputenv("SKORREL_INI", settingsDir.filePath(QStringLiteral("Skorrel.ini")).toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
