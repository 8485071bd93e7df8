#pragma once

#include <QString>

// Where Skorrel.ini lives for a program in `programDir`: $SKORREL_INI if set; beside the program
// when that folder is writable; otherwise $XDG_CONFIG_HOME/skorrel/Skorrel.ini (default
// ~/.config/skorrel/), creating that folder. SettingsFilePath() is this for the running program.
QString SettingsFilePathFor(const QString& programDir);
