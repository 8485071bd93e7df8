#pragma once

#include <QByteArray>
#include <QString>

// The whole content of a file; raises AppError naming the file when it cannot be opened.
QByteArray ReadFileBytes(const QString& path, qint64 maxBytes = -1);
