#pragma once

#include "platform/AppError.h"

#include <QImage>
#include <QString>

// Raised when the target file cannot be created; its message names the file and the system's reason.
class FileCreateError : public AppError {
public:
    using AppError::AppError;
};

// Decodes a JPEG file into a 24-bit picture (Format_BGR888). Raises AppError naming the file when it
// cannot be read, is not a JPEG, or ends early.
QImage ReadJpeg(const QString& path);

// Encodes a picture as a baseline JPEG with optimised Huffman tables, chroma 4:4:4 at quality 90 and
// above, 4:2:0 below. The file is written beside its target and renamed into place, so a failure never
// leaves a half-written file under the wanted name. Raises FileCreateError when the file cannot be
// created, AppError on other failures.
void WriteJpeg(const QImage& picture, const QString& path, int quality);
