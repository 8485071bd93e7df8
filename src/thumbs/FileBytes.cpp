#include "thumbs/FileBytes.h"

#include "platform/AppError.h"

#include <QFile>

QByteArray ReadFileBytes(const QString& path, qint64 maxBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    return maxBytes < 0 ? file.readAll() : file.read(maxBytes);
}
