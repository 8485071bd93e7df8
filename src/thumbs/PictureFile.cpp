#include "thumbs/PictureFile.h"

#include "platform/AppError.h"
#include "thumbs/FileBytes.h"
#include "thumbs/JpegIO.h"
#include "thumbs/PngIO.h"

#include <QImageReader>

namespace {

QImage readOther(const QString& path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage picture = reader.read();
    if (picture.isNull())
        throw AppError(QStringLiteral("Cannot read picture file \"%1\": %2").arg(path, reader.errorString()));
    return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_BGR888);
}

}  // namespace

QImage ReadPicture(const QString& path)
{
    const QByteArray head = ReadFileBytes(path, 8);
    if (head.startsWith("\xFF\xD8\xFF"))
        return ReadJpeg(path);
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return ReadPng(path);
    return readOther(path);
}
