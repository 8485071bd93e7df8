#pragma once

#include <QImage>
#include <QString>

// Decodes a PNG file. A file with transparency (an alpha channel or a transparent colour) gives
// Format_ARGB32 with its alpha kept, any other gives a 24-bit picture (Format_BGR888). Raises AppError
// naming the file when it cannot be read, is not a PNG, or is damaged.
QImage ReadPng(const QString& path);
