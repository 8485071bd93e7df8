#pragma once

#include <QImage>
#include <QString>

// Reads a picture, the format taken from the file's first bytes: JPEG through libjpeg, PNG through
// libpng, anything else through QImageReader. Pictures with transparency come back as Format_ARGB32,
// others as Format_BGR888. Raises AppError naming the file on failure.
QImage ReadPicture(const QString& path);
