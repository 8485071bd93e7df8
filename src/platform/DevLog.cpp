#include "platform/DevLog.h"

Q_LOGGING_CATEGORY(lcSkorrel, "skorrel.dev", QtInfoMsg)
