#include "app/SettingsLocation.h"

#include "app/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryFile>

namespace {

const QString settingsFileName = QStringLiteral("Skorrel.ini");

// Permission bits say nothing when running as root, so try it.
bool canCreateFilesIn(const QString& folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".skorrel-probe-XXXXXX")));
    return QFileInfo(folder).isDir() && probe.open();
}

QString configHome()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and is ignored.
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::home().filePath(QStringLiteral(".config"));
}

}  // namespace

QString SettingsFilePathFor(const QString& programDir)
{
    const QString named = qEnvironmentVariable("SKORREL_INI");
    if (!named.isEmpty())
        return QFileInfo(named).absoluteFilePath();
    if (!programDir.isEmpty() && canCreateFilesIn(programDir))
        return QDir(programDir).filePath(settingsFileName);
    const QString folder = QDir(configHome()).filePath(QStringLiteral("skorrel"));
    QDir().mkpath(folder);
    return QDir(folder).filePath(settingsFileName);
}

QString SettingsFilePath()
{
    return SettingsFilePathFor(QCoreApplication::applicationDirPath());
}
