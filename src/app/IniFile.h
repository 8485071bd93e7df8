#pragma once

#include <QString>

// A private-profile (INI) file read and written one value at a time. Section and key names
// compare without regard to case; every write reaches the disk at once. A refused write raises
// AppError("Unable to write to <path>").
class TIniFile {
public:
    explicit TIniFile(QString fileName);

    const QString& FileName() const { return fileName_; }

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

private:
    QString fileName_;
};

// Where Skorrel.ini lives: $SKORREL_INI if set; beside the program when that folder is writable;
// otherwise $XDG_CONFIG_HOME/skorrel/Skorrel.ini (default ~/.config/skorrel/).
QString SettingsFilePath();
