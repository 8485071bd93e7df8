#pragma once

#include "app/IniFile.h"
#include "app/ufrmMain.h"
#include "platform/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A main window on a settings file of the test's own (SKORREL_INI), with scripted dialogs.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previousIni = qgetenv("SKORREL_INI");
        qputenv("SKORREL_INI", iniPath().toLocal8Bit());
    }

    void TearDown() override
    {
        window.reset();
        qputenv("SKORREL_INI", previousIni);
    }

    QString iniPath() const { return dir.filePath(QStringLiteral("Skorrel.ini")); }

    void writeIni(const QByteArray& text)
    {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QByteArray iniText() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString setupValue(const QString& key) const
    {
        return TIniFile(iniPath()).ReadString(QStringLiteral("Setup"), key, QStringLiteral("<absent>"));
    }

    TfrmMain& open()
    {
        window = std::make_unique<TfrmMain>();
        return *window;
    }

    // Destroys the window, which writes the settings.
    void destroy() { window.reset(); }

    QTemporaryDir dir;
    QByteArray previousIni;
    platform::ScopedScriptedDialogs dialogs;
    std::unique_ptr<TfrmMain> window;
};
