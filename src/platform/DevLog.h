#pragma once

#include <QLoggingCategory>

// Diagnostics meant only for developers (the stand-in for the debugger output channel).
// Enable with QT_LOGGING_RULES="skorrel.dev.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcSkorrel)
