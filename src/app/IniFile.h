#pragma once

#include <QString>

// A private-profile (INI) file read and written one value at a time. Section and key names
// compare without regard to case; every write reaches the disk at once (a temporary file in the
// same folder, flushed and renamed into place). A refused write raises
// AppError("Unable to write to <full path>") and leaves the file as it was.
// Text is read back trimmed and cut to 2047 characters; a written text is one line, so it is cut at
// its first line break (escape line breaks with EscapeLineBreaks first). Integers read as decimal,
// "$" or "0x" hexadecimal, anything else gives the default; booleans are integers, non-zero true.
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
