#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A settings file (Skorrel.ini) in a temporary folder of the test's own, written and read whole.
struct TempSettingsFile {
    QString settingsPath() const { return dir.filePath(QStringLiteral("Skorrel.ini")); }

    void writeSettings(const QByteArray& text) const
    {
        QFile file(settingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << settingsPath().toStdString();
        file.write(text);
    }

    // Empty when there is no file.
    QByteArray settingsText() const
    {
        QFile file(settingsPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};
