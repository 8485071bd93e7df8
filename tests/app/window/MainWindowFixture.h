#pragma once

#include "app/IniFile.h"
#include "app/ufrmMain.h"
#include "platform/ScriptedDialogs.h"
#include "support/TempSettingsFile.h"
#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// A main window on a settings file of the test's own (SKORREL_INI), with scripted dialogs.
class MainWindowTest : public ::testing::Test, protected TempSettingsFile {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previousIni = qgetenv("SKORREL_INI");
        qputenv("SKORREL_INI", settingsPath().toLocal8Bit());
    }

    void TearDown() override
    {
        window.reset();
        qputenv("SKORREL_INI", previousIni);
    }

    // The lines of one section of the settings file, header excluded, as written.
    QStringList sectionLines(const QString& section) const
    {
        QStringList result;
        bool inside = false;
        for (const QString& line : QString::fromUtf8(settingsText()).split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(u'['))
                inside = line == u'[' + section + u']';
            else if (inside)
                result << line;
        }
        return result;
    }

    QStringList sectionKeys(const QString& section) const
    {
        QStringList keys;
        for (const QString& line : sectionLines(section))
            keys << line.section(u'=', 0, 0);
        return keys;
    }

    QString setupValue(const QString& key) const
    {
        return TIniFile(settingsPath()).ReadString(QStringLiteral("Setup"), key, QStringLiteral("<absent>"));
    }

    TfrmMain& open()
    {
        window = std::make_unique<TfrmMain>();
        return *window;
    }

    // A window in the state a successful open leaves, with a video of the given size.
    TfrmMain& openWithVideo(int32_t videoWidth = 640, int32_t videoHeight = 360)
    {
        TfrmMain& w = open();
        w.VideoWidth = videoWidth;
        w.VideoHeight = videoHeight;
        w.SetVideoOpen(true);
        return w;
    }

    // Runs the message loop, doing `first` in it, until something ends it; exit code 1 when nothing
    // has after a generous time.
    static int runMessageLoop(const std::function<void()>& first)
    {
        QTimer::singleShot(0, first);
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        guard.start(30000);
        return QCoreApplication::exec();
    }

    // Destroys the window, which writes the settings.
    void destroy() { window.reset(); }

    QByteArray previousIni;
    platform::ScopedScriptedDialogs dialogs;
    std::unique_ptr<TfrmMain> window;
};
